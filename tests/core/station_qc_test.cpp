#include "core/station_qc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/synthetic.h"

namespace orb {
namespace {

SurveyRecord Measured(float gravity, float magnetic = 1.0f, float dip = 60.0f, float temperature = 25.0f) {
    SurveyRecord r;
    r.totalGravity = gravity;
    r.totalMagnetic = magnetic;
    r.dip = dip;
    r.temperature = temperature;
    return r;
}

// The float totalMagnetic whose field strength (float product) is nearest `nt`.
float MagneticFor(double nt) {
    float m = static_cast<float>(nt / kFieldStrengthReference);
    for (float c : {std::nextafter(m, 0.0f), std::nextafter(m, 2.0f)}) {
        if (std::fabs(c * kFieldStrengthReference - nt) < std::fabs(m * kFieldStrengthReference - nt)) m = c;
    }
    return m;
}

QcSettings FullSettings() {
    QcSettings s;
    s.references.fieldStrength = 50000;
    s.references.dip = -60;
    return s;
}

TEST(StationQc, TotalGravityAtTheToleranceEdges) {
    const QcSettings s;  // reference 1.000 ± 0.003, the others unset
    EXPECT_TRUE(CheckStation(Measured(1.003f), s).passed());
    EXPECT_TRUE(CheckStation(Measured(0.997f), s).passed());
    EXPECT_FALSE(CheckStation(Measured(std::nextafter(1.003f, 2.0f)), s).passed());
    EXPECT_FALSE(CheckStation(Measured(0.9969f), s).passed());

    const QcResult r = CheckStation(Measured(1.0042f), s);
    ASSERT_EQ(r.failed().size(), 1u);
    EXPECT_EQ(r.failed()[0].rule, QcRule::kTotalGravity);
    EXPECT_NEAR(r.failed()[0].measured, 1.0042, 1e-7);
    EXPECT_EQ(r.failed()[0].reference, 1.0);
    EXPECT_EQ(r.failed()[0].tolerance, 0.003);
    EXPECT_EQ(QcTooltipText(r, s), "总加速度超差: 1.0042 (参考 1.000 ± 0.003)");
    EXPECT_STREQ(QcVerdictText(r), "超差");
}

TEST(StationQc, FieldStrengthAtTheToleranceEdges) {
    const QcSettings s = FullSettings();
    const float onEdge = MagneticFor(50300);
    EXPECT_EQ(FieldStrength(Measured(1, onEdge, -60 + 360)), 50300.0f);
    EXPECT_TRUE(CheckStation(Measured(1, onEdge, 300), s).passed());
    EXPECT_TRUE(CheckStation(Measured(1, MagneticFor(49700), 300), s).passed());
    EXPECT_FALSE(CheckStation(Measured(1, MagneticFor(50300.5), 300), s).passed());
    const QcResult r = CheckStation(Measured(1, MagneticFor(49600), 300), s);
    EXPECT_EQ(QcTooltipText(r, s), "地磁场强度超差: 49600 (参考 50000 ± 300)");
}

TEST(StationQc, DipIsComparedSigned) {
    QcSettings s;
    s.references.dip = -60;
    EXPECT_TRUE(CheckStation(Measured(1, 1, 300.25f), s).passed());  // -59.75
    EXPECT_TRUE(CheckStation(Measured(1, 1, 299.75f), s).passed());  // -60.25
    EXPECT_FALSE(CheckStation(Measured(1, 1, 300.3f), s).passed());
    EXPECT_FALSE(CheckStation(Measured(1, 1, 60.0f), s).passed());  // +60 is not -60
    s.references.dip = 300;  // a reference typed in the stored form reads the same
    EXPECT_TRUE(CheckStation(Measured(1, 1, 300.25f), s).passed());
    const QcResult r = CheckStation(Measured(1, 1, 300.5f), s);
    EXPECT_EQ(QcTooltipText(r, s), "地磁倾角超差: -59.50 (参考 -60.00 ± 0.25)");
    // Either side of zero.
    s.references.dip = 0.1;
    EXPECT_TRUE(CheckStation(Measured(1, 1, 359.9f), s).passed());
    EXPECT_EQ(SignedDip(330.0), -30.0);
    EXPECT_EQ(SignedDip(180.0), 180.0);
}

TEST(StationQc, ChecksWithoutAReferenceAreSkippedAndNaNFails) {
    QcSettings s;
    s.references.totalGravity.reset();
    s.references.dip = std::numeric_limits<double>::quiet_NaN();
    const QcResult skipped = CheckStation(Measured(5.0f, 9.0f, 10.0f), s);
    EXPECT_TRUE(skipped.passed());
    EXPECT_FALSE(skipped.flagged());
    EXPECT_EQ(QcTooltipText(skipped, s), "");
    EXPECT_STREQ(QcVerdictText(skipped), "合格");

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const QcResult r = CheckStation(Measured(nan, nan, nan, 25), FullSettings());
    EXPECT_EQ(r.failed().size(), 3u);
    EXPECT_EQ(QcTooltipText(r, FullSettings()),
              "总加速度超差: nan (参考 1.000 ± 0.003)\n地磁场强度超差: nan (参考 50000 ± 300)\n"
              "地磁倾角超差: nan (参考 -60.00 ± 0.25)");
}

TEST(StationQc, EditedTolerances) {
    QcSettings s = FullSettings();
    s.tolerances = {0.0, 50.0, 1.5};
    EXPECT_TRUE(CheckStation(Measured(1.0f, MagneticFor(50050), 361 - 60 - 2.5f), s).passed());
    EXPECT_FALSE(CheckStation(Measured(1.0001f, MagneticFor(50000), 300), s).passed());
    s.tolerances.totalGravity = 0.0025;
    const QcResult r = CheckStation(Measured(1.0026f, MagneticFor(50051), 298.4f), s);
    ASSERT_EQ(r.failed().size(), 3u);
    EXPECT_EQ(QcTooltipText(r, s),
              "总加速度超差: 1.0026 (参考 1.000 ± 0.0025)\n地磁场强度超差: 50051 (参考 50000 ± 50)\n"
              "地磁倾角超差: -61.60 (参考 -60.00 ± 1.50)");

    EXPECT_EQ(QcSettingsProblem(s), "");
    s.tolerances.fieldStrength = -1;
    EXPECT_EQ(QcSettingsProblem(s), "地磁场强度的容差必须是不小于 0 的数");
    s.tolerances.fieldStrength = 1;
    s.tolerances.dip = std::numeric_limits<double>::infinity();
    EXPECT_EQ(QcSettingsProblem(s), "地磁倾角的容差必须是不小于 0 的数");
    s.tolerances.dip = 1;
    s.temperature = {10, 5};
    EXPECT_EQ(QcSettingsProblem(s), "温度范围的下限不能大于上限");
}

TEST(StationQc, TemperatureOutsideThePlausibleRangeIsAFlag) {
    const QcSettings s;
    EXPECT_FALSE(CheckStation(Measured(1, 1, 60, 200.0f), s).temperatureOutOfRange);
    EXPECT_FALSE(CheckStation(Measured(1, 1, 60, -40.0f), s).temperatureOutOfRange);
    const QcResult hot = CheckStation(Measured(1, 1, 60, 200.5f), s);
    EXPECT_TRUE(hot.temperatureOutOfRange);
    EXPECT_TRUE(hot.passed());
    EXPECT_TRUE(hot.flagged());
    EXPECT_EQ(QcTooltipText(hot, s), "温度超出合理范围: 200.5 (范围 -40.0 ~ 200.0)");
    EXPECT_TRUE(
        CheckStation(Measured(1, 1, 60, std::numeric_limits<float>::quiet_NaN()), s).temperatureOutOfRange);
}

TEST(ProbeLimits, PlausibleTemperatureRangeFromTheCalibration) {
    EXPECT_EQ(PlausibleTemperatureRange(ProbeCalibration::Default()).min, -40.0);
    EXPECT_EQ(PlausibleTemperatureRange(ProbeCalibration::Default()).max, 200.0);

    // A sixth-order term that doubles the gz scale at 150 °C.
    ProbeCalibration steep = ProbeCalibration::Default();
    steep.values[ProbeCalibration::UpperPoly(2)] = 4500.0 / std::pow(150.0, 6);
    steep.values[ProbeCalibration::LowerPoly(2)] = -4500.0 / std::pow(150.0, 6);
    const TemperatureRange r = PlausibleTemperatureRange(steep);
    EXPECT_EQ(r.min, -40.0);
    EXPECT_NEAR(r.max, 150.0, 1.0);

    ProbeCalibration dead = ProbeCalibration::Default();
    dead.values[ProbeCalibration::UpperPoly(4) + 6] = -4500.0;  // my: U == L
    EXPECT_EQ(PlausibleTemperatureRange(dead).max, 200.0);
}

TEST(ProbeLimits, SaturatedRawCounts) {
    EXPECT_EQ(SaturatedChannels(RawCounts{0, 0, 32767, 0, -32768, 32766}), 0b010100);
    AttitudeSample sample;
    sample.v[AttitudeSample::kRawGx] = -32768.0f;
    sample.v[AttitudeSample::kRawMz] = 32767.0f;
    EXPECT_EQ(SaturatedChannels(sample), 0b100001);

    const QcSettings s;
    const QcResult known = CheckStation(Measured(1), s, RawCounts{0, 0, 32767, 0, 0, 0});
    EXPECT_TRUE(known.saturationKnown);
    EXPECT_FALSE(known.saturationEstimated);
    EXPECT_TRUE(known.passed());
    EXPECT_EQ(QcTooltipText(known, s), "原始计数饱和: gz");
    EXPECT_FALSE(CheckStation(Measured(1), s).saturationKnown);
}

// Stored records: the counts come back from the calibration they were made with.
TEST(ProbeLimits, SaturationEstimatedFromAStoredRecord) {
    const ProbeCalibration cal = GenerateCalibration(11);
    AttitudeSample sample;
    sample.v[AttitudeSample::kTemperature] = 63.5f;
    const float raw[6] = {120, -2100, 32767, 1500, -32768, 800};
    for (int k = 0; k < 6; ++k) sample.v[AttitudeSample::kRawGx + k] = raw[k];
    ComputeAttitude(cal, sample);
    SurveyRecord record;
    record.temperature = 63.5f;
    record.gx = sample.v[AttitudeSample::kGx];
    record.gy = sample.v[AttitudeSample::kGy];
    record.gz = sample.v[AttitudeSample::kGz];
    record.mx = sample.v[AttitudeSample::kMx];
    record.my = sample.v[AttitudeSample::kMy];
    record.mz = sample.v[AttitudeSample::kMz];
    record.totalGravity = 1;

    const auto estimate = EstimateRawCounts(cal, record);
    ASSERT_TRUE(estimate);
    for (int k = 0; k < 6; ++k) EXPECT_NEAR((*estimate)[k], raw[k], 0.05) << k;

    std::vector<SurveyRecord> records{record, Measured(1)};
    records[1].gz = 0.5f;
    std::vector<QcResult> results;
    CheckStations(records, QcSettings{}, results, &cal);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_TRUE(results[0].saturationEstimated);
    EXPECT_EQ(results[0].saturatedChannels, 0b010100);
    EXPECT_EQ(QcTooltipText(results[0], QcSettings{}), "原始计数可能饱和（按标定反推）: gz, my");
    EXPECT_EQ(results[1].saturatedChannels, 0);
    EXPECT_EQ(CountFailed(results), 0u);

    ProbeCalibration singular = cal;
    for (int k = 0; k < 9; ++k) singular.values[ProbeCalibration::kMagMatrix + k] = 0;
    EXPECT_FALSE(EstimateRawCounts(singular, record));
    CheckStations(records, QcSettings{}, results, &singular);
    EXPECT_FALSE(results[0].saturationKnown);
}

TEST(StationQc, CountFailed) {
    const std::vector<SurveyRecord> records{Measured(1.0f), Measured(1.01f), Measured(0.9f),
                                            Measured(1.002f)};
    std::vector<QcResult> results;
    CheckStations(records, QcSettings{}, results);
    EXPECT_EQ(CountFailed(results), 2u);
}

}  // namespace
}  // namespace orb
