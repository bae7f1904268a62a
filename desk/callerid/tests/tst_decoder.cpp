#include <QRandomGenerator>
#include <QTest>

#include "decoder.h"
#include "framing.h"

using namespace callerid;

namespace {
const QString kStx(QChar(2));
const QString kEtx(QChar(3));
} // namespace

class TestDecoder : public QObject {
    Q_OBJECT
private slots:
    void cutStr_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("marker");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("after") << "aGbGc"
                               << "G" << 0 << "bGc";
        QTest::newRow("after, missing") << "abc"
                                        << "G" << 0 << "abc";
        QTest::newRow("after, at end") << "abG"
                                       << "G" << 0 << "";
        QTest::newRow("before") << "12 34"
                                << " " << 2 << "12";
        QTest::newRow("before, missing") << "1234"
                                         << " " << 2 << "1234";
        QTest::newRow("digits") << "03-1234-5678"
                                << "" << 3 << "0312345678";
        QTest::newRow("digits, none") << "abc"
                                      << "" << 3 << "";
        QTest::newRow("full-width digits are not digits") << "０３1"
                                                          << "" << 3 << "1";
        QTest::newRow("exact case") << "agAb"
                                    << "A" << 0 << "b";
    }
    void cutStr() {
        QFETCH(QString, text);
        QFETCH(QString, marker);
        QFETCH(int, mode);
        QFETCH(QString, expected);
        QCOMPARE(CutStr(text, marker, mode), expected);
    }

    void rules_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("expected");
        const QString a = models::kInsV8, b = models::kNd30, c = models::kAlohaPc1;
        QTest::newRow("A number") << a << "\r\nNMBR G0 G1 0312345678\r\n"
                                  << "0312345678";
        QTest::newRow("A V30 same") << QString(models::kInsV30) << "G0 G1 0312345678"
                                    << "0312345678";
        QTest::newRow("A withheld") << a << "G0 G1 P"
                                    << "999999";
        QTest::newRow("A public") << a << "G0 G1 C\r\n"
                                  << "888888";
        QTest::newRow("A hyphens dropped") << a << "G0 G1 03-1234-5678"
                                           << "0312345678";
        QTest::newRow("A P later is a non-digit") << a << "G0 G1 03P12"
                                                  << "0312";
        QTest::newRow("A no G: read from the blank") << a << "RING 0312345678"
                                                     << "0312345678";
        QTest::newRow("A nothing left") << a << "G0 G1 "
                                        << "";
        QTest::newRow("A empty") << a << ""
                                 << "";
        QTest::newRow("C number") << c << kStx + "100012030" + "0312345678" + kEtx << "0312345678";
        QTest::newRow("C withheld") << c << kStx + "100012030P" + kEtx << "999999";
        QTest::newRow("C public in header")
            << c << kStx + "1C0012030" + "0312345678" + kEtx << "888888";
        QTest::newRow("C P first is not looked at")
            << c << "P" + kStx + "1000120300312345678" + kEtx << "0312345678";
        QTest::newRow("C short") << c << kStx + "123456789" + kEtx << "";
        QTest::newRow("C ten digits") << c << kStx + "1234567890" + kEtx << "0";
        QTest::newRow("C no STX") << c << "1000120300312345678"
                                  << "0312345678";
        QTest::newRow("B withheld") << b << kStx + "010000001P" + kEtx << "999999";
        QTest::newRow("B public") << b << kStx + "010000001C" + kEtx << "888888";
        QTest::newRow("B short") << b << kStx + "010000001" + kEtx << "";
        QTest::newRow("B first report unreduced")
            << b << kStx + "0100000010312-34 99" + kEtx << "0312-34";
        QTest::newRow("unknown model") << "ｱﾛﾊPC1" << kStx + "1000120300312345678" + kEtx << "";
        QTest::newRow("empty model") << ""
                                     << "G0 G1 0312345678"
                                     << "";
    }
    void rules() {
        QFETCH(QString, model);
        QFETCH(QString, report);
        QFETCH(QString, expected);
        Decoder d;
        QCOMPARE(d.GetTelNo(model, report), expected);
    }

    void reportIsLeftCut() {
        Decoder d;
        QString report = "G0 G1 0312345678\r\n";
        d.GetTelNo(models::kInsV8, report);
        QCOMPARE(report, "0312345678");
    }

    void repeatFilter_data() {
        QTest::addColumn<int>("startMs"); // where within its second the first report came
        QTest::addColumn<int>("laterMs");
        QTest::addColumn<QString>("second");
        QTest::newRow("at once") << 0 << 0 << "";
        QTest::newRow("1.98 s") << 0 << 1980 << "";
        QTest::newRow("1.97 s, same whole seconds") << 10 << 1970 << "";
        // Late in one second, early in the second after next: two boundaries
        // crossed, still a repeat.
        QTest::newRow("1.3 s across two boundaries") << 900 << 1300 << "";
        QTest::newRow("1.99 s across two boundaries") << 990 << 1990 << "";
        QTest::newRow("exactly 2 s") << 500 << 2000 << "0312345678";
        QTest::newRow("2.98 s") << 0 << 2980 << "0312345678";
        QTest::newRow("an hour") << 500 << 3600 * 1000 << "0312345678";
    }
    void repeatFilter() {
        QFETCH(int, startMs);
        QFETCH(int, laterMs);
        QFETCH(QString, second);
        Decoder d;
        qint64 clock = 86399 * 1000 + startMs;
        d.now = [&] { return clock; };
        const QString report = kStx + "010000001" + "0312345678" + kEtx;
        QString r1 = report;
        QCOMPARE(d.GetTelNo(models::kNd30, r1), "0312345678");
        clock += laterMs;
        QString r2 = report;
        QCOMPARE(d.GetTelNo(models::kNd30, r2), second);
    }

    void filterRemembersAcrossReports() {
        Decoder d;
        qint64 clock = 9 * 3600 * 1000;
        d.now = [&] { return clock; };
        auto nd = [&](const QString& body) {
            QString r = kStx + "010000001" + body + kEtx;
            return d.GetTelNo(models::kNd30, r);
        };
        QCOMPARE(nd("0311112222"), "0311112222");
        QCOMPARE(nd("0333334444"), "0333334444"); // another number passes at once
        QCOMPARE(nd("0333334444"), "");
        QCOMPARE(nd("03-3333-4444"), "0333334444"); // not the same text: reduced and accepted
        clock += 5000;
        QCOMPARE(nd("0333334444"), "0333334444");
        QCOMPARE(d.lastNumber(), "0333334444");
    }

    void framingRoundTrips() {
        for (const QString& m :
             {models::kInsV8, models::kInsV30, models::kNd30, models::kAlohaPc1}) {
            Decoder d;
            QString r = QString::fromLatin1(frameReport(m, Caller::Number, "0312345678"));
            QCOMPARE(d.GetTelNo(m, r), "0312345678");
            r = QString::fromLatin1(frameReport(m, Caller::Withheld));
            QCOMPARE(d.GetTelNo(m, r), "999999");
            r = QString::fromLatin1(frameReport(m, Caller::PublicPhone));
            QCOMPARE(d.GetTelNo(m, r), "888888");
        }
        QVERIFY(frameReport("other", Caller::Number, "1").isEmpty());
    }

    // Any bytes at all: noise, NULs, lone markers, half reports, a megabyte.
    void anyBytesNeverFail() {
        QRandomGenerator rng(42);
        const QStringList modelList = {models::kInsV8, models::kNd30, models::kAlohaPc1,
                                       QString("x")};
        Decoder d;
        for (int i = 0; i < 20000; ++i) {
            QByteArray bytes(int(rng.bounded(64)), 0);
            for (char& c : bytes) {
                // Mostly the characters that matter to the rules.
                static const char interesting[] = {'\x02', '\x03', 'G', 'P',  'C',
                                                   ' ',    '0',    '9', '\0', '-'};
                c = rng.bounded(3) ? interesting[rng.bounded(10)] : char(rng.bounded(256));
            }
            QString report = QString::fromLatin1(bytes);
            const QString r = d.GetTelNo(modelList[int(rng.bounded(4))], report);
            QVERIFY(r.size() <= bytes.size() || r == kWithheld || r == kPublicPhone);
        }
        QByteArray mega(1 << 20, 0);
        for (char& c : mega) {
            c = char(rng.bounded(256));
        }
        for (const QString& m : modelList) {
            QString report = QString::fromLatin1(mega);
            d.GetTelNo(m, report);
        }
        for (const QString& lone :
             {QString("P"), QString("C"), kStx, kStx + "12345", QString(QChar(0))}) {
            for (const QString& m : modelList) {
                QString report = lone;
                d.GetTelNo(m, report);
            }
        }
    }

    void reportSplitAcrossTwoReads() {
        const QString whole =
            QString::fromLatin1(frameReport(models::kAlohaPc1, Caller::Number, "0312345678"));
        for (int cut = 1; cut < whole.size(); ++cut) {
            Decoder d;
            QString first = whole.left(cut), second = whole.mid(cut);
            const QString a = d.GetTelNo(models::kAlohaPc1, first);
            const QString b = d.GetTelNo(models::kAlohaPc1, second);
            // A half report never yields a wrong number that looks whole.
            QVERIFY(a != "0312345678" || cut == whole.size() - 1);
            QVERIFY(b.size() <= 10);
        }
    }
};

QTEST_GUILESS_MAIN(TestDecoder)
#include "tst_decoder.moc"
