#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
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
        ui::FunctionKeyRow row(
            {{Qt::Key_F1, "戻る", {}}, {Qt::Key_F5, "登録", {}}, {Qt::Key_Escape, "閉じる", {}}},
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
        QTest::newRow("plain") << "顧客名"
                               << "顧客名";
        QTest::newRow("full-width colon") << "顧客名："
                                          << "顧客名";
        QTest::newRow("colon and blanks") << " 郵便番号 : "
                                          << "郵便番号";
        QTest::newRow("ideographic space") << "\u3000住所\u3000"
                                           << "住所";
        QTest::newRow("spaced out") << "メ  モ"
                                    << "メモ";
        QTest::newRow("spaced with a full-width digit") << "住 所 １"
                                                        << "住所１";
        QTest::newRow("Latin words keep their blank") << "Font Name"
                                                      << "Font Name";
        QTest::newRow("mixed") << "E-Mail アドレス"
                               << "E-Mail アドレス";
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

    // A form of "label, control" rows: each label names the input to its
    // right, a box inside a frame and the field of a composite box included.
    void formRowsNameTheirControls() {
        QWidget screen;
        auto* grid = new QGridLayout(&screen);
        auto* name = new QLineEdit(&screen);
        auto* code = new QLineEdit(&screen);
        grid->addWidget(new QLabel("顧客名", &screen), 0, 0);
        grid->addWidget(name, 0, 1);
        grid->addWidget(code, 0, 2); // beside a named field: no label of its own
        // A frame holding a composite box whose inner field takes the focus.
        auto* frame = new QFrame(&screen);
        auto* box = new QWidget(frame);
        auto* field = new QLineEdit(box);
        box->setFocusProxy(field);
        auto* drop = new QToolButton(box);
        drop->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(new QLabel("日  付", &screen), 1, 0);
        grid->addWidget(frame, 1, 1);
        auto* time = new QComboBox(&screen);
        grid->addWidget(new QLabel("時間：", &screen), 1, 2);
        grid->addWidget(time, 1, 3);
        // A label showing a value, then a check box with its own caption.
        auto* shown = new QLabel("山田", &screen);
        auto* done = new QCheckBox("済", &screen);
        grid->addWidget(new QLabel("顧客", &screen), 2, 0);
        grid->addWidget(shown, 2, 1);
        grid->addWidget(done, 2, 2);
        ui::nameByLabels(grid);
        QCOMPARE(name->accessibleName(), "顧客名");
        QVERIFY(code->accessibleName().isEmpty());
        QCOMPARE(box->accessibleName(), "日付");
        QCOMPARE(field->accessibleName(), "日付");
        QVERIFY(frame->accessibleName().isEmpty());
        QCOMPARE(time->accessibleName(), "時間");
        QVERIFY(shown->accessibleName().isEmpty());
        QVERIFY(done->accessibleName().isEmpty());
        QCOMPARE(QAccessible::queryAccessibleInterface(done)->text(QAccessible::Name), "済");
    }
};

QTEST_MAIN(TestScreenKit)
#include "tst_screenkit.moc"
