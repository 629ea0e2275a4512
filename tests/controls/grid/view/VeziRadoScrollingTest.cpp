#include "GridViewTestSupport.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace GridViewTest;

namespace {

void turnWheel(VeziRado &grid, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWheelEvent wheel(QPointF(10, 10), grid.viewport()->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid.viewport(), &wheel);
}

// Forty rows of 19 pixels under a 26-pixel header in a 200-pixel grid.
void fill(VeziRado &grid, int rows = 40, int columns = 1, float width = 1000)
{
    for (int c = 0; c < columns; ++c)
        grid.AddColumn(QString::number(c), width);
    for (int i = 0; i < rows; ++i)
        grid.AddRow(QString::number(i));
    grid.setRedraw(true);
}

} // namespace

TEST(VeziRadoScrolling, RangesFollowRowsColumnsAndTotals)
{
    Host empty;
    empty.window.show();
    fill(*empty.grid, 0);
    EXPECT_EQ(empty.grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QSignalSpy none(empty.grid, &VeziRado::Scroll);
    turnWheel(*empty.grid, -120);
    EXPECT_EQ(none.count(), 0);

    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    fill(grid);
    ASSERT_EQ(grid.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const int surface = grid.viewport()->height();
    const int fitting = (surface - 26) / 19;
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 39 - fitting + 1);
    EXPECT_EQ(grid.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    grid.setTotalsLineShow(true);
    grid.Refresh();
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 39 - fitting + 3);

    grid.setScrollBars(Grid::ScrollBars(3));
    grid.Refresh();
    EXPECT_EQ(grid.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST(VeziRadoScrolling, WheelStepsRowsOrColumnsAndRaisesScroll)
{
    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    fill(grid, 40, 8, 1500);
    grid.setRowVisible(2, false);
    QSignalSpy scrolled(&grid, &VeziRado::Scroll);

    turnWheel(grid, -120);
    EXPECT_EQ(grid.verticalScrollBar()->value(), 4); // three rows, the hidden one skipped
    EXPECT_EQ(scrolled.count(), 1);
    turnWheel(grid, 120);
    EXPECT_EQ(grid.verticalScrollBar()->value(), 0);
    turnWheel(grid, 120);
    EXPECT_EQ(scrolled.count(), 2); // at the top already: no event

    ASSERT_EQ(grid.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    turnWheel(grid, -120, Qt::ControlModifier);
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 1);

    // Frozen columns are never scrolled off: the position stays past them.
    grid.setFreezeAtCol(2);
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 3);
    grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    grid.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 3);
    grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid.verticalScrollBar()->value(), 5);
    grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(grid.verticalScrollBar()->value(), grid.verticalScrollBar()->maximum());
    EXPECT_EQ(grid.RowFirstVisible(), grid.verticalScrollBar()->maximum());
}

TEST(VeziRadoScrolling, ThumbDragRepaintsAtTheEndWithoutTracking)
{
    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    fill(grid);
    grid.setScrollTrack(false);
    QSignalSpy scrolled(&grid, &VeziRado::Scroll);
    QSignalSpy painted(&grid, &VeziRado::RequestRowData);
    QScrollBar *bar = grid.verticalScrollBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(6);
    bar->setSliderPosition(9);
    EXPECT_EQ(scrolled.count(), 2);
    EXPECT_EQ(grid.RowFirstVisible(), 0);
    bar->setSliderDown(false);
    EXPECT_EQ(grid.RowFirstVisible(), 9);
    EXPECT_EQ(scrolled.count(), 2);
}

TEST(VeziRadoScrolling, SortOnAFilteredGridLaysTheRangeOutAgain)
{
    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    grid.AddColumn(QStringLiteral("No"), 500, DefaultAlignment, ColumnType::Number);
    grid.AddColumn(QStringLiteral("Shelf"), 500);
    for (int i = 0; i < 40; ++i)
        grid.AddRow(QStringLiteral("%1\t%2").arg(i).arg(i < 30 ? "open" : "closed"));
    grid.setRedraw(true);
    // The last ten rows hidden: they count as fitting under the last shown row.
    grid.FilterOn(QStringLiteral("open"), 1);
    ASSERT_FALSE(grid.RowVisible(39));
    QScrollBar *bar = grid.verticalScrollBar();
    const int filtered = bar->maximum();

    // Descending, the hidden rows move to the top and the end needs more steps to reach.
    grid.Sort(0, int(SortDirection::Descending));
    ASSERT_FALSE(grid.RowVisible(0));
    const int sorted = bar->maximum();
    EXPECT_GT(sorted, filtered);
    grid.Refresh();
    EXPECT_EQ(bar->maximum(), sorted);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(grid.RowLastVisible(), 39);

    // And back: the range shrinks with it.
    grid.Sort(0, int(SortDirection::Ascending));
    EXPECT_EQ(bar->maximum(), filtered);
}
