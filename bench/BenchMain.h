#pragma once

#include "core/ApplicationDatabases.h"
#include "core/Module.h"
#include "core/ProgramFolderLayout.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

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
