#include "dbcopy.h"

#include "database.h"
#include "schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cstdio>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace core::db {
namespace {

// Pages per backup step: small enough for a progress bar that moves and for
// events to run, large enough that the steps cost nothing measurable.
constexpr int kPagesPerStep = 2048;

QString utf8(const char* s) {
    return QString::fromUtf8(s ? s : "");
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Data reaches the disk before the name is switched, and the switch itself
// before we report success.
bool syncFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}
void syncDir(const QString& dir) {
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void removeWithJournal(const QString& path) {
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

QString partName(const QString& target) {
    const QFileInfo t(target);
    return t.absolutePath() + QStringLiteral("/.") + t.fileName() +
           QStringLiteral(".part-%1-%2")
               .arg(QCoreApplication::applicationPid())
               .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

bool runBackup(sqlite3* source, const QString& target, const CopyProgress& progress,
               QString* error) {
    const QString targetDir = QFileInfo(target).absolutePath();
    if (!QFileInfo(targetDir).isDir()) {
        *error = QStringLiteral("フォルダ %1 がありません。").arg(native(targetDir));
        return false;
    }
    if (QFileInfo(target).isDir()) {
        *error = QStringLiteral("%1 はフォルダです。").arg(native(target));
        return false;
    }
    const QString part = partName(target);
    sqlite3* dest = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(part).constData(), &dest,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        *error = QStringLiteral("%1 に書き込めません: %2")
                     .arg(native(targetDir), utf8(dest ? sqlite3_errmsg(dest) : nullptr));
        sqlite3_close_v2(dest);
        removeWithJournal(part);
        return false;
    }
    // The part file is nobody's database until it is complete: no journal,
    // one sync at the end.
    sqlite3_exec(dest, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;", nullptr, nullptr,
                 nullptr);
    bool ok = false;
    bool cancelled = false;
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", source, "main");
    if (b) {
        int rc = SQLITE_OK;
        int busyTries = 0;
        for (;;) {
            rc = sqlite3_backup_step(b, kPagesPerStep);
            if (rc == SQLITE_DONE) {
                break;
            }
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
                // Another program holds the source for a moment.
                if (++busyTries > 200) {
                    break;
                }
                sqlite3_sleep(25);
                continue;
            }
            if (rc != SQLITE_OK) {
                break;
            }
            busyTries = 0;
            if (progress) {
                const int total = sqlite3_backup_pagecount(b);
                if (!progress(total - sqlite3_backup_remaining(b), total)) {
                    cancelled = true;
                    break;
                }
            }
        }
        if (progress && rc == SQLITE_DONE) {
            const int total = sqlite3_backup_pagecount(b);
            progress(total, total);
        }
        sqlite3_backup_finish(b);
        ok = rc == SQLITE_DONE;
        if (!ok && !cancelled) {
            *error = QStringLiteral("%1 にコピーできません: %2")
                         .arg(native(target), utf8(sqlite3_errstr(rc)));
        }
    } else {
        *error = QStringLiteral("%1 にコピーできません: %2")
                     .arg(native(target), utf8(sqlite3_errmsg(dest)));
    }
    if (cancelled) {
        *error = QStringLiteral("コピーを取り消しました。");
    }
    if (sqlite3_close(dest) != SQLITE_OK) {
        ok = false;
        sqlite3_close_v2(dest);
    }
    if (ok && !syncFile(part)) {
        ok = false;
        *error = QStringLiteral("%1 に書き込めません。").arg(native(target));
    }
    if (ok) {
        // The copy must open as what it was: a database of this system.
        QString why;
        if (!Database::checkFile(part, &why)) {
            ok = false;
            *error = QStringLiteral("コピーが正しく書けていません。");
        }
    }
    if (ok && std::rename(QFile::encodeName(part).constData(),
                          QFile::encodeName(target).constData()) != 0) {
        ok = false;
        *error = QStringLiteral("%1 に書き込めません。").arg(native(target));
    }
    if (!ok) {
        removeWithJournal(part);
        return false;
    }
    syncDir(targetDir);
    return true;
}

} // namespace

bool saveSnapshot(Database& source, const QString& target, const CopyProgress& progress,
                  QString* error) {
    QString dummy;
    error = error ? error : &dummy;
    if (!source.isOpen()) {
        *error = QStringLiteral("データベースが閉じています。");
        return false;
    }
    if (sameFile(source.path(), target)) {
        *error = QStringLiteral("%1 はコピー元のファイルそのものです。").arg(native(target));
        return false;
    }
    return runBackup(source.handle(), target, progress, error);
}

bool copyDatabaseFile(const QString& sourcePath, const QString& target,
                      const CopyProgress& progress, QString* error) {
    QString dummy;
    error = error ? error : &dummy;
    if (sameFile(sourcePath, target)) {
        *error = QStringLiteral("%1 はコピー元のファイルそのものです。").arg(native(target));
        return false;
    }
    sqlite3* src = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(sourcePath).constData(), &src, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK) {
        *error = QStringLiteral("%1 を開けません: %2")
                     .arg(native(sourcePath), utf8(src ? sqlite3_errmsg(src) : nullptr));
        sqlite3_close_v2(src);
        return false;
    }
    sqlite3_busy_timeout(src, 2000);
    const bool ok = runBackup(src, target, progress, error);
    sqlite3_close_v2(src);
    return ok;
}

FileKind kindByHeader(const QString& path, QString* detail) {
    QString dummy;
    detail = detail ? detail : &dummy;
    const QFileInfo info(path);
    if (!info.exists()) {
        return FileKind::Missing;
    }
    if (!info.isFile()) {
        return FileKind::NotDatabase;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *detail = f.errorString();
        return FileKind::Unreadable;
    }
    const QByteArray head = f.read(100);
    if (head.isEmpty()) {
        return f.error() == QFileDevice::NoError ? FileKind::Empty : FileKind::Unreadable;
    }
    if (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB") {
        return FileKind::Jet;
    }
    if (!head.startsWith(QByteArray("SQLite format 3\0", 16)) || head.size() < 100) {
        return FileKind::NotDatabase;
    }
    // A database file: ours when the layer would open it.
    if (!Database::checkFile(path, detail)) {
        return FileKind::Foreign;
    }
    return FileKind::Data;
}

FileKind kindByTables(const Database& db) {
    const auto hasAll = [&db](schema::File file) {
        for (const schema::Table* t : schema::tablesOf(file)) {
            if (!db.hasTable(t->name)) {
                return false;
            }
        }
        return true;
    };
    // The tables every data file of every version has; the upgrade adds
    // fields but never a table.
    static const QStringList kDataCore = {QStringLiteral("顧客マスタ"), QStringLiteral("電話番号"),
                                          QStringLiteral("着信履歴"), QStringLiteral("自社情報")};
    bool data = true;
    for (const QString& t : kDataCore) {
        data = data && db.hasTable(t);
    }
    if (data) {
        return FileKind::Data;
    }
    if (db.hasTable(QStringLiteral("郵便番号")) || hasAll(schema::File::Postal)) {
        return FileKind::Postal;
    }
    if (db.hasTable(QStringLiteral("テーブル更新情報")) ||
        db.hasTable(QStringLiteral("w着信表示")) || hasAll(schema::File::Work)) {
        return FileKind::Work;
    }
    return FileKind::NoData;
}

QStringList detachFile(Database& db, const QString& path) {
    QStringList aliases;
    if (!db.isOpen()) {
        return aliases;
    }
    db.executeNative(QStringLiteral("SELECT 1")); // drops the statements kept for reuse
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db.handle(), "PRAGMA database_list", -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            const QString alias = utf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
            const QString file = utf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)));
            if (alias != QLatin1String("main") && alias != QLatin1String("temp") &&
                !file.isEmpty() && sameFile(file, path)) {
                aliases << alias;
            }
        }
    }
    sqlite3_finalize(st);
    for (const QString& alias : aliases) {
        const QByteArray sql = QStringLiteral("DETACH DATABASE %1").arg(alias).toUtf8();
        sqlite3_exec(db.handle(), sql.constData(), nullptr, nullptr, nullptr);
    }
    return aliases;
}

void attachAgain(Database& db, const QString& path, const QStringList& aliases) {
    if (!db.isOpen() || aliases.isEmpty()) {
        return;
    }
    const QByteArray file = QFileInfo(path).absoluteFilePath().toUtf8();
    for (const QString& alias : aliases) {
        sqlite3_stmt* st = nullptr;
        const QByteArray sql = QStringLiteral("ATTACH DATABASE ? AS %1").arg(alias).toUtf8();
        if (sqlite3_prepare_v2(db.handle(), sql.constData(), -1, &st, nullptr) == SQLITE_OK) {
            sqlite3_bind_text(st, 1, file.constData(), static_cast<int>(file.size()),
                              SQLITE_TRANSIENT);
            sqlite3_step(st);
        }
        sqlite3_finalize(st);
    }
    db.executeNative(QStringLiteral("SELECT 1")); // reads the attached tables afresh
}

bool sameFile(const QString& a, const QString& b) {
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    const QString ca = fa.canonicalFilePath();
    const QString cb = fb.canonicalFilePath();
    if (!ca.isEmpty() && !cb.isEmpty()) {
        return ca == cb;
    }
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

} // namespace core::db
