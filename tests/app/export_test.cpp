// The TXT format dialog (lists, buttons, clicks, separator, caption line and
// its file) and the TXT and Excel exports through the menu and the real
// file dialogs.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/print_set_dlg.h"
#include "app/txt_set_dlg.h"
#include "app_test_support.h"
#include "report/txt_export.h"
#include "report/txt_export_format.h"
#include "report/xls_file.h"

using namespace orb;

namespace {

QStringList Texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out.append(list->item(i)->text());
    return out;
}

int SelectedRow(const QListWidget* list) {
    const auto rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QPoint RowCentre(QListWidget* list, int row) {
    return list->visualItemRect(list->item(row)).center();
}

void Click(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, row));
}

void DoubleClick(QListWidget* list, int row) {
    const QPoint at = RowCentre(list, row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void Press(CTxtSetDlg& dlg, int controlId) {
    QPushButton* b = dlg.button(controlId);
    QVERIFY(b);
    b->click();
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void FillSurvey(CMainFrame& f, std::size_t n) {
    f.Document().EditRecords([n](std::vector<SurveyRecord>& r) { r = test::MakeRecords(n); });
    f.Document().SetModified(false);
    f.Document().SetTiming(SurveyTiming{5, 30});
    f.TableModel().ReloadTable();
}

// Types `path` into the next file dialog, which must offer `filters`.
void ChooseFile(const QString& path, const QStringList& filters) {
    test::WhenModal(
        [path, filters](QWidget* w) {
            auto* dlg = qobject_cast<QFileDialog*>(w);
            QVERIFY(dlg);
            QCOMPARE(dlg->nameFilters(), filters);
            for (auto* view : dlg->findChildren<QAbstractItemView*>()) view->clearSelection();
            auto* name = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(path);
            static_cast<QDialog*>(dlg)->accept();
            if (dlg->isVisible()) dlg->reject();
        },
        5000, "QFileDialog");
}

struct Box {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool seen = false;
};

// Closes the next message box and records it.
void AnswerBox(Box* box, int timeoutMs = 5000) {
    test::WhenModal(
        [box](QWidget* w) {
            auto* mb = qobject_cast<QMessageBox*>(w);
            QVERIFY(mb);
            box->seen = true;
            box->text = mb->text();
            box->title = mb->windowTitle();
            box->icon = mb->icon();
            mb->accept();
        },
        timeoutMs, "QMessageBox");
}

// Confirms the next format dialog as it stands.
void ConfirmFormatDialog() {
    test::WhenModal([](QWidget* w) { QMetaObject::invokeMethod(w, "accept"); }, 5000, "orb::CTxtSetDlg");
}

// Counts the dialogs of a class that are shown while it lives, and closes
// them, so that a dialog that should not appear cannot hang the test.
class ShowSpy : public QObject {
public:
    explicit ShowSpy(const char* className) : className_(className) { qApp->installEventFilter(this); }
    ~ShowSpy() override { qApp->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->inherits(className_)) {
            ++count;
            QTimer::singleShot(0, watched, [watched] { static_cast<QDialog*>(watched)->reject(); });
        }
        return false;
    }

private:
    const char* className_;
};

const QStringList kTxtFilters{"txt文件 (*.txt)", "所有文件 (*.*)"};
const QStringList kExcelFilters{"Microsoft Office Excel 工作表(*.xls)",
                                "Microsoft Office Excel 工作簿(*.xlsx)"};

}  // namespace

class ExportTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::PrepareApplication(); }
    void init();

    void formatDialogListsFollowClicksAndButtons();
    void formatDialogKeepsItsChoicesInTheFile();
    void damagedFormatFileGivesTheDefaults();
    void formatSaveFailureKeepsTheDialogOpen();
    void textExportThroughTheMenuWritesTheTable();
    void excelExportThroughTheMenuWritesAWorkbook();
    void exportIntoAMissingFolderFailsAndWritesNothing();
    void exportDialogsStartInTheSurveysFolder();
    void screenshots();

private:
    std::unique_ptr<QTemporaryDir> settings_;
    std::unique_ptr<QTemporaryDir> config_;
    QTemporaryDir files_;
};

void ExportTest::init() {
    settings_ = test::UseTemporarySettings();
    config_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_->path()));
}

void ExportTest::formatDialogListsFollowClicksAndButtons() {
    CTxtSetDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QListWidget* avail = dlg.availableList();
    QListWidget* chosen = dlg.chosenList();
    QCOMPARE(avail->count(), 22);
    QCOMPARE(avail->item(0)->text(), QStringLiteral("序号"));
    QCOMPARE(avail->item(21)->text(), QStringLiteral("Mz"));
    QCOMPARE(chosen->count(), 0);
    QVERIFY(dlg.spaceRadio()->isChecked() && !dlg.commaRadio()->isChecked());
    QVERIFY(dlg.captionCheck()->isChecked());

    Press(dlg, 1034);  // nothing selected: Add does nothing
    QCOMPARE(chosen->count(), 0);
    Click(avail, 3);
    Press(dlg, 1034);
    QCOMPARE(Texts(chosen), QStringList({"井斜"}));
    // The selection stays on the row that followed the moved one.
    QCOMPARE(avail->item(3)->text(), QStringLiteral("磁方位"));
    QCOMPARE(SelectedRow(avail), 3);
    QCOMPARE(avail->focusWidget(), avail);
    Press(dlg, 1034);
    DoubleClick(avail, 0);
    QCOMPARE(Texts(chosen), QStringList({"井斜", "磁方位", "序号"}));

    // A click in the chosen list clears the other selection: Add does nothing.
    Click(chosen, 2);
    QCOMPARE(SelectedRow(avail), -1);
    Press(dlg, 1034);
    QCOMPARE(chosen->count(), 3);
    Press(dlg, 1035);
    Press(dlg, 1035);
    QCOMPARE(Texts(chosen), QStringList({"序号", "井斜", "磁方位"}));
    QCOMPARE(SelectedRow(chosen), 0);
    Press(dlg, 1035);  // first row: no change
    QCOMPARE(Texts(chosen), QStringList({"序号", "井斜", "磁方位"}));
    Press(dlg, 1038);
    QCOMPARE(Texts(chosen), QStringList({"井斜", "序号", "磁方位"}));
    Click(chosen, 2);
    Press(dlg, 1038);  // last row: no change
    QCOMPARE(Texts(chosen), QStringList({"井斜", "序号", "磁方位"}));
    QVERIFY(dlg.editor().chosen() == std::vector<int>({3, 0, 4}));

    // Delete puts the column back in index order and selects the next row.
    Click(chosen, 1);
    Press(dlg, 1036);
    QCOMPARE(Texts(chosen), QStringList({"井斜", "磁方位"}));
    QCOMPARE(avail->item(0)->text(), QStringLiteral("序号"));
    QCOMPARE(SelectedRow(chosen), 1);
    DoubleClick(chosen, 0);
    QCOMPARE(Texts(chosen), QStringList({"磁方位"}));
    QCOMPARE(Texts(avail).mid(0, 5), QStringList({"序号", "相对时间", "测深", "井斜", "重力工具面"}));
    // A click beside the rows selects nothing.
    Click(chosen, 0);
    QTest::mouseClick(chosen->viewport(), Qt::LeftButton, {}, QPoint(5, chosen->viewport()->height() - 2));
    QCOMPARE(dlg.editor().chosenSel(), -1);
    QCOMPARE(SelectedRow(chosen), -1);

    // The separator pair is one exclusive choice.
    dlg.commaRadio()->click();
    QVERIFY(!dlg.spaceRadio()->isChecked());
    dlg.spaceRadio()->click();
    QVERIFY(!dlg.commaRadio()->isChecked());
    dlg.reject();
}

void ExportTest::formatDialogKeepsItsChoicesInTheFile() {
    const std::string path = TxtExportFormatPath();
    {
        CTxtSetDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        DoubleClick(dlg.availableList(), 13);  // 真方位
        DoubleClick(dlg.availableList(), 2);   // 测深
        dlg.commaRadio()->click();
        dlg.captionCheck()->click();
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }
    QCOMPARE(QFileInfo(QString::fromStdString(path)).size(), qint64(100));
    TxtExportFormat stored = LoadTxtExportFormat(path);
    QCOMPARE(stored.separator, 0);
    QCOMPARE(stored.writeCaptions, 0);
    QVERIFY(stored.Chosen() == std::vector<int>({13, 2}));

    // Opening again reloads the file, so a cancelled edit is forgotten.
    CTxtSetDlg dlg;
    for (bool cancelEdit : {true, false}) {
        QStringList chosen;
        bool comma = false, captions = true;
        test::WhenModal([&, cancelEdit](QWidget* w) {
            auto* d = qobject_cast<CTxtSetDlg*>(w);
            QVERIFY(d);
            chosen = Texts(d->chosenList());
            comma = d->commaRadio()->isChecked();
            captions = d->captionCheck()->isChecked();
            if (cancelEdit) {
                DoubleClick(d->chosenList(), 0);
                d->spaceRadio()->click();
                d->reject();
            } else {
                d->accept();
            }
        });
        QCOMPARE(dlg.exec(), cancelEdit ? int(QDialog::Rejected) : int(QDialog::Accepted));
        QCOMPARE(chosen, QStringList({"真方位", "测深"}));
        QVERIFY(comma);
        QVERIFY(!captions);
    }
    QVERIFY(LoadTxtExportFormat(path) == stored);
}

void ExportTest::damagedFormatFileGivesTheDefaults() {
    const QString path = QString::fromStdString(TxtExportFormatPath());
    QDir().mkpath(QFileInfo(path).absolutePath());
    TxtExportFormat repeated;
    repeated.columns[0] = repeated.columns[1] = 4;
    repeated.count = 2;
    for (const std::string& bytes : {std::string("short"), EncodeExpFmt(repeated)}) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
        f.close();
        CTxtSetDlg dlg;
        test::WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        dlg.exec();
        QCOMPARE(dlg.availableList()->count(), 22);
        QCOMPARE(dlg.chosenList()->count(), 0);
        QVERIFY(dlg.spaceRadio()->isChecked());
        QVERIFY(dlg.captionCheck()->isChecked());
    }
}

void ExportTest::formatSaveFailureKeepsTheDialogOpen() {
    // A plain file where the folder should be: even root cannot create it.
    const QString blocker = files_.filePath("blocker");
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    CTxtSetDlg dlg(nullptr, (blocker + "/Orb/ExpFmt.ini").toStdString());
    dlg.show();
    Box box;
    AnswerBox(&box);
    dlg.accept();
    QVERIFY(box.seen);
    QVERIFY(!box.text.isEmpty());
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    dlg.reject();
}

// Cancels the next file dialog and returns the folder it started in.
void NoteStartFolder(QString* folder) {
    test::WhenModal(
        [folder](QWidget* w) {
            auto* dlg = qobject_cast<QFileDialog*>(w);
            QVERIFY(dlg);
            *folder = dlg->directory().absolutePath();
            dlg->reject();
        },
        5000, "QFileDialog");
}

void ExportTest::exportDialogsStartInTheSurveysFolder() {
    const QString wellDir = files_.filePath("well 7");
    const QString otherDir = files_.filePath("exports");
    QVERIFY(QDir().mkpath(wellDir) && QDir().mkpath(otherDir));
    CMainFrame f;
    FillSurvey(f, 5);
    QVERIFY(f.SaveDocumentFile(wellDir + "/A.TLM"));

    QString folder;
    NoteStartFolder(&folder);
    f.Action(cmd::kExportExcel)->trigger();
    QCOMPARE(folder, QDir(wellDir).absolutePath());

    // A folder chosen for an export is where the next one starts.
    ChooseFile(otherDir + "/A.xls", kExcelFilters);
    Box box;
    AnswerBox(&box);
    f.Action(cmd::kExportExcel)->trigger();
    QVERIFY(box.seen);
    QVERIFY(QFile::exists(otherDir + "/A.xls"));
    NoteStartFolder(&folder);
    f.Action(cmd::kExportExcel)->trigger();
    QCOMPARE(folder, QDir(otherDir).absolutePath());
}

void ExportTest::textExportThroughTheMenuWritesTheTable() {
    TxtExportFormat format;
    format.columns[0] = 0;
    format.columns[1] = 3;
    format.columns[2] = 4;
    format.columns[3] = 13;
    format.columns[4] = 14;
    format.count = 5;
    QVERIFY(SaveTxtExportFormat(TxtExportFormatPath(), format).ok());

    CMainFrame f;
    FillSurvey(f, 20);
    f.wellInfo().magneticDeclination = -5.5f;
    f.TableModel().ReverseDisplay();  // the file follows the displayed order
    const QString before = f.StatusTextPane()->text();

    const QString path = files_.filePath("Well A.TXT");
    ConfirmFormatDialog();
    ChooseFile(path, kTxtFilters);
    f.Action(cmd::kExportText)->trigger();
    const std::string expected = BuildTxtExport(f.TableModel(), format, -5.5f);
    QCOMPARE(ReadAll(path), QByteArray::fromStdString(expected));
    QVERIFY(!QFile::exists(files_.filePath("well a.txt")));  // the name keeps its case
    QVERIFY(expected.find("序号") == std::string::npos);     // captions are GBK
    QVERIFY(QByteArray::fromStdString(expected).startsWith("\xd0\xf2\xba\xc5 "));
    QCOMPARE(f.StatusTextPane()->text(), before);
    QCOMPARE(f.ProgressBar() ? f.ProgressBar()->value() : 100, 100);

    // A bare name gets .txt; a mixed-case extension writes nothing.
    ConfirmFormatDialog();
    ChooseFile(files_.filePath("bare"), kTxtFilters);
    f.Action(cmd::kExportText)->trigger();
    QVERIFY(QFile::exists(files_.filePath("bare.txt")));
    ConfirmFormatDialog();
    ChooseFile(files_.filePath("mixed.Txt"), kTxtFilters);
    f.Action(cmd::kExportText)->trigger();
    QVERIFY(!QFile::exists(files_.filePath("mixed.Txt")));

    // Cancelling the format dialog ends the command before the file dialog.
    test::WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); }, 5000, "orb::CTxtSetDlg");
    ShowSpy fileDialogs("QFileDialog");
    f.Action(cmd::kExportText)->trigger();
    QCOMPARE(fileDialogs.count, 0);
}

void ExportTest::excelExportThroughTheMenuWritesAWorkbook() {
    CMainFrame f;
    FillSurvey(f, 10);  // records 0, 3, 6 and 9 are checked
    f.wellInfo().magneticDeclination = -5.5f;
    const QString path = files_.filePath("book.xls");
    ChooseFile(path, kExcelFilters);
    Box box;
    AnswerBox(&box);
    f.Action(cmd::kExportExcel)->trigger();
    QVERIFY(box.seen);
    QCOMPARE(box.text, QStringLiteral("导出表格成功"));
    QCOMPARE(box.title, QString());

    const QByteArray bytes = ReadAll(path);
    XlsWorkbook book;
    std::string error;
    QVERIFY2(DecodeXlsFile(std::string_view(bytes.constData(), std::size_t(bytes.size())), book, &error),
             error.c_str());
    const int sheet = book.FindSheet(u"Sheet1");
    QVERIFY(sheet >= 0);
    const XlsSheet& s = book.sheets[std::size_t(sheet)];
    QVERIFY(s.Find(0, 0) && s.Find(0, 0)->text == u"序号");
    QVERIFY(s.Find(4, 0) && !s.Find(5, 0));  // captions and four stations
    QCOMPARE(s.Find(2, 0)->number, 3.0);     // the table's own 序号
    QCOMPARE(s.Find(1, 14)->number, -5.5);   // column O: the declination
    QCOMPARE(s.Find(2, 3)->number, 3.0);     // column D: inclination of record 3

    // The second filter gives a bare name the .xlsx extension.
    test::WhenModal(
        [&](QWidget* w) {
            auto* dlg = qobject_cast<QFileDialog*>(w);
            QVERIFY(dlg);
            dlg->selectNameFilter(kExcelFilters[1]);
            emit dlg->filterSelected(kExcelFilters[1]);
            for (auto* view : dlg->findChildren<QAbstractItemView*>()) view->clearSelection();
            dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(files_.filePath("book2"));
            static_cast<QDialog*>(dlg)->accept();
        },
        5000, "QFileDialog");
    AnswerBox(&box);
    f.Action(cmd::kExportExcel)->trigger();
    QVERIFY(ReadAll(files_.filePath("book2.xlsx")).startsWith("PK\x03\x04"));
}

void ExportTest::exportIntoAMissingFolderFailsAndWritesNothing() {
    CMainFrame f;
    FillSurvey(f, 6);
    const QString dir = files_.filePath("no/such/folder");
    ConfirmFormatDialog();
    ChooseFile(dir + "/out.txt", kTxtFilters);
    Box box;
    AnswerBox(&box);
    f.Action(cmd::kExportText)->trigger();
    QVERIFY(box.seen);
    QVERIFY2(box.text.startsWith(QStringLiteral("无法创建文件")), qPrintable(box.text));

    box = Box{};
    ChooseFile(dir + "/out.xls", kExcelFilters);
    AnswerBox(&box);
    f.Action(cmd::kExportExcel)->trigger();
    QVERIFY(box.seen);
    QCOMPARE(box.text, QStringLiteral("启动Excel服务器失败!"));
    QVERIFY(!QDir(files_.filePath("no")).exists());
    QCOMPARE(f.ProgressBar() ? f.ProgressBar()->value() : 0, 0);
}

// Pictures of the two report dialogs, taken only when ORB_SCREENSHOT_DIR
// names a folder (run under a display server for the real fonts and style).
void ExportTest::screenshots() {
    const QString out = qEnvironmentVariable("ORB_SCREENSHOT_DIR");
    if (out.isEmpty()) QSKIP("ORB_SCREENSHOT_DIR not set");
    CTxtSetDlg txt;
    txt.show();
    QVERIFY(QTest::qWaitForWindowExposed(&txt));
    for (int row : {0, 2, 2, 2}) DoubleClick(txt.availableList(), row);
    Click(txt.availableList(), 4);
    QTest::qWait(300);
    QVERIFY(txt.grab().save(out + QStringLiteral("/txt_set_dialog.png")));
    txt.reject();

    CPrintSetDlg print;
    print.multiPointRadio()->setChecked(true);
    print.show();
    QVERIFY(QTest::qWaitForWindowExposed(&print));
    QTest::qWait(300);
    QVERIFY(print.grab().save(out + QStringLiteral("/print_set_dialog.png")));
    print.reject();
}

QTEST_MAIN(ExportTest)
#include "export_test.moc"
