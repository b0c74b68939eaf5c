// The exports of a large survey read through the real table model: 10,081
// checked stations (a week of samples at one minute) to TXT with all 22
// columns and to an Excel 97-2003 workbook, new and updated in place.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "document/orb_doc.h"
#include "report/excel_export.h"
#include "report/txt_export.h"
#include "report/xls_file.h"
#include "view/survey_table_model.h"

namespace {

constexpr std::size_t kStations = 10081;

orb::COrbDoc MakeSurvey() {
    orb::COrbDoc doc;
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<float> u(0.0f, 1.0f);
    for (std::size_t i = 0; i < kStations; ++i) {
        orb::SurveyRecord r;
        r.selected = 1;
        r.depth = 10.0f * static_cast<float>(i);
        r.inclination = 90 * u(rng);
        r.azimuth = 360 * u(rng);
        r.gravityToolFace = 360 * u(rng);
        r.magneticToolFace = 360 * u(rng);
        r.dip = -80 + 160 * u(rng);
        r.totalGravity = 0.99f + 0.02f * u(rng);
        r.totalMagnetic = 0.98f + 0.04f * u(rng);
        r.temperature = 20 + 100 * u(rng);
        r.batteryVoltage = 3.6f;
        r.gx = u(rng), r.gy = u(rng), r.gz = u(rng), r.mx = u(rng), r.my = u(rng), r.mz = u(rng);
        r.sampleTime = 41401.5 + static_cast<double>(i) / 1440.0;
        doc.AppendRecord(r);
    }
    return doc;
}

struct Fixture {
    orb::COrbDoc doc = MakeSurvey();
    orb::SurveyTableModel model{doc, [] { return orb::SampleTiming{3, 60}; }};
    std::string dir;
    Fixture() {
        model.ReloadTable();
        std::string tmpl = (std::filesystem::temp_directory_path() / "orb-bench-XXXXXX").string();
        dir = ::mkdtemp(tmpl.data());
    }
    ~Fixture() { std::filesystem::remove_all(dir); }
};

Fixture& Shared() {
    static Fixture f;
    return f;
}

orb::TxtExportFormat AllColumns() {
    orb::TxtExportFormat f;
    for (int c = 0; c < orb::kExportColumnCount; ++c) f.columns[f.count++] = c;
    return f;
}

void BM_TxtExportToFile(benchmark::State& state) {
    Fixture& f = Shared();
    const orb::TxtExportFormat format = AllColumns();
    const std::string path = f.dir + "/survey.txt";
    for (auto _ : state) {
        if (!orb::ExportTxt(f.model, format, -5.5f, path).ok()) state.SkipWithError("export failed");
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStations));
}
BENCHMARK(BM_TxtExportToFile)->Unit(benchmark::kMillisecond);

// The same without the file system: the text, and the workbook bytes.
void BM_TxtBuildInMemory(benchmark::State& state) {
    Fixture& f = Shared();
    const orb::TxtExportFormat format = AllColumns();
    for (auto _ : state) benchmark::DoNotOptimize(orb::BuildTxtExport(f.model, format, -5.5f));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStations));
}
BENCHMARK(BM_TxtBuildInMemory)->Unit(benchmark::kMillisecond);

void BM_XlsBuildInMemory(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        orb::XlsWorkbook book;
        orb::PutSurveyRows(book, f.model, -5.5f);
        benchmark::DoNotOptimize(orb::EncodeXlsFile(book));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStations));
}
BENCHMARK(BM_XlsBuildInMemory)->Unit(benchmark::kMillisecond);

// Reading the 22 cell texts of every row from the table model alone.
void BM_TableTextsOnly(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        std::size_t n = 0;
        for (std::size_t r = 0; r < f.model.RowCount(); ++r) {
            for (int c = 1; c < orb::kTableColumns; ++c) n += f.model.CellText(r, c).size();
        }
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStations));
}
BENCHMARK(BM_TableTextsOnly)->Unit(benchmark::kMillisecond);

void BM_XlsExportNewFile(benchmark::State& state) {
    Fixture& f = Shared();
    const std::string path = f.dir + "/survey.xls";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(path);
        state.ResumeTiming();
        if (!orb::ExportExcel(f.model, -5.5f, path).ok()) state.SkipWithError("export failed");
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStations));
}
BENCHMARK(BM_XlsExportNewFile)->Unit(benchmark::kMillisecond);

// Into the workbook of the previous export: read, update, write.
void BM_XlsExportExistingFile(benchmark::State& state) {
    Fixture& f = Shared();
    const std::string path = f.dir + "/existing.xls";
    orb::ExportExcel(f.model, -5.5f, path);
    for (auto _ : state) {
        if (!orb::ExportExcel(f.model, -5.5f, path).ok()) state.SkipWithError("export failed");
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStations));
}
BENCHMARK(BM_XlsExportExistingFile)->Unit(benchmark::kMillisecond);

void BM_XlsxExportNewFile(benchmark::State& state) {
    Fixture& f = Shared();
    const std::string path = f.dir + "/survey.xlsx";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(path);
        state.ResumeTiming();
        if (!orb::ExportExcel(f.model, -5.5f, path).ok()) state.SkipWithError("export failed");
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStations));
}
BENCHMARK(BM_XlsxExportNewFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
