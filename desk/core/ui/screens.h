#pragma once
// The program's screens: created on first use, one window each, modeless,
// reused while loaded, and closed in reverse order of opening when the
// program ends.

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace ui {

class Screens : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<QWidget*()>;

    // A screen that is built. Unregistered screens are not offered.
    void registerScreen(const QString& formName, Factory factory);
    bool available(const QString& formName) const;
    QWidget* loaded(const QString& formName) const;

    // Opening from another screen: the opener goes on the screen history,
    // then the screen is created if needed, set to normal state, shown and
    // brought forward.
    QWidget* open(const QString& formName, QWidget* opener);
    // Shows a screen without touching the history.
    QWidget* show(const QString& formName);
    // The main menu restored to normal size and brought forward ("メイン").
    static void showMainMenu();

    // Top-level windows in the order they were opened.
    QList<QWidget*> openWindows() const;
    // Closes every window but keep, the last opened first, letting events
    // run after each so each runs its own closing logic.
    void closeAllBut(QWidget* keep);

    // Wires the screen history's showing of forms to this.
    void connectHistory();
    void clear();

private:
    QWidget* ensure(const QString& formName);
    QHash<QString, Factory> factories_;
    QHash<QString, QPointer<QWidget>> loaded_;
    QList<QPointer<QWidget>> order_;
};

Screens& screens();

} // namespace ui
