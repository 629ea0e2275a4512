// The company file of a large catalogue: what 100,000 books and 20,000 cards cost to write and
// how large they make the file, and the first opening of a company made by an earlier release,
// which gains the indexes it lacks (picker to login). Pinned to one core it is a school's PC:
//   taskset -c 6 bench_CompanyFileBench
#include "BenchData.h"
#include "BenchMain.h"

#include "core/CompanyDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int Books = 100000;
constexpr int Cards = 20000;

QString templateFile()
{
    return QDir(benchProgramFolder()).filePath(QStringLiteral("DB/Vevezidora12_Backup.mdb"));
}

QString catalogue()
{
    return QDir(benchProgramFolder()).filePath(QStringLiteral("catalogue.mdb"));
}

// Cards with every column filled, names of many families, keys written in random order and a
// third of them edited after they were written, as a school's cards are.
void fillCards(Database &db)
{
    static const QStringList given = {"Asha",   "Ravi",   "Meena",  "Arjun", "Priya", "Kiran",
                                      "Sunil",  "Neha",   "Vikram", "Pooja", "Rahul", "Anita",
                                      "Deepak", "Sunita", "Manoj",  "Kavita"};
    static const QStringList family = {"Verma",  "Kumar", "Sharma",  "Singh", "Nair",   "Rao",
                                       "Thakur", "Gupta", "Chauhan", "Negi",  "Kapoor", "Mehta"};
    QRandomGenerator random(11);
    std::vector<int> keys(static_cast<size_t>(Cards));
    std::iota(keys.begin(), keys.end(), 1);
    std::shuffle(keys.begin(), keys.end(), random);
    Transaction transaction(db);
    for (const int id : keys)
        db.execute("INSERT INTO Card (CardID, CardNo, GroupID, GroupName, RollNo, Name, Contact1, "
                   "Contact2, OT11, OT12, OT13, OT14, OT15, Remarks, OD1) VALUES (?, ?, ?, ?, ?, "
                   "?, ?, ?, ?, ?, ?, ?, ?, ?, '2027-03-31')",
                   {id, 1000 + id, 1 + id % 10, QString("Class %1").arg(1 + id % 10),
                    QString("R%1").arg(id % 60),
                    BenchData::pick(random, given, 1) + QLatin1Char(' ') +
                        BenchData::pick(random, family, 1),
                    QString("98160%1").arg(id, 5, 10, QLatin1Char('0')), "0177-2654321",
                    BenchData::pick(random, given, 1) + QLatin1Char(' ') +
                        BenchData::pick(random, family, 1),
                    QString("House %1, Mall Road").arg(id % 400), "Shimla", "Shimla",
                    QString("Photos/%1.jpg").arg(id), "Member since the first class"});
    for (int id = 3; id <= Cards; id += 3)
        db.execute("UPDATE Card SET Name = ?, RollNo = ? WHERE CardID = ?",
                   {BenchData::pick(random, given, 1) + QLatin1Char(' ') +
                        BenchData::pick(random, family, 1),
                    QString("R%1").arg(id % 70), id});
    transaction.commit();
}

// A new company holding 100,000 books and 20,000 cards.
void writeCatalogue()
{
    QFile::remove(catalogue());
    QFile::copy(templateFile(), catalogue());
    auto db = Database::open(catalogue());
    BenchData::fillBooks(*db, Books);
    fillCards(*db);
}

// The catalogue above written, timed; fileMB is the file's size.
void CatalogueOf100000BooksAnd20000Cards(benchmark::State &state)
{
    for (auto _ : state)
        writeCatalogue();
    state.counters["fileMB"] = double(QFileInfo(catalogue()).size()) / 1e6;
}
BENCHMARK(CatalogueOf100000BooksAnd20000Cards)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// A figure of this process's memory from /proc/self/status, in MiB.
double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

// The company opened as the picker opens it, on the catalogue above made as an earlier release
// made it: range(0) = 0 without the search panels' indexes, 1 with their wide form. heldMiB is
// the memory the open connection holds after it.
void FirstOpenOfAnOlderCompany(benchmark::State &state)
{
    if (!QFile::exists(catalogue()))
        writeCatalogue();
    const QString older = QDir(benchProgramFolder()).filePath(QStringLiteral("older.mdb"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(older);
        QFile::copy(catalogue(), older);
        {
            auto db = Database::open(older);
            db->execute("DROP INDEX IF EXISTS BookTitle");
            db->execute("DROP INDEX IF EXISTS CardName");
            for (const char *trigger :
                 {"BookChanged", "BookRemoved", "CardChanged", "CardRemoved", "RowChangeKept"})
                db->execute(QString("DROP TRIGGER IF EXISTS %1").arg(trigger));
            db->execute("DROP TABLE IF EXISTS RowChange");
            if (state.range(0) == 1) {
                db->execute("CREATE INDEX BookTitle ON Book (title, BookID, Author, Publisher, "
                            "Subject, OT11, OT12)");
                db->execute("CREATE INDEX CardName ON Card (Name, CardID, GroupName, RollNo, "
                            "CardNo, OT11, OT13)");
            }
        }
        const double before = residentMiB();
        state.ResumeTiming();
        auto db = Database::open(older);
        CompanyDatabase::UpgradeDatabaseSchema(*db);
        state.PauseTiming();
        state.counters["heldMiB"] = residentMiB() - before;
        db.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(FirstOpenOfAnOlderCompany)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("wideIndexes")
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Apply(singleRuns<3>);

} // namespace

LD_BENCHMARK_MAIN();
