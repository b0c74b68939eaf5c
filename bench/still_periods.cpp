// Still periods of a long multishot run: a week of samples at one per
// minute (10,081 records), stops of 2 to 10 samples with travel between
// them, found the way the moving-at-mark flag and the proposal do.
#include "core/still_periods.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr std::size_t kRecords = 10081;

std::vector<orb::SurveyRecord> MakeRun() {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> small(-0.0003f, 0.0003f), large(-0.05f, 0.05f);
    std::vector<orb::SurveyRecord> records(kRecords);
    std::size_t k = 0;
    for (int stop = 0; k < kRecords; ++stop) {
        const int still = 2 + stop % 9, travel = 3;
        const float inc = 10.0f + static_cast<float>(stop % 70), azi = static_cast<float>(stop * 7 % 360);
        for (int s = 0; s < still + travel && k < kRecords; ++s, ++k) {
            orb::SurveyRecord& r = records[k];
            const bool moving = s >= still;
            const auto noise = [&] { return moving ? large(rng) : small(rng); };
            r.inclination = inc + noise() * 10;
            r.azimuth = std::fmod(azi + noise() * 10 + 360.0f, 360.0f);
            r.gx = 0.3f + noise(), r.gy = -0.2f + noise(), r.gz = 0.93f + noise();
            r.mx = 0.1f + noise(), r.my = 0.2f + noise(), r.mz = 0.45f + noise();
        }
    }
    return records;
}

void BM_StillPeriods(benchmark::State& state) {
    const std::vector<orb::SurveyRecord> records = MakeRun();
    std::vector<orb::StillPeriod> periods;
    for (auto _ : state) {
        orb::FindStillPeriods(records, orb::StillLimits{}, periods);
        benchmark::DoNotOptimize(periods.data());
    }
    state.counters["periods"] = static_cast<double>(periods.size());
}
BENCHMARK(BM_StillPeriods)->Unit(benchmark::kMillisecond);

void BM_StillProposal(benchmark::State& state) {
    std::vector<orb::SurveyRecord> records = MakeRun();
    for (std::size_t k = 0; k < records.size(); k += 13) records[k].syncMatched = 1;
    for (auto _ : state) {
        const orb::StillProposal p = orb::ProposeStillStations(records, orb::StillLimits{});
        benchmark::DoNotOptimize(p.records.data());
    }
}
BENCHMARK(BM_StillProposal)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
