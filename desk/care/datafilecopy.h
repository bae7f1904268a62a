#pragma once
// Copies of the data file to another folder and back, without the dialogs.
// A copy out is a consistent snapshot of the open data database. A copy in
// is checked before anything is replaced; the current file waits beside it
// as RbCtiData2K.mdb.bak until the copy is in place, opens and is brought up
// to the current schema, and comes back on any failure.

#include <QString>

#include "dbcopy.h"

namespace care {

struct CopyOutcome {
    enum Result {
        Done,
        Refused,     // the file was not taken: kind says what it is
        Failed,      // nothing was replaced; the data database is as it was
        PutBack,     // replaced, failed, and the previous file is back in use
        NotPutBack,  // replaced, failed, and the previous file could not be reopened
        Cancelled,
    };
    Result result = Done;
    core::db::FileKind kind = core::db::FileKind::Data;
    QString detail;
};

// One of the three database files of this run, in any spelling of its name.
bool isFileInUse(const QString& path);

CopyOutcome saveDataFile(const QString& target, const core::db::CopyProgress& progress);
CopyOutcome readDataFile(const QString& source, const core::db::CopyProgress& progress);

// Where the previous data file waits while a copy is read in.
QString backupPath();

} // namespace care
