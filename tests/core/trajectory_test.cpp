#include "core/trajectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/trajectory_csv.h"

namespace orb {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

SurveyRecord Station(float depth, float inclination, float azimuth, int selected = 1) {
    SurveyRecord r;
    r.selected = selected;
    r.depth = depth;
    r.inclination = inclination;
    r.azimuth = azimuth;
    return r;
}

void ExpectAllFinite(const Trajectory& t) {
    for (const TrajectoryStation& s : t.stations) {
        for (double v : {s.md, s.inclination, s.trueAzimuth, s.tvd, s.north, s.east, s.verticalSection,
                         s.dogleg, s.dls}) {
            EXPECT_TRUE(std::isfinite(v)) << "station of record " << s.recordIndex;
        }
    }
    EXPECT_TRUE(std::isfinite(t.closureDistance));
    EXPECT_TRUE(std::isfinite(t.closureAzimuth));
    EXPECT_TRUE(std::isfinite(t.vsAzimuth));
}

TEST(MinimumCurvature, PublishedWorkedExample) {
    // MD 3500 ft, 15°, 20° to MD 3600 ft, 25°, 45°.
    const CurvatureStep step = MinimumCurvatureStep({15, 20}, {25, 45}, 100);
    EXPECT_NEAR(step.north, 27.22, 0.005);
    EXPECT_NEAR(step.east, 19.45, 0.005);
    EXPECT_NEAR(step.tvd, 94.01, 0.005);
    EXPECT_NEAR(step.dogleg, 12.95, 0.005);
    EXPECT_FALSE(step.oppositeDirections);

    // The same step through the trajectory, tied on at the first survey.
    TrajectorySettings settings;
    settings.depthUnit = DepthUnit::kFeet;
    settings.dlsInterval = DlsInterval::kPer100Feet;
    settings.tieOn = {3500, 3000, 100, 50, {15, 20}};
    const std::vector<StationInput> in{{7, 3600, {25, 45}}};
    Trajectory t;
    ComputeTrajectory(std::span<const StationInput>(in), settings, t);
    ASSERT_EQ(t.stations.size(), 1u);
    const TrajectoryStation& s = t.stations[0];
    EXPECT_EQ(s.recordIndex, 7u);
    EXPECT_NEAR(s.north - 100, 27.22, 0.005);
    EXPECT_NEAR(s.east - 50, 19.45, 0.005);
    EXPECT_NEAR(s.tvd - 3000, 94.01, 0.005);
    EXPECT_NEAR(s.dls, 12.95, 0.005);  // per 100 ft over a 100 ft course
}

// A circular arc is what minimum curvature assumes, so it must come out
// exact however finely it is surveyed.
TEST(MinimumCurvature, ConstantCurvatureArcIsExact) {
    const double r = 572.9577951308232;  // 3 degrees per 30 m
    for (int steps : {1, 2, 9, 90}) {
        std::vector<StationInput> in;
        for (int k = 0; k <= steps; ++k) {
            in.push_back({std::size_t(k), r * kPi / 2 * k / steps, {90.0 * k / steps, 30.0}});
        }
        Trajectory t;
        ComputeTrajectory(std::span<const StationInput>(in), {}, t);
        const TrajectoryStation& end = t.stations.back();
        EXPECT_NEAR(end.tvd / r, 1.0, 1e-9) << steps;
        EXPECT_NEAR(std::hypot(end.north, end.east) / r, 1.0, 1e-9) << steps;
        EXPECT_NEAR(end.north / (r * std::cos(kPi / 6)), 1.0, 1e-9);
        EXPECT_NEAR(t.closureAzimuth, 30.0, 1e-9);
        EXPECT_NEAR(end.verticalSection / r, 1.0, 1e-9);  // along the closure azimuth
        EXPECT_NEAR(end.dls, 3.0, 1e-9);
    }
    // A horizontal quarter turn from north to east: N = E = R, level.
    TrajectorySettings settings;
    settings.tieOn.direction = {90, 0};
    const std::vector<StationInput> turn{{0, r * kPi / 2, {90, 90}}};
    Trajectory t;
    ComputeTrajectory(std::span<const StationInput>(turn), settings, t);
    EXPECT_NEAR(t.stations[0].north / r, 1.0, 1e-9);
    EXPECT_NEAR(t.stations[0].east / r, 1.0, 1e-9);
    EXPECT_NEAR(t.stations[0].tvd, 0.0, 1e-9 * r);
}

TEST(MinimumCurvature, AzimuthsAcrossNorth) {
    // 359° to 1° is a 2° turn, not 358°.
    const CurvatureStep across = MinimumCurvatureStep({10, 359}, {10, 1}, 30);
    const CurvatureStep rotated = MinimumCurvatureStep({10, 1}, {10, 3}, 30);
    EXPECT_NEAR(across.dogleg, rotated.dogleg, 1e-12);
    EXPECT_LT(across.dogleg, 0.35);
    EXPECT_GT(across.north, 5.0);
    EXPECT_NEAR(across.east, 0.0, 1e-12);

    // Magnetic 358 + declination 3 is true 1; 350 - 15 is 335.
    std::vector<SurveyRecord> records{Station(100, 5, 358), Station(200, 5, 2)};
    TrajectorySettings settings;
    settings.declination = 3;
    const Trajectory t = ComputeTrajectory(records, settings);
    EXPECT_NEAR(t.stations[0].trueAzimuth, 1.0, 1e-6);
    EXPECT_NEAR(t.stations[1].trueAzimuth, 5.0, 1e-6);
    settings.declination = -15;
    records = {Station(100, 5, 350)};
    EXPECT_NEAR(ComputeTrajectory(records, settings).stations[0].trueAzimuth, 335.0, 1e-4);
}

TEST(MinimumCurvature, VerticalStationsWhateverTheirAzimuth) {
    const std::vector<SurveyRecord> records{Station(0, 0, 0), Station(50, 0, 123), Station(120, 0, 271.5)};
    const Trajectory t = ComputeTrajectory(records, {});
    ASSERT_EQ(t.stations.size(), 3u);
    for (const TrajectoryStation& s : t.stations) {
        EXPECT_EQ(s.tvd, s.md);
        EXPECT_EQ(s.north, 0.0);
        EXPECT_EQ(s.east, 0.0);
        EXPECT_EQ(s.dogleg, 0.0);
        EXPECT_EQ(s.dls, 0.0);
    }
    EXPECT_EQ(t.closureDistance, 0.0);
    EXPECT_EQ(t.closureAzimuth, 0.0);
    EXPECT_EQ(t.vsAzimuth, 0.0);
    // Depth 0, at the tie-on point and in its direction: nothing to note.
    EXPECT_EQ(t.stations[0].notes, kStationNoteNone);
    EXPECT_TRUE(t.stations[0].dlsDefined());
}

TEST(MinimumCurvature, SingleStationFromTheSurface) {
    const std::vector<SurveyRecord> records{Station(100, 10, 45)};
    const Trajectory t = ComputeTrajectory(records, {});
    ASSERT_EQ(t.stations.size(), 1u);
    const TrajectoryStation& s = t.stations[0];
    EXPECT_NEAR(s.dogleg, 10.0, 1e-12);
    EXPECT_NEAR(s.dls, 3.0, 1e-12);
    // An arc of 10° over 100: R = 100 / (10°), TVD = R sin 10°, horizontal R (1 - cos 10°).
    const double r = 100 / (10 * kPi / 180);
    EXPECT_NEAR(s.tvd, r * std::sin(10 * kPi / 180), 1e-9);
    EXPECT_NEAR(t.closureDistance, r * (1 - std::cos(10 * kPi / 180)), 1e-9);
    EXPECT_NEAR(t.closureAzimuth, 45.0, 1e-9);
    EXPECT_NEAR(s.verticalSection, t.closureDistance, 1e-12);
    EXPECT_TRUE(ComputeTrajectory(std::span<const SurveyRecord>(), {}).stations.empty());
}

TEST(MinimumCurvature, TinyDoglegsKeepTheirPrecision) {
    EXPECT_EQ(RatioFactor(0.0), 1.0);
    // The series and the closed form agree where they meet.
    EXPECT_NEAR(RatioFactor(0.999999e-3) / (2 / 1e-3 * std::tan(0.5e-3)), 1.0, 1e-12);
    // A turn of 1e-7° in azimuth at 10° inclination: acos(cos) would give 0.
    const double expected = 1e-7 * std::sin(10 * kPi / 180) * kPi / 180;
    EXPECT_NEAR(DoglegRadians({10, 20}, {10, 20 + 1e-7}) / expected, 1.0, 1e-6);
    const CurvatureStep straight = MinimumCurvatureStep({30, 60}, {30, 60}, 10);
    EXPECT_NEAR(straight.tvd, 10 * std::cos(kPi / 6), 1e-12);
    EXPECT_EQ(straight.dogleg, 0.0);
}

TEST(MinimumCurvature, EqualDepthsKeepThePositionAndLeaveDlsUndefined) {
    const std::vector<SurveyRecord> records{Station(100, 10, 0), Station(100, 20, 0), Station(130, 20, 0)};
    const Trajectory t = ComputeTrajectory(records, {});
    ExpectAllFinite(t);
    ASSERT_EQ(t.stations.size(), 3u);
    EXPECT_EQ(t.stations[1].tvd, t.stations[0].tvd);
    EXPECT_EQ(t.stations[1].north, t.stations[0].north);
    EXPECT_NEAR(t.stations[1].dogleg, 10.0, 1e-12);
    EXPECT_FALSE(t.stations[1].dlsDefined());
    EXPECT_EQ(t.stations[1].dls, 0.0);
    EXPECT_TRUE(t.stations[2].dlsDefined());
    const std::string csv = TrajectoryCsv(t);
    const std::size_t line = csv.find("\n100.00,20.00,0.00,");
    ASSERT_NE(line, std::string::npos);
    EXPECT_EQ(csv.substr(csv.find('\n', line + 1) - 8, 8), ",10.000,");  // the DLS cell is empty
    EXPECT_NE(TrajectoryNotes(t, {}).find("1 个测点与上一点测深相同而方向不同"), std::string::npos);
}

TEST(MinimumCurvature, OppositeDirectionsTakeAHalfCircle) {
    const double l = 50;
    // Straight down to straight up: a U-turn towards the first azimuth.
    CurvatureStep s = MinimumCurvatureStep({0, 90}, {180, 90}, l);
    EXPECT_TRUE(s.oppositeDirections);
    EXPECT_EQ(s.dogleg, 180.0);
    EXPECT_NEAR(s.north, 0.0, 1e-12);
    EXPECT_NEAR(s.east, 2 * l / kPi, 1e-12);
    EXPECT_NEAR(s.tvd, 0.0, 1e-12);
    // Horizontal north to horizontal south: towards the high side, i.e. up.
    s = MinimumCurvatureStep({90, 0}, {90, 180}, l);
    EXPECT_TRUE(s.oppositeDirections);
    EXPECT_NEAR(s.tvd, -2 * l / kPi, 1e-12);
    // Just short of opposite the ordinary formula gives the chord of the
    // arc, 2 L sin(b/2) / b, precisely.
    const double b = kPi - 1e-5 * kPi / 180;
    s = MinimumCurvatureStep({0, 0}, {180 - 1e-5, 0}, l);
    EXPECT_FALSE(s.oppositeDirections);
    EXPECT_NEAR(std::hypot(s.north, s.tvd) / (2 * l * std::sin(b / 2) / b), 1.0, 1e-9);
    EXPECT_NEAR(s.dogleg, 180 - 1e-5, 1e-12);

    const std::vector<SurveyRecord> records{Station(100, 90, 0), Station(150, 90, 180)};
    TrajectorySettings settings;
    settings.tieOn.direction = {90, 0};
    const Trajectory t = ComputeTrajectory(records, settings);
    ExpectAllFinite(t);
    EXPECT_NE(t.stations[1].notes & kOppositeDirection, 0);
}

TEST(Trajectory, SelectedStationsInAscendingDepthStably) {
    std::vector<SurveyRecord> records{Station(100, 1, 0), Station(50, 2, 0),    Station(150, 3, 0),
                                      Station(50, 4, 0),  Station(10, 5, 0, 0), Station(20, 6, 0, 2)};
    Trajectory t = ComputeTrajectory(records, {});
    ASSERT_EQ(t.stations.size(), 4u);
    EXPECT_TRUE(t.reordered);
    const std::size_t order[] = {1, 3, 0, 2};
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(t.stations[i].recordIndex, order[i]);
    EXPECT_NE(TrajectoryNotes(t, {}).find("与记录顺序不同"), std::string::npos);

    TrajectorySettings all;
    all.selectedOnly = false;
    ComputeTrajectory(records, all, t);  // reuses `t`
    EXPECT_EQ(t.stations.size(), 6u);
    EXPECT_EQ(t.stations[0].recordIndex, 4u);

    ComputeTrajectory(std::span<const SurveyRecord>(records).first(1), {}, t);
    EXPECT_FALSE(t.reordered);
}

TEST(Trajectory, RecordsWithoutFiniteValuesAreLeftOutNotPropagated) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<SurveyRecord> records{Station(100, 5, 10), Station(nan, 5, 10), Station(200, nan, 10),
                                            Station(300, 5, inf), Station(400, 6, 12)};
    TrajectorySettings settings;
    settings.declination = kNaN;  // treated as 0
    settings.vsAzimuth = kNaN;    // treated as unset
    settings.tieOn.tvd = kNaN;
    const Trajectory t = ComputeTrajectory(records, settings);
    ExpectAllFinite(t);
    EXPECT_EQ(t.stations.size(), 2u);
    EXPECT_EQ(t.skipped, (std::vector<std::size_t>{1, 2, 3}));
    EXPECT_TRUE(t.vsAzimuthIsClosure);
    EXPECT_NE(TrajectoryNotes(t, settings).find("跳过 3 个"), std::string::npos);
}

TEST(Trajectory, VerticalSectionAndSeverityUnits) {
    const std::vector<SurveyRecord> records{Station(100, 30, 45), Station(200, 40, 60)};
    TrajectorySettings settings;
    settings.vsAzimuth = 450;  // 90: the section is the east coordinate
    Trajectory t = ComputeTrajectory(records, settings);
    EXPECT_EQ(t.vsAzimuth, 90.0);
    EXPECT_FALSE(t.vsAzimuthIsClosure);
    EXPECT_NEAR(t.stations[1].verticalSection, t.stations[1].east, 1e-9);

    const double perThirtyMetres = t.stations[1].dls;
    settings.dlsInterval = DlsInterval::kPer100Feet;
    t = ComputeTrajectory(records, settings);
    EXPECT_NEAR(t.stations[1].dls, perThirtyMetres * 30.48 / 30, 1e-12);
    EXPECT_NEAR(DlsCourseLength(DlsInterval::kPer30Metres, DepthUnit::kFeet), 98.4251968503937, 1e-12);
}

TEST(Trajectory, CsvListing) {
    const std::vector<SurveyRecord> records{Station(0, 0, 0), Station(30, 3, 90)};
    const std::string csv = TrajectoryCsv(ComputeTrajectory(records, {}));
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "MD,Inc,TrueAzi,TVD,N,E,VS,Dogleg,DLS");
    EXPECT_NE(csv.find("\n0.00,0.00,0.00,0.000,0.000,0.000,0.000,0.000,0.000\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\n30.00,3.00,90.00,29.986,0.000,0.785,0.785,3.000,3.000\n"), std::string::npos)
        << csv;
    EXPECT_EQ(csv.find("-0.000"), std::string::npos);
}

}  // namespace
}  // namespace orb
