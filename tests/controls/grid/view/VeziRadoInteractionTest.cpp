#include "GridMouseTestSupport.h"

#include "ProgramTest.h"
#include "WaitFor.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

// The keys, the mouse, the editor, the tooltip and the columns working together on a shown grid,
// driven by key and mouse events as a user makes them.

using namespace GridViewTest;

namespace {

// A shown, editable grid with the focus: a title, a number column and a column forced to capitals,
// thirty rows, so the vertical bar shows.
struct UseHost : Host
{
    UseHost() : Host(QSize(380, 260))
    {
        grid->setScaleUnits(Grid::ScaleUnits::Pixels);
        grid->AddColumn(QStringLiteral("Title"), 120);
        grid->AddColumn(QStringLiteral("Copies"), 70, 6, ColumnType::Number);
        grid->AddColumn(QStringLiteral("Code"), 90, 4, ColumnType::Text, {}, QStringLiteral(">"));
        for (int i = 0; i < 30; ++i)
            grid->AddRow(QStringLiteral("Book %1\t%2\tC%1").arg(i).arg(i + 1));
        grid->setAllowEdit(true);
        grid->setRedraw(true);
        window.show();
        EXPECT_TRUE(activate(&window));
        grid->setFocus();
        box = grid->findChild<QLineEdit *>(QStringLiteral("txtEdit"));
        QObject::connect(grid, &VeziRado::AfterEdit, grid,
                         [this](int, int, QString &, bool &cancel) {
                             ++afterEdits;
                             cancel = refuse;
                         });
        QObject::connect(grid, &VeziRado::EditKeyPress, grid, [this](int col, int &keyAscii) {
            keyPresses.push_back({col, keyAscii});
        });
        QObject::connect(grid, &VeziRado::RequestEdit, grid,
                         [this](int, int, bool &) { ++requests; });
    }

    // Where keys go: the widget with the focus, as the window system sends them.
    QWidget *target() const
    {
        QWidget *focus = QApplication::focusWidget();
        return focus ? focus : grid;
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(target(), k, modifiers);
    }
    void type(const QString &text) { QTest::keyClicks(target(), text); }
    // Opens an edit on a cell by typing into it, so the text is `text`.
    void typeInto(int row, int col, const QString &text)
    {
        grid->RowColSet(row, col);
        key(Qt::Key_Down);
        key(Qt::Key_Up); // a key that leaves LastKeyCode off F2
        type(text);
    }

    QLineEdit *box = nullptr;
    bool refuse = false;
    int afterEdits = 0;
    int requests = 0;
    std::vector<std::pair<int, int>> keyPresses;
};

// On the divider at the right edge of a display column's header.
QPoint dividerOf(const VeziRado &grid, int col)
{
    const ColumnRecord &column = grid.model().column(grid.model().ColumnOrder()[size_t(col)]);
    return {grid.rowNumberWidth() + column.Left + column.WidthPixels, grid.headerHeight() / 2};
}

QWheelEvent wheelDown(VeziRado &grid, QPoint at)
{
    return QWheelEvent(QPointF(at), grid.viewport()->mapToGlobal(QPointF(at)), QPoint(),
                       QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
}

} // namespace

TEST(VeziRadoInteraction, TypingALetterOpensTheEditorWithIt)
{
    UseHost host;
    VeziRado &grid = *host.grid;
    grid.RowColSet(2, 0);
    host.key(Qt::Key_K);
    ASSERT_TRUE(grid.EditPending());
    EXPECT_EQ(host.box->text(), QStringLiteral("k"));
    EXPECT_EQ(host.box->cursorPosition(), 1);
    EXPECT_EQ(QApplication::focusWidget(), host.box);
    host.type(QStringLiteral("it"));
    EXPECT_EQ(host.box->text(), QStringLiteral("kit"));
    host.key(Qt::Key_Return);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.CellText(2, 0), QStringLiteral("kit"));
    EXPECT_EQ(host.afterEdits, 1);
    EXPECT_EQ(QApplication::focusWidget(), &grid); // the focus comes back to the grid

    // Keys that type nothing printable, and the Ctrl and Alt combinations, start no edit.
    for (const auto &[k, modifiers] :
         std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>{
             {Qt::Key_Escape, Qt::NoModifier},
             {Qt::Key_Backspace, Qt::NoModifier},
             {Qt::Key_Tab, Qt::NoModifier},
             {Qt::Key_C, Qt::ControlModifier},
             {Qt::Key_V, Qt::ControlModifier},
             {Qt::Key_A, Qt::ControlModifier}, // Ctrl+A selects nothing with MultiSelect 0
             {Qt::Key_X, Qt::AltModifier},
         }) {
        grid.setFocus();
        host.key(k, modifiers);
        EXPECT_FALSE(grid.EditPending()) << k << " " << modifiers;
        grid.cancelEditNow();
    }
    EXPECT_EQ(host.requests, 1);
}

TEST(VeziRadoInteraction, NumberFilterDropsLettersFirstAndInside)
{
    UseHost host;
    VeziRado &grid = *host.grid;
    grid.RowColSet(4, 1);
    host.key(Qt::Key_X);
    // The letter is dropped, and the editor shows the cell as it was.
    ASSERT_TRUE(grid.EditPending());
    EXPECT_EQ(host.box->text(), QStringLiteral("5"));
    ASSERT_EQ(host.keyPresses.size(), 1u);
    EXPECT_EQ(host.keyPresses[0], std::make_pair(1, 0));

    host.type(QStringLiteral("7x.5"));
    EXPECT_EQ(host.box->text(), QStringLiteral("7.5"));
    ASSERT_EQ(host.keyPresses.size(), 5u);
    EXPECT_EQ(host.keyPresses[2], std::make_pair(1, 0));
    EXPECT_EQ(host.keyPresses[3], std::make_pair(1, int('.')));
    host.key(Qt::Key_Backspace);
    EXPECT_EQ(host.box->text(), QStringLiteral("7."));
    host.key(Qt::Key_Return);
    EXPECT_EQ(grid.CellText(4, 1), QStringLiteral("7."));

    // Capitals forced by the column, from the first letter typed on.
    grid.setFocus();
    grid.RowColSet(5, 2);
    host.type(QStringLiteral("ab"));
    EXPECT_EQ(host.box->text(), QStringLiteral("AB"));
    host.key(Qt::Key_Left);
    host.type(QStringLiteral("x"));
    EXPECT_EQ(host.box->text(), QStringLiteral("AXB"));
    host.key(Qt::Key_Return);
    EXPECT_EQ(grid.CellText(5, 2), QStringLiteral("AXB"));
}

TEST(VeziRadoInteraction, EnterCommitsAndMovesEscCancels)
{
    UseHost host;
    VeziRado &grid = *host.grid;
    grid.setEditMove(Grid::EditMove::Down);
    host.typeInto(3, 0, QStringLiteral("Dune"));
    host.key(Qt::Key_Return);
    EXPECT_EQ(grid.CellText(3, 0), QStringLiteral("Dune"));
    EXPECT_EQ(grid.Row(), 4);

    grid.setEditMove(Grid::EditMove::Right);
    host.type(QStringLiteral("9"));
    host.key(Qt::Key_Enter);
    EXPECT_EQ(grid.CellText(4, 0), QStringLiteral("9"));
    EXPECT_EQ(grid.Col(), 1);

    grid.setEditMove(Grid::EditMove::Stay);
    host.type(QStringLiteral("8"));
    host.key(Qt::Key_Return);
    EXPECT_EQ(grid.CellText(4, 1), QStringLiteral("8"));
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.Col(), 1);

    // A refused value keeps the editor open with what was typed, and nothing moves.
    grid.setEditMove(Grid::EditMove::Down);
    host.refuse = true;
    host.type(QStringLiteral("12"));
    host.key(Qt::Key_Return);
    EXPECT_TRUE(grid.EditPending());
    EXPECT_EQ(host.box->text(), QStringLiteral("12"));
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.CellText(4, 1), QStringLiteral("8"));

    // Esc closes without storing and raises nothing.
    const int before = host.afterEdits;
    host.key(Qt::Key_Escape);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.CellText(4, 1), QStringLiteral("8"));
    EXPECT_EQ(host.afterEdits, before);

    // Without the typing trigger Enter opens and commits at key down, never moving, and Esc
    // cancels there; a letter opens nothing.
    host.refuse = false;
    grid.setEditTrigger(Grid::F2Key | Grid::DoubleClick);
    host.key(Qt::Key_Q);
    EXPECT_FALSE(grid.EditPending());
    host.key(Qt::Key_Return);
    ASSERT_TRUE(grid.EditPending());
    EXPECT_EQ(host.box->text(), QStringLiteral("8"));
    host.type(QStringLiteral("6"));
    host.key(Qt::Key_Return);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.CellText(4, 1), QStringLiteral("6"));
    EXPECT_EQ(grid.Row(), 4);
    host.key(Qt::Key_Return);
    host.type(QStringLiteral("1"));
    host.key(Qt::Key_Escape);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.CellText(4, 1), QStringLiteral("6"));
}

TEST(VeziRadoInteraction, ColumnStepsOfKeysCommitsAndScrollsPassLockedColumns)
{
    UseHost host;
    VeziRado &grid = *host.grid;
    grid.setColLocked(1, true);
    grid.RowColSet(0, 0);
    host.key(Qt::Key_Right);
    EXPECT_EQ(grid.Col(), 2);
    host.key(Qt::Key_Right);
    EXPECT_EQ(grid.Col(), 0); // round to the first again
    host.key(Qt::Key_Left);
    EXPECT_EQ(grid.Col(), 2);

    grid.setEditMove(Grid::EditMove::Right);
    host.typeInto(3, 0, QStringLiteral("a"));
    host.key(Qt::Key_Return);
    EXPECT_EQ(grid.Col(), 2);

    // A line step of the horizontal bar lands on the next usable column too.
    for (int c = 0; c < 3; ++c)
        grid.setColWidth(c, 300);
    grid.Refresh();
    ASSERT_TRUE(grid.horizontalScrollBar()->isVisible());
    grid.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    grid.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 2);
}

TEST(VeziRadoInteraction, CaretKeysStayInTheBoxAfterF2AndCommitAtTheEdgesOtherwise)
{
    UseHost host;
    VeziRado &grid = *host.grid;
    grid.RowColSet(6, 0);
    host.key(Qt::Key_F2);
    ASSERT_TRUE(grid.EditPending());
    EXPECT_EQ(grid.LastKeyCode(), 113);
    EXPECT_EQ(host.box->text(), QStringLiteral("Book 6"));
    host.key(Qt::Key_Right); // at the end
    for (int i = 0; i < 8; ++i)
        host.key(Qt::Key_Left); // on past the start
    EXPECT_TRUE(grid.EditPending());
    EXPECT_EQ(host.box->cursorPosition(), 0);
    for (int i = 0; i < 6; ++i)
        host.key(Qt::Key_Right);
    host.type(QStringLiteral("!"));
    host.key(Qt::Key_F2);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.CellText(6, 0), QStringLiteral("Book 6!"));

    // Opened by typing: Right at the end commits without moving, as does Left at the start.
    host.typeInto(6, 1, QStringLiteral("4"));
    EXPECT_EQ(grid.LastKeyCode(), 38);
    host.key(Qt::Key_Right);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.CellText(6, 1), QStringLiteral("4"));
    EXPECT_EQ(grid.Col(), 1);
    host.type(QStringLiteral("56"));
    host.key(Qt::Key_Left);
    EXPECT_TRUE(grid.EditPending()); // the caret moved inside the text
    host.key(Qt::Key_Left);
    EXPECT_TRUE(grid.EditPending());
    host.key(Qt::Key_Left);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.CellText(6, 1), QStringLiteral("56"));
    EXPECT_EQ(grid.Col(), 1);

    // A double-click opens as F2 does: the caret keys stay in the box.
    GridMouse::doubleClick(grid, GridMouse::cellPoint(grid, 6, 0));
    ASSERT_TRUE(grid.EditPending());
    EXPECT_EQ(grid.LastKeyCode(), 113);
    host.key(Qt::Key_Right);
    EXPECT_TRUE(grid.EditPending());
}

TEST(VeziRadoInteraction, MovesCommitFirstAndARefusalStopsThem)
{
    UseHost host;
    VeziRado &grid = *host.grid;
    const auto keyMoves = std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>{
        {Qt::Key_Down, Qt::NoModifier},
        {Qt::Key_Up, Qt::NoModifier},
        {Qt::Key_Home, Qt::ControlModifier},
        {Qt::Key_End, Qt::ControlModifier},
        {Qt::Key_End, Qt::ShiftModifier},
    };
    for (const auto &[k, modifiers] : keyMoves) {
        host.refuse = true;
        host.typeInto(8, 0, QStringLiteral("x"));
        host.key(k, modifiers);
        EXPECT_TRUE(grid.EditPending()) << k;
        EXPECT_EQ(grid.Row(), 8) << k;
        host.refuse = false;
        host.key(k, modifiers);
        EXPECT_FALSE(grid.EditPending()) << k;
        EXPECT_EQ(grid.CellText(8, 0), QStringLiteral("x")) << k;
        EXPECT_NE(grid.Row(), 8) << k;
        grid.setCellText(8, 0, QStringLiteral("Book 8"));
    }

    // Page keys do nothing while an edit is open; they are consumed all the same.
    host.typeInto(8, 0, QStringLiteral("p"));
    host.key(Qt::Key_PageDown);
    EXPECT_TRUE(grid.EditPending());
    EXPECT_EQ(host.box->text(), QStringLiteral("p"));
    grid.cancelEditNow();

    // A press on another row.
    host.refuse = true;
    host.typeInto(1, 0, QStringLiteral("m"));
    GridMouse::click(grid, GridMouse::cellPoint(grid, 3, 0));
    EXPECT_TRUE(grid.EditPending());
    EXPECT_EQ(grid.Row(), 1);
    host.refuse = false;
    GridMouse::click(grid, GridMouse::cellPoint(grid, 3, 0));
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.CellText(1, 0), QStringLiteral("m"));
    EXPECT_EQ(grid.Row(), 3);

    // The wheel: a refused commit leaves the view where the editor lies over its cell.
    grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    host.refuse = true;
    host.typeInto(2, 0, QStringLiteral("w"));
    ASSERT_EQ(grid.verticalScrollBar()->value(), 0);
    const QRect placed = host.box->geometry();
    QWheelEvent wheel = wheelDown(grid, GridMouse::cellPoint(grid, 5, 0));
    QCoreApplication::sendEvent(grid.viewport(), &wheel);
    EXPECT_TRUE(grid.EditPending());
    EXPECT_EQ(grid.RowFirstVisible(), 0);
    EXPECT_EQ(grid.verticalScrollBar()->value(), 0);
    EXPECT_EQ(host.box->geometry(), placed);
    host.refuse = false;
    QCoreApplication::sendEvent(grid.viewport(), &wheel);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.CellText(2, 0), QStringLiteral("w"));
    EXPECT_GT(grid.RowFirstVisible(), 0);
    QWheelEvent up(wheel.position(), wheel.globalPosition(), QPoint(), QPoint(0, 360),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid.viewport(), &up);
    ASSERT_EQ(grid.RowFirstVisible(), 0);

    // A header sort click: refused, nothing is sorted and the sort state stays as it was.
    grid.setAllowColumnSort(true);
    host.refuse = true;
    host.typeInto(0, 0, QStringLiteral("Zebra"));
    const QPoint header(60, grid.headerHeight() / 2);
    GridMouse::click(grid, header);
    EXPECT_TRUE(grid.EditPending());
    EXPECT_EQ(grid.model().PrimarySortCol(), -1);
    EXPECT_EQ(grid.model().column(0).SortState, SortDirection::Unsorted);
    EXPECT_EQ(grid.CellText(0, 0), QStringLiteral("Book 0"));
    host.refuse = false;
    GridMouse::click(grid, header);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.model().PrimarySortCol(), 0);
    EXPECT_NE(grid.model().column(0).SortState, SortDirection::Unsorted);
    EXPECT_TRUE(grid.CellText(29, 0) == QStringLiteral("Zebra") ||
                grid.CellText(0, 0) == QStringLiteral("Zebra")); // it went to an end
}

TEST(VeziRadoInteraction, ClickAndDoubleClickTriggersOpenOnTheClickedCell)
{
    UseHost host;
    VeziRado &grid = *host.grid;
    grid.setEditTrigger(Grid::Click);
    GridMouse::click(grid, GridMouse::cellPoint(grid, 3, 1));
    ASSERT_TRUE(grid.EditPending());
    EXPECT_EQ(grid.editRow(), 3);
    EXPECT_EQ(grid.editCol(), 1);
    EXPECT_EQ(host.box->text(), QStringLiteral("4"));
    GridMouse::click(grid, GridMouse::cellPoint(grid, 5, 0));
    ASSERT_TRUE(grid.EditPending());
    EXPECT_EQ(grid.editRow(), 5);
    EXPECT_EQ(grid.editCol(), 0);
    grid.cancelEditNow();
    grid.setRowLocked(7, true);
    GridMouse::click(grid, GridMouse::cellPoint(grid, 7, 0));
    EXPECT_FALSE(grid.EditPending());

    grid.setEditTrigger(Grid::DoubleClick);
    GridMouse::click(grid, GridMouse::cellPoint(grid, 2, 2));
    EXPECT_FALSE(grid.EditPending());
    GridMouse::doubleClick(grid, GridMouse::cellPoint(grid, 2, 2));
    ASSERT_TRUE(grid.EditPending());
    EXPECT_EQ(grid.editRow(), 2);
    EXPECT_EQ(grid.editCol(), 2);

    // A double-click in the open box commits it, once: nothing opens it again.
    const int requests = host.requests;
    host.box->setText(QStringLiteral("Q7"));
    QTest::mouseDClick(host.box, Qt::LeftButton);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.CellText(2, 2), QStringLiteral("Q7"));
    EXPECT_EQ(host.requests, requests);

    // The same with both mouse triggers: the click opened the box under the pointer.
    grid.setEditTrigger(Grid::Click | Grid::DoubleClick);
    GridMouse::click(grid, GridMouse::cellPoint(grid, 4, 0));
    ASSERT_TRUE(grid.EditPending());
    QTest::mouseDClick(host.box, Qt::LeftButton);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(host.requests, requests + 1);

    // An edit opened by a key, with the pointer last resting on a divider: a double-click in
    // the box is one on its row, raising DblClick and sizing no column.
    grid.setEditTrigger(Grid::F2Key | Grid::DoubleClick);
    grid.setAllowColumnResizing(true);
    GridMouse::click(grid, QPoint(GridMouse::cellPoint(grid, 0, 1).x(), grid.headerHeight() / 2));
    const QPoint divider = dividerOf(grid, 0);
    GridMouse::move(grid, divider);
    ASSERT_EQ(grid.MousePointer(), 9);
    const float width = grid.ColWidth(0);
    GridMouse::EventLog log(grid);
    grid.RowColSet(6, 0);
    host.key(Qt::Key_F2);
    ASSERT_TRUE(grid.EditPending());
    QTest::mouseDClick(host.box, Qt::LeftButton);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(log.names.count(QStringLiteral("DblClick")), 1);
    EXPECT_EQ(grid.ColWidth(0), width);
}

TEST(VeziRadoInteraction, TooltipFollowsTheRealPointer)
{
    UseHost host;
    VeziRado &grid = *host.grid;
    grid.setToolTipDelay(30);
    grid.setCellText(1, 0, QStringLiteral("A title far too long to fit in its column"));
    auto *tip = grid.findChild<QLabel *>(QStringLiteral("picToolTip"));
    const QPoint cutOff = GridMouse::cellPoint(grid, 1, 0);
    const QPoint fits = GridMouse::cellPoint(grid, 2, 0);
    const auto showTip = [&] {
        QTest::mouseMove(grid.viewport(), fits);
        QTest::mouseMove(grid.viewport(), cutOff);
        return waitFor([&] { return tip->isVisible(); });
    };

    ASSERT_TRUE(showTip());
    QTest::mouseMove(grid.viewport(), fits);
    EXPECT_FALSE(tip->isVisible());
    ASSERT_TRUE(waitFor([&] { return !grid.toolTipWaiting(); }));
    EXPECT_FALSE(tip->isVisible()); // that cell shows its whole text

    ASSERT_TRUE(showTip());
    host.key(Qt::Key_Shift);
    EXPECT_FALSE(tip->isVisible());

    ASSERT_TRUE(showTip());
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, cutOff);
    EXPECT_FALSE(tip->isVisible());
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, cutOff);

    ASSERT_TRUE(showTip());
    QWheelEvent wheel = wheelDown(grid, cutOff);
    QCoreApplication::sendEvent(grid.viewport(), &wheel);
    EXPECT_FALSE(tip->isVisible());
    grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    ASSERT_EQ(grid.RowFirstVisible(), 0);

    ASSERT_TRUE(showTip());
    // Off the grid: the window system tells the grid it was left.
    QCursor::setPos(grid.mapToGlobal(QPoint(-20, -20)));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&grid, &leave);
    EXPECT_FALSE(tip->isVisible());

    // No tooltip over an open editor.
    grid.RowColSet(1, 0);
    host.key(Qt::Key_F2);
    QTest::mouseMove(grid.viewport(), fits);
    QTest::mouseMove(grid.viewport(), cutOff);
    EXPECT_FALSE(grid.toolTipWaiting());
}

TEST(VeziRadoInteraction, DividerDoubleClickSizesAndDraggingMovesTheEditor)
{
    UseHost host;
    VeziRado &grid = *host.grid;
    grid.setAllowColumnResizing(true);
    grid.setCellText(3, 0, QStringLiteral("A title of some fifty characters, to be measured."));
    const QPoint divider = dividerOf(grid, 0);
    GridMouse::move(grid, divider);
    ASSERT_EQ(grid.MousePointer(), 9);
    GridMouse::doubleClick(grid, divider);
    const int widest = host.measurer.textWidth({}, grid.CellText(3, 0));
    EXPECT_GE(grid.model().column(0).WidthPixels, widest);
    EXPECT_LT(grid.model().column(0).WidthPixels, widest + 40);
    EXPECT_FALSE(grid.EditPending());

    // Back to a narrow column, then a drag of its divider while an edit is open.
    grid.setColWidth(0, 100);
    grid.RowColSet(2, 1);
    grid.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    host.key(Qt::Key_F2);
    ASSERT_TRUE(grid.EditPending());
    const int left = host.box->geometry().left();
    const QPoint from = dividerOf(grid, 0);
    GridMouse::move(grid, from);
    ASSERT_EQ(grid.MousePointer(), 9);
    GridMouse::press(grid, from);
    GridMouse::move(grid, from + QPoint(30, 0), Qt::LeftButton);
    GridMouse::release(grid, from + QPoint(30, 0));
    EXPECT_TRUE(grid.EditPending());
    EXPECT_EQ(host.box->geometry().left(), left + 30);
}

TEST(VeziRadoInteraction, ScreenshotsOfAWorkingGrid)
{
    UseHost host;
    VeziRado &grid = *host.grid;
    grid.setMultiSelect(1);
    grid.setAllowColumnHover(true);
    grid.setAllowColumnSort(true);
    grid.RowColSet(2, 0);
    host.key(Qt::Key_Down, Qt::ShiftModifier);
    host.key(Qt::Key_Down, Qt::ShiftModifier);
    host.type(QStringLiteral("Edited here"));
    GridMouse::move(grid, QPoint(GridMouse::cellPoint(grid, 0, 1).x(), grid.headerHeight() / 2));
    ASSERT_EQ(grid.hotHeader(), 1);
    ASSERT_TRUE(grid.EditPending());
    EXPECT_EQ(grid.SelectedCount(), 3);
    const QImage image = host.window.grab().toImage();
    EXPECT_TRUE(image.save(QDir(testOutputFolder()).filePath(QStringLiteral("grid-in-use.png"))));

    // A full window: both bars show, and the bars and the header sit inside the grid.
    QWidget window;
    window.resize(1024, 768);
    auto *big = new VeziRado(&window);
    big->setDesktopLookProvider([] { return GridTheme::DesktopLook{false, {}}; });
    big->ReadProperties({});
    big->setGeometry(8, 8, 1008, 752);
    big->setScaleUnits(Grid::ScaleUnits::Pixels);
    for (int c = 0; c < 9; ++c)
        big->AddColumn(QStringLiteral("Column %1").arg(c), 140);
    for (int i = 0; i < 80; ++i)
        big->AddRow(QStringLiteral("Cell %1\tB\tC\tD\tE\tF\tG\tH\tI").arg(i));
    big->setRedraw(true);
    window.show();
    big->Refresh();
    EXPECT_TRUE(big->verticalScrollBar()->isVisible());
    EXPECT_TRUE(big->horizontalScrollBar()->isVisible());
    const QRect inside = big->rect();
    EXPECT_TRUE(inside.contains(big->verticalScrollBar()->geometry()));
    EXPECT_TRUE(inside.contains(big->horizontalScrollBar()->geometry()));
    EXPECT_TRUE(window.rect().contains(big->QWidget::geometry()));
    EXPECT_TRUE(window.grab().toImage().save(
        QDir(testOutputFolder()).filePath(QStringLiteral("grid-1024x768.png"))));
}
