// ComputeAttitude throughput on one thread: realistic samples of a generated
// probe calibration, varying temperature and attitude.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/calibration.h"
#include "core/synthetic.h"

namespace {

std::vector<orb::AttitudeSample> MakeSamples(const orb::ProbeCalibration& cal, std::size_t n) {
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<orb::AttitudeSample> samples;
    samples.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        orb::ToolAttitude a;
        a.inclination = 180 * u(rng);
        a.azimuth = 360 * u(rng);
        a.gravityToolFace = 360 * u(rng);
        a.dip = -80 + 160 * u(rng);
        const float t = static_cast<float>(-20 + 170 * u(rng));
        samples.push_back(orb::RawSample(cal, t, orb::IdealVectors(a)));
    }
    return samples;
}

void BM_ComputeAttitude(benchmark::State& state) {
    const orb::ProbeCalibration cal = orb::GenerateCalibration(7);
    std::vector<orb::AttitudeSample> samples = MakeSamples(cal, 4096);
    for (auto _ : state) {
        for (orb::AttitudeSample& s : samples) orb::ComputeAttitude(cal, s);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * samples.size()));
}
BENCHMARK(BM_ComputeAttitude);

}  // namespace

BENCHMARK_MAIN();
