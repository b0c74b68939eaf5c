// The line-fault suite: orb-cli downloads from orb-devsim while the line
// corrupts bytes, splits and drops replies, adds garbage, stops, hangs up, and
// the port disappears and comes back. Every record that arrives must equal
// the one of an undisturbed download; nothing may crash or hang. Each case
// prints one "[fault]" line: what was injected and what the program did.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "device/device_fakes.h"
#include "device/poll_loop.h"
#include "devsim_process.h"
#include "document/tlm_file.h"

namespace orb::test {
namespace {

using json = nlohmann::json;

// About 280 samples of a synthetic well, at a fixed date.
json Scenario(const json& faults = json::object()) {
    json well = {{"start", "2025-06-07 08:00:00"},
                 {"stations",
                  {{"count", 40},
                   {"kickoff", 5},
                   {"build", 3},
                   {"holdInclination", 35},
                   {"azimuth", 120},
                   {"seed", 4}}},
                 {"seed", 4}};
    return {{"probe", {{"samples", {{"synthetic", well}}}}}, {"faults", faults}};
}

struct Download {
    ProgramRun run;
    std::vector<SurveyRecord> records;
    bool saved = false;
};

Download RunDownload(const ScratchDir& dir, const std::string& port) {
    Download d;
    const std::string file = dir.File("d.tlm");
    std::remove(file.c_str());
    d.run = RunOrbCli(dir, {"--port", port, "download", "-o", file});
    TlmLoadResult r = LoadTlmFile(file);
    d.saved = r.loaded();
    for (std::size_t i = 0; d.saved && i < r.document.RecordCount(); ++i)
        d.records.push_back(r.document.Record(i));
    return d;
}

// The records of the same scenario over a clean line.
std::vector<SurveyRecord> CleanRecords() {
    ScratchDir dir;
    SimProcess sim(dir, Scenario());
    const Download d = RunDownload(dir, sim.path);
    EXPECT_EQ(d.run.status, 0) << d.run.err;
    EXPECT_GT(d.records.size(), 200u);
    return d.records;
}

// Every record equals the clean record of the same sample time, byte for
// byte; returns how many do (a failure names the first that does not).
std::size_t ExpectFromCleanLine(const std::vector<SurveyRecord>& got,
                                const std::vector<SurveyRecord>& clean) {
    std::map<double, std::size_t> byTime;
    // Packed records: copy the times out before using them.
    for (std::size_t i = 0; i < clean.size(); ++i) {
        const double t = clean[i].sampleTime;
        byTime[t] = i;
    }
    std::size_t same = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
        const double t = got[i].sampleTime;
        const auto it = byTime.find(t);
        const bool equal = it != byTime.end() && std::memcmp(&got[i], &clean[it->second], sizeof got[i]) == 0;
        EXPECT_TRUE(equal) << "record " << i << " differs from every clean record";
        same += equal;
    }
    return same;
}

// The orb-cli message lines (standard error) that are no progress output.
std::string Messages(const std::string& err) {
    std::string out;
    for (const std::string& l : Lines(err)) {
        if (l.find("条探管数据,") != std::string::npos || l.find('\r') != std::string::npos) continue;
        if (!l.empty()) out += (out.empty() ? "" : " / ") + l;
    }
    return out.empty() ? "(none)" : out;
}

std::size_t Distinct(const std::vector<int>& v) {
    return std::set<int>(v.begin(), v.end()).size();
}

TEST(LineFault, CorruptedSampleFramesAreRejectedAtEveryRate) {
    const auto clean = CleanRecords();
    for (const double rate : {1e-4, 1e-3, 1e-2}) {
        ScratchDir dir;
        SimProcess sim(
            dir, Scenario({{"seed", 9}, {"corruptRate", rate}, {"corruptReplies", {{{"reply", "sample"}}}}}));
        const Download d = RunDownload(dir, sim.path);
        const std::vector<int> hit = sim.Corrupted("sample");
        const bool lastHit =
            std::find(hit.begin(), hit.end(), static_cast<int>(clean.size()) - 1) != hit.end();
        std::printf(
            "[fault] corruption %g (sample frames): %zu frames corrupted and rejected, %zu/%zu records, "
            "exit %d, message %s\n",
            rate, Distinct(hit), d.records.size(), clean.size(), d.run.status, Messages(d.run.err).c_str());
        ASSERT_TRUE(d.saved) << d.run.err;
        // The end stays at the last sample; samples lost before it are named.
        EXPECT_EQ(d.run.status, lastHit ? 3 : hit.empty() ? 0 : 7) << d.run.err;
        if (!lastHit && !hit.empty()) {
            EXPECT_NE(d.run.err.find("，缺少" + std::to_string(Distinct(hit)) + "条（序号"),
                      std::string::npos)
                << d.run.err;
        }
        EXPECT_EQ(d.records.size(), clean.size() - Distinct(hit));
        EXPECT_EQ(ExpectFromCleanLine(d.records, clean), d.records.size());
    }
}

TEST(LineFault, CorruptionOfEveryReplyKindNeverStoresAWrongRecord) {
    const auto clean = CleanRecords();
    for (const auto& [rate, seed] : {std::pair{1e-3, 4}, std::pair{1e-3, 5}, std::pair{1e-2, 1}}) {
        ScratchDir dir;
        SimProcess sim(dir, Scenario({{"seed", seed}, {"corruptRate", rate}}));
        const Download d = RunDownload(dir, sim.path);
        std::string kinds;
        for (const char* k : {"information", "calibration", "toolFaceOffset", "sampleCount", "sample"}) {
            if (const auto n = Distinct(sim.Corrupted(k)))
                kinds += std::string(kinds.empty() ? "" : ", ") + k + " " + std::to_string(n);
        }
        std::printf(
            "[fault] corruption %g (every reply, seed %d): corrupted %s; %zu/%zu records, exit %d, "
            "message %s\n",
            rate, seed, kinds.empty() ? "nothing" : kinds.c_str(), d.records.size(), clean.size(),
            d.run.status, Messages(d.run.err).c_str());
        // Ends: complete, stream interrupted, a reply of the chain lost, or
        // complete up to the last sample with samples lost before it.
        EXPECT_TRUE(d.run.status == 0 || d.run.status == 3 || d.run.status == 4 || d.run.status == 7)
            << d.run.err;
        if (d.run.status == 4) {
            EXPECT_NE(d.run.err.find("通信超时！"), std::string::npos);
        }
        EXPECT_EQ(ExpectFromCleanLine(d.records, clean), d.records.size());
    }
}

TEST(LineFault, SplitWritesAndGarbageLoseNothing) {
    const auto clean = CleanRecords();
    ScratchDir dir;
    SimProcess sim(
        dir,
        Scenario(
            {{"seed", 3}, {"splitWrites", 12}, {"garbage", {{"bytes", 9}}}, {"longHeaderFrames", true}}));
    const Download d = RunDownload(dir, sim.path);
    std::printf(
        "[fault] random splits (1..12 bytes a write) and 9 garbage bytes before every reply: %zu/%zu "
        "records, exit %d, message %s\n",
        d.records.size(), clean.size(), d.run.status, Messages(d.run.err).c_str());
    EXPECT_EQ(d.run.status, 0) << d.run.err;
    ASSERT_EQ(d.records.size(), clean.size());
    EXPECT_EQ(ExpectFromCleanLine(d.records, clean), clean.size());
}

TEST(LineFault, DroppedRepliesLoseTheirRecordOrStopTheChainWithATimeOut) {
    const auto clean = CleanRecords();
    {
        ScratchDir dir;
        SimProcess sim(dir, Scenario({{"dropReply", {{{"reply", "sample"}, {"numbers", {10, 11, 200}}}}}}));
        const Download d = RunDownload(dir, sim.path);
        std::printf("[fault] dropped sample replies 10, 11, 200: %zu/%zu records, exit %d, message %s\n",
                    d.records.size(), clean.size(), d.run.status, Messages(d.run.err).c_str());
        EXPECT_EQ(d.run.status, 7) << d.run.err;
        EXPECT_EQ(d.records.size(), clean.size() - 3);
        EXPECT_EQ(ExpectFromCleanLine(d.records, clean), d.records.size());
    }
    for (const char* kind : {"information", "calibration", "toolFaceOffset", "sampleCount"}) {
        ScratchDir dir;
        SimProcess sim(dir, Scenario({{"dropReply", {{{"reply", kind}, {"number", 0}}}}}));
        const auto start = SteadyClock::now();
        const Download d = RunDownload(dir, sim.path);
        const double seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
        std::printf("[fault] dropped %s reply: exit %d after %.1f s, %s, message %s\n", kind, d.run.status,
                    seconds, d.saved ? "file written" : "no file written", Messages(d.run.err).c_str());
        EXPECT_EQ(d.run.status, 4) << d.run.err;
        EXPECT_NE(d.run.err.find("通信超时！"), std::string::npos);
        EXPECT_FALSE(d.saved);
    }
}

TEST(LineFault, StreamThatStopsKeepsTheRecordsBeforeIt) {
    const auto clean = CleanRecords();
    ScratchDir dir;
    SimProcess sim(dir, Scenario({{"stopAfterSamples", 100}}));
    const Download d = RunDownload(dir, sim.path);
    std::printf("[fault] stream stops after 100 samples: %zu/%zu records, exit %d, message %s\n",
                d.records.size(), clean.size(), d.run.status, Messages(d.run.err).c_str());
    EXPECT_EQ(d.run.status, 3);
    EXPECT_NE(d.run.err.find("数据流中断：已收到100条探管数据，共" + std::to_string(clean.size()) + "条"),
              std::string::npos)
        << d.run.err;
    ASSERT_EQ(d.records.size(), 100u);
    EXPECT_EQ(ExpectFromCleanLine(d.records, clean), 100u);
    EXPECT_EQ(std::memcmp(&d.records[99], &clean[99], sizeof clean[99]), 0);
}

// The device logic in this process over the real serial port, as the window
// runs it: a download that ends in a hang-up, the port gone and back, chosen
// again with the port command, and a new download.
TEST(LineFault, HungUpPortComesBackAndIsReopenedByChoosingItAgain) {
    const auto clean = CleanRecords();
    ScratchDir dir;
    const std::string link = dir.File("ttyProbe");
    SimProcess sim(dir, Scenario({{"hangUpAfterSamples", 120}, {"reconnectAfterMs", 800}}), {"--link", link});
    ASSERT_FALSE(sim.path.empty());

    PortListOptions options;
    options.namedPort = link;
    SerialLinkPort port(options);
    PollTimers timers;
    FakeOperator op;
    COrbDoc doc;
    SurveyEdits edits(doc);
    ModelTable table(edits);
    DeviceController dc(port, timers, op, table, edits);
    PollLoop loop(port, timers);
    loop.SetController(&dc);
    op.portDialog = [](int& n) {
        n = 1;  // the operator picks the same port again
        return true;
    };
    dc.SearchPorts();
    ASSERT_EQ(op.MessageTexts(), std::vector<std::string>{"串口1已打开"});

    dc.OnProbeDownload();
    auto deadline = SteadyClock::now() + 20s;
    const auto end =
        loop.RunUntil([&] { return dc.sampleTransfer.complete || SteadyClock::now() > deadline; });
    ASSERT_EQ(end, PollLoop::Result::kHungUp);
    ASSERT_EQ(doc.RecordCount(), 120u);
    std::vector<SurveyRecord> first(doc.RecordCount());
    for (std::size_t i = 0; i < first.size(); ++i) first[i] = doc.Record(i);
    EXPECT_EQ(ExpectFromCleanLine(first, clean), 120u);
    EXPECT_TRUE(port.IsOpen());  // open, but hung up

    // Gone: choosing it fails and leaves nothing open.
    dc.OnPortSelect();
    EXPECT_EQ(op.MessageTexts().back(), "串口打开失败");
    EXPECT_FALSE(port.IsOpen());

    const std::string again = sim.WaitForDevice(2, 10s);
    ASSERT_FALSE(again.empty());
    dc.OnPortSelect();
    EXPECT_EQ(op.MessageTexts().back(), "串口已切换为1");
    ASSERT_TRUE(port.IsOpen());
    EXPECT_FALSE(port.HungUp());

    dc.OnProbeDownload();
    deadline = SteadyClock::now() + 20s;
    EXPECT_EQ(loop.RunUntil([&] { return dc.sampleTransfer.complete || SteadyClock::now() > deadline; }),
              PollLoop::Result::kStopped);
    std::printf(
        "[fault] hang-up after 120 samples, port gone 0.8 s: 120/%zu records kept; chosen while gone: "
        "串口打开失败; chosen again after it came back: %s; new download %zu/%zu records\n",
        clean.size(), op.MessageTexts().back().c_str(), doc.RecordCount(), clean.size());
    ASSERT_TRUE(dc.sampleTransfer.complete);
    std::vector<SurveyRecord> second(doc.RecordCount());
    for (std::size_t i = 0; i < second.size(); ++i) second[i] = doc.Record(i);
    ASSERT_EQ(second.size(), clean.size());
    EXPECT_EQ(ExpectFromCleanLine(second, clean), clean.size());
}

// The same with orb-cli: each run opens the port anew.
TEST(LineFault, HangUpInTheMiddleOfADownloadWithOrbCli) {
    const auto clean = CleanRecords();
    ScratchDir dir;
    const std::string link = dir.File("ttyProbe");
    SimProcess sim(dir, Scenario({{"hangUpAfterSamples", 150}, {"reconnectAfterMs", 300}}), {"--link", link});
    const Download d = RunDownload(dir, link);
    std::printf("[fault] hang-up after 150 samples (orb-cli): %zu/%zu records, exit %d, message %s\n",
                d.records.size(), clean.size(), d.run.status, Messages(d.run.err).c_str());
    EXPECT_EQ(d.run.status, 3);
    EXPECT_NE(d.run.err.find("串口连接已断开：已收到150条探管数据，共" + std::to_string(clean.size()) + "条"),
              std::string::npos)
        << d.run.err;
    ASSERT_EQ(d.records.size(), 150u);
    EXPECT_EQ(ExpectFromCleanLine(d.records, clean), 150u);

    ASSERT_FALSE(sim.WaitForDevice(2, 10s).empty());
    const Download again = RunDownload(dir, link);
    EXPECT_EQ(again.run.status, 0) << again.run.err;
    EXPECT_EQ(again.records.size(), clean.size());
}

}  // namespace
}  // namespace orb::test
