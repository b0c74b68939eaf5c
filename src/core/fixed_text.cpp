#include "core/fixed_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace orb {

std::string FixedText(double value, int decimals) {
    char buf[400];  // the longest double in fixed notation has 309 integer digits
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (res.ec != std::errc()) return "?";
    std::string s(buf, res.ptr);
    if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

std::string FixedTextAtLeast(double value, int decimals) {
    constexpr int kMaxDecimals = 6;
    if (!std::isfinite(value)) return FixedText(value, decimals);
    for (int d = decimals; d < kMaxDecimals; ++d) {
        const std::string s = FixedText(value, d);
        double back = 0;
        std::from_chars(s.data(), s.data() + s.size(), back);
        if (std::fabs(back - value) <= 1e-9 * std::fmax(1.0, std::fabs(value))) return s;
    }
    return FixedText(value, std::max(decimals, kMaxDecimals));
}

}  // namespace orb
