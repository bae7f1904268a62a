#pragma once
// Whole-file copies of a database: a consistent snapshot through the
// engine's backup, written beside the target and moved into place only when
// complete, so a copy cut short never leaves a half file under the target's
// name. And what a file offered as a data database turns out to be.

#include <QString>
#include <functional>

namespace core::db {

class Database;

// Called after each slice of pages; false cancels the copy.
using CopyProgress = std::function<bool(qint64 donePages, qint64 totalPages)>;

// Snapshot of an open database into target. The database may be written
// through its own handle meanwhile: those writes reach the copy too. An
// existing target is replaced only by a complete, synced copy.
bool saveSnapshot(Database& source, const QString& target, const CopyProgress& progress,
                  QString* error);
// The same from a database file that is not open; the source is only read.
bool copyDatabaseFile(const QString& source, const QString& target, const CopyProgress& progress,
                      QString* error);

// What a file is, judged before anything is replaced by it.
enum class FileKind {
    Missing,
    Unreadable,
    Empty,
    Jet,         // a Jet database file, a format we cannot read
    NotDatabase, // not a database file at all
    Foreign,     // a database file of another program
    Damaged,
    Work,   // this system's work database
    Postal, // this system's postal dictionary
    NoData, // this system's file without the data tables
    Data,
};

// By the file's first bytes: Missing, Unreadable, Empty, Jet, NotDatabase,
// Foreign, or Data for a database file of this system (tables not looked at).
FileKind kindByHeader(const QString& path, QString* detail = nullptr);
// By the tables of an open database of this system: Work, Postal, NoData or Data.
FileKind kindByTables(const Database& db);

// Another database reads the file through `in '<path>'` and keeps it
// attached. Before the file is replaced it lets go of it; afterwards it
// attaches the new file under the same names, so its statements read the new
// file and not the replaced one.
QStringList detachFile(Database& db, const QString& path);
void attachAgain(Database& db, const QString& path, const QStringList& aliases);

// Same file, whatever the spelling of its path (links, "..").
bool sameFile(const QString& a, const QString& b);

} // namespace core::db
