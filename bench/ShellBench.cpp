// The company picker's full rescan (each filter letter starts one): walk the folders below the data
// root and list the companies of every company database, with 50 companies at several depths.
#include "BenchMain.h"

#include "core/ApplicationDatabases.h"
#include "core/Database.h"
#include "core/Module.h"
#include "core/ProgramFolderLayout.h"
#include "shell/CompanyFinder.h"
#include "shell/frmCompanyList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QString programFolder()
{
    static bool laidOut = false;
    if (!laidOut) {
        benchProgramFolder();
        const QString templateFile = Module::programPath("DB/Vevezidora12_Backup.mdb");
        for (int i = 1; i <= 50; ++i) {
            // Ten at the top, the rest one to three levels down beside empty folders.
            const QString folder = Module::programPath(
                i <= 10   ? QString("Data/Data %1").arg(i)
                : i <= 30 ? QString("Data/Branch %1/Data %2").arg(i % 5).arg(i)
                          : QString("Data/Old/%1/Archive/Data %2").arg(2000 + i % 7).arg(i));
            QDir().mkpath(folder);
            QDir().mkpath(folder + "/Backup");
            QFile::copy(templateFile, Module::companyDatabasePath(folder));
            Database::open(Module::companyDatabasePath(folder))
                ->execute("INSERT INTO Company (CompanyName, city) VALUES (?, 'Pune')",
                          {QString("School %1").arg(i)});
        }
        laidOut = true;
    }
    return benchProgramFolder();
}

void RescanFiftyCompaniesInThePicker(benchmark::State &state)
{
    programFolder();
    frmCompanyList picker;
    for (auto _ : state) {
        picker.FindFilesAPI("Data", Module::CompanyDatabaseName);
        while (picker.scanPending())
            picker.Timer2_Timer();
    }
    state.counters["folders"] = double(picker.walkedFolders().size());
}
BENCHMARK(RescanFiftyCompaniesInThePicker)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void WalkAndScanFiftyCompanies(benchmark::State &state)
{
    programFolder();
    int companies = 0;
    for (auto _ : state) {
        CompanyFinder::FolderWalk walk;
        walk.restart(Module::dataRoot(), {});
        companies = 0;
        for (const QString &folder : walk.folders())
            companies += int(CompanyFinder::scanFolder(folder, QString()).size());
    }
    state.counters["companies"] = companies;
}
BENCHMARK(WalkAndScanFiftyCompanies)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

LD_BENCHMARK_MAIN();
