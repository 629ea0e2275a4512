#include "QtPrinters.h"
#include "RibbonTestSupport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using enum RibbonPart;
using RibbonTest::centreOf;

namespace {

// The main window's menu plus a second tab with one category and one button.
struct LibraryRibbon
{
    RibbonMenu ribbon;

    LibraryRibbon()
    {
        ribbon.resize(1200, ribbon.height());
        ribbon.setTheme(0);
        ribbon.setImageList(RibbonTest::twelveIcons(&ribbon));
        RibbonTest::fillLibraryMenu(ribbon);
        ribbon.AddTab("2", "Reports");
        ribbon.AddCat("9", "2", "Print", false);
        ribbon.AddButton("20", "9", "Print List", 1, true);
        ribbon.Refresh();
    }
    const RibbonElements &e() const { return ribbon.elements(); }
    void moveTo(RibbonPart part, int index)
    {
        RibbonTest::moveTo(ribbon, centreOf(ribbon, part, index));
    }
    bool buttonLit(int i) const { return e().isShown(Button_center, i); }
    bool categoryLit(int g) const { return e().isShown(Cat_Center_on, g); }
    bool tabLit(int t) const { return e().isShown(Tab_center_over, t); }
};

} // namespace

TEST(RibbonHover, OneTabCategoryAndButtonLitAtATime)
{
    LibraryRibbon r;
    r.moveTo(ButMouse, 2); // "Library Card" in "Master"
    EXPECT_TRUE(r.buttonLit(2));
    EXPECT_TRUE(r.e().isShown(Button_left, 2));
    EXPECT_TRUE(r.categoryLit(0));
    EXPECT_FALSE(r.e().isShown(Cat_Dlg_on, 0)); // "Master" has no launcher

    r.moveTo(ButMouse, 5); // "Book Issue" in "Transaction"
    EXPECT_FALSE(r.buttonLit(2));
    EXPECT_TRUE(r.buttonLit(5));
    EXPECT_FALSE(r.categoryLit(0));
    EXPECT_TRUE(r.categoryLit(1));
    EXPECT_TRUE(r.e().isShown(Cat_Dlg_on, 1));
    for (int i = 0; i <= 12; ++i)
        EXPECT_EQ(r.buttonLit(i), i == 5) << i;

    r.moveTo(TabMouse, 1); // the tab that is not selected
    EXPECT_TRUE(r.tabLit(1));
    EXPECT_FALSE(r.buttonLit(5));
    EXPECT_FALSE(r.categoryLit(1));
    r.moveTo(TabMouse, 0); // the selected tab shows no hover look
    EXPECT_FALSE(r.tabLit(0));
    EXPECT_FALSE(r.tabLit(1));

    r.moveTo(CatMouse, 2);
    EXPECT_TRUE(r.categoryLit(2));
    RibbonTest::moveTo(r.ribbon, QPoint(1150, 10)); // the bar clears everything
    EXPECT_FALSE(r.categoryLit(2));
    EXPECT_FALSE(r.tabLit(1));
}

TEST(RibbonHover, MoreGlyphLightsWithItsButton)
{
    LibraryRibbon r;
    RibbonTest::click(r.ribbon, centreOf(r.ribbon, TabMouse, 1));
    ASSERT_TRUE(r.e().isShown(Glyph_off, 1));
    r.moveTo(ButMouse, 1);
    EXPECT_TRUE(r.e().isShown(Glyph_on, 1));
    EXPECT_GT(r.e().at(Glyph_on, 1).z, r.e().at(Glyph_off, 1).z);
    r.moveTo(Cat_Caption, 0);
    EXPECT_FALSE(r.e().isShown(Glyph_on, 1));
    EXPECT_TRUE(r.e().isShown(Glyph_off, 1));
}

TEST(RibbonHover, LauncherPointedLookAndCatClick)
{
    LibraryRibbon r;
    QSignalSpy clicks(&r.ribbon, &RibbonMenu::CatClick);
    r.moveTo(Cat_Caption, 1); // free area of "Transaction"
    EXPECT_TRUE(r.e().isShown(Cat_Dlg_on, 1));
    EXPECT_FALSE(r.e().isShown(Cat_Dlg_over, 1));

    r.moveTo(Cat_Dlg, 1);
    EXPECT_TRUE(r.e().isShown(Cat_Dlg_over, 1));
    RibbonTest::click(r.ribbon, centreOf(r.ribbon, Cat_Dlg, 1));
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0][0].toString(), "2");
    EXPECT_EQ(clicks[0][1].toString(), "Transaction");

    r.moveTo(Cat_Caption, 1);
    EXPECT_FALSE(r.e().isShown(Cat_Dlg_over, 1));
    EXPECT_TRUE(r.e().isShown(Cat_Dlg_on, 1));
    // A click on the category's free area reports nothing.
    RibbonTest::click(r.ribbon, centreOf(r.ribbon, Cat_Caption, 1));
    EXPECT_EQ(clicks.size(), 1);
}

TEST(RibbonHover, PressedFrameThenClickAfterRelease)
{
    LibraryRibbon r;
    QSignalSpy clicks(&r.ribbon, &RibbonMenu::ButtonClick);
    bool frameShownAtClick = true;
    QObject::connect(&r.ribbon, &RibbonMenu::ButtonClick,
                     [&] { frameShownAtClick = r.e().isShown(Button_center_over, 1); });
    const QPoint first = centreOf(r.ribbon, ButMouse, 1);

    RibbonTest::moveTo(r.ribbon, first);
    RibbonTest::sendMouse(r.ribbon, QEvent::MouseButtonPress, first, Qt::LeftButton);
    EXPECT_TRUE(r.e().isShown(Button_center_over, 1));
    EXPECT_TRUE(r.e().isShown(Button_left_over, 1));
    EXPECT_EQ(clicks.size(), 0);
    RibbonTest::sendMouse(r.ribbon, QEvent::MouseButtonRelease, first, Qt::LeftButton);
    EXPECT_FALSE(r.e().isShown(Button_center_over, 1));
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0][0].toString(), "0");
    EXPECT_EQ(clicks[0][1].toString(), "New Book Entry");
    EXPECT_FALSE(frameShownAtClick);

    // Released over another button, or with the right button: the frame goes, no click.
    RibbonTest::sendMouse(r.ribbon, QEvent::MouseButtonPress, first, Qt::LeftButton);
    RibbonTest::sendMouse(r.ribbon, QEvent::MouseButtonRelease, centreOf(r.ribbon, ButMouse, 2),
                          Qt::LeftButton);
    EXPECT_FALSE(r.e().isShown(Button_center_over, 1));
    RibbonTest::sendMouse(r.ribbon, QEvent::MouseButtonPress, first, Qt::RightButton);
    EXPECT_TRUE(r.e().isShown(Button_center_over, 1));
    RibbonTest::sendMouse(r.ribbon, QEvent::MouseButtonRelease, first, Qt::RightButton);
    EXPECT_FALSE(r.e().isShown(Button_center_over, 1));
    EXPECT_EQ(clicks.size(), 1);

    RibbonTest::click(r.ribbon, centreOf(r.ribbon, ButMouse, 12));
    ASSERT_EQ(clicks.size(), 2);
    EXPECT_EQ(clicks[1][0].toString(), "11");
    EXPECT_EQ(clicks[1][1].toString(), "Users");
}

TEST(RibbonHover, TabClickSwitchesTheCategories)
{
    LibraryRibbon r;
    QSignalSpy clicks(&r.ribbon, &RibbonMenu::TabClick);
    r.moveTo(TabMouse, 1);
    RibbonTest::click(r.ribbon, centreOf(r.ribbon, TabMouse, 1));
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0][0].toString(), "2");
    EXPECT_EQ(clicks[0][1].toString(), "Reports");
    EXPECT_EQ(r.ribbon.CurrentTab(), "2");
    EXPECT_TRUE(r.e().isShown(Tab_center, 1));
    EXPECT_FALSE(r.tabLit(1));
    EXPECT_FALSE(r.e().isShown(Tab_center, 0));
    EXPECT_EQ(r.e().at(Tab_caption, 1).foreColor, 0x000000u);
    EXPECT_EQ(r.e().at(Tab_caption, 0).foreColor, 0xFFFFFFu);
    EXPECT_EQ(r.e().highestIndex(CatMouse), 0);
    EXPECT_EQ(r.e().at(Cat_Caption, 0).text, "Print");
    EXPECT_EQ(r.e().highestIndex(ButMouse), 1);

    // The current tab again: laid out anew and reported again.
    RibbonTest::click(r.ribbon, centreOf(r.ribbon, TabMouse, 1));
    ASSERT_EQ(clicks.size(), 2);
    EXPECT_EQ(clicks[1][0].toString(), "2");
}
