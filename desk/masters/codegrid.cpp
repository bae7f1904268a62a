#include "codegrid.h"

#include "platform.h"
#include "schema.h"

#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>

namespace masters {

CodeGridModel::CodeGridModel(core::db::Database& work, QObject* parent)
    : core::WorkTableModel(work, QStringLiteral("wコードマスタ"),
                           {QStringLiteral("行番号"), QStringLiteral("チェック"),
                            QStringLiteral("code"), QStringLiteral("sname"), QStringLiteral("Cnt")},
                           QStringLiteral("行番号"), parent, Load::Later) {
    setHeaders({QStringLiteral("行番号"), QStringLiteral("チェック"), QStringLiteral("code"),
                QStringLiteral("名　　　　　称"), QStringLiteral("cnt")});
    setEditableColumns(
        {QStringLiteral("チェック"), QStringLiteral("sname"), QStringLiteral("Cnt")});
}

int CodeGridModel::nameSize() {
    static const int size = [] {
        if (const auto* t =
                core::schema::find(core::schema::File::Data, QStringLiteral("コードマスタ"))) {
            for (const core::schema::Field& f : t->fields) {
                if (f.name == QStringLiteral("sname")) {
                    return f.size;
                }
            }
        }
        return 0;
    }();
    return size;
}

Qt::ItemFlags CodeGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = core::WorkTableModel::flags(index);
    if (index.isValid() && (index.column() == ColRow || index.column() == ColCode)) {
        f &= ~(Qt::ItemIsEditable | Qt::ItemIsUserCheckable);
    }
    return f;
}

bool CodeGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid()) {
        return false;
    }
    switch (index.column()) {
    case ColRow:
    case ColCode:
        return false;
    case ColCheck: {
        if (role == Qt::CheckStateRole) {
            return core::WorkTableModel::setData(index, value.toInt() == Qt::Checked, Qt::EditRole);
        }
        QVariant tick;
        QString ignored;
        if (value.typeId() == QMetaType::Bool) {
            tick = value;
        } else if (!core::db::toStorage(core::schema::Boolean, value, &tick, &ignored) ||
                   tick.isNull()) {
            tick = false;
        } else {
            tick = tick.toInt() != 0;
        }
        return core::WorkTableModel::setData(index, tick, Qt::EditRole);
    }
    default:
        break;
    }
    if (role != Qt::EditRole) {
        return false;
    }
    QVariant v = value;
    if (v.isNull() || v.toString().isEmpty()) {
        v = QVariant();
    } else if (index.column() == ColName && nameSize() > 0) {
        const QList<uint> ucs = v.toString().toUcs4();
        if (ucs.size() > nameSize()) {
            v = QString::fromUcs4(reinterpret_cast<const char32_t*>(ucs.constData()), nameSize());
        }
    }
    return core::WorkTableModel::setData(index, v, Qt::EditRole);
}

bool CodeGridModel::toggleCheck(int row) {
    const QModelIndex i = index(row, ColCheck);
    return i.isValid() && setData(i, !i.data(Qt::EditRole).toBool(), Qt::EditRole);
}

QWidget* CodeCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    if (index.column() == ColName) {
        edit->setMaxLength(CodeGridModel::nameSize() > 0 ? CodeGridModel::nameSize() : 32767);
        edit->setProperty("nameColumn", true);
        ui::SetIme(edit, true);
    } else {
        edit->setValidator(new QIntValidator(-32768, 32767, edit));
        ui::SetIme(edit, false);
    }
    return edit;
}

void CodeCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    static_cast<QLineEdit*>(editor)->setText(index.data(Qt::EditRole).toString());
}

void CodeCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
}

bool CodeCellDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QLineEdit*>(object);
    if (editor && event->type() == QEvent::KeyPress && editor->property("nameColumn").toBool()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter never reaches the cell: the name is written and the
            // grid goes on to the next row's name.
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            emit nameEntered();
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

CodeGrid::CodeGrid(QWidget* parent)
    : QTableView(parent) {
    // A double-click ticks the row, so it does not open the cell; typing does.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::SelectedClicked);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(false);
    auto* delegate = new CodeCellDelegate(this);
    setItemDelegateForColumn(ColName, delegate);
    setItemDelegateForColumn(ColCnt, delegate);
    connect(delegate, &CodeCellDelegate::nameEntered, this, &CodeGrid::nameEntered,
            Qt::QueuedConnection);
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        if (auto* m = qobject_cast<CodeGridModel*>(model())) {
            m->toggleCheck(i.row());
        }
    });
}

void CodeGrid::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    setColumnWidth(ColRow, 56);
    setColumnWidth(ColCheck, 64);
    setColumnWidth(ColCode, 48);
    setColumnWidth(ColName, 300);
    setColumnWidth(ColCnt, 60);
}

void CodeGrid::commitPendingEdit() {
    if (state() != QAbstractItemView::EditingState) {
        return;
    }
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void CodeGrid::nameEntered() {
    const QModelIndex i = currentIndex();
    if (!model() || !i.isValid()) {
        return;
    }
    const int next = i.row() + 1 < model()->rowCount() ? i.row() + 1 : i.row();
    setCurrentIndex(model()->index(next, ColName));
    setFocus();
}

void CodeGrid::keyPressEvent(QKeyEvent* event) {
    const QModelIndex i = currentIndex();
    if (i.isValid() && i.column() == ColName &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        nameEntered();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CodeGrid::keyboardSearch(const QString&) {
    // Typing never jumps between rows: characters are for the cells.
}

void CodeGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    ui::SetIme(this, current.column() == ColName);
}

} // namespace masters
