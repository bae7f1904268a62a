#include <QAccessible>

#include "deskfixture.h"

// The desk as a screen reader and UI automation see it: fields named by
// their labels, buttons by their captions, and 閉じる pressed through its
// press action closes the desk.
class TestDeskAccess : public QObject {
    Q_OBJECT
private slots:
    void fieldsAreNamedByTheirLabels_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("customer name") << "cmb顧客名"
                                       << "顧客名";
        QTest::newRow("honorific") << "cmb敬称"
                                   << "敬称";
        QTest::newRow("reading") << "txtふりがな"
                                 << "ふりがな";
        QTest::newRow("postal code") << "txt郵便番号"
                                     << "郵便番号";
        QTest::newRow("address 1") << "txt住所1"
                                   << "住所１";
        QTest::newRow("address 2") << "txt住所2"
                                   << "住所２";
        QTest::newRow("e-mail") << "txtEmail"
                                << "E-Mail";
        QTest::newRow("customer memo") << "txt顧客メモ"
                                       << "メモ";
        QTest::newRow("customer code") << "txt顧客コード"
                                       << "顧客コード";
        QTest::newRow("call date") << "dt日付"
                                   << "日付";
        QTest::newRow("call time") << "dt時間"
                                   << "時間";
        QTest::newRow("number") << "txtTEL"
                                << "電話番号";
        QTest::newRow("staff") << "cmb担当"
                               << "担当";
        QTest::newRow("purpose 1") << "cmb用件1"
                                   << "用件１";
        QTest::newRow("purpose 2") << "cmb用件2"
                                   << "用件2";
        QTest::newRow("call memo") << "txt用件メモ"
                                   << "用件メモ";
    }
    void fieldsAreNamedByTheirLabels() {
        QFETCH(QString, control);
        QFETCH(QString, name);
        DeskFixture f;
        f.open();
        auto* w = f.desk->findChild<QWidget*>(control);
        QVERIFY(w);
        QCOMPARE(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name), name);
        // What takes the focus is what is announced.
        if (QWidget* focus = w->focusProxy()) {
            QCOMPARE(QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name), name);
        }
        if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) {
            QCOMPARE(combo->lineEdit()->accessibleName(), name);
        }
    }

    void windowAndButtons() {
        DeskFixture f;
        f.open().show();
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(f.desk.get());
        QCOMPARE(window->text(QAccessible::Name), "顧客管理");
        for (auto* b : f.desk->findChildren<vx::VxCmdBtn*>()) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
            QCOMPARE(a->role(), QAccessible::PushButton);
            QVERIFY2(!a->text(QAccessible::Name).isEmpty(), qPrintable(b->objectName()));
        }
        QAccessibleInterface* close =
            QAccessible::queryAccessibleInterface(f.child<vx::VxCmdBtn>("cmd閉じる"));
        QCOMPARE(close->text(QAccessible::Name), "閉じる");
        close->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(!f.desk->isVisible());
    }
};

QTEST_MAIN(TestDeskAccess)
#include "tst_deskaccess.moc"
