// The customer list and its outputs on the stress data set: every customer
// and one kana shown, 100 ticked customers deleted and read again, 1,000
// labels and the list of 10,000 customers to PDF (with the memory that
// costs). Runs on a copy of the stress files, since it deletes customers.

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include "benchtiming.h"
#include "frmkokyakulist.h"
#include "layout.h"
#include "output.h"
#include "pagedtablemodel.h"
#include "rptkokyaku.h"
#include "rpttack2601.h"
#include "settings.h"
#include "showmsg.h"
#include "startup.h"
#include "stressfiles.h"

using bench::figure;
using bench::Run;
using bench::timed;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const core::Paths stress = stressPaths();
    QTemporaryDir dir;
    const core::Paths paths = core::Paths::forDataDir(dir.path());
    for (const QString& n : {core::kDataDbName, core::kWorkDbName}) {
        QFile::copy(stress.dataDir + n, paths.dataDir + n);
    }
    QString error;
    if (!core::startUp(paths, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    ui::MessageBoxes::script();
    desk::FrmKokyakuList list;
    list.show();
    QCoreApplication::processEvents();
    auto* grid = list.findChild<QTableView*>("Grid明細");
    auto* kana = list.findChild<QLineEdit*>("txtふりがな");
    auto shown = [&] { grid->viewport()->repaint(); };

    std::vector<Run> all, one, deleting;
    for (int i = 0; i < 3; ++i) {
        kana->clear();
        all.push_back(timed([&] {
            list.Read顧客一覧();
            shown();
        }));
    }
    figure("every customer shown", all, QString("%1 customers").arg(list.listModel()->rowCount()));
    for (int i = 0; i < 5; ++i) {
        kana->setText("か");
        one.push_back(timed([&] {
            list.Read顧客一覧();
            shown();
        }));
    }
    figure("one kana (か) shown", one, QString("%1 customers").arg(list.listModel()->rowCount()));
    for (int i = 0; i < 3; ++i) {
        kana->setText("か");
        list.Read顧客一覧();
        core::workDb()->execute("update w顧客マスタ set チェック = True where rowid in (select rowid "
                                "from w顧客マスタ order by rowid limit 100)");
        list.listModel()->refresh();
        ui::MessageBoxes::script({true});
        deleting.push_back(timed([&] {
            list.Delete顧客マスタ();
            shown();
        }));
    }
    figure("delete 100 ticked customers and read again", deleting,
           QString("%1 left under か").arg(list.listModel()->rowCount()));

    // Outputs of the ticked rows.
    kana->clear();
    list.Read顧客一覧();
    core::workDb()->execute("update w顧客マスタ set チェック = True where rowid in (select rowid from "
                            "w顧客マスタ order by rowid limit 1000)");
    std::vector<Run> labels;
    int pages = 0;
    for (int i = 0; i < 3; ++i) {
        labels.push_back(timed([&] {
            desk::fillLabelRows(*core::workDb(), "select * from w顧客マスタ where チェック = True");
            report::Rows rows;
            report::readRows(*core::workDb(), "select * from wタックシール印刷 ", &rows, &error);
            const report::Document doc = report::layOut(desk::RptTack2601(), rows);
            pages = doc.pageCount();
            report::writePdf(doc, dir.filePath("labels.pdf"), &error);
        }));
    }
    figure("1,000 labels to PDF", labels,
           QString("%1 sheets, %2 KB").arg(pages).arg(QFileInfo(dir.filePath("labels.pdf")).size() / 1024));

    core::workDb()->execute("update w顧客マスタ set チェック = True where rowid in (select rowid from "
                            "w顧客マスタ order by rowid limit 10000)");
    const double before = bench::residentMb();
    double grown = 0;
    std::vector<Run> listPdf;
    for (int i = 0; i < 3; ++i) {
        listPdf.push_back(timed([&] {
            report::Rows rows;
            report::readRows(*core::workDb(), "select * from w顧客マスタ where チェック = True", &rows, &error);
            const report::Document doc =
                report::layOut(desk::Rpt顧客一覧(core::settings().年号, QDate::currentDate()), rows);
            pages = doc.pageCount();
            report::writePdf(doc, dir.filePath("list.pdf"), &error);
        }));
        grown = std::max(grown, bench::residentMb() - before);
    }
    figure("customer list of 10,000 to PDF", listPdf,
           QString("%1 pages, %2 KB, memory +%3 MB")
               .arg(pages)
               .arg(QFileInfo(dir.filePath("list.pdf")).size() / 1024)
               .arg(grown, 0, 'f', 1));
    core::shutDown();
    return 0;
}
