#include "GridViewTestSupport.h"

#include "core/AppError.h"
#include "core/PropertyBag.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace GridViewTest;

namespace {

GridTheme::DesktopLook classicDesktop()
{
    return {false, {}};
}

} // namespace

TEST(VeziRadoSaved, NewGridWritesOnlyWhatDiffersAndTheAlwaysKeys)
{
    QWidget window;
    VeziRado grid(&window);
    grid.setDesktopLookProvider(classicDesktop);
    grid.InitProperties();
    EXPECT_TRUE(grid.AllowColumnResizing());
    EXPECT_FALSE(grid.ShowRowNumbersVary());
    EXPECT_FALSE(grid.Redraw());

    PropertyBag bag;
    grid.WriteProperties(bag);
    EXPECT_EQ(bag.read("AllowColumnResizing", false).toBool(), true);
    for (const char *key :
         {"ColumnHeaderSmall", "TotalsLineShow", "FocusRowHighlightKeepTextForecolor",
          "ShowRowNumbers", "ShowRowNumbersVary"})
        EXPECT_TRUE(bag.contains(key)) << key;
    EXPECT_FALSE(bag.read("ShowRowNumbersVary", true).toBool());
    EXPECT_EQ(bag.size(), 6) << bag.names().join(",").toStdString();

    VeziRado loaded(&window);
    loaded.setDesktopLookProvider(classicDesktop);
    loaded.ReadProperties(bag);
    EXPECT_TRUE(loaded.AllowColumnResizing());
    EXPECT_FALSE(loaded.ShowRowNumbersVary());
    EXPECT_EQ(loaded.GridColor(), 0xC0C0C0u);
}

TEST(VeziRadoSaved, RoundTripKeepsSettingsUnderTheirSavedNames)
{
    Host host;
    VeziRado &grid = *host.grid;
    grid.setAllowEdit(true);
    grid.setFocusRowHighlight(false);
    grid.setFocusRectHide(true);
    grid.setAllowColumnHover(false);
    grid.setAllowColumnDrag(true);
    grid.setRowCheckBoxes(true);
    grid.setColumnHeaders(false);
    grid.setCaption("Books");
    grid.setGridLines(Grid::GridLines::Vertical);
    grid.setMultiSelect(1);
    grid.setThemeColor(Grid::ThemeColor::Custom);
    grid.setThemeCustomColorFrom(0x123456);
    grid.setBackColor(0x00FF00);
    grid.setFreezeAtCol(2);
    grid.setCacheIncrement(50);
    grid.setEnabled(false);

    PropertyBag bag;
    grid.WriteProperties(bag);
    EXPECT_TRUE(bag.read("Editable", false).toBool());
    EXPECT_FALSE(bag.read("FullRowSelect", true).toBool());
    EXPECT_TRUE(bag.read("HideSelection", false).toBool());
    EXPECT_FALSE(bag.read("HotHeaderTracking", true).toBool());
    EXPECT_TRUE(bag.read("ColumnDrag", false).toBool());
    EXPECT_TRUE(bag.read("Checkboxes", false).toBool());
    EXPECT_FALSE(bag.read("ShowColumnHeaders", true).toBool());
    EXPECT_EQ(bag.read("CustomColorFrom", 0).toInt(), 0x123456);
    EXPECT_FALSE(bag.contains("ThemeColorFrom"));
    // The flag as loaded is written last: the enabled state changed at run time is not kept.
    EXPECT_FALSE(bag.contains("Enabled"));

    PropertyBag restored = PropertyBag::deserialize(bag.serialize());
    Host other;
    other.grid->ReadProperties(restored);
    VeziRado &copy = *other.grid;
    EXPECT_TRUE(copy.AllowEdit());
    EXPECT_EQ(copy.FocusRectMode(), Grid::FocusRectMode::Cell);
    EXPECT_FALSE(copy.FocusRowHighlight());
    EXPECT_TRUE(copy.FocusRectHide());
    EXPECT_FALSE(copy.AllowColumnHover());
    EXPECT_TRUE(copy.AllowColumnDrag());
    EXPECT_TRUE(copy.RowCheckBoxes());
    EXPECT_FALSE(copy.ColumnHeaders());
    EXPECT_EQ(copy.Caption(), "Books");
    EXPECT_EQ(copy.GridLines(), Grid::GridLines::Vertical);
    EXPECT_EQ(copy.MultiSelect(), 1);
    EXPECT_EQ(copy.ThemeColor(), Grid::ThemeColor::Custom);
    EXPECT_EQ(copy.ThemeCustomColorFrom(), 0x123456u);
    EXPECT_EQ(copy.BackColor(), 0x00FF00u);
    EXPECT_EQ(copy.FreezeAtCol(), 2);
    EXPECT_EQ(copy.CacheIncrement(), 50);
    EXPECT_TRUE(copy.Enabled());
}

TEST(VeziRadoSaved, LoadReadsOldAndOddValues)
{
    PropertyBag bag;
    bag.write("GridLines", -2, 1);
    bag.write("MultiSelect", qint16(-1), qint16(0));
    bag.write("CacheIncrement", -5, 10);
    bag.write("Enabled", false, true);
    QFont saved("DejaVu Serif", 15);
    bag.write("Font", saved, QFont());

    Host host;
    VeziRado &grid = *host.grid;
    grid.ReadProperties(bag);
    EXPECT_EQ(grid.GridLines(), Grid::GridLines::Vertical);
    EXPECT_EQ(grid.MultiSelect(), 1);
    EXPECT_EQ(grid.CacheIncrement(), -5); // taken as stored
    EXPECT_FALSE(grid.Enabled());
    EXPECT_EQ(grid.Font(), saved);
    EXPECT_EQ(grid.FontHeader(), saved); // no saved header font: the saved font
    EXPECT_EQ(grid.Rows(), 0);
    EXPECT_EQ(grid.Cols(), 0);
    EXPECT_FALSE(grid.Redraw());
    EXPECT_EQ(grid.ScrollTrack(), true); // absent keys read their defaults

    PropertyBag bad;
    bad.write("GridColor", "green", 0);
    EXPECT_THROW(grid.ReadProperties(bad), AppError);
}

TEST(VeziRadoSaved, DesignTimeLoadStartsNoHookAndNoScrollBars)
{
    QWidget window;
    VeziRado grid(&window);
    grid.resize(200, 100);
    grid.ReadProperties({}, false);
    window.show();
    for (int i = 0; i < 40; ++i)
        grid.AddRow("row");
    grid.setRedraw(true);
    grid.resize(210, 110);
    EXPECT_EQ(grid.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    QSignalSpy entered(&grid, &VeziRado::MouseEnter);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(grid.viewport(), &move);
    EXPECT_EQ(entered.count(), 0);
}
