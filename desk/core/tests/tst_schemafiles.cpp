// The shipped files against the schema definition and against what the
// rest of the system expects to find in them.

#include <QTest>

#include "fold.h"
#include "schema.h"
#include "testfiles.h"

using core::db::Recordset;
namespace schema = core::schema;

class TestSchemaFiles : public QObject {
    Q_OBJECT
    TestFiles files_;

    core::db::Database* dbFor(schema::File f) {
        static std::unique_ptr<core::db::Database> data = files_.data();
        static std::unique_ptr<core::db::Database> work = files_.work();
        static std::unique_ptr<core::db::Database> postal = files_.open(files_.paths.postalDb);
        return f == schema::File::Data   ? data.get()
               : f == schema::File::Work ? work.get()
                                         : postal.get();
    }

private slots:
    void everyTableAndFieldIsInItsFile() {
        for (const schema::Table& t : schema::tables()) {
            core::db::TableDef def = dbFor(t.file)->tableDef(t.name);
            QVERIFY2(def.exists(), qPrintable(t.name));
            QCOMPARE(def.fields().size(), qsizetype(t.fields.size()));
            for (size_t i = 0; i < t.fields.size(); ++i) {
                QCOMPARE(def.fields().at(qsizetype(i)).name, t.fields[i].name);
                QCOMPARE(def.fields().at(qsizetype(i)).type, t.fields[i].type);
            }
        }
    }

    // The business tables as the screens name them, listed independently of
    // the schema definition so that a slip in either shows.
    void dataTablesCarryTheFieldsTheScreensUse_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("fields");
        QTest::newRow("customers") << "顧客マスタ"
                                   << "code 名称 ふりがな 郵便番号 住所1 住所2 敬称 Email 顧客メモ";
        QTest::newRow("numbers") << "電話番号"
                                 << "code no 名称 電話名称 電話番号";
        QTest::newRow("call log") << "着信履歴"
                                  << "日付 code 名称 電話番号 担当 用件1 用件2 用件メモ 済";
        QTest::newRow("codes") << "コードマスタ"
                               << "kcode code sname Cnt";
        QTest::newRow("settings") << "自社情報"
                                  << "年号 yubinlocalEriaSw YubinLocalEria 着信認識 担当登録 "
                                     "敬称登録 用件1登録 用件2登録 電話名称登録 "
                                     "履歴自動削除 着信読込 着信フォーム 着信サウンド "
                                     "着信サウンドパス TA NAdapter パリティ データビット "
                                     "ボーレート ポート番号 ストップビット 受信モード Version";
        QTest::newRow("adapters")
            << "通信マスタ"
            << "No TA NAdapter パリティ データビット ボーレート ポート番号 ストップビット";
        QTest::newRow("prefectures") << "都道府県"
                                     << "都道府県コード 都道府県 かな";
    }
    void dataTablesCarryTheFieldsTheScreensUse() {
        QFETCH(QString, table);
        QFETCH(QString, fields);
        QStringList have;
        for (const auto& f : dbFor(schema::File::Data)->tableDef(table).fields()) {
            have << f.name;
        }
        QCOMPARE(have, fields.split(' '));
    }

    void catalogueCoversEveryDataField() {
        auto* work = dbFor(schema::File::Work);
        int rows = 0;
        for (const schema::Table* t : schema::tablesOf(schema::File::Data)) {
            for (const core::db::FieldDef& f :
                 dbFor(schema::File::Data)->tableDef(t->name).fields()) {
                Recordset rs = work->openRecordset(
                    "select * from テーブル更新情報 where テーブル名 = ? and フィールド名 = ?",
                    Recordset::Kind::Snapshot, {t->name, f.name});
                QVERIFY2(!rs.eof(), qPrintable(t->name + "." + f.name));
                QCOMPARE(rs.field("型").toInt(), f.type);
                QCOMPARE(rs.field("長さ").toInt(), f.size);
                QCOMPARE(rs.field("存在").toBool(), false);
                ++rows;
            }
        }
        QCOMPARE(work->scalar("select count(*) from テーブル更新情報").toInt(), rows);
        QCOMPARE(work->scalar("select count(*) from テーブル更新情報 where テーブル名 = '自社情報' "
                              "and フィールド名 = 'Version'")
                     .toInt(),
                 1);
    }

    void shippedRows() {
        auto* data = dbFor(schema::File::Data);
        Recordset settingsRow = data->openRecordset("select * from 自社情報");
        QVERIFY(!settingsRow.eof());
        QCOMPARE(settingsRow.field("NAdapter").toString(), "アロハPC1");
        QCOMPARE(settingsRow.field("TA").toString(), "アロハPC1");
        QCOMPARE(settingsRow.field("Version").toString(), "2.18");
        QCOMPARE(data->scalar("select count(*) from 自社情報").toInt(), 1);
        QCOMPARE(dbFor(schema::File::Work)->scalar("select count(*) from RbHint").toInt(), 0);

        Recordset nd = data->openRecordset(
            "select * from 通信マスタ where NAdapter= 'ナンバーディスプレイアダプタ３０'");
        QVERIFY(!nd.eof());
        Recordset aloha = data->openRecordset("select * from 通信マスタ where TA = 'アロハPC1'");
        QVERIFY(!aloha.eof());
        QCOMPARE(aloha.field("ボーレート").toInt(), 9600);
        QCOMPARE(aloha.field("パリティ").toString(), "偶数");
        QCOMPARE(aloha.field("データビット").toInt(), 7);
        QCOMPARE(aloha.field("ストップビット").toInt(), 1);
        QCOMPARE(aloha.field("ポート番号").toInt(), 1);
        for (const char* model : {"ＩＮＳメイト Ｖ－８ＤＳＵ", "ＩＮＳメイト Ｖ－３０ＤＳＵ"}) {
            QCOMPARE(data->scalar("select count(*) from 通信マスタ where TA = ?",
                                  {QString::fromUtf8(model)})
                         .toInt(),
                     1);
        }

        Recordset prefs = data->openRecordset("SELECT * FROM 都道府県 order by 都道府県コード");
        QStringList names;
        for (; !prefs.eof(); prefs.moveNext()) {
            names << prefs.field("都道府県").toString();
            QVERIFY(!prefs.field("かな").toString().isEmpty());
        }
        QCOMPARE(names.size(), 47);
        QCOMPARE(names.first(), "北海道");
        QCOMPARE(names.at(12), "東京都");
        QCOMPARE(names.last(), "沖縄県");
        QCOMPARE(data->scalar("select 都道府県 from 都道府県 where かな like 'ほっかいどう*'")
                     .toString(),
                 "北海道");

        // Every code kind has 99 slots, the purpose kinds stored full-width.
        for (const char* kind : {"担当", "用件1", "用件2", "電話名称", "敬称"}) {
            QCOMPARE(data->scalar("select count(*) from コードマスタ where kcode = ?",
                                  {QString::fromUtf8(kind)})
                         .toInt(),
                     99);
        }
        QCOMPARE(data->scalar("select count(*) from コードマスタ where kcode = '用件１'").toInt(),
                 99);
    }

    void postalDictionary() {
        auto* postal = dbFor(schema::File::Postal);
        QVERIFY(postal->scalar("select count(*) from 郵便番号").toInt() > 115000);
        Recordset rs = postal->openRecordset("select * from 郵便番号 where  番号 = '1000001'");
        QCOMPARE(rs.field("県漢字").toString(), "東京都");
        QCOMPARE(rs.field("市町村漢字").toString(), "千代田区");
        QCOMPARE(rs.field("町名漢字").toString(), "千代田");
        QCOMPARE(rs.field("県かな").toString(), "ﾄｳｷｮｳﾄ");
        // Readings are found whatever kana the user types, under either name.
        QVERIFY(postal->scalar("select count(*) from 郵便番号 where 市町村カナ like 'ちよだ*'")
                    .toInt() > 0);
        QCOMPARE(postal->scalar("select count(*) from 市町村名").toInt(), 0);
    }

    void postalTownsHaveReadings() {
        auto* postal = dbFor(schema::File::Postal);
        QCOMPARE(postal->scalar("select 町名かな from 郵便番号 where 番号 = '2310001'").toString(),
                 "ｼﾝｺｳ");
        QVERIFY(postal->scalar("select count(*) from 郵便番号 where 町名カナ <> ''").toInt() >
                115000);
        // The city-wide code keeps an empty town, not Null, so that the
        // finder's city list, which skips Null towns, still lists the city.
        const QVariant cityWide =
            postal->scalar("select 町名漢字 from 郵便番号 where 番号 = '2310000'");
        QVERIFY(!cityWide.isNull());
        QCOMPARE(cityWide.toString(), "");
        QCOMPARE(postal->scalar("select count(*) from 郵便番号 where 町名漢字 is null").toInt(), 0);
        QVERIFY(postal->scalar("select count(*) from 郵便番号 where 町名漢字 is not null").toInt() >
                115000);
        // A large business's own code is left out.
        QCOMPARE(postal->scalar("select count(*) from 郵便番号 where 番号 = '0018501'").toInt(), 0);
    }

    void filesPassIntegrityChecks() {
        for (auto f : {schema::File::Data, schema::File::Work, schema::File::Postal}) {
            QString detail;
            QVERIFY2(dbFor(f)->integrityCheck(&detail), qPrintable(detail));
        }
    }
};

QTEST_GUILESS_MAIN(TestSchemaFiles)
#include "tst_schemafiles.moc"
