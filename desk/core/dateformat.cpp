#include "dateformat.h"

#include <QRegularExpression>
#include <memory>
#include <mutex>
#include <unicode/calendar.h>
#include <unicode/dtfmtsym.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace core::dates {
namespace {

QString fromIcu(const icu::UnicodeString& s) {
    return QString(reinterpret_cast<const QChar*>(s.getBuffer()), s.length());
}

// Era names come from ICU's Japanese calendar; the tables are built once.
struct EraTables {
    std::unique_ptr<icu::Calendar> calendar;
    QStringList names;
    QStringList initials;
    std::mutex lock;

    EraTables() {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale ja("ja_JP@calendar=japanese");
        calendar.reset(icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), ja, status));
        if (U_FAILURE(status)) {
            calendar.reset();
            return;
        }
        icu::DateFormatSymbols jaSymbols(ja, "japanese", status);
        UErrorCode status2 = U_ZERO_ERROR;
        icu::DateFormatSymbols latin(icu::Locale("en"), "japanese", status2);
        if (U_FAILURE(status) || U_FAILURE(status2)) {
            calendar.reset();
            return;
        }
        int32_t n = 0;
        const icu::UnicodeString* wide = jaSymbols.getEraNames(n);
        for (int32_t i = 0; i < n; ++i) {
            names << fromIcu(wide[i]);
        }
        int32_t m = 0;
        const icu::UnicodeString* narrow = latin.getNarrowEras(m);
        for (int32_t i = 0; i < m; ++i) {
            initials << fromIcu(narrow[i]);
        }
    }
};

EraTables& eras() {
    static EraTables tables;
    return tables;
}

QString two(int v) {
    return QString::number(v).rightJustified(2, QLatin1Char('0'));
}

} // namespace

std::optional<Era> eraOf(const QDate& day) {
    if (!day.isValid()) {
        return std::nullopt;
    }
    EraTables& t = eras();
    if (!t.calendar) {
        return std::nullopt;
    }
    std::lock_guard guard(t.lock);
    UErrorCode status = U_ZERO_ERROR;
    t.calendar->clear();
    // Noon keeps the day clear of any zone or leap-second rounding.
    QDateTime noon(day, QTime(12, 0), Qt::UTC);
    t.calendar->setTime(static_cast<UDate>(noon.toMSecsSinceEpoch()), status);
    int era = t.calendar->get(UCAL_ERA, status);
    int year = t.calendar->get(UCAL_YEAR, status);
    if (U_FAILURE(status) || era < 0 || era >= t.names.size()) {
        return std::nullopt;
    }
    Era e;
    e.name = t.names.value(era);
    e.initial = t.initials.value(era);
    // Eras before Meiji have no Latin initial of their own.
    if (e.initial.isEmpty() || e.initial == e.name) {
        e.initial = e.name.left(1);
    }
    e.year = year;
    return e;
}

bool westernYears(const QString& nengo) {
    return nengo == QStringLiteral("西暦");
}

QString format(const QDateTime& when, const QString& pattern) {
    if (!when.isValid()) {
        return {};
    }
    const QDate d = when.date();
    const QTime t = when.time();
    std::optional<Era> era;
    auto needEra = [&]() -> const Era* {
        if (!era) {
            era = eraOf(d);
        }
        return era ? &*era : nullptr;
    };
    QString out;
    bool afterHour = false;
    int i = 0;
    const int n = pattern.size();
    auto run = [&](QChar c) {
        int j = i;
        while (j < n && pattern[j].toLower() == c) {
            ++j;
        }
        return j - i;
    };
    while (i < n) {
        const QChar c = pattern[i].toLower();
        int len = 0;
        if (c == 'y') {
            len = run('y');
            out +=
                len >= 3 ? QString::number(d.year()).rightJustified(4, '0') : two(d.year() % 100);
            afterHour = false;
        } else if (c == 'm') {
            len = run('m');
            out += afterHour ? two(t.minute()) : two(d.month());
            afterHour = false;
        } else if (c == 'n') {
            len = run('n');
            out += two(t.minute());
        } else if (c == 'd') {
            len = run('d');
            out += two(d.day());
            afterHour = false;
        } else if (c == 'h') {
            len = run('h');
            out += two(t.hour());
            afterHour = true;
        } else if (c == 's') {
            len = run('s');
            out += two(t.second());
            afterHour = false;
        } else if (c == 'g') {
            len = run('g');
            if (const Era* e = needEra()) {
                out += len >= 3 ? e->name : len == 2 ? e->name.left(1) : e->initial;
            }
            afterHour = false;
        } else if (c == 'e') {
            len = run('e');
            if (const Era* e = needEra()) {
                out += len >= 2 ? two(e->year) : QString::number(e->year);
            }
            afterHour = false;
        } else {
            len = 1;
            out += pattern[i];
            // A separator between hour and minutes keeps "hh:mm" as minutes.
        }
        i += len;
    }
    return out;
}

QString format(const QDate& day, const QString& pattern) {
    return format(QDateTime(day, QTime(0, 0)), pattern);
}

QDate nullDate() {
    return QDate(1899, 12, 30);
}

std::optional<QDateTime> parseYearFirst(const QString& text) {
    static const QRegularExpression re(QStringLiteral(
        R"(^\s*(?:([A-Za-z])?(\d{1,4})[/\-.](\d{1,2})[/\-.](\d{1,2}))?\s*(?:(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*$)"));
    const auto m = re.match(text);
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(5).isEmpty())) {
        return std::nullopt;
    }
    QDate day = nullDate();
    if (!m.captured(2).isEmpty()) {
        int y = m.captured(2).toInt();
        const int mo = m.captured(3).toInt();
        const int dd = m.captured(4).toInt();
        const QString eraLetter = m.captured(1).toUpper();
        if (!eraLetter.isEmpty()) {
            // The first day of each modern era, by its initial letter.
            static const struct {
                char letter;
                int startYear;
            } starts[] = {{'M', 1868}, {'T', 1912}, {'S', 1926}, {'H', 1989}, {'R', 2019}};
            int base = 0;
            for (const auto& s : starts) {
                if (eraLetter == QLatin1Char(s.letter)) {
                    base = s.startYear;
                }
            }
            if (base == 0 || y < 1) {
                return std::nullopt;
            }
            y = base + y - 1;
        } else if (m.captured(2).size() <= 2) {
            y += y < 30 ? 2000 : 1900;
        }
        day = QDate(y, mo, dd);
        if (!day.isValid()) {
            return std::nullopt;
        }
    }
    QTime time(0, 0);
    if (!m.captured(5).isEmpty()) {
        time = QTime(m.captured(5).toInt(), m.captured(6).toInt(), m.captured(7).toInt());
        if (!time.isValid()) {
            return std::nullopt;
        }
    }
    return QDateTime(day, time);
}

std::optional<QDate> parseShownDate(const QString& text) {
    QString t = text.normalized(QString::NormalizationForm_KC).trimmed();
    if (t.isEmpty()) {
        return std::nullopt;
    }
    {
        EraTables& eras = core::dates::eras();
        for (qsizetype i = 0; i < eras.names.size() && i < eras.initials.size(); ++i) {
            if (!eras.names[i].isEmpty() && t.startsWith(eras.names[i])) {
                t = eras.initials[i] + t.mid(eras.names[i].size());
                break;
            }
        }
    }
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    t.remove(blanks);
    // The first year of an era is written 元年.
    if (t.size() > 1 && t[0].isLetter() && t.mid(1).startsWith(QStringLiteral("元年"))) {
        t = t.left(1) + QStringLiteral("1") + t.mid(2);
    }
    if (t.contains(QChar(u'年'))) {
        static const QRegularExpression kanji(
            QStringLiteral("^([A-Za-z]?\\d{1,4})年(\\d{1,2})月(\\d{1,2})日?$"));
        const auto m = kanji.match(t);
        if (!m.hasMatch()) {
            return std::nullopt;
        }
        t = m.captured(1) + QLatin1Char('/') + m.captured(2) + QLatin1Char('/') + m.captured(3);
    }
    // A time is no part of a date box's text.
    if (t.contains(QLatin1Char(':'))) {
        return std::nullopt;
    }
    const auto when = parseYearFirst(t);
    if (!when || when->date() == nullDate()) {
        return std::nullopt;
    }
    return when->date();
}

QString storageText(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

std::optional<QDateTime> fromStorageText(const QString& text) {
    // The stored form is read digit by digit: lists read thousands of dates.
    if (text.size() == 19 && text[4] == QLatin1Char('-') && text[7] == QLatin1Char('-') &&
        text[10] == QLatin1Char(' ') && text[13] == QLatin1Char(':') &&
        text[16] == QLatin1Char(':')) {
        auto num = [&](int at, int len) {
            int v = 0;
            for (int i = at; i < at + len; ++i) {
                const char16_t c = text[i].unicode();
                if (c < u'0' || c > u'9') {
                    return -1;
                }
                v = v * 10 + (c - u'0');
            }
            return v;
        };
        const QDate day(num(0, 4), num(5, 2), num(8, 2));
        const QTime time(num(11, 2), num(14, 2), num(17, 2));
        if (day.isValid() && time.isValid()) {
            return QDateTime(day, time);
        }
    }
    return parseYearFirst(text);
}

} // namespace core::dates
