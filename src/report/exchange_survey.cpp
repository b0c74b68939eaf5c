#include "report/exchange_survey.h"

#include <cmath>

#include "core/fixed_text.h"
#include "core/ole_date.h"
#include "core/text_codec.h"
#include "core/trajectory_csv.h"

namespace orb {
namespace {

std::optional<double> Rate(double change, double courseLength, double step) {
    if (!(step > 0)) return std::nullopt;
    return change / step * courseLength;
}

void FillRates(ExchangeStation& s, const TrajectoryStation& prev, double courseLength) {
    const double step = s.trajectory.md - prev.md;
    s.buildRate = Rate(s.trajectory.inclination - prev.inclination, courseLength, step);
    s.turnRate = Rate(AzimuthDifference(prev.trueAzimuth, s.trajectory.trueAzimuth), courseLength, step);
}

ExchangeStation MakeStation(const TrajectoryStation& t, const SurveyRecord& r, const QcSettings& qc) {
    ExchangeStation s;
    s.trajectory = t;
    s.gravityToolFace = r.gravityToolFace;
    s.magneticToolFace = r.magneticToolFace;
    s.totalGravity = r.totalGravity;
    s.fieldStrength = FieldStrength(r);
    s.dip = SignedDip(r.dip);
    s.gx = r.gx, s.gy = r.gy, s.gz = r.gz;
    s.mx = r.mx, s.my = r.my, s.mz = r.mz;
    s.sampleTime = r.sampleTime;
    s.sampleTimeValid = r.sampleTimeStatus == 0;
    s.quality = CheckStation(r, qc);
    return s;
}

TrajectoryStation TieOnStation(const TieOn& t) {
    TrajectoryStation s;
    s.md = t.md;
    s.inclination = t.direction.inclination;
    s.trueAzimuth = t.direction.azimuth;
    return s;
}

std::string SurveyDay(const SurveyContext& context, const std::vector<ExchangeStation>& stations) {
    if (!context.surveyDate.empty()) return context.surveyDate;
    for (const ExchangeStation& s : stations)
        if (s.sampleTimeValid) return FormatOleDate(s.sampleTime, 0, "%Y-%m-%d");
    return {};
}

}  // namespace

std::array<std::string, kExchangeFieldCount> ExchangeFields(const ExchangeStation& s, const char* undefined) {
    auto optional = [undefined](const std::optional<double>& v) {
        return v ? FixedText(*v, 3) : std::string(undefined);
    };
    const auto path = TrajectoryCells(s.trajectory, undefined);
    std::array<std::string, kExchangeFieldCount> fields;
    std::move(path.begin(), path.end(), fields.begin());
    std::size_t i = path.size();
    for (std::string text :
         {optional(s.buildRate), optional(s.turnRate), FixedText(s.gravityToolFace, 2),
          FixedText(s.magneticToolFace, 2), FixedText(s.totalGravity, 4), FixedText(s.fieldStrength, 1),
          FixedText(s.dip, 2), std::string(QcVerdictText(s.quality))})
        fields[i++] = std::move(text);
    return fields;
}

double AzimuthDifference(double from, double to) {
    double d = std::fmod(to - from, 360.0);
    if (d >= 180.0) d -= 360.0;
    if (d < -180.0) d += 360.0;
    return d;
}

ExchangeOptions ExchangeOptionsFromContext(const SurveyContext& c, ExchangeOptions base) {
    base.references = ReferencesFromContext(c);
    TrajectorySettings& t = base.trajectory;
    if (c.depthUnit) {
        t.depthUnit = *c.depthUnit;
        t.dlsInterval =
            *c.depthUnit == DepthUnit::kFeet ? DlsInterval::kPer100Feet : DlsInterval::kPer30Metres;
    }
    if (c.tieOn) t.tieOn = *c.tieOn;
    if (c.vsAzimuth) t.vsAzimuth = c.vsAzimuth;
    if (c.tolerances) base.qc.tolerances = *c.tolerances;
    if (c.gravity) base.qc.references.totalGravity = c.gravity->value;
    if (c.fieldStrength) base.qc.references.fieldStrength = c.fieldStrength->value;
    if (c.dip) base.qc.references.dip = c.dip->value;
    return base;
}

ExchangeSurvey BuildExchangeSurvey(const COrbDoc& doc, const ExchangeOptions& options) {
    ExchangeSurvey out;
    TrajectorySettings settings = options.trajectory;
    settings.declination = AzimuthCorrection(options.references);
    const Trajectory t = ComputeTrajectory(doc.records(), settings);

    ExchangeHeader& h = out.header;
    h.well = Utf16ToUtf8(doc.wellNumber());
    h.team = Utf16ToUtf8(doc.teamNumber());
    h.probe = Utf16ToUtf8(doc.probeNumber());
    h.depthUnit = settings.depthUnit;
    h.dlsInterval = settings.dlsInterval;
    h.dlsCourseLength = DlsCourseLength(settings.dlsInterval, settings.depthUnit);
    h.references = options.references;
    h.tieOn = settings.tieOn;
    h.vsAzimuth = t.vsAzimuth;
    h.vsAzimuthIsClosure = t.vsAzimuthIsClosure;
    const double vs = t.vsAzimuth * M_PI / 180.0;
    h.tieOnVerticalSection = h.tieOn.north * std::cos(vs) + h.tieOn.east * std::sin(vs);
    h.qc = options.qc;
    h.location = doc.context().location;

    out.stations.reserve(t.stations.size());
    TrajectoryStation prev = TieOnStation(settings.tieOn);
    for (const TrajectoryStation& ts : t.stations) {
        out.stations.push_back(MakeStation(ts, doc.records()[ts.recordIndex], options.qc));
        FillRates(out.stations.back(), prev, h.dlsCourseLength);
        prev = ts;
    }
    h.surveyDate = SurveyDay(doc.context(), out.stations);
    return out;
}

}  // namespace orb
