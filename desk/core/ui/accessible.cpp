#include "accessible.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMap>

namespace ui {

QString spokenLabel(const QString& labelText) {
    QString t = labelText;
    t.remove(QLatin1Char('&'));
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    t = t.trimmed();
    while (!t.isEmpty() && (t.endsWith(QLatin1Char(':')) || t.endsWith(QChar(0xFF1A)) ||
                            t.endsWith(QChar(0x3000)) || t.at(t.size() - 1).isSpace())) {
        t.chop(1);
    }
    while (!t.isEmpty() && (t.at(0) == QChar(0x3000) || t.at(0).isSpace())) {
        t.remove(0, 1);
    }
    // Blanks between two Japanese characters only space the label out;
    // between Latin words they part the words.
    QString out;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t.at(i).isSpace()) {
            qsizetype j = i;
            while (j < t.size() && t.at(j).isSpace()) {
                ++j;
            }
            if (i > 0 && j < t.size() && t.at(i - 1).unicode() > 0x7F && t.at(j).unicode() > 0x7F) {
                i = j - 1;
                continue;
            }
        }
        out += t.at(i);
    }
    return out;
}

void nameByLabel(QWidget* control, const QString& labelText) {
    if (!control) {
        return;
    }
    const QString name = spokenLabel(labelText);
    control->setAccessibleName(name);
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit()) {
        combo->lineEdit()->setAccessibleName(name);
    }
    // A composite box (a date box, say) hands the focus to its inner field,
    // which is what a screen reader announces.
    for (QWidget* w = control->focusProxy(); w; w = w->focusProxy()) {
        w->setAccessibleName(name);
    }
}

void nameByLabel(QWidget* control, QLabel* label) {
    if (!control || !label) {
        return;
    }
    label->setBuddy(control);
    nameByLabel(control, label->text());
}

namespace {

bool isInput(const QWidget* w) {
    return w->focusPolicy() != Qt::NoFocus && !qobject_cast<const QAbstractButton*>(w) &&
           !qobject_cast<const QLabel*>(w);
}

// The input control a cell holds: the widget itself, or the first input
// inside it, taken with the box it is the focus of (a date box's field
// names the date box).
QWidget* inputIn(QWidget* w) {
    if (isInput(w)) {
        return w;
    }
    if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)) {
        return nullptr;
    }
    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (isInput(c)) {
            while (c != w && c->parentWidget() && c->parentWidget()->focusProxy() == c) {
                c = c->parentWidget();
            }
            return c;
        }
    }
    return nullptr;
}

} // namespace

void nameByLabels(QGridLayout* form) {
    if (!form) {
        return;
    }
    // Row by row, left to right.
    QMap<int, QMap<int, QWidget*>> rows;
    for (int i = 0; i < form->count(); ++i) {
        int row, column, rowSpan, columnSpan;
        form->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        if (QWidget* w = form->itemAt(i)->widget()) {
            rows[row][column] = w;
        }
    }
    for (const auto& row : std::as_const(rows)) {
        QLabel* label = nullptr;
        for (QWidget* w : row) {
            if (auto* l = qobject_cast<QLabel*>(w)) {
                label = l;
            } else if (QWidget* input = label ? inputIn(w) : nullptr) {
                nameByLabel(input, label);
                label = nullptr;
            }
        }
    }
}

void nameWindow(QWidget* window) {
    if (window) {
        window->setAccessibleName(window->windowTitle());
    }
}

} // namespace ui
