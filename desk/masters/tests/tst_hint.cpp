#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include "mastersfixture.h"
#include "vxcmdbtn.h"

using masters::Hint;

namespace {

struct Note {
    QString title;
    QString contents;
    bool operator==(const Note&) const = default;
};

void storeNote(core::db::Database& work, const QString& form, const QString& ctl,
               const QString& title, const QString& contents) {
    if (!work.execute("insert into RbHint (FormName, CtlName, FormTitle, Contents) values (?, ?, "
                      "?, ?)",
                      {form, ctl, title, contents})) {
        qFatal("%s", qPrintable(work.lastError()));
    }
}

QList<Note> notes(core::db::Database& work, const QString& form, const QString& ctl) {
    QList<Note> out;
    for (auto rs = work.openRecordset("select * from RbHint where FormName = ? and CtlName = ?",
                                      core::db::Recordset::Kind::Snapshot, {form, ctl});
         !rs.eof(); rs.moveNext()) {
        out << Note{rs.field("FormTitle").toString(), rs.field("Contents").toString()};
    }
    return out;
}

} // namespace

class TestHint : public QObject {
    Q_OBJECT

    std::unique_ptr<MastersFixture> f_;
    std::unique_ptr<QWidget> screen_;

    // A screen named as the hint keys want it.
    QWidget* screen(const QString& name, const QString& title) {
        screen_ = std::make_unique<QWidget>();
        screen_->setObjectName(name);
        screen_->setWindowTitle(title);
        return screen_.get();
    }
    Hint* window() const {
        Hint* h = qobject_cast<Hint*>(masters::hintWindow());
        if (!h) {
            qFatal("no hint window");
        }
        return h;
    }
    QPlainTextEdit* note() const { return window()->findChild<QPlainTextEdit*>("txtContents"); }
    void click(const char* name) const { window()->findChild<vx::VxCmdBtn*>(name)->DoClick(); }
    QString label(const char* name) const { return window()->findChild<QLabel*>(name)->text(); }
    // Opens the note of a button, makes it editable and types it over.
    void write(QWidget* s, const QString& button, const QString& text) {
        masters::OpenHint(s, button);
        click("cmd編集");
        note()->setPlainText(text);
    }
    void closeWindow() {
        click("cmd閉じる");
        QTRY_VERIFY(!masters::hintWindow());
    }

private slots:
    void init() { f_ = std::make_unique<MastersFixture>(); }
    void cleanup() {
        f_.reset();
        screen_.reset();
    }

    void aNewButtonOpensAnEmptyReadOnlyNote() {
        masters::OpenHint(screen("FrmTyakusinList", "着信一覧"), "cmdHint");
        Hint* h = window();
        QCOMPARE(h->windowTitle(), "ヒント        ");
        QVERIFY(h->isVisible() && !h->isModal());
        QCOMPARE(label("lblFormName"), "FrmTyakusinList");
        QCOMPARE(label("lblCtlName"), "cmdHint");
        QCOMPARE(label("lblFormTitle"), "着信一覧");
        QVERIFY(note()->toPlainText().isEmpty());
        QVERIFY(note()->isReadOnly());
        QCOMPARE(h->focusWidget(), note());

        // 編集 toggles editing, and its colour says which state it is in.
        auto* edit = h->findChild<vx::VxCmdBtn*>("cmd編集");
        QCOMPARE(edit->backColor(), QColor(209, 209, 205));
        click("cmd編集");
        QVERIFY(!note()->isReadOnly());
        QCOMPARE(edit->backColor(), QColor(255, 128, 128));
        click("cmd編集");
        QVERIFY(note()->isReadOnly());
        QCOMPARE(edit->backColor(), QColor(209, 209, 205));
    }

    // Saving twice keeps one row per button with the latest text and the
    // caption current at that save; quotes and wildcards are kept as typed.
    void savingReplacesTheButtonsNote() {
        QWidget* s = screen("Frm'Kokyaku*", "顧客");
        write(s, "cmdHint", "一回目");
        ui::MessageBoxes::script({true});
        click("cmd登録");
        QCOMPARE(ui::MessageBoxes::asked().size(), 2);
        QCOMPARE(ui::MessageBoxes::asked()[0].text, "ヒント を登録します。よろしいですか");
        QCOMPARE(ui::MessageBoxes::asked()[0].title, "登録の確認");
        QCOMPARE(ui::MessageBoxes::asked()[1].text, "データ  ヒント を登録しました。");
        QCOMPARE(ui::MessageBoxes::asked()[1].title, "登録完了");
        closeWindow();

        s->setWindowTitle("顧客一覧");
        masters::OpenHint(s, "cmdHint");
        QCOMPARE(note()->toPlainText(), "一回目");
        click("cmd編集");
        note()->setPlainText("O'Brien さんは *午後* に電話\n二行目 %_");
        ui::MessageBoxes::script({true});
        click("cmd登録");
        QCOMPARE(notes(f_->work(), "Frm'Kokyaku*", "cmdHint"),
                 (QList<Note>{{"顧客一覧", "O'Brien さんは *午後* に電話\n二行目 %_"}}));
        QCOMPARE(f_->work().scalar("select count(*) from RbHint").toInt(), 1);
    }

    // Ways of leaving a note that store nothing.
    void nothingIsStored_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("save declined") << "declined";
        QTest::newRow("clear then close") << "clear";
        QTest::newRow("delete declined") << "delete declined";
    }
    void nothingIsStored() {
        QFETCH(QString, how);
        storeNote(f_->work(), "FrmCti", "cmdHint", "顧客管理", "元のメモ");
        QWidget* s = screen("FrmCti", "顧客管理");
        write(s, "cmdHint", "書きかけ");
        ui::MessageBoxes::script({false});
        if (how == "declined") {
            click("cmd登録");
        } else if (how == "clear") {
            click("cmdクリア");
            QVERIFY(note()->toPlainText().isEmpty());
        } else {
            click("cmd削除");
            QCOMPARE(ui::MessageBoxes::asked().value(0).text,
                     "すべてのデータを削除します。よろしいですか");
        }
        QCOMPARE(ui::MessageBoxes::asked().size(), how == "clear" ? 0 : 1);
        closeWindow();
        QCOMPARE(notes(f_->work(), "FrmCti", "cmdHint"), (QList<Note>{{"顧客管理", "元のメモ"}}));
    }

    // Deleting one button's note leaves every other note, also those of the
    // same screen's other buttons.
    void deletingOneNoteLeavesTheOthers() {
        storeNote(f_->work(), "FrmCti", "cmdHint", "顧客管理", "パネル");
        storeNote(f_->work(), "FrmCti", "cmdHintQ1", "顧客管理", "着信");
        storeNote(f_->work(), "FrmHosyu", "cmdHint", "保守", "保守のメモ");
        masters::OpenHint(screen("FrmCti", "顧客管理"), "cmdHint");
        QCOMPARE(note()->toPlainText(), "パネル");
        ui::MessageBoxes::script({true});
        click("cmd削除");
        QCOMPARE(ui::MessageBoxes::asked().last().text, "データ ヒント を削除しました。");
        QCOMPARE(ui::MessageBoxes::asked().last().title, "削除の完了");
        QVERIFY(note()->toPlainText().isEmpty());
        QVERIFY(notes(f_->work(), "FrmCti", "cmdHint").isEmpty());
        QCOMPARE(notes(f_->work(), "FrmCti", "cmdHintQ1"), (QList<Note>{{"顧客管理", "着信"}}));
        QCOMPARE(notes(f_->work(), "FrmHosyu", "cmdHint"), (QList<Note>{{"保守", "保守のメモ"}}));
    }

    // A second hint button brings the open window forward with its note;
    // a save then still belongs to the button that opened it.
    void aSecondButtonKeepsTheOpenNote() {
        storeNote(f_->work(), "FrmCti", "cmdHint", "顧客管理", "パネル");
        storeNote(f_->work(), "FrmCti", "cmdHintQ1", "顧客管理", "着信");
        QWidget* s = screen("FrmCti", "顧客管理");
        masters::OpenHint(s, "cmdHint");
        QPointer<QWidget> first = masters::hintWindow();
        first->showMinimized();
        masters::OpenHint(s, "cmdHintQ1");
        QCOMPARE(masters::hintWindow(), first.data());
        QVERIFY(!(first->windowState() & Qt::WindowMinimized));
        QCOMPARE(note()->toPlainText(), "パネル");
        QCOMPARE(label("lblCtlName"), "cmdHint");
        click("cmd編集");
        note()->setPlainText("パネル改");
        ui::MessageBoxes::script({true});
        click("cmd登録");
        QCOMPARE(notes(f_->work(), "FrmCti", "cmdHint"), (QList<Note>{{"顧客管理", "パネル改"}}));
        QCOMPARE(notes(f_->work(), "FrmCti", "cmdHintQ1"), (QList<Note>{{"顧客管理", "着信"}}));
    }

    // Without a screen or button name there is no note to read or write.
    void anEmptyKeyDoesNothing_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("button");
        QTest::newRow("no screen name") << ""
                                        << "cmdHint";
        QTest::newRow("no button name") << "FrmCti"
                                        << "";
    }
    void anEmptyKeyDoesNothing() {
        QFETCH(QString, form);
        QFETCH(QString, button);
        storeNote(f_->work(), "", "", "", "空のキー");
        write(screen(form, "顧客管理"), button, "メモ");
        ui::MessageBoxes::script({true, true});
        click("cmd登録");
        click("cmd削除");
        QVERIFY(ui::MessageBoxes::asked().isEmpty());
        QCOMPARE(f_->work().scalar("select count(*) from RbHint").toInt(), 1);
    }

    // A note that cannot be stored is never reported as stored, and the old
    // note stays.
    void aFailedSaveIsNotReportedAsStored() {
        storeNote(f_->work(), "FrmCti", "cmdHint", "顧客管理", "元のメモ");
        write(screen("FrmCti", "顧客管理"), "cmdHint", "新しいメモ");
        QVERIFY(f_->work().executeNative("PRAGMA query_only = 1"));
        ui::MessageBoxes::script({true});
        click("cmd登録");
        QVERIFY(f_->work().executeNative("PRAGMA query_only = 0"));
        QCOMPARE(ui::MessageBoxes::asked().size(), 2);
        QVERIFY2(ui::MessageBoxes::asked()[1].text.startsWith("ヒントを登録できませんでした。"),
                 qPrintable(ui::MessageBoxes::asked()[1].text));
        QCOMPARE(notes(f_->work(), "FrmCti", "cmdHint"), (QList<Note>{{"顧客管理", "元のメモ"}}));
        QCOMPARE(note()->toPlainText(), "新しいメモ");
    }
};

QTEST_MAIN(TestHint)
#include "tst_hint.moc"
