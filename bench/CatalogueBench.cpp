// The catalogue on 100,000 realistic books: the book list until its first rows show, a filter
// keystroke (the list reloaded under one more typed character), and a book's save. A school's PC
// with one or two cores is the same run on that many, e.g.
//   taskset -c 4 bench_CatalogueBench --benchmark_filter='BookList(FirstOpen|Query|Accession)'
// and with -c 4,5: the reads are cut into one part for each core the program may run on.
#include "BenchData.h"
#include "BenchMain.h"
#include "BenchScreen.h"

#include "catalogue/BookListQuery.h"
#include "catalogue/BookRules.h"
#include "catalogue/frmBookList.h"
#include "controls/button/StyledButton.h"
#include "ui/RecordList.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int Books = 100000;

void openCatalogue()
{
    static const bool ready = [] {
        const QDir dir(benchProgramFolder());
        const QString company = dir.filePath("catalogue.mdb");
        BenchData::makeFilledCompany(dir.filePath("DB/Vevezidora12_Backup.mdb"), company,
                                     QStringLiteral("catalogue"),
                                     [](Database &db) { BenchData::fillBooks(db, Books); });
        Module::CompanyDb = Database::open(company);
        return true;
    }();
    (void)ready;
}

void BookListFirstRowsOf100000(benchmark::State &state)
{
    openCatalogue();
    for (auto _ : state) {
        frmBookList list;
        list.show();
        QCoreApplication::processEvents();
        auto *lv1 = list.findChild<RecordList *>("Lv1");
        state.counters["rows"] = lv1->records()->size();
        state.PauseTiming();
        list.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BookListFirstRowsOf100000)->Unit(benchmark::kMillisecond)->Iterations(5);

// The first open after the login with nothing of the file in memory: a fresh connection (an empty
// page cache) and the file's pages dropped from the operating system's cache, as after a restart.
void BookListFirstOpenCold(benchmark::State &state)
{
    openCatalogue();
    const QString path = Module::CompanyDb->path();
    for (auto _ : state) {
        state.PauseTiming();
        Module::CompanyDb.reset();
        const int file = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        ::fdatasync(file);
        const bool dropped = ::posix_fadvise(file, 0, 0, POSIX_FADV_DONTNEED) == 0;
        ::close(file);
        if (!dropped)
            state.SkipWithError("the file could not be dropped from the cache");
        state.ResumeTiming();
        Module::CompanyDb = Database::open(path);
        frmBookList list;
        list.show();
        QCoreApplication::processEvents();
        state.counters["rows"] = list.findChild<RecordList *>("Lv1")->records()->size();
        state.PauseTiming();
        list.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BookListFirstOpenCold)->Apply(singleRuns<5>);

// The query and the row texts alone, without the window.
void BookListQueryOf100000(benchmark::State &state)
{
    openCatalogue();
    for (auto _ : state) {
        ListRows rows = BookListQuery::rows(*Module::CompanyDb, {});
        state.counters["rows"] = rows.size();
    }
}
BENCHMARK(BookListQueryOf100000)->Unit(benchmark::kMillisecond)->Iterations(5);

// One keystroke per round in a search box: the first letter, then one more, then the first again.
void keystrokes(benchmark::State &state, const char *boxName, const QString &typed)
{
    openCatalogue();
    frmBookList list;
    list.show();
    // Whole before the first keystroke, also where it is read whole after its first rows show.
    BenchScreen::settle(&list);
    auto *box = list.findChild<QLineEdit *>(boxName);
    int length = 0;
    for (auto _ : state) {
        length = length % typed.size() + 1;
        box->setText(typed.left(length));
        list.Lv1Load();
        QCoreApplication::processEvents();
    }
}

void BookListFilterKeystroke(benchmark::State &state)
{
    keystrokes(state, "txtSearch1", QStringLiteral("Advanced M"));
}
BENCHMARK(BookListFilterKeystroke)->Unit(benchmark::kMillisecond)->Iterations(20);

void BookListAccessionKeystroke(benchmark::State &state)
{
    keystrokes(state, "txtSearch", QStringLiteral("45678"));
}
BENCHMARK(BookListAccessionKeystroke)->Unit(benchmark::kMillisecond)->Iterations(20);

// The first open after the login as the user sees it: a fresh connection (the file in the operating
// system's cache), the window shown in the main window's area, until the screen stops changing;
// firstRowsMs until the list first paints rows, and the processor time until then.
void BookListFirstOpenOnScreen(benchmark::State &state)
{
    openCatalogue();
    const QString path = Module::CompanyDb->path();
    for (auto _ : state) {
        Module::CompanyDb.reset();
        Module::CompanyDb = Database::open(path);
        QElapsedTimer started;
        started.start();
        BenchScreen::FirstPaint firstRows(started);
        auto *list = new frmBookList;
        auto *lv1 = list->findChild<RecordList *>("Lv1");
        firstRows.watch(lv1->viewport(), [lv1] { return lv1->records()->size() > 0; });
        QMdiSubWindow *frame = BenchScreen::showInArea(list);
        state.SetIterationTime(BenchScreen::settle(started, frame) / 1000);
        state.counters["firstRowsMs"] = firstRows.wait();
        state.counters["processor_ms"] = firstRows.processorMs();
        state.counters["rows"] = lv1->records()->size();
        delete frame;
    }
}
BENCHMARK(BookListFirstOpenOnScreen)->UseManualTime()->Apply(singleRuns<7>);

// A title's first letter typed into the search frame over the whole list, then Search, until the
// screen stops changing; the box is emptied and the list reloaded between rounds.
void BookListTitleLetterSearchOnScreen(benchmark::State &state)
{
    openCatalogue();
    auto *list = new frmBookList;
    QMdiSubWindow *frame = BenchScreen::showInArea(list);
    // Open and whole before the first round, also where the list is read whole after its first
    // rows are painted.
    BenchScreen::settle(frame);
    emit list->findChild<StyledButton *>("cmdSearch")->Click();
    auto *title = list->findChild<QLineEdit *>("txtSearch1");
    auto *search = list->findChild<StyledButton *>("cmdSearch1");
    const QString letters = QStringLiteral("ACPMHS");
    int round = 0;
    for (auto _ : state) {
        title->clear();
        list->Lv1Load();
        BenchScreen::settle(frame);
        title->setText(letters.mid(round++ % letters.size(), 1));
        BenchScreen::settle(frame);
        QElapsedTimer started;
        started.start();
        emit search->Click();
        state.SetIterationTime(BenchScreen::settle(started, frame) / 1000);
        state.counters["rows"] = list->findChild<RecordList *>("Lv1")->records()->size();
    }
    delete frame;
}
BENCHMARK(BookListTitleLetterSearchOnScreen)->UseManualTime()->Apply(singleRuns<12>);

// What the save button does for a new copy: the duplicate test, the new key and the row.
void SaveNewBook(benchmark::State &state)
{
    openCatalogue();
    Database &db = *Module::CompanyDb;
    int n = 0;
    for (auto _ : state) {
        const QString accession = QStringLiteral("N%1").arg(++n);
        BookRules::BookRecord book{{"AccessionNo", accession},
                                   {"title", "Advanced Practical Physics for Schools"},
                                   {"Author", "H. C. Verma"},
                                   {"Publisher", "Bharati Bhawan"},
                                   {"Cost", "450"},
                                   {"OT14", accession}};
        if (!BookRules::saveBook(db, book, BookRules::SaveMode::New))
            state.SkipWithError("duplicate");
    }
}
BENCHMARK(SaveNewBook)->Unit(benchmark::kMillisecond)->Iterations(50);

// A changed copy: deleted and written again in one transaction.
void SaveChangedBook(benchmark::State &state)
{
    openCatalogue();
    Database &db = *Module::CompanyDb;
    int key = 0;
    for (auto _ : state) {
        key = key % 1000 + 1;
        BookRules::BookRecord book = *BookRules::loadBook(db, key);
        book["Remarks"] = QStringLiteral("Checked %1").arg(key);
        BookRules::saveBook(db, book, BookRules::SaveMode::Change);
    }
}
BENCHMARK(SaveChangedBook)->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace

LD_BENCHMARK_MAIN();
