#pragma once

#include <cstdint>
#include <ctime>

namespace sorrelix::engine {

// A point in time with nanosecond resolution, as file systems report it.
// JSON stores dates as seconds since 2001-01-01 00:00:00 UTC (the "reference date").
struct Date {
    std::int64_t nanosSince1970 = 0;

    static constexpr double kReferenceOffsetSeconds = 978307200.0;

    static Date now();
    static Date fromTimespec(const timespec& ts);
    static Date fromSecondsSince1970(double seconds);
    static Date fromReferenceSeconds(double secondsSince2001);

    double secondsSince1970() const { return static_cast<double>(nanosSince1970) / 1e9; }
    double referenceSeconds() const;
    timespec toTimespec() const;

    // Absolute difference in seconds, exact enough for the 1.0 s tolerance.
    double secondsApartFrom(const Date& other) const;

    friend bool operator==(const Date&, const Date&) = default;
};

}  // namespace sorrelix::engine
