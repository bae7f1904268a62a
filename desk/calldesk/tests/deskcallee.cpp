// A call desk on its own, for the test that kills it right after a call:
//
//   deskcallee <data dir>
//
// Prints "ready" once the desk listens on its line.

#include "frmcti.h"
#include "settings.h"
#include "startup.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        return 2;
    }
    QString error;
    if (!core::startUp(core::Paths::forDataDir(QString::fromLocal8Bit(argv[1])), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    desk::FrmCti::soundPlayer() = [](const QString&) {};
    desk::FrmCti desk;
    desk.show();
    std::printf("ready %s\n", qPrintable(desk.lineStatus()));
    std::fflush(stdout);
    return app.exec();
}
