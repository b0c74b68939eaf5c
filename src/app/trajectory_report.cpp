#include "app/trajectory_report.h"

#include <QApplication>

#include "app/main_frame.h"
#include "app/quality_settings.h"

namespace orb {

void AddTrajectoryPage(ReportInput& in, const QString& wellNumber, float declination) {
    if (!TrajectoryPageWanted() || in.doc == nullptr) return;
    in.trajectoryPage =
        MakeTrajectoryPlotOptions(LoadWellQualitySettings(wellNumber), declination, &in.doc->context());
}

void AddTrajectoryPage(ReportInput& in) {
    if (in.doc == nullptr) return;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* frame = qobject_cast<CMainFrame*>(w);
        if (frame && &frame->Document() == in.doc) {
            const WellInfo& well = frame->wellInfo();
            AddTrajectoryPage(in, QString::fromStdU16String(well.wellNumber), well.magneticDeclination);
            return;
        }
    }
    AddTrajectoryPage(in, QString::fromStdU16String(in.doc->wellNumber()), 0.0f);
}

}  // namespace orb
