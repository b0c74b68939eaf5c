// The window's language: the choice in the 视图 menu, kept in the settings,
// the translators that carry it out, and the translation of the texts that
// come from the plain C++ modules.
//
// The Chinese texts are the source texts: with Chinese chosen no translation
// of the program is loaded (only Qt's own, for its standard buttons and
// dialogs); English loads translations/orb_en.ts, compiled into the program.
// A new choice applies from the next start.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <memory>
#include <string_view>
#include <vector>

class QLocale;
class QTranslator;

namespace orb {

namespace cmd {
// 视图 → 语言 (Language): 中文 / English.
inline constexpr int kLanguageChinese = 33400;
inline constexpr int kLanguageEnglish = 33401;
}  // namespace cmd

enum class UiLanguage { kChinese, kEnglish };

inline constexpr const char* kLanguageKey = "Language";

// English for an English system locale, Chinese for every other one.
UiLanguage LanguageOfLocale(const QLocale& locale);
// The stored choice, or the system's language when none is stored.
UiLanguage StoredLanguage();
void StoreLanguage(UiLanguage language);
// The language the translators installed (Chinese before any install).
UiLanguage RunningLanguage();
// "zh_CN" or "en", as stored and as the translation files are named.
QString LanguageCode(UiLanguage language);

// Qt's own translation and, for English, the program's. Removes what an
// earlier call installed. False when a file is missing (the texts then stay
// in the source language).
class UiTranslators {
public:
    UiTranslators();
    ~UiTranslators();
    bool Install(UiLanguage language);
    void Remove();

private:
    std::vector<std::unique_ptr<QTranslator>> installed_;
};

// A text of the plain C++ modules (marked there with ORB_TEXT) in the
// window's language. A text not found as a whole is looked up as its template,
// the numbers replaced by %1, %2, ... (see core/ui_text.h), then line by line
// and, for "head: detail" texts, part by part. What no rule finds is shown as
// it came.
QString CoreText(std::string_view text);

// A text of the window outside a class with its own context.
inline QString OrbText(const char* text) {
    return QCoreApplication::translate("Orb", text);
}

}  // namespace orb
