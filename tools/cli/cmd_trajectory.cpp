// orb-cli trajectory FILE.tlm: the minimum-curvature trajectory of the
// selected stations as CSV, on standard output or written safely to -o.
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "cli/tlm_io_util.h"
#include "core/atomic_file.h"
#include "core/trajectory_csv.h"
#include "document/well_info.h"

namespace orbcli {
namespace {

struct TrajectoryArgs {
    SurveyFileArgs file;
    std::string declination;
    std::string vsAzimuth;
    std::string units = "m";
    std::string output;
    bool all = false;
};

bool BuildSettings(const TrajectoryArgs& a, orb::TrajectorySettings& s) {
    if (!a.declination.empty()) {
        float d = 0;
        if (!ParseFloatOption("--declination", a.declination, d)) return false;
        if (!orb::DeclinationInRange(d)) {
            std::fprintf(stderr, "orb-cli: --declination \"%s\": %s\n", a.declination.c_str(),
                         orb::kDeclinationRangeMessage);
            return false;
        }
        s.declination = d;
    }
    if (!a.vsAzimuth.empty()) {
        double v = 0;
        if (!ParseNumberOption("--vs-azimuth", a.vsAzimuth, v)) return false;
        s.vsAzimuth = v;
    }
    const bool feet = a.units == "ft";
    s.depthUnit = feet ? orb::DepthUnit::kFeet : orb::DepthUnit::kMetres;
    s.dlsInterval = feet ? orb::DlsInterval::kPer100Feet : orb::DlsInterval::kPer30Metres;
    s.selectedOnly = !a.all;
    return true;
}

int Write(const std::string& path, const std::string& csv) {
    if (path.empty()) {
        std::fwrite(csv.data(), 1, csv.size(), stdout);
        return std::fflush(stdout) == 0 ? kExitOk : kExitFileError;
    }
    const orb::FileResult r = orb::WriteFileAtomically(path, csv);
    if (r.ok()) return kExitOk;
    ReportError(path, "写文件失败（cannot write）: " + r.error);
    return kExitFileError;
}

int RunTrajectory(const TrajectoryArgs& a) {
    orb::TrajectorySettings settings;
    if (!BuildSettings(a, settings)) return kExitBadArgs;
    orb::COrbDoc doc;
    orb::TlmTiming timing;
    if (!LoadSurvey(a.file.file, doc, timing, true)) return kExitFileError;
    const orb::Trajectory t = orb::ComputeTrajectory(doc.records(), settings);
    const int status = Write(a.output, orb::TrajectoryCsv(t));
    if (status != kExitOk) return status;
    std::fputs(orb::TrajectoryNotes(t, settings).c_str(), stderr);
    if (t.stations.empty())
        std::fputs(a.all ? "文件中没有记录\n" : "没有选中的测点（--all 用全部记录）\n", stderr);
    return kExitOk;
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<TrajectoryArgs>();
    AddSurveyFileArgs(sub, args->file, false);
    sub.add_option("--declination", args->declination,
                   "Magnetic declination in degrees (-360..360), added to the magnetic azimuth; default 0");
    sub.add_option(
        "--vs-azimuth", args->vsAzimuth,
        "Azimuth of the vertical section in degrees; default the closure azimuth of the last station");
    sub.add_option("--units", args->units,
                   "Unit of the depths: m (DLS per 30 m, default) or ft (DLS per 100 ft)")
        ->check(CLI::IsMember({"m", "ft"}));
    sub.add_option("-o,--output", args->output,
                   "Write the CSV to OUT.csv (replaced whole) instead of stdout");
    sub.add_flag("--all", args->all, "Use every record, not only the selected stations");
    return [args] { return RunTrajectory(*args); };
}

Register reg{"trajectory",
             "Minimum-curvature trajectory of the selected stations (ascending depth) as CSV: "
             "MD,Inc,TrueAzi,TVD,N,E,VS,Dogleg,DLS",
             Setup};

}  // namespace
}  // namespace orbcli
