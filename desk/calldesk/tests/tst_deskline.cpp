// The desk on a real line: reports written by cidsim into a pseudo-terminal
// pair made by socat reach the open desk.

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <csignal>

#include "decoder.h"
#include "deskfixture.h"
#include "framing.h"

namespace {

struct SocatPair {
    QTemporaryDir dir;
    QProcess socat;
    QString desk, adapter;
    bool start() {
        if (QStandardPaths::findExecutable("socat").isEmpty()) {
            return false;
        }
        desk = dir.filePath("desk-line");
        adapter = dir.filePath("adapter");
        socat.start("socat", {"pty,raw,echo=0,link=" + desk, "pty,raw,echo=0,link=" + adapter});
        for (int i = 0; i < 100 && !(QFileInfo::exists(desk) && QFileInfo::exists(adapter)); ++i) {
            QTest::qWait(20);
        }
        return QFileInfo::exists(adapter);
    }
    ~SocatPair() {
        socat.kill();
        socat.waitForFinished();
    }
};

void pointPortAt(const core::Paths& paths, const QString& device) {
    QFile conf(paths.dataDir + "ports.conf");
    conf.open(QIODevice::WriteOnly);
    conf.write(("1=" + device + "\n").toLocal8Bit());
}

bool simulate(const QString& device, const QStringList& caller) {
    QProcess sim;
    sim.start(BIN_DIR "/cidsim",
              QStringList{"--adapter", "アロハPC1", "--device", device} + caller);
    sim.waitForStarted();
    while (sim.state() != QProcess::NotRunning) {
        sim.waitForFinished(20);
        QCoreApplication::processEvents(); // the desk answers meanwhile
    }
    return sim.exitCode() == 0;
}

} // namespace

class TestDeskLine : public QObject {
    Q_OBJECT
private slots:
    void reportsFromTheLineReachTheDesk() {
        SocatPair pair;
        if (!pair.start()) {
            QSKIP("socat is not installed");
        }
        DeskFixture f(
            [](core::db::Database& d) { addCustomer(d, 12, "回線の客", {"0312345678"}); });
        pointPortAt(f.files.paths, pair.desk);
        f.open();
        QVERIFY2(f.desk->lineStatus().isEmpty(), qPrintable(f.desk->lineStatus()));

        QVERIFY(simulate(pair.adapter, {"0312345678"}));
        QTRY_COMPARE_WITH_TIMEOUT(f.text("cmb顧客名"), QString("回線の客"), 3000);
        QCOMPARE(f.text("txt顧客コード"), "12");
        QTRY_COMPARE(f.data().scalar("select count(*) from 着信履歴 where code = 12").toInt(), 1);

        QTest::qWait(1100); // the next call in another second
        QVERIFY(simulate(pair.adapter, {"--withheld"}));
        QTRY_COMPARE_WITH_TIMEOUT(f.listValue(0, "電話番号").toString(), QString("非通知"), 3000);
        QTest::qWait(1100);
        QVERIFY(simulate(pair.adapter, {"--public"}));
        QTRY_COMPARE_WITH_TIMEOUT(f.listValue(0, "電話番号").toString(), QString("公衆電話"), 3000);
        QCOMPARE(f.text("cmb顧客名"), "名称未登録");
        QTRY_COMPARE(f.data().scalar("select count(*) from 着信履歴").toInt(), 3);
    }

    // A second call reported while the first is still being taken in (the
    // pointer nudge, the database work) is taken in as well: both listed and
    // logged, each with its own number and customer, soon after the second.
    void twoReportsThreeHundredMillisecondsApart() {
        DeskFixture f([](core::db::Database& d) { addCustomer(d, 12, "先の客", {"0312345678"}); });
        f.open();
        QVERIFY2(f.desk->lineStatus().isEmpty(), qPrintable(f.desk->lineStatus()));
        auto report = [](const QString& number) {
            return callerid::frameReport(callerid::models::kAlohaPc1, callerid::Caller::Number,
                                         number);
        };
        QElapsedTimer sinceSecond;
        QTimer::singleShot(300, [&] {
            f.pty.send(report("0698765432"));
            sinceSecond.start();
        });
        f.pty.send(report("0312345678"));
        QByteArray acks;
        auto logged = [&] {
            return f.data()
                .scalar("select count(*) from 着信履歴 where (電話番号 = '0312345678' and code = "
                        "12) or (電話番号 = '0698765432' and code = 0)")
                .toInt();
        };
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000 && (logged() < 2 || acks.count('\x06') < 2)) {
            QTest::qWait(10);
            acks += f.pty.receive(1);
        }
        QVERIFY(sinceSecond.isValid());
        const qint64 after = sinceSecond.elapsed();
        QCOMPARE(logged(), 2);
        QCOMPARE(acks, QByteArray(2, '\x06'));
        QVERIFY2(after < 2000,
                 qPrintable(QString("both logged %1 ms after the second").arg(after)));
        QCOMPARE(f.data().scalar("select count(*) from 着信履歴").toInt(), 2);
        QStringList listed;
        for (int row = 0; row < f.desk->listModel()->rowCount(); ++row) {
            listed << f.listValue(row, "電話番号").toString();
        }
        listed.sort();
        QCOMPARE(listed, (QStringList{"0312345678", "0698765432"}));
    }

    void callsOfUnregisteredCallersAskNothingAndKeepTheirCodes() {
        SocatPair pair;
        if (!pair.start()) {
            QSKIP("socat is not installed");
        }
        DeskFixture f(
            [](core::db::Database& d) { addCustomer(d, 12, "回線の客", {"0312345678"}); });
        pointPortAt(f.files.paths, pair.desk);
        f.open();
        QVERIFY2(f.desk->lineStatus().isEmpty(), qPrintable(f.desk->lineStatus()));
        const QList<QPair<QStringList, QString>> calls = {
            {{"0355556666"}, "0355556666"},
            {{"--withheld"}, "非通知"},
            {{"--public"}, "公衆電話"},
            {{"0312345678"}, "0312345678"},
        };
        for (const auto& [caller, shown] : calls) {
            QVERIFY(simulate(pair.adapter, caller));
            QTRY_COMPARE_WITH_TIMEOUT(f.listValue(0, "電話番号").toString(), shown, 3000);
            QTest::qWait(1100); // the next call in another second
        }
        // Nothing stood in the way while the phone rang.
        QVERIFY2(ui::MessageBoxes::asked().isEmpty(),
                 qPrintable(ui::MessageBoxes::asked().value(0).text));
        QTRY_COMPARE(f.data().scalar("select count(*) from 着信履歴").toInt(), 4);

        f.desk->close();
        f.desk.reset();
        QCOMPARE(f.data().scalar("select count(*) from 着信履歴 where code is null").toInt(), 0);
        QCOMPARE(f.data().scalar("select count(*) from 着信履歴 where code = 0").toInt(), 3);
        QCOMPARE(f.data().scalar("select code from 着信履歴 where 電話番号 = '0312345678'").toInt(),
                 12);
        // Opened again in the same run: the list shows every call with its code.
        f.open();
        QCOMPARE(f.desk->listModel()->rowCount(), 4);
        for (int row = 0; row < 4; ++row) {
            QVERIFY(!f.listValue(row, "code").isNull());
            QCOMPARE(f.listValue(row, "code").toInt(), row == 0 ? 12 : 0);
        }
    }

    void aLoggedCallSurvivesAKilledProgram() {
        SocatPair pair;
        if (!pair.start()) {
            QSKIP("socat is not installed");
        }
        TestFiles files;
        {
            auto data = files.data();
            auto work = files.work();
            core::createNewTable(*data, *work);
            data->execute("update 自社情報 set NAdapter = 'アロハPC1'");
        }
        pointPortAt(files.paths, pair.desk);
        QProcess desk;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        desk.setProcessEnvironment(env);
        desk.start(TEST_BIN_DIR "/deskcallee", {files.paths.dataDir});
        QVERIFY(desk.waitForReadyRead(10000));
        QVERIFY(desk.readAllStandardOutput().startsWith("ready"));

        QProcess sim;
        sim.start(BIN_DIR "/cidsim",
                  {"--adapter", "アロハPC1", "--device", pair.adapter, "0355554444"});
        auto watcher = files.data();
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000 &&
               watcher->scalar("select count(*) from 着信履歴 where 電話番号 = '0355554444'")
                       .toInt() == 0) {
            QThread::msleep(2);
        }
        ::kill(pid_t(desk.processId()), SIGKILL); // right after the row appeared
        desk.waitForFinished();
        sim.waitForFinished();
        watcher.reset();

        auto data = files.data();
        QString detail;
        QVERIFY2(data->integrityCheck(&detail), qPrintable(detail));
        QCOMPARE(
            data->scalar("select count(*) from 着信履歴 where 電話番号 = '0355554444'").toInt(), 1);
        QCOMPARE(data->scalar("select 名称 from 着信履歴").toString(), "名称未登録");
    }
};

QTEST_MAIN(TestDeskLine)
#include "tst_deskline.moc"
