#include "core/fixed_text.h"

#include <locale.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace orb {

namespace {

bool IsNegativeZeroText(const std::string& s) {
    return s.size() >= 2 && s.front() == '-' && s.find_first_not_of("0.", 1) == std::string::npos;
}

}  // namespace

std::string PrintfFixed(double value, int decimals, int width) {
    char buf[400];  // the longest double in fixed notation has 309 integer digits
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (res.ec != std::errc()) return PadLeft("?", width);  // more than ~80 decimals
    return PadLeft(std::string(buf, res.ptr), width);
}

std::string FixedText(double value, int decimals) {
    std::string s = PrintfFixed(value, decimals);
    if (IsNegativeZeroText(s)) s.erase(0, 1);
    return s;
}

std::string FixedTextAtLeast(double value, int decimals) {
    constexpr int kMaxDecimals = 6;
    if (!std::isfinite(value)) return FixedText(value, decimals);
    for (int d = decimals; d < kMaxDecimals; ++d) {
        const std::string s = FixedText(value, d);
        const double back = ParseLeadingNumber(s);
        if (std::fabs(back - value) <= 1e-9 * std::fmax(1.0, std::fabs(value))) return s;
    }
    return FixedText(value, std::max(decimals, kMaxDecimals));
}

std::string IntegerText(long long value, int width) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return PadLeft(std::string(buf, res.ptr), width);
}

std::string PadLeft(std::string text, int width) {
    if (width > 0 && text.size() < static_cast<std::size_t>(width)) text.insert(0, width - text.size(), ' ');
    return text;
}

double ParseLeadingNumber(std::string_view text) {
    // strtod_l with an explicit C locale gives strtod's exact prefix rules
    // without looking at the process locale. It needs a terminated copy.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const std::string copy(text);
    return strtod_l(copy.c_str(), nullptr, cLocale);
}

}  // namespace orb
