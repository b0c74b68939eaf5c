// The references a trajectory is computed in, as every trajectory listing,
// picture and exchange file states them: the north the azimuths refer to,
// the declination and grid convergence applied with their sources, and the
// tie-on point.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/station_qc.h"
#include "core/trajectory.h"
#include "document/survey_context.h"

namespace orb {

struct SurveyReferences {
    NorthReference north = NorthReference::kTrue;
    SourcedValue declination;                 // degrees east; 0 (operator) when none was given
    std::optional<SourcedValue> convergence;  // degrees; none: no grid

    bool operator==(const SurveyReferences&) const = default;
};

// What is added to a magnetic azimuth to refer it to `north`: nothing for
// magnetic north, the declination for true north, the declination less the
// convergence for grid north.
double AzimuthCorrection(const SurveyReferences& refs);

// The references of a survey context (declination 0 from the operator and
// true north when it holds none).
SurveyReferences ReferencesFromContext(const SurveyContext& context);

// "北向基准 真北，磁偏角 -5.50°（操作员输入），子午线收敛角 —，连接点 测深 0.00
// 井斜 0.00° 方位 0.00° 垂深 0.00 北 0.000 东 0.000"
std::string ReferencesText(const SurveyReferences& refs, const TieOn& tieOn);

// The same in parts (north, declination, convergence, tie-on), for wrapping.
std::vector<std::string> ReferencesParts(const SurveyReferences& refs, const TieOn& tieOn);

// The references of a session: the context's, with the declination in use
// (its source stays the context's while the value is the stored one; a
// changed value is the operator's).
SurveyReferences SessionReferences(const SurveyContext& context, double declination);

// What a session of the window holds besides the document, to be kept with
// the survey when it is saved.
struct SessionValues {
    float declination = 0;
    QcReferences references;
    QcTolerances tolerances;
    DlsInterval dlsInterval = DlsInterval::kPer30Metres;
    std::optional<double> vsAzimuth;
};

// `context` with the session's values: each one that differs from the
// program's default, or that the context already holds, is stored (a value
// equal to the stored one keeps its source; another is the operator's). A
// session at the defaults leaves an empty context empty, so such a survey is
// saved in the original layout.
SurveyContext ContextWithSession(SurveyContext context, const SessionValues& session);

// The tie-on alone: "测深 0.00 井斜 0.00° 方位 0.00° 垂深 0.00 北 0.000 东 0.000".
std::string TieOnText(const TieOn& tieOn);

}  // namespace orb
