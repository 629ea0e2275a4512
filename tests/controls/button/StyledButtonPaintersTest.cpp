#include "ButtonTestSupport.h"

#include <gtest/gtest.h>

using namespace ButtonTest;

namespace {

// An 80 x 24 button on a shown window, face 0xC0C0C0, no caption so edges read clean.
struct Painted
{
    explicit Painted(int style, int width = 80, int height = 24)
    {
        window.resize(width + 40, height + 40);
        button = new StyledButton(&window);
        button->setGeometry(10, 10, width, height);
        button->setBackColor(0xC0C0C0);
        button->setButtonStyle(style);
        window.show();
    }
    qint32 at(int x, int y) { return pixelAt(button, x, y); }
    QWidget window;
    StyledButton *button = nullptr;
};

constexpr qint32 Grey = 0x808080;
constexpr qint32 Light = 0xE9E9E9;

} // namespace

TEST(StyledButtonPaintersTest, Style0RaisedDefaultAndSunkenEdges)
{
    Painted p(0);
    EXPECT_EQ(p.at(0, 10), 0xFFFFFF);
    EXPECT_EQ(p.at(40, 0), 0xFFFFFF);
    EXPECT_EQ(p.at(79, 10), 0);
    EXPECT_EQ(p.at(40, 23), 0);
    EXPECT_EQ(p.at(1, 10), Light);
    EXPECT_EQ(p.at(78, 10), Grey);
    EXPECT_EQ(p.at(40, 12), 0xC0C0C0);

    p.button->setDefault(true); // black outer ring, white and black middle, light and grey inner
    EXPECT_EQ(p.at(0, 10), 0);
    EXPECT_EQ(p.at(40, 0), 0);
    EXPECT_EQ(p.at(1, 10), 0xFFFFFF);
    EXPECT_EQ(p.at(78, 10), 0);
    EXPECT_EQ(p.at(2, 10), Light);
    EXPECT_EQ(p.at(77, 10), Grey);

    // A checked check button is sunken, default or not.
    p.button->setMode(1);
    p.button->setValue(true);
    EXPECT_EQ(p.at(0, 10), 0);
    EXPECT_EQ(p.at(79, 10), 0xFFFFFF);
    EXPECT_EQ(p.at(78, 10), Light);
}

TEST(StyledButtonPaintersTest, Style0PressedKeepsOnlyTheOuterEdge)
{
    Painted p(0);
    moveOnto(p.button);
    press(p.button);
    EXPECT_EQ(p.at(0, 10), 0xFFFFFF);
    EXPECT_EQ(p.at(1, 10), 0xC0C0C0); // the light middle edge is gone
    EXPECT_EQ(p.at(78, 10), Grey);
}

TEST(StyledButtonPaintersTest, Style1LooksTheSameAsDefaultApartFromTheFrame)
{
    Painted p(1);
    const QImage plain = p.button->grab().toImage();
    EXPECT_EQ(p.at(1, 0), 0);
    EXPECT_EQ(p.at(1, 10), 0xFFFFFF);
    EXPECT_EQ(p.at(78, 10), Grey);
    p.button->setDefault(true);
    const QImage asDefault = p.button->grab().toImage();
    for (int y = 0; y < 24; ++y)
        for (int x : {0, 1, 2, 78, 79})
            ASSERT_EQ(plain.pixel(x, y), asDefault.pixel(x, y)) << x << ',' << y;
    EXPECT_NE(plain.pixel(4, 12), asDefault.pixel(4, 12)); // the dotted frame 4 pixels inside
}

TEST(StyledButtonPaintersTest, Style2RingsTakeTheirTints)
{
    Painted p(2);
    const qint32 ring = 0x733C00;
    EXPECT_EQ(p.at(0, 10), ring);
    EXPECT_EQ(p.at(1, 1), ring); // single pixels round the corners
    EXPECT_EQ(p.at(78, 22), ring);
    EXPECT_GT(p.at(40, 3) & 0xFF, p.at(40, 20) & 0xFF); // face darker towards the bottom

    moveOnto(p.button); // hot: fixed orange tints whatever the face
    EXPECT_EQ(p.at(2, 10), 0x6BCBFF);
    EXPECT_EQ(p.at(40, 22), 0x0096E7);
    leave(p.button);
    EXPECT_TRUE(waitFor([&] { return !p.button->isHoverTracking(); }));

    p.button->setDefault(true);
    EXPECT_EQ(p.at(2, 10), 0xF0D1B5);
    p.button->setShowFocusRect(false);
    p.button->setDefault(false);
    p.button->setDefault(true); // without the focus look the resting shades stay
    EXPECT_NE(p.at(2, 10), 0xF0D1B5);

    p.button->setEnabled(false); // no inner rings, a ring from the face, flat face
    const qint32 base = p.button->faceRGB();
    EXPECT_NE(p.at(0, 10), ring);
    EXPECT_EQ(p.at(2, 10), p.at(40, 12));
    EXPECT_EQ(p.at(40, 3), p.at(40, 20));
    EXPECT_NE(base, 0);
}

TEST(StyledButtonPaintersTest, Style2EllipseIsFramedOnlyWhenDefaultOrHot)
{
    Painted p(2, 60, 40);
    p.button->setButtonShape(4);
    const QPoint left(1, 20); // on the face region's outline
    EXPECT_NE(p.at(left.x(), left.y()), 0xEF826B);
    p.button->setDefault(true);
    EXPECT_EQ(p.at(left.x(), left.y()), 0xEF826B);
    moveOnto(p.button);
    EXPECT_EQ(p.at(left.x(), left.y()), 0x0096E7);
}

TEST(StyledButtonPaintersTest, Style3EtchesAndNeverShiftsTheCaption)
{
    Painted p(3);
    EXPECT_EQ(p.at(0, 10), 0x676766);
    EXPECT_EQ(p.at(1, 10), 0xFFFFFF);
    EXPECT_EQ(p.at(79, 10), 0xFFFFFF);
    moveOnto(p.button);
    press(p.button);
    EXPECT_EQ(p.at(1, 10), p.button->shadeRGB()); // flat while pressed, face ShadeRGB
    release(p.button);
    p.button->setEnabled(false); // a disabled command button keeps only its dark outer ring
    EXPECT_EQ(p.at(1, 10), 0xC0C0C0);
    EXPECT_EQ(p.at(79, 10), 0x676766);
}

TEST(StyledButtonPaintersTest, Style3DefaultFrameRingsTheCaption)
{
    Painted p(3);
    p.button->setCaption(QStringLiteral("OK"));
    p.button->setDefault(true);
    const ButtonRect c = p.button->captionRect();
    EXPECT_EQ(p.at(c.left - 2, c.top + 2), 0xCC9999);
    EXPECT_EQ(p.at(c.right + 1, c.top + 2), 0xCC9999);
}

TEST(StyledButtonPaintersTest, Styles4To6Borders)
{
    Painted four(4);
    EXPECT_EQ(four.at(0, 10), 0xFFFFFF);
    EXPECT_EQ(four.at(79, 10), Grey);
    four.button->setMode(1);
    four.button->setValue(true);
    EXPECT_EQ(four.at(0, 10), Grey);
    EXPECT_EQ(four.at(79, 10), 0xFFFFFF);

    Painted five(5); // flat until the pointer comes
    EXPECT_EQ(five.at(0, 10), 0xC0C0C0);
    EXPECT_EQ(five.at(79, 10), 0xC0C0C0);
    moveOnto(five.button);
    EXPECT_EQ(five.at(0, 10), 0xFFFFFF);
    EXPECT_EQ(five.at(79, 10), Grey);
    press(five.button);
    EXPECT_EQ(five.at(0, 10), Grey);

    Painted six(6);
    const qint32 light = 0xE8E8E7;
    EXPECT_EQ(six.at(0, 10), light);
    EXPECT_EQ(six.at(1, 10), light);
    EXPECT_EQ(six.at(78, 10), Grey);
    six.button->setDefault(true); // no edge change for the default look
    EXPECT_EQ(six.at(0, 10), light);
    moveOnto(six.button);
    press(six.button);
    EXPECT_EQ(six.at(0, 10), Grey);
    EXPECT_EQ(six.at(79, 10), light);
}

TEST(StyledButtonPaintersTest, Style7RoundsItsCornersAndGreysWhenChecked)
{
    Painted p(7);
    const qint32 face = p.button->faceRGB();
    EXPECT_EQ(p.at(0, 10), 0);
    EXPECT_EQ(p.at(1, 1), 0);
    EXPECT_EQ(p.at(2, 10), 0xFFFFFF); // the inner top-left ring in white
    EXPECT_EQ(p.at(3, 3), 0xFFFFFF);
    EXPECT_EQ(p.at(40, 12), face);

    p.button->setMode(1);
    moveOnto(p.button);
    press(p.button); // held, not yet checked: the resting bevel
    EXPECT_EQ(p.at(2, 10), 0xFFFFFF);
    release(p.button);
    leave(p.button);
    EXPECT_TRUE(waitFor([&] { return !p.button->isHoverTracking(); }));
    EXPECT_TRUE(p.button->value());
    EXPECT_EQ(p.at(2, 10), 0x616160); // Sh(grey, -32): the grey bevel
}

TEST(StyledButtonPaintersTest, GradientBandsAndHoverFill)
{
    Painted p(0, 40, 24);
    StyledButton::setScreenSizeOverride(QSize(1024, 768));
    p.button->setBackColor(0xFFFFFF);
    p.button->setGradientColor(0);
    p.button->setGradientMode(1);
    EXPECT_EQ(p.at(3, 12), 0xECECEB); // 255 - 3 x 255 / 39, one-pixel columns
    EXPECT_LT(p.at(30, 12) & 0xFF, p.at(29, 12) & 0xFF);
    p.button->setGradientMode(2); // mirrored
    EXPECT_GT(p.at(30, 12) & 0xFF, p.at(10, 12) & 0xFF);

    StyledButton::setScreenSizeOverride(QSize(100, 100)); // wider than a quarter: 2-pixel bands
    p.button->refresh();
    EXPECT_EQ(p.at(10, 12), p.at(11, 12));
    EXPECT_NE(p.at(11, 12), p.at(12, 12));
    StyledButton::setScreenSizeOverride(QSize());

    p.button->setHoverBackColor(0x00FFFF); // differs from the gradient colour: solid hover face
    moveOnto(p.button);
    EXPECT_EQ(p.at(10, 12), 0x00FFFF);
    EXPECT_EQ(p.at(30, 12), 0x00FFFF);
}

TEST(StyledButtonPaintersTest, PicturesShowTheFaceThroughTheirKeyColour)
{
    Painted p(0, 60, 40);
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 255));
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 0));
    picture.setPixel(15, 15, qRgb(253, 2, 255)); // within 3 of the key
    p.button->setPicture(ButtonPicture::fromImage(picture));
    p.button->setPictureSize(1);
    const ButtonRect r = p.button->pictureRect();
    ASSERT_EQ(r.width(), 24);
    EXPECT_EQ(p.button->pictureCache().size(), QSize(24, 24));
    EXPECT_EQ(p.at(r.left + 1, r.top + 1), 0xC0C0C0);
    EXPECT_EQ(p.at(r.right - 1, r.bottom - 1), 0xC0C0C0);
    EXPECT_EQ(p.at(r.left + 12, r.top + 12), 0);

    // Disabled: black turns grey, the rest shows the face.
    p.button->setEnabled(false);
    EXPECT_EQ(p.at(r.left + 12, r.top + 12), 0x808080);
    EXPECT_EQ(p.at(r.left + 1, r.top + 1), 0xC0C0C0);
}

TEST(StyledButtonPaintersTest, DisabledCaptionIsGreyOverWhite)
{
    Painted p(0, 80, 30);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    font.setBold(true);
    p.button->setFont(font);
    p.button->setCaption(QStringLiteral("IIII"));
    p.button->setEnabled(false);
    const QImage image = p.button->grab().toImage();
    bool grey = false, white = false;
    for (int y = 0; y < 30; ++y)
        for (int x = 4; x < 76; ++x) {
            grey |= image.pixel(x, y) == qRgb(128, 128, 128);
            white |= image.pixel(x, y) == qRgb(255, 255, 255) && x > 2 && y > 2 && x < 77;
        }
    EXPECT_TRUE(grey);
    EXPECT_TRUE(white);
}
