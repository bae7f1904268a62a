// The loadable extension libjpfold beside the program: a plain SQLite
// connection, or the sqlite3 shell, that loads it reads, searches and orders
// the text columns of a data file as the desk does.

#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <sqlite3.h>

#include "database.h"
#include "testfiles.h"

namespace {

const QString kExtension = QStringLiteral(BIN_DIR "/libjpfold.so");

// The first column of every row, or the error text.
QStringList query(sqlite3* db, const QString& sql) {
    sqlite3_stmt* st = nullptr;
    const QByteArray bytes = sql.toUtf8();
    if (sqlite3_prepare_v2(db, bytes.constData(), int(bytes.size()), &st, nullptr) != SQLITE_OK) {
        return {QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(db))};
    }
    QStringList out;
    while (sqlite3_step(st) == SQLITE_ROW) {
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    }
    sqlite3_finalize(st);
    return out;
}

} // namespace

class TestFoldExtension : public QObject {
    Q_OBJECT
    TestFiles files_;

    static QStringList viaLayer(core::db::Database& db, const QString& sql) {
        QStringList out;
        for (auto rs = db.openRecordset(sql); !rs.eof(); rs.moveNext()) {
            out << rs.field(rs.fieldNames().first()).toString();
        }
        return out;
    }

private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo::exists(kExtension), qPrintable(kExtension));
        auto data = files_.data();
        const QList<QVariantList> customers = {
            {1, "ABC商事", "えーびーしーしょうじ"},
            {2, "ｱｲｳ工業", "ｱｲｳｺｳｷﾞｮｳ"},
            {3, "あいう書店", "あいうしょてん"},
            {4, "がっこう", "がっこう"},
            {5, "かっこう", "かっこう"},
        };
        for (const QVariantList& c : customers) {
            QVERIFY(
                data->execute("insert into 顧客マスタ (code, 名称, ふりがな) values (?, ?, ?)", c));
        }
        QVERIFY(data->execute("insert into 電話番号 (code, no, 名称, 電話番号) values (2, 1, "
                              "'アイウ工業', '0311112222')"));
    }

    void withoutItTheColumnsCannotBeCompared() {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open_v2(files_.paths.dataDb.toUtf8().constData(), &db,
                                 SQLITE_OPEN_READONLY, nullptr),
                 SQLITE_OK);
        const QStringList got = query(db, "select code from 顧客マスタ order by 名称");
        sqlite3_close(db);
        QVERIFY2(got.value(0).contains("JPFOLD"), qPrintable(got.join(' ')));
    }

    void loadedItSearchesAndOrdersAsTheDesk_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("= width and case")
            << "select code from 顧客マスタ where 名称 = 'ａｂｃ商事'" << QStringList{"1"};
        QTest::newRow("= half-width kana")
            << "select code from 顧客マスタ where 名称 = 'アイウ工業'" << QStringList{"2"};
        QTest::newRow("か is not が")
            << "select code from 顧客マスタ where 名称 = 'かっこう'" << QStringList{"5"};
        QTest::newRow("like with the star")
            << "select code from 顧客マスタ where ふりがな like 'アイウ*' order by code"
            << QStringList{"2", "3"};
        QTest::newRow("percent is no wildcard")
            << "select code from 顧客マスタ where ふりがな like 'あいう%'" << QStringList{};
        QTest::newRow("join by folded name") << "select 顧客マスタ.code from 顧客マスタ, 電話番号 "
                                                "where 顧客マスタ.名称 = 電話番号.名称"
                                             << QStringList{"2"};
        QTest::newRow("order by reading")
            << "select code from 顧客マスタ where code <= 5 order by ふりがな, code"
            << QStringList{"2", "3", "1", "5", "4"};
    }
    void loadedItSearchesAndOrdersAsTheDesk() {
        QFETCH(QString, sql);
        QFETCH(QStringList, expected);
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open_v2(files_.paths.dataDb.toUtf8().constData(), &db,
                                 SQLITE_OPEN_READONLY, nullptr),
                 SQLITE_OK);
        sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 1, nullptr);
        char* error = nullptr;
        const int rc = sqlite3_load_extension(db, kExtension.toUtf8().constData(), nullptr, &error);
        const QString why = QString::fromUtf8(error ? error : "");
        sqlite3_free(error);
        QVERIFY2(rc == SQLITE_OK, qPrintable(why));
        const QStringList got = query(db, sql);
        sqlite3_close(db);
        QCOMPARE(got, expected);
        auto data = files_.data();
        QCOMPARE(viaLayer(*data, sql), expected);
    }

    void theShellLoadsIt() {
        const QString shell = QStandardPaths::findExecutable("sqlite3");
        if (shell.isEmpty()) {
            QSKIP("the sqlite3 shell is not installed");
        }
        QProcess p;
        // As the README shows it: the extension named without its suffix.
        p.start(shell, {files_.paths.dataDb, ".load " + QString(kExtension).chopped(3),
                        "select 名称 from 顧客マスタ where ふりがな like '*ｺｳｷﾞｮｳ' or "
                        "ふりがな like 'ガッ*' order by ふりがな;"});
        QVERIFY(p.waitForFinished(10000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 (QStringList{"ｱｲｳ工業", "がっこう"}));
    }
};

QTEST_GUILESS_MAIN(TestFoldExtension)
#include "tst_foldextension.moc"
