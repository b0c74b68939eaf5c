#include "report/report_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>

#include "core/fixed_text.h"
#include "document/orb_doc.h"
#include "report/recording_canvas.h"

namespace orb {
namespace {

using test::RecordingCanvas;

// Device positions on a 600 dpi page: L = 425.19, R = 4360.6, T = 751.18, B = 6264.6.
constexpr int kL600 = 425, kR600 = 4360, kT600 = 751, kB600 = 6264;
// The same frame at 300 dpi: offsets in device units do not scale.
constexpr int kL300 = 212, kR300 = 2180, kT300 = 375, kB300 = 3132;

SurveyRecord Rec(int i, int selected = 1) {
    SurveyRecord r;
    r.selected = selected;
    r.depth = 100.0f + static_cast<float>(i);
    r.inclination = 1.25f + static_cast<float>(i);
    r.azimuth = 359.96f;
    r.gravityToolFace = 12.34f;
    r.magneticToolFace = 45.6f;
    r.dip = 55.55f;
    r.totalGravity = 1.00004f;
    r.totalMagnetic = 0.98766f;
    r.temperature = 23.45f;
    r.batteryVoltage = 3.6f;
    return r;
}

struct Report {
    COrbDoc doc;
    ReportInput in;

    explicit Report(int records, int selectedFlag = 1) {
        for (int i = 0; i < records; ++i) doc.AppendRecord(Rec(i, selectedFlag));
        doc.SetTeamNumber(u"长庆40501队");
        doc.SetProbeNumber(u"P-0817");
        doc.SetWellNumber(u"庄58-12井");
        in.doc = &doc;
        in.relativeTimeText = [](std::size_t i) { return "T" + std::to_string(i); };
        in.printTime = "2024-05-07 14:03:09";
    }
    RecordingCanvas Draw(int page, double dpi = 600) const {
        RecordingCanvas c(dpi);
        RenderReportPage(c, in, page);
        return c;
    }
};

// First-column texts of the rows, top to bottom.
std::vector<std::string> OrdinalColumn(const RecordingCanvas& c, int left) {
    std::vector<std::string> out;
    for (const auto& t : c.texts) {
        if (t.x == left && t.face == kReportTimesFace) out.push_back(t.text);
    }
    return out;
}

TEST(ReportGeometry, FrameFromDotsPerMillimetre) {
    const auto g600 = ComputePageGeometry(600, 600);
    EXPECT_NEAR(g600.X, 23.6220, 1e-4);
    EXPECT_EQ(static_cast<int>(g600.L), kL600);
    EXPECT_EQ(static_cast<int>(g600.R), kR600);
    EXPECT_EQ(static_cast<int>(g600.T), kT600);
    EXPECT_EQ(static_cast<int>(g600.B), kB600);
    const auto g300 = ComputePageGeometry(300, 300);
    EXPECT_EQ(static_cast<int>(g300.L), kL300);
    EXPECT_EQ(static_cast<int>(g300.R), kR300);
    EXPECT_EQ(static_cast<int>(g300.T), kT300);
    EXPECT_EQ(static_cast<int>(g300.B), kB300);
    // Horizontal and vertical resolutions are used separately.
    const auto g = ComputePageGeometry(600, 300);
    EXPECT_EQ(static_cast<int>(g.L), kL600);
    EXPECT_EQ(static_cast<int>(g.T), kT300);
}

TEST(ReportGeometry, ColumnOffsetsTruncateAfterEachStep) {
    const double x600 = 600 / 25.4;
    EXPECT_EQ(HeaderColumnOffsets(x600),
              (std::vector<int>{0, 307, 661, 991, 1274, 1675, 2029, 2359, 2713, 3138, 3421, 3728}));
    EXPECT_EQ(ValueColumnOffsets(x600),
              (std::vector<int>{0, 242, 643, 997, 1327, 1657, 2011, 2341, 2648, 3073, 3450, 3780}));
    const double x300 = 300 / 25.4;
    // 13 mm = 153.5, then 153 + 177.2 = 330.2: truncation after each addition.
    EXPECT_EQ(HeaderColumnOffsets(x300)[1], 153);
    EXPECT_EQ(HeaderColumnOffsets(x300)[2], 330);
    EXPECT_EQ(ValueColumnOffsets(x300)[1], 136);  // 106.3 + 30
}

TEST(ReportFrame, RulesTitleTimeBannerAndFooterAt600Dpi) {
    Report r(3);
    const auto c = r.Draw(1);
    ASSERT_GE(c.lines.size(), 7u);
    const auto& top = c.lines[0];
    EXPECT_EQ((std::array{top.x1, top.y1, top.x2, top.y2}), (std::array{kL600, kT600, kR600, kT600}));
    EXPECT_EQ(top.style, CanvasPenStyle::Solid);
    const auto& bottom = c.lines[1];
    EXPECT_EQ((std::array{bottom.x1, bottom.y1, bottom.x2, bottom.y2}),
              (std::array{kL600, kB600, kR600, kB600}));

    const auto* title = c.Find("电子单多点测斜记录");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x, kL600);
    EXPECT_EQ(title->y, 591);  // T - 160
    EXPECT_EQ(title->face, kReportKaiFace);
    EXPECT_EQ(title->tenthsOfPoint, 160);

    const auto* when = c.Find("打印时间:2024-05-07 14:03:09");
    ASSERT_NE(when, nullptr);
    EXPECT_EQ(when->x, 3160);  // R - 1200
    EXPECT_EQ(when->y, 651);
    EXPECT_EQ(when->tenthsOfPoint, 100);

    ASSERT_EQ(c.bitmaps.size(), 1u);
    EXPECT_EQ(c.bitmaps[0].x, kL600);
    EXPECT_EQ(c.bitmaps[0].y, 6294);  // B + 30
    EXPECT_EQ(c.bitmaps[0].id, kBannerBitmapId);

    const auto* foot = c.Find("第1页/共1页");
    ASSERT_NE(foot, nullptr);
    EXPECT_EQ(foot->x, 3810);  // R - 550
    EXPECT_EQ(foot->y, 6304);  // B + 40
    EXPECT_EQ(foot->face, kReportFangSongFace);
    EXPECT_EQ(foot->tenthsOfPoint, 100);
}

TEST(ReportFrame, HeaderBoxWithWellInformation) {
    Report r(3);
    r.in.mode = PrintMode::SinglePoint;
    const auto c = r.Draw(1);
    // Four dash-dot lines of the box, then the solid rule below it.
    ASSERT_EQ(c.lines.size(), 7u);
    for (int i = 2; i < 6; ++i) {
        EXPECT_EQ(c.lines[i].style, CanvasPenStyle::DashDot);
        EXPECT_EQ(c.lines[i].width, 1);
        EXPECT_EQ(c.lines[i].color, (CanvasColor{80, 80, 80}));
        for (int y : {c.lines[i].y1, c.lines[i].y2}) EXPECT_TRUE(y == 781 || y == 1051) << y;
        for (int x : {c.lines[i].x1, c.lines[i].x2}) EXPECT_TRUE(x == kL600 || x == kR600) << x;
    }
    const auto& rule = c.lines[6];
    EXPECT_EQ(rule.style, CanvasPenStyle::Solid);
    EXPECT_EQ(rule.color, (CanvasColor{0, 0, 0}));
    EXPECT_EQ((std::array{rule.x1, rule.y1, rule.x2, rule.y2}), (std::array{kL600, 1081, kR600, 1081}));

    struct Want {
        const char* text;
        int x, y;
    };
    for (const Want& w :
         {Want{"井队编号：", 625, 811}, Want{"长庆40501队", 1125, 811}, Want{"探管编号：", 2225, 811},
          Want{"P-0817", 2725, 811}, Want{"井    号：", 625, 931}, Want{"庄58-12井", 1125, 931},
          Want{"打印方式：", 2225, 931}, Want{"单点", 2725, 931}}) {
        const auto* t = c.Find(w.text);
        ASSERT_NE(t, nullptr) << w.text;
        EXPECT_EQ(t->x, w.x) << w.text;
        EXPECT_EQ(t->y, w.y) << w.text;
        EXPECT_EQ(t->face, kReportFangSongFace) << w.text;
        EXPECT_EQ(t->tenthsOfPoint, 120) << w.text;
    }
    r.in.mode = PrintMode::MultiPoint;
    EXPECT_NE(r.Draw(1).Find("多点"), nullptr);
}

TEST(ReportFrame, OffsetsInDeviceUnitsDoNotScaleAt300Dpi) {
    Report r(43);
    const auto c = r.Draw(1, 300);
    EXPECT_EQ(c.Find("电子单多点测斜记录")->y, kT300 - 160);
    EXPECT_EQ(c.Find("第1页/共2页")->x, kR300 - 550);
    EXPECT_EQ(c.bitmaps[0].y, kB300 + 30);
    EXPECT_EQ(c.Find("井队编号：")->x, kL300 + 200);
    EXPECT_EQ(c.Find("序号")->y, static_cast<int>(ComputePageGeometry(300, 300).T + 360));
    // Row r at T + 480 + 120 r, whatever the resolution.
    const auto ords = OrdinalColumn(c, kL300);
    ASSERT_EQ(ords.size(), 42u);
    EXPECT_EQ(c.Find("   0")->y, 855);
    EXPECT_EQ(c.Find("  41")->y, 855 + 41 * 120);
    EXPECT_EQ(c.Find("T1")->x, kL300 + 136);
}

TEST(ReportMultiPoint, HeadersAndRowPositions) {
    Report r(42);
    const auto c = r.Draw(1);
    const auto headers = c.AtY(1111);  // T + 360
    std::vector<std::string> names;
    std::vector<int> xs;
    for (const auto& t : headers) {
        names.push_back(t.text);
        xs.push_back(t.x - kL600);
        EXPECT_EQ(t.face, kReportKaiFace);
        EXPECT_EQ(t.tenthsOfPoint, 120);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"序号", "时间", "测深", "井斜", "磁方位", "GTF", "MTF", "DIP",
                                               "GT", "MT", "温度", "电压"}));
    EXPECT_EQ(xs, HeaderColumnOffsets(600 / 25.4));

    for (int row : {0, 1, 41}) {
        const auto cells = c.AtY(1231 + 120 * row);  // T + 480 + 120 r
        ASSERT_EQ(cells.size(), 12u) << row;
        EXPECT_EQ(cells[0].text, IntegerText(row, 4));
        EXPECT_EQ(cells[1].text, "T" + std::to_string(row));
        std::vector<int> cx;
        for (const auto& t : cells) {
            cx.push_back(t.x - kL600);
            EXPECT_EQ(t.face, kReportTimesFace);
            EXPECT_EQ(t.tenthsOfPoint, 100);
        }
        EXPECT_EQ(cx, ValueColumnOffsets(600 / 25.4));
    }
    // The last row ends about 5 mm above the bottom rule.
    EXPECT_NEAR((kB600 - (1231 + 120 * 41)) / (600 / 25.4), 5.0, 0.3);
}

TEST(ReportMultiPoint, ValueFormats) {
    Report r(1);
    const auto cells = r.Draw(1).AtY(1231);
    ASSERT_EQ(cells.size(), 12u);
    std::vector<std::string> texts;
    for (const auto& t : cells) texts.push_back(t.text);
    // The azimuth is printed as formatted: no "360.0" replacement.
    EXPECT_EQ(texts, (std::vector<std::string>{"   0", "T0", "100.00", "1.25", "360.0", "12.3", "45.6",
                                               "55.5", "1.0000", "0.9877", "23.5", "3.6"}));
}

TEST(ReportMultiPoint, NumberTextsIgnoreTheProcessLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 not installed";
    EXPECT_EQ(PrintfFixed(12.5, 2, 6), " 12.50");
    EXPECT_EQ(PrintfFixed(-0.04, 1), "-0.0");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ReportMultiPoint, PageCountsAndSecondPage) {
    Report r42(42), r43(43), r0(0), r126(126);
    EXPECT_EQ(ReportPageCount(r42.in), 1);
    EXPECT_EQ(ReportPageCount(r43.in), 2);
    EXPECT_EQ(ReportPageCount(r126.in), 3);
    const auto page2 = r43.Draw(2);
    EXPECT_EQ(OrdinalColumn(page2, kL600), (std::vector<std::string>{"  42"}));
    EXPECT_EQ(page2.Find("  42")->y, 1231);
    EXPECT_NE(page2.Find("第2页/共2页"), nullptr);
    EXPECT_NE(r126.Draw(3).Find("第3页/共3页"), nullptr);
    // Single-point mode always prints one page.
    r126.in.mode = PrintMode::SinglePoint;
    EXPECT_EQ(ReportPageCount(r126.in), 1);
}

TEST(ReportMultiPoint, NoPrintableRecordStillPrintsFrameAndHeaders) {
    Report r(5, 0);
    r.in.showAll = false;
    EXPECT_EQ(ReportPageCount(r.in), 1);
    const auto c = r.Draw(1);
    EXPECT_NE(c.Find("第1页/共1页"), nullptr);
    EXPECT_EQ(c.AtY(1111).size(), 12u);
    EXPECT_TRUE(OrdinalColumn(c, kL600).empty());
    EXPECT_EQ(c.lines.size(), 7u);
}

TEST(ReportMultiPoint, ReverseOrderOverFiftyRecords) {
    Report r(50);
    r.in.reverseOrder = true;
    std::vector<std::string> p1, p2;
    for (int k = 49; k >= 8; --k) p1.push_back(IntegerText(k, 4));
    for (int k = 7; k >= 0; --k) p2.push_back(IntegerText(k, 4));
    EXPECT_EQ(OrdinalColumn(r.Draw(1), kL600), p1);
    const auto c2 = r.Draw(2);
    EXPECT_EQ(OrdinalColumn(c2, kL600), p2);
    EXPECT_EQ(c2.AtY(1231)[1].text, "T7");
    EXPECT_EQ(c2.AtY(1231 + 7 * 120)[1].text, "T0");
    EXPECT_TRUE(OrdinalColumn(r.Draw(3), kL600).empty());
}

TEST(ReportMultiPoint, SelectedOnlyCountsOrdinalsButKeepsOwnTimes) {
    Report r(12, 0);
    r.doc.EditRecords([](auto& recs) {
        for (int i : {3, 10, 11}) recs[i].selected = 1;
        recs[5].selected = 2;  // only the value 1 counts as selected
    });
    r.in.showAll = false;
    const auto c = r.Draw(1);
    EXPECT_EQ(OrdinalColumn(c, kL600), (std::vector<std::string>{"   0", "   1", "   2"}));
    EXPECT_EQ(c.AtY(1231)[1].text, "T3");
    EXPECT_EQ(c.AtY(1351)[1].text, "T10");
    EXPECT_EQ(c.AtY(1471)[1].text, "T11");
    EXPECT_EQ(c.AtY(1471)[2].text, "111.00");  // record 11's own depth
    r.in.reverseOrder = true;
    const auto rev = r.Draw(1);
    EXPECT_EQ(OrdinalColumn(rev, kL600), (std::vector<std::string>{"   2", "   1", "   0"}));
    EXPECT_EQ(rev.AtY(1231)[1].text, "T11");
}

TEST(ReportSequence, PrintableSequenceAndPageOrdinals) {
    std::vector<SurveyRecord> recs(6);
    recs[1].selected = 1;
    recs[4].selected = 1;
    recs[5].selected = -1;
    EXPECT_EQ(PrintableSequence(recs, true).size(), 6u);
    EXPECT_EQ(PrintableSequence(recs, false), (std::vector<std::size_t>{1, 4}));
    EXPECT_TRUE(PageOrdinals(0, 1, false).empty());
    EXPECT_TRUE(PageOrdinals(10, 0, false).empty());
    EXPECT_TRUE(PageOrdinals(10, 2, true).empty());
    EXPECT_EQ(PageOrdinals(3, 1, true), (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(PageOrdinals(85, 3, false), (std::vector<std::size_t>{84}));
}

}  // namespace
}  // namespace orb
