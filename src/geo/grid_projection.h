// Grid north of a map projection: UTM (zone from the position) or a
// transverse Mercator zone given by its central meridian on the CGCS2000
// ellipsoid (the 3° and 6° Gauss–Krüger zones, scale 1 on the central
// meridian, false easting 500 km). The convergence gamma is the bearing of
// grid north clockwise from true north: grid azimuth = true azimuth − gamma.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orb {

enum class ProjectionKind : uint8_t { kUtm, kTransverseMercator };

struct ProjectionSpec {
    ProjectionKind kind = ProjectionKind::kUtm;
    double centralMeridian = 0;  // degrees, for kTransverseMercator
};

// "utm" or "tm:CENTRAL_MERIDIAN" (degrees, -180..180).
std::optional<ProjectionSpec> ParseProjection(std::string_view text);
// The text ParseProjection reads back.
std::string ProjectionText(const ProjectionSpec& proj);

struct Ellipsoid {
    double a = 0;  // semi-major axis, metres
    double f = 0;  // flattening
};
inline constexpr Ellipsoid kCgcs2000{6378137.0, 1.0 / 298.257222101};

struct TransverseMercatorZone {
    Ellipsoid ellipsoid = kCgcs2000;
    double scale = 1.0;  // on the central meridian
    double centralMeridian = 0;
    double falseEasting = 500000.0;
    double falseNorthing = 0;
};

struct GridPoint {
    std::string zone;  // "50N", "UPS N", "CM 117°E"
    double easting = 0;
    double northing = 0;
    double convergence = 0;  // degrees
    double scale = 1;
};

struct GridResult {
    std::optional<GridPoint> point;
    std::string problem;  // why there is none (Chinese)
};

// Positions farther than this from the central meridian are refused: the
// zone is not meant for them.
inline constexpr double kMaxMeridianDistance = 30.0;

GridResult ProjectTransverseMercator(const TransverseMercatorZone& zone, double latitude, double longitude);
GridResult ProjectGrid(const ProjectionSpec& proj, double latitude, double longitude);

// Central meridian of the Gauss–Krüger zone holding `longitude`: 6° zones
// centred on 3°, 9°, … (zone n: 6n − 3), 3° zones on multiples of 3.
double GaussKrugerCentralMeridian(double longitude, int zoneWidth);

// A remembered choice of grid: "utm", "tm:CM", or "gk3" / "gk6" (the 3° or
// 6° Gauss–Krüger zone holding `longitude`).
std::optional<ProjectionSpec> ProjectionForChoice(std::string_view choice, double longitude);

}  // namespace orb
