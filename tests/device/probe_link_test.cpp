// The probe side of the device logic against fakes: sending and the reply
// timer, the download chain, real time, work mode, information, clocks,
// the port search and switch, and damaged input.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "core/angles.h"
#include "core/synthetic.h"
#include "device_fakes.h"

namespace orb::test {
namespace {

using ::testing::ElementsAre;

void FeedCalibration(Rig& rig, const ProbeCalibration& cal = ProbeCalibration::Default()) {
    for (const Bytes& f : CalibrationReplies(cal)) rig.Receive(f);
}

// Runs the chain up to the count request: information, calibration, offset.
void StartDownload(Rig& rig, float offset = 10.0f) {
    rig.dc.OnCommand(device_cmd::kProbeDownload);
    rig.Receive(InfoReply("TALOE123", 3, 5, 10, 118));
    FeedCalibration(rig);
    rig.Receive(OffsetReply(offset));
}

TEST(ProbeSend, ReplyTimerAndClosedPort) {
    Rig rig;
    rig.dc.OnCommand(device_cmd::kProbeTest);
    ASSERT_EQ(rig.port.written.size(), 1u);
    EXPECT_EQ(rig.port.written[0], HexTemplateToBytes("FF FF FF FF FF FF 01 46 00 00 47"));
    EXPECT_EQ(rig.op.statusTexts.back(), "程序准备就绪");
    EXPECT_EQ(rig.timers.running.at(timer_id::kReply), 2000);

    // Expiry: the timer stops and the time-out is reported once.
    rig.dc.OnTimer(timer_id::kReply);
    EXPECT_FALSE(rig.timers.IsRunning(timer_id::kReply));
    ASSERT_EQ(rig.op.messages.size(), 1u);
    EXPECT_EQ(rig.op.messages[0].text, "通信超时！");
    EXPECT_EQ(rig.op.messages[0].caption, "警告");
    EXPECT_EQ(rig.op.messages[0].icon, MessageIcon::kWarning);

    // An answer stops the timer and reports the connection.
    rig.dc.OnCommand(device_cmd::kProbeTest);
    rig.Receive(BuildReplyFrame(0x00, {}));
    EXPECT_FALSE(rig.timers.IsRunning(timer_id::kReply));
    EXPECT_EQ(rig.op.messages.back().text, "设备连接正常");
    EXPECT_EQ(rig.op.messages.back().caption, "通信正常");
    EXPECT_EQ(rig.op.messages.back().icon, MessageIcon::kInformation);

    // No port: the message, nothing written, and the timer armed afterwards.
    rig.port.open = 0;
    rig.dc.OnCommand(device_cmd::kProbeInfo);
    EXPECT_EQ(rig.port.written.size(), 2u);
    EXPECT_EQ(rig.op.messages.back().text, "串口没有打开");
    EXPECT_EQ(rig.op.messages.back().caption, "警告！");
    EXPECT_TRUE(rig.timers.IsRunning(timer_id::kReply));
}

TEST(ProbeDownload, ChainProducesRecordsAndCompletes) {
    Rig rig;
    rig.dc.OnCommand(device_cmd::kProbeDownload);
    EXPECT_TRUE(rig.table.model.showAll());
    EXPECT_FALSE(rig.table.model.reverseOrder());
    EXPECT_TRUE(rig.dc.DownloadRequested());
    rig.Receive(InfoReply("TALOE123", 3, 5, 10, 118));
    EXPECT_FALSE(rig.dc.DownloadRequested());
    EXPECT_EQ(rig.doc.probeNumber(), u"TALOE123");
    FeedCalibration(rig);
    EXPECT_EQ(rig.op.progress.back(), 100);
    rig.Receive(OffsetReply(10.0f));
    EXPECT_THAT(rig.SentCodes(), ElementsAre(0x04, 0x31, 0x09, 0x03));
    EXPECT_EQ(rig.port.written[2], HexTemplateToBytes("FF FF FF FF FF FF 01 46 09 00 4E"));

    rig.doc.AppendRecord(SurveyRecord{});  // replaced by the download
    rig.Receive(CountReply(3));
    EXPECT_EQ(rig.doc.RecordCount(), 0u);
    EXPECT_EQ(rig.op.statusTexts.back(), "读取中，稍候....");

    SampleSpec s;
    s.raw = {0, 0, 4500, 0, 0, 0};
    rig.Receive(SampleReply(s));
    const SurveyRecord& r = rig.doc.Record(0);
    EXPECT_EQ(r.inclination, 0.0f);
    EXPECT_EQ(r.gravityToolFace, 350.0f);
    EXPECT_EQ(r.selected, 0);
    EXPECT_EQ(r.depth, 0.0f);
    EXPECT_EQ(FormatOleDate(r.sampleTime, r.sampleTimeStatus), "2025-01-02 03:04:05");
    EXPECT_EQ(r.batteryVoltage, 11.8f);
    EXPECT_EQ(rig.op.progress.back(), 0);
    EXPECT_EQ(rig.table.model.RowCount(), 1u);

    // Month 0x13 is no date: status 1, the record is still kept.
    s.index = 1;
    s.time[5] = 0x13;
    rig.Receive(SampleReply(s));
    EXPECT_EQ(rig.doc.Record(1).sampleTimeStatus, 1);
    EXPECT_EQ(rig.op.progress.back(), 33);

    s.index = 2;
    s.time[5] = 0x01;
    rig.Receive(SampleReply(s));
    EXPECT_EQ(rig.doc.RecordCount(), 3u);
    EXPECT_EQ(rig.op.statusTexts.back(), "数据读取完成");
    EXPECT_EQ(rig.op.progress.back(), 100);
    EXPECT_TRUE(rig.dc.sampleTransfer.complete);
    EXPECT_EQ(rig.table.matches, 0);  // no marks in the document
    EXPECT_FALSE(rig.timers.IsRunning(timer_id::kReply));
}

TEST(ProbeDownload, RecordsMatchTheAttitudeComputation) {
    Rig rig;
    const ProbeCalibration cal = GenerateCalibration(7);
    rig.dc.OnCommand(device_cmd::kProbeDownload);
    rig.Receive(InfoReply("T1", 1, 5, 10, 118));
    FeedCalibration(rig, cal);
    rig.Receive(OffsetReply(33.25f));
    rig.Receive(CountReply(1));
    SampleSpec s;
    s.temperatureTenths = -57;
    s.raw = RawCountsFor(cal, -5.7f, IdealVectors({23.5, 141.0, 77.0, 55.0, 1.0, 1.0}));
    rig.Receive(SampleReply(s));

    AttitudeSample a;
    a.v[AttitudeSample::kTemperature] = -57 / 10.0f;
    for (int k = 0; k < 6; ++k) a.v[AttitudeSample::kRawGx + k] = s.raw[k];
    ComputeAttitude(cal, a);
    ASSERT_NEAR(a.v[AttitudeSample::kInclination], 23.5, 0.1);
    const SurveyRecord& r = rig.doc.Record(0);
    EXPECT_EQ(r.inclination, a.v[AttitudeSample::kInclination]);
    EXPECT_EQ(r.azimuth, a.v[AttitudeSample::kAzimuth]);
    EXPECT_EQ(r.gravityToolFace,
              static_cast<float>(NormalizeAngle(a.v[AttitudeSample::kGravityToolFace] - 33.25f)));
    EXPECT_EQ(r.magneticToolFace,
              static_cast<float>(NormalizeAngle(a.v[AttitudeSample::kMagneticToolFace] - 33.25f)));
    EXPECT_EQ(r.dip, a.v[AttitudeSample::kDip]);
    EXPECT_EQ(r.mz, a.v[AttitudeSample::kMz]);
    EXPECT_EQ(r.temperature, -5.7f);
}

TEST(ProbeDownload, CountZeroKeepsThePreviousRecords) {
    Rig rig;
    StartDownload(rig);
    rig.doc.AppendRecord(SurveyRecord{});
    rig.Receive(CountReply(0));
    EXPECT_EQ(rig.doc.RecordCount(), 1u);
    EXPECT_EQ(rig.op.statusTexts.back(), "无数据");
    EXPECT_EQ(rig.op.progress.back(), 100);
    ASSERT_FALSE(rig.op.messages.empty());
    EXPECT_EQ(rig.op.messages.back().text, "探管中没有存储数据");
    EXPECT_EQ(rig.op.messages.back().caption, "警告");
    EXPECT_EQ(rig.op.messages.back().icon, MessageIcon::kWarning);
    EXPECT_TRUE(rig.dc.sampleTransfer.complete);
}

TEST(ProbeDownload, GarbageCountsAreHarmless) {
    Rig rig;
    StartDownload(rig);
    // A huge count reserves a bounded amount and still takes every sample.
    rig.Receive(CountReply(INT_MAX));
    EXPECT_LE(rig.doc.records().capacity(), static_cast<std::size_t>(kMaxReserve));
    SampleSpec s;
    s.index = INT_MAX - 1;  // the announced last one, far beyond what came
    rig.Receive(SampleReply(s));
    EXPECT_EQ(rig.op.progress.back(), 100);
    EXPECT_TRUE(rig.dc.sampleTransfer.complete);

    // A negative count is a bad reply.
    StartDownload(rig);
    rig.Receive(CountReply(-5));
    EXPECT_TRUE(rig.dc.sampleTransfer.badCount);
    EXPECT_EQ(rig.op.messages.back().text, BadCountText("探管", -5));
    // Samples after that belong to no transfer and store nothing.
    for (int32_t index : {0, 7, INT_MAX, -3}) {
        s.index = index;
        rig.Receive(SampleReply(s));
    }
    EXPECT_EQ(rig.doc.RecordCount(), 1u);
    // Indices beyond the count: progress stays 0..100.
    StartDownload(rig);
    rig.Receive(CountReply(2));
    s.index = 9;
    rig.Receive(SampleReply(s));
    EXPECT_EQ(rig.op.progress.back(), 100);
    EXPECT_EQ(rig.doc.RecordCount(), 1u);
}

TEST(ProbeDownload, DamagedInputStoresNoBadRecordAndKeepsTheGoodOnes) {
    Rig rig;
    StartDownload(rig);
    rig.Receive(CountReply(4));
    SampleSpec s;
    rig.Receive(SampleReply(s));
    // Garbage, a corrupted frame, a short sample and a split frame.
    rig.Receive({0x00, 0xFF, 0xC6, 0x13, 0xFF, 0xFF});
    s.index = 1;
    Bytes bad = SampleReply(s);
    bad[20] ^= 0x40;
    rig.Receive(bad);
    rig.Receive(BuildReplyFrame(0x03, Bytes(20, 0)));
    s.index = 2;
    const Bytes good = SampleReply(s);
    for (uint8_t b : good) rig.Receive({b});
    EXPECT_EQ(rig.doc.RecordCount(), 2u);
    EXPECT_EQ(rig.dc.sampleTransfer.arrived, 2);
    EXPECT_FALSE(rig.dc.sampleTransfer.complete);
    s.index = 3;
    rig.Receive(SampleReply(s));
    EXPECT_EQ(rig.doc.RecordCount(), 3u);
    EXPECT_TRUE(rig.dc.sampleTransfer.complete);
}

TEST(ProbeRealTime, PollsAfterTheOffsetAndStopsWhenTheDialogCloses) {
    Rig rig;
    rig.op.duringRealTime = [&] {
        EXPECT_EQ(rig.dc.realTimeActive, 1);
        FeedCalibration(rig);
        rig.Receive(OffsetReply(10.0f));
        EXPECT_EQ(rig.timers.running.at(timer_id::kRealTime), 1000);
        rig.dc.OnTimer(timer_id::kRealTime);
        Bytes d(24, 0);
        StoreLE<int16_t>(d, 0, 215);
        const auto raw =
            RawCountsFor(ProbeCalibration::Default(), 21.5f, IdealVectors({30, 120, 45, 60, 1, 1}));
        for (int k = 0; k < 6; ++k) StoreLE<int16_t>(d, 2 + 2 * k, raw[k]);
        rig.Receive(BuildReplyFrame(0x19, d));
        // The ready-made form: 80 data bytes taken as they are.
        AttitudeSample ready;
        ready.v[AttitudeSample::kInclination] = 3.14159f;
        ready.v[AttitudeSample::kTotalGravity] = 1.0f;
        Bytes image(80, 0);
        std::memcpy(image.data(), ready.v.data(), 80);
        rig.Receive(BuildReplyFrame(0x19, image));
    };
    rig.dc.OnCommand(device_cmd::kProbeRealTime);
    EXPECT_THAT(rig.SentCodes(), ElementsAre(0x31, 0x09, 0x19));
    ASSERT_EQ(rig.op.realTime.size(), 2u);
    // Values near the attitude, the tool face reduced by the offset, and
    // the field formats (decimals 2, 1, 1, 1, 4, 4, 1, 1).
    const RealTimeTexts& t = rig.op.realTime[0];
    const double expected[8] = {30, 120, 35, -1, 1, 1, 60, 21.5};
    const std::size_t decimals[8] = {2, 1, 1, 1, 4, 4, 1, 1};
    for (int k = 0; k < 8; ++k) {
        if (expected[k] >= 0) {
            EXPECT_NEAR(std::stod(t[k]), expected[k], 0.05) << k;
        }
        EXPECT_EQ(t[k].size() - t[k].find('.') - 1, decimals[k]) << t[k];
    }
    EXPECT_EQ(rig.op.realTime[1][0], "3.14");
    EXPECT_EQ(rig.dc.realTimeActive, 0);
    EXPECT_FALSE(rig.timers.IsRunning(timer_id::kRealTime));

    // A download afterwards goes on to the count request.
    StartDownload(rig);
    EXPECT_EQ(rig.SentCodes().back(), 0x03);
}

TEST(ProbeWorkMode, ConfirmDialogWriteClear) {
    Rig rig;
    // The information reply arrives while the question is on screen.
    rig.op.duringQuestion = [&] { rig.Receive(InfoReply("P1", 0, 7, 20, 80)); };
    rig.op.workModeDialog = [&](int32_t& d, int32_t& i) {
        EXPECT_EQ(d, 7);
        EXPECT_EQ(i, 20);
        d = 5;
        i = 10;
        return true;
    };
    rig.dc.OnCommand(device_cmd::kProbeWorkMode);
    ASSERT_EQ(rig.op.messages.size(), 1u);
    EXPECT_EQ(rig.op.messages[0].text, "重新设置延时时间将会清空探管中的存储数据，是否继续？");
    EXPECT_EQ(rig.op.messages[0].caption, "请确认");
    EXPECT_EQ(rig.op.messages[0].buttons, MessageButtons::kYesNoSafe);
    EXPECT_TRUE(rig.op.infoDialogs.empty());
    ASSERT_EQ(rig.port.written.size(), 2u);
    const Bytes& f = rig.port.written[1];
    ASSERT_EQ(f.size(), 43u);
    EXPECT_EQ(
        BytesToHex(std::span(f).subspan(10, 32)),
        "4A 24 4A 24 4A 24 8A 02 8A 02 8A 02 FF FF FF FF 05 00 05 00 05 00 0A 00 0A 00 0A 00 D8 07 00 81");
    EXPECT_EQ(f[42], XorChecksum(std::span(f).subspan(6, 36)));

    rig.Receive(BuildReplyFrame(0x05, {}));
    EXPECT_EQ(rig.SentCodes().back(), 0x02);
    rig.Receive(BuildReplyFrame(0x02, {}));
    EXPECT_EQ(rig.op.messages.back().text, "数据已清空，任务完成!");
    EXPECT_EQ(rig.op.messages.back().caption, "通信正常");
    EXPECT_EQ(rig.op.statusTexts.back(), "任务完成");
    EXPECT_EQ(rig.op.progress.back(), 100);

    // Declining at either step writes nothing.
    Rig no;
    no.op.answers = {MessageAnswer::kNo};
    no.dc.OnCommand(device_cmd::kProbeWorkMode);
    EXPECT_EQ(no.op.workModeDialogs, 0);
    no.op.workModeDialog = [](int32_t&, int32_t&) { return false; };
    no.dc.OnCommand(device_cmd::kProbeWorkMode);
    EXPECT_THAT(no.SentCodes(), ElementsAre(0x04, 0x04));
}

TEST(ProbeInfo, DialogTextsAndTiming) {
    struct Case {
        std::string number;
        uint16_t battery;
        const char* model;
        const char* capacity;
        const char* charge;
        int storage;
    };
    for (const Case& c :
         {Case{"TALOE-0042", 70, "TALOE", "10081", "50%", 19}, Case{"TALO-7", 84, "TALO", "8000", "100%", 25},
          Case{"X", 59, "TALO", "8000", "0%", 25}}) {
        Rig rig;
        rig.dc.OnCommand(device_cmd::kProbeInfo);
        rig.Receive(InfoReply(c.number, 2000, 3, 15, c.battery));
        ASSERT_EQ(rig.op.infoDialogs.size(), 1u) << c.number;
        const ProbeInfoView& v = rig.op.infoDialogs[0];
        EXPECT_EQ(v.probeModel, c.model);
        EXPECT_EQ(v.probeCapacity, c.capacity);
        EXPECT_EQ(v.chargeText, c.charge);
        EXPECT_EQ(v.storagePercent, c.storage);
        EXPECT_EQ(v.delayText, "3分");
        EXPECT_EQ(v.intervalText, "15秒");
        EXPECT_EQ(v.storedText, "2000");
        EXPECT_FALSE(rig.dc.InfoRequested());
        EXPECT_EQ(rig.dc.workIntervalSeconds, 15);
        EXPECT_EQ(rig.doc.timing(), (SurveyTiming{3, 15}));
        EXPECT_FALSE(rig.doc.IsModified()) << "an empty survey has nothing to save";
    }
    // Too short: ignored, the flag waits for the next reply.
    Rig rig;
    rig.dc.OnCommand(device_cmd::kProbeInfo);
    rig.Receive(BuildReplyFrame(0x04, Bytes(30, 0)));
    EXPECT_TRUE(rig.op.infoDialogs.empty());
    EXPECT_TRUE(rig.dc.InfoRequested());
}

TEST(ClockDialog, TimersButtonsAndReplies) {
    Rig rig;
    rig.op.duringClock = [&] {
        EXPECT_EQ(rig.timers.running.at(timer_id::kClockNow), 1000);
        rig.dc.OnTimer(timer_id::kClockNow);
        EXPECT_EQ(rig.op.clockFields[kClockFieldNow], "2025/06/07 -- 10:15:30");
        rig.dc.OnClockButton(clock_button::kReadProbe);
        rig.dc.OnClockButton(clock_button::kReadSync);
        rig.dc.OnTimer(timer_id::kClockReadProbe);
        rig.dc.OnTimer(timer_id::kClockReadSync);
        rig.Receive(ClockReply(0x21, {0x25, 0x01, 0x02, 0x03, 0x04, 0x05}));
        EXPECT_EQ(rig.op.clockFields[kClockFieldDevice], "2025/01/02 -- 03:04:05");
        // The long form carries the clock at 13..18.
        rig.Receive(BuildReplyFrame(0x0E, Bytes{0, 0, 0, 0, 0x24, 0x12, 0x31, 0x23, 0x59, 0x58}));
        EXPECT_EQ(rig.op.clockFields[kClockFieldDevice], "2024/12/31 -- 23:59:58");
        rig.dc.OnClockButton(clock_button::kSetProbe);
        rig.dc.OnClockButton(clock_button::kSetSync);
    };
    rig.dc.OnCommand(device_cmd::kProbeClock);
    ASSERT_EQ(rig.port.written.size(), 4u);
    EXPECT_EQ(BytesToHex(rig.port.written[0]), "FF FF FF FF FF FF 01 46 21 00 66");
    EXPECT_EQ(BytesToHex(rig.port.written[1]), "FF FF FF FF FF FF 01 47 21 00 67");
    const Bytes& probeSet = rig.port.written[2];
    EXPECT_EQ(BytesToHex(std::span(probeSet).first(19)),
              "FF FF FF FF FF FF 01 46 0E 09 06 E9 07 25 06 07 10 15 30");
    EXPECT_EQ(probeSet[19], XorChecksum(std::span(probeSet).subspan(6, 13)));
    const Bytes& syncSet = rig.port.written[3];
    EXPECT_EQ(BytesToHex(std::span(syncSet).first(16)), "FF FF FF FF FF FF 01 47 0E 06 25 06 07 10 15 30");
    EXPECT_EQ(syncSet[16], XorChecksum(std::span(syncSet).subspan(6, 10)));
    for (int id : {timer_id::kClockNow, timer_id::kClockReadProbe, timer_id::kClockReadSync}) {
        EXPECT_FALSE(rig.timers.IsRunning(id)) << id;
    }
    // With the dialog closed a late clock answer is dropped.
    rig.op.clockFields.clear();
    rig.Receive(ClockReply(0x21, {0x25, 0x01, 0x02, 0x03, 0x04, 0x05}));
    EXPECT_TRUE(rig.op.clockFields.empty());
}

TEST(Port, SearchAndSwitch) {
    Rig rig;
    rig.port.open = 0;
    rig.port.present = {4, 7};
    rig.dc.OnCommand(device_cmd::kProbeDownload);
    rig.op.messages.clear();  // "串口没有打开"
    rig.dc.realTimeActive = 1;
    rig.dc.receiveBuffer.fill = 12;
    rig.dc.SearchPorts();
    EXPECT_THAT(rig.port.openAttempts, ElementsAre(1, 2, 3, 4));
    EXPECT_EQ(rig.dc.portNumber, 4);
    EXPECT_EQ(rig.dc.receiveBuffer.fill, 0u);
    ASSERT_EQ(rig.op.messages.size(), 1u);
    EXPECT_EQ(rig.op.messages[0].text, "串口4已打开");
    EXPECT_EQ(rig.op.messages[0].caption, "");
    EXPECT_EQ(rig.op.messages[0].icon, MessageIcon::kNone);
    EXPECT_EQ(rig.dc.sequence(), Sequence::kNone);
    EXPECT_EQ(rig.dc.realTimeActive, 0);

    // Same number: nothing. Another existing one: switched. A missing one: failed.
    int next = 4;
    rig.op.portDialog = [&](int& n) {
        n = next;
        return true;
    };
    rig.dc.OnCommand(device_cmd::kPortSelect);
    EXPECT_EQ(rig.op.messages.size(), 1u);
    next = 7;
    rig.dc.OnCommand(device_cmd::kPortSelect);
    EXPECT_EQ(rig.op.messages.back().text, "串口已切换为7");
    next = 9;
    rig.dc.OnCommand(device_cmd::kPortSelect);
    EXPECT_EQ(rig.op.messages.back().text, "串口打开失败");
    EXPECT_FALSE(rig.port.IsOpen());
    EXPECT_EQ(rig.dc.portNumber, 9);

    // A port that hung up is reopened when its number is chosen again.
    next = 7;
    rig.dc.OnCommand(device_cmd::kPortSelect);
    rig.port.hungUp = true;
    rig.dc.OnCommand(device_cmd::kPortSelect);
    EXPECT_EQ(rig.op.messages.back().text, "串口已切换为7");
    EXPECT_FALSE(rig.port.hungUp);

    Rig none;
    none.port.open = 0;
    none.port.present = {};
    none.dc.SearchPorts();
    EXPECT_EQ(none.port.openAttempts.size(), 29u);
    EXPECT_EQ(none.dc.portNumber, 1);
    EXPECT_EQ(none.op.messages.back().text, "未找到有效串口");
    EXPECT_EQ(none.op.messages.back().icon, MessageIcon::kError);
}

TEST(LineLogTest, FramesInBothDirections) {
    const std::string path = ::testing::TempDir() + "orb_line_log_test.txt";
    Rig rig;
    LineLog log;
    ASSERT_TRUE(log.Open(path));
    log.SetClock([] {
        return std::chrono::system_clock::time_point(std::chrono::microseconds(1'700'000'000'123'456));
    });
    rig.dc.SetLineLog(&log);
    rig.dc.OnCommand(device_cmd::kProbeTest);
    rig.Receive(Concat({{0x01, 0x02}, BuildReplyFrame(0x00, {})}));
    log.Close();
    std::FILE* f = std::fopen(path.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char line[256];
    std::vector<std::string> lines;
    while (std::fgets(line, sizeof line, f)) lines.emplace_back(line);
    std::fclose(f);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "# orb line log 1\n");
    const std::string tx = lines[1].substr(27);
    EXPECT_EQ(tx, "TX FF FF FF FF FF FF 01 46 00 00 47\n");
    EXPECT_EQ(lines[1].substr(19, 8), ".123456 ");
    EXPECT_EQ(lines[2].substr(27), "RX FF FF FF FF FF C6 01 00 00 C7\n");
}

}  // namespace
}  // namespace orb::test
