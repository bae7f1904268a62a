#include "frmkokyakulist.h"

#include "accessible.h"
#include "clsgojuren.h"
#include "fkeyrow.h"
#include "handover.h"
#include "hint.h"
#include "jetsql.h"
#include "lookups.h"
#include "pagedtablemodel.h"
#include "paths.h"
#include "screens.h"
#include "showmsg.h"
#include "startup.h"
#include "vxcmdbtn.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace desk {
namespace {

template <typename W> W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

vx::VxCmdBtn* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = named(new vx::VxCmdBtn(caption, parent), name);
    b->setMinimumSize(64, 28);
    return b;
}

const QStringList kFields{"チェック", "code", "名称", "ふりがな", "郵便番号", "住所1", "住所2", "敬称", "Email", "顧客メモ"};
const QStringList kHeadings{"チェック", "code",    "名　　　　称", "ふりがな", "郵便番号",
                            "住　所　1", "住　所　2", "敬称",        "Email",    "顧客メモ"};

} // namespace

FrmKokyakuList::FrmKokyakuList(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("FrmKokyakuList"));
    setWindowTitle(QStringLiteral("顧客一覧"));
    build();
    connectCommands();
    ui::nameWindow(this);
    model_ = new core::PagedTableModel(*core::workDb(), QStringLiteral("w顧客マスタ"), kFields, this);
    model_->setHeaders(kHeadings);
    model_->setEditableColumns({QStringLiteral("チェック")});
    grid明細_->setModel(model_);
    const int widths[] = {60, 60, 200, 160, 80, 220, 200, 50, 160, 240};
    for (int i = 0; i < int(std::size(widths)); ++i) {
        grid明細_->setColumnWidth(i, widths[i]);
    }
    Clear顧客一覧();
}

FrmKokyakuList::~FrmKokyakuList() = default;

void FrmKokyakuList::build() {
    auto* root = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("ふりがな"), this);
    txtふりがな_ = named(new QLineEdit(this), QStringLiteral("txtふりがな"));
    txtふりがな_->setMaxLength(50);
    ui::nameByLabel(txtふりがな_, label);
    top->addWidget(label);
    top->addWidget(txtふりがな_);
    top->addStretch();
    auto* hint = button(QStringLiteral("cmdHint"), QStringLiteral("?"), this);
    hint->setFixedSize(36, 28);
    hint->setToolTipText(QStringLiteral("ヒント"));
    top->addWidget(hint);
    root->addLayout(top);

    auto* commands = new QHBoxLayout;
    for (auto [n, c] : {std::pair{"cmd戻る", "戻る"},
                        {"cmdメニュー", "メイン"},
                        {"cmd顧客参照", "顧客"},
                        {"cmd読込", "読込"},
                        {"cmd削除", "削除"},
                        {"cmd印刷", "印刷"},
                        {"cmdクリア", "クリア"},
                        {"cmd全選択", "全選択"},
                        {"cmd全解除", "全解除"},
                        {"cmd閉じる", "閉じる"}}) {
        commands->addWidget(button(QString::fromUtf8(n), QString::fromUtf8(c), this));
    }
    commands->addStretch();
    root->addLayout(commands);

    // The print panel: what to print, its options, and the start.
    frm印刷選択_ = named(new QFrame(this), QStringLiteral("frm印刷選択"));
    frm印刷選択_->setFrameShape(QFrame::Box);
    auto* pg = new QGridLayout(frm印刷選択_);
    auto* title = new QLabel(QStringLiteral("印刷選択"), frm印刷選択_);
    pg->addWidget(title, 0, 0, 1, 4);
    auto* group = new QButtonGroup(frm印刷選択_);
    const char* choices[] = {"タックシールプレビュー", "顧客リストプレビュー", "タックシール", "顧客リスト"};
    for (int i = 0; i < 4; ++i) {
        opt印刷_[i] = named(new QRadioButton(QString::fromUtf8(choices[i]), frm印刷選択_),
                            QStringLiteral("Opt印刷"));
        opt印刷_[i]->setProperty("Index", i);
        group->addButton(opt印刷_[i], i);
        pg->addWidget(opt印刷_[i], 1 + i / 2, i % 2);
    }
    auto* pb = new QHBoxLayout;
    for (auto [n, c] : {std::pair{"cmdオプション", "オプション"}, {"cmd印刷開始", "印刷"}, {"cmd選択閉じる", "閉じる"}}) {
        pb->addWidget(button(QString::fromUtf8(n), QString::fromUtf8(c), frm印刷選択_));
    }
    pb->addStretch();
    pg->addLayout(pb, 3, 0, 1, 4);
    frm印刷選択_->hide();
    root->addWidget(frm印刷選択_);

    grid明細_ = named(new QTableView(this), QStringLiteral("Grid明細"));
    grid明細_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid明細_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid明細_->verticalHeader()->setDefaultSectionSize(22);
    // Rows all have one height: the grid never measures a hundred thousand of them.
    grid明細_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui::nameByLabel(grid明細_, QStringLiteral("顧客一覧"));
    root->addWidget(grid明細_, 1);

    root->addWidget(new ui::FunctionKeyRow({{Qt::Key_F1, QStringLiteral("戻る"), "cmd戻る"},
                                            {Qt::Key_F2, QStringLiteral("メイン"), "cmdメニュー"},
                                            {Qt::Key_F6, QStringLiteral("削除"), "cmd削除"},
                                            {Qt::Key_F7, QStringLiteral("印刷"), "cmd印刷"},
                                            {Qt::Key_F9, QStringLiteral("クリア"), "cmdクリア"},
                                            {Qt::Key_F11, QStringLiteral("全選択"), "cmd全選択"},
                                            {Qt::Key_F12, QStringLiteral("全解除"), "cmd全解除"},
                                            {Qt::Key_Escape, QStringLiteral("閉じる"), "cmd閉じる"}},
                                           this));
    resize(1180, 720);
}

void FrmKokyakuList::connectCommands() {
    auto on = [this](const char* name, std::function<void()> f) {
        connect(findChild<vx::VxCmdBtn*>(QString::fromUtf8(name)), &vx::VxCmdBtn::Click, this, f);
    };
    on("cmd戻る", [this] { Back(); });
    on("cmdメニュー", [this] { MenuWithHandOver(); });
    on("cmd顧客参照", [this] { FindCustomer(); });
    on("cmd読込", [this] { Read顧客一覧(); });
    on("cmd削除", [this] { Delete顧客マスタ(); });
    on("cmd印刷", [this] { TogglePrintPanel(); });
    on("cmdクリア", [this] {
        Clear顧客一覧();
        txtふりがな_->setFocus();
    });
    on("cmd全選択", [this] { OnOff顧客一覧(true); });
    on("cmd全解除", [this] { OnOff顧客一覧(false); });
    on("cmd閉じる", [this] { close(); });
    on("cmdオプション", [this] { PrintOptions(); });
    on("cmd印刷開始", [this] { StartPrinting(); });
    on("cmd選択閉じる", [this] { frm印刷選択_->hide(); });
    on("cmdHint", [this] { masters::OpenHint(this, QStringLiteral("cmdHint")); });
    // Enter in the reading box reads at once.
    connect(txtふりがな_, &QLineEdit::returnPressed, this, [this] { Read顧客一覧(); });
}

int FrmKokyakuList::currentRow() const {
    return grid明細_->currentIndex().isValid() ? grid明細_->currentIndex().row() : -1;
}

void FrmKokyakuList::setCurrentRow(int row) {
    grid明細_->setCurrentIndex(model_->index(row, 0));
}

void FrmKokyakuList::Clear顧客一覧() {
    core::workDb()->execute(QStringLiteral("delete * from w顧客マスタ"));
    model_->refresh();
    txtふりがな_->clear();
}

void FrmKokyakuList::Read顧客一覧() {
    core::db::Database& work = *core::workDb();
    {
        core::db::Transaction tx(work);
        work.execute(QStringLiteral("delete * from w顧客マスタ"));
        QString sql = QStringLiteral("insert into w顧客マスタ select * from 顧客マスタ  in ") +
                      core::jetsql::quoteText(core::paths().dataDb);
        QVariantList params;
        // The typed text keeps the layer's wildcards; the '*' makes it a prefix.
        if (!txtふりがな_->text().isEmpty()) {
            sql += QStringLiteral(" where ふりがな like ?");
            params << txtふりがな_->text() + QLatin1Char('*');
        }
        work.execute(sql + QStringLiteral(" order by ふりがな,名称;"), params);
        tx.commit();
    }
    model_->refresh();
    if (model_->rowCount() > 0) {
        setCurrentRow(0);
    }
    grid明細_->setFocus();
}

void FrmKokyakuList::OnOff顧客一覧(bool flag) {
    core::workDb()->execute(QStringLiteral("update w顧客マスタ set チェック = ") +
                            (flag ? QStringLiteral("True") : QStringLiteral("False")));
    const int row = currentRow();
    model_->refresh();
    if (row >= 0 && model_->rowCount() > 0) {
        setCurrentRow(std::min(row, model_->rowCount() - 1));
    }
    grid明細_->setFocus();
}

void FrmKokyakuList::Delete顧客マスタ() {
    if (model_->rowCount() == 0) {
        return;
    }
    core::db::Database& work = *core::workDb();
    const bool ticked =
        work.scalar(QStringLiteral("select count(*) from w顧客マスタ where チェック = True")).toInt() > 0;
    setCurrentRow(0);
    if (!ticked) {
        txtふりがな_->setFocus();
        return;
    }
    if (!ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("その他確認"), QStringLiteral("指定された顧客"))) {
        return;
    }
    core::db::Database& data = *core::dataDb();
    {
        // Every ticked customer goes, with its numbers, or none of them.
        core::db::Transaction tx(data);
        bool ok = tx.active();
        for (core::db::Recordset rs = work.openRecordset(
                 QStringLiteral("select code, 名称 from w顧客マスタ where チェック = True"));
             ok && rs.isOpen() && !rs.eof(); rs.moveNext()) {
            const QVariant name = rs.field(QStringLiteral("名称"));
            const QVariant code = rs.field(QStringLiteral("code"));
            if (!name.isNull()) {
                ok = data.execute(QStringLiteral("delete * from 顧客マスタ where 名称 = ?"), {name});
            }
            if (ok && !code.isNull()) {
                ok = data.execute(QStringLiteral("delete * from 電話番号 where code = ?"), {code});
            }
        }
        if (ok) {
            tx.commit();
        }
    }
    Read顧客一覧();
}

void FrmKokyakuList::FindCustomer() {
    ClsGojuren finder;
    finder.setPcDataFile(core::paths().dataDb);
    finder.setPcWorkFile(core::paths().workDb);
    if (!finder.FormShow()) {
        ui::showNotice(QStringLiteral("顧客参照"), finder.lastError(), core::MsgStyle::Warning);
        return;
    }
    finder.SetRetVal();
    const QString code = finder.pccode();
    if (code.isEmpty()) {
        return;
    }
    // Read into a record of its own: a code that is not found must not leave
    // an earlier customer's name to be looked for.
    core::CurrentCustomer c;
    c.code = code.toInt();
    core::Read顧客(*core::dataDb(), QStringLiteral("code"), c);
    if (model_->rowCount() == 0) {
        return;
    }
    const QString name = c.名称;
    for (int r = 0; !name.isEmpty() && r < model_->rowCount(); ++r) {
        if (model_->value(r, QStringLiteral("名称")).toString() == name) {
            setCurrentRow(r);
            grid明細_->scrollTo(model_->index(r, 0));
            return;
        }
    }
    setCurrentRow(0);
}

void FrmKokyakuList::MenuWithHandOver() {
    core::screenHistory().FormHistory(QStringLiteral("PUSH"), objectName());
    const int row = currentRow();
    core::HandOver& h = core::handOver();
    // An earlier, unused hand-over never reaches the desk from here.
    h.HandOverCode = 0;
    if (row >= 0) {
        const QVariant code = model_->value(row, QStringLiteral("code"));
        if (!code.isNull() && !code.toString().isEmpty()) {
            h.HandOverCode = code.toInt();
        }
        const QVariant name = model_->value(row, QStringLiteral("名称"));
        if (!name.isNull()) {
            h.HandOverName = name.toString();
        }
    }
    repaint();
    ui::Screens::showMainMenu();
}

void FrmKokyakuList::Back() {
    if (core::screenHistory().FormHistory(QStringLiteral("POP"), objectName()) != true) {
        return;
    }
    if (ui::screens().openWindows().size() < 2) {
        ui::screens().show(QStringLiteral("FrmCti"));
    }
    close();
}

} // namespace desk
