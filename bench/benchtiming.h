#pragma once
// Timing of one-off runs for the screen benchmarks: wall-clock and processor
// time of each run (on a shared machine the second says what the work itself
// costs), the median and worst printed with the data size, and the
// process's resident memory.

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace bench {

struct Run {
    double wall;
    double cpu;
};

inline void figure(const char* what, std::vector<Run> v, const QString& extra = {}) {
    std::sort(v.begin(), v.end(), [](const Run& a, const Run& b) { return a.wall < b.wall; });
    std::printf("%-46s median %7.1f ms (cpu %7.1f)  worst %7.1f ms  (%zu runs) %s\n", what,
                v[v.size() / 2].wall, v[v.size() / 2].cpu, v.back().wall, v.size(),
                qPrintable(extra));
}

inline double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Resident memory of this process in MB.
inline double residentMb() {
    QFile f("/proc/self/status");
    f.open(QIODevice::ReadOnly);
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
        }
    }
    return 0;
}

template <typename F> Run timed(F f) {
    QElapsedTimer t;
    const double cpu = cpuMs();
    t.start();
    f();
    return {t.nsecsElapsed() / 1e6, cpuMs() - cpu};
}

} // namespace bench
