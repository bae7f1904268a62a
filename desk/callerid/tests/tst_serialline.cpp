#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "decoder.h"
#include "lineconfig.h"
#include "ptypair.h"
#include "serialline.h"
#include "testfiles.h"
#include "upgrade.h"

using namespace callerid;

class TestSerialLine : public QObject {
    Q_OBJECT
private slots:
    void settingsText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("stop");
        QTest::newRow("initial") << "9600,e,7,1" << true << 9600 << int(QSerialPort::EvenParity)
                                 << 7 << int(QSerialPort::OneStop);
        QTest::newRow("upper case") << "9600,E,7,1" << true << 9600 << int(QSerialPort::EvenParity)
                                    << 7 << int(QSerialPort::OneStop);
        QTest::newRow("none, 8, 2") << "19200,n,8,2" << true << 19200 << int(QSerialPort::NoParity)
                                    << 8 << int(QSerialPort::TwoStop);
        QTest::newRow("odd") << "230400,o,8,1.5" << true << 230400 << int(QSerialPort::OddParity)
                             << 8 << int(QSerialPort::OneAndHalfStop);
        QTest::newRow("missing part") << "9600,e,7" << false << 0 << 0 << 0 << 0;
        QTest::newRow("bad parity") << "9600,x,7,1" << false << 0 << 0 << 0 << 0;
        QTest::newRow("bad bits") << "9600,e,9,1" << false << 0 << 0 << 0 << 0;
        QTest::newRow("zero speed") << "0,e,7,1" << false << 0 << 0 << 0 << 0;
        QTest::newRow("empty values") << "0,,0,0" << false << 0 << 0 << 0 << 0;
    }
    void settingsText() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        const auto s = LineSettings::parse(text);
        QCOMPARE(s.has_value(), ok);
        if (ok) {
            QFETCH(int, baud);
            QFETCH(int, parity);
            QFETCH(int, bits);
            QFETCH(int, stop);
            QCOMPARE(s->baud, baud);
            QCOMPARE(int(s->parity), parity);
            QCOMPARE(int(s->dataBits), bits);
            QCOMPARE(int(s->stopBits), stop);
        }
    }

    void portMapping() {
        QTemporaryDir dir;
        QCOMPARE(deviceForPort(3, dir.path()),
                 QFileInfo::exists("/dev/ttyUSB2") ? "/dev/ttyUSB2" : "/dev/ttyS2");
        QFile conf(dir.filePath("ports.conf"));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("# adapters of this desk\n1=/dev/ttyUSB7\n 2 = /dev/pts/9 \n");
        conf.close();
        QCOMPARE(deviceForPort(1, dir.path()), "/dev/ttyUSB7");
        QCOMPARE(deviceForPort(2, dir.path()), "/dev/pts/9");
        QCOMPARE(deviceForPort(4, dir.path()),
                 QFileInfo::exists("/dev/ttyUSB3") ? "/dev/ttyUSB3" : "/dev/ttyS3");
    }

    void readsWritesAndRaisesEvents() {
        PtyPair pty;
        QVERIFY(pty.ok());
        QTemporaryDir dir;
        QFile conf(dir.filePath("ports.conf"));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write(("1=" + pty.slavePath + "\n").toLocal8Bit());
        conf.close();

        SerialLine line;
        line.setDataDir(dir.path());
        line.setCommPort(1);
        QVERIFY(line.setSettings("9600,e,7,1"));
        QVERIFY2(line.setPortOpen(true),
                 qPrintable(line.lastError())); // a pty refuses parity, still opens
        QVERIFY(line.portOpen());
        QSignalSpy events(&line, &SerialLine::commEventRaised);
        pty.send("\x02"
                 "1000");
        QVERIFY(events.wait(1000));
        QCOMPARE(line.commEvent(), events::kReceive);
        pty.send("120300312345678\x03");
        QTest::qWait(100);
        // Everything since the last read, in one piece.
        QCOMPARE(line.input(), QByteArray("\x02"
                                          "1000120300312345678\x03"));
        QCOMPARE(line.input(), QByteArray());
        QVERIFY(line.output(QByteArray(1, '\x06')));
        QCOMPARE(pty.receive(500, '\x06'), QByteArray(1, '\x06'));
        line.resetDtr();
        line.clearOutput();
        QVERIFY(line.portOpen());
        line.raiseEvent(1004);
        QCOMPARE(line.commEvent(), 1004);
    }

    void missingPortIsReported() {
        SerialLine line;
        line.setDevice("/dev/ttyNOTHING9");
        QSignalSpy failed(&line, &SerialLine::lineFailed);
        QVERIFY(!line.setPortOpen(true));
        QCOMPARE(failed.size(), 1);
        QVERIFY(line.lastError().contains("/dev/ttyNOTHING9"));
        QVERIFY(!line.output("x"));
        QCOMPARE(line.input(), QByteArray());
    }

    void portHeldByAnotherProgram() {
        PtyPair pty;
        SerialLine first, second;
        first.setDevice(pty.slavePath);
        second.setDevice(pty.slavePath);
        QVERIFY(first.setPortOpen(true));
        // QSerialPort takes an exclusive lock on the device.
        QVERIFY(!second.setPortOpen(true));
        QVERIFY(second.lastError().contains(pty.slavePath));
    }

    // ------------------------------------------------------------ SetCommInfo

    void commInfo_data() {
        QTest::addColumn<QString>("update"); // applied to the settings row
        QTest::addColumn<QString>("ta");
        QTest::addColumn<QString>("adapter");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("settings");
        QTest::newRow("shipped row") << ""
                                     << "アロハPC1"
                                     << "アロハPC1" << 1 << "9600,e,7,1";
        QTest::newRow("row as the upgrade makes it") << "update 自社情報 set NAdapter = null"
                                                     << "アロハPC1"
                                                     << "" << 1 << "9600,e,7,1";
        QTest::newRow("stored values") << "update 自社情報 set TA = 'ＩＮＳメイト Ｖ－８ＤＳＵ', "
                                          "NAdapter = 'ＩＮＳメイト Ｖ－８ＤＳＵ', "
                                          "パリティ = '奇数', データビット = 8, ボーレート = "
                                          "19200, ポート番号 = 2, ストップビット = 2"
                                       << "ＩＮＳメイト Ｖ－８ＤＳＵ"
                                       << "ＩＮＳメイト Ｖ－８ＤＳＵ" << 2 << "19200,o,8,2";
        QTest::newRow("empty TA takes the adapter row")
            << "update 自社情報 set TA = null, ポート番号 = 4"
            << "なし"
            << "ナンバーディスプレイアダプタ３０" << 1 << "9600,e,7,1";
        QTest::newRow("unknown parity keeps the working value")
            << "update 自社情報 set パリティ = 'even'"
            << "アロハPC1"
            << "アロハPC1" << 1 << "9600,e,7,1";
        QTest::newRow("none parity") << "update 自社情報 set パリティ = 'なし'"
                                     << "アロハPC1"
                                     << "アロハPC1" << 1 << "9600,n,7,1";
    }
    void commInfo() {
        QFETCH(QString, update);
        QFETCH(QString, ta);
        QFETCH(QString, adapter);
        QFETCH(int, port);
        QFETCH(QString, settings);
        TestFiles files;
        auto data = files.data();
        auto work = files.work();
        core::createNewTable(*data, *work);
        if (!update.isEmpty()) {
            QVERIFY2(data->execute(update), qPrintable(data->lastError()));
        }
        LineValues v;
        SerialLine line;
        SetCommInfo(*data, v, line);
        QCOMPARE(v.ta, ta);
        QCOMPARE(v.nAdapter, adapter);
        QCOMPARE(line.commPort(), port);
        QCOMPARE(line.settings(), settings);
    }

    void openingSequence_data() {
        QTest::addColumn<QString>("ta");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("settings");
        QTest::newRow("INS V-8") << QString(models::kInsV8) << QByteArray("AT$12=0\r")
                                 << "19200,o,8,2";
        QTest::newRow("INS V-30") << QString(models::kInsV30) << QByteArray("AT$12=0\r")
                                  << "19200,o,8,2";
        QTest::newRow("other adapter") << "アロハPC1" << QByteArray() << "9600,E,7,1";
        QTest::newRow("none") << "なし" << QByteArray() << "9600,E,7,1";
    }
    void openingSequence() {
        QFETCH(QString, ta);
        QFETCH(QByteArray, sent);
        QFETCH(QString, settings);
        PtyPair pty;
        SerialLine line;
        line.setDevice(pty.slavePath);
        LineValues v;
        v.ta = ta;
        QVERIFY(line.setSettings("19200,o,8,2"));
        QVERIFY(openLine(line, v));
        QCOMPARE(line.settings(), settings);
        QCOMPARE(pty.receive(300, '\r'), sent);
        // Once open, opening again sends nothing more.
        QVERIFY(openLine(line, v));
        QCOMPARE(pty.receive(100), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestSerialLine)
#include "tst_serialline.moc"
