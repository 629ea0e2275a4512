#include "QtPrinters.h"
#include "RibbonTestSupport.h"

#include <gtest/gtest.h>

using enum RibbonPart;
using RibbonTest::captionTwips;

namespace {

QFont tabFont()
{
    return ribbonFont(9.75);
}

QFont buttonFont()
{
    return ribbonFont(6.75);
}

// Width of one button: two 45-twip ends around the wider of caption and 48-pixel icon.
double buttonWidth(const QString &caption)
{
    return 90 + std::max(captionTwips(buttonFont(), caption), 720.0);
}

double rowWidth(const QStringList &captions)
{
    double width = -30;
    for (const QString &caption : captions)
        width += buttonWidth(caption) + 30;
    return width;
}

} // namespace

TEST(RibbonLayout, TabsTouchFromTheLeftAndTheCurrentOneIsSelected)
{
    RibbonMenu ribbon;
    ribbon.setTheme(1);
    ribbon.Refresh();
    const RibbonElements &e = ribbon.elements();
    EXPECT_EQ(ribbon.height() * 15, 1740);
    EXPECT_FALSE(e.isShown(Tab_caption, 0));
    EXPECT_FALSE(e.isShown(Tab_center, 0));

    const QStringList captions = {"Library", "Members", "W"};
    for (int i = 0; i < captions.size(); ++i)
        ribbon.AddTab(QString::number(i + 1), captions[i]);
    ribbon.Refresh();

    double x = 90;
    for (int i = 0; i < captions.size(); ++i) {
        SCOPED_TRACE(i);
        const double c = captionTwips(tabFont(), captions[i]);
        EXPECT_EQ(e.at(Tab_left, i).left, x);
        EXPECT_EQ(e.at(Tab_center, i).left, x + 150);
        EXPECT_EQ(e.at(Tab_center, i).width, c);
        EXPECT_EQ(e.at(Tab_caption, i).left, x + 150);
        EXPECT_EQ(e.at(Tab_caption, i).top, 60);
        EXPECT_EQ(e.at(Tab_right, i).left, x + 150 + c);
        EXPECT_EQ(e.at(Tab_center_over, i).left, x + 150);
        EXPECT_EQ(e.at(Tab_right_over, i).left, x + 150 + c);
        EXPECT_EQ(e.at(TabMouse, i).left, x);
        EXPECT_EQ(e.at(TabMouse, i).width, c + 300);
        EXPECT_EQ(e.at(TabMouse, i).top, 0);
        EXPECT_EQ(e.at(TabMouse, i).height, 360);
        EXPECT_EQ(e.isShown(Tab_center, i), i == 0);
        EXPECT_EQ(e.isShown(Tab_left, i), i == 0);
        EXPECT_FALSE(e.isShown(Tab_center_over, i));
        EXPECT_EQ(e.at(Tab_caption, i).foreColor, 0x8B4215u);
        x += 300 + c;
    }

    // A later layout with more tabs keeps the earlier ones in place.
    const double secondLeft = e.at(Tab_left, 1).left;
    ribbon.AddTab("4", "Reports");
    ribbon.Refresh();
    EXPECT_EQ(e.at(Tab_left, 1).left, secondLeft);
    EXPECT_EQ(e.at(Tab_left, 3).left, x);

    // The tab the user chose stays selected through a refresh.
    RibbonTest::click(ribbon, RibbonTest::centreOf(ribbon, TabMouse, 2));
    ribbon.Refresh();
    EXPECT_EQ(ribbon.CurrentTab(), "3");
    EXPECT_TRUE(e.isShown(Tab_center, 2));
    EXPECT_FALSE(e.isShown(Tab_center, 0));
}

TEST(RibbonLayout, CategoriesWidenToCaptionOrButtons)
{
    RibbonMenu ribbon;
    ribbon.setTheme(0);
    ribbon.setImageList(RibbonTest::twelveIcons(&ribbon));
    ribbon.AddTab("1", "Library");
    ribbon.AddTab("2", "Other");
    ribbon.AddCat("1", "1", "Master", false);
    for (int i = 0; i < 4; ++i)
        ribbon.AddCat(QString("x%1").arg(i), "2", "Elsewhere", false);
    ribbon.AddCat("2", "1", "A rather long caption", true);
    ribbon.AddCat("3", "1", "Empty", true);
    ribbon.AddCat("4", "", "No tab", false);
    ribbon.AddCat("5", "1 ", "Blank after the ID", false);
    const QStringList master = {"New Book Entry", "Library Card", "Group"};
    for (int i = 0; i < master.size(); ++i)
        ribbon.AddButton(QString::number(i), "1", master[i], i + 1);
    ribbon.AddButton("3", "2", "Ok", 4);
    ribbon.Refresh();

    const RibbonElements &e = ribbon.elements();
    ASSERT_EQ(e.highestIndex(CatMouse), 2);

    struct Expected
    {
        QString id, caption;
        bool glyph;
        double buttons;
    };
    const Expected categories[] = {{"1", "Master", false, rowWidth(master)},
                                   {"2", "A rather long caption", true, rowWidth({"Ok"})},
                                   {"3", "Empty", true, -30}};
    double x = 120;
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const Expected &cat = categories[k];
        const double c = captionTwips(tabFont(), cat.caption);
        const double a = c + (cat.glyph ? 225 : 0);
        const double middle = std::max(a, cat.buttons);
        EXPECT_EQ(e.at(Cat_Left_off, k).left, x);
        EXPECT_EQ(e.at(Cat_Center_off, k).left, x + 60);
        EXPECT_EQ(e.at(Cat_Center_off, k).width, middle);
        EXPECT_EQ(e.at(Cat_Right_off, k).left, x + 60 + middle);
        EXPECT_EQ(e.at(Cat_Center_on, k).width, middle);
        EXPECT_EQ(e.at(Cat_Right_on, k).left, x + 60 + middle);
        EXPECT_EQ(e.at(Cat_Left_off, k).top, 360);
        EXPECT_EQ(e.at(CatMouse, k).left, x);
        EXPECT_EQ(e.at(CatMouse, k).width, middle + 135);
        EXPECT_EQ(e.at(CatMouse, k).height, 1350);
        EXPECT_EQ(e.at(Cat_Caption, k).top, 1400);
        EXPECT_EQ(e.at(Cat_Caption, k).tag, cat.id);
        const double captionLeft = a < cat.buttons ? x + 60 + (cat.buttons - c) / 2 : x + 60;
        EXPECT_EQ(e.at(Cat_Caption, k).left, captionLeft);
        EXPECT_EQ(e.isShown(Cat_Dlg, k), cat.glyph);
        EXPECT_EQ(e.at(Cat_Dlg, k).left, x + 60 + middle + 15 - 225);
        EXPECT_EQ(e.at(Cat_Dlg, k).top, 1425);
        EXPECT_FALSE(e.isShown(Cat_Dlg_on, k));
        EXPECT_FALSE(e.isShown(Cat_Center_on, k));
        EXPECT_TRUE(e.isShown(Cat_Center_off, k));
        EXPECT_EQ(e.at(Cat_Caption, k).foreColor, 0xFFFFFFu);
        x += 60 + middle + 75;
    }
    EXPECT_GT(e.at(ButMouse, 1).z, e.at(CatMouse, 0).z);
    EXPECT_GT(e.at(Cat_Dlg, 1).z, e.at(CatMouse, 1).z);

    // The other tab's four categories replace these, and none is left when coming back.
    RibbonTest::click(ribbon, RibbonTest::centreOf(ribbon, TabMouse, 1));
    EXPECT_EQ(e.highestIndex(CatMouse), 3);
    EXPECT_EQ(e.highestIndex(ButMouse), 0);
    EXPECT_FALSE(e.isShown(ButMouse, 0));
    RibbonTest::click(ribbon, RibbonTest::centreOf(ribbon, TabMouse, 0));
    EXPECT_EQ(e.highestIndex(CatMouse), 2);
    EXPECT_EQ(e.highestIndex(ButMouse), 4);
}

TEST(RibbonLayout, ButtonRowPositions)
{
    RibbonMenu ribbon;
    ribbon.setTheme(2);
    ribbon.setImageList(RibbonTest::twelveIcons(&ribbon));
    ribbon.AddTab("1", "Library");
    ribbon.AddCat("1", "1", "Master", false);
    ribbon.AddCat("2", "1", "Transaction", true);
    ribbon.AddButton("0", "1", "New Book Entry", 1);
    ribbon.AddButton("9", "9", "Elsewhere", 2);
    ribbon.AddButton("8", "1 ", "Trailing blank", 2);
    ribbon.AddButton("1", "1", "Ok", 2);
    ribbon.AddButton("2", "2", "Two\r\nlines here", 3, true);
    ribbon.Refresh();
    const RibbonElements &e = ribbon.elements();
    ASSERT_EQ(e.highestIndex(ButMouse), 3);

    const double c0 = captionTwips(buttonFont(), "New Book Entry");
    ASSERT_GT(c0, 720);
    EXPECT_EQ(e.at(ButMouse, 1).tag, "0");
    EXPECT_EQ(e.at(ButMouse, 1).toolTip, "New Book Entry");
    EXPECT_EQ(e.at(Button_center, 1).tag, "0");
    EXPECT_EQ(e.at(ButMouse, 1).left, 180);
    EXPECT_EQ(e.at(ButMouse, 1).top, 420);
    EXPECT_EQ(e.at(ButMouse, 1).width, c0 + 90);
    EXPECT_EQ(e.at(Button_center, 1).left, 225);
    EXPECT_EQ(e.at(Button_right, 1).left, 225 + c0);
    EXPECT_EQ(e.at(Button_Caption, 1).left, 225);
    EXPECT_EQ(e.at(Button_Icon, 1).left, 225 + (c0 - 720) / 2);
    EXPECT_EQ(e.at(Button_Icon, 1).top, 510);
    EXPECT_EQ(e.at(Button_Caption, 1).top, 510 + 720);

    // The narrow caption centres under the icon; a 30-twip gap parts the hot zones.
    const double c1 = captionTwips(buttonFont(), "Ok");
    EXPECT_EQ(e.at(ButMouse, 2).left, 180 + c0 + 90 + 30);
    EXPECT_EQ(e.at(ButMouse, 2).width, 720 + 90);
    EXPECT_EQ(e.at(Button_Icon, 2).left, e.at(Button_center, 2).left);
    EXPECT_EQ(e.at(Button_Caption, 2).left, e.at(Button_center, 2).left + (720 - c1) / 2);
    EXPECT_FALSE(e.isShown(Glyph_off, 1));

    // The second category's buttons carry the following indices and their own category index.
    const RibbonElement &two = e.at(Button_Caption, 3);
    const double line = RibbonElements::textSize(buttonFont(), "Two").height();
    EXPECT_EQ(two.height, 2 * line);
    EXPECT_EQ(two.width, captionTwips(buttonFont(), "lines here"));
    EXPECT_EQ(e.at(Button_center, 3).tag, "1");
    EXPECT_EQ(e.at(Glyph_off, 3).top, two.top + line * 2 + (line * 2 - 60) / 2);
    EXPECT_EQ(e.at(Glyph_off, 3).left, two.left + (two.width - 75) / 2);
    EXPECT_TRUE(e.isShown(Glyph_off, 3));
    EXPECT_FALSE(e.isShown(Glyph_on, 3));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_FALSE(e.isShown(Button_center, i));
        EXPECT_FALSE(e.isShown(Button_center_over, i));
        EXPECT_TRUE(e.isShown(ButMouse, i));
    }

    // ButtonCenter waits for the following layout, then centres icon and caption in the frame.
    ribbon.setButtonCenter(true);
    EXPECT_EQ(e.at(Button_Icon, 1).top, 510);
    ribbon.Refresh();
    const double free1 = 990 - (720 + line);
    EXPECT_FLOAT_EQ(e.at(Button_Icon, 1).top, 420 + free1 / 2);
    const double free3 = 990 - (720 + 2 * line);
    EXPECT_FLOAT_EQ(e.at(Button_Icon, 3).top, 420 + (free3 - line) / 2);
}
