#include "vxcontrol.h"

#include "vxcommon.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <climits>

namespace vx::common {

bool Refusals::refuse(int number, const QString& message) {
    number_ = number;
    message_ = message;
    if (report_) {
        report_(number, message);
    }
    return false;
}

bool Refusals::takeInt(const QVariant& v, int lo, int hi, const QString& message, int& member,
                       std::initializer_list<int> alsoAccepted) {
    int n;
    const bool other = acceptInt(v, INT_MIN, INT_MAX, &n) &&
                       std::find(alsoAccepted.begin(), alsoAccepted.end(), n) != alsoAccepted.end();
    if (!other && !acceptInt(v, lo, hi, &n)) {
        return refuse(ErrInvalidProperty, message);
    }
    member = n;
    if (changed_) {
        changed_();
    }
    return true;
}

bool Refusals::takeBool(const QVariant& v, bool words, const QString& message, bool& member) {
    bool on;
    if (!acceptBool(v, &on, words)) {
        return refuse(ErrInvalidProperty, message);
    }
    member = on;
    if (changed_) {
        changed_();
    }
    return true;
}

Qt::CursorShape standardPointer(int pointer) {
    static const Qt::CursorShape shapes[] = {
        Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor};
    return pointer >= 0 && pointer < 16 ? shapes[pointer] : Qt::ArrowCursor;
}

bool pictureBytes(const QVariant& v, QByteArray* bytes) {
    if (v.typeId() == QMetaType::QByteArray) {
        *bytes = v.toByteArray();
        return true;
    }
    if (v.typeId() != QMetaType::QString) {
        return false;
    }
    QFile f(v.toString());
    if (!f.open(QIODevice::ReadOnly)) {
        return false;
    }
    *bytes = f.readAll();
    return true;
}

void installAccessibleFactory(QAccessible::InterfaceFactory factory) {
    static QList<QAccessible::InterfaceFactory> installed;
    if (!installed.contains(factory)) {
        installed << factory;
        QAccessible::installFactory(factory);
    }
}

bool loadIcon(const QVariant& v, QIcon* out) {
    if (!v.isValid() || v.isNull()) {
        *out = QIcon();
        return true;
    }
    if (v.typeId() == QMetaType::QIcon) {
        *out = v.value<QIcon>();
        return !out->isNull();
    }
    QByteArray bytes;
    if (!pictureBytes(v, &bytes)) {
        return false;
    }
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf);
    if (reader.format() != "ico" && reader.format() != "cur") {
        return false;
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        return false;
    }
    *out = QIcon(QPixmap::fromImage(image));
    return true;
}

QLabel* showTipBox(const QString& text, const QString& objectName, const QWidget* over) {
    auto* tip = new QLabel(text, nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
    tip->setObjectName(objectName);
    QFont f(QStringLiteral("ＭＳ ゴシック"));
    f.setPixelSize(12);
    tip->setFont(f);
    tip->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    tip->setStyleSheet(QStringLiteral(
        "QLabel { background: rgb(255,255,128); color: black; border: 1px solid black;"
        " padding-top: 2px; }"));
    const QFontMetrics fm(f);
    tip->resize(fm.horizontalAdvance(text) + 8, fm.height() + 6);
    QPoint at = QCursor::pos() + QPoint(10, 18);
    if (const QScreen* s = over ? over->screen() : nullptr) {
        at.setX(std::min(at.x(), s->geometry().right() + 1 - tip->width()));
        at.setY(std::min(at.y(), s->geometry().bottom() + 1 - tip->height()));
    }
    tip->move(at);
    tip->show();
    return tip;
}

} // namespace vx::common
