// The code tables: opening the screen with a kind of 99 names loaded, loading
// another kind, and saving a kind of 99 rows (confirmation answered by
// script). On copies of the shipped files with every slot named.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include "codegrid.h"
#include "database.h"
#include "frmcodemaster.h"
#include "showmsg.h"
#include "startup.h"
#include "upgrade.h"

namespace {

QTemporaryDir& dataDir() {
    static QTemporaryDir dir;
    return dir;
}

bool setUp() {
    const core::Paths paths = core::Paths::forDataDir(dataDir().path());
    for (const QString& name : {core::kDataDbName, core::kWorkDbName, core::kPostalDbName}) {
        QFile::copy(QStringLiteral(SHIPPED_DATA_DIR "/") + name, paths.dataDir + name);
        QFile(paths.dataDir + name).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    QString error;
    if (!core::startUp(paths, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    // Every slot of every kind named, so each load fills all 99 rows.
    core::dataDb()->execute("update コードマスタ set sname = kcode & '-' & code, Cnt = 100 - code");
    ui::MessageBoxes::script();
    return true;
}

void BM_OpenCodeMaster(benchmark::State& state) {
    for (auto _ : state) {
        masters::FrmCodeMaster screen;
        screen.show();
        QCoreApplication::processEvents(); // laid out and painted
        benchmark::DoNotOptimize(screen.gridModel()->rowCount());
    }
    state.SetLabel("staff kind, 99 names");
}
BENCHMARK(BM_OpenCodeMaster)->Unit(benchmark::kMillisecond);

void BM_LoadKind(benchmark::State& state) {
    masters::FrmCodeMaster screen;
    screen.show();
    QCoreApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        screen.kindBox()->setCurrentIndex(++i % 5);
        screen.Readコードマスタ();
        QCoreApplication::processEvents();
    }
    state.SetLabel("each of the five kinds in turn, 99 names");
}
BENCHMARK(BM_LoadKind)->Unit(benchmark::kMillisecond);

void BM_Save99Rows(benchmark::State& state) {
    masters::FrmCodeMaster screen;
    screen.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        screen.Readコードマスタ();
        ui::MessageBoxes::script({true});
        state.ResumeTiming();
        if (!screen.Entryコードマスタ(true)) {
            state.SkipWithError("the save failed");
        }
    }
    state.SetLabel("staff kind, 99 rows replaced in one transaction");
}
BENCHMARK(BM_Save99Rows)->Unit(benchmark::kMillisecond);

// The grid's reset alone, one commit on the work file: the save above
// ends with it.
void BM_ResetGrid(benchmark::State& state) {
    masters::FrmCodeMaster screen;
    for (auto _ : state) {
        screen.Clearコード明細();
    }
    state.SetLabel("99 empty rows written to wコードマスタ");
}
BENCHMARK(BM_ResetGrid)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!setUp()) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ui::MessageBoxes::unscript();
    core::shutDown();
    return 0;
}
