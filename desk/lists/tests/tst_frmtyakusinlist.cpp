// The call list over temporary copies of the shipped files with a few calls,
// its boxes answered by script and its printer replaced by a PDF file.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QTableView>
#include <QTest>

#include "datebox.h"
#include "frmtyakusinlist.h"
#include "handover.h"
#include "lookups.h"
#include "output.h"
#include "pagedtablemodel.h"
#include "preview.h"
#include "rpttyakusin.h"
#include "settings.h"
#include "showmsg.h"
#include "startup.h"
#include "testfiles.h"
#include "upgrade.h"
#include "vxcmdbtn.h"

using desk::FrmTyakusinList;

namespace {

QDateTime at(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, n, s));
}

struct Call {
    int code; // stands for the call in the tests
    QDateTime when;
    QString name;
    QVariant staff;
    QVariant purpose1;
    QString memo;
    QVariant done;
};

// Calls 2 and 3 share one moment; 3 and 6 have never been marked done.
const QList<Call> kCalls = {
    {1, at(2001, 3, 31, 23, 59, 59), "A社", "山田", "見積", "50%引きの件", true},
    {2, at(2001, 3, 20, 12), "O'Brien", "鈴木", "苦情", "[至急]折返し", false},
    {3, at(2001, 3, 20, 12), "A社", "鈴木", QVariant(), "お礼", QVariant()},
    {4, at(2001, 3, 1), "A社", QVariant(), QVariant(), "500円", false},
    {5, at(2001, 2, 28, 23, 59, 59), "A社", "山田", QVariant(), "50 percent", true},
    {6, at(2000, 12, 31, 9), "名称未登録", QVariant(), QVariant(), "AB*C", QVariant()},
};

struct ListFixture {
    TestFiles files;
    std::unique_ptr<FrmTyakusinList> list;

    explicit ListFixture(const QString& nengo = "西暦") {
        {
            auto data = files.data();
            auto work = files.work();
            core::createNewTable(*data, *work);
            data->execute("update 自社情報 set 年号 = ?", {nengo});
            data->execute("update コードマスタ set sname = '山田', cnt = 2 where kcode = '担当' "
                          "and code = '01'");
            data->execute("update コードマスタ set sname = '鈴木', cnt = 1 where kcode = '担当' "
                          "and code = '02'");
            for (const Call& c : kCalls) {
                if (!data->execute("insert into 着信履歴 (日付, code, 名称, 電話番号, 担当, 用件1, "
                                   "用件メモ, 済) values (?, ?, ?, '0312345678', ?, ?, ?, ?)",
                                   {c.when, c.code, c.name, c.staff, c.purpose1, c.memo, c.done})) {
                    qFatal("%s", qPrintable(data->lastError()));
                }
            }
        }
        QString error;
        if (!core::startUp(files.paths, &error)) {
            qFatal("%s", qPrintable(error));
        }
        ui::MessageBoxes::script();
        FrmTyakusinList::today() = [] { return QDate(2001, 3, 31); };
        core::handOver() = {};
        core::screenHistory().clear();
        list = std::make_unique<FrmTyakusinList>();
    }
    ~ListFixture() {
        list.reset();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<report::Preview*>(w)) {
                delete w;
            }
        }
        ui::MessageBoxes::unscript();
        FrmTyakusinList::today() = [] { return QDate::currentDate(); };
        core::shutDown();
    }

    template <typename T> T* child(const char* name) const {
        T* w = list->findChild<T*>(QString::fromUtf8(name));
        if (!w) {
            qFatal("no control %s", name);
        }
        return w;
    }
    desk::DateBox* box(const char* name) const { return child<desk::DateBox>(name); }
    void type(const char* name, const QString& value) const {
        if (auto* c = list->findChild<QComboBox*>(QString::fromUtf8(name))) {
            if (c->isEditable()) {
                c->setEditText(value);
            } else {
                c->setCurrentIndex(c->findText(value));
            }
        } else {
            child<QLineEdit>(name)->setText(value);
        }
    }
    void click(const char* name) const { child<vx::VxCmdBtn>(name)->DoClick(); }
    // The codes of the listed calls, in list order.
    QList<int> codes() const {
        QList<int> out;
        for (int i = 0; i < list->listModel()->rowCount(); ++i) {
            out << list->listModel()->value(i, "code").toInt();
        }
        return out;
    }
    QVariant listValue(int row, const char* field) const {
        return list->listModel()->value(row, QString::fromUtf8(field));
    }
    int logged() const { return core::dataDb()->scalar("select count(*) from 着信履歴").toInt(); }
    void showActive() const {
        list->show();
        list->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(list.get()));
    }
    report::Preview* preview() const {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* p = qobject_cast<report::Preview*>(w)) {
                return p;
            }
        }
        return nullptr;
    }
};

QList<int> sorted(QList<int> l) {
    std::sort(l.begin(), l.end());
    return l;
}

// All texts of the placed items of one name on a page.
QStringList texts(const report::Page& page, const QString& name) {
    QStringList out;
    for (const report::Placed* p : page.named(name)) {
        out << p->text;
    }
    return out;
}

} // namespace

class TstFrmTyakusinList : public QObject {
    Q_OBJECT
private slots:
    void opensEmptyWithItsControls();
    void handOverFromTheDeskReadsAMonthBackPlusADay();
    void mainReadConditions_data();
    void mainReadConditions();
    void repeatedMomentLeavesTheDateEmpty();
    void search_data();
    void search();
    void monthStepping_data();
    void monthStepping();
    void deletesExactlyTheTickedCalls();
    void deleteWithoutTickOrDeclined();
    void printsTheSearchedRowsWithTheMainViewsHeader();
    void eraDatesInTheReport();
    void printerMissingOrFailing();
    void doubleClickHandsTheCallToTheDesk();
};

void TstFrmTyakusinList::opensEmptyWithItsControls() {
    ListFixture f;
    QCOMPARE(f.list->windowTitle(), QStringLiteral("着信一覧"));
    QCOMPARE(f.list->listModel()->rowCount(), 0);
    QVERIFY(f.box("dt開始")->isEmpty() && f.box("dt終了")->isEmpty());
    QVERIFY(f.child<QWidget>("Cn検索条件")->isHidden());
    QVERIFY(f.child<QWidget>("SelEnt")->isHidden());
    // Staff at load: なし first, then the staff in display order.
    auto* staff = f.child<QComboBox>("cmb担当");
    QCOMPARE(staff->count(), 3);
    QCOMPARE(staff->itemText(0), QStringLiteral("なし"));
    QCOMPARE(staff->itemText(1), QStringLiteral("鈴木"));
    QCOMPARE(staff->currentText(), QString());
    // The search panel's refill replaces them without なし; the list-only
    // boxes take no typing.
    f.click("cmd集計条件");
    QVERIFY(!f.child<QWidget>("Cn検索条件")->isHidden());
    QCOMPARE(staff->count(), 2);
    QCOMPARE(f.child<QComboBox>("cmb担当検索")->count(), 2);
    QVERIFY(!f.child<QComboBox>("cmb担当検索")->isEditable());
    QVERIFY(!f.child<QComboBox>("cmbチェック検索")->isEditable());
    QCOMPARE(f.child<QComboBox>("cmbチェック検索")->count(), 2);
    QCOMPARE(f.child<QComboBox>("cmb顧客名検索")->currentText(), QString());
    // The previously read work table is emptied by a fresh load.
    core::workDb()->execute("insert into w着信履歴 (code) values (9)");
    FrmTyakusinList again;
    QCOMPARE(again.listModel()->rowCount(), 0);
}

void TstFrmTyakusinList::handOverFromTheDeskReadsAMonthBackPlusADay() {
    ListFixture f;
    core::handOver().HandOverName = "A社";
    f.list->Activate();
    QCOMPARE(*f.box("dt開始")->date(), QDate(2001, 3, 1));
    QCOMPARE(*f.box("dt終了")->date(), QDate(2001, 3, 31));
    QCOMPARE(f.child<QComboBox>("cmb顧客名")->currentText(), QStringLiteral("A社"));
    QCOMPARE(f.codes(), (QList<int>{1, 3, 4}));
    QVERIFY(core::handOver().HandOverName.isEmpty());
    // Without a name handed over, activation reads nothing.
    f.list->Clear着信履歴();
    f.list->Activate();
    QCOMPARE(f.list->listModel()->rowCount(), 0);
}

void TstFrmTyakusinList::mainReadConditions_data() {
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("staff");
    QTest::addColumn<QList<int>>("expected");
    const QDate none;
    QTest::newRow("whole log") << "" << QDate(2000, 1, 1) << QDate(2001, 12, 31) << ""
                               << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("period ends inclusive") << "" << QDate(2001, 3, 1) << QDate(2001, 3, 31) << ""
                                           << QList<int>{1, 2, 3, 4};
    QTest::newRow("only a start") << "" << QDate(2001, 3, 20) << none << ""
                                  << QList<int>{1, 2, 3};
    QTest::newRow("only an end") << "" << none << QDate(2001, 2, 28) << "" << QList<int>{5, 6};
    QTest::newRow("staff なし is no condition")
        << "" << QDate(2001, 3, 1) << QDate(2001, 3, 31) << "なし" << QList<int>{1, 2, 3, 4};
    QTest::newRow("staff") << "" << QDate(2001, 3, 1) << QDate(2001, 3, 31) << "鈴木"
                           << QList<int>{2, 3};
    QTest::newRow("customer with a quote") << "O'Brien" << QDate(2000, 1, 1)
                                           << QDate(2001, 12, 31) << "" << QList<int>{2};
    QTest::newRow("customer is no pattern") << "A*" << QDate(2000, 1, 1) << QDate(2001, 12, 31)
                                            << "" << QList<int>{};
}

void TstFrmTyakusinList::mainReadConditions() {
    QFETCH(QString, customer);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, staff);
    QFETCH(QList<int>, expected);
    ListFixture f;
    f.showActive();
    f.type("cmb顧客名", customer);
    f.box("dt開始")->setDate(from.isValid() ? std::optional(from) : std::nullopt);
    f.box("dt終了")->setDate(to.isValid() ? std::optional(to) : std::nullopt);
    f.type("cmb担当", staff);
    f.click("cmd読込");
    QList<int> got = f.codes();
    // Calls 2 and 3 share a moment: either may come first.
    if (got.indexOf(3) >= 0 && got.indexOf(2) == got.indexOf(3) + 1) {
        got.swapItemsAt(got.indexOf(3), got.indexOf(2));
    }
    QCOMPARE(got, expected);
    QVERIFY(f.child<QLabel>("lblMsg")->isHidden());
    // Focus goes to the list when it has rows, else back to the name.
    QWidget* focus = QApplication::focusWidget();
    if (expected.isEmpty()) {
        QVERIFY(focus == f.child<QComboBox>("cmb顧客名") ||
                focus == f.child<QComboBox>("cmb顧客名")->lineEdit());
    } else {
        QCOMPARE(focus, f.child<QTableView>("Grid明細"));
    }
}

void TstFrmTyakusinList::repeatedMomentLeavesTheDateEmpty() {
    ListFixture f;
    f.box("dt開始")->setDate(QDate(2001, 3, 1));
    f.box("dt終了")->setDate(QDate(2001, 3, 31));
    f.click("cmd読込");
    QCOMPARE(f.list->listModel()->rowCount(), 4);
    QCOMPARE(f.listValue(0, "日付").toDateTime(), at(2001, 3, 31));
    QCOMPARE(f.listValue(1, "日付").toDateTime(), at(2001, 3, 20));
    QVERIFY(f.listValue(2, "日付").isNull());
    QCOMPARE(f.listValue(3, "日付").toDateTime(), at(2001, 3, 1));
    // Both calls keep their moment and time.
    QCOMPARE(f.listValue(2, "日付時間").toDateTime(), at(2001, 3, 20, 12));
    QCOMPARE(f.listValue(2, "時間").toString(), QStringLiteral("12:00:00"));
    QCOMPARE(f.listValue(0, "時間").toString(), QStringLiteral("23:59:59"));
    QVERIFY(!f.listValue(0, "チェック").toBool());
    const QModelIndex day = f.list->listModel()->index(0, 3);
    QCOMPARE(day.data().toString(), QStringLiteral("2001/03/31"));
}

void TstFrmTyakusinList::search_data() {
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("staff");
    QTest::addColumn<QString>("purpose1");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QList<int>>("expected");
    const QString un = desk::kUncheckedCalls, done = desk::kCheckedCalls;
    QTest::newRow("no condition: every call") << "" << "" << "" << "" << ""
                                              << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("customer") << "A社" << "" << "" << "" << "" << QList<int>{1, 3, 4, 5};
    QTest::newRow("customer with a quote") << "O'Brien" << "" << "" << "" << "" << QList<int>{2};
    QTest::newRow("staff") << "" << "山田" << "" << "" << "" << QList<int>{1, 5};
    QTest::newRow("purpose") << "" << "" << "苦情" << "" << "" << QList<int>{2};
    QTest::newRow("memo anywhere") << "" << "" << "" << "礼" << "" << QList<int>{3};
    QTest::newRow("memo 50% is literal") << "" << "" << "" << "50%" << "" << QList<int>{1};
    QTest::newRow("memo [至急] is a class") << "" << "" << "" << "[至急]" << "" << QList<int>{2};
    QTest::newRow("memo with a star") << "" << "" << "" << "B*C" << "" << QList<int>{6};
    QTest::newRow("memo with a quote") << "" << "" << "" << "'" << "" << QList<int>{};
    QTest::newRow("not done, never marked included") << "" << "" << "" << "" << un
                                                     << QList<int>{2, 3, 4, 6};
    QTest::newRow("done") << "" << "" << "" << "" << done << QList<int>{1, 5};
    QTest::newRow("customer and not done") << "A社" << "" << "" << "" << un << QList<int>{3, 4};
}

void TstFrmTyakusinList::search() {
    QFETCH(QString, customer);
    QFETCH(QString, staff);
    QFETCH(QString, purpose1);
    QFETCH(QString, memo);
    QFETCH(QString, check);
    QFETCH(QList<int>, expected);
    ListFixture f;
    f.type("cmb顧客名", "O'Brien"); // the main view is neither read nor changed
    f.click("cmd集計条件");
    f.type("cmb顧客名検索", customer);
    f.type("cmb担当検索", staff);
    f.type("cmb用件1検索", purpose1);
    f.type("txt用件メモ検索", memo);
    f.type("cmbチェック検索", check);
    f.click("cmd読込検索");
    QCOMPARE(sorted(f.codes()), expected);
    QCOMPARE(f.child<QComboBox>("cmb顧客名")->currentText(), QStringLiteral("O'Brien"));
    QVERIFY(f.box("dt開始")->isEmpty());
    // Newest first.
    for (int i = 1; i < f.codes().size(); ++i) {
        QVERIFY(f.listValue(i - 1, "日付時間").toDateTime() >=
                f.listValue(i, "日付時間").toDateTime());
    }
    // クリア of the panel empties its conditions.
    f.click("cmdクリア検索");
    QVERIFY(f.child<QLineEdit>("txt用件メモ検索")->text().isEmpty());
    QVERIFY(f.child<QComboBox>("cmbチェック検索")->currentText().isEmpty());
    QVERIFY(f.child<QComboBox>("cmb担当検索")->currentText().isEmpty());
}

void TstFrmTyakusinList::monthStepping_data() {
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("step");
    QTest::addColumn<QDate>("newFrom");
    QTest::addColumn<QDate>("newTo");
    QTest::newRow("back from the 31st") << QDate(2001, 3, 31) << QDate(2001, 3, 31) << -1
                                        << QDate(2001, 2, 28) << QDate(2001, 2, 28);
    QTest::newRow("back, each on its own") << QDate(2001, 1, 31) << QDate(2001, 2, 28) << -1
                                           << QDate(2000, 12, 31) << QDate(2001, 1, 28);
    QTest::newRow("forward clamps") << QDate(2001, 1, 31) << QDate(2001, 1, 31) << 1
                                    << QDate(2001, 2, 28) << QDate(2001, 2, 28);
    QTest::newRow("into a leap February") << QDate(2000, 1, 30) << QDate(2000, 3, 31) << 1
                                          << QDate(2000, 2, 29) << QDate(2000, 4, 30);
    QTest::newRow("one box empty: nothing") << QDate(2001, 3, 31) << QDate() << -1
                                            << QDate(2001, 3, 31) << QDate();
}

void TstFrmTyakusinList::monthStepping() {
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, step);
    QFETCH(QDate, newFrom);
    QFETCH(QDate, newTo);
    ListFixture f;
    f.box("dt開始")->setDate(from);
    f.box("dt終了")->setDate(to.isValid() ? std::optional(to) : std::nullopt);
    f.click(step < 0 ? "cmdMonBef" : "cmdMonNext");
    QCOMPARE(f.box("dt開始")->date().value_or(QDate()), newFrom);
    QCOMPARE(f.box("dt終了")->date().value_or(QDate()), newTo);
    if (!to.isValid()) {
        QCOMPARE(f.list->listModel()->rowCount(), 0); // not read either
    } else if (newFrom == QDate(2001, 2, 28)) {
        QCOMPARE(f.codes(), QList<int>{5});
    }
}

void TstFrmTyakusinList::deletesExactlyTheTickedCalls() {
    ListFixture f;
    f.box("dt開始")->setDate(QDate(2001, 3, 1));
    f.box("dt終了")->setDate(QDate(2001, 3, 31));
    // The list came from the search panel: every call.
    f.click("cmd集計条件");
    f.click("cmd読込検索");
    QCOMPARE(f.codes().size(), 6);
    auto* model = f.list->listModel();
    const int tick = model->columnOf("チェック");
    // The quoted name, and one of the two calls that share a moment.
    for (int row : {f.codes().indexOf(2), f.codes().indexOf(5)}) {
        QVERIFY(model->setData(model->index(row, tick), Qt::Checked, Qt::CheckStateRole));
    }
    ui::MessageBoxes::script({true});
    f.click("cmd削除");
    QCOMPARE(ui::MessageBoxes::asked().size(), 1);
    QCOMPARE(ui::MessageBoxes::asked().front().text,
             QStringLiteral("指定された着信履歴 を削除します。よろしいですか"));
    QCOMPARE(f.logged(), 4);
    QCOMPARE(core::dataDb()->scalar("select count(*) from 着信履歴 where code in (2, 5)").toInt(),
             0);
    // Call 3 at the same moment as call 2, but another name, stays.
    QCOMPARE(core::dataDb()->scalar("select count(*) from 着信履歴 where code = 3").toInt(), 1);
    // Rebuilt from the main view's period, not the search.
    QCOMPARE(sorted(f.codes()), (QList<int>{1, 3, 4}));
}

void TstFrmTyakusinList::deleteWithoutTickOrDeclined() {
    ListFixture f;
    f.click("cmd削除"); // empty list: nothing at all
    QVERIFY(ui::MessageBoxes::asked().isEmpty());
    f.box("dt開始")->setDate(QDate(2000, 1, 1));
    f.box("dt終了")->setDate(QDate(2001, 12, 31));
    f.click("cmd読込");
    f.click("cmd削除");
    QCOMPARE(ui::MessageBoxes::asked().size(), 1);
    QCOMPARE(ui::MessageBoxes::asked().front().text,
             QStringLiteral("行が指定されていません。行指定してください。"));
    f.click("cmd全選択");
    QCOMPARE(core::workDb()->scalar("select count(*) from w着信履歴 where チェック = True").toInt(),
             6);
    ui::MessageBoxes::script({false});
    f.click("cmd削除");
    QCOMPARE(f.logged(), 6);
    f.click("cmd全解除");
    QCOMPARE(core::workDb()->scalar("select count(*) from w着信履歴 where チェック = True").toInt(),
             0);
}

void TstFrmTyakusinList::printsTheSearchedRowsWithTheMainViewsHeader() {
    ListFixture f;
    f.type("cmb顧客名", "A社");
    f.type("cmb担当", "山田");
    f.box("dt開始")->setDate(QDate(2001, 2, 16));
    f.box("dt終了")->setDate(QDate(2001, 3, 15));
    f.click("cmd集計条件");
    f.type("cmb担当検索", "鈴木");
    f.click("cmd読込検索"); // calls 2 and 3
    f.click("cmd印刷");
    QVERIFY(!f.child<QWidget>("SelEnt")->isHidden());
    auto subs = f.list->findChildren<vx::VxCmdBtn*>("cmd印刷サブ");
    QCOMPARE(subs.size(), 3);
    subs[0]->DoClick(); // ﾌﾟﾚﾋﾞｭｰ
    QVERIFY(f.child<QWidget>("SelEnt")->isHidden());
    report::Preview* p = f.preview();
    QVERIFY(p);
    const report::Document& doc = p->document();
    QCOMPARE(doc.orientation, QPageLayout::Landscape);
    QCOMPARE(doc.pageCount(), 1);
    const report::Page& page = doc.pages[0];
    QCOMPARE(texts(page, "txt期間開始"), QStringList{"2001年02月16日"});
    QCOMPARE(texts(page, "txt期間終了"), QStringList{"2001年03月15日"});
    QCOMPARE(texts(page, "txt顧客名"), QStringList{"A社"});
    QCOMPARE(texts(page, "txt担当"), QStringList{"山田"});
    QCOMPARE(texts(page, "txt印刷日"), QStringList{"2001年03月31日"});
    QCOMPARE(texts(page, "txtPage"), QStringList{"1"});
    QCOMPARE(texts(page, "txtPageCount"), QStringList{"1"});
    const QStringList names = texts(page, "名称");
    QCOMPARE(sorted({names.indexOf("O'Brien") >= 0 ? 2 : 0, names.indexOf("A社") >= 0 ? 3 : 0}),
             (QList<int>{2, 3}));
    // The repeated moment prints no date; 済 only for done calls (none here).
    QCOMPARE(texts(page, "日付"), (QStringList{"01/03/20", ""}));
    QCOMPARE(texts(page, "済"), (QStringList{"", ""}));
    // Rows of 615 below a header of 1185 at the top margin of 600; left margin 900.
    const auto rows = page.named("名称");
    QCOMPARE(rows[0]->rect, QRect(900 + 2415, 600 + 1185, 3060, 270));
    QCOMPARE(rows[1]->rect.top(), 600 + 1185 + 615);
    QCOMPARE(page.named("lin罫線")[0]->rect, QRect(945, 600 + 1185 + 585, 15615, 0));

    // A done call prints 済.
    f.click("cmdクリア検索");
    f.type("cmbチェック検索", desk::kCheckedCalls);
    f.click("cmd読込検索");
    f.list->SetPrnData(false);
    QStringList done;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* q = qobject_cast<report::Preview*>(w); q && q != p) {
            done = texts(q->document().pages[0], "済");
        }
    }
    QCOMPARE(done, (QStringList{"済", "済"}));
}

void TstFrmTyakusinList::eraDatesInTheReport() {
    ListFixture f("和暦");
    f.box("dt開始")->setDate(QDate(2001, 2, 16));
    f.box("dt終了")->setDate(QDate(2001, 3, 15));
    QCOMPARE(f.box("dt開始")->text(), QStringLiteral("平成 13年02月16日"));
    f.click("cmd読込");
    f.list->SetPrnData(false);
    const report::Page& page = f.preview()->document().pages[0];
    QCOMPARE(texts(page, "txt期間開始"), QStringList{"H13年02月16日"});
    QCOMPARE(texts(page, "txt期間終了"), QStringList{"H13年03月15日"});
    QCOMPARE(texts(page, "txt印刷日"), QStringList{"平成13年03月31日"});
    QCOMPARE(texts(page, "日付"), (QStringList{"H13/03/01", "H13/02/28"}));
    QCOMPARE(f.list->listModel()->index(0, 3).data().toString(), QStringLiteral("H 13/03/01"));
}

void TstFrmTyakusinList::printerMissingOrFailing() {
    ListFixture f;
    QTemporaryDir dir;
    f.box("dt開始")->setDate(QDate(2000, 1, 1));
    f.box("dt終了")->setDate(QDate(2001, 12, 31));
    f.click("cmd読込");
    auto saved = report::Printing::setUp();
    report::Printing::setUp() = [](QPrinter&, QString*) { return false; };
    f.list->SetPrnData(true);
    QCOMPARE(ui::MessageBoxes::asked().size(), 1);
    QCOMPARE(ui::MessageBoxes::asked().front().title, QStringLiteral("印刷エラー"));
    QCOMPARE(f.codes().size(), 6); // nothing else changes
    // A working printer gets every listed row, ticked or not.
    ui::MessageBoxes::clearAsked();
    const QString out = dir.filePath("printed.pdf");
    report::Printing::setUp() = [out](QPrinter& printer, QString*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out);
        return true;
    };
    f.list->SetPrnData(true);
    report::Printing::setUp() = saved;
    QVERIFY(ui::MessageBoxes::asked().isEmpty());
    QProcess text;
    text.start("pdftotext", {out, "-"});
    QVERIFY(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(printed.contains("O'Brien") && printed.contains("50%引きの件") &&
                 printed.contains("名称未登録"),
             qPrintable(printed));
}

void TstFrmTyakusinList::doubleClickHandsTheCallToTheDesk() {
    ListFixture f;
    f.showActive();
    f.box("dt開始")->setDate(QDate(2001, 3, 1));
    f.box("dt終了")->setDate(QDate(2001, 3, 31));
    f.click("cmd読込");
    const int row = f.codes().indexOf(2);
    auto* grid = f.child<QTableView>("Grid明細");
    grid->scrollTo(f.list->listModel()->index(row, 5));
    const QRect cell = grid->visualRect(f.list->listModel()->index(row, 5));
    QVERIFY2(grid->viewport()->rect().contains(cell.center()), qPrintable(QString::number(cell.y())));
    // A double-click is a press, a release and the double-click itself.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(f.list->currentRow(), row);
    const core::HandOver& h = core::handOver();
    QCOMPARE(h.HandOverCode, 2);
    QCOMPARE(h.HandOverName, QStringLiteral("O'Brien"));
    QCOMPARE(h.HandOverCallTime, at(2001, 3, 20, 12));
    QCOMPARE(core::screenHistory().entry(0), QStringLiteral("FrmTyakusinList"));
    // An unregistered caller's code 0 is handed as 0.
    f.list->setCurrentRow(f.codes().indexOf(4));
    core::handOver().HandOverCode = 77;
    f.click("cmdメニュー");
    QCOMPARE(core::handOver().HandOverCode, 4);
}

QTEST_MAIN(TstFrmTyakusinList)
#include "tst_frmtyakusinlist.moc"
