// The postal finder's dialog over copies of the shipped dictionary and data
// file: opening it (both files, the prefecture list, the local area), code
// searches, the city list and grid of 東京都, and a city-kana search.

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "database.h"
#include "fmzipora.h"
#include "paths.h"

namespace {

struct Files {
    QTemporaryDir dir;
    QString data, yubin;
    Files() {
        data = dir.filePath(core::kDataDbName);
        yubin = dir.filePath(core::kPostalDbName);
        QFile::copy(QStringLiteral(SHIPPED_DATA_DIR "/") + core::kDataDbName, data);
        QFile::copy(QStringLiteral(SHIPPED_DATA_DIR "/") + core::kPostalDbName, yubin);
        QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(yubin, QFile::ReadOwner | QFile::WriteOwner);
    }
    void localArea(const QVariant& area) {
        QString error;
        auto db = core::db::Database::open(data, &error);
        db->execute("update 自社情報 set YubinLocalEriaSw = ?, YubinLocalEria = ?",
                    {!area.isNull(), area});
    }
};

Files& files() {
    static Files f;
    return f;
}

std::unique_ptr<zipora::FmZipora> openDialog() {
    auto d = std::make_unique<zipora::FmZipora>();
    QString error;
    if (!d->open(files().data, files().yubin, &error)) {
        qFatal("%s", qPrintable(error));
    }
    return d;
}

void rowsCounter(benchmark::State& state, const zipora::FmZipora& d) {
    state.counters["grid rows"] = double(const_cast<zipora::FmZipora&>(d).grid().rows().size());
}

void BM_Open(benchmark::State& state, const char* area) {
    files().localArea(*area ? QVariant(QString::fromUtf8(area)) : QVariant());
    std::unique_ptr<zipora::FmZipora> d;
    for (auto _ : state) {
        d = openDialog();
    }
    rowsCounter(state, *d);
    files().localArea(QVariant());
}

void BM_SeekCode(benchmark::State& state, const char* code) {
    auto d = openDialog();
    d->findChild<QLineEdit*>("TXT郵便番号")->setText(QString::fromUtf8(code));
    for (auto _ : state) {
        d->Seek郵便番号();
    }
    rowsCounter(state, *d);
}

void BM_Tokyo(benchmark::State& state) {
    auto d = openDialog();
    d->findChild<QComboBox*>("cmb都道府県")->setEditText("東京都");
    for (auto _ : state) {
        d->read市町村();
    }
    rowsCounter(state, *d);
    state.counters["cities"] = d->findChild<QComboBox*>("cmb市町村")->count();
}

void BM_CityKana(benchmark::State& state, const char* kana) {
    auto d = openDialog();
    d->findChild<QLineEdit*>("TXT市町村かな")->setText(QString::fromUtf8(kana));
    for (auto _ : state) {
        d->search();
    }
    rowsCounter(state, *d);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    auto ms = [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond); };
    ms(benchmark::RegisterBenchmark("open, no local area", BM_Open, ""));
    ms(benchmark::RegisterBenchmark("open, local area 東京都千代田区", BM_Open, "東京都千代田区"));
    ms(benchmark::RegisterBenchmark("code 2310001", BM_SeekCode, "2310001"));
    ms(benchmark::RegisterBenchmark("code prefix 231", BM_SeekCode, "231"));
    ms(benchmark::RegisterBenchmark("city list and grid of 東京都", BM_Tokyo));
    ms(benchmark::RegisterBenchmark("city kana contains ﾁﾖﾀﾞ", BM_CityKana, "ﾁﾖﾀﾞ"));
    ms(benchmark::RegisterBenchmark("city kana contains ﾖｺﾊﾏ", BM_CityKana, "ﾖｺﾊﾏ"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
