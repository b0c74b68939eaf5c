// Honest ends of sample and mark transfers: items lost on the line are named
// at the end, a negative count is a bad reply that stores nothing, a device
// that repeats a reply neither grows the survey nor brings more messages, and
// the work-mode question warns while the probe still holds unread data.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "device_fakes.h"

namespace orb::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

void DownloadToCount(Rig& rig, int32_t count) {
    rig.dc.OnCommand(device_cmd::kProbeDownload);
    rig.Receive(InfoReply("TALOE1", count, 5, 10, 80));
    for (const Bytes& f : CalibrationReplies(ProbeCalibration::Default())) rig.Receive(f);
    rig.Receive(OffsetReply(0));
    rig.Receive(CountReply(count));
}

Bytes Sample(int32_t index) {
    SampleSpec s;
    s.index = index;
    s.time[0] = static_cast<uint8_t>(index % 10 | (index / 10 % 6) << 4);  // BCD seconds
    return SampleReply(s);
}

void HoldSurvey(Rig& rig, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        SurveyRecord r;
        r.depth = 100.0f + static_cast<float>(i);
        rig.doc.AppendRecord(r);
    }
}

TEST(IndexRanges, MissingIndexesOfTheAnnouncedCount) {
    struct Case {
        std::vector<int64_t> added;
        int64_t count;
        std::vector<IndexRange> missing;
        const char* text;
    };
    const std::vector<Case> cases = {
        {{0, 1, 2, 3}, 4, {}, ""},
        {{0, 2, 4}, 5, {{1, 1}, {3, 3}}, "1, 3"},
        {{4, 0}, 5, {{1, 3}}, "1-3"},
        {{3, 1, 2, 0}, 4, {}, ""},            // out of order, merged
        {{-5, 7, 1000}, 3, {{0, 2}}, "0-2"},  // outside the count
        {{}, 2, {{0, 1}}, "0-1"},
        {{1}, 0, {}, ""},
        {{0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26},
         27,
         {{1, 1},
          {3, 3},
          {5, 5},
          {7, 7},
          {9, 9},
          {11, 11},
          {13, 13},
          {15, 15},
          {17, 17},
          {19, 19},
          {21, 21},
          {23, 23},
          {25, 25}},
         "1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23等"},
    };
    for (const Case& c : cases) {
        IndexRanges r;
        for (int64_t i : c.added) EXPECT_TRUE(r.Add(i));
        for (int64_t i : c.added) EXPECT_FALSE(r.Add(i));
        EXPECT_THAT(r.Missing(c.count), ElementsAreArray(c.missing)) << c.text;
        EXPECT_EQ(RangesText(r.Missing(c.count)), c.text);
    }
}

// The download ends at the sample whose index is the count - 1, as always;
// what did not arrive is said there.
TEST(TransferResult, LostSamplesAreNamedAtTheEnd) {
    struct Case {
        const char* name;
        int32_t count;
        std::vector<int32_t> sent;
        std::size_t records;
        const char* message;  // nullptr: none
        const char* status;
    };
    const std::vector<Case> cases = {
        {"all", 5, {0, 1, 2, 3, 4}, 5, nullptr, "数据读取完成"},
        {"two lost",
         5,
         {0, 2, 4},
         3,
         "数据读取不完整：已收到3条探管数据，共5条，缺少2条（序号1, 3）。",
         "数据读取不完整"},
        {"a run lost",
         6,
         {0, 4, 5},
         3,
         "数据读取不完整：已收到3条探管数据，共6条，缺少3条（序号1-3）。",
         "数据读取不完整"},
        {"first lost",
         3,
         {1, 2},
         2,
         "数据读取不完整：已收到2条探管数据，共3条，缺少1条（序号0）。",
         "数据读取不完整"},
        {"repeated, not stored twice", 3, {0, 1, 1, 1, 2}, 3, nullptr, "数据读取完成"},
        {"out of order", 3, {1, 0, 2}, 3, nullptr, "数据读取完成"},
    };
    for (const Case& c : cases) {
        Rig rig;
        DownloadToCount(rig, c.count);
        for (int32_t i : c.sent) rig.Receive(Sample(i));
        EXPECT_EQ(rig.doc.RecordCount(), c.records) << c.name;
        EXPECT_EQ(rig.dc.sequence(), Sequence::kNone) << c.name;
        EXPECT_TRUE(rig.dc.sampleTransfer.complete) << c.name;
        EXPECT_EQ(rig.op.statusTexts.back(), c.status) << c.name;
        EXPECT_EQ(rig.op.progress.back(), 100) << c.name;
        if (c.message) {
            ASSERT_EQ(rig.op.messages.size(), 1u) << c.name;
            EXPECT_EQ(rig.op.messages[0].text, c.message) << c.name;
            EXPECT_EQ(rig.op.messages[0].icon, MessageIcon::kWarning);
            EXPECT_TRUE(rig.dc.sampleTransfer.Gaps()) << c.name;
        } else {
            EXPECT_TRUE(rig.op.messages.empty()) << c.name;
            EXPECT_FALSE(rig.dc.sampleTransfer.Gaps()) << c.name;
        }
        // Only the download's own request frames went out.
        EXPECT_THAT(rig.SentCodes(), ElementsAre(0x04, 0x31, 0x09, 0x03)) << c.name;
    }
}

TEST(TransferResult, LostMarksAreNamedAtTheEnd) {
    Rig rig;
    rig.dc.OnCommand(device_cmd::kSyncDownload);
    rig.Receive(MarkCountReply(4, 4));
    for (int32_t i : {0, 2, 3}) rig.Receive(MarkReply(i, i));
    EXPECT_EQ(rig.doc.MarkCount(), 3u);
    ASSERT_EQ(rig.op.messages.size(), 1u);
    EXPECT_EQ(rig.op.messages[0].text, "数据读取不完整：已收到3条同步标记，共4条，缺少1条（序号1）。");
    EXPECT_EQ(rig.op.statusTexts.back(), "数据读取不完整");
}

// A repeated frame index is stored once, whatever sequence it carries.
TEST(TransferResult, RepeatedMarkFrameIsStoredOnce) {
    Rig rig;
    rig.dc.OnCommand(device_cmd::kSyncDownload);
    rig.Receive(MarkCountReply(3, 3));
    for (auto [i, s] : {std::pair{0, 0}, {1, 1}, {1, 2}, {2, 3}}) rig.Receive(MarkReply(i, s));
    EXPECT_EQ(rig.doc.MarkCount(), 3u);
    EXPECT_EQ(rig.dc.markTransfer.arrived, 3);
    EXPECT_TRUE(rig.dc.markTransfer.complete);
    EXPECT_EQ(rig.op.statusTexts.back(), "数据读取完成");
}

// Matching still runs on what arrived; the survey is then marked incomplete.
TEST(TransferResult, GapsAfterMatchingLeaveTheIncompleteStatus) {
    Rig rig;
    rig.doc.AppendMark(SyncRecord{0, 1, MakeOleDateTime(2025, 1, 2, 3, 4, 0).value, 0});
    DownloadToCount(rig, 3);
    for (int32_t i : {0, 2}) rig.Receive(Sample(i));
    EXPECT_EQ(rig.table.matches, 1);
    EXPECT_EQ(rig.op.statusTexts.back(), "数据读取不完整");
    EXPECT_EQ(rig.op.messages.back().text, "数据读取不完整：已收到2条探管数据，共3条，缺少1条（序号1）。");
}

// A negative count is no count: nothing is replaced or stored, the items
// that follow find no transfer, and the operator learns why.
TEST(TransferResult, NegativeCountIsABadReply) {
    struct Case {
        bool marks;
        int32_t count;
        const char* message;
    };
    const std::vector<Case> cases = {
        {false, -1, "探管回复的数据数量无效（-1），没有读取任何数据，原有数据保持不变。"},
        {false, INT_MIN, "探管回复的数据数量无效（-2147483648），没有读取任何数据，原有数据保持不变。"},
        {true, -1, "同步器回复的数据数量无效（-1），没有读取任何数据，原有数据保持不变。"},
    };
    for (const Case& c : cases) {
        Rig rig;
        HoldSurvey(rig, 4);
        rig.doc.AppendMark(SyncRecord{7, 1, 0, 0});
        if (c.marks) {
            rig.dc.OnCommand(device_cmd::kSyncDownload);
            rig.Receive(MarkCountReply(c.count, 2));
            for (int32_t i = 0; i < 3; ++i) rig.Receive(MarkReply(i, i));
        } else {
            DownloadToCount(rig, c.count);
            for (int32_t i = 0; i < 3; ++i) rig.Receive(Sample(i));
        }
        EXPECT_EQ(rig.doc.RecordCount(), 4u) << c.message;
        EXPECT_EQ(rig.doc.MarkCount(), 1u) << c.message;
        EXPECT_EQ(rig.dc.sequence(), Sequence::kNone);
        const TransferState& t = c.marks ? rig.dc.markTransfer : rig.dc.sampleTransfer;
        EXPECT_TRUE(t.badCount);
        EXPECT_FALSE(t.counted);
        ASSERT_EQ(rig.op.messages.size(), 1u) << c.message;
        EXPECT_EQ(rig.op.messages[0].text, c.message);
        EXPECT_EQ(rig.op.statusTexts.back(), "数据读取不完整");
        EXPECT_FALSE(rig.dc.unsavedDownload);
    }
}

// A device that sends the same reply again and again: the transfer's own
// answer counts once, every copy after it shows nothing and sends nothing.
TEST(TransferResult, RepeatedRepliesBringNoFurtherMessages) {
    struct Case {
        const char* name;
        std::function<void(Rig&)> start;
        Bytes repeated;
        std::size_t messages;  // after the first copy
        std::size_t records;
    };
    const std::vector<Case> cases = {
        {"empty probe", [](Rig& r) { DownloadToCount(r, 0); }, CountReply(0), 1, 4},
        {"negative count", [](Rig& r) { DownloadToCount(r, -1); }, CountReply(-1), 1, 4},
        {"last sample",
         [](Rig& r) {
             DownloadToCount(r, 2);
             r.Receive(Sample(0));
         },
         Sample(1), 0, 2},
        {"last sample after a gap",
         [](Rig& r) {
             DownloadToCount(r, 3);
             r.Receive(Sample(0));
         },
         Sample(2), 1, 2},
        {"samples without their count",
         [](Rig& r) {
             r.dc.OnCommand(device_cmd::kProbeDownload);
             r.Receive(InfoReply("TALOE1", 2, 5, 10, 80));
             for (const Bytes& f : CalibrationReplies(ProbeCalibration::Default())) r.Receive(f);
             r.Receive(OffsetReply(0));
         },
         Sample(0), 1, 4},
        {"empty synchronizer", [](Rig& r) { r.dc.OnCommand(device_cmd::kSyncDownload); },
         MarkCountReply(0, 0), 1, 4},
        {"communication test", [](Rig& r) { r.dc.OnCommand(device_cmd::kProbeTest); },
         BuildReplyFrame(0x00, {}), 1, 4},
        {"information", [](Rig& r) { r.dc.OnCommand(device_cmd::kProbeInfo); },
         InfoReply("TALOE1", 2, 5, 10, 80), 0, 4},
    };
    for (const Case& c : cases) {
        Rig rig;
        HoldSurvey(rig, 4);
        c.start(rig);
        const std::size_t written = rig.port.written.size();
        for (int k = 0; k < 50; ++k) rig.Receive(c.repeated);
        EXPECT_EQ(rig.op.messages.size(), c.messages) << c.name;
        EXPECT_LE(rig.op.infoDialogs.size(), 1u) << c.name;
        EXPECT_EQ(rig.port.written.size(), written) << c.name;
        EXPECT_EQ(rig.doc.RecordCount(), c.records) << c.name;
        EXPECT_EQ(rig.dc.sequence(), Sequence::kNone) << c.name;
    }
}

struct Clocked : Rig {
    int64_t nowMs = 0;
    Clocked() {
        dc.SetMonotonicClock([this] { return nowMs; });
    }
    void Wait(int64_t ms) {
        nowMs += ms;
        if (timers.IsRunning(timer_id::kStreamWatch)) dc.OnTimer(timer_id::kStreamWatch);
    }
};

// The same sample over and over is no stream that goes on: the watch ends
// the transfer as if the stream had stopped, and no copy is stored.
TEST(TransferResult, ASampleRepeatedForEverEndsAsAStoppedStream) {
    Clocked rig;
    DownloadToCount(rig, 10);
    rig.Receive(Sample(0));
    rig.Receive(Sample(1));
    for (int k = 0; k < 60 && rig.dc.sequence() != Sequence::kNone; ++k) {
        rig.Wait(100);
        rig.Receive(Sample(1));
    }
    EXPECT_EQ(rig.doc.RecordCount(), 2u);
    ASSERT_EQ(rig.op.messages.size(), 1u);
    EXPECT_EQ(rig.op.messages[0].text, "数据流中断：已收到2条探管数据，共10条");
    EXPECT_EQ(rig.nowMs, 5000);
}

// The probe still holds what the last download lost: the work-mode command,
// which erases it, says so.
TEST(TransferResult, WorkModeAfterAnIncompleteDownloadWarns) {
    struct Case {
        std::vector<int32_t> sent;
        const char* question;
    };
    const std::vector<Case> cases = {
        {{0, 2}, "上次读取的探管数据不完整（已收到2条，共3条），重新设置将清空探管中的数据。是否继续？"},
        {{0, 1}, "上次读取的探管数据不完整（已收到2条，共3条），重新设置将清空探管中的数据。是否继续？"},
        {{0, 1, 2}, "探管数据尚未保存，重新设置将清空探管中的数据。是否继续？"},
    };
    for (const Case& c : cases) {
        Rig rig;
        DownloadToCount(rig, 3);
        for (int32_t i : c.sent) rig.Receive(Sample(i));
        rig.op.messages.clear();
        rig.op.answers = {MessageAnswer::kNo};
        rig.dc.OnCommand(device_cmd::kProbeWorkMode);
        ASSERT_FALSE(rig.op.messages.empty());
        EXPECT_EQ(rig.op.messages[0].text, c.question);
        EXPECT_EQ(rig.op.messages[0].icon, MessageIcon::kWarning);
        EXPECT_EQ(rig.op.messages[0].buttons, MessageButtons::kYesNoSafe);
    }
}

}  // namespace
}  // namespace orb::test
