#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include "backupset.h"
#include "floppybackup.h"
#include "showmsg.h"
#include "startup.h"
#include "testfiles.h"

using ui::MessageBoxes;

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
    QStringList l = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    l.sort();
    return l;
}

int customers() {
    return core::dataDb()->scalar("select count(*) from 顧客マスタ").toInt();
}

void addCustomer(int code, const QString& name, const QString& memo = {}) {
    QVERIFY(core::dataDb()->execute(
        "insert into 顧客マスタ (code, 名称, 顧客メモ) values (?, ?, ?)", {code, name, memo}));
}

QStringList texts() {
    QStringList t;
    for (const auto& a : MessageBoxes::asked()) {
        t << a.text;
    }
    return t;
}

} // namespace

// The drive holds disks the test swaps: each "set disk k" is answered by
// putting disk k into the drive folder when the drive is next looked at.
struct Drive {
    QTemporaryDir root;
    QList<QStringList> disks; // files of each disk once taken out
    QList<QTemporaryDir*> shelf;

    ~Drive() { qDeleteAll(shelf); }
    QString path() const { return root.path(); }
    // Takes the disk out, keeping its files.
    void takeOut() {
        auto* d = new QTemporaryDir;
        for (const QString& f : filesIn(path())) {
            QFile::rename(root.filePath(f), d->filePath(f));
        }
        shelf << d;
    }
    void insert(int k) {
        for (const QString& f : filesIn(path())) {
            QFile::remove(root.filePath(f));
        }
        for (const QString& f : filesIn(shelf[k]->path())) {
            QFile::copy(shelf[k]->filePath(f), root.filePath(f));
        }
    }
};

class TestFloppyBackup : public QObject {
    Q_OBJECT
    std::unique_ptr<TestFiles> files;
    QStringList progress;

    care::FloppyBackup job(const QString& root) {
        return care::FloppyBackup(files->paths.dataDir, root,
                                  [this](const QString& t) { progress << t; });
    }

    // Backs the data file up onto as many disks as it takes, each taken out
    // when the next is asked for.
    void backUpOnto(Drive& drive, int expectDisks) {
        care::FloppyBackup b = job(drive.path());
        int looks = 0;
        b.goodDrive = [&](const QString&) {
            if (looks++ > 0) {
                drive.takeOut();
            }
            return true;
        };
        MessageBoxes::script(QList<bool>(1 + expectDisks, true));
        b.FDDBuckUp();
        drive.takeOut();
        QCOMPARE(drive.shelf.size(), expectDisks);
    }

private slots:
    void init() {
        files = std::make_unique<TestFiles>();
        QString error;
        QVERIFY2(core::startUp(files->paths, &error), qPrintable(error));
        progress.clear();
    }
    void cleanup() {
        MessageBoxes::unscript();
        core::shutDown();
        files.reset();
    }

    // One disk: the control file and the whole archive; only the set's own
    // files are erased from it, and the data directory keeps nothing of the
    // set afterwards.
    void oneDiskBackupAndRestore() {
        addCustomer(501, "バックアップ前");
        QTemporaryDir floppy;
        writeFile(floppy.filePath("photo.jpg"), "the office's own file");
        writeFile(floppy.filePath("cti_d007"), "an older set");
        care::FloppyBackup b = job(floppy.path());
        MessageBoxes::script({true, true});
        b.FDDBuckUp();
        QCOMPARE(texts().size(), 4);
        QVERIFY(texts()[0].startsWith("[書庫ファイル ＯＫ]\r\n"));
        QCOMPARE(texts()[1], QStringLiteral("1 枚のフロッピーディスクを準備してださい。"));
        QCOMPARE(texts()[2], QStringLiteral("1/ 1枚目のフロッピーディスクをセットしてください。"));
        QCOMPARE(texts()[3], QStringLiteral("保存が終了しました。"));
        QCOMPARE(MessageBoxes::asked()[1].title, QStringLiteral("フロッピーディスクへの保存"));
        QCOMPARE(filesIn(floppy.path()), (QStringList{"Ctictl", "ctidata.lzh", "photo.jpg"}));
        QCOMPARE(readFile(floppy.filePath("Ctictl")), QByteArray("CtiFddNum = 1"));
        QCOMPARE(progress, (QStringList{"1/ 1 枚目のフロッピーディスクに保存中です･･･", ""}));
        for (const QString& f : filesIn(files->paths.dataDir)) {
            QVERIFY2(!care::isBackupSetFile(f), qPrintable(f));
        }

        addCustomer(502, "バックアップ後");
        MessageBoxes::script({true, true, true});
        b.RestoreRB();
        QCOMPARE(texts().size(), 5);
        QCOMPARE(texts()[1], QStringLiteral("フロッピーディスクは 1 枚です。よろしいですか。"));
        QVERIFY(texts()[3].startsWith("[書庫解凍 ＯＫ]"));
        QCOMPARE(texts()[4], QStringLiteral("読込が終了しました。"));
        QVERIFY(core::dataDb());
        QCOMPARE(core::dataDb()->scalar("select count(*) from 顧客マスタ where code = 501").toInt(),
                 1);
        QCOMPARE(core::dataDb()->scalar("select count(*) from 顧客マスタ where code = 502").toInt(),
                 0);
        QVERIFY(!QFile::exists(files->paths.dataDir + "ctidata.lzh"));
        // The replaced data stay beside it: a set restored by mistake loses nothing.
        QCOMPARE(files->open(files->paths.dataDb + ".bak")
                     ->scalar("select count(*) from 顧客マスタ where code = 502")
                     .toInt(),
                 1);
    }

    // A data file whose archive needs three disks: piece k on disk k, the
    // control file on disk 1, and the restore joins them again.
    void severalDisks() {
        QRandomGenerator g(5);
        for (int i = 0; i < 40; ++i) {
            QByteArray noise(90000, Qt::Uninitialized);
            for (char& c : noise) {
                c = char(g.bounded(0x21, 0x7E));
            }
            addCustomer(1000 + i, QStringLiteral("雑音%1").arg(i), QString::fromLatin1(noise));
        }
        const int before = customers();
        Drive drive;
        backUpOnto(drive, 3);
        QCOMPARE(filesIn(drive.shelf[0]->path()), (QStringList{"Ctictl", "cti_d001"}));
        QCOMPARE(filesIn(drive.shelf[1]->path()), QStringList{"cti_d002"});
        QCOMPARE(filesIn(drive.shelf[2]->path()), QStringList{"cti_d003"});
        QCOMPARE(readFile(drive.shelf[0]->filePath("Ctictl")), QByteArray("CtiFddNum = 3"));
        QCOMPARE(QFileInfo(drive.shelf[0]->filePath("cti_d001")).size(), care::kPieceSize);
        QCOMPARE(QFileInfo(drive.shelf[1]->filePath("cti_d002")).size(), care::kPieceSize);

        QVERIFY(core::dataDb()->execute("delete * from 顧客マスタ"));
        care::FloppyBackup b = job(drive.path());
        int looks = 0;
        // Disk 1 for the control file, then disks 1, 2 and 3.
        const QList<int> order{0, 0, 1, 2};
        b.goodDrive = [&](const QString&) {
            drive.insert(order[looks++]);
            return true;
        };
        MessageBoxes::script({true, true, true, true, true});
        b.RestoreRB();
        QVERIFY2(texts().join('|').contains("[書庫解凍 ＯＫ]"), qPrintable(texts().join('|')));
        QCOMPARE(customers(), before);
    }

    // The restore keeps asking for the first disk until one with the
    // control file is in, and for a missing piece asks for the same disk.
    void wrongDisks() {
        Drive drive;
        backUpOnto(drive, 1);
        care::FloppyBackup b = job(drive.path());
        int looks = 0;
        b.goodDrive = [&](const QString&) {
            if (looks++ == 0) {
                for (const QString& f : filesIn(drive.path())) {
                    QFile::remove(drive.root.filePath(f));
                }
                writeFile(drive.root.filePath("letter.txt"), "not a backup disk");
            }
            return true;
        };
        MessageBoxes::script({true, true, true, false});
        const auto before = readFile(files->paths.dataDb);
        b.RestoreRB();
        QCOMPARE(texts(),
                 (QStringList{
                     "顧客管理RBCtiをバックアップしたフロッピーディスクの「1」をセットしてださい。",
                     "フロッピーディスクが違います。確認してください。",
                     "フロッピーディスクが違います。確認してください。",
                     "フロッピーディスクが違います。確認してください。"}));
        QCOMPARE(MessageBoxes::asked()[1].title, QStringLiteral("フロッピーディスクのチェック"));
        QCOMPARE(readFile(files->paths.dataDb), before);
        QVERIFY(core::dataDb());

        // The control file is there but the archive is not.
        drive.insert(0);
        QFile::remove(drive.root.filePath("ctidata.lzh"));
        b.goodDrive = [](const QString&) { return true; };
        MessageBoxes::script({true, true, true, true, false});
        b.RestoreRB();
        QCOMPARE(texts().mid(2),
                 (QStringList{"1/ 1枚目のフロッピーディスクをセットしてください。",
                              "これは 1 枚目のフロッピーディスクではありません。確認してください。",
                              "1/ 1枚目のフロッピーディスクをセットしてください。"}));
        QCOMPARE(readFile(files->paths.dataDb), before);
    }

    // Cancel at any prompt of the restore: the data file is untouched and the
    // data database open.
    void cancelAnywhere_data() {
        QTest::addColumn<int>("okBeforeCancel");
        QTest::newRow("insert disk 1") << 0;
        QTest::newRow("disk count") << 1;
        QTest::newRow("disk 1 of 1") << 2;
    }
    void cancelAnywhere() {
        QFETCH(int, okBeforeCancel);
        Drive drive;
        backUpOnto(drive, 1);
        drive.insert(0);
        addCustomer(777, "あとから");
        care::FloppyBackup b = job(drive.path());
        QList<bool> answers(okBeforeCancel, true);
        answers << false;
        MessageBoxes::script(answers);
        b.RestoreRB();
        QCOMPARE(texts().size(), okBeforeCancel + 1);
        QVERIFY(core::dataDb());
        QCOMPARE(core::dataDb()->scalar("select count(*) from 顧客マスタ where code = 777").toInt(),
                 1);
    }

    // A damaged archive restores nothing: the current data stay in use and
    // the box says so.
    void damagedArchiveKeepsData() {
        Drive drive;
        backUpOnto(drive, 1);
        drive.insert(0);
        QByteArray a = readFile(drive.root.filePath("ctidata.lzh"));
        a[a.size() / 2] = char(a[a.size() / 2] ^ 0x55);
        writeFile(drive.root.filePath("ctidata.lzh"), a);
        addCustomer(778, "残るはず");
        care::FloppyBackup b = job(drive.path());
        MessageBoxes::script({true, true, true});
        b.RestoreRB();
        const QStringList t = texts();
        QVERIFY2(t.size() == 5 && t[3].startsWith("[書庫解凍　エラー]") &&
                     t[3].endsWith("現在のデータはそのまま残っています。"),
                 qPrintable(t.join('|')));
        QVERIFY(core::dataDb());
        QCOMPARE(core::dataDb()->scalar("select count(*) from 顧客マスタ where code = 778").toInt(),
                 1);
        QVERIFY(!QFile::exists(files->paths.dataDir + "ctidata.lzh"));
    }

    // No disk, or a write-protected one: the box, OK tries the same disk
    // again, Cancel stops with the set left in the data directory.
    void driveNotReady_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("box");
        QTest::newRow("no disk") << false
                                 << "フロッピーディスクがセットされていません。確認してください。";
        QTest::newRow("write-protected")
            << true << "フロッピーディスクが書き込み可能ではありません。確認してください。";
    }
    void driveNotReady() {
        QFETCH(bool, present);
        QFETCH(QString, box);
        QTemporaryDir floppy;
        care::FloppyBackup b = job(floppy.path());
        b.goodDrive = [present](const QString&) { return present; };
        b.writeTest = [](const QString&) { return false; };
        MessageBoxes::script({true, true, true, true, false});
        b.FDDBuckUp();
        QCOMPARE(texts().mid(1),
                 (QStringList{"1 枚のフロッピーディスクを準備してださい。",
                              "1/ 1枚目のフロッピーディスクをセットしてください。", box,
                              "1/ 1枚目のフロッピーディスクをセットしてください。", box}));
        QCOMPARE(MessageBoxes::asked()[3].title, QStringLiteral("フロッピーディスクのチェック"));
        QCOMPARE(MessageBoxes::asked()[3].style, core::MsgStyle::OkCancel);
        QVERIFY(filesIn(floppy.path()).isEmpty());
        QVERIFY(QFile::exists(files->paths.dataDir + "Ctictl"));
    }
};

QTEST_MAIN(TestFloppyBackup)
#include "tst_floppybackup.moc"
