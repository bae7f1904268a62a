// The calendar control: a full repaint of a new 134 × 154 control, and
// stepping through 1,000 months with Page Down (each step repaints).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include "vxcalendar.h"

namespace {

void BM_FullRepaint(benchmark::State& state) {
    vxcal::VxCalendar c;
    c.setThreeD(state.range(0) == 1);
    QImage target(c.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        c.render(&target);
    }
    state.SetLabel(state.range(0) ? "134x154, ThreeD" : "134x154");
}
BENCHMARK(BM_FullRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PageDownThousandMonths(benchmark::State& state) {
    vxcal::VxCalendar c;
    QImage target(c.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        c.setProperty("Date", 45000);
        for (int i = 0; i < 1000; ++i) {
            QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
            QApplication::sendEvent(&c, &down);
            c.render(&target); // the repaint that follows every step
        }
    }
    state.SetLabel("1,000 steps, each repainted");
}
BENCHMARK(BM_PageDownThousandMonths)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
