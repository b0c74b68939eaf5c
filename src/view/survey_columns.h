// The survey table's 21 columns, in one place: heading, width, the record
// field a column shows, its decimals, and its short name and width in the
// terminal. The table, the printed report, the exports (through
// report/export_columns.h) and `orb-cli show` all read them from here.
#pragma once

#include <string>

#include "core/survey_record.h"
#include "view/table_source.h"

namespace orb {

enum TableColumn : int {
    kCheckColumn,  // the check box, no text
    kRowColumn,    // row number in display order
    kRelativeTimeColumn,
    kDepthColumn,  // shown for stations only
    kInclinationColumn,
    kAzimuthColumn,
    kGravityToolFaceColumn,
    kMagneticToolFaceColumn,
    kDipColumn,
    kTotalGravityColumn,
    kTotalMagneticColumn,
    kTemperatureColumn,
    kBatteryVoltageColumn,
    kSampleTimeColumn,  // the only column a mark row fills
    kFieldStrengthColumn,
    kGxColumn,
    kGyColumn,
    kGzColumn,
    kMxColumn,
    kMyColumn,
    kMzColumn,
};
static_assert(kMzColumn + 1 == kTableColumns);

struct TableColumnInfo {
    const char* caption;  // the table's heading (UTF-8)
    int width;            // initial width in pixels
    // The record's number in this column, or nullptr for the columns that do
    // not show one field (check box, row number, relative time, sample time).
    float (*value)(const SurveyRecord&);
    int decimals;           // fixed-point decimals of `value`
    const char* shortName;  // heading in the terminal (`orb-cli show`)
    int textWidth;          // minimum width in the terminal, in characters
};

// Column 0..20; anything else gives an empty column (no caption, width 0).
const TableColumnInfo& TableColumnAt(int column);

// The table's cell text of a column that shows a record field or the sample
// time: fixed-point without a negative zero's sign, an azimuth that rounds
// up to a full turn as "0.0". The depth is given whatever `selected` is; the
// other columns give "".
std::string RecordFieldText(const SurveyRecord& r, int column);

}  // namespace orb
