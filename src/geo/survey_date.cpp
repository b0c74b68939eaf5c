#include "geo/survey_date.h"

#include <charconv>
#include <chrono>

namespace orb {

namespace {

bool Leap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && Leap(y) ? 29 : kDays[m - 1];
}

bool Field(std::string_view s, int& v) {
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size();
}

}  // namespace

bool ValidDate(const CalendarDate& d) {
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= DaysInMonth(d.year, d.month);
}

double DecimalYear(const CalendarDate& d) {
    int dayOfYear = d.day - 1;
    for (int m = 1; m < d.month; ++m) dayOfYear += DaysInMonth(d.year, m);
    return d.year + dayOfYear / (Leap(d.year) ? 366.0 : 365.0);
}

std::optional<CalendarDate> ParseIsoDate(std::string_view t) {
    if (t.size() != 10 || t[4] != '-' || t[7] != '-') return std::nullopt;
    CalendarDate d;
    if (!Field(t.substr(0, 4), d.year) || !Field(t.substr(5, 2), d.month) || !Field(t.substr(8, 2), d.day))
        return std::nullopt;
    if (!ValidDate(d)) return std::nullopt;
    return d;
}

CalendarDate TodayUtc() {
    using namespace std::chrono;
    const year_month_day ymd{floor<days>(system_clock::now())};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

}  // namespace orb
