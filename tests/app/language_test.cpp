// The window's languages: English through the compiled translation, the
// Chinese source texts untouched without one, Qt's own buttons in Chinese,
// the texts of the plain C++ modules and the language choice.
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QXmlStreamReader>
#include <QtTest>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/geo_ref_controller.h"
#include "app/geo_ref_dlg.h"
#include "app/help_window.h"
#include "app/main_frame.h"
#include "app/print_set_dlg.h"
#include "app/ui_language.h"
#include "app_test_support.h"
#include "core/station_qc.h"
#include "device/device_controller.h"
#include "document/tlm_file.h"

using namespace orb;

namespace {

QStringList MenuTitles(CMainFrame& f) {
    QStringList titles;
    for (QAction* a : f.FrameMenuBar()->actions()) titles << a->text();
    return titles;
}

QStringList Texts(const QWidget& w) {
    QStringList texts{w.windowTitle()};
    for (const QLabel* l : w.findChildren<QLabel*>()) texts << l->text();
    for (const QAbstractButton* b : w.findChildren<QAbstractButton*>()) texts << b->text();
    for (const QGroupBox* g : w.findChildren<QGroupBox*>()) texts << g->title();
    return texts;
}

// Each "core" entry of the English translation: source and translation.
QList<QPair<QString, QString>> CoreEntries() {
    QFile ts(QStringLiteral(ORB_SOURCE_DIR "/translations/orb_en.ts"));
    if (!ts.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&ts);
    QList<QPair<QString, QString>> entries;
    QString context, source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"name") context = xml.readElementText();
        if (xml.name() == u"source") source = xml.readElementText();
        if (xml.name() == u"translation" && context == u"core")
            entries.append({source, xml.readElementText()});
    }
    return entries;
}

// Fills %1..%n of `text` with the numbers of the list.
QString Filled(QString text, const QStringList& numbers) {
    for (qsizetype n = numbers.size(); n >= 1; --n) text.replace(u'%' + QString::number(n), numbers[n - 1]);
    return text;
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::PrepareApplication(); }
    void init() { settings_ = test::UseTemporarySettings(); }
    void cleanup() { translators_.Remove(); }

    void englishMenusAndDialog();
    void chineseSourceTextsWithoutTranslator();
    void qtStandardButtonsInChinese();
    void coreTextsThroughTheirTemplates_data();
    void coreTextsThroughTheirTemplates();
    void everyCoreTemplateComesBack();
    void choiceIsStoredAndFollowsTheSystemOtherwise();
    void helpGuideInBothLanguages();
    void screenshots();

private:
    std::unique_ptr<QTemporaryDir> settings_;
    UiTranslators translators_;
};

void LanguageTest::englishMenusAndDialog() {
    QVERIFY(translators_.Install(UiLanguage::kEnglish));
    CMainFrame f;
    QCOMPARE(MenuTitles(f),
             QStringList({"&File", "Communication", "Probe", "Synchronizer", "Data", "&View", "&Help"}));
    QCOMPARE(f.Action(cmd::kFileOpen)->text(), QStringLiteral("&Open...\tCtrl+O"));
    QCOMPARE(f.Action(cmd::kFileOpen)->statusTip(), QStringLiteral("Open an existing survey"));
    QCOMPARE(f.Action(cmd::kProbeDownload)->toolTip(), QStringLiteral("Download Data"));
    QCOMPARE(f.Action(cmd::kLanguageEnglish)->isChecked(), false);  // the system's choice (not English here)
    QCOMPARE(f.windowTitle(), QStringLiteral("Orb Borehole Survey Processing"));
    const QTableView* table = f.findChild<QTableView*>();
    QVERIFY(table);
    QCOMPARE(table->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("MD"));

    CPrintSetDlg dlg(&f);
    const QStringList texts = Texts(dlg);
    for (const char* t : {"Print Mode", "Print mode", "Multishot", "Single shot", "OK", "Cancel"})
        QVERIFY2(texts.contains(QString::fromUtf8(t)), t);
    for (const QString& t : texts)
        QVERIFY2(!t.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))), qPrintable(t));
}

void LanguageTest::chineseSourceTextsWithoutTranslator() {
    CMainFrame f;
    QCOMPARE(MenuTitles(f),
             QStringList({"文件(&F)", "通信", "探管", "同步器", "数据", "视图(&V)", "帮助(&H)"}));
    for (const CommandInfo& c : AllCommands()) {
        QCOMPARE(f.Action(c.id)->text(), QString::fromUtf8(c.caption));
        if (c.prompt) QVERIFY(QString::fromUtf8(c.prompt).startsWith(f.Action(c.id)->statusTip()));
    }
    CPrintSetDlg dlg(&f);
    const QStringList texts = Texts(dlg);
    for (const char* t : {"打印方式设置", "打印方式", "多点", "单点", "确定", "取消"})
        QVERIFY2(texts.contains(QString::fromUtf8(t)), t);
    // The modules' texts pass unchanged, numbers and all.
    for (const char* t :
         {"通信超时！", "串口3已打开", "总加速度超差: 1.0123 (参考 1.0000 ± 0.0050)", "方位参考: 真北"})
        QCOMPARE(CoreText(t), QString::fromUtf8(t));
}

void LanguageTest::qtStandardButtonsInChinese() {
    QVERIFY(translators_.Install(UiLanguage::kChinese));
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QVERIFY(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("是")));
    QVERIFY(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("否")));
    QVERIFY(box.button(QMessageBox::Cancel)->text().startsWith(QStringLiteral("取消")));
}

// A counted transfer that stopped after `arrived` of `announced` items.
static TransferState Shortfall(int32_t announced, int64_t arrived) {
    TransferState t;
    t.counted = true;
    t.announced = announced;
    t.arrived = arrived;
    return t;
}

void LanguageTest::coreTextsThroughTheirTemplates_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("english");
    const auto row = [](const char* name, const std::string& shown, const char* english) {
        QTest::newRow(name) << QString::fromStdString(shown) << QString::fromUtf8(english);
    };
    row("fixed", kTlmMismatchMessage, "Not a survey file; choose another file");
    row("fixed with digits", "记录数量超过了 39768215 条，无法保存为 TLM 文件。",
        "More than 39768215 records cannot be saved as a TLM file.");
    row("one number", "串口12已打开", "Serial port 12 opened");
    row("numbers reordered", "7个同步标记中5个已匹配", "5 of 7 synchronizer marks matched");
    row("reason and shortfall", TransferShortfallText("数据流中断", Shortfall(420, 100), kProbeItemsText),
        "Data stream interrupted: 100 of 420 probe records received");
    row("decimals and sign", "地磁倾角超差: -61.3 (参考 -58.00 ± 0.50)",
        "Dip out of tolerance: -61.3 (reference -58.00 ± 0.50)");
    row("years stay apart",
        "要导出的测点有70000个，超出Excel 97-2003工作表可容纳的65535个测点（另有标题行），未导出。",
        "70000 stations to export exceed the 65535 stations (plus the caption row) an Excel 97-2003 "
        "worksheet "
        "holds; nothing was exported.");
    row("lines",
        std::string(kMovingAtMarkText) + ": " +
            "同步器标记的测点不在任何静止段内，该测点可能是探管移动中测得的\n合格",
        "Probe not still at survey: the station marked by the synchronizer lies outside every still period; "
        "the "
        "probe may have been moving when it was taken\nPassed");
    row("parts", "按深度升序计算；测点 12；闭合距 3.50 m；北向基准 真北",
        "Computed in ascending depth order; 12 stations; Closure distance 3.50 m; 北向基准 真北");
    row("caption and unit", "垂深 (m)", "TVD (m)");
    row("unknown stays", "/home/x/井1.tlm", "/home/x/井1.tlm");
}

void LanguageTest::coreTextsThroughTheirTemplates() {
    QFETCH(QString, shown);
    QFETCH(QString, english);
    QVERIFY(translators_.Install(UiLanguage::kEnglish));
    QCOMPARE(CoreText(shown.toStdString()), english);
}

// A template whose own text holds a number could never be found again from
// the text the module shows.
void LanguageTest::everyCoreTemplateComesBack() {
    QVERIFY(translators_.Install(UiLanguage::kEnglish));
    const QStringList numbers{"12", "-3.5", "0.25", "7", "8", "9", "10"};
    const auto entries = CoreEntries();
    QVERIFY(entries.size() > 100);
    int templates = 0;
    for (const auto& [source, english] : entries) {
        if (!source.contains(u'%')) continue;
        ++templates;
        QCOMPARE(CoreText(Filled(source, numbers).toStdString()), Filled(english, numbers));
    }
    QVERIFY(templates >= 20);
}

void LanguageTest::choiceIsStoredAndFollowsTheSystemOtherwise() {
    QCOMPARE(LanguageOfLocale(QLocale(QLocale::English, QLocale::UnitedKingdom)), UiLanguage::kEnglish);
    QCOMPARE(LanguageOfLocale(QLocale(QLocale::Chinese, QLocale::China)), UiLanguage::kChinese);
    QCOMPARE(LanguageOfLocale(QLocale(QLocale::German, QLocale::Germany)), UiLanguage::kChinese);
    QCOMPARE(StoredLanguage(), LanguageOfLocale(QLocale::system()));

    CMainFrame f;
    QAction* english = f.Action(cmd::kLanguageEnglish);
    QAction* chinese = f.Action(cmd::kLanguageChinese);
    QVERIFY(english && chinese);
    QString said;
    test::WhenModal(
        [&said](QWidget* w) {
            said = static_cast<QMessageBox*>(w)->text();
            static_cast<QMessageBox*>(w)->accept();
        },
        5000, "QMessageBox");
    english->trigger();
    QCOMPARE(said, QStringLiteral("The language changes to English the next time Orb starts."));
    QCOMPARE(QSettings().value(kLanguageKey).toString(), QStringLiteral("en"));
    QCOMPARE(StoredLanguage(), UiLanguage::kEnglish);
    // Back to the language running: stored, and nothing to say.
    chinese->trigger();
    QCOMPARE(StoredLanguage(), UiLanguage::kChinese);
    CMainFrame again;
    QVERIFY(again.Action(cmd::kLanguageChinese)->isChecked());
}

void LanguageTest::helpGuideInBothLanguages() {
    // The topics the guide must cover, in each language.
    const QStringList english{"quality checks", "trajectory panel", "Undo",           "receive journal",
                              "WITSML",         "still period",     "survey context", "Geomagnetic Reference",
                              "Language"};
    const QStringList chinese{"测量质量检查", "井眼轨迹面板", "撤销",           "接收日志", "WITSML",
                              "静止段",       "测量背景信息", "井位与地磁参考", "语言"};
    for (UiLanguage language : {UiLanguage::kChinese, UiLanguage::kEnglish}) {
        QFile guide(HelpGuideUrl(language).mid(3));  // "qrc:/..." -> ":/..."
        QVERIFY(guide.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(guide.readAll());
        for (const QString& topic : language == UiLanguage::kEnglish ? english : chinese)
            QVERIFY2(html.contains(topic), qPrintable(topic));
    }
}

// The geomagnetic reference dialog in English, for the README.
void LanguageTest::screenshots() {
    const QString out = qEnvironmentVariable("ORB_SCREENSHOT_DIR");
    if (out.isEmpty()) QSKIP("ORB_SCREENSHOT_DIR not set");
    QVERIFY(translators_.Install(UiLanguage::kEnglish));
    CMainFrame f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Document().EditRecords([](std::vector<SurveyRecord>& r) { r = test::MakeRecords(6); });
    f.Document().SetModified(false);
    test::WhenModal(
        [out](QWidget* w) {
            auto* dlg = qobject_cast<CGeoRefDlg*>(w);
            dlg->latitudeEdit()->setText(QStringLiteral("30°39'25\"N"));
            dlg->longitudeEdit()->setText(QStringLiteral("104°04'00\"E"));
            dlg->heightEdit()->setText(QStringLiteral("500"));
            dlg->dateEdit()->setDate(QDate(2026, 3, 15));
            dlg->projectionBox()->setCurrentIndex(1);
            QTest::qWait(200);
            QVERIFY(dlg->grab().save(out + QStringLiteral("/geo_ref_dlg-en.png")));
            dlg->reject();
        },
        5000, "orb::CGeoRefDlg");
    f.Action(cmd::kGeoReference)->trigger();
}

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
