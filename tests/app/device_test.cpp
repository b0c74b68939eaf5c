// Device commands through the window's menus against orb-devsim: the
// start-up search, a download into table and document, marks and matching,
// the communication test, the reply time-out, the work-mode flow and a
// switch to a missing port.
#include <sys/resource.h>

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <ctime>

#include "app/command_ids.h"
#include "app/delay_set_dlg.h"
#include "app/device_bridge.h"
#include "app/device_launch.h"
#include "app/main_frame.h"
#include "app_test_support.h"
#include "device/device_frame.h"
#include "device/line_log.h"

using namespace orb;

namespace {

// One simulator and one window per test; message boxes are answered by the
// hook (Yes / OK) and recorded.
struct Rig : test::SimRig {
    QString baud = QStringLiteral("0");  // unpaced unless a test wants the real line speed

    bool Start(const QByteArray& scenarioJson = {}) {
        return SimRig::Start({QStringLiteral("--baud"), baud, QStringLiteral("--log"), LogPath()},
                             scenarioJson);
    }
};

// Wall clock, this thread's CPU time and its involuntary context switches.
struct TickGap {
    qint64 wall = 0, cpu = 0;
    long preempted = 0;
    static TickGap Now(const QElapsedTimer& clock) {
        TickGap t;
        t.wall = clock.isValid() ? clock.nsecsElapsed() : 0;
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        t.cpu = qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
        rusage ru{};
        getrusage(RUSAGE_THREAD, &ru);
        t.preempted = ru.ru_nivcsw;
        return t;
    }
    TickGap operator-(const TickGap& o) const {
        return {wall - o.wall, cpu - o.cpu, preempted - o.preempted};
    }
};

std::size_t CheckedRecordRows(const SurveyTableModel& m) {
    std::size_t n = 0;
    for (std::size_t r = 0; r < m.RowCount(); ++r)
        if (!m.IsMarkRow(r) && m.IsChecked(r)) ++n;
    return n;
}

}  // namespace

class DeviceTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::PrepareApplication(); }
    void init() { settings_ = test::UseTemporarySettings(); }

    void startupOpensTheSimulatorFirst();
    void downloadFillsTableAndDocumentThenMarksAreMatched();
    void communicationTestReportsTheConnection();
    void silentProbeTimesOutAfterTwoSeconds();
    void workModeSendsTheFrameAfterConfirmationAndDialog();
    void switchToMissingPortFailsAndLeavesNoPortOpen();
    void screenshots();
    void uiLatenessDuringDownload();

private:
    std::unique_ptr<QTemporaryDir> settings_;
};

void DeviceTest::startupOpensTheSimulatorFirst() {
    Rig rig;
    QVERIFY(rig.Start());
    QCOMPARE(rig.device->messages, QStringList{QStringLiteral("串口1已打开")});
    QVERIFY(rig.device->IsOpen());
    QCOMPARE(rig.device->PortNumber(), 1);
    QVERIFY(rig.frame->ProgressBar());
}

void DeviceTest::downloadFillsTableAndDocumentThenMarksAreMatched() {
    Rig rig;
    rig.baud = QStringLiteral("115200");  // paced, so that the transfer is seen while it runs
    QVERIFY(rig.Start());
    DeviceController& dc = rig.device->controller();
    // Rows appear while the transfer runs, not only at its end.
    bool sawPartialTable = false;
    QStringList statuses;
    rig.Run(cmd::kProbeDownload);
    QElapsedTimer t;
    t.start();
    while (!dc.sampleTransfer.complete && t.elapsed() < 60000) {
        QTest::qWait(20);
        const std::size_t rows = rig.frame->TableModel().RowCount();
        if (rows > 0 && dc.sampleTransfer.announced > 0 && rows < std::size_t(dc.sampleTransfer.announced))
            sawPartialTable = true;
        const QString s = rig.frame->StatusTextPane()->text();
        if (statuses.isEmpty() || statuses.constLast() != s) statuses << s;
    }
    QVERIFY(dc.sampleTransfer.complete);
    QVERIFY(dc.sampleTransfer.announced > 0);
    QTRY_COMPARE(rig.frame->StatusTextPane()->text(), QStringLiteral("数据读取完成"));
    QVERIFY2(statuses.contains(QStringLiteral("读取中，稍候....")), qPrintable(statuses.join(u'|')));
    QVERIFY(sawPartialTable);
    QCOMPARE(rig.frame->Document().RecordCount(), std::size_t(dc.sampleTransfer.announced));
    QCOMPARE(rig.frame->TableModel().RowCount(), std::size_t(dc.sampleTransfer.announced));
    QCOMPARE(rig.frame->ProgressBar()->value(), 100);

    // The marks: with the samples present, matching checks the stations.
    rig.Run(cmd::kSyncDownload);
    QTRY_VERIFY_WITH_TIMEOUT(dc.markTransfer.complete, 30000);
    QVERIFY(rig.frame->Document().MarkCount() > 0);
    QTRY_VERIFY(CheckedRecordRows(rig.frame->TableModel()) > 0);
    QVERIFY(CheckedRecordRows(rig.frame->TableModel()) <= rig.frame->Document().MarkCount());
}

void DeviceTest::communicationTestReportsTheConnection() {
    Rig rig;
    QVERIFY(rig.Start());
    rig.Run(cmd::kProbeTest);
    QTRY_VERIFY(rig.device->messages.contains(QStringLiteral("设备连接正常")));
    QVERIFY(!rig.device->messages.contains(QStringLiteral("通信超时！")));
}

void DeviceTest::silentProbeTimesOutAfterTwoSeconds() {
    Rig rig;
    QVERIFY(rig.Start(R"({"faults": {"dropReply": [{"reply": "commTest", "number": 0}]}})"));
    QElapsedTimer t;
    t.start();
    rig.Run(cmd::kProbeTest);
    QTRY_VERIFY_WITH_TIMEOUT(rig.device->messages.contains(QStringLiteral("通信超时！")), 6000);
    QVERIFY2(t.elapsed() >= 1900, qPrintable(QString::number(t.elapsed())));
    QVERIFY(!rig.device->messages.contains(QStringLiteral("设备连接正常")));
}

void DeviceTest::workModeSendsTheFrameAfterConfirmationAndDialog() {
    Rig rig;
    QVERIFY(rig.Start(R"({"probe": {"delayMinutes": 12, "intervalSeconds": 30}})"));
    QString question;
    rig.device->messageHook = [&question](const QString& text, const QString& caption) {
        if (caption == QStringLiteral("请确认")) {
            question = text;
            // The operator reads the question; the information reply arrives meanwhile.
            QTest::qWait(500);
        }
        return MessageAnswer::kYes;
    };
    int shownDelay = 0;
    test::WhenModal(
        [&shownDelay](QWidget* w) {
            auto* dlg = static_cast<CDelaySetDlg*>(w);
            shownDelay = dlg->delayMinutes();
            dlg->delayBox()->setValue(7);
            dlg->intervalBox()->setValue(20);
            dlg->findChild<QPushButton*>(QStringLiteral("writeButton"))->click();
        },
        5000, "orb::CDelaySetDlg");
    rig.Run(cmd::kProbeWorkMode);
    QCOMPARE(question, QStringLiteral("重新设置延时时间将会清空探管中的存储数据，是否继续？"));
    // The dialog opens with the probe's values from the information reply.
    QCOMPARE(shownDelay, 12);
    const QString expected = QString::fromStdString(BytesToHex(ProbeWorkModeFrame(7, 20)));
    QTRY_VERIFY(rig.Logged().contains(expected));
    QTRY_VERIFY(rig.device->messages.contains(QStringLiteral("数据已清空，任务完成!")));
}

void DeviceTest::switchToMissingPortFailsAndLeavesNoPortOpen() {
    Rig rig;
    QVERIFY(rig.Start());
    QVERIFY(rig.device->IsOpen());
    test::WhenModal(
        [](QWidget* w) {
            w->findChild<QLineEdit*>(QStringLiteral("field1028"))->setText(QStringLiteral("99"));
            QMetaObject::invokeMethod(w, "accept");
        },
        5000, "orb::CComSetDlg");
    rig.Run(cmd::kPortSelect);
    QCOMPARE(rig.device->messages.constLast(), QStringLiteral("串口打开失败"));
    QVERIFY(!rig.device->IsOpen());
    QCOMPARE(rig.device->serialPort().state(), SerialPort::kStateClosed);
    rig.Run(cmd::kProbeTest);
    QCOMPARE(rig.device->messages.constLast(), QStringLiteral("串口没有打开"));
}

namespace {

// Waits until `field` of dialog `w` shows something, saves the dialog, closes it.
void GrabWhenFilled(QWidget* w, const QString& field, const QString& png) {
    auto* edit = w->findChild<QLineEdit*>(field);
    QTRY_VERIFY_WITH_TIMEOUT(edit && !edit->text().isEmpty(), 10000);
    QTest::qWait(300);
    QVERIFY(w->grab().save(png));
    QMetaObject::invokeMethod(w, "reject");
}

}  // namespace

// Pictures for the documentation, taken only when ORB_SCREENSHOT_DIR names a
// folder (run under a display server for the real fonts and style).
void DeviceTest::screenshots() {
    const QString out = qEnvironmentVariable("ORB_SCREENSHOT_DIR");
    if (out.isEmpty()) QSKIP("ORB_SCREENSHOT_DIR not set");
    Rig rig;
    QVERIFY(rig.Start());
    rig.frame->resize(1100, 700);
    DeviceController& dc = rig.device->controller();
    rig.Run(cmd::kProbeDownload);
    QTRY_VERIFY_WITH_TIMEOUT(dc.sampleTransfer.complete, 60000);
    rig.Run(cmd::kSyncDownload);
    QTRY_VERIFY_WITH_TIMEOUT(dc.markTransfer.complete, 30000);
    QTRY_VERIFY(CheckedRecordRows(rig.frame->TableModel()) > 0);
    QTest::qWait(500);
    QVERIFY(rig.frame->grab().save(out + QStringLiteral("/main_window_download.png")));

    test::WhenModal(
        [out](QWidget* w) {
            GrabWhenFilled(w, QStringLiteral("field1015"), out + QStringLiteral("/info_dialog.png"));
        },
        5000, "orb::CInforDlg");
    rig.Run(cmd::kProbeInfo);
    test::WhenModal(
        [out](QWidget* w) {
            GrabWhenFilled(w, QStringLiteral("field1001"), out + QStringLiteral("/realtime_dialog.png"));
        },
        5000, "orb::CRealDisDlg");
    rig.Run(cmd::kProbeRealTime);
    test::WhenModal(
        [out](QWidget* w) {
            w->findChild<QPushButton*>(QStringLiteral("button1044"))->click();
            GrabWhenFilled(w, QStringLiteral("field1043"), out + QStringLiteral("/clock_dialog.png"));
        },
        5000, "orb::CRtcProbeDlg");
    rig.Run(cmd::kProbeClock);
}

// How late a 10 ms timer fires on the window's thread while a download runs;
// only when ORB_UI_BENCH_SCENARIO names a scenario (scripts/bench_ui_responsiveness.sh).
void DeviceTest::uiLatenessDuringDownload() {
    const QString scenario = qEnvironmentVariable("ORB_UI_BENCH_SCENARIO");
    if (scenario.isEmpty()) QSKIP("ORB_UI_BENCH_SCENARIO not set");
    QFile f(scenario);
    QVERIFY(f.open(QIODevice::ReadOnly));
    Rig rig;
    rig.baud = qEnvironmentVariable("ORB_UI_BENCH_BAUD", QStringLiteral("9600"));
    QVERIFY(rig.Start(f.readAll()));
    DeviceController& dc = rig.device->controller();
    // Besides the wall-clock gap between ticks, the window thread's own CPU
    // time and its involuntary context switches in that gap tell work done
    // on the thread (blocking) apart from time the scheduler gave to other
    // processes on a shared machine.
    QElapsedTimer clock;
    TickGap last;
    TickGap worstWall;     // the gap with the largest wall-clock lateness
    qint64 worstBusy = 0;  // the most CPU the thread used between two ticks
    int late50 = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    connect(&tick, &QTimer::timeout, this, [&] {
        const TickGap now = TickGap::Now(clock);
        const TickGap gap = now - last;
        if (gap.wall - 10'000'000 > worstWall.wall - 10'000'000) worstWall = gap;
        worstBusy = std::max(worstBusy, gap.cpu);
        if (gap.wall - 10'000'000 > 50'000'000) ++late50;
        last = now;
    });
    rig.Run(cmd::kProbeDownload);
    clock.start();
    last = TickGap::Now(clock);
    tick.start(10);
    QTRY_VERIFY_WITH_TIMEOUT(dc.sampleTransfer.complete, 900000);
    tick.stop();
    const double seconds = clock.elapsed() / 1000.0;
    qInfo(
        "samples %d, %.1f s, worst lateness of a 10 ms timer %.2f ms (thread CPU in that gap %.2f ms, "
        "%ld involuntary switches); most thread CPU between two ticks %.2f ms; ticks late > 50 ms: %d",
        dc.sampleTransfer.announced, seconds, (worstWall.wall - 10'000'000) / 1e6, worstWall.cpu / 1e6,
        worstWall.preempted, worstBusy / 1e6, late50);
    QCOMPARE(rig.frame->Document().RecordCount(), std::size_t(dc.sampleTransfer.announced));
}

QTEST_MAIN(DeviceTest)
#include "device_test.moc"
