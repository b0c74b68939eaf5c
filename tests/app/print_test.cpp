// Printing through the window: the print mode dialog and the mode it keeps,
// the single-point warning, the preview's pages, and printed PDF files whose
// page count follows the report.
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/print_set_dlg.h"
#include "app/quality_settings.h"
#include "app_test_support.h"
#include "report/report_layout.h"

using namespace orb;

namespace {

void FillSurvey(CMainFrame& f, std::size_t n) {
    f.Document().EditRecords([n](std::vector<SurveyRecord>& r) { r = test::MakeRecords(n); });
    f.Document().SetModified(false);
    f.TableModel().ReloadTable();
}

void SelectOnly(CMainFrame& f, std::size_t index) {
    f.Document().EditRecords([index](std::vector<SurveyRecord>& r) {
        for (std::size_t i = 0; i < r.size(); ++i) r[i].selected = i == index ? 1 : 0;
    });
    f.TableModel().ReloadTable();
}

// What a print command showed after the mode dialog: the first modal widget's
// class, a message box's text and title, the preview's page count.
struct Seen {
    QStringList modals;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int previewPages = -1;
    bool modeChecks[2] = {false, false};
};

void CloseFollowing(Seen* seen);

// Answers the mode dialog: remembers which radio was checked, picks `mode`
// (or cancels when `accept` is false), then, with `follow`, handles the
// modal widgets that follow.
void AnswerMode(PrintMode mode, bool accept, Seen* seen, bool follow = true) {
    test::WhenModal(
        [=](QWidget* w) {
            auto* dlg = qobject_cast<CPrintSetDlg*>(w);
            QVERIFY(dlg);
            seen->modeChecks[0] = dlg->multiPointRadio()->isChecked();
            seen->modeChecks[1] = dlg->singlePointRadio()->isChecked();
            (mode == PrintMode::SinglePoint ? dlg->singlePointRadio() : dlg->multiPointRadio())->click();
            if (follow) CloseFollowing(seen);
            accept ? dlg->accept() : dlg->reject();
        },
        5000, "orb::CPrintSetDlg");
}

// Records and closes the modal widgets that follow the mode dialog: a
// message box, then the preview (with its page count) or the print dialog.
void CloseFollowing(Seen* seen) {
    test::WhenModal([seen](QWidget* w) {
        seen->modals.append(QString::fromLatin1(w->metaObject()->className()));
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            seen->text = box->text();
            seen->title = box->windowTitle();
            seen->icon = box->icon();
            CloseFollowing(seen);
            box->accept();
            return;
        }
        if (auto* preview = qobject_cast<QPrintPreviewDialog*>(w)) {
            auto* widget = preview->findChild<QPrintPreviewWidget*>();
            QVERIFY(widget);
            QTRY_VERIFY(widget->pageCount() > 0);
            seen->previewPages = widget->pageCount();
        }
        qobject_cast<QDialog*>(w)->reject();
    });
}

int PdfPageCount(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(QString::fromLatin1(f.readAll()).count(page));
}

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::PrepareApplication(); }
    void init() { settings_ = test::UseTemporarySettings(); }

    void modeDialogKeepsTheChoiceAndCancelKeepsTheOldOne();
    void singlePointWarnsOnlyWhenSeveralAreSelected();
    void previewShowsEveryPage();
    void directPrintToAPdfFollowsTheReport();
    void printDialogPrintsTheChosenPages();
    void directPrintWithoutAPrinterSaysSo();

private:
    std::unique_ptr<QTemporaryDir> settings_;
    QTemporaryDir files_;
};

void PrintTest::modeDialogKeepsTheChoiceAndCancelKeepsTheOldOne() {
    CMainFrame f;
    FillSurvey(f, 100);
    QCOMPARE(f.printSetDlg().windowTitle(), QStringLiteral("打印方式设置"));
    Seen first;
    AnswerMode(PrintMode::SinglePoint, true, &first);
    f.Action(cmd::kFilePrintPreview)->trigger();
    QVERIFY(first.modeChecks[0] && !first.modeChecks[1]);  // multi-point at first
    QCOMPARE(f.printSetDlg().mode(), PrintMode::SinglePoint);
    QCOMPARE(first.previewPages, 1);

    // Cancel keeps single-point, and the preview still follows.
    Seen second;
    AnswerMode(PrintMode::MultiPoint, false, &second);
    f.Action(cmd::kFilePrintPreview)->trigger();
    QVERIFY(!second.modeChecks[0] && second.modeChecks[1]);
    QCOMPARE(f.printSetDlg().mode(), PrintMode::SinglePoint);
    QCOMPARE(second.modals.value(0), QStringLiteral("QPrintPreviewDialog"));
    QCOMPARE(second.previewPages, 1);
}

void PrintTest::singlePointWarnsOnlyWhenSeveralAreSelected() {
    CMainFrame f;
    FillSurvey(f, 10);  // records 0, 3, 6 and 9 are selected
    Seen several;
    AnswerMode(PrintMode::SinglePoint, true, &several);
    f.Action(cmd::kFilePrintPreview)->trigger();
    QCOMPARE(several.modals, QStringList({"QMessageBox", "QPrintPreviewDialog"}));
    QCOMPARE(several.text, QStringLiteral("只能选择一组数据！"));
    QCOMPARE(several.title, QStringLiteral("警告"));
    QCOMPARE(several.icon, QMessageBox::Warning);
    QCOMPARE(several.previewPages, 1);  // printing goes on

    SelectOnly(f, 4);
    Seen one;
    AnswerMode(PrintMode::SinglePoint, true, &one);
    f.Action(cmd::kFilePrintPreview)->trigger();
    QCOMPARE(one.modals, QStringList({"QPrintPreviewDialog"}));

    // Multi-point never warns.
    FillSurvey(f, 10);
    Seen multi;
    AnswerMode(PrintMode::MultiPoint, true, &multi);
    f.Action(cmd::kFilePrintPreview)->trigger();
    QCOMPARE(multi.modals, QStringList({"QPrintPreviewDialog"}));
}

void PrintTest::previewShowsEveryPage() {
    CMainFrame f;
    for (std::size_t n : {0, 42, 43, 100}) {
        FillSurvey(f, n);
        Seen seen;
        AnswerMode(PrintMode::MultiPoint, true, &seen);
        f.Action(cmd::kFilePrintPreview)->trigger();
        // No record still gives the frame page.
        QCOMPARE(seen.previewPages, n == 0 ? 1 : int((n + 41) / 42));
    }
    // Only the selected records: 34 of 100.
    f.Action(cmd::kShowSelected)->trigger();
    Seen selected;
    AnswerMode(PrintMode::MultiPoint, true, &selected);
    f.Action(cmd::kFilePrintPreview)->trigger();
    QCOMPARE(selected.previewPages, 1);
    // The trajectory page, when asked for, comes last.
    SetTrajectoryPageWanted(true);
    Seen withTrajectory;
    AnswerMode(PrintMode::MultiPoint, true, &withTrajectory);
    f.Action(cmd::kFilePrintPreview)->trigger();
    QCOMPARE(withTrajectory.previewPages, 2);
}

void PrintTest::directPrintToAPdfFollowsTheReport() {
    CMainFrame f;
    FillSurvey(f, 100);
    SelectOnly(f, 4);  // no warning box in single-point mode
    const QString pdf = files_.filePath("direct.pdf");
    f.printer().setOutputFormat(QPrinter::PdfFormat);
    f.printer().setOutputFileName(pdf);
    for (PrintMode mode : {PrintMode::MultiPoint, PrintMode::SinglePoint}) {
        QFile::remove(pdf);
        Seen seen;
        AnswerMode(mode, true, &seen, false);
        f.Action(cmd::kFilePrintDirect)->trigger();
        const ReportInput in = MakeReportInput(f.Document(), f.TableModel(), mode, {});
        QCOMPARE(PdfPageCount(pdf), ReportPageCount(in));
    }
    QCOMPARE(PdfPageCount(pdf), 1);
}

void PrintTest::printDialogPrintsTheChosenPages() {
    CMainFrame f;
    FillSurvey(f, 130);  // four pages
    const QString pdf = files_.filePath("dialog.pdf");
    f.printer().setOutputFormat(QPrinter::PdfFormat);
    f.printer().setOutputFileName(pdf);
    f.printer().setPrintRange(QPrinter::PageRange);
    f.printer().setFromTo(2, 3);
    test::WhenModal([](QWidget* w) { QMetaObject::invokeMethod(w, "accept"); }, 5000, "orb::CPrintSetDlg");
    int maxPage = 0;
    test::WhenModal(
        [&maxPage](QWidget* w) {
            auto* dlg = qobject_cast<QPrintDialog*>(w);
            QVERIFY(dlg);
            maxPage = dlg->maxPage();
            dlg->accept();
        },
        5000, "QPrintDialog");
    f.Action(cmd::kFilePrint)->trigger();
    QCOMPARE(maxPage, 4);
    QCOMPARE(PdfPageCount(pdf), 2);
}

void PrintTest::directPrintWithoutAPrinterSaysSo() {
    if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("this machine has a printer");
    CMainFrame f;
    FillSurvey(f, 5);
    if (f.printer().outputFormat() == QPrinter::PdfFormat) f.printer().setOutputFileName({});
    Seen seen;
    CloseFollowing(&seen);
    f.Action(cmd::kFilePrintDirect)->trigger();
    QCOMPARE(seen.modals, QStringList({"QMessageBox"}));
    QVERIFY2(seen.text.contains(QStringLiteral("没有可用的打印机")), qPrintable(seen.text));
}

QTEST_MAIN(PrintTest)
#include "print_test.moc"
