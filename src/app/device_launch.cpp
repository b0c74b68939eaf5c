#include "app/device_launch.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>

#include "app/device_bridge.h"
#include "device/port_list.h"

namespace orb {

DeviceLaunch::DeviceLaunch() = default;

DeviceLaunch::~DeviceLaunch() {
    if (!sim_ || sim_->state() == QProcess::NotRunning) return;
    sim_->terminate();  // SIGTERM: the simulator ends with status 0
    if (!sim_->waitForFinished(3000)) {
        sim_->kill();
        sim_->waitForFinished(1000);
    }
}

QString DeviceLaunch::FindSimulator() {
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {dir + QStringLiteral("/orb-devsim"), dir + QStringLiteral("/../tools/orb-devsim"),
          dir + QStringLiteral("/../../tools/orb-devsim")}) {
        if (QFileInfo(candidate).isExecutable()) return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}

bool DeviceLaunch::StartSimulator(const QStringList& extraArgs, QString& error, QString program) {
    if (program.isEmpty()) program = FindSimulator();
    if (program.isEmpty()) {
        error = QStringLiteral("orb-devsim not found next to orb or in ../tools/");
        return false;
    }
    sim_ = std::make_unique<QProcess>();
    sim_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim_->start(program, QStringList{QStringLiteral("--exit-with-parent")} + extraArgs);
    // The first line on standard output is the pseudo-terminal to open.
    QDeadlineTimer deadline(10000);
    while (!sim_->canReadLine() && !deadline.hasExpired() && sim_->state() != QProcess::NotRunning)
        sim_->waitForReadyRead(200);
    if (!sim_->canReadLine()) {
        error = QStringLiteral("orb-devsim did not report its device");
        return false;
    }
    simPath_ = QString::fromLocal8Bit(sim_->readLine()).trimmed();
    return !simPath_.isEmpty();
}

bool DeviceLaunch::Prepare(const CommandLine& commandLine, QString& error) {
    QString port = commandLine.port;
    if (commandLine.simulate) {
        QStringList simArgs;
        if (!commandLine.scenario.isEmpty()) simArgs << QStringLiteral("--scenario") << commandLine.scenario;
        if (!StartSimulator(simArgs, error)) return false;
        port = simPath_;
    }
    DeviceBridge::Configure(PortListOptions::FromEnvironment(port.toStdString()));
    return true;
}

}  // namespace orb
