#pragma once
// The message catalogue: every confirmation and notice of the screens, by
// category and kind, with its wording, title and buttons. Screens never
// compose their own boxes.

#include <QString>
#include <optional>

namespace core {

enum class MsgStyle {
    ConfirmDefaultNo,  // Yes/No, question icon, No preselected
    ConfirmDefaultYes, // Yes/No, question icon, Yes preselected
    Notice,            // OK, information icon
    Warning,           // OK, exclamation icon
    OkCancel,          // OK/Cancel, exclamation icon, OK preselected
};

struct Message {
    QString text;
    QString title;
    MsgStyle style = MsgStyle::Notice;
    bool asks() const {
        return style == MsgStyle::ConfirmDefaultNo || style == MsgStyle::ConfirmDefaultYes ||
               style == MsgStyle::OkCancel;
    }
};

// The message for a category and kind (both compared exactly), with the
// caller's text put in; nothing for a pair the catalogue does not have.
std::optional<Message> catalogueMessage(const QString& category, const QString& kind,
                                        const QString& text);

} // namespace core
