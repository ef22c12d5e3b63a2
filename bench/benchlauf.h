// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the benchmarks registered so far with Google Benchmark's own command
// line; the exit status is 1 for an argument it does not know.

#include <benchmark/benchmark.h>

inline int BenchmarksLaufen(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
