#include "controls/grid/VeziRadoModel.h"

#include <benchmark/benchmark.h>

#include <QDate>
#include <QRandomGenerator>
#include <QStringList>

namespace {

constexpr int RowCount = 100000;

// Realistic rows: every one of the 8 columns filled, keys in random order.
QStringList bookRows()
{
    static const QStringList rows = [] {
        QRandomGenerator random(21);
        QStringList lines;
        lines.reserve(RowCount);
        for (int i = 0; i < RowCount; ++i) {
            const QDate due = QDate(2020, 1, 1).addDays(random.bounded(2000));
            lines << QStringList{
                QString::number(random.bounded(1000000)),
                QStringLiteral("Title %1 of the series").arg(random.bounded(1000000)),
                QStringLiteral("Author %1").arg(random.bounded(5000)),
                random.bounded(2) ? QStringLiteral("1") : QStringLiteral("0"),
                due.toString(QStringLiteral("dd-MMM-yy")),
                QString::number(random.bounded(100000) / 100.0),
                QStringLiteral("Shelf %1").arg(random.bounded(300)),
                QStringLiteral("Remark %1").arg(i),
            }.join(u'\t');
        }
        return lines;
    }();
    return rows;
}

void addColumns(VeziRadoModel &grid)
{
    grid.AddColumn("Accession", 900, 4, ColumnType::Number);
    grid.AddColumn("Title", 3000);
    grid.AddColumn("Author", 2000);
    grid.AddColumn("Issued", 600, 4, ColumnType::CheckBox);
    grid.AddColumn("Due", 1200, 4, ColumnType::Date);
    grid.AddColumn("Price", 900, 6, ColumnType::Number, "#,##0.00");
    grid.AddColumn("Shelf", 900);
    grid.AddColumn("Remarks", 2000);
}

void fill(VeziRadoModel &grid)
{
    addColumns(grid);
    for (const QString &row : bookRows())
        grid.AddRow(row);
}

VeziRadoModel &filledGrid()
{
    static VeziRadoModel grid;
    if (grid.Rows() == 0)
        fill(grid);
    return grid;
}

void AddRows(benchmark::State &state)
{
    bookRows();
    for (auto _ : state) {
        VeziRadoModel grid;
        fill(grid);
        benchmark::DoNotOptimize(grid.Rows());
        state.PauseTiming();
        grid.ClearAll();
        state.ResumeTiming();
    }
}
BENCHMARK(AddRows)->Unit(benchmark::kMillisecond);

void SetColumnCells(benchmark::State &state)
{
    VeziRadoModel &grid = filledGrid();
    int pass = 0;
    for (auto _ : state) {
        const QString text = QString::number(++pass);
        for (int row = 0; row < grid.Rows(); ++row)
            grid.setCellText(row, 5, text);
    }
}
BENCHMARK(SetColumnCells)->Unit(benchmark::kMillisecond);

void SortBy(benchmark::State &state, int col)
{
    VeziRadoModel &grid = filledGrid();
    for (auto _ : state)
        grid.Sort(col, int(SortDirection::Ascending)); // from whatever order the last run left
}
BENCHMARK_CAPTURE(SortBy, TextColumn, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SortBy, CheckColumn, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SortBy, DateColumn, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SortBy, NumberColumn, 0)->Unit(benchmark::kMillisecond);

void FindItem(benchmark::State &state)
{
    VeziRadoModel &grid = filledGrid();
    grid.Sort(0, 0); // record order
    const QString last = grid.CellText(grid.LastRowIndex(), 7);
    for (auto _ : state)
        benchmark::DoNotOptimize(grid.FindItem(last, 7));
}
BENCHMARK(FindItem)->Unit(benchmark::kMillisecond);

void FindItemContains(benchmark::State &state)
{
    VeziRadoModel &grid = filledGrid();
    for (auto _ : state)
        benchmark::DoNotOptimize(grid.FindItem(QStringLiteral("no such text"), 1, 2));
}
BENCHMARK(FindItemContains)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
