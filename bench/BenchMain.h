#pragma once

#include <QApplication>
#include <QLocale>
#include <benchmark/benchmark.h>

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
