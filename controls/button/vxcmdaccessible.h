#pragma once
// The command button as assistive technology and UI automation see it: a
// push button (checkable while Toggle is on) named by its caption, with a
// press action that does what a click does.

#include <QAccessibleWidget>

namespace vx {

class VxCmdBtn;

// Registers the interface with the toolkit; done once, by the first button.
void installAccessibility();
// Tell a listening screen reader what changed.
void notifyAccessibleName(VxCmdBtn* button);
void notifyAccessibleState(VxCmdBtn* button);

class VxCmdBtnAccessible : public QAccessibleWidget {
public:
    explicit VxCmdBtnAccessible(VxCmdBtn* button);

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;
    QStringList keyBindingsForAction(const QString& action) const override;

private:
    VxCmdBtn* button() const;
};

} // namespace vx
