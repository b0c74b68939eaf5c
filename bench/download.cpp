// Probe downloads through the whole stack against orb-devsim on a
// pseudo-terminal: serial port and its event thread, poll loop, receive
// buffer and scanner, reply dispatch, attitude computation, document and
// survey table model.
//
//   BM_DownloadUnpaced  100,000 samples, the simulator writing as fast as it
//                       can; the rate is the `samples/s` counter.
//   BM_Download9600     10,081 samples paced at 9600 baud; `line_ratio` is
//                       the elapsed time over the line time of the received
//                       bytes (bytes x 10 / 9600 s).
//   ...Journal          the same with the receive journal written (a
//                       scratch folder under /tmp, removed afterwards).
//
// orb-devsim is looked for next to this program's build folder
// (../tools/orb-devsim) unless ORB_DEVSIM names it.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "device/device_controller.h"
#include "device/poll_loop.h"
#include "device/transfer_journal.h"
#include "document/orb_doc.h"
#include "view/survey_table_model.h"
#include "view/sync_matcher.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::string DevsimPath() {
    if (const char* p = std::getenv("ORB_DEVSIM")) return p;
    const auto self = std::filesystem::read_symlink("/proc/self/exe");
    return (self.parent_path().parent_path() / "tools" / "orb-devsim").string();
}

// orb-devsim with a synthetic survey of stations x (travel + dwell) samples.
class Simulator {
public:
    Simulator(int stations, int travel, int dwell, int baud) {
        char tmpl[] = "/tmp/orb-bench-XXXXXX";
        dir_ = ::mkdtemp(tmpl);
        const std::string scen = dir_ + "/scenario.json", out = dir_ + "/out";
        std::ofstream(scen) << R"({"probe": {"samples": {"synthetic": {"stations": {"count": )" << stations
                            << R"(}, "travelSamples": )" << travel << R"(, "dwellSamples": )" << dwell
                            << "}}}}";
        std::vector<std::string> args = {DevsimPath(), "--scenario", scen, "--baud", std::to_string(baud)};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&pid_, argv[0], &fa, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&fa);
        for (int i = 0; i < 2000 && path.empty() && pid_ > 0; ++i) {
            std::ifstream in(out);
            std::getline(in, path);
            if (path.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    ~Simulator() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        std::filesystem::remove_all(dir_);
    }
    std::string path;

private:
    std::string dir_;
    pid_t pid_ = -1;
};

class QuietOperator final : public orb::DeviceOperator {
public:
    bool timedOut = false;
    orb::MessageAnswer MessageBox(std::string_view text, std::string_view, orb::MessageIcon,
                                  orb::MessageButtons) override {
        if (text == "通信超时！") timedOut = true;
        return orb::MessageAnswer::kOk;
    }
    bool ShowPortDialog(int&) override { return false; }
    void ShowInfoDialog(const orb::ProbeInfoView&) override {}
    bool ShowWorkModeDialog(int32_t&, int32_t&) override { return false; }
    void ShowRealTimeDialog() override {}
    void UpdateRealTime(const orb::RealTimeTexts&) override {}
    void ShowClockDialog() override {}
    void SetClockField(int, std::string_view) override {}
    void SetStatusText(std::string_view) override {}
    void SetProgress(int) override {}
    bool AskSaveChanges() override { return true; }
};

class ModelTable final : public orb::DeviceTable {
public:
    explicit ModelTable(orb::SurveyTableModel& model) : model_(model) {}
    void SetShowAll(bool on) override {
        if (on && !model_.showAll()) model_.ShowAll();
    }
    void SetReverseOrder(bool on) override {
        if (on != model_.reverseOrder()) model_.ReverseDisplay();
    }
    std::size_t MatchStations(int32_t interval) override {
        return orb::MatchSyncMarks(model_.edits(), interval);
    }
    void RefreshTable() override { model_.RefreshTable(); }

private:
    orb::SurveyTableModel& model_;
};

// Everything the window would own, on the simulator's line.
struct Stack {
    explicit Stack(const std::string& path) : port(orb::PortListOptions{path}), loop(port, timers) {
        loop.SetController(&dc);
        port.Open(1);
    }
    orb::COrbDoc doc;
    orb::SurveyEdits edits{doc};
    orb::SurveyTableModel model{edits};
    ModelTable table{model};
    QuietOperator op;
    orb::SerialLinkPort port;
    orb::PollTimers timers;
    orb::PollLoop loop;
    orb::DeviceController dc{port, timers, op, table, edits};
    std::unique_ptr<orb::TransferJournal> journal;

    // One download; false when it did not complete.
    bool Download() {
        op.timedOut = false;
        dc.sampleTransfer = {};
        dc.OnProbeDownload();
        loop.RunUntil([&] { return dc.sampleTransfer.complete || op.timedOut; });
        return dc.sampleTransfer.complete &&
               doc.RecordCount() == static_cast<std::size_t>(dc.expectedSamples);
    }
};

// A scratch journal folder for one benchmark.
struct JournalDir {
    JournalDir() {
        char tmpl[] = "/tmp/orb-bench-journal-XXXXXX";
        path = ::mkdtemp(tmpl);
    }
    ~JournalDir() { std::filesystem::remove_all(path); }
    std::string path;
};

void RunDownloads(benchmark::State& state, int stations, int travel, int dwell, int baud,
                  bool journal = false) {
    Simulator sim(stations, travel, dwell, baud);
    JournalDir journalDir;
    if (sim.path.empty()) {
        state.SkipWithError("orb-devsim did not start");
        return;
    }
    Stack stack(sim.path);
    if (!stack.port.IsOpen()) {
        state.SkipWithError("cannot open the simulator's line");
        return;
    }
    if (journal) stack.journal = std::make_unique<orb::TransferJournal>(stack.dc, journalDir.path);
    int64_t samples = 0;
    double lineSeconds = 0, elapsed = 0;
    for (auto _ : state) {
        const uint64_t bytesBefore = stack.port.bytesRead();
        const auto start = Clock::now();
        if (!stack.Download()) {
            state.SkipWithError("the download did not complete");
            return;
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        elapsed += seconds;
        samples += static_cast<int64_t>(stack.doc.RecordCount());
        lineSeconds += static_cast<double>(stack.port.bytesRead() - bytesBefore) * 10.0 / 9600.0;
    }
    state.counters["samples"] = static_cast<double>(samples) / static_cast<double>(state.iterations());
    state.counters["samples/s"] = static_cast<double>(samples) / elapsed;
    if (baud > 0) state.counters["line_ratio"] = elapsed / lineSeconds;
}

void BM_DownloadUnpaced(benchmark::State& state) {
    RunDownloads(state, 5000, 10, 10, 0);
}
BENCHMARK(BM_DownloadUnpaced)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

void BM_Download9600(benchmark::State& state) {
    RunDownloads(state, 593, 7, 10, 9600);
}
BENCHMARK(BM_Download9600)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

void BM_DownloadUnpacedJournal(benchmark::State& state) {
    RunDownloads(state, 5000, 10, 10, 0, true);
}
BENCHMARK(BM_DownloadUnpacedJournal)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

void BM_Download9600Journal(benchmark::State& state) {
    RunDownloads(state, 593, 7, 10, 9600, true);
}
BENCHMARK(BM_Download9600Journal)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
