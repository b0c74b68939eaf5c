#include "report/export_columns.h"

#include "core/angles.h"
#include "core/fixed_text.h"
#include "core/ui_text.h"

namespace orb {

namespace {

constexpr ExportColumn Cell(std::string_view caption, int tableColumn, bool numeric = true) {
    return {caption, ExportValue::kTableCell, tableColumn, numeric};
}

}  // namespace

const std::array<ExportColumn, kExportColumnCount> kExportColumns = {
    Cell(ORB_TEXT("core", "序号"), kRowColumn),
    Cell(ORB_TEXT("core", "相对时间"), kRelativeTimeColumn, false),
    Cell(ORB_TEXT("core", "测深"), kDepthColumn),
    Cell(ORB_TEXT("core", "井斜"), kInclinationColumn),
    Cell(ORB_TEXT("core", "磁方位"), kAzimuthColumn),
    Cell(ORB_TEXT("core", "重力工具面"), kGravityToolFaceColumn),
    Cell(ORB_TEXT("core", "磁性工具面"), kMagneticToolFaceColumn),
    Cell(ORB_TEXT("core", "地磁倾角"), kDipColumn),
    Cell(ORB_TEXT("core", "总加速度"), kTotalGravityColumn),
    Cell(ORB_TEXT("core", "总磁场"), kTotalMagneticColumn),
    Cell(ORB_TEXT("core", "探管温度"), kTemperatureColumn),
    Cell(ORB_TEXT("core", "电池电压"), kBatteryVoltageColumn),
    Cell(ORB_TEXT("core", "标准时间"), kSampleTimeColumn, false),
    {ORB_TEXT("core", "真方位"), ExportValue::kTrueAzimuth, kAzimuthColumn, true},
    {ORB_TEXT("core", "磁偏角"), ExportValue::kDeclination, -1, true},
    Cell(ORB_TEXT("core", "地磁场强度"), kFieldStrengthColumn),
    Cell("Gx", kGxColumn),
    Cell("Gy", kGyColumn),
    Cell("Gz", kGzColumn),
    Cell("Mx", kMxColumn),
    Cell("My", kMyColumn),
    Cell("Mz", kMzColumn),
};

int ExportColumnOfCaption(std::string_view caption) {
    for (int i = 0; i < kExportColumnCount; ++i) {
        if (kExportColumns[i].caption == caption) return i;
    }
    return -1;
}

double TrueAzimuth(std::string_view magneticAzimuthText, float declination) {
    return NormalizeAngle(ParseLeadingNumber(magneticAzimuthText) + static_cast<double>(declination));
}

}  // namespace orb
