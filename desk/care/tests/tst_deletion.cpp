#include "carefixture.h"

#include "clsgojuren.h"
#include "deletion.h"
#include "hint.h"

#include <QApplication>
#include <QTableView>

#include <sqlite3.h>

namespace {

// Two customers with numbers and calls, and a call of an unregistered caller.
void someData(core::db::Database& d) {
    addCustomer(d, 1, "山田商店", {"0311112222", "0311113333"});
    addCustomer(d, 2, "佐藤工務店", {"0322223333"});
    logCall(d, QDateTime(QDate(2026, 3, 1), QTime(9, 0)), 1, "山田商店", "0311112222");
    logCall(d, QDateTime(QDate(2026, 3, 1), QTime(9, 5)), 1, "山田商店", "0311113333");
    logCall(d, QDateTime(QDate(2026, 3, 1), QTime(9, 10)), 2, "佐藤工務店", "0322223333");
    logCall(d, QDateTime(QDate(2026, 3, 1), QTime(9, 20)), 0, "名称未登録", "0399990000");
}

struct Counts {
    int calls, customers, numbers, codeRows, codeNames, settings;
};
Counts counts(const CareFixture& f) {
    return {f.count("着信履歴"),
            f.count("顧客マスタ"),
            f.count("電話番号"),
            f.count("コードマスタ"),
            f.data().scalar("select count(*) from コードマスタ where sname is not null").toInt(),
            f.count("自社情報")};
}

} // namespace

Q_DECLARE_METATYPE(Counts)

class TestDeletion : public QObject {
    Q_OBJECT
private slots:
    void commands_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QStringList>("emptied"); // of 着信履歴, 顧客, 電話番号, 名前, 設定
        QTest::newRow("all data") << "cmd一括削除5"
                                  << "すべてのデータ"
                                  << QStringList{"calls", "customers", "numbers", "names",
                                                 "settings"};
        QTest::newRow("all customers")
            << "cmd一括削除2"
            << "すべての顧客情報、着信履歴" << QStringList{"calls", "customers", "numbers"};
        QTest::newRow("code tables") << "cmd一括削除3"
                                     << "すべてのコード表" << QStringList{"names"};
        QTest::newRow("call log") << "cmd一括削除4"
                                  << "すべての着信履歴" << QStringList{"calls"};
    }
    void commands() {
        QFETCH(QString, button);
        QFETCH(QString, subject);
        QFETCH(QStringList, emptied);
        CareFixture f(someData);
        f.open();
        const Counts before = counts(f);
        QVERIFY(before.calls > 0 && before.codeNames > 0 && before.settings == 1);

        // No deletes nothing and says nothing more.
        ui::MessageBoxes::script({false});
        f.click(button.toUtf8().constData());
        QCOMPARE(f.askedTexts(), QStringList{subject + " を削除します。よろしいですか"});
        QCOMPARE(counts(f).calls, before.calls);
        QCOMPARE(counts(f).codeNames, before.codeNames);

        // Yes: one question and one notice, even for everything.
        ui::MessageBoxes::script({true});
        f.click(button.toUtf8().constData());
        QCOMPARE(f.askedTexts(), (QStringList{subject + " を削除します。よろしいですか",
                                              subject + " を削除しました。"}));
        const Counts after = counts(f);
        QCOMPARE(after.calls, emptied.contains("calls") ? 0 : before.calls);
        QCOMPARE(after.customers, emptied.contains("customers") ? 0 : before.customers);
        QCOMPARE(after.numbers, emptied.contains("numbers") ? 0 : before.numbers);
        QCOMPARE(after.codeNames, emptied.contains("names") ? 0 : before.codeNames);
        QCOMPARE(after.codeRows, before.codeRows); // code rows are never removed
        QCOMPARE(after.settings, emptied.contains("settings") ? 0 : 1);
    }

    void afterDeletingEverythingRegisteringCreatesTheSettingsRow() {
        CareFixture f(someData);
        f.open();
        f.type("cmbポート番号", "2");
        ui::MessageBoxes::script({true, true});
        f.click("cmd一括削除5");
        QCOMPARE(f.count("自社情報"), 0);
        QCOMPARE(f.text("cmbポート番号"), "2"); // the tabs keep their values
        f.click("cmd登録");
        QCOMPARE(f.count("自社情報"), 1);
        QCOMPARE(f.stored("ポート番号").toInt(), 2);
    }

    void theChosenCustomerGoesWithItsCallsByCode() {
        CareFixture f(someData);
        f.open();
        f.screen->SetKokyaku("1");
        QCOMPARE(f.text("txt顧客"), "山田商店");
        ui::MessageBoxes::script({true});
        f.click("cmd一括削除1");
        QCOMPARE(f.askedTexts(),
                 (QStringList{"山田商店の顧客情報、着信履歴 を削除します。よろしいですか",
                              "山田商店の顧客情報、着信履歴 を削除しました。"}));
        QCOMPARE(f.count("顧客マスタ"), 1);
        QCOMPARE(f.count("電話番号"), 1);
        QCOMPARE(f.data().scalar("select count(*) from 着信履歴 where code = 1").toInt(), 0);
        QCOMPARE(f.data().scalar("select count(*) from 着信履歴 where code = 0").toInt(), 1);
        QCOMPARE(f.data().scalar("select count(*) from 着信履歴 where code = 2").toInt(), 1);
        QCOMPARE(f.text("txt顧客"), "");
        QCOMPARE(f.text("txt顧客コード"), "");
    }

    void thePickerFillsBothBoxes_data() {
        QTest::addColumn<bool>("pick");
        QTest::newRow("選択") << true;
        QTest::newRow("閉じる") << false;
    }
    void thePickerFillsBothBoxes() {
        QFETCH(bool, pick);
        CareFixture f([](core::db::Database& d) {
            someData(d);
            d.execute("insert into 顧客マスタ (code, 名称, ふりがな) values (7, 'あおば薬局', "
                      "'あおばやっきょく')");
        });
        f.open();
        f.screen->SetKokyaku("2");
        f.screen->show();
        QVERIFY(QTest::qWaitForWindowActive(f.screen.get()));
        ClsGojuren::dialogScript() = [&](QDialog& d) {
            for (auto* b : d.findChildren<vx::VxCmdBtn*>("cmd50")) {
                if (b->caption() == "あ") {
                    b->DoClick();
                }
            }
            QCOMPARE(d.findChild<QTableView*>("Grid参照")->model()->rowCount(), 1);
            d.findChild<vx::VxCmdBtn*>(pick ? "cmd選択" : "cmd閉じる")->DoClick();
        };
        f.click("cmd顧客参照");
        ClsGojuren::dialogScript() = nullptr;
        QCOMPARE(f.text("txt顧客コード"), pick ? "7" : "2");
        QCOMPARE(f.text("txt顧客"), pick ? "あおば薬局" : "佐藤工務店");
        QTRY_COMPARE(QApplication::focusWidget(), f.child<QLineEdit>("txt顧客"));
        if (pick) {
            QCOMPARE(core::currentCustomer().code, 7);
        }
    }

    void hintButtonsOpenTheHintWindow() {
        CareFixture f;
        f.open();
        for (const char* name : {"cmdHint1", "cmdHint2", "cmdHint3", "cmdHint4"}) {
            f.click(name);
            QVERIFY2(masters::hintWindow(), name);
            QCOMPARE(masters::hintKeys().formName, "FrmHosyu");
            QCOMPARE(masters::hintKeys().ctlName, QString::fromUtf8(name));
            QCOMPARE(masters::hintKeys().formTitle, "保守");
            masters::hintWindow()->close();
            QTRY_VERIFY(!masters::hintWindow());
        }
    }

    void anEmptyNameWarnsEvenWithACode_data() {
        QTest::addColumn<QString>("code");
        QTest::newRow("no customer of that code") << "99";
        QTest::newRow("no code either") << "";
    }
    void anEmptyNameWarnsEvenWithACode() {
        QFETCH(QString, code);
        CareFixture f(someData);
        f.open();
        f.screen->SetKokyaku(code);
        QCOMPARE(f.text("txt顧客"), "");
        ui::MessageBoxes::script({true});
        f.click("cmd一括削除1");
        QCOMPARE(f.askedTexts(), QStringList{"顧客名が指定されていません。確認してください"});
        QCOMPARE(ui::MessageBoxes::asked()[0].style, core::MsgStyle::Warning);
        QCOMPARE(f.count("顧客マスタ"), 2);
    }

    void typedCodesFindTheirName() {
        CareFixture f(someData);
        f.open();
        auto* code = f.child<QLineEdit>("txt顧客コード");
        QTest::keyClicks(code, "2");
        QCOMPARE(f.text("txt顧客"), "佐藤工務店");
        QTest::keyClicks(code, "x1"); // letters are not taken
        QCOMPARE(f.text("txt顧客コード"), "21");
        QCOMPARE(f.text("txt顧客"), "");
        QVERIFY(f.child<QLineEdit>("txt顧客")->isReadOnly());
    }

    // A file that fails under a command leaves everything the command names
    // as it was: no customers gone while their numbers stay.
    void aFileFailureUndoesTheWholeCommand() {
        TestFiles files;
        auto data = files.data();
        someData(*data);
        // The disk gives out when the numbers are deleted, after the calls and
        // the customers have gone.
        sqlite3_create_function(
            data->handle(), "disk_gives_out", 0, SQLITE_UTF8, nullptr,
            [](sqlite3_context* ctx, int, sqlite3_value**) {
                sqlite3_result_error_code(ctx, SQLITE_IOERR_WRITE);
            },
            nullptr, nullptr);
        QVERIFY(data->executeNative("CREATE TEMP TRIGGER give_out BEFORE DELETE ON main.電話番号 "
                                    "BEGIN SELECT disk_gives_out(); END"));
        const care::Deleted d = care::deleteAllKokyaku(*data);
        QVERIFY(!d.ok);
        QVERIFY(!d.error.isEmpty());
        QCOMPARE(data->scalar("select count(*) from 着信履歴").toInt(), 4);
        QCOMPARE(data->scalar("select count(*) from 顧客マスタ").toInt(), 2);
        QCOMPARE(data->scalar("select count(*) from 電話番号").toInt(), 3);
        // The calls could be deleted on their own: they were, and came back.
        QVERIFY(care::deleteAllCalls(*data).ok);
        QCOMPARE(data->scalar("select count(*) from 着信履歴").toInt(), 0);
    }

    void aStatementOfItsOwnFailingDoesNotStopTheOthers() {
        TestFiles files;
        auto data = files.data();
        someData(*data);
        data->executeNative("DROP TABLE 着信履歴");
        QVERIFY(care::deleteAllKokyaku(*data).ok);
        QCOMPARE(data->scalar("select count(*) from 顧客マスタ").toInt(), 0);
        QCOMPARE(data->scalar("select count(*) from 電話番号").toInt(), 0);
    }
};

QTEST_MAIN(TestDeletion)
#include "tst_deletion.moc"
