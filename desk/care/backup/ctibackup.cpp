// ctibackup: backups of the desk's data file for scripts and timers.

#include "backupcommand.h"

#include <QCoreApplication>
#include <QDir>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return care::runBackupCommand(app.arguments().mid(1), QCoreApplication::applicationDirPath(),
                                  QDir::homePath(), out, err);
}
