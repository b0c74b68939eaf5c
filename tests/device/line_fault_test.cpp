// Line faults at the device logic's level: a calibration read that lost a
// packet, samples whose count reply was lost, a port that hung up and is
// chosen again, and a reader whose receive buffer is full while characters
// keep arriving (inside a reply's dialog).
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "device/serial_port.h"
#include "device_fakes.h"

namespace orb::test {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

ProbeCalibration Generated() {
    ProbeCalibration c = ProbeCalibration::Default();
    for (std::size_t i = 0; i < ProbeCalibration::kValues; ++i)
        c.values[i] += 0.001 * static_cast<double>(i + 1);
    return c;
}

bool SameCalibration(const ProbeCalibration& a, const ProbeCalibration& b) {
    return std::memcmp(a.values.data(), b.values.data(), sizeof a.values) == 0;
}

// The download chain up to the calibration read.
void StartDownload(Rig& rig) {
    rig.dc.OnProbeDownload();
    rig.Receive(InfoReply("TALOE20931", 3, 5, 10, 79));
    ASSERT_EQ(rig.SentCodes().back(), 0x31);
}

TEST(LineFaultLogic, CalibrationReadWithALostPacketKeepsThePreviousCalibration) {
    Rig rig;
    const ProbeCalibration before = rig.dc.calibration;
    StartDownload(rig);
    auto packets = CalibrationReplies(Generated());
    packets.erase(packets.begin() + 17);
    rig.Receive(Concat(packets));
    std::printf("[fault] calibration packet 17 of 32 lost: calibration kept, no sample request, message %s\n",
                rig.timers.IsRunning(timer_id::kReply) ? "通信超时！ after 2 s" : "(none)");
    EXPECT_TRUE(SameCalibration(rig.dc.calibration, before));
    EXPECT_EQ(rig.SentCodes().back(), 0x31);  // no tool-face offset request
    ASSERT_TRUE(rig.timers.IsRunning(timer_id::kReply));
    rig.dc.OnTimer(timer_id::kReply);
    EXPECT_EQ(rig.op.messages.back().text, "通信超时！标定参数读取不完整，仍使用原有的标定参数。");
    EXPECT_EQ(rig.dc.sequence(), Sequence::kNone);

    // The operator tries again and the whole calibration arrives.
    StartDownload(rig);
    rig.Receive(Concat(CalibrationReplies(Generated())));
    EXPECT_TRUE(SameCalibration(rig.dc.calibration, Generated()));
    EXPECT_EQ(rig.SentCodes().back(), 0x09);
}

TEST(LineFaultLogic, SamplesWithoutTheirCountReplyLeaveTheSurveyAlone) {
    Rig rig;
    StartDownload(rig);
    rig.Receive(Concat(CalibrationReplies(ProbeCalibration::Default())));
    rig.Receive(OffsetReply(0));
    rig.Receive(CountReply(2));
    rig.Receive(SampleReply({.index = 0}));
    rig.Receive(SampleReply({.index = 1}));
    ASSERT_EQ(rig.doc.RecordCount(), 2u);

    // The next download loses its count reply: its samples would be added
    // to the two records of the previous survey.
    StartDownload(rig);
    rig.Receive(Concat(CalibrationReplies(ProbeCalibration::Default())));
    rig.Receive(OffsetReply(0));
    for (int32_t i = 0; i < 3; ++i) rig.Receive(SampleReply({.index = i}));
    std::printf(
        "[fault] count reply lost: 3 samples without a count, %zu records (the previous survey's 2)\n",
        rig.doc.RecordCount());
    EXPECT_EQ(rig.doc.RecordCount(), 2u);
    EXPECT_EQ(rig.table.model.RowCount(), 2u);
    EXPECT_FALSE(rig.dc.sampleTransfer.complete);
    // Said once, at the first of them.
    EXPECT_EQ(std::count(rig.op.messages.begin(), rig.op.messages.end(),
                         Message{"没有收到探管数据的数量回复，收到的探管数据已丢弃，请重新读取。", "警告",
                                 MessageIcon::kWarning, MessageButtons::kOk}),
              1);
}

TEST(LineFaultLogic, HungUpPortIsReopenedWhenChosenAgainButAnOpenOneIsNot) {
    Rig rig;
    rig.port.present = {1, 2};
    rig.op.portDialog = [](int& n) {
        n = 1;
        return true;
    };
    rig.port.openAttempts.clear();
    rig.dc.OnPortSelect();
    EXPECT_TRUE(rig.port.openAttempts.empty());
    EXPECT_TRUE(rig.op.messages.empty());

    rig.port.hungUp = true;  // unplugged
    rig.dc.OnPortSelect();
    EXPECT_THAT(rig.port.openAttempts, ElementsAre(1));
    ASSERT_EQ(rig.op.messages.size(), 1u);
    EXPECT_EQ(rig.op.messages[0].text, "串口已切换为1");
    EXPECT_FALSE(rig.port.HungUp());

    // Still gone: the open fails and nothing stays open.
    rig.port.hungUp = true;
    rig.port.present = {2};
    rig.dc.OnPortSelect();
    EXPECT_EQ(rig.op.messages.back().text, "串口打开失败");
    EXPECT_FALSE(rig.port.IsOpen());
    rig.dc.OnProbeTest();
    EXPECT_EQ(rig.op.messages.back().text, "串口没有打开");
}

// A pseudo-terminal whose master end plays the device.
struct Pty {
    int master = -1;
    std::string slave;
    Pty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
        slave = ::ptsname(master);
    }
    ~Pty() {
        if (master >= 0) ::close(master);
    }
};

// The reader answers every notification with a Read, as the window's queued
// handler does. While `busy`, its buffer is full (a reply's dialog is open).
TEST(LineFaultLogic, FullReceiveBufferDoesNotPingPongWithTheEventThread) {
    Pty pty;
    ASSERT_FALSE(pty.slave.empty());
    std::atomic<int> notifications{0};
    SerialPort port;
    ASSERT_EQ(port.OpenPath([&] { ++notifications; }, pty.slave, 1), SerialError::kNone);
    ReceiveBuffer buffer;
    buffer.fill = ReceiveBuffer::kCapacity;  // full
    const Bytes chunk(200, 0x55);
    ASSERT_EQ(::write(pty.master, chunk.data(), chunk.size()), 200);

    // The reader: one Read per notification, for 300 ms.
    int handled = 0;
    const auto until = std::chrono::steady_clock::now() + 300ms;
    while (std::chrono::steady_clock::now() < until) {
        if (notifications.load() > handled) {
            ++handled;
            EXPECT_EQ(port.Read(buffer), 0u);
        }
        std::this_thread::sleep_for(100us);
    }
    std::printf("[fault] receive buffer full for 300 ms with 200 bytes waiting: %d notifications\n",
                notifications.load());
    EXPECT_LE(notifications.load(), 2);
    EXPECT_TRUE(port.starved());

    // Room again: the next Read takes the bytes and notifications resume.
    buffer.fill = 0;
    // Counted before the Read: the Read re-arms the notification, which the
    // event thread may deliver before the next statement runs.
    const int before = notifications.load();
    std::size_t got = port.Read(buffer);
    EXPECT_EQ(got, SerialPort::kMaxRead);
    EXPECT_FALSE(port.starved());
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (notifications.load() == before && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    EXPECT_GT(notifications.load(), before);
    while (got < chunk.size() && std::chrono::steady_clock::now() < deadline) got += port.Read(buffer);
    EXPECT_EQ(got, chunk.size());
    port.Close();
}

}  // namespace
}  // namespace orb::test
