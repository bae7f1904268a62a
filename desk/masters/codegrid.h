#pragma once
// The code master's editing grid: 99 rows of wコードマスタ, a tick box, the
// fixed code, the name and the sort number. Each completed edit is written
// to the work table at once.

#include <QStyledItemDelegate>
#include <QTableView>

#include "worktablemodel.h"

namespace masters {

// Column order of the grid, as the fields stand in wコードマスタ.
enum CodeColumn { ColRow = 0, ColCheck = 1, ColCode = 2, ColName = 3, ColCnt = 4 };

class CodeGridModel : public core::WorkTableModel {
    Q_OBJECT
public:
    CodeGridModel(core::db::Database& work, QObject* parent);

    // Empty text is stored as Null; names longer than the code list holds
    // are cut to its size; the code and row number cannot be edited (a row
    // without its code could not be saved); a tick takes only ticked or
    // unticked, anything else unticks it.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    bool toggleCheck(int row);
    // Characters a name may have: the size of sname in コードマスタ.
    static int nameSize();
};

// One-line editor for the name and sort-number columns, with Japanese input
// on for names and off for numbers. Enter in the name column commits the
// cell and moves to the next row.
class CodeCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

signals:
    void nameEntered();

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;
};

class CodeGrid : public QTableView {
    Q_OBJECT
public:
    explicit CodeGrid(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    // Writes the cell being edited, if any, to the work table.
    void commitPendingEdit();
    bool editing() const { return state() == QAbstractItemView::EditingState; }
    // The next row, staying in the name column; nothing past the last row.
    void nameEntered();
    // Typed characters are never a search for a row.
    void keyboardSearch(const QString& search) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
};

} // namespace masters
