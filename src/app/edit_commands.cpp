#include "app/edit_commands.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenu>
#include <algorithm>
#include <vector>

#include "app/command_guard.h"
#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/orb_view.h"
#include "app/quality_controller.h"
#include "view/table_text.h"

namespace orb {

CEditCommands::CEditCommands(CMainFrame* frame) : QObject(frame), frame_(frame) {
    setObjectName(QStringLiteral("editCommands"));
    frame_->Edits().AddListener(this);
    frame_->Edits().SetHistoryObserver([this] { UpdateActions(); });
    ConnectCommand(frame_->Action(cmd::kEditUndo), this, frame_, [this] { Undo(); });
    ConnectCommand(frame_->Action(cmd::kEditRedo), this, frame_, [this] { Redo(); });
    ConnectCommand(frame_->Action(cmd::kEditCopy), this, frame_, [this] { Copy(); });
    AddToContextMenu();
    UpdateActions();
}

CEditCommands::~CEditCommands() {
    frame_->Edits().SetHistoryObserver({});
    frame_->Edits().RemoveListener(this);
}

void CEditCommands::AddToContextMenu() {
    QMenu* menu = frame_->View()->editMenu();
    for (QAction* a : menu->actions()) {
        // The copy entry is the window's command itself.
        if (a->property("commandId").toInt() != cmd::kEditCopy) continue;
        QAction* copy = frame_->Action(cmd::kEditCopy);
        menu->insertAction(a, copy);
        menu->removeAction(a);
        a->deleteLater();
        break;
    }
    menu->addSeparator();
    menuUndo_ = menu->addAction(tr("撤销(&U)\tCtrl+Z"));
    menuUndo_->setProperty("commandId", cmd::kEditUndo);
    ConnectCommand(menuUndo_, this, frame_, [this] { Undo(); });
    menuRedo_ = menu->addAction(tr("重做(&R)\tCtrl+Y"));
    menuRedo_->setProperty("commandId", cmd::kEditRedo);
    ConnectCommand(menuRedo_, this, frame_, [this] { Redo(); });
}

void CEditCommands::UpdateActions() {
    const bool undo = frame_->Edits().CanUndo(), redo = frame_->Edits().CanRedo();
    frame_->Action(cmd::kEditUndo)->setEnabled(undo);
    frame_->Action(cmd::kEditRedo)->setEnabled(redo);
    if (menuUndo_) menuUndo_->setEnabled(undo);
    if (menuRedo_) menuRedo_->setEnabled(redo);
}

void CEditCommands::Undo() {
    frame_->Edits().Undo();
}

void CEditCommands::Redo() {
    frame_->Edits().Redo();
}

QString CEditCommands::CopyText() const {
    const COrbView* view = frame_->View();
    const SurveyTableModel& model = view->tableModel();
    std::vector<std::size_t> rows;
    if (const QItemSelectionModel* s = view->selectionModel()) {
        for (const QModelIndex& i : s->selectedRows()) rows.push_back(static_cast<std::size_t>(i.row()));
    }
    std::sort(rows.begin(), rows.end());
    if (rows.empty()) {
        rows.resize(model.RowCount());
        for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = i;
    }
    return QString::fromStdString(TableRowsText(model, rows));
}

void CEditCommands::Copy() {
    QGuiApplication::clipboard()->setText(CopyText());
}

void CEditCommands::SurveyChanged(const SurveyChange& change) {
    if (change.kind != SurveyChange::Kind::kTexts) return;
    // An undone or redone well dialog: the well information and the well's
    // quality references follow the document's texts.
    const COrbDoc& doc = frame_->Document();
    WellInfo& well = frame_->wellInfo();
    if (well.teamNumber == doc.teamNumber() && well.wellNumber == doc.wellNumber()) return;
    well.teamNumber = doc.teamNumber();
    well.wellNumber = doc.wellNumber();
    if (CQualityController* q = frame_->qualityController()) q->Reload();
}

}  // namespace orb
