// Writes numbered rows, one transaction each, and prints each number once
// its transaction has committed. The crash test kills it mid-stream.

#include "database.h"

#include <QDateTime>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    QString error;
    auto db = core::db::Database::open(QString::fromUtf8(argv[1]), &error);
    if (!db) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 1;
    }
    const QString memo(2000, QChar(0x3042));
    for (int i = 1;; ++i) {
        core::db::Transaction tx(*db);
        // Two writes that belong together: both or neither must survive.
        if (!db->execute("insert into 着信履歴 (日付, code, 名称, 用件メモ) values (?, ?, ?, ?)",
                         QVariantList{QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addSecs(i), i,
                                      "burst", memo}) ||
            !db->execute(
                "insert into 電話番号 (code, no, 名称, 電話番号) values (?, 1, 'burst', ?)",
                QVariantList{i, QString::number(i)}) ||
            !tx.commit()) {
            std::fprintf(stderr, "%s\n", db->lastError().toUtf8().constData());
            return 1;
        }
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
}
