#include "core/station_qc.h"

#include <algorithm>
#include <cmath>

#include "core/fixed_text.h"

namespace orb {
namespace {

// Half a float step relative to the value: a float stored for a typed or
// computed value may sit this far from it.
constexpr double kFloatHalfStep = 0x1p-24;

// Decimals of the measured value (as the table shows it) and of the reference.
int MeasuredDecimals(QcRule rule) {
    return rule == QcRule::kTotalGravity ? 4 : rule == QcRule::kFieldStrength ? 0 : 2;
}

int ReferenceDecimals(QcRule rule) {
    return rule == QcRule::kTotalGravity ? 3 : rule == QcRule::kFieldStrength ? 0 : 2;
}

std::optional<double> Usable(const std::optional<double>& reference) {
    if (reference && std::isfinite(*reference)) return reference;
    return std::nullopt;
}

struct Measurement {
    QcRule rule;
    double value;
    float stored;  // the float the value comes from, for the rounding allowance
    std::optional<double> reference;
    double tolerance;
};

double Distance(QcRule rule, double value, double reference) {
    double d = value - reference;
    if (rule == QcRule::kDip) {  // angles: the short way round
        if (d > 180.0) d -= 360.0;
        if (d < -180.0) d += 360.0;
    }
    return std::fabs(d);
}

void Check(const Measurement& m, QcResult& result) {
    if (!m.reference) return;
    const double allowance = std::fabs(static_cast<double>(m.stored)) * kFloatHalfStep;
    // Written so that NaN fails.
    if (Distance(m.rule, m.value, *m.reference) <= m.tolerance + allowance) return;
    result.failures[result.failureCount++] = {m.rule, m.value, *m.reference, m.tolerance};
}

// One template a rule, so that the window can translate the whole line.
const char* FailureTemplate(QcRule rule) {
    switch (rule) {
        case QcRule::kTotalGravity:
            return ORB_TEXT("core", "总加速度超差: %1 (参考 %2 ± %3)");
        case QcRule::kFieldStrength:
            return ORB_TEXT("core", "地磁场强度超差: %1 (参考 %2 ± %3)");
        case QcRule::kDip:
            break;
    }
    return ORB_TEXT("core", "地磁倾角超差: %1 (参考 %2 ± %3)");
}

std::string FailureText(const QcFailure& f) {
    return FillTemplate(FailureTemplate(f.rule), {FixedText(f.measured, MeasuredDecimals(f.rule)),
                                                  FixedTextAtLeast(f.reference, ReferenceDecimals(f.rule)),
                                                  FixedTextAtLeast(f.tolerance, ReferenceDecimals(f.rule))});
}

std::string SaturationText(const QcResult& r) {
    static constexpr const char* kChannels[6] = {"gx", "gy", "gz", "mx", "my", "mz"};
    std::string s = r.saturationEstimated ? ORB_TEXT("core", "原始计数可能饱和（按标定反推）")
                                          : ORB_TEXT("core", "原始计数饱和");
    s += ": ";
    bool first = true;
    for (int k = 0; k < 6; ++k) {
        if ((r.saturatedChannels & (1u << k)) == 0) continue;
        if (!first) s += ", ";
        s += kChannels[k];
        first = false;
    }
    return s;
}

std::string ToleranceProblem(QcRule rule, double tolerance) {
    if (std::isfinite(tolerance) && tolerance >= 0) return {};
    switch (rule) {
        case QcRule::kTotalGravity:
            return ORB_TEXT("core", "总加速度的容差必须是不小于 0 的数");
        case QcRule::kFieldStrength:
            return ORB_TEXT("core", "地磁场强度的容差必须是不小于 0 的数");
        case QcRule::kDip:
            break;
    }
    return ORB_TEXT("core", "地磁倾角的容差必须是不小于 0 的数");
}

}  // namespace

float FieldStrength(const SurveyRecord& r) {
    return r.totalMagnetic * kFieldStrengthReference;
}

double SignedDip(double storedDip) {
    return storedDip > 180.0 ? storedDip - 360.0 : storedDip;
}

std::string QcSettingsProblem(const QcSettings& s) {
    std::string p = ToleranceProblem(QcRule::kTotalGravity, s.tolerances.totalGravity);
    if (p.empty()) p = ToleranceProblem(QcRule::kFieldStrength, s.tolerances.fieldStrength);
    if (p.empty()) p = ToleranceProblem(QcRule::kDip, s.tolerances.dip);
    if (p.empty() && !(s.temperature.min <= s.temperature.max))
        p = ORB_TEXT("core", "温度范围的下限不能大于上限");
    if (p.empty()) p = StillLimitsProblem(s.still);
    return p;
}

QcResult CheckStation(const SurveyRecord& record, const QcSettings& settings) {
    QcResult result;
    const QcReferences& ref = settings.references;
    const QcTolerances& tol = settings.tolerances;
    const float field = FieldStrength(record);
    const std::optional<double> dipReference =
        Usable(ref.dip) ? std::optional<double>(SignedDip(*ref.dip)) : std::nullopt;
    Check({QcRule::kTotalGravity, record.totalGravity, record.totalGravity, Usable(ref.totalGravity),
           tol.totalGravity},
          result);
    Check({QcRule::kFieldStrength, field, field, Usable(ref.fieldStrength), tol.fieldStrength}, result);
    Check({QcRule::kDip, SignedDip(record.dip), record.dip, dipReference, tol.dip}, result);
    result.temperature = record.temperature;
    result.temperatureOutOfRange = !settings.temperature.Contains(record.temperature);
    return result;
}

QcResult CheckStation(const SurveyRecord& record, const QcSettings& settings, const RawCounts& raw) {
    QcResult result = CheckStation(record, settings);
    result.saturationKnown = true;
    result.saturatedChannels = SaturatedChannels(raw);
    return result;
}

void CheckStations(std::span<const SurveyRecord> records, const QcSettings& settings,
                   std::vector<QcResult>& out, const ProbeCalibration* estimateWith) {
    out.resize(records.size());
    const std::optional<RawCountEstimator> estimator =
        estimateWith ? std::optional<RawCountEstimator>(std::in_place, *estimateWith) : std::nullopt;
    for (std::size_t i = 0; i < records.size(); ++i) {
        out[i] = CheckStation(records[i], settings);
        if (!estimator) continue;
        const std::optional<uint8_t> bits = estimator->SaturatedChannels(records[i]);
        if (!bits) continue;
        out[i].saturationKnown = true;
        out[i].saturationEstimated = true;
        out[i].saturatedChannels = *bits;
    }
    FlagMovingAtMark(records, settings.still, out);
}

void FlagMovingAtMark(std::span<const SurveyRecord> records, const StillLimits& limits,
                      std::span<QcResult> results) {
    const std::size_t n = std::min(records.size(), results.size());
    for (std::size_t i = 0; i < n; ++i) results[i].movingAtMark = false;
    for (const std::size_t i : MovingAtMarkRecords(records.first(n), limits)) results[i].movingAtMark = true;
}

std::vector<std::size_t> MovingAtMarkRecords(std::span<const SurveyRecord> records,
                                             const StillLimits& limits) {
    std::vector<std::size_t> moving;
    bool anyMatched = false;
    for (const SurveyRecord& r : records) anyMatched = anyMatched || r.syncMatched != 0;
    if (!anyMatched) return moving;  // a run without marks costs nothing here
    const std::vector<StillPeriod> periods = FindStillPeriods(records, limits);
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i].syncMatched != 0 && PeriodOf(periods, i) == nullptr) moving.push_back(i);
    return moving;
}

std::size_t CountFailed(std::span<const QcResult> results) {
    std::size_t n = 0;
    for (const QcResult& r : results) n += r.passed() ? 0 : 1;
    return n;
}

const char* QcRuleName(QcRule rule) {
    switch (rule) {
        case QcRule::kTotalGravity:
            return ORB_TEXT("core", "总加速度");
        case QcRule::kFieldStrength:
            return ORB_TEXT("core", "地磁场强度");
        case QcRule::kDip:
            return ORB_TEXT("core", "地磁倾角");
    }
    return "";
}

std::string QcTooltipText(const QcResult& result, const QcSettings& settings) {
    std::string text;
    const auto line = [&text](const std::string& s) {
        if (!text.empty()) text.push_back('\n');
        text += s;
    };
    for (const QcFailure& f : result.failed()) line(FailureText(f));
    if (result.temperatureOutOfRange) {
        line(FillTemplate(ORB_TEXT("core", "温度超出合理范围: %1 (范围 %2 ~ %3)"),
                          {FixedText(result.temperature, 1), FixedTextAtLeast(settings.temperature.min, 1),
                           FixedTextAtLeast(settings.temperature.max, 1)}));
    }
    if (result.saturatedChannels != 0) line(SaturationText(result));
    if (result.movingAtMark)
        line(std::string(kMovingAtMarkText) + ": " +
             ORB_TEXT("core", "同步器标记的测点不在任何静止段内，该测点可能是探管移动中测得的"));
    return text;
}

const char* QcVerdictText(const QcResult& result) {
    return result.passed() ? ORB_TEXT("core", "合格") : ORB_TEXT("core", "超差");
}

}  // namespace orb
