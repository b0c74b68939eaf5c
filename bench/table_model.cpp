// Survey table model at scale: refilling the rows of a large survey, the
// memory the rows take beyond the records, producing cell texts, and the
// automatic station selection of a week of samples.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "core/angles.h"
#include "document/orb_doc.h"
#include "view/survey_table_model.h"
#include "view/sync_matcher.h"

namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr double kStart = 41401.5;  // 2013-05-07 12:00

orb::COrbDoc MakeSurvey(std::size_t n) {
    orb::COrbDoc doc;
    doc.ReserveRecords(n);
    std::mt19937 rng(7);
    for (std::size_t i = 0; i < n; ++i) {
        orb::SurveyRecord r;
        r.selected = rng() % 2;
        r.inclination = static_cast<float>(i % 180) + 0.25f;
        r.azimuth = static_cast<float>(i % 360) + 0.5f;
        r.totalMagnetic = 0.95f;
        r.depth = static_cast<float>(i);
        r.sampleTime = kStart + static_cast<double>(i) * 60 * kSecond;
        doc.AppendRecord(r);
    }
    return doc;
}

void BM_RefreshTable(benchmark::State& state) {
    orb::COrbDoc doc = MakeSurvey(static_cast<std::size_t>(state.range(0)));
    orb::SurveyTableModel model(doc);
    model.ReloadTable();
    for (auto _ : state) {
        model.RefreshTable();
        benchmark::DoNotOptimize(model.RowCount());
    }
    const double rows = static_cast<double>(model.RowCount());
    state.counters["rows"] = rows;
    state.counters["bytes_per_row"] = static_cast<double>(model.MemoryBytes()) / rows;
}
BENCHMARK(BM_RefreshTable)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ReverseSelectedOnly(benchmark::State& state) {
    orb::COrbDoc doc = MakeSurvey(static_cast<std::size_t>(state.range(0)));
    orb::SurveyTableModel model(doc);
    model.ShowSelected();
    for (auto _ : state) {
        model.ReverseDisplay();
        benchmark::DoNotOptimize(model.RowCount());
    }
    state.counters["rows"] = static_cast<double>(model.RowCount());
}
BENCHMARK(BM_ReverseSelectedOnly)->Arg(1000000)->Unit(benchmark::kMillisecond);

// What a window repaint or an export pays per row: all 21 cell texts.
void BM_RowTexts(benchmark::State& state) {
    orb::COrbDoc doc = MakeSurvey(1000);
    doc.SetTiming(orb::SurveyTiming{3, 10});
    orb::SurveyTableModel model(doc);
    model.ReloadTable();
    std::size_t row = 0;
    for (auto _ : state) {
        for (int c = 0; c < orb::kTableColumns; ++c) benchmark::DoNotOptimize(model.CellText(row, c));
        row = (row + 1) % model.RowCount();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RowTexts);

// 10,081 samples (a week at one a minute, in shuffled order) and 1,000 marks
// somewhere within the week.
orb::COrbDoc MakeMatchSurvey() {
    orb::COrbDoc doc;
    std::vector<double> times;
    for (int i = 0; i < 10081; ++i) times.push_back(kStart + i * 60 * kSecond);
    std::mt19937 rng(11);
    std::shuffle(times.begin(), times.end(), rng);
    for (double t : times) {
        orb::SurveyRecord r;
        r.sampleTime = t;
        doc.AppendRecord(r);
    }
    std::uniform_real_distribution<double> when(kStart, kStart + 7.0);
    for (int m = 0; m < 1000; ++m) doc.AppendMark(orb::SyncRecord{m, 1, when(rng), 0});
    return doc;
}

void BM_MatchSyncMarks(benchmark::State& state) {
    orb::COrbDoc doc = MakeMatchSurvey();
    orb::SurveyEdits edits(doc);
    std::size_t matched = 0;
    for (auto _ : state) matched = orb::MatchSyncMarks(edits, 10);
    state.counters["matched"] = static_cast<double>(matched);
}
BENCHMARK(BM_MatchSyncMarks)->Unit(benchmark::kMillisecond);

// The every-mark-against-every-record loop, for comparison.
void BM_MatchSyncMarksLiteralLoop(benchmark::State& state) {
    const orb::COrbDoc doc = MakeMatchSurvey();
    for (auto _ : state) {
        std::size_t matched = 0;
        for (const orb::SyncRecord& m : doc.syncRecords()) {
            double best = 11 * kSecond;
            std::ptrdiff_t index = -1;
            for (std::size_t j = 0; j < doc.RecordCount(); ++j) {
                const double d = std::fabs(orb::ContinuousDay(m.markTime) -
                                           orb::ContinuousDay(doc.records()[j].sampleTime));
                if (d < best) {
                    best = d;
                    index = static_cast<std::ptrdiff_t>(j);
                }
            }
            matched += index >= 0;
        }
        benchmark::DoNotOptimize(matched);
    }
}
BENCHMARK(BM_MatchSyncMarksLiteralLoop)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
