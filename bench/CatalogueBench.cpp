// The catalogue on 100,000 realistic books: the book list until its first rows show, a filter
// keystroke (the list reloaded under one more typed character), and a book's save.
#include "BenchData.h"
#include "BenchMain.h"

#include "catalogue/BookListQuery.h"
#include "catalogue/BookRules.h"
#include "catalogue/frmBookList.h"
#include "ui/RecordList.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>

namespace {

constexpr int Books = 100000;

void openCatalogue()
{
    static const bool ready = [] {
        const QDir dir(benchProgramFolder());
        const QString company = dir.filePath("catalogue.mdb");
        QFile::remove(company);
        QFile::copy(dir.filePath("DB/Vevezidora12_Backup.mdb"), company);
        Module::CompanyDb = Database::open(company);
        BenchData::fillBooks(*Module::CompanyDb, Books);
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
        if (BookRules::accessionNoStored(db, accession))
            state.SkipWithError("duplicate");
        book["BookID"] = QString::number(BookRules::nextBookID(db));
        BookRules::saveBook(db, book, BookRules::SaveMode::New);
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
