// The book list's workbook exchange on 20,000 realistic books: the export (rows gathered and the
// workbook written) and the import of that workbook into a catalogue (read and stored).
#include "BenchData.h"
#include "BenchMain.h"

#include "catalogue/BookExchange.h"
#include "platform/ListWorkbook.h"
#include "platform/XlsxReader.h"

#include <QDir>
#include <QFile>

namespace {

constexpr int Books = 20000;

std::shared_ptr<Database> freshCompany(const QString &name)
{
    const QDir dir(benchProgramFolder());
    const QString company = dir.filePath(name);
    QFile::remove(company);
    QFile::copy(dir.filePath("DB/Vevezidora12_Backup.mdb"), company);
    return Database::open(company);
}

QString exported()
{
    return QDir(benchProgramFolder()).filePath("books.xlsx");
}

void ExportOf20000Books(benchmark::State &state)
{
    static const auto db = [] {
        auto made = freshCompany("export.mdb");
        BenchData::fillBooks(*made, Books);
        return made;
    }();
    QList<double> keys;
    for (int key = 1; key <= Books; ++key)
        keys << key;
    for (auto _ : state) {
        const auto rows = BookExchange::exportRows(*db, keys);
        ListWorkbook::write(exported(), BookExchange::layout("Green Valley School"), rows);
        state.counters["rows"] = double(rows.size());
    }
}
BENCHMARK(ExportOf20000Books)->Unit(benchmark::kMillisecond)->Iterations(3);

void ImportOf20000Books(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto db = freshCompany("import.mdb");
        state.ResumeTiming();
        const XlsxReader::Sheet sheet = XlsxReader::readFirstSheet(exported());
        const auto result =
            ListWorkbook::importRows(*db, sheet.lastRow(), BookExchange::rowStore(*db, sheet));
        state.counters["stored"] = result.stored;
        state.counters["failed"] = result.failedRow;
    }
}
BENCHMARK(ImportOf20000Books)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

LD_BENCHMARK_MAIN();
