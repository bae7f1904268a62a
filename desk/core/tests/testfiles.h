#pragma once
// Temporary copies of the shipped data files, so a test can change them freely.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "database.h"
#include "paths.h"

struct TestFiles {
    QTemporaryDir dir;
    core::Paths paths;

    TestFiles() {
        paths = core::Paths::forDataDir(dir.path());
        for (const QString& name : {core::kDataDbName, core::kWorkDbName, core::kPostalDbName}) {
            const QString from = QStringLiteral(SHIPPED_DATA_DIR) + QLatin1Char('/') + name;
            if (!QFile::copy(from, paths.dataDir + name)) {
                qFatal("cannot copy %s", qPrintable(from));
            }
            QFile(paths.dataDir + name).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        }
    }
    std::unique_ptr<core::db::Database> open(const QString& path) const {
        QString error;
        auto db = core::db::Database::open(path, &error);
        if (!db) {
            qFatal("%s", qPrintable(error));
        }
        return db;
    }
    std::unique_ptr<core::db::Database> data() const { return open(paths.dataDb); }
    std::unique_ptr<core::db::Database> work() const { return open(paths.workDb); }
};

// A fresh database file with one table made from SQLite DDL.
inline std::unique_ptr<core::db::Database> scratchDb(const QString& path, const QStringList& ddl) {
    QString error;
    auto db = core::db::Database::create(path, &error);
    if (!db) {
        qFatal("%s", qPrintable(error));
    }
    for (const QString& s : ddl) {
        if (!db->executeNative(s)) {
            qFatal("%s: %s", qPrintable(s), qPrintable(db->lastError()));
        }
    }
    return db;
}
