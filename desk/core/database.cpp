#include "database.h"
#include "recordset_impl.h"

#include "dateformat.h"
#include "fold.h"
#include "jetsql.h"
#include "schema.h"
#include "sqlfold.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace core::db {
namespace {

// Marks our files, so that another program's SQLite file is refused.
constexpr int kApplicationId = 0x52424354;

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString utf8(const char* s) {
    return QString::fromUtf8(s ? s : "");
}

// The old engine's '&': Null reads as an empty text, and only an all-Null
// concatenation is Null.
void concatFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    QByteArray out;
    bool any = false;
    for (int i = 0; i < argc; ++i) {
        switch (sqlite3_value_type(argv[i])) {
        case SQLITE_NULL:
            continue;
        case SQLITE_FLOAT:
            // 2.0 reads "2", as the old engine wrote a number.
            out += QByteArray::number(sqlite3_value_double(argv[i]), 'g', 15);
            break;
        default:
            out.append(reinterpret_cast<const char*>(sqlite3_value_text(argv[i])),
                       sqlite3_value_bytes(argv[i]));
            break;
        }
        any = true;
    }
    if (!any) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

} // namespace

QVariant columnValue(sqlite3_stmt* stmt, int i) {
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER: {
        qint64 v = sqlite3_column_int64(stmt, i);
        if (v >= INT_MIN && v <= INT_MAX) {
            return QVariant(static_cast<int>(v));
        }
        return QVariant(v);
    }
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, i));
    case SQLITE_TEXT:
        return QVariant(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                              sqlite3_column_bytes(stmt, i)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, i)),
                                   sqlite3_column_bytes(stmt, i)));
    default:
        return QVariant();
    }
}

int typeOfColumn(sqlite3_stmt* stmt, int i) {
    const char* decl = sqlite3_column_decltype(stmt, i);
    if (!decl) {
        return 0; // an expression: keep what SQLite gives
    }
    return schema::typeOfDecl(utf8(decl)).type;
}

// ---------------------------------------------------------------- conversion

bool toStorage(int type, const QVariant& value, QVariant* out, QString* error) {
    if (!value.isValid() || value.isNull()) {
        *out = QVariant();
        return true;
    }
    using namespace schema;
    switch (type) {
    case Boolean: {
        if (value.typeId() == QMetaType::QString) {
            const QString s = value.toString().trimmed();
            if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                s == QLatin1String("-1") || s == QLatin1String("1")) {
                *out = 1;
                return true;
            }
            if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
                s == QLatin1String("0")) {
                *out = 0;
                return true;
            }
            *error = QStringLiteral("「%1」は はい/いいえ の値ではありません").arg(s);
            return false;
        }
        *out = value.toBool() ? 1 : 0;
        return true;
    }
    case Byte:
    case Integer:
    case Long: {
        bool ok = false;
        qlonglong v = value.typeId() == QMetaType::Double ? qRound64(value.toDouble())
                                                          : value.toLongLong(&ok);
        if (value.typeId() == QMetaType::Double) {
            ok = true;
        }
        if (value.typeId() == QMetaType::Bool) {
            v = value.toBool() ? -1 : 0;
            ok = true;
        }
        if (!ok) {
            *error = QStringLiteral("「%1」は数値ではありません").arg(value.toString());
            return false;
        }
        const qlonglong lo = type == Byte ? 0 : type == Integer ? -32768 : INT_MIN;
        const qlonglong hi = type == Byte ? 255 : type == Integer ? 32767 : INT_MAX;
        if (v < lo || v > hi) {
            *error = QStringLiteral("%1 は範囲外の値です").arg(v);
            return false;
        }
        *out = v;
        return true;
    }
    case Currency:
    case Single:
    case Double: {
        bool ok = false;
        double v = value.toDouble(&ok);
        if (!ok) {
            *error = QStringLiteral("「%1」は数値ではありません").arg(value.toString());
            return false;
        }
        *out = v;
        return true;
    }
    case DateTime: {
        std::optional<QDateTime> when;
        switch (value.typeId()) {
        case QMetaType::QDateTime:
            when = value.toDateTime();
            break;
        case QMetaType::QDate:
            when = QDateTime(value.toDate(), QTime(0, 0));
            break;
        case QMetaType::QTime:
            when = QDateTime(dates::nullDate(), value.toTime());
            break;
        default:
            when = dates::parseYearFirst(value.toString());
            break;
        }
        if (!when || !when->isValid()) {
            *error = QStringLiteral("「%1」は日付として読めません").arg(value.toString());
            return false;
        }
        *out = dates::storageText(*when);
        return true;
    }
    case LongBinary:
        *out = value.toByteArray();
        return true;
    case Text:
    case Memo:
    default:
        *out = value.toString();
        return true;
    }
}

QVariant fromStorage(int type, const QVariant& stored) {
    if (!stored.isValid() || stored.isNull()) {
        return QVariant();
    }
    using namespace schema;
    switch (type) {
    case Boolean:
        return QVariant(stored.toLongLong() != 0);
    case Byte:
    case Integer:
    case Long:
        return QVariant(stored.toInt());
    case Currency:
    case Single:
    case Double:
        return QVariant(stored.toDouble());
    case DateTime: {
        auto when = dates::fromStorageText(stored.toString());
        return when ? QVariant(*when) : stored;
    }
    case Text:
    case Memo:
        return QVariant(stored.toString());
    default:
        return stored;
    }
}

// ---------------------------------------------------------------- context

class JetContext : public jetsql::Context {
public:
    explicit JetContext(Database& db)
        : db_(db) {}
    QString canonicalName(const QString& name) const override {
        return db_.names_.value(fold::key(name));
    }
    QString attach(const QString& path, QString* error) override {
        return db_.attachFile(path, error);
    }
    QStringList columnsOf(const QString& schema, const QString& table) const override {
        QStringList out;
        if (const auto* t = db_.tableInfo(schema, table)) {
            for (const Column& c : t->columns) {
                out << c.name;
            }
        }
        return out;
    }
    bool isBoolean(const QString& field,
                   const QList<std::pair<QString, QString>>& tables) const override {
        const QString key = fold::key(field);
        auto typeIn = [&](const Database::TableInfo& t) {
            for (const Column& c : t.columns) {
                if (c.key == key) {
                    return c.type;
                }
            }
            return -1;
        };
        if (!tables.isEmpty()) {
            for (const auto& [schema, table] : tables) {
                const auto* t =
                    db_.tableInfo(schema == QLatin1String("main") ? QString() : schema, table);
                if (t && typeIn(*t) == schema::Boolean) {
                    return true;
                }
            }
            return false;
        }
        // A criteria text without its table: a yes/no field wherever it is.
        bool found = false;
        for (const Database::TableInfo& t : std::as_const(db_.tables_)) {
            const int type = typeIn(t);
            if (type == -1) {
                continue;
            }
            if (type != schema::Boolean) {
                return false;
            }
            found = true;
        }
        return found;
    }

private:
    Database& db_;
};

// ---------------------------------------------------------------- database

Database::Database() = default;

Database::~Database() {
    close();
}

bool Database::checkFile(const QString& path, QString* error) {
    const QString shown = nativePath(path);
    QFileInfo info(path);
    if (!info.exists()) {
        *error = QStringLiteral("データベースファイル %1 がありません。").arg(shown);
        return false;
    }
    if (!info.isFile()) {
        *error = QStringLiteral("%1 はファイルではありません。").arg(shown);
        return false;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("データベースファイル %1 を読めません (%2)。")
                     .arg(shown, f.errorString());
        return false;
    }
    const QByteArray head = f.read(100);
    if (head.isEmpty()) {
        *error = QStringLiteral("データベースファイル %1 は空です。データベースではありません。")
                     .arg(shown);
        return false;
    }
    if (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB") {
        *error = QStringLiteral("データベースファイル %1 は旧 Windows 版の形式 (Jet) のままです。"
                                "この形式は読めません。移行したファイルを置いてください。")
                     .arg(shown);
        return false;
    }
    if (!head.startsWith(QByteArray("SQLite format 3\0", 16)) || head.size() < 100) {
        *error = QStringLiteral("%1 はデータベースファイルではありません。").arg(shown);
        return false;
    }
    const auto* h = reinterpret_cast<const unsigned char*>(head.constData());
    const int appId = (h[68] << 24) | (h[69] << 16) | (h[70] << 8) | h[71];
    if (appId != kApplicationId) {
        *error = QStringLiteral("%1 はこのシステムのデータベースではありません。").arg(shown);
        return false;
    }
    return true;
}

std::unique_ptr<Database> Database::open(const QString& path, QString* error) {
    QString dummy;
    error = error ? error : &dummy;
    if (!checkFile(path, error)) {
        return nullptr;
    }
    std::unique_ptr<Database> db(new Database);
    db->path_ = QFileInfo(path).absoluteFilePath();
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db->db_, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        *error = QStringLiteral("データベースファイル %1 を開けません: %2")
                     .arg(nativePath(path),
                          db->db_ ? utf8(sqlite3_errmsg(db->db_)) : utf8(sqlite3_errstr(rc)));
        return nullptr;
    }
    if (!db->setUp(error)) {
        return nullptr;
    }
    return db;
}

std::unique_ptr<Database> Database::create(const QString& path, QString* error) {
    QString dummy;
    error = error ? error : &dummy;
    if (QFileInfo::exists(path)) {
        *error = QStringLiteral("ファイル %1 は既にあります。").arg(nativePath(path));
        return nullptr;
    }
    std::unique_ptr<Database> db(new Database);
    db->path_ = QFileInfo(path).absoluteFilePath();
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db->db_,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        *error = QStringLiteral("データベースファイル %1 を作れません: %2")
                     .arg(nativePath(path), utf8(sqlite3_errstr(rc)));
        return nullptr;
    }
    char* msg = nullptr;
    const QByteArray init = QStringLiteral("PRAGMA application_id = %1; PRAGMA user_version = 1;")
                                .arg(kApplicationId)
                                .toUtf8();
    if (sqlite3_exec(db->db_, init.constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
        *error = utf8(msg);
        sqlite3_free(msg);
        return nullptr;
    }
    if (!db->setUp(error)) {
        return nullptr;
    }
    return db;
}

bool Database::setUp(QString* error) {
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 5000);
    fold::installSql(db_);
    sqlite3_create_function(db_, "jet_concat", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            concatFunction, nullptr, nullptr);
    // A rollback journal with full syncs: a write that returned is on disk,
    // a write cut short by a killed process is rolled back at the next open,
    // and the file stays one file that backups can copy whole.
    char* msg = nullptr;
    int rc = sqlite3_exec(db_, "PRAGMA journal_mode = DELETE; PRAGMA synchronous = FULL;", nullptr,
                          nullptr, &msg);
    if (rc == SQLITE_OK) {
        sqlite3_free(msg);
        msg = nullptr;
        // Reading the schema is where a damaged file shows itself.
        rc = sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &msg);
    }
    if (rc != SQLITE_OK) {
        *error = QStringLiteral("データベースファイル %1 は壊れているか読めません: %2")
                     .arg(nativePath(path_), utf8(msg ? msg : sqlite3_errmsg(db_)));
        sqlite3_free(msg);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        return false;
    }
    loadSchema(QString());
    return true;
}

void Database::close() {
    for (Recordset::Impl* r : std::as_const(recordsets_)) {
        r->detach();
    }
    recordsets_.clear();
    for (sqlite3_stmt* s : std::as_const(idle_)) {
        sqlite3_finalize(s);
    }
    idle_.clear();
    if (db_) {
        while (depth_ > 0) {
            rollback();
        }
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

void Database::setError(const QString& message) {
    error_ = message;
}

void Database::setSqliteError(const QString& context) {
    QString m = db_ ? utf8(sqlite3_errmsg(db_)) : QStringLiteral("データベースが閉じています");
    error_ = context.isEmpty() ? m : context + QStringLiteral(": ") + m;
}

void Database::loadSchema(const QString& schema) {
    const QString prefix = schema.isEmpty() ? QStringLiteral("main") : schema;
    QStringList tables;
    {
        sqlite3_stmt* st = nullptr;
        const QByteArray sql =
            QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'table'")
                .arg(prefix)
                .toUtf8();
        if (sqlite3_prepare_v2(db_, sql.constData(), -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW) {
                QString name = utf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
                if (!name.startsWith(QLatin1String("sqlite_"))) {
                    tables << name;
                }
            }
        }
        sqlite3_finalize(st);
    }
    for (const QString& t : tables) {
        TableInfo info;
        info.schema = schema;
        info.name = t;
        sqlite3_stmt* st = nullptr;
        const QByteArray sql =
            QStringLiteral("PRAGMA %1.table_info(%2)").arg(prefix, schema::quoteIdent(t)).toUtf8();
        if (sqlite3_prepare_v2(db_, sql.constData(), -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW) {
                Column c;
                c.name = utf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
                c.key = fold::key(c.name);
                auto ts = schema::typeOfDecl(
                    utf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2))));
                c.type = ts.type;
                c.size = ts.size;
                info.columns << c;
                if (!names_.contains(c.key)) {
                    names_.insert(c.key, c.name);
                }
            }
        }
        sqlite3_finalize(st);
        const QString key = fold::key(t);
        if (!names_.contains(key)) {
            names_.insert(key, t);
        }
        tables_.insert(schema + QLatin1Char('\n') + key, info);
    }
}

void Database::schemaChanged() {
    translations_.clear();
    for (sqlite3_stmt* s : std::as_const(idle_)) {
        sqlite3_finalize(s);
    }
    idle_.clear();
    names_.clear();
    tables_.clear();
    loadSchema(QString());
    for (const QString& alias : std::as_const(attached_)) {
        loadSchema(alias);
    }
}

const Database::TableInfo* Database::tableInfo(const QString& schema, const QString& table) const {
    auto it = tables_.constFind(schema + QLatin1Char('\n') + fold::key(table));
    return it == tables_.constEnd() ? nullptr : &*it;
}

QString Database::attachFile(const QString& path, QString* error) {
    const QString abs = QFileInfo(path).absoluteFilePath();
    if (abs == path_) {
        return QStringLiteral("main");
    }
    if (auto it = attached_.constFind(abs); it != attached_.constEnd()) {
        return *it;
    }
    // ATTACH would create a missing file: check it as open() does.
    if (!checkFile(abs, error)) {
        return {};
    }
    const QString alias = QStringLiteral("ext%1").arg(++attachCount_);
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = QStringLiteral("ATTACH DATABASE ? AS %1").arg(alias).toUtf8();
    int rc = sqlite3_prepare_v2(db_, sql.constData(), -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray p = abs.toUtf8();
        sqlite3_bind_text(st, 1, p.constData(), p.size(), SQLITE_TRANSIENT);
        rc = sqlite3_step(st);
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) {
        *error = QStringLiteral("データベースファイル %1 を参照できません: %2")
                     .arg(nativePath(abs), utf8(sqlite3_errmsg(db_)));
        return {};
    }
    attached_.insert(abs, alias);
    loadSchema(alias);
    translations_.clear();
    return alias;
}

bool Database::translate(const QString& jet, Translated* out) {
    if (auto it = translations_.constFind(jet); it != translations_.constEnd()) {
        *out = *it;
        return true;
    }
    JetContext ctx(*this);
    jetsql::Translation tr = jetsql::translate(jet, ctx);
    if (!tr.ok) {
        setError(tr.error);
        return false;
    }
    out->sql = tr.sql;
    out->baseTable = tr.baseTable;
    out->baseSchema = tr.baseSchema;
    out->keysetSql = tr.keysetSql;
    if (translations_.size() > 512) {
        translations_.clear();
    }
    translations_.insert(jet, *out);
    return true;
}

sqlite3_stmt* Database::prepareRaw(const QString& sql) {
    if (!db_) {
        setError(QStringLiteral("データベースが閉じています"));
        return nullptr;
    }
    if (auto it = idle_.find(sql); it != idle_.end()) {
        sqlite3_stmt* st = *it;
        idle_.erase(it);
        return st;
    }
    sqlite3_stmt* st = nullptr;
    const QByteArray bytes = sql.toUtf8();
    if (sqlite3_prepare_v3(db_, bytes.constData(), bytes.size(), SQLITE_PREPARE_PERSISTENT, &st,
                           nullptr) != SQLITE_OK) {
        setSqliteError();
        sqlite3_finalize(st);
        return nullptr;
    }
    return st;
}

void Database::release(sqlite3_stmt* stmt) {
    if (!stmt) {
        return;
    }
    if (!db_ || idle_.size() > 128) {
        sqlite3_finalize(stmt);
        return;
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    idle_.insert(utf8(sqlite3_sql(stmt)), stmt);
}

bool Database::bind(sqlite3_stmt* stmt, const QVariantList& params) {
    const int expected = sqlite3_bind_parameter_count(stmt);
    if (expected != params.size()) {
        setError(QStringLiteral("パラメータの数が合いません (%1 個必要、%2 個指定)")
                     .arg(expected)
                     .arg(params.size()));
        return false;
    }
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params[i];
        int rc = SQLITE_OK;
        if (!v.isValid() || v.isNull()) {
            rc = sqlite3_bind_null(stmt, i + 1);
        } else {
            switch (v.typeId()) {
            case QMetaType::Bool:
                rc = sqlite3_bind_int(stmt, i + 1, v.toBool() ? 1 : 0);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
            case QMetaType::Long:
                rc = sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(stmt, i + 1, v.toDouble());
                break;
            case QMetaType::QDateTime:
            case QMetaType::QDate:
            case QMetaType::QTime: {
                QVariant stored;
                QString err;
                if (!toStorage(schema::DateTime, v, &stored, &err)) {
                    setError(err);
                    return false;
                }
                const QByteArray b = stored.toString().toUtf8();
                rc = sqlite3_bind_text(stmt, i + 1, b.constData(), b.size(), SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                rc = sqlite3_bind_blob(stmt, i + 1, b.constData(), b.size(), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray b = v.toString().toUtf8();
                rc = sqlite3_bind_text(stmt, i + 1, b.constData(), b.size(), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK) {
            setSqliteError();
            return false;
        }
    }
    return true;
}

sqlite3_stmt* Database::prepare(const QString& jet, const QVariantList& params, Translated* info) {
    Translated local;
    Translated* tr = info ? info : &local;
    if (!translate(jet, tr)) {
        return nullptr;
    }
    sqlite3_stmt* st = prepareRaw(tr->sql);
    if (!st) {
        return nullptr;
    }
    if (!bind(st, params)) {
        release(st);
        return nullptr;
    }
    return st;
}

bool Database::execute(const QString& jet, const QVariantList& params) {
    changes_ = 0;
    Translated tr;
    sqlite3_stmt* st = prepare(jet, params, &tr);
    if (!st) {
        return false;
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    const bool ok = rc == SQLITE_DONE;
    if (!ok) {
        setSqliteError();
    } else {
        changes_ = sqlite3_changes(db_);
    }
    const QString head = tr.sql.left(8).trimmed().toUpper();
    release(st);
    if (ok && (head.startsWith(QLatin1String("CREATE")) ||
               head.startsWith(QLatin1String("ALTER")) || head.startsWith(QLatin1String("DROP")))) {
        schemaChanged();
    }
    return ok;
}

bool Database::executeNative(const QString& sql) {
    if (!db_) {
        setError(QStringLiteral("データベースが閉じています"));
        return false;
    }
    char* msg = nullptr;
    const QByteArray bytes = sql.toUtf8();
    if (sqlite3_exec(db_, bytes.constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
        setError(utf8(msg));
        sqlite3_free(msg);
        return false;
    }
    schemaChanged();
    return true;
}

QVariant Database::scalar(const QString& jet, const QVariantList& params) {
    sqlite3_stmt* st = prepare(jet, params, nullptr);
    if (!st) {
        return QVariant();
    }
    QVariant v;
    int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        int type = typeOfColumn(st, 0);
        v = type ? fromStorage(type, columnValue(st, 0)) : columnValue(st, 0);
    } else if (rc != SQLITE_DONE) {
        setSqliteError();
    }
    release(st);
    return v;
}

QStringList Database::tableNames() const {
    QStringList out;
    for (const TableInfo& t : tables_) {
        if (t.schema.isEmpty()) {
            out << t.name;
        }
    }
    out.sort();
    return out;
}

bool Database::hasTable(const QString& table) const {
    return tableInfo(QString(), table) != nullptr;
}

TableDef Database::tableDef(const QString& table) {
    TableDef def;
    def.db_ = this;
    def.name_ = table;
    if (const TableInfo* t = tableInfo(QString(), table)) {
        def.exists_ = true;
        def.name_ = t->name;
        for (const Column& c : t->columns) {
            def.fields_.push_back(
                {c.name, c.type, c.size, c.type == schema::Text || c.type == schema::Memo});
        }
    } else {
        def.error_ = QStringLiteral("テーブル %1 がありません").arg(table);
    }
    return def;
}

bool Database::integrityCheck(QString* detail) {
    sqlite3_stmt* st = nullptr;
    if (!db_ || sqlite3_prepare_v2(db_, "PRAGMA integrity_check", -1, &st, nullptr) != SQLITE_OK) {
        return false;
    }
    QStringList lines;
    while (sqlite3_step(st) == SQLITE_ROW) {
        lines << utf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    }
    sqlite3_finalize(st);
    if (detail) {
        *detail = lines.join('\n');
    }
    return lines == QStringList{QStringLiteral("ok")};
}

bool Database::begin() {
    if (!db_) {
        return false;
    }
    const QByteArray sql = QStringLiteral("SAVEPOINT sp%1").arg(depth_ + 1).toUtf8();
    if (sqlite3_exec(db_, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        setSqliteError();
        return false;
    }
    ++depth_;
    return true;
}

bool Database::commit() {
    if (!db_ || depth_ == 0) {
        return false;
    }
    const QByteArray sql = QStringLiteral("RELEASE sp%1").arg(depth_).toUtf8();
    if (sqlite3_exec(db_, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        setSqliteError();
        rollback();
        return false;
    }
    --depth_;
    return true;
}

void Database::rollback() {
    if (!db_ || depth_ == 0) {
        return;
    }
    const QByteArray sql = QStringLiteral("ROLLBACK TO sp%1; RELEASE sp%1").arg(depth_).toUtf8();
    sqlite3_exec(db_, sql.constData(), nullptr, nullptr, nullptr);
    --depth_;
}

// ---------------------------------------------------------------- table def

FieldDef TableDef::createField(const QString& name, int type, int size) const {
    return {name, type, size, false};
}

bool TableDef::append(const FieldDef& field) {
    if (!db_ || !exists_) {
        error_ = QStringLiteral("テーブル %1 がありません").arg(name_);
        return false;
    }
    // SQLite always stores a zero-length text; allowZeroLength needs no
    // column option here.
    const QString sql = QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                            .arg(schema::quoteIdent(name_), schema::quoteIdent(field.name),
                                 schema::columnDecl(field.type, field.size));
    const QByteArray bytes = sql.toUtf8();
    char* msg = nullptr;
    if (sqlite3_exec(db_->db_, bytes.constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
        error_ = utf8(msg);
        sqlite3_free(msg);
        return false;
    }
    db_->schemaChanged();
    fields_.push_back(field);
    return true;
}

} // namespace core::db
