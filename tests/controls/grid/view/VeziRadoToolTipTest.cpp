#include "GridMouseTestSupport.h"

#include "ChildProcess.h"
#include "ProgramTest.h"
#include "RealInput.h"
#include "WaitFor.h"
#include "WindowManager.h"
#include "core/Colour.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTextStream>
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

// Whether every pixel of the image has the colour, or (`any`) at least one has.
bool allOf(const QImage &image, QColor colour, bool any = false)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixelColor(x, y).rgb() == colour.rgb()) == any)
                return any;
    return !any;
}

QImage onScreen(const QRect &rect)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height())
        .toImage();
}

const QColor CoverColour(0xC0, 0x20, 0x20);

// Another program's window over the grid: a plain window of its own colour, shown and activated
// by a process of its own at the client geometry given (x y width height). It tells where the
// window manager put it once it is active, and stays until the test ends it.
const bool coverRegistered = registerChildEntry("tipCover", [](const QStringList &arguments) {
    if (arguments.size() != 4)
        return 2;
    QWidget window;
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, CoverColour);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.setGeometry(arguments[0].toInt(), arguments[1].toInt(), arguments[2].toInt(),
                       arguments[3].toInt());
    window.show();
    window.activateWindow();
    QTextStream out(stdout);
    if (!QTest::qWaitForWindowActive(&window)) {
        out << "not active" << Qt::endl;
        return 3;
    }
    const QRect client(window.mapToGlobal(QPoint()), window.size());
    out << client.x() << ' ' << client.y() << ' ' << client.width() << ' ' << client.height()
        << Qt::endl;
    return QApplication::exec();
});

// The tests that need a real X display (under xvfb-run); offscreen they skip themselves.
class VeziRadoToolTipOnX : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs a real X display (runs under xvfb-run), not "
                         << QApplication::platformName().toStdString();
    }
};

// The same with a window manager running on that display for the test's length.
class VeziRadoToolTipOnAWindowManager : public VeziRadoToolTipOnX
{
protected:
    void SetUp() override
    {
        VeziRadoToolTipOnX::SetUp();
        if (IsSkipped())
            return;
        const QString failure = manager.start();
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    }

    WindowManager manager;
};

// Another program's window, ended with the test.
class Cover
{
public:
    // The window's client area on the screen, or an empty one when it did not come up active.
    QRect show(const QRect &where)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LD_TEST_CHILD"), QStringLiteral("tipCover"));
        process_.setProcessEnvironment(environment);
        process_.start(QCoreApplication::applicationFilePath(),
                       {QString::number(where.x()), QString::number(where.y()),
                        QString::number(where.width()), QString::number(where.height())});
        if (!process_.waitForStarted() ||
            !waitFor(
                [&] { return process_.canReadLine() || process_.state() != QProcess::Running; },
                15000))
            return {};
        const QStringList numbers = QString::fromLocal8Bit(process_.readLine()).split(u' ');
        if (numbers.size() != 4)
            return {};
        return {numbers[0].toInt(), numbers[1].toInt(), numbers[2].toInt(), numbers[3].toInt()};
    }
    ~Cover()
    {
        process_.kill();
        process_.waitForFinished();
    }

private:
    QProcess process_;
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

TEST(VeziRadoToolTip, TheTextIsBlackOnTheTooltipColour)
{
    TipHost host;
    VeziRado &grid = *host.grid;
    grid.cellToolTipHoverNow(0, 0);
    ASSERT_TRUE(waitFor([&] { return host.tip->isVisible(); }));
    const QImage image = host.tip->grab(host.tip->contentsRect()).toImage();
    const QColor back = Colour::toQColor(Colour::system(Colour::InfoBack));
    EXPECT_EQ(image.pixelColor(image.width() - 2, 1).rgb(), back.rgb());
    // A disabled label greys its picture: no black is left, and the ground turns paler.
    EXPECT_TRUE(allOf(image, Qt::black, true));
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
TEST_F(VeziRadoToolTipOnX, TheBoxLetsThePointerThroughOnARealDisplay)
{
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

// Only a window manager stacks windows by program and activation, and frames the windows it
// manages: the box must be a window of the grid's own window, not one above every window, and the
// pointer must still pass through it once the manager has framed it.
TEST_F(VeziRadoToolTipOnAWindowManager,
       TheBoxStaysAboveItsOwnWindowOnlyOnARealDisplayWithAWindowManager)
{
    TipHost host;
    VeziRado &grid = *host.grid;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host.window));
    ASSERT_TRUE(activate(&host.window));
    QSignalSpy left(&grid, &VeziRado::MouseLeave);
    const QPoint title = grid.viewport()->mapToGlobal(GridMouse::cellPoint(grid, 0, 0));
    const QPoint shelf = grid.viewport()->mapToGlobal(GridMouse::cellPoint(grid, 0, 2));
    const QPoint titleCorner = grid.viewport()->mapToGlobal(QPoint(0, grid.headerHeight()));
    const QPoint shelfCorner = grid.viewport()->mapToGlobal(QPoint(80 + 40, grid.headerHeight()));

    // Shown over the cell without taking the keyboard or, for more than a moment, the pointer: a
    // move to the next cell under the box reaches the grid, which shows that cell's box. So does
    // every box after it, each framed anew.
    QCursor::setPos(title);
    ASSERT_TRUE(waitFor([&] { return host.tip->isVisible(); }));
    EXPECT_EQ(host.tip->pos(), titleCorner);
    EXPECT_EQ(QApplication::activeWindow(), &host.window);
    for (const QPoint &corner : {shelfCorner, titleCorner, shelfCorner, titleCorner}) {
        EXPECT_FALSE(waitFor([&] { return !host.tip->isVisible(); }, 300));
        QCursor::setPos(corner == titleCorner ? title : shelf);
        EXPECT_TRUE(waitFor([&] { return host.tip->isVisible() && host.tip->pos() == corner; }))
            << "the pointer did not pass through the box";
    }
    EXPECT_EQ(left.count(), 0);
    EXPECT_EQ(QApplication::activeWindow(), &host.window);
    const QRect box = host.tip->geometry();

    // A window of another program comes up over the box's right part, away from the pointer.
    const QColor back = Colour::toQColor(Colour::system(Colour::InfoBack));
    const QRect right(box.left() + 150, box.top() + 2, box.width() - 150 - 2, box.height() - 4);
    ASSERT_TRUE(waitFor([&] { return allOf(onScreen(right), back, true); }));
    Cover cover;
    const QRect coverArea = cover.show(QRect(box.left() + 120, box.top() - 60, 300, 200));
    ASSERT_TRUE(coverArea.contains(right)) << "the other window did not come up over the box";
    ASSERT_FALSE(coverArea.contains(title));
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == nullptr; }));
    EXPECT_TRUE(waitFor([&] { return allOf(onScreen(right), CoverColour); }, 2000))
        << "the box stays drawn over the other program's window";
    ASSERT_TRUE(host.tip->isVisible());

    // The grid's window brought back up has the box above it again.
    ASSERT_TRUE(activate(&host.window));
    host.window.raise();
    EXPECT_TRUE(waitFor([&] { return allOf(onScreen(right), back, true); }, 2000))
        << "the box went under its own window";
    EXPECT_TRUE(host.tip->isVisible());
}

// A grid hidden by itself or with its window is left by the pointer, which may rest where the
// box was: the box, a window of its own, goes with it, and only a new hover brings it back, also
// one onto the same cell.
TEST(VeziRadoToolTip, GoesWithTheGridOrItsWindowAndComesBackOnANewHover)
{
    TipHost host;
    VeziRado &grid = *host.grid;
    QSignalSpy left(&grid, &VeziRado::MouseLeave);
    const QPoint title = GridMouse::cellPoint(grid, 0, 0);
    for (QWidget *going : {static_cast<QWidget *>(&grid), &host.window}) {
        const char *what = going == &grid ? "the grid" : "its window";
        GridMouse::move(grid, title);
        ASSERT_TRUE(waitFor([&] { return host.tip->isVisible(); }));
        const int leaves = left.count();
        going->hide();
        EXPECT_FALSE(host.tip->isVisible()) << what;
        EXPECT_EQ(left.count(), leaves + 1) << what;
        going->show();
        EXPECT_FALSE(waitFor([&] { return host.tip->isVisible(); }, 300)) << what;
        GridMouse::move(grid, title);
        EXPECT_TRUE(waitFor([&] { return host.tip->isVisible(); })) << what;
        GridMouse::move(grid, GridMouse::cellPoint(grid, 1, 0));
    }
}

// What a window manager does with a tool window when its window goes (a minimised window takes
// it along and brings it back when restored), and what stays drawn, only a real display shows.
TEST_F(VeziRadoToolTipOnAWindowManager, TheBoxGoesWithItsWindowOnARealDisplayWithAWindowManager)
{
    TipHost host;
    VeziRado &grid = *host.grid;
    const QColor back = Colour::toQColor(Colour::system(Colour::InfoBack));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // Shown again, the window may not be given the focus: the pointer works without it.
    const auto windowUp = [&] {
        return waitFor([&] { return host.window.windowHandle()->isExposed(); });
    };
    // The pointer comes from off the window onto a cell that fits, then onto the cut-off title,
    // and rests under the box. Qt drops a move to where it last saw the pointer, so the grid is
    // first seen to follow the pointer on the first cell.
    QRect box;
    const auto hoverTitle = [&] {
        QCursor::setPos(screen.bottomRight() - QPoint(5, 5));
        const QPoint fits = grid.viewport()->mapToGlobal(GridMouse::cellPoint(grid, 1, 0));
        QCursor::setPos(fits);
        QCursor::setPos(fits + QPoint(3, 0));
        if (!waitFor([&] { return grid.MouseRow() == 1; }))
            return false;
        QCursor::setPos(grid.viewport()->mapToGlobal(GridMouse::cellPoint(grid, 0, 0)));
        if (!waitFor([&] { return host.tip->isVisible(); }))
            return false;
        box = host.tip->geometry().adjusted(2, 2, -2, -2);
        return waitFor([&] { return allOf(onScreen(box), back, true); });
    };
    const auto boxGone = [&] {
        return waitFor([&] { return !host.tip->isVisible() && !allOf(onScreen(box), back, true); });
    };
    // Nothing brings it back but a new hover: not the window shown again, nor the pointer moved.
    const auto staysAway = [&] {
        return !waitFor([&] { return host.tip->isVisible() || allOf(onScreen(box), back, true); },
                        500);
    };
    ASSERT_TRUE(windowUp());

    ASSERT_TRUE(hoverTitle());
    host.window.hide();
    EXPECT_TRUE(boxGone()) << "the box stays after its window was hidden";
    QCursor::setPos(screen.bottomRight() - QPoint(5, 5));
    host.window.show();
    ASSERT_TRUE(windowUp());
    EXPECT_TRUE(staysAway()) << "the box came back with its window";

    ASSERT_TRUE(hoverTitle());
    host.window.close();
    EXPECT_TRUE(boxGone()) << "the box stays after its window was closed";
    QCursor::setPos(screen.bottomRight() - QPoint(5, 5));
    host.window.show();
    ASSERT_TRUE(windowUp());
    EXPECT_TRUE(staysAway()) << "the box came back with its window opened again";

    ASSERT_TRUE(hoverTitle());
    host.window.showMinimized();
    ASSERT_TRUE(waitFor([&] { return host.window.isMinimized(); }));
    EXPECT_TRUE(boxGone()) << "the box stays after its window was minimised";
    QCursor::setPos(screen.bottomRight() - QPoint(5, 5));
    host.window.showNormal();
    ASSERT_TRUE(windowUp());
    EXPECT_TRUE(staysAway()) << "the box came back with its restored window";
    // Straight back onto the title, where the pointer last was before the window went.
    const QPoint title = grid.viewport()->mapToGlobal(GridMouse::cellPoint(grid, 0, 0));
    QCursor::setPos(title + QPoint(3, 0));
    ASSERT_TRUE(waitFor([&] { return grid.viewport()->underMouse(); }));
    QCursor::setPos(title + QPoint(6, 0));
    EXPECT_TRUE(waitFor([&] { return host.tip->isVisible(); }))
        << "a new hover shows no box after the window was restored";
}

// Minimised by the window manager (its button on the frame, a task bar), the window takes the box
// down with it, and Qt keeps the box marked minimised. Restored with the pointer still on the cell,
// the window stays up: a new hover there shows the box drawn on the screen, not minimised again,
// which would take the window down with it.
TEST_F(VeziRadoToolTipOnAWindowManager, ARestoredWindowStaysUpUnderThePointerOnARealDisplay)
{
    TipHost host;
    VeziRado &grid = *host.grid;
    const QColor back = Colour::toQColor(Colour::system(Colour::InfoBack));
    ASSERT_TRUE(waitFor([&] { return host.window.windowHandle()->isExposed(); }));
    ASSERT_TRUE(activate(&host.window));
    const QPoint title = grid.viewport()->mapToGlobal(GridMouse::cellPoint(grid, 0, 0));
    const auto drawn = [&] {
        return host.tip->isVisible() &&
               allOf(onScreen(host.tip->geometry().adjusted(2, 2, -2, -2)), back, true);
    };
    QCursor::setPos(title);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(waitFor(drawn)) << "round " << round;
        RealInput::minimiseByWindowManager(host.window.winId());
        ASSERT_TRUE(waitFor([&] { return !host.window.windowHandle()->isExposed(); }));
        EXPECT_FALSE(host.tip->isVisible());
        host.window.showNormal();
        ASSERT_TRUE(waitFor([&] { return grid.viewport()->underMouse(); }));
        EXPECT_FALSE(waitFor([&] { return host.tip->isVisible(); }, 300))
            << "the box came back with its window";
        QCursor::setPos(title + QPoint(3 * (round + 1), 0));
        EXPECT_TRUE(waitFor(drawn)) << "the box is said to be shown but is not on the screen";
        EXPECT_FALSE(waitFor(
            [&] { return host.window.isMinimized() || !host.window.isActiveWindow(); }, 1000))
            << "the restored window went down again";
        if (HasFailure())
            return;
    }
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
