#include "vxini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

namespace vx::common {
namespace {

// "[name]" → name; an empty string for a line that is no section header.
QString headerName(const QString& line) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('[')) || !t.contains(QLatin1Char(']'))) {
        return {};
    }
    return t.mid(1, t.indexOf(QLatin1Char(']')) - 1).trimmed();
}

bool isHeader(const QString& line) {
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']'));
}

// The key of a "key=value" line; empty for comments and other lines.
QString keyOf(const QString& line) {
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char(';')) || isHeader(t)) {
        return {};
    }
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    return eq <= 0 ? QString() : t.left(eq).trimmed();
}

bool same(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString defaultsFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/ZX4WIN.INI");
}

IniFile::IniFile(const QString& path)
    : path_(path)
    , encoding_("UTF-8") {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return;
    }
    QByteArray bytes = f.readAll();
    bom_ = bytes.startsWith("\xEF\xBB\xBF");
    if (bom_) {
        bytes.remove(0, 3);
    }
    QString text;
    QStringDecoder utf8(QStringDecoder::Utf8);
    text = utf8(bytes);
    if (utf8.hasError()) {
        // A file written on the old system is in the Japanese ANSI encoding.
        QStringDecoder sjis("Shift_JIS");
        if (sjis.isValid()) {
            text = sjis(bytes);
            encoding_ = "Shift_JIS";
        } else {
            text = QString::fromLatin1(bytes);
            encoding_ = "ISO-8859-1";
        }
    }
    if (!text.contains(QLatin1String("\r\n")) && text.contains(QLatin1Char('\n'))) {
        eol_ = QStringLiteral("\n");
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines_ = text.split(QLatin1Char('\n'));
    if (!lines_.isEmpty() && lines_.last().isEmpty()) {
        lines_.removeLast(); // the final line end
    }
}

int IniFile::sectionLine(const QString& section) const {
    for (int i = 0; i < lines_.size(); ++i) {
        if (isHeader(lines_[i]) && same(headerName(lines_[i]), section)) {
            return i;
        }
    }
    return -1;
}

int IniFile::sectionEnd(int header) const {
    int i = header + 1;
    while (i < lines_.size() && !isHeader(lines_[i])) {
        ++i;
    }
    return i;
}

int IniFile::keyLine(const QString& section, const QString& key) const {
    const int header = sectionLine(section);
    if (header < 0) {
        return -1;
    }
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (same(keyOf(lines_[i]), key)) {
            return i;
        }
    }
    return -1;
}

bool IniFile::contains(const QString& section, const QString& key) const {
    return keyLine(section, key) >= 0;
}

QString IniFile::value(const QString& section, const QString& key, const QString& fallback) const {
    const int i = keyLine(section, key);
    if (i < 0) {
        return fallback;
    }
    const QString& line = lines_[i];
    QString v = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"'))) {
        v = v.mid(1, v.size() - 2);
    }
    return v;
}

int IniFile::intValue(const QString& section, const QString& key, int lo, int hi, int fallback,
                      const QList<int>& alsoAccepted) const {
    bool ok = false;
    const int v = value(section, key).toInt(&ok);
    return ok && ((v >= lo && v <= hi) || alsoAccepted.contains(v)) ? v : fallback;
}

double IniFile::doubleValue(const QString& section, const QString& key, double lo, double hi,
                            double fallback) const {
    bool ok = false;
    const double v = value(section, key).toDouble(&ok);
    return ok && v >= lo && v <= hi ? v : fallback;
}

bool IniFile::boolValue(const QString& section, const QString& key, bool fallback) const {
    const QString v = value(section, key).toLower();
    if (v == QLatin1String("true") || v == QLatin1String("1") || v == QLatin1String("-1")) {
        return true;
    }
    if (v == QLatin1String("false") || v == QLatin1String("0")) {
        return false;
    }
    return fallback;
}

QColor IniFile::colorValue(const QString& section, const QString& key,
                           const QColor& fallback) const {
    bool ok = false;
    const qlonglong v = value(section, key).toLongLong(&ok);
    if (!ok || v < 0 || v > 0xFFFFFF) {
        return fallback;
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    const QString line = key + QLatin1Char('=') + value;
    if (const int i = keyLine(section, key); i >= 0) {
        lines_[i] = line;
        return;
    }
    const int header = sectionLine(section);
    if (header < 0) {
        lines_ << QLatin1Char('[') + section + QLatin1Char(']') << line;
        return;
    }
    // After the section's last key, before the blank lines that part it
    // from the next section.
    int at = sectionEnd(header);
    while (at > header + 1 && lines_[at - 1].trimmed().isEmpty()) {
        --at;
    }
    lines_.insert(at, line);
}

void IniFile::setValue(const QString& section, const QString& key, int value) {
    setValue(section, key, QString::number(value));
}

void IniFile::setColor(const QString& section, const QString& key, const QColor& c) {
    setValue(section, key, c.red() | (c.green() << 8) | (c.blue() << 16));
}

bool IniFile::removeSection(const QString& section) {
    const int header = sectionLine(section);
    if (header < 0) {
        return false;
    }
    lines_.erase(lines_.begin() + header, lines_.begin() + sectionEnd(header));
    return true;
}

bool IniFile::save() const {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly)) {
        return false;
    }
    QString text = lines_.join(eol_);
    if (!lines_.isEmpty()) {
        text += eol_;
    }
    QStringEncoder encode(encoding_.constData());
    QByteArray bytes = encode(text);
    if (bom_) {
        bytes.prepend("\xEF\xBB\xBF");
    }
    return f.write(bytes) == bytes.size() && f.commit();
}

} // namespace vx::common
