#include "BenchMain.h"
#include "controls/grid/view/VeziRado.h"
#include "core/PropertyBag.h"

#include <QRandomGenerator>
#include <QScrollBar>

namespace {

constexpr int RowCount = 100000;

// A 1280 x 800 grid of 100,000 book rows in 8 columns, row numbers and stripes on.
VeziRado &bigGrid()
{
    // Left to the end of the process on purpose: a window destroyed after the application object
    // crashes the exit.
    static QWidget *window = new QWidget;
    static VeziRado *grid = [] {
        window->resize(1300, 820);
        auto *g = new VeziRado(window);
        g->resize(1280, 800);
        g->ReadProperties({});
        window->show();
        g->AddColumn("Accession", 900, 4, ColumnType::Number);
        g->AddColumn("Title", 3000);
        g->AddColumn("Author", 2000);
        g->AddColumn("Issued", 600, 4, ColumnType::CheckBox);
        g->AddColumn("Due", 1200, 4, ColumnType::Date);
        g->AddColumn("Price", 900, 6, ColumnType::Number, "#,##0.00");
        g->AddColumn("Shelf", 900);
        g->AddColumn("Remarks", 2000);
        g->setShowRowNumbers(true);
        QRandomGenerator random(21);
        for (int i = 0; i < RowCount; ++i) {
            g->AddRow(QStringLiteral("%1\tTitle %2 of the series\tAuthor %3\t%4\t2026-%5-%6\t%7\t"
                                     "Shelf %8\tRemark %9")
                          .arg(random.bounded(1000000))
                          .arg(random.bounded(1000000))
                          .arg(random.bounded(5000))
                          .arg(random.bounded(2))
                          .arg(random.bounded(12) + 1, 2, 10, QLatin1Char('0'))
                          .arg(random.bounded(28) + 1, 2, 10, QLatin1Char('0'))
                          .arg(random.bounded(100000) / 100.0)
                          .arg(random.bounded(300))
                          .arg(i));
        }
        g->setRedraw(true);
        return g;
    }();
    return *grid;
}

void FullRepaint(benchmark::State &state)
{
    VeziRado &grid = bigGrid();
    for (auto _ : state)
        grid.Refresh();
}
BENCHMARK(FullRepaint)->Unit(benchmark::kMillisecond);

void ScrollOnePage(benchmark::State &state)
{
    VeziRado &grid = bigGrid();
    QScrollBar *bar = grid.verticalScrollBar();
    bool down = true;
    const QImage before = grid.surfaceImage().copy();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    if (grid.surfaceImage() == before)
        state.SkipWithError("a page scroll did not repaint");
    for (auto _ : state) {
        if (bar->value() >= bar->maximum() - bar->pageStep())
            down = false;
        else if (bar->value() <= bar->pageStep())
            down = true;
        bar->triggerAction(down ? QAbstractSlider::SliderPageStepAdd
                                : QAbstractSlider::SliderPageStepSub);
    }
}
BENCHMARK(ScrollOnePage)->Unit(benchmark::kMillisecond);

// A filter that hides about half of the 100,000 rows, and showing them again; each call should
// stay under 50 ms in a release build.
constexpr int IssuedColumn = 3;

int visibleRows(const VeziRado &grid)
{
    int shown = 0;
    for (int row = 0; row < grid.Rows(); ++row)
        shown += grid.RowVisible(row) ? 1 : 0;
    return shown;
}

void FilterOnHalf(benchmark::State &state)
{
    VeziRado &grid = bigGrid();
    grid.FilterOff();
    for (auto _ : state) {
        grid.FilterOn(QStringLiteral("1"), IssuedColumn);
        state.PauseTiming();
        const int shown = visibleRows(grid);
        if (shown < grid.Rows() / 3 || shown > grid.Rows() * 2 / 3)
            state.SkipWithError("the filter did not hide about half of the rows");
        grid.FilterOff();
        state.ResumeTiming();
    }
}
BENCHMARK(FilterOnHalf)->Unit(benchmark::kMillisecond);

void FilterOffHalf(benchmark::State &state)
{
    VeziRado &grid = bigGrid();
    for (auto _ : state) {
        state.PauseTiming();
        grid.FilterOn(QStringLiteral("1"), IssuedColumn);
        state.ResumeTiming();
        grid.FilterOff();
    }
    if (visibleRows(grid) != grid.Rows())
        state.SkipWithError("rows stayed hidden");
}
BENCHMARK(FilterOffHalf)->Unit(benchmark::kMillisecond);

} // namespace

LD_BENCHMARK_MAIN();
