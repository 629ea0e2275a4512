#include "GridMouseTestSupport.h"

#include "ProgramTest.h"
#include "WaitFor.h"

#include <QCursor>
#include <QDir>
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace GridViewTest;

namespace {

const QString LongTitle = QStringLiteral("The Left Hand of Darkness, first edition"); // 280 px

// An 80-pixel title column, a check-box column and a text column, with a short wait.
struct TipHost : Host
{
    TipHost()
    {
        window.show();
        grid->setScaleUnits(Grid::ScaleUnits::Pixels);
        grid->AddColumn("Title", 79);
        grid->AddColumn("Out", 39, 4, ColumnType::CheckBox);
        grid->AddColumn("Shelf", 79);
        grid->AddRow(LongTitle + "\ttrue\tA long shelf name here");
        grid->AddRow("Emma\tfalse\tB2");
        for (int i = 0; i < 30; ++i)
            grid->AddRow("Row\tfalse\tC");
        grid->setRedraw(true);
        grid->setToolTipDelay(30);
        tip = grid->findChild<QLabel *>("picToolTip");
    }
    // Waits for the wait in progress to end.
    bool waitEnds()
    {
        return waitFor([this] { return !grid->toolTipWaiting(); });
    }
    QLabel *tip = nullptr;
};

} // namespace

TEST(VeziRadoToolTip, ShowsTheWholeTextOfACutOffCellOverTheCell)
{
    TipHost host;
    VeziRado &grid = *host.grid;
    grid.cellToolTipHoverNow(0, 0);
    EXPECT_TRUE(grid.toolTipWaiting());
    EXPECT_FALSE(host.tip->isVisible());
    ASSERT_TRUE(waitFor([&] { return host.tip->isVisible(); }));

    // Over the cell's corner, as tall as the row, as wide as the text plus twice the padding of
    // 56 / 14 pixels, and three more.
    const QPoint corner = grid.viewport()->mapToGlobal(QPoint(0, grid.headerHeight()));
    EXPECT_EQ(host.tip->geometry(), QRect(corner, QSize(280 + 8 + 3, grid.standardRowHeight())));

    // The box stays while the pointer rests; a cell that fits shows nothing and hides it.
    grid.cellToolTipHoverNow(1, 0);
    EXPECT_FALSE(host.tip->isVisible());
    ASSERT_TRUE(host.waitEnds());
    EXPECT_FALSE(host.tip->isVisible());

    // A check box has no text to show, and a text that fits shows nothing.
    grid.cellToolTipHoverNow(0, 1);
    EXPECT_FALSE(grid.toolTipWaiting());
    grid.cellToolTipHoverNow(1, 2);
    ASSERT_TRUE(host.waitEnds());
    EXPECT_FALSE(host.tip->isVisible());
}

TEST(VeziRadoToolTip, TheEndOfTheWaitShowsForTheCellUnderThePointerThen)
{
    TipHost host;
    VeziRado &grid = *host.grid;
    grid.setToolTipDelay(200);

    // Moved on from a cell that fits to one that does not: the running wait shows the latter.
    grid.cellToolTipHoverNow(1, 0);
    grid.cellToolTipHoverNow(0, 2);
    ASSERT_TRUE(waitFor([&] { return host.tip->isVisible(); }));
    const QPoint shelf = grid.viewport()->mapToGlobal(QPoint(80 + 40, grid.headerHeight()));
    EXPECT_EQ(host.tip->pos(), shelf);

    // The other way round shows nothing.
    grid.cellToolTipHoverNow(0, 0);
    EXPECT_FALSE(host.tip->isVisible());
    grid.cellToolTipHoverNow(1, 0);
    ASSERT_TRUE(host.waitEnds());
    EXPECT_FALSE(host.tip->isVisible());

    // The cell's text changed during the wait.
    grid.cellToolTipHoverNow(0, 0);
    grid.setCellText(0, 0, "Dune");
    ASSERT_TRUE(host.waitEnds());
    EXPECT_FALSE(host.tip->isVisible());

    // The tooltips were switched off during the wait.
    grid.cellToolTipHoverNow(0, 2);
    grid.setAutoToolTips(false);
    ASSERT_TRUE(host.waitEnds());
    EXPECT_FALSE(host.tip->isVisible());
    grid.cellToolTipHoverNow(0, 0);
    EXPECT_FALSE(grid.toolTipWaiting());
    grid.setAutoToolTips(true);

    // The grid was cleared during the wait.
    grid.cellToolTipHoverNow(0, 2);
    grid.Clear();
    ASSERT_TRUE(host.waitEnds());
    EXPECT_FALSE(host.tip->isVisible());
}

// The X server decides which window the pointer is in: only there does a box that takes the
// mouse show its fault (the grid loses the pointer to it and hides it at once).
TEST(VeziRadoToolTip, TheBoxLetsThePointerThroughOnARealDisplay)
{
    if (QApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs a real X display (runs under xvfb-run), not "
                     << QApplication::platformName().toStdString();
    TipHost host;
    VeziRado &grid = *host.grid;
    host.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));
    QSignalSpy left(&grid, &VeziRado::MouseLeave);
    const QPoint title = grid.viewport()->mapToGlobal(GridMouse::cellPoint(grid, 0, 0));
    QCursor::setPos(title);
    ASSERT_TRUE(waitFor([&] { return host.tip->isVisible(); }));
    ASSERT_TRUE(host.tip->geometry().contains(title));

    // Resting under the box, the pointer stays on the grid and the box stays; the grid's window
    // keeps the keyboard.
    EXPECT_FALSE(waitFor([&] { return !host.tip->isVisible() || left.count() > 0; }, 500));
    EXPECT_EQ(left.count(), 0);
    EXPECT_EQ(QApplication::activeWindow(), &host.window);
    QCursor::setPos(title + QPoint(5, 0)); // the same cell
    EXPECT_FALSE(waitFor([&] { return !host.tip->isVisible(); }, 200));

    // Onto another cell, through the box: the box goes.
    QCursor::setPos(grid.viewport()->mapToGlobal(GridMouse::cellPoint(grid, 3, 0)));
    EXPECT_TRUE(waitFor([&] { return !host.tip->isVisible(); }));
    EXPECT_EQ(left.count(), 0);
}

TEST(VeziRadoToolTip, KeysPressesScrollingAndLeavingHideIt)
{
    TipHost host;
    VeziRado &grid = *host.grid;
    const auto shown = [&] {
        grid.cellToolTipHoverNow(1, 0);
        grid.cellToolTipHoverNow(0, 0);
        return waitFor([&] { return host.tip->isVisible(); });
    };

    // A key hides the box but lets a wait run on; a press ends the wait as well.
    ASSERT_TRUE(shown());
    grid.hideCellToolTipNow(false);
    EXPECT_FALSE(host.tip->isVisible());
    grid.cellToolTipHoverNow(1, 2);
    grid.cellToolTipHoverNow(0, 2);
    grid.hideCellToolTipNow(false);
    EXPECT_TRUE(grid.toolTipWaiting());
    ASSERT_TRUE(waitFor([&] { return host.tip->isVisible(); }));
    ASSERT_TRUE(shown());
    grid.hideCellToolTipNow(true);
    EXPECT_FALSE(host.tip->isVisible());
    grid.cellToolTipHoverNow(1, 2);
    grid.cellToolTipHoverNow(0, 2);
    grid.hideCellToolTipNow(true);
    EXPECT_FALSE(grid.toolTipWaiting());

    // The wheel scrolls the cell away from under the pointer.
    ASSERT_TRUE(shown());
    QWheelEvent wheel(QPointF(10, 40), grid.viewport()->mapToGlobal(QPointF(10, 40)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid.viewport(), &wheel);
    EXPECT_FALSE(host.tip->isVisible());
    grid.cellToolTipHoverNow(4, 2);
    QCoreApplication::sendEvent(grid.viewport(), &wheel);
    EXPECT_FALSE(grid.toolTipWaiting());
    QWheelEvent back(QPointF(10, 40), grid.viewport()->mapToGlobal(QPointF(10, 40)), QPoint(),
                     QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid.viewport(), &back);
    QCoreApplication::sendEvent(grid.viewport(), &back);

    // Leaving the grid hides the box and drops the wait.
    QEvent enter(QEvent::Enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&grid, &enter);
    grid.cellToolTipHoverNow(1, 0);
    EXPECT_TRUE(grid.toolTipWaiting());
    QCoreApplication::sendEvent(&grid, &leave);
    EXPECT_FALSE(grid.toolTipWaiting());
    QCoreApplication::sendEvent(&grid, &enter);
    ASSERT_TRUE(shown());
    QCoreApplication::sendEvent(&grid, &leave);
    EXPECT_FALSE(host.tip->isVisible());
}

TEST(VeziRadoToolTip, KeptOnTheScreenAndWrappedToTheRoomThere)
{
    TipHost host;
    VeziRado &grid = *host.grid;
    const QRect area = grid.screen()->availableGeometry();
    // The title column starts some 150 pixels before the screen's right edge; the text needs 280.
    host.window.move(area.right() + 1 - 150, area.top() + 50);
    ASSERT_TRUE(waitFor([&] { return host.window.x() == area.right() + 1 - 150; }));
    const QPoint corner = grid.viewport()->mapToGlobal(QPoint(0, grid.headerHeight()));
    grid.cellToolTipHoverNow(0, 0);
    ASSERT_TRUE(waitFor([&] { return host.tip->isVisible(); }));
    const QRect box = host.tip->geometry();
    EXPECT_LE(box.right(), area.right());
    EXPECT_EQ(box.topLeft(), corner);
    EXPECT_GT(box.height(), grid.standardRowHeight()); // broken into lines

    // Near the bottom the box moves up rather than off the screen.
    host.window.move(area.left() + 10, area.bottom() + 1 - grid.headerHeight() - 20 -
                                           grid.viewport()->mapTo(&host.window, QPoint()).y());
    grid.setCellText(0, 0, LongTitle + "\r\nsecond line\r\nthird line");
    grid.cellToolTipHoverNow(1, 0);
    grid.cellToolTipHoverNow(0, 0);
    ASSERT_TRUE(waitFor([&] { return host.tip->isVisible(); }));
    EXPECT_EQ(host.tip->geometry().bottom(), area.bottom());
    // Three lines and the row's vertical padding.
    EXPECT_EQ(host.tip->height(), 3 * 13 + grid.standardRowHeight() - 13);
}

TEST(VeziRadoToolTip, Screenshot)
{
    TipHost host;
    VeziRado &grid = *host.grid;
    grid.setTextMeasurer(nullptr); // the real font
    grid.setCellFontBold(0, 0, true);
    grid.cellToolTipHoverNow(0, 0);
    ASSERT_TRUE(waitFor([&] { return host.tip->isVisible(); }));
    const QDir folder(testOutputFolder());
    EXPECT_TRUE(host.tip->grab().save(folder.filePath("grid-cell-tooltip.png")));
    // The grid under it, with the box drawn where it shows.
    QImage scene = host.window.grab().toImage();
    QPainter painter(&scene);
    painter.drawPixmap(host.window.mapFromGlobal(host.tip->pos()), host.tip->grab());
    painter.end();
    EXPECT_TRUE(scene.save(folder.filePath("grid-cell-tooltip-over-grid.png")));
}
