// The dialogs: number fields that refuse non-numbers and keep the focus,
// the declination range, the corrections they drive, the about box and the
// help window.
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTextBrowser>
#include <QtTest>

#include "app/about_dlg.h"
#include "app/command_ids.h"
#include "app/data_modify_dlg.h"
#include "app/depth_calc_dlg.h"
#include "app/help_window.h"
#include "app/main_frame.h"
#include "app/number_field.h"
#include "app/well_input_dlg.h"
#include "app_test_support.h"

using namespace orb;

namespace {

struct Seen {
    QString text, title;
    QWidget* focus = nullptr;
};

// Fills the dialog's fields, presses OK, records the message box that
// follows (if any) and closes the dialog with `finish` (accept or reject)
// when it is still open.
void Drive(std::function<void(QDialog*)> fill, Seen* seen, bool rejectAfter = true) {
    test::WhenModal([=](QWidget* w) {
        auto* dlg = qobject_cast<QDialog*>(w);
        QVERIFY(dlg);
        fill(dlg);
        test::WhenModal(
            [seen](QWidget* box) {
                auto* mb = qobject_cast<QMessageBox*>(box);
                if (!mb) return;
                seen->text = mb->text();
                seen->title = mb->windowTitle();
                mb->accept();
            },
            300);
        dlg->accept();
        seen->focus = dlg->focusWidget();
        if (dlg->isVisible() && rejectAfter) dlg->reject();
    });
}

void Load(CMainFrame& f, std::size_t n) {
    f.Document().EditRecords([n](std::vector<SurveyRecord>& r) { r = test::MakeRecords(n); });
    f.Document().SetModified(false);
    f.TableModel().ReloadTable();
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::PrepareApplication(); }
    void init() { settings_ = test::UseTemporarySettings(); }

    void numberFieldAcceptsBlanksAroundANumberOnly();
    void wellInfoRefusesNonNumbersAndKeepsFocus();
    void wellInfoDeclinationRange();
    void wellInfoCopiesNumbersIntoTheDocument();
    void depthGenerationFillsSelectedStations();
    void compensationThroughAltShiftS();
    void dialogsKeepTheirValues();
    void aboutAndHelp();

private:
    std::unique_ptr<QTemporaryDir> settings_;
};

void DialogsTest::numberFieldAcceptsBlanksAroundANumberOnly() {
    double v = 0;
    QVERIFY(ParseNumberField(QStringLiteral("  12.5 "), v));
    QCOMPARE(v, 12.5);
    QVERIFY(ParseNumberField(QStringLiteral("-3e2"), v));
    QCOMPARE(v, -300.0);
    for (const char* bad : {"", "  ", "12,5", "1.5x", "abc", "inf", "nan", "1 2"})
        QVERIFY2(!ParseNumberField(QString::fromLatin1(bad), v), bad);
    QCOMPARE(FormatNumberField(0.0), QStringLiteral("0"));
    QCOMPARE(FormatNumberField(30.5f), QStringLiteral("30.5"));
    QCOMPARE(FormatNumberField(0.1f), QStringLiteral("0.1"));
}

void DialogsTest::wellInfoRefusesNonNumbersAndKeepsFocus() {
    CMainFrame f;
    f.show();
    Seen seen;
    Drive(
        [](QDialog* d) {
            static_cast<CWellInputDlg*>(d)->declinationEdit()->setText(QStringLiteral("东5度"));
        },
        &seen);
    f.Action(cmd::kWellInfo)->trigger();
    QCOMPARE(seen.text, QStringLiteral("请输入一个数字。"));
    QCOMPARE(seen.focus, static_cast<QWidget*>(f.wellInputDlg().declinationEdit()));
    QCOMPARE(f.wellInfo().magneticDeclination, 0.0f);

    Drive(
        [](QDialog* d) {
            static_cast<CWellInputDlg*>(d)->declinationEdit()->setText(QStringLiteral(" -4.25  "));
        },
        &(seen = Seen{}));
    f.Action(cmd::kWellInfo)->trigger();
    QVERIFY(seen.text.isEmpty());
    QCOMPARE(f.wellInfo().magneticDeclination, -4.25f);
}

void DialogsTest::wellInfoDeclinationRange() {
    CMainFrame f;
    f.show();
    f.wellInfo().magneticDeclination = 7.0f;
    Seen seen;
    Drive(
        [](QDialog* d) {
            static_cast<CWellInputDlg*>(d)->declinationEdit()->setText(QStringLiteral("360.1"));
        },
        &seen);
    f.Action(cmd::kWellInfo)->trigger();
    QCOMPARE(seen.text, QStringLiteral("请输入一个-360.0到360.0之间的数据"));
    QCOMPARE(seen.title, QStringLiteral("错误"));
    // Refused for its range: the held value is 0 even though the dialog was cancelled.
    QCOMPARE(f.wellInfo().magneticDeclination, 0.0f);
    for (const char* edge : {"360", "-360.0"}) {
        Drive([edge](QDialog* d) { static_cast<CWellInputDlg*>(d)->declinationEdit()->setText(edge); },
              &(seen = Seen{}));
        f.Action(cmd::kWellInfo)->trigger();
        QVERIFY(seen.text.isEmpty());
        QCOMPARE(std::abs(f.wellInfo().magneticDeclination), 360.0f);
    }
}

void DialogsTest::wellInfoCopiesNumbersIntoTheDocument() {
    CMainFrame f;
    f.show();
    Seen seen;
    Drive(
        [](QDialog* d) {
            auto* w = static_cast<CWellInputDlg*>(d);
            QCOMPARE(w->windowTitle(), QStringLiteral("钻井信息输入"));
            QCOMPARE(w->teamEdit()->property("controlId").toInt(), 1024);
            QCOMPARE(w->wellEdit()->property("controlId").toInt(), 1029);
            QCOMPARE(w->declinationEdit()->property("controlId").toInt(), 1028);
            w->teamEdit()->setText(QStringLiteral("70158钻井队"));
            w->wellEdit()->setText(QStringLiteral("西页1-2H"));
        },
        &seen);
    f.Action(cmd::kWellInfo)->trigger();
    QVERIFY(f.Document().teamNumber() == u"70158钻井队");
    QVERIFY(f.Document().wellNumber() == u"西页1-2H");
    QVERIFY(f.Document().IsModified());

    // Cancel leaves the document alone.
    f.Document().SetModified(false);
    test::WhenModal([](QWidget* w) {
        static_cast<CWellInputDlg*>(w)->teamEdit()->setText(QStringLiteral("其他"));
        static_cast<QDialog*>(w)->reject();
    });
    f.Action(cmd::kWellInfo)->trigger();
    QVERIFY(f.Document().teamNumber() == u"70158钻井队");
    QVERIFY(!f.Document().IsModified());
}

void DialogsTest::depthGenerationFillsSelectedStations() {
    CMainFrame f;
    f.show();
    Load(f, 10);  // stations 0, 3, 6, 9
    Seen seen;
    Drive(
        [](QDialog* d) {
            auto* dlg = static_cast<CDepthCalcDlg*>(d);
            QCOMPARE(dlg->windowTitle(), QStringLiteral("自动生成井深"));
            dlg->initialEdit()->setText(QStringLiteral("1000"));
            dlg->segmentEdit()->setText(QStringLiteral("x"));
        },
        &seen);
    f.Action(cmd::kDepthCalc)->trigger();
    QCOMPARE(seen.text, QStringLiteral("请输入一个数字。"));
    QCOMPARE(seen.focus, static_cast<QWidget*>(f.depthCalcDlg().segmentEdit()));
    QCOMPARE(f.Document().Record(3).depth, 30.0f);  // nothing applied

    f.Action(cmd::kReverse)->trigger();  // display order does not matter
    Drive(
        [](QDialog* d) {
            auto* dlg = static_cast<CDepthCalcDlg*>(d);
            dlg->initialEdit()->setText(QStringLiteral("1000"));
            dlg->segmentEdit()->setText(QStringLiteral(" 30 "));
        },
        &(seen = Seen{}));
    f.Action(cmd::kDepthCalc)->trigger();
    QVERIFY(seen.text.isEmpty());
    const float expected[10] = {1000, 0, 0, 970, 0, 0, 940, 0, 0, 910};
    for (std::size_t i = 0; i < 10; ++i) QCOMPARE(f.Document().Record(i).depth, expected[i]);
    QVERIFY(f.Document().IsModified());
    QCOMPARE(QString::fromStdString(f.TableModel().CellText(0, 3)), QStringLiteral("910.00"));
}

void DialogsTest::compensationThroughAltShiftS() {
    CMainFrame f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    Load(f, 4);  // stations 0 and 3
    f.Document().EditRecords([](std::vector<SurveyRecord>& r) {
        r[0].azimuth = 358.0f;
        r[1].azimuth = 358.0f;
        r[3].inclination = 178.0f;
    });
    Seen seen;
    Drive(
        [](QDialog* d) {
            auto* dlg = static_cast<CDataModifyDlg*>(d);
            QCOMPARE(dlg->windowTitle(), QStringLiteral("数据修改"));
            QCOMPARE(dlg->field(0)->property("controlId").toInt(), 1029);
            QCOMPARE(dlg->field(6)->property("controlId").toInt(), 1035);
            dlg->field(0)->setText(QStringLiteral("5"));
            dlg->field(1)->setText(QStringLiteral("5"));
        },
        &seen);
    f.activateWindow();
    QTest::keyClick(&f, Qt::Key_S, Qt::AltModifier | Qt::ShiftModifier);
    QVERIFY(seen.text.isEmpty());
    QCOMPARE(f.Document().Record(0).azimuth, 3.0f);
    QCOMPARE(f.Document().Record(1).azimuth, 358.0f);  // not a station
    QCOMPARE(f.Document().Record(3).inclination, 177.0f);
    QCOMPARE(f.dataModifyDlg().azimuthOffset, 5.0);

    // An empty field is refused.
    Drive([](QDialog* d) { static_cast<CDataModifyDlg*>(d)->field(4)->setText(QString()); },
          &(seen = Seen{}));
    f.Action(cmd::kDataModify)->trigger();
    QCOMPARE(seen.text, QStringLiteral("请输入一个数字。"));
    QCOMPARE(seen.focus, static_cast<QWidget*>(f.dataModifyDlg().field(4)));
    QCOMPARE(f.Document().Record(0).azimuth, 3.0f);
}

void DialogsTest::dialogsKeepTheirValues() {
    CMainFrame f;
    f.show();
    f.depthCalcDlg().initialDepth = 50;
    f.depthCalcDlg().segmentLength = 30;
    QString shown;
    test::WhenModal([&shown](QWidget* w) {
        auto* dlg = static_cast<CDepthCalcDlg*>(w);
        shown = dlg->initialEdit()->text() + "|" + dlg->segmentEdit()->text();
        dlg->reject();
    });
    f.Action(cmd::kDepthCalc)->trigger();
    QCOMPARE(shown, QStringLiteral("50|30"));
}

void DialogsTest::aboutAndHelp() {
    CAboutDlg about;
    QCOMPARE(about.windowTitle(), QStringLiteral("关于TALO"));
    bool found = false;
    for (QLabel* l : about.findChildren<QLabel*>()) found |= l->text() == QStringLiteral("TALO，B4.3 版");
    QVERIFY(found);

    CMainFrame f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.activateWindow();
    QTest::keyClick(&f, Qt::Key_F1);
    QVERIFY(f.helpWindow()->isVisible());
    QVERIFY(f.helpWindow()->browser()->toPlainText().contains(QStringLiteral("井深自动计算")));
    f.helpWindow()->close();
    f.Action(cmd::kHelpFinder)->trigger();
    QVERIFY(f.helpWindow()->isVisible());
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
