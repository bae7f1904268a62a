#pragma once
// Shows a work table of any length in a grid without holding its rows: the
// rows are read in blocks as they scroll into view, and only a bounded
// number of blocks is kept. Rows appear in stored order. Only the columns
// made editable (the tick boxes of the lists) can be changed; a change is
// written to the table at once.

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QVector>
#include <functional>

#include "database.h"

namespace core {

class PagedTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kBlockRows = 256;
    static constexpr int kBlocksKept = 64;

    // columns: the fields to show, in order (empty: every field).
    PagedTableModel(db::Database& db, const QString& table, const QStringList& columns = {},
                    QObject* parent = nullptr);

    // Takes the table's rows as they are now; blocks are read again on demand.
    bool refresh();
    void setHeaders(const QStringList& headers);
    void setEditableColumns(const QStringList& fields);
    // How a field is shown in the grid (the stored value stays as it is).
    void setDisplayFormat(const QString& field, std::function<QString(const QVariant&)> format);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QString fieldName(int column) const;
    int columnOf(const QString& field) const;
    int fieldType(int column) const;
    qint64 rowIdAt(int row) const { return rowIds_.value(row); }
    QVariant value(int row, const QString& field) const;
    QString lastError() const { return error_; }
    // Blocks held now: what the grid costs in memory.
    int blocksHeld() const { return static_cast<int>(blocks_.size()); }

private:
    using Block = QVector<QVector<QVariant>>; // stored values, kBlockRows rows at most
    const QVector<QVariant>* rowAt(int row) const;
    QString selectList() const;

    db::Database& db_;
    QString table_;
    QStringList wanted_;
    QVector<db::Column> columns_;
    QStringList headers_;
    QStringList editable_;
    QHash<QString, std::function<QString(const QVariant&)>> formats_; // by folded field name
    QVector<qint64> rowIds_;
    mutable QHash<int, Block> blocks_;
    mutable QList<int> recent_; // block numbers, most recently used last
    mutable QString error_;
};

} // namespace core
