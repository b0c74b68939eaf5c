#include "report/report_layout.h"

#include <algorithm>
#include <ctime>

#include "core/angles.h"
#include "core/fixed_text.h"
#include "core/text_codec.h"
#include "document/orb_doc.h"
#include "report/report_pages.h"
#include "report/trajectory_page.h"
#include "view/table_source.h"

namespace orb {

namespace {

// Texts are positioned in floating point and truncated when drawn.
int Px(double v) {
    return static_cast<int>(v);
}

void DrawTitle(Canvas& c, const PageGeometry& g) {
    c.DrawLine(Px(g.L), Px(g.T), Px(g.R), Px(g.T));
    c.SetFont(kReportKaiFace, 160);
    c.DrawText(Px(g.L), Px(g.T - 160), "电子单多点测斜记录");
}

void DrawPrintTime(Canvas& c, const PageGeometry& g, const ReportInput& in) {
    c.SetFont(kReportKaiFace, 100);
    const std::string when = in.printTime.empty() ? LocalPrintTime() : in.printTime;
    c.DrawText(Px(g.R - 1200), Px(g.T - 100), "打印时间:" + when);
}

void DrawFoot(Canvas& c, const PageGeometry& g, int page, int pages) {
    c.DrawLine(Px(g.L), Px(g.B), Px(g.R), Px(g.B));
    c.DrawBitmap(Px(g.L), Px(g.B + 30), kBannerBitmapId);
    c.SetFont(kReportFangSongFace, 100);
    c.DrawText(Px(g.R - 550), Px(g.B + 40), "第" + IntegerText(page) + "页/共" + IntegerText(pages) + "页");
}

void DrawHeaderBox(Canvas& c, const PageGeometry& g, const ReportInput& in) {
    const int l = Px(g.L), r = Px(g.R), top = Px(g.T + 30), bottom = Px(g.T + 300);
    c.SetPen(CanvasPenStyle::DashDot, 1, CanvasColor{80, 80, 80});
    c.DrawLine(l, top, r, top);
    c.DrawLine(r, top, r, bottom);
    c.DrawLine(r, bottom, l, bottom);
    c.DrawLine(l, bottom, l, top);
    c.ResetPen();

    const COrbDoc& doc = *in.doc;
    c.SetFont(kReportFangSongFace, 120);
    c.DrawText(Px(g.L + 200), Px(g.T + 60), "井队编号：");
    c.DrawText(Px(g.L + 700), Px(g.T + 60), Utf16ToUtf8(doc.teamNumber()));
    c.DrawText(Px(g.L + 1800), Px(g.T + 60), "探管编号：");
    c.DrawText(Px(g.L + 2300), Px(g.T + 60), Utf16ToUtf8(doc.probeNumber()));
    c.DrawText(Px(g.L + 200), Px(g.T + 180), "井    号：");
    c.DrawText(Px(g.L + 700), Px(g.T + 180), Utf16ToUtf8(doc.wellNumber()));
    c.DrawText(Px(g.L + 1800), Px(g.T + 180), "打印方式：");
    c.DrawText(Px(g.L + 2300), Px(g.T + 180), in.mode == PrintMode::SinglePoint ? "单点" : "多点");
    c.DrawLine(Px(g.L), Px(g.T + 330), Px(g.R), Px(g.T + 330));
}

// The frame every page carries, whatever the mode.
void DrawPageFrame(Canvas& c, const PageGeometry& g, const ReportInput& in, int page) {
    c.ResetPen();
    DrawTitle(c, g);
    DrawPrintTime(c, g, in);
    DrawFoot(c, g, page, ReportPageCount(in));
    DrawHeaderBox(c, g, in);
}

std::size_t PrintableCount(const ReportInput& in) {
    const auto& recs = in.doc->records();
    return in.showAll ? recs.size() : CountSelected(recs);
}

}  // namespace

ReportInput MakeReportInput(const COrbDoc& doc, const TableSource& table, PrintMode mode,
                            RelativeTimeFn relativeTimeText) {
    ReportInput in;
    in.doc = &doc;
    in.mode = mode;
    in.showAll = table.showAll();
    in.reverseOrder = table.reverseOrder();
    in.lastClickedRow = table.lastClickedRow();
    in.relativeTimeText = std::move(relativeTimeText);
    return in;
}

PageGeometry ComputePageGeometry(double dotsPerInchX, double dotsPerInchY) {
    PageGeometry g;
    g.X = dotsPerInchX / 25.4;
    g.Y = dotsPerInchY / 25.4;
    g.L = 18.0 * g.X;
    g.R = 184.6 * g.X;
    g.T = 31.8 * g.Y;
    g.B = 265.2 * g.Y;
    return g;
}

std::vector<std::size_t> PrintableSequence(std::span<const SurveyRecord> records, bool showAll) {
    std::vector<std::size_t> seq;
    seq.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (showAll || records[i].selected == 1) seq.push_back(i);
    }
    return seq;
}

std::vector<std::size_t> PageOrdinals(std::size_t printable, int page, bool reverseOrder) {
    std::vector<std::size_t> out;
    if (page < 1) return out;
    const std::size_t skip = static_cast<std::size_t>(page - 1) * kRowsPerPage;
    if (skip >= printable) return out;
    const std::size_t count = std::min<std::size_t>(kRowsPerPage, printable - skip);
    for (std::size_t r = 0; r < count; ++r) {
        out.push_back(reverseOrder ? printable - 1 - skip - r : skip + r);
    }
    return out;
}

int ReportPageCount(const ReportInput& in) {
    const int extra = in.trajectoryPage ? 1 : 0;
    if (in.mode == PrintMode::SinglePoint) return 1 + extra;
    const std::size_t m = PrintableCount(in);
    const std::size_t pages = (m + kRowsPerPage - 1) / kRowsPerPage;
    return static_cast<int>(std::max<std::size_t>(pages, 1)) + extra;
}

bool SinglePointSelectionAmbiguous(const COrbDoc& doc) {
    return CountSelected(doc.records()) > 1;
}

bool SinglePointShowsValues(const ReportInput& in) {
    return CountSelected(in.doc->records()) == 1 && in.lastClickedRow != -1;
}

void RenderReportPage(Canvas& canvas, const ReportInput& in, int page) {
    if (in.doc == nullptr) return;
    const PageGeometry g = ComputePageGeometry(canvas.DotsPerInchX(), canvas.DotsPerInchY());
    DrawPageFrame(canvas, g, in, page);
    if (IsTrajectoryPage(in, page)) {
        DrawTrajectoryPageBody(canvas, g, in);
    } else if (in.mode == PrintMode::SinglePoint) {
        DrawSinglePointBody(canvas, g, in);
    } else {
        DrawMultiPointBody(canvas, g, in, page);
    }
}

std::string LocalPrintTime() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char buf[32];
    // Digits and separators only, so the locale cannot change this text.
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

}  // namespace orb
