// Survey files at scale: saving (temporary file, fsync, rename) and loading
// 1,000,000 records (108 MB), and the memory a load takes beyond the file.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "document/tlm_file.h"

// Heap accounting: the live bytes and their peak, so a load's own
// allocations can be told apart from everything else in the process.
namespace {
std::atomic<std::size_t> gLive{0};
std::atomic<std::size_t> gPeak{0};

void* Allocate(std::size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    const std::size_t live = gLive += malloc_usable_size(p);
    std::size_t peak = gPeak.load();
    while (live > peak && !gPeak.compare_exchange_weak(peak, live)) {
    }
    return p;
}

void Release(void* p) {
    if (!p) return;
    gLive -= malloc_usable_size(p);
    std::free(p);
}
}  // namespace

void* operator new(std::size_t n) {
    return Allocate(n);
}
void* operator new[](std::size_t n) {
    return Allocate(n);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}

namespace {

constexpr std::size_t kRecords = 1'000'000;

orb::COrbDoc MakeSurvey(std::size_t n) {
    orb::COrbDoc doc;
    doc.SetTeamNumber(u"井队编号");
    doc.SetWellNumber(u"W-7");
    doc.SetProbeNumber(u"P0042");
    doc.ReserveRecords(n);
    for (std::size_t i = 0; i < n; ++i) {
        orb::SurveyRecord r;
        r.selected = static_cast<int32_t>(i % 2);
        r.inclination = static_cast<float>(i % 180);
        r.azimuth = static_cast<float>(i % 360) + 0.5f;
        r.sampleTime = 41401.5 + static_cast<double>(i) / 1440.0;
        r.reserved[0] = static_cast<int32_t>(i);
        doc.AppendRecord(r);
    }
    for (int i = 0; i < 100; ++i) doc.AppendMark({i, 1, 41401.5 + i / 1440.0, 0});
    return doc;
}

// Files go to the current folder (a real disk, so fsync costs what it costs
// for the operator), or to $ORB_BENCH_DIR.
std::filesystem::path BenchFile(const char* name) {
    const char* dir = std::getenv("ORB_BENCH_DIR");
    return std::filesystem::path(dir ? dir : ".") / name;
}

long StatusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::string(key).size()));
    }
    return -1;
}

void BM_SaveTlm(benchmark::State& state) {
    const orb::COrbDoc doc = MakeSurvey(kRecords);
    const auto path = BenchFile("bench_save.tlm");
    for (auto _ : state) {
        const orb::FileResult r = orb::SaveTlmFile(path, doc, {2, 30});
        if (!r.ok()) state.SkipWithError(r.message.c_str());
    }
    const double bytes = static_cast<double>(std::filesystem::file_size(path));
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveTlm)->Unit(benchmark::kMillisecond)->UseRealTime();

// Peak resident and heap memory of one load beyond what the process held
// before it, as a multiple of the file size.
void MeasureLoadMemory(benchmark::State& state, const std::filesystem::path& path, double fileBytes) {
    std::ofstream("/proc/self/clear_refs") << "5";  // resets VmHWM to the current RSS
    const long rssBefore = StatusKb("VmRSS:");
    const std::size_t heapBefore = gLive.load();
    gPeak = heapBefore;
    {
        orb::TlmLoadResult r = orb::LoadTlmFile(path);
        benchmark::DoNotOptimize(r.document.RecordCount());
    }
    const long hwm = StatusKb("VmHWM:");
    state.counters["peak_rss_per_file"] = static_cast<double>(hwm - rssBefore) * 1024.0 / fileBytes;
    state.counters["peak_heap_per_file"] = static_cast<double>(gPeak.load() - heapBefore) / fileBytes;
}

void BM_LoadTlm(benchmark::State& state) {
    const auto path = BenchFile("bench_load.tlm");
    {
        const orb::COrbDoc doc = MakeSurvey(kRecords);
        if (!orb::SaveTlmFile(path, doc, {2, 30}).ok()) state.SkipWithError("cannot write the test file");
    }
    const double bytes = static_cast<double>(std::filesystem::file_size(path));
    for (auto _ : state) {
        orb::TlmLoadResult r = orb::LoadTlmFile(path);
        if (!r.loaded()) state.SkipWithError(r.message.c_str());
        benchmark::DoNotOptimize(r.document.RecordCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
    MeasureLoadMemory(state, path, bytes);
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadTlm)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
