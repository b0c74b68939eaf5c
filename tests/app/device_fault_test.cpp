// Faults of the device sequences in the window against orb-devsim, each
// checking the survey's records before and after: the real-time dialog closed
// early, a timed-out download followed by the work-mode command, a second
// download over a modified survey, out-of-range work-mode values, a stream
// that stops, and marks that match no sample.
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "app/command_ids.h"
#include "app/delay_set_dlg.h"
#include "app/device_bridge.h"
#include "app/device_launch.h"
#include "app/main_frame.h"
#include "app_test_support.h"
#include "device/device_frame.h"

using namespace orb;

namespace {

// About 280 samples of a synthetic well from 2025-06-07 08:00, and `more`.
QByteArray Scenario(const char* more) {
    return QByteArray(R"({"probe": {"samples": {"synthetic": {"start": "2025-06-07 08:00:00",
        "stations": {"count": 40, "kickoff": 5, "build": 3, "holdInclination": 35, "azimuth": 120, "seed": 4},
        "seed": 4}}}, )") +
           more + "}";
}

constexpr const char* kSampleRequest = "FF FF FF FF FF FF 01 46 03 00 44";

struct Rig : test::SimRig {
    bool Start(const QByteArray& scenarioJson = {}, const QString& baud = QStringLiteral("0")) {
        return SimRig::Start({QStringLiteral("--baud"), baud, QStringLiteral("--log"), LogPath()},
                             scenarioJson);
    }
    // A modified survey of `n` records the operator has worked on.
    void HoldSurvey(std::size_t n) { SimRig::HoldSurvey(n, true); }
    std::vector<float> Depths() const {
        std::vector<float> out;
        for (const SurveyRecord& r : frame->Document().records()) out.push_back(r.depth);
        return out;
    }
};

// Clicks the button with `text` on the next message box.
void AnswerSaveQuestion(const QString& text) {
    test::WhenModal(
        [text](QWidget* w) {
            for (QPushButton* b : w->findChildren<QPushButton*>())
                if (b->text() == text) b->click();
        },
        5000, "QMessageBox");
}

}  // namespace

class DeviceFaultTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::PrepareApplication(); }
    void init() { settings_ = test::UseTemporarySettings(); }

    void realTimeClosedEarlyLeavesTheSurvey();
    void timedOutDownloadDoesNotRunOnTheWorkModeReply();
    void secondDownloadAsksBeforeReplacingAModifiedSurvey();
    void outOfRangeWorkModeValuesAreRefused();
    void stoppedStreamIsReportedWithItsCounts();
    void unmatchedMarksAreWarnedAbout();

private:
    std::unique_ptr<QTemporaryDir> settings_;
};

void DeviceFaultTest::realTimeClosedEarlyLeavesTheSurvey() {
    Rig rig;
    QVERIFY(rig.Start({}, QStringLiteral("9600")));
    rig.HoldSurvey(4);
    const std::vector<float> before = rig.Depths();
    // Closed after 300 ms, long before the calibration read of about 1.5 s ends.
    test::WhenModal(
        [](QWidget* w) { QTimer::singleShot(300, w, [w] { QMetaObject::invokeMethod(w, "reject"); }); }, 5000,
        "orb::CRealDisDlg");
    rig.Run(cmd::kProbeRealTime);
    QTest::qWait(3000);
    QCOMPARE(rig.Depths(), before);
    QVERIFY(!rig.Logged().contains(QString::fromLatin1(kSampleRequest)));
    QCOMPARE(rig.device->controller().sequence(), Sequence::kNone);
}

void DeviceFaultTest::timedOutDownloadDoesNotRunOnTheWorkModeReply() {
    Rig rig;
    QVERIFY(rig.Start(R"({"faults": {"dropReply": [{"reply": "information", "number": 0}]}})"));
    rig.HoldSurvey(4);
    rig.frame->Document().SetModified(false);
    const std::vector<float> before = rig.Depths();
    rig.Run(cmd::kProbeDownload);
    QTRY_VERIFY_WITH_TIMEOUT(rig.device->messages.contains(QStringLiteral("通信超时！")), 6000);
    // The work-mode command's information reply arrives; the operator says no.
    rig.device->messageHook = [](const QString&, const QString& caption) {
        if (caption == QStringLiteral("请确认")) QTest::qWait(500);
        return MessageAnswer::kNo;
    };
    rig.Run(cmd::kProbeWorkMode);
    QTest::qWait(1000);
    QCOMPARE(rig.Depths(), before);
    const QString calibrationRequest = QString::fromStdString(BytesToHex(ProbeReadCalibrationFrame()));
    QVERIFY(!rig.Logged().contains(calibrationRequest));
}

void DeviceFaultTest::secondDownloadAsksBeforeReplacingAModifiedSurvey() {
    Rig rig;
    QVERIFY(rig.Start());
    rig.HoldSurvey(4);
    const std::vector<float> before = rig.Depths();
    const int logged = rig.Logged().size();
    AnswerSaveQuestion(QStringLiteral("取消"));
    rig.Run(cmd::kProbeDownload);
    QTest::qWait(500);
    QCOMPARE(rig.Logged().size(), logged);  // nothing sent
    QCOMPARE(rig.Depths(), before);

    AnswerSaveQuestion(QStringLiteral("不保存(&N)"));
    rig.Run(cmd::kProbeDownload);
    DeviceController& dc = rig.device->controller();
    QTRY_VERIFY_WITH_TIMEOUT(dc.sampleTransfer.complete, 30000);
    QCOMPARE(rig.frame->Document().RecordCount(), std::size_t(dc.sampleTransfer.announced));
    QVERIFY(rig.Depths() != before);
}

void DeviceFaultTest::outOfRangeWorkModeValuesAreRefused() {
    Rig rig;
    QVERIFY(rig.Start());
    rig.HoldSurvey(4);
    const std::vector<float> before = rig.Depths();
    struct Case {
        int delay, interval;
        const char* message;
    };
    for (const Case& c :
         {Case{1000, 10, "请输入一个介于1和999之间的整数。"}, Case{0, 10, "请输入一个介于1和999之间的整数。"},
          Case{5, 75, "请输入一个介于1和59之间的整数。"}}) {
        QString refusal;
        bool stayedOpen = false, focused = false;
        test::WhenModal(
            [&](QWidget* w) {
                auto* dlg = static_cast<CDelaySetDlg*>(w);
                dlg->delayBox()->setValue(c.delay);
                dlg->intervalBox()->setValue(c.interval);
                test::WhenModal(
                    [&refusal](QWidget* box) {
                        refusal = static_cast<QMessageBox*>(box)->text();
                        static_cast<QMessageBox*>(box)->accept();
                    },
                    5000, "QMessageBox");
                dlg->findChild<QPushButton*>(QStringLiteral("writeButton"))->click();
                stayedOpen = dlg->isVisible();
                QSpinBox* wrong = c.interval == 75 ? dlg->intervalBox() : dlg->delayBox();
                focused = dlg->focusWidget() == wrong || wrong->isAncestorOf(dlg->focusWidget());
                dlg->reject();
            },
            5000, "orb::CDelaySetDlg");
        rig.Run(cmd::kProbeWorkMode);
        QCOMPARE(refusal, QString::fromUtf8(c.message));
        QVERIFY(stayedOpen);
        QVERIFY(focused);
    }
    QTest::qWait(300);
    for (const QString& line : rig.Logged())
        QVERIFY2(!line.startsWith("FF FF FF FF FF FF 01 46 05"), qPrintable(line));
    QCOMPARE(rig.Depths(), before);
}

void DeviceFaultTest::stoppedStreamIsReportedWithItsCounts() {
    Rig rig;
    QVERIFY(rig.Start(Scenario(R"("faults": {"stopAfterSamples": 100})")));
    rig.Run(cmd::kProbeDownload);
    DeviceController& dc = rig.device->controller();
    QTRY_VERIFY_WITH_TIMEOUT(dc.sampleTransfer.arrived == 100, 20000);
    const QString expected =
        QStringLiteral("数据流中断：已收到100条探管数据，共%1条").arg(dc.sampleTransfer.announced);
    QTRY_VERIFY_WITH_TIMEOUT(rig.device->messages.contains(expected), 10000);
    QCOMPARE(rig.frame->Document().RecordCount(), std::size_t(100));
    QCOMPARE(rig.frame->StatusTextPane()->text(), QStringLiteral("数据读取不完整"));
}

void DeviceFaultTest::unmatchedMarksAreWarnedAbout() {
    // The synchronizer's marks years before the samples: a clock never set.
    Rig rig;
    QVERIFY(rig.Start(Scenario(R"("synchronizer": {"marks": [{"sequence": 0, "time": "2020-01-02 08:00:00"},
                                                              {"sequence": 1, "time": "2020-01-02 08:01:00"}]})")));
    DeviceController& dc = rig.device->controller();
    rig.Run(cmd::kProbeDownload);
    QTRY_VERIFY_WITH_TIMEOUT(dc.sampleTransfer.complete, 30000);
    const std::vector<float> before = rig.Depths();
    rig.Run(cmd::kSyncDownload);
    QTRY_VERIFY_WITH_TIMEOUT(dc.markTransfer.complete, 10000);
    QTRY_COMPARE(rig.frame->StatusTextPane()->text(), QStringLiteral("2个同步标记中0个已匹配"));
    QVERIFY2(rig.device->messages.constLast().startsWith(QStringLiteral("2个同步标记中只有0个")),
             qPrintable(rig.device->messages.constLast()));
    QVERIFY(rig.device->messages.constLast().contains(QStringLiteral("时钟校准")));
    QCOMPARE(rig.Depths(), before);
    QCOMPARE(rig.frame->TableModel().RowCount(), rig.frame->Document().RecordCount());
}

QTEST_MAIN(DeviceFaultTest)
#include "device_fault_test.moc"
