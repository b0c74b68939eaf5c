#include "device/serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "device/device_frame.h"

namespace orb {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

// A pseudo-terminal pair; the test plays the device on the master side.
struct Pty {
    int master = -1;
    std::string slave;
    Pty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
        slave = ::ptsname(master);
    }
    ~Pty() { CloseMaster(); }
    void CloseMaster() {
        if (master >= 0) ::close(master);
        master = -1;
    }
    void Send(const Bytes& b) const {
        ASSERT_EQ(::write(master, b.data(), b.size()), static_cast<ssize_t>(b.size()));
    }
    Bytes Receive(std::size_t n) const {
        Bytes out;
        const auto deadline = Clock::now() + 5s;
        while (out.size() < n && Clock::now() < deadline) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            uint8_t buf[256];
            const ssize_t r = ::read(master, buf, std::min(sizeof buf, n - out.size()));
            if (r > 0) out.insert(out.end(), buf, buf + r);
        }
        return out;
    }
};

// Counts notifications the way a window would queue them.
struct Notifications {
    std::mutex m;
    std::condition_variable cv;
    int count = 0;
    SerialPort::Notify Callback() {
        return [this] {
            std::lock_guard lock(m);
            ++count;
            cv.notify_all();
        };
    }
    bool WaitFor(int n, std::chrono::milliseconds limit = 5000ms) {
        std::unique_lock lock(m);
        return cv.wait_for(lock, limit, [&] { return count >= n; });
    }
    int Count() {
        std::lock_guard lock(m);
        return count;
    }
};

// Waits (bounded) until `done` holds.
template <class F>
bool Eventually(F done, std::chrono::milliseconds limit = 5000ms) {
    const auto deadline = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// utime + stime of one thread of this process, in clock ticks.
long ThreadCpuTicks(pid_t tid) {
    std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string f;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> f; ++i) {
        if (i == 14) utime = std::stol(f);
        if (i == 15) stime = std::stol(f);
    }
    return utime + stime;
}

bool ThreadExists(pid_t tid) {
    return ::access(("/proc/self/task/" + std::to_string(tid)).c_str(), F_OK) == 0;
}

TEST(SerialPort, OpenSetsStateAndLineAndCloseRestoresIt) {
    Pty pty;
    ASSERT_FALSE(pty.slave.empty());
    termios before{};
    ASSERT_EQ(::tcgetattr(pty.master, &before), 0);  // the slave's settings
    ASSERT_TRUE(before.c_lflag & ICANON);

    SerialPort port;
    EXPECT_EQ(port.state(), SerialPort::kStateClosed);
    EXPECT_EQ(port.portNumber(), 0);
    ASSERT_EQ(port.OpenPath({}, pty.slave, 4), SerialError::kNone);
    EXPECT_EQ(port.state(), SerialPort::kStateOpen);
    EXPECT_EQ(port.portNumber(), 4);
    EXPECT_EQ(port.OpenPath({}, pty.slave, 5), SerialError::kAlreadyOpen);
    EXPECT_EQ(port.portNumber(), 4);

    termios now{};
    ASSERT_EQ(::tcgetattr(pty.master, &now), 0);
    EXPECT_EQ(cfgetispeed(&now), B9600);
    EXPECT_EQ(now.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(now.c_cflag & (PARENB | CSTOPB | CRTSCTS));
    EXPECT_TRUE((now.c_cflag & CLOCAL) && (now.c_cflag & CREAD));
    EXPECT_FALSE(now.c_lflag & (ICANON | ECHO));
    EXPECT_FALSE(now.c_iflag & (IXON | ICRNL));
    EXPECT_FALSE(now.c_oflag & OPOST);

    EXPECT_TRUE(port.Close());
    EXPECT_EQ(port.state(), SerialPort::kStateClosed);
    EXPECT_EQ(port.portNumber(), 0);
    termios after{};
    ASSERT_EQ(::tcgetattr(pty.master, &after), 0);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_FALSE(port.Close());  // nothing open
}

TEST(SerialPort, OpenFailuresAreToldApart) {
    SerialPort port;
    EXPECT_EQ(port.OpenPath({}, "/dev/orb-no-such-port", 1), SerialError::kNoSuchDevice);
    char file[] = "/tmp/orb-not-a-tty-XXXXXX";
    const int fd = ::mkstemp(file);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(port.OpenPath({}, file, 1), SerialError::kNotATerminal);
    if (::geteuid() != 0) {  // root opens anything
        ::fchmod(fd, 0);
        EXPECT_EQ(port.OpenPath({}, file, 1), SerialError::kPermissionDenied);
    }
    ::close(fd);
    ::unlink(file);
    EXPECT_EQ(port.state(), SerialPort::kStateClosed);
    EXPECT_EQ(port.portNumber(), 0);
    EXPECT_EQ(SerialErrorFromErrno(EACCES), SerialError::kPermissionDenied);
    EXPECT_EQ(SerialErrorFromErrno(EPERM), SerialError::kPermissionDenied);
    EXPECT_EQ(SerialErrorFromErrno(ENOENT), SerialError::kNoSuchDevice);
    EXPECT_EQ(SerialErrorFromErrno(ENXIO), SerialError::kNoSuchDevice);
    EXPECT_EQ(SerialErrorFromErrno(EBUSY), SerialError::kBusy);

    PortListOptions none;
    none.devRoot = none.sysRoot = "/nonexistent";
    EXPECT_EQ(port.Open({}, 1, none), SerialError::kNoSuchDevice);
}

TEST(SerialPort, SecondOpenOfTheSameDeviceIsRefused) {
    Pty pty;
    SerialPort first, second;
    ASSERT_EQ(first.OpenPath({}, pty.slave, 1), SerialError::kNone);
    EXPECT_EQ(second.OpenPath({}, pty.slave, 2), SerialError::kBusy);
    EXPECT_EQ(second.state(), SerialPort::kStateClosed);
    EXPECT_EQ(second.portNumber(), 0);
    first.Close();
    EXPECT_EQ(second.OpenPath({}, pty.slave, 2), SerialError::kNone);
}

TEST(SerialPort, NotifiesOnArrivalOncePerRead) {
    Pty pty;
    Notifications n;
    SerialPort port;
    ASSERT_EQ(port.OpenPath(n.Callback(), pty.slave, 1), SerialError::kNone);
    EXPECT_EQ(n.Count(), 0);
    pty.Send({1, 2, 3});
    ASSERT_TRUE(n.WaitFor(1));
    // Unread characters do not make the thread wake again and again.
    pty.Send({4, 5});
    ASSERT_TRUE(Eventually([&] { return port.BytesWaiting() == 5; }));
    const uint64_t wakes = port.wakeCount();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(n.Count(), 1);
    EXPECT_EQ(port.wakeCount(), wakes);

    ReceiveBuffer buf;
    EXPECT_EQ(port.Read(buf), 5u);
    EXPECT_EQ(Bytes(buf.Contents().begin(), buf.Contents().end()), (Bytes{1, 2, 3, 4, 5}));
    // A notification that finds nothing reads nothing.
    EXPECT_EQ(port.Read(buf), 0u);
    pty.Send({6});
    ASSERT_TRUE(n.WaitFor(2));
    EXPECT_EQ(port.Read(buf), 1u);
}

TEST(SerialPort, ReadTakesAtMost64AndTheFreeSpace) {
    Pty pty;
    Notifications n;
    SerialPort port;
    ASSERT_EQ(port.OpenPath(n.Callback(), pty.slave, 1), SerialError::kNone);
    Bytes data(100);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
    pty.Send(data);
    ASSERT_TRUE(n.WaitFor(1));  // read in answer to a notification, as the window does
    ASSERT_TRUE(Eventually([&] { return port.BytesWaiting() == 100; }));
    ReceiveBuffer buf;
    EXPECT_EQ(port.Read(buf), 64u);
    EXPECT_EQ(port.BytesWaiting(), 36u);
    buf.fill = 1000;
    EXPECT_EQ(port.Read(buf), 24u);
    EXPECT_EQ(buf.fill, 1024u);
    EXPECT_EQ(port.Read(buf), 0u);  // full: nothing may be stored
    EXPECT_EQ(buf.bytes[1000], 64);
    EXPECT_EQ(buf.bytes[1023], 87);
    EXPECT_EQ(port.BytesWaiting(), 12u);
    // More is waiting: the answered notification comes again.
    EXPECT_TRUE(n.WaitFor(2));
}

TEST(SerialPort, WritesWholeFrames) {
    Pty pty;
    SerialPort port;
    ASSERT_EQ(port.OpenPath({}, pty.slave, 1), SerialError::kNone);
    const Bytes frame = ProbeWorkModeFrame(5, 10);
    EXPECT_TRUE(port.Write(frame));
    EXPECT_EQ(pty.Receive(frame.size()), frame);
    port.Close();
    EXPECT_FALSE(port.Write(frame));
}

TEST(SerialPort, RepliesReachTheDispatcherThroughTheReadPath) {
    Pty pty;
    Notifications n;
    SerialPort port;
    ASSERT_EQ(port.OpenPath(n.Callback(), pty.slave, 1), SerialError::kNone);
    ReceiveBuffer buf;
    std::vector<int32_t> seen;
    FrameScanner scanner([&](std::span<const uint8_t> f) { seen.push_back(ReadStoredSample(f)->index); });
    Bytes stream;
    for (int32_t i = 0; i < 10; ++i) {
        Bytes data(28, 0);
        StoreLE<int32_t>(data, 0, i);
        const Bytes f = BuildReplyFrame(0x03, data);
        stream.insert(stream.end(), f.begin(), f.end());
    }
    pty.Send(stream);
    // The window's loop: every notification becomes one read and scan.
    int handled = 0;
    while (seen.size() < 10 && n.WaitFor(handled + 1)) {
        ++handled;
        OnBytesArrived(port, buf, scanner);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(buf.fill, 0u);
}

TEST(SerialPort, CloseWakesAndJoinsTheThread) {
    Pty pty;
    Notifications n;
    SerialPort port;
    ASSERT_EQ(port.OpenPath(n.Callback(), pty.slave, 1), SerialError::kNone);
    ASSERT_TRUE(Eventually([&] { return port.eventThreadId() != 0; }));
    const pid_t tid = port.eventThreadId();
    EXPECT_TRUE(ThreadExists(tid));
    const auto start = Clock::now();
    EXPECT_TRUE(port.Close());
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_FALSE(ThreadExists(tid));
    EXPECT_EQ(port.eventThreadId(), 0);
    // Nothing is reported after Close.
    pty.Send({1});
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(n.Count(), 0);
}

TEST(SerialPort, HangUpDoesNotSpin) {
    Pty pty;
    Notifications n;
    SerialPort port;
    ASSERT_EQ(port.OpenPath(n.Callback(), pty.slave, 1), SerialError::kNone);
    ASSERT_TRUE(Eventually([&] { return port.eventThreadId() != 0; }));
    const pid_t tid = port.eventThreadId();
    pty.CloseMaster();  // the device goes away
    ASSERT_TRUE(Eventually([&] { return port.hungUp(); }));
    EXPECT_EQ(port.state(), SerialPort::kStateOpen);  // stays open until closed

    const uint64_t wakes = port.wakeCount();
    const long ticks = ThreadCpuTicks(tid);
    ASSERT_GE(ticks, 0);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(port.wakeCount(), wakes);
    EXPECT_LE(ThreadCpuTicks(tid) - ticks, 1);

    ReceiveBuffer buf;
    EXPECT_EQ(port.Read(buf), 0u);
    EXPECT_FALSE(port.Write(Bytes{1, 2, 3}));
    const auto start = Clock::now();
    port.Close();
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_EQ(port.state(), SerialPort::kStateClosed);
    EXPECT_FALSE(ThreadExists(tid));
}

}  // namespace
}  // namespace orb
