#include "controls/button/ButtonColours.h"
#include "controls/button/ButtonPicture.h"
#include "core/AppError.h"

#include <gtest/gtest.h>

using namespace ButtonColours;

TEST(ButtonColoursTest, ShadeColorShiftsChannelsAsThePainterTablesExpect)
{
    EXPECT_EQ(shade(0x808080, -16), 0x717170);
    EXPECT_EQ(shade(0x808080, 16, true), 0x8B9190);
    EXPECT_EQ(shade(0x808080, 31), 0xA0A09F); // style 7 face of a grey button
    EXPECT_EQ(shade(0xFFFFFF, -32), 0xE0E0DF);
    EXPECT_EQ(shade(0xFFFFFF, -32, true), 0xD6E0DF);
    EXPECT_EQ(shade(0xDFDFDF, 8), 0xE8E8E7);
    EXPECT_EQ(shade(0x808080, -26), 0x676766);
    EXPECT_EQ(shade(0x808080, 12), 0x8D8D8C);
    EXPECT_EQ(shade(0x8D8D8C, 31), 0xADADAB);

    int offset = -10;
    EXPECT_EQ(shadeColor(0, offset, false, true), 0x0A0A0A); // black, then retried with +10
    EXPECT_EQ(offset, 10);
    offset = 0;
    EXPECT_EQ(shadeColor(0xFFFFFF, offset, false, true), 0xC0C0BF); // 0 became 64, then -64
    EXPECT_EQ(offset, -64);
    offset = 32700; // 255 + 32700 leaves the 16-bit range
    EXPECT_THROW(shadeColor(0xFF, offset), AppError);
}

TEST(ButtonColoursTest, SystemColoursResolveAndOthersPass)
{
    EXPECT_EQ(translateSysColor(qint32(0x8000000Fu)), 0xF0F0F0);
    EXPECT_EQ(translateSysColor(0x00FF00), 0x00FF00);
}

TEST(ButtonColoursTest, GradientStepsRunFromOneColourToTheOther)
{
    const std::vector<qint32> steps = computeGradientSteps(5, 0xFFFFFF, 0);
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps.front(), 0xFFFFFF);
    EXPECT_EQ(steps.back(), 0);
    EXPECT_EQ(steps[2] & 0xFF, 127); // 255 - 2 x 63.75, floored
    EXPECT_EQ(computeGradientSteps(1, 0x123456, 0).front(), 0x123456);
}

TEST(ButtonColoursTest, FitPictureSizeKeepsTheAspectRatio)
{
    EXPECT_EQ(fitPictureSize(48, 48, 32, 16), QSize(48, 24));
    EXPECT_EQ(fitPictureSize(40, 30, 100, 100), QSize(30, 30));
    EXPECT_EQ(fitPictureSize(48, 48, 100, 50), QSize(48, 24));
    EXPECT_EQ(fitPictureSize(48, 48, 0, 0), QSize(0, 0));
}

TEST(ButtonColoursTest, PictureScanTakesNearKeyPixelsAsBackground)
{
    EXPECT_TRUE(ButtonPictures::isBackground(qRgb(253, 247, 250), qRgb(250, 250, 250)));
    EXPECT_FALSE(ButtonPictures::isBackground(qRgb(254, 246, 250), qRgb(250, 250, 250)));

    // A 4 x 2 picture: key white at the left, near-white that counts as background at the right.
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(1, 0, qRgb(0, 0, 0));
    image.setPixel(3, 0, qRgb(252, 255, 253));
    QVector<QRect> runs;
    const QImage cache = ButtonPictures::makeCache(image, 4, 2, &runs);
    EXPECT_EQ(cache.pixel(3, 0), qRgb(255, 255, 255)); // normalised to the key
    ASSERT_EQ(runs.size(), 3);
    EXPECT_EQ(runs[0], QRect(0, 0, 1, 1));
    EXPECT_EQ(runs[1], QRect(2, 0, 2, 1)); // a run that reaches the right edge ends there
    EXPECT_EQ(runs[2], QRect(0, 1, 4, 1));

    // Disabled pictures: white leaves the face, black turns grey, others mix bit by bit.
    const QRgb face = qRgb(0x12, 0x34, 0x56);
    EXPECT_EQ(ButtonPictures::greyBlend(qRgb(255, 255, 255), face), face);
    EXPECT_EQ(ButtonPictures::greyBlend(qRgb(0, 0, 0), face), qRgb(0x80, 0x80, 0x80));
}
