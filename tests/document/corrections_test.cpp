// The corrections act on the document's records; they are tested here with
// the records the document hands out through EditRecords.
#include "core/corrections.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "document/orb_doc.h"

namespace orb {
namespace {

SurveyRecord Station(int32_t selected) {
    SurveyRecord r;
    r.selected = selected;
    r.inclination = 10.0f;
    r.azimuth = 100.0f;
    r.gravityToolFace = 200.0f;
    r.magneticToolFace = 300.0f;
    r.dip = 50.0f;
    r.totalGravity = 1.0f;
    r.totalMagnetic = 0.5f;
    r.depth = 77.0f;
    r.reserved[2] = 99;
    return r;
}

float CompensatedInclination(float value, double offset) {
    std::vector<SurveyRecord> v{Station(1)};
    v[0].inclination = value;
    ApplyCompensation(v, {.inclination = offset});
    return v[0].inclination;
}

TEST(Compensation, InclinationFoldsAt180AndKeepsNegatives) {
    EXPECT_EQ(CompensatedInclination(178.0f, 5), 177.0f);
    EXPECT_EQ(CompensatedInclination(2.0f, -5), -3.0f);
    EXPECT_EQ(CompensatedInclination(180.0f, 0), 180.0f);  // 360 − 180
    EXPECT_EQ(CompensatedInclination(200.0f, 0), 160.0f);
    EXPECT_EQ(CompensatedInclination(170.0f, 200), -10.0f);  // folded once, not normalised
    EXPECT_EQ(CompensatedInclination(10.0f, 0.1), static_cast<float>(10.0 + 0.1));
}

TEST(Compensation, AzimuthLikeAnglesWrapIntoRange) {
    std::vector<SurveyRecord> v{Station(1), Station(1)};
    v[0].azimuth = 358.0f;
    v[0].gravityToolFace = 358.0f;
    v[0].magneticToolFace = 2.0f;
    v[1].azimuth = 2.0f;
    ApplyCompensation(v, {.azimuth = 5, .gravityToolFace = 5, .magneticToolFace = -5, .dip = -60});
    EXPECT_EQ(v[0].azimuth, 3.0f);
    EXPECT_EQ(v[0].gravityToolFace, 3.0f);
    EXPECT_EQ(v[0].magneticToolFace, 357.0f);
    EXPECT_EQ(v[0].dip, 350.0f);
    EXPECT_EQ(v[1].azimuth, 7.0f);
    // A tiny negative sum normalises to just below 360, which rounds to 360.0f.
    std::vector<SurveyRecord> w{Station(1)};
    w[0].azimuth = 0.0f;
    ApplyCompensation(w, {.azimuth = -1e-9});
    EXPECT_EQ(w[0].azimuth, 360.0f);
}

TEST(Compensation, MagnitudesAddInSinglePrecisionAndOnlySelectedChange) {
    std::vector<SurveyRecord> v{Station(1), Station(0), Station(2)};
    v[0].totalMagnetic = 0.005f;
    const SurveyRecord untouched = v[1];
    ApplyCompensation(v, {.totalGravity = 0.01, .totalMagnetic = -0.01});
    EXPECT_EQ(v[0].totalGravity, 1.01f);
    EXPECT_EQ(v[0].totalMagnetic, static_cast<float>(static_cast<double>(0.005f) - 0.01));
    EXPECT_LT(v[0].totalMagnetic, 0.0f);
    EXPECT_EQ(std::memcmp(&v[1], &untouched, sizeof untouched), 0);
    EXPECT_EQ(v[2].totalGravity, 1.01f);  // any non-zero flag is compensated
    EXPECT_EQ(v[0].depth, 77.0f);
    EXPECT_EQ(v[0].reserved[2], 99);

    const SurveyRecord before = v[0];
    ApplyCompensation(v, {});
    EXPECT_EQ(std::memcmp(&v[0], &before, sizeof before), 0);
}

TEST(DepthGeneration, CountsSelectedRecordsInRecordOrder) {
    COrbDoc doc;
    for (int i = 0; i < 10; ++i) doc.AppendRecord(Station(i == 2 || i == 5 || i == 9 ? 1 : 0));
    doc.EditRecords([](std::vector<SurveyRecord>& r) { GenerateDepths(r, 1000.0f, 30.0f); });
    for (std::size_t i = 0; i < 10; ++i) {
        const float expected = i == 2 ? 1000.0f : i == 5 ? 970.0f : i == 9 ? 940.0f : 0.0f;
        EXPECT_EQ(doc.Record(i).depth, expected) << i;
    }
}

TEST(DepthGeneration, ClampsAtZeroAndGrowsWithNegativeSegments) {
    std::vector<SurveyRecord> v{Station(1), Station(1), Station(2), Station(1)};
    GenerateDepths(v, 50.0f, 30.0f);
    EXPECT_EQ(v[0].depth, 50.0f);
    EXPECT_EQ(v[1].depth, 20.0f);
    EXPECT_EQ(v[2].depth, 0.0f);  // only the value 1 counts as a station here
    EXPECT_EQ(v[3].depth, 0.0f);  // −10 clamped
    EXPECT_FALSE(std::signbit(v[3].depth));

    GenerateDepths(v, 100.0f, -10.0f);
    EXPECT_EQ(v[0].depth, 100.0f);
    EXPECT_EQ(v[1].depth, 110.0f);
    EXPECT_EQ(v[3].depth, 120.0f);
}

}  // namespace
}  // namespace orb
