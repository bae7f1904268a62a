#include "zipgrid.h"

namespace zipora {

QStringList ZipGridModel::headings() {
    return {QStringLiteral("郵便番号"), QStringLiteral("県かな"),   QStringLiteral("市町村かな"),
            QStringLiteral("町名かな"), QStringLiteral("都道府県"), QStringLiteral("区市町村名"),
            QStringLiteral("町  名")};
}

void ZipGridModel::setRows(std::vector<ZipRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

QString ZipGridModel::cell(int row, ZipColumn column) const {
    if (row < 0 || row >= int(rows_.size())) {
        return {};
    }
    return rows_[size_t(row)][column];
}

int ZipGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int ZipGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColCount;
}

QVariant ZipGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return cell(index.row(), ZipColumn(index.column()));
}

QVariant ZipGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return headings().at(section);
}

} // namespace zipora
