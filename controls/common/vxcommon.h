#pragma once
// What the two controls share: the old fonts and their IPA stand-ins, how
// property values are accepted, pointer shapes, mouse and key state in the
// old numbering, and colours as the defaults file stores them.

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QString>
#include <QVariant>
#include <QWidget>

namespace vx::common {

// The fonts of the old system, drawn with the IPA fonts.
inline void installFontSubstitutes() {
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("MS Pゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
}

// The font shortcuts (FontBold and the like) change one trait of the font.
template <typename Change> void changeFont(QWidget* w, Change change) {
    QFont f = w->font();
    change(f);
    w->setFont(f);
}

// True and False, also as 1, -1 (the old True) and 0, or as the words.
inline bool acceptBool(const QVariant& v, bool* out) {
    switch (v.typeId()) {
    case QMetaType::Bool:
        *out = v.toBool();
        return true;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short: {
        const qlonglong n = v.toLongLong();
        if (n == 0 || n == 1 || n == -1) {
            *out = n != 0;
            return true;
        }
        return false;
    }
    case QMetaType::QString: {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
            *out = true;
            return true;
        }
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
            *out = false;
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

// A whole number within lo..hi.
inline bool acceptInt(const QVariant& v, int lo, int hi, int* out) {
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || v.typeId() == QMetaType::Bool || d != static_cast<double>(static_cast<qint64>(d)) ||
        d < lo || d > hi) {
        return false;
    }
    *out = static_cast<int>(d);
    return true;
}

// The standard pointers 0 to 14 in the old order (0 leaves the choice to
// the container and shows as the arrow).
inline Qt::CursorShape standardPointer(int pointer) {
    static const Qt::CursorShape shapes[] = {
        Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::SizeAllCursor};
    return pointer >= 0 && pointer < 15 ? shapes[pointer] : Qt::ArrowCursor;
}

inline int vbButton(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
           (b & Qt::MiddleButton ? 4 : 0);
}

inline int vbShift(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

// Colours in the defaults file are the old 0x00BBGGRR numbers.
inline QString colorText(const QColor& c) {
    return QString::number(c.red() | (c.green() << 8) | (c.blue() << 16));
}

inline QColor colorFromText(const QString& text, const QColor& fallback) {
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < 0 || v > 0xFFFFFF) {
        return fallback;
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

} // namespace vx::common
