#include "sqlfold.h"

#include "fold.h"

// Built into the desk it calls SQLite directly; built into the loadable
// extension it calls through the routines the loading program hands over.
#ifdef JPFOLD_EXTENSION
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif

namespace core::fold {
namespace {

int collate(void*, int na, const void* a, int nb, const void* b) {
    return compareUtf8(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}

void likeFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // The pattern is usually the same for every row: compile it once.
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern) {
        auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        pattern = new LikePattern(p, sqlite3_value_bytes(argv[0]));
        sqlite3_set_auxdata(ctx, 0, pattern, [](void* v) { delete static_cast<LikePattern*>(v); });
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) {
            auto* again = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
            LikePattern once(again, sqlite3_value_bytes(argv[0]));
            auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
            sqlite3_result_int(ctx, once.matchesUtf8(t, sqlite3_value_bytes(argv[1])) ? 1 : 0);
            return;
        }
    }
    auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    sqlite3_result_int(ctx, pattern->matchesUtf8(t, sqlite3_value_bytes(argv[1])) ? 1 : 0);
}

} // namespace

int installSql(sqlite3* db) {
    const int rc = sqlite3_create_collation(db, "JPFOLD", SQLITE_UTF8, nullptr, collate);
    if (rc != SQLITE_OK) {
        return rc;
    }
    return sqlite3_create_function(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   likeFunction, nullptr, nullptr);
}

} // namespace core::fold
