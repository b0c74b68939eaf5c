// orb-cli device commands against orb-devsim on a pseudo-terminal: records
// bit-identical to the attitude computation, empty probe, synchronizer
// transfer with a repeated sequence and a kept count, station matching, the
// exact work-mode and clock-set frames, real time followed by a download,
// and the line faults (garbage, split and corrupted frames, a stream that
// stops, a hang-up).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/angles.h"
#include "core/calibration.h"
#include "core/ole_date.h"
#include "core/synthetic.h"
#include "device/device_frame.h"
#include "devsim_process.h"
#include "document/tlm_file.h"

namespace {

using namespace std::chrono_literals;
using json = nlohmann::json;
using Clock = std::chrono::steady_clock;

const std::string kDevsim = ORB_BINARY_DIR "/tools/orb-devsim";
const std::string kCli = ORB_BINARY_DIR "/tools/orb-cli";

// The child-process helpers are shared with the line-fault tests.
using TempDir = orb::test::ScratchDir;
using orb::test::ReadAll;

pid_t Spawn(const std::vector<std::string>& args, const std::string& out, const std::string& err) {
    return orb::test::SpawnProgram(args, out, err);
}

// Exit status, or -1 when the process was still running after `limit`.
int WaitFor(pid_t pid, std::chrono::milliseconds limit) {
    return orb::test::WaitExit(pid, limit);
}

// orb-devsim serving one scenario; its command log is `log`.
class Devsim {
public:
    Devsim(const TempDir& dir, const json& scenario, const std::vector<std::string>& extra = {})
        : log(dir.File("devsim.log")) {
        const std::string scen = dir.File("scenario.json");
        std::ofstream(scen) << scenario.dump();
        const std::string out = dir.File("devsim.out");
        std::vector<std::string> args = {kDevsim, "--scenario", scen, "--log", log};
        if (std::find(extra.begin(), extra.end(), "--baud") == extra.end()) {
            args.insert(args.end(), {"--baud", "0"});
        }
        args.insert(args.end(), extra.begin(), extra.end());
        pid_ = Spawn(args, out, dir.File("devsim.err"));
        const auto deadline = Clock::now() + 10s;
        while (Clock::now() < deadline) {
            const std::string text = ReadAll(out);
            if (const auto nl = text.find('\n'); nl != std::string::npos) {
                path = text.substr(0, nl);
                return;
            }
            std::this_thread::sleep_for(5ms);
        }
    }
    ~Devsim() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            WaitFor(pid_, 5000ms);
        }
    }
    // Command frames the simulator received, in hex, one per entry.
    std::vector<std::string> Commands() const {
        std::vector<std::string> lines;
        std::istringstream in(ReadAll(log));
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        return lines;
    }

    std::string path;
    std::string log;

private:
    pid_t pid_ = -1;
};

struct CliResult {
    int status = -1;
    std::string out, err;
};

CliResult RunCli(const TempDir& dir, const std::vector<std::string>& args,
                 std::chrono::milliseconds limit = 30000ms) {
    std::vector<std::string> all = {kCli};
    all.insert(all.end(), args.begin(), args.end());
    const std::string out = dir.File("cli.out"), err = dir.File("cli.err");
    CliResult r;
    r.status = WaitFor(Spawn(all, out, err), limit);
    r.out = ReadAll(out);
    r.err = ReadAll(err);
    return r;
}

// 2025-06-07 08:00:00 plus `seconds` (less than a day).
std::string TimeText(int seconds) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "2025-06-07 %02d:%02d:%02d", 8 + seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return buf;
}

double TimeValue(int seconds) {
    return orb::MakeOleDateTime(2025, 6, 7, 8 + seconds / 3600, seconds / 60 % 60, seconds % 60).value;
}

constexpr uint64_t kCalibrationSeed = 11;
constexpr float kToolFaceOffset = 12.5f;
constexpr int kInterval = 10;

struct SampleSource {
    int16_t temperatureTenths;
    std::array<int16_t, 6> raw;
    int seconds;
    uint16_t batteryTenths;
};

// `n` samples of a well turning from vertical to 60 degrees, 10 s apart.
std::vector<SampleSource> MakeSamples(int n) {
    const orb::ProbeCalibration cal = orb::GenerateCalibration(kCalibrationSeed);
    std::vector<SampleSource> out;
    for (int k = 0; k < n; ++k) {
        const double inc = 60.0 * k / std::max(1, n - 1);
        const orb::ToolAttitude a{inc, 40.0 + 3.7 * k, 17.0 * k, 57.5, 0.52, 1.0};
        const int16_t tenths = static_cast<int16_t>(180 + 3 * k);
        out.push_back({tenths, orb::RawCountsFor(cal, tenths / 10.0f, orb::IdealVectors(a)), k * kInterval,
                       static_cast<uint16_t>(79 - k % 5)});
    }
    return out;
}

json ProbeJson(const std::vector<SampleSource>& samples) {
    json list = json::array();
    for (const SampleSource& s : samples) {
        list.push_back({{"raw", s.raw},
                        {"temperature", s.temperatureTenths / 10.0},
                        {"time", TimeText(s.seconds)},
                        {"battery", s.batteryTenths / 10.0}});
    }
    return {{"number", "TALOE777"},
            {"delayMinutes", 3},
            {"intervalSeconds", kInterval},
            {"toolFaceOffset", kToolFaceOffset},
            {"calibration", {{"generated", kCalibrationSeed}}},
            {"samples", list}};
}

// The record the program must store for one sample, built here from the
// attitude computation itself.
orb::SurveyRecord Expected(const SampleSource& s) {
    using A = orb::AttitudeSample;
    orb::AttitudeSample a;
    a.v[A::kTemperature] = static_cast<float>(s.temperatureTenths) / 10.0f;
    for (int k = 0; k < 6; ++k) a.v[A::kRawGx + k] = s.raw[k];
    orb::ComputeAttitude(orb::GenerateCalibration(kCalibrationSeed), a);
    orb::SurveyRecord r;
    r.inclination = a.v[A::kInclination];
    r.azimuth = a.v[A::kAzimuth];
    r.temperature = a.v[A::kTemperature];
    r.gravityToolFace = static_cast<float>(orb::NormalizeAngle(a.v[A::kGravityToolFace] - kToolFaceOffset));
    r.magneticToolFace = static_cast<float>(orb::NormalizeAngle(a.v[A::kMagneticToolFace] - kToolFaceOffset));
    r.dip = a.v[A::kDip];
    r.totalGravity = a.v[A::kTotalGravity];
    r.totalMagnetic = a.v[A::kTotalMagnetic];
    std::copy(a.v.begin() + A::kGx, a.v.begin() + A::kMz + 1, &r.gx);
    r.sampleTime = TimeValue(s.seconds);
    r.batteryVoltage = static_cast<float>(s.batteryTenths / 10.0);
    return r;
}

orb::COrbDoc Load(const std::string& path) {
    orb::TlmLoadResult r = orb::LoadTlmFile(path);
    EXPECT_TRUE(r.loaded()) << path << ": " << r.message;
    return std::move(r.document);
}

// Records equal byte for byte to the expected ones for `indexes` of `samples`,
// ignoring the selection flags (matching sets them).
void ExpectRecords(const orb::COrbDoc& doc, const std::vector<SampleSource>& samples,
                   std::vector<int> indexes) {
    ASSERT_EQ(doc.RecordCount(), indexes.size());
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        orb::SurveyRecord got = doc.Record(i);
        got.selected = got.syncMatched = 0;
        const orb::SurveyRecord want = Expected(samples[static_cast<std::size_t>(indexes[i])]);
        EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0) << "record " << i << " from sample " << indexes[i];
    }
}

std::vector<int> Range(int n) {
    std::vector<int> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = i;
    return v;
}

TEST(DeviceCli, DownloadGivesTheComputedRecordsBitForBit) {
    TempDir dir;
    const auto samples = MakeSamples(120);
    Devsim sim(dir, {{"probe", ProbeJson(samples)}});
    ASSERT_FALSE(sim.path.empty());
    const std::string file = dir.File("d.tlm");
    const CliResult r =
        RunCli(dir, {"--port", sim.path, "--trace", dir.File("trace.txt"), "download", "-o", file});
    ASSERT_EQ(r.status, 0) << r.err;
    const orb::COrbDoc doc = Load(file);
    ExpectRecords(doc, samples, Range(120));
    EXPECT_EQ(doc.probeNumber(), u"TALOE777");
    // The line log holds every command and reply frame.
    const std::string trace = ReadAll(dir.File("trace.txt"));
    EXPECT_EQ(trace.rfind("# orb line log 1\n", 0), 0u);
    EXPECT_NE(trace.find(" TX FF FF FF FF FF FF 01 46 03 00 44\n"), std::string::npos);
    std::size_t rx = 0;
    for (std::size_t p = trace.find(" RX "); p != std::string::npos; p = trace.find(" RX ", p + 1)) ++rx;
    EXPECT_EQ(rx, 1u + 32 + 1 + 1 + 120);
}

TEST(DeviceCli, DownloadSurvivesGarbageSplitAndCorruptedFrames) {
    TempDir dir;
    const auto samples = MakeSamples(60);
    json faults = {{"seed", 5},
                   {"garbage", {{"bytes", 7}}},
                   {"splitWrites", 5},
                   {"longHeaderFrames", true},
                   {"corruptChecksum", {{{"reply", "sample"}, {"numbers", {7, 30}}}}}};
    Devsim sim(dir, {{"probe", ProbeJson(samples)}, {"faults", faults}});
    const std::string file = dir.File("d.tlm");
    const CliResult r = RunCli(dir, {"--port", sim.path, "download", "-o", file});
    // The last sample arrived, so the transfer ended; the two corrupted
    // frames stored nothing and are named.
    ASSERT_EQ(r.status, 7) << r.err;
    EXPECT_NE(r.err.find("缺少2条（序号7, 30）"), std::string::npos) << r.err;
    std::vector<int> kept;
    for (int i = 0; i < 60; ++i) {
        if (i != 7 && i != 30) kept.push_back(i);
    }
    ExpectRecords(Load(file), samples, kept);
}

TEST(DeviceCli, EmptyProbe) {
    TempDir dir;
    Devsim sim(dir, {{"probe", {{"samples", json::array()}}}});
    const CliResult r = RunCli(dir, {"--port", sim.path, "download", "-o", dir.File("e.tlm")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("探管中没有存储数据"), std::string::npos);
    EXPECT_EQ(Load(dir.File("e.tlm")).RecordCount(), 0u);
}

TEST(DeviceCli, MarksWithRepeatedSequenceKeptCountAndMatching) {
    TempDir dir;
    const auto samples = MakeSamples(40);
    // Marks 2 s after samples 3, 9, 15 and 22; the synchronizer restarts at
    // sequence 1 (the mark near sample 9 is replaced by one near sample 12)
    // and keeps 4 of the 6 marks it sends.
    const std::vector<std::pair<int, int>> marks = {{0, 3}, {1, 9}, {2, 15}, {1, 12}, {2, 22}, {3, 30}};
    json list = json::array();
    for (auto [seq, sample] : marks)
        list.push_back({{"sequence", seq}, {"time", TimeText(sample * kInterval + 2)}});
    Devsim sim(dir, {{"probe", ProbeJson(samples)}, {"synchronizer", {{"marks", list}, {"kept", 3}}}});
    const std::string file = dir.File("m.tlm");
    const CliResult r = RunCli(dir, {"--port", sim.path, "download", "--marks", "-o", file});
    ASSERT_EQ(r.status, 0) << r.err;
    const orb::COrbDoc doc = Load(file);
    ExpectRecords(doc, samples, Range(40));
    ASSERT_EQ(doc.MarkCount(), 3u);
    EXPECT_EQ(doc.Mark(0).sequence, 0);
    EXPECT_EQ(doc.Mark(1).sequence, 1);
    // Packed records: copy the times out before comparing.
    const double time1 = doc.Mark(1).markTime, time2 = doc.Mark(2).markTime;
    EXPECT_EQ(time1, TimeValue(12 * kInterval + 2));
    EXPECT_EQ(time2, TimeValue(22 * kInterval + 2));
    std::vector<int> selected;
    for (std::size_t i = 0; i < doc.RecordCount(); ++i) {
        if (doc.Record(i).selected == 1 && doc.Record(i).syncMatched == 1)
            selected.push_back(static_cast<int>(i));
    }
    EXPECT_EQ(selected, (std::vector<int>{3, 12, 22}));

    // The marks alone into an empty survey: stored, nothing to match.
    const CliResult m = RunCli(dir, {"--port", sim.path, "marks", "-o", dir.File("only.tlm")});
    ASSERT_EQ(m.status, 0) << m.err;
    const orb::COrbDoc only = Load(dir.File("only.tlm"));
    EXPECT_EQ(only.MarkCount(), 3u);
    EXPECT_EQ(only.RecordCount(), 0u);
}

TEST(DeviceCli, WorkModeAndClockFramesOnTheLine) {
    TempDir dir;
    Devsim sim(dir, {{"probe", {{"samples", json::array()}, {"clearDelayMs", 0}}}});
    CliResult r = RunCli(dir, {"--port", sim.path, "workmode", "--delay", "7", "--interval", "30"});
    EXPECT_EQ(r.status, 6);  // no terminal to confirm on and no --yes
    r = RunCli(dir, {"--port", sim.path, "workmode", "--delay", "7", "--interval", "30", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("数据已清空，任务完成!"), std::string::npos);
    std::vector<uint8_t> payload = {0x4A, 0x24, 0x4A, 0x24, 0x4A, 0x24, 0x8A, 0x02, 0x8A, 0x02, 0x8A,
                                    0x02, 0xFF, 0xFF, 0xFF, 0xFF, 0x07, 0x00, 0x07, 0x00, 0x07, 0x00,
                                    0x1E, 0x00, 0x1E, 0x00, 0x1E, 0x00, 0xD8, 0x07, 0x00, 0x81};
    const std::string workMode = orb::BytesToHex(orb::BuildCommandFrame(0x46, 0x05, payload));
    auto cmds = sim.Commands();
    const std::vector<std::string> tail(cmds.end() - 3, cmds.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"FF FF FF FF FF FF 01 46 04 00 43", workMode,
                                              "FF FF FF FF FF FF 01 46 02 00 45"}));

    // Clock set: the computer's local time, in the two devices' layouts.
    for (const bool sync : {false, true}) {
        const std::time_t before = std::time(nullptr);
        r = RunCli(dir, {"--port", sim.path, sync ? "sync-clock-set" : "clock-set"});
        const std::time_t after = std::time(nullptr);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("设备时间:"), std::string::npos);
        const std::string sent = sim.Commands().back();
        bool matched = false;
        for (std::time_t t = before; t <= after && !matched; ++t) {
            std::tm tm{};
            localtime_r(&t, &tm);
            const orb::DateTimeFields f{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                                        tm.tm_hour,        tm.tm_min,     tm.tm_sec};
            const auto frame = sync ? orb::SyncSetClockFrame(f) : orb::ProbeSetClockFrame(f);
            matched = sent == orb::BytesToHex(frame);
        }
        EXPECT_TRUE(matched) << sent;
    }
}

TEST(DeviceCli, RealTimeStopsWhenClosedAndADownloadFollows) {
    TempDir dir;
    const auto samples = MakeSamples(5);
    Devsim sim(dir, {{"probe", ProbeJson(samples)}});
    CliResult r = RunCli(dir, {"--port", sim.path, "realtime", "--count", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    int lines = 0;
    for (char c : r.out) lines += c == '\n';
    EXPECT_EQ(lines, 3);  // captions and two samples
    const auto realTime = sim.Commands();
    const std::string calib = "FF FF FF FF FF FF 01 46 31 00 76";
    const std::string offset = "FF FF FF FF FF FF 01 46 09 00 4E";
    const std::string poll = "FF FF FF FF FF FF 01 46 19 00 5E";
    EXPECT_EQ(realTime, (std::vector<std::string>{calib, offset, poll, poll}));

    r = RunCli(dir, {"--port", sim.path, "download", "-o", dir.File("d.tlm")});
    ASSERT_EQ(r.status, 0) << r.err;
    ExpectRecords(Load(dir.File("d.tlm")), samples, Range(5));
    const auto all = sim.Commands();
    const std::vector<std::string> after(all.begin() + 4, all.end());
    EXPECT_EQ(after, (std::vector<std::string>{"FF FF FF FF FF FF 01 46 04 00 43", calib, offset,
                                               "FF FF FF FF FF FF 01 46 03 00 44"}));
}

TEST(DeviceCli, StreamThatStopsKeepsWhatArrived) {
    TempDir dir;
    const auto samples = MakeSamples(50);
    const json marks = json::array({{{"sequence", 0}, {"time", TimeText(32)}}});
    Devsim sim(dir, {{"probe", ProbeJson(samples)},
                     {"synchronizer", {{"marks", marks}}},
                     {"faults", {{"stopAfterSamples", 20}}}});
    const auto start = Clock::now();
    const CliResult r = RunCli(dir, {"--port", sim.path, "download", "--marks", "-o", dir.File("s.tlm")});
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_GE(Clock::now() - start, 5s);
    EXPECT_NE(r.err.find("数据流中断：已收到20条探管数据，共50条"), std::string::npos) << r.err;
    const orb::COrbDoc doc = Load(dir.File("s.tlm"));
    ExpectRecords(doc, samples, Range(20));
    // The synchronizer transfer still ran, and matched its mark.
    EXPECT_EQ(doc.MarkCount(), 1u);
    EXPECT_EQ(doc.Record(3).syncMatched, 1);
}

TEST(DeviceCli, HangUpKeepsWhatArrived) {
    TempDir dir;
    const auto samples = MakeSamples(50);
    Devsim sim(dir, {{"probe", ProbeJson(samples)}, {"faults", {{"hangUpAfterSamples", 20}}}});
    const CliResult r = RunCli(dir, {"--port", sim.path, "download", "-o", dir.File("h.tlm")});
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.err.find("串口连接已断开：已收到20条探管数据，共50条"), std::string::npos) << r.err;
    ExpectRecords(Load(dir.File("h.tlm")), samples, Range(20));
}

TEST(DeviceCli, TimeOutAndMissingPort) {
    TempDir dir;
    Devsim sim(dir, {{"faults", {{"dropReply", {{{"reply", "commTest"}}}}}}});
    const auto start = Clock::now();
    CliResult r = RunCli(dir, {"--port", sim.path, "test"});
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("通信超时！"), std::string::npos);
    EXPECT_GE(Clock::now() - start, 2s);
    r = RunCli(dir, {"--port", sim.path, "sync-test"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "设备连接正常\n");

    // A number of the port list (ORB_PORT is its first entry), and the
    // search over the list when no port is named.
    ::setenv("ORB_PORT", sim.path.c_str(), 1);
    r = RunCli(dir, {"--port", "1", "sync-test"});
    EXPECT_EQ(r.status, 0) << r.err;
    r = RunCli(dir, {"sync-test"});
    ::unsetenv("ORB_PORT");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "串口1已打开\n");

    r = RunCli(dir, {"--port", dir.File("no-such-tty"), "test"});
    EXPECT_EQ(r.status, 5);
    EXPECT_NE(r.err.find("串口打开失败"), std::string::npos);
}

}  // namespace
