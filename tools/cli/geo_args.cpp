#include "cli/geo_args.h"

#include <cstdio>

#include "geo/coordinate_text.h"

namespace orbcli {

namespace {

bool ParseOne(const char* name, const std::string& text, orb::CoordinateAxis axis, double& v) {
    if (text.empty()) {
        std::fprintf(stderr, "orb-cli: %s is required\n", name);
        return false;
    }
    const std::optional<double> d = orb::ParseCoordinate(text, axis);
    if (!d) {
        std::fprintf(stderr, "orb-cli: %s \"%s\": not a %s (decimal degrees or D°M'S\" with N/S/E/W)\n", name,
                     text.c_str(), axis == orb::CoordinateAxis::kLatitude ? "latitude" : "longitude");
        return false;
    }
    v = *d;
    return true;
}

}  // namespace

void AddPositionArgs(CLI::App& sub, PositionArgs& a) {
    sub.add_option("--lat", a.lat, "Latitude: decimal degrees (north positive) or D°M'S\" with N/S");
    sub.add_option("--lon", a.lon, "Longitude: decimal degrees (east positive) or D°M'S\" with E/W");
}

bool ParsePosition(const PositionArgs& a, double& lat, double& lon) {
    return ParseOne("--lat", a.lat, orb::CoordinateAxis::kLatitude, lat) &&
           ParseOne("--lon", a.lon, orb::CoordinateAxis::kLongitude, lon);
}

bool ParseProjectionOption(const std::string& text, orb::ProjectionSpec& proj) {
    const std::optional<orb::ProjectionSpec> p = orb::ParseProjection(text);
    if (!p) {
        std::fprintf(stderr, "orb-cli: --projection \"%s\": use utm or tm:CENTRAL_MERIDIAN (e.g. tm:117)\n",
                     text.c_str());
        return false;
    }
    proj = *p;
    return true;
}

}  // namespace orbcli
