// Trajectory and quality checks of a long survey: a week of samples at one
// per minute (10,081 records), every one a station, recomputed the way a view
// does on every selection change (output buffers reused).
#include <benchmark/benchmark.h>

#include <vector>

#include "core/station_qc.h"
#include "core/trajectory.h"

namespace {

constexpr std::size_t kStations = 10081;

std::vector<orb::SurveyRecord> MakeSurvey() {
    std::vector<orb::SurveyRecord> records(kStations);
    for (std::size_t i = 0; i < kStations; ++i) {
        orb::SurveyRecord& r = records[i];
        r.selected = 1;
        r.depth = static_cast<float>(i) * 0.5f;
        // A build to 90 degrees over the first half, then turning slowly.
        r.inclination = static_cast<float>(i < kStations / 2 ? 90.0 * i / (kStations / 2) : 90.0);
        r.azimuth = static_cast<float>((i * 7) % 3600) / 10.0f;
        r.totalGravity = 1.0f + static_cast<float>(i % 9) * 0.001f;
        r.totalMagnetic = 0.96f + static_cast<float>(i % 11) * 0.001f;
        r.dip = i % 2 ? 300.1f : 299.8f;
        r.temperature = 20.0f + static_cast<float>(i % 200);
    }
    return records;
}

orb::QcSettings Settings() {
    orb::QcSettings s;
    s.references.fieldStrength = 50500;
    s.references.dip = -60;
    return s;
}

void BM_Trajectory(benchmark::State& state) {
    const std::vector<orb::SurveyRecord> records = MakeSurvey();
    orb::TrajectorySettings settings;
    settings.declination = -3.5;
    orb::Trajectory t;
    for (auto _ : state) {
        orb::ComputeTrajectory(records, settings, t);
        benchmark::DoNotOptimize(t.closureDistance);
    }
    state.counters["stations"] = static_cast<double>(t.stations.size());
}
BENCHMARK(BM_Trajectory)->Unit(benchmark::kMillisecond);

void BM_Qc(benchmark::State& state) {
    const std::vector<orb::SurveyRecord> records = MakeSurvey();
    const orb::QcSettings settings = Settings();
    std::vector<orb::QcResult> results;
    for (auto _ : state) {
        orb::CheckStations(records, settings, results);
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["failed"] = static_cast<double>(orb::CountFailed(results));
}
BENCHMARK(BM_Qc)->Unit(benchmark::kMillisecond);

// What the target is about: both, as a window recomputes them together.
void BM_TrajectoryAndQc(benchmark::State& state) {
    const std::vector<orb::SurveyRecord> records = MakeSurvey();
    const orb::QcSettings qc = Settings();
    orb::TrajectorySettings settings;
    orb::Trajectory t;
    std::vector<orb::QcResult> results;
    for (auto _ : state) {
        orb::ComputeTrajectory(records, settings, t);
        orb::CheckStations(records, qc, results);
        benchmark::DoNotOptimize(t.closureDistance);
        benchmark::DoNotOptimize(results.data());
    }
}
BENCHMARK(BM_TrajectoryAndQc)->Unit(benchmark::kMillisecond);

// The same from scratch each time (new vectors), and with the saturation
// estimate through a calibration.
void BM_TrajectoryAndQcCold(benchmark::State& state) {
    const std::vector<orb::SurveyRecord> records = MakeSurvey();
    const orb::QcSettings qc = Settings();
    const orb::ProbeCalibration cal = orb::ProbeCalibration::Default();
    for (auto _ : state) {
        orb::Trajectory t = orb::ComputeTrajectory(records, orb::TrajectorySettings{});
        std::vector<orb::QcResult> results;
        orb::CheckStations(records, qc, results, &cal);
        benchmark::DoNotOptimize(t.closureDistance);
        benchmark::DoNotOptimize(results.data());
    }
}
BENCHMARK(BM_TrajectoryAndQcCold)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
