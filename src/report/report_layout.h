// The printed survey report: a multi-point table of 42 survey points per page
// or a single-point sheet, drawn on a Canvas in device units. Nothing here
// depends on a window system; the Qt adapter (app/canvas) draws the same
// pages on a printer, a preview or a PDF file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/survey_record.h"
#include "report/canvas.h"
#include "report/trajectory_plot.h"

namespace orb {

class COrbDoc;
class TableSource;

// The print mode keeps the values of the mode dialog's radio group.
enum class PrintMode : int32_t { MultiPoint = 0, SinglePoint = 1 };

inline constexpr int kRowsPerPage = 42;

// Font faces the report asks for; the canvas maps them onto installed faces.
inline constexpr const char* kReportKaiFace = "楷体_GB2312";
inline constexpr const char* kReportFangSongFace = "仿宋";
inline constexpr const char* kReportTimesFace = "Times New Roman";

// Relative-time text of a record index (the survey table's column 2).
using RelativeTimeFn = std::function<std::string(std::size_t recordIndex)>;

struct ReportInput {
    const COrbDoc* doc = nullptr;
    PrintMode mode = PrintMode::MultiPoint;
    bool showAll = true;  // false: only selected records are printable
    bool reverseOrder = false;
    int lastClickedRow = -1;  // -1: no row clicked yet
    RelativeTimeFn relativeTimeText;
    std::string printTime;  // "%Y-%m-%d %H:%M:%S"; empty: the current local time
    // Set: one more page at the end, the trajectory of the selected stations.
    std::optional<TrajectoryPlotOptions> trajectoryPage;
};

// Fills the view state (showAll, reverseOrder, lastClickedRow) from the table.
ReportInput MakeReportInput(const COrbDoc& doc, const TableSource& table, PrintMode mode,
                            RelativeTimeFn relativeTimeText);

// The page frame in device units, from the device's dots per millimetre.
struct PageGeometry {
    double X = 0, Y = 0;  // device units per millimetre
    double L = 0, R = 0, T = 0, B = 0;
};
PageGeometry ComputePageGeometry(double dotsPerInchX, double dotsPerInchY);

// Record indexes printed in multi-point mode: every record, or only those
// whose `selected` is exactly 1, in document order. A record's ordinal is its
// position here.
std::vector<std::size_t> PrintableSequence(std::span<const SurveyRecord> records, bool showAll);

// Ordinals listed on page `page` (from 1) of a multi-point report over
// `printable` records, in the order they are drawn.
std::vector<std::size_t> PageOrdinals(std::size_t printable, int page, bool reverseOrder);

// Offsets from L of the multi-point column headers and value columns
// (12 each), in device units.
std::vector<int> HeaderColumnOffsets(double X);
std::vector<int> ValueColumnOffsets(double X);

// Pages of the job: ceil(printable / 42) in multi-point mode, but at least
// one, so that a survey without a printable record still shows the frame
// and the column headers; always 1 in single-point mode. The trajectory
// page adds one.
int ReportPageCount(const ReportInput& in);

// Single-point mode warns when more than one record is selected.
bool SinglePointSelectionAmbiguous(const COrbDoc& doc);
// The single-point sheet shows values only when exactly one record is
// selected and a table row has been clicked.
bool SinglePointShowsValues(const ReportInput& in);

// Draws page `page` (from 1) of the report: the common frame and the body of
// the print mode.
void RenderReportPage(Canvas& canvas, const ReportInput& in, int page);

// The current local time as "%Y-%m-%d %H:%M:%S".
std::string LocalPrintTime();

}  // namespace orb
