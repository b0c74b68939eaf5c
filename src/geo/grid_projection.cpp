#include "geo/grid_projection.h"

#include <GeographicLib/TransverseMercator.hpp>
#include <GeographicLib/UTMUPS.hpp>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/ui_text.h"

namespace orb {

namespace {

bool LatLonProblem(double lat, double lon, std::string& problem) {
    if (!std::isfinite(lat) || std::fabs(lat) > 90)
        problem = ORB_TEXT("core", "纬度须在 -90° 到 90° 之间");
    else if (!std::isfinite(lon) || lon < -180 || lon > 360)
        problem = ORB_TEXT("core", "经度须在 -180° 到 360° 之间");
    return !problem.empty();
}

std::string MeridianText(double cm) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "CM %g°%s", std::fabs(cm), cm < 0 ? "W" : "E");
    return buf;
}

// Signed difference lon − cm folded into [-180, 180).
double MeridianDistance(double lon, double cm) {
    return std::remainder(lon - cm, 360.0);
}

}  // namespace

std::optional<ProjectionSpec> ParseProjection(std::string_view text) {
    if (text == "utm") return ProjectionSpec{};
    if (text.substr(0, 3) != "tm:") return std::nullopt;
    const std::string_view num = text.substr(3);
    double cm = 0;
    const auto [end, ec] = std::from_chars(num.data(), num.data() + num.size(), cm);
    if (ec != std::errc() || end != num.data() + num.size() || !std::isfinite(cm) || std::fabs(cm) > 180)
        return std::nullopt;
    return ProjectionSpec{ProjectionKind::kTransverseMercator, cm};
}

std::string ProjectionText(const ProjectionSpec& proj) {
    if (proj.kind == ProjectionKind::kUtm) return "utm";
    char buf[48];
    std::snprintf(buf, sizeof buf, "tm:%g", proj.centralMeridian);
    return buf;
}

GridResult ProjectTransverseMercator(const TransverseMercatorZone& z, double lat, double lon) {
    GridResult r;
    if (LatLonProblem(lat, lon, r.problem)) return r;
    if (std::fabs(MeridianDistance(lon, z.centralMeridian)) > kMaxMeridianDistance) {
        r.problem = ORB_TEXT("core", "位置离中央子午线超过 30°，不属于这个投影带");
        return r;
    }
    const GeographicLib::TransverseMercator tm(z.ellipsoid.a, z.ellipsoid.f, z.scale);
    GridPoint p;
    tm.Forward(z.centralMeridian, lat, lon, p.easting, p.northing, p.convergence, p.scale);
    p.easting += z.falseEasting;
    p.northing += z.falseNorthing;
    p.zone = MeridianText(z.centralMeridian);
    r.point = p;
    return r;
}

GridResult ProjectGrid(const ProjectionSpec& proj, double lat, double lon) {
    if (proj.kind == ProjectionKind::kTransverseMercator) {
        TransverseMercatorZone z;
        z.centralMeridian = proj.centralMeridian;
        return ProjectTransverseMercator(z, lat, lon);
    }
    GridResult r;
    if (LatLonProblem(lat, lon, r.problem)) return r;
    GridPoint p;
    int zone = 0;
    bool north = true;
    GeographicLib::UTMUPS::Forward(lat, lon, zone, north, p.easting, p.northing, p.convergence, p.scale);
    p.zone = zone == GeographicLib::UTMUPS::UPS ? std::string("UPS ") + (north ? "N" : "S")
                                                : std::to_string(zone) + (north ? "N" : "S");
    r.point = p;
    return r;
}

double GaussKrugerCentralMeridian(double longitude, int zoneWidth) {
    const double lon = std::remainder(longitude, 360.0);
    if (zoneWidth == 3) return 3.0 * std::round(lon / 3.0);
    return 6.0 * std::floor(lon / 6.0) + 3.0;
}

std::optional<ProjectionSpec> ProjectionForChoice(std::string_view choice, double longitude) {
    if (choice == "gk3" || choice == "gk6")
        return ProjectionSpec{ProjectionKind::kTransverseMercator,
                              GaussKrugerCentralMeridian(longitude, choice == "gk3" ? 3 : 6)};
    return ParseProjection(choice);
}

}  // namespace orb
