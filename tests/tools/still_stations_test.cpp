// Still periods on the simulator's wells, through orb-cli stations --still and
// orb-cli qc: every stop is found to within a sample of its ends, travel,
// turning in place and vibration never count as still, a slow drift within
// the limits does, the proposal takes one station per stop, and a matched
// station is flagged exactly when the probe was moving.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/still_periods.h"
#include "device/device_controller.h"
#include "device/device_frame.h"
#include "devsim/civil_time.h"
#include "devsim/replies.h"
#include "devsim/scenario.h"
#include "document/orb_doc.h"
#include "document/tlm_file.h"
#include "tools/command_run.h"

namespace orb {
namespace {

using devsim::SampleSegment;
using devsim::SegmentKind;

constexpr int64_t kHostNow = 1'749'300'000;  // any fixed host clock

// The records a download of the scenario's samples stores.
std::vector<SurveyRecord> Download(const devsim::Scenario& s) {
    std::vector<SurveyRecord> records;
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const std::vector<uint8_t> data = devsim::SampleData(static_cast<int32_t>(i), s.samples[i]);
        const std::optional<StoredSample> sample = ReadStoredSample(BuildReplyFrame(0x03, data));
        records.push_back(RecordFromSample(sample.value(), s.calibration, s.toolFaceOffset));
    }
    return records;
}

struct Period {
    std::size_t first, last, station;
};

class StillStationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("orb_still_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        scenario =
            devsim::LoadScenario(ORB_SOURCE_DIR "/tools/devsim/scenarios/multishot_still.json", kHostNow);
        records = Download(scenario);
        path = Write("run.tlm", records);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string Write(const std::string& name, const std::vector<SurveyRecord>& rs) const {
        COrbDoc doc;
        for (const SurveyRecord& r : rs) doc.AppendRecord(r);
        const std::vector<uint8_t> bytes =
            EncodeTlm(doc, TlmTiming{scenario.delayMinutes, scenario.intervalSeconds});
        const std::string p = (dir / name).string();
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return p;
    }

    static std::vector<Period> Parse(const std::string& out) {
        std::vector<Period> periods;
        std::istringstream in(out);
        std::string line;
        std::getline(in, line);  // heading
        for (std::size_t k, first, last, n, station; in >> k >> first >> last >> n >> station;)
            periods.push_back({first, last, station});
        return periods;
    }

    std::filesystem::path dir;
    devsim::Scenario scenario;
    std::vector<SurveyRecord> records;
    std::string path;
};

bool IsStop(const SampleSegment& s) {
    return s.kind == SegmentKind::kStop || s.kind == SegmentKind::kDrift;
}

bool Overlaps(const Period& p, const SampleSegment& s) {
    return p.first <= static_cast<std::size_t>(s.last) && p.last >= static_cast<std::size_t>(s.first);
}

TEST_F(StillStationsTest, EveryStopFoundWithinOneSampleAndNothingElse) {
    const test::CommandRun r = test::OrbCli("stations " + path + " --still");
    ASSERT_EQ(r.status, 0) << r.out;
    const std::vector<Period> periods = Parse(r.out);
    std::size_t stops = 0;
    for (const SampleSegment& seg : scenario.segments) {
        std::vector<Period> hits;
        for (const Period& p : periods)
            if (Overlaps(p, seg)) hits.push_back(p);
        const std::string what = std::string(devsim::SegmentKindName(seg.kind)) + " " +
                                 std::to_string(seg.first) + "-" + std::to_string(seg.last);
        if (!IsStop(seg)) {
            // Travel may lend a stop one sample at either end; nothing else.
            for (const Period& p : hits) {
                EXPECT_EQ(seg.kind, SegmentKind::kTravel) << what;
                EXPECT_TRUE(p.first == static_cast<std::size_t>(seg.last) ||
                            p.last == static_cast<std::size_t>(seg.first))
                    << what << " holds " << p.first << "-" << p.last;
            }
            continue;
        }
        ++stops;
        ASSERT_EQ(hits.size(), 1u) << what;
        EXPECT_LE(std::abs(static_cast<long>(hits[0].first) - seg.first), 1) << what;
        EXPECT_LE(std::abs(static_cast<long>(hits[0].last) - seg.last), 1) << what;
        EXPECT_GE(hits[0].station, static_cast<std::size_t>(seg.first)) << what;
        EXPECT_LE(hits[0].station, static_cast<std::size_t>(seg.last)) << what;
    }
    EXPECT_EQ(periods.size(), stops);
    EXPECT_EQ(stops, 13u);  // twelve stops and the drifting one
}

TEST_F(StillStationsTest, ApplySelectsOneStationPerStopAndNothingElse) {
    std::vector<SurveyRecord> preselected = records;
    for (std::size_t i = 0; i < preselected.size(); i += 3) preselected[i].selected = 1;
    const std::string in = Write("pre.tlm", preselected);
    const std::string out = (dir / "out.tlm").string();
    const test::CommandRun r = test::OrbCli("stations " + in + " --still --apply -o " + out);
    ASSERT_EQ(r.status, 0);
    const std::vector<Period> periods = Parse(r.out);
    const TlmLoadResult loaded = LoadTlmFile(out);
    ASSERT_TRUE(loaded.loaded());
    const COrbDoc& doc = loaded.document;
    std::vector<std::size_t> selected;
    for (std::size_t i = 0; i < doc.records().size(); ++i)
        if (doc.Record(i).selected == 1) selected.push_back(i);
    ASSERT_EQ(selected.size(), periods.size());
    for (std::size_t k = 0; k < periods.size(); ++k) EXPECT_EQ(selected[k], periods[k].station);
}

TEST_F(StillStationsTest, RefusesBadLimitsAndOutputWithoutApply) {
    struct Case {
        std::string args;
        int status;
    };
    const Case cases[] = {
        {"--still --limits 2,100,0.2,1,5", 2},          // five values for six
        {"--still --limits -1,,,,,", 2},                // negative spread
        {"--still --limits ,,,,,1", 2},                 // one sample is no run
        {"--still --limits ,,,,,2.5", 2},               // not a whole number
        {"--still -o " + (dir / "x.tlm").string(), 2},  // nothing to write
        {"--still --limits 3,,,,,4", 0},
        {"", 106},  // CLI11: --still is required
    };
    for (const Case& c : cases) {
        const test::CommandRun r = test::OrbCli("stations " + path + " " + c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
    }
}

TEST_F(StillStationsTest, MatchedStationFlaggedOnlyWhenMoving) {
    int travel = -1, stop = -1;
    for (const SampleSegment& seg : scenario.segments) {
        if (seg.kind == SegmentKind::kTravel && travel < 0 && seg.first > 0) travel = seg.first + 1;
        if (seg.kind == SegmentKind::kStop && seg.last - seg.first >= 4 && stop < 0) stop = seg.first + 2;
    }
    ASSERT_GE(travel, 0);
    ASSERT_GE(stop, 0);
    std::vector<SurveyRecord> marked = records;
    for (int k : {travel, stop}) marked[static_cast<std::size_t>(k)].syncMatched = marked[k].selected = 1;
    const std::string file = Write("marked.tlm", marked);
    const test::CommandRun r = test::OrbCli("qc " + file);
    ASSERT_EQ(r.status, 0);
    std::istringstream in(r.out);
    std::size_t flagged = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.find("测量时探管未静止") == std::string::npos) continue;
        ++flagged;
        EXPECT_EQ(line.substr(0, line.find('\t')), std::to_string(travel)) << line;
    }
    EXPECT_EQ(flagged, 1u);
    // The proposal compares itself with the two matched stations.
    const test::CommandRun s = test::OrbCli("stations " + file + " --still", test::Stderr::kMerge);
    EXPECT_NE(s.out.find("同步器匹配测点 2 个：1 个在静止段内"), std::string::npos) << s.out;
    EXPECT_NE(s.out.find("1 个测量时探管未静止"), std::string::npos) << s.out;
}

// The default simulated well (60 stations of four resting samples after three
// of travel): every rest is one period, found within a sample of its ends.
TEST(StillStationsDefaultWell, EveryRestIsOnePeriod) {
    const devsim::Scenario s = devsim::DefaultScenario(kHostNow);
    const std::vector<SurveyRecord> records = Download(s);
    const std::vector<StillPeriod> periods = FindStillPeriods(records, StillLimits{});
    ASSERT_EQ(periods.size(), 60u);
    for (std::size_t i = 0; i < periods.size(); ++i) {
        const long first = static_cast<long>(i) * 7 + 3, last = first + 3;
        EXPECT_LE(std::abs(static_cast<long>(periods[i].first) - first), 1) << i;
        EXPECT_LE(std::abs(static_cast<long>(periods[i].last) - last), 1) << i;
    }
}

}  // namespace
}  // namespace orb
