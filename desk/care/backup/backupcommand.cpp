#include "backupcommand.h"

#include "backupset.h"
#include "database.h"
#include "datadirlock.h"
#include "datafilecopy.h"
#include "dbcopy.h"
#include "floppybackup.h"
#include "lzharchive.h"
#include "paths.h"
#include "startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace care {
namespace {

QString native(const QString& p) {
    return QDir::toNativeSeparators(p);
}

struct Failure {
    QString message;
};

// What a checked set gives: the data file extracted from it.
struct CheckedSet {
    std::unique_ptr<QTemporaryDir> scratch;
    QString dataFile;
};

// The archived file opens as a data file of the desk and passes the
// integrity check.
void checkDataFile(const QString& file, const QString& archive, QTextStream& out) {
    QString detail;
    if (const auto kind = core::db::kindByHeader(file, &detail); kind != core::db::FileKind::Data) {
        throw Failure{QStringLiteral("%1: the archived file is no data file of the desk")
                          .arg(native(archive))};
    }
    QString error;
    auto db = core::db::Database::open(file, &error);
    if (!db || core::db::kindByTables(*db) != core::db::FileKind::Data) {
        throw Failure{QStringLiteral("%1: the archived file is no data file of the desk%2")
                          .arg(native(archive),
                               error.isEmpty() ? QString() : QStringLiteral(" (") + error + ')')};
    }
    if (!db->integrityCheck(&detail)) {
        throw Failure{QStringLiteral("%1: the archived data file is damaged (%2)")
                          .arg(native(archive), detail.section('\n', 0, 0))};
    }
    out << "data file: "
        << db->scalar(QStringLiteral("select count(*) from 顧客マスタ")).toLongLong()
        << " customers, "
        << db->scalar(QStringLiteral("select count(*) from 電話番号")).toLongLong() << " numbers, "
        << db->scalar(QStringLiteral("select count(*) from 着信履歴")).toLongLong()
        << " calls, integrity check passed" << Qt::endl;
}

// Checks the set in dir without changing it: control file, archive or
// pieces with their sizes, archive CRCs, and (checkDatabase) the extracted
// database; a restore leaves that to the read-back, which checks the same.
CheckedSet checkSet(const QString& dir, QTextStream& out, bool checkDatabase = true) {
    const QString control = findFile(dir, kControlFile);
    if (control.isEmpty()) {
        throw Failure{QStringLiteral("%1: no control file Ctictl").arg(native(dir))};
    }
    const auto count = readControlFile(control);
    if (!count) {
        throw Failure{
            QStringLiteral("%1: no disk count after \"CtiFddNum = \"").arg(native(control))};
    }
    const int n = *count;
    out << "Ctictl: " << n << (n == 1 ? " disk" : " disks") << Qt::endl;

    CheckedSet set;
    set.scratch = std::make_unique<QTemporaryDir>();
    if (!set.scratch->isValid()) {
        throw Failure{
            QStringLiteral("%1: cannot make a scratch folder").arg(native(QDir::tempPath()))};
    }
    QString archive;
    if (n == 1) {
        archive = findFile(dir, kArchiveFile);
        if (archive.isEmpty()) {
            throw Failure{QStringLiteral("%1: ctidata.lzh is missing").arg(native(dir))};
        }
        out << "ctidata.lzh: " << QFileInfo(archive).size() << " bytes" << Qt::endl;
    } else {
        archive = set.scratch->filePath(kArchiveFile);
        QFile joined(archive);
        if (!joined.open(QIODevice::WriteOnly)) {
            throw Failure{QStringLiteral("%1: %2").arg(native(archive), joined.errorString())};
        }
        for (int k = 1; k <= n; ++k) {
            const QString piece = findFile(dir, pieceName(k));
            if (piece.isEmpty()) {
                throw Failure{
                    QStringLiteral("%1: piece %2 is missing").arg(native(dir), pieceName(k))};
            }
            const qint64 size = QFileInfo(piece).size();
            const bool right = k < n ? size == kPieceSize : size >= 1 && size <= kPieceSize;
            if (!right) {
                throw Failure{
                    QStringLiteral("%1: %2 bytes, a piece %3 of %4 holds %5")
                        .arg(native(piece))
                        .arg(size)
                        .arg(k)
                        .arg(n)
                        .arg(k < n ? QStringLiteral("1440000") : QStringLiteral("1 to 1440000"))};
            }
            QFile in(piece);
            if (!in.open(QIODevice::ReadOnly) || joined.write(in.readAll()) != size) {
                throw Failure{QStringLiteral("%1: cannot be read").arg(native(piece))};
            }
            out << pieceName(k) << ": " << size << " bytes" << Qt::endl;
        }
    }
    // Faults name the set's files, not the scratch copy joined from them.
    const QString shown =
        n == 1 ? native(archive)
               : QStringLiteral("%1 (%2…%3 joined)")
                     .arg(native(QDir(dir).filePath(kArchiveFile)), pieceName(1), pieceName(n));
    const auto fault = [&](const lzh::Result& r) {
        return Failure{QString(r.error).replace(native(archive), shown)};
    };
    QList<lzh::Member> members;
    if (lzh::Result r = lzh::list(archive, &members); !r) {
        throw fault(r);
    }
    const QString extractTo = set.scratch->filePath(QStringLiteral("data"));
    QDir().mkpath(extractTo);
    if (lzh::Result r = lzh::extract(archive, extractTo, {kArchivedDataName}); !r) {
        throw fault(r);
    }
    for (const lzh::Member& m : members) {
        out << "archive: " << m.name << ", " << m.size << " bytes, " << m.method << ", CRC "
            << QStringLiteral("%1").arg(m.crc, 4, 16, QLatin1Char('0')) << " correct" << Qt::endl;
    }
    set.dataFile = QDir(extractTo).filePath(kArchivedDataName);
    if (!checkDatabase) {
        return set;
    }
    checkDataFile(set.dataFile, archive, out);
    return set;
}

void save(const core::Paths& paths, const QString& dir, QTextStream& out) {
    if (!QFileInfo(dir).isDir()) {
        throw Failure{QStringLiteral("%1: no such folder").arg(native(dir))};
    }
    QString error;
    auto db = core::db::Database::open(paths.dataDb, &error);
    if (!db) {
        throw Failure{error};
    }
    // The new set is made and checked beside the old one, which it then
    // replaces: a save that fails leaves the previous set as it was.
    QTemporaryDir staging(QDir(dir).filePath(QStringLiteral(".ctibackup-XXXXXX")));
    if (!staging.isValid()) {
        throw Failure{QStringLiteral("%1: cannot write there").arg(native(dir))};
    }
    const QString snapshot = staging.filePath(kArchivedDataName);
    if (!core::db::saveSnapshot(*db, snapshot, {}, &error)) {
        throw Failure{QStringLiteral("%1: %2").arg(native(paths.dataDb), error)};
    }
    db.reset();
    const QString archive = staging.filePath(kArchiveFile);
    if (lzh::Result r = lzh::create(archive, {{snapshot, kArchivedDataName}}); !r) {
        throw Failure{r.error};
    }
    QFile::remove(snapshot);
    if (lzh::Result r = lzh::verify(archive); !r) {
        throw Failure{r.error};
    }
    const qint64 size = QFileInfo(archive).size();
    const int n = diskCount(size);
    QStringList setFiles{kControlFile};
    if (n == 1) {
        setFiles << kArchiveFile;
    } else {
        const auto pieces = cutPieces(archive, staging.path());
        if (!pieces) {
            throw Failure{QStringLiteral("%1: cannot write the pieces").arg(native(dir))};
        }
        QFile::remove(archive);
        setFiles << *pieces;
    }
    QFile control(staging.filePath(kControlFile));
    if (!control.open(QIODevice::WriteOnly) || control.write(controlText(n)) < 0 ||
        !control.flush()) {
        throw Failure{
            QStringLiteral("%1: %2").arg(native(control.fileName()), control.errorString())};
    }
    control.close();
    if (!eraseBackupSet(dir)) {
        throw Failure{
            QStringLiteral("%1: the previous backup set cannot be removed").arg(native(dir))};
    }
    for (const QString& f : setFiles) {
        if (!QFile::rename(staging.filePath(f), QDir(dir).filePath(f))) {
            throw Failure{
                QStringLiteral("%1: cannot be written").arg(native(QDir(dir).filePath(f)))};
        }
    }
    out << native(dir) << ": backup of " << native(paths.dataDb) << " saved, archive " << size
        << " bytes on " << n << (n == 1 ? " disk" : " disks") << Qt::endl;
}

void restore(const core::Paths& paths, const QString& dir, QTextStream& out) {
    QString error;
    const auto lock =
        core::DataDirLock::tryLock(paths.dataDir, core::DataDirLock::Mode::Exclusive, &error);
    if (!lock) {
        throw Failure{QStringLiteral("%1: not restored, %2").arg(native(paths.dataDb), error)};
    }
    CheckedSet set;
    try {
        set = checkSet(dir, out, false);
    } catch (const Failure& f) {
        throw Failure{QStringLiteral("%1: not restored, the current data were kept (%2)")
                          .arg(native(paths.dataDb), f.message)};
    }
    if (!core::startUp(paths, &error)) {
        // A current file that does not open is what a restore is for: it is
        // kept aside and the restored file takes its place. The set is
        // checked first, so a bad set leaves the file where it was.
        try {
            checkDataFile(set.dataFile, QDir(dir).filePath(kArchiveFile), out);
        } catch (const Failure& f) {
            throw Failure{
                QStringLiteral("%1: not restored, the current file was left in place (%2)")
                    .arg(native(paths.dataDb), f.message)};
        }
        const QString aside = paths.dataDb + QStringLiteral(".bak");
        QFile::remove(aside);
        const bool hadFile = QFileInfo::exists(paths.dataDb);
        if (hadFile && !QFile::rename(paths.dataDb, aside)) {
            throw Failure{QStringLiteral("%1: cannot be set aside").arg(native(paths.dataDb))};
        }
        if (!core::db::copyDatabaseFile(set.dataFile, paths.dataDb, {}, &error) ||
            !core::startUp(paths, &error)) {
            QFile::remove(paths.dataDb);
            if (hadFile) {
                QFile::rename(aside, paths.dataDb);
            }
            throw Failure{QStringLiteral("%1: not restored, %2").arg(native(paths.dataDb), error)};
        }
        core::shutDown();
        out << native(paths.dataDb) << ": restored from " << native(dir)
            << (hadFile ? QStringLiteral("; the file that did not open is kept as ") + native(aside)
                        : QString())
            << Qt::endl;
        return;
    }
    const CopyOutcome outcome = restoreDataFile(set.dataFile);
    core::shutDown();
    switch (outcome.result) {
    case CopyOutcome::Done:
        out << native(paths.dataDb) << ": restored from " << native(dir)
            << (QFileInfo::exists(backupPath())
                    ? QStringLiteral("; the replaced file is kept as ") + native(backupPath())
                    : QString())
            << Qt::endl;
        return;
    case CopyOutcome::NotPutBack:
        throw Failure{QStringLiteral("%1: not restored, %2; the previous file is %3")
                          .arg(native(paths.dataDb), outcome.detail, native(backupPath()))};
    default:
        throw Failure{QStringLiteral("%1: not restored, the current data were kept (%2)")
                          .arg(native(paths.dataDb), outcome.detail)};
    }
}

} // namespace

int runBackupCommand(const QStringList& args, const QString& programDir, const QString& homeDir,
                     QTextStream& out, QTextStream& err) {
    QStringList rest = args;
    QString dataDir;
    if (const int at = int(rest.indexOf(QStringLiteral("--data"))); at >= 0) {
        if (at + 1 >= rest.size()) {
            err << "ctibackup: --data needs a folder" << Qt::endl;
            return 2;
        }
        dataDir = rest[at + 1];
        rest.remove(at, 2);
    }
    if (rest.size() != 2 || !QStringList{"save", "verify", "restore"}.contains(rest[0])) {
        err << "usage: ctibackup save|verify|restore DIR [--data DATADIR]" << Qt::endl;
        return 2;
    }
    const core::Paths paths = dataDir.isEmpty()
                                  ? core::Paths::resolve(programDir, homeDir)
                                  : core::Paths::forDataDir(QDir(dataDir).absolutePath());
    const QString dir = QDir(rest[1]).absolutePath();
    try {
        if (rest[0] == QStringLiteral("save")) {
            save(paths, dir, out);
        } else if (rest[0] == QStringLiteral("verify")) {
            checkSet(dir, out);
            out << native(dir) << ": the backup set is complete and readable" << Qt::endl;
        } else {
            restore(paths, dir, out);
        }
    } catch (const Failure& f) {
        err << "ctibackup: " << f.message << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace care
