#include "fkeyrow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>

#include "vxcmdbtn.h"

namespace ui {

namespace {

// A drop-down list closes itself on Esc without taking the key, so the
// window's Esc shortcut would fire as well and close the whole screen. Esc
// pressed while a popup is open is claimed before any shortcut is tried; the
// popup still sees it and closes.
class PopupKeepsEsc : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::ShortcutOverride &&
            static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape &&
            QApplication::activePopupWidget()) {
            e->accept();
        }
        return false;
    }
};

void keepEscForPopups() {
    static PopupKeepsEsc* filter = [] {
        auto* f = new PopupKeepsEsc(qApp);
        qApp->installEventFilter(f);
        return f;
    }();
    Q_UNUSED(filter);
}

} // namespace

QString FunctionKeyRow::keyName(Qt::Key key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35) {
        return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    }
    switch (key) {
    case Qt::Key_Escape: return QStringLiteral("ESC");
    case Qt::Key_Return:
    case Qt::Key_Enter: return QStringLiteral("Enter");
    case Qt::Key_Delete: return QStringLiteral("Del");
    default: return QKeySequence(key).toString(QKeySequence::NativeText);
    }
}

FunctionKeyRow::FunctionKeyRow(const QList<FunctionKey>& keys, QWidget* screen)
    : QFrame(screen)
    , keys_(keys) {
    setObjectName(QStringLiteral("FunctionKeyRow"));
    setFrameShape(QFrame::StyledPanel);
    setAccessibleName(QStringLiteral("ファンクションキー"));
    keepEscForPopups();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    for (const FunctionKey& k : keys_) {
        auto* label = new QLabel(keyName(k.key) + QLatin1Char(' ') + k.caption, this);
        label->setObjectName(QStringLiteral("FunctionKey_") + keyName(k.key));
        layout->addWidget(label);
        if (k.button.isEmpty()) {
            continue;
        }
        auto* shortcut = new QShortcut(QKeySequence(k.key), screen);
        shortcut->setContext(Qt::WindowShortcut);
        const QString button = k.button;
        connect(shortcut, &QShortcut::activated, screen, [screen, button] {
            QWidget* b = screen->findChild<QWidget*>(button);
            if (!b || !b->isEnabled() || !b->isVisibleTo(screen)) {
                return;
            }
            if (auto* cmd = qobject_cast<vx::VxCmdBtn*>(b)) {
                cmd->DoClick();
            } else if (auto* pb = qobject_cast<QAbstractButton*>(b)) {
                pb->click();
            }
        });
    }
    layout->addStretch(1);
}

QString FunctionKeyRow::text() const {
    QStringList parts;
    for (const FunctionKey& k : keys_) {
        parts << keyName(k.key) + QLatin1Char(' ') + k.caption;
    }
    return parts.join(QStringLiteral("  "));
}

} // namespace ui
