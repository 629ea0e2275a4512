#include "GridTestSupport.h"

#include <gtest/gtest.h>

using namespace GridTest;

namespace {

VeziRadoModel namesGrid(const QStringList &names)
{
    VeziRadoModel grid;
    grid.AddColumn("Name");
    for (const QString &name : names)
        grid.AddRow(name);
    return grid;
}

} // namespace

TEST(VeziRadoFind, SixMatchModes)
{
    VeziRadoModel grid = namesGrid({"jane", "john", "joan", "smith", "Blacksmith"});
    EXPECT_EQ(grid.FindItem(""), -1);
    EXPECT_EQ(grid.FindItem("SMITH"), 3);
    EXPECT_EQ(grid.FindItem("SMITH", 0, 0, true), -1);
    EXPECT_EQ(grid.FindItem("jo", 0, 4), 1);
    EXPECT_EQ(grid.FindItem("oa", 0, 2), 2);
    EXPECT_EQ(grid.FindItem("SMI", 0, 5), 3);
    EXPECT_EQ(grid.FindItem("smith", 0, 6, false, 4), 4);
    EXPECT_EQ(grid.FindItem("smith", 0, 6, false, 99), 3); // past the end starts again at 0
    EXPECT_EQ(grid.FindItem("jane", 0, 0, false, 1), -1);  // no wrap to the rows above
    EXPECT_EQ(grid.FindItem("jane", 0, 3), -1);
    EXPECT_EQ(errorNumberOf([&] { grid.FindItem("x", 1); }), 9);

    VeziRadoModel unsorted = namesGrid({"b", "a", "c"});
    EXPECT_EQ(unsorted.FindItem("b", -1, 1), 0);
    unsorted.setSearchColumn(-2);
    EXPECT_EQ(unsorted.FindItem("b"), -1);
}

TEST(VeziRadoFind, FilterHidesAndFilterOffShowsAgain)
{
    VeziRadoModel grid = namesGrid({"anna", "bob", "anton", "carl"});
    grid.setRowVisible(3, false);
    grid.FilterOn("an", 0, 5);
    EXPECT_TRUE(grid.RowVisible(0));
    EXPECT_FALSE(grid.RowVisible(1));
    EXPECT_TRUE(grid.RowVisible(2));
    grid.FilterOn("anto", 0, 5);
    EXPECT_FALSE(grid.RowVisible(0));
    EXPECT_EQ(grid.FindItem("bob"), 1); // hidden rows are found too
    grid.FilterOff();
    for (int row = 0; row < 4; ++row)
        EXPECT_TRUE(grid.RowVisible(row));

    grid.FilterOn("anything", 0, 3, false, 2);
    EXPECT_TRUE(grid.RowVisible(1));
    EXPECT_FALSE(grid.RowVisible(2));
    EXPECT_FALSE(grid.RowVisible(3));
    EXPECT_EQ(errorNumberOf([&] { grid.FilterOn("a", -1); }), 9);
}

TEST(VeziRadoFind, FilterLaysTheScrollBarsOutOncePerCall)
{
    RecordingView view;
    VeziRadoModel grid;
    grid.setView(&view);
    grid.AddColumn("Parity");
    for (int i = 0; i < 1000; ++i)
        grid.AddRow(i % 2 == 0 ? QStringLiteral("even") : QStringLiteral("odd"));
    grid.setRedraw(true);

    int layouts = view.layouts;
    grid.FilterOn("even", 0);
    EXPECT_EQ(view.layouts, layouts + 1);
    EXPECT_FALSE(grid.RowVisible(1));
    EXPECT_TRUE(grid.RowVisible(998));
    EXPECT_FALSE(grid.RowVisible(999));

    layouts = view.layouts;
    grid.FilterOn("even", 0); // nothing left to hide
    EXPECT_EQ(view.layouts, layouts);

    layouts = view.layouts;
    grid.FilterOff();
    EXPECT_EQ(view.layouts, layouts + 1);
    EXPECT_TRUE(grid.RowVisible(999));
}

TEST(VeziRadoTotals, LineValuesWithAndWithoutAverage)
{
    VeziRadoModel grid;
    grid.AddColumn("Name");
    grid.AddColumn("Qty", 500, 4, ColumnType::Number, "0.00");
    grid.AddColumn("Tick", 500, 4, ColumnType::CheckBox);
    for (const char *row : {"a\t1\t1", "b\t2\t0", "c\t3\t1"})
        grid.AddRow(row);
    EXPECT_EQ(grid.TotalsLineText(1, TotalsTextUse::Export), "6");
    EXPECT_EQ(grid.TotalsLineText(1, TotalsTextUse::Display), "6.00");
    grid.setTotalsLineCaption(1, "Sum");
    EXPECT_EQ(grid.TotalsLineText(1, TotalsTextUse::Display), "Sum 6.00");
    EXPECT_EQ(grid.TotalsLineText(1, TotalsTextUse::Export), "Sum 6");
    grid.setTotalsLineColAvg(1, true);
    grid.setRowVisible(0, false);
    EXPECT_EQ(grid.TotalsLineText(1, TotalsTextUse::Export), "Sum 2");
    EXPECT_EQ(grid.TotalsCol(1), 6);
    grid.setTotalsLineColAvg(2, true);
    EXPECT_EQ(grid.TotalsLineText(2, TotalsTextUse::Display), "");
    grid.setTotalsLineCaption(0, "Total");
    EXPECT_EQ(grid.TotalsLineText(0, TotalsTextUse::Display), "Total");

    EXPECT_EQ(errorNumberOf([&] { grid.TotalsLineCaption(3); }), 9);
    EXPECT_EQ(errorNumberOf([&] { grid.TotalsLineColAvg(-1); }), 9);
    EXPECT_EQ(errorNumberOf([&] { grid.setTotalsLineCaption(3, "x"); }), 0);

    grid.RemoveRow(0);
    grid.RemoveRow(0);
    EXPECT_EQ(grid.TotalsLineText(1, TotalsTextUse::Export), "Sum 3");
}

TEST(VeziRadoCsv, LinesOfTheExport)
{
    VeziRadoModel grid;
    grid.AddColumn("Title");
    grid.AddColumn("Price", 500, 4, ColumnType::Number);
    grid.AddRow("A\t12");
    grid.AddRow("B\t8");
    CsvOptions options;
    options.caption = "Books, all";
    EXPECT_EQ(grid.BuildCsv(options), "Books, all\r\nTitle,Price,\r\nA,12,\r\nB,8,\r\n");
    grid.setTotalsLineShow(true);
    EXPECT_EQ(grid.BuildCsv(), "Title,Price,\r\nA,12,\r\nB,8,\r\n,20,");

    grid.setTotalsLineShow(false);
    grid.AddColumn("Notes, short");
    grid.AddColumn("Tick", 500, 4, ColumnType::CheckBox);
    grid.AddRow("C\t1\ta,b\tTrue");
    grid.setColVisible(1, false);
    grid.setRowVisible(1, false);
    EXPECT_EQ(grid.BuildCsv(), "Title,Notes  short,Tick,\r\nA,,,\r\nB,,,\r\nC,a b,True,\r\n");

    options = {};
    options.visibleRowsOnly = true;
    options.booleanAsText = false;
    EXPECT_EQ(grid.BuildCsv(options), "Title,Notes  short,Tick,\r\nA,,0,\r\n\r\nC,a b,-1,\r\n");

    options.visibleColsOnly = false;
    EXPECT_EQ(grid.BuildCsv(options),
              "Title,Price,Notes  short,Tick,\r\nA,12,,,\r\n\r\nC,1,a b,True,\r\n");
}
