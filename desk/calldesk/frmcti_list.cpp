// The desk's incoming-call list.

#include "frmcti.h"
#include "frmcti_p.h"

#include "database.h"
#include "datebox.h"
#include "dateformat.h"
#include "fold.h"
#include "paths.h"
#include "settings.h"
#include "showmsg.h"
#include "startup.h"
#include "worktablemodel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

using core::db::Recordset;
using Kind = core::db::Recordset::Kind;

namespace desk {

// ------------------------------------------------------------------ the list

void FrmCti::FormInit() {
    numbersModel_ = new core::WorkTableModel(
        workDb(), QStringLiteral("w電話番号"),
        {QStringLiteral("電話名称"), QStringLiteral("電話番号")}, {}, this);
    numbersModel_->setEditableColumns({QStringLiteral("電話名称"), QStringLiteral("電話番号")});
    grid電話番号_->setModel(numbersModel_);
    // Loaded once by the opening that follows, not here as well.
    listModel_ = new core::WorkTableModel(workDb(), QStringLiteral("w着信表示"), {}, {}, this,
                                          core::WorkTableModel::Load::Later);
    listModel_->setHeaders(
        {QStringLiteral("code"), QStringLiteral("日付時間"), QStringLiteral("日付"),
         QStringLiteral("時間"), QStringLiteral("電話番号"), QStringLiteral("名      称"),
         QStringLiteral("用件1"), QStringLiteral("用件2"), QStringLiteral("用件メモ"),
         QStringLiteral("担当"), QStringLiteral("済"), QStringLiteral("新規")});
    listModel_->setDisplayFormat(QStringLiteral("日付時間"), [](const QVariant& v) {
        return core::dates::format(v.toDateTime(), QStringLiteral("yyyy/mm/dd hh:mm:ss"));
    });
    listModel_->setDisplayFormat(QStringLiteral("時間"), [](const QVariant& v) {
        return core::dates::format(v.toDateTime(), QStringLiteral("hh:mm:ss"));
    });
    grid着信表示_->setModel(listModel_);
    // The call's identity and the customer code are internal to the list.
    grid着信表示_->setColumnHidden(0, true);
    grid着信表示_->setColumnHidden(1, true);
    applyDateDisplay();
}

void FrmCti::applyDateDisplay() {
    const bool western = core::dates::westernYears(core::settings().年号);
    const QString listFormat =
        western ? QStringLiteral("yyyy/mm/dd") : QStringLiteral("g ee/mm/dd");
    listModel_->setDisplayFormat(QStringLiteral("日付"), [listFormat](const QVariant& v) {
        return core::dates::format(v.toDateTime(), listFormat);
    });
    if (western) {
        dt日付_->setFormats(QStringLiteral("yy/mm/dd"), QStringLiteral("yyyy年 mm月"));
    } else {
        dt日付_->setFormats(QStringLiteral("ggg ee年mm月dd日"), QStringLiteral("ggg ee年 mm月"));
    }
    // Widths in twips of the old screen, 15 twips a pixel.
    dt日付_->setFixedWidth((western ? 1320 : 2340) / 15);
    frame日付_->setFixedWidth((western ? 2350 : 3360) / 15);
}

void FrmCti::refreshList() {
    const int row = currentListRow();
    listModel_->refresh();
    setCurrentListRow(listModel_->rowCount() > 0 ? std::clamp(row, 0, listModel_->rowCount() - 1)
                                                 : -1);
}

int FrmCti::currentListRow() const {
    const QModelIndex i = grid着信表示_->currentIndex();
    return i.isValid() ? i.row() : (listModel_->rowCount() > 0 ? 0 : -1);
}

void FrmCti::setCurrentListRow(int row) {
    if (row >= 0 && row < listModel_->rowCount()) {
        grid着信表示_->setCurrentIndex(listModel_->index(row, 0));
    }
}

void FrmCti::Read着信データ() {
    core::db::Transaction tx(workDb());
    workDb().execute(QStringLiteral("delete * from w着信表示"));
    const QString period = core::settings().着信読込;
    QDate first = QDate::currentDate();
    if (period == QStringLiteral("３日以内分")) {
        first = first.addDays(-2);
    } else if (period == QStringLiteral("１週間以内分")) {
        first = first.addDays(-6);
    }
    // One statement copies the period, newest first, from the log.
    workDb().execute(
        QStringLiteral(
            "insert into w着信表示 (日付, code, 日付時間, 時間, 名称, 電話番号, 用件1, 用件2, "
            "用件メモ, 担当, 済, 新規) select substr(日付, 1, 10) & ' 00:00:00', code, 日付, "
            "'1899-12-30 ' & substr(日付, 12, 8), 名称, 電話番号, 用件1, 用件2, 用件メモ, 担当, "
            "済, False from 着信履歴 in '%1' where 日付 > ? order by 日付 DESC;")
            .arg(QString(core::paths().dataDb).replace(QLatin1Char('\''), QLatin1String("''"))),
        {QDateTime(first, QTime(0, 0))});
    tx.commit();
    QCoreApplication::processEvents();
    refreshList();
    setCurrentListRow(0);
}

void FrmCti::Dsp着信詳細() {
    const int row = currentListRow();
    if (row < 0 || listModel_->value(row, QStringLiteral("日付")).isNull()) {
        return;
    }
    // The whole row is read now: a call taken in during the pause below
    // rebuilds the list, and the row index then names another call.
    QHash<QString, QVariant> cell;
    for (const char* f :
         {"名称", "日付", "時間", "電話番号", "用件1", "用件2", "用件メモ", "担当", "済"}) {
        cell.insert(QString::fromUtf8(f), listModel_->value(row, QString::fromUtf8(f)));
    }
    auto field = [&](const char* f) { return cell.value(QString::fromUtf8(f)); };
    const QString name = text(field("名称"));
    if (!name.isEmpty()) {
        Clear顧客情報画面();
        core::CurrentCustomer& c = core::currentCustomer();
        c.code = 0;
        c.名称 = name;
        core::Read顧客(dataDb(), QStringLiteral("名称"));
        cmb顧客名_->setEditText(name);
        // The lookup matched the name as the database compares text (case,
        // width and kana folded), so the stored name is compared so too.
        // Code 0 when no customer has that name ("名称未登録", say).
        const bool found = c.code != 0 && core::fold::key(c.名称) == core::fold::key(name);
        txt顧客コード_->setText(QString::number(found ? c.code : 0));
        if (found) {
            txtふりがな_->setText(c.ふりがな);
            txt住所1_->setText(c.住所1);
            txt住所2_->setText(c.住所2);
            txt郵便番号_->setText(c.郵便番号);
            cmb敬称_->setEditText(c.敬称);
            txtEmail_->setText(c.Email);
            txt顧客メモ_->setText(c.顧客メモ);
        }
        Read電話番号();
    }
    auto setIf = [&](const char* f, auto apply) {
        const QVariant v = field(f);
        if (!v.isNull() && !v.toString().isEmpty()) {
            apply(v);
        }
    };
    setIf("名称", [&](const QVariant& v) { lbl顧客名_->setText(v.toString()); });
    setIf("日付", [&](const QVariant& v) { dt日付_->setDate(v.toDateTime().date()); });
    setIf("時間", [&](const QVariant& v) { dt時間_->setTime(v.toDateTime().time()); });
    setIf("電話番号", [&](const QVariant& v) { txtTEL_->setText(v.toString()); });
    setIf("用件1", [&](const QVariant& v) { cmb用件1_->setEditText(v.toString()); });
    setIf("用件2", [&](const QVariant& v) { cmb用件2_->setEditText(v.toString()); });
    setIf("用件メモ", [&](const QVariant& v) { txt用件メモ_->setText(v.toString()); });
    setIf("担当", [&](const QVariant& v) { cmb担当_->setEditText(v.toString()); });
    if (const QVariant done = field("済"); !done.isNull()) {
        chk用件済_->setChecked(done.toBool());
    }
    const int callsBefore = callsTaken_;
    core::WaitTime(10);
    // A call taken in meanwhile has filled the panel with its own caller;
    // this call's number does not belong among that caller's numbers.
    if (callsTaken_ != callsBefore) {
        return;
    }
    const QString number = text(field("電話番号"));
    for (int i = 0; i < numbersModel_->rowCount(); ++i) {
        const QString n = text(numbersModel_->value(i, QStringLiteral("電話番号")));
        if (n == number) {
            break;
        }
        if (n.isEmpty()) {
            numbersModel_->setData(numbersModel_->index(i, 1), number);
            break;
        }
    }
}

void FrmCti::LineDelete着信表示() {
    const int row = currentListRow();
    if (row < 0) {
        return;
    }
    const QVariant code = listModel_->value(row, QStringLiteral("code"));
    if (code.isNull()) {
        return; // a call that has just arrived has no code yet
    }
    if (!ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("その他確認"),
                     QStringLiteral("指定された着信履歴"))) {
        return;
    }
    const QDate day = listModel_->value(row, QStringLiteral("日付")).toDateTime().date();
    const QTime time = listModel_->value(row, QStringLiteral("時間")).toDateTime().time();
    // A failing step ends the deletion.
    if (!dataDb().execute(QStringLiteral("delete * from 着信履歴 where 日付 = ? and code = ?"),
                          {QDateTime(day, time), code})) {
        return;
    }
    if (!workDb().execute(
            QStringLiteral("delete * from w着信表示 where 日付 = ? and 時間 = ? and code = ?"),
            {QDateTime(day, QTime(0, 0)), time, code})) {
        return;
    }
    Clear用件();
    refreshList();
}

} // namespace desk
