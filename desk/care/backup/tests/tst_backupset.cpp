#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include "backupset.h"
#include "floppydrive.h"

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

} // namespace

class TestBackupSet : public QObject {
    Q_OBJECT
private slots:
    void pieces_data() {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<int>("disks");
        QTest::addColumn<qint64>("lastPiece");
        QTest::newRow("one byte") << qint64(1) << 1 << qint64(1);
        QTest::newRow("exactly one disk") << qint64(1440000) << 1 << qint64(1440000);
        QTest::newRow("one byte more") << qint64(1440001) << 2 << qint64(1);
        QTest::newRow("exactly two disks") << qint64(2880000) << 2 << qint64(1440000);
        QTest::newRow("three disks") << qint64(3000000) << 3 << qint64(120000);
    }
    // Joining the pieces whole, in number order, gives the archive back.
    void pieces() {
        QFETCH(qint64, size);
        QFETCH(int, disks);
        QFETCH(qint64, lastPiece);
        QCOMPARE(care::diskCount(size), disks);
        QTemporaryDir dir;
        QByteArray archive(size, Qt::Uninitialized);
        for (qint64 i = 0; i < size; ++i) {
            archive[i] = char((i * 7919) >> 3);
        }
        writeFile(dir.filePath("ctidata.lzh"), archive);
        const auto names = care::cutPieces(dir.filePath("ctidata.lzh"), dir.path());
        QVERIFY(names);
        QCOMPARE(names->size(), disks);
        QByteArray joined;
        for (int k = 1; k <= disks; ++k) {
            QCOMPARE(names->at(k - 1), care::pieceName(k));
            const QByteArray piece = readFile(dir.filePath(care::pieceName(k)));
            QCOMPARE(qint64(piece.size()), k < disks ? care::kPieceSize : lastPiece);
            joined += piece;
        }
        QCOMPARE(joined, archive);
    }

    void controlFile_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("disks"); // 0: no count
        QTest::newRow("as written") << care::controlText(2) << 2;
        QTest::newRow("two digits") << care::controlText(12) << 12;
        QTest::newRow("blanks and a line end") << QByteArray("CtiFddNum =  3 \r\n") << 3;
        QTest::newRow("prefix only") << QByteArray("CtiFddNum = ") << 0;
        QTest::newRow("no number") << QByteArray("CtiFddNum = x") << 0;
        QTest::newRow("count beyond 100 bytes") << QByteArray(100, ' ') + "4" << 0;
    }
    void controlFile() {
        QFETCH(QByteArray, text);
        QFETCH(int, disks);
        QCOMPARE(care::controlText(2), QByteArray("CtiFddNum = 2"));
        QTemporaryDir dir;
        writeFile(dir.filePath("Ctictl"), text);
        const auto n = care::readControlFile(dir.filePath("Ctictl"));
        QCOMPARE(n.value_or(0), disks);
    }

    // On a stick or a share the root holds the user's own files: only the
    // backup set's files go.
    void eraseTakesOnlyTheSet() {
        QTemporaryDir dir;
        for (const char* n : {"Ctictl", "CTIDATA.LZH", "cti_d001", "CTI_D002", "cti_d1000",
                              "cti_d01", "photo.jpg", "ctidata.lzh.txt", "Ctictl.bak"}) {
            writeFile(dir.filePath(n), "x");
        }
        QVERIFY(care::eraseBackupSet(dir.path()));
        QStringList left = QDir(dir.path()).entryList(QDir::Files);
        left.sort();
        QCOMPARE(left, (QStringList{"Ctictl.bak", "cti_d01", "cti_d1000", "ctidata.lzh.txt",
                                    "photo.jpg"}));
        QCOMPARE(care::findFile(dir.path(), "PHOTO.JPG"), dir.filePath("photo.jpg"));
        QVERIFY(care::findFile(dir.path(), "ctictl").isEmpty());
    }

    void driveA() {
        QTemporaryDir data;
        QTemporaryDir floppy;
        QVERIFY(care::configuredFloppyRoot(data.path()).isEmpty());
        writeFile(data.filePath("drives.conf"),
                  "# the USB floppy\nB=/nowhere\nA = " + floppy.path().toUtf8() + "/\n");
        QCOMPARE(care::configuredFloppyRoot(data.path()), floppy.path());
        QCOMPARE(care::floppyRoot(data.path()), floppy.path());
        QVERIFY(care::GoodDrive(floppy.path()));
        QVERIFY(care::WriteTest(floppy.path()));
        QVERIFY(QDir(floppy.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(!care::GoodDrive(floppy.filePath("missing")));
        QVERIFY(!care::GoodDrive(QString()));
        QVERIFY(!care::WriteTest(floppy.filePath("missing")));
    }

    // A mount folder left behind by an unplugged medium is no disk.
    void unpluggedMedium_data() {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QByteArray>("mounts");
        QTest::addColumn<bool>("mounted");
        const QByteArray plugged = "/dev/sda1 / ext4 rw 0 0\n/dev/sdb /media/floppy vfat rw 0 0\n";
        const QByteArray unplugged = "/dev/sda1 / ext4 rw 0 0\n";
        QTest::newRow("mount point, medium in") << "/media/floppy" << plugged << true;
        QTest::newRow("mount point, medium out") << "/media/floppy" << unplugged << false;
        QTest::newRow("folder on it, medium out") << "/media/floppy/backup/" << unplugged << false;
        QTest::newRow("blank in the name, medium out") << "/mnt/office share" << unplugged << false;
        QTest::newRow("a name that merely starts alike") << "/media/floppy2" << unplugged << true;
        QTest::newRow("a folder no table names") << "/home/office/backup" << unplugged << true;
    }
    void unpluggedMedium() {
        QFETCH(QString, root);
        QFETCH(QByteArray, mounts);
        QFETCH(bool, mounted);
        QTemporaryDir tables;
        writeFile(tables.filePath("fstab"),
                  "# static file system information\n"
                  "UUID=1234 / ext4 defaults 0 1\n"
                  "UUID=5678 none swap sw 0 0\n"
                  "/dev/sdb /media/floppy auto noauto,user 0 0\n"
                  "//server/share /mnt/office\\040share cifs noauto 0 0\n");
        writeFile(tables.filePath("mounts"), mounts);
        QCOMPARE(care::mediumMounted(root, tables.filePath("fstab"), tables.filePath("mounts")),
                 mounted);
    }

    // A folder that cannot be written: the probe fails and leaves nothing.
    void writeProtected() {
        if (geteuid() == 0) {
            QSKIP("root writes into read-only folders");
        }
        QTemporaryDir floppy;
        QFile::setPermissions(floppy.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QVERIFY(care::GoodDrive(floppy.path()));
        QVERIFY(!care::WriteTest(floppy.path()));
        QFile::setPermissions(floppy.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner);
    }

    void removableMedium() {
        QTemporaryDir sys;
        QDir(sys.path()).mkpath("sda/sda1");
        QDir(sys.path()).mkpath("sdb/sdb1");
        writeFile(sys.filePath("sda/removable"), "0\n");
        writeFile(sys.filePath("sdb/removable"), "1\n");
        QVERIFY(QFile::link(sys.filePath("sda/sda1"), sys.filePath("sda1")));
        QVERIFY(QFile::link(sys.filePath("sdb/sdb1"), sys.filePath("sdb1")));
        writeFile(sys.filePath("mounts"), "proc /proc proc rw 0 0\n"
                                          "/dev/sda1 / ext4 rw 0 0\n"
                                          "/dev/sdb1 /media/office/USB\\040STICK vfat rw 0 0\n");
        QCOMPARE(care::firstRemovableMount(sys.filePath("mounts"), sys.path()),
                 QStringLiteral("/media/office/USB STICK"));
        writeFile(sys.filePath("mounts"), "/dev/sda1 / ext4 rw 0 0\n");
        QVERIFY(care::firstRemovableMount(sys.filePath("mounts"), sys.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBackupSet)
#include "tst_backupset.moc"
