// orb-cli trajectory FILE.tlm: the minimum-curvature trajectory of the
// selected stations as CSV, on standard output or written safely to -o, in
// magnetic, true or grid north.
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "cli/geo_args.h"
#include "cli/tlm_io_util.h"
#include "core/atomic_file.h"
#include "core/trajectory_csv.h"
#include "document/well_info.h"
#include "geo/north_resolver.h"

namespace orbcli {
namespace {

struct TrajectoryArgs {
    SurveyFileArgs file;
    std::string declination;
    std::string vsAzimuth;
    std::string units = "m";
    std::string output;
    bool all = false;
    std::string north = "true";
    PositionArgs position;
    std::string projection = "utm";
};

// The north reference of the azimuth column and the angles it takes; the
// model's declination (at the first record's date) when a position is given
// without --declination.
bool BuildNorth(const TrajectoryArgs& a, const orb::TrajectorySettings& s,
                std::span<const orb::SurveyRecord> records, orb::NorthCorrection& out) {
    orb::NorthInputs in;
    in.reference = *orb::ParseNorthReference(a.north);
    if (!a.declination.empty()) in.operatorDeclination = s.declination;
    if (!a.position.lat.empty() || !a.position.lon.empty()) {
        orb::GeoPoint p;
        if (!ParsePosition(a.position, p.latitude, p.longitude)) return false;
        in.position = p;
    }
    if (!ParseProjectionOption(a.projection, in.projection)) return false;
    in.decimalYear = orb::DecimalYear(orb::FirstSampleDate(records).value_or(orb::TodayUtc()));
    const orb::NorthResolution r = orb::ResolveNorthCorrection(in, orb::BuiltInMagneticReference());
    if (!r.correction) {
        std::fprintf(stderr, "orb-cli: --north %s: %s\n", a.north.c_str(), r.problem.c_str());
        return false;
    }
    if (!r.warning.empty()) std::fprintf(stderr, "%s\n", r.warning.c_str());
    out = *r.correction;
    return true;
}

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
    orb::NorthCorrection north;
    if (!BuildNorth(a, settings, doc.records(), north)) return kExitBadArgs;
    settings = orb::WithNorthCorrection(settings, north);
    const orb::Trajectory t = orb::ComputeTrajectory(doc.records(), settings);
    const int status = Write(a.output, orb::TrajectoryCsv(t));
    if (status != kExitOk) return status;
    std::fprintf(stderr, "%s\n", orb::NorthCorrectionText(north).c_str());
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
    sub.add_option("--north", args->north,
                   "North of the azimuths: magnetic (as recorded), true (+ declination, default) or grid "
                   "(true - convergence; needs --lat/--lon)")
        ->check(CLI::IsMember({"magnetic", "true", "grid"}));
    AddPositionArgs(sub, args->position);
    sub.add_option("--projection", args->projection,
                   "Grid of --north grid: utm (default) or tm:CENTRAL_MERIDIAN (CGCS2000)");
    return [args] { return RunTrajectory(*args); };
}

Register reg{"trajectory",
             "Minimum-curvature trajectory of the selected stations (ascending depth) as CSV: "
             "MD,Inc,TrueAzi,TVD,N,E,VS,Dogleg,DLS",
             Setup};

}  // namespace
}  // namespace orbcli
