// Undo (57643), redo (57644) and copy (57634) in the main window. Undo and
// redo step through the operator's own edits (SurveyEdits keeps the
// history) and are enabled only when there is something to undo or redo.
// Copy puts the selected table rows, or every row shown when none is
// selected, on the clipboard as tab-separated cell texts under the caption
// line. The table's context menu (119) gets 撤销 and 重做 beside its three
// items. It also keeps the well information and its quality references in
// step when an undo or redo changes the well texts.
#pragma once

#include <QObject>
#include <QString>

#include "document/survey_edits.h"

class QAction;

namespace orb {

class CMainFrame;

class CEditCommands : public QObject, private SurveyListener {
    Q_OBJECT
public:
    explicit CEditCommands(CMainFrame* frame);
    ~CEditCommands() override;

    void Undo();
    void Redo();
    void Copy();
    // What Copy puts on the clipboard.
    QString CopyText() const;
    // The context menu's entries.
    QAction* menuUndo() const { return menuUndo_; }
    QAction* menuRedo() const { return menuRedo_; }

private:
    void SurveyChanged(const SurveyChange& change) override;
    void AddToContextMenu();
    void UpdateActions();

    CMainFrame* frame_;
    QAction* menuUndo_ = nullptr;
    QAction* menuRedo_ = nullptr;
};

}  // namespace orb
