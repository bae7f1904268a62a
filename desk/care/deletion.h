#pragma once
// The bulk deletions of the maintenance screen, without their questions and
// notices. Each command is one unit of work: it deletes all it names or
// nothing, so customers never go while their numbers stay behind.

#include <QString>
#include <QVariantList>

namespace core::db {
class Database;
}

namespace care {

struct Deleted {
    bool ok = true;
    QString error; // why nothing was deleted
};

// everything of the customers: the call log, the customers, their numbers
Deleted deleteAllKokyaku(core::db::Database& data);
// every name of every code list; the rows and their order stay
Deleted delAllCodeMaster(core::db::Database& data);
Deleted deleteAllCalls(core::db::Database& data);
// customers, call log, code names and the settings row, together
Deleted deleteAllData(core::db::Database& data);
// one customer's calls, record and numbers, by its code
Deleted deleteCustomer(core::db::Database& data, qint32 code);

} // namespace care
