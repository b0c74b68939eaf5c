#include "app/help_window.h"

#include <QTextBrowser>
#include <QVBoxLayout>

namespace orb {

CHelpWindow::CHelpWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Orb 帮助主题"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(false);
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/guide.html")));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 560);
}

}  // namespace orb
