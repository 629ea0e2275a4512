#include "GridTestSupport.h"

#include <gtest/gtest.h>

using namespace GridTest;

namespace {

// Names, a check-box column and a progress column over ten rows.
void fill(VeziRadoModel &grid)
{
    grid.AddColumn("Name");
    grid.AddColumn("Tick", 500, 4, ColumnType::CheckBox);
    grid.AddColumn("Done", 500, 4, ColumnType::ProgressBar);
    for (int i = 0; i < 10; ++i)
        grid.AddRow(QStringLiteral("row%1\t0\t").arg(i));
}

} // namespace

TEST(VeziRadoCells, ResolvedAndDirectAddressing)
{
    VeziRadoModel grid;
    EXPECT_EQ(grid.CellText(0, 0), "");
    grid.setCellText(0, 0, "ignored");
    EXPECT_EQ(grid.Rows(), 0);

    fill(grid);
    EXPECT_EQ(grid.CellText(25, 0), "row9");
    EXPECT_EQ(errorNumberOf([&] { grid.CellFontBold(25, 0); }), 9);
    EXPECT_EQ(errorNumberOf([&] { grid.CellBackColor(0, 3); }), 9);

    RecordingView view;
    grid.setView(&view);
    grid.setRedraw(true); // paints what was pending
    view.paints = 0;
    grid.setCellText(0, 7, "nothing");
    EXPECT_EQ(view.paints, 0);
    EXPECT_FALSE(grid.CellsChanged());

    // Columns are addressed by index wherever they are shown.
    grid.setColumnOrder({2, 1, 0});
    grid.setCellBackColor(3, 0, 0x112233);
    EXPECT_EQ(grid.CellBackColor(3, 0), 0x112233u);
    EXPECT_EQ(grid.CellText(3, 0), "row3");
}

TEST(VeziRadoCells, TextValueAndCheckState)
{
    VeziRadoModel grid;
    fill(grid);
    grid.setCellText(0, 1, "0");
    EXPECT_FALSE(grid.CellChecked(0, 1));
    grid.setCellText(0, 1, "2");
    EXPECT_TRUE(grid.CellChecked(0, 1));
    grid.setCellText(1, 1, "True");
    EXPECT_TRUE(grid.CellChecked(1, 1));

    grid.setCellChecked(2, 1, true);
    EXPECT_EQ(grid.CellText(2, 1), "True");
    grid.setCellChecked(2, 0, true);
    EXPECT_EQ(grid.CellText(2, 0), "row2");
    EXPECT_TRUE(grid.CellChecked(2, 0));

    grid.setCellText(3, 1, "abc");
    EXPECT_FALSE(grid.CellValue(3, 1).isValid());
    grid.setCellText(3, 1, "");
    EXPECT_EQ(grid.CellValue(3, 1), QVariant(false));
    grid.setCellText(3, 1, "-1");
    EXPECT_EQ(grid.CellValue(3, 1), QVariant(true));

    grid.setCellValue(4, 0, "12.50");
    EXPECT_EQ(grid.CellText(4, 0), "12.5");
    EXPECT_EQ(grid.CellValue(4, 0).toDouble(), 12.5);
    grid.setCellValue(4, 1, true);
    EXPECT_EQ(grid.CellText(4, 1), "-1");
    EXPECT_TRUE(grid.CellChecked(4, 1));

    EXPECT_TRUE(grid.CellChanged(4, 0));
    EXPECT_TRUE(grid.RowChanged(4));
    EXPECT_FALSE(grid.CellChanged(5, 0));
    EXPECT_FALSE(grid.RowChanged(5));
    EXPECT_TRUE(grid.CellsChanged());
}

TEST(VeziRadoCells, TagsPicturesAndProgressLeaveChangesAlone)
{
    VeziRadoModel grid;
    fill(grid);
    grid.setCellTag(0, 0, "tag");
    grid.CellPicture(QVariant(42), 0, 0);
    grid.setCellProgressValue(0, 2, 150);
    EXPECT_EQ(grid.CellTag(0, 0), "tag");
    EXPECT_EQ(grid.CellPictureGet(0, 0), QVariant(42));
    EXPECT_EQ(grid.CellTag(1, 0), "");
    EXPECT_EQ(grid.CellProgressValue(0, 2), 100);
    grid.setCellProgressValue(0, 2, -5);
    EXPECT_EQ(grid.CellProgressValue(0, 2), 0);
    grid.setCellProgressValue(0, 2, 40);
    grid.setCellFontBold(0, 2, true); // the value is no part of the flags
    EXPECT_EQ(grid.CellProgressValue(0, 2), 40);
    grid.setCellProgressValue(0, 0, 40);
    EXPECT_EQ(grid.CellProgressValue(0, 0), 0);
    EXPECT_FALSE(grid.CellsChanged());
    EXPECT_FALSE(grid.CellChanged(0, 0));

    // A copied record keeps its own tag.
    CellRecord copy = grid.cellAt(0, 0);
    copy.setTag("other");
    EXPECT_EQ(grid.CellTag(0, 0), "tag");
}

TEST(VeziRadoCells, StyleFlagsAndFormatAttributes)
{
    RecordingView view;
    VeziRadoModel grid;
    grid.setView(&view);
    fill(grid);
    grid.setCellWordWrap(0, 0, true);
    EXPECT_TRUE(grid.CellWordWrap(0, 0));
    EXPECT_FALSE(grid.CellFontItalic(0, 0));
    grid.setCellFontName(0, 0, "Serif");
    grid.setCellHandPointer(0, 0, true);
    EXPECT_EQ(grid.CellFontName(0, 0), "Serif");
    EXPECT_TRUE(grid.CellHandPointer(0, 0));
    EXPECT_EQ(grid.CellFontName(1, 0), "");

    grid.setCellImage(0, 0, "3");
    EXPECT_EQ(grid.CellImage(0, 0).toInt(), 3);
    grid.setCellImage(0, 0, "pen");
    EXPECT_EQ(grid.CellImage(0, 0).toInt(), 3 /* index of "pen" */);
    grid.setCellImage(0, 0, "nothing");
    EXPECT_EQ(grid.CellImage(0, 0).toInt(), 0);
    grid.setCellImage(0, 0, 70000);
    EXPECT_EQ(grid.CellImage(0, 0).toInt(), 0);

    EXPECT_EQ(errorNumberOf([&] { grid.setCellAlignment(0, 0, 40000); }), 6);
    grid.setCellAlignment(0, 0, 2);
    EXPECT_EQ(grid.CellAlignment(0, 0), 2);
}

TEST(VeziRadoCells, FormatCellsWalksItsRange)
{
    VeziRadoModel grid;
    fill(grid);
    grid.FormatCells(0, 1, 0, -1, 3, "1");
    EXPECT_FALSE(grid.CellFontBold(0, 0));
    grid.FormatCells(0, 1, 0, -1, 32, "1");
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 3; ++col)
            EXPECT_TRUE(grid.CellFontBold(row, col));
    }
    EXPECT_FALSE(grid.CellFontBold(2, 0));
    grid.FormatCells(0, 1, 0, -1, 32, "");
    EXPECT_FALSE(grid.CellFontBold(1, 1));
    grid.FormatCells(5, 50, 0, 0, 1, "&H80000005");
    EXPECT_EQ(grid.CellBackColor(9, 0), 0x80000005u);
    grid.FormatCells(0, 0, 0, 0, 1, "255");
    EXPECT_EQ(grid.CellBackColor(0, 0), 255u);
    grid.FormatCells(0, 0, 0, 0, 16, "   ");
    EXPECT_EQ(grid.CellFontName(0, 0), "");
    grid.FormatCells(0, 0, 0, 0, 512, {}, 9);
    EXPECT_EQ(grid.CellAlignment(0, 0), 9);

    grid.Sort(0, int(SortDirection::Descending));
    grid.FormatCellsAlignment(0, 0, 0, 0, 1);
    EXPECT_EQ(grid.CellAlignment(0, 0), 1);
    EXPECT_EQ(grid.CellText(0, 0), "row9");
    EXPECT_EQ(errorNumberOf([&] { grid.FormatCellsAlignment(8, 12); }), 9);
}

TEST(VeziRadoCells, RowMembers)
{
    RecordingView view;
    VeziRadoModel grid;
    grid.setView(&view);
    EXPECT_TRUE(grid.RowLocked());
    EXPECT_FALSE(grid.RowChecked());
    for (int i = 0; i < 3; ++i)
        grid.AddRow(QString::number(i));
    grid.setRowChecked(5, true);
    EXPECT_TRUE(grid.RowChecked(2));
    EXPECT_EQ(grid.CheckedCount(), 1);

    grid.setRowHeight(0, 20.5);
    EXPECT_EQ(grid.RowHeight(0), 20);
    grid.setRowHeight(0, 21.5);
    EXPECT_EQ(grid.RowHeight(0), 22);
    const int layouts = view.layouts;
    grid.setRowHeight(0, -1);
    EXPECT_EQ(grid.RowHeight(0), 22);
    EXPECT_EQ(view.autoHeights.back(), 0);
    EXPECT_EQ(view.layouts, layouts + 1);
    // A height beyond 32 bits is an overflow, and the row keeps its height.
    EXPECT_EQ(errorNumberOf([&] { grid.setRowHeight(1, 3e9f); }), 6);
    EXPECT_EQ(errorNumberOf([&] { grid.setRowHeight(1, -3e9f); }), 6);
    EXPECT_EQ(grid.RowHeight(1), 17);

    grid.setRowImage(0, "3");
    EXPECT_EQ(grid.RowImage(0), QVariant(3));
    grid.setRowImage(0, "star");
    EXPECT_EQ(grid.rowAt(0).Image, -4);
    EXPECT_EQ(grid.RowImage(0), QVariant("star"));
    grid.setRowImage(0, "missing");
    EXPECT_EQ(grid.RowImage(0), QVariant(0));
    grid.setExpandRowImage("star");
    EXPECT_EQ(grid.ExpandRowImage(), QVariant(4));
    grid.setExpandRowImage(-4);
    EXPECT_EQ(grid.ExpandRowImage(), QVariant("star"));
    grid.setExpandRowImage(99999);
    EXPECT_EQ(grid.ExpandRowImage(), QVariant("star"));

    grid.setRedraw(true);
    const int paints = view.paints;
    grid.setRowVisible(1, true);
    grid.setRowGroupHeader(0, true);
    EXPECT_EQ(view.paints, paints);
    EXPECT_TRUE(grid.RowGroupHeader(0));

    grid.setRowLocked(1, true);
    EXPECT_TRUE(grid.RowLocked(1));
    EXPECT_FALSE(grid.RowLocked(0));
    grid.setLockedRowHit(true);
    EXPECT_TRUE(grid.RowLocked(0));

    EXPECT_EQ(errorNumberOf([&] { grid.RowAdded(-1); }), 9);
    grid.AddRow("new", -1, false, true);
    EXPECT_TRUE(grid.RowAdded(3));
    EXPECT_FALSE(grid.RowAdded(0));
}

TEST(VeziRadoCells, RowWideWritesFollowTheDisplayRow)
{
    VeziRadoModel grid;
    grid.AddColumn("Name");
    grid.AddColumn("Other");
    grid.AddRow("b\tx");
    grid.AddRow("a\ty");
    grid.Sort(0);
    grid.setRowBackColor(0, 0x0000FF);
    grid.setRowFontBold(0, true);
    EXPECT_EQ(grid.CellBackColor(0, 1), 0x0000FFu);
    EXPECT_TRUE(grid.CellFontBold(0, 0));
    EXPECT_EQ(grid.CellText(0, 0), "a");
    EXPECT_EQ(grid.CellBackColor(1, 0), grid.BackColor());
    EXPECT_FALSE(grid.CellFontBold(1, 1));
}
