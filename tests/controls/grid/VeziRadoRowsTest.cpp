#include "GridTestSupport.h"

#include <gtest/gtest.h>

using namespace GridTest;

TEST(VeziRadoRows, AddColumnWidthsFiltersAndPositions)
{
    VeziRadoModel grid;
    EXPECT_EQ(grid.AddColumn("Title"), 0);
    EXPECT_EQ(grid.column(0).Width, 501);
    EXPECT_EQ(grid.column(0).WidthPixels, 33); // 501 twips
    EXPECT_EQ(grid.AddColumn("Price", 300, 6, ColumnType::Number), 1);
    EXPECT_EQ(grid.column(1).InputFilter, "1234567890.-,");
    EXPECT_EQ(grid.AddColumn("Due", 300, 4, ColumnType::Date), 2);
    EXPECT_EQ(grid.column(2).InputFilter, "1234567890./-");
    EXPECT_EQ(grid.AddColumn("Kept", 300, 4, ColumnType::Number, {}, "0123"), 3);
    EXPECT_EQ(grid.column(3).InputFilter, "0123");

    VeziRadoModel three;
    for (int i = 0; i < 3; ++i)
        three.AddColumn();
    EXPECT_EQ(three.AddColumn("second", 500, 4, ColumnType::Text, {}, {}, 4, false, 1), 1);
    EXPECT_EQ(three.ColumnOrder(), (std::vector<int>{0, 3, 1, 2}));
    EXPECT_EQ(three.AddColumn("end", 500, 4, ColumnType::Text, {}, {}, 4, false, 5), 4);
    EXPECT_EQ(three.AddColumn("neg", 500, 4, ColumnType::Text, {}, {}, 4, false, -2), 5);
    EXPECT_EQ(three.ColDisplayIndex(3), 1);
    EXPECT_EQ(three.ColDisplayIndex(42), 0);
}

TEST(VeziRadoRows, AddColumnToFilledGridSharesTheDefaultFormat)
{
    VeziRadoModel grid;
    grid.AddColumn("A");
    grid.AddRow("x");
    grid.AddRow("y");
    grid.setCellBackColor(0, 0, 0xFF);
    grid.AddColumn("B", 500, 2);
    ASSERT_EQ(grid.Cols(), 2);
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(grid.CellText(row, 1), "");
        EXPECT_EQ(grid.CellAlignment(row, 1), 2);
        EXPECT_EQ(grid.CellBackColor(row, 1), grid.BackColor());
        EXPECT_EQ(grid.CellForeColor(row, 1), grid.ForeColor());
    }
    const int shared = grid.cellAt(1, 1).FormatIndex;
    EXPECT_EQ(grid.cellAt(1, 0).FormatIndex, shared);
    EXPECT_EQ(grid.CellFormats().at(shared).RefCount, 3);
    EXPECT_EQ(grid.TotalsCol(1), 0);
}

TEST(VeziRadoRows, AddRowSplitsFieldsAndPlacesRows)
{
    RecordingView view;
    VeziRadoModel grid;
    grid.setView(&view);
    EXPECT_EQ(grid.AddRow("first\tdropped"), 0);
    EXPECT_EQ(grid.Cols(), 1);
    EXPECT_EQ(grid.column(0).Width, 3001); // as wide as the visible width
    EXPECT_EQ(grid.CellText(0, 0), "first");

    VeziRadoModel two;
    two.AddColumn("Name");
    two.AddColumn("Qty", 500, 4, ColumnType::Number);
    two.AddRow("a\t3\textra");
    EXPECT_EQ(two.CellText(0, 1), "3");
    EXPECT_EQ(two.AddRow("b"), 1);
    EXPECT_EQ(two.CellText(1, 1), "");
    EXPECT_EQ(two.TotalsCol(1), 3);
    EXPECT_EQ(two.AddRow("top\t1", 0), 0);
    EXPECT_EQ(two.AddRow("end\t1", two.Rows()), 3);
    EXPECT_EQ(two.AddRow("default\t1"), 4);
    EXPECT_EQ(columnTexts(two, 0), (QStringList{"top", "a", "b", "end", "default"}));
    EXPECT_EQ(two.recordAt(0), 2); // records are always appended
    EXPECT_EQ(two.rowAt(0).Height, 0);
    EXPECT_EQ(grid.rowAt(0).Height, 17);
}

TEST(VeziRadoRows, CheckCellsTickFromTheirText)
{
    VeziRadoModel grid;
    grid.AddColumn("Tick", 500, 4, ColumnType::CheckBox);
    for (const char *text : {"1", "-1", "True", "true"}) {
        grid.AddRow(text);
        EXPECT_TRUE(grid.CellChecked(grid.LastRowIndex(), 0)) << text;
    }
    for (const char *text : {"0", "False", "", "no"}) {
        grid.AddRow(text);
        EXPECT_FALSE(grid.CellChecked(grid.LastRowIndex(), 0)) << text;
    }
}

TEST(VeziRadoRows, ReusedRecordStartsClean)
{
    VeziRadoModel grid;
    grid.AddColumn();
    grid.AddRow("old", -1, true, true, true, false, 7);
    grid.setRowTag(0, "tag");
    grid.setRowGroupHeader(0, true);
    grid.AddRow("keep");
    grid.RemoveRow(0);
    grid.AddRow("new");
    const RowRecord &row = grid.rowAt(1);
    EXPECT_EQ(row.Flags, RowFlags());
    EXPECT_EQ(row.Tag, "");
    EXPECT_FALSE(row.GroupHeader);
    EXPECT_EQ(row.Image, 0);
    EXPECT_EQ(row.RowData, 0);
    EXPECT_TRUE(row.Visible);
}

TEST(VeziRadoRows, TotalsFollowAddChangeAndRemove)
{
    VeziRadoModel grid;
    grid.AddColumn("Name");
    grid.AddColumn("Qty", 500, 4, ColumnType::Number);
    grid.AddColumn("Tick", 500, 4, ColumnType::CheckBox);
    grid.AddRow("a\t3\t1");
    grid.AddRow("b\t4\t0");
    EXPECT_EQ(grid.TotalsCol(1), 7);
    EXPECT_EQ(grid.TotalsCol(2), 1);
    grid.setCellText(0, 1, "5");
    EXPECT_EQ(grid.TotalsCol(1), 9);
    grid.setCellValue(1, 1, "2.5");
    EXPECT_EQ(grid.TotalsCol(1), 7.5);
    grid.setCellValue(1, 2, true);
    EXPECT_EQ(grid.CellText(1, 2), "-1");
    EXPECT_EQ(grid.TotalsCol(2), 0);
    grid.setColumnOrder({2, 0, 1});
    grid.RemoveRow(0);
    EXPECT_EQ(grid.TotalsCol(1), 2.5);
    EXPECT_EQ(grid.TotalsCol(2), -1);
    grid.Clear();
    EXPECT_EQ(grid.TotalsCol(1), 0);
    EXPECT_EQ(grid.TotalsCol(9), 0);
}

TEST(VeziRadoRows, RemoveRowEventsAndCurrentRow)
{
    VeziRadoModel grid;
    std::vector<std::string> log;
    recordEvents(grid, log);
    grid.RemoveRow();
    EXPECT_TRUE(log.empty());

    grid.AddColumn();
    for (const char *text : {"a", "b", "c", "d"})
        grid.AddRow(text);
    grid.setRow(3);
    grid.setMultiSelect(1);
    log.clear();
    grid.RemoveRow(3);
    EXPECT_EQ(log,
              (std::vector<std::string>{"SelectionChanged", "RowColChanged", "RowCountChanged"}));
    EXPECT_EQ(grid.Row(), 2);

    // Removing a row above keeps the current number; removing the last one elsewhere keeps it.
    grid.setRow(1);
    log.clear();
    grid.RemoveRow(2);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"RowCountChanged"}));

    grid.setMultiSelect(0);
    grid.setRow(0);
    log.clear();
    grid.RemoveRow(0);
    EXPECT_EQ(log, (std::vector<std::string>{"RowCountChanged"}));
    EXPECT_TRUE(grid.RowSelected(0)); // the selection passed on quietly
    EXPECT_EQ(grid.CellText(0, 0), "b");

    grid.setRedraw(true);
    log.clear();
    grid.RemoveRow(0);
    EXPECT_EQ(grid.Rows(), 0);
    EXPECT_FALSE(grid.Redraw());
    EXPECT_EQ(grid.Row(), -1);
    EXPECT_EQ(log, (std::vector<std::string>{"RowCountChanged"}));
}

TEST(VeziRadoRows, RemoveRowRefusesPositionsOutside)
{
    VeziRadoModel grid;
    grid.AddRow("a");
    EXPECT_EQ(errorNumberOf([&] { grid.RemoveRow(5); }), 9);
    EXPECT_EQ(errorNumberOf([&] { grid.RemoveRow(-1); }), 9); // no current row
    EXPECT_EQ(grid.Rows(), 1);
}

TEST(VeziRadoRows, DeleteSelectedRemovesEverySelectedRow)
{
    VeziRadoModel grid;
    grid.setMultiSelect(2);
    grid.DeleteSelected();
    grid.AddColumn();
    for (const char *text : {"a", "b", "c", "d", "e"})
        grid.AddRow(text);
    grid.setRowSelected(1, true);
    grid.setRowSelected(2, true);
    grid.setRowSelected(4, true);
    grid.DeleteSelected();
    EXPECT_EQ(columnTexts(grid, 0), (QStringList{"a", "d"}));
    EXPECT_EQ(grid.Row(), 0);
    grid.setRowSelected(0, true);
    grid.setRowSelected(1, true);
    grid.DeleteSelected();
    EXPECT_EQ(grid.Rows(), 0);
}

TEST(VeziRadoRows, ClearKeepsColumnsAndClearAllDropsThem)
{
    VeziRadoModel grid;
    grid.AddColumn("A");
    grid.AddColumn("B");
    grid.AddRow("1\t2");
    grid.setRedraw(true);
    grid.setRow(0);
    grid.Sort(0);
    grid.setCellText(0, 0, "changed");
    grid.Clear();
    EXPECT_EQ(grid.Cols(), 2);
    EXPECT_EQ(grid.Rows(), 0);
    EXPECT_FALSE(grid.Redraw());
    EXPECT_FALSE(grid.CellsChanged());
    EXPECT_EQ(grid.PrimarySortCol(), -1);
    EXPECT_EQ(grid.CellFormats().size(), 1);
    grid.ClearAll();
    EXPECT_EQ(grid.Cols(), 0);
    EXPECT_EQ(grid.AddColumn(), 0);
}

TEST(VeziRadoRows, FixRefClampsRowsAndRefusesColumns)
{
    VeziRadoModel grid;
    int row = 0;
    int col = 0;
    EXPECT_FALSE(grid.FixRef(row, col));
    for (int i = 0; i < 3; ++i)
        grid.AddColumn();
    for (int i = 0; i < 10; ++i)
        grid.AddRow(QString::number(i));
    row = 1000;
    col = 2;
    EXPECT_TRUE(grid.FixRef(row, col));
    EXPECT_EQ(row, 9);
    col = 5;
    EXPECT_FALSE(grid.FixRef(row, col));
    row = -1;
    col = -1;
    EXPECT_TRUE(grid.FixRef(row, col));
    EXPECT_EQ(row, 0);
    EXPECT_EQ(col, 0);
    grid.setColumnOrder({2, 0, 1});
    grid.RowColSet(4, 1);
    row = -1;
    col = -1;
    EXPECT_TRUE(grid.FixRef(row, col));
    EXPECT_EQ(row, 4);
    EXPECT_EQ(col, 1);
}

TEST(VeziRadoRows, SharedFormatsAreCountedAndReused)
{
    VeziRadoModel grid;
    grid.AddColumn();
    grid.AddRow("a");
    grid.AddRow("b");
    const CellFormatTable &formats = grid.CellFormats();
    EXPECT_EQ(formats.at(0).RefCount, 2);

    grid.setCellBackColor(0, 0, grid.BackColor());
    EXPECT_EQ(formats.at(0).RefCount, 2);

    grid.setCellBackColor(1, 0, 0x00FF00);
    const int green = grid.cellAt(1, 0).FormatIndex;
    EXPECT_EQ(formats.at(green).RefCount, 1);
    grid.RemoveRow(1);
    EXPECT_EQ(formats.at(green).RefCount, 0);
    const int size = formats.size();
    grid.setCellForeColor(0, 0, 0x0000FF);
    EXPECT_EQ(grid.cellAt(0, 0).FormatIndex, green); // the freed entry is taken again
    EXPECT_EQ(formats.size(), size);
    EXPECT_EQ(formats.at(0).RefCount, 0);
}

TEST(VeziRadoRows, FullFormatTableIsAnOverflow)
{
    VeziRadoModel grid;
    grid.AddColumn();
    for (int i = 0; i < 32761; ++i)
        grid.AddRow();
    // 32,760 colours and the default look of the last row fill the table.
    for (int i = 0; i < 32760; ++i)
        grid.setCellBackColor(i, 0, quint32(i));
    EXPECT_EQ(grid.CellFormats().size(), 32761);
    EXPECT_EQ(errorNumberOf([&] { grid.setCellBackColor(32760, 0, 0xABCDEF); }), 6);
    EXPECT_EQ(grid.cellAt(32760, 0).FormatIndex, 0);
    EXPECT_EQ(grid.CellBackColor(32760, 0), grid.BackColor());
}

TEST(VeziRadoRows, CacheIncrementNeverNegative)
{
    VeziRadoModel grid;
    EXPECT_EQ(grid.CacheIncrement(), 10);
    grid.setCacheIncrement(-5);
    EXPECT_EQ(grid.CacheIncrement(), 10);
    grid.setCacheIncrement(0);
    EXPECT_EQ(grid.CacheIncrement(), 0);
}
