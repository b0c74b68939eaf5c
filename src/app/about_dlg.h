// "关于TALO" (dialog 100): icon, version text and OK.
#pragma once

#include <QDialog>

namespace orb {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace orb
