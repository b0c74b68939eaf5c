#include "report/survey_references.h"

#include "core/fixed_text.h"

namespace orb {

double AzimuthCorrection(const SurveyReferences& refs) {
    switch (refs.north) {
        case NorthReference::kMagnetic:
            return 0;
        case NorthReference::kGrid:
            return refs.declination.value - (refs.convergence ? refs.convergence->value : 0.0);
        case NorthReference::kTrue:
            break;
    }
    return refs.declination.value;
}

SurveyReferences ReferencesFromContext(const SurveyContext& context) {
    SurveyReferences refs;
    if (context.northReference) refs.north = *context.northReference;
    if (context.declination) refs.declination = *context.declination;
    refs.convergence = context.convergence;
    return refs;
}

std::string TieOnText(const TieOn& t) {
    return "测深 " + FixedText(t.md, 2) + " 井斜 " + FixedText(t.direction.inclination, 2) + "° 方位 " +
           FixedText(t.direction.azimuth, 2) + "° 垂深 " + FixedText(t.tvd, 2) + " 北 " +
           FixedText(t.north, 3) + " 东 " + FixedText(t.east, 3);
}

std::string ReferencesText(const SurveyReferences& refs, const TieOn& tieOn) {
    std::string s = std::string("北向基准 ") + NorthReferenceText(refs.north) + "，磁偏角 " +
                    FixedText(refs.declination.value, 2) + "°（" + SourceText(refs.declination.source) + "）";
    s += "，子午线收敛角 ";
    s += refs.convergence
             ? FixedText(refs.convergence->value, 2) + "°（" + SourceText(refs.convergence->source) + "）"
             : std::string("—");
    return s + "，连接点 " + TieOnText(tieOn);
}

}  // namespace orb
