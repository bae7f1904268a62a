#include "deletion.h"

#include "database.h"

#include <sqlite3.h>

namespace care {
namespace {

struct Statement {
    QString sql;
    QVariantList params;
};

// A file that cannot be written as a whole (damaged, full, read-only, held
// by another program) undoes the command. Any other failure concerns that
// statement alone, and the next one is still tried.
bool fileFailed(core::db::Database& data) {
    switch (sqlite3_errcode(data.handle()) & 0xff) {
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FULL:
    case SQLITE_READONLY:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_CANTOPEN:
    case SQLITE_NOMEM:
    case SQLITE_PROTOCOL:
        return true;
    default:
        return false;
    }
}

Deleted run(core::db::Database& data, const QList<Statement>& statements) {
    if (!data.isOpen()) {
        return {false, QStringLiteral("データベースが閉じています")};
    }
    core::db::Transaction tx(data);
    if (!tx.active()) {
        return {false, data.lastError()};
    }
    for (const Statement& s : statements) {
        if (!data.execute(s.sql, s.params) && fileFailed(data)) {
            return {false, data.lastError()}; // rolled back as tx goes
        }
    }
    if (!tx.commit()) {
        return {false, data.lastError()};
    }
    return {};
}

QList<Statement> customerStatements() {
    return {{QStringLiteral("delete * from 着信履歴"), {}},
            {QStringLiteral("delete * from 顧客マスタ"), {}},
            {QStringLiteral("delete * from 電話番号"), {}}};
}

const Statement kCodeNames{QStringLiteral("update コードマスタ set sname = null "), {}};

} // namespace

Deleted deleteAllKokyaku(core::db::Database& data) {
    return run(data, customerStatements());
}

Deleted delAllCodeMaster(core::db::Database& data) {
    return run(data, {kCodeNames});
}

Deleted deleteAllCalls(core::db::Database& data) {
    return run(data, {{QStringLiteral("delete * from 着信履歴"), {}}});
}

Deleted deleteAllData(core::db::Database& data) {
    QList<Statement> all = customerStatements();
    all << kCodeNames << Statement{QStringLiteral("delete * from 自社情報"), {}};
    return run(data, all);
}

Deleted deleteCustomer(core::db::Database& data, qint32 code) {
    return run(data, {{QStringLiteral("delete * from 着信履歴 where code = ?"), {code}},
                      {QStringLiteral("delete * from 顧客マスタ where code = ?"), {code}},
                      {QStringLiteral("delete * from 電話番号 where code = ?"), {code}}});
}

} // namespace care
