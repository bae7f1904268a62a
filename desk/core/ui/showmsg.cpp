#include "showmsg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace ui {
namespace {

struct Script {
    bool on = false;
    QList<bool> answers;
    QList<MessageBoxes::Asked> asked;
};
Script& boxScript() {
    static Script s;
    return s;
}

bool present(const core::Message& m) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(m.title);
    box.setText(m.text);
    switch (m.style) {
    case core::MsgStyle::ConfirmDefaultNo:
    case core::MsgStyle::ConfirmDefaultYes:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(m.style == core::MsgStyle::ConfirmDefaultYes ? QMessageBox::Yes
                                                                          : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
        break;
    case core::MsgStyle::Notice:
    case core::MsgStyle::Warning:
        box.setIcon(m.style == core::MsgStyle::Notice ? QMessageBox::Information
                                                      : QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    }
    Script& s = boxScript();
    if (s.on) {
        MessageBoxes::Asked asked{m.text, m.title, m.style, {}, {}, box.icon()};
        for (QAbstractButton* b : box.buttons()) {
            asked.buttons << b->text();
        }
        if (box.defaultButton()) {
            asked.defaultButton = box.defaultButton()->text();
        }
        s.asked << asked;
        // The answer is given on the box, as the user's press would be.
        const bool yes = m.asks() && !s.answers.isEmpty() && s.answers.takeFirst();
        QAbstractButton* pressed = box.button(yes ? QMessageBox::Yes : QMessageBox::No);
        if (!pressed) {
            pressed = box.button(QMessageBox::Ok);
        }
        pressed->click();
    } else {
        box.exec();
    }
    return m.asks() && box.clickedButton() && box.clickedButton() == box.button(QMessageBox::Yes);
}

} // namespace

bool ShowMsg(const QString& category, const QString& kind, const QString& text) {
    const auto m = core::catalogueMessage(category, kind, text);
    if (!m) {
        return false;
    }
    return present(*m);
}

void showNotice(const QString& title, const QString& text, core::MsgStyle style) {
    present(core::Message{text, title, style});
}

void MessageBoxes::script(const QList<bool>& answers) {
    boxScript().on = true;
    boxScript().answers = answers;
    boxScript().asked.clear();
}
void MessageBoxes::unscript() {
    boxScript() = Script{};
}
bool MessageBoxes::scripted() {
    return boxScript().on;
}
QList<MessageBoxes::Asked> MessageBoxes::asked() {
    return boxScript().asked;
}
void MessageBoxes::clearAsked() {
    boxScript().asked.clear();
}

} // namespace ui
