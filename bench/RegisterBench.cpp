// The issue register's first load on a large library (100,000 books, 20,000 cards, 200,000
// vouchers, every column filled), over ranges of 30 days to every date, on two files: vouchers
// saved in the order of their dates with one in 250 re-dated afterwards ("spread"), and dates in
// no order of the keys ("random"). Both written in random key order. Run it under taskset to
// measure a school's PC of one or two cores:
//   taskset -c 6 bench_RegisterBench --benchmark_filter=IssueRegisterFirstLoad/random:0/days:730
#include "BenchData.h"
#include "BenchMain.h"

#include "circulation/frmVoucherRegister.h"
#include "core/Module.h"
#include "ui/RecordList.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <sys/resource.h>

namespace {

constexpr int Books = 100000;
constexpr int Cards = 20000;
constexpr int Vouchers = 200000;
constexpr int Days = 730;
const QDate FirstDay(2024, 4, 1);

enum class Keys { Spread, Random };

void fillVouchers(Database &db, Keys keys)
{
    static const QStringList names = {
        "Asha Verma Kumari",   "Ravi Kumar Thakur", "Meena Sharma Devi", "Arjun Singh Rathore",
        "Priya Nair Menon",    "Kiran Rao Reddy",   "Sunil Thakur Negi", "Neha Gupta Agarwal",
        "Rohit Chauhan Verma", "Anjali Mehta Shah"};
    QRandomGenerator random(46);
    std::vector<int> order(static_cast<size_t>(Vouchers));
    std::iota(order.begin(), order.end(), 1);
    std::shuffle(order.begin(), order.end(), random);
    Transaction transaction(db);
    for (int id : order) {
        const bool issue = id % 2 == 1;
        const int book = 1 + (id * 7919) % Books;
        const int card = 1 + int(qint64(id) * 104729 % Cards);
        // Saved day by day: the keys follow the dates; or dates in no order of the keys.
        const int day = keys == Keys::Spread ? int(qint64(id - 1) * Days / Vouchers)
                                             : int((quint64(id) * 2654435761u) % Days);
        BenchData::insertVoucher(
            db, {id,
                 issue ? "Issue" : "Receipt",
                 FirstDay.addDays(day).toString(Qt::ISODate),
                 (id + 1) / 2,
                 card,
                 1000 + card,
                 book,
                 1 + card % 10,
                 QString("Class %1 Section %2").arg(1 + card % 10).arg(QChar('A' + card % 4)),
                 names[card % names.size()],
                 QString("R%1/2024-25").arg(card % 60),
                 "98160 12345",
                 "0177-2654321 (evening)",
                 book,
                 "Collected Essays and Stories of the Modern World, Volume Two",
                 "Ruskin Bond and R. K. Narayan",
                 "Literature and Language Studies",
                 "Rupa Publications India Private Limited",
                 "2nd Revised Edition",
                 "2019",
                 "240 pages, illustrated",
                 "Vol 1 of 3",
                 issue ? QVariant(id) : QVariant(id - 1),
                 issue ? QVariant(0) : QVariant(id % 9),
                 issue ? QVariant(0.0) : QVariant(id % 9 * 1.5),
                 issue ? QVariant(0) : QVariant(id),
                 "Returned in good condition; spine slightly worn, noted at the desk"});
    }
    // Dates changed after saving: each stretches the keys of its new date's range to the table.
    if (keys == Keys::Spread)
        for (int id = 1; id <= Vouchers; id += 250)
            db.execute(
                "UPDATE Voucher SET \"Date\" = ? WHERE VoucherID = ?",
                {FirstDay.addDays(int(random.bounded(quint32(Days)))).toString(Qt::ISODate), id});
    transaction.commit();
}

// The processor time of every thread of the process so far, in milliseconds: the work done, which
// a loaded machine stretches less than the time on the clock.
double processorMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

QString company(Keys keys)
{
    static QString paths[2];
    QString &path = paths[int(keys)];
    if (path.isEmpty()) {
        const QString name = keys == Keys::Spread ? "register-spread" : "register-random";
        const QString folder = Module::programPath("Data/" + name);
        QDir().mkpath(folder);
        path = Module::companyDatabasePath(folder);
        BenchData::makeFilledCompany(Module::programPath("DB/Vevezidora12_Backup.mdb"), path, name,
                                     [keys](Database &db) {
                                         BenchData::fillBooks(db, Books);
                                         fillVouchers(db, keys);
                                     });
    }
    return path;
}

// The register's first load on a fresh connection, as after the login: range(0) = 0 spread keys,
// 1 keys in random order; range(1) the days from the first day of the file, 730 for every date;
// with range(2) = 1 a register of 60 days loaded first, untimed. workMs: the processor time of
// all threads during the load, the median of the runs.
void IssueRegisterFirstLoad(benchmark::State &state)
{
    benchProgramFolder();
    const QString path = company(state.range(0) == 0 ? Keys::Spread : Keys::Random);
    const int days = int(state.range(1));
    const QDate from = days >= Days ? FirstDay : FirstDay.addDays(90);
    std::vector<double> work;
    for (auto _ : state) {
        Module::CompanyDb.reset();
        Module::CompanyDb = Database::open(path);
        frmVoucherRegister window(VoucherRegister::Kind::Issue);
        // The pickers through their date property, whatever kind of box they are.
        auto *fromBox = window.findChild<QWidget *>("dtpFromDate");
        auto *toBox = window.findChild<QWidget *>("dtpToDate");
        if (state.range(2) == 1) {
            fromBox->setProperty("date", from);
            toBox->setProperty("date", from.addDays(59));
            window.Lv1Load();
        }
        fromBox->setProperty("date", from);
        toBox->setProperty("date", from.addDays(days - 1));
        QElapsedTimer timer;
        const double started = processorMs();
        timer.start();
        window.Lv1Load();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        work.push_back(processorMs() - started);
        state.counters["rows"] = window.findChild<RecordList *>("Lv1")->records()->size();
    }
    std::sort(work.begin(), work.end());
    state.counters["workMs"] = work[work.size() / 2];
    Module::CompanyDb.reset();
}
BENCHMARK(IssueRegisterFirstLoad)
    ->ArgNames({"random", "days", "after60"})
    ->ArgsProduct({{0, 1}, {30, 120, 240, 364, 730}, {0}})
    ->Args({0, 730, 1})
    ->UseManualTime()
    ->Apply(singleRuns<5>);

} // namespace

LD_BENCHMARK_MAIN();
