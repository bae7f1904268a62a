#include "tackform2601.h"

#include "accessible.h"
#include "fkeyrow.h"
#include "rpttack2601.h"
#include "vxcmdbtn.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>

namespace desk {
namespace {

// Twips to the screen's pixels at the old 15 twips a pixel.
constexpr int px(int twips) { return twips / 15; }
constexpr int kColumnLeft[] = {330, 1725};
constexpr int kRowTop[] = {345, 870, 1395, 1920, 2445, 2970};

} // namespace

TackForm2601::TackForm2601(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TackForm2601"));
    setWindowTitle(QStringLiteral("タックシール印字位置指定"));
    auto* prompt = new QLabel(QStringLiteral("印刷開始位置をクリックしてください"), this);
    prompt->setObjectName(QStringLiteral("lblPrompt"));
    prompt->setGeometry(px(330), px(60), px(2600), px(240));
    for (int i = 0; i < kLabelsPerSheet; ++i) {
        auto* t = new QLabel(QString::number(i + 1), this);
        t->setObjectName(QStringLiteral("tacks"));
        t->setProperty("Index", i);
        t->setAlignment(Qt::AlignCenter);
        t->setFrameShape(QFrame::Box);
        t->setAutoFillBackground(true);
        t->setGeometry(px(kColumnLeft[i % 2]), px(kRowTop[i / 2]), px(1200), px(465));
        t->installEventFilter(this);
        t->setCursor(Qt::PointingHandCursor);
        t->setFocusPolicy(Qt::StrongFocus);
        ui::nameByLabel(t, QStringLiteral("印刷開始位置 %1").arg(i + 1));
    }
    auto* close = new vx::VxCmdBtn(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("cmd閉じる"));
    close->setGeometry(px(1725), px(3550), px(1200), px(420));
    connect(close, &vx::VxCmdBtn::Click, this, &QWidget::close);
    auto* keys = new ui::FunctionKeyRow({{Qt::Key_Escape, QStringLiteral("閉じる"), "cmd閉じる"}}, this);
    keys->setGeometry(0, px(4050), px(3300), 28);
    setFixedSize(px(3300), px(4050) + 30);
    ui::nameWindow(this);
    highlight(0);
}

QLabel* TackForm2601::tile(int index) const {
    for (QLabel* t : findChildren<QLabel*>(QStringLiteral("tacks"))) {
        if (t->property("Index").toInt() == index) {
            return t;
        }
    }
    return nullptr;
}

void TackForm2601::highlight(int tileIndex) {
    highlighted_ = tileIndex;
    for (int i = 0; i < kLabelsPerSheet; ++i) {
        QPalette p = tile(i)->palette();
        p.setColor(QPalette::Window, i == tileIndex ? kTileHighlight : QColor(Qt::white));
        tile(i)->setPalette(p);
    }
}

void TackForm2601::choose(int tileIndex) {
    highlight(tileIndex);
    tackStartPosition() = tileIndex;
}

void TackForm2601::showEvent(QShowEvent* e) {
    // Each opening starts at tile 0, whatever the start position is.
    highlight(0);
    QWidget::showEvent(e);
}

bool TackForm2601::eventFilter(QObject* o, QEvent* e) {
    const QVariant index = o->property("Index");
    if (index.isValid() && o->objectName() == QStringLiteral("tacks")) {
        const bool pressed = e->type() == QEvent::MouseButtonRelease &&
                             static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton;
        const bool keyed = e->type() == QEvent::KeyPress &&
                           (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Space ||
                            static_cast<QKeyEvent*>(e)->key() == Qt::Key_Return);
        if (pressed || keyed) {
            choose(index.toInt());
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

TackForm2601* TackForm2601::open() {
    static QPointer<TackForm2601> picker;
    if (!picker) {
        picker = new TackForm2601;
        picker->setAttribute(Qt::WA_DeleteOnClose);
    }
    picker->highlight(0);
    picker->show();
    picker->raise();
    picker->activateWindow();
    return picker;
}

} // namespace desk
