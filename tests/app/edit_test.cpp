// The window's edit path: the survey's timing survives device commands and
// the clock dialog and changes only with a probe information reply; the save
// question follows real changes only; undo and redo of every operator edit;
// a download clears the history; copy; and the well's quality references
// applied as soon as a survey is opened.
#include <QAbstractButton>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <functional>

#include "app/command_ids.h"
#include "app/data_modify_dlg.h"
#include "app/depth_calc_dlg.h"
#include "app/device_bridge.h"
#include "app/device_launch.h"
#include "app/edit_commands.h"
#include "app/main_frame.h"
#include "app/orb_view.h"
#include "app/quality_controller.h"
#include "app/quality_settings.h"
#include "app/survey_table_adapter.h"
#include "app/well_input_dlg.h"
#include "app_test_support.h"
#include "document/tlm_file.h"

using namespace orb;

namespace {

// Six records (stations 0 and 3), records 1 and 4 matched by marks, delay 7
// and interval 20, well "W-7".
COrbDoc FixtureSurvey() {
    COrbDoc doc;
    doc.EditRecords([](std::vector<SurveyRecord>& r) {
        r = test::MakeRecords(6);
        r[1].syncMatched = r[4].syncMatched = 1;
        r[2].totalGravity = 1.5f;  // fails the default gravity check
    });
    doc.SetTeamNumber(u"队1");
    doc.SetWellNumber(u"W-7");
    doc.SetProbeNumber(u"TALO0001");
    doc.SetTiming(SurveyTiming{7, 20});
    return doc;
}

QString WriteFixture(const QTemporaryDir& dir, const COrbDoc& doc = FixtureSurvey()) {
    const QString path = dir.filePath(QStringLiteral("fixture.TLM"));
    if (!SaveTlmFile(path.toStdString(), doc).ok()) return {};
    return path;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Records and well texts as bytes: equal images are bit-for-bit equal surveys.
QByteArray Image(const COrbDoc& d) {
    QByteArray b(reinterpret_cast<const char*>(d.records().data()),
                 static_cast<qsizetype>(d.RecordCount() * sizeof(SurveyRecord)));
    b += QString::fromStdU16String(d.teamNumber() + u"|" + d.wellNumber()).toUtf8();
    return b;
}

// Fills the fields of a dialog of class `className` and presses OK when it opens.
void WhenDialog(const char* className, std::function<void(QWidget*)> fill) {
    test::WhenModal(
        [fill](QWidget* w) {
            fill(w);
            QMetaObject::invokeMethod(w, "accept");
        },
        5000, className);
}

QAbstractItemModel* Items(CMainFrame& f) {
    return f.View()->model();
}

struct Edit {
    const char* name;
    std::function<void(CMainFrame&)> run;
};

// Every operator edit, as the operator makes it.
const Edit kEdits[] = {
    {"check box",
     [](CMainFrame& f) { Items(f)->setData(Items(f)->index(1, 0), Qt::Checked, Qt::CheckStateRole); }},
    {"depth",
     [](CMainFrame& f) { Items(f)->setData(Items(f)->index(3, 3), QStringLiteral("1234.5"), Qt::EditRole); }},
    {"select all", [](CMainFrame& f) { f.Action(cmd::kSelectAll)->trigger(); }},
    {"select none", [](CMainFrame& f) { f.Action(cmd::kSelectNone)->trigger(); }},
    {"invert", [](CMainFrame& f) { f.Action(cmd::kSelectInvert)->trigger(); }},
    {"auto selected", [](CMainFrame& f) { f.Action(cmd::kShowAutoSelected)->trigger(); }},
    {"compensation",
     [](CMainFrame& f) {
         WhenDialog("orb::CDataModifyDlg", [](QWidget* w) {
             static_cast<CDataModifyDlg*>(w)->field(1)->setText(QStringLiteral("355"));
         });
         f.Action(cmd::kDataModify)->trigger();
     }},
    {"depth generation",
     [](CMainFrame& f) {
         WhenDialog("orb::CDepthCalcDlg", [](QWidget* w) {
             static_cast<CDepthCalcDlg*>(w)->initialEdit()->setText(QStringLiteral("900"));
             static_cast<CDepthCalcDlg*>(w)->segmentEdit()->setText(QStringLiteral("30"));
         });
         f.Action(cmd::kDepthCalc)->trigger();
     }},
    {"well texts",
     [](CMainFrame& f) {
         WhenDialog("orb::CWellInputDlg", [](QWidget* w) {
             static_cast<CWellInputDlg*>(w)->wellEdit()->setText(QStringLiteral("W-8"));
         });
         f.Action(cmd::kWellInfo)->trigger();
     }},
};

struct DeviceRig : test::SimRig {
    bool Start(const QByteArray& scenarioJson) {
        return SimRig::Start({QStringLiteral("--baud"), QStringLiteral("0")}, scenarioJson,
                             MessageAnswer::kOk);
    }
};

}  // namespace

class EditTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::PrepareApplication(); }
    void init() { settings_ = test::UseTemporarySettings(); }

    void saveQuestionFollowsRealChangesOnly();
    void undoAndRedoRestoreEveryEditBitForBit();
    void copyPutsTheShownCellTexts();
    void openingAppliesTheWellsQualityReferences();
    // With the simulator (the port configuration stays for the process).
    void timingIsTheSurveysThroughDeviceCommands();
    void downloadClearsTheHistory();

private:
    std::unique_ptr<QTemporaryDir> settings_;
};

void EditTest::timingIsTheSurveysThroughDeviceCommands() {
    DeviceRig rig;
    QVERIFY(rig.Start(R"({"probe": {"number": "TALO0001", "delayMinutes": 3, "intervalSeconds": 15}})"));
    const QString path = WriteFixture(rig.dir);
    QVERIFY(!path.isEmpty());
    CMainFrame& f = *rig.frame;
    QVERIFY(f.OpenDocumentFile(path));
    SurveyTableModel& m = f.TableModel();
    QCOMPARE(QString::fromStdString(m.CellText(1, 2)), QStringLiteral("00:07:20"));

    f.Action(cmd::kProbeTest)->trigger();
    QTRY_VERIFY(rig.device->messages.contains(QStringLiteral("设备连接正常")));
    // The clock dialog reads the probe's clock every second while it is open.
    bool clockShown = false;
    test::WhenModal(
        [&clockShown](QWidget* w) {
            clockShown = true;
            if (auto* read = w->findChild<QWidget*>(QStringLiteral("button1044")))
                QMetaObject::invokeMethod(read, "click");
            QTest::qWait(3000);
            QMetaObject::invokeMethod(w, "reject");
        },
        5000, "orb::CRtcProbeDlg");
    f.Action(cmd::kProbeClock)->trigger();
    QVERIFY(clockShown);
    QVERIFY(!f.Document().IsModified());
    QCOMPARE(QString::fromStdString(m.CellText(1, 2)), QStringLiteral("00:07:20"));

    const QString saved = rig.dir.filePath(QStringLiteral("saved.TLM"));
    QVERIFY(f.SaveDocumentFile(saved));
    QCOMPARE(ReadAll(saved), ReadAll(path));  // T4/T5 "7" and "20", everything else as it was
    TlmLoadResult back = LoadTlmFile(saved.toStdString());
    QVERIFY(back.loaded());
    QCOMPARE(back.timing, (SurveyTiming{7, 20}));

    // The information reply is the probe's word on the timing.
    test::WhenModal([](QWidget* w) { QMetaObject::invokeMethod(w, "reject"); }, 5000, "orb::CInforDlg");
    f.Action(cmd::kProbeInfo)->trigger();
    QTRY_COMPARE(f.Document().timing(), (SurveyTiming{3, 15}));
    QVERIFY(f.Document().IsModified());
    QCOMPARE(QString::fromStdString(m.CellText(1, 2)), QStringLiteral("00:03:15"));
}

void EditTest::saveQuestionFollowsRealChangesOnly() {
    QTemporaryDir dir;
    CMainFrame f;
    f.show();
    // On an empty survey nothing changes, so nothing is asked.
    for (const Edit& e : kEdits) {
        if (std::strcmp(e.name, "well texts") == 0) continue;  // texts change on an empty survey too
        e.run(f);
        QVERIFY2(!f.Document().IsModified(), e.name);
    }
    QVERIFY(!f.Action(cmd::kEditUndo)->isEnabled());

    // On a survey each real change is a change; the same command again, or
    // one that finds everything as it is, is not.
    const QString path = WriteFixture(dir);
    for (const Edit& e : kEdits) {
        QVERIFY(f.OpenDocumentFile(path));
        QVERIFY(!f.Document().IsModified());
        e.run(f);
        QVERIFY2(f.Document().IsModified(), e.name);
        f.Edits().MarkSaved();
        if (std::strcmp(e.name, "invert") == 0 || std::strcmp(e.name, "compensation") == 0) continue;
        e.run(f);
        QVERIFY2(!f.Document().IsModified(), e.name);
    }
    // Saving answers the question: after it, nothing is asked.
    bool asked = false;
    f.Action(cmd::kSelectNone)->trigger();
    QVERIFY(f.Document().IsModified());
    QVERIFY(f.SaveDocumentFile(dir.filePath(QStringLiteral("b.TLM"))));
    test::WhenModal(
        [&asked](QWidget* w) {
            asked = true;
            QMetaObject::invokeMethod(w, "reject");
        },
        500);
    QVERIFY(f.SaveModified());
    QTest::qWait(600);
    QVERIFY(!asked);
}

void EditTest::undoAndRedoRestoreEveryEditBitForBit() {
    QTemporaryDir dir;
    const QString path = WriteFixture(dir);
    CMainFrame f;
    f.show();
    QAction* undo = f.Action(cmd::kEditUndo);
    QAction* redo = f.Action(cmd::kEditRedo);
    QCOMPARE(undo->shortcuts(), QList<QKeySequence>({QKeySequence(QStringLiteral("Ctrl+Z")),
                                                     QKeySequence(QStringLiteral("Alt+Backspace"))}));
    QCOMPARE(redo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y")));
    for (const Edit& e : kEdits) {
        QVERIFY(f.OpenDocumentFile(path));
        QVERIFY(!undo->isEnabled());
        const QByteArray before = Image(f.Document());
        e.run(f);
        const QByteArray after = Image(f.Document());
        QVERIFY2(after != before, e.name);
        QVERIFY2(undo->isEnabled() && !redo->isEnabled(), e.name);
        undo->trigger();
        QVERIFY2(Image(f.Document()) == before, e.name);
        QVERIFY2(!f.Document().IsModified(), e.name);  // back at the saved state
        QVERIFY2(redo->isEnabled(), e.name);
        redo->trigger();
        QVERIFY2(Image(f.Document()) == after, e.name);
        QVERIFY2(f.Document().IsModified(), e.name);
        // The table shows what the records hold again.
        f.TableModel().RefreshTable();
        for (std::size_t row = 0; row < f.TableModel().RowCount(); ++row) {
            const auto rec = f.TableModel().RecordIndexOfRow(row);
            QCOMPARE(f.TableModel().IsChecked(row), f.Document().Record(std::size_t(rec)).selected != 0);
        }
        if (std::strcmp(e.name, "well texts") != 0) f.Edits().MarkSaved();
    }
    // Undoing the well texts brings the well information back with them.
    QCOMPARE(f.wellInfo().wellNumber, std::u16string(u"W-8"));
    undo->trigger();
    QCOMPARE(f.wellInfo().wellNumber, std::u16string(u"W-7"));
    QVERIFY(!f.Document().IsModified());

    // The context menu holds copy, undo and redo beside cut and paste.
    QStringList entries;
    for (QAction* a : f.View()->editMenu()->actions())
        if (!a->isSeparator()) entries << a->text().section(u'\t', 0, 0) + (a->isEnabled() ? "+" : "-");
    QCOMPARE(entries, QStringList({"剪切(&T)-", "复制(&C)+", "粘贴(&P)-", "撤销(&U)-", "重做(&R)+"}));
    f.Document().SetModified(false);
}

void EditTest::downloadClearsTheHistory() {
    DeviceRig rig;
    QVERIFY(rig.Start(R"({"probe": {"delayMinutes": 3, "intervalSeconds": 15, "samples": {"synthetic": {
        "start": "2025-06-07 08:00:00", "stations": {"count": 5, "kickoff": 2, "build": 3,
        "holdInclination": 35, "azimuth": 120, "seed": 4}, "seed": 4}}}})"));
    const QString path = WriteFixture(rig.dir);
    CMainFrame& f = *rig.frame;
    QVERIFY(f.OpenDocumentFile(path));
    f.Action(cmd::kSelectAll)->trigger();
    QVERIFY(f.Action(cmd::kEditUndo)->isEnabled());
    // The download would replace the modified survey: it asks first.
    test::WhenModal(
        [](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QStringLiteral("不保存(&N)")) return b->click();
            QFAIL("no 不保存 button");
        },
        5000, "QMessageBox");
    f.Action(cmd::kProbeDownload)->trigger();
    DeviceController& dc = rig.device->controller();
    QTRY_VERIFY_WITH_TIMEOUT(dc.sampleTransfer.complete, 30000);
    QVERIFY(!f.Action(cmd::kEditUndo)->isEnabled());
    QVERIFY(!f.Edits().CanUndo() && !f.Edits().CanRedo());
    QVERIFY(f.Document().IsModified());
    QCOMPARE(f.TableModel().RowCount(), f.Document().RecordCount());
}

void EditTest::copyPutsTheShownCellTexts() {
    QTemporaryDir dir;
    CMainFrame f;
    f.show();
    QVERIFY(f.OpenDocumentFile(WriteFixture(dir)));
    f.Action(cmd::kReverse)->trigger();
    QAbstractItemModel* items = Items(f);
    auto line = [items](int row) {
        QStringList cells;
        for (int c = 1; c < kTableColumns; ++c) cells << items->index(row, c).data().toString();
        return cells.join(u'\t') + u'\n';
    };
    QStringList captions;
    for (int c = 1; c < kTableColumns; ++c) captions << items->headerData(c, Qt::Horizontal).toString();
    const QString caption = captions.join(u'\t') + u'\n';

    QVERIFY(f.Action(cmd::kEditCopy)->isEnabled());
    QVERIFY(!f.Action(cmd::kEditCut)->isEnabled());
    QVERIFY(!f.Action(cmd::kEditPaste)->isEnabled());
    QItemSelectionModel* sel = f.View()->selectionModel();
    sel->select(items->index(4, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    sel->select(items->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    f.Action(cmd::kEditCopy)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), caption + line(1) + line(4));
    QVERIFY(line(1).startsWith(QStringLiteral("1\t00:08:20\t")));  // record 4 in reverse order

    sel->clearSelection();
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.View()->setFocus();
    QTest::keyClick(f.View(), Qt::Key_C, Qt::ControlModifier);
    QString all = caption;
    for (int row = 0; row < items->rowCount(); ++row) all += line(row);
    QCOMPARE(QGuiApplication::clipboard()->text(), all);
}

void EditTest::openingAppliesTheWellsQualityReferences() {
    QTemporaryDir dir;
    WellQualitySettings strict;
    strict.references = {1.0, 52326.0, std::nullopt};
    strict.tolerances = {0.003, 300, 0.25};
    SaveWellQualitySettings(QStringLiteral("W-7"), strict);
    COrbDoc doc = FixtureSurvey();
    doc.EditRecords(
        [](std::vector<SurveyRecord>& r) { r[3].totalMagnetic = 0.5f; });  // a station, field fails
    const QString path = WriteFixture(dir, doc);
    CMainFrame f;
    f.show();
    QVERIFY(f.OpenDocumentFile(path));
    // At once: no refill, no pause.
    const SurveyTableAdapter* adapter = f.View()->adapter();
    QCOMPARE(f.qualityController()->wellNumber(), QStringLiteral("W-7"));
    QCOMPARE(adapter->qcSettings().references.fieldStrength, std::optional<double>(52326.0));
    QCOMPARE(adapter->qcCounts().failedRecords, std::size_t(2));
    QCOMPARE(adapter->qcCounts().failedStations, std::size_t(1));
    QCOMPARE(f.qualityController()->statusPane()->text(), QStringLiteral("超差测点 1/2，超差记录 2/6"));
    QCOMPARE(Items(f)->index(3, 1).data(Qt::BackgroundRole).value<QBrush>().color(),
             SurveyTableAdapter::QcFailedColour());
}

QTEST_MAIN(EditTest)
#include "edit_test.moc"
