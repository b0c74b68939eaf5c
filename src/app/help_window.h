// The help window: the user guide shipped inside the program.
#pragma once

#include <QDialog>

class QTextBrowser;

namespace orb {

class CHelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

}  // namespace orb
