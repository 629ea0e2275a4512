#include "ButtonTestSupport.h"
#include "QtPrinters.h"
#include "core/AppError.h"
#include "core/PropertyBag.h"

#include <gtest/gtest.h>

using namespace ButtonTest;

TEST(StyledButtonPropertiesTest, NewButtonStartsCentredWithSystemColours)
{
    QWidget window;
    StyledButton button(&window);
    EXPECT_EQ(button.captionAlign(), 2);
    EXPECT_TRUE(button.showFocusRect());
    EXPECT_EQ(button.foreColor(), 0x80000012u);
    EXPECT_EQ(button.gradientColor(), 0x8000000Fu);
    EXPECT_EQ(button.hoverBackColor(), button.backColor());
    EXPECT_EQ(button.pictureSize(), 0);
    EXPECT_EQ(button.pictureSizePixels(), 16);
    EXPECT_TRUE(button.isEnabled());
}

TEST(StyledButtonPropertiesTest, SettersRefuseOutOfRangeValuesSilently)
{
    StyledButton button;
    button.setPictureSize(2);
    EXPECT_EQ(button.pictureSizePixels(), 32);
    button.setPictureSize(5);
    button.setPictureSize(-1);
    EXPECT_EQ(button.pictureSize(), 2);
    button.setButtonStyle(3);
    button.setButtonStyle(8);
    EXPECT_EQ(button.buttonStyle(), 3);
    button.setValue(true); // a command button is never checked
    EXPECT_FALSE(button.value());
    button.setMode(3);
    EXPECT_EQ(button.mode(), 0);
    EXPECT_THROW(button.setMousePointer(40000), AppError);
    button.setMousePointer(11);
    EXPECT_EQ(button.cursor().shape(), Qt::WaitCursor);
}

TEST(StyledButtonPropertiesTest, ShapesAndAlignmentsFollowThePicture)
{
    QWidget window;
    StyledButton button(&window);
    button.resize(80, 60);

    button.setCaptionAlign(0);
    button.setButtonShape(4);
    EXPECT_EQ(button.buttonShape(), 4);
    EXPECT_EQ(button.captionAlign(), 2); // any accepted shape centres the caption

    button.setButtonShape(7); // no picture
    EXPECT_EQ(button.buttonShape(), 4);
    QPixmap iconPixmap(16, 16);
    iconPixmap.fill(Qt::red);
    button.setPicture(ButtonPicture::fromIcon(QIcon(iconPixmap)));
    button.setButtonShape(7); // icons cannot cut an outline
    EXPECT_EQ(button.buttonShape(), 4);

    button.setPicture(ButtonPicture::fromImage(discPicture(100, 50)));
    button.setButtonShape(7);
    EXPECT_EQ(button.buttonShape(), 7);
    EXPECT_EQ(button.pictureSizePixels(), 48);
    button.setPictureSize(1); // shaped buttons keep their picture size
    EXPECT_EQ(button.pictureSizePixels(), 48);
    button.setPicture(ButtonPicture::fromIcon(QIcon(iconPixmap)));
    EXPECT_EQ(button.buttonShape(), 0);

    button.setPicture(ButtonPicture::fromImage(discPicture(16, 16)));
    button.setPictureAlign(4);
    EXPECT_EQ(button.captionAlign(), 2);
    button.setCaptionAlign(0); // refused beside a picture above the caption
    EXPECT_EQ(button.captionAlign(), 2);
    button.setPicture(ButtonPicture());
    button.setCaptionAlign(0);
    EXPECT_EQ(button.captionAlign(), 0);
}

TEST(StyledButtonPropertiesTest, HoverColoursFollowUntilLocked)
{
    StyledButton button;
    button.setBackColor(0x00C0C0);
    EXPECT_EQ(button.hoverBackColor(), 0x00C0C0u);
    button.setGradientColor(0x404040);
    button.setGradientMode(1);
    EXPECT_EQ(button.hoverBackColor(), 0x404040u);
    button.setGradientMode(0);
    EXPECT_EQ(button.hoverBackColor(), 0x00C0C0u);

    button.setHoverBackColor(0x0000FF);
    EXPECT_EQ(button.hoverColorLocks(), 1);
    button.setBackColor(0x112233);
    EXPECT_EQ(button.hoverBackColor(), 0x0000FFu);

    button.setForeColor(0x000080);
    EXPECT_EQ(button.hoverForeColor(), 0x000080u);
    button.setHoverForeColor(0x008000);
    EXPECT_EQ(button.hoverColorLocks(), 3);
    button.setForeColor(0x800000);
    EXPECT_EQ(button.hoverForeColor(), 0x008000u);

    button.setHoverColorLocks(0);
    EXPECT_EQ(button.hoverBackColor(), 0x112233u);
    EXPECT_EQ(button.hoverForeColor(), 0x800000u);
}

TEST(StyledButtonPropertiesTest, CachedColoursFollowTheStyle)
{
    StyledButton button;
    button.setBackColor(0x808080);
    button.setButtonStyle(7);
    EXPECT_EQ(button.faceRGB(), 0xA0A09F);
    EXPECT_EQ(button.shadeRGB(), 0x717170);
    EXPECT_EQ(button.checkedFaceRGB(), 0x8B9190);
    button.setButtonStyle(2);
    EXPECT_EQ(button.checkedFaceRGB(), 0xD6E0DF);
    button.setButtonStyle(3);
    EXPECT_EQ(button.faceRGB(), 0x808080);
    EXPECT_EQ(button.shadeRGB(), 0x8D8D8C);
    EXPECT_EQ(button.checkedFaceRGB(), 0xADADAB);
    button.setButtonStyle(0);
    EXPECT_EQ(button.checkedFaceRGB(), 0xE0E0DF);
}

TEST(StyledButtonPropertiesTest, AccessKeyIsTheLastMarkedCharacter)
{
    StyledButton button;
    button.setCaption(QStringLiteral("&New"));
    EXPECT_EQ(button.accessKey(), QChar(u'N'));
    button.setCaption(QStringLiteral("Save && Close"));
    EXPECT_EQ(button.accessKey(), QChar(u'N')); // no marker: the key stays
    button.setCaption(QStringLiteral("&Print && Go"));
    EXPECT_EQ(button.accessKey(), QChar(u'P'));
    button.setCaption(QStringLiteral("&Up&date"));
    EXPECT_EQ(button.accessKey(), QChar(u'd'));
    EXPECT_EQ(button.caption(), QStringLiteral("&Up&date"));
}

TEST(StyledButtonPropertiesTest, FontStyleBitsSetTheFont)
{
    StyledButton button;
    button.setFontStyle(2 | 8 | 16);
    EXPECT_TRUE(button.font().bold());
    EXPECT_FALSE(button.font().italic());
    EXPECT_TRUE(button.font().underline());
    EXPECT_EQ(button.fontStyle(), 10);
}

TEST(StyledButtonPropertiesTest, StoredPropertiesRoundTripAndLeaveDefaultsOut)
{
    QWidget window;
    PropertyBag bag;
    {
        StyledButton button(&window);
        button.setCaption(QStringLiteral("&Delete"));
        button.setCaptionAlign(0);
        button.setButtonStyle(2);
        button.setBackColor(0x00FFFF);
        button.setPictureSize(2);
        button.setMode(1);
        button.setValue(true);
        button.setCustomClick(4);
        button.setEnabled(false);
        button.writeProperties(bag);
    }
    EXPECT_FALSE(bag.contains("cBhover")); // unlocked hover colour equals the back colour
    EXPECT_FALSE(bag.contains("Focus"));
    EXPECT_EQ(bag.read("ImgSize", 0).toInt(), 32);
    EXPECT_TRUE(bag.contains("Mode"));
    EXPECT_TRUE(bag.contains("Font"));

    StyledButton loaded(&window);
    loaded.readProperties(bag);
    EXPECT_EQ(loaded.caption(), QStringLiteral("&Delete"));
    EXPECT_EQ(loaded.accessKey(), QChar(u'D'));
    EXPECT_EQ(loaded.captionAlign(), 0);
    EXPECT_EQ(loaded.buttonStyle(), 2);
    EXPECT_EQ(loaded.backColor(), 0x00FFFFu);
    EXPECT_EQ(loaded.hoverBackColor(), 0x00FFFFu);
    EXPECT_EQ(loaded.pictureSize(), 2);
    EXPECT_EQ(loaded.mode(), 1);
    EXPECT_TRUE(loaded.value());
    EXPECT_EQ(loaded.customClick(), 4);
    EXPECT_FALSE(loaded.isEnabled());
}

TEST(StyledButtonPropertiesTest, DelayDrawingBatchesChangesIntoOneRedraw)
{
    QWidget window;
    StyledButton button(&window);
    button.resize(80, 24);
    const int before = button.redrawCount();
    button.delayDrawing(true);
    button.setBackColor(0x00FF00);
    button.setCaption(QStringLiteral("OK"));
    button.setButtonStyle(4);
    button.setForeColor(0xFF0000); // clears the delay and draws, as it always has
    const int afterFore = button.redrawCount();
    EXPECT_EQ(afterFore, before + 1);
    button.delayDrawing(true);
    button.setCaptionStyle(1);
    button.setPictureAlign(2);
    EXPECT_EQ(button.redrawCount(), afterFore);
    button.delayDrawing(false);
    EXPECT_EQ(button.redrawCount(), afterFore + 1);
}

TEST(StyledButtonPropertiesTest, ButtonWithoutStoredFontFollowsItsWindow)
{
    QWidget window;
    StyledButton button(&window);
    button.resize(200, 60);
    button.setCaption(QStringLiteral("Save"));
    const int before = button.captionRect().height();
    QFont large = window.font();
    large.setPixelSize(30);
    window.setFont(large);
    EXPECT_EQ(button.font().pixelSize(), 30);
    EXPECT_GT(button.captionRect().height(), before);
}
