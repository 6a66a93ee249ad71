// SPDX-License-Identifier: MIT
// Times Tallio's analysis alone, in-process: opening the log, reading every
// record and adding it up, without process start-up or printing. Prints the
// best of several runs in seconds, so a busy machine disturbs it less.
//
// Usage: tallio_analysis_timer LOGFILE [RUNS]

#include "core/analysis/analysis.h"

#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc < 2 || argc > 3) {
        std::fputs("usage: tallio_analysis_timer LOGFILE [RUNS]\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int runs = argc == 3 ? std::max(1, std::atoi(argv[2])) : 5;
    double best = 1e300;
    qint64 records = 0;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const core::analysis::Analysis a = core::analysis::analyseFile(path);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
        records = a.records;
        if (!a.complete()) {
            std::fprintf(stderr, "the log was not read whole (fault %d at line %lld)\n",
                         static_cast<int>(a.fault.kind), static_cast<long long>(a.fault.line));
            return 1;
        }
    }
    std::printf("%.6f %lld\n", best, static_cast<long long>(records));
    return 0;
}
