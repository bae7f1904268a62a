#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include "lookups.h"
#include "settings.h"
#include "testfiles.h"

using namespace core;
using core::db::Recordset;

class TestLookups : public QObject {
    Q_OBJECT
    std::unique_ptr<TestFiles> files_;
    std::unique_ptr<db::Database> data_;

private slots:
    void init() {
        files_ = std::make_unique<TestFiles>();
        data_ = files_->data();
        for (const QString& sql : {
                 QStringLiteral(
                     "insert into 顧客マスタ (code, 名称, ふりがな, 住所1, 郵便番号) values "
                     "(1, '山田商店', 'やまだしょうてん', '千代田1-1', '1000001')"),
                 QStringLiteral("insert into 顧客マスタ (code, 名称, ふりがな) values (2, 'O''Hara "
                                "商会', 'おはら')"),
                 QStringLiteral("insert into 電話番号 (code, no, 名称, 電話番号) values (1, 1, "
                                "'山田商店', '0312345678')"),
                 QStringLiteral("insert into 電話番号 (code, no, 名称, 電話番号) values (2, 1, "
                                "'O''Hara 商会', '0399998888')"),
                 QStringLiteral("insert into 電話番号 (code, no, 名称, 電話番号) values (1, 2, "
                                "'山田商店', '0399998888')"),
             }) {
            QVERIFY2(data_->execute(sql), qPrintable(data_->lastError()));
        }
    }
    void cleanup() {
        data_.reset();
        files_.reset();
    }

    void telOwner_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QVariant>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("registered") << "0312345678" << QVariant(1) << "山田商店";
        QTest::newRow("two owners: the first row") << "0399998888" << QVariant(2) << "O'Hara 商会";
        QTest::newRow("unknown") << "0120000000" << QVariant() << "名称未登録";
        QTest::newRow("withheld marker") << "999999" << QVariant() << "名称未登録";
        QTest::newRow("quote in number") << "03'--" << QVariant() << "名称未登録";
    }
    void telOwner() {
        QFETCH(QString, number);
        QFETCH(QVariant, code);
        QFETCH(QString, name);
        QVariant gotCode = 77;
        QString gotName = "before";
        GetTelOwner(*data_, number, gotCode, gotName);
        QCOMPARE(gotCode.isNull(), code.isNull());
        if (!code.isNull()) {
            QCOMPARE(gotCode.toInt(), code.toInt());
        }
        QCOMPARE(gotName, name);
    }

    void telOwnerLeavesOutputsOnAFailedQuery() {
        QVERIFY(data_->executeNative("DROP TABLE 電話番号"));
        QVariant code = 5;
        QString name = "前";
        GetTelOwner(*data_, "0312345678", code, name);
        QCOMPARE(code.toInt(), 5);
        QCOMPARE(name, "前");
    }

    void readCustomer() {
        CurrentCustomer c;
        c.名称 = "O'Hara 商会";
        Read顧客(*data_, "名称", c);
        QCOMPARE(c.code, 2);
        QCOMPARE(c.ふりがな, "おはら");
        QCOMPARE(c.住所1, ""); // Null reads as empty

        c.code = 1;
        Read顧客(*data_, "code", c);
        QCOMPARE(c.名称, "山田商店");
        QCOMPARE(c.郵便番号, "1000001");

        c.code = 99;
        Read顧客(*data_, "code", c);
        QCOMPARE(c.code, 0);
        QCOMPARE(c.名称, "山田商店"); // the rest unchanged
    }

    void address_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("address");
        QTest::newRow("known") << "1000001"
                               << "東京都千代田区千代田";
        QTest::newRow("unknown") << "0000000"
                                 << "";
        QTest::newRow("hyphenated is not a code") << "100-0001"
                                                  << "";
        QTest::newRow("quote") << "'"
                               << "";
    }
    void address() {
        QFETCH(QString, code);
        QFETCH(QString, address);
        QCOMPARE(GetAddress(files_->paths.postalDb, code), address);
    }

    void addressWithoutDictionary() {
        QVERIFY(QFile::remove(files_->paths.postalDb));
        QCOMPARE(GetAddress(files_->paths.postalDb, "1000001"), QString());
        QVERIFY(!QFileInfo::exists(files_->paths.postalDb));
    }

    void autoCode_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("switchOn");
        QTest::addColumn<bool>("added");
        QTest::addColumn<QString>("slot"); // where it landed
        QTest::newRow("new staff") << "担当"
                                   << "佐藤" << true << true << "01";
        QTest::newRow("switch off") << "担当"
                                    << "佐藤" << false << false << "";
        QTest::newRow("already listed") << "敬称"
                                        << "様" << true << false << "";
        QTest::newRow("half-width purpose kind") << "用件1"
                                                 << "返品" << true << true << "07";
        QTest::newRow("number label") << "電話名称"
                                      << "実家" << true << true << "05";
        QTest::newRow("kind without rows") << "地域"
                                           << "関東" << true << false << "";
    }
    void autoCode() {
        QFETCH(QString, kind);
        QFETCH(QString, value);
        QFETCH(bool, switchOn);
        QFETCH(bool, added);
        QFETCH(QString, slot);
        Settings s;
        s.担当登録 = s.敬称登録 = s.用件1登録 = s.用件2登録 = s.電話名称登録 = switchOn;
        const int before = data_->scalar("select count(*) from コードマスタ").toInt();
        QCOMPARE(EntryAutoCode(*data_, s, kind, value), added);
        QCOMPARE(data_->scalar("select count(*) from コードマスタ").toInt(),
                 before); // rows never added
        const int listed =
            data_
                ->scalar("select count(*) from コードマスタ where kcode = ? and sname = ?",
                         {kind, value})
                .toInt();
        if (added) {
            QCOMPARE(listed, 1);
            QCOMPARE(data_
                         ->scalar("select code from コードマスタ where kcode = ? and sname = ?",
                                  {kind, value})
                         .toString(),
                     slot);
        } else if (kind != "敬称") {
            QCOMPARE(listed, 0);
        }
    }

    void autoCodeWithoutFreeSlot() {
        QVERIFY(data_->execute("update コードマスタ set sname = 'x' & code where kcode = '担当'"));
        Settings s;
        s.担当登録 = true;
        QVERIFY(!EntryAutoCode(*data_, s, "担当", "新人"));
        QCOMPARE(data_->scalar("select count(*) from コードマスタ where sname = '新人'").toInt(),
                 0);
    }

    void textLength_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("kept");
        QTest::newRow("within") << QString(20, QChar(0x5C71)) << 40 << true
                                << QString(20, QChar(0x5C71));
        QTest::newRow("one over") << QString(21, QChar(0x5C71)) << 40 << false
                                  << QString(20, QChar(0x5C71));
        QTest::newRow("latin counts two too")
            << QString(26, 'a') << 50 << false << QString(25, 'a');
        QTest::newRow("empty") << QString() << 40 << true << QString();
        QTest::newRow("emoji is one character")
            << QString("😀").repeated(21) << 40 << false << QString("😀").repeated(20);
    }
    void textLength() {
        QFETCH(QString, text);
        QFETCH(int, limit);
        QFETCH(bool, ok);
        QFETCH(QString, kept);
        const TextLenResult r = CheckTextLen(text, limit);
        QCOMPARE(r.ok, ok);
        QCOMPARE(r.text, kept);
        QVERIFY(CheckTextLen(r.text, limit).ok); // what is kept passes the next check
    }

    void findChecked() {
        auto work = files_->work();
        QVERIFY(work->execute("insert into w顧客マスタ (code, チェック) values (1, False)"));
        QVERIFY(work->execute("insert into w顧客マスタ (code, チェック) values (2, False)"));
        Recordset rs = work->openRecordset("w顧客マスタ", Recordset::Kind::Dynaset);
        QCOMPARE(FindChecked(rs, "チェック"), 0);
        QVERIFY(work->execute("update w顧客マスタ set チェック = True where code = 2"));
        rs = work->openRecordset("w顧客マスタ", Recordset::Kind::Dynaset);
        QCOMPARE(FindChecked(rs, "チェック"), 1);
    }

    void screenHistory() {
        ScreenHistory h;
        QStringList shown;
        int deskShown = 0;
        h.showForm = [&](const QString& f) { shown << f; };
        h.showCallDesk = [&] { ++deskShown; };

        QVERIFY(!h.FormHistory("PUSH", "").has_value());
        for (const char* f : {"A", "B", "C", "D", "E", "F"}) {
            QCOMPARE(h.FormHistory("PUSH", f), std::optional<bool>(true));
        }
        QCOMPARE(h.entry(0), "F");
        QCOMPARE(h.entry(4), "B"); // A fell off
        QCOMPARE(h.FormHistory("OTHER", "X"), std::optional<bool>(true));
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(h.FormHistory("POP", "Me"), std::optional<bool>(true));
        }
        QCOMPARE(shown, QStringList(5, "Me"));
        QCOMPARE(h.FormHistory("POP", "Me"), std::optional<bool>(false));
        QCOMPARE(deskShown, 1);
    }

    void waitTimeKeepsEventsRunning() {
        bool fired = false;
        QTimer::singleShot(20, [&] { fired = true; });
        QElapsedTimer t;
        t.start();
        WaitTime(120);
        QVERIFY(t.elapsed() >= 120);
        QVERIFY(fired);
        WaitTime(0);
    }
};

QTEST_GUILESS_MAIN(TestLookups)
#include "tst_lookups.moc"
