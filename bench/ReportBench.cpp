// The book list printout of 5,000 books: staging, the PDF export, and the time until the preview
// shows its first page (open, bind, lay out, draw page 1 at zoom 115).
#include "BenchMain.h"

#include "core/ApplicationDatabases.h"
#include "core/Module.h"
#include "core/ProgramFolderLayout.h"
#include "core/report/Report.h"
#include "core/report/ReportOutput.h"
#include "ui/ReportHandOver.h"
#include "ui/ReportViewer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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

void BookListOf5000FirstPreviewPage(benchmark::State &state)
{
    programFolder();
    stageBookList();
    ReportViewer viewer;
    viewer.resize(1200, 800);
    for (auto _ : state) {
        viewer.setReportSource(boundBookList());
        viewer.viewReport();
        viewer.setZoom(115);
        benchmark::DoNotOptimize(viewer.pageImage(0));
    }
}
BENCHMARK(BookListOf5000FirstPreviewPage)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

LD_BENCHMARK_MAIN();
