#include <QTest>

#include "settings.h"
#include "startup.h"
#include "testfiles.h"
#include "upgrade.h"

using core::Settings;

class TestSettings : public QObject {
    Q_OBJECT

    // A settings row set up by the start-up upgrade, then changed by sql.
    Settings loadAfter(const QString& sql, const QVariantList& params = {}, Settings before = {}) {
        TestFiles files;
        auto data = files.data();
        auto work = files.work();
        data->execute("delete * from 自社情報"); // a row as the upgrade makes it
        core::createNewTable(*data, *work);
        if (!sql.isEmpty() && !data->execute(sql, params)) {
            qWarning("%s", qPrintable(data->lastError()));
        }
        core::loadSettings(*data, before, "/default/chime.wav");
        return before;
    }

private slots:
    void freshRow() {
        Settings before;
        before.年号 = "和暦";
        before.NAdapter = "前の値";
        const Settings s = loadAfter({}, {}, before);
        QCOMPARE(s.年号, "和暦"); // Null keeps the previous value
        QVERIFY(s.着信認識 && s.担当登録 && s.敬称登録 && s.用件1登録 && s.用件2登録 &&
                s.電話名称登録);
        QVERIFY(s.着信サウンド);
        QCOMPARE(s.着信サウンドパス, "/default/chime.wav");
        QCOMPARE(s.履歴自動削除, "");
        QCOMPARE(s.着信読込, "");
        QCOMPARE(s.TA, "アロハPC1");
        QCOMPARE(s.NAdapter, "前の値"); // no adapter stored yet
        QCOMPARE(s.パリティ, "偶数");
        QCOMPARE(s.データビット, qint16(7));
        QCOMPARE(s.ボーレート, qint32(9600));
        QCOMPARE(s.ポート番号, qint16(1));
        QCOMPARE(s.ストップビット, qint16(1));
        QCOMPARE(s.受信モード, qint16(1));
    }

    void noRowAtAll() {
        Settings before;
        before.TA = "前のTA";
        const Settings s = loadAfter("delete * from 自社情報", {}, before);
        QCOMPARE(s.年号, "西暦");
        QCOMPARE(s.NAdapter, "アロハPC1");
        QCOMPARE(s.TA, "前のTA");
        QCOMPARE(s.パリティ, "e");
        QCOMPARE(s.ボーレート, qint32(9600));
        QCOMPARE(s.データビット, qint16(7));
        QVERIFY(s.着信認識 && s.着信サウンド);
        QCOMPARE(s.着信サウンドパス, "/default/chime.wav");
    }

    void receptionMode_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("loaded");
        QTest::newRow("0") << QVariant(0) << 1;
        QTest::newRow("1") << QVariant(1) << 1;
        QTest::newRow("2") << QVariant(2) << 2;
        QTest::newRow("3") << QVariant(3) << 3;
        QTest::newRow("4") << QVariant(4) << 1;
        QTest::newRow("null") << QVariant() << 1;
    }
    void receptionMode() {
        QFETCH(QVariant, stored);
        QFETCH(int, loaded);
        Settings before;
        before.受信モード = 3;
        QCOMPARE(int(loadAfter("update 自社情報 set 受信モード = ?", {stored}, before).受信モード),
                 loaded);
    }

    void soundPath_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("null") << QVariant() << "/default/chime.wav";
        QTest::newRow("empty") << QVariant("") << "/default/chime.wav";
        QTest::newRow("default name")
            << QVariant("The Microsoft Sound.wav") << "/default/chime.wav";
        QTest::newRow("own file") << QVariant("/home/desk/ring.wav") << "/home/desk/ring.wav";
        QTest::newRow("a file named like it elsewhere")
            << QVariant("/x/The Microsoft Sound.wav") << "/x/The Microsoft Sound.wav";
    }
    void soundPath() {
        QFETCH(QVariant, stored);
        QFETCH(QString, loaded);
        QCOMPARE(loadAfter("update 自社情報 set 着信サウンドパス = ?", {stored}).着信サウンドパス,
                 loaded);
    }

    void storedValuesWin() {
        const Settings s = loadAfter(
            "update 自社情報 set 年号 = '西暦', 着信認識 = False, 着信サウンド = False, 着信読込 = "
            "'３日以内分', "
            "NAdapter = 'ナンバーディスプレイアダプタ３０', ボーレート = 19200, パリティ = '奇数', "
            "ポート番号 = 3, TA = null");
        QCOMPARE(s.年号, "西暦");
        QVERIFY(!s.着信認識);
        QVERIFY(!s.着信サウンド);
        QCOMPARE(s.着信読込, "３日以内分");
        QCOMPARE(s.NAdapter, "ナンバーディスプレイアダプタ３０");
        QCOMPARE(s.ボーレート, qint32(19200));
        QCOMPARE(s.パリティ, "奇数");
        QCOMPARE(s.ポート番号, qint16(3));
        QCOMPARE(s.TA, ""); // Null keeps the previous (empty) value
    }

    void numbersStoredAsTextAndBadValues() {
        // Old files keep serial values as text; a value that is no number, or
        // a field that is missing, leaves the value in memory as it was.
        TestFiles files;
        {
            QFile::remove(files.paths.dataDb);
            auto db = scratchDb(
                files.paths.dataDb,
                {"CREATE TABLE 自社情報 (データビット VARCHAR(5), ボーレート VARCHAR(10), "
                 "ポート番号 VARCHAR(5), 着信認識 VARCHAR(5))",
                 "INSERT INTO 自社情報 VALUES ('8', 'fast', '70000', 'False')"});
        }
        auto data = files.data();
        Settings s;
        s.ボーレート = 4800;
        s.ポート番号 = 2;
        s.ストップビット = 2;
        s.TA = "kept";
        core::loadSettings(*data, s, "/d.wav");
        QCOMPARE(s.データビット, qint16(8));
        QCOMPARE(s.ボーレート, qint32(4800));
        QCOMPARE(s.ポート番号, qint16(2)); // 70000 does not fit
        QCOMPARE(s.ストップビット, qint16(2));
        QCOMPARE(s.TA, "kept");
        QVERIFY(!s.着信認識);
    }

    // ------------------------------------------------------------ start-up

    void paths() {
        QTemporaryDir home;
        const core::Paths normal = core::Paths::resolve("/opt/desk/bin", home.path());
        QCOMPARE(normal.dataDir, "/opt/desk/bin/data/");
        QCOMPARE(normal.dataDb, "/opt/desk/bin/data/RbCtiData2K.mdb");
        QCOMPARE(normal.workDb, "/opt/desk/bin/data/RbctiWork2K.mdb");
        QCOMPARE(normal.postalDb, "/opt/desk/bin/data/yubin2000.mdb");
        QCOMPARE(normal.dataFile("RbctiData2K.mdb"), normal.dataDb);
        QCOMPARE(normal.dataFile("RbCtidata2K.mdb"), normal.dataDb);
        QCOMPARE(normal.defaultSoundPath(), "/opt/desk/bin/data/chime.wav");
        QVERIFY(!normal.development);

        QFile marker(home.filePath("Kivdevelop.txt"));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.close();
        const core::Paths dev = core::Paths::resolve("/opt/desk/bin", home.path());
        QVERIFY(dev.development);
        QCOMPARE(dev.dataDir, home.path() + "/develop/rb/rbcti/data/");
        QCOMPARE(dev.dataDb, home.path() + "/develop/rb/rbcti/data/RbCtiData2K.mdb");
        QCOMPARE(dev.workDb, home.path() + "/develop/rb/rbcti/data/RbctiWork2K.mdb");
        QCOMPARE(dev.postalDb, home.path() + "/develop/rb/yubin/yubin2000.mdb");
    }

    void startUpOpensUpgradesAndLoads() {
        TestFiles files;
        QString error;
        QVERIFY2(core::startUp(files.paths, &error), qPrintable(error));
        QVERIFY(core::dataDb() && core::workDb());
        QCOMPARE(core::settings().TA, "アロハPC1");
        QVERIFY(core::isCurrentSchema(*core::dataDb()));
        core::shutDown();
        QVERIFY(!core::dataDb() && !core::workDb());
    }

    void startUpFailsOnAMissingFile_data() {
        QTest::addColumn<QString>("missing");
        QTest::newRow("work") << core::kWorkDbName;
        QTest::newRow("data") << core::kDataDbName;
    }
    void startUpFailsOnAMissingFile() {
        QFETCH(QString, missing);
        TestFiles files;
        QVERIFY(QFile::remove(files.paths.dataDir + missing));
        QString error;
        QVERIFY(!core::startUp(files.paths, &error));
        QVERIFY2(error.contains(missing), qPrintable(error));
        QVERIFY(!core::dataDb() && !core::workDb());
        QVERIFY(!QFileInfo::exists(files.paths.dataDir + missing));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
