#include "frmcodemaster.h"

#include "accessible.h"
#include "codegrid.h"
#include "database.h"
#include "fkeyrow.h"
#include "hint.h"
#include "lookups.h"
#include "screens.h"
#include "showmsg.h"
#include "startup.h"
#include "vxcmdbtn.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

using core::db::Recordset;
using Kind = core::db::Recordset::Kind;

namespace masters {
namespace {

constexpr int kRows = 99;

core::db::Database& dataDb() {
    return *core::dataDb();
}
core::db::Database& workDb() {
    return *core::workDb();
}

QString text(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

vx::VxCmdBtn* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new vx::VxCmdBtn(caption, parent);
    b->setObjectName(name);
    b->setMinimumSize(72, 30);
    return b;
}

} // namespace

QStringList FrmCodeMaster::kinds() {
    return {QStringLiteral("担当"), QStringLiteral("用件１"), QStringLiteral("用件２"),
            QStringLiteral("電話名称"), QStringLiteral("敬称")};
}

FrmCodeMaster::FrmCodeMaster(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("FrmCodeMaster"));
    setWindowTitle(QStringLiteral("コード表"));
    build();
    FormInit();
    core::db::Transaction tx(workDb());
    Clearコード明細();
    cmb区分_->setCurrentIndex(0);
    Readコードマスタ();
    tx.commit();
}

void FrmCodeMaster::build() {
    auto* root = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* kindLabel = new QLabel(QStringLiteral("区分"), this);
    cmb区分_ = new QComboBox(this);
    cmb区分_->setObjectName(QStringLiteral("cmb区分"));
    cmb区分_->setEditable(false);
    cmb区分_->setMinimumWidth(160);
    cmb区分_->installEventFilter(this);
    ui::nameByLabel(cmb区分_, kindLabel);
    top->addWidget(kindLabel);
    top->addWidget(cmb区分_);
    top->addWidget(button(QStringLiteral("cmd読込"), QStringLiteral("読込"), this));
    top->addStretch(1);
    top->addWidget(button(QStringLiteral("cmdHint"), QStringLiteral("?"), this));
    root->addLayout(top);

    grid_ = new CodeGrid(this);
    grid_->setObjectName(QStringLiteral("Gridコードマスタ"));
    ui::nameByLabel(grid_, QStringLiteral("コード表"));
    root->addWidget(grid_, 1);

    lblMsg_ = new QLabel(QStringLiteral("読み込み中です････"), this);
    lblMsg_->setObjectName(QStringLiteral("lblMsg"));
    lblMsg_->setFrameShape(QFrame::Box);
    lblMsg_->setAutoFillBackground(true);
    lblMsg_->setAlignment(Qt::AlignCenter);
    lblMsg_->hide();
    root->addWidget(lblMsg_);

    auto* commands = new QHBoxLayout;
    for (auto [n, c] : {std::pair{"cmd戻る", "戻る"},
                        {"cmdメニュー", "メイン"},
                        {"cmd登録", "登録"},
                        {"cmd削除", "行削除"},
                        {"cmdクリア", "クリア"},
                        {"cmd閉じる", "閉じる"}}) {
        commands->addWidget(button(QString::fromUtf8(n), QString::fromUtf8(c), this));
    }
    root->addLayout(commands);
    root->addWidget(new ui::FunctionKeyRow(
        {{Qt::Key_F1, QStringLiteral("戻る"), QStringLiteral("cmd戻る")},
         {Qt::Key_F2, QStringLiteral("メイン"), QStringLiteral("cmdメニュー")},
         {Qt::Key_F5, QStringLiteral("登録"), QStringLiteral("cmd登録")},
         {Qt::Key_F6, QStringLiteral("行削除"), QStringLiteral("cmd削除")},
         {Qt::Key_F9, QStringLiteral("クリア"), QStringLiteral("cmdクリア")},
         {Qt::Key_Escape, QStringLiteral("閉じる"), {}}},
        this));
    // Esc closes the screen alone; 閉じる also closes the hint window.
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    esc->setContext(Qt::WindowShortcut);
    connect(esc, &QShortcut::activated, this, &QWidget::close);

    auto on = [this](const char* name, auto f) {
        connect(findChild<vx::VxCmdBtn*>(QString::fromUtf8(name)), &vx::VxCmdBtn::Click, this, f);
    };
    on("cmd戻る", [this] { back(); });
    on("cmdメニュー", [this] { toMenu(); });
    on("cmd読込", [this] { readCommand(); });
    on("cmd登録", [this] { Entryコードマスタ(true); });
    on("cmd削除", [this] { Deleteコードマスタ(); });
    on("cmdクリア", [this] { clearCommand(); });
    on("cmd閉じる", [this] { closeCommand(); });
    on("cmdHint", [this] { OpenHint(this, QStringLiteral("cmdHint")); });
    // Choosing a kind loads it at once.
    connect(cmb区分_, &QComboBox::activated, this, [this] { readCommand(); });

    ui::nameWindow(this);
    resize(600, 640);
}

bool FrmCodeMaster::eventFilter(QObject* o, QEvent* e) {
    if (o == cmb区分_ && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            grid_->setFocus();
            return true;
        }
        // The kind is chosen, never typed: a typed letter must not pick
        // another kind by its first character.
        if (k->key() == Qt::Key_Delete || k->key() == Qt::Key_Backspace ||
            (!k->text().isEmpty() && k->text().at(0).isPrint())) {
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

// ------------------------------------------------------------------ operations

void FrmCodeMaster::FormInit() {
    if (!model_) {
        model_ = new CodeGridModel(workDb(), this);
        grid_->setModel(model_);
    }
    cmb区分_->clear();
    cmb区分_->addItems(kinds());
}

QString FrmCodeMaster::kind() const {
    return cmb区分_->currentText();
}

void FrmCodeMaster::Clearコード明細() {
    {
        core::db::Transaction tx(workDb());
        workDb().execute(QStringLiteral("delete * from wコードマスタ"));
        for (int i = 0; i < kRows; ++i) {
            workDb().execute(
                QStringLiteral("insert into wコードマスタ (code, チェック) values (?, False)"),
                {QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'))});
        }
        tx.commit();
    }
    model_->refresh();
}

void FrmCodeMaster::Readコードマスタ() {
    const QString k = kind();
    if (k.isEmpty()) {
        Clearコード明細();
        cmb区分_->setFocus();
        return;
    }
    // The reset and the load are one unit of work: each commit waits for the disk.
    core::db::Transaction tx(workDb());
    Clearコード明細();
    int stored = 0;
    for (Recordset rs = dataDb().openRecordset(
             QStringLiteral("SELECT * FROM コードマスタ WHERE kcode = ? order by cnt"),
             Kind::Snapshot, {k});
         !rs.eof(); rs.moveNext()) {
        ++stored;
        // A code outside the 99 rows has no row here; it stays in the
        // table as it is (the save leaves it alone).
        workDb().execute(
            QStringLiteral("update wコードマスタ set sname = ?, Cnt = ? where code = ?"),
            {rs.field(QStringLiteral("sname")), rs.field(QStringLiteral("Cnt")),
             text(rs.field(QStringLiteral("code")))});
    }
    tx.commit();
    model_->refresh();
    if (stored > 0) {
        grid_->setCurrentIndex(model_->index(0, ColName));
        grid_->setFocus();
    }
}

bool FrmCodeMaster::Entryコードマスタ(bool ask) {
    grid_->commitPendingEdit();
    const QString k = kind();
    if (ask) {
        if (k.isEmpty()) {
            ui::ShowMsg(QStringLiteral("入力"), QStringLiteral("区分なし"));
            cmb区分_->setFocus();
            return false;
        }
        bool named = false;
        for (int i = 0; i < model_->rowCount() && !named; ++i) {
            named = !text(model_->value(i, QStringLiteral("sname"))).isEmpty();
        }
        if (!named) {
            return false;
        }
        if (!ui::ShowMsg(QStringLiteral("登録"), QStringLiteral("確認"), k)) {
            return false;
        }
    }
    if (k.isEmpty()) {
        return false;
    }
    QString error;
    if (!storeKind(k, &error)) {
        // The grid stays as typed, so nothing is lost and the save can be
        // tried again.
        ui::ShowMsg(QStringLiteral("その他"), QStringLiteral("メッセージ"),
                    k + QStringLiteral(" を登録できませんでした。") + error);
        return false;
    }
    if (ask) {
        ui::ShowMsg(QStringLiteral("登録"), QStringLiteral("標準完了"), k);
    }
    Clearコード明細();
    cmb区分_->setFocus();
    return true;
}

bool FrmCodeMaster::storeKind(const QString& k, QString* error) {
    core::db::Database& data = dataDb();
    // The kind is replaced whole or not at all: a failing row leaves the
    // stored rows as they were.
    core::db::Transaction tx(data);
    if (!tx.active()) {
        *error = data.lastError();
        return false;
    }
    Recordset rows =
        workDb().openRecordset(QStringLiteral("SELECT * FROM wコードマスタ order by 行番号;"));
    if (!rows.isOpen()) {
        *error = rows.lastError();
        return false;
    }
    for (; !rows.eof(); rows.moveNext()) {
        const QString code = text(rows.field(QStringLiteral("code")));
        if (code.isEmpty()) {
            continue;
        }
        // Only the grid's own codes are replaced; any other code of the
        // kind stays as stored.
        if (!data.execute(QStringLiteral("DELETE * FROM コードマスタ WHERE kcode = ? and code = ?"),
                          {k, code}) ||
            !data.execute(QStringLiteral("insert into コードマスタ (kcode, code, sname, Cnt) "
                                         "values (?, ?, ?, ?)"),
                          {k, code, rows.field(QStringLiteral("sname")),
                           rows.field(QStringLiteral("Cnt"))})) {
            *error = data.lastError();
            return false;
        }
    }
    if (!tx.commit()) {
        *error = data.lastError();
        return false;
    }
    return true;
}

void FrmCodeMaster::Deleteコードマスタ() {
    grid_->commitPendingEdit();
    bool ticked = false;
    for (int i = 0; i < model_->rowCount() && !ticked; ++i) {
        ticked = model_->value(i, QStringLiteral("チェック")).toBool();
    }
    if (model_->rowCount() > 0) {
        grid_->setCurrentIndex(model_->index(
            0, grid_->currentIndex().isValid() ? grid_->currentIndex().column() : ColName));
    }
    if (!ticked) {
        cmb区分_->setFocus();
        return;
    }
    if (!ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("その他確認"),
                     QStringLiteral("指定されたデータ"))) {
        return;
    }
    workDb().execute(
        QStringLiteral("update wコードマスタ set sname = NULL  where チェック = True"));
    Entryコードマスタ(false);
    model_->refresh();
}

// ------------------------------------------------------------------ commands

void FrmCodeMaster::back() {
    const std::optional<bool> popped =
        core::screenHistory().FormHistory(QStringLiteral("POP"), objectName());
    if (!popped.value_or(false)) {
        return;
    }
    if (ui::screens().openWindows().size() < 2) {
        ui::screens().show(QStringLiteral("FrmCti"));
    }
    close();
}

void FrmCodeMaster::toMenu() {
    core::screenHistory().FormHistory(QStringLiteral("PUSH"), objectName());
    ui::Screens::showMainMenu();
    close();
}

void FrmCodeMaster::readCommand() {
    lblMsg_->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    Readコードマスタ();
    lblMsg_->hide();
}

void FrmCodeMaster::clearCommand() {
    FormInit();
    Clearコード明細();
    cmb区分_->setCurrentIndex(0);
    cmb区分_->setFocus();
}

void FrmCodeMaster::closeCommand() {
    if (QWidget* hint = hintWindow()) {
        hint->close();
    }
    close();
}

} // namespace masters
