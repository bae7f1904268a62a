#include "carefixture.h"

#include "datafilecopy.h"
#include "dbcopy.h"

#include <csignal>
#include <sqlite3.h>
#include <sys/resource.h>

namespace {

// About 4 MB of calls, so a copy takes many steps.
void manyCalls(core::db::Database& d) {
    d.executeNative("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < "
                    "12000) INSERT INTO 着信履歴 (日付, code, 名称, 電話番号, 用件メモ, 済) SELECT "
                    "datetime('2025-01-01', '+' || i || ' minutes'), 0, '名称未登録', "
                    "printf('03%08d', i), printf('%.*c', 300, 'x'), 0 FROM c");
}

int customers(core::db::Database& d) {
    return d.scalar("select count(*) from 顧客マスタ").toInt();
}

// Writes past the given size fail, as on a full disk.
struct FileSizeLimit {
    rlimit old{};
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit lim = old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
};

QStringList filesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

class TestDataFileCopy : public QObject {
    Q_OBJECT
private slots:
    // ------------------------------------------------------------ saving

    void aSnapshotWhileCallsAreWrittenIsWholeAndConsistent() {
        CareFixture f(manyCalls);
        QTemporaryDir out;
        const QString target = out.filePath("copy.mdb");
        int steps = 0;
        const bool ok = core::db::saveSnapshot(
            f.data(), target,
            [&](qint64 done, qint64 total) {
                // The desk takes a call between two slices of the copy.
                if (done < total) {
                    logCall(f.data(), QDateTime(QDate(2026, 6, 1), QTime(8, 0, steps)), 0,
                            "名称未登録", "0312340000");
                    ++steps;
                }
                return true;
            },
            nullptr);
        QVERIFY(ok);
        QVERIFY2(steps >= 2, qPrintable(QString::number(steps)));
        QString error;
        auto copy = core::db::Database::open(target, &error);
        QVERIFY2(copy, qPrintable(error));
        QString detail;
        QVERIFY2(copy->integrityCheck(&detail), qPrintable(detail));
        QCOMPARE(copy->scalar("select count(*) from 着信履歴").toInt(), f.count("着信履歴"));
        QCOMPARE(filesIn(out.path()), QStringList{"copy.mdb"});
    }

    void savingThroughTheScreen() {
        CareFixture f([](core::db::Database& d) { addCustomer(d, 1, "山田商店", {"0311112222"}); });
        f.open();
        QTemporaryDir out;
        const QString target = out.filePath("RbctiData2K.mdb");
        ui::FileDialogs::script({target});
        f.click("cmdHD書込");
        const auto asked = ui::FileDialogs::asked();
        QCOMPARE(asked[0].title, "ファイルの保存...");
        QVERIFY(asked[0].save);
        QVERIFY(asked[0].directory.endsWith("/RbctiData2K.mdb"));
        QCOMPARE(asked[0].selectedFilter, "MDB ファイル(*.mdb) (*.mdb)");
        QCOMPARE(f.askedTexts(), QStringList{target + " にコピーしました。"});
        auto copy = f.files.open(target);
        QCOMPARE(customers(*copy), 1);
    }

    void anExistingTargetIsReplacedOnlyWhenTheUserSaysSo() {
        CareFixture f([](core::db::Database& d) { addCustomer(d, 1, "山田商店", {"0311112222"}); });
        f.open();
        QTemporaryDir out;
        const QString target = out.filePath("old.mdb");
        QFile old(target);
        old.open(QIODevice::WriteOnly);
        old.write("keep me");
        old.close();

        ui::FileDialogs::script({target, target});
        ui::MessageBoxes::script({false});
        f.click("cmdHD書込");
        QCOMPARE(f.askedTexts(), QStringList{target + " は既にあります。置き換えますか"});
        QCOMPARE(ui::MessageBoxes::asked()[0].style, core::MsgStyle::ConfirmDefaultNo);
        old.open(QIODevice::ReadOnly);
        QCOMPARE(old.readAll(), QByteArray("keep me"));
        old.close();

        ui::MessageBoxes::script({true});
        f.click("cmdHD書込");
        QCOMPARE(f.askedTexts().last(), target + " にコピーしました。");
        QCOMPARE(customers(*f.files.open(target)), 1);
    }

    void theFilesInUseAreNotTargets_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("the data file") << "RbCtiData2K.mdb";
        QTest::newRow("another spelling of it") << "RbctiData2K.mdb";
        QTest::newRow("the work file") << "RbctiWork2K.mdb";
    }
    void theFilesInUseAreNotTargets() {
        QFETCH(QString, name);
        CareFixture f([](core::db::Database& d) { addCustomer(d, 1, "山田商店", {"0311112222"}); });
        f.open();
        ui::FileDialogs::script({f.files.paths.dataDir + name});
        ui::MessageBoxes::script({true});
        f.click("cmdHD書込");
        QCOMPARE(f.askedTexts(),
                 QStringList{f.files.paths.dataDir + name +
                             " は現在使用中のファイルです。別のファイルを指定してください。"});
        QCOMPARE(customers(f.data()), 1);
        QVERIFY(f.data().integrityCheck());
    }

    void aTargetThatRunsOutOfRoomLeavesNothing() {
        CareFixture f(manyCalls);
        f.open();
        QTemporaryDir out;
        const QString target = out.filePath("copy.mdb");
        ui::FileDialogs::script({target});
        {
            FileSizeLimit full(512 * 1024);
            f.click("cmdHD書込");
        }
        QCOMPARE(f.askedTexts().size(), 1);
        QVERIFY2(f.askedTexts()[0].contains("コピーできませんでした"),
                 qPrintable(f.askedTexts()[0]));
        QVERIFY(filesIn(out.path()).isEmpty());
        QCOMPARE(f.count("着信履歴"), 12000); // still open and whole
    }

    // ------------------------------------------------------------ reading back

    void wrongFilesAreRefused_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("says");
        QTest::newRow("old Jet file") << "jet"
                                      << "Jet 形式のデータベースファイルです";
        QTest::newRow("empty file") << "empty"
                                    << "空のファイル";
        QTest::newRow("text file") << "text"
                                   << "データベースファイルではありません";
        QTest::newRow("random bytes") << "random"
                                      << "データベースファイルではありません";
        QTest::newRow("another program's database") << "foreign"
                                                    << "他のプログラムのデータベース";
        QTest::newRow("the work database") << "work"
                                           << "作業用データベース";
        QTest::newRow("the postal dictionary") << "postal"
                                               << "郵便番号辞書です";
        QTest::newRow("the data file itself") << "self"
                                              << "現在使用中のファイル";
        QTest::newRow("damaged data file") << "damaged"
                                           << "壊れているか読めない";
    }
    void wrongFilesAreRefused() {
        QFETCH(QString, kind);
        QFETCH(QString, says);
        CareFixture f([](core::db::Database& d) {
            addCustomer(d, 1, "山田商店", {"0311112222"});
            manyCalls(d);
        });
        QTemporaryDir other;
        QString chosen = other.filePath("chosen.mdb");
        auto write = [&](const QByteArray& bytes) {
            QFile out(chosen);
            out.open(QIODevice::WriteOnly);
            out.write(bytes);
        };
        if (kind == "jet") {
            QByteArray head(2048, '\0');
            head.replace(4, 15, "Standard Jet DB");
            write(head);
        } else if (kind == "empty") {
            write({});
        } else if (kind == "text") {
            chosen = other.filePath("memo.txt");
            write("お客様の電話番号一覧\n山田商店 03-1111-2222\n");
        } else if (kind == "random") {
            QByteArray noise(64 * 1024, '\0');
            for (int i = 0; i < noise.size(); ++i) {
                noise[i] = char((i * 7919 + 13) % 251);
            }
            write(noise);
        } else if (kind == "foreign") {
            sqlite3* h = nullptr;
            sqlite3_open(chosen.toUtf8().constData(), &h);
            sqlite3_exec(h, "CREATE TABLE t (x); INSERT INTO t VALUES (1);", nullptr, nullptr,
                         nullptr);
            sqlite3_close(h);
        } else if (kind == "work") {
            QFile::copy(f.files.paths.workDb, chosen);
        } else if (kind == "postal") {
            QFile::copy(f.files.paths.postalDb, chosen);
        } else if (kind == "self") {
            chosen = f.files.paths.dataDir + "RbCtidata2K.mdb";
        } else if (kind == "damaged") {
            QVERIFY(core::db::saveSnapshot(f.data(), chosen, {}, nullptr));
            QFile out(chosen);
            out.open(QIODevice::ReadWrite);
            out.seek(out.size() / 2);
            out.write(QByteArray(64 * 1024, '\x5a'));
        }
        core::db::Database* before = core::dataDb();
        f.open();
        ui::FileDialogs::script({chosen});
        ui::MessageBoxes::script({true});
        f.click("cmdHD読込");
        QCOMPARE(f.askedTexts().size(), 1);
        QVERIFY2(f.askedTexts()[0].contains(says), qPrintable(f.askedTexts()[0]));
        QVERIFY(f.askedTexts()[0].startsWith(chosen));
        QCOMPARE(core::dataDb(), before); // never closed
        QCOMPARE(customers(f.data()), 1);
        QCOMPARE(f.count("着信履歴"), 12000);
        QCOMPARE(filesIn(f.files.paths.dataDir),
                 (QStringList{"RbCtiData2K.mdb", "RbctiWork2K.mdb", "yubin2000.mdb"}));
    }

    void readingACopyReplacesTheDataEverywhere() {
        CareFixture f([](core::db::Database& d) { addCustomer(d, 1, "山田商店", {"0311112222"}); });
        QTemporaryDir other;
        const QString saved = other.filePath("RbCtiData2K.mdb");
        QVERIFY(core::db::saveSnapshot(f.data(), saved, {}, nullptr));
        addCustomer(f.data(), 2, "後から登録", {"0322223333"});
        // The work database reads the data file too, and must follow it.
        const QString fromData = QString("insert into w顧客参照 (code, 名称, 住所1) select code, "
                                         "名称, 住所1 from 顧客マスタ in '%1'")
                                     .arg(f.files.paths.dataDb);
        core::workDb()->execute("delete * from w顧客参照");
        QVERIFY(core::workDb()->execute(fromData));
        QCOMPARE(core::workDb()->scalar("select count(*) from w顧客参照").toInt(), 2);

        f.open();
        ui::FileDialogs::script({saved});
        f.click("cmdHD読込");
        const auto asked = ui::FileDialogs::asked();
        QCOMPARE(asked[0].title, "ファイルの読込...");
        QVERIFY(!asked[0].save);
        QVERIFY(asked[0].directory.endsWith("/RbCtiData2K.mdb"));
        QCOMPARE(f.askedTexts(), QStringList{f.files.paths.dataDb + " に読込みしました。"});
        QCOMPARE(customers(f.data()), 1);
        core::workDb()->execute("delete * from w顧客参照");
        QVERIFY(core::workDb()->execute(fromData));
        QCOMPARE(core::workDb()->scalar("select count(*) from w顧客参照").toInt(), 1);
        QVERIFY(!QFile::exists(care::backupPath()));
        QCOMPARE(filesIn(f.files.paths.dataDir),
                 (QStringList{"RbCtiData2K.mdb", "RbctiWork2K.mdb", "yubin2000.mdb"}));
        // The chosen file is only read.
        QCOMPARE(customers(*f.files.open(saved)), 1);
    }

    void anOlderDataFileIsUpgradedWhenRead() {
        CareFixture f;
        QTemporaryDir other;
        const QString older = other.filePath("old.mdb");
        QVERIFY(core::db::saveSnapshot(f.data(), older, {}, nullptr));
        {
            auto d = f.files.open(older);
            QVERIFY(d->executeNative("ALTER TABLE 顧客マスタ DROP COLUMN Email"));
            QVERIFY(d->execute("update 自社情報 set Version = '2.10'"));
        }
        f.open();
        ui::FileDialogs::script({older});
        f.click("cmdHD読込");
        QCOMPARE(f.askedTexts(), QStringList{f.files.paths.dataDb + " に読込みしました。"});
        QVERIFY(f.data().hasTable("顧客マスタ"));
        QVERIFY(f.data().tableDef("顧客マスタ").fields().size() > 0);
        bool hasEmail = false;
        for (const auto& field : f.data().tableDef("顧客マスタ").fields()) {
            hasEmail = hasEmail || field.name == "Email";
        }
        QVERIFY(hasEmail);
        QCOMPARE(f.stored("Version").toString(), "2.18");
    }

    void aReadThatRunsOutOfRoomLeavesTheDataAsItWas() {
        CareFixture f([](core::db::Database& d) { addCustomer(d, 1, "山田商店", {"0311112222"}); });
        QTemporaryDir other;
        const QString big = other.filePath("big.mdb");
        {
            auto copy = core::db::Database::create(big, nullptr);
            copy.reset();
            QFile::remove(big);
            QVERIFY(core::db::saveSnapshot(f.data(), big, {}, nullptr));
            auto d = f.files.open(big);
            manyCalls(*d);
        }
        core::db::Database* before = core::dataDb();
        f.open();
        ui::FileDialogs::script({big});
        {
            FileSizeLimit full(1024 * 1024);
            f.click("cmdHD読込");
        }
        QCOMPARE(f.askedTexts().size(), 1);
        QVERIFY2(f.askedTexts()[0].contains("現在のデータはそのままです"),
                 qPrintable(f.askedTexts()[0]));
        // The chosen file is sound; it is the room that ran out.
        QVERIFY2(!f.askedTexts()[0].contains("壊れている"), qPrintable(f.askedTexts()[0]));
        QCOMPARE(core::dataDb(), before);
        QCOMPARE(f.count("着信履歴"), 0);
        QCOMPARE(customers(f.data()), 1);
        QCOMPARE(filesIn(f.files.paths.dataDir),
                 (QStringList{"RbCtiData2K.mdb", "RbctiWork2K.mdb", "yubin2000.mdb"}));
    }

    void aCopyThatCannotBeUpgradedIsTakenBackOut() {
        CareFixture f([](core::db::Database& d) { addCustomer(d, 1, "山田商店", {"0311112222"}); });
        QTemporaryDir other;
        const QString stuck = other.filePath("stuck.mdb");
        QVERIFY(core::db::saveSnapshot(f.data(), stuck, {}, nullptr));
        {
            auto d = f.files.open(stuck);
            d->execute("delete * from 顧客マスタ");
            d->execute("update 自社情報 set Version = '2.10'");
            // The settings row can no longer be stamped.
            d->executeNative("CREATE TRIGGER no_stamp BEFORE UPDATE ON 自社情報 BEGIN SELECT "
                             "RAISE(ABORT, 'read-only medium'); END");
        }
        f.open();
        ui::FileDialogs::script({stuck});
        f.click("cmdHD読込");
        QCOMPARE(f.askedTexts().size(), 1);
        QVERIFY2(f.askedTexts()[0].contains("元のデータファイルに戻しました"),
                 qPrintable(f.askedTexts()[0]));
        QCOMPARE(customers(f.data()), 1); // the previous file, open again
        QVERIFY(f.data().integrityCheck());
        QCOMPARE(filesIn(f.files.paths.dataDir),
                 (QStringList{"RbCtiData2K.mdb", "RbctiWork2K.mdb", "yubin2000.mdb"}));
    }

    void aCancelledDialogDoesNothing() {
        CareFixture f;
        f.open();
        ui::FileDialogs::script({"", ""});
        f.click("cmdHD読込");
        f.click("cmdHD書込");
        QVERIFY(ui::MessageBoxes::asked().isEmpty());
        QCOMPARE(ui::FileDialogs::asked().size(), 2);
    }
};

QTEST_MAIN(TestDataFileCopy)
#include "tst_datafilecopy.moc"
