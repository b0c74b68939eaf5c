// Numbers as text, the same whatever the process locale is: the exports, the
// report and scripts read these texts back, so a decimal comma would corrupt
// them. Every fixed-point text of the program comes from here.
//
// Two rules exist for a value that rounds to zero from below:
//  - FixedText drops the sign ("-0.04" with 1 decimal gives "0.0"): the
//    table's cells, the quality and trajectory texts;
//  - PrintfFixed keeps it ("-0.0"), exactly as printf writes it: the printed
//    report, the export-only columns and the device's status texts.
// Both write NaN as "nan" or "-nan" (by its sign bit) and infinities as
// "inf" and "-inf", and round the exact binary value half to even, as printf.
#pragma once

#include <string>
#include <string_view>

namespace orb {

// printf "%.<decimals>f" without the sign of a negative zero text.
std::string FixedText(double value, int decimals);

// printf "%<width>.<decimals>f" exactly: right-aligned in `width` characters
// (never cut), a negative zero keeps its sign.
std::string PrintfFixed(double value, int decimals, int width = 0);

// At least `decimals` decimals, more (up to 6) when the value needs them to
// read back as itself: 0.0025 with 3 decimals gives "0.0025", 1 gives "1.000".
// The FixedText rule otherwise.
std::string FixedTextAtLeast(double value, int decimals);

// printf "%<width>lld".
std::string IntegerText(long long value, int width = 0);

// `text` right-aligned in `width` characters (bytes); longer texts unchanged.
std::string PadLeft(std::string text, int width);

// The leading decimal number of a text, like strtod in the C locale: white
// space skipped, the longest prefix that forms a number taken (sign,
// exponent, hexadecimal, inf and nan included; overflow gives HUGE_VAL), 0
// when there is none.
double ParseLeadingNumber(std::string_view text);

}  // namespace orb
