// The survey table widget with a 100,000-record survey: scrolling one page
// (scroll bar step plus a synchronous repaint of the viewport) and showing
// a freshly opened survey. Runs on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "app/main_frame.h"
#include "app/orb_app.h"
#include "app/orb_view.h"

namespace {

constexpr std::size_t kRecords = 100000;

std::vector<orb::SurveyRecord> Survey() {
    std::vector<orb::SurveyRecord> records(kRecords);
    for (std::size_t i = 0; i < kRecords; ++i) {
        orb::SurveyRecord& r = records[i];
        r.selected = i % 4 == 1;
        r.inclination = static_cast<float>(i % 9000) / 100.0f;
        r.azimuth = static_cast<float>((i * 37) % 36000) / 100.0f;
        r.gravityToolFace = static_cast<float>((i * 13) % 360);
        r.magneticToolFace = static_cast<float>((i * 17) % 360);
        r.dip = 47.5f;
        r.totalGravity = 1.0002f;
        r.totalMagnetic = 0.9987f;
        r.temperature = 25.0f + static_cast<float>(i % 400) / 10.0f;
        r.batteryVoltage = 3.6f;
        r.depth = 1000.0f + static_cast<float>(i);
        r.gx = 0.1234f;
        r.gy = -0.2345f;
        r.gz = 0.9876f;
        r.mx = 0.3f;
        r.my = -0.4f;
        r.mz = 0.7f;
        r.sampleTime = 41401.5 + static_cast<double>(i) * 30.0 / 86400.0;
    }
    return records;
}

struct Window {
    Window() {
        orb::COrbApp::ConfigureSettings();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        orb::COrbApp::RegisterFontSubstitutions();
        frame = std::make_unique<orb::CMainFrame>();
        frame->Document().SetTiming(orb::SurveyTiming{5, 30});
        frame->resize(1280, 800);
        frame->show();
        QApplication::processEvents();
    }
    void Load() {
        frame->Document().EditRecords([](std::vector<orb::SurveyRecord>& r) { r = Survey(); });
        frame->TableModel().ReloadTable();
        frame->Document().SetModified(false);
    }
    ~Window() { frame->Document().SetModified(false); }
    QTemporaryDir settings;
    std::unique_ptr<orb::CMainFrame> frame;
};

std::unique_ptr<Window> window;  // destroyed before the application

Window& TheWindow() {
    if (!window) window = std::make_unique<Window>();
    return *window;
}

void BM_ScrollOnePage(benchmark::State& state) {
    Window& w = TheWindow();
    w.Load();
    orb::COrbView* view = w.frame->View();
    QScrollBar* bar = view->verticalScrollBar();
    view->viewport()->repaint();
    for (auto _ : state) {
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        view->viewport()->repaint();
    }
    state.counters["rows"] = static_cast<double>(view->model()->rowCount());
}
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMillisecond);

void BM_ShowOpenedSurvey(benchmark::State& state) {
    Window& w = TheWindow();
    orb::COrbView* view = w.frame->View();
    for (auto _ : state) {
        w.Load();  // replaces the records and refills the table
        view->viewport()->repaint();
    }
}
BENCHMARK(BM_ShowOpenedSurvey)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window.reset();
    return 0;
}
