// The receive journal through orb-cli and orb-devsim on a pseudo-terminal:
// a download killed after N samples is recovered bit for bit as the first N
// records of a complete download, a journal in use is neither listed as
// pending nor taken over, saving retires, and a recorded download (journal
// or line log) played back by orb-devsim --replay gives the same survey.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstring>
#include <filesystem>

#include "device/journal_folder.h"
#include "device/journal_replay.h"
#include "devsim_process.h"
#include "document/tlm_file.h"

namespace orb::test {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

json Scenario() {
    json well = {{"start", "2025-06-07 08:00:00"},
                 {"stations",
                  {{"count", 30},
                   {"kickoff", 5},
                   {"build", 3},
                   {"holdInclination", 35},
                   {"azimuth", 120},
                   {"seed", 9}}},
                 {"seed", 9}};
    return {{"probe",
             {{"number", "TALOE31"},
              {"delayMinutes", 7},
              {"intervalSeconds", 12},
              {"samples", {{"synthetic", well}}}}},
            {"synchronizer", {{"marks", {{"nearStations", {{"jitterSeconds", 2}}}}}}}};
}

TlmLoadResult Load(const std::string& path) {
    return LoadTlmFile(path);
}

bool SameRecords(const COrbDoc& a, const COrbDoc& b, std::size_t n) {
    if (a.RecordCount() < n || b.RecordCount() < n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        const SurveyRecord ra = a.Record(i), rb = b.Record(i);
        if (std::memcmp(&ra, &rb, sizeof ra) != 0) return false;
    }
    return true;
}

// The complete download of the scenario (with the marks: matched), saved
// as full.tlm.
TlmLoadResult FullDownload(const ScratchDir& dir, bool marks) {
    SimProcess sim(dir, Scenario());
    std::vector<std::string> args = {"--journal", dir.File("jfull"),   "--port", sim.path, "download",
                                     "-o",        dir.File("full.tlm")};
    if (marks) args.push_back("--marks");
    const ProgramRun run = RunOrbCli(dir, args);
    EXPECT_EQ(run.status, 0) << run.err;
    return Load(dir.File("full.tlm"));
}

int64_t SamplesIn(const std::string& journal) {
    return SummarizeJournal(ReadJournalFile(journal)).items;
}

TEST(JournalCli, KilledDownloadIsRecoveredBitForBit) {
    ScratchDir dir;
    // Unmatched: the killed download never got to its marks.
    const TlmLoadResult full = FullDownload(dir, false);
    ASSERT_TRUE(full.loaded());
    ASSERT_GT(full.document.RecordCount(), 100u);
    // Saving retired the complete download's journal.
    EXPECT_TRUE(JournalFolder(dir.File("jfull")).Journals().empty());
    EXPECT_EQ(JournalFolder(dir.File("jfull")).Retired().size(), 1u);

    const std::string jdir = dir.File("journal");
    SimProcess sim(dir, Scenario(), {"--baud", "19200"});
    const pid_t cli = SpawnProgram({ORB_BINARY_DIR "/tools/orb-cli", "--journal", jdir, "--port", sim.path,
                                    "download", "--marks", "-o", dir.File("never.tlm")},
                                   dir.File("kill.out"), dir.File("kill.err"));
    const JournalFolder folder(jdir);
    std::string journal;
    const auto deadline = SteadyClock::now() + 30s;
    while (SteadyClock::now() < deadline) {
        for (const auto& p : folder.Journals()) journal = p;
        if (!journal.empty() && SamplesIn(journal) >= 40) break;
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_FALSE(journal.empty());
    // In use: not pending, and a second process does not take it over.
    EXPECT_TRUE(folder.Pending().empty());
    const ProgramRun busy =
        RunOrbCli(dir, {"--journal", jdir, "recover", journal, "-o", dir.File("busy.tlm")});
    EXPECT_EQ(busy.status, 1);
    EXPECT_NE(busy.err.find("接收日志正在使用中"), std::string::npos) << busy.err;
    EXPECT_NE(RunOrbCli(dir, {"--journal", jdir, "recover", "--list"}).out.find("使用中"), std::string::npos);

    ::kill(cli, SIGKILL);
    EXPECT_EQ(WaitExit(cli, 5000ms), 128 + SIGKILL);
    const int64_t n = SamplesIn(journal);
    EXPECT_GE(n, 40);
    EXPECT_LT(n, static_cast<int64_t>(full.document.RecordCount()));

    const ProgramRun listed = RunOrbCli(dir, {"--journal", jdir, "recover", "--list"});
    EXPECT_NE(listed.out.find("待恢复\t" + journal + "\t探管 TALOE31"), std::string::npos) << listed.out;
    const ProgramRun rec = RunOrbCli(dir, {"--journal", jdir, "recover", "-o", dir.File("rec.tlm")});
    ASSERT_EQ(rec.status, 0) << rec.err;
    EXPECT_NE(rec.err.find("已恢复" + std::to_string(n) + "条探管数据"), std::string::npos) << rec.err;
    const TlmLoadResult got = Load(dir.File("rec.tlm"));
    ASSERT_TRUE(got.loaded());
    EXPECT_EQ(got.document.RecordCount(), static_cast<std::size_t>(n));
    EXPECT_TRUE(SameRecords(got.document, full.document, static_cast<std::size_t>(n)));
    EXPECT_EQ(got.timing.sampleDelayMinutes, 7);
    EXPECT_EQ(got.timing.sampleIntervalSeconds, 12);
    // Recovered and saved: retired.
    EXPECT_TRUE(folder.Journals().empty());
    EXPECT_EQ(folder.Retired().size(), 1u);
}

TEST(JournalCli, DamagedJournalRecoversWhatPrecedesTheDamage) {
    ScratchDir dir;
    FullDownload(dir, true);
    const auto retired = JournalFolder(dir.File("jfull")).Retired();
    ASSERT_EQ(retired.size(), 2u);
    const std::string probe = retired[0].find("-probe-") != std::string::npos ? retired[0] : retired[1];
    const JournalContents whole = ReadJournalFile(probe);
    const std::string cut = dir.File("cut.orbj");
    fs::copy_file(probe, cut);
    fs::resize_file(cut, fs::file_size(cut) - 30);  // inside the last entry
    const ProgramRun rec = RunOrbCli(dir, {"recover", cut, "-o", dir.File("cut.tlm")});
    EXPECT_EQ(rec.status, 3) << rec.err;
    EXPECT_NE(rec.err.find("接收日志在第" + std::to_string(whole.frames.size()) + "帧处损坏"),
              std::string::npos)
        << rec.err;
    const TlmLoadResult got = Load(dir.File("cut.tlm"));
    ASSERT_TRUE(got.loaded());
    EXPECT_EQ(got.document.RecordCount() + 1, SummarizeJournal(whole).items);
    EXPECT_TRUE(fs::exists(cut));  // outside the journal folder: left where it is
}

TEST(JournalCli, ReplayedRecordingGivesTheSameSurvey) {
    ScratchDir dir;
    std::string trace = dir.File("trace.log");
    {
        SimProcess sim(dir, Scenario());
        const ProgramRun run = RunOrbCli(dir, {"--journal", dir.File("j1"), "--trace", trace, "--port",
                                               sim.path, "download", "--marks", "-o", dir.File("a.tlm")});
        ASSERT_EQ(run.status, 0) << run.err;
    }
    const auto journals = JournalFolder(dir.File("j1")).Retired();
    ASSERT_EQ(journals.size(), 2u);
    const TlmLoadResult a = Load(dir.File("a.tlm"));
    ASSERT_TRUE(a.loaded());
    const std::vector<std::vector<std::string>> replays = {{"--replay", journals[0], "--replay", journals[1]},
                                                           {"--replay", trace}};
    for (const auto& replay : replays) {
        SCOPED_TRACE(replay[1]);
        SimProcess sim(dir, json::object(), replay);
        const ProgramRun run = RunOrbCli(dir, {"--journal", dir.File("j2"), "--port", sim.path, "download",
                                               "--marks", "-o", dir.File("b.tlm")});
        ASSERT_EQ(run.status, 0) << run.err << sim.Stderr();
        const TlmLoadResult b = Load(dir.File("b.tlm"));
        ASSERT_TRUE(b.loaded());
        EXPECT_EQ(ReadAll(dir.File("a.tlm")), ReadAll(dir.File("b.tlm")));
        EXPECT_EQ(b.document.MarkCount(), a.document.MarkCount());
    }
}

}  // namespace
}  // namespace orb::test
