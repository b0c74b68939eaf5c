// Exporting 10,081 stations into a 5 MB report template, .xls and .xlsx:
// read, patch (Sheet1's block replaced, every other record or part copied)
// and write through a temporary file. The template holds an earlier export
// of the same survey in Sheet1 and a sheet of random numbers that brings the
// file to about 5 MB.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "bench_survey.h"
#include "document/orb_doc.h"
#include "report/excel_export.h"
#include "report/xls_file.h"
#include "report/xlsx_file.h"
#include "view/survey_table_model.h"

namespace {

constexpr std::size_t kTemplateBytes = 5u << 20;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct Fixture {
    orb::COrbDoc doc = MakeSurvey();
    orb::SurveyTableModel model{doc};
    std::string dir;
    std::string xls, xlsx;  // the templates' bytes

    Fixture() {
        model.ReloadTable();
        std::string tmpl = (std::filesystem::temp_directory_path() / "orb-bench-XXXXXX").string();
        dir = ::mkdtemp(tmpl.data());
        xls = Template(false);
        xlsx = Template(true);
    }
    ~Fixture() { std::filesystem::remove_all(dir); }

    // Sheet "Calc" of random numbers, grown until the file reaches 5 MB,
    // then Sheet1 with an earlier export of the survey.
    std::string Template(bool ooxml) {
        const std::string path = dir + (ooxml ? "/template.xlsx" : "/template.xls");
        std::mt19937_64 rng(7);
        std::uniform_real_distribution<double> u(0.0, 1000.0);
        orb::XlsWorkbook book;
        book.sheets.emplace_back().name = u"Calc";
        orb::PutSurveyRows(book, model, -5.5f);
        orb::XlsSheet& calc = book.sheets[static_cast<std::size_t>(book.FindSheet(u"Calc"))];
        std::size_t cells = 0;
        for (std::size_t target = 100000;; target *= 2) {
            for (; cells < target; ++cells)
                calc.cells[orb::XlsSheet::Key(static_cast<uint32_t>(cells / 50), cells % 50)] =
                    orb::XlsCell::Num(u(rng));
            const std::string bytes = Write(book, path, ooxml);
            if (bytes.size() >= kTemplateBytes) return bytes;
        }
    }

    static std::string Write(const orb::XlsWorkbook& book, const std::string& path, bool ooxml) {
        if (ooxml) {
            orb::WriteXlsxFile(book, path, nullptr);
            return ReadFile(path);
        }
        return orb::EncodeXlsFile(book);
    }
};

Fixture& Shared() {
    static Fixture f;
    return f;
}

void ExportIntoTemplate(benchmark::State& state, bool ooxml) {
    Fixture& f = Shared();
    const std::string& bytes = ooxml ? f.xlsx : f.xls;
    const std::string path = f.dir + (ooxml ? "/report.xlsx" : "/report.xls");
    for (auto _ : state) {
        state.PauseTiming();
        WriteFile(path, bytes);
        state.ResumeTiming();
        if (!orb::ExportExcel(f.model, -5.5f, path).ok()) state.SkipWithError("export failed");
    }
    state.counters["template_MB"] = static_cast<double>(bytes.size()) / (1 << 20);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStations));
}

void BM_XlsExportIntoTemplate(benchmark::State& state) {
    ExportIntoTemplate(state, false);
}
BENCHMARK(BM_XlsExportIntoTemplate)->Unit(benchmark::kMillisecond);

void BM_XlsxExportIntoTemplate(benchmark::State& state) {
    ExportIntoTemplate(state, true);
}
BENCHMARK(BM_XlsxExportIntoTemplate)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
