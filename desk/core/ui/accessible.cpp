#include "accessible.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

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
    return t;
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
}

void nameByLabel(QWidget* control, QLabel* label) {
    if (!control || !label) {
        return;
    }
    label->setBuddy(control);
    nameByLabel(control, label->text());
}

void nameWindow(QWidget* window) {
    if (window) {
        window->setAccessibleName(window->windowTitle());
    }
}

} // namespace ui
