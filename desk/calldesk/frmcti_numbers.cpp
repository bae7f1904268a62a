// The telephone numbers of the customer panel.

#include "frmcti.h"
#include "frmcti_p.h"

#include "database.h"
#include "paths.h"
#include "showmsg.h"
#include "worktablemodel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <functional>

using core::db::Recordset;
using Kind = core::db::Recordset::Kind;

namespace desk {

// The phone-name column edits with a drop-down over w電話名称 that also
// takes typed names.
namespace {

class PhoneNameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* combo = new QComboBox(parent);
        combo->setObjectName(QStringLiteral("DD電話名称"));
        combo->setEditable(true);
        if (core::workDb()) {
            for (Recordset rs = workDb().openRecordset(QStringLiteral("select * from w電話名称"));
                 !rs.eof(); rs.moveNext()) {
                const QString name = text(rs.field(QStringLiteral("sname")));
                if (!name.isEmpty()) {
                    combo->addItem(name);
                }
            }
        }
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QComboBox*>(editor)->setEditText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
    }
};

// The number column: the operator's typed value, once saved, is checked.
// Numbers the desk writes itself (a withheld caller's "999999", an
// unregistered caller's short number) are not the operator's and are not.
class NumberDelegate : public QStyledItemDelegate {
public:
    NumberDelegate(std::function<void(int row)> typed, QObject* parent)
        : QStyledItemDelegate(parent)
        , typed_(std::move(typed)) {}
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        const QVariant before = index.data(Qt::EditRole);
        QStyledItemDelegate::setModelData(editor, model, index);
        if (index.data(Qt::EditRole) != before) {
            typed_(index.row());
        }
    }

private:
    std::function<void(int row)> typed_;
};

} // namespace

void FrmCti::setUpNumbersGrid() {
    grid電話番号_->setItemDelegateForColumn(0, new PhoneNameDelegate(grid電話番号_));
    // Checked once the editor has closed, not while it commits: the check
    // may ask a box and empty the cell.
    grid電話番号_->setItemDelegateForColumn(
        1, new NumberDelegate(
               [this](int row) { QTimer::singleShot(0, this, [this, row] { numberCheck(row); }); },
               grid電話番号_));
}

void FrmCti::refreshNumbers() {
    numbersModel_->refresh();
}

// ------------------------------------------------------------------ numbers

void FrmCti::Clear電話番号() {
    core::db::Transaction tx(workDb());
    workDb().execute(QStringLiteral("delete * from w電話番号"));
    for (int i = 0; i < 10; ++i) {
        workDb().execute(QStringLiteral("insert into w電話番号 (電話名称) values (null)"));
    }
    tx.commit();
    refreshNumbers();
}

void FrmCti::ReadTelName() {
    workDb().execute(QStringLiteral("delete * from w電話名称"));
    workDb().execute(
        QStringLiteral("insert into w電話名称 select sname from コードマスタ in '%1' where kcode = "
                       "'電話名称' order by code;")
            .arg(QString(core::paths().dataDb).replace(QLatin1Char('\''), QLatin1String("''"))));
}

void FrmCti::Read電話番号() {
    const QString name = cmb顧客名_->currentText();
    if (name.isEmpty() || txt顧客コード_->text().isEmpty()) {
        return;
    }
    core::db::Transaction tx(workDb());
    workDb().execute(QStringLiteral("delete * from w電話番号"));
    int rows = 0;
    for (Recordset rs = dataDb().openRecordset(
             QStringLiteral("select * from 電話番号 where 名称 = ?"), Kind::Snapshot, {name});
         !rs.eof() && rows < 10; rs.moveNext(), ++rows) {
        workDb().execute(
            QStringLiteral("insert into w電話番号 (電話名称, 電話番号) values (?, ?)"),
            {rs.field(QStringLiteral("電話名称")), rs.field(QStringLiteral("電話番号"))});
    }
    for (; rows < 10; ++rows) {
        workDb().execute(QStringLiteral("insert into w電話番号 (電話名称) values (null)"));
    }
    tx.commit();
    refreshNumbers();
}

void FrmCti::Entry電話番号() {
    // Numbers stored under code 0 would belong to no customer.
    if (noCustomerCode()) {
        return;
    }
    const qint32 code = txt顧客コード_->text().toInt();
    const QString name = cmb顧客名_->currentText();
    int counter = 1;
    for (Recordset row = workDb().openRecordset(QStringLiteral("select * from w電話番号"));
         !row.eof(); row.moveNext()) {
        const QString number = text(row.field(QStringLiteral("電話番号")));
        if (number.isEmpty()) {
            continue;
        }
        const QString label = text(row.field(QStringLiteral("電話名称")));
        // A row without a phone name is matched by its number, so that it is
        // not added again at every registration.
        Recordset rs =
            label.isEmpty()
                ? dataDb().openRecordset(
                      QStringLiteral("select * from 電話番号 where code = ? and 名称 = ? "
                                     "and (電話名称 is null or 電話名称 = '') and 電話番号 = ?"),
                      Kind::Dynaset, {code, name, number})
                : dataDb().openRecordset(
                      QStringLiteral(
                          "select * from 電話番号 where code = ? and 名称 = ? and 電話名称 = ?"),
                      Kind::Dynaset, {code, name, label});
        if (rs.isOpen() && !rs.eof()) {
            rs.edit();
        } else {
            rs = dataDb().openRecordset(QStringLiteral("電話番号"), Kind::Dynaset);
            rs.addNew();
        }
        rs.setField(QStringLiteral("code"), code);
        rs.setField(QStringLiteral("no"), counter);
        rs.setField(QStringLiteral("名称"), name);
        rs.setField(QStringLiteral("電話名称"), label);
        rs.setField(QStringLiteral("電話番号"), number);
        rs.update();
        ++counter;
    }
}

void FrmCti::DeleteLine電話番号() {
    if (!ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("その他確認"),
                     QStringLiteral("指定された電話番号"))) {
        return;
    }
    const int row = std::max(0, grid電話番号_->currentIndex().row());
    const QString number = text(numbersModel_->value(row, QStringLiteral("電話番号")));
    const QString name = cmb顧客名_->currentText();
    if (!name.isEmpty()) {
        dataDb().execute(QStringLiteral("delete * from 電話番号 where 名称 = ? and 電話番号 = ?"),
                         {name, number});
    }
    workDb().execute(QStringLiteral("delete * from w電話番号 where 電話番号 = ?"), {number});
    refreshNumbers();
}

void FrmCti::TelMov() {
    const int row = currentListRow();
    if (row < 0) {
        return;
    }
    const QString number = text(listModel_->value(row, QStringLiteral("電話番号")));
    for (int i = 0; i < numbersModel_->rowCount(); ++i) {
        if (text(numbersModel_->value(i, QStringLiteral("電話番号"))).isEmpty()) {
            numbersModel_->setData(numbersModel_->index(i, 1), number);
            return;
        }
    }
}

void FrmCti::numberCheck(int row) {
    if (row < 0 || row >= numbersModel_->rowCount()) {
        return;
    }
    QString number = text(numbersModel_->value(row, QStringLiteral("電話番号")));
    if (number.contains(QLatin1Char('-'))) {
        ui::ShowMsg(QStringLiteral("その他"), QStringLiteral("メッセージ"),
                    QStringLiteral("電話番号には - を使用しないで下さい"));
        number.clear();
        numbersModel_->setData(numbersModel_->index(row, 1), QVariant());
    }
    if (!number.isEmpty() && number.size() < 7) {
        ui::ShowMsg(QStringLiteral("その他"), QStringLiteral("メッセージ"),
                    QStringLiteral("電話番号には市外局番を必ず付けて下さい"));
        numbersModel_->setData(numbersModel_->index(row, 1), QVariant());
    }
}

} // namespace desk
