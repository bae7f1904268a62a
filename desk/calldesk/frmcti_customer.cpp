// The desk's customer panel.

#include "frmcti.h"
#include "frmcti_p.h"

#include "clsgojuren.h"
#include "database.h"
#include "datebox.h"
#include "lookups.h"
#include "paths.h"
#include "settings.h"
#include "showmsg.h"
#include "startup.h"
#include "worktablemodel.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

using core::db::Recordset;
using Kind = core::db::Recordset::Kind;

namespace desk {

void FrmCti::nameFocusIn() {
    nameWasUnregistered_ = cmb顧客名_->currentText() == kUnregistered;
}

void FrmCti::nameLookup() {
    if (!lengthCheck(cmb顧客名_, 50)) {
        return;
    }
    const QString name = cmb顧客名_->currentText();
    if (name == kUnregistered || nameWasUnregistered_) {
        return;
    }
    if (name.isEmpty()) {
        Clear顧客情報画面();
        return;
    }
    core::CurrentCustomer& c = core::currentCustomer();
    c.名称 = name;
    core::Read顧客(dataDb(), QStringLiteral("名称"));
    if (c.code != 0) {
        txt顧客コード_->setText(QString::number(c.code));
        txtふりがな_->setText(c.ふりがな);
        txt住所1_->setText(c.住所1);
        txt住所2_->setText(c.住所2);
        txt郵便番号_->setText(c.郵便番号);
        cmb敬称_->setEditText(c.敬称);
        txtEmail_->setText(c.Email);
        txt顧客メモ_->setText(c.顧客メモ);
    } else {
        txt顧客コード_->setText(QString::number(nextCustomerCode()));
    }
    Read電話番号();
    Clear用件();
}

void FrmCti::honorificCheck() {
    comboCheck(cmb敬称_, 40, QStringLiteral("敬称"));
}

void FrmCti::postalFill() {
    const QString code = txt郵便番号_->text();
    if (!code.isEmpty() && txt住所1_->text().isEmpty()) {
        txt住所1_->setText(core::GetAddress(core::paths().postalDb, code));
    }
}

qint32 FrmCti::nextCustomerCode() const {
    const QVariant top =
        dataDb().scalar(QStringLiteral("select TOP 1 code from 顧客マスタ order by code DESC;"));
    return top.isNull() ? 1 : top.toInt() + 1;
}

// ------------------------------------------------------------------ customer panel

void FrmCti::SeekTelNo(const QString& tel, std::optional<QDate> day, std::optional<QTime> time) {
    if (tel.isEmpty()) {
        return;
    }
    QVariant code = 0;
    {
        Recordset rs = dataDb().openRecordset(
            QStringLiteral("select * from 電話番号 where 電話番号 = ?"), Kind::Snapshot, {tel});
        if (rs.isOpen() && !rs.eof()) {
            code = rs.field(QStringLiteral("code"));
        }
    }
    core::CurrentCustomer& c = core::currentCustomer();
    c.code = code.toInt();
    core::Read顧客(dataDb(), QStringLiteral("code"));
    if (c.code != 0) {
        txt顧客コード_->setText(QString::number(c.code));
        cmb顧客名_->setEditText(c.名称);
        txtふりがな_->setText(c.ふりがな);
        txt住所1_->setText(c.住所1);
        txt住所2_->setText(c.住所2);
        txt郵便番号_->setText(c.郵便番号);
        cmb敬称_->setEditText(c.敬称);
        txtEmail_->setText(c.Email);
        txt顧客メモ_->setText(c.顧客メモ);
        lbl顧客名_->setText(c.名称);
        Read電話番号();
    } else {
        cmb顧客名_->setEditText(kUnregistered);
        // The field may hold the focus already: it now reads "名称未登録" as
        // if it had just received it, so typing the caller's name over it
        // looks nothing up and keeps the caller's number in the grid.
        if (cmb顧客名_->hasFocus()) {
            nameWasUnregistered_ = true;
        }
        const int row = std::max(0, grid電話番号_->currentIndex().row());
        if (row < numbersModel_->rowCount()) {
            numbersModel_->setData(numbersModel_->index(row, 0), QString());
            numbersModel_->setData(numbersModel_->index(row, 1), tel);
        }
    }
    if (day) {
        dt日付_->setDate(*day);
    }
    if (time) {
        dt時間_->setTime(*time);
    }
    txtTEL_->setText(tel);
    cmb担当_->setEditText(QString());
    cmb用件1_->setEditText(QString());
    cmb用件2_->setEditText(QString());
    txt用件メモ_->clear();
}

void FrmCti::Clear顧客情報画面() {
    for (QLineEdit* e : {txtEmail_, txtふりがな_, txt住所1_, txt住所2_, txt顧客メモ_,
                         txt顧客コード_, txt郵便番号_}) {
        e->clear();
    }
    cmb敬称_->setEditText(QString());
    cmb顧客名_->setEditText(QString());
    Clear電話番号();
    ReadTelName();
    nameWasUnregistered_ = false;
}

void FrmCti::FindCustomer() {
    // One finder per use; it opens the files itself by path.
    ClsGojuren finder;
    finder.setPcDataFile(core::paths().dataDb);
    finder.setPcWorkFile(core::paths().workDb);
    const bool shown = finder.FormShow();
    // The finder's window has no owner: take the keys back when it is gone.
    activateWindow();
    if (!shown) {
        ui::showNotice(QStringLiteral("顧客参照"), finder.lastError(), core::MsgStyle::Warning);
        cmb顧客名_->setFocus();
        return;
    }
    finder.SetRetVal();
    const QString code = finder.pccode();
    if (!code.isEmpty()) {
        Clear顧客情報画面();
        core::CurrentCustomer& c = core::currentCustomer();
        c.code = code.toInt();
        core::Read顧客(dataDb(), QStringLiteral("code"));
        // Not found leaves the record as it was: show nothing rather than
        // the previous customer under a wrong code.
        if (c.code != 0) {
            cmb顧客名_->setEditText(c.名称);
            txt顧客コード_->setText(QString::number(c.code));
            txtふりがな_->setText(c.ふりがな);
            txt住所1_->setText(c.住所1);
            txt住所2_->setText(c.住所2);
            txt郵便番号_->setText(c.郵便番号);
            cmb敬称_->setEditText(c.敬称);
            txtEmail_->setText(c.Email);
            txt顧客メモ_->setText(c.顧客メモ);
            Read電話番号();
        }
    }
    cmb顧客名_->setFocus();
}

void FrmCti::RegisterCustomer() {
    const QString name = cmb顧客名_->currentText();
    if (name.isEmpty()) {
        return;
    }
    if (name == kUnregistered) {
        ui::ShowMsg(QStringLiteral("登録"), QStringLiteral("その他"),
                    QStringLiteral("名称未登録は登録できません"));
        cmb顧客名_->setFocus();
        return;
    }
    Entry顧客マスタ(name);
    SetComb(QStringLiteral("顧客"));
    Clear顧客情報画面();
    Clear用件();
}

void FrmCti::Entry顧客マスタ(const QString& name) {
    if (name.isEmpty()) {
        return;
    }
    if (!ui::ShowMsg(QStringLiteral("登録"), QStringLiteral("確認"), name)) {
        return;
    }
    // The customer, its numbers and the attribution of its earlier calls
    // are stored together or not at all.
    core::db::Transaction tx(dataDb());
    Recordset rs = dataDb().openRecordset(QStringLiteral("select * from 顧客マスタ where 名称 = ?"),
                                          Kind::Dynaset, {name});
    if (rs.isOpen() && !rs.eof()) {
        rs.edit();
    } else {
        const qint32 code = nextCustomerCode();
        txt顧客コード_->setText(QString::number(code));
        rs = dataDb().openRecordset(QStringLiteral("select * from 顧客マスタ where code = ?"),
                                    Kind::Dynaset, {code});
        rs.addNew();
        rs.setField(QStringLiteral("code"), code);
    }
    rs.setField(QStringLiteral("名称"), cmb顧客名_->currentText());
    rs.setField(QStringLiteral("ふりがな"), txtふりがな_->text());
    rs.setField(QStringLiteral("郵便番号"), txt郵便番号_->text());
    rs.setField(QStringLiteral("住所1"), txt住所1_->text());
    rs.setField(QStringLiteral("住所2"), txt住所2_->text());
    rs.setField(QStringLiteral("敬称"), cmb敬称_->currentText());
    rs.setField(QStringLiteral("Email"), txtEmail_->text());
    rs.setField(QStringLiteral("顧客メモ"), txt顧客メモ_->text());
    rs.update();
    rs.close();
    Entry電話番号();
    if (core::settings().電話名称登録) {
        for (int i = 0; i < numbersModel_->rowCount(); ++i) {
            const QString label = text(numbersModel_->value(i, QStringLiteral("電話名称")));
            if (label.isEmpty()) {
                break;
            }
            core::EntryAutoCode(dataDb(), core::settings(), QStringLiteral("電話名称"), label);
        }
    }
    ReEntry着信名称();
    tx.commit();
    Read着信データ();
    cmb顧客名_->setFocus();
}

void FrmCti::Delete顧客() {
    if (txt顧客コード_->text().isEmpty()) {
        return;
    }
    const QString name = cmb顧客名_->currentText();
    if (!ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("伝票確認2"), name)) {
        return;
    }
    if (dataDb()
            .scalar(QStringLiteral("select count(*) from 着信履歴 where 名称 = ?"), {name})
            .toInt() > 0) {
        ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("削除不可"), QStringLiteral("着信履歴"));
        return;
    }
    {
        core::db::Transaction tx(dataDb());
        dataDb().execute(QStringLiteral("delete * from 顧客マスタ where 名称 = ?"), {name});
        dataDb().execute(QStringLiteral("delete * from 電話番号 where 名称 = ?"), {name});
        tx.commit();
    }
    Clear顧客情報画面();
    SetComb(QStringLiteral("顧客"));
    cmb顧客名_->setFocus();
}

void FrmCti::ClearScreen() {
    Clear顧客情報画面();
    Clear用件();
    Read着信データ();
    cmb顧客名_->setFocus();
}

} // namespace desk
