#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include "backupcommand.h"
#include "backupset.h"
#include "datadirlock.h"
#include "lzharchive.h"
#include "testfiles.h"

namespace {

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(data), data.size());
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList filesIn(const QString& dir) {
    QStringList l = QDir(dir).entryList(QDir::Files);
    l.sort();
    return l;
}

} // namespace

class TestBackupCommand : public QObject {
    Q_OBJECT
    std::unique_ptr<TestFiles> files;
    QTemporaryDir target;
    QString out;
    QString err;

    int run(const QStringList& args) {
        out.clear();
        err.clear();
        QTextStream o(&out);
        QTextStream e(&err);
        return care::runBackupCommand(args + QStringList{"--data", files->paths.dataDir},
                                      "/nowhere", "/nowhere", o, e);
    }
    qint64 count(const QString& sql) { return files->data()->scalar(sql).toLongLong(); }
    void addNoise(int customers) {
        auto db = files->data();
        QRandomGenerator g(3);
        for (int i = 0; i < customers; ++i) {
            QByteArray noise(90000, Qt::Uninitialized);
            for (char& c : noise) {
                c = char(g.bounded(0x21, 0x7E));
            }
            QVERIFY(db->execute(
                "insert into 顧客マスタ (code, 名称, 顧客メモ) values (?, ?, ?)",
                {5000 + i, QStringLiteral("雑音%1").arg(i), QString::fromLatin1(noise)}));
        }
    }

private slots:
    void init() { files = std::make_unique<TestFiles>(); }
    void cleanup() {
        files.reset();
        for (const QString& f : QDir(target.path()).entryList(QDir::Files | QDir::Hidden)) {
            QFile::remove(target.filePath(f));
        }
    }

    // Save, verify and restore one set; the folder's other files stay.
    void saveVerifyRestore() {
        writeFile(target.filePath("notes.txt"), "the office's own file");
        writeFile(target.filePath("cti_d004"), "a piece of an older set");
        QCOMPARE(run({"save", target.path()}), 0);
        QVERIFY2(err.isEmpty(), qPrintable(err));
        QCOMPARE(filesIn(target.path()), (QStringList{"Ctictl", "ctidata.lzh", "notes.txt"}));
        QCOMPARE(readFile(target.filePath("Ctictl")), QByteArray("CtiFddNum = 1"));

        QCOMPARE(run({"verify", target.path()}), 0);
        QVERIFY2(out.contains("integrity check passed"), qPrintable(out));

        const qint64 before = count("select count(*) from 顧客マスタ");
        QVERIFY(files->data()->execute("delete * from 顧客マスタ"));
        QCOMPARE(run({"restore", target.path()}), 0);
        QVERIFY2(err.isEmpty(), qPrintable(err));
        QCOMPARE(count("select count(*) from 顧客マスタ"), before);
        QVERIFY2(out.contains(".bak"), qPrintable(out));
        QCOMPARE(files->open(files->paths.dataDb + ".bak")
                     ->scalar("select count(*) from 顧客マスタ")
                     .toInt(),
                 0);
        QCOMPARE(filesIn(target.path()), (QStringList{"Ctictl", "ctidata.lzh", "notes.txt"}));
    }

    void severalPieces() {
        addNoise(40);
        QCOMPARE(run({"save", target.path()}), 0);
        QCOMPARE(filesIn(target.path()),
                 (QStringList{"Ctictl", "cti_d001", "cti_d002", "cti_d003"}));
        QCOMPARE(run({"verify", target.path()}), 0);
        QVERIFY2(out.contains("cti_d003"), qPrintable(out));
    }

    // A set that is not whole is found out, named, and nothing changes.
    void brokenSets_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("named");
        QTest::newRow("no control file") << "rm Ctictl"
                                         << "Ctictl";
        QTest::newRow("missing piece") << "rm cti_d002"
                                       << "cti_d002";
        QTest::newRow("short piece") << "cut cti_d001"
                                     << "cti_d001";
        QTest::newRow("flipped byte") << "flip cti_d002"
                                      << "ctidata.lzh";
    }
    void brokenSets() {
        QFETCH(QString, damage);
        QFETCH(QString, named);
        addNoise(40);
        QCOMPARE(run({"save", target.path()}), 0);
        const QStringList d = damage.split(' ');
        const QString file = target.filePath(d[1]);
        if (d[0] == "rm") {
            QFile::remove(file);
        } else {
            QByteArray b = readFile(file);
            if (d[0] == "cut") {
                b.chop(1);
            } else {
                b[b.size() / 2] = char(b[b.size() / 2] ^ 1);
            }
            writeFile(file, b);
        }
        const QByteArray data = readFile(files->paths.dataDb);
        const QString set = QDir::toNativeSeparators(target.path());
        QCOMPARE(run({"verify", target.path()}), 1);
        QVERIFY2(err.contains(named) && err.contains(set) && err.count('\n') == 1, qPrintable(err));
        QCOMPARE(run({"restore", target.path()}), 1);
        QVERIFY2(err.contains(named) && err.contains(set) &&
                     err.contains("the current data were kept") && err.count('\n') == 1,
                 qPrintable(err));
        QCOMPARE(readFile(files->paths.dataDb), data);
    }

    // While a desk runs on the data directory the data file is not replaced.
    void refusedWhileTheDeskRuns() {
        QCOMPARE(run({"save", target.path()}), 0);
        QString error;
        auto desk = core::DataDirLock::tryLock(files->paths.dataDir,
                                               core::DataDirLock::Mode::Shared, &error);
        QVERIFY2(desk, qPrintable(error));
        const QByteArray data = readFile(files->paths.dataDb);
        QCOMPARE(run({"restore", target.path()}), 1);
        QVERIFY2(err.contains("desk is running") && err.contains(core::kDataDbName),
                 qPrintable(err));
        QCOMPARE(readFile(files->paths.dataDb), data);
        // A second desk may share the directory; a restore may not.
        QVERIFY(core::DataDirLock::tryLock(files->paths.dataDir, core::DataDirLock::Mode::Shared,
                                           &error));
        desk.reset();
        QCOMPARE(run({"restore", target.path()}), 0);
    }

    // A data file that no longer opens is what a restore is for.
    void restoresOverADamagedFile() {
        QCOMPARE(run({"save", target.path()}), 0);
        writeFile(files->paths.dataDb, QByteArray(8192, '\x5a'));
        QCOMPARE(run({"restore", target.path()}), 0);
        QVERIFY2(out.contains(".bak"), qPrintable(out));
        QVERIFY(count("select count(*) from 通信マスタ") > 0);
        QCOMPARE(readFile(files->paths.dataDb + ".bak"), QByteArray(8192, '\x5a'));
    }

    // ...but a set that holds no data file refuses before the file is moved:
    // the directory never ends up without its data file.
    void aDamagedFileStaysWhenTheSetIsNoDataFile() {
        QTemporaryDir src;
        writeFile(src.filePath("RbCtidata2K.mdb"), QByteArray("not a database").repeated(100));
        QVERIFY(lzh::create(target.filePath("ctidata.lzh"),
                            {{src.filePath("RbCtidata2K.mdb"), "RbCtidata2K.mdb"}}));
        writeFile(target.filePath("Ctictl"), care::controlText(1));
        const QByteArray damaged(8192, '\x5a');
        writeFile(files->paths.dataDb, damaged);
        QCOMPARE(run({"restore", target.path()}), 1);
        QVERIFY2(err.contains("no data file") && err.count('\n') == 1, qPrintable(err));
        QCOMPARE(readFile(files->paths.dataDb), damaged);
    }

    void theProgram_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::newRow("no command") << QStringList{} << 2;
        QTest::newRow("unknown command") << QStringList{"copy", "/tmp"} << 2;
        QTest::newRow("missing folder") << QStringList{"save", "/nonexistent/folder"} << 1;
        QTest::newRow("verify an empty folder")
            << QStringList{"verify", QDir::tempPath() + "/ctibackup-empty"} << 1;
    }
    void theProgram() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QDir().mkpath(QDir::tempPath() + "/ctibackup-empty");
        QProcess p;
        p.start(QStringLiteral(BIN_DIR "/ctibackup"),
                args + QStringList{"--data", files->paths.dataDir});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), status);
        const QString text = QString::fromLocal8Bit(p.readAllStandardError());
        QCOMPARE(text.count('\n'), 1);
        QVERIFY(p.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBackupCommand)
#include "tst_backupcommand.moc"
