#include "pagedtablemodel.h"

#include "fold.h"
#include "schema.h"

namespace core {

PagedTableModel::PagedTableModel(db::Database& db, const QString& table,
                                 const QStringList& columns, QObject* parent)
    : QAbstractTableModel(parent)
    , db_(db)
    , table_(table)
    , wanted_(columns) {
    const db::TableDef def = db_.tableDef(table_);
    auto add = [&](const db::FieldDef& f) {
        columns_ << db::Column{f.name, fold::key(f.name), f.type, f.size};
    };
    for (const db::FieldDef& f : def.fields()) {
        if (wanted_.isEmpty()) {
            add(f);
        }
    }
    for (const QString& name : wanted_) {
        for (const db::FieldDef& f : def.fields()) {
            if (fold::key(f.name) == fold::key(name)) {
                add(f);
            }
        }
    }
}

QString PagedTableModel::selectList() const {
    QStringList q;
    for (const db::Column& c : columns_) {
        q << QLatin1Char('[') + c.name + QLatin1Char(']');
    }
    return q.join(QStringLiteral(", "));
}

bool PagedTableModel::refresh() {
    beginResetModel();
    blocks_.clear();
    recent_.clear();
    rowIds_.clear();
    // Only the row identities are read now; the rows come block by block.
    db::Recordset rs =
        db_.openRecordset(QStringLiteral("select rowid from [%1] order by rowid").arg(table_));
    const bool ok = rs.isOpen();
    if (ok) {
        for (; !rs.eof(); rs.moveNext()) {
            rowIds_ << rs.storedValue(0).toLongLong();
        }
    } else {
        error_ = rs.lastError();
    }
    endResetModel();
    return ok;
}

const QVector<QVariant>* PagedTableModel::rowAt(int row) const {
    if (row < 0 || row >= rowIds_.size()) {
        return nullptr;
    }
    const int number = row / kBlockRows;
    auto it = blocks_.find(number);
    if (it == blocks_.end()) {
        const int first = number * kBlockRows;
        const int last = std::min<int>(static_cast<int>(rowIds_.size()), first + kBlockRows) - 1;
        Block block;
        block.reserve(last - first + 1);
        const int n = static_cast<int>(columns_.size());
        db::Recordset rs = db_.openRecordset(
            QStringLiteral("select rowid, %1 from [%2] where rowid >= ? and rowid <= ? order by rowid")
                .arg(selectList(), table_),
            db::Recordset::Kind::Snapshot, {rowIds_[first], rowIds_[last]});
        int r = first;
        for (; rs.isOpen() && !rs.eof() && r <= last; rs.moveNext()) {
            // A row deleted behind the model's back shows empty, not shifted.
            const qint64 id = rs.storedValue(0).toLongLong();
            while (r <= last && rowIds_[r] < id) {
                block << QVector<QVariant>(n);
                ++r;
            }
            if (r <= last && rowIds_[r] == id) {
                QVector<QVariant> values(n);
                for (int i = 0; i < n; ++i) {
                    values[i] = rs.storedValue(i + 1);
                }
                block << std::move(values);
                ++r;
            }
        }
        if (!rs.isOpen()) {
            error_ = rs.lastError();
        }
        while (block.size() < last - first + 1) {
            block << QVector<QVariant>(n);
        }
        if (blocks_.size() >= kBlocksKept && !recent_.isEmpty()) {
            blocks_.remove(recent_.takeFirst());
        }
        it = blocks_.insert(number, std::move(block));
        recent_ << number;
    } else if (recent_.last() != number) {
        recent_.removeOne(number);
        recent_ << number;
    }
    return &(*it)[row - number * kBlockRows];
}

void PagedTableModel::setHeaders(const QStringList& headers) {
    headers_ = headers;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void PagedTableModel::setEditableColumns(const QStringList& fields) {
    editable_ = fields;
}

void PagedTableModel::setDisplayFormat(const QString& field,
                                       std::function<QString(const QVariant&)> format) {
    formats_.insert(fold::key(field), std::move(format));
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
    }
}

int PagedTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rowIds_.size());
}

int PagedTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString PagedTableModel::fieldName(int column) const {
    return columns_.value(column).name;
}

int PagedTableModel::columnOf(const QString& field) const {
    const QString key = fold::key(field);
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].key == key) {
            return i;
        }
    }
    return -1;
}

int PagedTableModel::fieldType(int column) const {
    return columns_.value(column).type;
}

QVariant PagedTableModel::value(int row, const QString& field) const {
    const int c = columnOf(field);
    const QVector<QVariant>* values = rowAt(row);
    if (!values || c < 0) {
        return QVariant();
    }
    return db::fromStorage(fieldType(c), values->at(c));
}

QVariant PagedTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() ||
        (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::CheckStateRole)) {
        return QVariant();
    }
    const QVector<QVariant>* values = rowAt(index.row());
    if (!values) {
        return QVariant();
    }
    const int type = fieldType(index.column());
    const QVariant v = db::fromStorage(type, values->at(index.column()));
    if (type == schema::Boolean) {
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
    return role == Qt::EditRole ? v : QVariant();
}

bool PagedTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || !(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable))) {
        return false;
    }
    QVariant v = value;
    if (role == Qt::CheckStateRole) {
        v = value.toInt() == Qt::Checked;
    } else if (role != Qt::EditRole) {
        return false;
    }
    QVariant stored;
    if (!db::toStorage(fieldType(index.column()), v, &stored, &error_)) {
        return false;
    }
    if (!db_.execute(QStringLiteral("update [%1] set [%2] = ? where rowid = ?")
                         .arg(table_, columns_[index.column()].name),
                     {stored, rowIds_[index.row()]})) {
        error_ = db_.lastError();
        return false;
    }
    auto it = blocks_.find(index.row() / kBlockRows);
    if (it != blocks_.end()) {
        (*it)[index.row() % kBlockRows][index.column()] = stored;
    }
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole, Qt::CheckStateRole});
    return true;
}

QVariant PagedTableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole) {
        return QVariant();
    }
    if (o == Qt::Vertical) {
        return section + 1;
    }
    return section < headers_.size() ? headers_[section] : fieldName(section);
}

Qt::ItemFlags PagedTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!index.isValid()) {
        return f;
    }
    for (const QString& e : editable_) {
        if (fold::key(e) == columns_[index.column()].key) {
            f |= fieldType(index.column()) == schema::Boolean ? Qt::ItemIsUserCheckable
                                                              : Qt::ItemIsEditable;
        }
    }
    return f;
}

} // namespace core
