#include "GridMouseTestSupport.h"

#include "controls/grid/view/GridPainter.h"
#include "core/Colour.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

using namespace GridViewTest;

namespace {

quint32 at(const VeziRado &grid, int x, int y)
{
    return Colour::fromQColor(grid.surfaceImage().pixelColor(x, y));
}

// Plain colours so pixels read back exactly: white rows, green stripes, no grid lines.
void plainLook(VeziRado &grid)
{
    grid.setBackColor(0xFFFFFF);
    grid.setBackColorEvenRows(0x00FF00);
    grid.setBackColorBkg(0x808080);
    grid.setGridLines(Grid::GridLines::None);
    grid.setThemeStyle(Grid::ThemeStyle::Flat);
}

int rowMiddle(const VeziRado &grid, int row)
{
    return grid.headerHeight() + row * grid.standardRowHeight() + grid.standardRowHeight() / 2;
}

} // namespace

TEST(VeziRadoPainting, StripesSkipHiddenRowsAndAClosingLineEndsTheRows)
{
    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    plainLook(grid);
    grid.AddColumn(QStringLiteral("Title"), 1500);
    for (int i = 0; i < 4; ++i)
        grid.AddRow();
    grid.setRowVisible(1, false);
    QSignalSpy requests(&grid, &VeziRado::RequestRowData);
    grid.setRedraw(true);
    grid.Refresh();

    EXPECT_EQ(at(grid, 20, rowMiddle(grid, 0)), 0xFFFFFFu);
    EXPECT_EQ(at(grid, 20, rowMiddle(grid, 1)), 0x00FF00u); // display row 2, after the hidden one
    EXPECT_EQ(at(grid, 20, rowMiddle(grid, 2)), 0xFFFFFFu);
    const int bottom = grid.headerHeight() + 3 * grid.standardRowHeight();
    EXPECT_EQ(at(grid, 5, bottom), 0xC0C0C0u); // closing line despite GridLines None
    EXPECT_EQ(at(grid, 5, bottom + 2), 0x808080u);
    ASSERT_FALSE(requests.isEmpty());
    EXPECT_EQ(requests.last().at(0).toInt(), 3);
}

TEST(VeziRadoPainting, CellFocusRectangleGoesWithItsColumnOutOfView)
{
    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    plainLook(grid);
    for (int c = 0; c < 6; ++c)
        grid.AddColumn(QStringLiteral("C%1").arg(c), 1500);
    for (int i = 0; i < 4; ++i)
        grid.AddRow(QStringLiteral("a\tb\tc\td\te\tf"));
    grid.setFocusRectMode(Grid::FocusRectMode::Cell);
    grid.setFocusRectStyle(Grid::FocusRectStyle::Thin);
    grid.setFocusRowHighlight(true);
    grid.setFocusRectColor(0x0000FF);
    grid.setRedraw(true);
    const auto framed = [&grid] {
        const QImage &image = grid.surfaceImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (at(grid, x, y) == 0x0000FFu)
                    return true;
            }
        }
        return false;
    };

    const QPoint cell = GridMouse::cellPoint(grid, 1, 0);
    GridMouse::click(grid, cell);
    ASSERT_EQ(grid.Col(), 0);
    EXPECT_TRUE(framed());
    ASSERT_TRUE(grid.horizontalScrollBar()->isVisible());
    grid.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    ASSERT_GT(grid.horizontalScrollBar()->value(), 0);
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_FALSE(framed());
}

TEST(VeziRadoPainting, SelectionBarFollowsHighlightStyleAndBlending)
{
    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    plainLook(grid);
    grid.setBackColorEvenRowsEnabled(false);
    grid.setBackColorSel(0x0000FF);
    grid.AddColumn(QStringLiteral("Title"), 1500);
    grid.AddRow();
    grid.AddRow();
    grid.setRedraw(true);
    grid.setRowSelected(0, true);
    const int top = grid.headerHeight();
    const int h = grid.standardRowHeight();

    grid.Refresh();
    EXPECT_EQ(at(grid, 20, top + 5), 0x0000FFu);
    EXPECT_EQ(at(grid, 20, rowMiddle(grid, 1)), 0xFFFFFFu);

    grid.setFocusRowHighlightStyle(Grid::FocusRowHighlightStyle::VerticalGradient);
    grid.Refresh();
    EXPECT_EQ(at(grid, 20, top + 1), 0x0000FFu);
    EXPECT_EQ(at(grid, 20, top + h), 0xFFFFFFu);

    grid.setFocusRowHighlightStyle(Grid::FocusRowHighlightStyle(3));
    grid.Refresh();
    EXPECT_EQ(at(grid, 20, top + 5), 0x808080u); // no bar: the cleared surface shows

    grid.setFocusRowHighlightStyle(Grid::FocusRowHighlightStyle::Solid);
    grid.setAlphaBlendSelection(true);
    grid.Refresh();
    EXPECT_EQ(at(grid, 20, top + 5), GridPaint::BlendColor(0x0000FF, 0xFFFFFF, 150));

    grid.setAlphaBlendSelection(false);
    grid.setFocusRowHighlight(false);
    grid.Refresh();
    EXPECT_EQ(at(grid, 20, top + 5), 0xFFFFFFu); // single select without highlight: plain row
}

TEST(VeziRadoPainting, ProgressBarSpansItsValueAndCheckCellsShowNoText)
{
    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    plainLook(grid);
    grid.setBackColorEvenRowsEnabled(false);
    grid.AddColumn(QStringLiteral("Done"), 1500, 4, ColumnType::ProgressBar);
    grid.AddRow();
    grid.AddRow();
    grid.setCellProgressBarColor(0xFF0000);
    grid.setCellProgressValue(0, 0, 100);
    grid.setRedraw(true);
    grid.Refresh();
    const int w = grid.model().column(0).WidthPixels;
    const int y = rowMiddle(grid, 0);
    EXPECT_EQ(at(grid, 2, y), 0xFF0000u);
    EXPECT_EQ(at(grid, w - 3, y), 0xFF0000u);
    EXPECT_EQ(at(grid, w - 2, y), 0xFFFFFFu);
    EXPECT_EQ(at(grid, 10, rowMiddle(grid, 1)), 0xFFFFFFu); // 0 draws no bar

    const auto checkGrid = [](const QString &text) {
        auto other = std::make_unique<Host>();
        other->window.show();
        plainLook(*other->grid);
        other->grid->AddColumn(QStringLiteral("Issued"), 1500, 4, ColumnType::CheckBox);
        other->grid->AddRow(text);
        other->grid->setRedraw(true);
        other->grid->Refresh();
        return other->grid->surfaceImage();
    };
    EXPECT_EQ(checkGrid(QStringLiteral("WWWWWWWW")), checkGrid(QString()));
}

TEST(VeziRadoPainting, GroupHeadingsHaveNoRowCheckBox)
{
    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    plainLook(grid);
    grid.setBackColorEvenRowsEnabled(false);
    grid.setRowCheckBoxes(true);
    grid.AddColumn(QStringLiteral("Title"), 1500);
    grid.AddRow();
    grid.AddRow();
    grid.setRowGroupHeader(0, true);
    grid.setRedraw(true);
    grid.Refresh();
    const auto marked = [&](int row) {
        int count = 0;
        const int top = grid.headerHeight() + row * grid.standardRowHeight() + 1;
        for (int y = top; y < top + grid.standardRowHeight() - 1; ++y)
            for (int x = 0; x < 18; ++x)
                count += at(grid, x, y) != 0xFFFFFFu;
        return count;
    };
    EXPECT_EQ(marked(0), 0);
    EXPECT_GT(marked(1), 0);
}

TEST(VeziRadoPainting, HeadersPlaceColumnsDrawStylesAndSortArrows)
{
    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    plainLook(grid);
    grid.AddColumn(QStringLiteral("Title"), 1500);
    grid.AddColumn(QStringLiteral("Hidden"), 900);
    grid.AddColumn(QStringLiteral("Author"), 1200);
    grid.setColVisible(1, false);
    grid.AddRow(QStringLiteral("b\t\tx"));
    grid.AddRow(QStringLiteral("a\t\ty"));
    grid.setRedraw(true);
    grid.Sort(0, 2);
    grid.Refresh();
    const int w0 = grid.model().column(0).WidthPixels;
    const int w2 = grid.model().column(2).WidthPixels;
    const int bottom = grid.headerHeight();
    EXPECT_EQ(grid.drawHeadersNow(), w0 + w2);
    EXPECT_EQ(grid.model().column(2).Left, w0);

    // Style 4, column look: three bottom lines, a divider two pixels inside the right edge.
    EXPECT_EQ(at(grid, 40, bottom - 1), 0xB2C2C5u);
    EXPECT_EQ(at(grid, w0 - 2, 5), 0x99A8ACu);
    // Ascending: an upward 9 x 5 triangle 12 pixels left of the header's right edge.
    const quint32 arrow = Colour::resolve(Colour::system(Colour::ThreeDDarkShadow));
    EXPECT_EQ(at(grid, w0 - 12, 10), arrow);
    EXPECT_EQ(at(grid, w0 - 4, 10), arrow);
    EXPECT_NE(at(grid, w0 - 12, 6), arrow);
    EXPECT_EQ(at(grid, w0 - 8, 6), arrow);

    // Without any header permission a hot header stays normal.
    grid.drawColumnHeaderNow(2, 2);
    EXPECT_EQ(at(grid, w0 + 20, bottom - 1), 0xB2C2C5u);
    grid.setAllowColumnSort(true);
    grid.drawColumnHeaderNow(2, 2);
    EXPECT_EQ(at(grid, w0 + 20, bottom - 3), 0x00A9F8u);

    grid.setColumnHeaders(false);
    EXPECT_EQ(grid.drawHeadersNow(), w0 + w2);
}

TEST(VeziRadoPainting, RepaintRunsNoEventLoop)
{
    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    grid.AddColumn(QStringLiteral("Title"), 1500);
    grid.AddRow(QStringLiteral("a"));
    grid.setRedraw(true);
    bool delivered = false;
    QTimer::singleShot(0, &grid, [&] { delivered = true; });
    grid.Refresh();
    EXPECT_FALSE(delivered);
}

TEST(VeziRadoPainting, AHostsSortShowsEveryRowWhereItNowIs)
{
    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    plainLook(grid);
    grid.AddColumn(QStringLiteral("Key"), 1200);
    grid.AddColumn(QStringLiteral("Record"), 1200);
    for (int i = 0; i < 41; ++i)
        grid.AddRow(QStringLiteral("k%1\trec%2").arg(40 - i, 3, 10, QLatin1Char('0')).arg(i));
    grid.setRedraw(true);
    // What the sort left on the surface is what a full repaint draws.
    const auto showsItsRows = [&grid] {
        const QImage shown = grid.surfaceImage().copy();
        grid.Refresh();
        return shown == grid.surfaceImage();
    };

    grid.Sort(0, 2); // no current row
    ASSERT_EQ(grid.CellText(1, 1), QStringLiteral("rec39"));
    EXPECT_TRUE(showsItsRows());

    grid.Sort(0, 1);
    grid.setRow(20);
    grid.verticalScrollBar()->setValue(0);
    grid.Refresh();
    ASSERT_EQ(grid.CellText(1, 1), QStringLiteral("rec1"));
    grid.Sort(0, 2); // the current row keeps its place
    ASSERT_EQ(grid.Row(), 20);
    ASSERT_EQ(grid.CellText(1, 1), QStringLiteral("rec39"));
    EXPECT_TRUE(showsItsRows());

    grid.FilterOn(QStringLiteral("rec3"), 1, 5); // hides the current row
    ASSERT_FALSE(grid.RowVisible(20));
    grid.Refresh();
    grid.Sort(0, 1);
    ASSERT_EQ(grid.Row(), 20);
    EXPECT_TRUE(showsItsRows());
}

TEST(VeziRadoPainting, RowPositionsPastThirtyTwoBits)
{
    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    plainLook(grid);
    grid.AddColumn(QStringLiteral("Title"), 1500);
    for (int i = 0; i < 4; ++i)
        grid.AddRow(QStringLiteral("row %1").arg(i));
    grid.setFocusRectMode(Grid::FocusRectMode::Row);
    grid.setFocusRectStyle(Grid::FocusRectStyle::Thin);
    grid.setFocusRowHighlight(true);
    grid.setFocusRectColor(0x0000FF);
    grid.setRedraw(true);
    grid.setRow(3);
    grid.setRowHeight(1, 2147483520);
    grid.setRowHeight(2, 2147483520);
    grid.setRowHeight(3, 356);
    grid.verticalScrollBar()->setValue(0);
    grid.Refresh();
    ASSERT_EQ(grid.Row(), 3);

    const int header = grid.headerHeight();
    const int first = grid.model().rowAt(0).Height;
    EXPECT_EQ(grid.geometry().RowTop(3, 0), header + first + 2 * qint64(2147483520));
    EXPECT_EQ(grid.geometry().RowTop(3, 1), header + 2 * qint64(2147483520));
    if (grid.verticalScrollBar()->value() == 0) {
        EXPECT_EQ(grid.geometry().RowFromY(header + first + 5), 1);
    }
    // The current row lies far below the surface: no focus rectangle on it.
    const QImage &image = grid.surfaceImage();
    bool framed = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            framed = framed || at(grid, x, y) == 0x0000FFu;
    }
    EXPECT_FALSE(framed);
}
