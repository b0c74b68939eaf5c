// Station quality checks and the well trajectory panel of the main window:
// the commands go at the end of the 数据 and 视图 menus, ids from 33000 on.
#include <QMenu>
#include <QMenuBar>

#include "app/command_ids.h"
#include "app/geo_ref_controller.h"
#include "app/main_frame.h"
#include "app/quality_controller.h"
#include "app/still_select_dlg.h"

namespace orb {

namespace {

QMenu* MenuNamed(QMenuBar* bar, const char* name) {
    for (QAction* a : bar->actions())
        if (a->menu() && a->menu()->objectName() == QLatin1String(name)) return a->menu();
    return nullptr;
}

}  // namespace

void CMainFrame::ConnectQualityCommands() {
    quality_ = new CQualityController(this);
    for (QAction* a : {quality_->settingsAction(), quality_->panelAction(), quality_->reportPageAction()})
        actions_.insert(a->property("commandId").toInt(), a);
    if (QMenu* data = MenuNamed(menuBar_, kDataMenuName)) {
        data->addSeparator();
        data->addAction(quality_->settingsAction());
        data->addAction(quality_->reportPageAction());
        // Beside the other automatic choice of stations.
        QAction* still = MakeStillSelectAction(this);
        actions_.insert(cmd::kStillSelect, still);
        const QList<QAction*> items = data->actions();
        const qsizetype at = items.indexOf(Action(cmd::kShowAutoSelected));
        data->insertAction(at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr, still);
    }
    if (QMenu* view = MenuNamed(menuBar_, kViewMenuName)) view->addAction(quality_->panelAction());
    ConnectGeoReference();
}

// "井位与地磁参考" goes right after 钻井参数输入 in the data menu.
void CMainFrame::ConnectGeoReference() {
    auto* geo = new CGeoRefController(this, quality_);
    actions_.insert(cmd::kGeoReference, geo->action());
    if (QMenu* data = MenuNamed(menuBar_, kDataMenuName)) {
        const QList<QAction*> items = data->actions();
        const qsizetype well = items.indexOf(Action(cmd::kWellInfo));
        data->insertAction(well >= 0 && well + 1 < items.size() ? items[well + 1] : nullptr, geo->action());
    }
}

}  // namespace orb
