// The exchange exports of a large survey: 10,081 selected stations with a
// full context, from the document to the file (model, formatting and the
// safe write), for CSV, LAS 3.0 and WITSML.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "core/atomic_file.h"
#include "document/orb_doc.h"
#include "report/exchange_csv.h"
#include "report/exchange_las.h"
#include "report/exchange_witsml.h"

namespace {

constexpr std::size_t kStations = 10081;

orb::COrbDoc MakeSurvey() {
    orb::COrbDoc doc;
    doc.SetWellNumber(u"西页1-2H");
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<float> u(0.0f, 1.0f);
    for (std::size_t i = 0; i < kStations; ++i) {
        orb::SurveyRecord r;
        r.selected = 1;
        r.depth = 10.0f * static_cast<float>(i);
        r.inclination = 90 * u(rng);
        r.azimuth = 360 * u(rng);
        r.gravityToolFace = 360 * u(rng);
        r.magneticToolFace = 360 * u(rng);
        r.dip = 40 + 10 * u(rng);
        r.totalGravity = 0.99f + 0.02f * u(rng);
        r.totalMagnetic = 0.98f + 0.04f * u(rng);
        r.gx = u(rng), r.gy = u(rng), r.gz = u(rng), r.mx = u(rng), r.my = u(rng), r.mz = u(rng);
        r.sampleTime = 41401.5 + static_cast<double>(i) / 1440.0;
        doc.AppendRecord(r);
    }
    orb::SurveyContext c;
    c.declination = orb::SourcedValue{-5.5, {orb::ValueSource::Kind::kModel, "WMM2025", "2025.0-2030.0"}};
    c.convergence = orb::SourcedValue{1.25, {}};
    c.northReference = orb::NorthReference::kGrid;
    c.fieldStrength = orb::SourcedValue{52000, {}};
    c.dip = orb::SourcedValue{47.5, {}};
    doc.SetContext(c);
    return doc;
}

template <std::string (*Write)(const orb::ExchangeSurvey&)>
void BM_Export(benchmark::State& state) {
    static const orb::COrbDoc doc = MakeSurvey();
    std::string tmpl = (std::filesystem::temp_directory_path() / "orb-bench-XXXXXX").string();
    const std::string dir = ::mkdtemp(tmpl.data());
    const orb::ExchangeOptions options = orb::ExchangeOptionsFromContext(doc.context());
    for (auto _ : state) {
        const std::string text = Write(orb::BuildExchangeSurvey(doc, options));
        if (!orb::WriteFileAtomically(dir + "/out", text).ok()) state.SkipWithError("write failed");
    }
    std::filesystem::remove_all(dir);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStations));
}

BENCHMARK(BM_Export<orb::ExchangeCsv>)->Name("BM_ExportCsv")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export<orb::ExchangeLas>)->Name("BM_ExportLas")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export<orb::ExchangeWitsml>)->Name("BM_ExportWitsml")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
