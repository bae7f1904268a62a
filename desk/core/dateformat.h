#pragma once
// Every date and time text of the desk: display patterns with Japanese eras,
// the year-first texts of queries, and the storage form of the database.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace core::dates {

// Renders a display pattern. Tokens: "yyyy", "yy", "mm" (month, or minutes
// right after an hour), "dd", "hh", "nn", "ss", "ggg" (era name, 平成),
// "gg" (its first character, 平), "g" (its initial letter, H), "ee"/"e"
// (year of the era). Anything else is copied.
QString format(const QDateTime& when, const QString& pattern);
QString format(const QDate& day, const QString& pattern);

// True when the settings field 年号 asks for Gregorian years; any other
// value, the empty text included, selects era years.
bool westernYears(const QString& nengo);

struct Era {
    QString name;    // 令和
    QString initial; // R
    int year = 0;    // 1 in the first year of the era
};
std::optional<Era> eraOf(const QDate& day);

// Parses a date-time text written year first, as queries and the grids do:
// "2026/12/10", "26/12/10" (00-29 → 2000s, 30-99 → 1900s), "2026-12-10",
// "H19/04/03" (era initial), each optionally followed by "hh:mm[:ss]";
// a time alone gives that time on 1899/12/30, the day that stands for
// "no date". Surrounding blanks are ignored.
std::optional<QDateTime> parseYearFirst(const QString& text);

// A date typed in a form the screens show: any of the above without a time,
// the era name spelt out ("令和 08年12月11日", "令和元年12月11日"), an era
// initial before a blank ("R 08/12/11"), "2026年12月11日"; full-width
// digits and signs as an input method types them.
std::optional<QDate> parseShownDate(const QString& text);

// The one stored form of a date-time: "yyyy-MM-dd hh:mm:ss", which sorts
// in time order as plain text.
QString storageText(const QDateTime& when);
std::optional<QDateTime> fromStorageText(const QString& text);
QDate nullDate(); // 1899/12/30

} // namespace core::dates
