// Database layer and start-up figures on the stress data set (100,000
// customers, 300,000 numbers, 1,000,000 calls). The data set is made on
// first use in the build's stress/ folder.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "database.h"
#include "lookups.h"
#include "paths.h"
#include "settings.h"
#include "stressdata.h"
#include "stressfiles.h"
#include "upgrade.h"

using core::db::Database;
using core::db::Recordset;

namespace {

Database& stressDb() {
    static std::unique_ptr<Database> db = [] {
        QString error;
        auto d = Database::open(stressPaths().dataDb, &error);
        if (!d) {
            qFatal("%s", qPrintable(error));
        }
        return d;
    }();
    return *db;
}

void label(benchmark::State& state) {
    state.SetLabel(QString("%1 customers, %2 numbers, %3 calls")
                       .arg(kSize.customers)
                       .arg(kSize.customers * kSize.numbersPerCustomer)
                       .arg(kSize.calls)
                       .toStdString());
}

QString numberOf(int code, int slot) {
    return QString("0%1%2").arg(slot).arg(code * 7 + 10000000, 8, 10, QLatin1Char('0'));
}

void BM_GetTelOwner(benchmark::State& state) {
    Database& db = stressDb();
    QRandomGenerator rng(1);
    for (auto _ : state) {
        QVariant code;
        QString name;
        core::GetTelOwner(db, numberOf(1 + int(rng.bounded(quint32(kSize.customers))), 2), code,
                          name);
        benchmark::DoNotOptimize(name);
    }
    label(state);
}
BENCHMARK(BM_GetTelOwner)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_ReadCustomerByName(benchmark::State& state) {
    Database& db = stressDb();
    QStringList names;
    for (Recordset rs = db.openRecordset("select TOP 2000 名称 from 顧客マスタ order by ふりがな");
         !rs.eof(); rs.moveNext()) {
        names << rs.field("名称").toString();
    }
    int i = 0;
    core::CurrentCustomer c;
    for (auto _ : state) {
        c.名称 = names[i++ % names.size()];
        core::Read顧客(db, "名称", c);
        benchmark::DoNotOptimize(c.code);
    }
    label(state);
}
BENCHMARK(BM_ReadCustomerByName)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_DeskListQuery7Days(benchmark::State& state) {
    Database& db = stressDb();
    const QString start = kLastDay.addDays(-6).toString("yyyy/MM/dd") + " 00:00:00 ";
    const QString sql = "select * from 着信履歴  where 日付 > #" + start + "# order by 日付 DESC;";
    qint64 rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (Recordset rs = db.openRecordset(sql); !rs.eof(); rs.moveNext()) {
            for (const char* f :
                 {"日付", "code", "名称", "電話番号", "担当", "用件1", "用件2", "用件メモ", "済"}) {
                benchmark::DoNotOptimize(rs.field(QString::fromUtf8(f)));
            }
            ++rows;
        }
    }
    state.counters["rows"] = double(rows);
    label(state);
}
BENCHMARK(BM_DeskListQuery7Days)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Equality on a folded column against the same lookup on a plain one.
void BM_EqualityLookup(benchmark::State& state) {
    Database& db = stressDb();
    const bool folded = state.range(0) == 1;
    const QString sql = folded ? "select count(*) from 顧客マスタ where 名称 = ?"
                               : "select count(*) from plain_names where 名称 = ?";
    QRandomGenerator rng(3);
    QStringList names;
    for (Recordset rs = db.openRecordset("select TOP 1000 名称 from plain_names"); !rs.eof();
         rs.moveNext()) {
        names << rs.field("名称").toString();
    }
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(db.scalar(sql, {names[i++ % names.size()]}));
    }
    state.SetLabel(folded ? "folded (JPFOLD index)" : "plain (BINARY index)");
}
BENCHMARK(BM_EqualityLookup)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_StartUpSteps(benchmark::State& state) {
    const core::Paths p = stressPaths();
    for (auto _ : state) {
        QString error;
        auto work = Database::open(p.workDb, &error);
        auto data = Database::open(p.dataDb, &error);
        core::createNewTable(*data, *work);
        core::Settings s;
        core::loadSettings(*data, s, p.defaultSoundPath());
        benchmark::DoNotOptimize(s.TA);
    }
    label(state);
}
BENCHMARK(BM_StartUpSteps)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_LikeOnReadings(benchmark::State& state) {
    Database& db = stressDb();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            db.scalar("select count(*) from 顧客マスタ where ふりがな like 'ヤマ*'"));
    }
    label(state);
}
BENCHMARK(BM_LikeOnReadings)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    stressPaths();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
