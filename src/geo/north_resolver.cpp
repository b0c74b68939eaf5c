#include "geo/north_resolver.h"

#include "core/ole_date.h"
#include "core/ui_text.h"

namespace orb {

namespace {

bool ResolveDeclination(const NorthInputs& in, const MagneticReference& models, NorthResolution& out) {
    NorthCorrection& c = *out.correction;
    if (in.operatorDeclination || !in.position) {
        c.declination = in.operatorDeclination.value_or(0.0);
        c.declinationSource =
            in.operatorDeclinationOrigin.empty() ? AngleSource::kOperator : AngleSource::kModel;
        c.declinationOrigin = in.operatorDeclinationOrigin;
        return true;
    }
    const MagneticResult r = models.Evaluate(*in.position, in.decimalYear);
    if (!r.field) {
        out.problem = r.problem;
        return false;
    }
    c.declination = r.field->declination;
    c.declinationSource = AngleSource::kModel;
    c.declinationOrigin = r.field->model;
    out.warning = FieldZoneWarning(r.field->zone);
    return true;
}

bool ResolveConvergence(const NorthInputs& in, NorthResolution& out) {
    if (!in.position) {
        out.problem = ORB_TEXT("core", "网格北需要井位（纬度、经度）");
        return false;
    }
    const GridResult g = ProjectGrid(in.projection, in.position->latitude, in.position->longitude);
    if (!g.point) {
        out.problem = g.problem;
        return false;
    }
    NorthCorrection& c = *out.correction;
    c.convergence = g.point->convergence;
    c.convergenceSource = AngleSource::kModel;
    c.convergenceOrigin =
        (in.projection.kind == ProjectionKind::kUtm ? "UTM " : "高斯-克吕格 ") + g.point->zone;
    return true;
}

}  // namespace

NorthResolution ResolveNorthCorrection(const NorthInputs& in, const MagneticReference& models) {
    NorthResolution out;
    out.correction = NorthCorrection{};
    out.correction->reference = in.reference;
    if (in.reference == NorthReference::kMagnetic) {
        out.correction->declinationSource = AngleSource::kNone;
        return out;
    }
    if (!ResolveDeclination(in, models, out) ||
        (in.reference == NorthReference::kGrid && !ResolveConvergence(in, out)))
        out.correction.reset();
    return out;
}

std::optional<CalendarDate> FirstSampleDate(std::span<const SurveyRecord> records) {
    for (const SurveyRecord& r : records) {
        DateTimeFields f;
        if (r.sampleTimeStatus == 0 && OleDateToFields(r.sampleTime, f))
            return CalendarDate{f.year, f.month, f.day};
    }
    return std::nullopt;
}

}  // namespace orb
