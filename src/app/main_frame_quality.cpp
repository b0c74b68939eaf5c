// Station quality checks and the well trajectory panel of the main window:
// the commands go at the end of the 数据 and 视图 menus, ids from 33000 on.
#include <QMenu>
#include <QMenuBar>

#include "app/main_frame.h"
#include "app/quality_controller.h"

namespace orb {

namespace {

QMenu* MenuTitled(QMenuBar* bar, const QString& title) {
    for (QAction* a : bar->actions())
        if (a->menu() && a->text() == title) return a->menu();
    return nullptr;
}

}  // namespace

void CMainFrame::ConnectQualityCommands() {
    quality_ = new CQualityController(this);
    for (QAction* a : {quality_->settingsAction(), quality_->panelAction(), quality_->reportPageAction()})
        actions_.insert(a->property("commandId").toInt(), a);
    if (QMenu* data = MenuTitled(menuBar_, QStringLiteral("数据"))) {
        data->addSeparator();
        data->addAction(quality_->settingsAction());
        data->addAction(quality_->reportPageAction());
    }
    if (QMenu* view = MenuTitled(menuBar_, QStringLiteral("视图(&V)")))
        view->addAction(quality_->panelAction());
}

}  // namespace orb
