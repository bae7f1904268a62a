#include "worktablemodel.h"

#include "fold.h"
#include "schema.h"

namespace core {

WorkTableModel::WorkTableModel(db::Database& db, const QString& table, const QStringList& columns,
                               const QString& orderBy, QObject* parent, Load load)
    : QAbstractTableModel(parent)
    , db_(db)
    , table_(table)
    , wanted_(columns)
    , orderBy_(orderBy) {
    if (load == Load::Now) {
        refresh();
        return;
    }
    // Columns only, from the table's definition: rows come with refresh().
    const db::TableDef def = db_.tableDef(table_);
    const QStringList names = wanted_.isEmpty() ? [&] {
        QStringList all;
        for (const db::FieldDef& f : def.fields()) {
            all << f.name;
        }
        return all;
    }()
                                                : wanted_;
    for (const QString& name : names) {
        for (const db::FieldDef& f : def.fields()) {
            if (fold::key(f.name) == fold::key(name)) {
                columns_ << db::Column{f.name, fold::key(f.name), f.type, f.size};
            }
        }
    }
}

bool WorkTableModel::refresh() {
    QString list = QStringLiteral("*");
    if (!wanted_.isEmpty()) {
        QStringList q;
        for (const QString& c : wanted_) {
            q << QLatin1Char('[') + c + QLatin1Char(']');
        }
        list = q.join(QStringLiteral(", "));
    }
    QString sql = QStringLiteral("select rowid as __rid, %1 from [%2]").arg(list, table_);
    if (!orderBy_.isEmpty()) {
        sql += QStringLiteral(" order by ") + orderBy_;
    }
    beginResetModel();
    rowIds_.clear();
    rows_.clear();
    db::Recordset rs = db_.openRecordset(sql);
    bool ok = rs.isOpen();
    if (ok) {
        columns_ = rs.columns().mid(1);
        // Computed columns carry no type: take it from the table.
        const db::TableDef def = db_.tableDef(table_);
        for (db::Column& c : columns_) {
            for (const db::FieldDef& f : def.fields()) {
                if (fold::key(f.name) == c.key) {
                    c.type = f.type;
                }
            }
        }
        // Rows are kept as stored and converted when shown: a list of ten
        // thousand calls loads without converting thirty thousand dates.
        const int n = static_cast<int>(columns_.size());
        for (; !rs.eof(); rs.moveNext()) {
            rowIds_ << rs.storedValue(0).toLongLong();
            QVector<QVariant> row(n);
            for (int i = 0; i < n; ++i) {
                row[i] = rs.storedValue(i + 1);
            }
            rows_ << std::move(row);
        }
    } else {
        error_ = rs.lastError();
    }
    endResetModel();
    return ok;
}

void WorkTableModel::setHeaders(const QStringList& headers) {
    headers_ = headers;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void WorkTableModel::setEditableColumns(const QStringList& fields) {
    editable_ = fields;
}

void WorkTableModel::setDisplayFormat(const QString& field,
                                      std::function<QString(const QVariant&)> format) {
    formats_.insert(fold::key(field), std::move(format));
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
    }
}

int WorkTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int WorkTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString WorkTableModel::fieldName(int column) const {
    return columns_.value(column).name;
}

int WorkTableModel::columnOf(const QString& field) const {
    const QString key = fold::key(field);
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].key == key) {
            return i;
        }
    }
    return -1;
}

int WorkTableModel::fieldType(int column) const {
    return columns_.value(column).type;
}

QVariant WorkTableModel::value(int row, const QString& field) const {
    const int c = columnOf(field);
    if (row < 0 || row >= rows_.size() || c < 0) {
        return QVariant();
    }
    return db::fromStorage(fieldType(c), rows_[row][c]);
}

QVariant WorkTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size()) {
        return QVariant();
    }
    const QVariant v =
        db::fromStorage(fieldType(index.column()), rows_[index.row()][index.column()]);
    const bool boolean = fieldType(index.column()) == schema::Boolean;
    if (boolean) {
        if (role == Qt::CheckStateRole) {
            return v.toBool() ? Qt::Checked : Qt::Unchecked;
        }
        return role == Qt::EditRole ? v : QVariant();
    }
    if (role == Qt::DisplayRole) {
        if (auto f = formats_.constFind(columns_[index.column()].key); f != formats_.constEnd()) {
            return v.isNull() ? QString() : (*f)(v);
        }
        return v;
    }
    if (role == Qt::EditRole) {
        return v;
    }
    return QVariant();
}

bool WorkTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= rows_.size()) {
        return false;
    }
    const int type = fieldType(index.column());
    QVariant v = value;
    if (role == Qt::CheckStateRole) {
        v = value.toInt() == Qt::Checked;
    } else if (role != Qt::EditRole) {
        return false;
    }
    QVariant stored;
    if (!db::toStorage(type, v, &stored, &error_)) {
        return false;
    }
    const QString sql = QStringLiteral("update [%1] set [%2] = ? where rowid = ?")
                            .arg(table_, columns_[index.column()].name);
    if (!db_.execute(sql, {stored, rowIds_[index.row()]})) {
        error_ = db_.lastError();
        return false;
    }
    rows_[index.row()][index.column()] = stored;
    emit dataChanged(index, index, {role, Qt::DisplayRole, Qt::EditRole, Qt::CheckStateRole});
    return true;
}

QVariant WorkTableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole) {
        return QVariant();
    }
    if (o == Qt::Vertical) {
        return section + 1;
    }
    if (section < headers_.size()) {
        return headers_[section];
    }
    return fieldName(section);
}

Qt::ItemFlags WorkTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!index.isValid()) {
        return f;
    }
    bool editable = false;
    for (const QString& e : editable_) {
        if (fold::key(e) == columns_[index.column()].key) {
            editable = true;
        }
    }
    if (editable) {
        f |= fieldType(index.column()) == schema::Boolean ? Qt::ItemIsUserCheckable
                                                          : Qt::ItemIsEditable;
    }
    return f;
}

bool WorkTableModel::appendRow(const QVariantMap& values) {
    db::Recordset rs = db_.openRecordset(table_, db::Recordset::Kind::Dynaset);
    if (!rs.isOpen() || !rs.addNew()) {
        error_ = rs.lastError();
        return false;
    }
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        if (!rs.setField(it.key(), it.value())) {
            error_ = rs.lastError();
            return false;
        }
    }
    if (!rs.update()) {
        error_ = rs.lastError();
        return false;
    }
    return refresh();
}

bool WorkTableModel::removeRowAt(int row) {
    if (row < 0 || row >= rowIds_.size()) {
        return false;
    }
    if (!db_.execute(QStringLiteral("delete from [%1] where rowid = ?").arg(table_),
                     {rowIds_[row]})) {
        error_ = db_.lastError();
        return false;
    }
    beginRemoveRows({}, row, row);
    rowIds_.remove(row);
    rows_.remove(row);
    endRemoveRows();
    return true;
}

} // namespace core
