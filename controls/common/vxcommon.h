#pragma once
// What the two controls share: the old fonts and their IPA stand-ins, how
// property values are accepted, mouse buttons and shift state in the old
// numbering.

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

// The stock font's shortcut properties of both controls (FontName,
// FontBold, ...): each changes one trait of the control's font.
template <typename Control> class FontShortcuts {
public:
    QString fontName() const { return self().font().family(); }
    void setFontName(const QString& name) {
        change([&](QFont& f) { f.setFamily(name); });
    }
    bool fontBold() const { return self().font().bold(); }
    void setFontBold(bool on) {
        change([&](QFont& f) { f.setBold(on); });
    }
    bool fontItalic() const { return self().font().italic(); }
    void setFontItalic(bool on) {
        change([&](QFont& f) { f.setItalic(on); });
    }
    bool fontUnderline() const { return self().font().underline(); }
    void setFontUnderline(bool on) {
        change([&](QFont& f) { f.setUnderline(on); });
    }
    bool fontStrikethru() const { return self().font().strikeOut(); }
    void setFontStrikethru(bool on) {
        change([&](QFont& f) { f.setStrikeOut(on); });
    }
    double fontSize() const { return self().font().pointSizeF(); }
    void setFontSize(double size) {
        if (size > 0) {
            change([&](QFont& f) { f.setPointSizeF(size); });
        }
    }

private:
    const Control& self() const { return static_cast<const Control&>(*this); }
    template <typename Change> void change(Change c) {
        auto& w = static_cast<Control&>(*this);
        QFont f = w.font();
        c(f);
        w.setFont(f);
    }
};

// True and False, also as 1, -1 (the old True) and 0, or, where `words`
// allows, as the words.
inline bool acceptBool(const QVariant& v, bool* out, bool words = true) {
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
        if (!words) {
            return false;
        }
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

inline int vbButton(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
           (b & Qt::MiddleButton ? 4 : 0);
}

inline int vbShift(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

} // namespace vx::common
