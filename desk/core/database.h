#pragma once
// The database layer every screen uses: open a file by path, execute
// statements in the Jet dialect, walk and edit record sets, read and extend
// table definitions. SQLite underneath; values travel as '?' parameters.
//
// Failures never throw: each call reports success, and lastError() says
// what went wrong in words a user can be shown.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace core::db {

class Database;

struct Translated {
    QString sql;
    QString baseTable;
    QString baseSchema;
    QString keysetSql;
};

struct Column {
    QString name;
    QString key; // folded name
    int type = 10;
    int size = 0;
};

// A cursor over the rows of a statement or a table, in the statement's
// order, positioned on the first row when opened.
class Recordset {
public:
    enum class Kind {
        Snapshot, // read-only, streamed
        Dynaset,  // editable; the statement must read one table
    };

    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    bool isOpen() const;
    bool bof() const;
    bool eof() const;
    void moveFirst();
    void moveNext();
    void moveLast();
    void movePrevious();
    // A position token of the current row (editable record sets), and a
    // move back to it; false when the token is unknown or its row is gone.
    QByteArray bookmark() const;
    bool setBookmark(const QByteArray& bookmark);

    // Null comes back as a null QVariant. Names are matched folded.
    QVariant field(const QString& name) const;
    bool hasField(const QString& name) const;
    // The stored form of a column of the current row, unconverted: for
    // readers that copy many rows and convert only what they show.
    QVariant storedValue(int column) const;
    QStringList fieldNames() const;
    // Field names with their type codes (0 for a computed column).
    QVector<Column> columns() const;

    bool addNew();
    bool edit();
    bool setField(const QString& name, const QVariant& value);
    bool update();
    void cancelUpdate();
    // Deletes the current row of an editable record set.
    bool remove();

    // Moves to the first row meeting a Jet criteria text such as
    // "チェック = True "; noMatch() tells when none did (position unchanged).
    bool findFirst(const QString& criteria);
    bool noMatch() const;

    void close();
    QString lastError() const;

private:
    friend class Database;
    struct Impl;
    explicit Recordset(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

struct FieldDef {
    QString name;
    int type = 10;
    int size = 0;
    bool allowZeroLength = false;
};

// A table's definition: its field list, and new fields appended to it.
class TableDef {
public:
    bool exists() const { return exists_; }
    const QString& name() const { return name_; }
    QVector<FieldDef> fields() const { return fields_; }
    FieldDef createField(const QString& name, int type, int size) const;
    // Adds the field to the table in the file at once.
    bool append(const FieldDef& field);
    QString lastError() const { return error_; }

private:
    friend class Database;
    Database* db_ = nullptr;
    QString name_;
    bool exists_ = false;
    QVector<FieldDef> fields_;
    QString error_;
};

class Database {
public:
    // Opens an existing database file of this system. A missing, empty or
    // foreign file is refused with a message naming the file; nothing is
    // created or changed.
    static std::unique_ptr<Database> open(const QString& path, QString* error);
    // Makes a new, empty database file; refuses to overwrite one.
    static std::unique_ptr<Database> create(const QString& path, QString* error);
    // Checks a file the way open() does, without opening it.
    static bool checkFile(const QString& path, QString* error);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }
    bool isOpen() const { return db_ != nullptr; }
    void close();

    bool execute(const QString& jet, const QVariantList& params = {});
    // Runs SQLite's own SQL untranslated: table definitions of the build tools.
    bool executeNative(const QString& sql);
    int rowsAffected() const { return changes_; }
    // A table name opens the whole table; anything else is a statement.
    Recordset openRecordset(const QString& sqlOrTable,
                            Recordset::Kind kind = Recordset::Kind::Snapshot,
                            const QVariantList& params = {});
    // First column of the first row, or a null QVariant.
    QVariant scalar(const QString& jet, const QVariantList& params = {});

    TableDef tableDef(const QString& table);
    QStringList tableNames() const;
    bool hasTable(const QString& table) const;

    bool integrityCheck(QString* detail = nullptr);
    const QString& lastError() const { return error_; }
    sqlite3* handle() const { return db_; }

    // Begins, commits and rolls back nested units of work (savepoints).
    bool begin();
    bool commit();
    void rollback();
    int transactionDepth() const { return depth_; }

private:
    friend class Recordset;
    friend class TableDef;
    struct TableInfo {
        QString schema; // empty for main
        QString name;
        QVector<Column> columns;
    };
    Database();
    bool setUp(QString* error);
    void loadSchema(const QString& schema);
    void schemaChanged();
    const TableInfo* tableInfo(const QString& schema, const QString& table) const;
    QString attachFile(const QString& path, QString* error);
    bool translate(const QString& jet, Translated* out);
    sqlite3_stmt* prepare(const QString& jet, const QVariantList& params, Translated* info);
    sqlite3_stmt* prepareRaw(const QString& sql);
    void release(sqlite3_stmt* stmt);
    bool bind(sqlite3_stmt* stmt, const QVariantList& params);
    void setError(const QString& message);
    void setSqliteError(const QString& context = {});

    sqlite3* db_ = nullptr;
    QString path_;
    QString error_;
    int changes_ = 0;
    int depth_ = 0;
    int attachCount_ = 0;
    QHash<QString, QString> attached_; // absolute path -> alias
    QHash<QString, QString> names_;    // folded name -> canonical
    QHash<QString, TableInfo> tables_; // schema + '\n' + folded table
    QHash<QString, Translated> translations_;
    QMultiHash<QString, sqlite3_stmt*> idle_; // prepared statements ready for reuse
    QSet<Recordset::Impl*> recordsets_;
    friend class JetContext;
    friend struct RecordsetAccess;
};

// Commits on commit(), rolls back when left without it.
class Transaction {
public:
    explicit Transaction(Database& db)
        : db_(db)
        , active_(db.begin()) {}
    ~Transaction() {
        if (active_) {
            db_.rollback();
        }
    }
    bool commit() {
        if (!active_) {
            return false;
        }
        active_ = false;
        return db_.commit();
    }
    bool active() const { return active_; }

private:
    Database& db_;
    bool active_;
};

// Converts a value for a field of the given type code into what is stored,
// or reports why it cannot be.
bool toStorage(int type, const QVariant& value, QVariant* out, QString* error);
QVariant fromStorage(int type, const QVariant& stored);

} // namespace core::db
