#include <QApplication>
#include <cstdio>

#include "app/command_line.h"
#include "app/device_launch.h"
#include "app/orb_app.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const orb::CommandLine commandLine = orb::ParseCommandLine(QApplication::arguments());
    orb::DeviceLaunch device;  // ends a simulator it started when main returns
    QString error;
    if (!device.Prepare(commandLine, error)) {
        std::fprintf(stderr, "orb: %s\n", qPrintable(error));
        return 1;
    }
    orb::COrbApp orbApp;
    if (!orbApp.InitInstance(commandLine)) return 1;
    return orbApp.ExitInstance(QApplication::exec());
}
