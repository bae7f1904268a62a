#include <QTest>

#include "showmsg.h"

using core::MsgStyle;
using ui::MessageBoxes;

class TestShowMsg : public QObject {
    Q_OBJECT
private slots:
    void init() { MessageBoxes::script(); }
    void cleanup() { MessageBoxes::unscript(); }

    void catalogue_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("style");
        const int no = int(MsgStyle::ConfirmDefaultNo), yes = int(MsgStyle::ConfirmDefaultYes);
        const int notice = int(MsgStyle::Notice), warning = int(MsgStyle::Warning);
        QTest::newRow("削除 伝票確認2") << "削除"
                                        << "伝票確認2"
                                        << "指定された電話番号"
                                        << "指定された電話番号 を削除します。よろしいですか"
                                        << "削除の確認" << no;
        QTest::newRow("削除 その他確認") << "削除"
                                         << "その他確認"
                                         << "指定された着信履歴"
                                         << "指定された着信履歴 を削除します。よろしいですか"
                                         << "削除の確認" << no;
        QTest::newRow("削除 確認 ignores text") << "削除"
                                                << "確認"
                                                << "何か"
                                                << "すべてのデータを削除します。よろしいですか"
                                                << "削除の確認" << no;
        QTest::newRow("削除 伝票完了2") << "削除"
                                        << "伝票完了2"
                                        << "指定されたデータ"
                                        << "指定されたデータ を削除しました。"
                                        << "削除の完了" << notice;
        QTest::newRow("削除 完了") << "削除"
                                   << "完了"
                                   << "すべてのデータ"
                                   << "データ すべてのデータ を削除しました。"
                                   << "削除の完了" << notice;
        QTest::newRow("削除 削除不可")
            << "削除"
            << "削除不可"
            << "山田商店"
            << "山田商店 にデータがあるため削除できません。メンテナンス機能で削除してください。"
            << "削除不可" << notice;
        QTest::newRow("登録 確認") << "登録"
                                   << "確認"
                                   << "山田商店"
                                   << "山田商店 を登録します。よろしいですか"
                                   << "登録の確認" << yes;
        QTest::newRow("登録 完了 two blanks") << "登録"
                                              << "完了"
                                              << "設定"
                                              << "データ  設定 を登録しました。"
                                              << "登録完了" << notice;
        QTest::newRow("登録 標準完了") << "登録"
                                       << "標準完了"
                                       << "設定"
                                       << "設定 を登録しました。"
                                       << "登録メッセージ" << notice;
        QTest::newRow("登録 その他") << "登録"
                                     << "その他"
                                     << "任意の文"
                                     << "任意の文"
                                     << "登録完了" << notice;
        QTest::newRow("入力 必須入力なし") << "入力"
                                           << "必須入力なし"
                                           << "顧客名が"
                                           << "顧客名が指定されていません。確認してください"
                                           << "入力注意" << warning;
        QTest::newRow("入力 区分なし") << "入力"
                                       << "区分なし"
                                       << ""
                                       << "区分が指定されていません。区分を指定してください"
                                       << "入力注意" << warning;
        QTest::newRow("行指定 指定なし") << "行指定"
                                         << "指定なし"
                                         << "x"
                                         << "行が指定されていません。行指定してください。"
                                         << "入力注意" << warning;
        QTest::newRow("その他 メッセージ") << "その他"
                                           << "メッセージ"
                                           << "お知らせ"
                                           << "お知らせ"
                                           << "キーチェック" << notice;
        QTest::newRow("その他 ファイルなし") << "その他"
                                             << "ファイルなし"
                                             << "郵便番号辞書"
                                             << "郵便番号辞書がありません。確認してください。"
                                             << "キーチェック" << notice;
        QTest::newRow("その他 読込み完了") << "その他"
                                           << "読込み完了"
                                           << "データを"
                                           << "データを読込みしました。"
                                           << "読込完了" << notice;
        QTest::newRow("その他 コピー完了") << "その他"
                                           << "コピー完了"
                                           << "ファイルを"
                                           << "ファイルをコピーしました。"
                                           << "コピー完了" << notice;
    }
    void catalogue() {
        QFETCH(QString, category);
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(int, style);
        const bool asks =
            style == int(MsgStyle::ConfirmDefaultNo) || style == int(MsgStyle::ConfirmDefaultYes);
        // A Yes counts only for a question.
        MessageBoxes::script({true});
        QCOMPARE(ui::ShowMsg(category, kind, text), asks);
        QCOMPARE(MessageBoxes::asked().size(), 1);
        const auto box = MessageBoxes::asked().first();
        QCOMPARE(box.text, message);
        QCOMPARE(box.title, title);
        QCOMPARE(int(box.style), style);
        MessageBoxes::script({false});
        QCOMPARE(ui::ShowMsg(category, kind, text), false);
    }

    void unknownPairsShowNothing_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("kind");
        QTest::newRow("unknown category") << "更新"
                                          << "確認";
        QTest::newRow("unknown kind") << "削除"
                                      << "確認2";
        QTest::newRow("kind of another category") << "登録"
                                                  << "削除不可";
        QTest::newRow("width matters here") << "削除"
                                            << "伝票確認２";
        QTest::newRow("empty") << ""
                               << "";
    }
    void unknownPairsShowNothing() {
        QFETCH(QString, category);
        QFETCH(QString, kind);
        MessageBoxes::script({true});
        QCOMPARE(ui::ShowMsg(category, kind, "x"), false);
        QVERIFY(MessageBoxes::asked().isEmpty());
    }

    // What each confirmation offers: Yes and No, the question icon, and the
    // preselected answer that Enter gives (No before every deletion).
    void confirmationsOffer_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("preselected");
        const QString yes = "はい(&Y)", no = "いいえ(&N)";
        QTest::newRow("削除 伝票確認2") << "削除"
                                        << "伝票確認2" << no;
        QTest::newRow("削除 その他確認") << "削除"
                                         << "その他確認" << no;
        QTest::newRow("削除 確認") << "削除"
                                   << "確認" << no;
        QTest::newRow("登録 確認") << "登録"
                                   << "確認" << yes;
    }
    void confirmationsOffer() {
        QFETCH(QString, category);
        QFETCH(QString, kind);
        QFETCH(QString, preselected);
        MessageBoxes::script({true, false});
        QVERIFY(ui::ShowMsg(category, kind, "A"));
        QVERIFY(!ui::ShowMsg(category, kind, "A"));
        QVERIFY(!ui::ShowMsg(category, kind, "A")); // no answer left: No
        const auto asked = MessageBoxes::asked();
        QCOMPARE(asked.size(), 3);
        for (const auto& box : asked) {
            QStringList buttons = box.buttons;
            buttons.sort();
            QCOMPARE(buttons, QStringList({"いいえ(&N)", "はい(&Y)"}));
            QCOMPARE(box.defaultButton, preselected);
            QCOMPARE(box.icon, QMessageBox::Question);
        }
    }

    void noticesOfferOk_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("icon");
        QTest::newRow("notice") << "削除"
                                << "完了" << int(QMessageBox::Information);
        QTest::newRow("warning") << "入力"
                                 << "必須入力なし" << int(QMessageBox::Warning);
        QTest::newRow("row warning") << "行指定"
                                     << "指定なし" << int(QMessageBox::Warning);
    }
    void noticesOfferOk() {
        QFETCH(QString, category);
        QFETCH(QString, kind);
        QFETCH(int, icon);
        MessageBoxes::script({true});
        QVERIFY(!ui::ShowMsg(category, kind, "A"));
        const auto box = MessageBoxes::asked().first();
        QCOMPARE(box.buttons, QStringList{"OK"});
        QCOMPARE(box.defaultButton, "OK");
        QCOMPARE(int(box.icon), icon);
        // A notice takes no answer: the Yes is left for the next question.
        QVERIFY(ui::ShowMsg("登録", "確認", "A"));
    }

    void bothDeleteConfirmationsAreTheSameBox() {
        ui::ShowMsg("削除", "伝票確認2", "A");
        ui::ShowMsg("削除", "その他確認", "A");
        const auto asked = MessageBoxes::asked();
        QCOMPARE(asked[0].text, asked[1].text);
        QCOMPARE(asked[0].title, asked[1].title);
        QCOMPARE(int(asked[0].style), int(asked[1].style));
    }
};

QTEST_MAIN(TestShowMsg)
#include "tst_showmsg.moc"
