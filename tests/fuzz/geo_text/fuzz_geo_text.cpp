// The texts of the geomagnetic commands: batch lines, coordinates (decimal
// or D-M-S), grid choices and dates. None may crash, and whatever parses
// stays within its range.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "geo/coordinate_text.h"
#include "geo/geomag_batch.h"
#include "geo/grid_projection.h"
#include "geo/survey_date.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    orb::BatchQuery q;
    if (orb::ParseBatchLine(text, q) == orb::BatchLineKind::kQuery &&
        (!std::isfinite(q.decimalYear) || std::fabs(q.point.latitude) > 90))
        std::abort();
    for (auto axis : {orb::CoordinateAxis::kLatitude, orb::CoordinateAxis::kLongitude})
        if (const auto v = orb::ParseCoordinate(text, axis); v && !(std::fabs(*v) <= 180)) std::abort();
    if (const auto p = orb::ProjectionForChoice(text, 117.0); p && !(std::fabs(p->centralMeridian) <= 180))
        std::abort();
    if (const auto d = orb::ParseIsoDate(text); d && !orb::ValidDate(*d)) std::abort();
    return 0;
}
