// The report's optional trajectory page and the trajectory pictures: off by
// default, one more page at the end when asked for, the pictures inside
// their area, tolerance bands only where a reference is set, and long
// surveys reduced to what the page can show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "document/orb_doc.h"
#include "report/recording_canvas.h"
#include "report/report_layout.h"
#include "report/trajectory_page.h"
#include "report/trajectory_plot.h"

namespace orb {
namespace {

using test::RecordingCanvas;

constexpr CanvasColor kBandColour{200, 235, 200};

// A build from vertical to about 40° while turning, depths every 30 m,
// recorded from the bottom up (descending depth), every record a station.
SurveyRecord Station(int i, int count) {
    SurveyRecord r;
    r.selected = 1;
    r.depth = static_cast<float>(30 * (count - i));
    const int k = count - 1 - i;
    r.inclination = static_cast<float>(std::min(40.0, 0.5 * k));
    r.azimuth = static_cast<float>(std::fmod(120.0 + 0.05 * k, 360.0));
    r.totalGravity = k % 50 == 7 ? 1.01f : 1.0f;
    r.totalMagnetic = 0.52f;
    r.dip = 57.5f;
    r.temperature = 40.0f;
    return r;
}

struct Survey {
    COrbDoc doc;
    ReportInput in;

    explicit Survey(int count, PrintMode mode = PrintMode::MultiPoint) {
        doc.EditRecords([count](std::vector<SurveyRecord>& r) {
            for (int i = 0; i < count; ++i) r.push_back(Station(i, count));
        });
        in.doc = &doc;
        in.mode = mode;
        in.relativeTimeText = [](std::size_t) { return std::string("00:00:00"); };
        in.printTime = "2026-12-09 10:00:00";
    }
    RecordingCanvas Draw(int page) const {
        RecordingCanvas c(600);
        RenderReportPage(c, in, page);
        return c;
    }
};

bool HasTextStarting(const RecordingCanvas& c, const std::string& prefix) {
    return std::any_of(c.texts.begin(), c.texts.end(),
                       [&](const test::DrawnText& t) { return t.text.rfind(prefix, 0) == 0; });
}

std::size_t BandLines(const RecordingCanvas& c) {
    return std::count_if(c.lines.begin(), c.lines.end(),
                         [](const test::DrawnLine& l) { return l.color == kBandColour; });
}

// Every line end and text origin inside `a` (texts may run to the right).
void ExpectInside(const RecordingCanvas& c, const PlotArea& a) {
    for (const auto& l : c.lines) {
        for (auto [x, y] : {std::pair{l.x1, l.y1}, std::pair{l.x2, l.y2}}) {
            ASSERT_TRUE(x >= a.left && x <= a.right && y >= a.top && y <= a.bottom)
                << x << "," << y << " outside " << a.left << "," << a.top << "-" << a.right << ","
                << a.bottom;
        }
    }
    for (const auto& t : c.texts) {
        ASSERT_TRUE(t.x >= a.left && t.x < a.right && t.y >= a.top && t.y < a.bottom) << t.text;
    }
}

TEST(ReportTrajectoryPage, OffByDefaultAndOneMorePageAtTheEndWhenAsked) {
    Survey s(100);
    EXPECT_FALSE(s.in.trajectoryPage.has_value());
    EXPECT_EQ(ReportPageCount(s.in), 3);
    const RecordingCanvas lastTable = s.Draw(3);
    EXPECT_FALSE(s.Draw(3).Find("井眼轨迹"));

    s.in.trajectoryPage = TrajectoryPlotOptions{};
    EXPECT_EQ(ReportPageCount(s.in), 4);
    EXPECT_FALSE(IsTrajectoryPage(s.in, 3));
    EXPECT_TRUE(IsTrajectoryPage(s.in, 4));
    // The table pages keep their rows; only the page total in the foot grows.
    const RecordingCanvas table = s.Draw(3);
    ASSERT_EQ(table.texts.size(), lastTable.texts.size());
    for (std::size_t i = 0; i < table.texts.size(); ++i) {
        if (table.texts[i].text == "第3页/共3页") {
            EXPECT_EQ(lastTable.texts[i].text, "第3页/共3页");
            continue;
        }
        if (table.texts[i].text == "第3页/共4页") continue;
        EXPECT_EQ(table.texts[i].text, lastTable.texts[i].text);
    }
    EXPECT_TRUE(table.Find("第3页/共4页"));

    const RecordingCanvas page = s.Draw(4);
    EXPECT_TRUE(page.Find("井眼轨迹"));
    EXPECT_TRUE(page.Find("第4页/共4页"));
    EXPECT_TRUE(page.Find("电子单多点测斜记录"));
    EXPECT_TRUE(HasTextStarting(page, kAscendingDepthNote));
    for (const char* title :
         {"水平投影", "井斜", "方位", "狗腿度", "总加速度", "地磁场强度", "地磁倾角", "(°/30m)"})
        EXPECT_TRUE(page.Find(title)) << title;
    EXPECT_TRUE(HasTextStarting(page, "垂直剖面（方位 "));
    // No table row on the trajectory page.
    EXPECT_FALSE(page.Find("  99"));

    // Single-point mode: the sheet, then the trajectory.
    Survey single(5, PrintMode::SinglePoint);
    single.in.trajectoryPage = TrajectoryPlotOptions{};
    EXPECT_EQ(ReportPageCount(single.in), 2);
    EXPECT_TRUE(single.Draw(2).Find("井眼轨迹"));
    EXPECT_FALSE(single.Draw(1).Find("井眼轨迹"));
}

TEST(TrajectoryPlots, StayInsideTheirAreaAndShowBandsOnlyForSetReferences) {
    Survey s(60);
    TrajectoryPlotOptions options;  // gravity reference only
    TrajectoryPlotData data;
    MakeTrajectoryPlotData(s.doc.records(), options, data);
    ASSERT_EQ(data.trajectory.stations.size(), 60u);
    EXPECT_TRUE(data.trajectory.reordered);
    EXPECT_EQ(data.trajectory.stations.front().md, 30.0);
    EXPECT_EQ(data.failedRules[7], 1u << int(QcRule::kTotalGravity));
    EXPECT_EQ(data.failedRules[8], 0u);
    EXPECT_NEAR(data.fieldStrength[0], 0.52 * 52326, 0.01);

    const PlotArea area{300, 900, 4300, 6100};
    RecordingCanvas one(600);
    DrawTrajectoryPlots(one, area, data);
    ExpectInside(one, area);
    EXPECT_EQ(BandLines(one), 1u);
    // The failed station is marked in red.
    EXPECT_TRUE(std::any_of(one.lines.begin(), one.lines.end(), [](const test::DrawnLine& l) {
        return l.color == CanvasColor{215, 30, 30};
    }));

    options.qc.references = {1.0, 27210.0, 57.5};
    options.qc.tolerances.dip = 0;  // a zero-width band still shows its reference line
    MakeTrajectoryPlotData(s.doc.records(), options, data);
    RecordingCanvas three(600);
    DrawTrajectoryPlots(three, area, data);
    ExpectInside(three, area);
    EXPECT_EQ(BandLines(three), 2u);

    options.qc.references = {std::nullopt, std::nullopt, std::nullopt};
    MakeTrajectoryPlotData(s.doc.records(), options, data);
    RecordingCanvas none(600);
    DrawTrajectoryPlots(none, area, data);
    EXPECT_EQ(BandLines(none), 0u);
    EXPECT_EQ(data.failedRules[7], 0u);
}

TEST(TrajectoryPlots, SummaryUnitsAndAnEmptySelection) {
    Survey s(10);
    TrajectoryPlotOptions options;
    options.trajectory.dlsInterval = DlsInterval::kPer100Feet;
    options.trajectory.depthUnit = DepthUnit::kFeet;
    options.trajectory.vsAzimuth = 90;
    TrajectoryPlotData data;
    MakeTrajectoryPlotData(s.doc.records(), options, data);
    const std::string summary = TrajectorySummaryText(data);
    EXPECT_EQ(summary.rfind("按深度升序计算；测点 10（记录顺序与深度顺序不同）；闭合距 ", 0), 0u) << summary;
    EXPECT_NE(summary.find(" ft；"), std::string::npos);
    EXPECT_NE(summary.find("视平移方位 90.00°"), std::string::npos);
    EXPECT_EQ(summary.find("（闭合方位）"), std::string::npos);
    RecordingCanvas c(600);
    DrawTrajectoryPlots(c, {0, 0, 4000, 5000}, data);
    EXPECT_TRUE(c.Find("(°/100ft)"));
    EXPECT_TRUE(c.Find("(ft)"));

    s.doc.EditRecords([](std::vector<SurveyRecord>& r) {
        for (SurveyRecord& x : r) x.selected = 0;
    });
    MakeTrajectoryPlotData(s.doc.records(), options, data);
    RecordingCanvas empty(600);
    DrawTrajectoryPlots(empty, {0, 0, 4000, 5000}, data);
    EXPECT_TRUE(empty.Find(kNoStationsText));
    EXPECT_FALSE(empty.Find("水平投影"));
    EXPECT_EQ(TrajectorySummaryText(data), "按深度升序计算；测点 0");
}

TEST(TrajectoryPlots, ALongSurveyIsReducedToWhatTheAreaCanShow) {
    Survey s(10081);
    TrajectoryPlotData data;
    MakeTrajectoryPlotData(s.doc.records(), TrajectoryPlotOptions{}, data);
    ASSERT_EQ(data.trajectory.stations.size(), 10081u);
    const PlotArea area{0, 0, 1200, 800};  // a window-sized panel at 96 dpi
    RecordingCanvas c(96);
    DrawTrajectoryPlots(c, area, data);
    ExpectInside(c, area);
    // Six strips and two pictures of at most a few lines per pixel row or
    // pixel of path: far fewer lines than stations times pictures.
    EXPECT_LT(c.lines.size(), 12000u);
    EXPECT_GT(c.lines.size(), 200u);
}

}  // namespace
}  // namespace orb
