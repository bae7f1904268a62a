#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "framing.h"
#include "intake.h"
#include "lookups.h"
#include "ptypair.h"
#include "serialline.h"
#include "settings.h"

using namespace callerid;

class TestIntake : public QObject {
    Q_OBJECT

    struct Rig {
        PtyPair pty;
        SerialLine line;
        core::Settings settings;
        Decoder decoder;
        std::unique_ptr<LineEvents> events;
        QStringList notices;

        explicit Rig(int mode = 1, bool on = true) {
            settings.着信認識 = on;
            settings.受信モード = qint16(mode);
            settings.NAdapter = models::kAlohaPc1;
            line.setDevice(pty.slavePath);
            line.setPortOpen(true);
            events = std::make_unique<LineEvents>(line, settings, decoder);
            events->showNotice = [this](const QString& t) { notices << t; };
        }
        QByteArray report(const QString& number) const {
            return frameReport(models::kAlohaPc1, Caller::Number, number);
        }
    };

private slots:
    void recognitionOffIgnoresEverything() {
        Rig rig(1, false);
        QSignalSpy calls(rig.events.get(), &LineEvents::callArrived);
        rig.pty.send(rig.report("0312345678"));
        QTest::qWait(400);
        QCOMPARE(calls.size(), 0);
        QCOMPARE(rig.pty.receive(100), QByteArray());                       // no acknowledgement
        QCOMPARE(rig.line.input().size(), rig.report("0312345678").size()); // left unread
    }

    void receptionModes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("taken");
        QTest::newRow("mode 1, code 2") << 1 << 2 << true;
        QTest::newRow("mode 1, code 3") << 1 << 3 << false;
        QTest::newRow("mode 2, code 2") << 2 << 2 << false;
        QTest::newRow("mode 2, code 3") << 2 << 3 << true;
        QTest::newRow("mode 3, code 2") << 3 << 2 << true;
        QTest::newRow("mode 3, code 3") << 3 << 3 << true;
    }
    void receptionModes() {
        QFETCH(int, mode);
        QFETCH(int, code);
        QFETCH(bool, taken);
        // The report arrives while recognition is off, so its own arrival
        // event passes by; then the event under test comes.
        Rig rig(mode, false);
        QSignalSpy calls(rig.events.get(), &LineEvents::callArrived);
        QSignalSpy restore(rig.events.get(), &LineEvents::restoreWindow);
        rig.pty.send(rig.report("0312345678"));
        QTest::qWait(100);
        rig.settings.着信認識 = true;
        rig.line.raiseEvent(code);
        QTest::qWait(100);
        QCOMPARE(calls.size(), taken ? 1 : 0);
        if (taken) {
            QCOMPARE(calls.first().first().toString(), "0312345678");
            QVERIFY(restore.size() >= 1);
            QCOMPARE(rig.pty.receive(300, '\x06'), QByteArray(1, '\x06'));
        } else {
            // Left unread until an event of the mode's code comes.
            QCOMPARE(rig.line.input(), rig.report("0312345678"));
        }
        QVERIFY(rig.notices.isEmpty());
    }

    void nothingDecodedIsNotAcknowledged() {
        Rig rig;
        QSignalSpy calls(rig.events.get(), &LineEvents::callArrived);
        rig.pty.send("\x02"
                     "123\x03");
        QTest::qWait(400);
        QCOMPARE(calls.size(), 0);
        QCOMPARE(rig.pty.receive(100), QByteArray());
    }

    void acceptance_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("number") << "0312345678" << true;
        QTest::newRow("withheld") << "999999" << true;
        QTest::newRow("public") << "888888" << true;
        QTest::newRow("nine alone") << "9" << true;
        QTest::newRow("starts with nine, longer") << "90" << false;
        QTest::newRow("letter") << "A" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("first-report text") << "0312-34" << true;
    }
    void acceptance() {
        QFETCH(QString, number);
        QFETCH(bool, accepted);
        QCOMPARE(LineEvents::acceptable(number), accepted);
    }

    void acknowledgedButNotTakenIn() {
        // The first report of a run is not reduced to digits; a letter is
        // acknowledged and then refused by the acceptance test.
        Rig rig;
        rig.settings.NAdapter = models::kNd30;
        QSignalSpy calls(rig.events.get(), &LineEvents::callArrived);
        QSignalSpy acks(rig.events.get(), &LineEvents::acknowledged);
        rig.pty.send("\x02"
                     "010000001"
                     "x12"
                     "\x03");
        QVERIFY(acks.wait(1000));
        QCOMPARE(acks.first().first().toString(), "x12");
        QCOMPARE(rig.pty.receive(300, '\x06'), QByteArray(1, '\x06'));
        QTest::qWait(50);
        QCOMPARE(calls.size(), 0);
    }

    void unknownCodeShowsOtherError_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("notice");
        QTest::newRow("1") << 1 << true;
        QTest::newRow("9") << 9 << true;
        QTest::newRow("1004 frame") << 1004 << false;
        QTest::newRow("100") << 100 << false;
        QTest::newRow("6 ring") << 6 << false;
    }
    void unknownCodeShowsOtherError() {
        QFETCH(int, code);
        QFETCH(bool, notice);
        Rig rig;
        rig.line.raiseEvent(code);
        QCOMPARE(rig.notices, notice ? QStringList{"Oter Error "} : QStringList{});
    }

    void reentryDuringThePauseTakesOneCall() {
        Rig rig;
        QSignalSpy calls(rig.events.get(), &LineEvents::callArrived);
        QSignalSpy raised(&rig.line, &SerialLine::commEventRaised);
        // Three arrivals in quick succession, the later ones while the first
        // event pauses: an event each, one report.
        const QByteArray r = rig.report("0312345678");
        QTimer::singleShot(30, [&] { rig.pty.send(r.mid(5, 5)); });
        QTimer::singleShot(60, [&] { rig.pty.send(r.mid(10)); });
        rig.pty.send(r.left(5));
        QTest::qWait(900);
        QVERIFY2(raised.size() >= 2, qPrintable(QString::number(raised.size())));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().first().toString(), "0312345678");
    }

    // A second report while the first call is still being taken in (its
    // pause, the pointer nudge, the database work) raises its own event and
    // is read on its own, never left waiting for the next call.
    void overlappingReportsAreEachTakenIn_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("gapMs");
        QTest::addColumn<int>("takeInMs"); // how long taking a call in keeps running
        for (const QString& m : {models::kAlohaPc1, models::kNd30, models::kInsV8}) {
            const QByteArray name = m.toUtf8();
            QTest::newRow(name + ", 300 ms apart, during the nudge") << m << 300 << 500;
            QTest::newRow(name + ", 300 ms apart, during the database work") << m << 300 << 1200;
            QTest::newRow(name + ", 300 ms apart, quick take-in") << m << 300 << 0;
        }
    }
    void overlappingReportsAreEachTakenIn() {
        QFETCH(QString, model);
        QFETCH(int, gapMs);
        QFETCH(int, takeInMs);
        Rig rig;
        rig.settings.NAdapter = model;
        QSignalSpy calls(rig.events.get(), &LineEvents::callArrived);
        QSignalSpy acks(rig.events.get(), &LineEvents::acknowledged);
        // Taking a call in pauses and lets events run, as the desk does.
        connect(rig.events.get(), &LineEvents::callArrived, this,
                [takeInMs] { core::WaitTime(takeInMs); });
        QTimer::singleShot(gapMs, this,
                           [&] { rig.pty.send(frameReport(model, Caller::Number, "0698765432")); });
        rig.pty.send(frameReport(model, Caller::Number, "0312345678"));
        QByteArray onLine;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 3000 && (calls.size() < 2 || onLine.count('\x06') < 2)) {
            QTest::qWait(20);
            onLine += rig.pty.receive(1);
        }
        QStringList numbers;
        for (const QList<QVariant>& c : std::as_const(calls)) {
            numbers << c.first().toString();
        }
        QCOMPARE(numbers, (QStringList{"0312345678", "0698765432"}));
        QCOMPARE(acks.size(), 2);
        QCOMPARE(onLine, QByteArray(2, '\x06'));
        QVERIFY(rig.line.input().isEmpty());
    }

    // Each event carries the code it was raised with: a modem-line change
    // during the pause of a report's event does not turn it into another.
    void eventKeepsItsCodeThroughThePause() {
        Rig rig(1);
        QSignalSpy calls(rig.events.get(), &LineEvents::callArrived);
        QTimer::singleShot(50, this, [&] { rig.line.raiseEvent(events::kCts); });
        rig.pty.send(rig.report("0312345678"));
        QTest::qWait(600);
        QCOMPARE(calls.size(), 1);
        QVERIFY(rig.notices.isEmpty());
    }

    void ownerGoneDuringThePause() {
        Rig rig;
        rig.pty.send(rig.report("0312345678"));
        QTest::qWait(50);
        rig.events.reset(); // the desk closed while the handler paused
        QTest::qWait(400);
    }
};

QTEST_GUILESS_MAIN(TestIntake)
#include "tst_intake.moc"
