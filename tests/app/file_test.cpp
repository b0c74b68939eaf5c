// File commands through the real file dialogs: save and open round trip,
// the default suffix, the extension rule, overwrite confirmation, damaged
// files, the save question, New, recent files and the command line.
#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "app/command_ids.h"
#include "app/command_line.h"
#include "app/main_frame.h"
#include "app/orb_app.h"
#include "app_test_support.h"
#include "document/tlm_file.h"

using namespace orb;

namespace {

void FillSurvey(CMainFrame& f, std::size_t n) {
    f.Document().EditRecords([n](std::vector<SurveyRecord>& r) { r = test::MakeRecords(n); });
    f.Document().SetTeamNumber(u"70158钻井队");
    f.Document().SetWellNumber(u"西页1-2H");
    f.Document().SetProbeNumber(u"TL-0417");
    f.Document().AppendMark(SyncRecord{1, 1, 45000.5, 0});
    f.Document().SetTiming(SurveyTiming{5, 30});
    f.TableModel().ReloadTable();
}

// Chooses `path` in the next file dialog; `answerOverwrite` answers the
// dialog's own overwrite question (0 = none expected).
void ChooseFile(const QString& path, QMessageBox::StandardButton answerOverwrite = QMessageBox::NoButton) {
    test::WhenModal(
        [path, answerOverwrite](QWidget* w) {
            auto* dlg = qobject_cast<QFileDialog*>(w);
            QVERIFY(dlg);
            QCOMPARE(dlg->nameFilters(), QStringList({"TLM文件 (*.TLM)", "所有文件 (*.*)"}));
            QCOMPARE(dlg->defaultSuffix(), QStringLiteral("TLM"));
            // Any box the dialog shows is answered, so a surprise cannot hang the test.
            test::WhenModal(
                [answerOverwrite](QWidget* box) {
                    auto* mb = qobject_cast<QMessageBox*>(box);
                    QVERIFY(mb);
                    const QString text = mb->text();
                    if (answerOverwrite == QMessageBox::NoButton)
                        mb->reject();
                    else
                        mb->button(answerOverwrite)->click();
                    QVERIFY2(answerOverwrite != QMessageBox::NoButton, qPrintable(text));
                },
                5000, "QMessageBox", dlg);
            // The dialog prefers a file selected in its list over the typed
            // name, and it selects the preset name only once its folder has
            // loaded in the background. Clear that selection and type the
            // name, as an operator would, so the outcome does not depend on
            // when the folder finished loading.
            for (auto* view : dlg->findChildren<QAbstractItemView*>()) view->clearSelection();
            auto* name = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(path);
            static_cast<QDialog*>(dlg)->accept();
            if (dlg->isVisible()) dlg->reject();  // the overwrite was declined
        },
        5000, "QFileDialog");
}

// Answers the next message box with the button whose text is `button`;
// stores the box's text and title.
void AnswerMessage(const QString& button, QString* text = nullptr, QString* title = nullptr) {
    test::WhenModal(
        [=](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            if (text) *text = box->text();
            if (title) *title = box->windowTitle();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == button) return b->click();
            QFAIL(qPrintable(QStringLiteral("no button ") + button));
        },
        5000, "QMessageBox");
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class FileTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::PrepareApplication(); }
    void init() { settings_ = test::UseTemporarySettings(); }

    void saveAndOpenRoundTripThroughTheDialogs();
    void extensionRuleRefusesOtherNames();
    void overwriteNeedsConfirmation();
    void damagedFileKeepsTheSurvey();
    void saveQuestionAfterAChange();
    void closingAsksAndCanSave();
    void newGivesAnEmptyDocument();
    void recentFilesKeepFourEntries();
    void commandLineFileOpensAtStartUp();
    void commandLineKnowsEveryOption();

private:
    std::unique_ptr<QTemporaryDir> settings_;
    QTemporaryDir files_;
};

void FileTest::saveAndOpenRoundTripThroughTheDialogs() {
    const QString base = files_.filePath("roundtrip");
    std::vector<SurveyRecord> saved;
    {
        CMainFrame f;
        FillSurvey(f, 12);
        saved = f.Document().records();
        ChooseFile(base);  // no extension: the dialog adds TLM
        f.Action(cmd::kFileSave)->trigger();
        QVERIFY(QFile::exists(base + ".TLM"));
        QVERIFY(!f.Document().IsModified());
        QCOMPARE(f.windowTitle(), QString::fromUtf8(kProductCaption));
        // Save As asks again, also for a document that has a name.
        ChooseFile(files_.filePath("copy.tlm"));
        f.Action(cmd::kFileSaveAs)->trigger();
        QCOMPARE(ReadAll(files_.filePath("copy.tlm")), ReadAll(base + ".TLM"));
    }
    CMainFrame g;
    g.wellInfo().magneticDeclination = -3.5f;
    ChooseFile(base + ".TLM");
    g.Action(cmd::kFileOpen)->trigger();
    QCOMPARE(g.Document().RecordCount(), std::size_t(12));
    QCOMPARE(std::memcmp(g.Document().records().data(), saved.data(), saved.size() * sizeof(SurveyRecord)),
             0);
    QCOMPARE(g.Document().MarkCount(), std::size_t(1));
    QVERIFY(g.Document().teamNumber() == u"70158钻井队");
    QVERIFY(g.Document().probeNumber() == u"TL-0417");
    QCOMPARE(g.Document().timing(), (SurveyTiming{5, 30}));
    QVERIFY(!g.Document().IsModified());
    // The table shows the file with its timing; the well dialog its numbers.
    QCOMPARE(g.TableModel().RowCount(), std::size_t(12));
    QCOMPARE(QString::fromStdString(g.TableModel().CellText(1, 2)), QStringLiteral("00:05:30"));
    QVERIFY(g.wellInfo().wellNumber == u"西页1-2H");
    QCOMPARE(g.wellInfo().magneticDeclination, -3.5f);
    QCOMPARE(g.windowTitle(), QString::fromUtf8(kProductCaption));
}

void FileTest::extensionRuleRefusesOtherNames() {
    CMainFrame f;
    FillSurvey(f, 3);
    for (const char* name : {"mixed.Tlm", "longer.TLM2"}) {
        ChooseFile(files_.filePath(name));
        f.Action(cmd::kFileSave)->trigger();
        QVERIFY(!QFile::exists(files_.filePath(name)));
    }
    QVERIFY(f.Document().IsModified());

    // A valid survey under a refused name is not opened.
    CMainFrame g;
    QFile::copy(files_.filePath("roundtrip.TLM"), files_.filePath("other.Tlm"));
    ChooseFile(files_.filePath("other.Tlm"));
    g.Action(cmd::kFileOpen)->trigger();
    QCOMPARE(g.Document().RecordCount(), std::size_t(0));
    f.Document().SetModified(false);
}

void FileTest::overwriteNeedsConfirmation() {
    const QString path = files_.filePath("existing.TLM");
    {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("old");
    }
    CMainFrame f;
    FillSurvey(f, 4);
    ChooseFile(path, QMessageBox::No);
    f.Action(cmd::kFileSave)->trigger();
    QCOMPARE(ReadAll(path), QByteArray("old"));
    QVERIFY(f.Document().IsModified());
    ChooseFile(path, QMessageBox::Yes);
    f.Action(cmd::kFileSave)->trigger();
    QCOMPARE(ReadAll(path).left(5), QByteArray("KVORB"));
    QVERIFY(!f.Document().IsModified());
}

void FileTest::damagedFileKeepsTheSurvey() {
    const QString bad = files_.filePath("bad.TLM");
    {
        QFile out(bad);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("NOTORB and more bytes");
    }
    CMainFrame f;
    FillSurvey(f, 5);
    f.Document().SetModified(false);
    QString text, title;
    ChooseFile(bad);
    AnswerMessage(QStringLiteral("OK"), &text, &title);
    f.Action(cmd::kFileOpen)->trigger();
    QCOMPARE(text, QStringLiteral("数据格式不匹配，请重新选择"));
    QCOMPARE(title, QStringLiteral("警告"));
    QCOMPARE(f.Document().RecordCount(), std::size_t(5));
    QCOMPARE(f.Document().timing().sampleIntervalSeconds, int16_t(30));

    // A truncated survey is refused as a whole as well.
    const QByteArray good = ReadAll(files_.filePath("roundtrip.TLM"));
    QVERIFY(!good.isEmpty());
    QFile cut(files_.filePath("cut.TLM"));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(good.left(good.size() - 50));
    cut.close();
    ChooseFile(cut.fileName());
    AnswerMessage(QStringLiteral("OK"), &text);
    f.Action(cmd::kFileOpen)->trigger();
    QVERIFY(!text.isEmpty());
    QCOMPARE(f.Document().RecordCount(), std::size_t(5));
}

void FileTest::saveQuestionAfterAChange() {
    CMainFrame f;
    FillSurvey(f, 5);
    f.Document().SetModified(false);
    f.Action(cmd::kSelectAll)->trigger();  // a selection change marks the survey modified
    QVERIFY(f.Document().IsModified());

    QString text;
    AnswerMessage(QStringLiteral("取消"), &text);
    f.Action(cmd::kFileNew)->trigger();
    QCOMPARE(text, QString::fromUtf8(kSaveQuestion));
    QCOMPARE(f.Document().RecordCount(), std::size_t(5));

    // Open asks first; cancelling shows no file dialog.
    AnswerMessage(QStringLiteral("取消"));
    f.Action(cmd::kFileOpen)->trigger();
    QCOMPARE(f.Document().RecordCount(), std::size_t(5));

    // Discarding asks once, then the chosen file opens.
    AnswerMessage(QStringLiteral("不保存(&N)"));
    ChooseFile(files_.filePath("roundtrip.TLM"));
    f.Action(cmd::kFileOpen)->trigger();
    QCOMPARE(f.Document().RecordCount(), std::size_t(12));
    QVERIFY(!f.Document().IsModified());

    f.Action(cmd::kSelectNone)->trigger();
    AnswerMessage(QStringLiteral("不保存(&N)"));
    f.Action(cmd::kFileNew)->trigger();
    QCOMPARE(f.Document().RecordCount(), std::size_t(0));
    QVERIFY(!f.Document().IsModified());
}

void FileTest::closingAsksAndCanSave() {
    CMainFrame f;
    f.show();
    FillSurvey(f, 3);
    AnswerMessage(QStringLiteral("取消"));
    QVERIFY(!f.close());
    QVERIFY(f.isVisible());
    const QString path = files_.filePath("onexit.TLM");
    test::WhenModal([path](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box);
        ChooseFile(path);  // the file dialog follows the answer
        for (QAbstractButton* b : box->buttons())
            if (b->text() == QStringLiteral("保存(&S)")) b->click();
    });
    QVERIFY(f.close());
    QVERIFY(QFile::exists(path));
    // An unmodified survey closes without a question.
    CMainFrame g;
    g.show();
    QVERIFY(g.close());
}

void FileTest::newGivesAnEmptyDocument() {
    CMainFrame f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    FillSurvey(f, 6);
    f.Document().SetModified(false);
    f.Action(cmd::kShowSelected)->trigger();
    QTest::keyClick(&f, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(f.Document().RecordCount(), std::size_t(0));
    QCOMPARE(f.Document().MarkCount(), std::size_t(0));
    QVERIFY(f.Document().teamNumber().empty());
    QVERIFY(f.Document().probeNumber().empty());
    QCOMPARE(f.TableModel().RowCount(), std::size_t(0));
    QVERIFY(f.TableModel().showAll());
    QVERIFY(f.DocumentPathName().isEmpty());
    QVERIFY(f.wellInfo().teamNumber.empty());
    // The untitled name is the document's, not the caption's.
    QCOMPARE(f.DocumentTitle(), QStringLiteral("无标题"));
    QCOMPARE(f.windowTitle(), QString::fromUtf8(kProductCaption));
}

void FileTest::recentFilesKeepFourEntries() {
    CMainFrame f;
    FillSurvey(f, 2);
    QStringList names;
    for (int i = 0; i < 5; ++i) {
        names.prepend(files_.filePath(QStringLiteral("recent%1.TLM").arg(i)));
        QVERIFY(f.SaveDocumentFile(names.first()));
    }
    QCOMPARE(f.RecentFiles(), names.mid(0, 4));
    QVERIFY(f.Action(cmd::kFileMru1)->text().startsWith(QStringLiteral("&1 ")));
    QVERIFY(f.Action(cmd::kFileMru1)->text().endsWith(QStringLiteral("recent4.TLM")));
    QVERIFY(f.Action(cmd::kFileMruLast)->isVisible());

    CMainFrame g;  // the list survives a restart and opens its files
    QCOMPARE(g.RecentFiles(), names.mid(0, 4));
    g.Action(cmd::kFileMru1 + 1)->trigger();
    QCOMPARE(g.Document().RecordCount(), std::size_t(2));
    QCOMPARE(g.RecentFiles().first(), names[1]);

    // A recent file that has gone is reported and dropped from the list.
    QFile::remove(names[2]);
    AnswerMessage(QStringLiteral("OK"));
    QVERIFY(!g.OpenDocumentFile(names[2]));
    QVERIFY(!g.RecentFiles().contains(names[2]));

    // One deleted while Orb was closed is not offered at all.
    QFile::remove(names[3]);
    CMainFrame h;
    QVERIFY(!h.RecentFiles().contains(names[3]));
    QCOMPARE(h.RecentFiles().size(), qsizetype(2));
}

void FileTest::commandLineFileOpensAtStartUp() {
    COrbApp app;
    QVERIFY(app.InitInstance(ParseCommandLine({"orb", files_.filePath("roundtrip.TLM")})));
    QCOMPARE(app.mainFrame()->Document().RecordCount(), std::size_t(12));
    QVERIFY(app.mainFrame()->isVisible());
    // Qt's own texts read Chinese.
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
    QCOMPARE(box.button(QDialogButtonBox::Yes)->text().left(1), QStringLiteral("是"));
    QCOMPARE(app.ExitInstance(0), 0);
}

QTEST_MAIN(FileTest)
void FileTest::commandLineKnowsEveryOption() {
    const QString help = CommandLineHelpText();
    for (const char* option : {"--port", "--simulate", "--screenshot", "--help", "--version"})
        QVERIFY2(help.contains(QLatin1String(option)), option);

    struct Case {
        QStringList args;
        QString file, scenario, port;
        bool simulate;
    };
    const Case cases[] = {
        {{"orb"}, {}, {}, {}, false},
        {{"orb", "a.TLM"}, "a.TLM", {}, {}, false},
        {{"orb", "--simulate"}, {}, {}, {}, true},
        {{"orb", "--simulate", "well.json", "a.TLM"}, "a.TLM", "well.json", {}, true},
        {{"orb", "--port", "/dev/ttyUSB0", "a.TLM"}, "a.TLM", {}, "/dev/ttyUSB0", false},
        {{"orb", "--port=/dev/ttyS1"}, {}, {}, "/dev/ttyS1", false},
        // Without --simulate a .json argument is a file like any other.
        {{"orb", "x.json"}, "x.json", {}, {}, false},
    };
    for (const Case& c : cases) {
        const CommandLine cl = ParseCommandLine(c.args);
        QCOMPARE(cl.file, c.file);
        QCOMPARE(cl.scenario, c.scenario);
        QCOMPARE(cl.port, c.port);
        QCOMPARE(cl.simulate, c.simulate);
    }
}

#include "file_test.moc"
