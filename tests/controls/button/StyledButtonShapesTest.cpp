#include "ButtonTestSupport.h"

#include <gtest/gtest.h>

using namespace ButtonTest;

TEST(StyledButtonShapesTest, RectangleCornersAreCutByStyle)
{
    QWidget window;
    StyledButton button(&window);
    button.resize(80, 24);
    button.setButtonStyle(1);
    QRegion mask = button.mask();
    for (QPoint corner : {QPoint(0, 0), QPoint(0, 23), QPoint(79, 23), QPoint(79, 0)})
        EXPECT_FALSE(mask.contains(corner)) << corner.x() << ',' << corner.y();
    EXPECT_TRUE(mask.contains(QPoint(1, 0)));

    button.setButtonStyle(2);
    mask = button.mask();
    for (QPoint cut : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(78, 0), QPoint(79, 1),
                       QPoint(0, 23), QPoint(1, 23), QPoint(0, 22), QPoint(78, 23)})
        EXPECT_FALSE(mask.contains(cut)) << cut.x() << ',' << cut.y();
    EXPECT_TRUE(mask.contains(QPoint(2, 0)));
    EXPECT_TRUE(mask.contains(QPoint(1, 1)));

    button.setButtonStyle(0);
    EXPECT_TRUE(button.mask().contains(QPoint(0, 0)));

    // The etched style cuts its corners only while enabled.
    button.setButtonStyle(3);
    EXPECT_FALSE(button.mask().contains(QPoint(0, 0)));
    button.setEnabled(false);
    EXPECT_TRUE(button.mask().contains(QPoint(0, 0)));
    button.setEnabled(true);
    EXPECT_FALSE(button.mask().contains(QPoint(0, 0)));
}

TEST(StyledButtonShapesTest, SlantedEndsWidenNarrowButtons)
{
    QWidget window;
    StyledButton button(&window);
    button.resize(30, 24);
    button.setButtonShape(3);
    EXPECT_EQ(button.width(), 30);
    EXPECT_EQ(button.outlinePolygon(),
              QPolygon({QPoint(0, 0), QPoint(25, 25), QPoint(31, 25), QPoint(6, 0)}));
    EXPECT_EQ(button.bodyLeft(), 25);
    EXPECT_EQ(button.bodyRight(), 5);
    EXPECT_TRUE(button.mask().contains(QPoint(3, 0)));
    EXPECT_FALSE(button.mask().contains(QPoint(8, 0)));
    EXPECT_FALSE(button.mask().contains(QPoint(2, 20)));

    button.resize(20, 24);
    button.setButtonShape(1);
    EXPECT_EQ(button.width(), 30);
    EXPECT_EQ(button.bodyLeft(), 25);
    EXPECT_EQ(button.bodyRight(), 30);
}

TEST(StyledButtonShapesTest, EllipsesHaveFaceAndInnerRegions)
{
    QWidget window;
    StyledButton button(&window);
    button.resize(60, 60);
    button.setButtonShape(4);
    EXPECT_EQ(button.faceRegion(), QRegion(1, 1, 58, 58, QRegion::Ellipse));
    EXPECT_EQ(button.innerRegion(), QRegion(2, 2, 56, 56, QRegion::Ellipse));
    EXPECT_EQ(button.mask(), QRegion(0, 0, 60, 60, QRegion::Ellipse));
    button.setButtonShape(0);
    EXPECT_TRUE(button.faceRegion().isEmpty());
}

TEST(StyledButtonShapesTest, CustomShapesAreCutFromThePicture)
{
    QWidget window;
    StyledButton button(&window);
    button.resize(48, 48);
    // White background, with near-white pixels at the edge that count as background too.
    QImage picture(100, 50, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(99, 0, qRgb(252, 255, 253));
    for (int y = 10; y < 40; ++y)
        for (int x = 20; x < 80; ++x)
            picture.setPixel(x, y, qRgb(200, 30, 30));
    button.setPicture(ButtonPicture::fromImage(picture));
    button.setButtonShape(8);
    EXPECT_EQ(button.size(), QSize(48, 24));
    const QRegion mask = button.mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(47, 0)));
    EXPECT_TRUE(mask.contains(QPoint(24, 12)));
    EXPECT_TRUE(button.faceRegion().contains(QPoint(24, 12)));
    EXPECT_FALSE(button.faceRegion().contains(QPoint(10, 12))); // one pixel inside the outline
    EXPECT_EQ(mask.boundingRect(), QRect(10, 5, 28, 14));
    EXPECT_EQ(button.innerRegion().boundingRect(), QRect(12, 7, 24, 10));

    // Taking the picture away turns the button back into a rectangle.
    button.setPicture(ButtonPicture());
    EXPECT_EQ(button.buttonShape(), 0);
    EXPECT_TRUE(button.mask().contains(QPoint(0, 0)));
}
