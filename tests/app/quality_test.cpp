// Station quality and the trajectory panel in the window: verdict colours,
// tooltips and the status-bar count; the settings dialog and its memory per
// well; the table texts, exports and the survey file untouched by the
// checks; the panel following the survey; the report's trajectory page.
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include "app/command_ids.h"
#include "app/device_bridge.h"
#include "app/device_launch.h"
#include "app/main_frame.h"
#include "app/orb_view.h"
#include "app/quality_controller.h"
#include "app/quality_set_dlg.h"
#include "app/survey_table_adapter.h"
#include "app/trajectory_panel.h"
#include "app/trajectory_report.h"
#include "app/ui_language.h"
#include "app/well_input_dlg.h"
#include "app_test_support.h"
#include "core/angles.h"
#include "report/excel_export.h"
#include "report/txt_export.h"

using namespace orb;

namespace {

// MakeRecords gives gravity 1.000, field 52326 nT, dip 0, 25 °C and selects
// records 0 and 3. Here: record 2 (not a station) and 3 (a station) fail the
// gravity check, record 4 is only too hot, record 5 has a field of 27209 nT,
// which fails only once a local field of 52326 nT is set.
std::vector<SurveyRecord> QualitySurvey() {
    std::vector<SurveyRecord> r = test::MakeRecords(6);
    r[2].totalGravity = 1.010f;
    r[3].totalGravity = 0.990f;
    r[4].temperature = 250.0f;
    r[5].totalMagnetic = 0.52f;
    return r;
}

void Load(CMainFrame& f, std::vector<SurveyRecord> records) {
    f.Document().EditRecords([&](std::vector<SurveyRecord>& r) { r = std::move(records); });
    f.Document().SetModified(false);
    f.TableModel().ReloadTable();
}

// Fills the quality dialog's fields when it opens and presses OK.
void AnswerQualityDialog(std::function<void(CQualitySetDlg*)> fill) {
    test::WhenModal(
        [fill](QWidget* w) {
            auto* dlg = qobject_cast<CQualitySetDlg*>(w);
            fill(dlg);
            if (!QTest::currentTestFailed()) dlg->accept();
            if (dlg->isVisible()) dlg->reject();  // refused or failed: leave the test going
        },
        5000, "orb::CQualitySetDlg");
}

QStringList CellTexts(COrbView* view) {
    QStringList texts;
    for (int r = 0; r < view->model()->rowCount(); ++r)
        for (int c = 0; c < 21; ++c) texts << view->model()->index(r, c).data().toString();
    return texts;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class QualityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::PrepareApplication(); }
    void init();
    void cleanup() {
        frame_->Document().SetModified(false);
        frame_.reset();
        settings_.reset();
    }

    void verdictsColourNumberCellsExplainAndCount();
    void countFollowsSelectionAndSettings();
    void dialogRefusesNonNumbersAndRemembersEachWell();
    void tableTextsExportsAndFileAreUntouched();
    void commandsSitAtTheEndOfTheirMenus();
    void panelFollowsSelectionDepthsDeclinationAndSettings();
    void panelSavesPngAndRestoresItsDock();
    void reportPageIsOptIn();
    void panelLeavesTheTableHalfTheWindowAndKeepsTheSplit();
    void screenshot();

private:
    COrbView* view() const { return frame_->View(); }
    CQualityController* quality() const { return frame_->qualityController(); }
    QString StatusText() const { return quality()->statusPane()->text(); }
    QVariant Cell(int row, int column, int role) const {
        return view()->model()->index(row, column).data(role);
    }

    std::unique_ptr<QTemporaryDir> settings_;
    std::unique_ptr<CMainFrame> frame_;
};

void QualityTest::init() {
    settings_ = test::UseTemporarySettings();
    frame_ = std::make_unique<CMainFrame>();
    frame_->resize(1200, 800);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
}

void QualityTest::verdictsColourNumberCellsExplainAndCount() {
    Load(*frame_, QualitySurvey());
    const QColor failed = SurveyTableAdapter::QcFailedColour(),
                 flagged = SurveyTableAdapter::QcFlaggedColour();
    for (int column : {0, 1}) {
        QCOMPARE(Cell(2, column, Qt::BackgroundRole).value<QBrush>().color(), failed);
        QCOMPARE(Cell(3, column, Qt::BackgroundRole).value<QBrush>().color(), failed);
        QCOMPARE(Cell(4, column, Qt::BackgroundRole).value<QBrush>().color(), flagged);
        QVERIFY(!Cell(0, column, Qt::BackgroundRole).isValid());
        QVERIFY(!Cell(5, column, Qt::BackgroundRole).isValid());  // no field reference: not checked
    }
    // Only the check-box and number cells are coloured.
    QVERIFY(!Cell(2, 4, Qt::BackgroundRole).isValid());
    QVERIFY(!Cell(2, 4, Qt::ToolTipRole).isValid());
    QCOMPARE(Cell(2, 1, Qt::ToolTipRole).toString(),
             QStringLiteral("总加速度超差: 1.0100 (参考 1.000 ± 0.003)"));
    QCOMPARE(Cell(4, 0, Qt::ToolTipRole).toString(),
             QStringLiteral("温度超出合理范围: 250.0 (范围 -40.0 ~ 200.0)"));
    QVERIFY(!Cell(0, 1, Qt::ToolTipRole).isValid());
    QTRY_COMPARE(StatusText(), QStringLiteral("超差测点 1/2，超差记录 2/6"));

    // Reverse order: the verdict travels with its record, not with the row.
    view()->OnReverse();
    QCOMPARE(Cell(3, 1, Qt::BackgroundRole).value<QBrush>().color(), failed);   // record 2
    QCOMPARE(Cell(1, 1, Qt::BackgroundRole).value<QBrush>().color(), flagged);  // record 4
    QVERIFY(!Cell(0, 1, Qt::BackgroundRole).isValid());                         // record 5
}

void QualityTest::countFollowsSelectionAndSettings() {
    Load(*frame_, QualitySurvey());
    auto* model = view()->model();
    model->setData(model->index(2, 0), Qt::Checked,
                   Qt::CheckStateRole);  // a failing record becomes a station
    QTRY_COMPARE(StatusText(), QStringLiteral("超差测点 2/3，超差记录 2/6"));
    view()->OnSelectNone();
    QTRY_COMPARE(StatusText(), QStringLiteral("超差测点 0/0，超差记录 2/6"));
    view()->OnSelectAll();
    QTRY_COMPARE(StatusText(), QStringLiteral("超差测点 2/6，超差记录 2/6"));

    // A field reference adds the field check; a blank gravity drops its check.
    AnswerQualityDialog([](CQualitySetDlg* d) {
        d->fieldEdit()->setText(QStringLiteral("52326"));
        d->gravityEdit()->clear();
    });
    frame_->Action(cmd::kQualitySettings)->trigger();
    QTRY_COMPARE(StatusText(), QStringLiteral("超差测点 1/6，超差记录 1/6"));
    QVERIFY(Cell(5, 1, Qt::ToolTipRole).toString().startsWith(QStringLiteral("地磁场强度超差: 27210")));
    QVERIFY(!Cell(2, 1, Qt::BackgroundRole).isValid());

    // Appended records are checked as they arrive (a download).
    SurveyRecord appended = frame_->Document().Record(0);
    appended.totalMagnetic = 2.0f;
    frame_->Edits().AppendRecord(appended);
    QCOMPARE(frame_->TableModel().RowCount(), std::size_t(7));
    QCOMPARE(Cell(6, 1, Qt::BackgroundRole).value<QBrush>().color(), SurveyTableAdapter::QcFailedColour());
    QTRY_COMPARE(StatusText(), QStringLiteral("超差测点 2/7，超差记录 2/7"));
}

void QualityTest::dialogRefusesNonNumbersAndRemembersEachWell() {
    frame_->wellInfo().wellNumber = u"井A-1/2";
    quality()->Reload();
    QStringList messages;
    AnswerQualityDialog([&messages](CQualitySetDlg* d) {
        QCOMPARE(d->gravityEdit()->text(), QStringLiteral("1"));
        QVERIFY(d->fieldEdit()->text().isEmpty());
        QCOMPARE(d->dipToleranceEdit()->text(), QStringLiteral("0.25"));
        d->dipEdit()->setText(QStringLiteral("abc"));
        test::WhenModal(
            [&messages](QWidget* box) {
                messages << qobject_cast<QMessageBox*>(box)->text();
                qobject_cast<QMessageBox*>(box)->accept();
            },
            5000, "QMessageBox");
        d->accept();
        QVERIFY(d->isVisible());
        QCOMPARE(d->focusWidget(), d->dipEdit());
        d->dipEdit()->setText(QStringLiteral(" 57.5 "));
        d->fieldToleranceEdit()->setText(QStringLiteral("150"));
        d->vsAzimuthEdit()->setText(QStringLiteral("90"));
    });
    frame_->Action(cmd::kQualitySettings)->trigger();
    QCOMPARE(messages, QStringList{QStringLiteral("请输入一个数字。")});
    QCOMPARE(quality()->settings().references.dip, std::optional<double>(57.5));
    QCOMPARE(quality()->settings().tolerances.fieldStrength, 150.0);
    QCOMPARE(quality()->settings().vsAzimuth, std::optional<double>(90.0));
    QCOMPARE(view()->adapter()->qcSettings().references.dip, std::optional<double>(57.5));

    // Another well starts from the defaults; the first well's values come back with it.
    frame_->wellInfo().wellNumber = u"B";
    quality()->Reload();
    QVERIFY(!quality()->settings().references.dip);
    QCOMPARE(quality()->settings().references.totalGravity, std::optional<double>(1.0));
    frame_->wellInfo().wellNumber = u"井A-1/2";
    quality()->Reload();
    QCOMPARE(quality()->settings().references.dip, std::optional<double>(57.5));
    QCOMPARE(LoadWellQualitySettings(QStringLiteral("井A-1/2")).tolerances.fieldStrength, 150.0);

    // A negative tolerance is refused with the reason; nothing is kept.
    messages.clear();
    AnswerQualityDialog([&messages](CQualitySetDlg* d) {
        d->gravityToleranceEdit()->setText(QStringLiteral("-1"));
        test::WhenModal(
            [&messages](QWidget* box) {
                messages << qobject_cast<QMessageBox*>(box)->text();
                qobject_cast<QMessageBox*>(box)->accept();
            },
            5000, "QMessageBox");
    });
    frame_->Action(cmd::kQualitySettings)->trigger();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].contains(QStringLiteral("容差")));
    QCOMPARE(quality()->settings().tolerances.totalGravity, 0.003);
}

void QualityTest::tableTextsExportsAndFileAreUntouched() {
    QTemporaryDir dir;
    TxtExportFormat format;
    for (int i = 0; i < kExportColumnCount; ++i) format.columns[i] = i;
    format.count = kExportColumnCount;
    auto snapshot = [&](const QString& tag) {
        QStringList texts = CellTexts(view());
        const QString xls = dir.filePath(tag + QStringLiteral(".xls"));
        const QString tlm = dir.filePath(tag + QStringLiteral(".TLM"));
        const QString txt = dir.filePath(tag + QStringLiteral(".txt"));
        const float decl = frame_->wellInfo().magneticDeclination;
        [&] {
            QVERIFY(ExportTxt(frame_->TableModel(), format, decl, txt.toStdString()).ok());
            QVERIFY(ExportExcel(frame_->TableModel(), decl, xls.toStdString()).ok());
            QVERIFY(frame_->SaveDocumentFile(tlm));
        }();
        return std::make_tuple(texts, ReadAll(txt), ReadAll(xls), ReadAll(tlm));
    };
    Load(*frame_, QualitySurvey());
    frame_->wellInfo().wellNumber = u"W";
    WellQualitySettings none;
    none.references = {std::nullopt, std::nullopt, std::nullopt};
    SaveWellQualitySettings(QStringLiteral("W"), none);
    quality()->Reload();
    QCOMPARE(view()->adapter()->qcCounts().failedRecords, std::size_t(0));  // record 4 is only flagged
    const auto without = snapshot(QStringLiteral("a"));

    WellQualitySettings strict;
    strict.references = {1.0, 52326.0, 10.0};
    strict.tolerances = {0.0001, 1, 0.01};
    SaveWellQualitySettings(QStringLiteral("W"), strict);
    quality()->Reload();
    QVERIFY(view()->adapter()->qcCounts().failedRecords >= 4);
    const auto with = snapshot(QStringLiteral("b"));
    QCOMPARE(std::get<0>(with).size(), 6 * 21);
    QCOMPARE(std::get<0>(with), std::get<0>(without));
    QVERIFY(!std::get<1>(with).isEmpty());
    QCOMPARE(std::get<1>(with), std::get<1>(without));
    QVERIFY(!std::get<2>(with).isEmpty());
    QCOMPARE(std::get<2>(with), std::get<2>(without));
    // The survey file keeps every byte of the original layout; the quality
    // references travel only in the context block after the marks.
    QVERIFY(!std::get<3>(with).isEmpty());
    QVERIFY(std::get<3>(with).size() >= std::get<3>(without).size());
    QCOMPARE(std::get<3>(with).left(std::get<3>(without).size()), std::get<3>(without));
}

void QualityTest::commandsSitAtTheEndOfTheirMenus() {
    for (int id : {cmd::kQualitySettings, cmd::kTrajectoryPanel, cmd::kTrajectoryReportPage}) {
        QAction* a = frame_->Action(id);
        QVERIFY2(a, qPrintable(QString::number(id)));
        QCOMPARE(a->property("commandId").toInt(), id);
    }
    QMenu* data = frame_->FrameMenuBar()->actions().at(4)->menu();
    QCOMPARE(data->actions().constLast(), frame_->Action(cmd::kTrajectoryReportPage));
    QMenu* viewMenu = frame_->FrameMenuBar()->actions().at(5)->menu();
    // The panel follows the view menu's own items; only the language choice comes after it.
    const QList<QAction*> view = viewMenu->actions();
    QCOMPARE(view.at(view.size() - 3), frame_->Action(cmd::kTrajectoryPanel));
    QVERIFY(view.constLast()->menu() &&
            view.constLast()->menu()->actions().constFirst() == frame_->Action(cmd::kLanguageChinese));
    QVERIFY(frame_->Action(cmd::kTrajectoryPanel)->isCheckable());
    QVERIFY(frame_->Action(cmd::kTrajectoryReportPage)->isCheckable());
}

void QualityTest::panelFollowsSelectionDepthsDeclinationAndSettings() {
    std::vector<SurveyRecord> records = QualitySurvey();
    // Depths in reverse record order (a survey taken pulling out of the hole).
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].depth = static_cast<float>(500 - 100 * i);
        records[i].selected = 1;
    }
    Load(*frame_, records);
    CTrajectoryPanel* panel = quality()->panel();
    QVERIFY(!quality()->dock()->isVisible());
    QCOMPARE(panel->updateCount(), 0);  // hidden: nothing is computed
    frame_->Action(cmd::kTrajectoryPanel)->trigger();
    QVERIFY(quality()->dock()->isVisible());
    QTRY_COMPARE(panel->data().trajectory.stations.size(), std::size_t(6));
    QVERIFY(panel->note()->text().startsWith(QStringLiteral("按深度升序计算")));
    QVERIFY(panel->note()->text().contains(QStringLiteral("记录顺序与深度顺序不同")));
    QCOMPARE(panel->data().trajectory.stations.front().recordIndex, std::size_t(5));
    QCOMPARE(panel->data().trajectory.stations.front().md, 0.0);

    // Selection.
    auto* model = view()->model();
    model->setData(model->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
    QTRY_COMPARE(panel->data().trajectory.stations.size(), std::size_t(5));
    // A burst of changes costs one update.
    const int before = panel->updateCount();
    for (int r = 1; r < 4; ++r) model->setData(model->index(r, 0), Qt::Unchecked, Qt::CheckStateRole);
    QTRY_COMPARE(panel->data().trajectory.stations.size(), std::size_t(2));
    QCOMPARE(panel->updateCount(), before + 1);

    // Depths, through the depth-generation command's refill.
    frame_->Document().EditRecords([](std::vector<SurveyRecord>& r) { r[4].depth = 1000; });
    frame_->TableModel().RefreshTable();
    QTRY_COMPARE(panel->data().trajectory.stations.back().md, 1000.0);

    // Declination from the well dialog.
    test::WhenModal(
        [](QWidget* w) {
            auto* d = qobject_cast<CWellInputDlg*>(w);
            d->declinationEdit()->setText(QStringLiteral("10"));
            d->accept();
        },
        5000, "orb::CWellInputDlg");
    frame_->Action(cmd::kWellInfo)->trigger();
    const double expected = NormalizeAngle(double(frame_->Document().Record(4).azimuth) + 10.0);
    QTRY_COMPARE(panel->data().trajectory.stations.back().trueAzimuth, expected);

    // Vertical-section azimuth and DLS unit from the quality dialog.
    AnswerQualityDialog([](CQualitySetDlg* d) {
        d->vsAzimuthEdit()->setText(QStringLiteral("45"));
        d->dlsUnitBox()->setCurrentIndex(1);
    });
    frame_->Action(cmd::kQualitySettings)->trigger();
    QTRY_COMPARE(panel->data().trajectory.vsAzimuth, 45.0);
    QVERIFY(!panel->data().trajectory.vsAzimuthIsClosure);
    QCOMPARE(panel->data().options.trajectory.dlsInterval, DlsInterval::kPer100Feet);
    QVERIFY(!panel->note()->text().contains(QStringLiteral("（闭合方位）")));
}

void QualityTest::panelSavesPngAndRestoresItsDock() {
    Load(*frame_, QualitySurvey());
    QDockWidget* dock = quality()->dock();
    QCOMPARE(dock->objectName(), QStringLiteral("trajectoryDock"));
    QCOMPARE(dock->allowedAreas(), Qt::AllDockWidgetAreas);
    frame_->Action(cmd::kTrajectoryPanel)->trigger();
    quality()->UpdateTrajectoryNow();
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("t.png"));
    QVERIFY(quality()->panel()->SavePng(png));
    QImage image(png);
    QVERIFY(image.width() >= 2000 && image.height() >= 1280);
    int dark = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4) dark += qGray(image.pixel(x, y)) < 128;
    QVERIFY2(dark > 500, qPrintable(QString::number(dark)));  // axes, texts and lines were drawn
    QVERIFY(!quality()->panel()->SavePng(dir.filePath(QStringLiteral("missing/t.png"))));

    // The dock's place and visibility come back with the window's state.
    frame_->addDockWidget(Qt::LeftDockWidgetArea, dock);
    const QByteArray state = frame_->saveState();
    frame_->Document().SetModified(false);
    frame_ = std::make_unique<CMainFrame>();
    QVERIFY(!frame_->qualityController()->dock()->isVisibleTo(frame_.get()));
    QVERIFY(frame_->restoreState(state));
    QVERIFY(frame_->qualityController()->dock()->isVisibleTo(frame_.get()));
    QCOMPARE(frame_->dockWidgetArea(frame_->qualityController()->dock()), Qt::LeftDockWidgetArea);
}

void QualityTest::panelLeavesTheTableHalfTheWindowAndKeepsTheSplit() {
    Load(*frame_, QualitySurvey());
    QDockWidget* dock = quality()->dock();
    frame_->Action(cmd::kTrajectoryPanel)->trigger();
    QTRY_VERIFY(dock->isVisible());
    QTRY_VERIFY(view()->height() >= frame_->height() / 2 - 60);  // the table keeps half, less the bars
    QVERIFY(dock->height() > 150);

    // The operator's split is what the next run starts with.
    frame_->resizeDocks({dock}, {300}, Qt::Vertical);
    QTRY_COMPARE(QSettings().value(QStringLiteral("Settings/TrajectoryPanelHeight")).toInt(), dock->height());
    const int kept = dock->height();
    frame_->Document().SetModified(false);
    frame_ = std::make_unique<CMainFrame>();
    frame_->resize(1200, 800);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    frame_->Action(cmd::kTrajectoryPanel)->trigger();
    QTRY_COMPARE(frame_->qualityController()->dock()->height(), kept);
}

void QualityTest::reportPageIsOptIn() {
    Load(*frame_, QualitySurvey());
    frame_->wellInfo().wellNumber = u"R";
    frame_->wellInfo().magneticDeclination = 2.5f;
    WellQualitySettings w;
    w.vsAzimuth = 30;
    SaveWellQualitySettings(QStringLiteral("R"), w);
    ReportInput in;
    in.doc = &frame_->Document();
    const int pages = ReportPageCount(in);
    AddTrajectoryPage(in);
    QVERIFY(!in.trajectoryPage);
    QAction* flag = frame_->Action(cmd::kTrajectoryReportPage);
    QVERIFY(!flag->isChecked());
    flag->trigger();
    QCOMPARE(QSettings().value(QStringLiteral("Report/TrajectoryPage")).toBool(), true);
    AddTrajectoryPage(in);
    QVERIFY(in.trajectoryPage);
    QCOMPARE(in.trajectoryPage->trajectory.declination, 2.5);
    QCOMPARE(in.trajectoryPage->trajectory.vsAzimuth, std::optional<double>(30.0));
    QCOMPARE(ReportPageCount(in), pages + 1);
    // The panel's tool bar offers the same switch.
    QVERIFY(quality()->panel()->toolBar()->actions().contains(flag));
}

// The documentation's picture of the panel after a simulated download of the
// deviated well, taken only when ORB_SCREENSHOT_DIR names a folder (run under
// a display server for the real fonts and style).
void QualityTest::screenshot() {
    const QString out = qEnvironmentVariable("ORB_SCREENSHOT_DIR");
    if (out.isEmpty()) QSKIP("ORB_SCREENSHOT_DIR not set");
    frame_->Document().SetModified(false);
    frame_.reset();
    QTemporaryDir dir;
    DeviceLaunch sim;
    QString error;
    QVERIFY2(sim.StartSimulator({QStringLiteral("--baud"), QStringLiteral("0")}, error,
                                QStringLiteral(ORB_BINARY_DIR "/tools/orb-devsim")),
             qPrintable(error));
    PortListOptions options;
    options.namedPort = sim.simulatorPath().toStdString();
    DeviceBridge::Configure(options);
    frame_ = std::make_unique<CMainFrame>();
    DeviceBridge* device = frame_->findChild<DeviceBridge*>();
    device->messageHook = [](const QString&, const QString&) { return MessageAnswer::kYes; };
    QSignalSpy started(frame_.get(), &CMainFrame::startupFinished);
    frame_->resize(1280, 900);
    frame_->show();
    QVERIFY(started.wait(5000));
    DeviceController& dc = device->controller();
    frame_->Action(cmd::kProbeDownload)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(dc.sampleTransfer.complete, 60000);
    frame_->Action(cmd::kSyncDownload)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(dc.markTransfer.complete, 30000);
    QTRY_VERIFY(CountSelected(frame_->Document().records()) > 0);
    // Depths from 30 m down in steps of 30 m, the first station the shallowest.
    test::WhenModal(
        [](QWidget* w) {
            w->findChild<QLineEdit*>(QStringLiteral("edit1026"))->setText(QStringLiteral("30"));
            w->findChild<QLineEdit*>(QStringLiteral("edit1027"))->setText(QStringLiteral("-30"));
            QMetaObject::invokeMethod(w, "accept");
        },
        5000, "orb::CDepthCalcDlg");
    frame_->Action(cmd::kDepthCalc)->trigger();
    AnswerQualityDialog([](CQualitySetDlg* d) {
        d->fieldEdit()->setText(QStringLiteral("27210"));
        d->dipEdit()->setText(QStringLiteral("57.5"));
    });
    frame_->Action(cmd::kQualitySettings)->trigger();
    frame_->Action(cmd::kTrajectoryPanel)->trigger();
    QDockWidget* dock = frame_->qualityController()->dock();
    frame_->resizeDocks({dock}, {560}, Qt::Vertical);
    QTRY_VERIFY(frame_->qualityController()->panel()->data().trajectory.stations.size() > 10);
    QTest::qWait(500);
    QVERIFY(frame_->grab().save(out + QStringLiteral("/trajectory_panel.png")));
    frame_->Document().SetModified(false);
}

QTEST_MAIN(QualityTest)
#include "quality_test.moc"
