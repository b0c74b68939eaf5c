#include "cli/trajectory_options.h"

#include <cstdio>
#include <sstream>

#include "cli/tlm_io_util.h"
#include "document/well_info.h"

namespace orbcli {
namespace {

bool ParseDeclination(const std::string& text, orb::ExchangeOptions& o) {
    float d = 0;
    if (!ParseFloatOption("--declination", text, d)) return false;
    if (!orb::DeclinationInRange(d)) {
        std::fprintf(stderr, "orb-cli: --declination \"%s\": %s\n", text.c_str(),
                     orb::kDeclinationRangeMessage);
        return false;
    }
    o.references.declination = orb::SourcedValue{d, {}};
    return true;
}

bool ParseTieOn(const std::string& text, orb::TieOn& t) {
    double v[6] = {};
    std::istringstream in(text);
    std::string part;
    int n = 0;
    while (std::getline(in, part, ',')) {
        if (n == 6 || !ParseNumberOption("--tie-on", part, v[n])) {
            if (n == 6) std::fprintf(stderr, "orb-cli: --tie-on: six numbers MD,INC,AZI,TVD,N,E\n");
            return false;
        }
        ++n;
    }
    if (n != 6) {
        std::fprintf(stderr, "orb-cli: --tie-on \"%s\": six numbers MD,INC,AZI,TVD,N,E\n", text.c_str());
        return false;
    }
    t = orb::TieOn{v[0], v[3], v[4], v[5], {v[1], v[2]}};
    return true;
}

void ApplyUnits(const std::string& units, orb::TrajectorySettings& s) {
    if (units.empty()) return;
    const bool feet = units == "ft";
    s.depthUnit = feet ? orb::DepthUnit::kFeet : orb::DepthUnit::kMetres;
    s.dlsInterval = feet ? orb::DlsInterval::kPer100Feet : orb::DlsInterval::kPer30Metres;
}

}  // namespace

void AddTrajectoryOptions(CLI::App& sub, TrajectoryOptionArgs& args) {
    sub.add_option("--declination", args.declination,
                   "Magnetic declination in degrees (-360..360), east positive; default the file's, else 0");
    sub.add_option("--north", args.north, "North reference of the azimuths: magnetic, true (default) or grid")
        ->check(CLI::IsMember({"magnetic", "true", "grid"}));
    sub.add_option("--convergence", args.convergence,
                   "Grid convergence in degrees (for --north grid); default the file's, else none");
    sub.add_option("--tie-on", args.tieOn,
                   "Tie-on point MD,INC,AZI,TVD,N,E; default the file's, else the surface");
    sub.add_option(
        "--vs-azimuth", args.vsAzimuth,
        "Azimuth of the vertical section in degrees; default the file's, else the closure azimuth");
    sub.add_option("--units", args.units,
                   "Unit of the depths: m (DLS per 30 m, default) or ft (DLS per 100 ft)")
        ->check(CLI::IsMember({"m", "ft"}));
    sub.add_flag("--all", args.all, "Use every record, not only the selected stations");
}

bool BuildExchangeOptions(const TrajectoryOptionArgs& a, const orb::COrbDoc& doc, orb::ExchangeOptions& o) {
    o = orb::ExchangeOptionsFromContext(doc.context());
    if (!a.declination.empty() && !ParseDeclination(a.declination, o)) return false;
    if (!a.north.empty()) o.references.north = *orb::ParseNorthReference(a.north);
    if (!a.convergence.empty()) {
        double c = 0;
        if (!ParseNumberOption("--convergence", a.convergence, c)) return false;
        o.references.convergence = orb::SourcedValue{c, {}};
    }
    if (!a.tieOn.empty() && !ParseTieOn(a.tieOn, o.trajectory.tieOn)) return false;
    if (!a.vsAzimuth.empty()) {
        double v = 0;
        if (!ParseNumberOption("--vs-azimuth", a.vsAzimuth, v)) return false;
        o.trajectory.vsAzimuth = v;
    }
    ApplyUnits(a.units, o.trajectory);
    o.trajectory.selectedOnly = !a.all;
    o.trajectory.declination = orb::AzimuthCorrection(o.references);
    return true;
}

}  // namespace orbcli
