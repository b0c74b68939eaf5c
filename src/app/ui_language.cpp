#include "app/ui_language.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QStringList>
#include <QTranslator>

namespace orb {

namespace {

constexpr const char* kCoreContext = "core";
UiLanguage running = UiLanguage::kChinese;

QString Translated(const QString& source) {
    const QByteArray utf8 = source.toUtf8();
    return QCoreApplication::translate(kCoreContext, utf8.constData());
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool IsWordChar(QChar c) {
    return IsDigit(c) || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'.';
}

// "串口3已打开" -> "串口%1已打开" and {"3"}. A number is a run of digits with
// at most one decimal part that does not continue a word ("WMM2025" holds
// none); a minus sign belongs to it unless it follows a word ("97-2003" is two
// numbers).
QString TemplateOf(const QString& text, QStringList& numbers) {
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        const bool afterWord = i > 0 && IsWordChar(text[i - 1]);
        const bool sign = text[i] == u'-' && i + 1 < text.size() && IsDigit(text[i + 1]) && !afterWord;
        if ((IsDigit(text[i]) && !afterWord) || sign) {
            qsizetype end = i + 1;
            while (end < text.size() && IsDigit(text[end])) ++end;
            if (end + 1 < text.size() && text[end] == u'.' && IsDigit(text[end + 1])) {
                end += 2;
                while (end < text.size() && IsDigit(text[end])) ++end;
            }
            numbers << text.mid(i, end - i);
            out += u'%' + QString::number(numbers.size());
            i = end;
            continue;
        }
        out += text[i++];
    }
    return out;
}

// The whole text, or its template; empty when neither is translated.
QString WholeText(const QString& text) {
    const QString t = Translated(text);
    if (t != text) return t;
    QStringList numbers;
    const QString tmpl = TemplateOf(text, numbers);
    if (numbers.isEmpty() || numbers.size() > 9) return {};
    QString filled = Translated(tmpl);
    if (filled == tmpl) return {};
    // Placeholders from the highest down, so that %1 never eats %10's digit.
    for (qsizetype n = numbers.size(); n >= 1; --n) filled.replace(u'%' + QString::number(n), numbers[n - 1]);
    return filled;
}

// Where composed texts join their parts, and the join in the translation.
struct Joint {
    const char16_t* source;
    const char16_t* translated;
};
constexpr Joint kJoints[] = {{u"；", u"; "}, {u": ", u": "}, {u"：", u": "}, {u" (", u" ("}};

// The parts of "a；b", "head: detail" or "caption (unit)" each on its own,
// when the first part is a known text; the line as it came otherwise.
QString LineText(const QString& line) {
    if (QString whole = WholeText(line); !whole.isEmpty()) return whole;
    for (const Joint& j : kJoints) {
        const QString sep = QString::fromUtf16(j.source);
        const qsizetype at = line.indexOf(sep);
        if (at <= 0) continue;
        const QString head = WholeText(line.left(at));
        if (head.isEmpty()) continue;
        return head + QString::fromUtf16(j.translated) + LineText(line.mid(at + sep.size()));
    }
    return line;
}

}  // namespace

UiLanguage LanguageOfLocale(const QLocale& locale) {
    return locale.language() == QLocale::English ? UiLanguage::kEnglish : UiLanguage::kChinese;
}

QString LanguageCode(UiLanguage language) {
    return language == UiLanguage::kEnglish ? QStringLiteral("en") : QStringLiteral("zh_CN");
}

UiLanguage StoredLanguage() {
    const QString code = QSettings().value(QString::fromLatin1(kLanguageKey)).toString();
    if (code == LanguageCode(UiLanguage::kEnglish)) return UiLanguage::kEnglish;
    if (code == LanguageCode(UiLanguage::kChinese)) return UiLanguage::kChinese;
    return LanguageOfLocale(QLocale::system());
}

void StoreLanguage(UiLanguage language) {
    QSettings().setValue(QString::fromLatin1(kLanguageKey), LanguageCode(language));
}

UiLanguage RunningLanguage() {
    return running;
}

UiTranslators::UiTranslators() = default;

UiTranslators::~UiTranslators() {
    Remove();
}

void UiTranslators::Remove() {
    for (auto& t : installed_) QCoreApplication::removeTranslator(t.get());
    installed_.clear();
    running = UiLanguage::kChinese;
}

bool UiTranslators::Install(UiLanguage language) {
    Remove();
    const QString code = LanguageCode(language);
    bool complete = true;
    const auto load = [&](const QString& name, const QString& dir) {
        auto t = std::make_unique<QTranslator>();
        if (!t->load(name, dir)) {
            complete = false;
            return;
        }
        QCoreApplication::installTranslator(t.get());
        installed_.push_back(std::move(t));
    };
    load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // The source texts are Chinese: only English has a translation of its own.
    if (language == UiLanguage::kEnglish) load(QStringLiteral("orb_en"), QStringLiteral(":/i18n"));
    running = language;
    QLocale::setDefault(language == UiLanguage::kEnglish ? QLocale(QLocale::English, QLocale::UnitedStates)
                                                         : QLocale(QLocale::Chinese, QLocale::China));
    return complete;
}

QString CoreText(std::string_view text) {
    const QString source = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (source.isEmpty()) return source;
    if (QString whole = WholeText(source); !whole.isEmpty()) return whole;
    QStringList lines = source.split(u'\n');
    if (lines.size() == 1) return LineText(source);
    for (QString& line : lines) line = LineText(line);
    return lines.join(u'\n');
}

}  // namespace orb
