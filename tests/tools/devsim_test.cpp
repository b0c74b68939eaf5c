// The simulated devices answer every command with the frames the program
// expects, and each reply parses back to what the scenario says.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "core/angles.h"
#include "core/calibration.h"
#include "core/outside_file.h"
#include "core/synthetic.h"
#include "device/device_frame.h"
#include "device/frame_scanner.h"
#include "devsim/civil_time.h"
#include "devsim/device_simulator.h"
#include "devsim/scenario.h"
#include "file_fault_support.h"

namespace devsim {
namespace {

using nlohmann::json;
using Bytes = std::vector<uint8_t>;

// A host clock the test moves by hand.
struct FakeClock {
    int64_t now = CivilSeconds({2025, 6, 7, 9, 0, 0});
};

struct Sim {
    FakeClock clock;
    DeviceSimulator sim;
    std::vector<Output> last;
    explicit Sim(const Scenario& s) : sim(s, [this] { return clock.now; }) {}
    explicit Sim(const json& j) : Sim(ScenarioFromJson(j, CivilSeconds({2025, 6, 7, 9, 0, 0}))) {}

    // Sends one command; returns the reply frames as the program's scanner cuts them.
    std::vector<Bytes> Ask(const Bytes& command) {
        last = sim.Receive(command);
        return Frames(last);
    }
    static Bytes Line(const std::vector<Output>& outs) {
        Bytes all;
        for (const auto& o : outs) all.insert(all.end(), o.bytes.begin(), o.bytes.end());
        return all;
    }
    static std::vector<Bytes> Frames(const std::vector<Output>& outs) {
        std::vector<Bytes> frames;
        orb::FrameScanner scanner(
            [&](std::span<const uint8_t> f) { frames.emplace_back(f.begin(), f.end()); });
        orb::ReceiveBuffer buf;
        const Bytes all = Line(outs);
        for (std::size_t pos = 0; pos < all.size();) {
            const std::size_t n = std::min<std::size_t>({64, all.size() - pos, buf.FreeSpace()});
            buf.Append(std::span(all).subspan(pos, n));
            pos += n;
            scanner.Scan(buf);
        }
        return frames;
    }
};

json ExplicitScenario() {
    return json::parse(R"({
      "probe": {
        "number": "TALOE00042", "delayMinutes": 3, "intervalSeconds": 15, "battery": 7.6,
        "toolFaceOffset": 12.5, "clock": "2025-06-07 10:15:30", "calibration": {"generated": 99},
        "samples": [
          {"raw": [10, -20, 4500, 2100, -300, 3900], "temperature": 21.5, "time": "2025-06-07 08:03:00", "battery": 7.9},
          {"raw": [-32768, 32767, 0, 1, -1, 2], "temperature": -5.2, "time": "2025-06-07 08:03:15"},
          {"raw": [3000, 0, 3300, 0, 0, 0], "temperature": 85.0, "time": "2025-12-31 23:59:59", "battery": 11.8}
        ]
      },
      "synchronizer": {
        "clock": "2025-06-07 10:00:00", "address": 65,
        "marks": [
          {"sequence": 0, "time": "2025-06-07 08:03:05"},
          {"sequence": 1, "time": "2025-06-07 08:04:00"},
          {"sequence": 1, "time": "2025-06-07 08:04:09"},
          {"sequence": 2, "time": "2025-06-07 08:05:30"}
        ],
        "kept": 2
      }
    })");
}

TEST(DevSim, DownloadChainParsesBackToTheScenario) {
    const Scenario scenario = ScenarioFromJson(ExplicitScenario(), 0);
    Sim s(scenario);

    const auto info = s.Ask(orb::ProbeInformationFrame());
    ASSERT_EQ(info.size(), 1u);
    const auto i = orb::ReadProbeInformation(info[0]);
    ASSERT_TRUE(i);
    EXPECT_EQ(i->probeNumber, "TALOE00042");
    EXPECT_EQ(i->storedCount, 3);
    EXPECT_EQ(i->delayMinutes, 3);
    EXPECT_EQ(i->intervalSeconds, 15);
    EXPECT_EQ(i->batteryTenths, 76);

    const auto packets = s.Ask(orb::ProbeReadCalibrationFrame());
    ASSERT_EQ(packets.size(), 32u);
    orb::CalibrationPackets area;
    orb::ProbeCalibration received = orb::ProbeCalibration::Default();
    for (std::size_t k = 0; k < packets.size(); ++k) {
        const auto p = orb::ReadCalibrationPacket(packets[k]);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->index, k);  // in order
        EXPECT_EQ(area.Store(p->index, p->data, received), k == 31);
    }
    EXPECT_EQ(received.values, orb::GenerateCalibration(99).values);  // bit for bit

    const auto offset = s.Ask(orb::ProbeToolFaceOffsetFrame());
    ASSERT_EQ(offset.size(), 1u);
    EXPECT_EQ(*orb::ReadToolFaceOffset(offset[0]), 12.5f);

    const auto stream = s.Ask(orb::ProbeSendStoredFrame());
    ASSERT_EQ(stream.size(), 4u);
    EXPECT_EQ(*orb::ReadSampleCount(stream[0]), 3);
    for (std::size_t k = 0; k < 3; ++k) {
        const auto sample = orb::ReadStoredSample(stream[k + 1]);
        ASSERT_TRUE(sample);
        const StoredSampleSpec& want = scenario.samples[k];
        EXPECT_EQ(sample->index, static_cast<int32_t>(k));
        EXPECT_EQ(sample->raw, want.raw);
        EXPECT_EQ(sample->temperatureTenths, want.temperatureTenths);
        EXPECT_EQ(sample->batteryTenths, want.batteryTenths);
        EXPECT_EQ(FormatDateTime(orb::DecodeBcdClock(sample->time)), FormatDateTime(want.time));
    }
    EXPECT_EQ(orb::ReadStoredSample(stream[2])->temperatureTenths, -52);
    EXPECT_EQ(orb::ReadStoredSample(stream[3])->batteryTenths, 118);
    // Byte-level spot checks against the layout the program reads.
    EXPECT_EQ(stream[1].size(), 38u);
    EXPECT_EQ(stream[1][15], 10);    // gx low byte
    EXPECT_EQ(stream[1][27], 0x00);  // second, BCD
    EXPECT_EQ(stream[1][28], 0x03);  // minute
    EXPECT_EQ(stream[1][33], 0x25);  // year - 2000
    EXPECT_EQ(stream[3][32], 0x12);  // month
    EXPECT_EQ(info[0][6], 0x01);     // probe address
}

TEST(DevSim, WorkModeThenClear) {
    Sim s(ExplicitScenario());
    const auto mode = s.Ask(orb::ProbeWorkModeFrame(7, 20));
    ASSERT_EQ(mode.size(), 1u);
    EXPECT_EQ(*orb::ReplyTypeOf(mode[0]), 0x05);
    const auto clear = s.Ask(orb::ProbeClearFrame());
    ASSERT_EQ(clear.size(), 1u);
    EXPECT_EQ(*orb::ReplyTypeOf(clear[0]), 0x02);
    EXPECT_GE(s.last.front().delayMs, 100);  // clearing takes a while
    const auto info = orb::ReadProbeInformation(s.Ask(orb::ProbeInformationFrame()).at(0));
    EXPECT_EQ(info->delayMinutes, 7);
    EXPECT_EQ(info->intervalSeconds, 20);
    EXPECT_EQ(info->storedCount, 0);
    const auto stream = s.Ask(orb::ProbeSendStoredFrame());
    ASSERT_EQ(stream.size(), 1u);
    EXPECT_EQ(*orb::ReadSampleCount(stream[0]), 0);
}

std::string ClockText(const Bytes& frame) {
    return FormatDateTime(orb::DecodeBcdClock(*orb::ReadClockReply(frame)));
}

TEST(DevSim, ClocksRunAndCanBeSet) {
    Sim s(ExplicitScenario());
    auto probe = s.Ask(orb::ProbeReadClockFrame());
    ASSERT_EQ(probe.size(), 1u);
    EXPECT_EQ(probe[0].size(), 20u);  // the long form
    EXPECT_EQ(ClockText(probe[0]), "2025-06-07 10:15:30");
    s.clock.now += 65;
    EXPECT_EQ(ClockText(s.Ask(orb::ProbeReadClockFrame()).at(0)), "2025-06-07 10:16:35");

    const auto set = s.Ask(orb::ProbeSetClockFrame({2024, 2, 29, 23, 59, 58}));
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(*orb::ReplyTypeOf(set[0]), 0x0E);
    EXPECT_EQ(ClockText(set[0]), "2024-02-29 23:59:58");
    s.clock.now += 3;
    EXPECT_EQ(ClockText(s.Ask(orb::ProbeReadClockFrame()).at(0)), "2024-03-01 00:00:01");

    auto sync = s.Ask(orb::SyncReadClockFrame());
    ASSERT_EQ(sync.size(), 1u);
    EXPECT_EQ(sync[0].size(), 16u);  // the short form
    EXPECT_EQ(sync[0][6], 0x41);     // the scenario's address
    EXPECT_EQ(ClockText(sync[0]), "2025-06-07 10:01:08");
    EXPECT_EQ(ClockText(s.Ask(orb::SyncSetClockFrame({2025, 6, 7, 10, 15, 30})).at(0)),
              "2025-06-07 10:15:30");
    // An impossible date leaves the clock alone.
    EXPECT_EQ(ClockText(s.Ask(orb::SyncSetClockFrame({2025, 13, 7, 10, 15, 30})).at(0)),
              "2025-06-07 10:15:30");
}

TEST(DevSim, RealTimeSamplesInBothForms) {
    Scenario sc = ScenarioFromJson(ExplicitScenario(), 0);
    Sim raw(sc);
    for (int k = 0; k < 5; ++k) {
        const auto f = raw.Ask(orb::ProbeRealTimeSampleFrame());
        ASSERT_EQ(f.size(), 1u);
        ASSERT_EQ(f[0].size(), 34u);
        const auto r = orb::ReadRealTimeSample(f[0]);
        ASSERT_TRUE(r && !r->ready);
        EXPECT_EQ(r->temperatureTenths, 850);  // resting where the last sample was taken
        for (std::size_t c = 0; c < 6; ++c) EXPECT_NEAR(r->raw[c], sc.samples.back().raw[c], 3);
    }
    sc.realTimeAttitudeForm = true;
    Sim ready(sc);
    const auto f = ready.Ask(orb::ProbeRealTimeSampleFrame());
    ASSERT_EQ(f.at(0).size(), 90u);
    const auto r = orb::ReadRealTimeSample(f[0]);
    ASSERT_TRUE(r && r->ready);
    orb::AttitudeSample check;
    check.v = r->attitude.v;
    orb::ComputeAttitude(sc.calibration, check);
    EXPECT_EQ(check.v, r->attitude.v);  // a consistent, computed block
}

TEST(DevSim, MarksCountThenFramesAndClearAfterADelay) {
    Sim s(ExplicitScenario());
    EXPECT_EQ(*orb::ReplyTypeOf(s.Ask(orb::SyncCommTestFrame()).at(0)), 0x00);
    const auto marks = s.Ask(orb::SyncSendMarksFrame());
    ASSERT_EQ(marks.size(), 5u);
    const auto count = orb::ReadMarkCount(marks[0]);
    ASSERT_TRUE(count);
    EXPECT_EQ(count->expected, 4);
    EXPECT_EQ(count->kept, 2);
    const int32_t sequences[] = {0, 1, 1, 2};
    const char* times[] = {"2025-06-07 08:03:05", "2025-06-07 08:04:00", "2025-06-07 08:04:09",
                           "2025-06-07 08:05:30"};
    for (std::size_t k = 0; k < 4; ++k) {
        const auto m = orb::ReadSyncMark(marks[k + 1]);
        ASSERT_TRUE(m);
        EXPECT_EQ(m->frameIndex, static_cast<int32_t>(k));
        EXPECT_EQ(m->sequence, sequences[k]);
        EXPECT_EQ(FormatDateTime(orb::DecodeBcdClock(m->time)), times[k]);
    }
    EXPECT_EQ(marks[1][29], 0x06);  // day of week (Saturday), sent though unused

    const auto clear = s.Ask(orb::SyncClearFrame());
    ASSERT_EQ(clear.size(), 1u);
    EXPECT_EQ(*orb::ReplyTypeOf(clear[0]), 0x02);
    EXPECT_EQ(s.last.front().delayMs, 4000);
    const auto after = s.Ask(orb::SyncSendMarksFrame());
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(orb::ReadMarkCount(after[0])->expected, 0);
    EXPECT_EQ(orb::ReadMarkCount(after[0])->kept, 0);
}

TEST(DevSim, CommandsAreFoundInAnyPiecesAndBadOnesIgnored) {
    Sim s(ExplicitScenario());
    std::vector<std::string> log;
    s.sim.onCommand = [&](std::span<const uint8_t> f) { log.push_back(orb::BytesToHex(f)); };
    Bytes line = {0x00, 0xFF, 0xFF, 0x13};  // noise first
    const Bytes info = orb::ProbeInformationFrame();
    const Bytes tf = orb::ProbeToolFaceOffsetFrame();
    Bytes bad0 = orb::ProbeCommTestFrame();
    bad0.back() ^= 1;
    const Bytes bad = bad0;
    for (const Bytes* b : {&info, &bad, &tf}) line.insert(line.end(), b->begin(), b->end());
    std::vector<Output> outs;
    for (uint8_t byte : line) {
        auto o = s.sim.Receive(std::span(&byte, 1));
        outs.insert(outs.end(), o.begin(), o.end());
    }
    const auto frames = Sim::Frames(outs);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(*orb::ReplyTypeOf(frames[0]), 0x04);
    EXPECT_EQ(*orb::ReplyTypeOf(frames[1]), 0x09);
    EXPECT_EQ(log, (std::vector<std::string>{orb::BytesToHex(info), orb::BytesToHex(tf)}));
}

TEST(DevSim, FaultInjection) {
    json j = ExplicitScenario();
    j["faults"] = json::parse(R"({
      "seed": 5,
      "garbage": {"bytes": 6, "before": [{"reply": "information"}, {"reply": "sample", "number": 1}]},
      "corruptChecksum": [{"reply": "calibration", "numbers": [4, 30]}],
      "dropReply": [{"reply": "toolFaceOffset", "number": 0}],
      "longHeaderFrames": true
    })");
    Sim s(j);
    const auto info = s.Ask(orb::ProbeInformationFrame());
    ASSERT_EQ(info.size(), 2u);  // the long-header frame, then the reply
    EXPECT_EQ(*orb::ReplyTypeOf(info[0]), 0xFF);
    const Bytes line = Sim::Line(s.last);
    EXPECT_EQ(line.size(), info[0].size() + 6 + info[1].size());
    EXPECT_NE(line[info[0].size()], 0xFF);  // garbage, never a header byte

    const auto cal = s.Ask(orb::ProbeReadCalibrationFrame());
    ASSERT_EQ(cal.size(), 31u);  // long header + 30 good packets
    for (std::size_t k = 1; k < cal.size(); ++k) {
        const int index = orb::ReadCalibrationPacket(cal[k])->index;
        EXPECT_NE(index, 4);
        EXPECT_NE(index, 30);
    }
    EXPECT_EQ(s.Ask(orb::ProbeToolFaceOffsetFrame()).size(), 1u);  // only the long header
    EXPECT_EQ(s.Ask(orb::ProbeToolFaceOffsetFrame()).size(), 2u);  // the second one is answered
    EXPECT_EQ(s.Ask(orb::ProbeSendStoredFrame()).size(), 5u);
}

TEST(DevSim, SplitWritesCarryTheSameBytes) {
    json j = ExplicitScenario();
    Sim whole(j);
    const Bytes expected = Sim::Line(whole.sim.Receive(orb::ProbeReadCalibrationFrame()));
    j["faults"] = {{"splitWrites", 5}};
    Sim split(j);
    const auto outs = split.sim.Receive(orb::ProbeReadCalibrationFrame());
    EXPECT_GT(outs.size(), 32u * 44 / 5);
    for (const auto& o : outs) EXPECT_LE(o.bytes.size(), 5u);
    EXPECT_EQ(Sim::Line(outs), expected);
}

TEST(DevSim, StreamThatStopsOrHangsUp) {
    json j = ExplicitScenario();
    j["faults"] = {{"stopAfterSamples", 2}};
    Sim stop(j);
    const auto frames = stop.Ask(orb::ProbeSendStoredFrame());
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(*orb::ReadSampleCount(frames[0]), 3);  // announced in full
    EXPECT_FALSE(stop.last.back().hangUp);

    j["faults"] = {{"hangUpAfterSamples", 1}};
    Sim hang(j);
    const auto cut = hang.Ask(orb::ProbeSendStoredFrame());
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_TRUE(hang.last.back().hangUp);
    for (std::size_t k = 0; k + 1 < hang.last.size(); ++k) EXPECT_FALSE(hang.last[k].hangUp);
}

TEST(DevSim, SyntheticWellReadsBackItsStations) {
    const json j = json::parse(R"({
      "probe": {
        "delayMinutes": 2, "intervalSeconds": 10, "calibration": {"generated": 7},
        "samples": {"synthetic": {
          "start": "2025-06-07 08:00:00", "dip": 60.0, "field": 0.5, "noise": 0,
          "travelSamples": 2, "dwellSamples": 3,
          "temperature": {"surface": 20, "bottom": 80},
          "stations": [
            {"inclination": 0.5, "azimuth": 10, "toolFace": 45},
            {"inclination": 30, "azimuth": 135, "toolFace": 200},
            {"inclination": 88, "azimuth": 359, "toolFace": 330}
          ]}}
      },
      "synchronizer": {"marks": {"nearStations": {"jitterSeconds": 2, "repeat": [1], "extra": 1}}}
    })");
    const Scenario sc = ScenarioFromJson(j, CivilSeconds({2025, 6, 7, 9, 0, 0}));
    ASSERT_EQ(sc.samples.size(), 15u);
    EXPECT_EQ(FormatDateTime(sc.samples[0].time), "2025-06-07 08:02:00");
    EXPECT_EQ(FormatDateTime(sc.samples[14].time), "2025-06-07 08:04:20");
    EXPECT_EQ(sc.samples[2].temperatureTenths, 200);  // first resting sample
    EXPECT_EQ(sc.samples[14].temperatureTenths, 800);

    Sim s(sc);
    const auto stream = s.Ask(orb::ProbeSendStoredFrame());
    ASSERT_EQ(stream.size(), 16u);
    const double want[3][3] = {{0.5, 10, 45}, {30, 135, 200}, {88, 359, 330}};
    for (int st = 0; st < 3; ++st) {
        const auto sample = orb::ReadStoredSample(stream[1 + st * 5 + 3]);  // middle resting sample
        orb::AttitudeSample a;
        a.v[orb::AttitudeSample::kTemperature] = sample->temperatureTenths / 10.0f;
        for (std::size_t c = 0; c < 6; ++c) a.v[orb::AttitudeSample::kRawGx + c] = sample->raw[c];
        orb::ComputeAttitude(sc.calibration, a);
        const auto diff = [](double x, double y) { return std::abs(std::remainder(x - y, 360.0)); };
        EXPECT_LT(diff(a.v[orb::AttitudeSample::kInclination], want[st][0]), 0.1) << st;
        if (want[st][0] > 5) {  // azimuth and tool face are meaningless near vertical
            EXPECT_LT(diff(a.v[orb::AttitudeSample::kAzimuth], want[st][1]), 0.3) << st;
            EXPECT_LT(diff(a.v[orb::AttitudeSample::kGravityToolFace], want[st][2]), 0.3) << st;
        }
        EXPECT_NEAR(a.v[orb::AttitudeSample::kTotalGravity], 1.0, 0.01);
        EXPECT_NEAR(a.v[orb::AttitudeSample::kTotalMagnetic], 0.5, 0.01);
        EXPECT_LT(diff(a.v[orb::AttitudeSample::kDip], 60.0), 0.3);
    }

    // Marks: one near each station, station 1 marked twice, one stray mark.
    ASSERT_EQ(sc.marks.size(), 5u);
    EXPECT_EQ(sc.keptMarks, 3);
    const int32_t sequences[] = {0, 1, 1, 2, 3};
    for (std::size_t k = 0; k < 5; ++k) EXPECT_EQ(sc.marks[k].sequence, sequences[k]);
    for (int st = 0; st < 3; ++st) {
        const std::size_t markIndex = st < 2 ? st : 3;
        const int64_t gap =
            CivilSeconds(sc.marks[markIndex].time) - CivilSeconds(sc.samples[st * 5 + 3].time);
        EXPECT_LE(std::abs(gap), 2) << st;
    }
    const auto count = orb::ReadMarkCount(s.Ask(orb::SyncSendMarksFrame()).at(0));
    EXPECT_EQ(count->expected, 5);
    EXPECT_EQ(count->kept, 3);
}

TEST(DevSim, DefaultScenarioIsARealisticSurvey) {
    const int64_t now = CivilSeconds({2025, 6, 7, 12, 0, 0});
    const Scenario sc = DefaultScenario(now);
    EXPECT_EQ(sc.samples.size(), 60u * 7);
    EXPECT_EQ(sc.marks.size(), 60u);
    EXPECT_NE(sc.calibration.values, orb::ProbeCalibration::Default().values);
    EXPECT_LT(CivilSeconds(sc.samples.back().time), now);
    EXPECT_EQ(sc.probeNumber.substr(0, 5), "TALOE");
    // Deepest stations are deviated, the top ones nearly vertical.
    const auto inclination = [&](std::size_t k) {
        orb::AttitudeSample a;
        a.v[orb::AttitudeSample::kTemperature] = sc.samples[k].temperatureTenths / 10.0f;
        for (std::size_t c = 0; c < 6; ++c) a.v[orb::AttitudeSample::kRawGx + c] = sc.samples[k].raw[c];
        orb::ComputeAttitude(sc.calibration, a);
        return a.v[orb::AttitudeSample::kInclination];
    };
    EXPECT_LT(inclination(5), 1.5);
    EXPECT_GT(inclination(sc.samples.size() - 2), 35.0);
}

// A count reply that lies (negative ones too) before the real samples, and
// a reply that goes out again for ever after its first sending.
TEST(DevSim, AnnouncedCountAndRepeatedReplies) {
    for (const int32_t announced : {-1, 0, 7}) {
        json j = ExplicitScenario();
        j["probe"]["announced"] = announced;
        Sim s(j);
        const auto frames = s.Ask(orb::ProbeSendStoredFrame());
        ASSERT_EQ(frames.size(), 4u);
        EXPECT_EQ(*orb::ReadSampleCount(frames[0]), announced);
    }
    json j = ExplicitScenario();
    j["faults"] = {{"repeatReply", {{{"reply", "sample"}, {"number", 1}}}}, {"repeatEveryMs", 40}};
    Sim s(j);
    const auto frames = s.Ask(orb::ProbeSendStoredFrame());
    ASSERT_EQ(frames.size(), 5u);  // count, samples 0 and 1, the copy of 1, sample 2
    EXPECT_EQ(frames[3], frames[2]);
    const Output& copy = s.last[3];
    EXPECT_EQ(copy.repeatMs, 40);
    EXPECT_EQ(copy.delayMs, 40);
    for (std::size_t k = 0; k < s.last.size(); ++k) EXPECT_EQ(s.last[k].repeatMs >= 0, k == 3) << k;
}

TEST(DevSim, ScenarioErrorsNameTheField) {
    const auto message = [](const char* text) {
        try {
            ScenarioFromJson(json::parse(text), 0);
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_NE(message(R"({"probe": {"delayMinutes": "5"}})").find("probe.delayMinutes"), std::string::npos);
    EXPECT_NE(message(R"({"probe": {"samples": [{"raw": [1,2,3]}]}})").find("probe.samples[0].raw"),
              std::string::npos);
    EXPECT_NE(message(R"({"probe": {"calibration": {"values": [1]}}})").find("calibration"),
              std::string::npos);
    EXPECT_NE(message(R"({"synchronizer": {"marks": "nearStations"}})").find("synchronizer.marks"),
              std::string::npos);
    EXPECT_NE(message(R"({"probe": {"clock": "2025-02-30 00:00:00"}})").find("probe.clock"),
              std::string::npos);
    EXPECT_NE(message(R"({"synchronizer": {"address": 66}})").find("address"), std::string::npos);
    EXPECT_NE(message(R"({"probe": {"announced": 2147483648}})").find("probe.announced"), std::string::npos);
    EXPECT_NE(message(R"({"faults": {"repeatEveryMs": 0}})").find("faults.repeatEveryMs"), std::string::npos);
    EXPECT_EQ(message(R"({})"), "accepted");
}

// The operator's scenario file: a FIFO is not waited for (the load runs in
// a child that an alarm ends after 5 s), a file beyond the cap is refused
// before it is parsed, a regular one loads.
TEST(DevSim, ScenarioFilesAreReadCarefully) {
    char tmpl[] = "/tmp/orb-scenario-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    auto loadMessage = [](const std::string& path) {
        try {
            LoadScenario(path, 0);
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string("loaded");
    };
    ASSERT_EQ(::mkfifo((dir + "/fifo.json").c_str(), 0644), 0);
    const orb::test::ChildResult r = orb::test::detail::RunChild([&](std::string& report) {
        ::alarm(5);
        report = loadMessage(dir + "/fifo.json");
        return report.find(orb::kNotRegularFileMessage) != std::string::npos ? 0 : 1;
    });
    EXPECT_EQ(r.status, 0) << r.report << (r.status == 128 + SIGALRM ? " (blocked)" : "");
    { std::ofstream(dir + "/big.json") << "{}"; }
    ASSERT_EQ(::truncate((dir + "/big.json").c_str(), kMaxScenarioBytes + 1), 0);
    EXPECT_NE(loadMessage(dir + "/big.json").find(orb::TooLargeToReadText(kMaxScenarioBytes)),
              std::string::npos);
    std::ofstream(dir + "/ok.json") << "{}";
    EXPECT_EQ(loadMessage(dir + "/ok.json"), "loaded");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace devsim
