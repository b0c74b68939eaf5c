#include "report/report_pages.h"

#include <array>

#include "core/angles.h"
#include "core/fixed_text.h"
#include "document/orb_doc.h"
#include "view/survey_columns.h"

namespace orb {

namespace {

int Px(double v) {
    return static_cast<int>(v);
}

constexpr std::array<const char*, 12> kHeaders = {"序号", "时间", "测深", "井斜", "磁方位", "GTF",
                                                  "MTF",  "DIP",  "GT",   "MT",   "温度",   "电压"};
// Millimetre steps from one column to the next (the first column has none).
constexpr std::array<int, 11> kHeaderSteps = {13, 15, 14, 12, 17, 15, 14, 15, 18, 12, 13};
constexpr std::array<int, 10> kValueSteps = {17, 15, 14, 14, 15, 14, 13, 18, 16, 14};

struct SingleLabel {
    const char* text;
    int shift;
};
constexpr std::array<SingleLabel, 12> kSingleLabels = {{{"序 号:", 0},
                                                        {"时 间:", 0},
                                                        {"测 深:", 0},
                                                        {"井 斜:", 0},
                                                        {"磁方位:", -62},
                                                        {"GTF:", 135},
                                                        {"MTF:", 135},
                                                        {"DIP:", 135},
                                                        {"GT:", 200},
                                                        {"MT:", 200},
                                                        {"温 度:", 0},
                                                        {"电池电压:", -200}}};

// The measured values of a record as printed, from the depth onwards; the
// azimuth is printed as formatted, "360.0" included.
// Unlike the table, a negative zero keeps its sign.
static_assert(kBatteryVoltageColumn == kDepthColumn + 9, "the report prints depth to battery voltage");
std::array<std::string, 10> MeasuredTexts(const SurveyRecord& r, int depthWidth) {
    std::array<std::string, 10> out;
    for (int k = 0; k < 10; ++k) {
        const TableColumnInfo& c = TableColumnAt(kDepthColumn + k);
        out[k] = PrintfFixed(c.value(r), c.decimals, k == 0 ? depthWidth : 0);
    }
    return out;
}

std::string RelativeTime(const ReportInput& in, std::size_t index) {
    return in.relativeTimeText ? in.relativeTimeText(index) : std::string();
}

void DrawMultiPointRow(Canvas& c, const PageGeometry& g, const ReportInput& in, const std::vector<int>& x,
                       int y, std::size_t ordinal, std::size_t index) {
    const SurveyRecord& rec = in.doc->records()[index];
    const auto measured = MeasuredTexts(rec, 6);
    c.DrawText(Px(g.L + x[0]), y, IntegerText(static_cast<long long>(ordinal), 4));
    c.DrawText(Px(g.L + x[1]), y, RelativeTime(in, index));
    for (std::size_t k = 0; k < measured.size(); ++k) c.DrawText(Px(g.L + x[k + 2]), y, measured[k]);
}

// Offsets of the single-point lines below the rule at T + 330: the step of
// 10 mm is added and truncated line by line.
std::array<int, 12> SingleLineOffsets(int first, double Y) {
    std::array<int, 12> out{};
    out[0] = first;
    for (std::size_t k = 1; k < out.size(); ++k) out[k] = Px(out[k - 1] + 10 * Y);
    return out;
}

void DrawSingleValues(Canvas& c, const PageGeometry& g, const ReportInput& in) {
    const std::size_t index = IndexOfSelected(in.doc->records(), 0);
    const SurveyRecord& rec = in.doc->records()[index];
    const auto measured = MeasuredTexts(rec, 0);
    const auto dy = SingleLineOffsets(135, g.Y);
    const int x = Px(g.L + 1600);
    c.SetFont(kReportTimesFace, 160);
    c.DrawText(x, Px(g.T + 330 + dy[0]), IntegerText(static_cast<long long>(index), 4));
    c.DrawText(x, Px(g.T + 330 + dy[1]), RelativeTime(in, index));
    for (std::size_t k = 0; k < measured.size(); ++k) c.DrawText(x, Px(g.T + 330 + dy[k + 2]), measured[k]);
}

}  // namespace

std::vector<int> HeaderColumnOffsets(double X) {
    std::vector<int> out{0};
    for (int step : kHeaderSteps) out.push_back(Px(out.back() + step * X));
    return out;
}

std::vector<int> ValueColumnOffsets(double X) {
    std::vector<int> out{0, Px(9 * X + 30)};
    for (int step : kValueSteps) out.push_back(Px(out.back() + step * X));
    return out;
}

void DrawMultiPointBody(Canvas& c, const PageGeometry& g, const ReportInput& in, int page) {
    const auto headerX = HeaderColumnOffsets(g.X);
    c.SetFont(kReportKaiFace, 120);
    for (std::size_t k = 0; k < kHeaders.size(); ++k)
        c.DrawText(Px(g.L + headerX[k]), Px(g.T + 360), kHeaders[k]);

    const auto seq = PrintableSequence(in.doc->records(), in.showAll);
    const auto ordinals = PageOrdinals(seq.size(), page, in.reverseOrder);
    const auto valueX = ValueColumnOffsets(g.X);
    c.SetFont(kReportTimesFace, 100);
    for (std::size_t r = 0; r < ordinals.size(); ++r) {
        const int y = Px(g.T + 480 + 120.0 * static_cast<double>(r));
        DrawMultiPointRow(c, g, in, valueX, y, ordinals[r], seq[ordinals[r]]);
    }
}

void DrawSinglePointBody(Canvas& c, const PageGeometry& g, const ReportInput& in) {
    const auto dy = SingleLineOffsets(150, g.Y);
    c.SetFont(kReportKaiFace, 160);
    for (std::size_t k = 0; k < kSingleLabels.size(); ++k) {
        c.DrawText(Px(g.L + 1000 + kSingleLabels[k].shift), Px(g.T + 330 + dy[k]), kSingleLabels[k].text);
    }
    if (SinglePointShowsValues(in)) DrawSingleValues(c, g, in);
}

}  // namespace orb
