#include "report/trajectory_page.h"

#include "document/orb_doc.h"

namespace orb {

namespace {

int Px(double v) {
    return static_cast<int>(v);
}

}  // namespace

bool IsTrajectoryPage(const ReportInput& in, int page) {
    return in.trajectoryPage.has_value() && page == ReportPageCount(in);
}

PlotArea TrajectoryPageArea(const PageGeometry& g) {
    return {Px(g.L), Px(g.T + 560), Px(g.R), Px(g.B - 80)};
}

void DrawTrajectoryPageBody(Canvas& c, const PageGeometry& g, const ReportInput& in) {
    if (!in.trajectoryPage || in.doc == nullptr) return;
    c.SetFont(kReportKaiFace, 140);
    c.DrawText(Px(g.L), Px(g.T + 380), "井眼轨迹");
    TrajectoryPlotData data;
    MakeTrajectoryPlotData(in.doc->records(), *in.trajectoryPage, data);
    DrawTrajectoryPlots(c, TrajectoryPageArea(g), data);
}

}  // namespace orb
