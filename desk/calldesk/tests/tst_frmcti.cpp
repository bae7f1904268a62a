#include "clsgojuren.h"
#include "deskfixture.h"

using core::db::Recordset;

namespace {
QDateTime today(int h, int m = 0, int s = 0) {
    return QDateTime(QDate::currentDate(), QTime(h, m, s));
}
QDateTime daysAgo(int d, int h, int m = 0, int s = 0) {
    return QDateTime(QDate::currentDate().addDays(-d), QTime(h, m, s));
}
} // namespace

class TestFrmCti : public QObject {
    Q_OBJECT
private slots:
    // ------------------------------------------------------------ list

    void listPeriods_data() {
        QTest::addColumn<QString>("period");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("today") << "本日分のみ" << QStringList{"today 00:00:01"};
        QTest::newRow("empty is today") << "" << QStringList{"today 00:00:01"};
        QTest::newRow("3 days") << "３日以内分"
                                << QStringList{"today 00:00:01", "today 00:00:00", "2 days ago"};
        QTest::newRow("a week") << "１週間以内分"
                                << QStringList{"today 00:00:01", "today 00:00:00", "2 days ago",
                                               "2 days ago, midnight", "6 days ago"};
    }
    void listPeriods() {
        QFETCH(QString, period);
        QFETCH(QStringList, listed);
        DeskFixture f([&](core::db::Database& d) {
            d.execute("update 自社情報 set 着信読込 = ?", {period});
            logCall(d, today(0), 0, "today 00:00:00", "0311110000"); // exactly midnight: not listed
            logCall(d, today(0, 0, 1), 0, "today 00:00:01", "0311110001");
            logCall(d, daysAgo(2, 10), 0, "2 days ago", "0311110002");
            logCall(d, daysAgo(2, 0), 0, "2 days ago, midnight", "0311110003");
            logCall(d, daysAgo(6, 23), 0, "6 days ago", "0311110006");
            logCall(d, daysAgo(7, 12), 0, "7 days ago", "0311110007");
        });
        f.open();
        QStringList got;
        for (int i = 0; i < f.desk->listModel()->rowCount(); ++i) {
            got << f.listValue(i, "名称").toString();
            QCOMPARE(f.listValue(i, "新規").toBool(), false);
        }
        QCOMPARE(got, listed); // newest first
    }

    void listDatesFollowTheEraSetting() {
        DeskFixture f([](core::db::Database& d) {
            d.execute("update 自社情報 set 年号 = '和暦'");
            logCall(d, today(9), 0, "x", "0311112222");
        });
        f.open();
        const QModelIndex date =
            f.desk->listModel()->index(0, f.desk->listModel()->columnOf("日付"));
        const QString shown = date.data().toString();
        const QString expected = core::dates::format(QDate::currentDate(), "g ee/mm/dd");
        QCOMPARE(shown, expected);
        QVERIFY(f.child<desk::DateBox>("dt日付")->text().contains("年"));
    }

    void reopeningKeepsTheList() {
        DeskFixture f(
            [](core::db::Database& d) { logCall(d, today(9), 0, "朝の電話", "0311112222"); });
        f.open();
        f.desk->Activate();
        f.desk->close();
        f.data().execute("delete * from 着信履歴"); // the log changes meanwhile
        f.open();
        QCOMPARE(f.desk->listModel()->rowCount(), 1);
        QCOMPARE(f.listValue(0, "名称").toString(), "朝の電話");
    }

    void lineDelete() {
        DeskFixture f(
            [](core::db::Database& d) { logCall(d, today(9, 30), 5, "削除対象", "0311112222"); });
        f.open();
        f.desk->setCurrentListRow(0);
        ui::MessageBoxes::script({false});
        f.click("cmd着信行削除");
        QCOMPARE(f.data().scalar("select count(*) from 着信履歴").toInt(), 1);
        ui::MessageBoxes::script({true});
        f.click("cmd着信行削除");
        QCOMPARE(ui::MessageBoxes::asked().last().text,
                 "指定された着信履歴 を削除します。よろしいですか");
        QCOMPARE(f.data().scalar("select count(*) from 着信履歴").toInt(), 0);
        QCOMPARE(f.desk->listModel()->rowCount(), 0);
        // An empty list: nothing happens.
        f.click("cmd着信行削除");
        f.click("cmd着信詳細");
    }

    void aCallJustArrivedCannotBeDeletedFromTheList() {
        DeskFixture f;
        f.open();
        f.desk->Proc着信("0399990000");
        QVERIFY(f.listValue(0, "code").isNull());
        ui::MessageBoxes::script({true});
        f.click("cmd着信行削除");
        QVERIFY(ui::MessageBoxes::asked().isEmpty());
        QCOMPARE(f.desk->listModel()->rowCount(), 1);
    }

    // ------------------------------------------------------------ intake

    void knownCaller() {
        DeskFixture f([](core::db::Database& d) {
            addCustomer(d, 12, "山田商店", {"0312345678", "0398765432"}, "やまだしょうてん");
        });
        f.open();
        f.desk->Proc着信("0398765432");
        QCOMPARE(f.text("cmb顧客名"), "山田商店");
        QCOMPARE(f.text("txt顧客コード"), "12");
        QCOMPARE(f.text("txtふりがな"), "やまだしょうてん");
        QCOMPARE(f.text("lbl顧客名"), "山田商店");
        QCOMPARE(f.text("txtTEL"), "0398765432");
        QCOMPARE(f.numbers().mid(0, 3), (QStringList{"0312345678", "0398765432", ""}));
        QCOMPARE(f.listValue(0, "名称").toString(), "山田商店");
        QCOMPARE(f.listValue(0, "新規").toBool(), true);
        Recordset log = f.data().openRecordset("select * from 着信履歴");
        QCOMPARE(log.field("code").toInt(), 12);
        QCOMPARE(log.field("名称").toString(), "山田商店");
        QCOMPARE(log.field("電話番号").toString(), "0398765432");
        QCOMPARE(f.sounds.size(), 1);
    }

    void unregisteredCallerRegisteredAndAttributed() {
        DeskFixture f([](core::db::Database& d) {
            addCustomer(d, 7, "既存", {"0300000007"});
            // Two earlier calls from the same number, and one from another.
            logCall(d, daysAgo(30, 10), 0, "名称未登録", "0311112222");
            logCall(d, daysAgo(20, 10), 0, "名称未登録", "0311112222");
            logCall(d, daysAgo(10, 10), 0, "名称未登録", "0322223333");
        });
        f.open();
        f.desk->Proc着信("0311112222");
        QCOMPARE(f.text("cmb顧客名"), "名称未登録");
        QCOMPARE(f.text("txt顧客コード"), "");
        QCOMPARE(f.numbers().first(), "0311112222");
        QCOMPARE(f.desk->numbersModel()->value(0, "電話名称").toString(), "");
        QCOMPARE(
            f.data().scalar("select code from 着信履歴 where 日付 > ?", {daysAgo(1, 0)}).toInt(),
            0);

        // The call-data "登録" is refused while the caller is unregistered.
        f.click("cmd着信登録");
        QCOMPARE(ui::MessageBoxes::asked().last().text,
                 "名称未登録は登録できません。相手の名称を登録してください。");
        f.click("cmd登録");
        QCOMPARE(ui::MessageBoxes::asked().last().text, "名称未登録は登録できません");

        // The operator types the name and details and registers.
        f.type("cmb顧客名", "新規 商会");
        f.type("txtふりがな", "しんき");
        ui::MessageBoxes::script({true});
        f.click("cmd登録");
        QCOMPARE(ui::MessageBoxes::asked().first().text, "新規 商会 を登録します。よろしいですか");
        Recordset c = f.data().openRecordset("select * from 顧客マスタ where 名称 = '新規 商会'");
        QCOMPARE(c.field("code").toInt(), 8); // highest + 1
        QCOMPARE(c.field("ふりがな").toString(), "しんき");
        QCOMPARE(f.data().scalar("select code from 電話番号 where 電話番号 = '0311112222'").toInt(),
                 8);
        // Every call of that number is now the customer's; the other number's is not.
        QCOMPARE(
            f.data()
                .scalar("select count(*) from 着信履歴 where 電話番号 = '0311112222' and code = 8 "
                        "and 名称 = '新規 商会'")
                .toInt(),
            3);
        QCOMPARE(
            f.data().scalar("select 名称 from 着信履歴 where 電話番号 = '0322223333'").toString(),
            "名称未登録");
        // The screen is cleared and the list rebuilt from the log.
        QCOMPARE(f.text("cmb顧客名"), "");
        QCOMPARE(f.listValue(0, "名称").toString(), "新規 商会");
        QCOMPARE(f.listValue(0, "新規").toBool(), false);

        // Opened again from the list and registered as a known caller.
        f.desk->setCurrentListRow(0);
        f.click("cmd着信詳細");
        QCOMPARE(f.text("txt顧客コード"), "8");
        f.type("cmb用件1", "問合せ");
        ui::MessageBoxes::script({true});
        f.click("cmd着信登録");
        QCOMPARE(f.data()
                     .scalar("select 用件1 from 着信履歴 where 日付 > ?", {daysAgo(1, 0)})
                     .toString(),
                 "問合せ");
    }

    void withheldAndPublicCalls_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("shown");
        QTest::newRow("withheld") << "999999"
                                  << "非通知";
        QTest::newRow("public") << "888888"
                                << "公衆電話";
    }
    void withheldAndPublicCalls() {
        QFETCH(QString, number);
        QFETCH(QString, shown);
        DeskFixture f;
        f.open();
        f.desk->Proc着信(number);
        QCOMPARE(f.listValue(0, "電話番号").toString(), shown);
        QCOMPARE(f.listValue(0, "名称").toString(), "名称未登録");
        QCOMPARE(f.data().scalar("select 電話番号 from 着信履歴").toString(), number);
    }

    void twoCallsInOneSecond() {
        DeskFixture f([](core::db::Database& d) { addCustomer(d, 3, "二度", {"0333334444"}); });
        f.open();
        const QDateTime moment = today(14, 0, 5);
        desk::FrmCti::clock() = [moment] { return moment; };
        f.desk->Proc着信("0311112222");
        f.desk->Proc着信("0333334444");
        QCOMPARE(f.desk->listModel()->rowCount(), 1);
        QCOMPARE(f.listValue(0, "名称").toString(), "名称未登録"); // the first call's row stays
        QCOMPARE(f.text("cmb顧客名"), "二度"); // the panel shows the second caller
        QCOMPARE(f.data().scalar("select count(*) from 着信履歴").toInt(), 1);
        QCOMPARE(f.data().scalar("select 名称 from 着信履歴").toString(), "二度");
    }

    void soundFollowsTheSetting() {
        DeskFixture f(
            [](core::db::Database& d) { d.execute("update 自社情報 set 着信サウンド = False"); });
        f.open();
        f.desk->Proc着信("0311112222");
        QVERIFY(f.sounds.isEmpty());
    }

    // ------------------------------------------------------------ panel

    void nameLookup() {
        DeskFixture f(
            [](core::db::Database& d) { addCustomer(d, 4, "O'Brien [*%]", {"0344445555"}); });
        f.open();
        f.type("txt住所2", "残る");
        f.type("cmb顧客名", "O'Brien [*%]");
        f.desk->findChild<QComboBox*>("cmb顧客名")->setFocus();
        QApplication::setActiveWindow(f.desk.get());
        // Leaving the field by the chain.
        f.desk->show();
        QVERIFY(QTest::qWaitForWindowActive(f.desk.get()));
        f.desk->findChild<QComboBox*>("cmb顧客名")->setFocus();
        QTest::keyClick(f.desk->findChild<QComboBox*>("cmb顧客名"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.desk->findChild<QComboBox*>("cmb敬称"));
        QCOMPARE(f.text("txt顧客コード"), "4");
        QCOMPARE(f.text("txt住所1"), "東京都");
        QCOMPARE(f.numbers().first(), "0344445555");

        // A new name shows the tentative next code; other fields stay.
        f.type("txt住所1", "入力中");
        f.desk->findChild<QComboBox*>("cmb顧客名")->setFocus();
        f.type("cmb顧客名", "まだない名前");
        QTest::keyClick(f.desk->findChild<QComboBox*>("cmb顧客名"), Qt::Key_Right);
        QCOMPARE(f.text("txt顧客コード"), "5");
        QCOMPARE(f.text("txt住所1"), "入力中");

        // Too long: beep, cut, and the focus comes back; nothing is looked up.
        f.desk->findChild<QComboBox*>("cmb顧客名")->setFocus();
        f.type("cmb顧客名", QString(30, QChar(0x540D)));
        QTest::keyClick(f.desk->findChild<QComboBox*>("cmb顧客名"), Qt::Key_Return);
        QCOMPARE(f.text("cmb顧客名"), QString(25, QChar(0x540D)));
        QCOMPARE(f.text("txt顧客コード"), "5");
        QTRY_COMPARE(QApplication::focusWidget(), f.desk->findChild<QComboBox*>("cmb顧客名"));
    }

    void typingOverAnUnregisteredCallerLooksNothingUp() {
        DeskFixture f;
        f.open();
        f.desk->show();
        QApplication::setActiveWindow(f.desk.get());
        QVERIFY(QTest::qWaitForWindowActive(f.desk.get()));
        auto* name = f.child<QComboBox>("cmb顧客名");
        name->setFocus(); // the operator is already in the name field
        f.desk->Proc着信("0377778888");
        name->setEditText("さくら商店");
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(f.text("txt顧客コード"), "");
        QCOMPARE(f.numbers().first(), "0377778888");
        QCOMPARE(f.text("txtTEL"), "0377778888");
    }

    void registerExistingNameUpdatesIt() {
        DeskFixture f([](core::db::Database& d) { addCustomer(d, 9, "更新先", {"0399990001"}); });
        f.open();
        f.type("cmb顧客名", "更新先");
        f.type("txt顧客コード", "9");
        f.type("txt住所1", "");
        f.type("txtEmail", "a@b.jp");
        ui::MessageBoxes::script({true});
        f.desk->Entry顧客マスタ("更新先");
        Recordset c = f.data().openRecordset("select * from 顧客マスタ where 名称 = '更新先'");
        QCOMPARE(c.field("code").toInt(), 9);
        QCOMPARE(c.field("住所1").toString(), ""); // empty fields included
        QCOMPARE(c.field("Email").toString(), "a@b.jp");
        QCOMPARE(f.data().scalar("select count(*) from 顧客マスタ").toInt(), 1);
    }

    void answeringNoStoresNothingButStillClears() {
        DeskFixture f;
        f.open();
        f.type("cmb顧客名", "断る人");
        f.type("txtふりがな", "ことわる");
        ui::MessageBoxes::script({false});
        f.click("cmd登録");
        QCOMPARE(f.data().scalar("select count(*) from 顧客マスタ").toInt(), 0);
        QCOMPARE(f.text("txtふりがな"), "");
    }

    void firstCustomerGetsCodeOne() {
        DeskFixture f;
        f.open();
        f.type("cmb顧客名", "最初");
        ui::MessageBoxes::script({true});
        f.click("cmd登録");
        QCOMPARE(f.data().scalar("select code from 顧客マスタ").toInt(), 1);
    }

    void deletingCustomers() {
        DeskFixture f([](core::db::Database& d) {
            addCustomer(d, 1, "電話あり", {"0300000001"});
            addCustomer(d, 2, "電話なし", {"0300000002", "0300000003"});
            logCall(d, daysAgo(40, 9), 1, "電話あり", "0300000001");
        });
        f.open();
        f.type("cmb顧客名", "電話あり");
        f.type("txt顧客コード", "1");
        ui::MessageBoxes::script({true});
        f.click("cmd削除");
        QCOMPARE(ui::MessageBoxes::asked().last().text,
                 "着信履歴 にデータがあるため削除できません。メンテナンス機能で削除してください。");
        QCOMPARE(f.data().scalar("select count(*) from 顧客マスタ where code = 1").toInt(), 1);

        f.type("cmb顧客名", "電話なし");
        f.type("txt顧客コード", "2");
        ui::MessageBoxes::script({true});
        f.click("cmd削除");
        QCOMPARE(f.data().scalar("select count(*) from 顧客マスタ where code = 2").toInt(), 0);
        QCOMPARE(f.data().scalar("select count(*) from 電話番号 where 名称 = '電話なし'").toInt(),
                 0);
        QCOMPARE(f.text("cmb顧客名"), "");
    }

    void postalFillOnlyIntoAnEmptyAddress() {
        DeskFixture f;
        f.open();
        f.type("txt郵便番号", "1000001");
        QCOMPARE(f.text("txt住所1"), "東京都千代田区千代田");
        f.type("txt郵便番号", "");
        f.type("txt住所1", "自分で書いた");
        f.type("txt郵便番号", "1000001");
        QCOMPARE(f.text("txt住所1"), "自分で書いた");
    }

    void honorificEnterTakesTheFirstEntry() {
        DeskFixture f;
        f.open();
        f.desk->show();
        QApplication::setActiveWindow(f.desk.get());
        QVERIFY(QTest::qWaitForWindowActive(f.desk.get()));
        auto* honorific = f.child<QComboBox>("cmb敬称");
        honorific->setFocus();
        QTest::keyClick(honorific, Qt::Key_Return);
        QCOMPARE(honorific->currentText(), "様");
        QCOMPARE(QApplication::focusWidget(), f.desk->findChild<QLineEdit*>("txtふりがな"));
    }

    // F4 opens the kana finder; a picked customer replaces what the panel
    // showed, closing without a choice leaves the panel alone.
    void kanaFinder_data() {
        QTest::addColumn<bool>("pick");
        QTest::newRow("あ, then 選択") << true;
        QTest::newRow("あ, then 閉じる") << false;
    }
    void kanaFinder() {
        QFETCH(bool, pick);
        DeskFixture f([](core::db::Database& d) {
            addCustomer(d, 3, "阿部商店", {"0311112222", "0311113333"}, "あべしょうてん");
            addCustomer(d, 5, "伊藤", {"0322223333"}, "いとう");
            d.execute("update 顧客マスタ set 郵便番号 = '1000001', 住所2 = '1-2-3', 敬称 = '御中', "
                      "Email = 'abe@example.jp', 顧客メモ = '常連' where code = 3");
        });
        f.open();
        f.desk->show();
        QApplication::setActiveWindow(f.desk.get());
        QVERIFY(QTest::qWaitForWindowActive(f.desk.get()));
        f.type("cmb顧客名", "伊藤");
        f.desk->findChild<QLineEdit*>("txtふりがな")->setFocus();
        QCOMPARE(f.text("txt顧客コード"), "5");

        QStringList listed;
        ClsGojuren::dialogScript() = [&](QDialog& d) {
            for (auto* b : d.findChildren<vx::VxCmdBtn*>("cmd50")) {
                if (b->caption() == "あ") {
                    b->DoClick();
                }
            }
            QAbstractItemModel* m = d.findChild<QTableView*>("Grid参照")->model();
            for (int r = 0; r < m->rowCount(); ++r) {
                listed << m->index(r, 1).data().toString();
            }
            d.findChild<vx::VxCmdBtn*>(pick ? "cmd選択" : "cmd閉じる")->DoClick();
        };
        QTest::keyClick(f.child<QLineEdit>("txtふりがな"), Qt::Key_F4);
        ClsGojuren::dialogScript() = nullptr;

        QCOMPARE(listed, QStringList{"阿部商店"});
        QCOMPARE(QApplication::focusWidget(), f.child<QComboBox>("cmb顧客名"));
        if (!pick) {
            QCOMPARE(f.text("cmb顧客名"), "伊藤");
            QCOMPARE(f.text("txt顧客コード"), "5");
            return;
        }
        QCOMPARE(f.text("cmb顧客名"), "阿部商店");
        QCOMPARE(f.text("txt顧客コード"), "3");
        QCOMPARE(f.text("txtふりがな"), "あべしょうてん");
        QCOMPARE(f.text("txt郵便番号"), "1000001");
        QCOMPARE(f.text("txt住所1"), "東京都");
        QCOMPARE(f.text("txt住所2"), "1-2-3");
        QCOMPARE(f.text("cmb敬称"), "御中");
        QCOMPARE(f.text("txtEmail"), "abe@example.jp");
        QCOMPARE(f.text("txt顧客メモ"), "常連");
        QCOMPARE(f.numbers().mid(0, 3), (QStringList{"0311112222", "0311113333", ""}));
    }

    void kanaFinderWithoutTheDataFile() {
        DeskFixture f;
        f.open();
        QFile::remove(f.files.paths.dataDb);
        bool shown = false;
        ClsGojuren::dialogScript() = [&](QDialog&) { shown = true; };
        f.click("cmd顧客参照");
        ClsGojuren::dialogScript() = nullptr;
        QVERIFY(!shown);
        const auto asked = ui::MessageBoxes::asked();
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked[0].text.contains(f.files.paths.dataDb), qPrintable(asked[0].text));
        QVERIFY(!QFileInfo::exists(f.files.paths.dataDb));
    }

    // ------------------------------------------------------------ numbers

    void numberChecks_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("message");
        QTest::newRow("hyphens") << "03-1234-5678"
                                 << ""
                                 << "電話番号には - を使用しないで下さい";
        QTest::newRow("six digits") << "123456"
                                    << ""
                                    << "電話番号には市外局番を必ず付けて下さい";
        QTest::newRow("seven") << "1234567"
                               << "1234567"
                               << "";
    }
    void numberChecks() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(QString, message);
        DeskFixture f;
        f.open();
        auto* m = f.desk->numbersModel();
        QVERIFY(m->setData(m->index(2, 1), typed));
        QTest::qWait(20);
        QCOMPARE(f.numbers().at(2), kept);
        QCOMPARE(ui::MessageBoxes::asked().isEmpty() ? QString()
                                                     : ui::MessageBoxes::asked().first().text,
                 message);
    }

    void numbersWithoutPhoneNameAreNotDuplicated() {
        DeskFixture f;
        f.open();
        f.type("cmb顧客名", "名無し番号");
        auto* m = f.desk->numbersModel();
        m->setData(m->index(0, 1), "0355556666");
        m->setData(m->index(1, 0), "携帯");
        m->setData(m->index(1, 1), "09011112222");
        for (int i = 0; i < 3; ++i) {
            ui::MessageBoxes::script({true});
            f.desk->Entry顧客マスタ("名無し番号");
            f.type("cmb顧客名", "名無し番号");
            f.desk->Read電話番号();
        }
        QCOMPARE(f.data().scalar("select count(*) from 電話番号 where 名称 = '名無し番号'").toInt(),
                 2);
        // "携帯" was learnt as a phone name.
        QCOMPARE(
            f.data()
                .scalar(
                    "select count(*) from コードマスタ where kcode = '電話名称' and sname = '携帯'")
                .toInt(),
            1);
    }

    void twelveNumbersShowTenAndKeepTheRest() {
        QStringList twelve;
        for (int i = 0; i < 12; ++i) {
            twelve << QString("03000000%1").arg(i, 2, 10, QChar('0'));
        }
        DeskFixture f([&](core::db::Database& d) {
            d.execute("insert into 顧客マスタ (code, 名称) values (1, '多い')");
            for (int i = 0; i < 12; ++i) {
                d.execute("insert into 電話番号 (code, no, 名称, 電話名称, 電話番号) values (1, ?, "
                          "'多い', ?, ?)",
                          {i + 1, QString("名%1").arg(i), twelve[i]});
            }
        });
        f.open();
        f.type("cmb顧客名", "多い");
        f.type("txt顧客コード", "1");
        f.desk->Read電話番号();
        QCOMPARE(f.numbers(), twelve.mid(0, 10));
        ui::MessageBoxes::script({true});
        f.desk->Entry顧客マスタ("多い");
        QCOMPARE(f.data().scalar("select count(*) from 電話番号 where 名称 = '多い'").toInt(), 12);
    }

    void deleteANumber() {
        DeskFixture f([](core::db::Database& d) {
            addCustomer(d, 1, "番号削除", {"0300000001", "0300000002"});
        });
        f.open();
        f.type("cmb顧客名", "番号削除");
        f.type("txt顧客コード", "1");
        f.desk->Read電話番号();
        f.child<QTableView>("Grid電話番号")->setCurrentIndex(f.desk->numbersModel()->index(1, 1));
        ui::MessageBoxes::script({true});
        f.click("cmd電話番号行削除");
        QCOMPARE(f.data().scalar("select count(*) from 電話番号").toInt(), 1);
        QCOMPARE(f.numbers().size(), 9);
    }

    void detailOfAnUnregisteredCallAndTelMov() {
        DeskFixture f(
            [](core::db::Database& d) { logCall(d, today(8, 15), 0, "名称未登録", "0366667777"); });
        f.open();
        f.desk->setCurrentListRow(0);
        f.click("cmd着信詳細");
        QCOMPARE(f.text("cmb顧客名"), "名称未登録");
        QCOMPARE(f.text("txt顧客コード"), "0");
        QCOMPARE(f.text("txt住所1"), "");
        QCOMPARE(f.text("txtTEL"), "0366667777");
        QCOMPARE(f.numbers().first(), "0366667777");
        f.click("cmdTelMov");
        f.click("cmdTelMov");
        QCOMPARE(f.numbers().mid(0, 3), (QStringList{"0366667777", "0366667777", "0366667777"}));
        // It can be deleted with the call-data "削除".
        ui::MessageBoxes::script({true});
        f.click("cmd履歴削除");
        QCOMPARE(f.data().scalar("select count(*) from 着信履歴").toInt(), 0);
    }

    // ------------------------------------------------------------ call records

    void callRegistrationChecks_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("purpose");
        QTest::addColumn<QString>("message");
        QTest::newRow("no name") << ""
                                 << ""
                                 << "x"
                                 << "顧客名が不明です。顧客を指定してください。";
        QTest::newRow("unregistered")
            << "名称未登録"
            << ""
            << "x"
            << "名称未登録は登録できません。相手の名称を登録してください。";
        QTest::newRow("no purpose") << "客"
                                    << "1"
                                    << ""
                                    << "用件、もしくはメモが記入されていないと登録できません。";
        QTest::newRow("no code: silently nothing") << "客"
                                                   << ""
                                                   << "x"
                                                   << "";
    }
    void callRegistrationChecks() {
        QFETCH(QString, name);
        QFETCH(QString, code);
        QFETCH(QString, purpose);
        QFETCH(QString, message);
        DeskFixture f;
        f.open();
        f.type("cmb顧客名", name);
        f.type("txt顧客コード", code);
        f.type("txt用件メモ", purpose);
        f.click("cmd着信登録");
        QCOMPARE(ui::MessageBoxes::asked().isEmpty() ? QString()
                                                     : ui::MessageBoxes::asked().first().text,
                 message);
        QCOMPARE(f.data().scalar("select count(*) from 着信履歴").toInt(), 0);
    }

    void registeringTwiceUpdatesOneRowAndNoStillWritesTheCall() {
        DeskFixture f([](core::db::Database& d) { addCustomer(d, 1, "常連", {"0300000001"}); });
        f.open();
        f.desk->Proc着信("0300000001");
        f.type("cmb用件1", "注文");
        f.type("txt用件メモ", "It's 100% *urgent* [now]");
        f.child<QCheckBox>("Chk用件済")->setChecked(true);
        ui::MessageBoxes::script({false}); // no to the customer question
        f.click("cmd着信登録");
        ui::MessageBoxes::script({false});
        f.click("cmd着信登録");
        QCOMPARE(f.data().scalar("select count(*) from 着信履歴").toInt(), 1);
        Recordset log = f.data().openRecordset("select * from 着信履歴");
        QCOMPARE(log.field("用件1").toString(), "注文");
        QCOMPARE(log.field("用件メモ").toString(), "It's 100% *urgent* [now]");
        QCOMPARE(log.field("済").toBool(), true);
        QCOMPARE(f.listValue(0, "用件1").toString(), "注文");
        QCOMPARE(f.listValue(0, "新規").toBool(), true);
    }

    void previousAndNext() {
        DeskFixture f([](core::db::Database& d) {
            addCustomer(d, 1, "順番", {"0300000001"});
            logCall(d, daysAgo(3, 10), 1, "順番", "0300000001", "十時");
            logCall(d, daysAgo(3, 11), 1, "順番", "0300000001", "十一時");
            logCall(d, daysAgo(3, 12), 1, "順番", "0300000001", "十二時");
        });
        f.open();
        f.type("cmb顧客名", "順番");
        f.child<desk::DateBox>("dt日付")->setDate(QDate::currentDate().addDays(-3));
        f.child<desk::TimeBox>("dt時間")->setTime(QTime(11, 0));
        f.click("cmdMonBef");
        QCOMPARE(f.text("cmb用件1"), "十時");
        f.click("cmdMonNext");
        QCOMPARE(f.text("cmb用件1"), "十一時");
        f.click("cmdMonNext");
        QCOMPARE(f.text("cmb用件1"), "十二時");
        f.click("cmdMonNext"); // the last: nothing changes
        QCOMPARE(f.text("cmb用件1"), "十二時");
        QCOMPARE(*f.child<desk::TimeBox>("dt時間")->time(), QTime(12, 0));
    }

    void doneBoxKeepsItsState() {
        DeskFixture f;
        f.open();
        f.child<QCheckBox>("Chk用件済")->setChecked(true);
        f.click("cmd着信クリア");
        QVERIFY(f.child<QCheckBox>("Chk用件済")->isChecked());
        f.desk->Proc着信("0311112222");
        QVERIFY(f.child<QCheckBox>("Chk用件済")->isChecked());
    }

    void writeBackOnClosing() {
        DeskFixture f([](core::db::Database& d) {
            logCall(d, today(9), 1, "A", "0300000001");
            logCall(d, today(10), 2, "B", "0300000002");
            logCall(d, today(11), 3, "C", "0300000003");
        });
        f.open();
        // Two rows edited at the desk, not yet in the log.
        f.work().execute("update w着信表示 set 用件1 = '後で', 新規 = True where code in (1, 3)");
        f.desk->close();
        QCOMPARE(f.data().scalar("select count(*) from 着信履歴 where 用件1 = '後で'").toInt(), 2);
        QCOMPARE(f.data().scalar("select count(*) from 着信履歴").toInt(), 3);
    }

    void handOverFromTheHistoryList() {
        DeskFixture f([](core::db::Database& d) {
            addCustomer(d, 6, "引継ぎ", {"0300000006"});
            logCall(d, daysAgo(50, 15, 30, 10), 6, "引継ぎ", "0300000006", "見積依頼");
        });
        f.open();
        f.type("txt用件メモ", "そのまま");
        core::handOver().HandOverName = "引継ぎ";
        core::handOver().HandOverCallTime = daysAgo(50, 15, 30, 10);
        f.desk->Activate();
        QCOMPARE(f.text("txt顧客コード"), "6");
        QCOMPARE(f.text("cmb用件1"), "見積依頼");
        QCOMPARE(*f.child<desk::TimeBox>("dt時間")->time(), QTime(15, 30, 10));
        QVERIFY(core::handOver().HandOverName.isEmpty());
        QVERIFY(!core::handOver().HandOverCallTime.isValid());
        QCOMPARE(core::handOver().HandOverCode, 0);
    }

    void purposesAreLearnt() {
        DeskFixture f;
        f.open();
        f.desk->show();
        QApplication::setActiveWindow(f.desk.get());
        QVERIFY(QTest::qWaitForWindowActive(f.desk.get()));
        auto* p1 = f.child<QComboBox>("cmb用件1");
        p1->setFocus();
        p1->setEditText("返品受付");
        QTest::keyClick(p1, Qt::Key_Return); // leaves for 用件2
        QCOMPARE(f.data()
                     .scalar("select count(*) from コードマスタ where kcode = '用件1' and sname = "
                             "'返品受付'")
                     .toInt(),
                 1);
        QVERIFY(p1->findText("返品受付") >= 0);
        QCOMPARE(p1->currentText(), "返品受付");
    }

    void purposeAndStaffLengthLimits_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("typed");
        QTest::addColumn<int>("kept");
        QTest::newRow("purpose 1: 100") << "cmb用件1" << 60 << 50;
        QTest::newRow("purpose 2: 100") << "cmb用件2" << 50 << 50;
        QTest::newRow("staff: 40") << "cmb担当" << 21 << 20;
    }
    void purposeAndStaffLengthLimits() {
        QFETCH(QString, field);
        QFETCH(int, typed);
        QFETCH(int, kept);
        DeskFixture f;
        f.open();
        f.desk->show();
        QApplication::setActiveWindow(f.desk.get());
        QVERIFY(QTest::qWaitForWindowActive(f.desk.get()));
        auto* box = f.child<QComboBox>(field.toUtf8().constData());
        box->setFocus();
        box->setEditText(QString(typed, QChar(0x7528)));
        f.child<QLineEdit>("txtふりがな")->setFocus(); // leave the field
        QCOMPARE(box->currentText().size(), kept);
        // Too long: nothing was learnt into the code list.
        if (typed > kept) {
            QCOMPARE(f.data()
                         .scalar("select count(*) from コードマスタ where sname like '用用用*'")
                         .toInt(),
                     0);
            QTRY_COMPARE(QApplication::focusWidget(), box);
        }
    }

    void lineThatCannotOpenIsShown() {
        DeskFixture f;
        QFile conf(f.files.paths.dataDir + "ports.conf");
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("1=/dev/ttyNOTHING7\n");
        conf.close();
        f.open();
        QVERIFY(f.desk->lineStatus().contains("着信を受けられません"));
        QVERIFY(f.desk->lineStatus().contains("/dev/ttyNOTHING7"));
    }
};

QTEST_MAIN(TestFrmCti)
#include "tst_frmcti.moc"
