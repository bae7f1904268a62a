#pragma once
// The design-time defaults file "ZX4WIN.INI": a plain INI file that other
// programs read and write too. Section and key names are written as they
// are (blanks included), compared without regard to case, and a save
// rewrites only what was changed: other sections, keys, comments, the
// line ends and the file's encoding stay as they were.

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

namespace vx::common {

// Where the controls keep the file: the user's configuration directory.
QString defaultsFilePath();

class IniFile {
public:
    // Reads the file; a missing or unreadable file reads as empty.
    explicit IniFile(const QString& path);

    bool contains(const QString& section, const QString& key) const;
    // The value as written, blanks around it and one pair of enclosing
    // double quotes dropped; the fallback when the key is missing.
    QString value(const QString& section, const QString& key, const QString& fallback = {}) const;
    // Typed readings: a missing, malformed or out-of-range value gives the
    // fallback, so a damaged file falls back key by key.
    int intValue(const QString& section, const QString& key, int lo, int hi, int fallback,
                 const QList<int>& alsoAccepted = {}) const;
    double doubleValue(const QString& section, const QString& key, double lo, double hi,
                       double fallback) const;
    // True, False, 1, 0 and -1.
    bool boolValue(const QString& section, const QString& key, bool fallback) const;
    // Colours as the old 0x00BBGGRR numbers.
    QColor colorValue(const QString& section, const QString& key, const QColor& fallback) const;

    void setValue(const QString& section, const QString& key, const QString& value);
    void setValue(const QString& section, const QString& key, int value);
    void setColor(const QString& section, const QString& key, const QColor& value);
    // Removes the section with all its keys; false when there was none.
    bool removeSection(const QString& section);

    // Writes the whole file in one step (never half a file); false when it
    // could not be written.
    bool save() const;

private:
    int sectionLine(const QString& section) const; // -1 when missing
    int sectionEnd(int header) const;              // the line after the section
    int keyLine(const QString& section, const QString& key) const;

    QString path_;
    QStringList lines_;
    QByteArray encoding_; // "UTF-8" or the old "Shift_JIS"
    bool bom_ = false;
    QString eol_ = QStringLiteral("\r\n");
};

} // namespace vx::common
