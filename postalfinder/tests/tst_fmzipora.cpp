// The search dialog over copies of the shipped data file and dictionary.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "fmzipora.h"
#include "modzipora.h"
#include "testfiles.h"
#include "vxcmdbtn.h"

using zipora::FmZipora;
using zipora::ZipRow;

class TestFmZipora : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFiles> files_;
    std::unique_ptr<FmZipora> dlg_;

    FmZipora& open() {
        dlg_ = std::make_unique<FmZipora>();
        QString error;
        if (!dlg_->open(files_->paths.dataDb, files_->paths.postalDb, &error)) {
            qFatal("%s", qPrintable(error));
        }
        dlg_->show();
        dlg_->activateWindow();
        if (!QTest::qWaitForWindowActive(dlg_.get())) {
            qFatal("dialog not active");
        }
        return *dlg_;
    }
    template <typename T> T* child(const char* name) const {
        T* w = dlg_->findChild<T*>(QString::fromUtf8(name));
        if (!w) {
            qFatal("no control %s", name);
        }
        return w;
    }
    QString text(const char* name) const {
        if (auto* c = dlg_->findChild<QComboBox*>(QString::fromUtf8(name))) {
            return c->currentText();
        }
        return child<QLineEdit>(name)->text();
    }
    QStringList items(const char* name) const {
        QStringList out;
        auto* c = child<QComboBox>(name);
        for (int i = 0; i < c->count(); ++i) {
            out << c->itemText(i);
        }
        return out;
    }
    const std::vector<ZipRow>& rows() const { return dlg_->grid().rows(); }
    void setLocalArea(bool on, const QVariant& area) {
        files_->data()->execute("update 自社情報 set YubinLocalEriaSw = ?, YubinLocalEria = ?",
                                {on, area});
    }
    void typeInto(const char* name, const QString& keys) {
        QWidget* w = child<QWidget>(name);
        w->setFocus();
        for (QChar c : keys) {
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1() ? c.toLatin1() : 0);
        }
    }
    void checkBlankLast() const {
        QVERIFY(!rows().empty());
        for (const QString& cell : rows().back()) {
            QVERIFY(cell.isEmpty());
        }
        QVERIFY(child<QLabel>("Msg検索")->isHidden());
    }

private slots:
    void init() {
        files_ = std::make_unique<TestFiles>();
        setLocalArea(false, QVariant());
    }
    void cleanup() {
        dlg_.reset();
        files_.reset();
    }

    void keyMap_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kana");
        QTest::newRow("first of the digit row") << "1"
                                                << "ﾇ";
        QTest::newRow("digit") << "3"
                               << "ｱ";
        QTest::newRow("last of the digit row") << "^"
                                               << "ﾍ";
        QTest::newRow("letter") << "q"
                                << "ﾀ";
        QTest::newRow("upper-case twin") << "Q"
                                         << "ﾀ";
        QTest::newRow("home row end") << "]"
                                      << "ﾑ";
        QTest::newRow("last key") << "\\"
                                  << "ﾛ";
        QTest::newRow("kana itself") << "ﾝ"
                                     << "ﾝ";
        QTest::newRow("no kana: at sign") << "@"
                                          << "";
        QTest::newRow("no kana: hiragana") << "あ"
                                           << "";
        QTest::newRow("no kana: blank") << " "
                                        << "";
    }
    void keyMap() {
        QFETCH(QString, typed);
        QFETCH(QString, kana);
        const QChar got = zipora::Getカナ(typed.at(0));
        QCOMPARE(got.isNull() ? QString() : QString(got), kana);
    }

    void codeSearch_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("prefecture");
        QTest::addColumn<QString>("city");
        QTest::addColumn<QString>("town");
        QTest::newRow("seven digits: exact, boxes filled") << "2310001"
                                                           << "神奈川県"
                                                           << "横浜市中区"
                                                           << "新港";
        QTest::newRow("three digits: prefix, boxes untouched") << "231"
                                                               << ""
                                                               << ""
                                                               << "";
        QTest::newRow("hyphen: eight characters, a prefix of nothing") << "231-0001"
                                                                       << ""
                                                                       << ""
                                                                       << "";
        QTest::newRow("quote is a value") << "23'1"
                                          << ""
                                          << ""
                                          << "";
        QTest::newRow("unclosed bracket") << "[231"
                                          << ""
                                          << ""
                                          << "";
    }
    void codeSearch() {
        QFETCH(QString, code);
        QFETCH(QString, prefecture);
        QFETCH(QString, city);
        QFETCH(QString, town);
        open();
        child<QLineEdit>("TXT郵便番号")->setFocus();
        QTest::keyClicks(child<QLineEdit>("TXT郵便番号"), code);
        QTest::keyClick(child<QLineEdit>("TXT郵便番号"), Qt::Key_Return);
        checkBlankLast();
        QCOMPARE(text("cmb都道府県"), prefecture);
        QCOMPARE(text("cmb市町村"), city);
        QCOMPARE(text("cmb町名"), town);
        QCOMPARE(text("TXT郵便番号"), code); // the typed code stays

        const int expected = files_->open(files_->paths.postalDb)
                                 ->scalar("select count(*) from 郵便番号 where 番号 like ?",
                                          {code.size() == 7 ? code : code + "*"})
                                 .toInt();
        QCOMPARE(int(rows().size()), expected + 1);
        for (size_t i = 0; i + 1 < rows().size(); ++i) {
            QVERIFY(rows()[i][zipora::Col番号].startsWith(code));
        }
        if (code == "231") {
            QVERIFY(rows().size() > 50);
        }
    }

    void kanaSearch_data() {
        QTest::addColumn<QString>("cityKana");
        QTest::addColumn<QString>("townKana");
        QTest::addColumn<QString>("mustFind"); // a code among the rows; "" = no rows at all
        QTest::newRow("both filled") << "ﾖｺﾊﾏ"
                                     << "ｼﾝｺｳ"
                                     << "";
        QTest::newRow("neither") << ""
                                 << ""
                                 << "";
        QTest::newRow("city reading, inside the name") << "ﾊﾏｼﾅｶ"
                                                       << ""
                                                       << "2310001";
        QTest::newRow("town reading") << ""
                                      << "ｼﾝｺｳ"
                                      << "2310001";
        QTest::newRow("town reading in hiragana") << ""
                                                  << "しんこう"
                                                  << "2310001";
    }
    void kanaSearch() {
        QFETCH(QString, cityKana);
        QFETCH(QString, townKana);
        QFETCH(QString, mustFind);
        open();
        // Rows left from an earlier load must not survive the search.
        child<QLineEdit>("TXT郵便番号")->setText("100");
        dlg_->Seek郵便番号();
        QVERIFY(rows().size() > 1);
        child<QLineEdit>("TXT市町村かな")->setText(cityKana);
        child<QLineEdit>("TXT町名かな")->setText(townKana);
        QTest::keyClick(dlg_.get(), Qt::Key_F5);
        if (mustFind.isEmpty()) {
            QCOMPARE(int(rows().size()), 0);
            return;
        }
        checkBlankLast();
        bool found = false;
        for (const ZipRow& r : rows()) {
            found = found || r[zipora::Col番号] == mustFind;
        }
        QVERIFY(found);
        QVERIFY(child<QTableView>("Grid")->hasFocus());
    }

    void kanaSearchLimitsTheGrid() {
        open();
        child<QLineEdit>("TXT市町村かな")->setText("ｼ");
        dlg_->search();
        QCOMPARE(int(rows().size()), FmZipora::kMaxGridRows);
        checkBlankLast();
    }

    void localArea_data() {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QVariant>("area");
        QTest::addColumn<QString>("prefecture");
        QTest::addColumn<QString>("city");
        QTest::newRow("prefecture and city") << true << QVariant("神奈川県横浜市") << "神奈川県"
                                             << "横浜市";
        QTest::newRow("府 before the 都 in 京都") << true << QVariant("京都府京都市") << "京都府"
                                                  << "京都市";
        QTest::newRow("府 before 都: 東京都府中市")
            << true << QVariant("東京都府中市") << "東京都府"
            << "中市";
        QTest::newRow("no marker") << true << QVariant("横浜") << ""
                                   << "";
        QTest::newRow("switched off") << false << QVariant("神奈川県横浜市") << ""
                                      << "";
        QTest::newRow("Null area") << true << QVariant() << ""
                                   << "";
    }
    void localArea() {
        QFETCH(bool, on);
        QFETCH(QVariant, area);
        QFETCH(QString, prefecture);
        QFETCH(QString, city);
        setLocalArea(on, area);
        open();
        QCOMPARE(text("cmb都道府県"), prefecture);
        QCOMPARE(text("cmb市町村"), city);
        QCOMPARE(items("cmb都道府県").size(), 47);
        if (prefecture == "神奈川県") {
            QVERIFY(items("cmb市町村").contains("横浜市中区"));
        }
        if (prefecture.isEmpty() || prefecture == "東京都府") {
            QVERIFY(items("cmb市町村").isEmpty());
        }
        // 横浜市 is not a city of the dictionary: its town load finds nothing.
        QCOMPARE(int(rows().size()), 1);
        checkBlankLast();
    }

    void cityListHasEveryCityOnce() {
        open();
        child<QComboBox>("cmb都道府県")->setEditText("東京都");
        dlg_->read市町村();
        const QStringList cities = items("cmb市町村");
        QCOMPARE(QSet<QString>(cities.begin(), cities.end()).size(), cities.size());
        QVERIFY(cities.contains("千代田区"));
        QVERIFY(cities.contains("八丈島八丈町"));
        auto dict = files_->open(files_->paths.postalDb);
        QCOMPARE(dict->scalar("select count(*) from 市町村名").toInt(), cities.size());
        QCOMPARE(dict->scalar("select count(*) from 郵便番号 where 県漢字 = '東京都'").toInt() + 1,
                 int(rows().size()));
        QVERIFY(items("cmb町名").isEmpty());

        child<QComboBox>("cmb都道府県")->setEditText("どこにもない県");
        dlg_->read市町村();
        QCOMPARE(int(rows().size()), 1);      // the blank row
        QCOMPARE(items("cmb市町村"), cities); // a load without rows keeps the list
        // but its scratch table is emptied all the same, for good.
        QCOMPARE(dict->scalar("select count(*) from 市町村名").toInt(), 0);
    }

    // The walk a user makes with the kana keyboard: prefecture, city and town
    // found by their readings.
    void walkByKanaKeys() {
        open();
        typeInto("cmb都道府県", "tu"); // ｶﾅ
        QCOMPARE(text("cmb都道府県"), "神奈川県");
        QCOMPARE(dlg_->prefectureBuffer(), "ｶﾅ");
        QVERIFY(items("cmb市町村").contains("横浜市中区"));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(child<QComboBox>("cmb市町村")->hasFocus());
        QVERIFY(dlg_->prefectureBuffer().isEmpty());
        typeInto("cmb市町村", "9bfjdut"); // ﾖｺﾊﾏｼﾅｶ
        QCOMPARE(text("cmb市町村"), "横浜市中区");
        QVERIFY(items("cmb町名").contains("新港"));
        auto dict = files_->open(files_->paths.postalDb);
        QCOMPARE(dict->scalar("select count(*) from 町名 where 町名カナ = 'ｼﾝｺｳ'").toInt(), 1);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(child<QComboBox>("cmb町名")->hasFocus());
        typeInto("cmb町名", "dyb4"); // ｼﾝｺｳ
        QCOMPARE(text("cmb町名"), "新港");
        QCOMPARE(int(rows().size()), 2);
        QCOMPARE(rows()[0][zipora::Col番号], "2310001");
        QCOMPARE(text("TXT郵便番号"), "2310001");

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QVERIFY(child<QComboBox>("cmb市町村")->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(!child<QComboBox>("cmb市町村")->hasFocus());
        QCOMPARE(text("cmb市町村"), "横浜市中区");
    }

    void keyWithoutKanaEmptiesTheBox() {
        open();
        child<QComboBox>("cmb都道府県")->setEditText("北海道");
        typeInto("cmb都道府県", "@");
        QCOMPARE(text("cmb都道府県"), "");
        QVERIFY(dlg_->prefectureBuffer().isEmpty());
        // Kana that no name starts with: the box and the buffer are emptied.
        typeInto("cmb都道府県", "11");
        QCOMPARE(text("cmb都道府県"), "");
        QVERIFY(dlg_->prefectureBuffer().isEmpty());
    }

    void escapeTakesBackPrefectureKanaFirst() {
        open();
        typeInto("cmb都道府県", "t");
        QVERIFY(!dlg_->prefectureBuffer().isEmpty());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(dlg_->isVisible());
        QVERIFY(dlg_->prefectureBuffer().isEmpty());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!dlg_->isVisible());
        QCOMPARE(dlg_->result(), int(QDialog::Rejected));
        QVERIFY(dlg_->resultCode().isEmpty());
    }

    void choose_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("resultCode");
        QTest::addColumn<QString>("address");
        QTest::newRow("a found row and the block") << "2310001"
                                                   << "1-1"
                                                   << "2310001"
                                                   << "神奈川県横浜市中区新港1-1";
        QTest::newRow("no grid rows: the block only") << "123"
                                                      << "3-2-1"
                                                      << "123"
                                                      << "3-2-1";
    }
    void choose() {
        QFETCH(QString, code);
        QFETCH(QString, block);
        QFETCH(QString, resultCode);
        QFETCH(QString, address);
        open();
        child<QLineEdit>("TXT郵便番号")->setText(code);
        if (code.size() == 7) {
            dlg_->Seek郵便番号();
            auto* grid = child<QTableView>("Grid");
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(0, 0)).center());
        } else {
            dlg_->search(); // empties the grid
            QCOMPARE(int(rows().size()), 0);
        }
        child<QLineEdit>("TXT番地")->setText(block);
        QTest::keyClick(dlg_.get(), Qt::Key_F10);
        QVERIFY(!dlg_->isVisible());
        QCOMPARE(dlg_->resultCode(), resultCode);
        QCOMPARE(dlg_->resultAddress(), address);
    }

    void movingInTheGridShowsTheRow() {
        open();
        child<QLineEdit>("TXT郵便番号")->setText("0600");
        dlg_->Seek郵便番号();
        QVERIFY(rows().size() > 3);
        auto* grid = child<QTableView>("Grid");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(text("TXT郵便番号"), rows()[1][zipora::Col番号]);
        QCOMPARE(text("cmb都道府県"), "北海道");
        QVERIFY(items("cmb市町村").isEmpty()); // shown, nothing reloaded
    }

    void clearEmptiesEverything() {
        setLocalArea(true, "神奈川県横浜市中区");
        open();
        QVERIFY(!items("cmb町名").isEmpty());
        child<QLineEdit>("TXT番地")->setText("1");
        child<QLineEdit>("TXT町名かな")->setText("ｼ");
        QTest::keyClick(dlg_.get(), Qt::Key_F9);
        for (const char* name :
             {"cmb都道府県", "cmb市町村", "cmb町名", "TXT番地", "TXT町名かな", "TXT郵便番号"}) {
            QCOMPARE(text(name), "");
        }
        QVERIFY(items("cmb市町村").isEmpty());
        QCOMPARE(int(rows().size()), 0);
        QVERIFY(child<QComboBox>("cmb都道府県")->hasFocus());
        QCOMPARE(items("cmb都道府県").size(), 47);
    }
};

QTEST_MAIN(TestFmZipora)
#include "tst_fmzipora.moc"
