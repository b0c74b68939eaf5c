#include "cli/trajectory_options.h"

#include <cstdio>
#include <sstream>

#include "cli/tlm_io_util.h"
#include "document/well_info.h"
#include "geo/magnetic_reference.h"
#include "geo/north_resolver.h"
#include "geo/survey_date.h"

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

orb::ValueSource ModelSource(const std::string& origin) {
    return orb::ValueSource{orb::ValueSource::Kind::kModel, origin, ""};
}

// The declination and convergence the references still lack, from the
// models and the grid at the well's position.
bool ResolveFromPosition(const TrajectoryOptionArgs& a, const orb::COrbDoc& doc, bool declinationGiven,
                         orb::ExchangeOptions& o) {
    orb::SurveyReferences& refs = o.references;
    const bool needsConvergence = refs.north == orb::NorthReference::kGrid && !refs.convergence;
    if (a.position.lat.empty() && a.position.lon.empty()) {
        if (!needsConvergence) return true;
        std::fprintf(stderr, "orb-cli: --north grid: 需要井位 --lat/--lon 或 --convergence\n");
        return false;
    }
    orb::NorthInputs in;
    in.reference = refs.north;
    if (declinationGiven) in.operatorDeclination = refs.declination.value;
    orb::GeoPoint p;
    if (!ParsePosition(a.position, p.latitude, p.longitude)) return false;
    in.position = p;
    if (!ParseProjectionOption(a.projection, in.projection)) return false;
    in.decimalYear = orb::DecimalYear(orb::FirstSampleDate(doc.records()).value_or(orb::TodayUtc()));
    const orb::NorthResolution r = orb::ResolveNorthCorrection(in, orb::BuiltInMagneticReference());
    if (!r.correction) {
        std::fprintf(stderr, "orb-cli: --north %s: %s\n", orb::NorthReferenceKey(refs.north),
                     r.problem.c_str());
        return false;
    }
    if (!r.warning.empty()) std::fprintf(stderr, "%s\n", r.warning.c_str());
    const orb::NorthCorrection& c = *r.correction;
    if (!declinationGiven && c.declinationSource == orb::AngleSource::kModel)
        refs.declination = orb::SourcedValue{c.declination, ModelSource(c.declinationOrigin)};
    if (needsConvergence)
        refs.convergence = orb::SourcedValue{c.convergence, ModelSource(c.convergenceOrigin)};
    return true;
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
    AddPositionArgs(sub, args.position);
    sub.add_option("--projection", args.projection,
                   "Grid of --north grid: utm (default) or tm:CENTRAL_MERIDIAN (CGCS2000)");
}

bool BuildExchangeOptions(const TrajectoryOptionArgs& a, const orb::COrbDoc& doc, orb::ExchangeOptions& o,
                          bool resolve) {
    o = orb::ExchangeOptionsFromContext(doc.context());
    const bool declinationGiven = !a.declination.empty() || doc.context().declination.has_value();
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
    if (resolve && !ResolveFromPosition(a, doc, declinationGiven, o)) return false;
    o.trajectory.declination = orb::AzimuthCorrection(o.references);
    return true;
}

}  // namespace orbcli
