#include "QtPrinters.h"
#include "RibbonTestSupport.h"

#include "controls/ribbon/RibbonTheme.h"
#include "core/AppError.h"
#include "core/Colour.h"
#include "core/PropertyBag.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using enum RibbonPart;

TEST(RibbonTheme, ColoursOfEachTheme)
{
    RibbonMenu ribbon;
    QSignalSpy changed(&ribbon, &RibbonMenu::PropertyChanged);
    ribbon.setTheme(0);
    EXPECT_EQ(ribbon.TabCaptionColor(), 0xFFFFFFu);
    EXPECT_EQ(ribbon.SelectedTabCaptionColor(), 0x000000u);
    EXPECT_EQ(ribbon.elements().at(Cat_Caption, 0).foreColor, 0xFFFFFFu);
    EXPECT_EQ(ribbon.elements().at(Button_Caption, 0).foreColor, 0x80000008u);
    EXPECT_EQ(ribbon.BackColor(), 0x464646u);
    EXPECT_EQ(ribbon.ForeColor(), 0xFFFFFFu);
    EXPECT_EQ(changed.size(), 1);

    ribbon.setTheme(1);
    EXPECT_EQ(ribbon.TabCaptionColor(), 0x8B4215u);
    EXPECT_EQ(ribbon.SelectedTabCaptionColor(), 0x8B4215u);
    EXPECT_EQ(ribbon.elements().at(Cat_Caption, 0).foreColor, 0xB86A3Eu);
    EXPECT_EQ(ribbon.BackColor(), 0xDAB08Eu);
    EXPECT_EQ(ribbon.ForeColor(), 0x8B4215u);

    ribbon.setTheme(2);
    EXPECT_EQ(ribbon.SelectedTabCaptionColor(), 0x6A625Cu);
    EXPECT_EQ(ribbon.elements().at(Button_Caption, 0).foreColor, 0x6A625Cu);
    EXPECT_EQ(ribbon.BackColor(), 0xDDD4D0u);

    for (int outside : {3, -1}) {
        ribbon.setTheme(outside);
        EXPECT_EQ(ribbon.Theme(), 0);
        EXPECT_EQ(ribbon.BackColor(), 0x464646u);
    }
}

TEST(RibbonTheme, PictureSizesAndMissingPictures)
{
    const QSize sizes[] = {{11, 142}, {7, 142}, {7, 142}, {40, 23}, {40, 23}, {40, 23}, {40, 23},
                           {40, 23},  {40, 23}, {49, 45}, {49, 45}, {49, 45}, {18, 26}, {13, 26},
                           {15, 26},  {15, 26}, {22, 26}, {15, 14}, {15, 14}, {15, 14}, {4, 89},
                           {5, 89},   {5, 89},  {4, 89},  {4, 89},  {5, 89},  {10, 24}, {18, 24},
                           {10, 24},  {10, 24}, {37, 24}, {10, 24}, {5, 4},   {5, 4},   {3, 66},
                           {49, 66},  {3, 66},  {3, 66},  {49, 66}, {3, 66}};
    for (const QString type : {"BLACK", "BLUE", "SILVER"}) {
        for (int number = 101; number <= 140; ++number) {
            EXPECT_EQ(RibbonTheme::LoadCustomResPicture(number, type).size(), sizes[number - 101])
                << type.toStdString() << ' ' << number;
        }
    }

    RibbonMenu ribbon;
    for (int theme : {0, 1, 2}) {
        ribbon.setTheme(theme);
        EXPECT_EQ(ribbon.LoadBackground().size(), theme == 2 ? QSize(1, 1) : QSize(499, 157));
    }
    ribbon.setTheme(1);
    const RibbonElements &e = ribbon.elements();
    EXPECT_EQ(QSizeF(e.at(Tab_left, 0).width, e.at(Tab_left, 0).height), QSizeF(150, 360));
    EXPECT_EQ(e.at(Tab_right_over, 0).width, 150);
    EXPECT_EQ(QSizeF(e.at(Cat_Left_off, 0).width, e.at(Cat_Left_off, 0).height), QSizeF(60, 1335));
    EXPECT_EQ(e.at(Cat_Right_on, 0).width, 75);
    EXPECT_EQ(QSizeF(e.at(Button_left, 0).width, e.at(Button_left, 0).height), QSizeF(45, 990));
    EXPECT_EQ(e.at(Cat_Dlg_over, 0).width, 225);
    EXPECT_EQ(e.at(TabBand, 0).width, 30720); // stretched pieces keep their size

    for (const auto &[number, type] : {std::pair{142, "BLUE"}, std::pair{101, "GREEN"}}) {
        try {
            RibbonTheme::LoadCustomResPicture(number, type);
            FAIL() << "no error for " << number << ' ' << type;
        } catch (const AppError &error) {
            EXPECT_EQ(error.number(), 326);
            EXPECT_TRUE(error.source().endsWith(".cResPicture"));
        }
    }
}

// The three themes differ in their bar and frames, and each keeps light frames behind dark text.
TEST(RibbonTheme, ThemesAreDistinctAndReadable)
{
    auto bodyColour = [](const QString &type) {
        return RibbonTheme::LoadCustomResPicture(101, type).toImage().pixelColor(5, 90);
    };
    EXPECT_NE(bodyColour("BLACK"), bodyColour("BLUE"));
    EXPECT_NE(bodyColour("BLUE"), bodyColour("SILVER"));
    for (int theme : {0, 1, 2}) {
        const QString type = RibbonTheme::resourceType(theme);
        const QImage frame = RibbonTheme::LoadCustomResPicture(122, type).toImage();
        const QColor inside = frame.pixelColor(2, 40);
        const QColor band = frame.pixelColor(2, 78);
        const QColor buttonText = Colour::toQColor(RibbonTheme::colours(theme).buttonCaption);
        const QColor captionText = Colour::toQColor(RibbonTheme::colours(theme).categoryCaption);
        EXPECT_GT(std::abs(inside.lightness() - buttonText.lightness()), 100) << theme;
        EXPECT_GT(std::abs(band.lightness() - captionText.lightness()), 60) << theme;
    }
}

TEST(RibbonTheme, PersistedProperties)
{
    RibbonMenu fresh;
    PropertyBag empty;
    fresh.WriteProperties(empty);
    EXPECT_EQ(empty.size(), 0);

    RibbonMenu ribbon;
    ribbon.setTheme(1);
    ribbon.setButtonCenter(true);
    PropertyBag bag;
    ribbon.WriteProperties(bag);
    EXPECT_EQ(bag.read("Theme", 0).toInt(), 1);
    EXPECT_TRUE(bag.read("buttoncenter", false).toBool());
    EXPECT_EQ(bag.read("BackColor", 0).toUInt(), 0xDAB08Eu);
    EXPECT_EQ(bag.read("ForeColor", 0).toUInt(), 0x8B4215u);

    // Loading stores the values only; the colours saved are not read back.
    RibbonMenu loaded;
    loaded.ReadProperties(bag);
    EXPECT_EQ(loaded.Theme(), 1);
    EXPECT_TRUE(loaded.ButtonCenter());
    EXPECT_EQ(loaded.BackColor(), 0x464646u);
    EXPECT_TRUE(loaded.elements().at(TabBand, 0).picture.isNull());
}

TEST(RibbonTheme, NewThemeReachesTheLaidOutRibbon)
{
    RibbonMenu ribbon;
    ribbon.setTheme(0);
    ribbon.setImageList(RibbonTest::twelveIcons(&ribbon));
    RibbonTest::fillLibraryMenu(ribbon);
    ribbon.Refresh();
    ribbon.setTheme(1);
    const RibbonElements &e = ribbon.elements();
    const QImage blueFrame = RibbonTheme::LoadCustomResPicture(121, "BLUE").toImage();
    EXPECT_EQ(e.at(Cat_Left_off, 2).picture.toImage(), blueFrame);
    EXPECT_EQ(e.at(Cat_Caption, 2).foreColor, 0xB86A3Eu);
    EXPECT_EQ(e.at(Button_Caption, 12).foreColor, 0x8B4215u);
    EXPECT_EQ(e.at(Tab_caption, 0).foreColor, 0x8B4215u);
}
