#include "date.h"

#include <chrono>
#include <cmath>

namespace sorrelix::engine {

Date Date::now() {
    using namespace std::chrono;
    return {duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count()};
}

Date Date::fromTimespec(const timespec& ts) {
    return {static_cast<std::int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec};
}

Date Date::fromSecondsSince1970(double seconds) {
    // Whole and fractional seconds apart: seconds * 1e9 alone loses the last digits.
    const double whole = std::floor(seconds);
    return {static_cast<std::int64_t>(whole) * 1000000000LL +
            static_cast<std::int64_t>(std::llround((seconds - whole) * 1e9))};
}

Date Date::fromReferenceSeconds(double secondsSince2001) {
    // Split whole and fractional seconds so large values keep sub-microsecond precision.
    const double whole = std::floor(secondsSince2001);
    const double fraction = secondsSince2001 - whole;
    const auto wholeSince1970 = static_cast<std::int64_t>(whole) + 978307200LL;
    return {wholeSince1970 * 1000000000LL +
            static_cast<std::int64_t>(std::llround(fraction * 1e9))};
}

double Date::referenceSeconds() const {
    const std::int64_t whole = nanosSince1970 / 1000000000LL - 978307200LL;
    const std::int64_t fraction = nanosSince1970 % 1000000000LL;
    return static_cast<double>(whole) + static_cast<double>(fraction) / 1e9;
}

timespec Date::toTimespec() const {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(nanosSince1970 / 1000000000LL);
    ts.tv_nsec = static_cast<long>(nanosSince1970 % 1000000000LL);
    if (ts.tv_nsec < 0) {
        ts.tv_nsec += 1000000000L;
        ts.tv_sec -= 1;
    }
    return ts;
}

double Date::secondsApartFrom(const Date& other) const {
    const std::int64_t delta = nanosSince1970 - other.nanosSince1970;
    return std::fabs(static_cast<double>(delta)) / 1e9;
}

}  // namespace sorrelix::engine
