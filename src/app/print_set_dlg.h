// The print mode dialog: "多点" (a table of 42 survey points per page) or
// "单点" (one page for the one selected survey point). The mode it holds is
// the one every print and preview uses; OK stores the radio choice, cancel
// keeps the previous mode.
#pragma once

#include <QDialog>

#include "report/report_layout.h"

class QRadioButton;

namespace orb {

class CPrintSetDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPrintSetDlg(QWidget* parent = nullptr);

    PrintMode mode() const { return mode_; }
    void SetMode(PrintMode mode) { mode_ = mode; }

    // Shows the stored mode, then runs modally.
    int exec() override;
    void accept() override;

    QRadioButton* multiPointRadio() const { return multi_; }
    QRadioButton* singlePointRadio() const { return single_; }

private:
    QRadioButton* multi_;
    QRadioButton* single_;
    PrintMode mode_ = PrintMode::MultiPoint;
};

}  // namespace orb
