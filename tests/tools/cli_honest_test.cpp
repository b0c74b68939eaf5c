// orb-cli's results as they are: a download that lost samples, an empty or
// failed one that must not replace an existing survey, a negative count, a
// device that repeats a reply for ever (the deadline), the signals that end
// a download (what arrived is saved), a write past the file size limit, a
// command that runs out of memory, and the file's texts shown without their
// control characters.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>

#include "command_run.h"
#include "device/journal_folder.h"
#include "device/journal_replay.h"
#include "devsim_process.h"
#include "document/tlm_file.h"

namespace orb::test {
namespace {

using json = nlohmann::json;
namespace fs = std::filesystem;

// 280 samples of a synthetic well, a mark near each station.
json Scenario(const json& faults = json::object(), const json& probe = json::object()) {
    json well = {{"start", "2025-06-07 08:00:00"},
                 {"stations",
                  {{"count", 40},
                   {"kickoff", 5},
                   {"build", 3},
                   {"holdInclination", 35},
                   {"azimuth", 120},
                   {"seed", 4}}},
                 {"seed", 4}};
    json p = {{"samples", {{"synthetic", well}}}};
    if (probe.is_object()) p.update(probe);
    const json marks = p["samples"].is_object()
                           ? json("nearStations")
                           : json::array({{{"sequence", 0}, {"time", "2025-06-07 08:05:25"}}});
    return {{"probe", p},
            {"synchronizer", {{"marks", marks}}},
            {"faults", faults.is_object() ? faults : json::object()}};
}

constexpr std::size_t kSamples = 280;

// A survey of `n` records with depths, as an operator saved it.
void WriteSurvey(const std::string& path, std::size_t n, const std::u16string& well = u"井-1") {
    COrbDoc doc;
    for (std::size_t i = 0; i < n; ++i) {
        SurveyRecord r;
        r.depth = static_cast<float>(i);
        r.inclination = 1.5f;
        doc.AppendRecord(r);
    }
    doc.SetWellNumber(well);
    ASSERT_TRUE(SaveTlmFile(path, doc).ok());
}

std::size_t RecordsIn(const std::string& path) {
    const TlmLoadResult r = LoadTlmFile(path);
    return r.loaded() ? r.document.RecordCount() : 0;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// -o over an existing 420-record survey: replaced only by a download whose
// count reply announced samples.
TEST(CliHonest, FailedOrEmptyDownloadsNeverReplaceAnExistingSurvey) {
    struct Case {
        const char* name;
        json faults, probe;
        bool marks;
        int status;
        std::size_t records;  // in the file afterwards; 420: untouched
        const char* message;
    };
    const std::vector<Case> cases = {
        {"complete", {}, {}, true, 0, kSamples, "280条探管数据"},
        {"calibration timed out, marks arrived",
         {{"dropReply", {{{"reply", "calibration"}, {"number", 0}}}}},
         {},
         true,
         4,
         420,
         "没有写入：没有读取到新数据，原文件保持不变"},
        {"empty probe", {}, {{"samples", json::array()}}, true, 10, 420, "探管中没有存储数据"},
        {"negative count",
         {},
         {{"announced", -1}},
         false,
         8,
         420,
         "探管回复的数据数量无效（-1），没有读取任何数据，原有数据保持不变。"},
        {"samples lost on the line",
         {{"dropReply", {{{"reply", "sample"}, {"numbers", {10, 11, 200}}}}}},
         {},
         false,
         7,
         kSamples - 3,
         "数据读取不完整：已收到277条探管数据，共280条，缺少3条（序号10-11, 200）。"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        const std::string file = dir.File("survey.tlm");
        WriteSurvey(file, 420);
        const std::string before = ReadAll(file);
        SimProcess sim(dir, Scenario(c.faults, c.probe));
        std::vector<std::string> args = {"--journal", dir.File("j"), "--port", sim.path,
                                         "download",  "-o",          file};
        if (c.marks) args.push_back("--marks");
        const ProgramRun run = RunOrbCli(dir, args);
        std::printf("[fault] download -o over a 420-record survey, %s: exit %d, %zu records in the file\n",
                    c.name, run.status, RecordsIn(file));
        EXPECT_EQ(run.status, c.status) << c.name << "\n" << run.err;
        EXPECT_EQ(RecordsIn(file), c.records) << c.name;
        if (c.records == 420) {
            EXPECT_EQ(ReadAll(file), before) << c.name;
        }
        EXPECT_TRUE(Contains(run.err, c.message)) << c.name << "\n" << run.err;
    }
}

// A new file still gets what arrived, as before (here: the marks only).
TEST(CliHonest, NewFileStillGetsWhatArrived) {
    ScratchDir dir;
    SimProcess sim(dir, Scenario({}, {{"samples", json::array()}}));
    const std::string file = dir.File("new.tlm");
    const ProgramRun run =
        RunOrbCli(dir, {"--journal", dir.File("j"), "--port", sim.path, "download", "--marks", "-o", file});
    EXPECT_EQ(run.status, 0) << run.err;
    const TlmLoadResult r = LoadTlmFile(file);
    ASSERT_TRUE(r.loaded());
    EXPECT_EQ(r.document.RecordCount(), 0u);
}

// A device that repeats a reply for ever and never answers the request that
// would go on (its information reply, no calibration; a calibration packet,
// never the last one): every copy stops the reply timer, so only the
// deadline ends the command.
TEST(CliHonest, DeadlineEndsADeviceThatRepeatsAReply) {
    struct Case {
        const char* name;
        json faults;
        std::vector<std::string> extra;
        std::vector<std::string> command;
        int status;
        const char* message;
    };
    const json repeatInfo = {{"repeatReply", {{{"reply", "information"}, {"number", 0}}}},
                             {"dropReply", {{{"reply", "calibration"}}}},
                             {"repeatEveryMs", 50}};
    const json repeatPacket = {{"repeatReply", {{{"reply", "calibration"}, {"number", 5}}}},
                               {"dropReply", {{{"reply", "calibration"}, {"number", 31}}}},
                               {"repeatEveryMs", 50}};
    const std::vector<Case> cases = {
        {"information, download", repeatInfo, {}, {"download"}, 9, "超过命令时限（2秒），已停止"},
        {"information, info answered", repeatInfo, {}, {"info"}, 0, "探管编号"},
        {"calibration packet, download", repeatPacket, {}, {"download"}, 9, "超过命令时限（2秒），已停止"},
        {"calibration packet, realtime",
         repeatPacket,
         {},
         {"realtime", "--count", "3"},
         9,
         "超过命令时限（2秒），已停止"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        SimProcess sim(dir, Scenario(c.faults), c.extra);
        std::vector<std::string> args = {"--journal", dir.File("j"), "--port", sim.path, "--deadline", "2"};
        args.insert(args.end(), c.command.begin(), c.command.end());
        const auto start = SteadyClock::now();
        const ProgramRun run = RunOrbCli(dir, args, 20000ms);
        const double seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
        std::printf("[fault] reply repeated for ever (%s) with --deadline 2: exit %d after %.1f s\n", c.name,
                    run.status, seconds);
        EXPECT_EQ(run.status, c.status) << c.name << "\n" << run.err;
        EXPECT_TRUE(Contains(run.err + run.out, c.message)) << c.name << "\n" << run.err;
        EXPECT_LT(seconds, 6.0) << c.name;
    }
}

// A deadline in the middle of a transfer keeps what arrived, as an interruption does.
TEST(CliHonest, DeadlineInTheMiddleOfATransferSavesWhatArrived) {
    ScratchDir dir;
    SimProcess sim(dir, Scenario(), {"--baud", "9600"});
    const std::string file = dir.File("part.tlm");
    const ProgramRun run = RunOrbCli(
        dir, {"--journal", dir.File("j"), "--port", sim.path, "--deadline", "3", "download", "-o", file},
        20000ms);
    EXPECT_EQ(run.status, 9) << run.err;
    const std::size_t n = RecordsIn(file);
    std::printf("[fault] download at 9600 baud with --deadline 3: exit %d, %zu/%zu records saved\n",
                run.status, n, kSamples);
    EXPECT_GT(n, 10u);
    EXPECT_LT(n, kSamples);
    EXPECT_TRUE(
        Contains(run.err, "超过命令时限（3秒），已停止：已收到" + std::to_string(n) + "条探管数据，共280条"))
        << run.err;
}

int64_t SamplesInJournal(const std::string& folder) {
    int64_t n = 0;
    for (const auto& p : JournalFolder(folder).Journals()) n = SummarizeJournal(ReadJournalFile(p)).items;
    return n;
}

// A closed terminal (SIGHUP) ends a download like Ctrl-C and SIGTERM: what
// arrived is saved.
TEST(CliHonest, SignalsDuringADownloadSaveWhatArrived) {
    for (const int sig : {SIGINT, SIGTERM, SIGHUP}) {
        ScratchDir dir;
        SimProcess sim(dir, Scenario(), {"--baud", "19200"});
        const std::string jdir = dir.File("journal"), file = dir.File("cut.tlm");
        const pid_t cli = SpawnProgram(
            {ORB_BINARY_DIR "/tools/orb-cli", "--journal", jdir, "--port", sim.path, "download", "-o", file},
            dir.File("cli.out"), dir.File("cli.err"));
        const auto limit = SteadyClock::now() + 30s;
        while (SteadyClock::now() < limit && SamplesInJournal(jdir) < 40) std::this_thread::sleep_for(10ms);
        ::kill(cli, sig);
        const int status = WaitExit(cli, 10000ms);
        const std::string err = ReadAll(dir.File("cli.err"));
        const std::size_t n = RecordsIn(file);
        std::printf("[fault] signal %d during a download: exit %d, %zu records saved\n", sig, status, n);
        EXPECT_EQ(status, 130) << sig << "\n" << err;
        EXPECT_GE(n, 40u) << sig;
        EXPECT_TRUE(Contains(err, "已中断：已收到" + std::to_string(n) + "条探管数据")) << err;
    }
}

// Everything in `dir` but `keep`.
std::vector<std::string> OtherFiles(const std::string& dir, const std::string& keep) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) {
        if (e.path().filename() != keep) out.push_back(e.path().filename().string());
    }
    return out;
}

// Past the file size limit the write fails and is reported; nothing is left.
TEST(CliHonest, WritePastTheFileSizeLimitFailsCleanly) {
    ScratchDir dir;
    fs::create_directory(dir.File("w"));
    const std::string in = dir.File("w/big.tlm");
    WriteSurvey(in, 3000);  // 324 KB
    const CommandRun run = RunShell("ulimit -f 64; exec " ORB_BINARY_DIR "/tools/orb-cli select " + in +
                                        " --all -o " + dir.File("w/out.tlm"),
                                    Stderr::kMerge);
    std::printf("[fault] select -o past a 32-64 KB file size limit: exit %d\n", run.status);
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_FALSE(run.out.empty());
    EXPECT_TRUE(OtherFiles(dir.File("w"), "big.tlm").empty());
}

// A command that runs out of memory fails with a message and status 1
// instead of aborting. The address-space limit is found by trying: the
// smallest one under which a small file shows, then a file that needs more.
TEST(CliHonest, OutOfMemoryIsAFailedCommand) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory needs an unlimited address space";
#else
    ScratchDir dir;
    WriteSurvey(dir.File("small.tlm"), 10);
    WriteSurvey(dir.File("big.tlm"), 1000000);  // 108 MB
    const auto show = [&](int limitMb, const char* file) {
        return RunShell("ulimit -v " + std::to_string(limitMb * 1024) +
                            "; exec " ORB_BINARY_DIR "/tools/orb-cli show --no-records " + dir.File(file),
                        Stderr::kMerge);
    };
    int limit = 0;
    for (int mb = 64; mb <= 4096 && limit == 0; mb += mb / 8) {
        if (show(mb, "small.tlm").status == 0) limit = mb;
    }
    ASSERT_GT(limit, 0);
    const CommandRun run = show(limit, "big.tlm");
    std::printf("[fault] show of a 108 MB survey under a %d MB address space: exit %d, %s\n", limit,
                run.status, run.out.c_str());
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_TRUE(Contains(run.out, "内存不足")) << run.out;
#endif
}

// The file's texts reach the terminal without their control characters;
// printable text stays as it is.
TEST(CliHonest, ShowEscapesControlCharactersInTheTexts) {
    struct Case {
        std::u16string well;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {u"井-1", "井-1"},
        {u"A\x1b[2J\x1b]0;x\x07"
         u"B",
         "A\\x1b[2J\\x1b]0;x\\x07B"},
        {u"a\tb\r\nc", "a\\x09b\\x0d\\x0ac"},
        {u"x\x7f\x85y", "x\\x7f\\u0085y"},
        {u"\x202e"
         u"cba",
         "\\u202ecba"},
        {u"钻\xD83D\xDE00井 \\ é", "钻😀井 \\ é"},
        {std::u16string(u"a\0b", 3), "a\\x00b"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        const std::string file = dir.File("w.tlm");
        WriteSurvey(file, 1, c.well);
        const CommandRun run = OrbCli("show --no-records " + file);
        EXPECT_EQ(run.status, 0);
        EXPECT_TRUE(Contains(run.out, std::string("井号:      ") + c.shown + "\n")) << c.shown << "\n"
                                                                                    << run.out;
    }
}

TEST(CliHonest, HelpDocumentsTheExitStatusesAndTheDeadline) {
    const CommandRun help = OrbCli("--help");
    for (const char* part :
         {"--deadline", "7 the transfer reached its last item", "8 the device announced a negative",
          "9 the --deadline passed", "10 -o FILE exists", "SIGHUP"}) {
        EXPECT_TRUE(Contains(help.out, part)) << part << "\n" << help.out;
    }
}

}  // namespace
}  // namespace orb::test
