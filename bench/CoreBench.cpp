// Opening a company database (the company picker opens every one at each scan) and filling a list
// of 100,000 books with every column filled and accession numbers in random order.
#include "BenchData.h"
#include "BenchMain.h"

#include "core/Database.h"
#include "core/ProgramFolderLayout.h"
#include "ui/RecordList.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

QString programFolder()
{
    return benchProgramFolder();
}

void OpenCompanyDatabase(benchmark::State &state)
{
    const QString file = QDir(programFolder()).filePath("DB/Vevezidora12_Backup.mdb");
    Database::keyHex(); // derived once per process, before the first open
    for (auto _ : state) {
        auto db = Database::open(file);
        benchmark::DoNotOptimize(db->scalar("SELECT count(*) FROM Company"));
    }
}
BENCHMARK(OpenCompanyDatabase)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

std::shared_ptr<Database> bookDatabase()
{
    static std::shared_ptr<Database> db = [] {
        const QString file = QDir(programFolder()).filePath("books.mdb");
        QFile::copy(QDir(programFolder()).filePath("DB/Vevezidora12_Backup.mdb"), file);
        auto d = Database::open(file);
        BenchData::fillBooks(*d, 100000);
        return d;
    }();
    return db;
}

void FillListWith100000Books(benchmark::State &state)
{
    auto db = bookDatabase();
    RecordList list;
    list.setColumns({"ID", "Accession No", "Title", "Author", "Status"},
                    {300, 1200, 4000, 2500, 1200});
    for (auto _ : state) {
        Recordset rs = db->query("SELECT * FROM Book ORDER BY Val(AccessionNo)");
        list.fill(rs, {"BookID", "AccessionNo", "title", "Author", "Status"});
        benchmark::DoNotOptimize(list.records()->size());
    }
}
void Read100000BooksOnly(benchmark::State &state)
{
    auto db = bookDatabase();
    for (auto _ : state) {
        int n = 0;
        for (Recordset rs = db->query("SELECT * FROM Book ORDER BY Val(AccessionNo)"); !rs.eof();
             rs.moveNext())
            ++n;
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(Read100000BooksOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK(FillListWith100000Books)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

LD_BENCHMARK_MAIN()
