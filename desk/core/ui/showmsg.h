#pragma once
// ShowMsg: shows a catalogue message in a modal box and tells whether the
// user agreed. Tests script the answers instead of clicking.

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include "messages.h"

class QWidget;

namespace ui {

// True only for a Yes to a question; False for No, for an OK-only notice,
// and for a category or kind the catalogue does not have (nothing shown).
bool ShowMsg(const QString& category, const QString& kind, const QString& text = {});

// A box outside the catalogue (start-up failure, "Oter Error ").
void showNotice(const QString& title, const QString& text,
                core::MsgStyle style = core::MsgStyle::Notice);

// The seam: while scripted, each box is set up as for the user and recorded
// with what it offers instead of shown; a question takes the next scripted
// answer (No when none is left), pressed on the box's own button.
class MessageBoxes {
public:
    struct Asked {
        QString text;
        QString title;
        core::MsgStyle style;
        QStringList buttons;   // captions, as the box shows them
        QString defaultButton; // the caption Enter would press
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };
    // Starts a fresh script: the answers to give, and nothing asked yet.
    static void script(const QList<bool>& answers = {});
    static void unscript();
    static bool scripted();
    static QList<Asked> asked();
    static void clearAsked();
};

} // namespace ui
