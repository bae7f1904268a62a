#pragma once
// The stress data set of the benchmarks, made on first use in the build's
// stress/ folder and shared by every benchmark program.

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "database.h"
#include "paths.h"
#include "stressdata.h"
#include "upgrade.h"

namespace {

using core::db::Database;

const stress::Size kSize;
const QDate kLastDay(2026, 12, 10);

core::Paths stressPaths() {
    static const core::Paths p = [] {
        const QString dir = QStringLiteral(STRESS_DIR);
        core::Paths paths = core::Paths::forDataDir(dir);
        if (!QFileInfo::exists(dir + "/ready")) {
            QDir().mkpath(dir);
            for (const QString& n : {core::kDataDbName, core::kWorkDbName}) {
                QFile::remove(dir + "/" + n);
                QFile::copy(QStringLiteral(SHIPPED_DATA_DIR "/") + n, dir + "/" + n);
            }
            QString error;
            auto db = Database::open(paths.dataDb, &error);
            if (!db || !stress::fill(*db, kSize, kLastDay, &error)) {
                qFatal("stress data: %s", qPrintable(error));
            }
            // A plain-comparison twin of the customer names, for the folding figure.
            db->executeNative("CREATE TABLE plain_names (名称 VARCHAR(50) COLLATE BINARY)");
            db->executeNative("INSERT INTO plain_names SELECT 名称 FROM 顧客マスタ ORDER BY rowid");
            db->executeNative("CREATE INDEX plain_names_ix ON plain_names (名称)");
            auto work = Database::open(paths.workDb, &error);
            core::createNewTable(*db, *work);
            QFile ready(dir + "/ready");
            ready.open(QIODevice::WriteOnly);
        }
        return paths;
    }();
    return p;
}

} // namespace
