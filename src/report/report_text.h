// Locale-independent number texts and UTF-16 conversion for the report.
#pragma once

#include <string>

namespace orb::report_text {

// printf "%<width>.<precision>f" in the C locale, whatever the process locale.
std::string Fixed(double value, int precision, int width = 0);
// printf "%<width>d".
std::string Integer(long long value, int width = 0);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8(const std::u16string& s);

}  // namespace orb::report_text
