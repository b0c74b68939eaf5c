#include "report/survey_references.h"

#include <cmath>

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

std::vector<std::string> ReferencesParts(const SurveyReferences& refs, const TieOn& tieOn) {
    std::vector<std::string> parts;
    parts.push_back(std::string("北向基准 ") + NorthReferenceName(refs.north));
    parts.push_back("磁偏角 " + FixedText(refs.declination.value, 2) + "°（" +
                    SourceText(refs.declination.source) + "）");
    parts.push_back("子午线收敛角 " + (refs.convergence ? FixedText(refs.convergence->value, 2) + "°（" +
                                                              SourceText(refs.convergence->source) + "）"
                                                        : std::string("—")));
    parts.push_back("连接点 " + TieOnText(tieOn));
    return parts;
}

std::string ReferencesText(const SurveyReferences& refs, const TieOn& tieOn) {
    std::string s;
    for (const std::string& part : ReferencesParts(refs, tieOn)) s += (s.empty() ? "" : "，") + part;
    return s;
}

SurveyReferences SessionReferences(const SurveyContext& context, double declination) {
    SurveyReferences refs = ReferencesFromContext(context);
    if (!context.declination ||
        static_cast<float>(context.declination->value) != static_cast<float>(declination))
        refs.declination = SourcedValue{declination, {}};
    return refs;
}

namespace {

void Keep(std::optional<SourcedValue>& stored, std::optional<double> value, bool wanted) {
    if (!value || !std::isfinite(*value) || !(wanted || stored)) return;
    if (!stored || stored->value != *value) stored = SourcedValue{*value, {}};
}

}  // namespace

SurveyContext ContextWithSession(SurveyContext c, const SessionValues& v) {
    const bool storedDeclination = c.declination && static_cast<float>(c.declination->value) == v.declination;
    if (!storedDeclination) Keep(c.declination, static_cast<double>(v.declination), v.declination != 0.0f);
    Keep(c.fieldStrength, v.references.fieldStrength, true);
    Keep(c.dip, v.references.dip, true);
    Keep(c.gravity, v.references.totalGravity, v.references.totalGravity != QcReferences{}.totalGravity);
    const QcTolerances defaults;
    const QcTolerances& t = v.tolerances;
    if (c.tolerances || t.totalGravity != defaults.totalGravity ||
        t.fieldStrength != defaults.fieldStrength || t.dip != defaults.dip)
        c.tolerances = t;
    if (v.vsAzimuth) c.vsAzimuth = v.vsAzimuth;
    if (c.depthUnit || v.dlsInterval != DlsInterval::kPer30Metres) {
        c.depthUnit = v.dlsInterval == DlsInterval::kPer100Feet ? DepthUnit::kFeet : DepthUnit::kMetres;
        c.dlsCourseLength = DlsCourseLength(v.dlsInterval, *c.depthUnit);
    }
    return c;
}

}  // namespace orb
