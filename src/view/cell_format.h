// Time texts of the survey table (number texts: core/fixed_text.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orb {

// Relative time of a span in whole seconds: total hours, minutes and
// seconds, each at least two digits, joined by ":" (hours may exceed 23 and
// have more digits). A negative span is written as "-" followed by the text
// of its magnitude, e.g. -90 s gives "-00:01:30".
std::string FormatRelativeTime(int64_t seconds);

// Span of record `index`: delay minutes plus index sampling intervals, in
// seconds. Computed in 64 bits, so large surveys cannot overflow.
int64_t RelativeSeconds(int16_t delayMinutes, int16_t intervalSeconds, std::size_t index);

}  // namespace orb
