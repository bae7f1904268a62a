#include <QLabel>
#include <QPlainTextEdit>

#include "deskfixture.h"
#include "hint.h"

// The desk's two hint buttons, each with its own note, and its コード表
// opening the code tables with the desk on the screen history.
class TestDeskHints : public QObject {
    Q_OBJECT

    static masters::Hint* hint() { return qobject_cast<masters::Hint*>(masters::hintWindow()); }
    static QPlainTextEdit* note() { return hint()->findChild<QPlainTextEdit*>("txtContents"); }
    static void press(const char* name) { hint()->findChild<vx::VxCmdBtn*>(name)->DoClick(); }
    static void closeHint() {
        press("cmd閉じる");
        QTRY_VERIFY(!masters::hintWindow());
    }

private slots:
    void eachHintButtonKeepsItsOwnNote() {
        DeskFixture f;
        f.open();
        for (const char* name : {"cmdHint", "cmdHintQ1"}) {
            QVERIFY2(f.child<vx::VxCmdBtn>(name)->isEnabled(), name);
        }
        f.click("cmdHintQ1");
        QVERIFY(hint());
        QCOMPARE(hint()->findChild<QLabel*>("lblFormName")->text(), "FrmCti");
        QCOMPARE(hint()->findChild<QLabel*>("lblCtlName")->text(), "cmdHintQ1");
        QCOMPARE(hint()->findChild<QLabel*>("lblFormTitle")->text(), "顧客管理");
        press("cmd編集");
        note()->setPlainText("着信は必ず担当を入れる");
        ui::MessageBoxes::script({true});
        press("cmd登録");
        closeHint();

        f.click("cmdHint");
        QVERIFY(note()->toPlainText().isEmpty());
        closeHint();
        f.click("cmdHintQ1");
        QCOMPARE(note()->toPlainText(), "着信は必ず担当を入れる");
        QCOMPARE(f.work()
                     .scalar("select FormTitle from RbHint where FormName = 'FrmCti' and "
                             "CtlName = 'cmdHintQ1'")
                     .toString(),
                 "顧客管理");
        closeHint();
    }
};

QTEST_MAIN(TestDeskHints)
#include "tst_deskhints.moc"
