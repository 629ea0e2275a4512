#pragma once

#include "core/ApplicationDatabases.h"
#include "core/Module.h"
#include "core/ProgramFolderLayout.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

// A program folder laid out once per benchmark process, the program pointed at it and its
// application databases open.
inline QString benchProgramFolder()
{
    static QTemporaryDir dir;
    static const bool ready = [] {
        ProgramFolderLayout::layOut(QStringLiteral(LD_PACKAGE_DIR), dir.path());
        Module::setProgramFolder(dir.path());
        OpenApplicationDatabases();
        return true;
    }();
    (void)ready;
    return dir.path();
}

// Single timed runs, each one repetition, reported by their spread: mean, median, min and max.
template <int Runs> void singleRuns(benchmark::internal::Benchmark *benchmark)
{
    benchmark->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(Runs)
        ->ComputeStatistics(
            "min",
            [](const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); })
        ->ComputeStatistics(
            "max",
            [](const std::vector<double> &v) { return *std::max_element(v.begin(), v.end()); })
        ->ReportAggregatesOnly(true);
}

// The main() of a benchmark that needs widgets: offscreen, English, one QApplication.
#define LD_BENCHMARK_MAIN()                                                                        \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        QLocale::setDefault(QLocale(QLocale::English));                                            \
        QApplication app(argc, argv);                                                              \
        ::benchmark::Initialize(&argc, argv);                                                      \
        ::benchmark::RunSpecifiedBenchmarks();                                                     \
        ::benchmark::Shutdown();                                                                   \
        return 0;                                                                                  \
    }
