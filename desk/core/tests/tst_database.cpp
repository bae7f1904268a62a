#include <QCryptographicHash>
#include <QDateTime>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "database.h"
#include "testfiles.h"

using core::db::Database;
using core::db::Recordset;
using Kind = core::db::Recordset::Kind;

namespace {

QByteArray digest(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QStringList column(Database& db, const QString& sql, const QVariantList& params = {}) {
    QStringList out;
    Recordset rs = db.openRecordset(sql, Kind::Snapshot, params);
    if (!rs.isOpen()) {
        qWarning("%s: %s", qPrintable(sql), qPrintable(rs.lastError()));
        return {"<error>"};
    }
    for (; !rs.eof(); rs.moveNext()) {
        out << rs.field(rs.fieldNames().value(0)).toString();
    }
    return out;
}

} // namespace

class TestDatabase : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<Database> db_;

private slots:
    void init() {
        QFile::remove(dir_.filePath("t.mdb"));
        db_ = scratchDb(
            dir_.filePath("t.mdb"),
            {"CREATE TABLE t (code INTEGER, name VARCHAR(50) COLLATE JPFOLD, "
             "ふりがな VARCHAR(50) COLLATE JPFOLD, 市町村かな VARCHAR(50) COLLATE JPFOLD, "
             "日付 DATETIME, flag BOOLEAN, memo LONGTEXT COLLATE JPFOLD)",
             "CREATE TABLE s (code INTEGER, name VARCHAR(50) COLLATE JPFOLD)"});
        const QList<QVariantList> rows = {
            {1, "用件1", "ようけん", "ｼﾌﾞﾔｸ", QDateTime(QDate(2026, 12, 1), QTime(9, 0)), true,
             "問合せ"},
            {2, "あい", "あい", "しんじゅくく", QDateTime(QDate(2026, 12, 3), QTime(23, 59, 59)),
             false, "50%引き"},
            {3, "ABC", "えーびーしー", "ﾁﾖﾀﾞｸ", QDateTime(QDate(2026, 12, 4), QTime(0, 0)), true,
             "a_b"},
            {4, "が", "が", "", QDateTime(QDate(2026, 12, 4), QTime(0, 0, 1)), false, "*重要*"},
            {5, "O'Brien", "おぶらいえん", QVariant(), QVariant(), QVariant(), QVariant()},
        };
        for (const QVariantList& r : rows) {
            QVERIFY2(
                db_->execute("insert into t (code, name, ふりがな, 市町村かな, 日付, flag, memo) "
                             "values (?, ?, ?, ?, ?, ?, ?)",
                             r),
                qPrintable(db_->lastError()));
        }
    }
    void cleanup() { db_.reset(); }

    // ------------------------------------------------------------ opening

    void openRefusesBadFiles_data() {
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::addColumn<QString>("words");      // what the message must say
        QTest::newRow("missing") << QByteArray() << "ありません";
        QTest::newRow("empty") << QByteArray("") << "空です";
        QByteArray noise(4096, 0);
        QRandomGenerator rng(7);
        for (char& c : noise) {
            c = static_cast<char>(rng.bounded(256));
        }
        QTest::newRow("random bytes") << noise << "データベースファイルではありません";
        QTest::newRow("text file") << QByteArray("顧客一覧\r\n山田,03-1234-5678\r\n").repeated(20)
                                   << "データベースファイルではありません";
        QByteArray jet(2048, 0);
        jet.replace(4, 15, "Standard Jet DB");
        QTest::newRow("old Jet file") << jet << "Jet";
        QTest::newRow("truncated header")
            << QByteArray("SQLite format 3\0", 16) << "データベースファイルではありません";
    }
    void openRefusesBadFiles() {
        QFETCH(QByteArray, content);
        QFETCH(QString, words);
        QTemporaryDir d;
        const QString path = d.filePath("RbCtiData2K.mdb");
        if (!content.isNull()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        const QByteArray before = content.isNull() ? QByteArray() : digest(path);
        QString error;
        QVERIFY(!Database::open(path, &error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
        QVERIFY2(error.contains(words), qPrintable(error));
        // Nothing created, nothing changed.
        QCOMPARE(QFileInfo::exists(path), !content.isNull());
        if (!content.isNull()) {
            QCOMPARE(digest(path), before);
        }
        QCOMPARE(QDir(d.path()).entryList(QDir::Files | QDir::Hidden).size(),
                 content.isNull() ? 0 : 1);
    }

    void openRefusesAnotherProgramsSqliteFile() {
        QTemporaryDir d;
        const QString path = d.filePath("other.db");
        QProcess::execute("sqlite3", {path, "create table x(a); insert into x values(1);"});
        if (!QFileInfo::exists(path)) {
            QSKIP("sqlite3 shell not available");
        }
        const QByteArray before = digest(path);
        QString error;
        QVERIFY(!Database::open(path, &error));
        QVERIFY2(error.contains("このシステムのデータベースではありません"), qPrintable(error));
        QCOMPARE(digest(path), before);
    }

    void createRefusesToOverwrite() {
        QString error;
        QVERIFY(!Database::create(dir_.filePath("t.mdb"), &error));
        QVERIFY(error.contains("既にあります"));
    }

    // ------------------------------------------------------------ query meanings

    void textComparison_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("params");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("= width") << "select code from t where name = ?" << QVariantList{"用件１"}
                                 << QStringList{"1"};
        QTest::newRow("= literal width")
            << "select code from t where name = '用件１'" << QVariantList{} << QStringList{"1"};
        QTest::newRow("= half-width kana")
            << "select code from t where name = 'ｱｲ'" << QVariantList{} << QStringList{"2"};
        QTest::newRow("= case and width")
            << "select code from t where name = ?" << QVariantList{"ａｂｃ"} << QStringList{"3"};
        QTest::newRow("か is not が")
            << "select code from t where name = 'か'" << QVariantList{} << QStringList{};
        QTest::newRow("like star") << "select code from t where ふりがな like 'ヨウ*'"
                                   << QVariantList{} << QStringList{"1"};
        QTest::newRow("like half-width") << "select code from t where 市町村カナ like '*ｸ'"
                                         << QVariantList{} << QStringList{"1", "2", "3"};
        QTest::newRow("like typed star")
            << "select code from t where memo like ?" << QVariantList{"*50%*"} << QStringList{"2"};
        QTest::newRow("percent is no wildcard")
            << "select code from t where memo like '%'" << QVariantList{} << QStringList{};
        QTest::newRow("underscore is no wildcard")
            << "select code from t where memo like 'a_b'" << QVariantList{} << QStringList{"3"};
        QTest::newRow("bracket keeps star literal")
            << "select code from t where memo like '[*]*'" << QVariantList{} << QStringList{"4"};
        QTest::newRow("question and hash")
            << "select code from t where name like '用件#'" << QVariantList{} << QStringList{"1"};
        QTest::newRow("negated set")
            << "select code from t where name like '[!あ-ん]*' and code < 5" << QVariantList{}
            << QStringList{"1", "3"};
        QTest::newRow("folded field name") << "select code from t where 市町村カナ = 'ちよだく'"
                                           << QVariantList{} << QStringList{"3"};
        QTest::newRow("order by folds") << "select code from t where code < 5 order by ふりがな"
                                        << QVariantList{} << QStringList{"2", "3", "4", "1"};
        QTest::newRow("quote in value")
            << "select code from t where name = 'O''Brien'" << QVariantList{} << QStringList{"5"};
        QTest::newRow("quote as parameter")
            << "select code from t where name = ?" << QVariantList{"O'Brien"} << QStringList{"5"};
    }
    void textComparison() {
        QFETCH(QString, sql);
        QFETCH(QVariantList, params);
        QFETCH(QStringList, codes);
        QStringList got = column(*db_, sql, params);
        if (!sql.contains("order by")) {
            got.sort();
        }
        QCOMPARE(got, codes);
    }

    void dialect_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("date literal >")
            << "select code from t where 日付 > #2026/12/03 00:00:00 # order by 日付 DESC"
            << QStringList{"4", "3", "2"};
        QTest::newRow("date literal =")
            << "select code from t where 日付 = #2026/12/04 00:00:01#" << QStringList{"4"};
        QTest::newRow("two-digit year")
            << "select code from t where 日付 >= #26/12/04#" << QStringList{"3", "4"};
        QTest::newRow("second resolution")
            << "select code from t where 日付 <= #2026/12/04 00:00:00#"
            << QStringList{"1", "2", "3"};
        QTest::newRow("top") << "select TOP 1 code from t order by code DESC;" << QStringList{"5"};
        QTest::newRow("top 2") << "select top 2 code from t order by code" << QStringList{"1", "2"};
        QTest::newRow("count bracket") << "select count([name]) as num from t" << QStringList{"5"};
        QTest::newRow("count skips null")
            << "select count([日付]) as num from t" << QStringList{"4"};
        QTest::newRow("true") << "select code from t where flag = True" << QStringList{"1", "3"};
        // A yes/no field never written tests as False, as in the old engine.
        QTest::newRow("false") << "select code from t where flag = false "
                               << QStringList{"2", "4", "5"};
        QTest::newRow("concatenation")
            << "select name & '様' from t where code = 2" << QStringList{"あい様"};
        QTest::newRow("double-quoted text")
            << "select code from t where name = \"あい\"" << QStringList{"2"};
    }
    void dialect() {
        QFETCH(QString, sql);
        QFETCH(QStringList, values);
        QCOMPARE(column(*db_, sql), values);
    }

    // The old engine had no Null yes/no value and stored True as -1: in
    // conditions a Null one is False and -1 is True, while reading the
    // field still tells Null apart (the settings load has its own rules).
    void booleansInConditions_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("params");
        QTest::addColumn<QStringList>("codes");
        const QStringList no = {"2", "4", "5"}, yes = {"1", "3", "6"};
        QTest::newRow("= False") << "select code from t where flag = False" << QVariantList{} << no;
        QTest::newRow("<> True") << "select code from t where flag <> True" << QVariantList{} << no;
        QTest::newRow("Not") << "select code from t where Not flag" << QVariantList{} << no;
        QTest::newRow("= True, -1 too")
            << "select code from t where flag = True" << QVariantList{} << yes;
        QTest::newRow("bare field") << "select code from t where flag" << QVariantList{} << yes;
        QTest::newRow("bound False")
            << "select code from t where flag = ?" << QVariantList{false} << no;
        QTest::newRow("bound True")
            << "select code from t where flag = ?" << QVariantList{true} << yes;
        QTest::newRow("qualified, bracketed")
            << "select code from t where t.[flag] = false" << QVariantList{} << no;
        QTest::newRow("in parentheses with or")
            << "select code from t where (flag = false and code > 4) or code = 1" << QVariantList{}
            << QStringList{"1", "5"};
        QTest::newRow("sub-select")
            << "select code from s where code in (select code from t where flag = false)"
            << QVariantList{} << QStringList{"4"};
        QTest::newRow("other database")
            << "select code from t in '<self>' where flag = false" << QVariantList{} << no;
    }
    void booleansInConditions() {
        QFETCH(QString, sql);
        QFETCH(QVariantList, params);
        QFETCH(QStringList, codes);
        QVERIFY(db_->executeNative("insert into t (code, flag) values (6, -1)"));
        QVERIFY(db_->executeNative("insert into s (code) values (4)"));
        sql.replace("<self>", dir_.filePath("t.mdb"));
        QStringList got = column(*db_, sql, params);
        got.sort();
        QCOMPARE(got, codes);
    }

    void booleansReadAndWriteAsStored() {
        QVERIFY(db_->executeNative("insert into t (code, flag) values (6, -1)"));
        Recordset rs = db_->openRecordset("select flag from t where code = 5");
        QVERIFY(rs.field("flag").isNull());
        QCOMPARE(db_->openRecordset("select * from t where code = 6").field("flag"),
                 QVariant(true));
        // An update may name the field it sets and test it in its condition.
        QVERIFY(db_->execute("update t set flag = True where flag = False"));
        QCOMPARE(db_->rowsAffected(), 3);
        QCOMPARE(column(*db_, "select code from t where flag = false"), QStringList{});
        // Editable record sets and searches in them follow the same rule.
        QVERIFY(db_->execute("update t set flag = Null where code = 2"));
        Recordset dyn =
            db_->openRecordset("select * from t where flag = False order by code", Kind::Dynaset);
        QVERIFY2(dyn.isOpen(), qPrintable(dyn.lastError()));
        QCOMPARE(dyn.field("code").toInt(), 2);
        Recordset all = db_->openRecordset("select * from t order by code DESC", Kind::Snapshot);
        QVERIFY(all.findFirst("flag = False "));
        QCOMPARE(all.field("code").toInt(), 2);
    }

    void concatenationReadsNullAsEmpty_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("Null part") << "select memo & '様' from t where code = 5" << QVariant("様");
        QTest::newRow("chain") << "select name & ' ' & memo & '!' from t where code = 5"
                               << QVariant("O'Brien !");
        QTest::newRow("all parts Null") << "select memo & 日付 from t where code = 5" << QVariant();
        QTest::newRow("arithmetic binds more tightly")
            << "select code + 1 & 'x' from t where code = 2" << QVariant("3x");
        QTest::newRow("a whole number")
            << "select 2.0 & 'x' from t where code = 2" << QVariant("2x");
        QTest::newRow("function operand")
            << "select upper(name) & memo from t where code = 3" << QVariant("ABCa_b");
        QTest::newRow("in a condition")
            << "select code from t where name & memo = 'O''Brien'" << QVariant(5);
        QTest::newRow("parenthesised")
            << "select (memo & name) & '様' from t where code = 5" << QVariant("O'Brien様");
    }
    void concatenationReadsNullAsEmpty() {
        QFETCH(QString, sql);
        QFETCH(QVariant, expected);
        const QVariant got = db_->scalar(sql);
        QVERIFY2(db_->lastError().isEmpty() || got.isValid(), qPrintable(db_->lastError()));
        QCOMPARE(got.isNull(), expected.isNull());
        if (!expected.isNull()) {
            QCOMPARE(got.toString(), expected.toString());
        }
    }

    // SQLite would run the first statement and drop the rest: refused whole.
    void textAfterTheSemicolonIsRefused_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("second statement") << "delete * from t where code = 1; delete * from s";
        QTest::newRow("trailing words") << "delete * from t where code = 1; nonsense";
        QTest::newRow("two semicolons") << "delete * from t where code = 1;;";
        QTest::newRow("select then drop") << "select code from t; drop table t";
    }
    void textAfterTheSemicolonIsRefused() {
        QFETCH(QString, sql);
        QVERIFY(!db_->execute(sql));
        QVERIFY2(db_->lastError().contains(";"), qPrintable(db_->lastError()));
        QVERIFY(!db_->openRecordset(sql).isOpen());
        QCOMPARE(db_->scalar("select count(*) from t").toInt(), 5);
        QVERIFY(db_->hasTable("t"));
        // A semicolon inside a text and one at the end are fine.
        QVERIFY(db_->execute("update t set memo = 'a;b' where code = 1;  "));
        QCOMPARE(column(*db_, "select code from t where memo = 'a;b';"), QStringList{"1"});
    }

    void dateFieldsReadBackAsDateTimes() {
        Recordset rs = db_->openRecordset("select * from t where code = 2");
        QCOMPARE(rs.field("日付").toDateTime(), QDateTime(QDate(2026, 12, 3), QTime(23, 59, 59)));
        QCOMPARE(rs.field("flag").typeId(), QMetaType::Bool);
        QCOMPARE(rs.field("code").toInt(), 2);
    }

    void deleteStarAndWhere() {
        QVERIFY(db_->execute("delete * from t where code > 3"));
        QCOMPARE(db_->rowsAffected(), 2);
        QVERIFY(db_->execute("delete * from t"));
        QCOMPARE(column(*db_, "select code from t"), QStringList{});
    }

    void insertSelectKeepsOrder() {
        QVERIFY(db_->execute("insert into s select code, name from t order by code DESC;"));
        // Read back without order by: the order of appending.
        QCOMPARE(column(*db_, "select code from s"), (QStringList{"5", "4", "3", "2", "1"}));
        QVERIFY(db_->execute("delete * from s"));
        QVERIFY(db_->execute(
            "insert into s select code, name from t where code < 3 order by name DESC;"));
        QCOMPARE(column(*db_, "select * from s"), (QStringList{"1", "2"}));
    }

    void insertSelectStarMatchesFieldsByName() {
        // s has fewer fields, in another order than t: copied by name.
        QVERIFY(db_->executeNative("CREATE TABLE u (flag BOOLEAN, extra INTEGER, code INTEGER)"));
        QVERIFY2(db_->execute("insert into u select * from t order by code"),
                 qPrintable(db_->lastError()));
        Recordset rs = db_->openRecordset("select * from u");
        QCOMPARE(rs.field("code").toInt(), 1);
        QCOMPARE(rs.field("flag").toBool(), true);
        QVERIFY(rs.field("extra").isNull());
    }

    void externalDatabaseInStatement() {
        QTemporaryDir d;
        const QString other = d.filePath("RbCtiData2K.mdb");
        auto ext =
            scratchDb(other, {"CREATE TABLE コードマスタ (kcode VARCHAR(10) COLLATE JPFOLD, "
                              "code VARCHAR(2) COLLATE JPFOLD, sname VARCHAR(50) COLLATE JPFOLD)"});
        QVERIFY(ext->execute("insert into コードマスタ values ('電話名称', '02', '会社')"));
        QVERIFY(ext->execute("insert into コードマスタ values ('電話名称', '01', '自宅')"));
        QVERIFY(ext->execute("insert into コードマスタ values ('用件１', '01', '問合せ')"));
        ext.reset();
        QVERIFY(db_->executeNative("CREATE TABLE w電話名称 (sname VARCHAR(50) COLLATE JPFOLD)"));
        const QString sql = "insert into w電話名称 select sname from コードマスタ in '" + other +
                            "' where kcode = '電話名称' order by code;";
        QVERIFY2(db_->execute(sql), qPrintable(db_->lastError()));
        QCOMPARE(column(*db_, "select * from w電話名称"), (QStringList{"自宅", "会社"}));
        // The folded kind is found in the other file too.
        QCOMPARE(
            column(*db_, "select sname from コードマスタ in '" + other + "' where kcode = '用件1'"),
            QStringList{"問合せ"});
        // A missing file is an error, and is not created.
        const QString missing = d.filePath("nothing.mdb");
        QVERIFY(!db_->execute("insert into w電話名称 select sname from コードマスタ in '" +
                              missing + "'"));
        QVERIFY(db_->lastError().contains("nothing.mdb"));
        QVERIFY(!QFileInfo::exists(missing));
    }

    void textsRoundTripExactly_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes") << "It's \"quoted\" ''";
        QTest::newRow("wildcards") << "100% _x_ *star* [br] [!n] #1 ?";
        QTest::newRow("backslash") << "C:\\data\\RbCtiData2K.mdb \\n";
        QTest::newRow("emoji") << "😀👨‍👩‍👧 お客様";
        QTest::newRow("sql text") << "'); drop table t; --";
        QTest::newRow("control chars") << QString("a\tb\r\nc") + QChar(0x01);
        QTest::newRow("long") << QString(10000, QChar(0x6F22));
        QTest::newRow("empty") << QString("");
        QTest::newRow("leading zeros") << "0012345";
    }
    void textsRoundTripExactly() {
        QFETCH(QString, text);
        QVERIFY(db_->execute("insert into t (code, name, memo) values (99, ?, ?)", {text, text}));
        Recordset rs = db_->openRecordset("select * from t where code = 99");
        QCOMPARE(rs.field("memo").toString(), text);
        QCOMPARE(rs.field("name").toString(), text);
        QVERIFY(!rs.field("memo").isNull());
        // And it is found by itself, wildcards and all.
        QCOMPARE(column(*db_, "select code from t where memo = ?", {text}), QStringList{"99"});
    }

    void anyStatementTextFailsCleanly() {
        // Random fragments of the dialect, glued together: never a crash,
        // and a failure always says something.
        const QStringList parts = {
            "select", "*", "from",   "t",           "where", "name", "=",    "'",  "#", "2026/1/1",
            "[",      "]", "in",     "'x.mdb'",     "top",   "5",    "like", "?",  "&", "(",
            ")",      ";", "delete", "insert into", "\"",    "ｱ",    "😀",    "\0", ","};
        QRandomGenerator rng(11);
        for (int i = 0; i < 3000; ++i) {
            QString sql;
            const int n = int(rng.bounded(1, 12));
            for (int k = 0; k < n; ++k) {
                sql += parts[int(rng.bounded(quint32(parts.size())))] + (rng.bounded(2) ? " " : "");
            }
            if (!db_->execute(sql)) {
                QVERIFY2(!db_->lastError().isEmpty(), qPrintable(sql));
            }
            Recordset rs = db_->openRecordset(sql, Kind(rng.bounded(2)));
            for (int k = 0; k < 3 && !rs.eof(); ++k) {
                rs.moveNext();
            }
        }
        QCOMPARE(db_->scalar("select count(*) from t").toInt() >= 0, true);
    }

    void parameterCountMismatchIsAnError() {
        QVERIFY(!db_->execute("update t set name = ? where code = ?", {"x"}));
        QVERIFY(db_->lastError().contains("パラメータ"));
    }

    void malformedStatementsFailCleanly_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("unclosed quote") << "select * from t where name = 'abc";
        QTest::newRow("unclosed date") << "select * from t where 日付 > #2026/01/01";
        QTest::newRow("bad date") << "select * from t where 日付 > #2026/13/01#";
        QTest::newRow("unknown table") << "select * from nothing";
        QTest::newRow("syntax") << "selec * form t";
    }
    void malformedStatementsFailCleanly() {
        QFETCH(QString, sql);
        QVERIFY(!db_->execute(sql));
        QVERIFY(!db_->lastError().isEmpty());
        Recordset rs = db_->openRecordset(sql);
        QVERIFY(!rs.isOpen());
        QVERIFY(rs.eof() && rs.bof());
        QVERIFY(rs.field("code").isNull());
    }

    // ------------------------------------------------------------ record sets

    void walkingAndEmptyResults() {
        Recordset rs = db_->openRecordset("select * from t where code > 100");
        QVERIFY(rs.isOpen());
        QVERIFY(rs.bof() && rs.eof());
        rs = db_->openRecordset("select * from t order by code");
        QVERIFY(!rs.bof() && !rs.eof());
        int n = 0;
        for (; !rs.eof(); rs.moveNext()) {
            ++n;
        }
        QCOMPARE(n, 5);
        rs.moveNext(); // past the end stays there
        QVERIFY(rs.eof());
        rs.moveFirst();
        QCOMPARE(rs.field("code").toInt(), 1);
        QVERIFY(rs.field("missing").isNull());
        QVERIFY(rs.lastError().contains("missing"));
    }

    void nullFields() {
        Recordset rs = db_->openRecordset("select * from t where code = 5", Kind::Dynaset);
        QVERIFY(rs.field("日付").isNull());
        QVERIFY(rs.field("memo").isNull());
        QVERIFY(rs.edit());
        QVERIFY(rs.setField("name", QVariant()));
        QVERIFY(rs.update());
        QVERIFY(db_->openRecordset("select * from t where code = 5").field("name").isNull());
    }

    void addNewEditUpdate() {
        Recordset rs =
            db_->openRecordset("select * from t where code >= 4 order by code", Kind::Dynaset);
        QVERIFY2(rs.isOpen(), qPrintable(rs.lastError()));
        QVERIFY(!rs.setField("name", "x")); // not without AddNew or Edit
        QVERIFY(rs.addNew());
        QVERIFY(rs.setField("code", 6));
        QVERIFY(rs.setField("日付", "2026/12/10 13:00:00"));
        QVERIFY(rs.setField("flag", true));
        QVERIFY(rs.update());
        QVERIFY(rs.edit());
        QVERIFY(rs.setField("name", "変更"));
        QCOMPARE(rs.field("name").toString(), "変更"); // the edit buffer reads back
        QVERIFY(rs.update());
        Recordset check = db_->openRecordset("select * from t where code = 6");
        QCOMPARE(check.field("日付").toDateTime(), QDateTime(QDate(2026, 12, 10), QTime(13, 0)));
        QVERIFY(check.field("name").isNull()); // fields not set stay Null
        QCOMPARE(column(*db_, "select name from t where code = 4"), QStringList{"変更"});
        // A cancelled edit stores nothing.
        rs.moveFirst();
        rs.edit();
        rs.setField("name", "捨てる");
        rs.cancelUpdate();
        QCOMPARE(column(*db_, "select name from t where code = 4"), QStringList{"変更"});
    }

    void refusedValuesLeaveTheRowAlone_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("text in a number") << "code" << QVariant("abc");
        QTest::newRow("number too large") << "code" << QVariant(qlonglong(1) << 40);
        QTest::newRow("not a date") << "日付" << QVariant("tomorrow");
        QTest::newRow("not a flag") << "flag" << QVariant("maybe");
    }
    void refusedValuesLeaveTheRowAlone() {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        Recordset rs = db_->openRecordset("select * from t where code = 1", Kind::Dynaset);
        QVERIFY(rs.edit());
        QVERIFY(!rs.setField(field, value));
        QVERIFY(rs.lastError().contains(field));
        QVERIFY(rs.update());
        QCOMPARE(column(*db_, "select name from t where code = 1"), QStringList{"用件1"});
    }

    void movingBothWaysAndBookmarks_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("dynaset") << int(Kind::Dynaset);
        QTest::newRow("snapshot") << int(Kind::Snapshot);
    }
    void movingBothWaysAndBookmarks() {
        QFETCH(int, kind);
        Recordset rs = db_->openRecordset("select * from t order by code", Kind(kind));
        rs.moveLast();
        QCOMPARE(rs.field("code").toInt(), 5);
        rs.movePrevious();
        QCOMPARE(rs.field("code").toInt(), 4);
        rs.moveNext();
        rs.moveNext();
        QVERIFY(rs.eof());
        rs.movePrevious();
        QCOMPARE(rs.field("code").toInt(), 5);
        rs.moveFirst();
        rs.movePrevious(); // stays on the first row
        QCOMPARE(rs.field("code").toInt(), 1);
        if (Kind(kind) == Kind::Dynaset) {
            rs.moveNext();
            const QByteArray mark = rs.bookmark();
            rs.moveLast();
            QVERIFY(rs.setBookmark(mark));
            QCOMPARE(rs.field("code").toInt(), 2);
            QVERIFY(!rs.setBookmark("nonsense"));
            QVERIFY(rs.remove());
            QCOMPARE(db_->scalar("select count(*) from t where code = 2").toInt(), 0);
            QVERIFY(!rs.setBookmark(QByteArray()));
        } else {
            QVERIFY(rs.bookmark().isEmpty());
            QVERIFY(!rs.remove());
        }
    }

    void dynasetWithParenthesesInItsCondition() {
        Recordset rs = db_->openRecordset(
            "select * from t where (name is null or name = '') or (code = ?)", Kind::Dynaset, {3});
        QVERIFY2(rs.isOpen(), qPrintable(rs.lastError()));
        QCOMPARE(rs.field("code").toInt(), 3);
        QVERIFY(
            !db_->openRecordset("select * from t where code in (select code from s)", Kind::Dynaset)
                 .isOpen());
    }

    void dynasetNeedsOneTable() {
        Recordset rs = db_->openRecordset("select count(*) from t, s", Kind::Dynaset);
        QVERIFY(!rs.isOpen());
        QVERIFY(!rs.addNew());
    }

    void tableNameOpensTheTable() {
        Recordset rs = db_->openRecordset("t", Kind::Dynaset);
        QVERIFY(rs.isOpen());
        QCOMPARE(rs.fieldNames().first(), "code");
        QCOMPARE(rs.field("code").toInt(), 1);
    }

    void findFirst_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("dynaset") << int(Kind::Dynaset);
        QTest::newRow("snapshot") << int(Kind::Snapshot);
    }
    void findFirst() {
        QFETCH(int, kind);
        Recordset rs = db_->openRecordset("select * from t order by code DESC", Kind(kind));
        QVERIFY(rs.findFirst("flag = True "));
        QVERIFY(!rs.noMatch());
        QCOMPARE(rs.field("code").toInt(), 3);
        QVERIFY(!rs.findFirst("name = 'なし'"));
        QVERIFY(rs.noMatch());
    }

    // ------------------------------------------------------------ definitions

    void tableDefsListAndAppendFields() {
        core::db::TableDef def = db_->tableDef("t");
        QVERIFY(def.exists());
        QCOMPARE(def.fields().size(), 7);
        QCOMPARE(def.fields().at(1).type, 10);
        QCOMPARE(def.fields().at(1).size, 50);
        QCOMPARE(def.fields().at(4).type, 8);
        auto f = def.createField("Version", 10, 10);
        f.allowZeroLength = true;
        QVERIFY(def.append(f));
        QVERIFY(def.append(def.createField("件数", 3, 0)));
        QVERIFY(!def.append(def.createField("Version", 10, 10))); // already there
        QVERIFY(db_->execute("update t set Version = '', 件数 = 7 where code = 1"));
        Recordset rs = db_->openRecordset("select * from t where code = 1");
        QCOMPARE(rs.field("version").toString(), QString(""));
        QVERIFY(!rs.field("version").isNull());
        QCOMPARE(rs.field("件数").toInt(), 7);
        QVERIFY(!db_->tableDef("nothing").exists());
    }

    // ------------------------------------------------------------ transactions

    void transactionRollsBackWhenNotCommitted() {
        {
            core::db::Transaction tx(*db_);
            QVERIFY(db_->execute("delete * from t"));
            {
                core::db::Transaction inner(*db_);
                QVERIFY(db_->execute("insert into s values (1, 'x')"));
                QVERIFY(inner.commit());
            }
        }
        QCOMPARE(column(*db_, "select count(*) from t"), QStringList{"5"});
        QCOMPARE(column(*db_, "select count(*) from s"), QStringList{"0"});
        {
            core::db::Transaction tx(*db_);
            QVERIFY(db_->execute("delete * from t where code = 1"));
            QVERIFY(tx.commit());
        }
        QCOMPARE(column(*db_, "select count(*) from t"), QStringList{"4"});
    }

    void killedWriterLosesNoCompletedWrite() {
        TestFiles files;
        QProcess writer;
        writer.setProgram(QStringLiteral(TEST_BIN_DIR "/dbwriter"));
        writer.setArguments({files.paths.dataDb});
        writer.start();
        QVERIFY(writer.waitForStarted());
        int last = 0;
        QByteArray pending;
        QElapsedTimer t;
        t.start();
        while (last < 60 && t.elapsed() < 30000) {
            writer.waitForReadyRead(1000);
            pending += writer.readAllStandardOutput();
            const QList<QByteArray> lines = pending.split('\n');
            for (int i = 0; i + 1 < lines.size(); ++i) {
                last = std::max(last, lines[i].toInt());
            }
            pending = lines.last();
        }
        writer.kill(); // SIGKILL, in the middle of a write
        writer.waitForFinished();
        QVERIFY2(last >= 60, qPrintable(writer.readAllStandardError()));

        auto db = files.data();
        QString detail;
        QVERIFY2(db->integrityCheck(&detail), qPrintable(detail));
        const int calls = db->scalar("select count(*) from 着信履歴 where 名称 = 'burst'").toInt();
        const int numbers =
            db->scalar("select count(*) from 電話番号 where 名称 = 'burst'").toInt();
        QVERIFY2(calls >= last, qPrintable(QString("%1 < %2").arg(calls).arg(last)));
        QCOMPARE(numbers, calls); // each pair whole or not at all
        QCOMPARE(db->scalar("select max(code) from 着信履歴").toInt(), calls);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
