// North references of the survey azimuths. The records hold magnetic
// azimuths; true north adds the declination, grid north then subtracts the
// meridian convergence of the map projection:
//   true = magnetic + declination,  grid = true − convergence.
// Everything that turns record azimuths into a trajectory or an export takes
// one NorthCorrection, so the rule lives here only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/trajectory.h"

namespace orb {

enum class NorthReference : uint8_t { kMagnetic, kTrue, kGrid };

// Where an angle of the correction came from.
enum class AngleSource : uint8_t { kNone, kOperator, kModel };

struct NorthCorrection {
    NorthReference reference = NorthReference::kTrue;
    double declination = 0;  // degrees east; used for kTrue and kGrid
    AngleSource declinationSource = AngleSource::kOperator;
    std::string declinationOrigin;  // e.g. "WMM2025", shown with kModel
    double convergence = 0;         // degrees, grid north clockwise from true; used for kGrid
    AngleSource convergenceSource = AngleSource::kNone;
    std::string convergenceOrigin;  // e.g. "UTM 50N"
};

// "magnetic", "true", "grid".
std::optional<NorthReference> ParseNorthReference(std::string_view text);
const char* NorthReferenceKey(NorthReference reference);
// "磁北", "真北", "网格北".
const char* NorthReferenceName(NorthReference reference);

// What is added to a magnetic azimuth: 0, the declination, or the
// declination minus the convergence. Angles that are not finite count as 0.
double AzimuthOffset(const NorthCorrection& correction);

// The magnetic azimuth in the chosen reference, in [0, 360).
double ConvertAzimuth(double magneticAzimuth, const NorthCorrection& correction);

// The trajectory settings with the azimuth offset of `correction` (the
// trajectory adds its `declination` to every record azimuth).
TrajectorySettings WithNorthCorrection(TrajectorySettings settings, const NorthCorrection& correction);

// One line for the operator, e.g. "方位参考: 网格北（磁偏角 -3.7446°，WMM2025；
// 子午线收敛角 1.0166°，UTM 50N）".
std::string NorthCorrectionText(const NorthCorrection& correction);

}  // namespace orb
