// Calendar dates as the decimal years the geomagnetic models take.
#pragma once

#include <optional>
#include <string_view>

namespace orb {

struct CalendarDate {
    int year = 2025;
    int month = 1;
    int day = 1;
};

// True for a real Gregorian date (years 1..9999).
bool ValidDate(const CalendarDate& d);

// year + (day of the year − 1) / days in the year: 2025-01-01 is 2025.0,
// 2024-07-02 is 2024.5.
double DecimalYear(const CalendarDate& d);

// "YYYY-MM-DD" exactly.
std::optional<CalendarDate> ParseIsoDate(std::string_view text);

// Today's date in UTC.
CalendarDate TodayUtc();

}  // namespace orb
