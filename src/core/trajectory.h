// Minimum-curvature well trajectory from survey stations: true vertical
// depth, north, east, dogleg and its severity, vertical section and closure.
// Everything is computed in double. No result is ever NaN: stations whose
// depth or angles are not finite are left out (and listed), a step over zero
// length keeps the position, and a 180-degree dogleg takes a documented turn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/survey_record.h"

namespace orb {

// Unit of the measured depths (the records attach none to them).
enum class DepthUnit : uint8_t { kMetres, kFeet };
// Course length that dogleg severity refers to.
enum class DlsInterval : uint8_t { kPer30Metres, kPer100Feet };

inline constexpr double kMetresPerFoot = 0.3048;

// Course length of `interval` expressed in `unit` (30, 98.4252..., 30.48 or 100).
double DlsCourseLength(DlsInterval interval, DepthUnit unit);

// Direction of the hole in degrees: inclination from vertical down, azimuth
// clockwise from north.
struct SurveyDirection {
    double inclination = 0;
    double azimuth = 0;
};

// The point the first station is computed from. The default is the surface:
// depth 0, vertical.
struct TieOn {
    double md = 0;
    double tvd = 0;
    double north = 0;
    double east = 0;
    SurveyDirection direction;
};

struct TrajectorySettings {
    double declination = 0;           // degrees, added to the magnetic azimuth; not finite = 0
    std::optional<double> vsAzimuth;  // degrees true; unset (or not finite): the closure azimuth
    DepthUnit depthUnit = DepthUnit::kMetres;
    DlsInterval dlsInterval = DlsInterval::kPer30Metres;
    TieOn tieOn;
    bool selectedOnly = true;  // only records whose `selected` is exactly 1
};

// Angle between two hole directions, in radians, 0..pi: the haversine form
// sin^2(b/2) = sin^2(dI/2) + sin I1 sin I2 sin^2(dA/2), which keeps its
// precision for tiny angles where acos of a cosine would not, taken through
// atan2 with cos^2(b/2) = cos^2((I1+I2)/2) + sin I1 sin I2 cos^2(dA/2) so
// that it stays precise up to 180 degrees as well.
double DoglegRadians(SurveyDirection from, SurveyDirection to);

// Ratio factor 2/b * tan(b/2) of the minimum-curvature method; a series for
// tiny b (so 0 gives exactly 1). Large (not infinite) towards b = pi.
double RatioFactor(double doglegRadians);

// One minimum-curvature step over `courseLength` (the depth difference).
struct CurvatureStep {
    double north = 0;
    double east = 0;
    double tvd = 0;
    double dogleg = 0;                // degrees
    bool oppositeDirections = false;  // 180-degree dogleg: the plane of the turn is undefined
};

// For directions (within 1e-8 rad of) opposite, the turn is taken as a half
// circle towards the high side of `from` (for a vertical `from`, towards its
// azimuth): the displacement is 2*L/pi along that direction.
CurvatureStep MinimumCurvatureStep(SurveyDirection from, SurveyDirection to, double courseLength);

// One station of the input: measured depth and direction (true azimuth).
struct StationInput {
    std::size_t recordIndex = 0;
    double md = 0;
    SurveyDirection direction;
};

// Notes on a station (bit flags).
enum StationNote : uint8_t {
    kStationNoteNone = 0,
    kZeroCourseLength = 1,   // turned at the depth of the previous point: position kept, DLS undefined (0)
    kOppositeDirection = 2,  // 180-degree dogleg from the previous point (see MinimumCurvatureStep)
};

struct TrajectoryStation {
    std::size_t recordIndex = 0;
    double md = 0;
    double inclination = 0;
    double trueAzimuth = 0;  // [0, 360)
    double tvd = 0;
    double north = 0;
    double east = 0;
    double verticalSection = 0;
    double dogleg = 0;  // degrees, from the previous station (the tie-on for the first)
    double dls = 0;     // degrees per DlsCourseLength; 0 when undefined (kZeroCourseLength)
    uint8_t notes = kStationNoteNone;

    bool dlsDefined() const { return (notes & kZeroCourseLength) == 0; }
};

struct Trajectory {
    // Stations in ascending measured depth; equal depths keep record order.
    std::vector<TrajectoryStation> stations;
    // Record indexes left out because depth, inclination or azimuth is not finite.
    std::vector<std::size_t> skipped;
    bool reordered = false;  // the depth order differs from the record order
    double vsAzimuth = 0;    // degrees true, the one used for the vertical sections
    bool vsAzimuthIsClosure = true;
    double closureDistance = 0;  // horizontal distance of the last station from north = east = 0
    double closureAzimuth = 0;   // its direction, [0, 360); 0 when the distance is 0
};

// Stations from records: `selected` == 1 (unless !selectedOnly), in record
// order, then stably sorted by depth; true azimuth = NormalizeAngle(azimuth +
// declination). `out` is reused, so a view that recomputes on every change
// allocates nothing once its vectors have grown.
void ComputeTrajectory(std::span<const SurveyRecord> records, const TrajectorySettings& settings,
                       Trajectory& out);
Trajectory ComputeTrajectory(std::span<const SurveyRecord> records, const TrajectorySettings& settings);

// The same from stations already holding true azimuths (the declination and
// selectedOnly settings are not used).
void ComputeTrajectory(std::span<const StationInput> stations, const TrajectorySettings& settings,
                       Trajectory& out);

}  // namespace orb
