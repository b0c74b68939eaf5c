#include "report/export_columns.h"

#include <charconv>
#include <cmath>

#include "core/angles.h"
#include "view/cell_format.h"

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

std::string PrintfFixed(double value, int decimals) {
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return std::string(buf, res.ptr);
}

double TrueAzimuth(std::string_view magneticAzimuthText, float declination) {
    return NormalizeAngle(ParseLeadingNumber(magneticAzimuthText) + static_cast<double>(declination));
}

}  // namespace orb
