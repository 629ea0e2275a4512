#include "GridViewTestSupport.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace GridViewTest;

namespace {

// A shown grid of `rows` rows ("r0", "r1", ...) in `cols` columns.
struct KeyGrid : Host
{
    explicit KeyGrid(int rows = 10, int cols = 3, float width = 600, QSize size = {300, 200})
        : Host(size)
    {
        window.show();
        for (int c = 0; c < cols; ++c)
            grid->AddColumn(QStringLiteral("C%1").arg(c), width);
        for (int i = 0; i < rows; ++i)
            grid->AddRow(QStringLiteral("r%1\tx%1\t%1").arg(i));
        grid->setRedraw(true);
        grid->Refresh();
    }
    VeziRado &g() { return *grid; }
};

// Sends one key down to the widget and answers whether the grid took it.
bool down(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
          const QString &text = {})
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    event.setAccepted(true);
    QCoreApplication::sendEvent(target, &event);
    return event.isAccepted();
}

bool press(VeziRado &grid, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QString text;
    if (key >= Qt::Key_A && key <= Qt::Key_Z && !modifiers.testFlag(Qt::ControlModifier))
        text = QChar(char16_t('a' + (key - Qt::Key_A)));
    else if (key == Qt::Key_Space)
        text = QStringLiteral(" ");
    else if (key == Qt::Key_Return || key == Qt::Key_Enter)
        text = QStringLiteral("\r");
    else if (key == Qt::Key_Escape)
        text = QStringLiteral("\x1b");
    const bool taken = down(&grid, key, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(&grid, &release);
    return taken;
}

void typeChar(VeziRado &grid, char c)
{
    press(grid, Qt::Key(Qt::Key_A + (c - 'a')));
}

// Records the grid's events in the order they come.
struct EventLog
{
    explicit EventLog(VeziRado &grid)
    {
        const auto note = [this](const char *name) {
            return [this, name] { names.emplace_back(name); };
        };
        QObject::connect(&grid, &VeziRado::SelectionChanged, &grid, note("SelectionChanged"));
        QObject::connect(&grid, &VeziRado::RowColChanged, &grid, note("RowColChanged"));
        QObject::connect(&grid, &VeziRado::Scroll, &grid, note("Scroll"));
        QObject::connect(&grid, &VeziRado::AfterDelete, &grid, note("AfterDelete"));
        QObject::connect(&grid, &VeziRado::KeyDown, &grid, [this](int &code, int &shift) {
            names.push_back("KeyDown " + std::to_string(code) + " " + std::to_string(shift));
        });
        QObject::connect(&grid, &VeziRado::KeyPress, &grid, [this](int &ascii) {
            names.push_back("KeyPress " + std::to_string(ascii));
        });
        QObject::connect(&grid, &VeziRado::KeyUp, &grid, [this](int &code, int &shift) {
            names.push_back("KeyUp " + std::to_string(code) + " " + std::to_string(shift));
        });
        QObject::connect(&grid, &VeziRado::BeforeInsert, &grid, [this](int row, bool &cancel) {
            names.push_back("BeforeInsert " + std::to_string(row));
            cancel = cancelNext;
        });
        QObject::connect(&grid, &VeziRado::AfterInsert, &grid, [this](int row) {
            names.push_back("AfterInsert " + std::to_string(row));
        });
        QObject::connect(&grid, &VeziRado::BeforeDelete, &grid, [this](int row, bool &cancel) {
            names.push_back("BeforeDelete " + std::to_string(row) + (cancel ? " cancelled" : ""));
            cancel = cancelNext;
        });
        QObject::connect(
            &grid, &VeziRado::BeforeEdit, &grid, [this](int row, int col, bool &cancel) {
                names.push_back("BeforeEdit " + std::to_string(row) + " " + std::to_string(col));
                cancel = cancelEdit;
            });
        QObject::connect(
            &grid, &VeziRado::AfterEdit, &grid, [this](int row, int col, QString &value, bool &) {
                names.push_back("AfterEdit " + std::to_string(row) + " " + std::to_string(col) +
                                " '" + value.toStdString() + "'");
            });
    }
    std::vector<std::string> take()
    {
        std::vector<std::string> taken;
        taken.swap(names);
        return taken;
    }
    std::vector<std::string> names;
    bool cancelNext = false;
    bool cancelEdit = false;
};

using Names = std::vector<std::string>;

} // namespace

// ---------------------------------------------------------------------------------------------
// The order of events and the key codes the host sees.

TEST(VeziRadoKeyboard, GridActsFirstAndRaisesKeyDownLastWithTheArrivingCode)
{
    KeyGrid host;
    VeziRado &grid = host.g();
    grid.setRow(2);
    EventLog log(grid);

    EXPECT_TRUE(press(grid, Qt::Key_Down));
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(log.take(),
              (Names{"SelectionChanged", "RowColChanged", "Scroll", "KeyDown 40 0", "KeyUp 40 0"}));
    EXPECT_EQ(grid.LastKeyCode(), 40);

    // Shift bits 1, Ctrl 2, Alt 4; an unknown key is passed on, still with KeyDown.
    press(grid, Qt::Key_F5, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(log.take(), (Names{"KeyDown 116 7", "KeyUp 116 7"}));
    EXPECT_FALSE(down(&grid, Qt::Key_F5));
    log.take();

    // Keypad Enter is Enter; without an edit trigger of its own it is typed through KeyPress.
    grid.setEditTrigger(0);
    press(grid, Qt::Key_Enter);
    EXPECT_EQ(log.take(), (Names{"KeyDown 13 0", "KeyPress 13", "KeyUp 13 0"}));
    // With the Enter/Esc trigger the typed Enter and Esc are swallowed.
    grid.setEditTrigger(Grid::EnterOrEsc);
    press(grid, Qt::Key_Return);
    press(grid, Qt::Key_Escape);
    EXPECT_EQ(log.take(), (Names{"KeyDown 13 0", "KeyUp 13 0", "KeyDown 27 0", "KeyUp 27 0"}));
}

TEST(VeziRadoKeyboard, KeysTypedIntoTheEditBoxReachTheGridOnce)
{
    KeyGrid host;
    VeziRado &grid = host.g();
    grid.setRow(1);
    auto *box = grid.findChild<QLineEdit *>(QStringLiteral("txtEdit"));
    ASSERT_NE(box, nullptr);
    box->show();
    EventLog log(grid);

    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(log.take(),
              (Names{"SelectionChanged", "RowColChanged", "Scroll", "KeyDown 40 0", "KeyUp 40 0"}));
}

// ---------------------------------------------------------------------------------------------
// Up and Down.

TEST(VeziRadoKeyboard, UpAndDownSkipLockedAndHiddenRowsAndStopAtTheEnds)
{
    KeyGrid host(8);
    VeziRado &grid = host.g();
    grid.setRowLocked(2, true);
    grid.setRowVisible(3, false);
    grid.setRow(1);

    press(grid, Qt::Key_Down);
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.SelectedCount(), 1);
    EXPECT_TRUE(grid.RowSelected(4));
    press(grid, Qt::Key_Up);
    EXPECT_EQ(grid.Row(), 1);

    grid.setRow(7);
    press(grid, Qt::Key_Down);
    EXPECT_EQ(grid.Row(), 7);
    grid.setRow(0);
    press(grid, Qt::Key_Up);
    EXPECT_EQ(grid.Row(), 0);

    // A locked last row is no stop: the current row and its selection stay.
    grid.setRowLocked(7, true);
    grid.setRow(6);
    QSignalSpy selection(&grid, &VeziRado::SelectionChanged);
    press(grid, Qt::Key_Down);
    EXPECT_EQ(grid.Row(), 6);
    EXPECT_TRUE(grid.RowSelected(6));
    EXPECT_FALSE(grid.RowSelected(7));
    EXPECT_EQ(selection.count(), 0);
}

TEST(VeziRadoKeyboard, RowStepsStopAtLockedRowsOnlyWhenAsked)
{
    KeyGrid host(6);
    VeziRado &grid = host.g();
    grid.setRowLocked(2, true);
    grid.setRowVisible(3, false);
    grid.setRowVisible(5, false);
    grid.setRow(1);
    EXPECT_EQ(grid.nextVisibleRowNow(1, 0), 4);
    EXPECT_EQ(grid.nextVisibleRowNow(1, 512), 2);
    grid.setRow(4);
    EXPECT_EQ(grid.prevVisibleRowNow(1, 0), 1);
    EXPECT_EQ(grid.prevVisibleRowNow(1, 512), 2);
    EXPECT_EQ(grid.prevVisibleRowNow(9, 0), 0);
    // Past the last row the last row is the answer, reachable or not.
    EXPECT_EQ(grid.nextVisibleRowNow(1, 0), 5);
}

TEST(VeziRadoKeyboard, UpOrDownWithoutACurrentRowGoesToTheFirstRow)
{
    KeyGrid host(5);
    VeziRado &grid = host.g();
    ASSERT_EQ(grid.Row(), -1);
    press(grid, Qt::Key_Up);
    EXPECT_EQ(grid.Row(), 0);

    KeyGrid other(5);
    press(other.g(), Qt::Key_Down);
    EXPECT_EQ(other.g().Row(), 0);

    KeyGrid empty(0);
    EXPECT_TRUE(press(empty.g(), Qt::Key_Down));
    EXPECT_EQ(empty.g().Row(), -1);
}

TEST(VeziRadoKeyboard, ShiftArrowsExtendTheSelectionOnlyWithMultiSelectBitOne)
{
    KeyGrid host;
    VeziRado &grid = host.g();
    grid.setMultiSelect(1);
    grid.setRow(2);
    press(grid, Qt::Key_Down, Qt::ShiftModifier);
    press(grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid.SelectedCount(), 3);
    EXPECT_TRUE(grid.RowSelected(2) && grid.RowSelected(3) && grid.RowSelected(4));
    press(grid, Qt::Key_Down);
    EXPECT_EQ(grid.SelectedCount(), 1);
    EXPECT_TRUE(grid.RowSelected(5));

    for (const int mode : {0, 2}) {
        grid.setMultiSelect(mode);
        grid.setRow(2);
        press(grid, Qt::Key_Down, Qt::ShiftModifier);
        EXPECT_EQ(grid.SelectedCount(), 1) << mode;
        EXPECT_TRUE(grid.RowSelected(3)) << mode;
    }
}

TEST(VeziRadoKeyboard, DownKeepsTheCurrentRowInView)
{
    KeyGrid host(40, 1);
    VeziRado &grid = host.g();
    grid.setRow(0);
    ASSERT_EQ(grid.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QSignalSpy scrolled(&grid, &VeziRado::Scroll);
    for (int i = 1; i < 40; ++i) {
        press(grid, Qt::Key_Down);
        ASSERT_EQ(grid.Row(), i);
        ASSERT_GE(grid.Row(), grid.RowFirstVisible()) << i;
        ASSERT_LE(grid.Row(), grid.RowLastVisible()) << i;
    }
    EXPECT_EQ(scrolled.count(), 39);
    for (int i = 38; i >= 0; --i) {
        press(grid, Qt::Key_Up);
        ASSERT_GE(grid.Row(), grid.RowFirstVisible()) << i;
    }
    EXPECT_EQ(grid.RowFirstVisible(), 0);
}

TEST(VeziRadoKeyboard, DownOntoAPartlyShownRowScrollsByOneRow)
{
    // A page of eight and a half rows: the ninth row shows only in part.
    KeyGrid probe(40, 1);
    const int frame = probe.g().height() - probe.g().viewport()->height();
    const int rowHeight = probe.g().standardRowHeight();
    KeyGrid host(40, 1, 600, QSize(300, frame + probe.g().headerHeight() + 8 * rowHeight + 8));
    VeziRado &grid = host.g();
    ASSERT_EQ(grid.RowLastVisible(), 8);
    grid.setRow(0);
    for (int i = 1; i <= 8; ++i)
        press(grid, Qt::Key_Down);
    EXPECT_EQ(grid.Row(), 8);
    EXPECT_EQ(grid.RowFirstVisible(), 1);
    press(grid, Qt::Key_Down);
    EXPECT_EQ(grid.RowFirstVisible(), 2);
}

TEST(VeziRadoKeyboard, DownPastLockedRowsBelowTheViewShowsTheRowFirst)
{
    KeyGrid host(40, 1);
    VeziRado &grid = host.g();
    const int last = grid.RowLastVisible();
    for (int r = last; r < last + 4; ++r)
        grid.setRowLocked(r, true);
    grid.setRow(last - 1);
    press(grid, Qt::Key_Down);
    EXPECT_EQ(grid.Row(), last + 4);
    EXPECT_EQ(grid.RowFirstVisible(), last + 4);

    // Without a vertical bar the view cannot follow, so the current row stays.
    KeyGrid bare(40, 1);
    bare.g().setScrollBars(Grid::ScrollBars::Horizontal);
    bare.g().Refresh();
    const int shown = bare.g().RowLastVisible();
    for (int r = shown; r < shown + 4; ++r)
        bare.g().setRowLocked(r, true);
    bare.g().setRow(shown - 1);
    press(bare.g(), Qt::Key_Down);
    EXPECT_EQ(bare.g().Row(), shown - 1);
}

TEST(VeziRadoKeyboard, TallRowsAfterDownScrollWhenTheyNoLongerFit)
{
    // Rows three standard rows high: the third of them reaches past the bottom edge.
    for (const bool resizing : {true, false}) {
        KeyGrid host(40, 1);
        VeziRado &grid = host.g();
        grid.setAllowRowResizing(resizing);
        for (int r = 1; r < 10; ++r)
            grid.setRowHeight(r, 3 * grid.standardRowHeight());
        ASSERT_LT(grid.viewport()->height(), grid.headerHeight() + 10 * grid.standardRowHeight());
        grid.setRow(0);
        for (int i = 1; i <= 3; ++i)
            press(grid, Qt::Key_Down);
        ASSERT_EQ(grid.Row(), 3);
        // Only with word wrap or row resizing allowed does the repaint follow the row.
        EXPECT_EQ(grid.RowFirstVisible(), resizing ? 1 : 0);
        EXPECT_LE(grid.Row(), grid.RowLastVisible());
        press(grid, Qt::Key_Down);
        EXPECT_EQ(grid.Row(), 4);
        EXPECT_LE(grid.RowFirstVisible(), 4);
        EXPECT_LE(grid.Row(), grid.RowLastVisible());
    }
}

// ---------------------------------------------------------------------------------------------
// Left, Right, Home and End.

TEST(VeziRadoKeyboard, LeftAndRightWrapRoundOverVisibleUnlockedColumns)
{
    KeyGrid host(5, 5, 300);
    VeziRado &grid = host.g();
    grid.setColVisible(1, false);
    grid.setColVisible(4, false);
    grid.setRow(2);
    grid.setCol(0);

    press(grid, Qt::Key_Right);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.LastKeyCode(), 0);
    press(grid, Qt::Key_Right);
    EXPECT_EQ(grid.Col(), 3);
    press(grid, Qt::Key_Right);
    EXPECT_EQ(grid.Col(), 0); // past the last visible column: the first again
    EXPECT_EQ(grid.Row(), 2);
    press(grid, Qt::Key_Left);
    EXPECT_EQ(grid.Col(), 3);
    press(grid, Qt::Key_Left);
    EXPECT_EQ(grid.Col(), 2);

    press(grid, Qt::Key_Home);
    EXPECT_EQ(grid.Col(), 0);
    press(grid, Qt::Key_End);
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(grid.Row(), 2);
}

TEST(VeziRadoKeyboard, RightAndLeftScrollTheCurrentColumnIntoView)
{
    KeyGrid host(5, 8, 1500);
    VeziRado &grid = host.g();
    ASSERT_EQ(grid.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    grid.setRow(1);
    grid.setCol(0);
    const int width = grid.viewport()->width();
    for (int col = 1; col < 8; ++col) {
        press(grid, Qt::Key_Right);
        ASSERT_EQ(grid.Col(), col);
        const PixelRect cell = grid.cellRect(1, col);
        EXPECT_LE(cell.right, width) << col;
        EXPECT_GE(cell.left, grid.rowNumberWidth()) << col;
    }
    EXPECT_GT(grid.horizontalScrollBar()->value(), 0);
    // Left onto a column scrolled off brings it back with a column of context before it.
    const int scrolled = grid.horizontalScrollBar()->value();
    for (int col = 6; col >= scrolled - 1; --col)
        press(grid, Qt::Key_Left);
    EXPECT_EQ(grid.Col(), scrolled - 1);
    EXPECT_EQ(grid.horizontalScrollBar()->value(), scrolled - 2);
    press(grid, Qt::Key_Home);
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 0);
}

TEST(VeziRadoKeyboard, ShiftAndCtrlHomeEndMoveToTheEndsAndSelectRanges)
{
    KeyGrid host(40, 1);
    VeziRado &grid = host.g();
    grid.setMultiSelect(1);
    grid.setRow(7);
    QSignalSpy selection(&grid, &VeziRado::SelectionChanged);
    press(grid, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.SelectedCount(), 8);
    EXPECT_TRUE(grid.RowSelected(7) && grid.RowSelected(0));
    EXPECT_EQ(grid.RowFirstVisible(), 0);
    EXPECT_EQ(selection.count(), 1);

    grid.setRow(35);
    press(grid, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(grid.Row(), 39);
    EXPECT_EQ(grid.SelectedCount(), 5);
    EXPECT_LE(grid.RowFirstVisible(), 39);
    EXPECT_GE(grid.RowLastVisible(), 39);

    // Ctrl moves without a range; MultiSelect 0 keeps a single selected row.
    grid.setMultiSelect(0);
    grid.setRow(5);
    press(grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.Row(), 39);
    EXPECT_EQ(grid.SelectedCount(), 1);
    press(grid, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.SelectedCount(), 1);
    EXPECT_EQ(grid.RowFirstVisible(), 0);
}

// ---------------------------------------------------------------------------------------------
// Page Up and Page Down.

TEST(VeziRadoKeyboard, PageKeysScrollAPageAndLeaveTheCurrentRow)
{
    KeyGrid host(40, 1);
    VeziRado &grid = host.g();
    grid.setRow(3);
    const int lastShown = grid.RowLastVisible();
    QSignalSpy scrolled(&grid, &VeziRado::Scroll);
    QSignalSpy moved(&grid, &VeziRado::RowColChanged);

    press(grid, Qt::Key_PageDown);
    EXPECT_EQ(grid.RowFirstVisible(), lastShown);
    EXPECT_EQ(grid.Row(), 3);
    press(grid, Qt::Key_PageDown);
    const int first = grid.RowFirstVisible();
    EXPECT_GT(first, lastShown);

    // Page Up: the nearest row above whose page no longer fits the client height.
    const int rowHeight = grid.standardRowHeight();
    const int fitting = (grid.viewport()->height() - grid.headerHeight()) / rowHeight;
    press(grid, Qt::Key_PageUp);
    EXPECT_EQ(grid.RowFirstVisible(), first - fitting);
    EXPECT_EQ(grid.pageRowStepNow(first), first - fitting);
    EXPECT_EQ(grid.Row(), 3);
    press(grid, Qt::Key_PageUp);
    press(grid, Qt::Key_PageUp);
    EXPECT_EQ(grid.RowFirstVisible(), 0);
    EXPECT_EQ(scrolled.count(), 0);
    EXPECT_EQ(moved.count(), 0);

    // With the current row on the last row Page Down does nothing.
    grid.setRow(39);
    const int before = grid.RowFirstVisible();
    press(grid, Qt::Key_PageDown);
    EXPECT_EQ(grid.RowFirstVisible(), before);
}

// ---------------------------------------------------------------------------------------------
// Ctrl+A and Space.

TEST(VeziRadoKeyboard, CtrlASelectsEveryRowOnlyWithMultiSelectBitTwo)
{
    KeyGrid host(6);
    VeziRado &grid = host.g();
    grid.setRowVisible(4, false);
    grid.setRow(1);
    grid.setMultiSelect(1);
    EXPECT_FALSE(press(grid, Qt::Key_A, Qt::ControlModifier));
    EXPECT_EQ(grid.SelectedCount(), 1);

    for (const int mode : {2, 3}) {
        grid.setMultiSelect(0);
        grid.setMultiSelect(mode);
        QSignalSpy selection(&grid, &VeziRado::SelectionChanged);
        EXPECT_TRUE(press(grid, Qt::Key_A, Qt::ControlModifier));
        EXPECT_EQ(grid.SelectedCount(), grid.Rows()) << mode; // the hidden row too
        EXPECT_EQ(selection.count(), 1);
    }
}

TEST(VeziRadoKeyboard, SpaceTogglesRowChecksAndCheckCells)
{
    KeyGrid host(4, 2);
    VeziRado &grid = host.g();
    grid.setRowCheckBoxes(true);
    QSignalSpy checks(&grid, &VeziRado::RowCheckChanged);
    // No current row: no row is toggled.
    press(grid, Qt::Key_Space);
    EXPECT_EQ(grid.CheckedCount(), 0);
    EXPECT_EQ(checks.count(), 0);
    grid.setRow(2);
    EXPECT_TRUE(press(grid, Qt::Key_Space));
    EXPECT_TRUE(grid.RowChecked(2));
    ASSERT_EQ(checks.count(), 1);
    EXPECT_EQ(checks.at(0).at(0).toInt(), 2);
    press(grid, Qt::Key_Space);
    EXPECT_FALSE(grid.RowChecked(2));

    KeyGrid cells(0, 0);
    VeziRado &g = cells.g();
    g.AddColumn(QStringLiteral("Done"), 600, DefaultAlignment, ColumnType::CheckBox);
    g.AddColumn(QStringLiteral("Go"), 600, DefaultAlignment, ColumnType::Button);
    for (int i = 0; i < 3; ++i)
        g.AddRow(QStringLiteral("False\tgo"));
    g.setAllowEdit(true);
    g.setRow(1);
    g.setCol(0);
    EventLog log(g);
    press(g, Qt::Key_Space);
    EXPECT_TRUE(g.CellChecked(1, 0));
    EXPECT_EQ(g.CellText(1, 0), QStringLiteral("True"));
    EXPECT_TRUE(g.CellChanged(1, 0));
    EXPECT_EQ(log.take(), (Names{"BeforeEdit 1 0", "AfterEdit 1 0 'True'", "KeyDown 32 0",
                                 "KeyPress 32", "KeyUp 32 0"}));
    log.cancelEdit = true;
    press(g, Qt::Key_Space);
    EXPECT_TRUE(g.CellChecked(1, 0));

    QSignalSpy buttons(&g, &VeziRado::CellButtonClick);
    g.setCol(1);
    press(g, Qt::Key_Space);
    ASSERT_EQ(buttons.count(), 1);
    EXPECT_EQ(buttons.at(0).at(1).toInt(), 1);
}

// ---------------------------------------------------------------------------------------------
// Insert and Delete.

TEST(VeziRadoKeyboard, InsertAddsAnEmptyRowAtTheCurrentRowUnlessRefused)
{
    KeyGrid host(4);
    VeziRado &grid = host.g();
    grid.setRow(2);
    EventLog log(grid);
    EXPECT_TRUE(press(grid, Qt::Key_Insert)); // not allowed: handled, nothing happens
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(log.take(), (Names{"KeyDown 45 0", "KeyUp 45 0"}));

    grid.setAllowInsert(true);
    log.cancelNext = true;
    press(grid, Qt::Key_Insert);
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(log.take(), (Names{"BeforeInsert 2", "KeyDown 45 0", "KeyUp 45 0"}));

    log.cancelNext = false;
    press(grid, Qt::Key_Insert);
    ASSERT_EQ(grid.Rows(), 5);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.CellText(2, 0), QString());
    EXPECT_TRUE(grid.RowAdded(2));
    EXPECT_EQ(grid.CellText(3, 0), QStringLiteral("r2"));
    EXPECT_TRUE(grid.RowSelected(2));
    EXPECT_EQ(grid.SelectedCount(), 1);
    const Names names = log.take();
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(names.front(), "BeforeInsert 2");
    EXPECT_EQ(names[names.size() - 3], "AfterInsert 2");
    EXPECT_EQ(names[names.size() - 2], "KeyDown 45 0");

    KeyGrid empty(0, 1);
    empty.g().setAllowInsert(true);
    press(empty.g(), Qt::Key_Insert);
    EXPECT_EQ(empty.g().Rows(), 1);
    EXPECT_EQ(empty.g().Row(), 0);
}

TEST(VeziRadoKeyboard, InsertedRowsCanAllBeReached)
{
    KeyGrid host(5);
    VeziRado &grid = host.g();
    ASSERT_FALSE(grid.verticalScrollBar()->isVisible());
    grid.setAllowInsert(true);
    grid.setRow(0);
    for (int i = 0; i < 20; ++i)
        press(grid, Qt::Key_Insert);
    ASSERT_EQ(grid.Rows(), 25);
    EXPECT_TRUE(grid.verticalScrollBar()->isVisible());

    for (int i = 0; i < 24; ++i)
        press(grid, Qt::Key_Down);
    EXPECT_EQ(grid.Row(), 24);
    EXPECT_EQ(grid.RowLastVisible(), 24);

    grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    ASSERT_EQ(grid.RowFirstVisible(), 0);
    QWheelEvent wheel(QPointF(50, 50), grid.viewport()->mapToGlobal(QPointF(50, 50)), {}, {0, -120},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid.viewport(), &wheel);
    EXPECT_EQ(grid.RowFirstVisible(), 3);
}

TEST(VeziRadoKeyboard, DeleteInRowModeRemovesTheCurrentRowUnlessRefused)
{
    KeyGrid host(4);
    VeziRado &grid = host.g();
    grid.setRow(1);
    EXPECT_FALSE(press(grid, Qt::Key_Delete)); // not allowed: passed on
    grid.setAllowDelete(true);
    EventLog log(grid);
    log.cancelNext = true;
    EXPECT_TRUE(press(grid, Qt::Key_Delete));
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(log.take(), (Names{"BeforeDelete 1", "KeyDown 46 0", "KeyUp 46 0"}));

    log.cancelNext = false;
    press(grid, Qt::Key_Delete);
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.CellText(1, 0), QStringLiteral("r2"));
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_TRUE(grid.RowSelected(1));

    // The last row: removed, and no row is current afterwards.
    grid.setRow(2);
    press(grid, Qt::Key_Delete);
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.Row(), -1);
    // Without a current row Delete touches nothing.
    log.take();
    EXPECT_TRUE(press(grid, Qt::Key_Delete));
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(log.take(), (Names{"KeyDown 46 0", "KeyUp 46 0"}));
}

TEST(VeziRadoKeyboard, DeleteInCellModeClearsTheCellAndItsTotal)
{
    KeyGrid host(0, 0);
    VeziRado &grid = host.g();
    grid.AddColumn(QStringLiteral("Name"), 600);
    grid.AddColumn(QStringLiteral("Amount"), 600, DefaultAlignment, ColumnType::Number);
    grid.AddColumn(QStringLiteral("Done"), 600, DefaultAlignment, ColumnType::CheckBox);
    grid.AddColumn(QStringLiteral("Fixed"), 600, DefaultAlignment, ColumnType::Text, {}, {},
                   DefaultAlignment, false, 0, true, true);
    for (int i = 0; i < 3; ++i)
        grid.AddRow(QStringLiteral("n%1\t%2\t1\tf").arg(i).arg(10 * (i + 1)));
    grid.setAllowDelete(true);
    grid.setFocusRectMode(Grid::FocusRectMode::Cell);
    grid.setRow(1);
    grid.setCol(1);
    ASSERT_EQ(grid.TotalsCol(1), 60);
    EventLog log(grid);

    // A cancel from BeforeEdit reaches BeforeDelete, which may reset it.
    log.cancelEdit = true;
    press(grid, Qt::Key_Delete);
    const Names names = log.take();
    ASSERT_GE(names.size(), 5u);
    EXPECT_EQ(names[0], "BeforeEdit 1 1");
    EXPECT_EQ(names[1], "BeforeDelete 1 cancelled");
    EXPECT_EQ(names[2], "AfterEdit 1 1 ''");
    EXPECT_EQ(names[3], "AfterDelete");
    EXPECT_EQ(grid.CellText(1, 1), QString());
    EXPECT_EQ(grid.TotalsCol(1), 40);
    EXPECT_EQ(grid.Rows(), 3);

    log.cancelEdit = false;
    log.cancelNext = true;
    grid.setRow(2);
    grid.setCol(1);
    press(grid, Qt::Key_Delete);
    EXPECT_EQ(grid.CellText(2, 1), QStringLiteral("30"));

    // Check and locked columns are left alone; the key is still taken.
    log.cancelNext = false;
    for (const int col : {2, 3}) {
        grid.setCol(col);
        log.take();
        EXPECT_TRUE(press(grid, Qt::Key_Delete)) << col;
        EXPECT_EQ(log.take(), (Names{"KeyDown 46 0", "KeyUp 46 0"})) << col;
    }
    EXPECT_EQ(grid.CellText(2, 2), QStringLiteral("1"));
    EXPECT_EQ(grid.CellText(2, 3), QStringLiteral("f"));
}

TEST(VeziRadoKeyboard, SpaceAndDeleteLeaveARowTheFilterHidesAlone)
{
    KeyGrid host(0, 0);
    VeziRado &grid = host.g();
    grid.AddColumn(QStringLiteral("Name"), 600);
    grid.AddColumn(QStringLiteral("Done"), 600, DefaultAlignment, ColumnType::CheckBox);
    for (int i = 0; i < 40; ++i)
        grid.AddRow(QStringLiteral("Book %1\tFalse").arg(i));
    grid.setAllowEdit(true);
    grid.setAllowDelete(true);
    grid.setFocus();
    grid.setRow(9);
    grid.FilterOn(QStringLiteral("Book 1"), 0, 5);
    ASSERT_FALSE(grid.RowVisible(9));
    ASSERT_EQ(grid.Row(), 9);
    EventLog log(grid);
    const auto keyClick = [&](Qt::Key key) {
        log.take();
        QTest::keyClick(&grid, key);
        return log.take();
    };
    const auto onlyKeys = [](int code, bool typed) {
        Names names{"KeyDown " + std::to_string(code) + " 0"};
        if (typed)
            names.push_back("KeyPress " + std::to_string(code));
        names.push_back("KeyUp " + std::to_string(code) + " 0");
        return names;
    };

    grid.setCol(1);
    EXPECT_EQ(keyClick(Qt::Key_Space), onlyKeys(32, true));
    EXPECT_FALSE(grid.CellChecked(9, 1));
    EXPECT_EQ(grid.CellText(9, 1), QStringLiteral("False"));

    grid.setRowCheckBoxes(true);
    EXPECT_EQ(keyClick(Qt::Key_Space), onlyKeys(32, true));
    EXPECT_FALSE(grid.RowChecked(9));
    grid.setRowCheckBoxes(false);

    grid.setFocusRectMode(Grid::FocusRectMode::Cell);
    grid.setCol(0);
    EXPECT_EQ(keyClick(Qt::Key_Delete), onlyKeys(46, false));
    EXPECT_EQ(grid.CellText(9, 0), QStringLiteral("Book 9"));

    grid.setFocusRectMode(Grid::FocusRectMode::Row);
    EXPECT_EQ(keyClick(Qt::Key_Delete), onlyKeys(46, false));
    EXPECT_EQ(grid.Rows(), 40);
    EXPECT_EQ(grid.CellText(9, 0), QStringLiteral("Book 9"));

    // Shown again, the row takes both keys as before.
    grid.FilterOff();
    grid.setCol(1);
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_TRUE(grid.CellChecked(9, 1));
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(grid.Rows(), 39);
}

// ---------------------------------------------------------------------------------------------
// Typed characters.

TEST(VeziRadoKeyboard, TypeAheadJoinsCharactersWithinASecond)
{
    KeyGrid host(0, 1);
    VeziRado &grid = host.g();
    for (const char *text : {"apple", "banana", "berry", "blue", "cherry", "bay"})
        grid.AddRow(QString::fromLatin1(text));
    grid.Refresh();
    grid.setRow(0);
    qint64 now = 5000;
    grid.setTickSource([&now] { return now; });

    typeChar(grid, 'b');
    EXPECT_EQ(grid.Row(), 1);
    now += 999;
    typeChar(grid, 'l');
    EXPECT_EQ(grid.Row(), 3); // "bl"
    now += 1000;
    typeChar(grid, 'c');
    EXPECT_EQ(grid.Row(), 4); // "c" alone
    // A text that matches nothing leaves the current row.
    now += 1000;
    typeChar(grid, 'z');
    EXPECT_EQ(grid.Row(), 4);
    // The selection stays with the row selected last.
    EXPECT_TRUE(grid.RowSelected(0));

    // A clock that starts near its end still measures the pause.
    now = std::numeric_limits<qint64>::max() - 10;
    typeChar(grid, 'a');
    EXPECT_EQ(grid.Row(), 0);
    now += 5;
    typeChar(grid, 'p');
    EXPECT_EQ(grid.Row(), 0);
}

TEST(VeziRadoKeyboard, CtrlCombinationsStartNoTypeAhead)
{
    KeyGrid host(0, 1);
    VeziRado &grid = host.g();
    for (const char *text : {"apple", "banana", "cherry"})
        grid.AddRow(QString::fromLatin1(text));
    grid.setRow(0);
    qint64 now = 0;
    grid.setTickSource([&now] { return now; });
    // Ctrl stays held for the C: its character is no search.
    down(&grid, Qt::Key_C, Qt::ControlModifier, QStringLiteral("c"));
    EXPECT_EQ(grid.Row(), 0);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_C, Qt::ControlModifier, QStringLiteral("c"));
    QCoreApplication::sendEvent(&grid, &release);
    typeChar(grid, 'c');
    EXPECT_EQ(grid.Row(), 2);
}

TEST(VeziRadoKeyboard, TypingOnAnEditableGridStartsTheEditWithTheCharacter)
{
    KeyGrid host(3);
    VeziRado &grid = host.g();
    grid.setAllowEdit(true);
    grid.setRow(1);
    auto *box = grid.findChild<QLineEdit *>(QStringLiteral("txtEdit"));
    typeChar(grid, 'q');
    EXPECT_EQ(box->text(), QStringLiteral("q"));
    EXPECT_EQ(box->cursorPosition(), 1);
    // Esc, Ctrl combinations and a Space that checked the row start no edit.
    box->clear();
    press(grid, Qt::Key_Escape);
    grid.setRowCheckBoxes(true);
    press(grid, Qt::Key_Space);
    EXPECT_TRUE(grid.RowChecked(1));
    EXPECT_EQ(box->text(), QString());
    down(&grid, Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
    EXPECT_EQ(box->text(), QString());
}

// ---------------------------------------------------------------------------------------------
// The current cell as other members move it.

TEST(VeziRadoCurrentCell, RowColSetScrollsOnlyToRowsOutOfView)
{
    KeyGrid host(40, 3);
    VeziRado &grid = host.g();
    const int lastShown = grid.RowLastVisible();
    grid.setRow(lastShown - 2);
    EXPECT_EQ(grid.RowFirstVisible(), 0);
    grid.setRow(lastShown + 3);
    EXPECT_EQ(grid.RowFirstVisible(), lastShown + 3);

    // Setting the row alone leaves no current column; Col gives one back.
    grid.setCol(2);
    grid.setRow(lastShown + 4);
    EXPECT_EQ(grid.Col(), -1);
    grid.setCol(1);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), lastShown + 4);
}

TEST(VeziRadoCurrentCell, LockedRowIsSelectedAndStoredWithoutRowColChanged)
{
    KeyGrid host(10, 3);
    VeziRado &grid = host.g();
    grid.setRow(1);
    grid.setCol(2);
    grid.setRowLocked(5, true);
    QSignalSpy moved(&grid, &VeziRado::RowColChanged);
    QSignalSpy selection(&grid, &VeziRado::SelectionChanged);
    grid.RowColSet(5, -1);
    EXPECT_EQ(grid.Row(), 5);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.SelectedCount(), 1);
    EXPECT_TRUE(grid.RowSelected(5));
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(selection.count(), 1);

    // Hidden rows and hidden columns change nothing.
    grid.setRowVisible(7, false);
    grid.setColVisible(0, false);
    grid.RowColSet(7, -1);
    grid.RowColSet(2, 0);
    EXPECT_EQ(grid.Row(), 5);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(selection.count(), 1);
}

TEST(VeziRadoCurrentCell, MultiSelectZeroKeepsOnlyTheCurrentRow)
{
    KeyGrid host(10, 3);
    VeziRado &grid = host.g();
    grid.setMultiSelect(1);
    grid.setRow(3);
    grid.setCol(1);
    for (const int r : {0, 1, 2, 4})
        grid.setRowSelected(r, true);
    ASSERT_EQ(grid.SelectedCount(), 5);
    QSignalSpy moved(&grid, &VeziRado::RowColChanged);
    QSignalSpy selection(&grid, &VeziRado::SelectionChanged);
    grid.setMultiSelect(0);
    EXPECT_EQ(grid.SelectedCount(), 1);
    EXPECT_TRUE(grid.RowSelected(3));
    EXPECT_EQ(grid.Col(), -1);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(selection.count(), 1);
    EXPECT_TRUE(grid.RowSelected(1000) == grid.RowSelected(9));
}
