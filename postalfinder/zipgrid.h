#pragma once
// The finder's result grid: rows of seven texts, handed over whole after
// each load instead of row by row.

#include <QAbstractTableModel>
#include <QStringList>
#include <array>
#include <vector>

namespace zipora {

enum ZipColumn {
    Col番号,
    Col県かな,
    Col市町村かな,
    Col町名かな,
    Col県漢字,
    Col市町村漢字,
    Col町名漢字,
    ColCount
};

using ZipRow = std::array<QString, ColCount>;

class ZipGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Replaces every row at once; an empty list leaves a grid with no rows.
    void setRows(std::vector<ZipRow> rows);
    const std::vector<ZipRow>& rows() const { return rows_; }
    QString cell(int row, ZipColumn column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    static QStringList headings();

private:
    std::vector<ZipRow> rows_;
};

} // namespace zipora
