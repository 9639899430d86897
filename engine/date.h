#pragma once

#include <compare>
#include <cstdint>
#include <ctime>

namespace sorrelix::engine {

// A point in time as file systems report it: whole seconds since 1970-01-01 00:00:00 UTC and
// the nanoseconds into that second, so that any time a stat can return is held exactly.
// JSON stores dates as seconds since 2001-01-01 00:00:00 UTC (the "reference date").
struct Date {
    std::int64_t seconds = 0;
    std::int32_t nanoseconds = 0;  // 0 to 999999999

    static constexpr std::int64_t kReferenceOffsetSeconds = 978307200;

    static Date now();
    static Date fromTimespec(const timespec& ts);
    // Times before or after what Date can hold give its earliest or latest moment.
    static Date fromSecondsSince1970(double seconds);
    static Date fromReferenceSeconds(double secondsSince2001);

    double secondsSince1970() const;
    double referenceSeconds() const;
    timespec toTimespec() const;

    // Absolute difference in seconds, exact enough for the 1.0 s tolerance.
    double secondsApartFrom(const Date& other) const;

    // Chronological order.
    friend auto operator<=>(const Date&, const Date&) = default;
};

}  // namespace sorrelix::engine
