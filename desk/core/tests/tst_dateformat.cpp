#include <QTest>

#include "dateformat.h"

using namespace core::dates;

class TestDateFormat : public QObject {
    Q_OBJECT
private slots:
    void format_data() {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        const QDateTime d(QDate(2007, 4, 3), QTime(9, 5, 7));
        QTest::newRow("yyyy/mm/dd") << d << "yyyy/mm/dd"
                                    << "2007/04/03";
        QTest::newRow("yy/mm/dd") << d << "yy/mm/dd"
                                  << "07/04/03";
        QTest::newRow("hh:mm:ss minutes") << d << "hh:mm:ss"
                                          << "09:05:07";
        QTest::newRow("kanji") << d << "yyyy年mm月dd日"
                               << "2007年04月03日";
        QTest::newRow("month title") << d << "yyyy年 mm月"
                                     << "2007年 04月";
        QTest::newRow("month title spaced") << d << "yyyy 年 mm月"
                                            << "2007 年 04月";
        QTest::newRow("era full") << d << "ggg ee年mm月dd日"
                                  << "平成 19年04月03日";
        QTest::newRow("era month title") << d << "ggg ee年 mm月"
                                         << "平成 19年 04月";
        QTest::newRow("era initial spaced") << d << "g ee/mm/dd"
                                            << "H 19/04/03";
        QTest::newRow("era initial") << d << "gee/mm/dd"
                                     << "H19/04/03";
        QTest::newRow("era print date") << d << "gggee年mm月dd日"
                                        << "平成19年04月03日";
        QTest::newRow("era period") << d << "gee年mm月dd日"
                                    << "H19年04月03日";
        QTest::newRow("last Showa day") << QDateTime(QDate(1989, 1, 7), QTime()) << "gee/mm/dd"
                                        << "S64/01/07";
        QTest::newRow("first Heisei day")
            << QDateTime(QDate(1989, 1, 8), QTime()) << "ggg ee年mm月dd日"
            << "平成 01年01月08日";
        QTest::newRow("last Heisei day") << QDateTime(QDate(2019, 4, 30), QTime()) << "gee/mm/dd"
                                         << "H31/04/30";
        QTest::newRow("Reiwa 1") << QDateTime(QDate(2019, 5, 1), QTime()) << "gggee年mm月dd日"
                                 << "令和01年05月01日";
        QTest::newRow("Taisho") << QDateTime(QDate(1920, 6, 1), QTime()) << "gee/mm/dd"
                                << "T09/06/01";
        QTest::newRow("Meiji") << QDateTime(QDate(1900, 1, 1), QTime()) << "gee/mm/dd"
                               << "M33/01/01";
        QTest::newRow("midnight hour")
            << QDateTime(QDate(2026, 12, 10), QTime(0, 0, 0)) << "hh:mm:ss"
            << "00:00:00";
    }
    void format() {
        QFETCH(QDateTime, when);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(core::dates::format(when, pattern), expected);
    }

    void westernYearsOnlyForSeireki_data() {
        QTest::addColumn<QString>("nengo");
        QTest::addColumn<bool>("western");
        QTest::newRow("western") << "西暦" << true;
        QTest::newRow("era") << "和暦" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("other") << "せいれき" << false;
    }
    void westernYearsOnlyForSeireki() {
        QFETCH(QString, nengo);
        QFETCH(bool, western);
        QCOMPARE(westernYears(nengo), western);
    }

    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected"); // invalid: refused
        QTest::newRow("full") << "2026/12/10 13:45:09"
                              << QDateTime(QDate(2026, 12, 10), QTime(13, 45, 9));
        QTest::newRow("date only") << "2026/12/10" << QDateTime(QDate(2026, 12, 10), QTime(0, 0));
        QTest::newRow("trailing blank")
            << "2026/12/10 00:00:00 " << QDateTime(QDate(2026, 12, 10), QTime(0, 0));
        QTest::newRow("two-digit 20xx")
            << "26/12/10 13:00:00" << QDateTime(QDate(2026, 12, 10), QTime(13, 0));
        QTest::newRow("two-digit 19xx") << "95/01/17" << QDateTime(QDate(1995, 1, 17), QTime(0, 0));
        QTest::newRow("two-digit boundary")
            << "29/12/31" << QDateTime(QDate(2029, 12, 31), QTime(0, 0));
        QTest::newRow("two-digit boundary 30")
            << "30/01/01" << QDateTime(QDate(1930, 1, 1), QTime(0, 0));
        QTest::newRow("era initial") << "H19/04/03" << QDateTime(QDate(2007, 4, 3), QTime(0, 0));
        QTest::newRow("Reiwa") << "R01/05/01" << QDateTime(QDate(2019, 5, 1), QTime(0, 0));
        QTest::newRow("iso") << "2026-12-10 08:00:00"
                             << QDateTime(QDate(2026, 12, 10), QTime(8, 0));
        QTest::newRow("single digits")
            << "2026/1/2 3:04" << QDateTime(QDate(2026, 1, 2), QTime(3, 4));
        QTest::newRow("time alone") << "13:45:00" << QDateTime(QDate(1899, 12, 30), QTime(13, 45));
        QTest::newRow("not a day") << "2026/02/30" << QDateTime();
        QTest::newRow("not an hour") << "2026/02/01 25:00:00" << QDateTime();
        QTest::newRow("month first is read year first") << "12/10/2026" << QDateTime();
        QTest::newRow("words") << "yesterday" << QDateTime();
        QTest::newRow("empty") << "" << QDateTime();
        QTest::newRow("unknown era") << "X01/01/01" << QDateTime();
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        const auto got = parseYearFirst(text);
        if (!expected.isValid()) {
            QVERIFY2(!got, qPrintable(text));
        } else {
            QVERIFY2(got.has_value(), qPrintable(text));
            QCOMPARE(*got, expected);
        }
    }

    void storageTextSortsInTimeOrder() {
        const QDateTime a(QDate(2026, 9, 30), QTime(23, 59, 59));
        const QDateTime b(QDate(2026, 10, 1), QTime(0, 0, 0));
        QVERIFY(storageText(a) < storageText(b));
        QCOMPARE(*fromStorageText(storageText(a)), a);
    }
};

QTEST_GUILESS_MAIN(TestDateFormat)
#include "tst_dateformat.moc"
