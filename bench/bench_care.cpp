// The maintenance screen on the stress data set (100,000 customers,
// 300,000 numbers, 1,000,000 calls): opening it, and saving a copy of the
// data file into another folder while it is open.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "datafilecopy.h"
#include "dbcopy.h"
#include "frmhosyu.h"
#include "showmsg.h"
#include "startup.h"
#include "stressfiles.h"

namespace {

void startOnStressData() {
    static const bool started = [] {
        QString error;
        if (!core::startUp(stressPaths(), &error)) {
            qFatal("%s", qPrintable(error));
        }
        ui::MessageBoxes::script();
        return true;
    }();
    (void)started;
}

void BM_OpenFrmHosyu(benchmark::State& state) {
    startOnStressData();
    for (auto _ : state) {
        auto screen = std::make_unique<care::FrmHosyu>();
        screen->show();
        QCoreApplication::processEvents(); // laid out and painted
        benchmark::DoNotOptimize(screen.get());
    }
    state.SetLabel("open, read the settings, show");
}
BENCHMARK(BM_OpenFrmHosyu)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_SaveCopyOfStressData(benchmark::State& state) {
    startOnStressData();
    const QString dir = QStringLiteral(STRESS_DIR "-copy");
    QDir().mkpath(dir);
    const QString target = dir + QStringLiteral("/RbctiData2K.mdb");
    const qint64 bytes = QFileInfo(stressPaths().dataDb).size();
    for (auto _ : state) {
        QString error;
        if (!core::db::saveSnapshot(*core::dataDb(), target, {}, &error)) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.SetLabel(QStringLiteral("%1 MB data file, synced to disk")
                       .arg(bytes / 1e6, 0, 'f', 1)
                       .toStdString());
    QFile::remove(target);
}
BENCHMARK(BM_SaveCopyOfStressData)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    core::shutDown();
    return 0;
}
