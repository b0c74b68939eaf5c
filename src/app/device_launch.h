// The device options of the orb command line: "--port PATH" names a real
// device, "--simulate [SCENARIO.json]" starts orb-devsim on a pseudo-terminal
// and lists it first, so that the start-up port search opens it.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "app/command_line.h"

class QProcess;

namespace orb {

class DeviceLaunch {
public:
    DeviceLaunch();
    ~DeviceLaunch();  // ends the simulator
    DeviceLaunch(const DeviceLaunch&) = delete;
    DeviceLaunch& operator=(const DeviceLaunch&) = delete;

    // Starts the simulator if the command line asks for it and configures
    // the window's port list. False (with `error`) when the simulator cannot
    // be started.
    bool Prepare(const CommandLine& commandLine, QString& error);

    // The simulator's device path, or empty.
    QString simulatorPath() const { return simPath_; }

    // Starts orb-devsim (`program`, or the one FindSimulator finds) with
    // `extraArgs` and reads its device path.
    bool StartSimulator(const QStringList& extraArgs, QString& error, QString program = {});

    // orb-devsim next to this program or in ../tools/.
    static QString FindSimulator();

private:
    std::unique_ptr<QProcess> sim_;
    QString simPath_;
};

}  // namespace orb
