#pragma once
// Translation of the Jet dialect that the screens write into SQLite:
// #date# literals, TOP n, "delete * from", [bracketed] and folded names,
// True/False, '&', "in '<file>'" external tables, and Jet's by-name
// "insert into T select * from S". Values still travel as '?' parameters.
//
// Two meanings of the old engine need more than a change of spelling: a
// yes/no field was never Null there, so in conditions a Null one tests as
// False (and a stored -1 as True); and '&' reads Null as an empty text.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace core::jetsql {

// What the translator needs to know of the database it translates for.
class Context {
public:
    virtual ~Context() = default;
    // Canonical spelling of a table or field name, matched folded; empty when unknown.
    virtual QString canonicalName(const QString& name) const = 0;
    // Schema alias under which the database file at path is attached; empty
    // with *error set when it cannot be.
    virtual QString attach(const QString& path, QString* error) = 0;
    // Fields of a table, in order; schema empty for the main database.
    virtual QStringList columnsOf(const QString& schema, const QString& table) const = 0;
    // Whether a field is a yes/no field: in one of the given tables (schema,
    // table), or, with no tables given, in every table that has a field of
    // that name.
    virtual bool isBoolean(const QString& field,
                           const QList<std::pair<QString, QString>>& tables) const = 0;
};

struct Translation {
    bool ok = false;
    QString error;
    QString sql;
    // For a select over one table (no join, grouping or DISTINCT): the table,
    // its schema, and the same statement selecting rowid only, the basis of
    // editable record sets.
    QString baseTable;
    QString baseSchema;
    QString keysetSql;
};

Translation translate(const QString& jet, Context& context);

// A text literal as SQLite reads it, with inner quotes doubled.
QString quoteText(const QString& text);

} // namespace core::jetsql
