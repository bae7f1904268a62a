#include "vxcmdaccessible.h"

#include "vxcmdbtn.h"

#include "vxcontrol.h"

#include <QAccessible>

namespace vx {
namespace {

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("vx::VxCmdBtn") && object && object->isWidgetType()) {
        return new VxCmdBtnAccessible(static_cast<VxCmdBtn*>(object));
    }
    return nullptr;
}

// The key that presses the button with Alt: the letter after a single '&'.
QString mnemonicOf(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (caption.at(i + 1) == QLatin1Char('&')) {
                ++i;
                continue;
            }
            return QStringLiteral("Alt+") + caption.at(i + 1).toUpper();
        }
    }
    return {};
}

} // namespace

void installAccessibility() {
    vx::common::installAccessibleFactory(factory);
}

void notifyAccessibleName(VxCmdBtn* button) {
    if (QAccessible::isActive()) {
        QAccessibleEvent e(button, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&e);
    }
}

void notifyAccessibleState(VxCmdBtn* button) {
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        changed.pressed = true;
        QAccessibleStateChangeEvent e(button, changed);
        QAccessible::updateAccessibility(&e);
    }
}

VxCmdBtnAccessible::VxCmdBtnAccessible(VxCmdBtn* button)
    : QAccessibleWidget(button, QAccessible::PushButton) {}

VxCmdBtn* VxCmdBtnAccessible::button() const {
    return static_cast<VxCmdBtn*>(widget());
}

QAccessible::State VxCmdBtnAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    VxCmdBtn* b = button();
    const bool toggle = b->toggle().toBool();
    s.checkable = toggle;
    s.checked = toggle && b->value();
    s.pressed = !toggle && b->value();
    s.focusable = b->isEnabled() && b->focusPolicy() != Qt::NoFocus;
    s.defaultButton = b->isDefaultButton();
    return s;
}

QString VxCmdBtnAccessible::text(QAccessible::Text t) const {
    VxCmdBtn* b = button();
    switch (t) {
    case QAccessible::Name:
        // A name a screen gave the button wins over the caption.
        return b->accessibleName().isEmpty() ? b->spokenName() : b->accessibleName();
    case QAccessible::Description:
        return b->accessibleDescription().isEmpty() ? b->toolTipText() : b->accessibleDescription();
    case QAccessible::Accelerator:
        return mnemonicOf(b->caption());
    default:
        return QAccessibleWidget::text(t);
    }
}

QStringList VxCmdBtnAccessible::actionNames() const {
    QStringList names;
    if (button()->isEnabled()) {
        names << pressAction();
        if (button()->toggle().toBool()) {
            names << toggleAction();
        }
    }
    return names + QAccessibleWidget::actionNames();
}

void VxCmdBtnAccessible::doAction(const QString& action) {
    if (action == pressAction() || action == toggleAction()) {
        button()->pressAndRelease();
    } else {
        QAccessibleWidget::doAction(action);
    }
}

QStringList VxCmdBtnAccessible::keyBindingsForAction(const QString& action) const {
    if (action == pressAction()) {
        const QString key = mnemonicOf(button()->caption());
        return key.isEmpty() ? QStringList() : QStringList{key};
    }
    return QAccessibleWidget::keyBindingsForAction(action);
}

} // namespace vx
