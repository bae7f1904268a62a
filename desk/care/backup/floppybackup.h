#pragma once
// Backup of the data file to numbered disks in drive A and its restore:
// the archive of a snapshot of the data database, one piece a disk, the
// control file on disk 1. Boxes go through the shell's message seam; the
// screen shows the progress text.

#include "datafilecopy.h"

#include <QString>
#include <functional>

namespace care {

// Puts a checked data file extracted from a set in place of the open data
// database. The replaced file stays as RbCtiData2K.mdb.bak afterwards, so a
// set restored by mistake costs no data.
CopyOutcome restoreDataFile(const QString& extracted);

class FloppyBackup {
public:
    // workDir: the data directory; floppyRoot: the folder standing for
    // drive A; progress: the screen's progress text (empty hides it).
    FloppyBackup(QString workDir, QString floppyRoot, std::function<void(const QString&)> progress);

    void FDDBuckUp();
    bool CreateLzhFile(const QString& workDir, const QString& dataFileName,
                       const QString& archiveName);
    void RestoreRB();
    void DefrostRB(const QString& workDir, const QString& dataFileName, const QString& archiveName);

    // The drive checks; tests replace them.
    std::function<bool(const QString& root)> goodDrive;
    std::function<bool(const QString& root)> writeTest;

private:
    bool askDisk(const QString& title, int k, int n);
    bool writeDisk(int k, int n, const QString& control, const QString& payload);
    void showProgress(const QString& text);

    QString workDir_;
    QString root_;
    std::function<void(const QString&)> progress_;
};

} // namespace care
