// The references a trajectory is computed in, as every trajectory listing,
// picture and exchange file states them: the north the azimuths refer to,
// the declination and grid convergence applied with their sources, and the
// tie-on point.
#pragma once

#include <optional>
#include <string>

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

// The tie-on alone: "测深 0.00 井斜 0.00° 方位 0.00° 垂深 0.00 北 0.000 东 0.000".
std::string TieOnText(const TieOn& tieOn);

}  // namespace orb
