#include <QApplication>

#include "app/orb_app.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    orb::COrbApp orbApp;
    if (!orbApp.InitInstance(QApplication::arguments())) return 1;
    return orbApp.ExitInstance(QApplication::exec());
}
