// The help window: the user guide shipped inside the program, in the
// window's language.
#pragma once

#include <QDialog>

#include "app/ui_language.h"

class QTextBrowser;

namespace orb {

// The guide of a language, a resource of the program.
QString HelpGuideUrl(UiLanguage language);

class CHelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

}  // namespace orb
