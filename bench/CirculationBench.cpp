// Issue saves and the pending-books list on a large library: 100,000 books, 20,000 cards and
// 200,000 vouchers, every table written in random key order. Pinned to one or two cores, the
// registers and the search panel are a school's PC:
//   taskset -c 6,7 bench_CirculationBench --benchmark_filter='IssueRegister|SearchPanel'
#include "BenchData.h"
#include "BenchMain.h"
#include "BenchScreen.h"

#include "circulation/CirculationRules.h"
#include "circulation/IssuePrintout.h"
#include "circulation/ReceiptPrintout.h"
#include "circulation/ReturnRules.h"
#include "circulation/SearchPanel.h"
#include "circulation/frmLedger.h"
#include "circulation/frmPendingBooks.h"
#include "circulation/frmVoucherRegister.h"
#include "controls/button/StyledButton.h"

#include "core/Pattern.h"
#include "ui/DateBox.h"
#include "ui/RecordList.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

constexpr int Books = 100000;
constexpr int Cards = 20000;
constexpr int Vouchers = 200000;

std::vector<int> shuffled(int count, QRandomGenerator &random)
{
    std::vector<int> keys(static_cast<size_t>(count));
    std::iota(keys.begin(), keys.end(), 1);
    std::shuffle(keys.begin(), keys.end(), random);
    return keys;
}

void fillCardsAndVouchers(Database &db)
{
    static const QStringList names = {"Asha Verma", "Ravi Kumar", "Meena Sharma", "Arjun Singh",
                                      "Priya Nair", "Kiran Rao",  "Sunil Thakur", "Neha Gupta"};
    QRandomGenerator random(7);
    Transaction transaction(db);
    for (int g = 1; g <= 10; ++g)
        db.execute(
            "INSERT INTO Group1 (GroupID, GroupName, FinePerDay, MaxBooks, MaxDays, Remarks) "
            "VALUES (?, ?, 1, 0, 14, 'Return within two weeks')",
            {g, QString("Class %1").arg(g)});
    for (int id : shuffled(Cards, random))
        db.execute("INSERT INTO Card (CardID, CardNo, GroupID, GroupName, RollNo, Name, Contact1, "
                   "Contact2, OT11, OT13, Remarks, OD1) VALUES (?, ?, ?, ?, ?, ?, '9816012345', "
                   "'0177-2654321', 'Father Name', 'Shimla', '', '2027-03-31')",
                   {id, 1000 + id, 1 + id % 10, QString("Class %1").arg(1 + id % 10),
                    QString("R%1").arg(id % 60), names[id % names.size()]});
    // Half issues, half returns, keys written in random order.
    for (int id : shuffled(Vouchers, random)) {
        const bool issue = id % 2 == 1;
        const int book = 1 + (id * 7919) % Books;
        const int card = 1 + id % Cards;
        BenchData::insertVoucher(db, {id,
                                      issue ? "Issue" : "Receipt",
                                      QDate(2024, 4, 1).addDays(id % 700).toString(Qt::ISODate),
                                      (id + 1) / 2,
                                      card,
                                      1000 + card,
                                      book,
                                      1 + card % 10,
                                      QString("Class %1").arg(1 + card % 10),
                                      names[card % names.size()],
                                      QString("R%1").arg(card % 60),
                                      "9816012345",
                                      "0177-2654321",
                                      book,
                                      "Collected Essays of the Modern World",
                                      "Ruskin Bond",
                                      "Literature",
                                      "Rupa Publications",
                                      "2nd",
                                      "2019",
                                      "240",
                                      "Vol 1",
                                      issue ? QVariant() : QVariant(id - 1),
                                      issue ? QVariant() : QVariant(3),
                                      issue ? QVariant() : QVariant(3.0),
                                      issue ? QVariant() : QVariant(id),
                                      "No remarks"});
    }
    transaction.commit();
}

Database &library()
{
    static const bool ready = [] {
        benchProgramFolder();
        const QString folder = Module::programPath("Data/Data 1");
        QDir().mkpath(folder);
        BenchData::makeFilledCompany(
            Module::programPath("DB/Vevezidora12_Backup.mdb"), Module::companyDatabasePath(folder),
            QStringLiteral("circulation"), [](Database &db) {
                db.execute("INSERT INTO Company (CompanyName, Address, city, phone) VALUES "
                           "('Green Valley School', 'Mall Road', 'Shimla', '0177')");
                BenchData::fillBooks(db, Books);
                fillCardsAndVouchers(db);
            });
        Module::CompanyDb = Database::open(Module::companyDatabasePath(folder));
        return true;
    }();
    (void)ready;
    return *Module::CompanyDb;
}

// One issue as the save button runs it: card and copy read again, checks, voucher and copy in
// one transaction, then the slip staged. Each round lends another copy that is on the shelf.
void IssueSave(benchmark::State &state)
{
    Database &db = library();
    QStringList shelf;
    for (Recordset rs = db.query("SELECT AccessionNo FROM Book WHERE Status = 'Available' "
                                 "ORDER BY BookID DESC LIMIT 20000");
         !rs.eof(); rs.moveNext())
        shelf << rs.text("AccessionNo");
    int next = 0;
    for (auto _ : state) {
        const QString accessionNo = shelf[next++ % shelf.size()];
        const QString cardNo = QString::number(1000 + 1 + next % Cards);
        const auto result = CirculationRules::saveIssue(
            db, {0, QDate(2026, 3, 5), QString::number(*CirculationRules::nextSerial(db, "Issue")),
                 cardNo, accessionNo});
        if (result.refusal != CirculationRules::Refusal::None)
            state.SkipWithError("the issue was refused");
        IssuePrintout::Slip slip;
        slip.date = result.voucher.date;
        slip.srNo = QString::number(result.voucher.srNo);
        slip.cardNo = cardNo;
        slip.accessionNo = accessionNo;
        slip.groupId = QString::number(result.voucher.card.groupId);
        slip.name = result.voucher.card.name;
        slip.bookId = QString::number(result.voucher.book.bookId);
        slip.title = result.voucher.book.title;
        IssuePrintout::stage(slip);
    }
}
BENCHMARK(IssueSave)->Unit(benchmark::kMillisecond)->Iterations(500);

// One return as the save button runs it, after both look-ups: card and copy read again, checks,
// voucher and shelf state in one transaction, then the receipt staged. The copies are lent first,
// outside the timing.
void ReceiptSave(benchmark::State &state)
{
    Database &db = library();
    constexpr int Rounds = 500;
    std::vector<ReturnRules::ReceiptEntry> entries;
    Recordset shelf = db.query("SELECT AccessionNo FROM Book WHERE Status = 'Available' "
                               "ORDER BY BookID LIMIT ?",
                               {Rounds});
    for (int round = 0; !shelf.eof(); shelf.moveNext(), ++round) {
        const QString accessionNo = shelf.text("AccessionNo");
        const QString cardNo = QString::number(1000 + 1 + round % Cards);
        const auto issued =
            CirculationRules::saveIssue(db, {0, QDate(2026, 3, 1), "1", cardNo, accessionNo});
        if (issued.refusal != CirculationRules::Refusal::None)
            continue;
        ReturnRules::ReceiptEntry e;
        e.date = QDate(2026, 3, 10);
        e.cardNo = cardNo;
        e.accessionNo = accessionNo;
        e.card = issued.voucher.card;
        e.book = issued.voucher.book;
        e.daysDelayed = "9";
        e.totalFine = "9";
        entries.push_back(e);
    }
    if (entries.empty()) {
        state.SkipWithError("no copy could be lent");
        return;
    }
    size_t next = 0;
    for (auto _ : state) {
        ReturnRules::ReceiptEntry &e = entries[next++ % entries.size()];
        e.srNo = QString::number(*CirculationRules::nextSerial(db, "Receipt"));
        if (ReturnRules::saveReceipt(db, e).refusal != ReturnRules::Refusal::None)
            state.SkipWithError("the return was refused");
        ReceiptPrintout::Slip slip;
        slip.date = e.date;
        slip.srNo = e.srNo;
        slip.cardNo = e.cardNo;
        slip.accessionNo = e.accessionNo;
        slip.groupId = QString::number(e.card.groupId);
        slip.name = e.card.name;
        slip.title = e.book.title;
        slip.daysDelayed = e.daysDelayed;
        slip.totalFine = e.totalFine;
        ReceiptPrintout::stage(slip);
    }
}
BENCHMARK(ReceiptSave)->Unit(benchmark::kMillisecond)->Iterations(500);

void PendingListLoad(benchmark::State &state)
{
    library();
    frmPendingBooks window;
    for (auto _ : state)
        window.Lv1Load();
    state.counters["rows"] = double(window.findChild<QLineEdit *>("txtV1")->text().toInt());
}
BENCHMARK(PendingListLoad)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// One keystroke in the title filter per round: "C", "Co", ... "Collec", then "C" again.
void PendingListFilterKeystroke(benchmark::State &state)
{
    library();
    frmPendingBooks window;
    window.findChild<QComboBox *>("cboSearch")->setCurrentText("Title");
    auto *filter = window.findChild<QLineEdit *>("txtSearch");
    const QString typed = "Collec";
    int round = 0;
    for (auto _ : state)
        filter->setText(typed.left(1 + round++ % int(typed.size())));
    state.counters["rows"] = double(window.findChild<QLineEdit *>("txtV1")->text().toInt());
}
BENCHMARK(PendingListFilterKeystroke)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The issue register over one month (about 4,300 issues), as OK reloads it.
void IssueRegisterMonth(benchmark::State &state)
{
    library();
    frmVoucherRegister window(VoucherRegister::Kind::Issue);
    window.findChild<DateBox *>("dtpFromDate")->setDate(QDate(2025, 1, 1));
    window.findChild<DateBox *>("dtpToDate")->setDate(QDate(2025, 1, 31));
    for (auto _ : state)
        window.Lv1Load();
    state.counters["rows"] = double(window.findChild<QLineEdit *>("txtV1")->text().toInt());
}
BENCHMARK(IssueRegisterMonth)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The issue register over every issue on file (some 100,000), as OK reloads it.
void IssueRegisterYear(benchmark::State &state)
{
    library();
    frmVoucherRegister window(VoucherRegister::Kind::Issue);
    window.findChild<DateBox *>("dtpFromDate")->setDate(QDate(2024, 1, 1));
    window.findChild<DateBox *>("dtpToDate")->setDate(QDate(2026, 12, 31));
    for (auto _ : state)
        window.Lv1Load();
    state.counters["rows"] = double(window.findChild<QLineEdit *>("txtV1")->text().toInt());
}
BENCHMARK(IssueRegisterYear)->Apply(singleRuns<10>);

// The issue register's first load over every issue on file on a fresh connection, as the user sees
// it: the window open in the main window's area on its first date, the dates set, then OK, until
// the screen stops changing; firstRowsMs until the list first paints rows of the year, and the
// processor time until then.
void IssueRegisterYearFirstLoadOnScreen(benchmark::State &state)
{
    const QString path = library().path();
    for (auto _ : state) {
        Module::CompanyDb.reset();
        Module::CompanyDb = Database::open(path);
        auto *window = new frmVoucherRegister(VoucherRegister::Kind::Issue);
        QMdiSubWindow *frame = BenchScreen::showInArea(window);
        window->findChild<DateBox *>("dtpFromDate")->setDate(QDate(2024, 1, 1));
        window->findChild<DateBox *>("dtpToDate")->setDate(QDate(2026, 12, 31));
        BenchScreen::settle(frame);
        auto *lv1 = window->findChild<RecordList *>("Lv1");
        QElapsedTimer started;
        started.start();
        BenchScreen::FirstPaint firstRows(started);
        // The list before OK holds the latest day's issues alone.
        const QString latest = lv1->records()->text(0, 1);
        firstRows.watch(lv1->viewport(), [lv1, latest] {
            return lv1->records()->size() > 0 && lv1->records()->text(0, 1) != latest;
        });
        emit window->findChild<StyledButton *>("cmdOK")->Click();
        state.SetIterationTime(BenchScreen::settle(started, frame) / 1000);
        state.counters["firstRowsMs"] = firstRows.wait();
        state.counters["processor_ms"] = firstRows.processorMs();
        state.counters["rows"] = lv1->records()->size();
        delete frame;
    }
}
BENCHMARK(IssueRegisterYearFirstLoadOnScreen)->UseManualTime()->Apply(singleRuns<7>);

// The book search panel of the issue window, as it lives on with the window. Goes with the
// application: a widget must not outlive it.
SearchPanel *bookSearchPanel()
{
    library();
    static QWidget *host = [] {
        auto *made = new QWidget;
        qAddPostRoutine([] { delete host; });
        return made;
    }();
    static SearchPanel *panel = [] {
        host->resize(1000, 800);
        auto *made = new SearchPanel(SearchPanel::Kind::Book, host, 0, 0);
        host->show();
        QCoreApplication::processEvents();
        return made;
    }();
    return panel;
}

// How many books the panel lists for a title beginning: every filtered column holds a value.
int listedFor(const QString &title)
{
    return library()
        .scalar("SELECT count(*) FROM Book WHERE Pattern(title, ?) AND Author IS NOT NULL AND "
                "Subject IS NOT NULL AND Publisher IS NOT NULL",
                {Pattern::prefix(title)})
        .toInt();
}

// Types the title into the panel and waits until the list has reloaded and shows its books.
bool settle(SearchPanel *panel, const QString &title, int rows)
{
    int reloads = 0;
    const QMetaObject::Connection counting = QObject::connect(
        panel->list()->records(), &QAbstractItemModel::modelReset, [&reloads] { ++reloads; });
    if (panel->filter(0)->text() == title)
        panel->reload();
    else
        panel->filter(0)->setText(title);
    QElapsedTimer waited;
    waited.start();
    // The loop sleeps until an event comes, as the program's does: a loop that spins takes a core
    // from the panel's reading thread. The timer wakes it for the time limit.
    QTimer wake;
    wake.start(20);
    bool settled = true;
    while (reloads == 0 || panel->list()->records()->size() != rows) {
        if (waited.elapsed() > 30000) {
            settled = false;
            break;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    QObject::disconnect(counting);
    return settled;
}

// F4 in the accession box, timed until the panel has shown (the window's events handled and
// painted): range(0) = 1 right after a save (one book changed), 2 five seconds after it, 0 with
// nothing written since the last F4. With range(1) = 1, the first letter "A" follows at once and
// the time runs until the list shows its books.
void SearchPanelOpen(benchmark::State &state)
{
    SearchPanel *panel = bookSearchPanel();
    Database &db = library();
    static const int all = listedFor(QString());
    static const int titlesA = listedFor("A");
    const bool afterSave = state.range(0) != 0;
    const bool firstLetter = state.range(1) == 1;
    int round = 0;
    for (auto _ : state) {
        // The panel as Esc leaves it: hidden, its title box empty and the list showing it.
        panel->hide();
        if (!settle(panel, QString(), all)) {
            state.SkipWithError("the list did not settle");
            break;
        }
        if (afterSave)
            db.execute("UPDATE Book SET Remarks = ? WHERE BookID = ?",
                       {QString("Checked %1").arg(round), 1 + round % Books});
        ++round;
        // The librarian types the next card number before F4: the window idles a while.
        if (state.range(0) == 2) {
            QElapsedTimer idle;
            idle.start();
            while (idle.elapsed() < 5000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        QElapsedTimer timer;
        timer.start();
        panel->open();
        QCoreApplication::processEvents();
        if (firstLetter && !settle(panel, "A", titlesA)) {
            state.SkipWithError("the list did not settle");
            break;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        // The rows read before the next round, outside the timing.
        if (!firstLetter && !settle(panel, "A", titlesA)) {
            state.SkipWithError("the list did not settle");
            break;
        }
    }
    state.counters["rows"] = titlesA;
}
BENCHMARK(SearchPanelOpen)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->ArgNames({"afterSave", "firstLetter"})
    ->UseManualTime()
    ->MeasureProcessCPUTime()
    ->Apply(singleRuns<5>);

// F4 and the letters "A", "Ad" while another copy of the program commits a change every
// millisecond (a book's remarks, which the panel does not list), timed until the list shows the
// books for "Ad". Goes on a panel whose rows were read before the other program started.
void SearchPanelWhileAnotherProgramCommits(benchmark::State &state)
{
    SearchPanel *panel = bookSearchPanel();
    static const int all = listedFor(QString());
    static const int titlesA = listedFor("A");
    static const int titlesAd = listedFor("Ad");
    panel->hide();
    if (!settle(panel, QString(), all)) {
        state.SkipWithError("the list did not settle");
        return;
    }
    std::atomic<bool> stop = false;
    std::atomic<int> commits = 0;
    std::jthread other([path = library().path(), &stop, &commits] {
        const auto theirs = Database::open(path);
        for (int round = 0; !stop; ++round) {
            theirs->execute("UPDATE Book SET Remarks = ? WHERE BookID = ?",
                            {QString("Seen %1").arg(round), 1 + round % Books});
            ++commits;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    for (auto _ : state) {
        panel->hide();
        QElapsedTimer timer;
        timer.start();
        panel->open();
        QCoreApplication::processEvents();
        if (!settle(panel, "A", titlesA) || !settle(panel, "Ad", titlesAd)) {
            state.SkipWithError("the list did not settle");
            break;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
    stop = true;
    other.join();
    state.counters["commits"] = commits.load();
}
BENCHMARK(SearchPanelWhileAnotherProgramCommits)
    ->UseManualTime()
    ->MeasureProcessCPUTime()
    ->Apply(singleRuns<5>);

// The first F4 of a session and the letter "A" after it, on a fresh connection and a new panel, as
// after the login: timed from F4 until the list shows the titles beginning with "A". Pinned to
// one or two cores it is a school's PC:
//   taskset -c 6 bench_CirculationBench --benchmark_filter=SearchPanelFirstOpen
void SearchPanelFirstOpen(benchmark::State &state)
{
    const QString path = library().path();
    static const int titlesA = listedFor("A");
    for (auto _ : state) {
        Module::CompanyDb.reset();
        Module::CompanyDb = Database::open(path);
        QWidget host;
        host.resize(1000, 800);
        auto *panel = new SearchPanel(SearchPanel::Kind::Book, &host, 0, 0);
        host.show();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        panel->open();
        QCoreApplication::processEvents();
        if (!settle(panel, "A", titlesA)) {
            state.SkipWithError("the list did not settle");
            break;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
    state.counters["rows"] = titlesA;
}
BENCHMARK(SearchPanelFirstOpen)->UseManualTime()->MeasureProcessCPUTime()->Apply(singleRuns<9>);

// The book search panel (F4 in the issue and return windows): one keystroke in the title box per
// repetition until the list shows it: "A", "Ad", ... "Advanced M", then "A" again. The panel lives
// on, as in the window, so each repetition is one keystroke.
void SearchPanelBookKeystroke(benchmark::State &state)
{
    SearchPanel *panel = bookSearchPanel();
    static const bool opened = [panel] {
        // F4: the panel shows and reads the table while the user starts typing.
        panel->open();
        QCoreApplication::processEvents();
        return settle(panel, "A", listedFor("A"));
    }();
    (void)opened;
    static int round = 0;
    const QString typed = "Advanced M";
    for (auto _ : state) {
        const QString text = typed.left(1 + round++ % int(typed.size()));
        state.PauseTiming();
        const int rows = listedFor(text);
        state.ResumeTiming();
        if (!settle(panel, text, rows))
            state.SkipWithError("the list did not settle");
    }
    state.counters["rows"] = panel->list()->records()->size();
}
BENCHMARK(SearchPanelBookKeystroke)->Apply(singleRuns<30>);

// A figure of this process's memory from /proc/self/status, in MiB ("VmRSS", "VmHWM").
double memoryMiB(const char *field)
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

// The memory of a session's work: the pending books' list opened, three searches in the book
// panel each right after a save, and the issue register's whole range loaded, the windows shown as
// the program shows them. peakMiB: the highest the resident memory went above what the process
// held before; heldMiB: what it still holds after; closedMiB: what it holds once the company is
// closed; beforeMiB and highestMiB: what the process held before, and the highest it held, whole.
// Compare commits by highestMiB, each run alone on a company file read from LD_BENCH_DATA_DIR: an
// allocator that keeps what filling the company used starts the session higher, and its peak
// above that start then reads lower than it is. Processor time is that of every thread.
void SessionMemoryPeak(benchmark::State &state)
{
    Database &db = library();
    SearchPanel *panel = bookSearchPanel();
    const int all = listedFor(QString());
    const int titlesA = listedFor("A");
    for (auto _ : state) {
        const double before = memoryMiB("VmRSS:");
        QFile peak("/proc/self/clear_refs");
        if (peak.open(QIODevice::WriteOnly))
            peak.write("5"); // the peak starts again from here
        peak.close();

        auto *pending = new frmPendingBooks;
        QMdiSubWindow *shown = BenchScreen::showInArea(pending);
        BenchScreen::settle(shown);
        delete shown;
        for (int round = 0; round < 3; ++round) {
            db.execute("UPDATE Book SET Remarks = ? WHERE BookID = ?",
                       {QString("Session %1").arg(round), 1 + round});
            panel->open();
            if (!settle(panel, "A", titlesA) || !settle(panel, QString(), all))
                state.SkipWithError("the list did not settle");
            panel->hide();
        }
        auto *window = new frmVoucherRegister(VoucherRegister::Kind::Issue);
        QMdiSubWindow *frame = BenchScreen::showInArea(window);
        window->findChild<DateBox *>("dtpFromDate")->setDate(QDate(2024, 1, 1));
        window->findChild<DateBox *>("dtpToDate")->setDate(QDate(2026, 12, 31));
        emit window->findChild<StyledButton *>("cmdOK")->Click();
        BenchScreen::settle(frame);
        delete frame;

        state.counters["peakMiB"] = memoryMiB("VmHWM:") - before;
        state.counters["heldMiB"] = memoryMiB("VmRSS:") - before;
        state.counters["beforeMiB"] = before;
        state.counters["highestMiB"] = memoryMiB("VmHWM:");
        // The company closed, as when another is chosen: what its connections held goes back.
        const QString path = db.path();
        Module::CompanyDb.reset();
        state.counters["closedMiB"] = memoryMiB("VmRSS:") - before;
        Module::CompanyDb = Database::open(path);
    }
}
BENCHMARK(SessionMemoryPeak)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// One card's ledger over every date, each issue beside its return, as "(See Ledger)" loads it.
void CardLedgerLoad(benchmark::State &state)
{
    library();
    frmLedger window;
    window.findChild<DateBox *>("dtpFromDate")->setDate(QDate(2024, 1, 1));
    window.findChild<DateBox *>("dtpToDate")->setDate(QDate(2026, 12, 31));
    int next = 0;
    for (auto _ : state) {
        window.findChild<QLineEdit *>("txtCardNo")->setText(QString::number(1001 + next++ % Cards));
        window.GetCardDetail();
        window.Lv1Load();
    }
}
BENCHMARK(CardLedgerLoad)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

LD_BENCHMARK_MAIN();
