#include "geo/coordinate_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace orb {

namespace {

// Degree, minute and second marks (ASCII and the typographic ones) and
// blanks all separate the numbers.
constexpr std::string_view kSeparators[] = {"°", "′", "″", "'", "\"", "º", " ", "\t", ":"};

std::size_t SeparatorAt(std::string_view t, std::size_t i) {
    for (std::string_view s : kSeparators)
        if (t.substr(i, s.size()) == s) return s.size();
    return 0;
}

// Splits off a trailing or leading hemisphere letter; returns its sign (0: none).
int TakeHemisphere(std::string_view& t, CoordinateAxis axis, bool& wrongAxis) {
    auto trim = [](std::string_view& s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    };
    trim(t);
    if (t.empty()) return 0;
    const bool atEnd = std::isalpha(static_cast<unsigned char>(t.back()));
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(atEnd ? t.back() : t.front())));
    const std::string_view letters = axis == CoordinateAxis::kLatitude ? "NS" : "EW";
    const std::string_view others = axis == CoordinateAxis::kLatitude ? "EW" : "NS";
    if (others.find(c) != std::string_view::npos) wrongAxis = true;
    if (letters.find(c) == std::string_view::npos) return 0;
    if (atEnd)
        t.remove_suffix(1);
    else
        t.remove_prefix(1);
    trim(t);
    return c == letters[0] ? 1 : -1;
}

bool SplitNumbers(std::string_view t, std::vector<double>& parts) {
    std::size_t i = 0;
    while (i < t.size()) {
        if (const std::size_t n = SeparatorAt(t, i)) {
            i += n;
            continue;
        }
        double v = 0;
        const auto [end, ec] = std::from_chars(t.data() + i, t.data() + t.size(), v);
        if (ec != std::errc() || !std::isfinite(v)) return false;
        parts.push_back(v);
        i = static_cast<std::size_t>(end - t.data());
        if (i < t.size() && !SeparatorAt(t, i)) return false;
    }
    return !parts.empty() && parts.size() <= 3;
}

}  // namespace

std::optional<double> ParseCoordinate(std::string_view text, CoordinateAxis axis) {
    bool wrongAxis = false;
    const int hemisphere = TakeHemisphere(text, axis, wrongAxis);
    if (wrongAxis) return std::nullopt;
    std::vector<double> parts;
    if (!SplitNumbers(text, parts)) return std::nullopt;
    const bool negative = std::signbit(parts[0]);
    for (std::size_t k = 1; k < parts.size(); ++k)
        if (parts[k] < 0 || parts[k] >= 60 || std::signbit(parts[k])) return std::nullopt;
    if (parts.size() > 1 && parts[0] != std::trunc(parts[0])) return std::nullopt;
    if (hemisphere != 0 && negative) return std::nullopt;
    double v = std::fabs(parts[0]);
    if (parts.size() > 1) v += parts[1] / 60.0;
    if (parts.size() > 2) v += parts[2] / 3600.0;
    if (negative || hemisphere < 0) v = -v;
    if (std::fabs(v) > (axis == CoordinateAxis::kLatitude ? 90.0 : 180.0)) return std::nullopt;
    return v;
}

std::string FormatDms(double degrees, CoordinateAxis axis) {
    const char* hemi =
        axis == CoordinateAxis::kLatitude ? (degrees < 0 ? "S" : "N") : (degrees < 0 ? "W" : "E");
    // Whole hundredths of a second, so 59.999″ never shows as 60.00″.
    const long long hundredths = std::llround(std::fabs(degrees) * 360000.0);
    const long long d = hundredths / 360000, m = hundredths / 6000 % 60;
    const double s = static_cast<double>(hundredths % 6000) / 100.0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%lld°%02lld′%05.2f″%s", d, m, s, hemi);
    return buf;
}

}  // namespace orb
