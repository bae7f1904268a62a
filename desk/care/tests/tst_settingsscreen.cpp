#include "carefixture.h"

#include <QApplication>
#include <QFocusEvent>

#include "frmmainmenu.h"
#include "screens.h"

namespace {
void leave(QWidget* w) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &out);
}
} // namespace

class TestSettingsScreen : public QObject {
    Q_OBJECT
private slots:
    void noSettingsRowShowsTheDefaultAdapterAndRegisteringCreatesTheRow() {
        CareFixture f([](core::db::Database& d) { d.execute("delete * from 自社情報"); });
        f.open();
        QCOMPARE(f.text("cmbNAdapter"), "アロハPC1");
        QCOMPARE(f.text("cmbTA"), "アロハPC1");
        for (auto [box, value] : {std::pair{"cmbポート番号", "1"},
                                  {"cmbボーレート", "9600"},
                                  {"cmbパリティ", "偶数"},
                                  {"cmbデータビット", "7"},
                                  {"cmbストップビット", "1"}}) {
            QCOMPARE(f.text(box), QString::fromUtf8(value));
        }
        QCOMPARE(f.text("cmb年号"), "西暦");
        QVERIFY(f.checked("Opt受信モード1"));
        QVERIFY(f.checked("Chk着信サウンド"));

        ui::MessageBoxes::script({true});
        f.click("cmd登録");
        QCOMPARE(f.askedTexts(), (QStringList{"設定 を登録します。よろしいですか",
                                              "データ  設定 を登録しました。"}));
        QCOMPARE(f.count("自社情報"), 1);
        QCOMPARE(f.stored("NAdapter").toString(), "アロハPC1");
        QCOMPARE(f.stored("ボーレート").toInt(), 9600);
        QCOMPARE(f.stored("受信モード").toInt(), 1);
        QCOMPARE(f.stored("着信サウンドパス").toString(), core::kDefaultSoundName);
        // The reloaded settings play the shipped sound, not a file of that name.
        QCOMPARE(core::settings().着信サウンドパス, f.files.paths.defaultSoundPath());
    }

    void answeringNoWritesNothing() {
        CareFixture f;
        f.open();
        f.type("cmbポート番号", "4");
        ui::MessageBoxes::script({false});
        f.click("cmd登録");
        QCOMPARE(f.askedTexts().size(), 1);
        QCOMPARE(f.stored("ポート番号").toInt(), 1);
    }

    void registeringStoresEachControl_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("expected"); // invalid: Null
        QTest::newRow("area name emptied is Null") << "txtYubinEriaName"
                                                   << ""
                                                   << "YubinLocalEria" << QVariant();
        QTest::newRow("area name typed") << "txtYubinEriaName"
                                         << "大阪府"
                                         << "YubinLocalEria" << QVariant("大阪府");
        QTest::newRow("sound emptied is the default name")
            << "txtWaveFileName"
            << ""
            << "着信サウンドパス" << QVariant("The Microsoft Sound.wav");
        QTest::newRow("call reading emptied is Null") << "cmb着信読込"
                                                      << ""
                                                      << "着信読込" << QVariant();
        QTest::newRow("era emptied keeps the stored era") << "cmb年号"
                                                          << ""
                                                          << "年号" << QVariant("和暦");
        QTest::newRow("era picked") << "cmb年号"
                                    << "西暦"
                                    << "年号" << QVariant("西暦");
        QTest::newRow("port emptied keeps the stored port") << "cmbポート番号"
                                                            << ""
                                                            << "ポート番号" << QVariant(3);
        QTest::newRow("port typed") << "cmbポート番号"
                                    << "2"
                                    << "ポート番号" << QVariant(2);
        QTest::newRow("speed emptied keeps it") << "cmbボーレート"
                                                << ""
                                                << "ボーレート" << QVariant(19200);
        QTest::newRow("speed picked") << "cmbボーレート"
                                      << "230400"
                                      << "ボーレート" << QVariant(230400);
        QTest::newRow("parity emptied keeps it") << "cmbパリティ"
                                                 << ""
                                                 << "パリティ" << QVariant("奇数");
        QTest::newRow("terminal adapter emptied keeps it")
            << "cmbTA"
            << ""
            << "TA" << QVariant("ＩＮＳメイト Ｖ－８ＤＳＵ");
        QTest::newRow("adapter emptied keeps it")
            << "cmbNAdapter"
            << ""
            << "NAdapter" << QVariant("ＩＮＳメイト Ｖ－８ＤＳＵ");
        QTest::newRow("stop bits emptied keeps them") << "cmbストップビット"
                                                      << ""
                                                      << "ストップビット" << QVariant(2);
    }
    void registeringStoresEachControl() {
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(QString, field);
        QFETCH(QVariant, expected);
        CareFixture f([](core::db::Database& d) {
            d.execute(
                "update 自社情報 set YubinLocalEria = '東京都', 年号 = '和暦', 着信読込 = "
                "'３日以内分', ポート番号 = 3, ボーレート = 19200, パリティ = '奇数', "
                "ストップビット = 2, TA = 'ＩＮＳメイト Ｖ－８ＤＳＵ', NAdapter = 'ＩＮＳメイト "
                "Ｖ－８ＤＳＵ', 着信サウンドパス = '/tmp/a.wav'");
        });
        f.open();
        f.type(control.toUtf8().constData(), typed);
        ui::MessageBoxes::script({true});
        f.click("cmd登録");
        const QVariant got = f.stored(field.toUtf8().constData());
        if (!expected.isValid()) {
            QVERIFY2(got.isNull(), qPrintable(got.toString()));
        } else {
            QCOMPARE(got.toString(), expected.toString());
        }
    }

    void receptionMode_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("written");
        QTest::newRow("0") << QVariant(0) << "Opt受信モード1" << 1;
        QTest::newRow("7") << QVariant(7) << "Opt受信モード1" << 1;
        QTest::newRow("Null") << QVariant() << "Opt受信モード1" << 1;
        QTest::newRow("2") << QVariant(2) << "Opt受信モード2" << 2;
        QTest::newRow("3") << QVariant(3) << "Opt受信モード3" << 3;
    }
    void receptionMode() {
        QFETCH(QVariant, stored);
        QFETCH(QString, shown);
        QFETCH(int, written);
        CareFixture f([&](core::db::Database& d) {
            d.execute("update 自社情報 set 受信モード = ?", {stored});
        });
        f.open();
        QVERIFY(f.checked(shown.toUtf8().constData()));
        ui::MessageBoxes::script({true});
        f.click("cmd登録");
        QCOMPARE(f.stored("受信モード").toInt(), written);
    }

    void nullFieldsShowTheirDefaults() {
        CareFixture f([](core::db::Database& d) {
            d.execute("update 自社情報 set 着信サウンド = Null, 着信認識 = Null, NAdapter = Null, "
                      "TA = Null, パリティ = Null, 着信サウンドパス = Null");
        });
        f.open();
        QVERIFY(f.checked("Chk着信サウンド")); // Null shows on for the sound only
        QVERIFY(!f.checked("chk着信認識"));
        QCOMPARE(f.text("cmbNAdapter"), "アロハPC1");
        QCOMPARE(f.text("cmbTA"), "");
        QCOMPARE(f.text("cmbパリティ"), "偶数");
        QCOMPARE(f.text("txtWaveFileName"), "The Microsoft Sound.wav");
    }

    void clearResetsTheScreenButLeavesTheTerminalAdapter() {
        CareFixture f([](core::db::Database& d) {
            d.execute("update 自社情報 set 着信サウンド = False, 着信認識 = False, TA = "
                      "'ＩＮＳメイト Ｖ－３０ＤＳＵ', NAdapter = 'ＩＮＳメイト Ｖ－３０ＤＳＵ', "
                      "受信モード = 3, 年号 = '和暦', YubinLocalEria = '東京都'");
        });
        f.open();
        f.click("cmdクリア");
        QVERIFY(f.checked("Chk着信サウンド"));
        QVERIFY(f.checked("chk着信認識"));
        QVERIFY(f.checked("Opt受信モード1"));
        QCOMPARE(f.text("cmbTA"), "ＩＮＳメイト Ｖ－３０ＤＳＵ");
        QCOMPARE(f.text("cmbNAdapter"), "アロハPC1");
        QCOMPARE(f.text("cmb年号"), "西暦");
        QCOMPARE(f.text("txtYubinEriaName"), "");
        QCOMPARE(f.text("cmb履歴自動削除"), "自動削除しない");
        QCOMPARE(f.text("txtWaveFileName"), "The Microsoft Sound.wav");
        QVERIFY(ui::MessageBoxes::asked().isEmpty());
        QCOMPARE(f.stored("受信モード").toInt(), 3); // nothing written
    }

    void leavingTheAdapterBoxLoadsItsDefaults() {
        CareFixture f([](core::db::Database& d) {
            d.execute(
                "update 自社情報 set TA = 'ＩＮＳメイト Ｖ－８ＤＳＵ', NAdapter = 'ＩＮＳメイト "
                "Ｖ－８ＤＳＵ', パリティ = 'なし', データビット = 8");
        });
        f.open();
        QCOMPARE(core::settings().パリティ, "なし");

        // Another adapter: the screen only.
        f.type("cmbNAdapter", "ナンバーディスプレイアダプタ３０");
        leave(f.child<QComboBox>("cmbNAdapter"));
        QCOMPARE(f.text("cmbTA"), "なし");
        QCOMPARE(f.text("cmbパリティ"), "偶数");
        QCOMPARE(f.text("cmbデータビット"), "7");
        QCOMPARE(core::settings().NAdapter, "ＩＮＳメイト Ｖ－８ＤＳＵ");
        QCOMPARE(core::settings().パリティ, "なし");

        // An adapter without a row changes nothing.
        f.type("cmbNAdapter", "その他");
        leave(f.child<QComboBox>("cmbNAdapter"));
        QCOMPARE(f.text("cmbTA"), "なし");

        // The default adapter: the line settings in memory too, before 登録.
        f.type("cmbNAdapter", "アロハPC1");
        leave(f.child<QComboBox>("cmbNAdapter"));
        QCOMPARE(f.text("cmbTA"), "アロハPC1");
        QCOMPARE(core::settings().NAdapter, "アロハPC1");
        QCOMPARE(core::settings().TA, "アロハPC1");
        QCOMPARE(core::settings().パリティ, "偶数");
        QCOMPARE(core::settings().データビット, qint16(7));
        QCOMPARE(f.stored("NAdapter").toString(), "ＩＮＳメイト Ｖ－８ＤＳＵ");
    }

    void leavingTheTerminalAdapterBox_data() {
        QTest::addColumn<QString>("ta");
        QTest::addColumn<QString>("parity");
        QTest::newRow("INS V-30 loads the adapter's row") << "ＩＮＳメイト Ｖ－３０ＤＳＵ"
                                                          << "なし";
        QTest::newRow("INS V-8 loads the adapter's row") << "ＩＮＳメイト Ｖ－８ＤＳＵ"
                                                         << "なし";
        QTest::newRow("any other does nothing") << "なし"
                                                << "奇数";
    }
    void leavingTheTerminalAdapterBox() {
        QFETCH(QString, ta);
        QFETCH(QString, parity);
        CareFixture f([](core::db::Database& d) {
            d.execute(
                "update 自社情報 set NAdapter = 'ＩＮＳメイト Ｖ－３０ＤＳＵ', パリティ = '奇数'");
        });
        f.open();
        f.type("cmbTA", ta);
        leave(f.child<QComboBox>("cmbTA"));
        QCOMPARE(f.text("cmbパリティ"), parity);
        QCOMPARE(f.text("cmbTA"), ta == "なし" ? ta : "ＩＮＳメイト Ｖ－３０ＤＳＵ");
    }

    void aRowThatCannotBeStoredIsNotReportedAsRegistered() {
        CareFixture f([](core::db::Database& d) {
            d.executeNative("CREATE TRIGGER no_save BEFORE UPDATE ON 自社情報 BEGIN SELECT "
                            "RAISE(ABORT, 'disk refused'); END");
        });
        f.open();
        f.type("cmbポート番号", "2");
        ui::MessageBoxes::script({true});
        f.click("cmd登録");
        const QStringList asked = f.askedTexts();
        QCOMPARE(asked.size(), 2);
        QVERIFY2(asked[1].contains("登録できませんでした"), qPrintable(asked[1]));
        QCOMPARE(f.stored("ポート番号").toInt(), 1);
    }

    void keyChains_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("to");
        QTest::newRow("era, Enter") << "cmb年号" << int(Qt::Key_Return) << "chkYubinEria";
        QTest::newRow("era, Right") << "cmb年号" << int(Qt::Key_Right) << "chkYubinEria";
        QTest::newRow("era, Down is dropped") << "cmb年号" << int(Qt::Key_Down) << "cmb年号";
        QTest::newRow("area, Down") << "chkYubinEria" << int(Qt::Key_Down) << "txtYubinEriaName";
        QTest::newRow("area, Up") << "chkYubinEria" << int(Qt::Key_Up) << "cmb年号";
        QTest::newRow("honorifics, Up") << "Chk敬称" << int(Qt::Key_Up) << "txtYubinEriaName";
        QTest::newRow("purpose 2, Enter") << "Chk用件2" << int(Qt::Key_Return) << "chk着信認識";
        QTest::newRow("recognition, Down")
            << "chk着信認識" << int(Qt::Key_Down) << "cmb履歴自動削除";
        QTest::newRow("auto delete, Left")
            << "cmb履歴自動削除" << int(Qt::Key_Left) << "chk着信認識";
        QTest::newRow("waiting screen, Right")
            << "cmb着信フォーム" << int(Qt::Key_Right) << "cmb年号";
        QTest::newRow("waiting screen, Left")
            << "cmb着信フォーム" << int(Qt::Key_Left) << "cmb履歴自動削除";
    }
    void keyChains() {
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(QString, to);
        CareFixture f;
        f.open();
        f.screen->show();
        QVERIFY(QTest::qWaitForWindowActive(f.screen.get()));
        auto* start = f.child<QWidget>(from.toUtf8().constData());
        start->setFocus();
        QTRY_VERIFY(start->hasFocus());
        QTest::keyClick(start, Qt::Key(key));
        QCOMPARE(QApplication::focusWidget()->objectName(), to);
    }

    void theEraIsNotTyped() {
        CareFixture f;
        f.open();
        auto* era = f.child<QComboBox>("cmb年号");
        QTest::keyClicks(era, "w");
        QTest::keyClick(era, Qt::Key_Down);
        QCOMPARE(era->currentText(), "西暦");
    }

    void soundFileDialog() {
        CareFixture f;
        f.open();
        ui::FileDialogs::script({"/home/office/ring.wav", ""});
        f.click("cmdWaveFilePath");
        QCOMPARE(f.text("txtWaveFileName"), "/home/office/ring.wav");
        const auto asked = ui::FileDialogs::asked();
        QCOMPARE(asked[0].title, "着信サウンドファイルを指定する");
        QCOMPARE(asked[0].directory, f.files.paths.dataDir);
        QCOMPARE(asked[0].selectedFilter, "WAV ファイル(*.wav) (*.wav)");
        f.click("cmdWaveFilePath"); // cancelled
        QCOMPARE(f.text("txtWaveFileName"), "/home/office/ring.wav");
    }

    void thePortShowsItsDevice() {
        CareFixture f;
        QFile conf(f.files.paths.dataDir + "ports.conf");
        conf.open(QIODevice::WriteOnly);
        conf.write("2=/dev/ttyAMA7\n");
        conf.close();
        f.open();
        f.type("cmbポート番号", "2");
        QCOMPARE(f.child<QLabel>("lblPortDevice")->text(), "デバイス: /dev/ttyAMA7");
        f.type("cmbポート番号", "");
        QCOMPARE(f.child<QLabel>("lblPortDevice")->text(), "");
    }

    void infoNamesTheFilesAndCounts() {
        CareFixture f([](core::db::Database& d) {
            addCustomer(d, 1, "山田商店", {"0311112222", "0311113333"});
            logCall(d, QDateTime(QDate(2026, 1, 5), QTime(9, 0)), 1, "山田商店", "0311112222");
        });
        f.open();
        f.child<QTabWidget>("SSTab1")->setCurrentIndex(4);
        const QString info = f.child<QLabel>("lblInfo")->text();
        QCOMPARE(f.child<QLabel>("lblVersion")->text(), " Ver 2.18");
        QVERIFY(info.contains(f.files.paths.dataDb));
        QVERIFY(info.contains(f.files.paths.postalDb));
        QVERIFY2(info.contains("顧客: 1 件") && info.contains("電話番号: 2 件") &&
                     info.contains("着信履歴: 1 件"),
                 qPrintable(info));
        QVERIFY(info.contains("/dev/tty"));
    }

    void theMenuOpensItAndBackReturnsToTheMenu() {
        CareFixture f;
        ui::screens().registerScreen("FrmHosyu", [] { return new care::FrmHosyu; });
        ui::screens().connectHistory();
        ui::FrmMainMenu menu;
        menu.show();
        auto* button = menu.findChild<vx::VxCmdBtn*>("cmd保守");
        QVERIFY(button->isEnabled());
        button->DoClick();
        QPointer<QWidget> screen = ui::screens().loaded("FrmHosyu");
        QVERIFY(screen && screen->isVisible());
        QCOMPARE(core::screenHistory().entry(0), "FrmMainMenu");
        screen->findChild<vx::VxCmdBtn*>("cmd戻る")->DoClick();
        QTRY_VERIFY(!screen); // closed and unloaded
        QCOMPARE(core::screenHistory().entry(0), "");
        ui::screens().clear();
    }

    void theScreenIsComplete() {
        CareFixture f;
        f.open();
        auto* tabs = f.child<QTabWidget>("SSTab1");
        QStringList captions;
        for (int i = 0; i < tabs->count(); ++i) {
            captions << tabs->tabText(i);
        }
        QCOMPARE(captions, (QStringList{"設定", "データ保守", "ナンバーディスプレイ",
                                        "データ一括削除", "Info"}));
        QCOMPARE(f.screen->windowTitle(), "保守");
        QCOMPARE(f.screen->accessibleName(), "保守");
        QCOMPARE(f.child<QComboBox>("cmbポート番号")->accessibleName(), "ポート番号");
        QCOMPARE(f.child<QComboBox>("cmb年号")->accessibleName(), "年号");
        QCOMPARE(f.child<ui::FunctionKeyRow>("FunctionKeyRow")->text(),
                 "F1 戻る  F2 メイン  F5 登録  F9 クリア  ESC 閉じる");
        // F5 presses 登録 wherever the focus is.
        f.screen->show();
        QVERIFY(QTest::qWaitForWindowActive(f.screen.get()));
        f.type("cmbポート番号", "3");
        ui::MessageBoxes::script({true});
        QTest::keyClick(f.child<QComboBox>("cmbボーレート"), Qt::Key_F5);
        QCOMPARE(f.stored("ポート番号").toInt(), 3);
    }
};

QTEST_MAIN(TestSettingsScreen)
#include "tst_settingsscreen.moc"
