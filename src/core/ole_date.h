// OLE automation dates: float64 days since 1899-12-30 00:00 with a status
// word (0 valid, 1 invalid, 2 null).
#pragma once

#include <cstdint>
#include <string>

namespace orb {

struct DateTimeFields {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    int dayOfWeek = 0;  // 0 = Sunday
    int dayOfYear = 0;  // 1-based
};

struct OleDateTime {
    double value = 0;
    int32_t status = 2;  // null until set
};

// Builds a date-time from its fields. Valid only when the fields survive the
// conversion to a day count and back; otherwise status 1 and the value the
// conversion produced.
OleDateTime MakeOleDateTime(int year, int month, int day, int hour, int minute, int second);

// Splits a day count into fields, rounded to the second. False when the value
// is no representable date (outside the years 100..9999, or NaN).
bool OleDateToFields(double value, DateTimeFields& out);

// strftime-style formatting (%Y %m %d %H %M %S %y %j %a %A %b %B %p %I %%),
// independent of the process locale. "Invalid DateTime" for status 1 or an
// unrepresentable value, empty text for status 2.
std::string FormatOleDate(double value, int32_t status, const char* format = "%Y-%m-%d %H:%M:%S");

}  // namespace orb
