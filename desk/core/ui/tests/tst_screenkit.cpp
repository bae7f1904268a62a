#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "accessible.h"
#include "fkeyrow.h"
#include "vxcmdbtn.h"

// The pieces every screen is built with: its function-key caption row and
// the names it gives its controls for assistive technology.
class TestScreenKit : public QObject {
    Q_OBJECT
private slots:
    void captionRowNamesKeysInOrder() {
        QWidget screen;
        ui::FunctionKeyRow row({{Qt::Key_F1, "戻る", {}},
                                {Qt::Key_F5, "登録", {}},
                                {Qt::Key_Escape, "閉じる", {}}},
                               &screen);
        QCOMPARE(row.text(), QStringLiteral("F1 戻る  F5 登録  ESC 閉じる"));
    }

    // A function key presses its button wherever the focus is, but not a
    // disabled one.
    void keyPressesItsButton() {
        QWidget screen;
        auto* layout = new QVBoxLayout(&screen);
        auto* edit = new QLineEdit(&screen);
        auto* save = new vx::VxCmdBtn(QStringLiteral("登録"), &screen);
        save->setObjectName(QStringLiteral("cmd登録"));
        auto* del = new vx::VxCmdBtn(QStringLiteral("削除"), &screen);
        del->setObjectName(QStringLiteral("cmd削除"));
        del->setEnabled(false);
        layout->addWidget(edit);
        layout->addWidget(save);
        layout->addWidget(del);
        layout->addWidget(new ui::FunctionKeyRow(
            {{Qt::Key_F5, "登録", "cmd登録"}, {Qt::Key_F6, "削除", "cmd削除"}}, &screen));
        int saved = 0, deleted = 0;
        connect(save, &vx::VxCmdBtn::Click, this, [&] { ++saved; });
        connect(del, &vx::VxCmdBtn::Click, this, [&] { ++deleted; });
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_F5);
        QTest::keyClick(edit, Qt::Key_F6);
        QCOMPARE(saved, 1);
        QCOMPARE(deleted, 0);
    }

    void labelNamesControl_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "顧客名" << "顧客名";
        QTest::newRow("full-width colon") << "顧客名：" << "顧客名";
        QTest::newRow("colon and blanks") << " 郵便番号 : " << "郵便番号";
        QTest::newRow("ideographic space") << "\u3000住所\u3000" << "住所";
    }
    void labelNamesControl() {
        QFETCH(QString, label);
        QFETCH(QString, name);
        QWidget screen;
        auto* l = new QLabel(label, &screen);
        auto* combo = new QComboBox(&screen);
        combo->setEditable(true);
        ui::nameByLabel(combo, l);
        QCOMPARE(l->buddy(), combo);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(combo);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), name);
        QCOMPARE(combo->lineEdit()->accessibleName(), name);
    }
};

QTEST_MAIN(TestScreenKit)
#include "tst_screenkit.moc"
