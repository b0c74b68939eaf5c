#include "geo/normal_gravity.h"

#include <GeographicLib/NormalGravity.hpp>
#include <cmath>

namespace orb {

double NormalGravity(double latitude, double height) {
    double gammaNorth = 0, gammaUp = 0;
    GeographicLib::NormalGravity::WGS84().Gravity(latitude, height, gammaNorth, gammaUp);
    return std::hypot(gammaNorth, gammaUp);
}

double NormalGravityInG(double latitude, double height) {
    return NormalGravity(latitude, height) / kStandardGravity;
}

}  // namespace orb
