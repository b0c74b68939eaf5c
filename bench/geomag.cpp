// One evaluation of the built-in geomagnetic model (target: at most 50 µs),
// and the grid convergence and normal gravity beside it.
#include <benchmark/benchmark.h>

#include "geo/grid_projection.h"
#include "geo/magnetic_reference.h"
#include "geo/normal_gravity.h"

namespace {

void BM_Wmm2025Evaluation(benchmark::State& state) {
    const orb::MagneticReference& ref = orb::BuiltInMagneticReference();
    double lat = 30.0;
    for (auto _ : state) {
        const orb::MagneticResult r = ref.Evaluate({lat, 110.0, 500.0}, 2026.3);
        benchmark::DoNotOptimize(r.field->declination);
        lat = lat < 60 ? lat + 0.001 : 30.0;
    }
}
BENCHMARK(BM_Wmm2025Evaluation);

void BM_Igrf14Evaluation(benchmark::State& state) {
    const orb::MagneticReference& ref = orb::BuiltInMagneticReference();
    for (auto _ : state) {
        const orb::MagneticResult r = ref.Evaluate({30.0, 110.0, 500.0}, 1987.5);
        benchmark::DoNotOptimize(r.field->declination);
    }
}
BENCHMARK(BM_Igrf14Evaluation);

void BM_GridAndGravity(benchmark::State& state) {
    const orb::ProjectionSpec proj{orb::ProjectionKind::kTransverseMercator, 117.0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(orb::ProjectGrid(proj, 40.0, 118.5).point->convergence);
        benchmark::DoNotOptimize(orb::NormalGravity(40.0, 500.0));
    }
}
BENCHMARK(BM_GridAndGravity);

}  // namespace

BENCHMARK_MAIN();
