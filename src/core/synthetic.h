// Synthetic sensor data for simulators, property tests and demonstrations:
// ideal tool-frame vectors for a known attitude, the raw counts a probe
// would report for them, and plausible probe calibrations.
#pragma once

#include <array>
#include <cstdint>

#include "core/calibration.h"

namespace orb {

// Calibrated gravity and magnetic vectors in the tool frame (x, y, z; z
// along the tool axis, gravity reads +1 on z in a vertical hole).
struct SensorVectors {
    std::array<double, 3> g{};
    std::array<double, 3> m{};
};

// Attitude of the tool in degrees, with the field it sits in.
struct ToolAttitude {
    double inclination = 0;      // 0 vertical down, 90 horizontal
    double azimuth = 0;          // magnetic, clockwise from north
    double gravityToolFace = 0;  // as ComputeAttitude reports it
    double dip = 60;             // positive: field points below the horizon
    double fieldMagnitude = 1;   // calibrated units
    double gravityMagnitude = 1;
};

// The vectors for which ComputeAttitude reports `a` back (inclination,
// azimuth, gravity tool face, dip, both magnitudes).
SensorVectors IdealVectors(const ToolAttitude& a);

// Raw counts gx gy gz mx my mz that `cal` turns into `v` at `temperature`:
// the calibration inverted, rounded to the nearest count and clamped to
// int16. A singular matrix or a degenerate polynomial pair gives 0 counts.
std::array<int16_t, 6> RawCountsFor(const ProbeCalibration& cal, float temperature, const SensorVectors& v);

// An AttitudeSample holding `temperature` and the raw counts for `v`.
AttitudeSample RawSample(const ProbeCalibration& cal, float temperature, const SensorVectors& v);

// A plausible probe calibration, the same for the same seed on every
// platform: matrices near the identity, small offsets, polynomial constant
// terms near +/-4500 with small temperature terms, reserved values 0.
ProbeCalibration GenerateCalibration(uint64_t seed);

}  // namespace orb
