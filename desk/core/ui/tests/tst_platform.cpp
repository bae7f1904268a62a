#include <QCursor>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform.h"

using ui::DialogRecord;
using ui::FileDialogs;

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void fileLength() {
        QTemporaryDir dir;
        QCOMPARE(ui::GetFileLen(dir.filePath("missing")), qint64(-1));
        QFile empty(dir.filePath("empty"));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        QCOMPARE(ui::GetFileLen(empty.fileName()), qint64(0));
        QFile some(dir.filePath("some"));
        QVERIFY(some.open(QIODevice::WriteOnly));
        some.write(QByteArray(1440000, 'x'));
        some.close();
        QCOMPARE(ui::GetFileLen(some.fileName()), qint64(1440000));
        QCOMPARE(ui::GetFileLen(dir.path()), qint64(-1)); // a folder is no file
    }

    void filters_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("filters");
        QTest::newRow("one pair") << "WAV ファイル(*.wav)|*.wav|"
                                  << QStringList{"WAV ファイル(*.wav) (*.wav)"};
        QTest::newRow("no trailing bar")
            << "WAV ファイル(*.wav)|*.wav" << QStringList{"WAV ファイル(*.wav) (*.wav)"};
        QTest::newRow("two pairs") << "データ(*.mdb)|*.mdb|すべて(*.*)|*.*|"
                                   << QStringList{"データ(*.mdb) (*.mdb)", "すべて(*.*) (*.*)"};
        QTest::newRow("several patterns")
            << "画像|*.bmp;*.ico|" << QStringList{"画像 (*.bmp *.ico)"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void filters() {
        QFETCH(QString, text);
        QFETCH(QStringList, filters);
        QCOMPARE(ui::nameFilters(text), filters);
    }

    void dialogsThroughTheSeam() {
        FileDialogs::script({"/home/desk/ring.wav", ""});
        DialogRecord r;
        r.filter = "WAV ファイル(*.wav)|*.wav|すべて|*.*|";
        r.filterIndex = 2;
        r.title = "サウンドファイル";
        r.defaultName = "ring.wav";
        r.initialDir = "/home/desk";
        QVERIFY(ui::ShowOpenDialog(nullptr, r));
        QCOMPARE(r.path, "/home/desk/ring.wav");
        QCOMPARE(r.fileName, "ring.wav");
        DialogRecord s = r;
        s.path.clear();
        QVERIFY(!ui::ShowSaveDialog(nullptr, s)); // cancelled
        QVERIFY(s.path.isEmpty());
        const auto asked = FileDialogs::asked();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[0].save, false);
        QCOMPARE(asked[0].title, "サウンドファイル");
        QCOMPARE(asked[0].directory, "/home/desk/ring.wav");
        QCOMPARE(asked[0].selectedFilter, "すべて (*.*)");
        QCOMPARE(asked[1].save, true);
        FileDialogs::unscript();
    }

    void nudgeLeavesThePointerWhereItWas() {
        QCursor::setPos(120, 80);
        QPoint during;
        QTimer::singleShot(250, [&] {
            during = QCursor::pos();
            QCursor::setPos(300, 300); // the user moves the mouse meanwhile
        });
        QElapsedTimer t;
        t.start();
        ui::NudgeMouse();
        QVERIFY(t.elapsed() >= 500);
        QCOMPARE(during, QPoint(0, 0));
        QCOMPARE(QCursor::pos(), QPoint(120, 80));
    }

    void inputMethodSwitch() {
        QLineEdit edit;
        ui::SetIme(&edit, false);
        QVERIFY(!edit.testAttribute(Qt::WA_InputMethodEnabled));
        QVERIFY(edit.inputMethodHints() & Qt::ImhLatinOnly);
        ui::SetIme(&edit, true);
        QVERIFY(edit.testAttribute(Qt::WA_InputMethodEnabled));
        QVERIFY(!(edit.inputMethodHints() & Qt::ImhLatinOnly));
        ui::SetIme(nullptr, true);
    }

    void endingTheProcess() {
        int ended = -1;
        auto saved = ui::processEnder();
        ui::processEnder() = [&](int status) { ended = status; };
        ui::EndWindowProcess(nullptr);
        QCOMPARE(ended, -1);
        QWidget w;
        ui::EndWindowProcess(&w);
        QCOMPARE(ended, 0);
        ui::processEnder() = saved;
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
