#pragma once
// Brings a data database made by an older version up to the current schema,
// driven by the catalogue テーブル更新情報 of the work database, and makes
// sure the settings row exists and carries the current version.

namespace core {
namespace db {
class Database;
class Recordset;
} // namespace db

// True when the settings row is stamped with the current schema version.
bool isCurrentSchema(db::Database& data);

// Writes the initial values of a new settings row into a record set that
// is adding it.
void setInitialSettings(db::Recordset& row);

// The start-up upgrade (CreateNewTable). Continues past every failure.
void createNewTable(db::Database& data, db::Database& work);

} // namespace core
