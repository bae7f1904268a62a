#pragma once
// The folding of text comparisons on an SQLite connection: the collation
// JPFOLD that every text column is declared with, and like() with the old
// engine's wildcards, both folded. The desk installs them on each file it
// opens; the loadable extension beside the program installs the same two in
// other tools, so the sqlite3 shell reads, searches and orders as the desk.

struct sqlite3;

namespace core::fold {

// SQLITE_OK, or the code of the registration that failed.
int installSql(sqlite3* db);

} // namespace core::fold
