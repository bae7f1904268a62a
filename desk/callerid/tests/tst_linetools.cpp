// cidsim and cidmon, the installed line tools, talking over a pty pair made
// by socat, as an installer would try them.

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "database.h"
#include "decoder.h"
#include "paths.h"

using namespace callerid;

class TestLineTools : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QProcess socat_;
    QString a_, b_;

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("socat").isEmpty()) {
            QSKIP("socat is not installed");
        }
        a_ = dir_.filePath("a");
        b_ = dir_.filePath("b");
        socat_.start("socat", {"pty,raw,echo=0,link=" + a_, "pty,raw,echo=0,link=" + b_});
        QVERIFY(socat_.waitForStarted());
        for (int i = 0; i < 50 && !(QFileInfo::exists(a_) && QFileInfo::exists(b_)); ++i) {
            QTest::qWait(50);
        }
        QVERIFY(QFileInfo::exists(b_));
    }
    void cleanupTestCase() {
        socat_.kill();
        socat_.waitForFinished();
    }

    void simulatorAndMonitorAgree_data() {
        QTest::addColumn<QString>("model");
        for (const QString& m :
             {models::kInsV8, models::kInsV30, models::kNd30, models::kAlohaPc1}) {
            QTest::newRow(m.toUtf8().constData()) << m;
        }
    }
    void simulatorAndMonitorAgree() {
        QFETCH(QString, model);
        QProcess mon;
        mon.start(BIN_DIR "/cidmon", {"--adapter", model, "--device", a_});
        QVERIFY(mon.waitForStarted());
        mon.setReadChannel(QProcess::StandardError);
        QVERIFY(mon.waitForReadyRead(3000)); // listening
        mon.setReadChannel(QProcess::StandardOutput);
        const QList<QStringList> calls = {{"0312345678"}, {"--withheld"}, {"--public"}};
        for (const QStringList& call : calls) {
            QProcess sim;
            sim.start(BIN_DIR "/cidsim", QStringList{"--adapter", model, "--device", b_} + call);
            QVERIFY(sim.waitForFinished(5000));
            const QByteArray out = sim.readAllStandardOutput() + sim.readAllStandardError();
            QVERIFY2(sim.exitCode() == 0, out.constData());
            QVERIFY2(out.startsWith("ACK"), out.constData());
        }
        QTest::qWait(200);
        mon.terminate();
        QVERIFY(mon.waitForFinished(3000));
        QCOMPARE(mon.exitCode(), 0);
        QCOMPARE(
            QString::fromLocal8Bit(mon.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
            (QStringList{"0312345678", "999999", "888888"}));
    }

    // Installed beside a data directory whose settings name an adapter but
    // no terminal adapter: the line comes from the adapter table's fall-back
    // row, the reports are read as the settings' model says, as at the desk.
    void monitorReadsWithTheSettingsModel() {
        QTemporaryDir install;
        QVERIFY(QDir(install.path()).mkpath("data"));
        const QString data = install.filePath("data/" + core::kDataDbName);
        QVERIFY(QFile::copy(SHIPPED_DATA_DIR "/" + core::kDataDbName, data));
        QFile(data).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        {
            QString error;
            auto db = core::db::Database::open(data, &error);
            QVERIFY2(db, qPrintable(error));
            QVERIFY(db->execute("update 自社情報 set TA = '', NAdapter = ?", {models::kInsV8}));
        }
        QFile conf(install.filePath("data/ports.conf"));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write(("1=" + a_ + "\n").toLocal8Bit());
        conf.close();
        QVERIFY(QFile::copy(BIN_DIR "/cidmon", install.filePath("cidmon")));

        QProcess mon;
        mon.start(install.filePath("cidmon"), {});
        QVERIFY(mon.waitForStarted());
        mon.setReadChannel(QProcess::StandardError);
        QVERIFY(mon.waitForReadyRead(3000));
        QVERIFY2(mon.readAll().contains(models::kInsV8.toLocal8Bit()), "listens for its model");
        QProcess sim;
        sim.start(BIN_DIR "/cidsim", {"--adapter", models::kInsV8, "--device", b_, "0312345678"});
        QVERIFY(sim.waitForFinished(5000));
        QVERIFY2(sim.exitCode() == 0, sim.readAllStandardOutput().constData());
        QTest::qWait(200);
        mon.terminate();
        QVERIFY(mon.waitForFinished(3000));
        QCOMPARE(QString::fromLocal8Bit(mon.readAllStandardOutput()).trimmed(), "0312345678");
    }

    void noMonitorMeansNoAcknowledgement() {
        QProcess sim;
        sim.start(BIN_DIR "/cidsim",
                  {"--adapter", models::kAlohaPc1, "--device", b_, "0312345678"});
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitCode(), 3);
        QVERIFY(sim.readAllStandardOutput().contains("no acknowledgement"));
    }

    void badDevicesAndArguments_data() {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("says");
        QTest::newRow("sim, no device")
            << "cidsim"
            << QStringList{"--adapter", models::kAlohaPc1, "--device", "/dev/ttyNOTHING9", "0312"}
            << "/dev/ttyNOTHING9";
        QTest::newRow("mon, no device")
            << "cidmon"
            << QStringList{"--adapter", models::kAlohaPc1, "--device", "/dev/ttyNOTHING9"}
            << "/dev/ttyNOTHING9";
        QTest::newRow("sim, unknown model")
            << "cidsim" << QStringList{"--adapter", "PC2", "--device", "/x", "1"}
            << "unknown adapter model";
        QTest::newRow("sim, two callers")
            << "cidsim" << QStringList{"--adapter", "x", "--device", "/x", "--withheld", "--public"}
            << "one of";
        QTest::newRow("mon, bad mode") << "cidmon" << QStringList{"--mode", "4"} << "--mode";
    }
    void badDevicesAndArguments() {
        QFETCH(QString, tool);
        QFETCH(QStringList, args);
        QFETCH(QString, says);
        QProcess p;
        p.start(BIN_DIR "/" + tool, args);
        QVERIFY(p.waitForFinished(5000));
        QVERIFY(p.exitCode() != 0);
        QVERIFY2(QString::fromLocal8Bit(p.readAllStandardError()).contains(says), qPrintable(says));
    }
};

QTEST_GUILESS_MAIN(TestLineTools)
#include "tst_linetools.moc"
