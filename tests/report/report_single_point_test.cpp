#include <gtest/gtest.h>

#include "document/orb_doc.h"
#include "report/recording_canvas.h"
#include "report/report_layout.h"

namespace orb {
namespace {

using test::RecordingCanvas;

constexpr int kL600 = 425;
constexpr double kT600 = 31.8 * 600 / 25.4;

struct Sheet {
    COrbDoc doc;
    ReportInput in;

    Sheet(int records, std::initializer_list<int> selected, int clickedRow) {
        for (int i = 0; i < records; ++i) {
            SurveyRecord r;
            r.depth = 1000.5f + static_cast<float>(i);
            r.inclination = 3.5f;
            r.azimuth = 359.96f;
            r.batteryVoltage = 3.25f;
            doc.AppendRecord(r);
        }
        doc.EditRecords([&](auto& recs) {
            for (int i : selected) recs[i].selected = 1;
        });
        in.doc = &doc;
        in.mode = PrintMode::SinglePoint;
        in.lastClickedRow = clickedRow;
        in.relativeTimeText = [](std::size_t i) { return "T" + std::to_string(i); };
        in.printTime = "2024-05-07 14:03:09";
    }
    RecordingCanvas Draw() const {
        RecordingCanvas c(600);
        RenderReportPage(c, in, 1);
        return c;
    }
};

std::size_t CountFace(const RecordingCanvas& c, const char* face, int size) {
    std::size_t n = 0;
    for (const auto& t : c.texts) n += (t.face == face && t.tenthsOfPoint == size);
    return n;
}

TEST(ReportSinglePoint, LabelsWithShiftsAndSteppedLines) {
    Sheet s(4, {}, -1);
    const auto c = s.Draw();
    struct Want {
        const char* text;
        int shift;
    };
    const Want labels[] = {{"序 号:", 0},    {"时 间:", 0}, {"测 深:", 0}, {"井 斜:", 0},
                           {"磁方位:", -62}, {"GTF:", 135}, {"MTF:", 135}, {"DIP:", 135},
                           {"GT:", 200},     {"MT:", 200},  {"温 度:", 0}, {"电池电压:", -200}};
    // T + 330 + 150, then 10 mm (236.2 units) added and truncated line by line.
    int offset = 150;
    for (const Want& w : labels) {
        const auto* t = c.Find(w.text);
        ASSERT_NE(t, nullptr) << w.text;
        EXPECT_EQ(t->x, kL600 + 1000 + w.shift) << w.text;
        EXPECT_EQ(t->y, static_cast<int>(kT600 + 330 + offset)) << w.text;
        EXPECT_EQ(t->face, kReportKaiFace);
        EXPECT_EQ(t->tenthsOfPoint, 160);
        offset = static_cast<int>(offset + 10 * 600 / 25.4);
    }
    EXPECT_EQ(c.Find("GTF:")->y, 2411);  // 1330 below the rule, not trunc(150 + 5 * 236.2) = 1331
    EXPECT_EQ(CountFace(c, kReportTimesFace, 160), 0u);
    EXPECT_EQ(c.Find("序号"), nullptr);  // no multi-point headers
}

TEST(ReportSinglePoint, ValuesOfTheOneSelectedRecord) {
    // The table may be reversed: the record printed is the selected one, not
    // the record at the clicked row's position.
    Sheet s(6, {4}, 0);
    s.in.reverseOrder = true;
    EXPECT_TRUE(SinglePointShowsValues(s.in));
    const auto c = s.Draw();
    std::vector<std::pair<int, std::string>> values;
    for (const auto& t : c.texts) {
        if (t.face != kReportTimesFace) continue;
        EXPECT_EQ(t.x, kL600 + 1600);
        EXPECT_EQ(t.tenthsOfPoint, 160);
        values.emplace_back(t.y, t.text);
    }
    ASSERT_EQ(values.size(), 12u);
    EXPECT_EQ(values[0], (std::pair<int, std::string>{1216, "   4"}));  // T + 330 + 135
    EXPECT_EQ(values[1], (std::pair<int, std::string>{1452, "T4"}));
    EXPECT_EQ(values[2].second, "1004.50");
    EXPECT_EQ(values[3].second, "3.50");
    EXPECT_EQ(values[4].second, "360.0");
    EXPECT_EQ(values[11].second, "3.2");  // 3.25f is exactly 3.25: round half to even
    EXPECT_EQ(values[11].first - values[10].first, 236);
}

TEST(ReportSinglePoint, NoValuesUnlessExactlyOneSelectedAndARowClicked) {
    Sheet none(4, {}, 2), notClicked(4, {1}, -1), two(4, {1, 2}, 0);
    for (const Sheet* s : {&none, &notClicked, &two}) {
        EXPECT_FALSE(SinglePointShowsValues(s->in));
        const auto c = s->Draw();
        EXPECT_EQ(CountFace(c, kReportTimesFace, 160), 0u);
        EXPECT_EQ(CountFace(c, kReportKaiFace, 160), 13u);  // title and 12 labels
        EXPECT_NE(c.Find("第1页/共1页"), nullptr);
    }
    EXPECT_FALSE(SinglePointSelectionAmbiguous(notClicked.doc));
    EXPECT_TRUE(SinglePointSelectionAmbiguous(two.doc));
    // Any clicked row will do, even one that no longer exists after a refill.
    Sheet stale(4, {3}, 17);
    EXPECT_TRUE(SinglePointShowsValues(stale.in));
}

}  // namespace
}  // namespace orb
