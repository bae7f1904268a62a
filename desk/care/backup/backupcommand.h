#pragma once
// ctibackup: the backup set of the floppy procedure, written into, checked
// in and restored from one folder, for scripted and scheduled backups.

#include <QStringList>
#include <QTextStream>

namespace care {

// args without the program name: "save DIR", "verify DIR" or "restore DIR",
// each with "--data DATADIR" as an option. programDir and homeDir give the
// data directory the desk uses. 0 on success; otherwise a one-line message
// on err naming the file and the fault.
int runBackupCommand(const QStringList& args, const QString& programDir, const QString& homeDir,
                     QTextStream& out, QTextStream& err);

} // namespace care
