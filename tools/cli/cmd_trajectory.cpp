// orb-cli trajectory FILE.tlm: the minimum-curvature trajectory of the
// selected stations as CSV, on standard output or written safely to -o.
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "cli/tlm_io_util.h"
#include "cli/trajectory_options.h"
#include "core/atomic_file.h"
#include "core/trajectory_csv.h"

namespace orbcli {
namespace {

struct TrajectoryArgs {
    SurveyFileArgs file;
    TrajectoryOptionArgs options;
    std::string output;
};

int Write(const std::string& path, const std::string& csv) {
    if (path.empty()) {
        std::fwrite(csv.data(), 1, csv.size(), stdout);
        return std::fflush(stdout) == 0 ? kExitOk : kExitFileError;
    }
    const orb::FileResult r = orb::WriteFileAtomically(path, csv);
    if (r.ok()) return kExitOk;
    ReportError(path, "写文件失败（cannot write）: " + r.Text());
    return kExitFileError;
}

int RunTrajectory(const TrajectoryArgs& a) {
    orb::COrbDoc doc;
    orb::TlmTiming timing;
    orb::ExchangeOptions options;
    // The options are checked before the file is read, so a bad value is
    // reported as such even when the file is missing too.
    if (!BuildExchangeOptions(a.options, doc, options, false)) return kExitBadArgs;
    if (!LoadSurvey(a.file.file, doc, timing, true)) return kExitFileError;
    if (!BuildExchangeOptions(a.options, doc, options)) return kExitBadArgs;
    const orb::Trajectory t = orb::ComputeTrajectory(doc.records(), options.trajectory);
    const int status = Write(a.output, orb::TrajectoryCsv(t));
    if (status != kExitOk) return status;
    std::fputs(orb::TrajectoryNotes(t, options.trajectory).c_str(), stderr);
    std::fputs((orb::ReferencesText(options.references, options.trajectory.tieOn) + "\n").c_str(), stderr);
    if (t.stations.empty())
        std::fputs(a.options.all ? "文件中没有记录\n" : "没有选中的测点（--all 用全部记录）\n", stderr);
    return kExitOk;
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<TrajectoryArgs>();
    AddSurveyFileArgs(sub, args->file, false);
    AddTrajectoryOptions(sub, args->options);
    sub.add_option("-o,--output", args->output,
                   "Write the CSV to OUT.csv (replaced whole) instead of stdout");
    return [args] { return RunTrajectory(*args); };
}

Register reg{"trajectory",
             "Minimum-curvature trajectory of the selected stations (ascending depth) as CSV: "
             "MD,Inc,TrueAzi,TVD,N,E,VS,Dogleg,DLS",
             Setup};

}  // namespace
}  // namespace orbcli
