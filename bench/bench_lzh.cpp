// Compressing the stress data file: our -lh5- writer beside the system's
// lha, on the same file in the same run, with both archives' sizes.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "backupcommand.h"
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
    state.counters["MB_per_s"] =
        benchmark::Counter(in / 1e6 * double(state.iterations()), benchmark::Counter::kIsRate);
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

// The whole backup command on the stress data: snapshot, archive, check,
// pieces; then a restore of that set into a copy of the data directory.
void BM_CtibackupSave(benchmark::State& state) {
    QTemporaryDir target;
    QString out;
    QString err;
    for (auto _ : state) {
        QTextStream o(&out);
        QTextStream e(&err);
        if (care::runBackupCommand({"save", target.path(), "--data", stressPaths().dataDir}, {}, {},
                                   o, e) != 0) {
            state.SkipWithError(qPrintable(err));
        }
    }
    state.counters["pieces"] = double(QDir(target.path()).entryList({"cti_d*"}).size());
}
BENCHMARK(BM_CtibackupSave)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_CtibackupRestore(benchmark::State& state) {
    QTemporaryDir target;
    QTemporaryDir data;
    for (const QString& n : {core::kDataDbName, core::kWorkDbName}) {
        QFile::copy(QDir(stressPaths().dataDir).filePath(n), data.filePath(n));
    }
    QString out;
    QString err;
    QTextStream o(&out);
    QTextStream e(&err);
    care::runBackupCommand({"save", target.path(), "--data", data.path()}, {}, {}, o, e);
    for (auto _ : state) {
        if (care::runBackupCommand({"restore", target.path(), "--data", data.path()}, {}, {}, o,
                                   e) != 0) {
            state.SkipWithError(qPrintable(err));
        }
    }
}
BENCHMARK(BM_CtibackupRestore)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    dataFile();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
