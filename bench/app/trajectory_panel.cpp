// One update of the trajectory panel with 10,081 stations: the trajectory,
// the quality values and the pictures painted into a panel-sized image
// through the QPainter canvas (what the window pays after a change while the
// panel is open). Runs on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "app/orb_app.h"
#include "app/trajectory_plot_widget.h"
#include "report/trajectory_plot.h"

namespace {

constexpr int kStations = 10081;

// A build to 90° and a slow turn, noisy quality values, every record a station.
std::vector<orb::SurveyRecord> Survey() {
    std::vector<orb::SurveyRecord> records(kStations);
    for (int i = 0; i < kStations; ++i) {
        orb::SurveyRecord& r = records[i];
        r.selected = 1;
        r.depth = 100.0f + 0.5f * static_cast<float>(i);
        r.inclination = static_cast<float>(std::min(90.0, i * 0.02));
        r.azimuth = static_cast<float>(std::fmod(30.0 + i * 0.01, 360.0));
        r.totalGravity = 1.0f + 0.002f * static_cast<float>(std::sin(i * 0.7));
        r.totalMagnetic = 0.52f + 0.004f * static_cast<float>(std::cos(i * 1.3));
        r.dip = 57.5f + 0.2f * static_cast<float>(std::sin(i * 0.37));
        r.temperature = 40.0f;
    }
    return records;
}

void BM_TrajectoryPanelUpdate(benchmark::State& state) {
    const std::vector<orb::SurveyRecord> records = Survey();
    orb::TrajectoryPlotOptions options;
    options.qc.references = {1.0, 27210.0, 57.5};
    orb::TrajectoryPlotData data;
    QImage image(1180, 560, QImage::Format_RGB32);
    for (auto _ : state) {
        orb::MakeTrajectoryPlotData(records, options, data);
        QPainter painter(&image);
        orb::CTrajectoryPlotWidget::Render(painter, image.rect(), data, false);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_TrajectoryPanelUpdate)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    orb::COrbApp::RegisterFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
