// Number and time texts of the survey table. Every text is produced the same
// way whatever the process locale is: the exports and scripts read these
// texts back, so a decimal comma would corrupt them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orb {

// printf "%0.<precision>f" of `value`, locale independent. A text that reads
// as a negative zero ("-0", "-0.0", "-0.0000") loses its sign: a vertical
// sample or a tiny negative component must not show as "-0.0".
std::string FormatFixed(double value, int precision);

// Removes the sign of a text that reads as a negative zero, in place.
void DropNegativeZeroSign(std::string& text);

// Relative time of a span in whole seconds: total hours, minutes and
// seconds, each at least two digits, joined by ":" (hours may exceed 23 and
// have more digits). A negative span is written as "-" followed by the text
// of its magnitude, e.g. -90 s gives "-00:01:30".
std::string FormatRelativeTime(int64_t seconds);

// Span of record `index`: delay minutes plus index sampling intervals, in
// seconds. Computed in 64 bits, so large surveys cannot overflow.
int64_t RelativeSeconds(int16_t delayMinutes, int16_t intervalSeconds, std::size_t index);

// The leading decimal number of a typed text, like strtod in the C locale:
// white space skipped, the longest prefix that forms a number taken, 0 when
// there is none.
double ParseLeadingNumber(std::string_view text);

}  // namespace orb
