// Latitude and longitude as the operator types them: decimal degrees
// ("39.9075", "-116.39") or degrees, minutes and seconds ("39°54'27\"",
// "39 54 27.5", "116°23′ E"), with an optional hemisphere letter N/S/E/W
// (S and W negate). The dot is the decimal point whatever the locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orb {

enum class CoordinateAxis { kLatitude, kLongitude };

// The angle in decimal degrees, or nothing for a text that is not one:
// minutes or seconds of 60 or more, a hemisphere letter of the other axis,
// a sign together with a hemisphere letter, or a latitude beyond ±90 /
// longitude beyond ±180.
std::optional<double> ParseCoordinate(std::string_view text, CoordinateAxis axis);

// Degrees, minutes and seconds with two decimals and the hemisphere:
// "39°54′27.00″N".
std::string FormatDms(double degrees, CoordinateAxis axis);

}  // namespace orb
