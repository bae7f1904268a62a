#include <QTest>

#include "schema.h"
#include "testfiles.h"
#include "upgrade.h"

using core::db::Recordset;

namespace {

QStringList fieldsOf(core::db::Database& db, const QString& table) {
    QStringList out;
    for (const auto& f : db.tableDef(table).fields()) {
        out << f.name;
    }
    return out;
}

// Replaces the shipped data database with one an older version made:
// fewer fields, no Version, and rows that must survive.
void makeOldDataDb(const QString& path) {
    QFile::remove(path);
    auto db = scratchDb(
        path,
        {
            "CREATE TABLE 顧客マスタ (code INTEGER, 名称 VARCHAR(50) COLLATE JPFOLD, "
            "ふりがな VARCHAR(50) COLLATE JPFOLD, 郵便番号 VARCHAR(10) COLLATE JPFOLD, "
            "住所1 VARCHAR(100) COLLATE JPFOLD, 住所2 VARCHAR(100) COLLATE JPFOLD, EMAIL "
            "VARCHAR(100))",
            "CREATE TABLE 電話番号 (code INTEGER, no SMALLINT, 名称 VARCHAR(50) COLLATE JPFOLD, "
            "電話番号 VARCHAR(20) COLLATE JPFOLD)",
            "CREATE TABLE 自社情報 (年号 VARCHAR(10), 着信認識 BOOLEAN, TA VARCHAR(50), "
            "データビット VARCHAR(5), 受信モード LONGTEXT)",
            "INSERT INTO 顧客マスタ VALUES (1, '山田商店', 'やまだしょうてん', '1000001', "
            "'東京都', '1-1', 'a@b')",
            "INSERT INTO 顧客マスタ VALUES (2, 'O''Hara', 'おはら', NULL, NULL, NULL, NULL)",
            "INSERT INTO 電話番号 VALUES (1, 1, '山田商店', '0312345678')",
            "INSERT INTO 自社情報 VALUES ('和暦', 0, 'ＩＮＳメイト Ｖ－８ＤＳＵ', '8', '2')",
        });
}

} // namespace

class TestUpgrade : public QObject {
    Q_OBJECT
private slots:
    void freshDataBaseGetsTheSettingsRow() {
        TestFiles files;
        auto data = files.data();
        auto work = files.work();
        QVERIFY(core::isCurrentSchema(*data)); // shipped ready
        QVERIFY(data->execute("delete * from 自社情報"));
        QVERIFY(!core::isCurrentSchema(*data));
        core::createNewTable(*data, *work);
        QCOMPARE(data->scalar("select count(*) from 自社情報").toInt(), 1);
        Recordset rs = data->openRecordset("select * from 自社情報");
        for (const char* f :
             {"着信認識", "担当登録", "敬称登録", "用件1登録", "用件2登録", "電話名称登録"}) {
            QCOMPARE(rs.field(QString::fromUtf8(f)).toBool(), true);
        }
        for (const char* f :
             {"履歴自動削除", "着信読込", "着信フォーム", "NAdapter", "年号", "着信サウンド"}) {
            QVERIFY2(rs.field(QString::fromUtf8(f)).isNull(), f);
        }
        QCOMPARE(rs.field("TA").toString(), "アロハPC1");
        QCOMPARE(rs.field("パリティ").toString(), "偶数");
        QCOMPARE(rs.field("データビット").toInt(), 7);
        QCOMPARE(rs.field("ボーレート").toInt(), 9600);
        QCOMPARE(rs.field("ポート番号").toInt(), 1);
        QCOMPARE(rs.field("ストップビット").toInt(), 1);
        QCOMPARE(rs.field("受信モード").toInt(), 1);
        QCOMPARE(rs.field("Version").toString(), "2.18");
        QVERIFY(core::isCurrentSchema(*data));
        // A second start adds no second row.
        core::createNewTable(*data, *work);
        QCOMPARE(data->scalar("select count(*) from 自社情報").toInt(), 1);
    }

    void olderDataBaseIsUpgradedAndKeepsItsRows() {
        TestFiles files;
        makeOldDataDb(files.paths.dataDb);
        auto data = files.data();
        auto work = files.work();
        core::createNewTable(*data, *work);

        // Every catalogued field of the tables that exist is there now.
        for (const char* t : {"顧客マスタ", "電話番号", "自社情報"}) {
            const QString table = QString::fromUtf8(t);
            const QStringList have = fieldsOf(*data, table);
            for (const auto& f : core::schema::find(core::schema::File::Data, table)->fields) {
                bool found = false;
                for (const QString& h : have) {
                    found = found || h.compare(f.name, Qt::CaseInsensitive) == 0;
                }
                QVERIFY2(found, qPrintable(table + "." + f.name));
            }
        }
        // A field already there under another case is left as it was.
        QVERIFY(fieldsOf(*data, "顧客マスタ").contains("EMAIL"));
        QVERIFY(!fieldsOf(*data, "顧客マスタ").contains("Email"));
        // Existing rows are all there, with their values.
        QCOMPARE(data->scalar("select count(*) from 顧客マスタ").toInt(), 2);
        QCOMPARE(data->scalar("select 住所1 from 顧客マスタ where code = 1").toString(), "東京都");
        QCOMPARE(data->scalar("select email from 顧客マスタ where code = 1").toString(), "a@b");
        QCOMPARE(data->scalar("select 電話番号 from 電話番号 where 名称 = '山田商店'").toString(),
                 "0312345678");
        // The settings row is kept, stamped, and not reset to initial values.
        QCOMPARE(data->scalar("select count(*) from 自社情報").toInt(), 1);
        QCOMPARE(data->scalar("select TA from 自社情報").toString(), "ＩＮＳメイト Ｖ－８ＤＳＵ");
        QCOMPARE(data->scalar("select Version from 自社情報").toString(), "2.18");
        // A catalogue table the file lacks is not created.
        QVERIFY(!data->hasTable("着信履歴"));
        // New text fields take the empty text.
        QVERIFY(data->execute("update 顧客マスタ set 敬称 = '' where code = 2"));
        QCOMPARE(data->scalar("select count(*) from 顧客マスタ where 敬称 = ''").toInt(), 1);
        QVERIFY(core::isCurrentSchema(*data));
        QString detail;
        QVERIFY2(data->integrityCheck(&detail), qPrintable(detail));
    }

    void stampedDataBaseIsNotCompared() {
        TestFiles files;
        makeOldDataDb(files.paths.dataDb);
        {
            auto data = files.data();
            QVERIFY(data->executeNative("ALTER TABLE 自社情報 ADD COLUMN Version VARCHAR(10)"));
            QVERIFY(data->execute("update 自社情報 set Version = '2.18'"));
        }
        auto data = files.data();
        auto work = files.work();
        core::createNewTable(*data, *work);
        QVERIFY(!fieldsOf(*data, "顧客マスタ").contains("顧客メモ"));
    }

    void withoutVersionInTheCatalogueTheUpgradeRunsEveryStart() {
        TestFiles files;
        makeOldDataDb(files.paths.dataDb);
        auto data = files.data();
        auto work = files.work();
        QVERIFY(work->execute("delete * from テーブル更新情報 where フィールド名 = 'Version'"));
        core::createNewTable(*data, *work);
        QVERIFY(!core::isCurrentSchema(*data));
        QVERIFY(fieldsOf(*data, "顧客マスタ").contains("顧客メモ"));
        core::createNewTable(*data, *work);
        QVERIFY(!core::isCurrentSchema(*data));
        QCOMPARE(data->scalar("select count(*) from 自社情報").toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestUpgrade)
#include "tst_upgrade.moc"
