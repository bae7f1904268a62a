#include "screens.h"

#include "lookups.h"

#include <QApplication>

namespace ui {

void Screens::showMainMenu() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("FrmMainMenu")) {
            w->showNormal();
            w->raise();
            w->activateWindow();
            return;
        }
    }
}

Screens& screens() {
    static Screens s;
    return s;
}

void Screens::registerScreen(const QString& formName, Factory factory) {
    factories_.insert(formName, factory);
}

bool Screens::available(const QString& formName) const {
    return factories_.contains(formName);
}

QWidget* Screens::loaded(const QString& formName) const {
    return loaded_.value(formName);
}

QWidget* Screens::ensure(const QString& formName) {
    if (QWidget* w = loaded_.value(formName)) {
        return w;
    }
    if (!factories_.contains(formName)) {
        return nullptr;
    }
    QWidget* w = factories_.value(formName)();
    if (!w) {
        return nullptr;
    }
    w->setObjectName(formName);
    w->setAttribute(Qt::WA_DeleteOnClose); // closing unloads the screen
    loaded_.insert(formName, w);
    order_ << w;
    return w;
}

QWidget* Screens::open(const QString& formName, QWidget* opener) {
    if (!available(formName)) {
        return nullptr;
    }
    core::screenHistory().FormHistory(QStringLiteral("PUSH"),
                                      opener ? opener->objectName() : QString());
    return show(formName);
}

QWidget* Screens::show(const QString& formName) {
    QWidget* w = ensure(formName);
    if (!w) {
        return nullptr;
    }
    w->setWindowState((w->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    w->showNormal();
    w->raise();
    w->activateWindow();
    return w;
}

QList<QWidget*> Screens::openWindows() const {
    QList<QWidget*> out;
    for (const QPointer<QWidget>& w : order_) {
        if (w && w->isVisible()) {
            out << w;
        }
    }
    // Windows made elsewhere (dialogs) are counted after the screens.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !out.contains(w) && w->isWindow()) {
            out << w;
        }
    }
    return out;
}

void Screens::closeAllBut(QWidget* keep) {
    QList<QWidget*> windows = openWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        QPointer<QWidget> w(*it);
        if (!w || w == keep) {
            continue;
        }
        w->close();
        QCoreApplication::processEvents();
    }
}

void Screens::connectHistory() {
    core::screenHistory().showForm = [this](const QString& form) { show(form); };
    core::screenHistory().showCallDesk = [this] { show(QStringLiteral("FrmCti")); };
}

void Screens::clear() {
    for (const QPointer<QWidget>& w : std::as_const(loaded_)) {
        delete w.data();
    }
    factories_.clear();
    loaded_.clear();
    order_.clear();
}

} // namespace ui
