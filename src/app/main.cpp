#include <QApplication>
#include <cstdio>

#include "app/device_launch.h"
#include "app/orb_app.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments();
    orb::DeviceLaunch device;  // ends a simulator it started when main returns
    QString error;
    if (!device.Prepare(arguments, error)) {
        std::fprintf(stderr, "orb: %s\n", qPrintable(error));
        return 1;
    }
    orb::COrbApp orbApp;
    if (!orbApp.InitInstance(arguments)) return 1;
    return orbApp.ExitInstance(QApplication::exec());
}
