// FrmTyakusinList: reading the log into the list, deleting ticked calls,
// printing the list.

#include "frmtyakusinlist.h"

#include "datebox.h"
#include "layout.h"
#include "output.h"
#include "pagedtablemodel.h"
#include "paths.h"
#include "preview.h"
#include "rpttyakusin.h"
#include "settings.h"
#include "showmsg.h"
#include "startup.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableView>

namespace desk {
namespace {

// Conditions joined in the order they are added: the first brings "where".
struct Conditions {
    QString sql;
    QVariantList params;
    void add(const QString& condition, const QVariantList& values = {}) {
        sql += (sql.isEmpty() ? QStringLiteral(" where ") : QStringLiteral(" and ")) + condition;
        params += values;
    }
    void from(const std::optional<QDate>& day) {
        if (day) {
            add(QStringLiteral("日付 >= ?"), {QDateTime(*day, QTime(0, 0, 0))});
        }
    }
    void to(const std::optional<QDate>& day) {
        if (day) {
            add(QStringLiteral("日付 <= ?"), {QDateTime(*day, QTime(23, 59, 59))});
        }
    }
};

QString quotedPath(const QString& path) {
    return QString(path).replace(QLatin1Char('\''), QLatin1String("''"));
}

} // namespace

void FrmTyakusinList::readCalls(const QString& where, const QVariantList& params) {
    showBusy(true);
    core::db::Database& work = *core::workDb();
    {
        core::db::Transaction tx(work);
        work.execute(QStringLiteral("delete * from w着信履歴"));
        // One statement copies the calls, newest first; the day is kept as a
        // date alone and the time as its text.
        work.execute(
            QStringLiteral("insert into w着信履歴 (チェック, code, 日付時間, 日付, 時間, 名称, "
                           "用件1, 用件2, 用件メモ, 担当, 済) select False, code, 日付, "
                           "substr(日付, 1, 10) & ' 00:00:00', substr(日付, 12, 8), 名称, 用件1, "
                           "用件2, 用件メモ, 担当, 済 from 着信履歴 in '%1'%2 order by 日付 DESC;")
                .arg(quotedPath(core::paths().dataDb), where),
            params);
        // A call at the same moment as the one listed just before it shows no
        // date. Rows of one copy have consecutive row numbers.
        work.execute(QStringLiteral(
            "update w着信履歴 set 日付 = Null where 日付時間 = (select p.日付時間 from "
            "w着信履歴 as p where p.rowid = w着信履歴.rowid - 1)"));
        tx.commit();
    }
    model_->refresh();
    showBusy(false);
    if (model_->rowCount() > 0) {
        setCurrentRow(0);
        grid明細_->setFocus();
    } else {
        cmb顧客名_->setFocus();
    }
}

void FrmTyakusinList::Read着信履歴() {
    if (dt開始_->isEmpty() && dt終了_->isEmpty()) {
        const QDate t = today()();
        dt終了_->setDate(t);
        dt開始_->setDate(t.addMonths(-1).addDays(1));
    }
    Conditions c;
    if (!cmb顧客名_->currentText().isEmpty()) {
        c.add(QStringLiteral("名称 = ?"), {cmb顧客名_->currentText()});
    }
    c.from(dt開始_->date());
    c.to(dt終了_->date());
    const QString staff = cmb担当_->currentText();
    if (!staff.isEmpty() && staff != QStringLiteral("なし")) {
        c.add(QStringLiteral("担当 = ?"), {staff});
    }
    readCalls(c.sql, c.params);
}

void FrmTyakusinList::Read着信履歴条件付() {
    Conditions c;
    if (!cmb顧客名検索_->currentText().isEmpty()) {
        c.add(QStringLiteral("名称 = ?"), {cmb顧客名検索_->currentText()});
    }
    c.from(dt開始検索_->date());
    c.to(dt終了検索_->date());
    const QString staff = cmb担当検索_->currentText();
    if (!staff.isEmpty() && staff != QStringLiteral("なし")) {
        c.add(QStringLiteral("担当 = ?"), {staff});
    }
    if (!cmb用件1検索_->currentText().isEmpty()) {
        c.add(QStringLiteral("用件1 = ?"), {cmb用件1検索_->currentText()});
    }
    if (!cmb用件2検索_->currentText().isEmpty()) {
        c.add(QStringLiteral("用件2 = ?"), {cmb用件2検索_->currentText()});
    }
    if (!txt用件メモ検索_->text().isEmpty()) {
        // The typed text keeps its wildcards: it is a pattern of the dialect.
        c.add(QStringLiteral("用件メモ LIKE ?"),
              {QStringLiteral("*") + txt用件メモ検索_->text() + QStringLiteral("*")});
    }
    if (!cmbチェック検索_->currentText().isEmpty()) {
        // A call nobody has marked yet has no flag at all: it is not done.
        c.add(cmbチェック検索_->currentText() == kCheckedCalls
                  ? QStringLiteral("済 = true")
                  : QStringLiteral("(済 = false or 済 is null)"));
    }
    readCalls(c.sql, c.params);
}

void FrmTyakusinList::Delete着信履歴() {
    if (model_->rowCount() == 0) {
        return;
    }
    core::db::Database& work = *core::workDb();
    const bool ticked =
        work.scalar(QStringLiteral("select count(*) from w着信履歴 where チェック = True")).toInt() >
        0;
    setCurrentRow(0);
    if (!ticked) {
        ui::ShowMsg(QStringLiteral("行指定"), QStringLiteral("指定なし"));
        cmb顧客名_->setFocus();
        return;
    }
    if (!ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("その他確認"),
                     QStringLiteral("指定された着信履歴"))) {
        return;
    }
    core::db::Database& data = *core::dataDb();
    {
        // All ticked calls go, or none of them.
        core::db::Transaction tx(data);
        bool ok = tx.active();
        for (core::db::Recordset rs = work.openRecordset(
                 QStringLiteral("select 名称, 日付時間 from w着信履歴 where チェック = True"));
             ok && rs.isOpen() && !rs.eof(); rs.moveNext()) {
            const QVariant name = rs.field(QStringLiteral("名称"));
            const QVariant when = rs.field(QStringLiteral("日付時間"));
            if (when.isNull()) {
                continue;
            }
            ok = name.isNull()
                     ? data.execute(QStringLiteral("delete * from 着信履歴 where (名称 is Null or "
                                                   "名称 = '') and 日付 = ?"),
                                    {when})
                     : data.execute(
                           QStringLiteral("delete * from 着信履歴 where 名称 = ? and 日付 = ?"),
                           {name, when});
        }
        if (ok) {
            tx.commit();
        }
    }
    Read着信履歴();
}

void FrmTyakusinList::SetPrnData(bool print) {
    CallPrintParams& p = callPrintParams();
    p.periodStart = dt開始_->text();
    p.periodEnd = dt終了_->text();
    p.startDate = dt開始_->date();
    p.endDate = dt終了_->date();
    p.staff = cmb担当_->currentText();
    p.customer = cmb顧客名_->currentText();
    report::Rows rows;
    QString error;
    if (!report::readRows(*core::workDb(), QStringLiteral("w着信履歴"), &rows, &error)) {
        return;
    }
    report::Document doc =
        report::layOut(Rpt着信履歴(p, core::settings().年号, today()()), rows);
    if (print) {
        report::printDocument(doc, this, false);
    } else {
        report::Preview::open(std::move(doc));
    }
}

} // namespace desk
