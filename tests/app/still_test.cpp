// "按静止段选择测点" in the window: the proposal it shows (count, records,
// comparison with the matched stations, the strips), applying it as the
// selection, cancelling, the flag of a matched station taken while moving,
// and the still-period limits in the quality dialog.
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/orb_view.h"
#include "app/quality_controller.h"
#include "app/quality_set_dlg.h"
#include "app/still_select_dlg.h"
#include "app/survey_table_adapter.h"
#include "app_test_support.h"

using namespace orb;

namespace {

// Stops at records 0-3, 7-9 and 13-16 with travel between them (every value
// of a travel record differs); records 1 (at a stop) and 5 (travelling) were
// matched by marks.
std::vector<SurveyRecord> Run() {
    std::vector<SurveyRecord> rs = test::MakeRecords(17);
    const auto still = [](int k) { return k <= 3 || (k >= 7 && k <= 9) || k >= 13; };
    for (int k = 0; k < 17; ++k) {
        SurveyRecord& r = rs[static_cast<std::size_t>(k)];
        const float stop = static_cast<float>(k <= 3 ? 0 : k <= 9 ? 1 : 2);
        const float move = still(k) ? 0.0f : 0.1f * static_cast<float>(k);
        r.inclination = 10 + 5 * stop + 3 * move;
        r.azimuth = 100 + 2 * stop + 7 * move;
        r.gx = 0.2f + 0.05f * stop + move, r.gy = 0.1f - move, r.gz = 0.97f;
        r.mx = 0.3f + move, r.my = 0.2f + 0.02f * stop - move, r.mz = 0.4f;
        r.selected = 0;
        r.syncMatched = k == 1 || k == 5;
    }
    return rs;
}

}  // namespace

class StillTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::PrepareApplication(); }
    void init();
    void cleanup() {
        frame_->Document().SetModified(false);
        frame_.reset();
        settings_.reset();
    }

    void proposalShownThenApplied();
    void cancelChangesNothing();
    void matchedStationWhileMovingIsFlagged();
    void limitsAreQualitySettings();

private:
    void Load(std::vector<SurveyRecord> records) {
        frame_->Document().EditRecords([&](std::vector<SurveyRecord>& r) { r = std::move(records); });
        frame_->Document().SetModified(false);
        frame_->TableModel().ReloadTable();
    }
    std::vector<int> Selected() const {
        std::vector<int> s;
        const auto& rs = frame_->Document().records();
        for (std::size_t i = 0; i < rs.size(); ++i)
            if (rs[i].selected == 1) s.push_back(static_cast<int>(i));
        return s;
    }

    std::unique_ptr<QTemporaryDir> settings_;
    std::unique_ptr<CMainFrame> frame_;
};

void StillTest::init() {
    settings_ = test::UseTemporarySettings();
    frame_ = std::make_unique<CMainFrame>();
    frame_->resize(1200, 800);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
}

void StillTest::proposalShownThenApplied() {
    Load(Run());
    QAction* a = frame_->Action(cmd::kStillSelect);
    QVERIFY(a);
    QCOMPARE(a->text(), QStringLiteral("按静止段选择测点"));
    QMenu* data = frame_->FrameMenuBar()->actions().at(4)->menu();
    const QList<QAction*> items = data->actions();
    QCOMPARE(items.indexOf(a), items.indexOf(frame_->Action(cmd::kShowAutoSelected)) + 1);
    QString summary, list;
    test::WhenModal(
        [&](QWidget* w) {
            auto* dlg = qobject_cast<CStillSelectDlg*>(w);
            summary = dlg->summary()->text();
            list = dlg->periodList()->toPlainText();
            const QString out = qEnvironmentVariable("ORB_SCREENSHOT_DIR");
            if (!out.isEmpty()) dlg->grab().save(out + QStringLiteral("/still_select_dialog.png"));
            dlg->accept();
        },
        5000, "orb::CStillSelectDlg");
    a->trigger();
    QVERIFY2(
        summary.startsWith(QStringLiteral("静止段 3 个，建议测点 3 个；同步器匹配测点 2 个：1 个在静止段内")),
        qPrintable(summary));
    QCOMPARE(list.split(QLatin1Char('\n')).size(), 3);
    QVERIFY2(list.contains(QStringLiteral("静止段 1：记录 7–9（3 个样本），建议测点 7")), qPrintable(list));
    QCOMPARE(Selected(), (std::vector<int>{0, 7, 13}));
    QVERIFY(frame_->View()->model()->index(0, 0).data(Qt::CheckStateRole) == Qt::Checked);

    // The proposal is one selection edit: one undo gives back the earlier stations.
    const std::vector<int> proposed = Selected();
    QVERIFY(frame_->TableModel().edits().Undo());
    QVERIFY(Selected() != proposed);
    QVERIFY(frame_->TableModel().edits().Redo());
    QCOMPARE(Selected(), proposed);
}

void StillTest::cancelChangesNothing() {
    std::vector<SurveyRecord> rs = Run();
    rs[4].selected = 1;
    Load(rs);
    test::WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); }, 5000, "orb::CStillSelectDlg");
    frame_->Action(cmd::kStillSelect)->trigger();
    QCOMPARE(Selected(), (std::vector<int>{4}));
    // Nothing still: said so, nothing asked.
    for (SurveyRecord& r : rs) r.gx = static_cast<float>(&r - rs.data());
    Load(rs);
    QString said;
    test::WhenModal(
        [&](QWidget* w) {
            said = w->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
            qobject_cast<QDialog*>(w)->accept();
        },
        5000, "QMessageBox");
    frame_->Action(cmd::kStillSelect)->trigger();
    QCOMPARE(said, QString::fromUtf8(kNoStillPeriodText));
    QCOMPARE(Selected(), (std::vector<int>{4}));
}

void StillTest::matchedStationWhileMovingIsFlagged() {
    Load(Run());
    const SurveyTableAdapter* adapter = frame_->View()->adapter();
    const QString tip5 = adapter->index(5, 1).data(Qt::ToolTipRole).toString();
    QVERIFY2(tip5.startsWith(QStringLiteral("测量时探管未静止")), qPrintable(tip5));
    QVERIFY(adapter->index(5, 1).data(Qt::BackgroundRole).isValid());
    QVERIFY(adapter->index(1, 1).data(Qt::ToolTipRole).toString().isEmpty());
    // A click on the box keeps the flag (the periods did not move).
    frame_->View()->model()->setData(frame_->View()->model()->index(5, 0), Qt::Checked, Qt::CheckStateRole);
    QVERIFY(adapter->QcResultOfRow(5)->movingAtMark);
}

void StillTest::limitsAreQualitySettings() {
    Load(Run());
    test::WhenModal(
        [](QWidget* w) {
            auto* d = qobject_cast<CQualitySetDlg*>(w);
            QCOMPARE(d->stillEdit(0)->text(), QStringLiteral("2"));
            QCOMPARE(d->stillEdit(5)->text(), QStringLiteral("2"));
            d->stillEdit(5)->setText(QStringLiteral("4"));  // the 3-sample stop no longer counts
            d->accept();
        },
        5000, "orb::CQualitySetDlg");
    frame_->Action(cmd::kQualitySettings)->trigger();
    QCOMPARE(frame_->qualityController()->settings().still.minSamples, 4);
    test::WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->accept(); }, 5000, "orb::CStillSelectDlg");
    frame_->Action(cmd::kStillSelect)->trigger();
    QCOMPARE(Selected(), (std::vector<int>{0, 13}));
    // A limit that cannot be used is refused; the dialog stays open.
    bool refused = false;
    test::WhenModal(
        [&](QWidget* w) {
            auto* d = qobject_cast<CQualitySetDlg*>(w);
            d->stillEdit(5)->setText(QStringLiteral("1"));
            test::WhenModal([](QWidget* box) { qobject_cast<QDialog*>(box)->accept(); }, 5000, "QMessageBox");
            d->accept();
            refused = d->isVisible();
            d->reject();
        },
        5000, "orb::CQualitySetDlg");
    frame_->Action(cmd::kQualitySettings)->trigger();
    QVERIFY(refused);
    QCOMPARE(frame_->qualityController()->settings().still.minSamples, 4);
}

QTEST_MAIN(StillTest)
#include "still_test.moc"
