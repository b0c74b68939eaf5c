// Pictures of the well trajectory drawn on a Canvas: the plan view (east
// against north), the vertical section, and strips against measured depth of
// inclination, azimuth, dogleg severity and of the three station-quality
// values with their tolerance bands. The same drawing serves the window's
// trajectory panel (through the QPainter canvas) and the report's
// trajectory page.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/station_qc.h"
#include "core/survey_record.h"
#include "core/trajectory.h"
#include "core/ui_text.h"
#include "report/canvas.h"
#include "report/survey_references.h"

namespace orb {

// Shown with every trajectory picture: the stations are not taken in record
// order but sorted by measured depth.
inline constexpr const char* kAscendingDepthNote = ORB_TEXT("core", "按深度升序计算");
// Shown instead of the pictures when there is no station to draw.
inline constexpr const char* kNoStationsText = ORB_TEXT("core", "没有选中的测点");

struct TrajectoryPlotOptions {
    TrajectorySettings trajectory;  // its declination is AzimuthCorrection(references)
    QcSettings qc;
    SurveyReferences references;  // stated with the summary
};

// What the pictures show, computed once per change of the survey or the
// settings. The vectors run parallel to trajectory.stations.
struct TrajectoryPlotData {
    TrajectoryPlotOptions options;
    Trajectory trajectory;
    std::vector<double> totalGravity;   // g
    std::vector<double> fieldStrength;  // nT
    std::vector<double> dip;            // degrees, signed
    std::vector<uint8_t> failedRules;   // bit k: QcRule k failed
};

// Fills `out` (its vectors are reused) from the records and the options.
void MakeTrajectoryPlotData(std::span<const SurveyRecord> records, const TrajectoryPlotOptions& options,
                            TrajectoryPlotData& out);

// Depth unit: "m" or "ft" (the dogleg-severity unit is DlsUnitText).
const char* DepthUnitText(DepthUnit unit);

// One line: the ascending-depth note, the station count, closure distance
// and azimuth, and the azimuth of the vertical section (marked when it is
// the closure azimuth).
std::string TrajectorySummaryText(const TrajectoryPlotData& data);
// The same in parts, for wrapping.
std::vector<std::string> TrajectorySummaryParts(const TrajectoryPlotData& data);

// A rectangle in device units.
struct PlotArea {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// Draws the summary (unless the caller shows it elsewhere) and all pictures
// into `area`. Long surveys are reduced to at most a few lines per device
// pixel row, so the cost depends on the size of the area rather than on the
// number of stations.
void DrawTrajectoryPlots(Canvas& canvas, PlotArea area, const TrajectoryPlotData& data,
                         bool withSummary = true);

// Rough width of a text in device units for a font of `tenthsOfPoint` on a
// canvas of `dotsPerInch` (ideographs one em, other characters about half).
int EstimatedTextWidth(std::string_view utf8, int tenthsOfPoint, double dotsPerInch);

}  // namespace orb
