#include "app/orb_app.h"

#include <QApplication>
#include <QFont>
#include <QTimer>

#include "app/command_icons.h"
#include "app/command_line.h"
#include "app/main_frame.h"
#include "app/orb_view.h"
#include "app/recovery_journal.h"

namespace orb {

COrbApp::COrbApp() = default;
COrbApp::~COrbApp() = default;

void COrbApp::ConfigureSettings() {
    QCoreApplication::setOrganizationName(QString::fromUtf8(kSettingsOrganization));
    QCoreApplication::setApplicationName(QString::fromUtf8(kSettingsApplication));
}

bool COrbApp::InstallTranslations() {
    return translators_.Install(StoredLanguage());
}

void COrbApp::RegisterFontSubstitutions() {
    const QString sansCjk = QStringLiteral("Noto Sans CJK SC");
    const QString serifCjk = QStringLiteral("Noto Serif CJK SC");
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans"), sansCjk});
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"), {QStringLiteral("AR PL UKai CN"), serifCjk});
    QFont::insertSubstitutions(QStringLiteral("楷体"), {QStringLiteral("AR PL UKai CN"), serifCjk});
    QFont::insertSubstitutions(QStringLiteral("仿宋"), {QStringLiteral("AR PL UMing CN"), serifCjk});
    QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("AR PL UMing CN"), serifCjk});
    QFont::insertSubstitutions(QStringLiteral("黑体"), {sansCjk});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), serifCjk});
}

void COrbApp::SetInterfaceFont() {
    // A proportional face with Chinese glyphs for menus, dialogs and panes.
    QFont f = QApplication::font();
    f.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")});
    QApplication::setFont(f);
}

bool COrbApp::InitInstance(const CommandLine& commandLine) {
    ConfigureSettings();
    InstallTranslations();
    RegisterFontSubstitutions();
    SetInterfaceFont();
    QApplication::setWindowIcon(AppIcon());

    const bool screenshot = !commandLine.screenshot.isEmpty();
    frame_ = std::make_unique<CMainFrame>();
    // A picture of the window needs no journal and no recovery question.
    if (!screenshot) InstallRecoveryJournal(frame_.get());
    if (!commandLine.file.isEmpty()) frame_->OpenDocumentFile(commandLine.file);
    frame_->show();
    if (screenshot) TakeScreenshot(commandLine.screenshot);
    return true;
}

void COrbApp::TakeScreenshot(const QString& png) {
    QTimer::singleShot(800, frame_.get(), [this, png] {
        frame_->grab().save(png);
        frame_->Document().SetModified(false);  // no save question on the way out
        QCoreApplication::quit();
    });
}

int COrbApp::ExitInstance(int code) {
    frame_.reset();
    return code;
}

}  // namespace orb
