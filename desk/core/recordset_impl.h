#pragma once
// Internals shared by the database and its record sets.

#include "database.h"

#include <sqlite3.h>

namespace core::db {

QVariant columnValue(sqlite3_stmt* stmt, int i);
int typeOfColumn(sqlite3_stmt* stmt, int i);

struct Recordset::Impl {
    Database* db = nullptr;
    Recordset::Kind kind = Recordset::Kind::Snapshot;
    QString error;
    QVariantList params;
    Translated tr;

    // Columns of the rows handed out, with folded names for lookups.
    QVector<Column> columns;
    QHash<QString, int> byKey;
    mutable QHash<QString, int> byName; // names as callers spell them

    // Snapshot: a statement stepped as the cursor moves.
    sqlite3_stmt* stmt = nullptr;
    bool hasRow = false;
    qint64 rowNumber = 0; // rows stepped since the last reset

    // Dynaset: the row ids in statement order, and the current row.
    QVector<qint64> keys;
    qsizetype pos = 0;
    QVector<QVariant> row; // converted values of the current row
    bool rowLoaded = false;
    QString table;    // canonical table name
    QString tableRef; // schema-qualified, quoted

    enum class Mode { None, Edit, Add } mode = Mode::None;
    QHash<int, QVariant> buffer;
    bool noMatch = false;
    bool atBof = false;

    ~Impl();
    void detach();
    bool openSnapshot(const QString& jet);
    bool openDynaset(const QString& jet);
    void stepSnapshot();
    void loadRow();
    int indexOf(const QString& name) const;
    bool fail(const QString& message);
};

} // namespace core::db
