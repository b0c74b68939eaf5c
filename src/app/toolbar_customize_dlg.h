// "自定义..." (command 126): chooses and orders the buttons of the standard
// toolbar. A button list is a list of command ids; 0 stands for a separator.
#pragma once

#include <QDialog>
#include <QList>

class QListWidget;

namespace orb {

// The documented button order.
QList<int> DefaultToolbarButtons();
// Every command that may have a toolbar button.
QList<int> CustomizableCommands();
// Drops unknown ids, repeated buttons and doubled or leading/trailing separators.
QList<int> CleanToolbarButtons(const QList<int>& buttons);

class CToolbarCustomizeDlg : public QDialog {
    Q_OBJECT
public:
    CToolbarCustomizeDlg(const QList<int>& current, QWidget* parent = nullptr);
    QList<int> buttons() const;

    QListWidget* availableList() const { return available_; }
    QListWidget* currentList() const { return current_; }
    void AddSelected();
    void AddSeparator();
    void RemoveSelected();
    void MoveSelected(int delta);
    void Reset();

private:
    void Fill(const QList<int>& buttons);
    QListWidget* available_;
    QListWidget* current_;
};

}  // namespace orb
