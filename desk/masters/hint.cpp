#include "hint.h"

#include "accessible.h"
#include "database.h"
#include "fkeyrow.h"
#include "showmsg.h"
#include "startup.h"
#include "vxcmdbtn.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>

namespace masters {
namespace {

QPointer<Hint>& theWindow() {
    static QPointer<Hint> w;
    return w;
}

const QString kHint = QStringLiteral("ヒント");

QLabel* keyLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::StyledPanel);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

vx::VxCmdBtn* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new vx::VxCmdBtn(caption, parent);
    b->setObjectName(name);
    b->setMinimumSize(64, 28);
    return b;
}

} // namespace

HintKeys& hintKeys() {
    static HintKeys keys;
    return keys;
}

void OpenHint(QWidget* screen, const QString& buttonName) {
    if (Hint* open = theWindow()) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return;
    }
    hintKeys() = HintKeys{screen ? screen->objectName() : QString(), buttonName,
                          screen ? screen->windowTitle() : QString()};
    auto* w = new Hint;
    w->setAttribute(Qt::WA_DeleteOnClose);
    theWindow() = w;
    w->show();
    w->raise();
    w->activateWindow();
}

QWidget* hintWindow() {
    return theWindow();
}

const QColor& Hint::normalColor() {
    static const QColor c(209, 209, 205);
    return c;
}

const QColor& Hint::editColor() {
    static const QColor c(255, 128, 128);
    return c;
}

Hint::Hint(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , keys_(hintKeys()) {
    setObjectName(QStringLiteral("Hint"));
    setWindowTitle(QStringLiteral("ヒント        "));
    auto* root = new QVBoxLayout(this);
    auto* keysBox = new QGridLayout;
    lblFormName_ = keyLabel(QStringLiteral("lblFormName"), keys_.formName, this);
    lblCtlName_ = keyLabel(QStringLiteral("lblCtlName"), keys_.ctlName, this);
    lblFormTitle_ = keyLabel(QStringLiteral("lblFormTitle"), keys_.formTitle, this);
    keysBox->addWidget(new QLabel(QStringLiteral("画面"), this), 0, 0);
    keysBox->addWidget(lblFormName_, 0, 1);
    keysBox->addWidget(lblFormTitle_, 0, 2);
    keysBox->addWidget(new QLabel(QStringLiteral("ボタン"), this), 1, 0);
    keysBox->addWidget(lblCtlName_, 1, 1, 1, 2);
    keysBox->setColumnStretch(1, 1);
    keysBox->setColumnStretch(2, 1);
    root->addLayout(keysBox);

    txtContents_ = new QPlainTextEdit(this);
    txtContents_->setObjectName(QStringLiteral("txtContents"));
    // Read-only until 編集 is pressed, so a stray key press never changes a note.
    txtContents_->setReadOnly(true);
    ui::nameByLabel(txtContents_, kHint);
    root->addWidget(txtContents_, 1);

    auto* buttons = new QHBoxLayout;
    cmd編集_ = button(QStringLiteral("cmd編集"), QStringLiteral("編集"), this);
    cmd編集_->setBackColor(normalColor());
    buttons->addWidget(cmd編集_);
    for (auto [n, c] : {std::pair{"cmd登録", "登録"},
                        {"cmdクリア", "クリア"},
                        {"cmd削除", "削除"},
                        {"cmd閉じる", "閉じる"}}) {
        buttons->addWidget(button(QString::fromUtf8(n), QString::fromUtf8(c), this));
    }
    root->addLayout(buttons);
    root->addWidget(new ui::FunctionKeyRow(
        {{Qt::Key_Escape, QStringLiteral("閉じる"), QStringLiteral("cmd閉じる")}}, this));

    auto on = [this](const char* name, auto f) {
        connect(findChild<vx::VxCmdBtn*>(QString::fromUtf8(name)), &vx::VxCmdBtn::Click, this, f);
    };
    on("cmd編集", [this] { toggleEdit(); });
    on("cmd登録", [this] { save(); });
    on("cmdクリア", [this] { txtContents_->clear(); });
    on("cmd削除", [this] { remove(); });
    on("cmd閉じる", [this] { close(); });

    ui::nameWindow(this);
    resize(460, 300);
    ReadHint();
    txtContents_->setFocus();
}

bool Hint::editing() const {
    return !txtContents_->isReadOnly();
}

bool Hint::hasKeys() const {
    return !keys_.formName.isEmpty() && !keys_.ctlName.isEmpty() && core::workDb();
}

void Hint::toggleEdit() {
    // The button's colour is the state the user sees.
    const bool toEdit = cmd編集_->backColor() == normalColor();
    txtContents_->setReadOnly(!toEdit);
    cmd編集_->setBackColor(toEdit ? editColor() : normalColor());
    txtContents_->setFocus();
}

void Hint::ReadHint() {
    if (!hasKeys()) {
        return;
    }
    core::db::Recordset rs = core::workDb()->openRecordset(
        QStringLiteral("select * from RbHint where FormName = ? and CtlName = ?"),
        core::db::Recordset::Kind::Snapshot, {keys_.formName, keys_.ctlName});
    if (rs.isOpen() && !rs.eof()) {
        const QVariant v = rs.field(QStringLiteral("Contents"));
        txtContents_->setPlainText(v.isNull() ? QString() : v.toString());
    }
}

bool Hint::EntryHint() {
    if (!hasKeys()) {
        return false;
    }
    core::db::Database& work = *core::workDb();
    // One row per button: the old row goes only if the new one is stored.
    core::db::Transaction tx(work);
    if (!work.execute(QStringLiteral("delete * from RbHint where FormName = ? and CtlName = ?"),
                      {keys_.formName, keys_.ctlName})) {
        return false;
    }
    if (!work.execute(
            QStringLiteral("insert into RbHint (FormName, CtlName, FormTitle, Contents) "
                           "values (?, ?, ?, ?)"),
            {keys_.formName, keys_.ctlName, keys_.formTitle, txtContents_->toPlainText()})) {
        return false;
    }
    return tx.commit();
}

bool Hint::Deleteヒント() {
    if (!hasKeys()) {
        return false;
    }
    if (!core::workDb()->execute(
            QStringLiteral("delete * from RbHint where FormName = ? and CtlName = ?"),
            {keys_.formName, keys_.ctlName})) {
        return false;
    }
    txtContents_->clear();
    return true;
}

void Hint::save() {
    if (!hasKeys()) {
        return;
    }
    if (!ui::ShowMsg(QStringLiteral("登録"), QStringLiteral("確認"), kHint)) {
        return;
    }
    if (EntryHint()) {
        ui::ShowMsg(QStringLiteral("登録"), QStringLiteral("完了"), kHint);
    } else {
        // Never the completion notice for a note that was not stored.
        ui::ShowMsg(QStringLiteral("その他"), QStringLiteral("メッセージ"),
                    QStringLiteral("ヒントを登録できませんでした。") + core::workDb()->lastError());
    }
}

void Hint::remove() {
    if (!hasKeys()) {
        return;
    }
    if (!ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("確認"))) {
        return;
    }
    if (Deleteヒント()) {
        ui::ShowMsg(QStringLiteral("削除"), QStringLiteral("完了"), kHint);
    } else {
        ui::ShowMsg(QStringLiteral("その他"), QStringLiteral("メッセージ"),
                    QStringLiteral("ヒントを削除できませんでした。") + core::workDb()->lastError());
    }
}

} // namespace masters
