// Compressing the stress data file: our -lh5- writer beside the system's
// lha, on the same file in the same run, with both archives' sizes.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "lzharchive.h"
#include "stressfiles.h"

namespace {

const QString& dataFile() {
    static const QString path = stressPaths().dataDb;
    return path;
}

void setSizes(benchmark::State& state, const QString& archive) {
    const double in = double(QFileInfo(dataFile()).size());
    const double out = double(QFileInfo(archive).size());
    state.counters["input_MB"] = in / 1e6;
    state.counters["archive_MB"] = out / 1e6;
    state.counters["MB_per_s"] = benchmark::Counter(in / 1e6 * double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}

void BM_OurLh5(benchmark::State& state) {
    QTemporaryDir dir;
    const QString archive = dir.filePath("ctidata.lzh");
    for (auto _ : state) {
        if (!lzh::create(archive, {{dataFile(), "RbCtiData2K.mdb"}})) {
            state.SkipWithError("create failed");
        }
    }
    setSizes(state, archive);
}
BENCHMARK(BM_OurLh5)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_SystemLha(benchmark::State& state) {
    QTemporaryDir dir;
    QFile::copy(dataFile(), dir.filePath("RbCtiData2K.mdb"));
    const QString archive = dir.filePath("ctidata.lzh");
    for (auto _ : state) {
        QFile::remove(archive);
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start("lha", {"aq", "ctidata.lzh", "RbCtiData2K.mdb"});
        if (!p.waitForFinished(600000) || p.exitCode() != 0) {
            state.SkipWithError("lha failed");
        }
    }
    setSizes(state, archive);
}
BENCHMARK(BM_SystemLha)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_OurVerify(benchmark::State& state) {
    QTemporaryDir dir;
    const QString archive = dir.filePath("ctidata.lzh");
    lzh::create(archive, {{dataFile(), "RbCtiData2K.mdb"}});
    for (auto _ : state) {
        if (!lzh::verify(archive)) {
            state.SkipWithError("verify failed");
        }
    }
    setSizes(state, archive);
}
BENCHMARK(BM_OurVerify)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    dataFile();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
