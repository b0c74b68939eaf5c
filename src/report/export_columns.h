// The 22 columns that the TXT and Excel exports know: the table's columns 1
// to 20 and two of their own, the true azimuth and the declination.
#pragma once

#include <array>
#include <string_view>

#include "view/survey_columns.h"

namespace orb {

inline constexpr int kExportColumnCount = 22;

enum class ExportValue {
    kTableCell,    // the cell text of `tableColumn`
    kTrueAzimuth,  // the azimuth cell's number plus the declination
    kDeclination,  // the well's magnetic declination
};

struct ExportColumn {
    std::string_view caption;  // UTF-8; its name in the dialog and the files
    ExportValue value;
    int tableColumn;  // the table column shown, or read for the true azimuth
    bool numeric;     // a workbook gets the cell's number rather than its text
};

// Indexed by the stored identity of a column in ExpFmt.ini.
extern const std::array<ExportColumn, kExportColumnCount> kExportColumns;

inline constexpr int kExportNumberColumn = 0;  // the TXT file numbers its own lines
inline constexpr int kExportTrueAzimuthColumn = 13;
inline constexpr int kExportDeclinationColumn = 14;

// Index of the column whose caption is exactly `caption`, or -1.
int ExportColumnOfCaption(std::string_view caption);

// True azimuth: the leading number of the magnetic azimuth text (strtod in
// the C locale) plus the declination, brought into [0, 360).
double TrueAzimuth(std::string_view magneticAzimuthText, float declination);

}  // namespace orb
