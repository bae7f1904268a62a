#pragma once
// Names for assistive technology and UI automation: every input control is
// announced by the text of the label beside it, every screen by its caption.

#include <QString>

class QGridLayout;
class QLabel;
class QWidget;

namespace ui {

// The label's text (trailing colons and blanks dropped) becomes the
// control's accessible name, and the label its buddy. An editable combo box's
// line edit, and the control that takes the focus for a composite box, get
// the same name.
void nameByLabel(QWidget* control, QLabel* label);
// For a control whose label is drawn elsewhere (a grid heading, a panel title).
void nameByLabel(QWidget* control, const QString& labelText);
// For a form laid out as rows of "label, control": each label names the
// first input control to its right in its row (a box inside a frame
// included). Buttons and check boxes speak their own captions and are
// passed over.
void nameByLabels(QGridLayout* form);
// The window's caption as its accessible name.
void nameWindow(QWidget* window);

// A label text as it is announced: "顧客名：" → "顧客名", and the blanks that
// only space out Japanese characters dropped: "メ  モ" → "メモ".
QString spokenLabel(const QString& labelText);

} // namespace ui
