#include "datafilecopy.h"

#include "database.h"
#include "paths.h"
#include "startup.h"
#include "upgrade.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace care {
namespace {

using core::db::FileKind;

bool renameOver(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) ==
           0;
}

// Puts the kept file back under the data database's name and opens it.
CopyOutcome putBack(const QString& why) {
    const core::Paths& p = core::paths();
    QFile::remove(p.dataDb + QStringLiteral("-journal"));
    QString error;
    std::unique_ptr<core::db::Database> previous;
    if (renameOver(backupPath(), p.dataDb)) {
        previous = core::db::Database::open(p.dataDb, &error);
    } else {
        error = QStringLiteral("%1 を戻せません").arg(QDir::toNativeSeparators(backupPath()));
    }
    if (!previous) {
        return {CopyOutcome::NotPutBack, FileKind::Data, why + QLatin1Char('\n') + error};
    }
    core::installDataDb(std::move(previous));
    return {CopyOutcome::PutBack, FileKind::Data, why};
}

CopyOutcome replaceDataFile(const QString& incoming);

} // namespace

QString backupPath() {
    return core::paths().dataDb + QStringLiteral(".bak");
}

bool isFileInUse(const QString& path) {
    const core::Paths& p = core::paths();
    const QFileInfo f(path);
    // The data database answers to three spellings in its own folder.
    if (core::db::sameFile(f.absolutePath(), p.dataDir) &&
        core::db::sameFile(p.dataFile(f.fileName()), p.dataDb)) {
        return true;
    }
    for (const QString& inUse : {p.dataDb, p.workDb, p.postalDb}) {
        if (core::db::sameFile(path, inUse)) {
            return true;
        }
    }
    return false;
}

CopyOutcome saveDataFile(const QString& target, const core::db::CopyProgress& progress) {
    if (isFileInUse(target)) {
        return {CopyOutcome::Refused, FileKind::Data, {}};
    }
    QString error;
    bool cancelled = false;
    const auto tracked = [&](qint64 done, qint64 total) {
        const bool go = !progress || progress(done, total);
        cancelled = !go;
        return go;
    };
    if (!core::db::saveSnapshot(*core::dataDb(), target, tracked, &error)) {
        return {cancelled ? CopyOutcome::Cancelled : CopyOutcome::Failed, FileKind::Data, error};
    }
    return {};
}

CopyOutcome readDataFile(const QString& source, const core::db::CopyProgress& progress) {
    const core::Paths& p = core::paths();
    if (isFileInUse(source)) {
        return {CopyOutcome::Refused, FileKind::Data, {}};
    }
    QString detail;
    const FileKind header = core::db::kindByHeader(source, &detail);
    if (header != FileKind::Data) {
        return {CopyOutcome::Refused, header, detail};
    }

    // A private copy first, checked where it will be used: the chosen file
    // is only read, and a copy cut short replaces nothing.
    const QString incoming = p.dataDb + QStringLiteral(".new");
    QFile::remove(incoming);
    bool cancelled = false;
    const auto tracked = [&](qint64 done, qint64 total) {
        const bool go = !progress || progress(done, total);
        cancelled = !go;
        return go;
    };
    QString error;
    if (!core::db::copyDatabaseFile(source, incoming, tracked, &error)) {
        QFile::remove(incoming);
        if (cancelled) {
            return {CopyOutcome::Cancelled, FileKind::Data, error};
        }
        return {CopyOutcome::Failed, FileKind::Data, error};
    }
    {
        auto copy = core::db::Database::open(incoming, &error);
        FileKind kind = copy ? core::db::kindByTables(*copy) : FileKind::Damaged;
        if (copy && kind == FileKind::Data && !copy->integrityCheck(&detail)) {
            kind = FileKind::Damaged;
            error = detail.section(QLatin1Char('\n'), 0, 0);
        }
        if (kind != FileKind::Data) {
            copy.reset();
            QFile::remove(incoming);
            return {CopyOutcome::Refused, kind, error};
        }
    }

    // From here on no event runs until a data database is in place again.
    const QStringList aliases = core::db::detachFile(*core::workDb(), p.dataDb);
    const CopyOutcome outcome = replaceDataFile(incoming);
    core::db::attachAgain(*core::workDb(), p.dataDb, aliases);
    return outcome;
}

namespace {

CopyOutcome replaceDataFile(const QString& incoming) {
    const core::Paths& p = core::paths();
    QString error;
    std::unique_ptr<core::db::Database> current = core::releaseDataDb();
    current.reset();
    QFile::remove(backupPath());
    if (!renameOver(p.dataDb, backupPath())) {
        QFile::remove(incoming);
        auto again = core::db::Database::open(p.dataDb, &error);
        const bool reopened = again != nullptr;
        core::installDataDb(std::move(again));
        return {reopened ? CopyOutcome::Failed : CopyOutcome::NotPutBack, FileKind::Data,
                QStringLiteral("%1 を退避できません").arg(QDir::toNativeSeparators(p.dataDb))};
    }
    if (!renameOver(incoming, p.dataDb)) {
        QFile::remove(incoming);
        return putBack(QStringLiteral("%1 に置けません").arg(QDir::toNativeSeparators(p.dataDb)));
    }
    auto data = core::db::Database::open(p.dataDb, &error);
    if (!data) {
        QFile::remove(p.dataDb);
        return putBack(error);
    }
    // An older file gains the fields it lacks, and the settings row its stamp.
    core::createNewTable(*data, *core::workDb());
    if (!core::isCurrentSchema(*data)) {
        const QString why = data->lastError().isEmpty()
                                ? QStringLiteral("データファイルを新しい形式にできません")
                                : data->lastError();
        data.reset();
        QFile::remove(p.dataDb);
        return putBack(why);
    }
    core::installDataDb(std::move(data));
    QFile::remove(backupPath());
    return {};
}

} // namespace
} // namespace care
