// The card window's list over 20,000 cards: the first rows shown, and the validity filter (and the
// name prefix the issue window's card search runs on the same table) answered.
#include "BenchMain.h"

#include "core/Database.h"
#include "core/Module.h"
#include "core/Pattern.h"
#include "members/CardRecords.h"
#include "members/MembersWindows.h"
#include "members/frmLibraryCard.h"
#include "ui/DateBox.h"
#include "ui/RecordList.h"
#include "ui/WindowRegistry.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <numeric>

namespace {

constexpr int CardCount = 20000;

// Every column filled as a school's cards are: keys inserted in random order, card numbers
// shuffled, validity dates spread over three years.
void fillCards(Database &db)
{
    static const QStringList first = {"Asha", "Bhavna", "Charan", "Deepak", "Gurpreet", "Harleen",
                                      "Ishaan", "Jaspreet", "Kavita", "Lakhwinder", "Manpreet",
                                      "Navdeep", "Parminder", "Rajinder", "Simran", "Tejinder"};
    static const QStringList last = {"Sharma", "Kaur", "Singh", "Verma", "Gupta", "Bansal",
                                     "Sidhu", "Gill", "Arora", "Mehta"};
    static const QStringList cities = {"Nabha", "Patiala", "Rajpura", "Samana", "Sirhind",
                                       "Khanna", "Malerkotla", "Sangrur"};
    static const QStringList groups = {"Primary", "Middle", "Secondary", "Senior Secondary",
                                       "Staff"};
    QRandomGenerator random(20261209);
    std::vector<int> keys(CardCount), numbers(CardCount);
    std::iota(keys.begin(), keys.end(), 1);
    std::iota(numbers.begin(), numbers.end(), 1);
    std::shuffle(keys.begin(), keys.end(), random);
    std::shuffle(numbers.begin(), numbers.end(), random);
    Transaction transaction(db);
    for (int g = 0; g < groups.size(); ++g)
        db.execute("INSERT INTO Group1 (GroupID, GroupName, FinePerDay, MaxBooks, MaxDays, "
                   "Remarks) VALUES (?, ?, 1, 3, 14, 'Session 2026-27')",
                   {g + 1, groups[g]});
    const QDate start(2025, 4, 1);
    for (int i = 0; i < CardCount; ++i) {
        const int key = keys[size_t(i)];
        const int group = int(random.bounded(quint32(groups.size())));
        const QString name = first[int(random.bounded(quint32(first.size())))] + ' ' +
                             last[int(random.bounded(quint32(last.size())))];
        db.execute("INSERT INTO Card (CardID, CardNo, GroupID, GroupName, RollNo, Name, Contact1, "
                   "Contact2, OT11, OT12, OT13, OT14, OT15, Remarks, OD1) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                   {key, numbers[size_t(i)], group + 1, groups[group],
                    QString("%1-%2/%3").arg(1 + i % 12).arg(QChar('A' + i % 4)).arg(i % 60),
                    name, QString("98%1").arg(14000000 + i), QString("01765-%1").arg(220000 + i),
                    first[(i + 5) % first.size()] + ' ' + last[i % last.size()],
                    QString("House %1, Ward %2").arg(1 + i % 400).arg(1 + i % 20),
                    cities[i % cities.size()], "Patiala",
                    QString("/home/library/photos/%1.jpg").arg(key), "Hostel",
                    start.addDays(int(random.bounded(1095u))).toString(Qt::ISODate)});
    }
    transaction.commit();
}

void openCompanyWithCards()
{
    static bool ready = false;
    if (ready)
        return;
    benchProgramFolder();
    const QString folder = Module::programPath("Data/Data 1");
    QDir().mkpath(folder);
    QFile::copy(Module::programPath("DB/Vevezidora12_Backup.mdb"),
                Module::companyDatabasePath(folder));
    Module::CompanyDb = Database::open(Module::companyDatabasePath(folder));
    fillCards(*Module::CompanyDb);
    registerMembersWindows();
    ready = true;
}

// Opening the window: groups, proposal and the whole list, then the first rows painted.
void OpenCardWindowWith20000Cards(benchmark::State &state)
{
    openCompanyWithCards();
    for (auto _ : state) {
        frmLibraryCard window;
        window.show();
        window.grab(); // paints the first rows
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenCardWindowWith20000Cards)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The validity search of one month's expiries, list refilled.
void ValidityFilterOverAMonth(benchmark::State &state)
{
    openCompanyWithCards();
    frmLibraryCard window;
    window.findChild<DateBox *>("dtpFromDate")->setDate(QDate(2026, 6, 1));
    window.findChild<DateBox *>("dtpToDate")->setDate(QDate(2026, 6, 30));
    int rows = 0;
    for (auto _ : state) {
        window.Lv1Load("Date");
        rows = window.findChild<RecordList *>("Lv1")->records()->size();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(ValidityFilterOverAMonth)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A year's expiries: the widest range a librarian asks for.
void ValidityFilterOverAYear(benchmark::State &state)
{
    openCompanyWithCards();
    int rows = 0;
    for (auto _ : state)
        rows = int(CardRecords::listRows(*Module::CompanyDb,
                                         CardRecords::ValidityRange{QDate(2026, 1, 1),
                                                                    QDate(2026, 12, 31)})
                       .size());
    state.counters["rows"] = rows;
}
BENCHMARK(ValidityFilterOverAYear)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A name prefix over the cards, as the issue window's card search runs it at every keystroke.
void NamePrefixFilter(benchmark::State &state)
{
    openCompanyWithCards();
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (Recordset rs = Module::CompanyDb->query(
                 "SELECT CardID, Name, GroupName, OT11, RollNo FROM Card WHERE Pattern(Name, ?) "
                 "ORDER BY Name",
                 {Pattern::prefix("Simran K")});
             !rs.eof(); rs.moveNext())
            ++rows;
    }
    state.counters["rows"] = rows;
}
BENCHMARK(NamePrefixFilter)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

LD_BENCHMARK_MAIN();
