#include "GridMouseTestSupport.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace GridViewTest;
using namespace GridMouse;

namespace {

// Six narrow columns and ten rows in a grid wide enough to show every column.
struct HeaderHost : Host
{
    explicit HeaderHost(const PropertyBag &saved = {}) : Host(QSize(390, 260))
    {
        if (saved.size() > 0)
            grid->ReadProperties(saved);
        window.show();
        for (int c = 0; c < 6; ++c)
            grid->AddColumn(QStringLiteral("C%1").arg(c), 600);
        for (int i = 0; i < 10; ++i)
            grid->AddRow(QStringLiteral("%1\t%2\t%3\t%1\t%2\t%3").arg(i % 3).arg(9 - i).arg(i));
        grid->setRedraw(true);
    }
    // The middle of the header at a display position.
    QPoint header(int col) const
    {
        return {cellPoint(*grid, 0, col).x(), grid->headerHeight() / 2};
    }
    // The right edge of a display column's header, where its divider is drawn.
    int divider(int col) const
    {
        const ColumnRecord &column = grid->model().column(order()[size_t(col)]);
        return grid->rowNumberWidth() + column.Left + column.WidthPixels;
    }
    std::vector<int> order() const { return grid->model().ColumnOrder(); }
    int sortState(int col) const { return int(grid->model().column(col).SortState); }
};

// A header press, moves with the button held through the given headers, and the release.
void dragHeader(HeaderHost &host, int from, std::initializer_list<int> over, QPoint to)
{
    VeziRado &grid = *host.grid;
    move(grid, host.header(from));
    press(grid, host.header(from));
    for (const int col : over)
        move(grid, host.header(col), Qt::LeftButton);
    move(grid, to, Qt::LeftButton);
    release(grid, to);
}

} // namespace

TEST(VeziRadoHeaderMouse, HeaderClicksStepTheSortAndCtrlAddsASecondKey)
{
    HeaderHost host;
    VeziRado &grid = *host.grid;
    grid.setAllowColumnSort(true);
    EventLog log(grid);
    click(grid, host.header(1));
    EXPECT_EQ(host.sortState(1), 2);
    EXPECT_EQ(grid.model().PrimarySortCol(), 1);
    EXPECT_EQ(grid.CellText(0, 1), QStringLiteral("0"));
    EXPECT_EQ(log.names.last(), QStringLiteral("MouseUp"));
    EXPECT_TRUE(log.names.contains(QStringLiteral("ColumnClick")));
    click(grid, host.header(1));
    EXPECT_EQ(host.sortState(1), 1);
    EXPECT_EQ(grid.CellText(0, 1), QStringLiteral("9"));
    click(grid, host.header(1));
    EXPECT_EQ(host.sortState(1), 0);

    // Primary on column 0, then Ctrl on column 2: column 0 keeps its direction.
    click(grid, host.header(0));
    click(grid, host.header(0));
    ASSERT_EQ(host.sortState(0), 1);
    click(grid, host.header(2), Qt::ControlModifier);
    EXPECT_EQ(grid.model().PrimarySortCol(), 0);
    EXPECT_EQ(grid.model().SecondarySortCol(), 2);
    EXPECT_EQ(host.sortState(0), 1);
    EXPECT_EQ(grid.CellText(0, 0), QStringLiteral("2"));
    // Within the 2s of column 0, column 2 runs the same way: 8, 5, 2.
    EXPECT_EQ(grid.CellText(0, 2), QStringLiteral("8"));
    EXPECT_EQ(grid.CellText(2, 2), QStringLiteral("2"));

    // A plain click on another header starts it ascending and drops the secondary key.
    click(grid, host.header(3));
    EXPECT_EQ(grid.model().PrimarySortCol(), 3);
    EXPECT_EQ(grid.model().SecondarySortCol(), -1);
    EXPECT_EQ(host.sortState(3), 2);
    EXPECT_EQ(grid.Col(), 3);
}

TEST(VeziRadoHeaderMouse, CtrlClickWithoutAPrimaryActsAsAPlainClick)
{
    HeaderHost host;
    VeziRado &grid = *host.grid;
    grid.setAllowColumnSort(true);
    QSignalSpy columns(&grid, &VeziRado::ColumnClick);
    click(grid, host.header(4), Qt::ControlModifier);
    EXPECT_EQ(grid.model().PrimarySortCol(), 4);
    EXPECT_EQ(host.sortState(4), 2);
    ASSERT_EQ(columns.count(), 1);
    EXPECT_EQ(columns.at(0).at(0).toInt(), 4);

    // Without sorting a header click only reports the column.
    grid.setAllowColumnSort(false);
    click(grid, host.header(2));
    EXPECT_EQ(host.sortState(2), 0);
    EXPECT_EQ(columns.count(), 2);
}

TEST(VeziRadoHeaderMouse, SortKeepsAFilteredOutCurrentRowOnItsRecord)
{
    HeaderHost host;
    VeziRado &grid = *host.grid;
    grid.setAllowColumnSort(true);
    grid.setAllowEdit(true);
    grid.setFocus();
    click(grid, cellPoint(grid, 2, 2)); // record 2, whose column 1 reads 7
    ASSERT_EQ(grid.Row(), 2);
    grid.FilterOn(QStringLiteral("5"), 2);
    ASSERT_FALSE(grid.RowVisible(2));

    QSignalSpy moved(&grid, &VeziRado::RowColChanged);
    click(grid, host.header(1)); // ascending: the record moves to position 7
    EXPECT_EQ(grid.Row(), 7);
    EXPECT_EQ(grid.CellText(grid.Row(), 2), QStringLiteral("2"));
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(grid.SelectedCount(), 1);
    EXPECT_TRUE(grid.RowSelected(7));

    // The keys act on that record.
    grid.FilterOff();
    QTest::keyClick(&grid, Qt::Key_Right);
    const int col = grid.Col();
    ASSERT_GE(col, 0);
    const QString other = grid.CellText(2, col);
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_TRUE(grid.EditPending());
    QLineEdit *box = grid.findChild<QLineEdit *>(QStringLiteral("txtEdit"));
    ASSERT_NE(box, nullptr);
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("edited"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.model().recordAt(7), 2);
    EXPECT_EQ(grid.CellText(7, col), QStringLiteral("edited"));
    EXPECT_EQ(grid.CellText(2, col), other); // record 7 as it was
}

TEST(VeziRadoHeaderMouse, DragMovesAColumnAndSwapExchangesTwo)
{
    HeaderHost drag;
    drag.grid->setAllowColumnDrag(true);
    QSignalSpy dragged(drag.grid, &VeziRado::ColumnOrderChanged);
    dragHeader(drag, 4, {3, 2}, drag.header(1));
    EXPECT_EQ(drag.order(), (std::vector<int>{0, 4, 1, 2, 3, 5}));
    ASSERT_EQ(dragged.count(), 1);
    EXPECT_EQ(dragged.at(0).at(0).toInt(), 1);
    EXPECT_EQ(dragged.at(0).at(1).toInt(), 4);
    // And back to the right: the columns between move one place left.
    dragHeader(drag, 1, {2, 3}, drag.header(4));
    EXPECT_EQ(drag.order(), (std::vector<int>{0, 1, 2, 3, 4, 5}));

    // The setters allow only one of the two; saved properties can hold both, and swap wins.
    PropertyBag both;
    both.write(QStringLiteral("ColumnSwap"), true, false);
    both.write(QStringLiteral("ColumnDrag"), true, false);
    HeaderHost swap(both);
    ASSERT_TRUE(swap.grid->AllowColumnSwap() && swap.grid->AllowColumnDrag());
    QSignalSpy swapped(swap.grid, &VeziRado::ColumnOrderChanged);
    dragHeader(swap, 4, {3, 2}, swap.header(1));
    EXPECT_EQ(swap.order(), (std::vector<int>{0, 4, 2, 3, 1, 5}));
    ASSERT_EQ(swapped.count(), 1);
    EXPECT_EQ(swapped.at(0).at(0).toInt(), 1);
    EXPECT_EQ(swapped.at(0).at(1).toInt(), 4);
}

TEST(VeziRadoHeaderMouse, ReleasingOutsideTheColumnsLeavesTheOrder)
{
    HeaderHost host;
    VeziRado &grid = *host.grid;
    grid.setAllowColumnDrag(true);
    QSignalSpy changed(&grid, &VeziRado::ColumnOrderChanged);
    const QPoint outside(grid.viewport()->width() - 2, grid.headerHeight() / 2);
    ASSERT_EQ(grid.geometry().ColFromX(outside.x()), -1);
    dragHeader(host, 2, {3, 4}, outside);
    EXPECT_EQ(host.order(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(changed.count(), 0);

    // Dropped back on itself: no move either.
    dragHeader(host, 2, {3}, host.header(2));
    EXPECT_EQ(changed.count(), 0);
}

TEST(VeziRadoHeaderMouse, DividersAreCaughtWithinThreePixels)
{
    HeaderHost host;
    VeziRado &grid = *host.grid;
    const int y = grid.headerHeight() / 2;
    const int edge = host.divider(1);
    move(grid, QPoint(edge + 3, y));
    EXPECT_EQ(grid.MousePointer(), 0); // resizing is off
    grid.setAllowColumnResizing(true);
    for (const int dx : {-3, 0, 3}) {
        move(grid, QPoint(edge + dx, y));
        EXPECT_EQ(grid.MousePointer(), 9) << dx;
        EXPECT_EQ(grid.viewport()->cursor().shape(), Qt::SizeHorCursor);
    }
    for (const int dx : {-4, 4}) {
        move(grid, QPoint(edge + dx, y));
        EXPECT_EQ(grid.MousePointer(), 0) << dx;
    }

    grid.setAllowRowResizing(true);
    const int bottom = grid.cellRect(2, 0).bottom;
    const int x = cellPoint(grid, 2, 1).x();
    for (const int dy : {-3, 3}) {
        move(grid, QPoint(x, bottom + dy));
        EXPECT_EQ(grid.MousePointer(), 7) << dy;
        EXPECT_EQ(grid.viewport()->cursor().shape(), Qt::SizeVerCursor);
    }
    for (const int dy : {-4, 4}) {
        move(grid, QPoint(x, bottom + dy));
        EXPECT_EQ(grid.MousePointer(), 0) << dy;
    }
}

TEST(VeziRadoHeaderMouse, DraggingADividerResizesWithinItsLimits)
{
    HeaderHost host;
    VeziRado &grid = *host.grid;
    grid.setAllowColumnResizing(true);
    grid.setAllowRowResizing(true);
    QSignalSpy sizes(&grid, &VeziRado::ColumnSizeChanged);
    const ColumnRecord &column = grid.model().column(1);
    const int before = column.WidthPixels;
    const float unitsPerPixel = column.Width / float(before);
    const int y = grid.headerHeight() / 2;
    const int edge = host.divider(1);

    move(grid, QPoint(edge - 1, y));
    ASSERT_EQ(grid.MousePointer(), 9);
    press(grid, QPoint(edge - 1, y));
    move(grid, QPoint(edge + 29, y), Qt::LeftButton);
    EXPECT_EQ(column.WidthPixels, before + 30);
    EXPECT_NEAR(column.Width / float(column.WidthPixels), unitsPerPixel, 0.1);
    ASSERT_EQ(sizes.count(), 1);
    EXPECT_EQ(sizes.at(0).at(0).toInt(), 1);
    // Four pixels or less are not applied.
    move(grid, QPoint(edge - before + 3, y), Qt::LeftButton);
    EXPECT_EQ(column.WidthPixels, before + 30);
    EXPECT_EQ(sizes.count(), 1);
    move(grid, QPoint(edge - before + 5, y), Qt::LeftButton);
    EXPECT_EQ(column.WidthPixels, 6);
    QSignalSpy columns(&grid, &VeziRado::ColumnClick);
    release(grid, QPoint(edge - before + 5, y));
    EXPECT_EQ(columns.count(), 0);
    EXPECT_EQ(host.order(), (std::vector<int>{0, 1, 2, 3, 4, 5}));

    // A row divider: taller freely, never down to the standard height.
    const int standard = grid.standardRowHeight();
    const int x = cellPoint(grid, 2, 2).x();
    const int bottom = grid.cellRect(2, 0).bottom;
    move(grid, QPoint(x, bottom + 1));
    ASSERT_EQ(grid.MousePointer(), 7);
    press(grid, QPoint(x, bottom + 1));
    move(grid, QPoint(x, bottom + 11), Qt::LeftButton);
    EXPECT_EQ(grid.model().rowAt(2).Height, standard + 10);
    for (const int y : {bottom + 1, bottom - 2, bottom - 15}) {
        move(grid, QPoint(x, y), Qt::LeftButton);
        EXPECT_EQ(grid.model().rowAt(2).Height, standard + 10) << y - bottom;
    }
    move(grid, QPoint(x, bottom + 2), Qt::LeftButton);
    EXPECT_EQ(grid.model().rowAt(2).Height, standard + 1);
    release(grid, QPoint(x, bottom + 2));
    EXPECT_EQ(grid.model().rowAt(3).Height, standard);
}

TEST(VeziRadoHeaderMouse, DividerDoubleClickRaisesNoDblClick)
{
    HeaderHost host;
    VeziRado &grid = *host.grid;
    grid.setAllowColumnResizing(true);
    grid.setAllowColumnSort(true);
    QSignalSpy doubles(&grid, &VeziRado::DblClick);
    const QPoint divider(host.divider(0) + 1, grid.headerHeight() / 2);
    doubleClick(grid, divider);
    EXPECT_EQ(doubles.count(), 0);
    // The divider press is no header press: nothing was sorted.
    EXPECT_EQ(grid.model().PrimarySortCol(), -1);
    doubleClick(grid, cellPoint(grid, 3, 1));
    EXPECT_EQ(doubles.count(), 1);
}

TEST(VeziRadoHeaderMouse, HotTrackingFollowsThePointerOnlyWhenHeadersAct)
{
    HeaderHost host;
    VeziRado &grid = *host.grid;
    ASSERT_TRUE(grid.AllowColumnHover());
    move(grid, host.header(2));
    EXPECT_EQ(grid.hotHeader(), -1); // sort, swap and drag are all off

    grid.setAllowColumnSort(true);
    move(grid, host.header(2) + QPoint(1, 0));
    EXPECT_EQ(grid.hotHeader(), 2);
    move(grid, host.header(3));
    EXPECT_EQ(grid.hotHeader(), 3);
    move(grid, cellPoint(grid, 1, 3));
    EXPECT_EQ(grid.hotHeader(), -1);

    grid.setAllowColumnHover(false);
    move(grid, host.header(1));
    EXPECT_EQ(grid.hotHeader(), -1);
}
