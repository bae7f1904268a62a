#pragma once
// Shows one table of a database in a grid: the screens' lists are views over
// their work tables. An edit is written to the table at once.

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>
#include <functional>

#include "database.h"

namespace core {

class WorkTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // columns: the fields to show, in order (empty: every field);
    // orderBy: a Jet order-by list, empty for insertion order.
    enum class Load { Now, Later };
    WorkTableModel(db::Database& db, const QString& table, const QStringList& columns = {},
                   const QString& orderBy = {}, QObject* parent = nullptr, Load load = Load::Now);

    // Reads the table again.
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

    // Appends a row with the given fields set; false when the table refused it.
    bool appendRow(const QVariantMap& values = {});
    bool removeRowAt(int row);

    QString fieldName(int column) const;
    int columnOf(const QString& field) const;
    int fieldType(int column) const;
    qint64 rowIdAt(int row) const { return rowIds_.value(row); }
    QVariant value(int row, const QString& field) const;
    QString lastError() const { return error_; }

private:
    db::Database& db_;
    QString table_;
    QStringList wanted_;
    QString orderBy_;
    QVector<db::Column> columns_;
    QStringList headers_;
    QStringList editable_;
    QHash<QString, std::function<QString(const QVariant&)>> formats_; // by folded field name
    QVector<qint64> rowIds_;
    QVector<QVector<QVariant>> rows_;
    QString error_;
};

} // namespace core
