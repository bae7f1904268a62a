// The call list and its report on the stress data set: the default month
// shown, a memo search and the whole log shown (with the memory it costs),
// deleting 1,000 ticked calls, and 10,000 rows to PDF and to the preview.
// Runs on a copy of the stress files, since it deletes calls.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "benchtiming.h"
#include "datebox.h"
#include "frmtyakusinlist.h"
#include "layout.h"
#include "output.h"
#include "pagedtablemodel.h"
#include "preview.h"
#include "rpttyakusin.h"
#include "settings.h"
#include "showmsg.h"
#include "startup.h"
#include "stressfiles.h"
#include "vxcmdbtn.h"

using bench::figure;
using bench::Run;
using bench::timed;
using bench::residentMb;

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
    desk::FrmTyakusinList::today() = [] { return kLastDay; };
    desk::FrmTyakusinList list;
    list.show();
    QCoreApplication::processEvents();
    auto* grid = list.findChild<QTableView*>("Grid明細");
    auto shown = [&] {
        grid->viewport()->repaint(); // the visible rows read and drawn
    };

    // The default read: one month back plus a day, up to today.
    std::vector<Run> month;
    for (int i = 0; i < 5; ++i) {
        list.Clear着信履歴();
        month.push_back(timed([&] {
            list.Read着信履歴();
            shown();
        }));
    }
    figure("default read (one month) shown", month,
           QString("%1 calls").arg(list.listModel()->rowCount()));

    // The search panel: a memo fragment over the whole log, then no condition.
    list.findChild<vx::VxCmdBtn*>("cmd集計条件")->DoClick();
    auto* memo = list.findChild<QLineEdit*>("txt用件メモ検索");
    std::vector<Run> memoSearch;
    for (int i = 0; i < 3; ++i) {
        memo->setText("お電話");
        memoSearch.push_back(timed([&] {
            list.Read着信履歴条件付();
            shown();
        }));
    }
    figure("memo search over the whole log shown", memoSearch,
           QString("%1 calls").arg(list.listModel()->rowCount()));
    memo->clear();
    list.Clear着信履歴();
    QCoreApplication::processEvents();
    const double before = residentMb();
    std::vector<Run> everything;
    double grown = 0;
    for (int i = 0; i < 3; ++i) {
        everything.push_back(timed([&] {
            list.Read着信履歴条件付();
            shown();
        }));
        // Scrolled to the end and back: blocks come and go.
        grid->scrollToBottom();
        shown();
        grid->scrollToTop();
        shown();
        grown = std::max(grown, residentMb() - before);
    }
    figure(
        "no condition: every call shown", everything,
        QString("%1 calls, memory +%2 MB").arg(list.listModel()->rowCount()).arg(grown, 0, 'f', 1));

    // Deleting 1,000 ticked calls and rebuilding the month.
    std::vector<Run> deleting;
    for (int i = 0; i < 3; ++i) {
        list.Clear着信履歴();
        list.Read着信履歴();
        core::workDb()->execute("update w着信履歴 set チェック = True where rowid in (select "
                                "rowid from w着信履歴 order by rowid limit 1000)");
        list.listModel()->refresh();
        ui::MessageBoxes::script({true});
        deleting.push_back(timed([&] {
            list.Delete着信履歴();
            shown();
        }));
    }
    figure("delete 1,000 ticked calls and rebuild", deleting);

    // 10,000 rows of the list to PDF and into the preview.
    core::workDb()->execute("delete * from w着信履歴 where rowid not in (select rowid from "
                            "w着信履歴 order by rowid limit 10000)");
    std::vector<Run> pdf, preview;
    int pages = 0;
    for (int i = 0; i < 3; ++i) {
        pdf.push_back(timed([&] {
            report::Rows rows;
            report::readRows(*core::workDb(), "w着信履歴", &rows, &error);
            const report::Document doc = report::layOut(
                desk::Rpt着信履歴(desk::callPrintParams(), core::settings().年号, kLastDay), rows);
            pages = doc.pageCount();
            report::writePdf(doc, dir.filePath("list.pdf"), &error);
        }));
        report::Preview* p = nullptr;
        preview.push_back(timed([&] {
            report::Rows rows;
            report::readRows(*core::workDb(), "w着信履歴", &rows, &error);
            p = report::Preview::open(report::layOut(
                desk::Rpt着信履歴(desk::callPrintParams(), core::settings().年号, kLastDay), rows));
            p->repaint();
        }));
        delete p;
    }
    figure("10,000 rows to PDF", pdf,
           QString("%1 pages, %2 KB")
               .arg(pages)
               .arg(QFileInfo(dir.filePath("list.pdf")).size() / 1024));
    figure("preview of 10,000 rows: first page shown", preview);
    core::shutDown();
    return 0;
}
