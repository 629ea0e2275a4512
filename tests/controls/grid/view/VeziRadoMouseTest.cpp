#include "GridMouseTestSupport.h"

#include "WaitFor.h"

#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>

#include <array>
#include <gtest/gtest.h>

using namespace GridViewTest;
using namespace GridMouse;

namespace {

// Twelve rows (forty when asked) of three columns: text, number and a third for the cases.
void fill(VeziRado &grid, int rows = 12, ColumnType third = ColumnType::Text)
{
    grid.AddColumn(QStringLiteral("Name"), 1200);
    grid.AddColumn(QStringLiteral("Amount"), 900, DefaultAlignment, ColumnType::Number);
    grid.AddColumn(QStringLiteral("Third"), 900, DefaultAlignment, third);
    for (int i = 0; i < rows; ++i)
        grid.AddRow(QStringLiteral("n%1\t%1\tx").arg(i));
    grid.setRedraw(true);
}

std::vector<int> selectedRows(const VeziRado &grid)
{
    std::vector<int> rows;
    for (int i = 0; i < grid.Rows(); ++i) {
        if (grid.model().rowAt(i).Flags.testFlag(RowFlag::Selected))
            rows.push_back(i);
    }
    return rows;
}

struct MouseHost : Host
{
    explicit MouseHost(int rows = 12, ColumnType third = ColumnType::Text)
    {
        window.show();
        fill(*grid, rows, third);
    }
    QPoint at(int row, int col = 0) const { return cellPoint(*grid, row, col); }
};

void drop(VeziRado &grid, QPoint pos, const QString &text)
{
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid.viewport(), &enter);
    QDropEvent event(QPointF(pos), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid.viewport(), &event);
}

} // namespace

TEST(VeziRadoMouse, PlainAndCtrlClicksWithoutMultiSelect)
{
    MouseHost host;
    VeziRado &grid = *host.grid;
    click(grid, host.at(2));
    EXPECT_EQ(selectedRows(grid), std::vector<int>{2});
    EXPECT_EQ(grid.Row(), 2);

    // A plain click on the selected row changes nothing.
    QSignalSpy changes(&grid, &VeziRado::SelectionChanged);
    click(grid, host.at(2));
    EXPECT_EQ(changes.count(), 0);

    // Ctrl on the only selected row leaves none selected; the row stays current.
    click(grid, host.at(2), Qt::ControlModifier);
    EXPECT_TRUE(selectedRows(grid).empty());
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(changes.count(), 1);

    click(grid, host.at(5), Qt::ControlModifier);
    EXPECT_EQ(selectedRows(grid), std::vector<int>{5});
    click(grid, host.at(7), Qt::ShiftModifier);
    EXPECT_EQ(selectedRows(grid), std::vector<int>{7});
}

TEST(VeziRadoMouse, MultiSelectOneMakesRangesAndTogglesWithCtrl)
{
    MouseHost host;
    VeziRado &grid = *host.grid;
    grid.setMultiSelect(1);
    click(grid, host.at(3));
    click(grid, host.at(9), Qt::ShiftModifier);
    EXPECT_EQ(selectedRows(grid), (std::vector<int>{3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(grid.Row(), 9);

    click(grid, host.at(5), Qt::ControlModifier);
    EXPECT_EQ(selectedRows(grid), (std::vector<int>{3, 4, 6, 7, 8, 9}));

    // Shift upwards from the current row works the same.
    click(grid, host.at(1), Qt::ShiftModifier);
    EXPECT_EQ(selectedRows(grid), (std::vector<int>{1, 2, 3, 4, 5}));

    click(grid, host.at(8));
    EXPECT_EQ(selectedRows(grid), std::vector<int>{8});
}

TEST(VeziRadoMouse, MultiSelectTwoTogglesEveryClickAndMakesNoRange)
{
    MouseHost host;
    VeziRado &grid = *host.grid;
    grid.setMultiSelect(2);
    grid.SelectedClearAll();
    click(grid, host.at(1));
    click(grid, host.at(4));
    EXPECT_EQ(selectedRows(grid), (std::vector<int>{1, 4}));
    click(grid, host.at(8), Qt::ShiftModifier);
    EXPECT_EQ(selectedRows(grid), (std::vector<int>{1, 4, 8}));
    click(grid, host.at(4));
    EXPECT_EQ(selectedRows(grid), (std::vector<int>{1, 8}));
}

TEST(VeziRadoMouse, RightPressKeepsAMultiSelectionAndSelectsAnUnselectedRow)
{
    MouseHost host;
    VeziRado &grid = *host.grid;
    grid.setMultiSelect(1);
    click(grid, host.at(2));
    click(grid, host.at(4), Qt::ShiftModifier);
    QSignalSpy changes(&grid, &VeziRado::SelectionChanged);
    std::vector<int> downs;
    QObject::connect(&grid, &VeziRado::MouseDown, &grid,
                     [&](int &button, int &, float &, float &) { downs.push_back(button); });

    click(grid, host.at(3), Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(selectedRows(grid), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(downs, std::vector<int>{2});

    click(grid, host.at(7), Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(selectedRows(grid), std::vector<int>{7});
    EXPECT_EQ(grid.Row(), 7);
    EXPECT_EQ(changes.count(), 1);
}

TEST(VeziRadoMouse, ClickAndDoubleClickRaiseTheirEventsInOrder)
{
    MouseHost host;
    VeziRado &grid = *host.grid;
    grid.setEditTrigger(Grid::DoubleClick);
    click(grid, host.at(1, 1));
    EventLog log(grid);
    std::vector<std::pair<int, int>> cells;
    QObject::connect(&grid, &VeziRado::CellClick, &grid,
                     [&](int row, int col, int &) { cells.emplace_back(row, col); });

    click(grid, host.at(3, 1));
    EXPECT_EQ(log.joined(), QStringLiteral("RowColChanged SelectionChanged MouseDown ColumnClick "
                                           "MouseUp Click CellClick"));
    EXPECT_EQ(cells, (std::vector<std::pair<int, int>>{{3, 1}}));
    EXPECT_EQ(grid.LastKeyCode(), 0);

    log.names.clear();
    doubleClick(grid, host.at(3, 1));
    EXPECT_EQ(log.joined(), QStringLiteral("MouseDown ColumnClick MouseUp Click CellClick "
                                           "DblClick ColumnClick MouseUp"));
    // F2's code keeps the caret keys in the editor the double-click opened.
    EXPECT_EQ(grid.LastKeyCode(), 113);

    grid.setEditTrigger(Grid::F2Key);
    doubleClick(grid, host.at(4, 1));
    EXPECT_EQ(grid.LastKeyCode(), 0);
}

TEST(VeziRadoMouse, RowCheckMarginTogglesWithoutStartingADrag)
{
    MouseHost host;
    VeziRado &grid = *host.grid;
    grid.setRowCheckBoxes(true);
    grid.setMultiSelect(1);
    grid.Refresh();
    click(grid, host.at(6, 1));
    EventLog log(grid);
    QSignalSpy checks(&grid, &VeziRado::RowCheckChanged);

    const QPoint margin(grid.rowNumberWidth() + 5, host.at(2).y());
    move(grid, margin);
    press(grid, margin);
    EXPECT_TRUE(grid.RowChecked(2));
    ASSERT_EQ(checks.count(), 1);
    EXPECT_EQ(checks.at(0).at(0).toInt(), 2);
    EXPECT_EQ(selectedRows(grid), std::vector<int>{6});
    // The button still held over other rows selects nothing.
    move(grid, host.at(4, 1), Qt::LeftButton);
    EXPECT_EQ(selectedRows(grid), std::vector<int>{6});
    release(grid, host.at(4, 1));
    EXPECT_EQ(log.names.first(), QStringLiteral("RowCheckChanged"));

    click(grid, margin);
    EXPECT_FALSE(grid.RowChecked(2));
}

TEST(VeziRadoMouse, CheckCellBoxRaisesEditEventsAndHonoursCancel)
{
    MouseHost host(12, ColumnType::CheckBox);
    VeziRado &grid = *host.grid;
    grid.setAllowEdit(true);
    grid.Refresh();
    const PixelRect cell = grid.cellRect(2, 2);
    const int size = grid.geometry().metrics().CheckBoxSize;
    const PixelRect box = grid.geometry().CellPartRect(2, 2, cell.top, CellPart::CheckBox);
    const QPoint inside(box.left + size / 2, box.top + size / 2);

    EventLog log(grid);
    QString offered;
    bool cancelAfter = false;
    QObject::connect(&grid, &VeziRado::AfterEdit, &grid,
                     [&](int, int, QString &value, bool &cancel) {
                         offered = value;
                         cancel = cancelAfter;
                     });
    click(grid, inside);
    EXPECT_TRUE(log.joined().startsWith(
        QStringLiteral("BeforeEdit AfterEdit RowColChanged SelectionChanged MouseDown")))
        << log.joined().toStdString();
    EXPECT_EQ(offered, QStringLiteral("True"));
    EXPECT_TRUE(grid.CellChecked(2, 2));
    EXPECT_EQ(grid.CellText(2, 2), QStringLiteral("True"));
    EXPECT_TRUE(grid.CellChanged(2, 2));

    cancelAfter = true;
    click(grid, inside);
    EXPECT_EQ(offered, QStringLiteral("False"));
    EXPECT_TRUE(grid.CellChecked(2, 2));

    // Refused before the edit: no AfterEdit at all.
    cancelAfter = false;
    QObject::connect(&grid, &VeziRado::BeforeEdit, &grid,
                     [](int, int, bool &cancel) { cancel = true; });
    log.names.clear();
    click(grid, inside);
    EXPECT_FALSE(log.names.contains(QStringLiteral("AfterEdit")));
    EXPECT_TRUE(grid.CellChecked(2, 2));

    // Outside the box the press only selects; without AllowEdit the box stays as it is.
    log.names.clear();
    click(grid, QPoint(cell.right - 2, cell.bottom - 2));
    EXPECT_FALSE(log.names.contains(QStringLiteral("BeforeEdit")));
    grid.setAllowEdit(false);
    const PixelRect other =
        grid.geometry().CellPartRect(5, 2, grid.cellRect(5, 2).top, CellPart::CheckBox);
    click(grid, QPoint(other.left + size / 2, other.top + size / 2));
    EXPECT_FALSE(grid.CellChecked(5, 2));
}

TEST(VeziRadoMouse, LockedRowsRefuseThePressAndTheReleaseEndsADrag)
{
    MouseHost host(12, ColumnType::Button);
    VeziRado &grid = *host.grid;
    grid.setMultiSelect(1);
    grid.setRowLocked(5, true);
    click(grid, host.at(2));
    EventLog log(grid);
    QSignalSpy columns(&grid, &VeziRado::ColumnClick);
    QSignalSpy clicks(&grid, &VeziRado::Click);

    click(grid, host.at(5, 1));
    EXPECT_FALSE(log.names.contains(QStringLiteral("MouseDown")));
    EXPECT_FALSE(log.names.contains(QStringLiteral("MouseUp")));
    EXPECT_EQ(clicks.count(), 0);
    ASSERT_EQ(columns.count(), 1);
    EXPECT_EQ(columns.at(0).at(0).toInt(), 1);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(selectedRows(grid), std::vector<int>{2});

    // A press on a button cell released over the locked row: the drag is over, so the
    // button is not held and a later move with the button reported selects nothing.
    move(grid, host.at(3, 2));
    press(grid, host.at(3, 2));
    move(grid, host.at(5, 2), Qt::LeftButton);
    release(grid, host.at(5, 2));
    move(grid, host.at(8, 2), Qt::LeftButton);
    EXPECT_EQ(selectedRows(grid), std::vector<int>{3});
}

TEST(VeziRadoMouse, DraggingSelectsFromThePressedRow)
{
    MouseHost host;
    VeziRado &grid = *host.grid;
    grid.setMultiSelect(1);
    move(grid, host.at(2));
    press(grid, host.at(2));
    for (int row = 3; row <= 6; ++row)
        move(grid, host.at(row), Qt::LeftButton);
    release(grid, host.at(6));
    EXPECT_EQ(selectedRows(grid), (std::vector<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(grid.Row(), 6);

    grid.setMultiSelect(0);
    grid.setRow(0); // back to the top
    move(grid, host.at(2));
    press(grid, host.at(2));
    for (int row = 3; row <= 6; ++row)
        move(grid, host.at(row), Qt::LeftButton);
    release(grid, host.at(6));
    EXPECT_EQ(selectedRows(grid), std::vector<int>{6});

    // With Shift held the drag leaves the selection alone.
    move(grid, host.at(1));
    press(grid, host.at(1));
    move(grid, host.at(4), Qt::LeftButton, Qt::ShiftModifier);
    release(grid, host.at(4));
    EXPECT_EQ(selectedRows(grid), std::vector<int>{1});
}

TEST(VeziRadoMouse, DraggingPastTheBottomScrollsUntilThePointerComesBack)
{
    MouseHost host(40);
    VeziRado &grid = *host.grid;
    grid.setMultiSelect(1);
    QSignalSpy scrolls(&grid, &VeziRado::Scroll);
    move(grid, host.at(2));
    press(grid, host.at(2));
    const QPoint below(host.at(2).x(), grid.viewport()->height() + 10);
    move(grid, below, Qt::LeftButton);
    EXPECT_EQ(grid.autoScrollDirection(), 2);
    ASSERT_TRUE(waitFor([&] { return grid.verticalScrollBar()->value() >= 4; }));
    EXPECT_GE(scrolls.count(), 4);
    EXPECT_TRUE(grid.RowSelected(grid.verticalScrollBar()->value()));

    // Further moves below the edge join the running scroll.
    move(grid, below + QPoint(0, 5), Qt::LeftButton);
    EXPECT_EQ(grid.autoScrollDirection(), 2);

    // Back inside: the first move stops the scroll, the next selects again.
    move(grid, host.at(5), Qt::LeftButton);
    EXPECT_EQ(grid.autoScrollDirection(), 0);
    EXPECT_FALSE(grid.autoScrollRunning());

    // Above the top it turns round and stops at the first row.
    move(grid, QPoint(host.at(2).x(), -5), Qt::LeftButton);
    EXPECT_EQ(grid.autoScrollDirection(), 1);
    ASSERT_TRUE(waitFor([&] { return grid.autoScrollDirection() == 0; }));
    EXPECT_EQ(grid.verticalScrollBar()->value(), 0);
    release(grid, QPoint(host.at(2).x(), -5));
}

TEST(VeziRadoMouse, AutoScrollStopsAtTheLastRowAndAtTheRelease)
{
    MouseHost host(40);
    VeziRado &grid = *host.grid;
    move(grid, host.at(1));
    press(grid, host.at(1));
    const QPoint below(host.at(1).x(), grid.viewport()->height() + 10);
    move(grid, below, Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return grid.autoScrollDirection() == 0; }));
    EXPECT_EQ(grid.verticalScrollBar()->value(), grid.verticalScrollBar()->maximum());
    // Without MultiSelect only the row at the bottom of the page is selected.
    EXPECT_EQ(selectedRows(grid).size(), 1u);

    const QPoint shown = host.at(grid.verticalScrollBar()->value() + 1);
    move(grid, shown);
    press(grid, shown);
    move(grid, QPoint(shown.x(), -5), Qt::LeftButton);
    EXPECT_EQ(grid.autoScrollDirection(), 1);
    release(grid, QPoint(shown.x(), -5));
    EXPECT_EQ(grid.autoScrollDirection(), 0);
}

TEST(VeziRadoMouse, ButtonHandAndImageCellsRaiseTheirClicks)
{
    MouseHost host(12, ColumnType::Button);
    VeziRado &grid = *host.grid;
    EventLog log(grid);
    QSignalSpy buttons(&grid, &VeziRado::CellButtonClick);
    click(grid, host.at(3, 2), Qt::NoModifier, Qt::RightButton);
    ASSERT_EQ(buttons.count(), 1);
    EXPECT_EQ(buttons.at(0).at(0).toInt(), 3);
    EXPECT_EQ(buttons.at(0).at(1).toInt(), 2);
    click(grid, host.at(4, 2));
    EXPECT_EQ(buttons.count(), 2);

    // The hand follows the cells that ask for it.
    grid.setCellHandPointer(6, 0, true);
    move(grid, host.at(6, 0));
    EXPECT_TRUE(grid.IsHandPointer());
    EXPECT_EQ(grid.viewport()->cursor().shape(), Qt::PointingHandCursor);
    std::vector<std::array<int, 3>> hands;
    QObject::connect(&grid, &VeziRado::CellHandClick, &grid, [&](int row, int col, int &shift) {
        hands.push_back({row, col, shift});
    });
    press(grid, host.at(6, 0), Qt::LeftButton, Qt::ShiftModifier);
    release(grid, host.at(6, 0));
    // The current column's index and the Shift of the press.
    EXPECT_EQ(hands, (std::vector<std::array<int, 3>>{{6, 0, 1}}));
    move(grid, host.at(7, 0));
    EXPECT_FALSE(grid.IsHandPointer());
    EXPECT_EQ(grid.viewport()->cursor().shape(), Qt::ArrowCursor);

    // Leaving the grid from a hand cell takes the hand and the mouse cell away.
    move(grid, host.at(6, 0));
    ASSERT_TRUE(grid.IsHandPointer());
    ASSERT_EQ(grid.MouseRow(), 6);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&grid, &leave);
    EXPECT_FALSE(grid.IsHandPointer());
    EXPECT_EQ(grid.MousePointer(), 0);
    EXPECT_EQ(grid.MouseRow(), -1);
    EXPECT_EQ(grid.MouseCol(), -1);
    EXPECT_EQ(grid.viewport()->cursor().shape(), Qt::ArrowCursor);

    // An image: a click on it raises CellImageClick before ColumnClick; beside it, none.
    GridImageList images(QSize(16, 16));
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    images.add(picture, QStringLiteral("red"));
    grid.setImageList(&images);
    grid.setCellImage(8, 1, 1);
    grid.Refresh();
    const PixelRect image =
        grid.geometry().CellPartRect(8, 1, grid.cellRect(8, 1).top, CellPart::Image);
    QSignalSpy imageClicks(&grid, &VeziRado::CellImageClick);
    log.names.clear();
    click(grid, QPoint(image.left + 8, image.top + 8));
    ASSERT_EQ(imageClicks.count(), 1);
    EXPECT_EQ(imageClicks.at(0).at(0).toInt(), 8);
    EXPECT_EQ(imageClicks.at(0).at(1).toInt(), 1);
    EXPECT_LT(log.names.indexOf(QStringLiteral("CellImageClick")),
              log.names.indexOf(QStringLiteral("ColumnClick")));
    click(grid, QPoint(image.left + 20, image.top + 8));
    EXPECT_EQ(imageClicks.count(), 1);
}

TEST(VeziRadoMouse, DroppedTextLandsOnlyWhereEditingWouldAccept)
{
    MouseHost host;
    VeziRado &grid = *host.grid;
    drop(grid, host.at(2, 1), QStringLiteral("12.5"));
    EXPECT_EQ(grid.CellText(2, 1), QStringLiteral("2"));

    grid.setAllowEdit(true);
    drop(grid, host.at(2, 1), QStringLiteral("12.5"));
    EXPECT_EQ(grid.CellText(2, 1), QStringLiteral("12.5"));
    EXPECT_TRUE(grid.CellChanged(2, 1));
    drop(grid, host.at(3, 0), QStringLiteral("Dropped"));
    EXPECT_EQ(grid.CellText(3, 0), QStringLiteral("Dropped"));

    grid.setRowLocked(4, true);
    drop(grid, host.at(4, 0), QStringLiteral("No"));
    EXPECT_EQ(grid.CellText(4, 0), QStringLiteral("n4"));

    grid.AddColumn(QStringLiteral("Digits"), 900, DefaultAlignment, ColumnType::Text, {},
                   QStringLiteral("0123456789"));
    grid.Refresh();
    drop(grid, host.at(5, 3), QStringLiteral("12a"));
    EXPECT_EQ(grid.CellText(5, 3), QString());
    drop(grid, host.at(5, 3), QStringLiteral("127"));
    EXPECT_EQ(grid.CellText(5, 3), QStringLiteral("127"));
}

TEST(VeziRadoMouse, TheHandGoesWhenThePointerMovesOntoTheGridsOwnScrollBar)
{
    MouseHost host(40);
    VeziRado &grid = *host.grid;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host.window));
    QScrollBar *bar = grid.verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    grid.setCellHandPointer(6, 0, true);
    int hands = 0;
    QObject::connect(&grid, &VeziRado::CellHandClick, &grid, [&hands](int, int, int &) { ++hands; });
    QSignalSpy left(&grid, &VeziRado::MouseLeave);
    QSignalSpy entered(&grid, &VeziRado::MouseEnter);

    QTest::mouseMove(grid.viewport(), host.at(6, 0));
    ASSERT_TRUE(grid.IsHandPointer());
    ASSERT_EQ(grid.MouseRow(), 6);
    QTest::mouseMove(bar, QPoint(bar->width() / 2, bar->height() / 2));
    EXPECT_FALSE(grid.IsHandPointer());
    EXPECT_EQ(grid.MousePointer(), 0);
    EXPECT_EQ(grid.MouseRow(), -1);
    EXPECT_EQ(grid.viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(left.count(), 1);
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_EQ(hands, 0);

    // Back on the hand cell the hand shows again.
    const int entries = int(entered.count());
    QTest::mouseMove(grid.viewport(), host.at(6, 0));
    EXPECT_TRUE(grid.IsHandPointer());
    EXPECT_EQ(entered.count(), entries + 1);
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_EQ(hands, 1);
}
