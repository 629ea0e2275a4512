#include "GridViewTestSupport.h"

#include <gtest/gtest.h>

using namespace GridViewTest;
using namespace GridTheme;

TEST(GridTheme, ColourOperations)
{
    EXPECT_EQ(TranslateColor(0x123456), 0x123456u);
    EXPECT_EQ(TranslateColor(0x8000000F), 0xF0F0F0u); // button face of the fixed table
    EXPECT_FALSE(TranslateColor(0x80000040));
    EXPECT_FALSE(TranslateColor(0x01000002));
    EXPECT_EQ(OffsetColor(0x102030, -40), 0x000008u);
    EXPECT_EQ(OffsetColor(0xF0F0F0, 40), 0xFFFFFFu);
    EXPECT_EQ(OffsetColor(0x8000000F, -40), 0x000000u); // not translated first
    EXPECT_EQ(AdjustColor(0x8000000F, 25), 0xFFFFFFu);
    EXPECT_EQ(AdjustColor(0x8000000D, -50), 0xA54600u); // highlight 0, 120, 215
}

TEST(GridTheme, SchemesWriteTheSevenColoursAndTheHeaderPair)
{
    const quint32 gridColours[] = {0xF9BE96, 0xAB9B9B, 0x82BAA4, 0x95B8AF, 0x629FB9};
    for (int i = 0; i < 5; ++i) {
        Grid::Properties p;
        p.BackColor = 1;
        SetDefaultThemeColor(p, Grid::ThemeColor(i));
        EXPECT_EQ(p.GridColor, gridColours[i]) << i;
        EXPECT_EQ(p.BackColor, 0x80000005u);
    }
    Grid::Properties blue;
    SetDefaultThemeColor(blue, Grid::ThemeColor::Blue);
    EXPECT_EQ(blue.ThemeCustomColorFrom, 0xFCE1CBu);
    EXPECT_EQ(blue.ForeColorSel, 0xFFFFFFu);
    blue.FocusRowHighlightStyle = Grid::FocusRowHighlightStyle::VerticalGradient;
    SetDefaultThemeColor(blue, Grid::ThemeColor::Blue);
    EXPECT_EQ(blue.ForeColorSel, 0x80000008u);

    Grid::Properties custom;
    custom.GridColor = 7;
    SetDefaultThemeColor(custom, Grid::ThemeColor::Custom);
    EXPECT_EQ(custom.GridColor, 7u);
}

TEST(GridTheme, AutomaticSchemeFollowsTheDesktop)
{
    EXPECT_EQ(DetectedScheme({false, "Metallic"}), Grid::ThemeColor::Custom);
    EXPECT_EQ(DetectedScheme({true, "Metallic"}), Grid::ThemeColor::Silver);
    EXPECT_EQ(DetectedScheme({true, "HomeStead"}), Grid::ThemeColor::Olive);
    EXPECT_EQ(DetectedScheme({true, "homestead"}), Grid::ThemeColor::Blue);
    EXPECT_EQ(DetectedScheme(currentDesktopLook()), Grid::ThemeColor::Blue);

    Host host;
    VeziRado &grid = *host.grid;
    EXPECT_EQ(grid.themeSchemeName(), "Classic");
    EXPECT_EQ(grid.GridColor(), 0xC0C0C0u); // classic desktop: no colour changes
    grid.setDesktopLookProvider([] { return DesktopLook{true, "Metallic"}; });
    grid.setThemeColor(Grid::ThemeColor::Olive);
    grid.setThemeColor(Grid::ThemeColor::Automatic);
    EXPECT_EQ(grid.GridColor(), 0xAB9B9Bu);
    grid.setDesktopLookProvider([] { return DesktopLook{true, "HomeStead"}; });
    grid.setThemeColor(Grid::ThemeColor::Automatic); // unchanged: no new detection
    EXPECT_EQ(grid.GridColor(), 0xAB9B9Bu);
}

TEST(GridTheme, HeaderColoursAreTheHostsOnlyUnderTheCustomScheme)
{
    Host host;
    VeziRado &grid = *host.grid;
    grid.setThemeColor(Grid::ThemeColor::Olive);
    grid.setThemeCustomColorFrom(0x010203);
    EXPECT_EQ(grid.ThemeCustomColorFrom(), 0xE1F9F7u);

    grid.setThemeColor(Grid::ThemeColor::Custom);
    grid.setThemeCustomColorFrom(0x8000000F);
    EXPECT_EQ(grid.ThemeCustomColorFrom(), 0xF0F0F0u);
    grid.setThemeCustomColorTo(0x80000099); // names no colour: the old one stays
    EXPECT_EQ(grid.ThemeCustomColorTo(), 0x69A18Bu);

    grid.setBackColorSel(0x0000FF);
    grid.setFocusRowHighlightStyle(Grid::FocusRowHighlightStyle::Solid); // reapplies the scheme
    EXPECT_EQ(grid.BackColorSel(), 0x0000FFu); // custom: nothing overwritten
    grid.setThemeColor(Grid::ThemeColor::Gold);
    EXPECT_EQ(grid.BackColorSel(), 0x37748Eu);
    EXPECT_EQ(grid.BackColorBkg(), 0x0F4C66u);
}
