#pragma once
// The one definition of every table of the three database files. The build
// makes the shipped files from it, the upgrade catalogue is generated from
// it, and the tests check the files against it.

#include <QString>
#include <QStringList>
#include <vector>

namespace core::schema {

// Field type codes of the Jet engine's published numbering, kept because the
// upgrade catalogue stores them.
enum TypeCode : int {
    Boolean = 1,
    Byte = 2,
    Integer = 3,
    Long = 4,
    Currency = 5,
    Single = 6,
    Double = 7,
    DateTime = 8,
    Text = 10,
    LongBinary = 11,
    Memo = 12,
};

enum class File { Data, Work, Postal };

struct Field {
    QString name;
    int type = Text;
    int size = 0;            // characters for Text; 0 elsewhere
    bool autoNumber = false; // assigned by the database in insertion order
};

struct Table {
    File file;
    QString name;
    std::vector<Field> fields;
    std::vector<QStringList> indexes; // each a list of field names
};

const std::vector<Table>& tables();
std::vector<const Table*> tablesOf(File file);
const Table* find(File file, const QString& name);

// Column declaration for a type code and size, e.g. VARCHAR(50) COLLATE JPFOLD.
QString columnDecl(int type, int size, bool autoNumber = false);
// The reverse: type code and size from a declared type.
struct TypeAndSize {
    int type = Text;
    int size = 0;
};
TypeAndSize typeOfDecl(const QString& decl);

QString quoteIdent(const QString& name);
QStringList createStatements(const Table& table);

// The schema version stamped into the settings row.
inline const QString kVersion = QStringLiteral("2.18");

} // namespace core::schema
