#include "app/help_window.h"

#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/ui_language.h"

namespace orb {

QString HelpGuideUrl(UiLanguage language) {
    return language == UiLanguage::kEnglish ? QStringLiteral("qrc:/help/guide_en.html")
                                            : QStringLiteral("qrc:/help/guide.html");
}

CHelpWindow::CHelpWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Orb 帮助主题"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(false);
    browser_->setSource(QUrl(HelpGuideUrl(RunningLanguage())));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 560);
}

}  // namespace orb
