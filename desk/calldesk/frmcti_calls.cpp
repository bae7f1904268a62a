// The call record of the desk and its write-back to the log.

#include "frmcti.h"
#include "frmcti_p.h"

#include "database.h"
#include "datebox.h"
#include "lookups.h"
#include "settings.h"
#include "showmsg.h"
#include "worktablemodel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QStringListModel>

using core::db::Recordset;
using Kind = core::db::Recordset::Kind;

namespace desk {

void FrmCti::learnCode(QComboBox* combo, const QString& kind) {
    const QString t = combo->currentText();
    if (t.isEmpty()) {
        return;
    }
    // EntryAutoCode checks the kind's own switch.
    if (core::EntryAutoCode(dataDb(), core::settings(), kind, t)) {
        SetComb(kind);
        combo->setEditText(t);
    }
}

// ------------------------------------------------------------------ call records

std::optional<QDateTime> FrmCti::callMoment() const {
    if (!dt日付_->date() || !dt時間_->time()) {
        return std::nullopt;
    }
    return QDateTime(*dt日付_->date(), *dt時間_->time());
}

void FrmCti::Clear用件() {
    lbl顧客名_->clear();
    const QTime now = QTime::currentTime();
    dt時間_->setTime(QTime(now.hour(), now.minute(), now.second()));
    dt日付_->setDate(QDate::currentDate());
    txtTEL_->clear();
    cmb担当_->setEditText(QString());
    cmb用件1_->setEditText(QString());
    cmb用件2_->setEditText(QString());
    txt用件メモ_->clear();
    // The done box keeps its state.
}

QVariant FrmCti::Entry着信データ(const QString& tel) {
    const auto t = callMoment();
    if (!t) {
        return {};
    }
    Recordset rs = dataDb().openRecordset(QStringLiteral("select * from 着信履歴 where 日付 = ?"),
                                          Kind::Dynaset, {*t});
    if (!rs.isOpen()) {
        return {};
    }
    if (!rs.eof()) {
        rs.edit();
    } else {
        rs.addNew();
    }
    const QString name = cmb顧客名_->currentText();
    const qint32 code = name == kUnregistered ? 0 : txt顧客コード_->text().toInt();
    rs.setField(QStringLiteral("code"), code);
    rs.setField(QStringLiteral("名称"), name);
    rs.setField(QStringLiteral("日付"), *t);
    rs.setField(QStringLiteral("電話番号"), tel);
    return rs.update() ? QVariant(code) : QVariant();
}

bool FrmCti::noCustomerCode() const {
    const QString code = txt顧客コード_->text().trimmed();
    return code.isEmpty() || code.toInt() == 0;
}

void FrmCti::Entry着信履歴toWork(bool check) {
    const QString name = cmb顧客名_->currentText();
    if (name.isEmpty()) {
        ui::ShowMsg(QStringLiteral("登録"), QStringLiteral("その他"),
                    QStringLiteral("顧客名が不明です。顧客を指定してください。"));
        return;
    }
    if (name == kUnregistered) {
        ui::ShowMsg(QStringLiteral("登録"), QStringLiteral("その他"),
                    QStringLiteral("名称未登録は登録できません。相手の名称を登録してください。"));
        return;
    }
    if (check && cmb用件1_->currentText().isEmpty() && cmb用件2_->currentText().isEmpty() &&
        txt用件メモ_->text().isEmpty()) {
        ui::ShowMsg(QStringLiteral("その他"), QStringLiteral("メッセージ"),
                    QStringLiteral("用件、もしくはメモが記入されていないと登録できません。"));
        return;
    }
    const auto t = callMoment();
    // The 0 shown for an unregistered caller is no customer to register a
    // call for: written, the row would carry code 0 under another name.
    if (noCustomerCode() || !t) {
        showPanel(cn着信Msg_, false);
        return;
    }
    const qint32 code = txt顧客コード_->text().toInt();
    auto fill = [&](Recordset& rs) {
        rs.setField(QStringLiteral("code"), code);
        rs.setField(QStringLiteral("名称"), name);
        rs.setField(QStringLiteral("電話番号"), txtTEL_->text());
        rs.setField(QStringLiteral("担当"), cmb担当_->currentText());
        rs.setField(QStringLiteral("用件1"), cmb用件1_->currentText());
        rs.setField(QStringLiteral("用件2"), cmb用件2_->currentText());
        rs.setField(QStringLiteral("用件メモ"), txt用件メモ_->text());
        rs.setField(QStringLiteral("済"), chk用件済_->isChecked());
    };
    bool logged = false;
    {
        Recordset rs = dataDb().openRecordset(
            QStringLiteral("select * from 着信履歴 where 日付 = ?"), Kind::Dynaset, {*t});
        if (rs.isOpen()) {
            rs.eof() ? rs.addNew() : rs.edit();
            fill(rs);
            rs.setField(QStringLiteral("日付"), *t);
            logged = rs.update();
        }
    }
    {
        Recordset rs = workDb().openRecordset(
            QStringLiteral("select * from w着信表示 where 日付時間 = ?"), Kind::Dynaset, {*t});
        if (rs.isOpen()) {
            rs.eof() ? rs.addNew() : rs.edit();
            fill(rs);
            rs.setField(QStringLiteral("日付"), t->date());
            rs.setField(QStringLiteral("時間"), t->time());
            rs.setField(QStringLiteral("日付時間"), *t);
            rs.setField(QStringLiteral("新規"), true);
            rs.update();
        }
    }
    refreshList();
    Entry顧客マスタ(name);
    // An unregistered row left at the same moment goes; the row written
    // above carries a customer's code, so it is never the one deleted, and
    // when its write failed the unregistered row is all the log has.
    if (logged) {
        dataDb().execute(QStringLiteral("delete * from 着信履歴 where 日付 = ? and code = 0"),
                         {*t});
    }
}

void FrmCti::Entry着信履歴toMaster() {
    if (!core::workDb() || !core::dataDb()) {
        return;
    }
    Recordset rows =
        workDb().openRecordset(QStringLiteral("select * from w着信表示 where 新規 = True"));
    if (!rows.isOpen() || rows.eof()) {
        showPanel(cnMsg_, false);
        return;
    }
    cnMsg_->findChild<QLabel*>(QStringLiteral("LMsg"))
        ->setText(QStringLiteral("着信履歴を更新中です。お待ち下さい･･･"));
    showPanel(cnMsg_, true);
    core::db::Transaction tx(dataDb());
    for (; !rows.eof(); rows.moveNext()) {
        const QDateTime t(rows.field(QStringLiteral("日付")).toDateTime().date(),
                          rows.field(QStringLiteral("時間")).toDateTime().time());
        Recordset rs = dataDb().openRecordset(
            QStringLiteral("select * from 着信履歴 where 日付 = ?"), Kind::Dynaset, {t});
        if (!rs.isOpen()) {
            continue;
        }
        const bool adding = rs.eof();
        adding ? rs.addNew() : rs.edit();
        for (const char* f : {"名称", "電話番号", "担当", "用件1", "用件2", "用件メモ", "済"}) {
            rs.setField(QString::fromUtf8(f), rows.field(QString::fromUtf8(f)));
        }
        // A row without a code never empties the code the log holds; a call
        // the log lost entirely comes back under its customer's code, or
        // the 0 of an unregistered caller.
        if (const QVariant code = rows.field(QStringLiteral("code")); !code.isNull()) {
            rs.setField(QStringLiteral("code"), code);
        } else if (adding) {
            const QVariant owner =
                dataDb().scalar(QStringLiteral("select code from 顧客マスタ where 名称 = ?"),
                                {rows.field(QStringLiteral("名称"))});
            rs.setField(QStringLiteral("code"), owner.isNull() ? 0 : owner.toInt());
        }
        rs.setField(QStringLiteral("日付"), t);
        rs.update();
    }
    tx.commit();
    showPanel(cnMsg_, false);
}

void FrmCti::Read着信履歴() {
    const auto t = callMoment();
    if (txt顧客コード_->text().isEmpty() || !t) {
        return;
    }
    cn着信Msg_->findChild<QLabel*>(QStringLiteral("着信Msg"))
        ->setText(QStringLiteral("着信履歴を読込中です･･･"));
    showPanel(cn着信Msg_, true);
    Recordset rs =
        dataDb().openRecordset(QStringLiteral("select * from 着信履歴 where 名称 = ? and 日付 = ?"),
                               Kind::Snapshot, {cmb顧客名_->currentText(), *t});
    if (rs.isOpen() && !rs.eof()) {
        auto copy = [&](const char* f, auto apply) {
            const QString v = text(rs.field(QString::fromUtf8(f)));
            if (!v.isEmpty()) {
                apply(v);
            }
        };
        copy("担当", [&](const QString& v) { cmb担当_->setEditText(v); });
        copy("用件1", [&](const QString& v) { cmb用件1_->setEditText(v); });
        copy("用件2", [&](const QString& v) { cmb用件2_->setEditText(v); });
        copy("用件メモ", [&](const QString& v) { txt用件メモ_->setText(v); });
    }
    showPanel(cn着信Msg_, false);
}

void FrmCti::Read用件(int dir) {
    const QString name = cmb顧客名_->currentText();
    const auto t = callMoment();
    if (name.isEmpty() || !t) {
        return;
    }
    const QString sql =
        dir == 1
            ? QStringLiteral(
                  "select TOP 1 * from 着信履歴 where 名称 = ? and 日付 > ? order by 日付;")
            : QStringLiteral(
                  "select TOP 1 * from 着信履歴 where 名称 = ? and 日付 < ? order by 日付 DESC;");
    Recordset rs = dataDb().openRecordset(sql, Kind::Snapshot, {name, *t});
    if (!rs.isOpen() || rs.eof()) {
        return;
    }
    const QDateTime when = rs.field(QStringLiteral("日付")).toDateTime();
    dt日付_->setDate(when.date());
    dt時間_->setTime(when.time());
    lbl顧客名_->setText(name);
    cmb用件1_->setEditText(text(rs.field(QStringLiteral("用件1"))));
    cmb用件2_->setEditText(text(rs.field(QStringLiteral("用件2"))));
    txt用件メモ_->setText(text(rs.field(QStringLiteral("用件メモ"))));
    cmb担当_->setEditText(text(rs.field(QStringLiteral("担当"))));
    if (const QVariant done = rs.field(QStringLiteral("済")); !done.isNull()) {
        chk用件済_->setChecked(done.toBool());
    }
}

void FrmCti::Delete用件() {
    const auto t = callMoment();
    if (txt顧客コード_->text().isEmpty() || !t) {
        return;
    }
    if (!ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("伝票確認2"),
                     QStringLiteral("着信履歴"))) {
        return;
    }
    dataDb().execute(QStringLiteral("delete * from 着信履歴 where 名称 = ? and 日付 = ?"),
                     {cmb顧客名_->currentText(), *t});
    Clear用件();
    Read着信データ();
    cmb顧客名_->setFocus();
}

void FrmCti::ReEntry着信名称() {
    const QString name = cmb顧客名_->currentText();
    if (name.isEmpty() || noCustomerCode()) {
        return;
    }
    const qint32 code = txt顧客コード_->text().toInt();
    QStringList numbers;
    for (Recordset rs = dataDb().openRecordset(
             QStringLiteral("select * from 電話番号 where 名称 = ?"), Kind::Snapshot, {name});
         !rs.eof(); rs.moveNext()) {
        numbers << text(rs.field(QStringLiteral("電話番号")));
    }
    for (const QString& n : numbers) {
        dataDb().execute(QStringLiteral("update 着信履歴 set 名称 = ?, code = ? where 電話番号 = ? "
                                        "and 名称 = '名称未登録'"),
                         {name, code, n});
    }
}

void FrmCti::SetComb(const QString& kind) {
    const bool all = kind == QStringLiteral("すべて");
    auto fillCodes = [&](QComboBox* combo, const QString& k) {
        QStringList items;
        for (Recordset rs = dataDb().openRecordset(
                 QStringLiteral("select * from コードマスタ where kcode = ? order by cnt,code;"),
                 Kind::Snapshot, {k});
             !rs.eof(); rs.moveNext()) {
            const QString v = text(rs.field(QStringLiteral("sname")));
            if (!v.isEmpty()) {
                items << v;
            }
        }
        combo->clear();
        combo->addItems(items);
        combo->setEditText(QString());
    };
    for (const QString& k : {QStringLiteral("担当"), QStringLiteral("用件1"),
                             QStringLiteral("用件2"), QStringLiteral("敬称")}) {
        if (all || kind == k) {
            QComboBox* combo = k == QStringLiteral("担当")    ? cmb担当_
                               : k == QStringLiteral("用件1") ? cmb用件1_
                               : k == QStringLiteral("用件2") ? cmb用件2_
                                                              : cmb敬称_;
            fillCodes(combo, k);
        }
    }
    if (all || kind == QStringLiteral("顧客")) {
        QStringList names;
        for (Recordset rs = dataDb().openRecordset(
                 QStringLiteral("select 名称 from 顧客マスタ order by ふりがな,code;"));
             !rs.eof(); rs.moveNext()) {
            const QString v = text(rs.storedValue(0));
            if (!v.isEmpty()) {
                names << v;
            }
        }
        // A model takes a hundred thousand names at once; items one by one do not.
        auto* model = qobject_cast<QStringListModel*>(cmb顧客名_->model());
        if (!model) {
            model = new QStringListModel(cmb顧客名_);
            cmb顧客名_->setModel(model);
        }
        model->setStringList(names);
        cmb顧客名_->setCurrentIndex(-1);
        cmb顧客名_->setEditText(QString());
    }
}

} // namespace desk
