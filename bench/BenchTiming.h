#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

// Timing shared by the micro benchmarks: medians of wall-clock and processor
// time, in milliseconds.
namespace BenchTiming {

inline double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// The processor time (all threads of the process) is what the machine's
// other load does not inflate.
struct Timing
{
    double wall = 0;
    double cpu = 0;
};

// Median wall-clock and processor time of runs of work, each after prepare.
inline Timing median(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    QList<double> walls, cpus;
    for (int r = 0; r < runs; ++r) {
        prepare();
        QElapsedTimer t;
        const double c0 = cpuMs();
        t.start();
        work();
        walls.append(double(t.nsecsElapsed()) / 1e6);
        cpus.append(cpuMs() - c0);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls.at(walls.size() / 2), cpus.at(cpus.size() / 2)};
}

inline void print(const char *what, Timing t, const QString &note = QString())
{
    std::printf("%-38s wall %8.2f ms   cpu %8.2f ms  %s\n", what, t.wall, t.cpu, qPrintable(note));
}

} // namespace BenchTiming
