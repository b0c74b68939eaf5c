#include "app/orb_app.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFont>
#include <QTimer>

#include "app/command_icons.h"
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

bool COrbApp::InitInstance(const QStringList& arguments) {
    ConfigureSettings();
    InstallTranslations();
    RegisterFontSubstitutions();
    SetInterfaceFont();
    QApplication::setWindowIcon(AppIcon());

    QCommandLineParser parser;
    parser.setApplicationDescription(tr("Orb 测斜数据处理系统"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("file"), tr("启动时打开的 TLM 文件"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"), tr("把主窗口保存为 PNG 图片后退出"),
                                        QStringLiteral("png"));
    parser.addOption(screenshot);
    parser.process(arguments);

    frame_ = std::make_unique<CMainFrame>();
    // A picture of the window needs no journal and no recovery question.
    if (!parser.isSet(screenshot)) InstallRecoveryJournal(frame_.get());
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty()) frame_->OpenDocumentFile(files.constFirst());
    frame_->show();
    if (parser.isSet(screenshot)) TakeScreenshot(parser.value(screenshot));
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
