// Opening a 1,000,000-record survey in the window: load, table rows and the
// quality verdicts and counts, up to the first repaint. Prints the wall time
// of each open and the peak memory of the first one above the empty window
// (peak resident set, reset after the window is up), against the file size.
// The file is written by a child process, so its writing costs nothing here.
// Runs on Qt's offscreen platform:
//   QT_QPA_PLATFORM=offscreen build/bench/app/bench_open_survey [records] [opens]
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "app/orb_app.h"
#include "app/orb_view.h"
#include "app/quality_controller.h"
#include "app/survey_table_adapter.h"
#include "document/tlm_file.h"

namespace {

void WriteSurvey(const std::string& path, std::size_t n) {
    orb::COrbDoc doc;
    doc.EditRecords([n](std::vector<orb::SurveyRecord>& records) {
        records.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            orb::SurveyRecord& r = records[i];
            r.selected = i % 4 == 1;
            r.inclination = static_cast<float>(i % 9000) / 100.0f;
            r.azimuth = static_cast<float>((i * 37) % 36000) / 100.0f;
            r.totalGravity = i % 50 == 0 ? 1.01f : 1.0002f;
            r.totalMagnetic = 0.9987f;
            r.temperature = 25.0f;
            r.depth = 1000.0f + static_cast<float>(i);
            r.sampleTime = 41401.5 + static_cast<double>(i) * 30.0 / 86400.0;
        }
    });
    doc.SetWellNumber(u"BENCH-1");
    doc.SetTiming(orb::SurveyTiming{5, 30});
    std::exit(orb::SaveTlmFile(path, doc).ok() ? 0 : 1);
}

long StatusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::string(key).size());
    return -1;
}

void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t records = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000000;
    const int opens = argc > 2 ? std::atoi(argv[2]) : 5;
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("bench.TLM")).toStdString();
    if (const pid_t child = fork(); child == 0) {
        WriteSurvey(path, records);
    } else {
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
    }
    const double fileMb = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);

    QApplication app(argc, argv);
    orb::COrbApp::ConfigureSettings();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    orb::COrbApp::RegisterFontSubstitutions();
    auto frame = std::make_unique<orb::CMainFrame>();
    frame->resize(1280, 800);
    frame->show();
    QApplication::processEvents();

    const long baseKb = StatusKb("VmRSS:");
    ResetPeak();
    std::vector<double> ms;
    double peakMb = 0;
    for (int i = 0; i < opens; ++i) {
        QElapsedTimer t;
        t.start();
        frame->OpenDocumentFile(QString::fromStdString(path));
        frame->View()->viewport()->repaint();
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        if (i == 0) peakMb = static_cast<double>(StatusKb("VmHWM:") - baseKb) / 1024;
    }
    const auto counts = frame->View()->adapter()->qcCounts();
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    std::printf("records %zu, file %.1f MB, failed records %zu\n", frame->Document().RecordCount(), fileMb,
                counts.failedRecords);
    std::printf("open (load, table, quality counts):");
    for (double m : ms) std::printf(" %.0f", m);
    std::printf(" ms; median %.0f ms\n", sorted[sorted.size() / 2]);
    std::printf("peak memory above the empty window: %.1f MB = %.2f x the file\n", peakMb, peakMb / fileMb);
    frame->Document().SetModified(false);
    return 0;
}
