#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "clsgojuren.h"
#include "database.h"
#include "modgojuren.h"
#include "testfiles.h"
#include "vxcmdbtn.h"

namespace {

// Customers whose readings are written in hiragana, katakana and half-width
// kana, one without a reading and one with an empty one, and names holding
// the characters that mean something to a pattern or to SQL.
struct Customer {
    int code;
    const char* name;
    const char* kana; // nullptr: no reading
    const char* number;
    const char* address;
};
constexpr Customer kCustomers[] = {
    {1, "阿部", "あべ", "0312345678", "東京都千代田区"},
    {2, "安藤", "アンドウ", "0312000000", "東京都新宿区"},
    {3, "秋山", "ｱｷﾔﾏ", "0611112222", "大阪府大阪市"},
    {4, "伊藤", "いとう", "0312999999", "東京都港区"},
    {5, "江藤", "えとう", "0668888888", "大阪府堺市"},
    {6, "ゑ屋", "ゑのや", "0755554444", "京都府京都市"},
    {7, "加藤", "かとう", "0522223333", "愛知県名古屋市"},
    {8, "学校", "ｶﾞｯｺｳ", "0522224444", "愛知県豊橋市"},
    {9, "読みなし", nullptr, "0900000000", "北海道札幌市"},
    {10, "空読み", "", "0900000001", "北海道函館市"},
    {11, "O'Brien商会", "おぶらいえん", "0800000000", "福岡県'福岡市"},
    {12, "100%企画", "ひゃくぱーせんと", "0800000001", "福岡県北九州市"},
    {13, "[株]山田", "やまだ", "0800000002", "沖縄県那覇市"},
};

struct Finder {
    TestFiles files;

    Finder() {
        auto data = files.data();
        core::db::Transaction tx(*data);
        for (const Customer& c : kCustomers) {
            const QString name = QString::fromUtf8(c.name);
            data->execute(
                "insert into 顧客マスタ (code, 名称, ふりがな, 住所1) values (?, ?, ?, ?)",
                {c.code, name, c.kana ? QVariant(QString::fromUtf8(c.kana)) : QVariant(),
                 QString::fromUtf8(c.address)});
            data->execute("insert into 電話番号 (code, no, 名称, 電話名称, 電話番号) values (?, 1, "
                          "?, '会社', ?)",
                          {c.code, name, QString::fromUtf8(c.number)});
        }
        tx.commit();
    }
    ~Finder() { ClsGojuren::dialogScript() = nullptr; }

    // One use as a caller makes it: paths in, FormShow, SetRetVal, pccode.
    // script runs on the open dialog; false when FormShow refused.
    bool use(const std::function<void(QDialog&)>& script, QString* code = nullptr,
             QString* error = nullptr) {
        ClsGojuren finder;
        finder.setPcDataFile(files.paths.dataDb);
        finder.setPcWorkFile(files.paths.workDb);
        ClsGojuren::dialogScript() = script;
        const bool shown = finder.FormShow();
        ClsGojuren::dialogScript() = nullptr;
        const QVariant ret = finder.SetRetVal();
        if (ret.isValid()) {
            qFatal("SetRetVal returned a value");
        }
        if (code) {
            *code = finder.pccode();
        }
        if (error) {
            *error = finder.lastError();
        }
        return shown;
    }
};

vx::VxCmdBtn* kanaButton(QDialog& d, int index) {
    for (auto* b : d.findChildren<vx::VxCmdBtn*>("cmd50")) {
        if (b->property("Index").toInt() == index) {
            return b;
        }
    }
    qFatal("no kana button %d", index);
}
QTableView* grid(QDialog& d) {
    return d.findChild<QTableView*>("Grid参照");
}
QStringList names(QDialog& d) {
    QStringList out;
    QAbstractItemModel* m = grid(d)->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        out << m->index(r, 1).data().toString();
    }
    return out;
}
void type(QDialog& d, const char* box, const QString& text) {
    d.findChild<QLineEdit*>(QString::fromUtf8(box))->setText(text);
}
void click(QDialog& d, const char* name) {
    d.findChild<vx::VxCmdBtn*>(QString::fromUtf8(name))->DoClick();
}
QStringList everyReading() {
    // Every reading that is not Null, folded order: the empty one first,
    // voiced か after plain か, ゑ last.
    return {"空読み",      "秋山", "阿部", "安藤",     "伊藤",     "江藤",
            "O'Brien商会", "加藤", "学校", "100%企画", "[株]山田", "ゑ屋"};
}

} // namespace

class TestGojuren : public QObject {
    Q_OBJECT
private slots:
    void kanaTable_data() {
        QTest::addColumn<QString>("ch");
        QTest::addColumn<QString>("katakana");
        QTest::addColumn<QString>("halfWidth");
        QTest::newRow("あ") << "あ"
                            << "ア"
                            << "ｱ";
        QTest::newRow("こ") << "こ"
                            << "コ"
                            << "ｺ";
        QTest::newRow("の") << "の"
                            << "ノ"
                            << "ﾉ";
        QTest::newRow("も") << "も"
                            << "モ"
                            << "ﾓ";
        QTest::newRow("よ") << "よ"
                            << "ヨ"
                            << "ﾖ";
        QTest::newRow("ゑ has ｴ for its half-width form") << "ゑ"
                                                          << "ヱ"
                                                          << "ｴ";
        QTest::newRow("を") << "を"
                            << "ヲ"
                            << "ｦ";
        QTest::newRow("ん") << "ん"
                            << "ン"
                            << "ﾝ";
        QTest::newRow("ゐ is not in the table") << "ゐ"
                                                << ""
                                                << "";
        QTest::newRow("full-width space") << "\u3000"
                                          << ""
                                          << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
        QTest::newRow("katakana is not looked up") << "ア"
                                                   << ""
                                                   << "";
    }
    void kanaTable() {
        QFETCH(QString, ch);
        QFETCH(QString, katakana);
        QFETCH(QString, halfWidth);
        const gojuren::KanaForms f = gojuren::lookUpKana(ch);
        QCOMPARE(f.katakana, katakana);
        QCOMPARE(f.halfWidth, halfWidth);
    }

    void layout() {
        Finder f;
        QVERIFY(f.use([](QDialog& d) {
            QCOMPARE(d.windowTitle(), "顧客参照");
            QStringList captions;
            for (int i = 0; i < 50; ++i) {
                captions << kanaButton(d, i)->caption();
            }
            QCOMPARE(captions.mid(35, 5), (QStringList{"や", "ゐ", "ゆ", "ゑ", "よ"}));
            QCOMPARE(captions.mid(45), (QStringList{"わ", "を", "ん", "\u3000", ""}));
            QCOMPARE(captions.join("").size(), 49); // one character each, 49 none
            QAbstractItemModel* m = grid(d)->model();
            QCOMPARE((QStringList{m->headerData(0, Qt::Horizontal).toString(),
                                  m->headerData(1, Qt::Horizontal).toString(),
                                  m->headerData(2, Qt::Horizontal).toString()}),
                     (QStringList{"code", "名称", "住所1"}));
            QCOMPARE(d.findChild<QLineEdit*>("txt住所1")->accessibleName(), "住   所");
        }));
    }

    void kanaListing_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("あ: あ, ア and ｱ by reading") << 0 << QStringList{"秋山", "阿部", "安藤"};
        QTest::newRow("か: not the voiced ｶﾞ") << 5 << QStringList{"加藤"};
        QTest::newRow("ゑ: ゑ and ｴ, which stands in") << 38 << QStringList{"江藤", "ゑ屋"};
        QTest::newRow("ゐ: every reading") << 36 << everyReading();
        QTest::newRow("space: every reading") << 48 << everyReading();
        QTest::newRow("empty: every reading") << 49 << everyReading();
        QTest::newRow("ん: none") << 47 << QStringList{};
    }
    void kanaListing() {
        QFETCH(int, index);
        QFETCH(QStringList, listed);
        Finder f;
        QVERIFY(f.use([&](QDialog& d) {
            kanaButton(d, index)->DoClick();
            QCOMPARE(names(d), listed);
            QVERIFY(!d.findChild<QLabel*>("Msg検索中")->isVisible());
        }));
    }

    void textSearch_data() {
        QTest::addColumn<QStringList>("boxes"); // かな, 電話番号, 顧客名, 住所1
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("all empty: everyone")
            << QStringList{"", "", "", ""} << (QStringList{"読みなし"} + everyReading());
        QTest::newRow("reading anywhere, not voiced")
            << QStringList{"とう", "", "", ""} << QStringList{"伊藤", "江藤", "加藤"};
        QTest::newRow("reading typed half-width")
            << QStringList{"ﾄｳ", "", "", ""} << QStringList{"伊藤", "江藤", "加藤"};
        QTest::newRow("number and name")
            << QStringList{"", "0312", "藤", ""} << QStringList{"安藤", "伊藤"};
        QTest::newRow("reading and address")
            << QStringList{"あ", "", "", "東京"} << QStringList{"阿部", "安藤"};
        QTest::newRow("number anywhere")
            << QStringList{"", "4444", "", ""} << QStringList{"学校", "ゑ屋"};
        QTest::newRow("no match") << QStringList{"とう", "0800", "", ""} << QStringList{};
        QTest::newRow("a quote is a quote")
            << QStringList{"", "", "'", ""} << QStringList{"O'Brien商会"};
        QTest::newRow("a quote in the address")
            << QStringList{"", "", "", "県'福"} << QStringList{"O'Brien商会"};
        QTest::newRow("% is a character")
            << QStringList{"", "", "%", ""} << QStringList{"100%企画"};
        QTest::newRow("an open bracket is a character")
            << QStringList{"", "", "[", ""} << QStringList{"[株]山田"};
        QTest::newRow("# is a digit") << QStringList{"", "", "#", ""} << QStringList{"100%企画"};
        QTest::newRow("* is any run") << QStringList{"", "", "阿*", ""} << QStringList{"阿部"};
        QTest::newRow("? is one character")
            << QStringList{"", "", "?藤", ""} << QStringList{"安藤", "伊藤", "江藤", "加藤"};
    }
    void textSearch() {
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, listed);
        Finder f;
        QVERIFY(f.use([&](QDialog& d) {
            type(d, "txtかな", boxes[0]);
            type(d, "txt電話番号", boxes[1]);
            type(d, "txt顧客名", boxes[2]);
            type(d, "txt住所1", boxes[3]);
            click(d, "cmd顧客参照");
            QCOMPARE(names(d), listed);
        }));
    }

    // A picked customer's code comes back; every other close returns none,
    // even after an earlier choice in the same run.
    void result_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("code");
        QTest::newRow("選択 on the second row") << "選択"
                                                << "1";
        QTest::newRow("F10") << "F10"
                             << "1";
        QTest::newRow("double-click") << "double-click"
                                      << "1";
        QTest::newRow("選択 without moving takes the first row") << "選択 first"
                                                                 << "3";
        QTest::newRow("閉じる") << "閉じる"
                                << "";
        QTest::newRow("ESC") << "ESC"
                             << "";
        QTest::newRow("the caller's script closes it") << "nothing"
                                                       << "";
        QTest::newRow("選択 on an empty list") << "選択 empty"
                                               << "";
    }
    void result() {
        QFETCH(QString, how);
        QFETCH(QString, code);
        Finder f;
        QString earlier;
        QVERIFY(f.use(
            [](QDialog& d) {
                kanaButton(d, 1)->DoClick(); // い
                click(d, "cmd選択");
            },
            &earlier));
        QCOMPARE(earlier, "4");

        QString got = "unset";
        QVERIFY(f.use(
            [&](QDialog& d) {
                QVERIFY(QTest::qWaitForWindowActive(&d));
                if (how == "選択 empty") {
                    kanaButton(d, 47)->DoClick(); // ん: nobody
                } else {
                    kanaButton(d, 0)->DoClick(); // 秋山 3, 阿部 1, 安藤 2
                }
                QTableView* g = grid(d);
                const QModelIndex second = g->model()->index(1, 1);
                if (how == "選択") {
                    g->setCurrentIndex(second);
                    click(d, "cmd選択");
                } else if (how == "F10" || how == "ESC") {
                    g->setCurrentIndex(second);
                    QTest::keyClick(d.findChild<QLineEdit*>("txtかな"),
                                    how == "F10" ? Qt::Key_F10 : Qt::Key_Escape);
                } else if (how == "double-click") {
                    g->scrollTo(second);
                    const QPoint at = g->visualRect(second).center();
                    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, at);
                    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
                } else if (how == "選択 first" || how == "選択 empty") {
                    click(d, "cmd選択");
                } else if (how == "閉じる") {
                    g->setCurrentIndex(second);
                    click(d, "cmd閉じる");
                }
                if (how != "nothing") {
                    QVERIFY(!d.isVisible());
                }
            },
            &got));
        QCOMPARE(got, code);
    }

    void f5Searches() {
        Finder f;
        QVERIFY(f.use([](QDialog& d) {
            QVERIFY(QTest::qWaitForWindowActive(&d));
            QLineEdit* name = d.findChild<QLineEdit*>("txt顧客名");
            name->setText("山");
            QTest::keyClick(name, Qt::Key_F5);
            QCOMPARE(names(d), (QStringList{"秋山", "[株]山田"}));
        }));
    }

    // The list starts empty whatever the work table held, the clear button
    // empties list and boxes, and the last list stays in the work table.
    void clearing() {
        Finder f;
        f.files.work()->execute("insert into w顧客参照 (code, 名称) values (99, '前回の行')");
        QVERIFY(f.use([](QDialog& d) {
            QVERIFY(QTest::qWaitForWindowActive(&d));
            QCOMPARE(names(d), QStringList{});
            type(d, "txtかな", "とう");
            type(d, "txt電話番号", "03");
            type(d, "txt顧客名", "藤");
            type(d, "txt住所1", "東京");
            click(d, "cmd顧客参照");
            QCOMPARE(names(d), QStringList{"伊藤"});
            click(d, "cmdクリア");
            QCOMPARE(names(d), QStringList{});
            for (const char* box : {"txtかな", "txt電話番号", "txt顧客名", "txt住所1"}) {
                QCOMPARE(d.findChild<QLineEdit*>(box)->text(), QString());
            }
            QCOMPARE(QApplication::focusWidget(), d.findChild<QLineEdit*>("txt電話番号"));
            kanaButton(d, 5)->DoClick(); // か
        }));
        QCOMPARE(f.files.work()->scalar("select 名称 from w顧客参照").toString(), "加藤");
    }

    void unusableFile_data() {
        QTest::addColumn<QString>("broken"); // "data" or "work"
        QTest::addColumn<QString>("how");
        QTest::newRow("data missing") << "data"
                                      << "missing";
        QTest::newRow("work missing") << "work"
                                      << "missing";
        QTest::newRow("data not a database") << "data"
                                             << "garbage";
    }
    void unusableFile() {
        QFETCH(QString, broken);
        QFETCH(QString, how);
        Finder f;
        QString earlier;
        f.use(
            [](QDialog& d) {
                kanaButton(d, 0)->DoClick();
                click(d, "cmd選択");
            },
            &earlier);
        QCOMPARE(earlier, "3");

        const QString path = broken == "data" ? f.files.paths.dataDb : f.files.paths.workDb;
        QFile::remove(path);
        if (how == "garbage") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'x'));
        }
        bool ran = false;
        QString code = "unset", error;
        QVERIFY(!f.use([&](QDialog&) { ran = true; }, &code, &error));
        QVERIFY(!ran);
        QVERIFY2(error.contains(QFileInfo(path).fileName()), qPrintable(error));
        QCOMPARE(code, QString());                           // not the earlier choice
        QCOMPARE(QFileInfo::exists(path), how == "garbage"); // nothing made in its place
    }

    // The data file's path is written into the statements: a quote in it
    // must not break them.
    void folderWithAQuote() {
        Finder f;
        const QString dir = f.files.dir.path() + "/O'Neil's data/";
        QVERIFY(QDir().mkpath(dir));
        for (const QString& n : {core::kDataDbName, core::kWorkDbName}) {
            QVERIFY(QFile::rename(f.files.paths.dataDir + n, dir + n));
        }
        f.files.paths = core::Paths::forDataDir(dir);
        QVERIFY(f.use([](QDialog& d) {
            kanaButton(d, 0)->DoClick();
            QCOMPARE(names(d), (QStringList{"秋山", "阿部", "安藤"}));
            type(d, "txt電話番号", "0312");
            click(d, "cmd顧客参照");
            QCOMPARE(names(d), (QStringList{"阿部", "安藤", "伊藤"}));
        }));
    }

    void properties() {
        ClsGojuren finder;
        QVERIFY(finder.setProperty("pcDataFile", "/d/RbCtiData2K.mdb") == true);
        QCOMPARE(finder.pcDataFile(), "/d/RbCtiData2K.mdb");
        finder.setProperty("pc顧客名", "山田");
        QCOMPARE(finder.pc顧客名(), "山田");
        finder.setPcWorkFile("/d/RbctiWork2K.mdb");
        QCOMPARE(finder.property("pcWorkFile").toString(), "/d/RbctiWork2K.mdb");
        QCOMPARE(finder.property("pccode").toString(), QString());
    }
};

QTEST_MAIN(TestGojuren)
#include "tst_gojuren.moc"
