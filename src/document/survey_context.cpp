#include "document/survey_context.h"

#include "core/ui_text.h"

namespace orb {
namespace {

bool SameTieOn(const std::optional<TieOn>& a, const std::optional<TieOn>& b) {
    if (a.has_value() != b.has_value()) return false;
    if (!a) return true;
    return a->md == b->md && a->tvd == b->tvd && a->north == b->north && a->east == b->east &&
           a->direction.inclination == b->direction.inclination &&
           a->direction.azimuth == b->direction.azimuth;
}

bool SameTolerances(const std::optional<QcTolerances>& a, const std::optional<QcTolerances>& b) {
    if (a.has_value() != b.has_value()) return false;
    if (!a) return true;
    return a->totalGravity == b->totalGravity && a->fieldStrength == b->fieldStrength && a->dip == b->dip;
}

}  // namespace

bool SurveyContext::empty() const {
    return *this == SurveyContext{};
}

bool SurveyContext::operator==(const SurveyContext& o) const {
    return location == o.location && surveyDate == o.surveyDate && declination == o.declination &&
           dip == o.dip && fieldStrength == o.fieldStrength && gravity == o.gravity &&
           projection == o.projection && convergence == o.convergence && northReference == o.northReference &&
           depthUnit == o.depthUnit && dlsCourseLength == o.dlsCourseLength && SameTieOn(tieOn, o.tieOn) &&
           vsAzimuth == o.vsAzimuth && SameTolerances(tolerances, o.tolerances) && workMode == o.workMode;
}

std::string SourceText(const ValueSource& source) {
    if (source.kind == ValueSource::Kind::kOperator) return ORB_TEXT("core", "操作员输入");
    std::string s = source.model.empty() ? std::string(ORB_TEXT("core", "模型")) : source.model;
    if (!source.validity.empty()) s += "（有效期 " + source.validity + "）";
    return s;
}

}  // namespace orb
