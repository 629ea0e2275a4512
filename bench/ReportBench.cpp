// The book list printout of 5,000 books: staging, the PDF export (short values, and every column
// filled with long ones), and the time until the preview shows its first page (open, bind, lay
// out, draw page 1 at zoom 115).
#include "BenchMain.h"

#include "core/ApplicationDatabases.h"
#include "core/Module.h"
#include "core/ProgramFolderLayout.h"
#include "core/report/Report.h"
#include "core/report/ReportOutput.h"
#include "ui/ReportHandOver.h"
#include "ui/ReportViewer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

namespace {

constexpr int Books = 5000;

QString programFolder()
{
    static bool ready = false;
    const QDir dir(benchProgramFolder());
    if (!ready) {
        const QString company = dir.filePath("company.mdb");
        QFile::copy(dir.filePath("DB/Vevezidora12_Backup.mdb"), company);
        Module::CompanyDb = Database::open(company);
        Module::CompanyDb->execute(
            "INSERT INTO Company (CompanyName, Address, city, phone) "
            "VALUES ('Green Valley School', '12 Mall Road', 'Shimla', '2650011')");
        ready = true;
    }
    return dir.path();
}

void stageBookList()
{
    ReportHandOver::PrintingStage stage;
    for (int i = 1; i <= Books; ++i)
        stage.addRow({{"T2", i},
                      {"T3", QString::number(i)},
                      {"T4", "05-Mar-24"},
                      {"T5", QString("Title of book number %1").arg(i)},
                      {"T6", QString("Author %1").arg(i % 977)},
                      {"T7", "Subject"},
                      {"T8", "Publisher"},
                      {"T9", "2nd"},
                      {"T10", "2004"},
                      {"T15", "250"},
                      {"T16", "954"},
                      {"T19", "Rack 2"}});
    stage.commit();
}

// Every column filled with the long values of a real catalogue: titles, authors and places that
// do not fit their boxes at the template's size, some of them in Tamil, most of them unique.
void stageLongBookList()
{
    static const QStringList titles = {
        "The Discovery of India and Other Essays on History",
        "Advanced Practical Physics for Senior Secondary Schools",
        QString::fromUtf8(
            "\u0baa\u0bca\u0ba9\u0bcd\u0ba9\u0bbf\u0baf\u0bbf\u0ba9\u0bcd "
            "\u0b9a\u0bc6\u0bb2\u0bcd\u0bb5\u0ba9\u0bcd \u0bae\u0bc1\u0ba4\u0bb2\u0bcd "
            "\u0baa\u0bbe\u0b95\u0bae\u0bcd"),
        "A Comprehensive Dictionary of Environmental Science and Ecology",
        "Mathematics Textbook for Class Ten with Solved Examples",
        "Selected Short Stories of Munshi Premchand in Translation",
        "An Illustrated History of Modern India 1857-1947",
        "Organic Chemistry: Reactions, Mechanisms and Problems"};
    static const QStringList authors = {"Rabindranath Tagore and Abanindranath Tagore",
                                        "H. C. Verma and Dr. S. L. Arora", "Jawaharlal Nehru",
                                        "R. D. Sharma with R. S. Aggarwal",
                                        "Bipan Chandra, Mridula Mukherjee, Aditya Mukherjee"};
    static const QStringList subjects = {"Environmental Science", "Physics and Applied Physics",
                                         "History of the Indian Subcontinent", "Tamil Literature",
                                         "Reference and General Knowledge"};
    static const QStringList publishers = {
        "Oxford University Press India", "Bharati Bhawan Publishers and Distributors",
        "National Council of Educational Research", "S. Chand and Company Limited"};
    static const QStringList editions = {"Second Revised and Enlarged Edition", "Reprint 2019",
                                         "Third Edition with Supplement"};
    static const QStringList places = {"Rack 12 Shelf B Reference Section",
                                       "Almirah 3 Shelf 4 Junior Section",
                                       "Reading Room Cupboard 7"};
    ReportHandOver::PrintingStage stage;
    for (int i = 1; i <= Books; ++i) {
        const auto of = [i](const QStringList &values, int step) {
            return values.at((i * step) % values.size());
        };
        stage.addRow({{"T2", i},
                      {"T3", QString("LIB/2024/REF/%1").arg(i, 6, 10, QChar('0'))},
                      {"T4", "05-Mar-24"},
                      {"T5", QString("%1, part %2").arg(of(titles, 1)).arg(i)},
                      {"T6", of(authors, 3)},
                      {"T7", of(subjects, 7)},
                      {"T8", of(publishers, 5)},
                      {"T9", of(editions, 1)},
                      {"T10", QString("%1 Reprint").arg(1980 + i % 45)},
                      {"T11", "1,248 pages with plates"},
                      {"T12", "Volume 2 of 3"},
                      {"T13", "Donated by the Parent Teacher Association"},
                      {"T14", QString("BILL/2024-25/%1").arg(i)},
                      {"T15", QString("%1.50").arg(100000 + i)},
                      {"T16", QString("Class VIII Section %1").arg(QChar('A' + i % 6))},
                      {"T17", QString("BK-%1-2024").arg(i)},
                      {"T18", QString("WD/%1").arg(i)},
                      {"T19", of(places, 2)},
                      {"T20", "Freedom Movement"},
                      {"T21", QString("978-81-%1-%2-7").arg(i % 1000, 3, 10, QChar('0')).arg(i)},
                      {"T22", QString("LIB2024REF%1").arg(i, 6, 10, QChar('0'))},
                      {"T23", "Reference, not for loan"},
                      {"T24", "Humanities and Social Sciences"}});
    }
    stage.commit();
}

void StageBookListOf5000(benchmark::State &state)
{
    programFolder();
    for (auto _ : state)
        stageBookList();
}
BENCHMARK(StageBookListOf5000)->Unit(benchmark::kMillisecond)->Iterations(3);

std::shared_ptr<const ReportDocument> boundBookList()
{
    Report report = Report::open(Module::programPath("BookList.rpt"));
    Recordset staged = Module::CommonDb->query("SELECT * FROM Printing");
    report.setDataSource(staged);
    return report.document();
}

void BookListOf5000ToPdf(benchmark::State &state)
{
    programFolder();
    stageBookList();
    const QString pdf = QDir(programFolder()).filePath("booklist.pdf");
    for (auto _ : state) {
        const auto document = boundBookList();
        ReportOutput::exportPdf(*document, pdf);
        state.counters["pages"] = document->pageCount();
    }
}
BENCHMARK(BookListOf5000ToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BookListOf5000LongRowsToPdf(benchmark::State &state)
{
    programFolder();
    stageLongBookList();
    const QString pdf = QDir(programFolder()).filePath("booklist-long.pdf");
    for (auto _ : state) {
        const auto document = boundBookList();
        ReportOutput::exportPdf(*document, pdf);
        state.counters["pages"] = document->pageCount();
    }
}
BENCHMARK(BookListOf5000LongRowsToPdf)->Apply(singleRuns<3>);

void BookListOf5000FirstPreviewPage(benchmark::State &state)
{
    programFolder();
    stageBookList();
    ReportViewer viewer;
    viewer.resize(1200, 800);
    // The first preview of a process (fonts found and loaded, the heap grown) costs several times
    // the others and makes most of the mean: firstMs and laterMs tell them apart.
    QElapsedTimer timer;
    double firstMs = 0;
    double laterMs = 0;
    for (auto _ : state) {
        timer.start();
        viewer.setReportSource(boundBookList());
        viewer.viewReport();
        viewer.setZoom(115);
        benchmark::DoNotOptimize(viewer.pageImage(0));
        (firstMs == 0 ? firstMs : laterMs) += double(timer.nsecsElapsed()) / 1e6;
    }
    state.counters["firstMs"] = firstMs;
    state.counters["laterMs"] = laterMs / std::max<double>(1, double(state.iterations()) - 1);
}
BENCHMARK(BookListOf5000FirstPreviewPage)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace

LD_BENCHMARK_MAIN();
