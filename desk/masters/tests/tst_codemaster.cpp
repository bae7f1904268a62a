#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "codegrid.h"
#include "fkeyrow.h"
#include "frmcodemaster.h"
#include "frmcti.h"
#include "frmmainmenu.h"
#include "mastersfixture.h"
#include "screens.h"
#include "vxcmdbtn.h"

using masters::ColCheck;
using masters::ColCnt;
using masters::ColCode;
using masters::ColName;
using masters::FrmCodeMaster;

namespace {

// code → (sname, Cnt) of one kind as stored; Null stays a null QVariant.
using Stored = QMap<QString, QPair<QVariant, QVariant>>;
Stored stored(core::db::Database& data, const QString& kind) {
    Stored out;
    for (auto rs = data.openRecordset("select * from コードマスタ where kcode = ?",
                                      core::db::Recordset::Kind::Snapshot, {kind});
         !rs.eof(); rs.moveNext()) {
        out.insert(rs.field("code").toString(), {rs.field("sname"), rs.field("Cnt")});
    }
    return out;
}

void storeName(core::db::Database& data, const QString& kind, const QString& code,
               const QString& name, const QVariant& cnt = {}) {
    if (!data.execute("update コードマスタ set sname = ?, Cnt = ? where kcode = ? and code = ?",
                      {name, cnt, kind, code})) {
        qFatal("%s", qPrintable(data.lastError()));
    }
}

QStringList items(const QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) {
        out << combo->itemText(i);
    }
    return out;
}

QString code(int row) {
    return QString("%1").arg(row + 1, 2, 10, QLatin1Char('0'));
}

} // namespace

class TestCodeMaster : public QObject {
    Q_OBJECT

    std::unique_ptr<MastersFixture> f_;
    std::unique_ptr<FrmCodeMaster> screen_;

    FrmCodeMaster& open(const std::function<void(core::db::Database&)>& prepare = {}) {
        f_ = std::make_unique<MastersFixture>(prepare);
        screen_ = std::make_unique<FrmCodeMaster>();
        screen_->show();
        if (!QTest::qWaitForWindowActive(screen_.get())) {
            qWarning("the screen did not become active");
        }
        return *screen_;
    }
    void click(const char* name) { screen_->findChild<vx::VxCmdBtn*>(name)->DoClick(); }
    void setCell(int row, int column, const QVariant& v) {
        QVERIFY2(screen_->gridModel()->setData(screen_->gridModel()->index(row, column), v),
                 qPrintable(screen_->gridModel()->lastError()));
    }
    // The first key opens the cell's editor, the rest go into it.
    static void typeIntoCell(QWidget* grid, const QString& text) {
        QTest::keyClick(grid, text.at(0).toLatin1());
        QTest::keyClicks(QApplication::focusWidget(), text.mid(1));
    }
    QVariant cell(int row, const char* field) const {
        return screen_->gridModel()->value(row, field);
    }
    void chooseKind(const QString& kind) {
        screen_->kindBox()->setCurrentText(kind);
        emit screen_->kindBox()->activated(screen_->kindBox()->currentIndex());
    }

private slots:
    void cleanup() {
        screen_.reset();
        f_.reset();
        ui::screens().clear();
    }

    // Opening: the staff at their codes, first row current, typing in names.
    void openingShowsTheStaffAtTheirCodes() {
        FrmCodeMaster& s = open([](core::db::Database& data) {
            storeName(data, "担当", "02", "佐藤", 3);
            storeName(data, "担当", "05", "鈴木");
        });
        QCOMPARE(s.windowTitle(), "コード表");
        QCOMPARE(items(s.kindBox()), FrmCodeMaster::kinds());
        QCOMPARE(s.kind(), "担当");
        QCOMPARE(s.gridModel()->rowCount(), 99);
        for (int row = 0; row < 99; ++row) {
            QCOMPARE(cell(row, "code").toString(), code(row));
            QCOMPARE(cell(row, "チェック").toBool(), false);
        }
        QCOMPARE(cell(1, "sname").toString(), "佐藤");
        QCOMPARE(cell(1, "Cnt").toInt(), 3);
        QCOMPARE(cell(4, "sname").toString(), "鈴木");
        QVERIFY(cell(0, "sname").isNull() && cell(4, "Cnt").isNull());
        QCOMPARE(s.grid()->currentIndex(), s.gridModel()->index(0, ColName));
        QCOMPARE(s.focusWidget(), s.grid());
        QVERIFY(s.grid()->testAttribute(Qt::WA_InputMethodEnabled));
        QCOMPARE(s.findChild<ui::FunctionKeyRow*>()->text(),
                 "F1 戻る  F2 メイン  F5 登録  F6 行削除  F9 クリア  ESC 閉じる");
        QCOMPARE(s.gridModel()->headerData(ColName, Qt::Horizontal).toString(), "名　　　　　称");
    }

    // What a save stores and how the desk's pick lists then show it.
    void savingFeedsThePickLists_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("edits"); // "row|name|cnt"
        QTest::addColumn<QString>("deskList");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("three names in code order")
            << "担当" << QStringList{"0|田中|", "1|佐藤|", "4|鈴木|"} << "cmb担当"
            << QStringList{"田中", "佐藤", "鈴木"};
        QTest::newRow("sort numbers first") << "担当" << QStringList{"0|田中|2", "1|佐藤|1"}
                                            << "cmb担当" << QStringList{"佐藤", "田中"};
        QTest::newRow("no sort number before any") << "担当" << QStringList{"0|田中|1", "2|山本|"}
                                                   << "cmb担当" << QStringList{"山本", "田中"};
        QTest::newRow("full-width purpose kind")
            << "用件１" << QStringList{"6|予約|"} << "cmb用件1"
            << QStringList{"問合せ", "注文", "見積依頼", "修理依頼", "苦情", "その他", "予約"};
        QTest::newRow("quotes and wildcards")
            << "担当" << QStringList{"0|O'Brien|", "1|*%_?[a]|", "2|'';--|"} << "cmb担当"
            << QStringList{"O'Brien", "*%_?[a]", "'';--"};
        QTest::newRow("honorific replaced") << "敬称" << QStringList{"0|さま|"} << "cmb敬称"
                                            << QStringList{"さま", "御中", "殿", "先生"};
    }
    void savingFeedsThePickLists() {
        QFETCH(QString, kind);
        QFETCH(QStringList, edits);
        QFETCH(QString, deskList);
        QFETCH(QStringList, listed);
        FrmCodeMaster& s = open();
        chooseKind(kind);
        for (const QString& e : edits) {
            const QStringList p = e.split('|');
            setCell(p[0].toInt(), ColName, p[1]);
            setCell(p[0].toInt(), ColCnt, p[2]);
        }
        ui::MessageBoxes::script({true});
        QVERIFY(s.Entryコードマスタ(true));
        QCOMPARE(MastersFixture::asked(),
                 (QStringList{kind + " を登録します。よろしいですか", kind + " を登録しました。"}));
        QCOMPARE(ui::MessageBoxes::asked().last().title, "登録メッセージ");

        const Stored rows = stored(f_->data(), kind);
        QCOMPARE(rows.size(), 99);
        QCOMPARE(rows.firstKey(), "01");
        QCOMPARE(rows.lastKey(), "99");
        for (const QString& e : edits) {
            const QStringList p = e.split('|');
            QCOMPARE(rows.value(code(p[0].toInt())).first.toString(), p[1]);
            QCOMPARE(rows.value(code(p[0].toInt())).second.isNull(), p[2].isEmpty());
        }
        // The grid is emptied and the kind box takes the focus.
        for (int row = 0; row < 99; ++row) {
            QVERIFY(cell(row, "sname").isNull());
        }
        QCOMPARE(s.focusWidget(), s.kindBox());

        desk::FrmCti desk;
        QCOMPARE(items(desk.findChild<QComboBox*>(deskList)), listed);
    }

    // Reading a kind, changing one name and saving keeps every other row,
    // also a code the grid has no row for.
    void aSaveKeepsWhatItDidNotChange() {
        FrmCodeMaster& s = open([](core::db::Database& data) {
            storeName(data, "担当", "03", "山田", 7);
            storeName(data, "担当", "10", "川口");
            data.execute("insert into コードマスタ (kcode, code, sname, Cnt) values ('担当', 'A1', "
                         "'外部', 1)");
        });
        setCell(0, ColName, "田中");
        ui::MessageBoxes::script({true});
        QVERIFY(s.Entryコードマスタ(true));
        const Stored rows = stored(f_->data(), "担当");
        QCOMPARE(rows.size(), 100);
        QCOMPARE(rows.value("01").first.toString(), "田中");
        QCOMPARE(rows.value("03"), (QPair<QVariant, QVariant>{"山田", 7}));
        QCOMPARE(rows.value("10").first.toString(), "川口");
        QCOMPARE(rows.value("A1"), (QPair<QVariant, QVariant>{"外部", 1}));
        // Other kinds are untouched.
        QCOMPARE(stored(f_->data(), "敬称").value("01").first.toString(), "様");
    }

    void aNameIsCutToTheListsSize() {
        FrmCodeMaster& s = open();
        const QString longName = QString("長い名前").repeated(20); // 80 characters
        setCell(0, ColName, longName);
        QCOMPARE(cell(0, "sname").toString(), longName.left(masters::CodeGridModel::nameSize()));
        ui::MessageBoxes::script({true});
        QVERIFY(s.Entryコードマスタ(true));
        QCOMPARE(stored(f_->data(), "担当").value("01").first.toString(), longName.left(50));
    }

    // A save that fails part-way or at once leaves the kind as stored, says
    // so instead of "登録しました", and keeps the grid for another try.
    void aFailedSaveLeavesTheKindAsItWas_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("read-only database") << "query_only";
        QTest::newRow("a row refused part-way") << "trigger";
    }
    void aFailedSaveLeavesTheKindAsItWas() {
        QFETCH(QString, how);
        FrmCodeMaster& s = open([&](core::db::Database& data) {
            storeName(data, "担当", "01", "元の名前", 5);
            storeName(data, "担当", "60", "後の名前");
            if (how == "trigger") {
                QVERIFY(data.executeNative("CREATE TRIGGER refuse BEFORE INSERT ON コードマスタ "
                                           "WHEN NEW.code = '50' BEGIN SELECT RAISE(ABORT, "
                                           "'disk I/O error'); END"));
            }
        });
        const Stored before = stored(f_->data(), "担当");
        if (how == "query_only") {
            QVERIFY(f_->data().executeNative("PRAGMA query_only = 1"));
        }
        setCell(0, ColName, "新しい名前");
        setCell(59, ColName, "");
        ui::MessageBoxes::script({true});
        QVERIFY(!s.Entryコードマスタ(true));
        if (how == "query_only") {
            QVERIFY(f_->data().executeNative("PRAGMA query_only = 0"));
        }
        QCOMPARE(stored(f_->data(), "担当"), before);
        const QStringList asked = MastersFixture::asked();
        QCOMPARE(asked.size(), 2);
        QVERIFY2(asked.last().startsWith("担当 を登録できませんでした。"),
                 qPrintable(asked.last()));
        QCOMPARE(cell(0, "sname").toString(), "新しい名前");
    }

    // Saves that stop before writing anything.
    void nothingIsSaved_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("no name at all") << "担当"
                                        << "" << true << QStringList{};
        QTest::newRow("declined") << "担当"
                                  << "田中" << false
                                  << QStringList{"担当 を登録します。よろしいですか"};
        QTest::newRow("no kind") << ""
                                 << "田中" << true
                                 << QStringList{"区分が指定されていません。区分を指定してください"};
    }
    void nothingIsSaved() {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(bool, answer);
        QFETCH(QStringList, asked);
        FrmCodeMaster& s = open();
        const Stored before = stored(f_->data(), "担当");
        if (!name.isEmpty()) {
            setCell(0, ColName, name);
        }
        if (kind.isEmpty()) {
            s.kindBox()->setCurrentIndex(-1);
        }
        ui::MessageBoxes::script({answer});
        click("cmd登録");
        QCOMPARE(MastersFixture::asked(), asked);
        QCOMPARE(stored(f_->data(), "担当"), before);
        if (!name.isEmpty()) {
            QCOMPARE(cell(0, "sname").toString(), name);
        }
    }

    // Deleting ticked rows clears their names and saves the kind at once.
    void deletingTickedRows_data() {
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("left"); // names of 01..05 afterwards
        QTest::newRow("two rows") << QList<int>{2, 3} << true
                                  << QStringList{"一", "二", "", "", "五"};
        QTest::newRow("declined") << QList<int>{2} << false
                                  << QStringList{"一", "二", "三", "四", "五"};
        QTest::newRow("nothing ticked")
            << QList<int>{} << true << QStringList{"一", "二", "三", "四", "五"};
    }
    void deletingTickedRows() {
        QFETCH(QList<int>, ticked);
        QFETCH(bool, answer);
        QFETCH(QStringList, left);
        FrmCodeMaster& s = open([](core::db::Database& data) {
            const QStringList names{"一", "二", "三", "四", "五"};
            for (int i = 0; i < names.size(); ++i) {
                storeName(data, "担当", code(i), names[i], i + 2);
            }
        });
        for (int row : ticked) {
            // A double-click on the row is the user's way of ticking it.
            const QRect r = s.grid()->visualRect(s.gridModel()->index(row, ColCode));
            // (QTest's double-click is the second press alone.)
            QTest::mouseClick(s.grid()->viewport(), Qt::LeftButton, {}, r.center());
            QTest::mouseDClick(s.grid()->viewport(), Qt::LeftButton, {}, r.center());
            QVERIFY(cell(row, "チェック").toBool());
        }
        ui::MessageBoxes::script({answer});
        click("cmd削除");
        QCOMPARE(MastersFixture::asked(),
                 ticked.isEmpty() ? QStringList{}
                                  : QStringList{"指定されたデータ を削除します。よろしいですか"});
        const Stored rows = stored(f_->data(), "担当");
        QCOMPARE(rows.size(), 99);
        for (int i = 0; i < left.size(); ++i) {
            QCOMPARE(rows.value(code(i)).first.toString(), left[i]);
            QCOMPARE(rows.value(code(i)).second.toInt(), i + 2); // sort numbers stay
        }
        if (ticked.isEmpty()) {
            QCOMPARE(s.focusWidget(), s.kindBox());
        }
        if (answer && !ticked.isEmpty()) {
            QVERIFY(cell(0, "sname").isNull()); // the grid is empty until the next read
        }
    }

    // The kind box is chosen, never typed into; a choice loads at once.
    void theKindBox() {
        FrmCodeMaster& s = open();
        QComboBox* box = s.kindBox();
        box->setFocus();
        QTest::keyClicks(box, "xt");
        QKeyEvent kana(QEvent::KeyPress, 0, Qt::NoModifier, "用");
        QApplication::sendEvent(box, &kana);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(s.kind(), "担当");
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(box, Qt::Key_Down);
        }
        QCOMPARE(s.kind(), "敬称");
        QCOMPARE(cell(0, "sname").toString(), "様");
        QCOMPARE(cell(3, "sname").toString(), "先生");
        QCOMPARE(s.focusWidget(), s.grid());
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(s.focusWidget(), s.grid());
        // クリア: the first kind, nothing read, focus to the kind box.
        click("cmdクリア");
        QCOMPARE(s.kind(), "担当");
        QVERIFY(cell(0, "sname").isNull());
        QCOMPARE(s.focusWidget(), s.kindBox());
    }

    // Typing in the grid: names, Enter down the name column, Null for empty
    // cells, the code and tick columns kept to what they hold.
    void theGrid() {
        FrmCodeMaster& s = open();
        masters::CodeGrid* grid = s.grid();
        grid->setFocus();
        grid->setCurrentIndex(s.gridModel()->index(97, ColName));
        typeIntoCell(grid, "Abe");
        QVERIFY(grid->editing());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(grid->currentIndex(), s.gridModel()->index(98, ColName));
        QCOMPARE(cell(97, "sname").toString(), "Abe");
        // At the last row Enter commits and stays.
        typeIntoCell(grid, "Ito");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::qWait(0);
        QCOMPARE(grid->currentIndex(), s.gridModel()->index(98, ColName));
        QCOMPARE(cell(98, "sname").toString(), "Ito");
        // F5 while a cell is still being typed saves what was typed.
        grid->setCurrentIndex(s.gridModel()->index(0, ColName));
        typeIntoCell(grid, "Ueda");
        ui::MessageBoxes::script({true});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
        QCOMPARE(stored(f_->data(), "担当").value("01").first.toString(), "Ueda");

        // The code column takes no typing and cannot be emptied.
        grid->setCurrentIndex(s.gridModel()->index(5, ColCode));
        QVERIFY(!grid->testAttribute(Qt::WA_InputMethodEnabled));
        QTest::keyClicks(grid, "9x");
        QTest::keyClick(grid, Qt::Key_Delete);
        QVERIFY(!grid->editing());
        QCOMPARE(grid->currentIndex().row(), 5);
        QVERIFY(!s.gridModel()->setData(s.gridModel()->index(5, ColCode), QString()));
        QCOMPARE(cell(5, "code").toString(), "06");

        setCell(1, ColName, "消す名前");
        setCell(1, ColCnt, "4");
        setCell(1, ColName, "");
        setCell(1, ColCnt, "");
        QVERIFY(cell(1, "sname").isNull() && cell(1, "Cnt").isNull());
        QVERIFY(!s.gridModel()->setData(s.gridModel()->index(1, ColCnt), "abc"));
        setCell(2, ColCheck, true);
        setCell(2, ColCheck, "どれでもない");
        QCOMPARE(cell(2, "チェック").toBool(), false);
    }

    // Opened from the menu and from the desk, each going on the screen
    // history; 戻る and メイン leave by it.
    void openingAndLeaving() {
        f_ = std::make_unique<MastersFixture>();
        ui::screens().registerScreen("FrmCodeMaster", [] { return new FrmCodeMaster; });
        ui::screens().registerScreen("FrmCti", [] { return new desk::FrmCti; });
        ui::FrmMainMenu menu;
        menu.show();
        auto* menuButton = menu.findChild<vx::VxCmdBtn*>("cmdコード表");
        QVERIFY(menuButton->isEnabled());
        menuButton->DoClick();
        QPointer<QWidget> codes = ui::screens().loaded("FrmCodeMaster");
        QVERIFY(codes && codes->isVisible());
        QCOMPARE(core::screenHistory().entry(0), "FrmMainMenu");

        QWidget* desk = ui::screens().show("FrmCti");
        auto* deskButton = desk->findChild<vx::VxCmdBtn*>("cmdコード表");
        QVERIFY(deskButton->isEnabled());
        deskButton->DoClick();
        QCOMPARE(ui::screens().loaded("FrmCodeMaster"), codes.data());
        QCOMPARE(core::screenHistory().entry(0), "FrmCti");

        // 戻る: back along the history; the screen closes.
        codes->findChild<vx::VxCmdBtn*>("cmd戻る")->DoClick();
        QTRY_VERIFY(!codes);
        QCOMPARE(core::screenHistory().entry(0), "FrmMainMenu");

        // メイン: this screen goes on the history and the menu comes forward.
        menuButton->DoClick();
        codes = ui::screens().loaded("FrmCodeMaster");
        menu.showMinimized();
        codes->findChild<vx::VxCmdBtn*>("cmdメニュー")->DoClick();
        QTRY_VERIFY(!codes);
        QCOMPARE(core::screenHistory().entry(0), "FrmCodeMaster");
        QVERIFY(!(menu.windowState() & Qt::WindowMinimized));
        desk->close();
    }

    // The hint button opens this screen's note; 閉じる closes the hint
    // window with the screen, Esc the screen alone.
    void hintAndClosing() {
        FrmCodeMaster& s = open();
        click("cmdHint");
        auto* hint = qobject_cast<masters::Hint*>(masters::hintWindow());
        QVERIFY(hint);
        QCOMPARE(hint->keys().formName, "FrmCodeMaster");
        QCOMPARE(hint->keys().ctlName, "cmdHint");
        QCOMPARE(hint->keys().formTitle, "コード表");
        s.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s));
        QTest::keyClick(s.grid(), Qt::Key_Escape);
        QVERIFY(!s.isVisible());
        QVERIFY(masters::hintWindow());

        s.show();
        click("cmd閉じる");
        QVERIFY(!s.isVisible());
        QTRY_VERIFY(!masters::hintWindow());
    }
};

QTEST_MAIN(TestCodeMaster)
#include "tst_codemaster.moc"
