// The customer list and its two outputs over temporary copies of the shipped
// files with a few customers; boxes answered by script, labels checked on
// the report layer's placed items.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "clsgojuren.h"
#include "frmkokyakulist.h"
#include "handover.h"
#include "hint.h"
#include "lookups.h"
#include "layout.h"
#include "output.h"
#include "pagedtablemodel.h"
#include "preview.h"
#include "rptkokyaku.h"
#include "rpttack2601.h"
#include "showmsg.h"
#include "startup.h"
#include "tackform2601.h"
#include "testfiles.h"
#include "vxcmdbtn.h"

using desk::FrmKokyakuList;

namespace {

struct Customer {
    int code;
    QString name;
    QString reading;
    QString postal;
    QString honorific;
};

// Readings in hiragana, katakana and half-width kana; two customers share a name.
const QList<Customer> kCustomers = {
    {1, "カ行商店", "かぎょう", "1234567", "御中"},
    {2, "川上", "かわかみ", "123-4567", " 様 "},
    {3, "加藤", "カトウ", "12345", "様"},
    {4, "金井", "ｶﾅｲ", "", "様"},
    {5, "佐藤", "さとう", "1000001", "様"},
    {7, "佐藤", "さとう", "1000002", "殿"},
    {6, "O'Neil [*]", "おにーる", "1500001", "様"},
    {12, "十二商事", "じゅうに", "1200012", "御中"},
};

struct ListFixture {
    TestFiles files;
    std::unique_ptr<FrmKokyakuList> list;

    ListFixture() {
        {
            auto data = files.data();
            for (const Customer& c : kCustomers) {
                if (!data->execute("insert into 顧客マスタ (code, 名称, ふりがな, 郵便番号, 住所1, 住所2, 敬称) "
                                   "values (?, ?, ?, ?, ?, ?, ?)",
                                   {c.code, c.name, c.reading, c.postal, "東京都千代田区", "1-2-3", c.honorific})) {
                    qFatal("%s", qPrintable(data->lastError()));
                }
            }
            for (int code : {5, 5, 7}) {
                data->execute("insert into 電話番号 (code, 電話番号) values (?, ?)",
                              {code, QStringLiteral("03%1").arg(code * 1000000 + qrand())});
            }
            data->execute("insert into 着信履歴 (日付, code, 名称, 電話番号) values (?, 5, '佐藤', '0300000005')",
                          {QDateTime(QDate(2026, 12, 1), QTime(10, 0))});
        }
        QString error;
        if (!core::startUp(files.paths, &error)) {
            qFatal("%s", qPrintable(error));
        }
        ui::MessageBoxes::script();
        core::handOver() = {};
        core::screenHistory().clear();
        desk::tackStartPosition() = 0;
        list = std::make_unique<FrmKokyakuList>();
    }
    ~ListFixture() {
        list.reset();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<report::Preview*>(w)) {
                delete w;
            }
        }
        ClsGojuren::dialogScript() = nullptr;
        ui::MessageBoxes::unscript();
        core::shutDown();
    }
    static int qrand() {
        static int n = 0;
        return ++n;
    }

    template <typename T> T* child(const char* name) const {
        T* w = list->findChild<T*>(QString::fromUtf8(name));
        if (!w) {
            qFatal("no control %s", name);
        }
        return w;
    }
    void click(const char* name) const { child<vx::VxCmdBtn>(name)->DoClick(); }
    void read(const QString& kana) const {
        child<QLineEdit>("txtふりがな")->setText(kana);
        click("cmd読込");
    }
    QList<int> codes() const {
        QList<int> out;
        core::PagedTableModel* m = list->listModel();
        for (int r = 0; r < m->rowCount(); ++r) {
            out << m->value(r, "code").toInt();
        }
        return out;
    }
    void tick(int code) const {
        core::PagedTableModel* m = list->listModel();
        for (int r = 0; r < m->rowCount(); ++r) {
            if (m->value(r, "code").toInt() == code) {
                QVERIFY(m->setData(m->index(r, m->columnOf("チェック")), Qt::Checked, Qt::CheckStateRole));
            }
        }
    }
    qint64 count(const QString& sql) const { return core::dataDb()->scalar(sql).toLongLong(); }
};

report::Rows labelRows() {
    report::Rows rows;
    QString error;
    if (!report::readRows(*core::workDb(), "select * from wタックシール印刷 ", &rows, &error)) {
        qFatal("%s", qPrintable(error));
    }
    return rows;
}

// The A4 sheet's labels in twips: 2 × 6 of 86.4 × 42.3 mm, the sheet centred.
QRectF labelRect(int position) {
    const double mm = 1440 / 25.4;
    const double left = (210 - 2 * 86.4) / 2 * mm;
    const double top = (297 - 6 * 42.3) / 2 * mm;
    return QRectF(left + (position % 2) * 86.4 * mm, top + (position / 2) * 42.3 * mm, 86.4 * mm,
                  42.3 * mm);
}

} // namespace

class TestFrmKokyakuList : public QObject {
    Q_OBJECT
private slots:
    void read_data() {
        QTest::addColumn<QString>("kana");
        QTest::addColumn<QList<int>>("codes");
        // Hiragana, katakana and half-width readings alike, by reading then name.
        QTest::newRow("か") << "か" << QList<int>{1, 3, 4, 2};
        QTest::newRow("ｶ half-width") << "ｶ" << QList<int>{1, 3, 4, 2};
        QTest::newRow("さとう: equal readings by name") << "さとう" << QList<int>{5, 7};
        QTest::newRow("empty lists all") << "" << QList<int>{6, 1, 3, 4, 2, 5, 7, 12};
        QTest::newRow("a wildcard keeps its meaning") << "*う" << QList<int>{1, 3, 5, 7, 12};
        QTest::newRow("a quote is a quote") << "o'" << QList<int>{};
        QTest::newRow("an open bracket breaks nothing") << "[" << QList<int>{};
    }
    void read() {
        QFETCH(QString, kana);
        QFETCH(QList<int>, codes);
        ListFixture f;
        f.read(kana);
        QCOMPARE(f.codes(), codes);
        QCOMPARE(f.list->listModel()->value(0, "チェック").toBool(), false);
    }

    // Deleting a ticked customer takes every customer of that name, the
    // ticked code's numbers, and no call.
    void deleteTicked() {
        ListFixture f;
        f.read("さ");
        f.tick(5);
        ui::MessageBoxes::script({false});
        f.click("cmd削除");
        QCOMPARE(ui::MessageBoxes::asked().size(), 1);
        QCOMPARE(ui::MessageBoxes::asked()[0].text, QStringLiteral("指定された顧客 を削除します。よろしいですか"));
        QCOMPARE(ui::MessageBoxes::asked()[0].style, core::MsgStyle::ConfirmDefaultNo);
        QCOMPARE(f.count("select count(*) from 顧客マスタ where 名称 = '佐藤'"), 2);

        ui::MessageBoxes::script({true});
        f.click("cmd削除");
        QCOMPARE(f.count("select count(*) from 顧客マスタ where 名称 = '佐藤'"), 0);
        QCOMPARE(f.count("select count(*) from 電話番号 where code = 5"), 0);
        QCOMPARE(f.count("select count(*) from 電話番号 where code = 7"), 1);
        QCOMPARE(f.count("select count(*) from 着信履歴 where code = 5"), 1);
        QCOMPARE(f.codes(), QList<int>{});
        QCOMPARE(f.count("select count(*) from 顧客マスタ"), qint64(kCustomers.size() - 2));
    }

    void deleteNothingTicked() {
        ListFixture f;
        f.read("");
        f.click("cmd削除");
        QVERIFY(ui::MessageBoxes::asked().isEmpty());
        QCOMPARE(f.count("select count(*) from 顧客マスタ"), qint64(kCustomers.size()));
    }

    void ticksAllAndNone() {
        ListFixture f;
        f.read("か");
        f.click("cmd全選択");
        QCOMPARE(core::workDb()->scalar("select count(*) from w顧客マスタ where チェック = True").toInt(), 4);
        f.click("cmd全解除");
        QCOMPARE(core::workDb()->scalar("select count(*) from w顧客マスタ where チェック = True").toInt(), 0);
    }

    // 顧客: the finder's customer becomes the current row when listed,
    // else the first row.
    void locate_data() {
        QTest::addColumn<QString>("kana");
        QTest::addColumn<int>("row");
        QTest::newRow("listed") << "か" << 1;
        QTest::newRow("not listed") << "さ" << 0;
    }
    void locate() {
        QFETCH(QString, kana);
        QFETCH(int, row);
        ListFixture f;
        f.read(kana);
        f.list->setCurrentRow(f.list->listModel()->rowCount() - 1);
        ClsGojuren::dialogScript() = [](QDialog& d) {
            d.findChild<QLineEdit*>("txt顧客名")->setText("加藤");
            d.findChild<vx::VxCmdBtn*>("cmd顧客参照")->DoClick();
            d.findChild<vx::VxCmdBtn*>("cmd選択")->DoClick();
        };
        f.click("cmd顧客参照");
        QCOMPARE(f.list->currentRow(), row);
    }

    void hintButton() {
        ListFixture f;
        f.click("cmdHint");
        QWidget* hint = masters::hintWindow();
        QVERIFY(hint && !hint->isHidden());
        QCOMPARE(masters::hintKeys().formName, QStringLiteral("FrmKokyakuList"));
        QCOMPARE(masters::hintKeys().ctlName, QStringLiteral("cmdHint"));
        QCOMPARE(masters::hintKeys().formTitle, QStringLiteral("顧客一覧"));
        hint->close();
    }

    // メイン hands the current row's customer; with no row it hands no code,
    // whatever an earlier screen left behind.
    void handOverToTheDesk_data() {
        QTest::addColumn<QString>("kana");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("customer 12") << "" << 12 << "十二商事";
        QTest::newRow("empty list") << "ん" << 0 << "earlier";
    }
    void handOverToTheDesk() {
        QFETCH(QString, kana);
        QFETCH(int, code);
        QFETCH(QString, name);
        ListFixture f;
        core::handOver().HandOverCode = 99;
        core::handOver().HandOverName = "earlier";
        f.read(kana);
        f.list->setCurrentRow(f.codes().indexOf(12));
        f.click("cmdメニュー");
        QCOMPARE(core::handOver().HandOverCode, code);
        QCOMPARE(core::handOver().HandOverName, name);
    }

    // The panel toggles; printing needs a tick; the list preview shows the
    // ticked customers only.
    void printPanel() {
        ListFixture f;
        f.read("か");
        auto* panel = f.child<QFrame>("frm印刷選択");
        f.click("cmd印刷");
        QVERIFY(!panel->isHidden());
        f.click("cmd印刷");
        QVERIFY(panel->isHidden());

        f.click("cmd印刷");
        f.list->findChildren<QRadioButton*>("Opt印刷")[1]->setChecked(true);
        f.click("cmd印刷開始");
        QCOMPARE(ui::MessageBoxes::asked().size(), 1);
        QCOMPARE(ui::MessageBoxes::asked()[0].text, QStringLiteral("行が指定されていません。行指定してください。"));
        QCOMPARE(ui::MessageBoxes::asked()[0].title, QStringLiteral("入力注意"));
        QVERIFY(!panel->isHidden());

        f.tick(3);
        f.tick(2);
        f.click("cmd印刷開始");
        QVERIFY(panel->isHidden());
        report::Preview* preview = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* p = qobject_cast<report::Preview*>(w)) {
                preview = p;
            }
        }
        QVERIFY(preview);
        const report::Page page = preview->document().page(0);
        QStringList names;
        for (const report::Placed* p : page.named("名称")) {
            names << p->text;
        }
        QCOMPARE(names, (QStringList{"加藤", "川上"}));
    }

    // The list report's page: portrait, the header's print date and page
    // count, three lines a customer.
    void listReportLayout() {
        report::Rows rows;
        rows.fields = {"名称", "ふりがな", "住所1", "顧客メモ"};
        for (int i = 0; i < 40; ++i) {
            rows.values.push_back({QStringLiteral("顧客%1").arg(i), "かな", "住所", "メモ"});
        }
        const report::Document doc = report::layOut(desk::Rpt顧客一覧("西暦", QDate(2026, 12, 11)), rows);
        QCOMPARE(doc.orientation, QPageLayout::Portrait);
        const int perPage = (doc.paper.height() - 600 - 1050) / 885;
        QCOMPARE(doc.pageCount(), (40 + perPage - 1) / perPage);
        const report::Page first = doc.page(0);
        QCOMPARE(first.named("txt印刷日")[0]->text, QStringLiteral("2026年12月11日"));
        QCOMPARE(first.named("txtPageCount")[0]->text, QString::number(doc.pageCount()));
        const report::Placed* name = first.named("名称")[1];
        const report::Placed* memo = first.named("顧客メモ")[1];
        QCOMPARE(name->rect.topLeft(), QPoint(600 + 213, 600 + 1050 + 885));
        QCOMPARE(memo->rect.top() - name->rect.top(), 570);
    }

    void postalCodes_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("printed");
        QTest::newRow("seven digits") << "1234567" << "123-4567";
        QTest::newRow("with hyphen") << "123-4567" << "123-4567";
        QTest::newRow("five digits") << "12345" << "12345";
        QTest::newRow("eight characters") << "12345678" << "12345678";
        QTest::newRow("empty") << "" << "";
    }
    void postalCodes() {
        QFETCH(QString, stored);
        QFETCH(QString, printed);
        QCOMPARE(desk::labelPostalCode(stored), printed);
    }

    // Start position 3 with two customers: positions 3 and 4; a label
    // without a postal code has no mark; names take one full-width space.
    void labelsFromAStartPosition() {
        ListFixture f;
        f.read("か");
        f.tick(2); // honorific stored with blanks
        f.tick(4); // no postal code
        desk::tackStartPosition() = 3;
        QVERIFY(desk::fillLabelRows(*core::workDb(), "select * from w顧客マスタ where チェック = True"));
        const report::Document doc = report::layOut(desk::RptTack2601(), labelRows());
        QCOMPARE(doc.pageCount(), 1);
        const report::Page page = doc.page(0);
        QVector<const report::Placed*> names = page.named("名称");
        QCOMPARE(names.size(), 5);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(names[i]->text.isEmpty());
        }
        // Reading order: 金井 (ｶﾅｲ) before 川上 (かわかみ).
        QCOMPARE(names[3]->text, QStringLiteral("金井　様"));
        QCOMPARE(names[4]->text, QStringLiteral("川上　様"));
        QCOMPARE(names[3]->rect.topLeft(), QPoint(1059 + 4895 + 270, 1207 + 2408 + 1260));
        QCOMPARE(names[4]->rect.topLeft(), QPoint(1059 + 270, 1207 + 2 * 2408 + 1260));
        QVector<const report::Placed*> marks = page.named("lbl郵便マーク");
        QCOMPARE(marks.size(), 1);
        QCOMPARE(marks[0]->row, 4);
        QCOMPARE(page.named("郵便番号")[4]->text, QStringLiteral("123-4567"));
    }

    void labelsOntoTheNextSheet() {
        ListFixture f;
        f.read("か");
        f.tick(1);
        f.tick(2);
        f.tick(3);
        desk::tackStartPosition() = 11;
        QVERIFY(desk::fillLabelRows(*core::workDb(), "select * from w顧客マスタ where チェック = True"));
        const report::Document doc = report::layOut(desk::RptTack2601(), labelRows());
        QCOMPARE(doc.pageCount(), 2);
        QCOMPARE(doc.pageSize.id(), QPageSize::A4);
        const report::Page sheet1 = doc.page(0);
        const report::Page sheet2 = doc.page(1);
        const report::Placed* last = sheet1.named("名称").last();
        QCOMPARE(last->text, QStringLiteral("カ行商店　御中"));
        QCOMPARE(last->rect.topLeft(), QPoint(1059 + 4895 + 270, 1207 + 5 * 2408 + 1260));
        QCOMPARE(sheet2.named("名称").size(), 2);
        QCOMPARE(sheet2.named("名称")[0]->rect.topLeft(), QPoint(1059 + 270, 1207 + 1260));
        QCOMPARE(sheet2.named("名称")[1]->rect.topLeft(), QPoint(1059 + 4895 + 270, 1207 + 1260));
    }

    // On a real 2 × 6 sheet every label's items fall inside its label.
    void labelsInsideTheirLabels() {
        report::Rows rows;
        rows.fields = {"code", "郵便番号", "名称", "住所1", "住所2"};
        for (int i = 0; i < 12; ++i) {
            rows.values.push_back({i, "123-4567", "名称", "住所1", "住所2"});
        }
        const report::Document doc = report::layOut(desk::RptTack2601(), rows);
        QCOMPARE(doc.pageCount(), 1);
        const report::Page sheet = doc.page(0);
        for (const report::Placed& p : sheet.items) {
            QVERIFY2(labelRect(p.row).contains(QRectF(p.rect)),
                     qPrintable(QStringLiteral("%1 of label %2").arg(p.name).arg(p.row)));
        }
    }

    // A name far too long for its label is cut at the label's edge: the
    // label beside it stays white.
    void longTextStaysOnItsLabel() {
        report::Rows rows;
        rows.fields = {"code", "郵便番号", "名称", "住所1", "住所2"};
        rows.values.push_back({1, "", QString(60, QChar(0x9577)), QString(80, QChar(0x4F4F)), ""});
        const report::Document doc = report::layOut(desk::RptTack2601(), rows);
        const double dpi = 72;
        const QImage page = report::renderPage(doc, 0, dpi);
        const QRectF beside = labelRect(1);
        const double s = dpi / 1440;
        const QRect area(int(beside.left() * s) + 1, int(beside.top() * s), int(beside.width() * s) - 2,
                         int(beside.height() * s));
        int dark = 0;
        for (int y = area.top(); y < area.bottom(); ++y) {
            for (int x = area.left(); x < area.right(); ++x) {
                dark += qGray(page.pixel(x, y)) < 200;
            }
        }
        QCOMPARE(dark, 0);
        // The long name did print on its own label.
        const QRectF own = labelRect(0);
        int ownDark = 0;
        for (int y = int(own.top() * s); y < int(own.bottom() * s); ++y) {
            for (int x = int(own.left() * s); x < int(own.right() * s); ++x) {
                ownDark += qGray(page.pixel(x, y)) < 200;
            }
        }
        QVERIFY(ownDark > 100);
    }

    // Reopening the picker shows tile 0; the start position stays.
    void picker() {
        desk::tackStartPosition() = 0;
        desk::TackForm2601* p = desk::TackForm2601::open();
        QCOMPARE(p->findChildren<QLabel*>("tacks").size(), 12);
        QCOMPARE(p->windowTitle(), QStringLiteral("タックシール印字位置指定"));
        QCOMPARE(p->highlighted(), 0);
        QTest::mouseClick(p->tile(5), Qt::LeftButton);
        QCOMPARE(desk::tackStartPosition(), 5);
        QCOMPARE(p->tile(5)->palette().color(QPalette::Window), desk::kTileHighlight);
        QCOMPARE(p->tile(0)->palette().color(QPalette::Window), QColor(Qt::white));
        p->close();
        p = desk::TackForm2601::open();
        QCOMPARE(p->highlighted(), 0);
        QCOMPARE(p->tile(0)->palette().color(QPalette::Window), desk::kTileHighlight);
        QCOMPARE(desk::tackStartPosition(), 5);
        p->close();
        desk::tackStartPosition() = 0;
    }
};

QTEST_MAIN(TestFrmKokyakuList)
#include "tst_frmkokyakulist.moc"
