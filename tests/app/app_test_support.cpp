#include "app_test_support.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>
#include <QWidget>
#include <QtDebug>
#include <memory>

#include "app/device_bridge.h"
#include "app/main_frame.h"
#include "app/orb_app.h"

namespace orb::test {

std::unique_ptr<QTemporaryDir> UseTemporarySettings() {
    auto dir = std::make_unique<QTemporaryDir>();
    COrbApp::ConfigureSettings();
    for (QSettings::Format f : {QSettings::NativeFormat, QSettings::IniFormat})
        for (QSettings::Scope s : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(f, s, dir->path());
    return dir;
}

void PrepareApplication() {
    static bool done = false;
    if (done) return;
    done = true;
    COrbApp::RegisterFontSubstitutions();
}

std::vector<SurveyRecord> MakeRecords(std::size_t n) {
    std::vector<SurveyRecord> records(n);
    for (std::size_t i = 0; i < n; ++i) {
        SurveyRecord& r = records[i];
        r.selected = i % 3 == 0 ? 1 : 0;
        r.inclination = static_cast<float>(i);
        r.azimuth = static_cast<float>((i * 7) % 360);
        r.depth = static_cast<float>(10 * i);
        r.totalGravity = 1.0f;
        r.totalMagnetic = 1.0f;
        r.temperature = 25.0f;
        r.batteryVoltage = 3.6f;
        r.sampleTime = 45000.0 + static_cast<double>(i) / 1440.0;
        r.sampleTimeStatus = kDateValid;
    }
    return records;
}

void WhenModal(std::function<void(QWidget*)> answer, int timeoutMs, const char* className,
               QWidget* whileOpen) {
    auto* timer = new QTimer(qApp);
    auto remaining = std::make_shared<int>(timeoutMs / 20);
    QPointer<QWidget> scope(whileOpen);
    QObject::connect(timer, &QTimer::timeout, timer, [=, answer = std::move(answer)] {
        if (whileOpen && (!scope || !scope->isVisible())) *remaining = 0;
        QWidget* modal = *remaining > 0 ? QApplication::activeModalWidget() : nullptr;
        if (modal && className && !modal->inherits(className)) modal = nullptr;
        if (!modal && --*remaining > 0) return;
        timer->stop();
        timer->deleteLater();
        if (modal) answer(modal);
    });
    timer->start(20);
}

bool SimRig::Start(QStringList args, const QByteArray& scenarioJson, MessageAnswer answer,
                   const QString& port) {
    if (!scenarioJson.isEmpty()) {
        QFile f(dir.filePath(QStringLiteral("scenario.json")));
        if (!f.open(QIODevice::WriteOnly)) return false;
        f.write(scenarioJson);
        f.close();
        args << QStringLiteral("--scenario") << f.fileName();
    }
    QString error;
    if (!sim.StartSimulator(args, error, QStringLiteral(ORB_BINARY_DIR "/tools/orb-devsim"))) {
        qWarning() << error;
        return false;
    }
    PortListOptions options;
    options.namedPort = (port.isEmpty() ? sim.simulatorPath() : port).toStdString();
    DeviceBridge::Configure(options);
    frame = std::make_unique<CMainFrame>();
    device = FrameDevice(frame.get());
    device->messageHook = [answer](const QString&, const QString&) { return answer; };
    QSignalSpy started(frame.get(), &CMainFrame::startupFinished);
    frame->show();
    return started.wait(5000);
}

QString SimRig::LogPath() const {
    return dir.filePath(QStringLiteral("commands.log"));
}

QStringList SimRig::Logged() const {
    QFile f(LogPath());
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void SimRig::Run(int id) {
    frame->Action(id)->trigger();
}

void SimRig::HoldSurvey(std::size_t n, bool modified) {
    for (const SurveyRecord& r : MakeRecords(n)) frame->Document().AppendRecord(r);
    frame->TableModel().RefreshTable();
    frame->Document().SetModified(modified);
}

SimRig::~SimRig() {
    // No save question while the window goes.
    if (frame) frame->Document().SetModified(false);
    frame.reset();
}

}  // namespace orb::test
