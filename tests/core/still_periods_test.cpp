// Still periods of hand-made record series: what counts as still (every
// component, the angles, azimuth only off vertical), how runs are cut, which
// record a period proposes, and the moving-at-mark flag built on them.
#include "core/still_periods.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/station_qc.h"

namespace orb {
namespace {

// A record at an attitude: the components follow inclination, azimuth and
// tool face the way an ideal probe sees a field of 0.52 at 60° dip.
SurveyRecord At(double inc, double azi, double toolFace = 30) {
    constexpr double d = M_PI / 180;
    const double i = inc * d, a = azi * d, t = toolFace * d, dip = 60 * d, f = 0.52;
    SurveyRecord r;
    r.inclination = static_cast<float>(inc);
    r.azimuth = static_cast<float>(azi);
    r.gravityToolFace = static_cast<float>(toolFace);
    // Earth frame (north, east, down) into the tool frame.
    const double n = f * std::cos(dip), v = f * std::sin(dip);
    const double hx = n * std::cos(a) * std::cos(i) - v * std::sin(i);  // along the high side
    const double hy = -n * std::sin(a);                                 // to the right
    const double hz = n * std::cos(a) * std::sin(i) + v * std::cos(i);  // along the axis
    r.gx = static_cast<float>(std::sin(i) * std::cos(t));
    r.gy = static_cast<float>(-std::sin(i) * std::sin(t));
    r.gz = static_cast<float>(std::cos(i));
    r.mx = static_cast<float>(hx * std::cos(t) + hy * std::sin(t));
    r.my = static_cast<float>(-hx * std::sin(t) + hy * std::cos(t));
    r.mz = static_cast<float>(hz);
    r.totalGravity = 1.0f;
    r.totalMagnetic = static_cast<float>(f);
    return r;
}

std::string Periods(const std::vector<SurveyRecord>& rs, const StillLimits& l = {}) {
    return StillPeriodsText(FindStillPeriods(rs, l));
}

TEST(StillPeriods, WhatCountsAsStill) {
    struct Case {
        const char* what;
        std::vector<SurveyRecord> records;
        const char* periods;
        StillLimits limits = {};
    };
    const auto shifted = [](SurveyRecord r, float dgx) {
        r.gx += dgx;
        return r;
    };
    const StillLimits anglesOnly{1e5, 1e6, 0.2, 1.0, 5.0, 2};
    const Case cases[] = {
        {"constant", {At(30, 120), At(30, 120), At(30, 120)}, "0-2"},
        {"one sample is no run", {At(30, 120), At(40, 120), At(50, 120)}, ""},
        {"gx 1.9 mg apart", {At(30, 120), shifted(At(30, 120), 0.0019f)}, "0-1"},
        {"gx 2.1 mg apart", {At(30, 120), shifted(At(30, 120), 0.0021f)}, ""},
        {"turning about the axis", {At(30, 120, 0), At(30, 120, 20), At(30, 120, 40)}, ""},
        {"azimuth across north", {At(30, 359.8), At(30, 0.1), At(30, 359.9)}, "0-2"},
        {"azimuth across north, 1.1 degrees", {At(30, 359.5), At(30, 0.6)}, "", anglesOnly},
        {"azimuth 1.5 degrees apart", {At(30, 120), At(30, 121.5)}, "", anglesOnly},
        {"azimuth 0.9 degrees apart", {At(30, 120), At(30, 120.9)}, "0-1", anglesOnly},
        {"azimuth 1.5 degrees apart below 5 degrees", {At(4.9, 120), At(4.9, 121.5)}, "0-1", anglesOnly},
        // Near vertical a hair of gx, gy turns high side and azimuth together
        // while the magnetic components stay: still.
        {"azimuth swinging at vertical", {At(0.01, 20, 100), At(0.01, 80, 40), At(0.01, 140, -20)}, "0-2"},
        {"inclination 0.3 degrees apart", {At(30, 120), At(30.3, 120)}, "", anglesOnly},
        {"stop, move, stop", {At(30, 120), At(30, 120), At(35, 125), At(40, 130), At(40, 130)}, "0-1, 3-4"},
    };
    for (const Case& c : cases) EXPECT_EQ(Periods(c.records, c.limits), c.periods) << c.what;
}

TEST(StillPeriods, HowRunsAreCut) {
    std::vector<SurveyRecord> rs = {At(30, 120), At(30, 120), At(30, 120)};
    // A value that is not finite belongs to no period and splits the run.
    rs.insert(rs.begin() + 1, At(30, 120));
    rs[2].gz = NAN;
    EXPECT_EQ(Periods(rs), "0-1");  // 3 alone is too short
    rs.push_back(At(30, 120));
    EXPECT_EQ(Periods(rs), "0-1, 3-4");

    // A travel sample close to the first sample of a stop, but not to the
    // rest of it, does not take the stop's start.
    std::vector<SurveyRecord> edge = {At(10, 90), At(20, 100)};
    edge.back().gx -= 0.0015f;
    for (int k = 0; k < 4; ++k) {
        edge.push_back(At(20, 100));
        edge.back().gx += 0.0015f * (k == 0 ? 0 : 1);
    }
    EXPECT_EQ(Periods(edge), "2-5");

    // A drift beyond the limit over a long stop splits it.
    std::vector<SurveyRecord> drift;
    for (int k = 0; k < 10; ++k) drift.push_back(At(30 + 0.03 * k, 120));
    StillLimits l;
    l.gravityMg = l.magneticNt = 1e6;
    EXPECT_EQ(Periods(drift, l), "0-6, 7-9");
    l.minSamples = 4;
    EXPECT_EQ(Periods(drift, l), "0-6");
}

TEST(StillPeriods, ProposalAndComparisonWithMarks) {
    std::vector<SurveyRecord> rs = {At(30, 120), At(30, 120), At(30, 120),
                                    At(35, 125), At(40, 130), At(40, 130)};
    rs[0].gx += 0.0008f, rs[2].gx -= 0.0008f;  // record 1 is nearest the mean
    StillProposal p = ProposeStillStations(rs, {});
    EXPECT_EQ(p.records, (std::vector<std::size_t>{1, 4}));
    EXPECT_EQ(StillProposalSummary(p), "静止段 2 个，建议测点 2 个");
    rs[1].syncMatched = rs[3].syncMatched = 1;
    p = ProposeStillStations(rs, {});
    EXPECT_EQ(StillProposalSummary(p),
              "静止段 2 个，建议测点 2 个；同步器匹配测点 2 个：1 个在静止段内（其中 1 个与建议测点相同），"
              "1 个测量时探管未静止；1 个静止段没有匹配测点");
    EXPECT_EQ(StillSelection(rs.size(), p.records), (std::vector<uint8_t>{0, 1, 0, 0, 1, 0}));

    std::vector<QcResult> qc;
    CheckStations(rs, QcSettings{}, qc);
    EXPECT_FALSE(qc[1].movingAtMark);
    EXPECT_TRUE(qc[3].movingAtMark);
    EXPECT_TRUE(qc[3].flagged());
    EXPECT_TRUE(qc[3].passed());  // a flag, not a failed check
    EXPECT_NE(QcTooltipText(qc[3], {}).find("测量时探管未静止"), std::string::npos);
    EXPECT_FALSE(qc[2].movingAtMark);  // not matched
}

TEST(StillPeriods, LimitsThatCannotBeUsed) {
    StillLimits l;
    EXPECT_EQ(StillLimitsProblem(l), "");
    l.azimuth = NAN;
    EXPECT_NE(StillLimitsProblem(l), "");
    l = {};
    l.gravityMg = -1;
    EXPECT_NE(StillLimitsProblem(l), "");
    l = {};
    l.minSamples = 1;
    EXPECT_NE(StillLimitsProblem(l), "");
    QcSettings s;
    s.still.minSamples = 0;
    EXPECT_EQ(QcSettingsProblem(s), StillLimitsProblem(s.still));
}

}  // namespace
}  // namespace orb
