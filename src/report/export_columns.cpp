#include "report/export_columns.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "core/angles.h"

namespace orb {

const std::array<std::string_view, kExportColumnCount> kExportCaptions = {
    "序号",     "相对时间", "测深",     "井斜",     "磁方位",   "重力工具面", "磁性工具面", "地磁倾角",
    "总加速度", "总磁场",   "探管温度", "电池电压", "标准时间", "真方位",     "磁偏角",     "地磁场强度",
    "Gx",       "Gy",       "Gz",       "Mx",       "My",       "Mz"};

int ExportColumnOfCaption(std::string_view caption) {
    for (int i = 0; i < kExportColumnCount; ++i) {
        if (kExportCaptions[i] == caption) return i;
    }
    return -1;
}

namespace {

bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

double ParseLeadingDouble(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) ++i;
    bool plus = false;
    if (i < text.size() && text[i] == '+') {
        plus = true;
        ++i;
    }
    // from_chars takes a leading '-' itself but no '+', and never "+-".
    if (plus && i < text.size() && text[i] == '-') return 0.0;
    double value = 0.0;
    const char* first = text.data() + i;
    const auto [ptr, ec] = std::from_chars(first, text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Only reachable with huge exponents, which no table cell carries.
        return 0.0;
    }
    if (ec != std::errc()) return 0.0;
    (void)ptr;
    return value;
}

std::string FormatFixed(double value, int decimals) {
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return std::string(buf, res.ptr);
}

double TrueAzimuth(std::string_view magneticAzimuthText, float declination) {
    return NormalizeAngle(ParseLeadingDouble(magneticAzimuthText) + static_cast<double>(declination));
}

}  // namespace orb
