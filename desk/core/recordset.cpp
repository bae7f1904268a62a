#include "fold.h"
#include "recordset_impl.h"
#include "schema.h"

namespace core::db {

// ---------------------------------------------------------------- impl

Recordset::Impl::~Impl() {
    if (db) {
        db->recordsets_.remove(this);
        db->release(stmt);
    }
}

void Recordset::Impl::detach() {
    if (stmt) {
        sqlite3_finalize(stmt);
        stmt = nullptr;
    }
    db = nullptr;
    hasRow = false;
    keys.clear();
}

bool Recordset::Impl::fail(const QString& message) {
    error = message;
    if (db) {
        db->setError(message);
    }
    return false;
}

int Recordset::Impl::indexOf(const QString& name) const {
    if (auto it = byName.constFind(name); it != byName.constEnd()) {
        return *it;
    }
    const int i = byKey.value(fold::key(name), -1);
    byName.insert(name, i);
    return i;
}

bool Recordset::Impl::openSnapshot(const QString& jet) {
    stmt = db->prepare(jet, params, &tr);
    if (!stmt) {
        return fail(db->lastError());
    }
    const int n = sqlite3_column_count(stmt);
    for (int i = 0; i < n; ++i) {
        Column c;
        c.name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        c.key = fold::key(c.name);
        c.type = typeOfColumn(stmt, i);
        columns << c;
        if (!byKey.contains(c.key)) {
            byKey.insert(c.key, i);
        }
    }
    stepSnapshot();
    atBof = !hasRow;
    return error.isEmpty();
}

void Recordset::Impl::stepSnapshot() {
    const int rc = sqlite3_step(stmt);
    hasRow = rc == SQLITE_ROW;
    if (hasRow) {
        ++rowNumber;
    }
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        fail(QString::fromUtf8(sqlite3_errmsg(db->handle())));
    }
}

bool Recordset::Impl::openDynaset(const QString& jet) {
    if (!db->translate(jet, &tr)) {
        return fail(db->lastError());
    }
    if (tr.baseTable.isEmpty() || tr.keysetSql.isEmpty()) {
        return fail(QStringLiteral("この問い合わせの結果は更新できません"));
    }
    const QString schemaAlias = tr.baseSchema == QLatin1String("main") ? QString() : tr.baseSchema;
    const auto* info = db->tableInfo(schemaAlias, tr.baseTable);
    if (!info) {
        return fail(QStringLiteral("テーブル %1 がありません").arg(tr.baseTable));
    }
    table = info->name;
    tableRef = (schemaAlias.isEmpty() ? QString() : schemaAlias + QLatin1Char('.')) +
               schema::quoteIdent(table);
    columns = info->columns;
    for (int i = 0; i < columns.size(); ++i) {
        byKey.insert(columns[i].key, i);
    }
    sqlite3_stmt* ks = db->prepareRaw(tr.keysetSql);
    if (!ks) {
        return fail(db->lastError());
    }
    if (!db->bind(ks, params)) {
        db->release(ks);
        return fail(db->lastError());
    }
    int rc;
    while ((rc = sqlite3_step(ks)) == SQLITE_ROW) {
        keys << sqlite3_column_int64(ks, 0);
    }
    if (rc != SQLITE_DONE) {
        fail(QString::fromUtf8(sqlite3_errmsg(db->handle())));
    }
    db->release(ks);
    pos = 0;
    atBof = keys.isEmpty();
    return error.isEmpty();
}

void Recordset::Impl::loadRow() {
    if (rowLoaded) {
        return;
    }
    row = QVector<QVariant>(columns.size());
    rowLoaded = true;
    if (!db || pos >= keys.size()) {
        return;
    }
    sqlite3_stmt* st =
        db->prepareRaw(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(tableRef));
    if (!st) {
        return;
    }
    sqlite3_bind_int64(st, 1, keys[pos]);
    if (sqlite3_step(st) == SQLITE_ROW) {
        const int n = std::min<int>(sqlite3_column_count(st), columns.size());
        for (int i = 0; i < n; ++i) {
            row[i] = fromStorage(columns[i].type, columnValue(st, i));
        }
    }
    db->release(st);
}

// ---------------------------------------------------------------- recordset

Recordset::Recordset() = default;
Recordset::Recordset(std::unique_ptr<Impl> impl)
    : d(std::move(impl)) {}
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

bool Recordset::isOpen() const {
    return d && d->db;
}

bool Recordset::bof() const {
    return !d || !d->db || d->atBof;
}

bool Recordset::eof() const {
    if (!d || !d->db) {
        return true;
    }
    if (d->kind == Kind::Snapshot) {
        return !d->hasRow;
    }
    return d->pos >= d->keys.size();
}

void Recordset::moveFirst() {
    if (!d || !d->db) {
        return;
    }
    d->mode = Impl::Mode::None;
    d->buffer.clear();
    if (d->kind == Kind::Snapshot) {
        sqlite3_reset(d->stmt);
        d->rowNumber = 0;
        d->stepSnapshot();
    } else {
        d->pos = 0;
        d->rowLoaded = false;
    }
}

void Recordset::moveLast() {
    if (!d || !d->db) {
        return;
    }
    d->mode = Impl::Mode::None;
    d->buffer.clear();
    if (d->kind == Kind::Dynaset) {
        d->pos = d->keys.isEmpty() ? 0 : d->keys.size() - 1;
        d->rowLoaded = false;
        return;
    }
    // A snapshot streams: walk to the end and step back onto the last row.
    qint64 last = d->rowNumber;
    while (d->hasRow) {
        last = d->rowNumber;
        d->stepSnapshot();
    }
    sqlite3_reset(d->stmt);
    d->rowNumber = 0;
    for (qint64 i = 0; i < last; ++i) {
        d->stepSnapshot();
    }
}

void Recordset::movePrevious() {
    if (!d || !d->db) {
        return;
    }
    d->mode = Impl::Mode::None;
    d->buffer.clear();
    if (d->kind == Kind::Dynaset) {
        if (d->pos > 0) {
            --d->pos;
            d->rowLoaded = false;
        }
        return;
    }
    const qint64 target = d->hasRow ? d->rowNumber - 1 : d->rowNumber;
    sqlite3_reset(d->stmt);
    d->rowNumber = 0;
    for (qint64 i = 0; i < std::max<qint64>(target, 1); ++i) {
        d->stepSnapshot();
    }
}

QByteArray Recordset::bookmark() const {
    if (!d || !d->db || d->kind != Kind::Dynaset || d->pos >= d->keys.size()) {
        return {};
    }
    return QByteArray::number(d->keys[d->pos]);
}

bool Recordset::setBookmark(const QByteArray& bookmark) {
    if (!d || !d->db || d->kind != Kind::Dynaset) {
        return false;
    }
    bool ok = false;
    const qint64 key = bookmark.toLongLong(&ok);
    const qsizetype at = ok ? d->keys.indexOf(key) : -1;
    if (at < 0) {
        return d->fail(QStringLiteral("無効な Bookmark です。"));
    }
    d->pos = at;
    d->rowLoaded = false;
    d->mode = Impl::Mode::None;
    d->buffer.clear();
    return true;
}

void Recordset::moveNext() {
    if (!d || !d->db) {
        return;
    }
    d->mode = Impl::Mode::None;
    d->buffer.clear();
    if (d->kind == Kind::Snapshot) {
        if (d->hasRow) {
            d->stepSnapshot();
        }
    } else if (d->pos < d->keys.size()) {
        ++d->pos;
        d->rowLoaded = false;
    }
}

bool Recordset::hasField(const QString& name) const {
    return d && d->indexOf(name) >= 0;
}

QStringList Recordset::fieldNames() const {
    QStringList out;
    if (d) {
        for (const Column& c : d->columns) {
            out << c.name;
        }
    }
    return out;
}

QVector<Column> Recordset::columns() const {
    return d ? d->columns : QVector<Column>();
}

QVariant Recordset::field(const QString& name) const {
    if (!d || !d->db) {
        return QVariant();
    }
    const int i = d->indexOf(name);
    if (i < 0) {
        d->fail(QStringLiteral("項目 %1 がありません").arg(name));
        return QVariant();
    }
    if (d->mode != Impl::Mode::None) {
        if (auto it = d->buffer.constFind(i); it != d->buffer.constEnd()) {
            return fromStorage(d->columns[i].type, *it);
        }
        if (d->mode == Impl::Mode::Add) {
            return QVariant();
        }
    }
    if (d->kind == Kind::Snapshot) {
        if (!d->hasRow) {
            d->fail(QStringLiteral("現在のレコードがありません"));
            return QVariant();
        }
        const QVariant v = columnValue(d->stmt, i);
        return d->columns[i].type ? fromStorage(d->columns[i].type, v) : v;
    }
    d->loadRow();
    return d->row.value(i);
}

QVariant Recordset::storedValue(int column) const {
    if (!d || !d->db || column < 0 || column >= d->columns.size()) {
        return QVariant();
    }
    if (d->kind == Kind::Snapshot) {
        return d->hasRow ? columnValue(d->stmt, column) : QVariant();
    }
    // Dynaset rows are kept converted; hand back what is stored.
    d->loadRow();
    QVariant stored;
    QString err;
    toStorage(d->columns[column].type, d->row.value(column), &stored, &err);
    return stored;
}

bool Recordset::addNew() {
    if (!d || !d->db || d->kind != Kind::Dynaset) {
        return d ? d->fail(QStringLiteral("このレコードセットは更新できません")) : false;
    }
    d->mode = Impl::Mode::Add;
    d->buffer.clear();
    return true;
}

bool Recordset::edit() {
    if (!d || !d->db || d->kind != Kind::Dynaset) {
        return d ? d->fail(QStringLiteral("このレコードセットは更新できません")) : false;
    }
    if (eof()) {
        return d->fail(QStringLiteral("現在のレコードがありません"));
    }
    d->mode = Impl::Mode::Edit;
    d->buffer.clear();
    return true;
}

bool Recordset::setField(const QString& name, const QVariant& value) {
    if (!d || !d->db) {
        return false;
    }
    if (d->mode == Impl::Mode::None) {
        return d->fail(
            QStringLiteral("AddNew または Edit の前に %1 に書き込もうとしました").arg(name));
    }
    const int i = d->indexOf(name);
    if (i < 0) {
        return d->fail(QStringLiteral("項目 %1 がありません").arg(name));
    }
    QVariant stored;
    QString err;
    if (!toStorage(d->columns[i].type, value, &stored, &err)) {
        return d->fail(QStringLiteral("%1: %2").arg(d->columns[i].name, err));
    }
    d->buffer.insert(i, stored);
    return true;
}

void Recordset::cancelUpdate() {
    if (d) {
        d->mode = Impl::Mode::None;
        d->buffer.clear();
    }
}

bool Recordset::update() {
    if (!d || !d->db) {
        return false;
    }
    if (d->mode == Impl::Mode::None) {
        return d->fail(QStringLiteral("AddNew または Edit をせずに Update しました"));
    }
    QList<int> cols = d->buffer.keys();
    std::sort(cols.begin(), cols.end());
    QStringList names, marks;
    QVariantList values;
    for (int i : cols) {
        names << schema::quoteIdent(d->columns[i].name);
        marks << QStringLiteral("?");
        values << d->buffer.value(i);
    }
    QString sql;
    if (d->mode == Impl::Mode::Add) {
        sql = cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(d->tableRef)
                             : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(d->tableRef, names.join(", "), marks.join(", "));
    } else {
        if (cols.isEmpty()) {
            d->mode = Impl::Mode::None;
            return true;
        }
        QStringList sets;
        for (const QString& n : names) {
            sets << n + QStringLiteral(" = ?");
        }
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(d->tableRef, sets.join(", "));
        values << d->keys.value(d->pos);
    }
    sqlite3_stmt* st = d->db->prepareRaw(sql);
    if (!st) {
        return d->fail(d->db->lastError());
    }
    if (!d->db->bind(st, values)) {
        d->db->release(st);
        return d->fail(d->db->lastError());
    }
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_DONE) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(d->db->handle()));
        d->db->release(st);
        return d->fail(msg);
    }
    if (d->mode == Impl::Mode::Add) {
        d->keys << sqlite3_last_insert_rowid(d->db->handle());
        d->atBof = false;
    }
    d->db->release(st);
    d->mode = Impl::Mode::None;
    d->buffer.clear();
    d->rowLoaded = false;
    return true;
}

bool Recordset::remove() {
    if (!d || !d->db || d->kind != Kind::Dynaset) {
        return d ? d->fail(QStringLiteral("このレコードセットは更新できません")) : false;
    }
    if (eof()) {
        return d->fail(QStringLiteral("現在のレコードがありません"));
    }
    sqlite3_stmt* st =
        d->db->prepareRaw(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(d->tableRef));
    if (!st) {
        return d->fail(d->db->lastError());
    }
    sqlite3_bind_int64(st, 1, d->keys[d->pos]);
    const int rc = sqlite3_step(st);
    d->db->release(st);
    if (rc != SQLITE_DONE) {
        return d->fail(QString::fromUtf8(sqlite3_errmsg(d->db->handle())));
    }
    // The row stays in the key set as a gap: reading it gives Nulls, as a
    // deleted row does, until the cursor moves on.
    d->rowLoaded = false;
    d->mode = Impl::Mode::None;
    d->buffer.clear();
    return true;
}

bool Recordset::findFirst(const QString& criteria) {
    if (!d || !d->db) {
        return false;
    }
    d->noMatch = true;
    Translated crit;
    if (!d->db->translate(criteria, &crit)) {
        return d->fail(d->db->lastError());
    }
    if (d->kind == Kind::Dynaset) {
        sqlite3_stmt* st = d->db->prepareRaw(
            QStringLiteral("SELECT rowid FROM %1 WHERE %2").arg(d->tableRef, crit.sql));
        if (!st) {
            return d->fail(d->db->lastError());
        }
        QSet<qint64> hits;
        while (sqlite3_step(st) == SQLITE_ROW) {
            hits.insert(sqlite3_column_int64(st, 0));
        }
        d->db->release(st);
        for (qsizetype i = 0; i < d->keys.size(); ++i) {
            if (hits.contains(d->keys[i])) {
                d->pos = i;
                d->rowLoaded = false;
                d->noMatch = false;
                break;
            }
        }
        return !d->noMatch;
    }
    // A snapshot finds the row's position in the same statement, then steps to it.
    const QString sql =
        QStringLiteral("SELECT __n FROM (SELECT row_number() OVER () AS __n, * FROM (%1))"
                       " WHERE %2 LIMIT 1")
            .arg(d->tr.sql, crit.sql);
    sqlite3_stmt* st = d->db->prepareRaw(sql);
    if (!st) {
        return d->fail(d->db->lastError());
    }
    qint64 n = 0;
    if (d->db->bind(st, d->params) && sqlite3_step(st) == SQLITE_ROW) {
        n = sqlite3_column_int64(st, 0);
    }
    d->db->release(st);
    if (n <= 0) {
        return false;
    }
    sqlite3_reset(d->stmt);
    d->rowNumber = 0;
    for (qint64 i = 0; i < n; ++i) {
        d->stepSnapshot();
    }
    d->noMatch = !d->hasRow;
    return d->hasRow;
}

bool Recordset::noMatch() const {
    return !d || d->noMatch;
}

void Recordset::close() {
    d.reset();
}

QString Recordset::lastError() const {
    return d ? d->error : QStringLiteral("レコードセットが開いていません");
}

// ---------------------------------------------------------------- opening

Recordset Database::openRecordset(const QString& sqlOrTable, Recordset::Kind kind,
                                  const QVariantList& params) {
    auto impl = std::make_unique<Recordset::Impl>();
    impl->kind = kind;
    impl->params = params;
    if (!db_) {
        impl->error = QStringLiteral("データベースが閉じています");
        setError(impl->error);
        return Recordset(std::move(impl));
    }
    impl->db = this;
    recordsets_.insert(impl.get());
    QString jet = sqlOrTable;
    const QString trimmed = sqlOrTable.trimmed();
    if (!trimmed.contains(QLatin1Char(' ')) && hasTable(trimmed)) {
        jet = QStringLiteral("select * from [%1]").arg(trimmed);
    }
    error_.clear();
    if (kind == Recordset::Kind::Snapshot) {
        impl->openSnapshot(jet);
    } else {
        impl->openDynaset(jet);
    }
    if (!impl->error.isEmpty()) {
        // A record set that failed to open is empty and refuses every edit.
        recordsets_.remove(impl.get());
        release(impl->stmt);
        impl->stmt = nullptr;
        impl->db = nullptr;
        impl->keys.clear();
        impl->hasRow = false;
    }
    return Recordset(std::move(impl));
}

} // namespace core::db
