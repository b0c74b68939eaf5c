// The language choice at the end of the 视图 menu. Each language is named in
// itself, and the submenu's title names both, so that a reader of either finds
// it. The choice is stored and applies from the next start: the window builds
// its texts once, and a restart is the one way every text (message boxes
// under way, dialogs, Qt's own) changes together.
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include "app/main_frame.h"
#include "app/ui_language.h"

namespace orb {

void CMainFrame::ConnectLanguageCommands() {
    QMenu* view = findChild<QMenu*>(QString::fromLatin1(kViewMenuName));
    if (!view) return;
    view->addSeparator();
    QMenu* menu = view->addMenu(tr("语言 (Language)"));
    menu->setObjectName(QStringLiteral("languageMenu"));
    auto* group = new QActionGroup(this);
    const UiLanguage chosen = StoredLanguage();
    const struct {
        int id;
        const char* name;
        UiLanguage language;
    } kChoices[] = {{cmd::kLanguageChinese, "中文", UiLanguage::kChinese},
                    {cmd::kLanguageEnglish, "English", UiLanguage::kEnglish}};
    for (const auto& c : kChoices) {
        QAction* a = menu->addAction(QString::fromUtf8(c.name));
        a->setProperty("commandId", c.id);
        a->setCheckable(true);
        a->setChecked(c.language == chosen);
        group->addAction(a);
        actions_.insert(c.id, a);
        connect(a, &QAction::triggered, this, [this, language = c.language] { OnLanguage(language); });
    }
}

void CMainFrame::OnLanguage(UiLanguage language) {
    StoreLanguage(language);
    if (language == RunningLanguage()) return;
    // Said in the language chosen, which the reader is known to read.
    const QString text = language == UiLanguage::kEnglish
                             ? QStringLiteral("The language changes to English the next time Orb starts.")
                             : QStringLiteral("下次启动 Orb 时界面语言切换为中文。");
    QMessageBox::information(this, OrbText(kProductCaption), text);
}

}  // namespace orb
