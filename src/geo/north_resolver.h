// Where the angles of a north reference come from: the declination the
// operator gave, else the model's at the well's position and survey date;
// the convergence from the map projection at the well's position.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "core/north_reference.h"
#include "core/survey_record.h"
#include "geo/grid_projection.h"
#include "geo/magnetic_reference.h"
#include "geo/survey_date.h"

namespace orb {

struct NorthInputs {
    NorthReference reference = NorthReference::kTrue;
    std::optional<double> operatorDeclination;  // wins over the model
    std::string operatorDeclinationOrigin;      // e.g. "WMM2025" when the operator took the model's
    std::optional<GeoPoint> position;
    ProjectionSpec projection;
    double decimalYear = 0;  // for the model's declination
};

struct NorthResolution {
    std::optional<NorthCorrection> correction;
    std::string problem;  // why there is none (Chinese)
    std::string warning;  // the field zone's warning where the model gave the declination
};

// Magnetic needs nothing. True and grid need a declination: the operator's,
// else the model's (which needs the position and a date the models cover);
// with neither, the declination is 0 from the operator, as the trajectory
// always took it. Grid needs the position for the convergence.
NorthResolution ResolveNorthCorrection(const NorthInputs& inputs, const MagneticReference& models);

// The date of the first record with a valid sample time.
std::optional<CalendarDate> FirstSampleDate(std::span<const SurveyRecord> records);

}  // namespace orb
