// orb-devsim as a program: the device path on the first line, replies on the
// pseudo-terminal through the real serial port, pacing, logging, hang-up.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "device/device_frame.h"
#include "device/frame_scanner.h"
#include "device/serial_port.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

const std::string kDevsim = ORB_BINARY_DIR "/tools/orb-devsim";

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/orb-devsim-XXXXXX";
        path_ = ::mkdtemp(tmpl);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name, const std::string& text = {}) const {
        const std::string p = path_ + "/" + name;
        if (!text.empty()) std::ofstream(p) << text;
        return p;
    }

private:
    std::string path_;
};

// The simulator process with its standard output on a pipe.
class Devsim {
public:
    explicit Devsim(const std::vector<std::string>& args) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        std::vector<std::string> all = {kDevsim};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, kDevsim.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        out_ = fds[0];
    }
    ~Devsim() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) ::close(out_);
    }
    // First line of standard output (the device path); empty when none came.
    std::string FirstLine() {
        std::string line;
        const auto deadline = Clock::now() + 10s;
        while (Clock::now() < deadline) {
            pollfd p{out_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            char c;
            if (::read(out_, &c, 1) != 1) break;
            if (c == '\n') return line;
            line.push_back(c);
        }
        return {};
    }
    // Exit status, or -1 when the process did not end in time.
    int Wait(std::chrono::milliseconds limit = 10000ms) {
        const auto deadline = Clock::now() + limit;
        while (Clock::now() < deadline) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(2ms);
        }
        return -1;
    }
    int Stop() {
        ::kill(pid_, SIGTERM);
        return Wait();
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
};

// The program's side: serial port, receive buffer and scanner, with the
// notifications handled on the test thread as a window would.
class Session {
public:
    bool Open(const std::string& path) {
        return port_.OpenPath(
                   [this] {
                       std::lock_guard lock(m_);
                       ++pending_;
                       cv_.notify_all();
                   },
                   path, 1) == orb::SerialError::kNone;
    }
    orb::SerialPort& port() { return port_; }
    bool Send(const Bytes& frame) { return port_.Write(frame); }
    // Handles notifications until `n` frames have been dispatched.
    const std::vector<Bytes>& WaitFrames(std::size_t n, std::chrono::milliseconds limit = 10000ms) {
        const auto deadline = Clock::now() + limit;
        while (frames_.size() < n) {
            std::unique_lock lock(m_);
            if (!cv_.wait_until(lock, deadline, [&] { return pending_ > 0; })) break;
            --pending_;
            lock.unlock();
            orb::OnBytesArrived(port_, buffer_, scanner_);
        }
        return frames_;
    }

private:
    orb::SerialPort port_;
    orb::ReceiveBuffer buffer_;
    std::vector<Bytes> frames_;
    orb::FrameScanner scanner_{
        [this](std::span<const uint8_t> f) { frames_.emplace_back(f.begin(), f.end()); }};
    std::mutex m_;
    std::condition_variable cv_;
    int pending_ = 0;
};

const char* kSmallScenario = R"({
  "probe": {
    "number": "P-7", "toolFaceOffset": -3.25,
    "samples": [
      {"raw": [1, 2, 4500, 3, 4, 5], "temperature": 20.0, "time": "2025-06-07 08:00:00"},
      {"raw": [1, 2, 4500, 3, 4, 5], "temperature": 20.1, "time": "2025-06-07 08:00:10"},
      {"raw": [1, 2, 4500, 3, 4, 5], "temperature": 20.2, "time": "2025-06-07 08:00:20"},
      {"raw": [1, 2, 4500, 3, 4, 5], "temperature": 20.3, "time": "2025-06-07 08:00:30"},
      {"raw": [1, 2, 4500, 3, 4, 5], "temperature": 20.4, "time": "2025-06-07 08:00:40"}
    ]
  }
})";

TEST(DevsimProgram, AnswersOnItsDeviceAndLogsCommands) {
    TempDir dir;
    const std::string log = dir.File("commands.log");
    Devsim sim({"--baud", "0", "--scenario", dir.File("s.json", kSmallScenario), "--log", log});
    const std::string device = sim.FirstLine();
    ASSERT_FALSE(device.empty());
    Session s;
    ASSERT_TRUE(s.Open(device));
    ASSERT_TRUE(s.Send(orb::ProbeInformationFrame()));
    const auto& frames = s.WaitFrames(1);
    ASSERT_EQ(frames.size(), 1u);
    const auto info = orb::ReadProbeInformation(frames[0]);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->probeNumber, "P-7");
    EXPECT_EQ(info->storedCount, 5);
    ASSERT_TRUE(s.Send(orb::ProbeToolFaceOffsetFrame()));
    ASSERT_EQ(s.WaitFrames(2).size(), 2u);
    EXPECT_EQ(*orb::ReadToolFaceOffset(s.WaitFrames(2)[1]), -3.25f);

    EXPECT_EQ(sim.Stop(), 0);
    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"FF FF FF FF FF FF 01 46 04 00 43",
                                               "FF FF FF FF FF FF 01 46 09 00 4E"}));
}

TEST(DevsimProgram, PacesRepliesAtTheLineRate) {
    TempDir dir;
    Devsim sim({"--baud", "9600", "--scenario", dir.File("s.json", kSmallScenario)});
    const std::string device = sim.FirstLine();
    Session s;
    ASSERT_TRUE(s.Open(device));
    const auto start = Clock::now();
    ASSERT_TRUE(s.Send(orb::ProbeSendStoredFrame()));
    ASSERT_EQ(s.WaitFrames(6).size(), 6u);
    const auto elapsed = Clock::now() - start;
    // 14 + 5 x 38 bytes of ten bits each: the last byte cannot come earlier.
    const double lineSeconds = (14 + 5 * 38 - 1) * 10.0 / 9600.0;
    EXPECT_GE(std::chrono::duration<double>(elapsed).count(), lineSeconds);
    EXPECT_EQ(orb::ReadStoredSample(s.WaitFrames(6)[5])->index, 4);
}

TEST(DevsimProgram, HangsUpWhereTheScenarioSays) {
    TempDir dir;
    std::string text = kSmallScenario;
    text.insert(text.rfind('}'), R"(, "faults": {"hangUpAfterSamples": 2})");
    Devsim sim({"--baud", "0", "--scenario", dir.File("s.json", text)});
    Session s;
    ASSERT_TRUE(s.Open(sim.FirstLine()));
    ASSERT_TRUE(s.Send(orb::ProbeSendStoredFrame()));
    EXPECT_EQ(s.WaitFrames(3).size(), 3u);
    const auto deadline = Clock::now() + 10s;
    while (!s.port().hungUp() && Clock::now() < deadline) std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(s.port().hungUp());
    EXPECT_EQ(s.port().state(), orb::SerialPort::kStateOpen);
    EXPECT_EQ(sim.Wait(), 0);
}

TEST(DevsimProgram, BuiltInSurveyAndBadScenario) {
    Devsim sim({"--baud", "0"});
    Session s;
    ASSERT_TRUE(s.Open(sim.FirstLine()));
    ASSERT_TRUE(s.Send(orb::ProbeInformationFrame()));
    ASSERT_EQ(s.WaitFrames(1).size(), 1u);
    const auto info = orb::ReadProbeInformation(s.WaitFrames(1)[0]);
    EXPECT_EQ(info->storedCount, 420);
    ASSERT_TRUE(s.Send(orb::SyncSendMarksFrame()));
    ASSERT_EQ(s.WaitFrames(2).size(), 2u);
    EXPECT_EQ(orb::ReadMarkCount(s.WaitFrames(2)[1])->expected, 60);

    TempDir dir;
    Devsim bad({"--scenario", dir.File("bad.json", R"({"probe": {"intervalSeconds": 0}})")});
    EXPECT_EQ(bad.FirstLine(), "");
    EXPECT_EQ(bad.Wait(), 2);
}

}  // namespace
