#include "GridMouseTestSupport.h"

#include "ProgramTest.h"
#include "WaitFor.h"
#include "core/AppError.h"
#include "core/Colour.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace GridViewTest;

namespace {

// A shown, editable grid: a text column, a number column and a check column, twelve rows.
struct EditHost : Host
{
    EditHost()
    {
        grid->AddColumn(QStringLiteral("Title"), 1500);
        grid->AddColumn(QStringLiteral("Copies"), 900, 6, ColumnType::Number);
        grid->AddColumn(QStringLiteral("Lent"), 600, 4, ColumnType::CheckBox);
        for (int i = 0; i < 12; ++i)
            grid->AddRow(QStringLiteral("Book %1\t%2\tFalse").arg(i).arg(i + 1));
        grid->setAllowEdit(true);
        grid->setRedraw(true);
        window.show();
        box = grid->findChild<QLineEdit *>(QStringLiteral("txtEdit"));
    }
    QLineEdit *box = nullptr;
};

// A list box that tells when its list was opened.
class CountingCombo : public QComboBox
{
public:
    using QComboBox::QComboBox;
    void showPopup() override
    {
        ++opened;
        QComboBox::showPopup();
    }
    int opened = 0;
};

int appErrorNumber(const std::function<void()> &call)
{
    try {
        call();
    } catch (const AppError &error) {
        return error.number();
    }
    return 0;
}

} // namespace

TEST(VeziRadoEditing, EditorLiesOverTheCellWithTheCellsLook)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    grid.setBackColorEdit(Colour::rgb(255, 255, 0));
    grid.setForeColorEdit(Colour::rgb(0, 0, 128));
    grid.setCellFontBold(3, 0, true);
    grid.setCellFontItalic(3, 0, true);
    grid.setCellFontName(3, 0, QStringLiteral("Serif"));
    grid.setCellAlignment(3, 0, 5);

    grid.ForceCellEdit(3, 0);
    ASSERT_TRUE(grid.EditPending());
    ASSERT_TRUE(host.box->isVisible());
    PixelRect column;
    grid.geometry().ColLeft(0, column);
    const int top = grid.geometry().RowTop(3);
    const int line = grid.GridLineWidth();
    EXPECT_EQ(host.box->geometry(),
              QRect(column.left + line, top + line, column.right - column.left - line,
                    grid.model().rowAt(3).Height - line));
    EXPECT_EQ(host.box->text(), QStringLiteral("Book 3"));
    EXPECT_EQ(host.box->selectedText(), QStringLiteral("Book 3"));
    EXPECT_EQ(host.box->selectionStart(), 0);
    EXPECT_TRUE(host.box->font().bold());
    EXPECT_TRUE(host.box->font().italic());
    EXPECT_FALSE(host.box->font().underline());
    EXPECT_EQ(host.box->font().family(), QStringLiteral("Serif"));
    EXPECT_EQ(host.box->font().pointSizeF(), grid.Font().pointSizeF());
    EXPECT_EQ(host.box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(host.box->palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(host.box->palette().color(QPalette::Text), QColor(0, 0, 128));
    EXPECT_TRUE(waitFor([&] { return host.box->hasFocus(); }));

    // The next cell takes the grid's own face again.
    grid.ForceCellEdit(4, 0);
    EXPECT_FALSE(host.box->font().bold());
    EXPECT_EQ(host.box->font().family(), grid.Font().family());
}

TEST(VeziRadoEditing, AlignmentCodesMapToLeftCentreOrRight)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    const std::pair<int, Qt::Alignment> Codes[] = {
        {0, Qt::AlignLeft},    {4, Qt::AlignLeft},    {8, Qt::AlignLeft},
        {1, Qt::AlignHCenter}, {5, Qt::AlignHCenter}, {9, Qt::AlignHCenter},
        {2, Qt::AlignRight},   {6, Qt::AlignRight},   {10, Qt::AlignRight},
    };
    for (const auto &[code, alignment] : Codes) {
        grid.setCellAlignment(0, 0, code);
        grid.ForceCellEdit(0, 0);
        EXPECT_EQ(host.box->alignment() & Qt::AlignHorizontal_Mask, alignment) << code;
        grid.cancelEditNow();
    }
}

TEST(VeziRadoEditing, EditorFollowsTheCellWhenTheLayoutChanges)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    grid.ForceCellEdit(2, 1);
    const QRect before = host.box->geometry();
    grid.setRowHeight(0, grid.RowHeight(0) * 2);
    grid.setGridLineWidth(2);
    grid.positionEditorNow();
    const QRect after = host.box->geometry();
    EXPECT_EQ(after.top(), grid.geometry().RowTop(2) + 2);
    EXPECT_GT(after.top(), before.top());
    PixelRect column;
    grid.geometry().ColLeft(1, column);
    EXPECT_EQ(after.left(), column.left + 2);
    EXPECT_EQ(after.right() + 1, column.right);

    // Check boxes widen the leading area: the first column then has no grid line at its left.
    grid.setRowCheckBoxes(true);
    grid.Refresh();
    grid.ForceCellEdit(2, 0);
    grid.geometry().ColLeft(0, column);
    ASSERT_TRUE(grid.geometry().ImageMarginTest(0));
    EXPECT_EQ(host.box->x(), column.left);
}

TEST(VeziRadoEditing, RequestEditMayRefuseAndCheckColumnsNeverOpen)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    QList<std::pair<int, int>> asked;
    bool refuse = true;
    QObject::connect(&grid, &VeziRado::RequestEdit, [&](int row, int col, bool &cancel) {
        asked.append({row, col});
        cancel = refuse;
    });
    grid.ForceCellEdit(5, 1);
    EXPECT_EQ(asked, (QList<std::pair<int, int>>{{5, 1}}));
    EXPECT_FALSE(grid.EditPending());
    EXPECT_FALSE(host.box->isVisible());

    refuse = false;
    grid.ForceCellEdit(5, 2);
    EXPECT_EQ(asked.size(), 1); // a check column raises nothing
    EXPECT_FALSE(grid.EditPending());

    // The refused edit still counts as taken: the key that asked for it is consumed.
    refuse = true;
    grid.RowColSet(1, 0);
    EXPECT_TRUE(grid.editToggleNow(false));
    EXPECT_FALSE(grid.EditPending());
}

TEST(VeziRadoEditing, CommitStoresOnlyAChangedText)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    QList<std::pair<int, int>> after;
    QObject::connect(&grid, &VeziRado::AfterEdit, [&](int row, int col, QString &, bool &) {
        after.append({row, col});
    });

    grid.ForceCellEdit(1, 0);
    EXPECT_TRUE(grid.UpdateCell());
    EXPECT_TRUE(after.isEmpty());
    EXPECT_FALSE(grid.EditPending());
    EXPECT_FALSE(host.box->isVisible());
    EXPECT_FALSE(grid.CellChanged(1, 0));
    EXPECT_FALSE(grid.CellsChanged());

    // Letter case alone is a change.
    grid.ForceCellEdit(1, 0);
    host.box->setText(QStringLiteral("BOOK 1"));
    EXPECT_TRUE(grid.UpdateCell());
    EXPECT_EQ(after, (QList<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(grid.CellText(1, 0), QStringLiteral("BOOK 1"));
    EXPECT_TRUE(grid.CellChanged(1, 0));
    EXPECT_TRUE(grid.RowChanged(1));
    EXPECT_TRUE(grid.CellsChanged());
    EXPECT_FALSE(grid.RowChanged(2));

    // Spaces alone empty the cell.
    grid.ForceCellEdit(2, 0);
    host.box->setText(QStringLiteral("   "));
    EXPECT_TRUE(grid.UpdateCell());
    EXPECT_EQ(grid.CellText(2, 0), QString());
}

TEST(VeziRadoEditing, AfterEditRewritesOrRefusesTheValue)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    bool refuse = false;
    QString rewrite;
    QObject::connect(&grid, &VeziRado::AfterEdit, [&](int, int, QString &value, bool &cancel) {
        cancel = refuse;
        if (!rewrite.isNull())
            value = rewrite;
    });
    grid.ForceCellEdit(0, 0);
    host.box->setText(QStringLiteral("typed"));
    rewrite = QStringLiteral("  "); // the host's blank value empties the cell as well
    EXPECT_TRUE(grid.UpdateCell());
    EXPECT_EQ(grid.CellText(0, 0), QString());

    rewrite = QStringLiteral("Host's title");
    grid.ForceCellEdit(1, 0);
    host.box->setText(QStringLiteral("typed"));
    EXPECT_TRUE(grid.UpdateCell());
    EXPECT_EQ(grid.CellText(1, 0), QStringLiteral("Host's title"));

    refuse = true;
    grid.ForceCellEdit(2, 0);
    host.box->setText(QStringLiteral("refused"));
    EXPECT_FALSE(grid.UpdateCell());
    EXPECT_TRUE(grid.EditPending());
    EXPECT_TRUE(host.box->isVisible());
    EXPECT_EQ(host.box->text(), QStringLiteral("refused"));
    EXPECT_EQ(grid.CellText(2, 0), QStringLiteral("Book 2"));
    EXPECT_FALSE(grid.CellChanged(2, 0));

    // Nothing else may open while the host refuses, and a forced blank spares the typed text.
    grid.ForceCellEdit(5, 0, true);
    EXPECT_EQ(grid.editRow(), 2);
    EXPECT_EQ(host.box->text(), QStringLiteral("refused"));

    // A scroll asks for the commit too; refused, the editor stays.
    QWheelEvent wheel(QPointF(10, 10), grid.viewport()->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid.viewport(), &wheel);
    EXPECT_TRUE(grid.EditPending());

    // The view stayed where it was, so the same turn of the wheel asks again.
    refuse = false;
    rewrite = QString();
    QCoreApplication::sendEvent(grid.viewport(), &wheel);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.CellText(2, 0), QStringLiteral("refused"));
}

TEST(VeziRadoEditing, SortCommitsFirstAndStopsWhenRefused)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    bool refuse = true;
    QObject::connect(&grid, &VeziRado::AfterEdit,
                     [&](int, int, QString &, bool &cancel) { cancel = refuse; });
    QSignalSpy sorted(&grid, &VeziRado::SortComplete);
    grid.ForceCellEdit(0, 0);
    host.box->setText(QStringLiteral("Zebra"));
    grid.Sort(0, 2);
    EXPECT_EQ(sorted.count(), 0);
    EXPECT_EQ(grid.CellText(0, 0), QStringLiteral("Book 0"));

    refuse = false;
    grid.Sort(0, 2);
    EXPECT_EQ(sorted.count(), 1);
    EXPECT_EQ(grid.CellText(grid.Rows() - 1, 0), QStringLiteral("Zebra"));
}

TEST(VeziRadoEditing, ColumnTotalsFollowTheCommit)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    const double copies = grid.TotalsCol(1);
    grid.ForceCellEdit(0, 1);
    host.box->setText(QStringLiteral("7.5"));
    grid.UpdateCell();
    EXPECT_DOUBLE_EQ(grid.TotalsCol(1), copies - 1 + 7.5);

    // Every column keeps a total, a text column too.
    grid.setCellText(4, 0, QStringLiteral("12"));
    const double titles = grid.TotalsCol(0);
    grid.ForceCellEdit(4, 0, true);
    grid.UpdateCell();
    EXPECT_DOUBLE_EQ(grid.TotalsCol(0), titles - 12);
}

TEST(VeziRadoEditing, InputFilterDropsCharactersAndTellsTheHost)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    QList<std::pair<int, int>> pressed;
    int replace = -1;
    QObject::connect(&grid, &VeziRado::EditKeyPress, [&](int col, int &keyAscii) {
        pressed.append({col, keyAscii});
        if (replace >= 0)
            keyAscii = replace;
    });
    // Number columns get their filter from AddColumn.
    grid.ForceCellEdit(0, 1);
    EXPECT_EQ(grid.filterTypedCharacter('a'), 0);
    EXPECT_EQ(grid.filterTypedCharacter('7'), '7');
    EXPECT_EQ(grid.filterTypedCharacter(8), 8);
    EXPECT_EQ(pressed,
              (QList<std::pair<int, int>>{{1, 0}, {1, '7'}, {1, 8}})); // raised for the dropped one

    replace = 0;
    EXPECT_EQ(grid.filterTypedCharacter('5'), 0);
    replace = -1;
    grid.UpdateCell();

    grid.AddColumn(QStringLiteral("Shelf"), 600, 4, ColumnType::Text, {}, QStringLiteral("0123"));
    grid.ForceCellEdit(0, 3);
    EXPECT_EQ(grid.filterTypedCharacter('.'), '.');
    EXPECT_EQ(grid.filterTypedCharacter('4'), 0);
    EXPECT_EQ(grid.filterTypedCharacter('2'), '2');
}

TEST(VeziRadoEditing, CaseFiltersForceTheLettersTyped)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    grid.AddColumn(QStringLiteral("Code"), 900, 4, ColumnType::Text, {}, QStringLiteral(">"));
    grid.AddColumn(QStringLiteral("Mail"), 900, 4, ColumnType::Text, {}, QStringLiteral("<"));
    grid.setCellText(0, 3, QStringLiteral("Ab"));

    grid.ForceCellEdit(0, 3);
    EXPECT_EQ(grid.filterTypedCharacter('x'), 'x'); // no character is filtered
    EXPECT_EQ(host.box->text(), QStringLiteral("Ab"));
    QTest::keyClick(host.box, Qt::Key_End);
    QTest::keyClicks(host.box, QStringLiteral("cd-1"));
    EXPECT_EQ(host.box->text(), QStringLiteral("AbCD-1")); // what was there keeps its case
    grid.UpdateCell();
    EXPECT_EQ(grid.CellText(0, 3), QStringLiteral("AbCD-1"));

    grid.ForceCellEdit(0, 4);
    QTest::keyClicks(host.box, QStringLiteral("Reader@Library"));
    EXPECT_EQ(host.box->text(), QStringLiteral("reader@library"));

    // A column without a case filter leaves the letters alone.
    grid.ForceCellEdit(0, 0);
    QTest::keyClicks(host.box, QStringLiteral("MiXed"));
    EXPECT_EQ(host.box->text(), QStringLiteral("MiXed"));
}

TEST(VeziRadoEditing, EnterCommitMovesByEditMove)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    grid.AddColumn(QStringLiteral("Note"), 600);
    grid.AddColumn(QStringLiteral("Hidden"), 600);
    grid.setColVisible(4, false);
    grid.setRowLocked(3, true);

    grid.setEditMove(Grid::EditMove::Down);
    grid.RowColSet(2, 0);
    ASSERT_TRUE(grid.editToggleNow(true));
    ASSERT_TRUE(grid.EditPending());
    EXPECT_TRUE(grid.editToggleNow(true)); // unchanged, still moves
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.Row(), 4); // the locked row is passed over
    EXPECT_EQ(grid.SelectedCount(), 1);
    EXPECT_TRUE(grid.RowSelected(4));

    grid.setEditMove(Grid::EditMove::Right);
    grid.RowColSet(4, 1);
    grid.editToggleNow(true);
    host.box->setText(QStringLiteral("3"));
    grid.editToggleNow(true);
    EXPECT_EQ(grid.CellText(4, 1), QStringLiteral("3"));
    EXPECT_EQ(grid.Col(), 2);
    grid.RowColSet(4, 3);
    grid.editToggleNow(true);
    grid.editToggleNow(true);
    EXPECT_EQ(grid.Col(), 0); // the hidden column is passed over, wrapping round

    grid.setEditMove(Grid::EditMove::Stay);
    grid.editToggleNow(true);
    grid.editToggleNow(true);
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.Col(), 0);

    // Without the move a commit leaves the current cell alone.
    grid.setEditMove(Grid::EditMove::Down);
    grid.editToggleNow(false);
    grid.editToggleNow(false);
    EXPECT_EQ(grid.Row(), 4);
}

TEST(VeziRadoEditing, DoubleClickInsideTheBoxCommits)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    grid.setEditTrigger(Grid::F2Key);
    grid.ForceCellEdit(1, 0);
    host.box->setText(QStringLiteral("Clicked"));
    QTest::mouseDClick(host.box, Qt::LeftButton);
    EXPECT_TRUE(grid.EditPending()); // the trigger is off: the box selects a word

    grid.setEditTrigger(Grid::DoubleClick);
    grid.setRowLocked(1, true);
    QTest::mouseDClick(host.box, Qt::LeftButton);
    EXPECT_TRUE(grid.EditPending());

    grid.setRowLocked(1, false);
    QTest::mouseDClick(host.box, Qt::LeftButton);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.CellText(1, 0), QStringLiteral("Clicked"));
    EXPECT_EQ(grid.LastKeyCode(), 113);
}

TEST(VeziRadoEditing, NothingOpensWithoutRowsOrPermission)
{
    Host host;
    VeziRado &grid = *host.grid;
    grid.AddColumn(QStringLiteral("Title"), 1500);
    grid.setAllowEdit(true);
    grid.setRedraw(true);
    host.window.show();
    EXPECT_FALSE(grid.editToggleNow(false));
    grid.ForceCellEdit(0, 0);
    EXPECT_FALSE(grid.EditPending());
    EXPECT_EQ(grid.filterTypedCharacter('a'), 'a'); // no current column: nothing to filter

    grid.AddRow(QStringLiteral("Only"));
    grid.setAllowEdit(false);
    grid.RowColSet(0, 0);
    EXPECT_FALSE(grid.editToggleNow(false));
    EXPECT_FALSE(grid.EditPending());
}

TEST(VeziRadoEditing, ForcedEditIgnoresAllowEditAndMayStartBlank)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    grid.setAllowEdit(false);
    grid.ForceCellEdit(6, 0, true);
    EXPECT_TRUE(grid.EditPending());
    EXPECT_FALSE(grid.AllowEdit());
    EXPECT_EQ(grid.Row(), 6);
    EXPECT_EQ(grid.LastKeyCode(), 113);
    EXPECT_EQ(host.box->text(), QString());
    grid.cancelEditNow();
    EXPECT_FALSE(grid.EditPending());
    EXPECT_FALSE(host.box->isVisible());
    EXPECT_EQ(grid.CellText(6, 0), QStringLiteral("Book 6"));
    EXPECT_FALSE(grid.CellsChanged());

    // Clearing the grid closes the editor without storing.
    grid.ForceCellEdit(7, 0);
    grid.Clear();
    EXPECT_FALSE(grid.EditPending());
    EXPECT_FALSE(host.box->isVisible());
}

TEST(VeziRadoEditing, BoundListIsBorrowedForTheEditAndGivenBack)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    auto *combo = new CountingCombo(&host.window);
    combo->addItems(
        {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    const QRect home(300, 250, 80, 22);
    combo->setGeometry(home);
    combo->hide();
    grid.BindControl(1, combo);
    QList<QString> values;
    QObject::connect(&grid, &VeziRado::AfterEdit,
                     [&](int, int, QString &value, bool &) { values.append(value); });

    grid.ForceCellEdit(2, 1);
    ASSERT_TRUE(grid.EditPending());
    EXPECT_FALSE(host.box->isVisible());
    EXPECT_EQ(combo->parentWidget(), grid.viewport());
    EXPECT_TRUE(combo->isVisible());
    EXPECT_EQ(combo->currentText(), QStringLiteral("3")); // the cell's value
    EXPECT_EQ(combo->opened, 1);
    PixelRect column;
    grid.geometry().ColLeft(1, column);
    const int line = grid.GridLineWidth();
    EXPECT_EQ(combo->geometry(),
              QRect(column.left + line, grid.geometry().RowTop(2),
                    column.right - column.left - line, grid.model().rowAt(2).Height - 2 * line));

    // Committed untouched, the value is the cell's own: the cell keeps it and is not marked.
    EXPECT_TRUE(grid.UpdateCell());
    EXPECT_EQ(values, QList<QString>{QStringLiteral("3")});
    EXPECT_EQ(grid.CellText(2, 1), QStringLiteral("3"));
    EXPECT_FALSE(grid.CellChanged(2, 1));
    EXPECT_EQ(combo->parentWidget(), &host.window);
    EXPECT_FALSE(combo->isVisible());
    EXPECT_EQ(combo->geometry(), home);

    grid.ForceCellEdit(2, 1);
    combo->setCurrentIndex(0);
    EXPECT_TRUE(grid.UpdateCell());
    EXPECT_EQ(grid.CellText(2, 1), QStringLiteral("1"));
    EXPECT_TRUE(grid.CellChanged(2, 1));

    // A value the list lacks leaves the cell as it was.
    grid.setCellText(3, 1, QStringLiteral("99"));
    grid.ForceCellEdit(3, 1);
    EXPECT_TRUE(grid.UpdateCell());
    EXPECT_EQ(grid.CellText(3, 1), QStringLiteral("99"));

    // Only the edges MoveControl names are set.
    grid.BindControl(1, combo, 4 | 8);
    grid.ForceCellEdit(2, 1);
    EXPECT_EQ(combo->x(), column.left + line);
    EXPECT_EQ(combo->size(), home.size());
    grid.cancelEditNow();
    EXPECT_EQ(combo->parentWidget(), &host.window);

    grid.BindControl(1, nullptr);
    grid.ForceCellEdit(2, 1);
    EXPECT_TRUE(host.box->isVisible());
    EXPECT_EQ(combo->parentWidget(), &host.window);
}

TEST(VeziRadoEditing, BoundControlOutlivesTheGrid)
{
    QPointer<QLineEdit> control;
    {
        EditHost host;
        QWidget panel(&host.window);
        control = new QLineEdit(&panel);
        host.grid->BindControl(0, control);
        host.grid->ForceCellEdit(0, 0);
        ASSERT_EQ(control->parentWidget(), host.grid->viewport());
        EXPECT_EQ(control->text(), QStringLiteral("Book 0"));
        host.grid->Clear();
        EXPECT_EQ(control->parentWidget(), &panel);

        host.grid->AddRow(QStringLiteral("New"));
        host.grid->ForceCellEdit(0, 0);
        ASSERT_EQ(control->parentWidget(), host.grid->viewport());
        delete host.grid;
        ASSERT_FALSE(control.isNull());
        EXPECT_EQ(control->parentWidget(), &panel);
        control->setParent(nullptr); // kept beyond the panel to see it survived
    }
    ASSERT_FALSE(control.isNull());
    delete control.data();
}

TEST(VeziRadoEditing, BindControlRejectsBadArguments)
{
    EditHost host;
    QLineEdit control;
    EXPECT_EQ(appErrorNumber([&] { host.grid->BindControl(3, &control); }), 9);
    EXPECT_EQ(appErrorNumber([&] { host.grid->BindControl(-1, &control); }), 9);
    EXPECT_EQ(appErrorNumber([&] { host.grid->BindControl(0, &control, 40000); }), 6);
    EXPECT_EQ(appErrorNumber([&] { host.grid->BindControl(0, &control, -32768); }), 0);
}

TEST(VeziRadoEditing, ScreenshotOfAnOpenEditor)
{
    EditHost host;
    host.window.resize(420, 260);
    host.grid->resize(400, 240);
    host.grid->setCellFontBold(2, 0, true);
    host.grid->ForceCellEdit(2, 0);
    QTest::keyClick(host.box, Qt::Key_End);
    QTest::keyClicks(host.box, QStringLiteral(" (2nd ed.)"));
    const QImage image = host.window.grab().toImage();
    EXPECT_TRUE(image.save(QDir(testOutputFolder()).filePath(QStringLiteral("grid-editor.png"))));
}

TEST(VeziRadoEditing, NoEditOpensOnARowTheFilterHides)
{
    EditHost host;
    VeziRado &grid = *host.grid;
    grid.setFocus();
    GridMouse::click(grid, GridMouse::cellPoint(grid, 2, 0));
    ASSERT_EQ(grid.Row(), 2);
    ASSERT_EQ(grid.Col(), 0);
    grid.FilterOn(QStringLiteral("Book 1"), 0, 5); // Book 1, Book 10 and Book 11 stay
    ASSERT_FALSE(grid.RowVisible(2));
    ASSERT_EQ(grid.Row(), 2);
    QSignalSpy requests(&grid, &VeziRado::RequestEdit);

    QTest::keyClick(&grid, Qt::Key_F2);
    EXPECT_FALSE(grid.EditPending());
    QTest::keyClicks(&grid, QStringLiteral("x"));
    EXPECT_FALSE(grid.EditPending());
    QTest::keyClick(&grid, Qt::Key_Return);
    grid.ForceCellEdit();
    EXPECT_FALSE(grid.EditPending());
    EXPECT_FALSE(host.box->isVisible());
    EXPECT_EQ(requests.count(), 0);
    EXPECT_EQ(grid.CellText(2, 0), QStringLiteral("Book 2"));

    // Shown again, the row edits as before.
    grid.FilterOff();
    QTest::keyClick(&grid, Qt::Key_F2);
    EXPECT_TRUE(grid.EditPending());
    EXPECT_EQ(requests.count(), 1);
}
