// The データ一括削除 tab: the five deletion commands and the customer to delete.

#include "frmhosyu.h"

#include "accessible.h"
#include "database.h"
#include "deletion.h"
#include "lookups.h"
#include "showmsg.h"
#include "startup.h"
#include "vxcmdbtn.h"

#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <limits>

namespace care {
namespace {

const QString kDelete = QStringLiteral("削除");

bool confirm(const QString& subject) {
    return ui::ShowMsg(kDelete, QStringLiteral("伝票確認2"), subject);
}

// The notice when the command went through, the reason when it did not.
void report(const Deleted& d, const QString& subject) {
    if (d.ok) {
        ui::ShowMsg(kDelete, QStringLiteral("伝票完了2"), subject);
    } else {
        ui::ShowMsg(QStringLiteral("データ保守"), QStringLiteral("削除失敗"),
                    subject + QStringLiteral(": ") + d.error);
    }
}

} // namespace

QWidget* FrmHosyu::buildDeletionTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("Tabデータ一括削除"));
    auto* g = new QGridLayout(tab);
    int r = 0;
    auto command = [&](const char* button, const char* caption) {
        auto* l = new QLabel(QString::fromUtf8(caption), tab);
        auto* b = makeButton(QString::fromUtf8(button), QStringLiteral("実行"), tab);
        b->setAccessibleName(l->text());
        g->addWidget(b, r, 0);
        g->addWidget(l, r, 1, 1, 3);
        ++r;
    };
    command("cmd一括削除5", "すべてのデータを削除し初期状態に戻す");
    command("cmd一括削除2", "すべての顧客情報と着信履歴を削除する");
    command("cmd一括削除3", "コード表を削除する");

    txt顧客コード_ = new QLineEdit(tab);
    txt顧客コード_->setObjectName(QStringLiteral("txt顧客コード"));
    txt顧客コード_->setValidator(new QIntValidator(1, std::numeric_limits<qint32>::max(), txt顧客コード_));
    txt顧客コード_->setMaximumWidth(100);
    // The name always follows the code, so the two never disagree.
    txt顧客_ = new QLineEdit(tab);
    txt顧客_->setObjectName(QStringLiteral("txt顧客"));
    txt顧客_->setReadOnly(true);
    ui::nameByLabel(txt顧客コード_, QStringLiteral("顧客コード"));
    ui::nameByLabel(txt顧客_, QStringLiteral("顧客名"));
    auto* pick = makeButton(QStringLiteral("cmd顧客参照"), QStringLiteral("顧客"), tab);
    pick->setEnabled(false); // the kana finder comes with its own library
    g->addWidget(pick, r, 0);
    g->addWidget(txt顧客コード_, r, 1);
    g->addWidget(txt顧客_, r, 2, 1, 2);
    ++r;
    connect(txt顧客コード_, &QLineEdit::textEdited, this, [this](const QString& t) { SetKokyaku(t); });
    command("cmd一括削除1", "指定された顧客情報と着信履歴を削除する");
    command("cmd一括削除4", "すべての着信履歴を削除する");
    auto* hint = makeButton(QStringLiteral("cmdHint4"), QStringLiteral("?"), tab);
    hint->setEnabled(false); // the hint window comes with its own screen
    g->addWidget(hint, r++, 3, Qt::AlignRight);
    g->setRowStretch(r, 1);
    g->setColumnStretch(3, 1);
    return tab;
}

void FrmHosyu::DeleteAllKokyaku(bool withMessages) {
    const QString subject = QStringLiteral("すべての顧客情報、着信履歴");
    if (withMessages && !confirm(subject)) {
        return;
    }
    const Deleted d = deleteAllKokyaku(*core::dataDb());
    if (withMessages) {
        report(d, subject);
    }
}

void FrmHosyu::DelAllCodeMaster() {
    delAllCodeMaster(*core::dataDb());
}

void FrmHosyu::DeleteCodeTables() {
    const QString subject = QStringLiteral("すべてのコード表");
    if (confirm(subject)) {
        report(delAllCodeMaster(*core::dataDb()), subject);
    }
}

void FrmHosyu::DeleteAll着信履歴() {
    const QString subject = QStringLiteral("すべての着信履歴");
    if (confirm(subject)) {
        report(deleteAllCalls(*core::dataDb()), subject);
    }
}

void FrmHosyu::DeleteAllData() {
    const QString subject = QStringLiteral("すべてのデータ");
    if (!confirm(subject)) {
        return;
    }
    // One question and one notice for the customers, the code names and the
    // settings row together. The settings in memory and on the tabs stay:
    // 登録 writes them back.
    report(deleteAllData(*core::dataDb()), subject);
}

void FrmHosyu::SetKokyaku(const QString& code) {
    bool ok = false;
    const qint32 c = code.trimmed().toInt(&ok);
    // Typed codes look up a record of their own; only the picker moves the
    // screens' current customer.
    core::CurrentCustomer record;
    if (ok && c > 0) {
        record.code = c;
        core::Read顧客(*core::dataDb(), QStringLiteral("code"), record);
    }
    const bool found = ok && c > 0 && record.code == c;
    if (txt顧客コード_->text() != code) {
        txt顧客コード_->setText(code);
    }
    txt顧客_->setText(found ? record.名称 : QString());
}

void FrmHosyu::DelSiteiKokyaku(const QString& code) {
    if (txt顧客_->text().isEmpty()) {
        ui::ShowMsg(QStringLiteral("入力"), QStringLiteral("必須入力なし"), QStringLiteral("顧客名が"));
        txt顧客_->setFocus();
        return;
    }
    const QString subject = txt顧客_->text() + QStringLiteral("の顧客情報、着信履歴");
    if (!confirm(subject)) {
        return;
    }
    bool ok = false;
    const qint32 c = code.trimmed().toInt(&ok);
    const Deleted d = ok ? deleteCustomer(*core::dataDb(), c)
                         : Deleted{false, QStringLiteral("顧客コードが数値ではありません")};
    report(d, subject);
    if (d.ok) {
        txt顧客_->clear();
        txt顧客コード_->clear();
    }
}

} // namespace care
