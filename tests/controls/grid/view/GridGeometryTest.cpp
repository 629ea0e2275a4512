#include "GridViewTestSupport.h"

#include <gtest/gtest.h>

using namespace GridViewTest;

namespace {

// A model with the geometry over it, measured at 13-pixel lines.
struct Layout
{
    Layout()
    {
        geometry.setMeasurer(&measurer);
        geometry.CalcMetrics(std::nullopt, 0);
    }
    VeziRadoModel model;
    Grid::Properties properties;
    ScrollBarModel horizontal;
    ScrollBarModel vertical;
    FixedMeasurer measurer;
    GridGeometry geometry{model, properties, horizontal, vertical};
};

} // namespace

TEST(GridGeometry, MetricsFollowFontsCaptionAndHeaders)
{
    Layout layout;
    GridGeometry &g = layout.geometry;
    EXPECT_EQ(g.metrics().HeaderTextHeight, 13);
    EXPECT_EQ(g.metrics().CaptionHeight, 0);
    EXPECT_EQ(g.metrics().HeaderHeight, 26); // one header line plus its text height
    EXPECT_EQ(g.StandardRowHeight(), 13 + 2 * 2 + 2);
    EXPECT_EQ(g.metrics().LeadingWidth, 3);
    EXPECT_FALSE(g.ImageMarginTest(0));
    EXPECT_EQ(g.metrics().EllipsisFlag, LayoutMetrics::WordEllipsis);

    // The check box follows the row height of the pass before: 19 -> 16, 16 -> 12, 17 -> 16.
    layout.properties.RowCheckBoxes = true;
    g.CalcMetrics(std::nullopt, 0);
    EXPECT_EQ(g.metrics().CheckBoxSize, 16);
    EXPECT_EQ(g.metrics().LeadingWidth, 18);
    EXPECT_TRUE(g.ImageMarginTest(0));
    g.CalcMetrics(std::nullopt, 10); // a row height of 16
    layout.properties.MinVerticalOffset = 0;
    g.CalcMetrics(std::nullopt, 14);
    EXPECT_EQ(g.StandardRowHeight(), 16);
    g.CalcMetrics(std::nullopt, 15);
    EXPECT_EQ(g.metrics().CheckBoxSize, 12);
    EXPECT_EQ(g.StandardRowHeight(), 17);
    g.CalcMetrics(std::nullopt, 15);
    EXPECT_EQ(g.metrics().CheckBoxSize, 16);

    layout.properties.Caption = "Books";
    layout.properties.ColumnHeaderLines = 2;
    g.CalcMetrics(std::nullopt, 0);
    EXPECT_EQ(g.metrics().CaptionHeight, 20); // 19.5 to the even neighbour
    EXPECT_EQ(g.metrics().HeaderHeight, 13 * 2 + 13 + 20);
    layout.properties.ColumnHeaderSmall = true;
    EXPECT_EQ(g.CalcHeaderHeight(), 42); // 13 * 2 / 3 + 13 + 20 = 41.67
    layout.properties.ColumnHeaders = false;
    g.CalcMetrics(std::nullopt, 0);
    EXPECT_EQ(g.metrics().HeaderHeight, g.metrics().CaptionHeight);

    // An image list without row images reserves no room for them (check boxes of 15 - 4).
    layout.model.AddRow("a");
    g.CalcMetrics(QSize(16, 12), 0);
    EXPECT_TRUE(g.metrics().HasImages);
    EXPECT_EQ(g.metrics().LeadingWidth, 13);
    layout.model.setRowImage(0, 2);
    g.CalcMetrics(QSize(16, 12), 0);
    EXPECT_EQ(g.metrics().LeadingWidth, 13 + 16 + 2);
}

TEST(GridGeometry, RowsPerPageRowTopAndRowFromY)
{
    Layout layout;
    GridGeometry &g = layout.geometry;
    layout.properties.MinVerticalOffset = 0;
    g.CalcMetrics(std::nullopt, 18); // rows of 20, header 26
    ASSERT_EQ(g.StandardRowHeight(), 20);
    EXPECT_EQ(g.RowsPerPage(26 + 4 + 210), 10); // 10.5 rows to the even 10
    EXPECT_EQ(g.RowsPerPage(26 + 4 + 230), 12); // 11.5 rows to 12
    layout.properties.BorderStyle = Grid::BorderStyle::None;
    EXPECT_EQ(g.RowsPerPage(26 + 200), 10);

    Layout fresh;
    fresh.geometry.resetStandardRowHeight();
    fresh.properties.MinVerticalOffset = -1;
    fresh.geometry.CalcMetrics(std::nullopt, 0); // 13 - 2 + 2 = 13
    EXPECT_EQ(fresh.geometry.RowsPerPage(100), 5);

    VeziRadoModel &model = layout.model;
    EXPECT_EQ(g.RowFromY(40), -1); // no rows
    for (int i = 0; i < 5; ++i)
        model.AddRow(QString::number(i));
    for (int i = 0; i < 5; ++i)
        model.setRowHeight(i, 20);
    model.setRowVisible(1, false);
    EXPECT_EQ(g.RowTop(0), 26);
    EXPECT_EQ(g.RowTop(2), 46); // the hidden row takes no room
    EXPECT_EQ(g.RowTop(0, 1), -1);
    EXPECT_EQ(g.RowFromY(26), -1);
    EXPECT_EQ(g.RowFromY(27), 0);
    EXPECT_EQ(g.RowFromY(46), 0); // a row owns its bottom edge
    EXPECT_EQ(g.RowFromY(47), 2);
    EXPECT_EQ(g.RowFromY(26 + 80 + 1), -1);
}

TEST(GridGeometry, ColumnsHitSpansFrozenColumnsAndCellParts)
{
    Layout layout;
    GridGeometry &g = layout.geometry;
    VeziRadoModel &model = layout.model;
    EXPECT_EQ(g.ColFromX(5), -1);
    for (int i = 0; i < 6; ++i)
        model.AddColumn(QString::number(i), 1500 - 1); // 100 pixels
    ASSERT_EQ(model.column(0).WidthPixels, 100);
    g.setRowNumberWidth(20);
    EXPECT_EQ(g.ColFromX(0), -1);
    EXPECT_EQ(g.ColFromX(1), 0); // the row-number area answers for the first column
    EXPECT_EQ(g.ColFromX(124), 0);
    EXPECT_EQ(g.ColFromX(125), 1);
    model.setColVisible(1, false);
    EXPECT_EQ(g.ColFromX(125), 2);

    // Frozen columns 0 and 1, scrolled to 4: 2 and 3 are off, 4 follows 1.
    model.setColVisible(1, true);
    layout.properties.FreezeAtCol = 1;
    layout.horizontal.setShown(true);
    layout.horizontal.setMax(10);
    layout.horizontal.setPosition(4);
    PixelRect rect{0, 0, 77, 0};
    g.ColLeft(2, rect);
    EXPECT_EQ(rect.left, 19);
    EXPECT_EQ(rect.right, 77);
    g.ColLeft(3, rect);
    EXPECT_EQ(rect.left, 19);
    g.ColLeft(4, rect);
    EXPECT_EQ(rect, (PixelRect{220, 0, 320, 0}));
    EXPECT_EQ(g.ColFromX(230), 4);

    model.AddRow("a");
    model.setRowHeight(0, 20);
    model.setColumnLeft(0, 0);
    model.setColumnLeft(1, 100);
    EXPECT_EQ(g.CellPartRect(0, 1, 26, CellPart::Whole), (PixelRect{121, 26, 221, 46}));
    layout.properties.RowCheckBoxes = true;
    g.CalcMetrics(std::nullopt, 0);
    // Check box of 16 in a middle-left cell: 20 tall row, centred.
    EXPECT_EQ(g.CellPartRect(0, 0, 26, CellPart::CheckBox), (PixelRect{21, 28, 37, 44}));
    model.AddColumn("right", 1500 - 1, 10);
    model.setColumnLeft(6, 200);
    EXPECT_EQ(g.CellPartRect(0, 6, 26, CellPart::CheckBox), (PixelRect{303, 28, 319, 44}));
    model.AddColumn("odd", 1500 - 1, 3);
    EXPECT_EQ(g.CellPartRect(0, 7, 26, CellPart::CheckBox), (PixelRect{20, 0, 36, 16}));
}

TEST(GridGeometry, AutomaticRowHeight)
{
    Layout layout;
    GridGeometry &g = layout.geometry;
    VeziRadoModel &model = layout.model;
    model.AddColumn("a", 1050 - 1); // 70 pixels: 9 characters a wrapped line
    model.AddColumn("b", 1050 - 1, DefaultAlignment, ColumnType::Text, {}, {}, DefaultAlignment,
                    true);
    model.AddRow("short\tshort");
    EXPECT_FALSE(g.RowAutoHeight(0));
    layout.properties.AllowWordWrap = true;
    model.setCellWordWrap(0, 1, false);
    EXPECT_EQ(*g.RowAutoHeight(0), g.StandardRowHeight() - 2);
    model.setCellWordWrap(0, 1, true);
    model.setCellText(0, 1, QString(90, QLatin1Char('x'))); // ten lines
    EXPECT_EQ(*g.RowAutoHeight(0), 2 + 10 * 13 + 4);
    layout.properties.MaxLineCount = 3;
    EXPECT_EQ(*g.RowAutoHeight(0), 3 * 13 + 4);
}
