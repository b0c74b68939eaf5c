// Fixed-point number texts that never depend on the process locale, for the
// quality-check and trajectory texts.
#pragma once

#include <string>

namespace orb {

// printf "%.<decimals>f" with a '.' decimal point; a value that rounds to
// zero loses its minus sign ("-0.00" -> "0.00"). NaN and infinities come out
// as "nan", "inf" and "-inf".
std::string FixedText(double value, int decimals);

// At least `decimals` decimals, more (up to 6) when the value needs them to
// read back as itself: 0.0025 with 3 decimals gives "0.0025", 1 gives "1.000".
std::string FixedTextAtLeast(double value, int decimals);

}  // namespace orb
