// The TXT format dialog: the columns still available (left list, 1032), the
// columns chosen in output order (right list, 1033), add / delete / move up /
// move down, the separator pair and the caption check box. The editing rules
// live in TxtFormatEditor; this dialog shows its state and forwards clicks.
#pragma once

#include <QDialog>
#include <string>

#include "report/txt_format_editor.h"

class QCheckBox;
class QLayout;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace orb {

class CTxtSetDlg : public QDialog {
    Q_OBJECT
public:
    // `formatPath` is where the layout is kept; empty: TxtExportFormatPath(),
    // looked up each time the dialog opens.
    explicit CTxtSetDlg(QWidget* parent = nullptr, std::string formatPath = {});

    // Reloads the layout from its file, then shows the dialog modally.
    int exec() override;
    // OK: the layout is written to its file; on failure the reason is shown
    // and the dialog stays open.
    void accept() override;

    // The layout as last loaded or edited (the export uses it after OK).
    const TxtExportFormat& format() const { return editor_.format(); }
    const TxtFormatEditor& editor() const { return editor_; }
    std::string FormatPath() const;

    QListWidget* availableList() const { return available_; }
    QListWidget* chosenList() const { return chosen_; }
    QPushButton* button(int controlId) const;
    QRadioButton* spaceRadio() const { return space_; }
    QRadioButton* commaRadio() const { return comma_; }
    QCheckBox* captionCheck() const { return captions_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* MakeList(int controlId);
    QLayout* MakeListsRow();
    QWidget* MakeSeparatorGroup();
    QPushButton* MakeButton(int controlId, const QString& text);
    // Loads the stored layout; the reason when the file is there but unread.
    FileResult LoadFromFile();
    void ShowState();
    static void Fill(QListWidget* list, const std::vector<std::string_view>& captions, int selected);

    TxtFormatEditor editor_;
    std::string formatPath_;
    QListWidget* available_;
    QListWidget* chosen_;
    QRadioButton* space_;
    QRadioButton* comma_;
    QCheckBox* captions_;
    bool afterDoubleClick_ = false;
};

}  // namespace orb
