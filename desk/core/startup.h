#pragma once
// Start-up of the desk without its screens: fix the paths, open the work
// and then the data database, bring the schema up to date and load the
// settings. Both handles stay open for the whole run.

#include <QString>
#include <memory>

#include "database.h"
#include "paths.h"

namespace core {

// Runs the start-up steps. On failure *error holds the engine's message and
// nothing stays open.
bool startUp(const Paths& paths, QString* error);

// Closes the data database, then the work database.
void shutDown();

// The open handles of this run (null before start-up and after shut-down).
db::Database* dataDb();
db::Database* workDb();

// The data-care screens replace the data database's file: they take the
// handle (closing it leaves the file free) and put the reopened one back.
std::unique_ptr<db::Database> releaseDataDb();
void installDataDb(std::unique_ptr<db::Database> data);

} // namespace core
