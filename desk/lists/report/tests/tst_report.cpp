// The report layer: where items land on which page, and a PDF read back.

#include <QDir>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

#include "layout.h"
#include "output.h"
#include "preview.h"
#include "showmsg.h"
#include "platform.h"
#include "vxcmdbtn.h"

using namespace report;

namespace {

// A small report: A4 portrait, header 1000 high, detail 500 high, margins
// 600 top, 400 bottom, 900 left, 400 right; the detail shows field "n".
Definition smallReport(int columns) {
    Definition d;
    d.title = QStringLiteral("テスト");
    d.page.orientation = QPageLayout::Portrait;
    d.page.paper = QPageSize::A4;
    d.page.top = 600;
    d.page.bottom = 400;
    d.page.left = 900;
    d.page.right = 400;
    d.pageHeader.height = 1000;
    d.pageHeader.items = {{ItemKind::Label, "title", 0, 0, 1365, 360, "一覧"},
                          {ItemKind::PageNumber, "page", 5000, 90, 360, 270},
                          {ItemKind::PageCount, "pages", 5500, 90, 360, 270}};
    d.detail.height = 500;
    d.detail.columns = columns;
    Item n{ItemKind::TextBox, "n", 30, 0, 1260, 270};
    n.field = "n";
    d.detail.items = {n, {ItemKind::Line, "rule", 45, 485, 3000, 0}};
    return d;
}

Rows numbered(int count) {
    Rows r;
    r.fields = {"n", "done"};
    for (int i = 0; i < count; ++i) {
        r.values.append({i, i % 3 == 0});
    }
    return r;
}

const Placed* rowItem(const Document& doc, int row, const QString& name, int* pageOut) {
    for (int p = 0; p < doc.pageCount(); ++p) {
        for (const Placed* item : doc.pages[p].named(name)) {
            if (item->row == row) {
                *pageOut = p;
                return item;
            }
        }
    }
    return nullptr;
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TstReport : public QObject {
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void pageNumbersAndCount();
    void stepsSetTextsAndHideItems();
    void pdfReadBack();
    void pdfUnwritablePathIsNamed();
    void missingPrinterIsReported();
    void previewPagesAndSaves();
};

// A4 portrait is 11906 × 16838 twips: the body runs from 1600 to 16438,
// room for 29 lines of 500.
void TstReport::layout_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("probe");
    QTest::addColumn<int>("page");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("first row under the header") << 3 << 1 << 1 << 0 << 0 << QPoint(930, 1600);
    QTest::newRow("third row") << 3 << 1 << 1 << 2 << 0 << QPoint(930, 2600);
    QTest::newRow("last line of a page") << 29 << 1 << 1 << 28 << 0 << QPoint(930, 15600);
    QTest::newRow("one row more opens page 2") << 30 << 1 << 2 << 29 << 1 << QPoint(930, 1600);
    // Two columns of 5303 twips each: across first, then down.
    QTest::newRow("two columns: second row right") << 4 << 2 << 1 << 1 << 0 << QPoint(6233, 1600);
    QTest::newRow("two columns: third row left, down") << 4 << 2 << 1 << 2 << 0
                                                       << QPoint(930, 2100);
    QTest::newRow("two columns: 58 per page") << 59 << 2 << 2 << 58 << 1 << QPoint(930, 1600);
    QTest::newRow("no rows: one page") << 0 << 1 << 1 << -1 << 0 << QPoint();
}

void TstReport::layout() {
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, pages);
    QFETCH(int, probe);
    QFETCH(int, page);
    QFETCH(QPoint, at);
    const Document doc = layOut(smallReport(columns), numbered(rows));
    QCOMPARE(doc.paper, QSize(11906, 16838));
    QCOMPARE(doc.pageCount(), pages);
    // Every page carries its header at the top margin.
    for (const Page& p : doc.pages) {
        QCOMPARE(p.named("title").size(), 1);
        QCOMPARE(p.named("title").front()->rect, QRect(900, 600, 1365, 360));
    }
    if (probe < 0) {
        QVERIFY(doc.pages[0].named("n").isEmpty());
        return;
    }
    int onPage = -1;
    const Placed* n = rowItem(doc, probe, "n", &onPage);
    QVERIFY(n);
    QCOMPARE(onPage, page);
    QCOMPARE(n->rect.topLeft(), at);
    QCOMPARE(n->text, QString::number(probe));
    // The rule keeps its place within the band.
    const Placed* rule = rowItem(doc, probe, "rule", &onPage);
    QVERIFY(rule);
    QCOMPARE(rule->rect.topLeft(), at + QPoint(15, 485));
    int placedRows = 0;
    for (const Page& p : doc.pages) {
        placedRows += p.named("n").size();
    }
    QCOMPARE(placedRows, rows);
}

void TstReport::pageNumbersAndCount() {
    const Document doc = layOut(smallReport(1), numbered(70)); // 29 + 29 + 12
    QCOMPARE(doc.pageCount(), 3);
    for (int p = 0; p < 3; ++p) {
        QCOMPARE(doc.pages[p].named("page").front()->text, QString::number(p + 1));
        QCOMPARE(doc.pages[p].named("pages").front()->text, QStringLiteral("3"));
    }
    // Landscape turns the paper: A4 across holds fewer lines.
    Definition wide = smallReport(1);
    wide.page.orientation = QPageLayout::Landscape;
    const Document across = layOut(wide, numbered(70));
    QCOMPARE(across.paper, QSize(16838, 11906));
    QCOMPARE(across.pageCount(), 4); // 19 lines a page
}

void TstReport::stepsSetTextsAndHideItems() {
    Definition d = smallReport(1);
    d.detail.items.append({ItemKind::TextBox, "done", 5000, 0, 360, 270});
    int headers = 0;
    d.pageHeaderStep = [&](Band& header) {
        ++headers;
        header.item("title")->text = QStringLiteral("見出し");
    };
    d.detailStep = [](Band& band, const Row& row) {
        band.item("done")->text = row.value("done").toBool() ? QStringLiteral("済") : QString();
        band.item("n")->text = QStringLiteral("No.") + band.item("n")->text;
        if (row.value("n").toInt() == 4) {
            band.item("rule")->visible = false;
        }
    };
    const Document doc = layOut(d, numbered(40));
    QCOMPARE(headers, 2);
    QCOMPARE(doc.pages[1].named("title").front()->text, QStringLiteral("見出し"));
    int page = -1;
    QCOMPARE(rowItem(doc, 3, "done", &page)->text, QStringLiteral("済"));
    QCOMPARE(rowItem(doc, 4, "done", &page)->text, QString());
    QCOMPARE(rowItem(doc, 4, "n", &page)->text, QStringLiteral("No.4"));
    QVERIFY(!rowItem(doc, 4, "rule", &page));
    QVERIFY(rowItem(doc, 5, "rule", &page));
}

void TstReport::pdfReadBack() {
    QTemporaryDir dir;
    Definition d = smallReport(1);
    d.page.orientation = QPageLayout::Landscape;
    d.detailStep = [](Band& band, const Row& row) {
        if (row.value("n").toInt() == 25) {
            band.item("n")->text = QStringLiteral("着信二十五");
        }
    };
    const Document doc = layOut(d, numbered(45)); // 19 a page: row 25 on page 2
    QCOMPARE(doc.pageCount(), 3);
    const QString path = dir.filePath("out.pdf");
    QString error;
    QVERIFY2(writePdf(doc, path, &error), qPrintable(error));
    const QString info = run("pdfinfo", {path});
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+3\\n")), qPrintable(info));
    // Landscape A4 in points: 842 × 595.
    QVERIFY2(info.contains(QRegularExpression("Page size:\\s+842 x 595 pts")),
             qPrintable(info));
    QVERIFY(info.contains("テスト"));
    const QString page2 = run("pdftotext", {"-f", "2", "-l", "2", path, "-"});
    QVERIFY2(page2.contains("着信二十五"), qPrintable(page2));
    QVERIFY(page2.contains("一覧"));
    const QString page1 = run("pdftotext", {"-f", "1", "-l", "1", path, "-"});
    QVERIFY(!page1.contains("着信二十五"));
    QVERIFY(page1.contains("18"));
}

void TstReport::pdfUnwritablePathIsNamed() {
    QTemporaryDir dir;
    const QString path = dir.filePath("no/such/folder/out.pdf");
    QString error;
    QVERIFY(!writePdf(layOut(smallReport(1), numbered(2)), path, &error));
    QCOMPARE(error, path);
    // An existing file that cannot be replaced stays as it was.
    const QString kept = dir.filePath("kept.pdf");
    QFile f(kept);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    QDir(dir.path()).mkdir("ro");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool root = QFileInfo(dir.path()).isWritable();
    if (!root) {
        QVERIFY(!writePdf(layOut(smallReport(1), numbered(2)), kept, &error));
        QCOMPARE(error, kept);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old"));
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TstReport::missingPrinterIsReported() {
    ui::MessageBoxes::script();
    auto saved = Printing::setUp();
    Printing::setUp() = [](QPrinter&, QString*) { return false; };
    QVERIFY(!printDocument(layOut(smallReport(1), numbered(2)), nullptr, false));
    QCOMPARE(ui::MessageBoxes::asked().size(), 1);
    QCOMPARE(ui::MessageBoxes::asked().front().text,
             QStringLiteral("プリンタがありません。プリンタの設定を確認してください。"));
    // A printer that fails while printing names itself.
    ui::MessageBoxes::clearAsked();
    Printing::setUp() = [](QPrinter& printer, QString*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName("/no/such/folder/x.pdf");
        return true;
    };
    QVERIFY(!printDocument(layOut(smallReport(1), numbered(2)), nullptr, false));
    QCOMPARE(ui::MessageBoxes::asked().size(), 1);
    QVERIFY(ui::MessageBoxes::asked().front().text.contains(
        QStringLiteral(" に印刷できませんでした。")));
    Printing::setUp() = saved;
    ui::MessageBoxes::unscript();
}

void TstReport::previewPagesAndSaves() {
    QTemporaryDir dir;
    ui::MessageBoxes::script();
    auto* p = Preview::open(layOut(smallReport(1), numbered(300))); // 11 pages
    QVERIFY(p->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(!p->isModal());
    QCOMPARE(p->currentPage(), 0);
    QCOMPARE(p->findChild<QLabel*>("lblPage")->text(), QStringLiteral("1 / 11"));
    QVERIFY(!p->findChild<vx::VxCmdBtn*>("cmd前")->isEnabled());
    p->findChild<vx::VxCmdBtn*>("cmd最後")->DoClick();
    QCOMPARE(p->currentPage(), 10);
    QVERIFY(!p->findChild<vx::VxCmdBtn*>("cmd次")->isEnabled());
    p->findChild<vx::VxCmdBtn*>("cmd前")->DoClick();
    QCOMPARE(p->currentPage(), 9);
    // Zoom: the page picture follows; fit width fills the viewport.
    p->setZoom(1.0);
    const int actual = p->findChild<QLabel*>("PageImage")->width();
    p->setZoom(2.0);
    QVERIFY(qAbs(p->findChild<QLabel*>("PageImage")->width() - 2 * actual) <= 2);
    p->fitWidth();
    QVERIFY(p->fittingWidth());
    auto* area = p->findChild<QScrollArea*>("PageArea");
    QVERIFY(p->findChild<QLabel*>("PageImage")->width() <= area->viewport()->width());
    // It follows the window once it is laid out and when it is resized.
    p->resize(1400, 900);
    QTRY_VERIFY(p->findChild<QLabel*>("PageImage")->width() > area->viewport()->width() - 40);
    p->resize(700, 900);
    QTRY_VERIFY(p->findChild<QLabel*>("PageImage")->width() <= area->viewport()->width());
    QVERIFY(p->findChild<QLabel*>("PageImage")->width() > area->viewport()->width() - 40);

    // PDF保存: a cancel writes nothing; a chosen name gets its file; a
    // folder that cannot be written is named in a message.
    const QString path = dir.filePath("一覧");
    ui::FileDialogs::script({"", path, dir.filePath("none/x.pdf")});
    auto* save = p->findChild<vx::VxCmdBtn*>("cmdPDF");
    save->DoClick();
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    save->DoClick();
    QVERIFY(QFileInfo::exists(path + ".pdf"));
    QVERIFY(run("pdfinfo", {path + ".pdf"}).contains(QRegularExpression("Pages:\\s+11\\n")));
    QVERIFY(ui::MessageBoxes::asked().isEmpty());
    save->DoClick();
    QCOMPARE(ui::MessageBoxes::asked().size(), 1);
    QCOMPARE(ui::MessageBoxes::asked().front().text,
             dir.filePath("none/x.pdf") + QStringLiteral(" に保存できませんでした。保存先を確認してください。"));
    QCOMPARE(ui::FileDialogs::asked().size(), 3);
    QVERIFY(ui::FileDialogs::asked().front().save);
    ui::FileDialogs::unscript();
    ui::MessageBoxes::unscript();
    QPointer<Preview> alive(p);
    p->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(alive.isNull());
}

QTEST_MAIN(TstReport)
#include "tst_report.moc"
