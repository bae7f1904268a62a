// The customer list's printing: the print panel frm印刷選択, the list report
// and the address labels. Both outputs print the ticked rows only: a user
// who ticks three customers expects three labels.

#include "frmkokyakulist.h"

#include "layout.h"
#include "output.h"
#include "preview.h"
#include "rptkokyaku.h"
#include "rpttack2601.h"
#include "settings.h"
#include "showmsg.h"
#include "startup.h"
#include "tackform2601.h"

#include <QDate>
#include <QFrame>
#include <QRadioButton>

namespace desk {
namespace {

void output(const report::Document& doc, QWidget* owner, bool print) {
    if (print) {
        report::printDocument(doc, owner, false);
    } else {
        report::Preview::open(doc);
    }
}

} // namespace

QString FrmKokyakuList::tickedRows() {
    return QStringLiteral("select * from w顧客マスタ where チェック = True");
}

void FrmKokyakuList::TogglePrintPanel() {
    frm印刷選択_->setHidden(!frm印刷選択_->isHidden());
}

void FrmKokyakuList::PrintOptions() {
    if (opt印刷_[0]->isChecked() || opt印刷_[2]->isChecked()) {
        TackForm2601::open();
    }
}

void FrmKokyakuList::StartPrinting() {
    const bool ticked =
        core::workDb()->scalar(QStringLiteral("select count(*) from w顧客マスタ where チェック = True")).toInt() > 0;
    if (!ticked) {
        ui::ShowMsg(QStringLiteral("行指定"), QStringLiteral("指定なし"));
        return;
    }
    if (opt印刷_[0]->isChecked()) {
        ExecTackPrn(false);
    } else if (opt印刷_[1]->isChecked()) {
        SetPrnData(false);
    } else if (opt印刷_[2]->isChecked()) {
        ExecTackPrn(true);
    } else if (opt印刷_[3]->isChecked()) {
        SetPrnData(true);
    }
    frm印刷選択_->hide();
}

void FrmKokyakuList::SetPrnData(bool print) {
    report::Rows rows;
    QString error;
    if (!report::readRows(*core::workDb(), tickedRows(), &rows, &error)) {
        return;
    }
    output(report::layOut(Rpt顧客一覧(core::settings().年号, QDate::currentDate()), rows), this, print);
}

void FrmKokyakuList::ExecTackPrn(bool print) {
    if (!fillLabelRows(*core::workDb(), tickedRows())) {
        return;
    }
    report::Rows rows;
    QString error;
    if (!report::readRows(*core::workDb(), QStringLiteral("select * from wタックシール印刷 "), &rows, &error)) {
        return;
    }
    output(report::layOut(RptTack2601(), rows), this, print);
}

} // namespace desk
