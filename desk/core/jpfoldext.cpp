// The loadable SQLite extension libjpfold: the desk's folding collation and
// like() for other tools, e.g. in the sqlite3 shell beside the program:
//
//   sqlite3 data/RbCtiData2K.mdb
//   .load ./libjpfold

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include "sqlfold.h"

extern "C" __attribute__((visibility("default"))) int
sqlite3_jpfold_init(sqlite3* db, char** error, const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    const int rc = core::fold::installSql(db);
    if (rc != SQLITE_OK && error) {
        *error = sqlite3_mprintf("jpfold: %s", sqlite3_errstr(rc));
    }
    return rc;
}
