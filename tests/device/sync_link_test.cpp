// The synchronizer side of the device logic against fakes: mark transfer
// with repeated sequence numbers and trimming, matching after either
// download, and the clear with its animation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "device_fakes.h"

namespace orb::test {
namespace {

std::vector<int32_t> Sequences(const COrbDoc& doc) {
    std::vector<int32_t> out;
    for (const SyncRecord& m : doc.syncRecords()) out.push_back(m.sequence);
    return out;
}

TEST(SyncDownload, CountZero) {
    Rig rig;
    rig.doc.AppendMark(SyncRecord{});
    rig.dc.OnCommand(device_cmd::kSyncDownload);
    EXPECT_EQ(rig.port.written.at(0), HexTemplateToBytes("FF FF FF FF FF FF 01 47 03 00 45"));
    rig.Receive(MarkCountReply(0, 0));
    EXPECT_EQ(rig.doc.MarkCount(), 0u);
    EXPECT_EQ(rig.op.statusTexts.back(), "无数据");
    ASSERT_EQ(rig.op.messages.size(), 1u);
    EXPECT_EQ(rig.op.messages[0].text, "同步器中没有存储数据");
    EXPECT_EQ(rig.op.messages[0].caption, "设备回复信息");
    EXPECT_EQ(rig.op.messages[0].icon, MessageIcon::kInformation);
    EXPECT_TRUE(rig.dc.markTransfer.complete);
}

TEST(SyncDownload, RepeatedSequenceRestartsTheList) {
    Rig rig;
    rig.dc.OnCommand(device_cmd::kSyncDownload);
    rig.Receive(MarkCountReply(5, 5));
    for (int32_t seq : {0, 1, 2}) rig.Receive(MarkReply(seq, seq));
    EXPECT_EQ(rig.table.model.RowCount(), 3u);
    rig.Receive(MarkReply(3, 1));
    EXPECT_THAT(Sequences(rig.doc), ::testing::ElementsAre(0, 1));
    EXPECT_EQ(rig.table.model.RowCount(), 2u);
    EXPECT_EQ(rig.dc.lastMarkSequence, 1);
    EXPECT_EQ(rig.op.progress.back(), 20);
    const SyncRecord& m = rig.doc.Mark(1);
    EXPECT_EQ(m.valid, 1);
    EXPECT_EQ(FormatOleDate(m.markTime, m.markTimeStatus), "2025-06-07 10:15:30");
    EXPECT_EQ(rig.table.model.CellText(1, 13), "2025-06-07 10:15:30");
    EXPECT_FALSE(rig.dc.markTransfer.complete);
}

TEST(SyncDownload, LastFrameTrimsToTheKeptCount) {
    Rig rig;
    rig.dc.OnCommand(device_cmd::kSyncDownload);
    rig.Receive(MarkCountReply(5, 3));
    for (int32_t i = 0; i < 5; ++i) rig.Receive(MarkReply(i, i));
    EXPECT_THAT(Sequences(rig.doc), ::testing::ElementsAre(0, 1, 2));
    EXPECT_EQ(rig.table.model.RowCount(), 3u);
    EXPECT_EQ(rig.op.statusTexts.back(), "数据读取完成");
    EXPECT_EQ(rig.op.progress.back(), 100);
    EXPECT_TRUE(rig.dc.markTransfer.complete);
    EXPECT_EQ(rig.table.matches, 0);  // no records to match against

    // After the last frame a further one belongs to no transfer.
    rig.Receive(MarkReply(9, 4));
    EXPECT_EQ(rig.doc.MarkCount(), 3u);
    // A negative kept count keeps everything; a short mark frame is ignored.
    rig.dc.OnCommand(device_cmd::kSyncDownload);
    rig.Receive(MarkCountReply(2, -1));
    rig.Receive(BuildReplyFrame(0x13, Bytes(30, 0)));
    rig.Receive(MarkReply(0, 0));
    rig.Receive(MarkReply(1, 1));
    EXPECT_EQ(rig.doc.MarkCount(), 2u);
}

TEST(SyncDownload, GarbageCountsAreHarmless) {
    Rig rig;
    rig.dc.OnCommand(device_cmd::kSyncDownload);
    rig.Receive(MarkCountReply(INT_MAX, INT_MAX));
    EXPECT_LE(rig.doc.syncRecords().capacity(), static_cast<std::size_t>(kMaxReserve));
    rig.Receive(MarkReply(0, INT_MAX));
    rig.Receive(MarkReply(1, -7));
    EXPECT_EQ(rig.doc.MarkCount(), 2u);
    // Frames beyond the announced count store nothing and reset the sequence.
    rig.dc.OnCommand(device_cmd::kSyncDownload);
    rig.Receive(MarkCountReply(3, 3));
    rig.Receive(MarkReply(0, 5));
    rig.Receive(MarkReply(7, 6));
    EXPECT_EQ(rig.doc.MarkCount(), 1u);
    EXPECT_EQ(rig.dc.lastMarkSequence, 0);
    for (int p : rig.op.progress) {
        EXPECT_GE(p, 0);
        EXPECT_LE(p, 100);
    }
    rig.dc.OnCommand(device_cmd::kSyncDownload);
    rig.Receive(MarkCountReply(-4, 0));
    EXPECT_TRUE(rig.dc.markTransfer.badCount);
    EXPECT_EQ(rig.op.messages.back().text, BadCountText("同步器", -4));
    EXPECT_EQ(rig.doc.MarkCount(), 1u);  // a bad reply replaces nothing
}

// Ten samples one second apart from 2025-06-07 10:15:30, marks at samples
// 2 and 7 (tolerance base 10 s, so each mark picks its own sample).
void FillRecords(Rig& rig) {
    for (int k = 0; k < 10; ++k) {
        SurveyRecord r;
        const OleDateTime t = MakeOleDateTime(2025, 6, 7, 10, 15, 30 + k);
        r.sampleTime = t.value;
        rig.doc.AppendRecord(r);
    }
}

TEST(SyncMatching, AfterEitherDownload) {
    // Synchronizer transfer into a document with records.
    Rig rig;
    FillRecords(rig);
    rig.dc.OnCommand(device_cmd::kSyncDownload);
    rig.Receive(MarkCountReply(2, 2));
    rig.Receive(MarkReply(0, 0, {0x32, 0x15, 0x10, 0x07, 0x06, 0x06, 0x25}));
    rig.Receive(MarkReply(1, 1, {0x37, 0x15, 0x10, 0x07, 0x06, 0x06, 0x25}));
    EXPECT_EQ(rig.table.matches, 1);
    EXPECT_EQ(rig.doc.Record(2).selected, 1);
    EXPECT_EQ(rig.doc.Record(2).syncMatched, 1);
    EXPECT_EQ(rig.doc.Record(7).selected, 1);
    EXPECT_EQ(rig.doc.Record(5).selected, 0);
    EXPECT_EQ(rig.table.model.RowCount(), 10u);  // refilled with the records
    EXPECT_TRUE(rig.table.model.IsChecked(2));

    // Probe download into a document with marks.
    Rig probe;
    probe.doc.AppendMark(SyncRecord{0, 1, MakeOleDateTime(2025, 1, 2, 3, 4, 6).value, 0});
    probe.dc.OnCommand(device_cmd::kProbeDownload);
    probe.Receive(InfoReply("T", 2, 0, 1, 100));
    for (const Bytes& f : CalibrationReplies(ProbeCalibration::Default())) probe.Receive(f);
    probe.Receive(OffsetReply(0));
    probe.Receive(CountReply(2));
    SampleSpec s;
    probe.Receive(SampleReply(s));  // 03:04:05
    EXPECT_EQ(probe.table.matches, 0);
    s.index = 1;
    s.time[0] = 0x06;  // 03:04:06
    probe.Receive(SampleReply(s));
    EXPECT_EQ(probe.table.matches, 1);
    EXPECT_EQ(probe.doc.Record(0).selected, 0);
    EXPECT_EQ(probe.doc.Record(1).selected, 1);
    EXPECT_TRUE(probe.table.model.IsChecked(1));
}

TEST(SyncClear, ConfirmAnimateFinish) {
    Rig rig;
    rig.op.answers = {MessageAnswer::kCancel};
    rig.dc.OnCommand(device_cmd::kSyncClear);
    EXPECT_TRUE(rig.port.written.empty());
    EXPECT_EQ(rig.op.messages[0].text, "将会清空同步器中所有数据，是否继续?");
    EXPECT_EQ(rig.op.messages[0].caption, "警告");
    EXPECT_EQ(rig.op.messages[0].icon, MessageIcon::kQuestion);
    EXPECT_EQ(rig.op.messages[0].buttons, MessageButtons::kOkCancelSafe);

    rig.dc.OnCommand(device_cmd::kSyncClear);
    ASSERT_EQ(rig.port.written.size(), 1u);
    EXPECT_EQ(rig.port.written[0], HexTemplateToBytes("FF FF FF FF FF FF 01 47 02 00 44"));
    EXPECT_EQ(rig.op.statusTexts.back(), "清空中，稍候....");
    EXPECT_EQ(rig.timers.running.at(timer_id::kClearAnimation), 1300);
    // A slow clear reports no time-out: every tick stops the reply timer.
    std::vector<int> ticks;
    for (int i = 0; i < 20; ++i) {
        rig.dc.OnTimer(timer_id::kClearAnimation);
        EXPECT_FALSE(rig.timers.IsRunning(timer_id::kReply));
        ticks.push_back(rig.op.progress.back());
    }
    EXPECT_EQ(ticks[0], 0);
    EXPECT_EQ(ticks[1], 7);
    EXPECT_EQ(ticks[14], 98);
    EXPECT_EQ(ticks[15], 100);
    EXPECT_EQ(ticks[19], 100);
    rig.Receive(BuildReplyFrame(0x02, {}, 0x40));
    EXPECT_FALSE(rig.timers.IsRunning(timer_id::kClearAnimation));
    EXPECT_EQ(rig.op.messages.back().text, "数据已清空，任务完成!");
}

TEST(SyncCommands, TestAndClockFrames) {
    Rig rig;
    rig.dc.OnCommand(device_cmd::kSyncTest);
    EXPECT_EQ(rig.port.written.at(0), HexTemplateToBytes("FF FF FF FF FF FF 01 47 00 00 46"));
    rig.Receive(BuildReplyFrame(0x00, {}, 0x41));
    EXPECT_EQ(rig.op.messages.back().text, "设备连接正常");
    // The long-header frame only stops the reply timer.
    rig.dc.OnCommand(device_cmd::kSyncTest);
    rig.Receive(BuildLongHeaderFrame(0x13, Bytes(4, 0)));
    EXPECT_FALSE(rig.timers.IsRunning(timer_id::kReply));
    EXPECT_EQ(rig.op.messages.size(), 1u);
}

}  // namespace
}  // namespace orb::test
