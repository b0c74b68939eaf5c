#include "document/well_info.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace orb {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Digits, signs, points and exponents are ASCII; any other code unit makes
// the field "not a number", so narrowing is enough.
std::optional<std::string> NarrowAscii(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c > 0x7F) return std::nullopt;
        out.push_back(static_cast<char>(c));
    }
    return out;
}

}  // namespace

bool DeclinationInRange(float v) {
    return v >= kMinDeclination && v <= kMaxDeclination;
}

std::optional<double> ParseDialogNumber(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    // from_chars takes no '+', but a typed "+5" is a number.
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (!s.empty() && s.front() == '-') return std::nullopt;
    }
    if (s.empty()) return std::nullopt;
    double v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<double> ParseDialogNumber(std::u16string_view text) {
    auto narrow = NarrowAscii(text);
    if (!narrow) return std::nullopt;
    return ParseDialogNumber(std::string_view(*narrow));
}

std::optional<float> ParseDialogFloat(std::string_view text) {
    auto v = ParseDialogNumber(text);
    if (!v || std::fabs(*v) > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(*v);
}

std::optional<float> ParseDialogFloat(std::u16string_view text) {
    auto narrow = NarrowAscii(text);
    if (!narrow) return std::nullopt;
    return ParseDialogFloat(std::string_view(*narrow));
}

DeclinationInput ParseDeclination(std::u16string_view text, float& value) {
    auto v = ParseDialogNumber(text);
    if (!v) return DeclinationInput::kNotANumber;
    // The range is checked on the value the field holds, a float.
    const float f = std::fabs(*v) > std::numeric_limits<float>::max() ? std::numeric_limits<float>::infinity()
                                                                      : static_cast<float>(*v);
    if (!DeclinationInRange(f)) return DeclinationInput::kOutOfRange;
    value = f;
    return DeclinationInput::kAccepted;
}

}  // namespace orb
