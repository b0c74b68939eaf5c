#include "core/angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace orb {
namespace {

TEST(NormalizeAngle, BringsAnglesIntoRange) {
    EXPECT_EQ(NormalizeAngle(360.0), 0.0);
    EXPECT_EQ(NormalizeAngle(-0.5), 359.5);
    EXPECT_EQ(NormalizeAngle(720.25), 0.25);
    EXPECT_EQ(NormalizeAngle(359.75), 359.75);
    EXPECT_EQ(NormalizeAngle(-720.5), 359.5);
}

TEST(NormalizeAngle, BoundedLoopsAndSpecialValues) {
    // 10000 subtractions, then no further reduction.
    EXPECT_EQ(NormalizeAngle(4.0e6), 400000.0);
    EXPECT_EQ(NormalizeAngle(-4.0e6), -400000.0);
    EXPECT_TRUE(std::isnan(NormalizeAngle(std::numeric_limits<double>::quiet_NaN())));
    const double negZero = NormalizeAngle(-0.0);
    EXPECT_EQ(negZero, 0.0);
    EXPECT_TRUE(std::signbit(negZero));
}

TEST(NormalizeAngle, TinyNegativeAngleIsAFullTurnNotAnEndlessLoop) {
    // -1e-20 + 360 == 360 exactly; the result must be 0, not 3,600,000.
    EXPECT_EQ(NormalizeAngle(-1e-20), 0.0);
    EXPECT_EQ(NormalizeAngle(-360.0 - 1e-20), 0.0);
}

std::vector<SurveyRecord> WithSelected(std::initializer_list<int32_t> flags) {
    std::vector<SurveyRecord> v;
    for (int32_t f : flags) {
        SurveyRecord r;
        r.selected = f;
        v.push_back(r);
    }
    return v;
}

TEST(Selection, OnlyTheValueOneCounts) {
    auto recs = WithSelected({0, 1, 2, 1, 0, -1});
    EXPECT_EQ(CountSelected(recs), 2u);
    EXPECT_EQ(IndexOfSelected(recs, 0), 1u);
    EXPECT_EQ(IndexOfSelected(recs, 1), 3u);
    EXPECT_EQ(IndexOfSelected(recs, 2), recs.size());
    EXPECT_EQ(CountSelected({}), 0u);
    EXPECT_EQ(IndexOfSelected({}, 0), 0u);
}

TEST(Selection, OnlySelectedAtFive) {
    auto recs = WithSelected({0, 0, 0, 0, 0, 1, 0});
    EXPECT_EQ(IndexOfSelected(recs, 0), 5u);
    EXPECT_EQ(IndexOfSelected(recs, 1), 7u);
}

TEST(ContinuousDay, MonotonicAcrossTheEpoch) {
    EXPECT_EQ(ContinuousDay(1.5), 1.5);
    EXPECT_EQ(ContinuousDay(0.0), 0.0);
    // 1899-12-29 06:00 is stored as -1.25 and means -0.75 on the continuous scale.
    EXPECT_DOUBLE_EQ(ContinuousDay(-1.25), -0.75);
    EXPECT_GT(ContinuousDay(-1.25), ContinuousDay(-1.0));  // 06:00 is after 00:00 of that day
    EXPECT_LT(ContinuousDay(-2.75), ContinuousDay(-1.25));
}

}  // namespace
}  // namespace orb
