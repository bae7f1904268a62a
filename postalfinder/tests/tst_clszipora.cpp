// The finder as a caller sees it: only the delivered library's interface,
// the dialog driven through its script seam.

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>

#include "clszipora.h"
#include "testfiles.h"

class TestClsZipora : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFiles> files_;

    // One use as the desk makes it; the script plays the user.
    bool use(ClsZipora& z, const std::function<void(QDialog&)>& script, bool* shown = nullptr) {
        z.setProperty("pcData", files_->paths.dataDb);
        z.setProperty("pcYubin", files_->paths.postalDb);
        ClsZipora::dialogScript() = [&](QDialog& d) {
            if (shown) {
                *shown = true;
            }
            QCOMPARE(d.windowTitle(), "郵便番号検索");
            QVERIFY(d.isVisible());
            QCOMPARE(d.parentWidget(), nullptr);
            script(d);
        };
        const bool ok = z.FormShow();
        ClsZipora::dialogScript() = nullptr;
        return ok;
    }
    static void pickCode(QDialog& d, const QString& code) {
        auto* box = d.findChild<QLineEdit*>("TXT郵便番号");
        box->setFocus();
        QTest::keyClicks(box, code);
        QTest::keyClick(box, Qt::Key_Return);
        auto* grid = d.findChild<QAbstractItemView*>("Grid");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(0, 0)).center());
        QTest::mouseClick(d.findChild<QWidget*>("cmd選択"), Qt::LeftButton);
    }

private slots:
    void init() { files_ = std::make_unique<TestFiles>(); }
    void cleanup() { files_.reset(); }

    void interfaceProperties() {
        ClsZipora z;
        QStringList names;
        for (const QByteArray& n : z.dynamicPropertyNames()) {
            names << QString::fromUtf8(n);
        }
        QCOMPARE(names, QStringList({"pc郵便番号", "pc住所", "pcDtDir", "pcYubinDir", "pcData",
                                     "pcYubin"}));
        for (const QString& n : names) {
            z.setProperty(n.toUtf8(), "x");
            QCOMPARE(z.property(n.toUtf8()).toString(), "x");
        }
        z.setPc住所("y");
        QCOMPARE(z.property("pc住所").toString(), "y");
        QVERIFY(!z.SetRetVal().isValid());
    }

    void chooseFillsTheResult() {
        ClsZipora z;
        QVERIFY(use(z, [](QDialog& d) {
            d.findChild<QLineEdit*>("TXT番地")->setText("2-1");
            pickCode(d, "2310001");
            QVERIFY(!d.isVisible());
        }));
        z.SetRetVal();
        QCOMPARE(z.pc郵便番号(), "2310001");
        QCOMPARE(z.pc住所(), "神奈川県横浜市中区新港2-1");
    }

    // The result pair belongs to the library: a new instance sees the last
    // choice until the dialog closes again, and closing clears it.
    void resultOutlivesTheInstance() {
        {
            ClsZipora first;
            QVERIFY(use(first, [](QDialog& d) { pickCode(d, "1000001"); }));
        }
        ClsZipora second;
        second.SetRetVal();
        QCOMPARE(second.pc郵便番号(), "1000001");
        QCOMPARE(second.pc住所(), "東京都千代田区千代田");

        QVERIFY(use(second, [](QDialog& d) {
            d.findChild<QLineEdit*>("TXT郵便番号")->setText("1000001");
            QTest::mouseClick(d.findChild<QWidget*>("cmd閉じる"), Qt::LeftButton);
        }));
        second.SetRetVal();
        QCOMPARE(second.pc郵便番号(), "");
        QCOMPARE(second.pc住所(), "");

        // A script that leaves the dialog open: closed as 閉じる.
        QVERIFY(use(second, [](QDialog& d) { pickCode(d, "1000001"); }));
        QVERIFY(use(second, [](QDialog&) {}));
        second.SetRetVal();
        QCOMPARE(second.pc郵便番号(), "");
    }

    void unopenableFileShowsNoDialog_data() {
        QTest::addColumn<QString>("which");
        QTest::newRow("data database missing") << "data";
        QTest::newRow("dictionary missing") << "yubin";
        QTest::newRow("dictionary not a database") << "garbage";
    }
    void unopenableFileShowsNoDialog() {
        QFETCH(QString, which);
        const QString victim = which == "data" ? files_->paths.dataDb : files_->paths.postalDb;
        QVERIFY(QFile::remove(victim));
        if (which == "garbage") {
            QFile f(victim);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a database at all, just some bytes that fill a page");
        }
        ClsZipora z;
        bool shown = false;
        QVERIFY(!use(
            z, [](QDialog&) {}, &shown));
        QVERIFY(!shown);
        QVERIFY2(z.lastError().contains(QFileInfo(victim).fileName()), qPrintable(z.lastError()));
    }
};

QTEST_MAIN(TestClsZipora)
#include "tst_clszipora.moc"
