// The kana customer finder on the stress data set (100,000 customers):
// opening the dialog, a kana button's listing shown in the grid, and a text
// search with a reading fragment and a name fragment. Each figure runs
// through the library's exported class, as the desk uses it.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTableView>

#include "clsgojuren.h"
#include "stressfiles.h"
#include "vxcmdbtn.h"

namespace {

int listed = 0;

// Runs body on an open finder over the stress files.
void withFinder(const std::function<void(QDialog&)>& body) {
    ClsGojuren finder;
    finder.setPcDataFile(stressPaths().dataDb);
    finder.setPcWorkFile(stressPaths().workDb);
    ClsGojuren::dialogScript() = body;
    if (!finder.FormShow()) {
        qFatal("%s", qPrintable(finder.lastError()));
    }
    ClsGojuren::dialogScript() = nullptr;
}

int rows(QDialog& d) {
    return d.findChild<QTableView*>("Grid参照")->model()->rowCount();
}

void label(benchmark::State& state) {
    state.SetLabel(
        QString("%1 customers; %2 listed").arg(kSize.customers).arg(listed).toStdString());
}

void BM_OpenFinder(benchmark::State& state) {
    for (auto _ : state) {
        // Created, opened over both files, shown and painted.
        withFinder([](QDialog& d) {
            QCoreApplication::processEvents();
            listed = rows(d);
        });
    }
    label(state);
}
BENCHMARK(BM_OpenFinder)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_KanaButton(benchmark::State& state, const QString& kana) {
    withFinder([&](QDialog& d) {
        vx::VxCmdBtn* button = nullptr;
        for (auto* b : d.findChildren<vx::VxCmdBtn*>("cmd50")) {
            if (b->caption() == kana) {
                button = b;
            }
        }
        for (auto _ : state) {
            button->DoClick();
            QCoreApplication::processEvents(); // the grid painted
        }
        listed = rows(d);
    });
    label(state);
}
BENCHMARK_CAPTURE(BM_KanaButton, あ, QStringLiteral("あ"))
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
// The largest first kana of the data set.
BENCHMARK_CAPTURE(BM_KanaButton, い, QStringLiteral("い"))
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// ゐ has no forms: every customer with a reading, the whole data set.
BENCHMARK_CAPTURE(BM_KanaButton, ゐ, QStringLiteral("ゐ"))
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

void BM_TextSearch(benchmark::State& state, const QString& reading, const QString& name) {
    withFinder([&](QDialog& d) {
        d.findChild<QLineEdit*>("txtかな")->setText(reading);
        d.findChild<QLineEdit*>("txt顧客名")->setText(name);
        auto* search = d.findChild<vx::VxCmdBtn*>("cmd顧客参照");
        for (auto _ : state) {
            search->DoClick();
            QCoreApplication::processEvents();
        }
        listed = rows(d);
    });
    label(state);
}
BENCHMARK_CAPTURE(BM_TextSearch, まつ_太郎, QStringLiteral("まつ"), QStringLiteral("太郎"))
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_TextSearch, とう_藤, QStringLiteral("とう"), QStringLiteral("藤"))
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    stressPaths();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
