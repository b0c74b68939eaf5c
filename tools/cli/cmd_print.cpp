// orb-cli print FILE.tlm --pdf OUT.pdf: the printed survey report, drawn by
// the same renderer as the window's printer and preview, written as a PDF.
// The display options set the table's state as the window's commands would
// before printing.
#ifdef ORB_HAVE_QTCANVAS

#include <QtCore/QByteArray>
#include <QtGui/QGuiApplication>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "app/canvas/report_output.h"
#include "cli/command.h"
#include "cli/tlm_io_util.h"
#include "document/well_info.h"
#include "report/report_layout.h"
#include "view/survey_table_model.h"

namespace orbcli {
namespace {

struct PrintArgs {
    SurveyFileArgs file;
    std::string pdf;
    std::string mode = "multi";
    bool selectedOnly = false;
    bool reverse = false;
    int clickedRow = -1;
    int dpi = 600;
    std::string printTime;
    bool trajectoryPage = false;
    std::string declination;
};

// The trajectory page of the selected stations, depths in metres, the
// vertical section along the closure azimuth, the default quality references.
bool AddTrajectoryPage(const PrintArgs& args, orb::ReportInput& in) {
    if (!args.trajectoryPage) return true;
    orb::TrajectoryPlotOptions options;
    const orb::SurveyContext context = in.doc ? in.doc->context() : orb::SurveyContext{};
    double declination = context.declination ? context.declination->value : 0.0;
    if (!args.declination.empty()) {
        float d = 0;
        if (!ParseFloatOption("--declination", args.declination, d)) return false;
        if (!orb::DeclinationInRange(d)) {
            std::cerr << "orb-cli: --declination \"" << args.declination
                      << "\": " << orb::kDeclinationRangeMessage << "\n";
            return false;
        }
        declination = d;
    }
    // The survey's own references and tie-on, as the window states them.
    options.references = orb::SessionReferences(context, declination);
    if (context.tieOn) options.trajectory.tieOn = *context.tieOn;
    options.trajectory.declination = orb::AzimuthCorrection(options.references);
    in.trajectoryPage = options;
    return true;
}

// The font machinery needs a GUI application object; without a display the
// offscreen platform serves.
std::unique_ptr<QGuiApplication> StartHeadlessGui() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orb-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int RunPrint(const PrintArgs& args) {
    orb::COrbDoc doc;
    orb::TlmTiming timing;
    if (!LoadSurvey(args.file.file, doc, timing, true)) return kExitFileError;
    orb::SurveyTableModel model(doc);
    model.ReloadTable();
    if (args.reverse) model.ReverseDisplay();
    if (args.selectedOnly) model.ShowSelected();
    if (args.clickedRow >= 0) model.RowClicked(args.clickedRow);

    const auto mode = args.mode == "single" ? orb::PrintMode::SinglePoint : orb::PrintMode::MultiPoint;
    orb::ReportInput in =
        orb::MakeReportInput(doc, model, mode, [&model](std::size_t i) { return model.RelativeTimeText(i); });
    in.printTime = args.printTime;
    if (!AddTrajectoryPage(args, in)) return kExitBadArgs;
    if (mode == orb::PrintMode::SinglePoint && orb::SinglePointSelectionAmbiguous(doc)) {
        std::cerr << "orb-cli: 警告: 只能选择一组数据！\n";
    }

    auto app = StartHeadlessGui();
    QString error;
    if (!orb::WriteReportPdf(QString::fromStdString(args.pdf), in, args.dpi, &error)) {
        ReportError(args.pdf, error.toStdString());
        return kExitFileError;
    }
    std::cout << orb::ReportPageCount(in) << " page(s) written to " << args.pdf << "\n";
    return kExitOk;
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<PrintArgs>();
    sub.add_option("FILE", args->file.file, "Survey file (.tlm or .TLM)")->required();
    sub.add_option("--pdf", args->pdf, "PDF file to write")->required();
    sub.add_option("--mode", args->mode, "Print mode: multi (多点) or single (单点)")
        ->check(CLI::IsMember({"multi", "single"}));
    sub.add_flag("--selected-only", args->selectedOnly, "Print the selected records only (显示选中数据)");
    sub.add_flag("--reverse", args->reverse, "Records from the last to the first (逆序显示)");
    sub.add_option("--clicked-row", args->clickedRow,
                   "Table row the operator clicked last (single-point values need one)")
        ->check(CLI::NonNegativeNumber);
    sub.add_option("--dpi", args->dpi, "Device units per inch of the page")->check(CLI::Range(72, 4800));
    sub.add_option("--print-time", args->printTime, "Text for the print time instead of the current time");
    sub.add_flag("--trajectory-page", args->trajectoryPage,
                 "Add a last page with the trajectory of the selected stations (ascending depth)");
    sub.add_option("--declination", args->declination,
                   "Magnetic declination in degrees for the trajectory page (-360..360); default 0");
    return [args] { return RunPrint(*args); };
}

Register reg{"print", "Write the printed survey report of a file as a PDF", Setup};

}  // namespace
}  // namespace orbcli

#endif  // ORB_HAVE_QTCANVAS
