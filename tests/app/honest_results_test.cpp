// The window's honest transfer results against orb-devsim: samples lost on
// the line are warned about and the survey is marked incomplete; a device
// that keeps repeating a reply brings no message the running command did not
// ask for, and a repeated sample is neither stored twice nor keeps the
// download running; a negative count stores nothing.
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

#include "app/command_ids.h"
#include "app/device_bridge.h"
#include "app/device_launch.h"
#include "app/main_frame.h"
#include "app_test_support.h"

using namespace orb;

namespace {

// About 280 samples of a synthetic well from 2025-06-07 08:00, then `more`.
QByteArray Scenario(const char* more, const char* probe = "") {
    return QByteArray(R"({"probe": {)") + probe +
           R"("samples": {"synthetic": {"start": "2025-06-07 08:00:00",
        "stations": {"count": 40, "kickoff": 5, "build": 3, "holdInclination": 35, "azimuth": 120, "seed": 4},
        "seed": 4}}}, "faults": )" +
           more + "}";
}

struct Rig : test::SimRig {
    bool Start(const QByteArray& scenarioJson) {
        const bool ok =
            SimRig::Start({QStringLiteral("--baud"), QStringLiteral("0")}, scenarioJson, MessageAnswer::kOk);
        device->messages.clear();  // the port search's "串口1已打开"
        return ok;
    }
    void HoldSurvey(std::size_t n) { SimRig::HoldSurvey(n, false); }  // saved: no save question
};

}  // namespace

class HonestResultsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::PrepareApplication(); }
    void init() { settings_ = test::UseTemporarySettings(); }

    void lostSamplesAreWarnedAboutAndMarkTheSurvey();
    void repeatedRepliesShowOnlyWhatTheCommandAskedFor_data();
    void repeatedRepliesShowOnlyWhatTheCommandAskedFor();

private:
    std::unique_ptr<QTemporaryDir> settings_;
};

void HonestResultsTest::lostSamplesAreWarnedAboutAndMarkTheSurvey() {
    Rig rig;
    QVERIFY(rig.Start(Scenario(R"({"dropReply": [{"reply": "sample", "numbers": [10, 11, 200]}]})")));
    rig.frame->Action(cmd::kProbeDownload)->trigger();
    DeviceController& dc = rig.device->controller();
    QTRY_VERIFY_WITH_TIMEOUT(dc.sampleTransfer.complete, 30000);
    const QString expected =
        QStringLiteral("数据读取不完整：已收到277条探管数据，共%1条，缺少3条（序号10-11, 200）。")
            .arg(dc.sampleTransfer.announced);
    std::printf("[fault] window: samples 10, 11, 200 lost: %zu/%d records, status %s, message %s\n",
                rig.frame->Document().RecordCount(), dc.sampleTransfer.announced,
                qPrintable(rig.frame->StatusTextPane()->text()),
                qPrintable(rig.device->messages.join(" / ")));
    QCOMPARE(rig.device->messages, QStringList{expected});
    QCOMPARE(rig.frame->StatusTextPane()->text(), QStringLiteral("数据读取不完整"));
    QCOMPARE(rig.frame->Document().RecordCount(), std::size_t(277));
}

void HonestResultsTest::repeatedRepliesShowOnlyWhatTheCommandAskedFor_data() {
    QTest::addColumn<QByteArray>("scenario");
    QTest::addColumn<int>("command");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("records");  // after the command; -1: the 280 announced
    QTest::newRow("count reply repeated") << Scenario(R"({"repeatReply": [{"reply": "sampleCount"}]})")
                                          << int(cmd::kProbeDownload) << QStringList{} << -1;
    QTest::newRow("empty probe, count repeated")
        << Scenario(R"({"repeatReply": [{"reply": "sampleCount"}]})", R"("announced": 0, )")
        << int(cmd::kProbeDownload) << QStringList{QStringLiteral("探管中没有存储数据")} << 4;
    QTest::newRow("negative count, repeated")
        << Scenario(R"({"repeatReply": [{"reply": "sampleCount"}]})", R"("announced": -1, )")
        << int(cmd::kProbeDownload)
        << QStringList{QStringLiteral("探管回复的数据数量无效（-1），没有读取任何数据，原有数据保持不变。")}
        << 4;
    QTest::newRow("communication test answer repeated")
        << Scenario(R"({"repeatReply": [{"reply": "commTest"}]})") << int(cmd::kProbeTest)
        << QStringList{QStringLiteral("设备连接正常")} << 4;
    // The last sample never comes; sample 5 comes again and again.
    QTest::newRow("a sample repeated, the last lost")
        << Scenario(R"({"repeatReply": [{"reply": "sample", "number": 5}],
                        "dropReply": [{"reply": "sample", "number": 279}]})")
        << int(cmd::kProbeDownload) << QStringList{QStringLiteral("数据流中断：已收到279条探管数据，共280条")}
        << 279;
}

void HonestResultsTest::repeatedRepliesShowOnlyWhatTheCommandAskedFor() {
    QFETCH(QByteArray, scenario);
    QFETCH(int, command);
    QFETCH(QStringList, messages);
    QFETCH(int, records);
    Rig rig;
    QVERIFY(rig.Start(scenario));
    rig.HoldSurvey(4);
    rig.frame->Action(command)->trigger();
    DeviceController& dc = rig.device->controller();
    QTRY_VERIFY_WITH_TIMEOUT(
        (dc.sequence() == Sequence::kNone && !rig.device->messages.isEmpty()) || dc.sampleTransfer.complete,
        30000);
    // The device goes on repeating for another while.
    QTest::qWait(1500);
    std::printf("[fault] window: %s for ever: %zu records, messages %s\n", QTest::currentDataTag(),
                rig.frame->Document().RecordCount(),
                rig.device->messages.isEmpty() ? "(none)" : qPrintable(rig.device->messages.join(" / ")));
    QCOMPARE(rig.device->messages, messages);
    const std::size_t expected =
        records < 0 ? std::size_t(dc.sampleTransfer.announced) : std::size_t(records);
    QCOMPARE(rig.frame->Document().RecordCount(), expected);
}

QTEST_MAIN(HonestResultsTest)
#include "honest_results_test.moc"
