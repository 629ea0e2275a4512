#include "core/Colour.h"
#include "core/PropertyBag.h"
#include "core/Units.h"

#include <gtest/gtest.h>

TEST(UnitsTest, RoundsHalfToEvenAndConvertsTwips)
{
    EXPECT_EQ(Units::roundHalfEven(2.5), 2);
    EXPECT_EQ(Units::roundHalfEven(3.5), 4);
    EXPECT_EQ(Units::roundHalfEven(-2.5), -2);
    EXPECT_EQ(Units::roundHalfEven(2.6), 3);
    EXPECT_EQ(Units::twipsToPixels(1740), 116);
    EXPECT_EQ(Units::twipsToPixels(22.5), 2); // 1.5 -> 2
    EXPECT_EQ(Units::twipsToPixels(37.5), 2); // 2.5 -> 2
}

TEST(UnitsTest, ColoursReadAsBgrAndSystemColoursResolve)
{
    const QColor c = Colour::toQColor(0xF3F3ED);
    EXPECT_EQ(c.red(), 0xED);
    EXPECT_EQ(c.green(), 0xF3);
    EXPECT_EQ(c.blue(), 0xF3);
    EXPECT_EQ(Colour::resolve(Colour::system(Colour::ButtonFace)), Colour::rgb(240, 240, 240));
    EXPECT_EQ(Colour::resolve(0x80000005u), 0xFFFFFFu);
    EXPECT_EQ(Colour::fromQColor(QColor(1, 2, 3)), 0x030201u);
}

TEST(UnitsTest, PropertyBagIgnoresCaseAndLeavesDefaultsOut)
{
    PropertyBag bag;
    bag.write("Caption", "Save", "");
    bag.write("BackColor", 15, 15);
    EXPECT_EQ(bag.read("CAPTION", "x").toString(), "Save");
    EXPECT_FALSE(bag.contains("backcolor"));
    EXPECT_EQ(bag.read("BackColor", 7).toInt(), 7);
    bag.write("caption", "", "");
    EXPECT_EQ(bag.size(), 0);
    bag.write("Style", 3, 0);
    EXPECT_EQ(PropertyBag::deserialize(bag.serialize()).read("style", 0).toInt(), 3);
}
