#include "view/survey_columns.h"

#include "core/fixed_text.h"
#include "core/ole_date.h"
#include "core/station_qc.h"
#include "core/ui_text.h"

namespace orb {

namespace {

template <float SurveyRecord::*Field>
float Get(const SurveyRecord& r) {
    return r.*Field;
}

float FieldStrength(const SurveyRecord& r) {
    return r.totalMagnetic * kFieldStrengthReference;
}

constexpr TableColumnInfo kColumns[kTableColumns] = {
    {"", 25, nullptr, 0, "sel", 3},
    {ORB_TEXT("core", "序号"), 60, nullptr, 0, "#", 6},
    {ORB_TEXT("core", "相对时间"), 100, nullptr, 0, "time", 9},
    {ORB_TEXT("core", "测深"), 70, Get<&SurveyRecord::depth>, 2, "depth", 9},
    {ORB_TEXT("core", "井斜"), 70, Get<&SurveyRecord::inclination>, 2, "inc", 7},
    {ORB_TEXT("core", "磁方位"), 70, Get<&SurveyRecord::azimuth>, 1, "azi", 6},
    {ORB_TEXT("core", "重力工具面"), 100, Get<&SurveyRecord::gravityToolFace>, 1, "gtf", 6},
    {ORB_TEXT("core", "磁性工具面"), 100, Get<&SurveyRecord::magneticToolFace>, 1, "mtf", 6},
    {ORB_TEXT("core", "地磁倾角"), 80, Get<&SurveyRecord::dip>, 1, "dip", 6},
    {ORB_TEXT("core", "总加速度"), 80, Get<&SurveyRecord::totalGravity>, 4, "gt", 7},
    {ORB_TEXT("core", "总磁场"), 70, Get<&SurveyRecord::totalMagnetic>, 4, "mt", 7},
    {ORB_TEXT("core", "温度"), 50, Get<&SurveyRecord::temperature>, 1, "temp", 6},
    {ORB_TEXT("core", "电池电压"), 60, Get<&SurveyRecord::batteryVoltage>, 1, "volt", 5},
    {ORB_TEXT("core", "标准时间"), 100, nullptr, 0, "sample time", 19},
    {ORB_TEXT("core", "地磁场强度"), 80, FieldStrength, 0, "field", 6},
    {"gx", 50, Get<&SurveyRecord::gx>, 4, "gx", 8},
    {"gy", 50, Get<&SurveyRecord::gy>, 4, "gy", 8},
    {"gz", 50, Get<&SurveyRecord::gz>, 4, "gz", 8},
    {"mx", 50, Get<&SurveyRecord::mx>, 4, "mx", 8},
    {"my", 50, Get<&SurveyRecord::my>, 4, "my", 8},
    {"mz", 50, Get<&SurveyRecord::mz>, 4, "mz", 8},
};

constexpr TableColumnInfo kNoColumn = {"", 0, nullptr, 0, "", 0};

}  // namespace

const TableColumnInfo& TableColumnAt(int column) {
    return column >= 0 && column < kTableColumns ? kColumns[column] : kNoColumn;
}

std::string RecordFieldText(const SurveyRecord& r, int column) {
    if (column == kSampleTimeColumn) return FormatOleDate(r.sampleTime, r.sampleTimeStatus);
    const TableColumnInfo& info = TableColumnAt(column);
    if (info.value == nullptr) return {};
    std::string text = FixedText(info.value(r), info.decimals);
    // An azimuth that rounds up to a full turn reads as north.
    if (column == kAzimuthColumn && text == "360.0") text = "0.0";
    return text;
}

}  // namespace orb
