#include "GridViewTestSupport.h"

#include "core/AppError.h"

#include <QLocale>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace GridViewTest;

TEST(VeziRadoSettings, SettersKeepTheirPartnersInStep)
{
    Host host;
    VeziRado &grid = *host.grid;
    QSignalSpy changed(&grid, &VeziRado::propertyChanged);

    grid.setAllowColumnSwap(true);
    grid.setAllowColumnDrag(true);
    EXPECT_FALSE(grid.AllowColumnSwap());
    grid.setAllowColumnDrag(false);
    EXPECT_FALSE(grid.AllowColumnSwap());
    grid.setAllowColumnSwap(true);
    EXPECT_FALSE(grid.AllowColumnDrag());

    grid.setAllowEdit(true);
    EXPECT_EQ(grid.FocusRectMode(), Grid::FocusRectMode::Cell);
    grid.setAllowEdit(false);
    grid.setFocusRectMode(Grid::FocusRectMode::Row);
    grid.setAllowEdit(true);
    EXPECT_EQ(grid.FocusRectMode(), Grid::FocusRectMode::Row);

    grid.setColumnHeaderLines(0);
    EXPECT_EQ(grid.ColumnHeaderLines(), 1);
    EXPECT_THROW(grid.setBorderStyle(70000), AppError);
    grid.setBorderStyle(0);
    EXPECT_EQ(grid.frameShape(), QFrame::NoFrame);

    QStringList keys;
    for (const auto &call : changed)
        keys << call.at(0).toString();
    EXPECT_TRUE(keys.contains("ColumnSwap"));
    EXPECT_TRUE(keys.contains("ColumnDrag"));
    EXPECT_TRUE(keys.contains("Editable"));
}

TEST(VeziRadoSettings, RedrawGateCollectsWorkUntilSwitchedOn)
{
    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    QSignalSpy requests(&grid, &VeziRado::RequestRowData);

    grid.setCaption("Books");
    grid.AddColumn("Title");
    for (int i = 0; i < 3; ++i)
        grid.AddRow("row");
    grid.setBackColorSel(0xFF);
    EXPECT_EQ(requests.count(), 0);
    EXPECT_TRUE(grid.model().RepaintPending());
    EXPECT_TRUE(grid.model().LayoutPending());

    grid.setRedraw(true);
    ASSERT_EQ(requests.count(), 1); // one repaint for all that was pending
    EXPECT_EQ(requests.at(0).at(0).toInt(), 2);
    EXPECT_FALSE(grid.model().RepaintPending());
    EXPECT_EQ(grid.headerHeight(), 13 + 13 + 20);

    grid.setForeColor(0xFF); // shows at the following repaint
    EXPECT_EQ(requests.count(), 1);
    grid.setGridColor(0xFF);
    EXPECT_EQ(requests.count(), 2);

    // Switching off drops what was pending.
    grid.setRedraw(false);
    grid.setGridColor(0xFE);
    grid.setRedraw(false);
    grid.setRedraw(true);
    EXPECT_EQ(requests.count(), 2);

    grid.Clear();
    grid.setRedraw(true);
    grid.Refresh();
    EXPECT_EQ(requests.last().at(0).toInt(), -1); // an empty grid asks for rows
}

TEST(VeziRadoSettings, ShowRowNumbersAndVisibleSize)
{
    Host host(QSize(300, 200));
    VeziRado &grid = *host.grid;
    host.window.show();
    grid.AddColumn("n", 1000);
    for (int i = 0; i < 120; ++i)
        grid.AddRow(QString::number(i));
    grid.setRedraw(true);
    EXPECT_EQ(grid.rowNumberWidth(), 0);
    grid.setShowRowNumbers(true);
    EXPECT_EQ(grid.rowNumberWidth(), 19); // "10", the highest in view, but at least 19
    grid.setShowRowNumbersVary(false);
    EXPECT_EQ(grid.rowNumberWidth(), 3 * 7 + 5); // "120", the row count

    const int tpp = 1440 / grid.logicalDpiY();
    const int bar = grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &grid);
    EXPECT_EQ(grid.VisibleHeight(), 200 * tpp - 4 * tpp);
    EXPECT_EQ(grid.VisibleWidth(),
              300 * tpp - bar * tpp - 4 * tpp - tpp - grid.rowNumberWidth() * tpp);
}

TEST(VeziRadoSettings, GetInfoReadsTheLocale)
{
    VeziRado grid;
    const QLocale locale = QLocale::system();
    const QString language = locale.language() == QLocale::C
                                 ? QStringLiteral("English")
                                 : QLocale::languageToString(locale.language());
    EXPECT_EQ(grid.GetInfo(4097), language);
    EXPECT_EQ(grid.GetInfo(14), locale.decimalPoint());
    EXPECT_EQ(grid.GetInfo(31), locale.dateFormat(QLocale::ShortFormat));
    EXPECT_EQ(grid.GetInfo(99999), "");
}
