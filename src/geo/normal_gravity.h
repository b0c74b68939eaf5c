// WGS84 normal gravity at a position: the reference for the total-gravity
// check, which measures in units of standard gravity.
#pragma once

namespace orb {

inline constexpr double kStandardGravity = 9.80665;  // m/s², what 1 g means

// Magnitude of the WGS84 normal gravity in m/s² at a geodetic latitude
// (degrees) and height above the ellipsoid (metres).
double NormalGravity(double latitude, double height);

// The same in units of standard gravity (the quality check's "g").
double NormalGravityInG(double latitude, double height);

}  // namespace orb
