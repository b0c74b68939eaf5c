// The "井位与地磁参考" dialog in the window: its place in the data menu, the
// model's values shown live, nothing taken over without a click, the two
// buttons, its memory per well, and the panel's north reference.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include "app/command_ids.h"
#include "app/geo_ref_controller.h"
#include "app/geo_ref_dlg.h"
#include "app/main_frame.h"
#include "app/quality_controller.h"
#include "app/quality_settings.h"
#include "app/trajectory_panel.h"
#include "app_test_support.h"
#include "geo/normal_gravity.h"

using namespace orb;

namespace {

// Runs `body` inside the dialog once it is open, then closes it.
void WithDialog(CMainFrame& frame, std::function<void(CGeoRefDlg*)> body) {
    test::WhenModal(
        [body](QWidget* w) {
            auto* dlg = qobject_cast<CGeoRefDlg*>(w);
            body(dlg);
            dlg->reject();
        },
        5000, "orb::CGeoRefDlg");
    frame.Action(cmd::kGeoReference)->trigger();
}

MagneticField FieldAt(double lat, double lon, double t) {
    return *BuiltInMagneticReference().Evaluate({lat, lon, 0}, t).field;
}

}  // namespace

class GeoRefTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::PrepareApplication(); }
    void init();
    void cleanup() {
        frame_->Document().SetModified(false);
        frame_.reset();
        settings_.reset();
    }

    void sitsBesideWellInfoInTheDataMenu();
    void showsValuesLiveAndTakesThemOnlyOnClick();
    void refusesDatesNoModelCovers();
    void panelShowsTheNorthReferenceItUses();
    void screenshot();

private:
    QString Well() const { return QString::fromStdU16String(frame_->wellInfo().wellNumber); }
    std::unique_ptr<QTemporaryDir> settings_;
    std::unique_ptr<CMainFrame> frame_;
};

void GeoRefTest::init() {
    settings_ = test::UseTemporarySettings();
    frame_ = std::make_unique<CMainFrame>();
    frame_->resize(1200, 800);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    frame_->wellInfo().wellNumber = u"川深1井";
    // First sample 2023-03-15 (OLE 45000).
    frame_->Document().EditRecords([](std::vector<SurveyRecord>& r) { r = test::MakeRecords(6); });
    frame_->Document().SetModified(false);
}

void GeoRefTest::sitsBesideWellInfoInTheDataMenu() {
    QMenu* data = nullptr;
    for (QAction* a : frame_->FrameMenuBar()->actions())
        if (a->text() == QStringLiteral("数据")) data = a->menu();
    QVERIFY(data);
    const QList<QAction*> items = data->actions();
    const qsizetype well = items.indexOf(frame_->Action(cmd::kWellInfo));
    QVERIFY(well >= 0);
    QCOMPARE(items[well]->text(), QStringLiteral("钻井参数输入"));
    QCOMPARE(items[well + 1]->text(), QStringLiteral("井位与地磁参考"));
    QCOMPARE(items[well + 1], frame_->Action(cmd::kGeoReference));
}

void GeoRefTest::showsValuesLiveAndTakesThemOnlyOnClick() {
    frame_->wellInfo().magneticDeclination = 1.25f;
    const WellQualitySettings before = LoadWellQualitySettings(Well());
    const MagneticField expected = FieldAt(30.5, 110.25, 2023 + 73 / 365.0);
    WithDialog(*frame_, [&](CGeoRefDlg* dlg) {
        QCOMPARE(dlg->dateEdit()->date(), QDate(2023, 3, 15));
        QVERIFY(!dlg->declinationButton()->isEnabled());
        dlg->latitudeEdit()->setText(QStringLiteral("30°30'N"));
        dlg->longitudeEdit()->setText(QStringLiteral("110.25"));
        const QString shown = dlg->resultLabel()->text();
        QVERIFY2(shown.contains(QStringLiteral("IGRF-14")), qPrintable(shown));
        QVERIFY2(shown.contains(QString::number(expected.declination, 'f', 4)), qPrintable(shown));
        QVERIFY2(shown.contains(QString::number(expected.total, 'f', 1)), qPrintable(shown));
        QVERIFY(dlg->declinationButton()->isEnabled());
        // Typed and shown, but not taken.
        QCOMPARE(frame_->wellInfo().magneticDeclination, 1.25f);
        QCOMPARE(LoadWellQualitySettings(Well()).references.fieldStrength, before.references.fieldStrength);

        dlg->declinationButton()->click();
        QCOMPARE(frame_->wellInfo().magneticDeclination, static_cast<float>(expected.declination));
        QCOMPARE(LoadWellQualitySettings(Well()).references.fieldStrength, before.references.fieldStrength);

        dlg->qualityButton()->click();  // gravity not ticked: stays
        WellQualitySettings q = LoadWellQualitySettings(Well());
        QCOMPARE(*q.references.fieldStrength, expected.total);
        QCOMPARE(*q.references.dip, expected.inclination);
        QCOMPARE(q.references.totalGravity, before.references.totalGravity);
        dlg->gravityBox()->setChecked(true);
        dlg->qualityButton()->click();
        q = LoadWellQualitySettings(Well());
        QCOMPARE(*q.references.totalGravity, NormalGravityInG(30.5, 0));
    });
    // The inputs are remembered for the well.
    WithDialog(*frame_, [](CGeoRefDlg* dlg) {
        QCOMPARE(dlg->latitudeEdit()->text(), QStringLiteral("30°30'N"));
        QVERIFY(dlg->gravityBox()->isChecked());
    });
    frame_->wellInfo().wellNumber = u"另一井";
    WithDialog(*frame_, [](CGeoRefDlg* dlg) { QCOMPARE(dlg->latitudeEdit()->text(), QString()); });
}

void GeoRefTest::refusesDatesNoModelCovers() {
    WithDialog(*frame_, [](CGeoRefDlg* dlg) {
        dlg->latitudeEdit()->setText(QStringLiteral("30"));
        dlg->longitudeEdit()->setText(QStringLiteral("110"));
        dlg->dateEdit()->setDate(QDate(2030, 1, 1));
        QVERIFY(dlg->resultLabel()->text().contains(QStringLiteral("没有模型值")));
        QVERIFY(!dlg->declinationButton()->isEnabled());
        QVERIFY(!dlg->qualityButton()->isEnabled());
        dlg->dateEdit()->setDate(QDate(2026, 6, 1));
        QVERIFY(dlg->resultLabel()->text().contains(QStringLiteral("WMM2025")));
        dlg->latitudeEdit()->setText(QStringLiteral("86"));
        dlg->longitudeEdit()->setText(QStringLiteral("140"));
        QVERIFY(dlg->resultLabel()->text().contains(QStringLiteral("盲区")));
    });
}

void GeoRefTest::panelShowsTheNorthReferenceItUses() {
    frame_->Action(cmd::kTrajectoryPanel)->trigger();
    CQualityController* q = frame_->qualityController();
    WithDialog(*frame_, [](CGeoRefDlg* dlg) {
        dlg->latitudeEdit()->setText(QStringLiteral("40"));
        dlg->longitudeEdit()->setText(QStringLiteral("118.5"));
        dlg->projectionBox()->setCurrentIndex(2);  // 6° Gauss-Krüger: CM 117°E
        dlg->declinationButton()->click();
    });
    auto* geo = frame_->findChild<CGeoRefController*>();
    QVERIFY(geo);
    geo->northBox()->setCurrentIndex(2);
    emit geo->northBox()->activated(2);
    q->UpdateTrajectoryNow();
    const QString note = q->panel()->note()->text();
    QVERIFY2(note.contains(QStringLiteral("网格北")), qPrintable(note));
    QVERIFY2(note.contains(QStringLiteral("IGRF-14")), qPrintable(note));
    QVERIFY2(note.contains(QStringLiteral("子午线收敛角 0.96")), qPrintable(note));
    // The operator's own declination shows as such.
    frame_->wellInfo().magneticDeclination = 2.0f;
    q->UpdateTrajectoryNow();
    QVERIFY(q->panel()->note()->text().contains(QStringLiteral("操作员输入")));
    geo->northBox()->setCurrentIndex(0);
    emit geo->northBox()->activated(0);
    QVERIFY(q->panel()->note()->text().contains(QStringLiteral("磁北")));
}

void GeoRefTest::screenshot() {
    const QString out = qEnvironmentVariable("ORB_SCREENSHOT_DIR");
    if (out.isEmpty()) QSKIP("ORB_SCREENSHOT_DIR not set");
    WithDialog(*frame_, [out](CGeoRefDlg* dlg) {
        dlg->latitudeEdit()->setText(QStringLiteral("30°39'25\"N"));
        dlg->longitudeEdit()->setText(QStringLiteral("104°04'00\"E"));
        dlg->heightEdit()->setText(QStringLiteral("500"));
        dlg->dateEdit()->setDate(QDate(2026, 3, 15));
        dlg->projectionBox()->setCurrentIndex(1);
        QTest::qWait(200);
        QVERIFY(dlg->grab().save(out + QStringLiteral("/geo_ref_dlg.png")));
    });
}

QTEST_MAIN(GeoRefTest)
#include "geo_ref_test.moc"
