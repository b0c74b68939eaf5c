// The batch form of the field computation: input lines
// "DECIMAL_YEAR LAT LON HEIGHT_M", output lines "D I F H X Y Z MODEL"
// (degrees to 4 decimals, nT to 2) or "- - - - - - - none" where no model
// covers the input.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "geo/magnetic_reference.h"

namespace orb {

struct BatchQuery {
    double decimalYear = 0;
    GeoPoint point;
};

enum class BatchLineKind { kQuery, kBlank, kMalformed };

// Blank lines and lines starting with '#' are kBlank. A query is exactly four
// finite numbers separated by blanks, with the latitude within ±90 and the
// longitude within -180..360; anything else is kMalformed.
BatchLineKind ParseBatchLine(std::string_view line, BatchQuery& query);

// The output line of one result, without the line end.
std::string BatchResultLine(const MagneticResult& result);

}  // namespace orb
