#include "date.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sorrelix::engine {

namespace {

using Limits = std::numeric_limits<std::int64_t>;

constexpr std::int64_t kNanosPerSecond = 1'000'000'000;
constexpr Date kEarliest{Limits::min(), 0};
constexpr Date kLatest{Limits::max(), kNanosPerSecond - 1};
constexpr double kTwoToThe63 = 9223372036854775808.0;

// `seconds` counts from `offset` (at least 0) seconds after 1970.
Date fromSecondsAfter(double seconds, std::int64_t offset) {
    const double whole = std::floor(seconds);
    if (!(whole >= -kTwoToThe63)) return kEarliest;  // NaN too, which JSON cannot hold
    if (whole >= kTwoToThe63) return kLatest;
    // Whole and fractional seconds apart: seconds * 1e9 alone loses the last digits.
    std::int64_t nanos = std::llround((seconds - whole) * 1e9);
    std::int64_t carry = offset;
    if (nanos == kNanosPerSecond) {
        nanos = 0;
        ++carry;
    }
    const auto wholeSeconds = static_cast<std::int64_t>(whole);
    if (wholeSeconds > Limits::max() - carry) return kLatest;
    return {wholeSeconds + carry, static_cast<std::int32_t>(nanos)};
}

double secondsAfter(const Date& date, std::int64_t offset) {
    const double fraction = static_cast<double>(date.nanoseconds) / 1e9;
    if (date.seconds >= Limits::min() + offset) {
        return static_cast<double>(date.seconds - offset) + fraction;
    }
    // Only the first decades of the 64-bit range get here; long double keeps it one rounding.
    return static_cast<double>(static_cast<long double>(date.seconds) - offset) + fraction;
}

}  // namespace

Date Date::now() {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return fromTimespec(ts);
}

Date Date::fromTimespec(const timespec& ts) {
    // A stat's nanoseconds lie in [0, 1e9); anything else is carried into the seconds.
    std::int64_t carry = ts.tv_nsec / kNanosPerSecond;
    std::int64_t nanos = ts.tv_nsec % kNanosPerSecond;
    if (nanos < 0) {
        nanos += kNanosPerSecond;
        --carry;
    }
    const std::int64_t seconds = ts.tv_sec;
    if (carry > 0 && seconds > Limits::max() - carry) return kLatest;
    if (carry < 0 && seconds < Limits::min() - carry) return kEarliest;
    return {seconds + carry, static_cast<std::int32_t>(nanos)};
}

Date Date::fromSecondsSince1970(double seconds) {
    return fromSecondsAfter(seconds, 0);
}

Date Date::fromReferenceSeconds(double secondsSince2001) {
    return fromSecondsAfter(secondsSince2001, kReferenceOffsetSeconds);
}

double Date::secondsSince1970() const {
    return secondsAfter(*this, 0);
}

double Date::referenceSeconds() const {
    return secondsAfter(*this, kReferenceOffsetSeconds);
}

timespec Date::toTimespec() const {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(seconds);
    ts.tv_nsec = nanoseconds;
    return ts;
}

double Date::secondsApartFrom(const Date& other) const {
    const auto& [earlier, later] = std::minmax(*this, other);
    // Unsigned: the gap between any two 64-bit counts fits, where a signed one may overflow.
    const std::uint64_t wholeApart =
        static_cast<std::uint64_t>(later.seconds) - static_cast<std::uint64_t>(earlier.seconds);
    return static_cast<double>(wholeApart) +
           static_cast<double>(later.nanoseconds - earlier.nanoseconds) / 1e9;
}

}  // namespace sorrelix::engine
