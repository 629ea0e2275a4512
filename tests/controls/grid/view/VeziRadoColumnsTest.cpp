#include "GridViewTestSupport.h"

#include "controls/grid/GridDates.h"
#include "core/AppError.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace GridViewTest;

namespace {

// Five pixels a character, seven when bold: auto-sizing must measure each cell in its own font.
struct BoldAwareMeasurer : FixedMeasurer
{
    int textWidth(const QFont &font, const QString &text) const override
    {
        return int(text.size()) * (font.bold() ? 7 : 5);
    }
};

int errorNumber(const std::function<void()> &call)
{
    try {
        call();
    } catch (const AppError &error) {
        return error.number();
    }
    return 0;
}

double twipsPerPixel(const VeziRado &grid)
{
    return 1440.0 / grid.logicalDpiY();
}

struct AutoSizeHost : Host
{
    AutoSizeHost()
    {
        grid->setTextMeasurer(&bold);
        grid->setRedraw(true);
    }
    BoldAwareMeasurer bold;
};

} // namespace

TEST(VeziRadoColumns, MembersLeaveExistingCellsAloneAndReportBadIndexes)
{
    Host host;
    VeziRado &grid = *host.grid;
    grid.AddColumn("Title", 1000, 0, ColumnType::Text, {}, "abc");
    grid.AddColumn("Copies", 500);
    grid.AddRow("Dune\t3");
    grid.setColAlignment(1, 6);
    grid.setColType(0, int(ColumnType::Number));
    grid.setColWordWrap(0, true);
    EXPECT_EQ(grid.CellAlignment(0, 1), 4);
    EXPECT_EQ(grid.ColInputFilter(0), "abc"); // a new type keeps the filter
    EXPECT_FALSE(grid.CellWordWrap(0, 0));
    grid.AddRow("Emma\t1");
    EXPECT_EQ(grid.CellAlignment(1, 1), 6);
    EXPECT_TRUE(grid.CellWordWrap(1, 0));

    EXPECT_TRUE(grid.ColLocked(-1)); // the current column
    grid.setColLocked(1, true);
    EXPECT_TRUE(grid.ColLocked(1));
    EXPECT_FALSE(grid.ColLocked(0));

    EXPECT_EQ(errorNumber([&] { grid.ColHeading(3); }), 9);
    EXPECT_EQ(errorNumber([&] { grid.ColLocked(5); }), 9);
    EXPECT_EQ(errorNumber([&] { grid.setColTag(-1, "x"); }), 9);
    EXPECT_EQ(errorNumber([&] { grid.setColType(1, 70000); }), 6);
    EXPECT_EQ(grid.ColType(1), 0);

    // The width never fails: a bad index or an impossible width changes nothing.
    const float before = grid.ColWidth(1);
    EXPECT_EQ(errorNumber([&] { grid.setColWidth(3, 100); }), 0);
    EXPECT_EQ(errorNumber([&] { grid.setColWidth(1, 1e30F); }), 0);
    EXPECT_EQ(grid.ColWidth(1), before);
}

TEST(VeziRadoColumns, WidthIsKeptInScaleUnitsAndDrawnInPixels)
{
    Host host;
    VeziRado &grid = *host.grid;
    grid.AddColumn("A");
    const double tpp = twipsPerPixel(grid);
    grid.setColWidth(0, float(40 * tpp));
    EXPECT_EQ(grid.ColWidth(0), float(40 * tpp));
    grid.setRedraw(true);
    grid.AddRow("x");
    const PixelRect cell = grid.cellRect(0, 0);
    EXPECT_EQ(cell.right - cell.left, 40);

    grid.setScaleUnits(Grid::ScaleUnits::Pixels);
    grid.setColWidth(0, 55);
    EXPECT_EQ(grid.ColWidth(0), 55);
    EXPECT_EQ(grid.cellRect(0, 0).right - grid.cellRect(0, 0).left, 55);
}

TEST(VeziRadoColumns, AutoSizeByColumnType)
{
    AutoSizeHost host;
    VeziRado &grid = *host.grid;
    const double tpp = twipsPerPixel(grid);
    grid.AddColumn("Title", 900);
    grid.AddColumn("Out", 900, 4, ColumnType::CheckBox);
    grid.AddColumn("Read", 900, 4, ColumnType::ProgressBar);
    grid.AddColumn("Go", 900, 4, ColumnType::Button);
    grid.setColWidth(0, 900);

    // Without rows only the check-box column changes.
    grid.ColWidthAutoSize();
    EXPECT_EQ(grid.ColWidth(0), 900);
    EXPECT_FLOAT_EQ(grid.ColWidth(1), 480);
    EXPECT_EQ(grid.ColWidth(2), 901);
    EXPECT_EQ(grid.ColWidth(3), 901);

    // 17 characters of 5 pixels: 85 pixels of text, a margin of one pixel per twip.
    grid.AddRow("The Left Hand of \ttrue\t50\tGo on");
    grid.AddRow("Short\tfalse\t10\tGo");
    grid.ColWidthAutoSize(0);
    EXPECT_NEAR(grid.ColWidth(0), (85 + tpp) * tpp, 0.01);
    EXPECT_EQ(grid.ColWidth(3), 901);
    grid.setColVisible(0, false);
    grid.setColWidth(0, 900);
    grid.ColWidthAutoSize(-1); // hidden columns too
    EXPECT_NEAR(grid.ColWidth(0), (85 + tpp) * tpp, 0.01);
    EXPECT_EQ(errorNumber([&] { grid.ColWidthAutoSize(7); }), 0);

    grid.setScaleUnits(Grid::ScaleUnits::Pixels);
    grid.setColVisible(0, true);
    grid.ColWidthAutoSize(0);
    EXPECT_NEAR(grid.ColWidth(0), 85 + tpp, 0.01);
    grid.ColWidthAutoSize(1);
    EXPECT_NEAR(grid.ColWidth(1), 480 / tpp, 0.01);
    if (tpp == 15) {
        EXPECT_EQ(grid.ColWidth(0), 100);
        EXPECT_EQ(grid.cellRect(0, 0).right - grid.cellRect(0, 0).left, 100);
    }
}

TEST(VeziRadoColumns, AutoSizeMeasuresFormatsFontsImagesAndTotals)
{
    AutoSizeHost host;
    VeziRado &grid = *host.grid;
    grid.setScaleUnits(Grid::ScaleUnits::Pixels);
    const double tpp = twipsPerPixel(grid);
    grid.AddColumn("Name");
    grid.AddColumn("Price", 500, 4, ColumnType::Number, "0.00");
    grid.AddRow("abcd\t1");
    grid.AddRow("ab\t2.5");

    grid.ColWidthAutoSize(1); // "2.50": 4 characters
    EXPECT_NEAR(grid.ColWidth(1), 20 + tpp, 0.01);
    grid.setTotalsLineShow(true);
    grid.setTotalsLineCaption(1, "Sum:");
    grid.ColWidthAutoSize(1); // "Sum:" then the total "3.50", no space between
    EXPECT_NEAR(grid.ColWidth(1), 40 + tpp, 0.01);

    const bool gridBold = grid.Font().bold();
    grid.setCellFontBold(1, 0, true);
    grid.ColWidthAutoSize(0); // "ab" in bold: 14 pixels, "abcd" plain: 20
    EXPECT_NEAR(grid.ColWidth(0), 20 + tpp, 0.01);
    grid.setCellText(1, 0, "abc");
    grid.ColWidthAutoSize(0); // "abc" in bold: 21
    EXPECT_NEAR(grid.ColWidth(0), 21 + tpp, 0.01);
    EXPECT_EQ(grid.Font().bold(), gridBold);

    grid.setTotalsLineShow(false);
    GridImageList images(QSize(12, 12));
    QPixmap picture(12, 12);
    picture.fill(Qt::red);
    images.add(picture, "book");
    grid.setImageList(&images);
    grid.setCellImage(0, 1, 1);
    grid.ColWidthAutoSize(1); // a cell image adds its width to the cell's text
    EXPECT_NEAR(grid.ColWidth(1), 20 + 12 + tpp, 0.01);
    grid.setCellText(0, 1, "123456.5");
    grid.ColWidthAutoSize(1);
    EXPECT_NEAR(grid.ColWidth(1), 45 + 12 + tpp, 0.01);
    grid.setRowImage(0, 1); // a row image counts in column 0 only
    grid.ColWidthAutoSize(0);
    EXPECT_NEAR(grid.ColWidth(0), 20 + 12 + tpp, 0.01);
    grid.setImageList(nullptr);
}

TEST(VeziRadoColumns, ForceFitScalesEveryColumnToTheVisibleWidth)
{
    Host host(QSize(401, 200));
    VeziRado &grid = *host.grid;
    grid.setBorderStyle(0);
    const double tpp = twipsPerPixel(grid);
    for (const char *name : {"A", "B", "C", "Hidden"})
        grid.AddColumn(name);
    grid.setColVisible(3, false);
    // Nothing visible: nothing to scale.
    for (int col = 0; col < 3; ++col)
        grid.setColVisible(col, false);
    grid.setColWidth(0, 1000);
    grid.ColForceFit();
    EXPECT_EQ(grid.ColWidth(0), 1000);
    for (int col = 0; col < 3; ++col)
        grid.setColVisible(col, true);

    grid.setColWidth(0, 1000);
    grid.setColWidth(1, 1000);
    grid.setColWidth(2, 2000);
    grid.setColWidth(3, 800);
    const double visible = grid.VisibleWidth();
    if (tpp == 15) {
        ASSERT_EQ(visible, 6000);
    }
    grid.ColForceFit();
    EXPECT_NEAR(grid.ColWidth(0), 1000 * visible / 4000, 0.01);
    EXPECT_NEAR(grid.ColWidth(2), 2000 * visible / 4000, 0.01);
    EXPECT_NEAR(grid.ColWidth(3), 800 * visible / 4000, 0.01);
    EXPECT_FALSE(grid.Redraw());

    // In pixels the columns fill the same width.
    grid.setScaleUnits(Grid::ScaleUnits::Pixels);
    grid.setColWidth(0, 100);
    grid.setColWidth(1, 100);
    grid.setColWidth(2, 200);
    grid.ColForceFit();
    EXPECT_NEAR(grid.ColWidth(0) + grid.ColWidth(1) + grid.ColWidth(2), visible / tpp, 0.01);

    // Row numbers not drawn yet are given room first.
    grid.setShowRowNumbers(true);
    grid.ColForceFit();
    EXPECT_EQ(grid.rowNumberWidth(), 19);
    EXPECT_NEAR(grid.ColWidth(0) + grid.ColWidth(1) + grid.ColWidth(2), visible / tpp - 19, 0.01);
}

TEST(VeziRadoColumns, HeaderLinesAtLeastOneAndSmallHeaderWaitsForTheNextLayout)
{
    Host host;
    VeziRado &grid = *host.grid;
    QSignalSpy changed(&grid, &VeziRado::propertyChanged);
    const int oneLine = grid.headerHeight();
    grid.setColumnHeaderLines(3);
    EXPECT_EQ(grid.headerHeight(), oneLine + 2 * 13);
    EXPECT_EQ(changed.count(), 1);
    grid.setColumnHeaderLines(0);
    EXPECT_EQ(grid.ColumnHeaderLines(), 1);
    grid.setColumnHeaderLines(-5);
    EXPECT_EQ(grid.ColumnHeaderLines(), 1);
    EXPECT_EQ(grid.headerHeight(), oneLine);
    EXPECT_EQ(changed.count(), 1); // no change worth saving

    grid.setColumnHeaderLines(3);
    const int threeLines = grid.headerHeight();
    grid.setColumnHeaderSmall(true);
    EXPECT_TRUE(grid.ColumnHeaderSmall());
    EXPECT_EQ(grid.headerHeight(), threeLines);
    EXPECT_EQ(changed.count(), 2);
    grid.setColumnHeaders(true); // the next layout takes the small header
    EXPECT_EQ(grid.headerHeight(), 13 * 3 / 3 + 13);

    grid.setColumnHeaders(false);
    EXPECT_EQ(grid.headerHeight(), 0);
}

TEST(VeziRadoColumns, DateFormatsReadTheClockOncePerAutoSizeAndRepaint)
{
    int reads = 0;
    GridDates::setClockForTest([&reads] {
        ++reads;
        return QDate(2026, 12, 10);
    });
    AutoSizeHost host;
    VeziRado &grid = *host.grid;
    host.window.show();
    grid.AddColumn("Due", 900, 4, ColumnType::Date, "dd-mm-yyyy");
    for (int i = 0; i < 300; ++i)
        grid.AddRow(QStringLiteral("%1-Mar-%2").arg(i % 28 + 1).arg(i % 100, 2, 10, QLatin1Char('0')));
    grid.setRedraw(false); // the measuring alone
    reads = 0;
    grid.ColWidthAutoSize(0);
    const int bySize = reads;
    grid.setRedraw(true);
    reads = 0;
    grid.Refresh();
    const int byRepaint = reads;
    GridDates::setClockForTest({});

    EXPECT_EQ(bySize, 1);
    EXPECT_LE(byRepaint, 1);
    // Ten characters of five pixels and the margin.
    EXPECT_NEAR(grid.ColWidth(0), (50 + twipsPerPixel(grid)) * twipsPerPixel(grid), 0.01);
}
