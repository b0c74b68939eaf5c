// The command sequences of the device logic: replies that belong to no
// running sequence change nothing, every way a sequence ends, the save
// question before data are replaced, and the reports of transfers that end
// early (stopped stream, hang-up), of marks that match no sample and of the
// clock readings' devices.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device_fakes.h"

namespace orb::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

void FeedCalibration(Rig& rig) {
    for (const Bytes& f : CalibrationReplies(ProbeCalibration::Default())) rig.Receive(f);
}

// A download up to the sample stream of `count` samples.
void DownloadToCount(Rig& rig, int32_t count) {
    rig.dc.OnCommand(device_cmd::kProbeDownload);
    rig.Receive(InfoReply("TALOE1", count, 5, 10, 80));
    FeedCalibration(rig);
    rig.Receive(OffsetReply(0));
    rig.Receive(CountReply(count));
}

Bytes Sample(int32_t index, uint8_t second = 0x05) {
    SampleSpec s;
    s.index = index;
    s.time[0] = second;
    return SampleReply(s);
}

// A survey on screen: records with times and depths the operator typed.
void HoldSurvey(Rig& rig, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        SurveyRecord r;
        r.depth = 100.0f + static_cast<float>(i);
        rig.doc.AppendRecord(r);
    }
    rig.doc.SetModified(true);
}

std::vector<float> Depths(const COrbDoc& doc) {
    std::vector<float> out;
    for (const SurveyRecord& r : doc.records()) out.push_back(r.depth);
    return out;
}

// Every reply a device can send, none of them asked for.
TEST(Sequence, RepliesOfNoRunningSequenceChangeNothing) {
    const std::vector<std::pair<const char*, Bytes>> replies = {
        {"comm test", BuildReplyFrame(0x00, {})},
        {"clear finished", BuildReplyFrame(0x02, {})},
        {"work mode written", BuildReplyFrame(0x05, {})},
        {"information", InfoReply("OTHER", 9, 5, 10, 80)},
        {"calibration", CalibrationReplies(ProbeCalibration::Default())[31]},
        {"tool-face offset", OffsetReply(3.0f)},
        {"sample count", CountReply(2)},
        {"sample", Sample(0)},
        {"mark count", MarkCountReply(2, 2)},
        {"mark", MarkReply(0, 0)},
        {"real-time sample", BuildReplyFrame(0x19, Bytes(24, 0))},
    };
    for (const auto& [name, frame] : replies) {
        Rig rig;
        HoldSurvey(rig, 4);
        rig.doc.AppendMark(SyncRecord{});
        rig.doc.SetProbeNumber(u"MINE");
        const SurveyTiming timing = rig.doc.timing();
        rig.Receive(frame);
        EXPECT_TRUE(rig.port.written.empty()) << name;
        EXPECT_TRUE(rig.op.messages.empty()) << name;
        EXPECT_TRUE(rig.op.realTime.empty()) << name;
        EXPECT_EQ(rig.doc.RecordCount(), 4u) << name;
        EXPECT_EQ(rig.doc.MarkCount(), 1u) << name;
        EXPECT_EQ(rig.doc.probeNumber(), u"MINE") << name;
        EXPECT_EQ(rig.doc.timing().sampleDelayMinutes, timing.sampleDelayMinutes) << name;
        EXPECT_EQ(rig.doc.timing().sampleIntervalSeconds, timing.sampleIntervalSeconds) << name;
        EXPECT_EQ(rig.dc.sequence(), Sequence::kNone) << name;
    }
}

TEST(Sequence, RealTimeClosedBeforeItsCalibrationEndedSendsNoSampleRequest) {
    Rig rig;
    HoldSurvey(rig, 4);
    const auto packets = CalibrationReplies(ProbeCalibration::Default());
    // The operator closes the dialog after ten packets.
    rig.op.duringRealTime = [&] {
        for (int i = 0; i < 10; ++i) rig.Receive(packets[i]);
    };
    rig.dc.OnCommand(device_cmd::kProbeRealTime);
    EXPECT_EQ(rig.dc.sequence(), Sequence::kNone);
    for (std::size_t i = 10; i < packets.size(); ++i) rig.Receive(packets[i]);
    rig.Receive(OffsetReply(1.0f));
    rig.Receive(CountReply(2));
    rig.Receive(Sample(0));
    rig.Receive(Sample(1));
    EXPECT_THAT(rig.SentCodes(), ElementsAre(0x31));
    EXPECT_THAT(Depths(rig.doc), ElementsAre(100, 101, 102, 103));
    EXPECT_FALSE(rig.timers.IsRunning(timer_id::kRealTime));
}

TEST(Sequence, TimedOutDownloadDoesNotRunOnTheWorkModeInformation) {
    Rig rig;
    HoldSurvey(rig, 4);
    rig.doc.SetModified(false);
    rig.dc.OnCommand(device_cmd::kProbeDownload);
    rig.dc.OnTimer(timer_id::kReply);
    EXPECT_EQ(rig.op.messages.back().text, "通信超时！");
    EXPECT_EQ(rig.dc.sequence(), Sequence::kNone);
    // The work-mode command's information reply arrives while its question
    // is open; the operator cancels.
    rig.op.answers = {MessageAnswer::kNo};
    rig.op.duringQuestion = [&] { rig.Receive(InfoReply("TALOE1", 2, 5, 10, 80)); };
    rig.dc.OnCommand(device_cmd::kProbeWorkMode);
    EXPECT_THAT(rig.SentCodes(), ElementsAre(0x04, 0x04));
    EXPECT_EQ(rig.dc.sequence(), Sequence::kNone);
    EXPECT_EQ(rig.doc.probeNumber(), u"TALOE1");  // the command's own reply
    EXPECT_THAT(Depths(rig.doc), ElementsAre(100, 101, 102, 103));
}

TEST(Sequence, AnotherCommandEndsTheRunningTransfer) {
    Rig rig;
    DownloadToCount(rig, 5);
    rig.Receive(Sample(0));
    rig.dc.OnCommand(device_cmd::kProbeInfo);
    EXPECT_EQ(rig.dc.sequence(), Sequence::kInformation);
    EXPECT_FALSE(rig.timers.IsRunning(timer_id::kStreamWatch));
    rig.Receive(Sample(1));
    EXPECT_EQ(rig.doc.RecordCount(), 1u);
}

// A communication test waits beside a sequence for its one answer.
TEST(Sequence, CommunicationTestShowsOnlyTheAnswerItAskedFor) {
    Rig rig;
    rig.dc.OnCommand(device_cmd::kProbeTest);
    rig.dc.OnCommand(device_cmd::kSyncDownload);
    EXPECT_EQ(rig.dc.sequence(), Sequence::kMarkTransfer);
    rig.Receive(BuildReplyFrame(0x00, {}));
    rig.Receive(BuildReplyFrame(0x00, {}));
    EXPECT_THAT(rig.op.MessageTexts(), ElementsAre("设备连接正常"));
    // After a time-out its late answer is not shown either.
    rig.dc.OnCommand(device_cmd::kSyncTest);
    rig.dc.OnTimer(timer_id::kReply);
    rig.Receive(BuildReplyFrame(0x00, {}));
    EXPECT_THAT(rig.op.MessageTexts(), ElementsAre("设备连接正常", "通信超时！"));
}

TEST(Sequence, WorkModeEndsAtTheClearAndAStrayWriteAnswerErasesNothing) {
    Rig rig;
    rig.op.workModeDialog = [](int32_t& d, int32_t& i) {
        d = 5;
        i = 10;
        return true;
    };
    rig.dc.OnCommand(device_cmd::kProbeWorkMode);
    EXPECT_EQ(rig.dc.step(), Step::kModeWritten);
    rig.Receive(BuildReplyFrame(0x05, {}));
    rig.Receive(BuildReplyFrame(0x02, {}));
    EXPECT_EQ(rig.dc.sequence(), Sequence::kNone);
    EXPECT_THAT(rig.SentCodes(), ElementsAre(0x04, 0x05, 0x02));
    rig.Receive(BuildReplyFrame(0x05, {}));  // a repeated answer: no second clear
    EXPECT_THAT(rig.SentCodes(), ElementsAre(0x04, 0x05, 0x02));
}

// ---- The save question ----------------------------------------------------

TEST(SaveQuestion, AskedOnlyWhenAModifiedSurveyWouldBeReplaced) {
    struct Case {
        const char* name;
        std::size_t records;
        bool marks;
        bool modified;
        int command;
        bool asked;
    };
    for (const Case& c :
         {Case{"modified records, download", 4, false, true, device_cmd::kProbeDownload, true},
          Case{"saved records, download", 4, false, false, device_cmd::kProbeDownload, false},
          Case{"modified, nothing held", 0, false, true, device_cmd::kProbeDownload, false},
          Case{"modified marks only, download", 0, true, true, device_cmd::kProbeDownload, false},
          Case{"modified marks, mark transfer", 0, true, true, device_cmd::kSyncDownload, true},
          Case{"modified records, mark transfer", 4, false, true, device_cmd::kSyncDownload, false}}) {
        for (bool cancel : {true, false}) {
            Rig rig;
            HoldSurvey(rig, c.records);
            if (c.marks) rig.doc.AppendMark(SyncRecord{});
            rig.doc.SetModified(c.modified);
            rig.op.saveAnswer = !cancel;
            rig.dc.OnCommand(c.command);
            EXPECT_EQ(rig.op.saveQuestions, c.asked ? 1 : 0) << c.name;
            const bool sends = !(c.asked && cancel);
            EXPECT_EQ(rig.port.written.size(), sends ? 1u : 0u) << c.name << " cancel " << cancel;
            EXPECT_EQ(rig.dc.sequence() == Sequence::kNone, !sends) << c.name;
        }
    }
}

TEST(SaveQuestion, WorkModeWarnsOfAnUnsavedDownloadWithNoAsDefault) {
    Rig rig;
    DownloadToCount(rig, 2);
    rig.Receive(Sample(0));
    rig.Receive(Sample(1));
    EXPECT_TRUE(rig.dc.unsavedDownload);
    rig.op.answers = {MessageAnswer::kNo};
    rig.dc.OnCommand(device_cmd::kProbeWorkMode);
    EXPECT_EQ(rig.op.messages.back().text, "探管数据尚未保存，重新设置将清空探管中的数据。是否继续？");
    EXPECT_EQ(rig.op.messages.back().buttons, MessageButtons::kYesNoSafe);
    EXPECT_EQ(rig.SentCodes().back(), 0x04);  // nothing written

    rig.dc.SurveyStored();
    rig.op.answers = {MessageAnswer::kNo};
    rig.dc.OnCommand(device_cmd::kProbeWorkMode);
    EXPECT_EQ(rig.op.messages.back().text, "重新设置延时时间将会清空探管中的存储数据，是否继续？");
}

// ---- Transfers that end early -------------------------------------------------

struct Clocked : Rig {
    int64_t nowMs = 0;
    Clocked() {
        dc.SetMonotonicClock([this] { return nowMs; });
    }
    // Advances the clock and lets the stream watch look.
    void Wait(int64_t ms) {
        nowMs += ms;
        if (timers.IsRunning(timer_id::kStreamWatch)) dc.OnTimer(timer_id::kStreamWatch);
    }
};

TEST(StreamWatch, AStoppedStreamIsReportedWithItsCountsAndKeepsTheRecords) {
    Clocked rig;
    DownloadToCount(rig, 10);
    EXPECT_EQ(rig.timers.running.at(timer_id::kStreamWatch), kStreamWatchPeriodMs);
    for (int i = 0; i < 3; ++i) {
        rig.Wait(40);
        rig.Receive(Sample(i));
    }
    rig.Wait(4900);
    EXPECT_TRUE(rig.op.messages.empty());
    rig.Wait(100);
    ASSERT_EQ(rig.op.messages.size(), 1u);
    EXPECT_EQ(rig.op.messages[0].text, "数据流中断：已收到3条探管数据，共10条");
    EXPECT_EQ(rig.op.statusTexts.back(), "数据读取不完整");
    EXPECT_EQ(rig.doc.RecordCount(), 3u);
    EXPECT_EQ(rig.dc.sequence(), Sequence::kNone);
    EXPECT_FALSE(rig.timers.IsRunning(timer_id::kStreamWatch));
}

TEST(StreamWatch, ASlowLineWaitsThreeGaps) {
    Clocked rig;
    rig.dc.OnCommand(device_cmd::kSyncDownload);
    rig.Receive(MarkCountReply(6, 6));
    for (int i = 0; i < 3; ++i) {
        rig.Wait(3000);
        rig.Receive(MarkReply(i, i));
    }
    rig.Wait(8900);  // three mean gaps are 9 s
    EXPECT_TRUE(rig.op.messages.empty());
    rig.Wait(100);
    ASSERT_EQ(rig.op.messages.size(), 1u);
    EXPECT_EQ(rig.op.messages[0].text, "数据流中断：已收到3条同步标记，共6条");
    EXPECT_EQ(rig.doc.MarkCount(), 3u);
}

TEST(StreamWatch, HangUpIsReportedAtOnceOnlyWhileASequenceRuns) {
    Rig rig;
    rig.dc.OnLineHungUp();
    EXPECT_TRUE(rig.op.messages.empty());
    DownloadToCount(rig, 420);
    for (int i = 0; i < 100; ++i) rig.Receive(Sample(i));
    rig.dc.OnLineHungUp();
    ASSERT_EQ(rig.op.messages.size(), 1u);
    EXPECT_EQ(rig.op.messages[0].text, "串口连接已断开：已收到100条探管数据，共420条");
    EXPECT_EQ(rig.op.statusTexts.back(), "数据读取不完整");
    EXPECT_EQ(rig.doc.RecordCount(), 100u);
    // Before the stream: the plain message.
    rig.dc.OnCommand(device_cmd::kProbeInfo);
    rig.dc.OnLineHungUp();
    EXPECT_EQ(rig.op.messages.back().text, "串口连接已断开");
}

// ---- Matching reports -------------------------------------------------------

void RecordsAt(Rig& rig, int hour) {
    for (int k = 0; k < 10; ++k) {
        SurveyRecord r;
        r.sampleTime = MakeOleDateTime(2025, 6, 7, hour, 15, 30 + k).value;
        rig.doc.AppendRecord(r);
    }
}

TEST(MatchReport, CountsInTheStatusAndAWarningNamingTheClocks) {
    struct Case {
        int recordHour;
        const char* status;
        bool warned;
    };
    // Marks at 10:15:32 and 10:15:37.
    for (const Case& c :
         {Case{10, "2个同步标记中2个已匹配", false}, Case{9, "2个同步标记中0个已匹配", true}}) {
        Rig rig;
        RecordsAt(rig, c.recordHour);
        rig.dc.OnCommand(device_cmd::kSyncDownload);
        rig.Receive(MarkCountReply(2, 2));
        rig.Receive(MarkReply(0, 0, {0x32, 0x15, 0x10, 0x07, 0x06, 0x06, 0x25}));
        rig.Receive(MarkReply(1, 1, {0x37, 0x15, 0x10, 0x07, 0x06, 0x06, 0x25}));
        EXPECT_EQ(rig.op.statusTexts.back(), c.status);
        EXPECT_EQ(rig.op.messages.size(), c.warned ? 1u : 0u);
        if (c.warned) {
            EXPECT_THAT(rig.op.messages[0].text, HasSubstr("2个同步标记中只有0个"));
            EXPECT_THAT(rig.op.messages[0].text, HasSubstr("时钟校准"));
        }
        EXPECT_EQ(rig.table.model.RowCount(), 10u);
    }
}

TEST(MatchReport, AnEmptyMarkTransferShowsTheRecordsAgain) {
    Rig rig;
    RecordsAt(rig, 10);
    rig.table.model.RefreshTable();
    rig.dc.OnCommand(device_cmd::kSyncDownload);
    rig.Receive(MarkCountReply(0, 0));
    EXPECT_EQ(rig.table.model.RowCount(), 10u);
    EXPECT_EQ(rig.doc.RecordCount(), 10u);
}

TEST(ClockDevices, EachReadingNamesItsDevice) {
    Rig rig;
    std::vector<std::string> names;
    rig.op.duringClock = [&] {
        rig.dc.OnTimer(timer_id::kClockReadProbe);
        rig.dc.OnTimer(timer_id::kClockReadSync);
        for (int k = 0; k < 2; ++k) {
            rig.Receive(ClockReply(0x21, {0x25, 0x01, 0x02, 0x03, 0x04, 0x05}));
            names.push_back(rig.op.clockFields[kClockFieldDeviceName]);
        }
        rig.dc.OnClockButton(clock_button::kSetSync);
        rig.Receive(ClockReply(0x0E, {0x25, 0x01, 0x02, 0x03, 0x04, 0x05}));
        names.push_back(rig.op.clockFields[kClockFieldDeviceName]);
    };
    rig.dc.OnCommand(device_cmd::kSyncClock);
    EXPECT_THAT(names, ElementsAre("探管", "同步器", "同步器"));
}

}  // namespace
}  // namespace orb::test
