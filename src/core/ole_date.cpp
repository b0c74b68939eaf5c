#include "core/ole_date.h"

#include <cmath>
#include <cstdint>

#include "core/survey_record.h"

namespace orb {
namespace {

// Day number of 1970-01-01 on the OLE scale (1899-12-30 is day 0).
constexpr int64_t kUnixEpochDay = 25569;
// Beyond these no year between 100 and 9999 can come out; they also keep
// the integer conversions far from overflow.
constexpr double kLowestValue = -657436.0;
constexpr double kHighestValue = 2958467.0;

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

int64_t FloorMod(int64_t a, int64_t b) {
    return a - FloorDiv(a, b) * b;
}

// Days since 1970-01-01 of a proleptic Gregorian date (month 1..12).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, int& m, int& d) {
    z += 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2);
}

// OLE day number of a date whose month and day may be out of range: months
// carry into years, days count on from the first of the month.
int64_t DayNumber(int64_t year, int64_t month, int64_t day) {
    const int64_t m0 = month - 1;
    year += FloorDiv(m0, 12);
    return DaysFromCivil(year, FloorMod(m0, 12) + 1, 1) + (day - 1) + kUnixEpochDay;
}

bool SameFields(const DateTimeFields& f, int year, int month, int day, int hour, int minute, int second) {
    return f.year == year && f.month == month && f.day == day && f.hour == hour && f.minute == minute &&
           f.second == second;
}

const char* const kDayShort[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kDayLong[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonthShort[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kMonthLong[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};

// Appends a non-negative number with at least `width` digits.
void AppendNumber(std::string& out, int value, int width) {
    char buf[16];
    int n = 0;
    do {
        buf[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && n < 15);
    while (n < width) buf[n++] = '0';
    while (n > 0) out.push_back(buf[--n]);
}

// Appends one conversion; false when `c` is no known conversion.
bool AppendConversion(std::string& out, char c, const DateTimeFields& f) {
    switch (c) {
        case 'Y':
            AppendNumber(out, f.year, 1);
            return true;
        case 'y':
            AppendNumber(out, f.year % 100, 2);
            return true;
        case 'm':
            AppendNumber(out, f.month, 2);
            return true;
        case 'd':
            AppendNumber(out, f.day, 2);
            return true;
        case 'H':
            AppendNumber(out, f.hour, 2);
            return true;
        case 'I':
            AppendNumber(out, f.hour % 12 == 0 ? 12 : f.hour % 12, 2);
            return true;
        case 'M':
            AppendNumber(out, f.minute, 2);
            return true;
        case 'S':
            AppendNumber(out, f.second, 2);
            return true;
        case 'j':
            AppendNumber(out, f.dayOfYear, 3);
            return true;
        case 'w':
            AppendNumber(out, f.dayOfWeek, 1);
            return true;
        case 'p':
            out += f.hour < 12 ? "AM" : "PM";
            return true;
        case 'a':
            out += kDayShort[f.dayOfWeek];
            return true;
        case 'A':
            out += kDayLong[f.dayOfWeek];
            return true;
        case 'b':
            out += kMonthShort[f.month - 1];
            return true;
        case 'B':
            out += kMonthLong[f.month - 1];
            return true;
        case '%':
            out.push_back('%');
            return true;
        default:
            return false;
    }
}

}  // namespace

OleDateTime MakeOleDateTime(int year, int month, int day, int hour, int minute, int second) {
    const int64_t dayNumber = DayNumber(year, month, day);
    const int64_t seconds = int64_t{hour} * 3600 + int64_t{minute} * 60 + second;
    const double fraction = static_cast<double>(seconds) / 86400.0;
    // Before 1899-12-30 the day number is negative and the time of day
    // counts away from zero.
    OleDateTime t;
    t.value = dayNumber >= 0 ? static_cast<double>(dayNumber) + fraction
                             : static_cast<double>(dayNumber) - fraction;
    DateTimeFields back;
    const bool same =
        OleDateToFields(t.value, back) && SameFields(back, year, month, day, hour, minute, second);
    t.status = same ? kDateValid : kDateInvalid;
    return t;
}

bool OleDateToFields(double value, DateTimeFields& out) {
    if (!(value > kLowestValue && value < kHighestValue)) return false;  // NaN too
    int64_t day = static_cast<int64_t>(std::trunc(value));
    const double fraction = std::fabs(value - static_cast<double>(day));
    int64_t seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {  // rounded up into the next day
        seconds -= 86400;
        ++day;
    }
    int64_t year = 0;
    int month = 0, mday = 0;
    CivilFromDays(day - kUnixEpochDay, year, month, mday);
    if (year < 100 || year > 9999) return false;
    out.year = static_cast<int>(year);
    out.month = month;
    out.day = mday;
    out.hour = static_cast<int>(seconds / 3600);
    out.minute = static_cast<int>(seconds / 60 % 60);
    out.second = static_cast<int>(seconds % 60);
    out.dayOfWeek = static_cast<int>(FloorMod(day + 6, 7));  // day 0 was a Saturday
    out.dayOfYear = static_cast<int>(day - DayNumber(year, 1, 1) + 1);
    return true;
}

std::string FormatOleDate(double value, int32_t status, const char* format) {
    if (status == kDateNull) return {};
    DateTimeFields f;
    if (status != kDateValid || !OleDateToFields(value, f)) return "Invalid DateTime";
    if (format == nullptr) format = "%Y-%m-%d %H:%M:%S";
    std::string out;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%' || p[1] == '\0') {
            out.push_back(*p);
            continue;
        }
        ++p;
        if (!AppendConversion(out, *p, f)) {
            out.push_back('%');
            out.push_back(*p);
        }
    }
    return out;
}

}  // namespace orb
