#include "ButtonTestSupport.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace ButtonTest;

namespace {

// A button of the size with a 14-pixel font, so that the test can measure its caption.
struct LaidOut
{
    LaidOut(int width, int height, const QString &caption)
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(14);
        button.setFont(font);
        button.resize(width, height);
        button.setCaption(caption);
    }
    QSize measure(const QString &text, int width) const
    {
        const QRect r = QFontMetrics(button.font())
                            .boundingRect(QRect(0, 0, width, 1000),
                                          Qt::TextWordWrap | Qt::TextShowMnemonic, text);
        return QSize(r.width(), r.height());
    }
    QWidget window;
    StyledButton button{&window};
};

} // namespace

TEST(StyledButtonLayoutTest, CaptionIsAlignedWithinTheInnerMargins)
{
    LaidOut b(100, 30, QStringLiteral("&Save"));
    const QSize text = b.measure(QStringLiteral("&Save"), 92);
    const int top = (30 - text.height()) / 2;
    EXPECT_EQ(b.button.captionRect(),
              (ButtonRect{(100 - text.width()) / 2, top, (100 - text.width()) / 2 + text.width(),
                          top + text.height()}));
    b.button.setCaptionAlign(0);
    EXPECT_EQ(b.button.captionRect().left, 4);
    b.button.setCaptionAlign(1);
    EXPECT_EQ(b.button.captionRect().right, 96);

    b.button.setCaptionStyle(1); // the styled caption is 2 pixels wider and higher
    EXPECT_EQ(b.button.captionRect().width(), text.width() + 2);
}

TEST(StyledButtonLayoutTest, SmallPictureSitsBesideTheCaption)
{
    LaidOut b(120, 30, QStringLiteral("Print"));
    const QSize text = b.measure(QStringLiteral("Print"), 120 - 8 - 16);
    b.button.setPicture(ButtonPicture::fromImage(discPicture(16, 16)));

    b.button.setPictureAlign(1); // picture, a 4-pixel gap and caption centred as one group
    const int left = (120 - (text.width() + 16 + 4)) / 2 + 4 + 16;
    EXPECT_EQ(b.button.captionRect().left, left);
    EXPECT_EQ(b.button.pictureRect(), (ButtonRect{left - 20, 7, left - 4, 23}));

    b.button.setPictureAlign(0);
    EXPECT_EQ(b.button.pictureRect().left, 4);
    EXPECT_EQ(b.button.captionRect().left, (120 - 16 - text.width()) / 2 + 16);

    b.button.setPictureAlign(2);
    EXPECT_EQ(b.button.pictureRect().right, 120 - 4);

    b.button.setCaption(QString()); // aligned 3 without a caption acts as 2
    b.button.setPictureAlign(3);
    EXPECT_EQ(b.button.pictureRect().left, 120 - 4 - 16);
    EXPECT_LT(b.button.captionRect().right, b.button.captionRect().left);
}

TEST(StyledButtonLayoutTest, PictureAboveOrBelowStacksWithTheCaption)
{
    LaidOut b(80, 60, QStringLiteral("OK"));
    const QSize text = b.measure(QStringLiteral("OK"), 72);
    b.button.setPicture(ButtonPicture::fromImage(discPicture(16, 16)));
    b.button.setPictureAlign(4);
    const int top = (60 - (text.height() + 16)) / 2;
    EXPECT_EQ(b.button.pictureRect(), (ButtonRect{32, top, 48, top + 16}));
    EXPECT_EQ(b.button.captionRect().top, top + 2 + 16);
    b.button.setPictureAlign(5);
    const int d = (60 - (text.height() + 16)) / 2;
    EXPECT_EQ(b.button.captionRect().top, d + 2);
    EXPECT_EQ(b.button.pictureRect().top, d + text.height() + 4);
}

TEST(StyledButtonLayoutTest, LongAndBrokenCaptionsWrapAndAreCut)
{
    LaidOut b(100, 60, QStringLiteral("Book||List"));
    const QSize oneLine = b.measure(QStringLiteral("Book"), 92);
    EXPECT_EQ(b.button.captionRect().height(), 2 * oneLine.height());

    b.button.resize(100, 20);
    b.button.setCaption(QStringLiteral("A caption far too long for so small a button"));
    EXPECT_EQ(b.button.captionRect().top, 4);
    EXPECT_EQ(b.button.captionRect().bottom, 15);
}

TEST(StyledButtonLayoutTest, LargePicturesAreStretchedOrFitted)
{
    LaidOut b(100, 40, QStringLiteral("Go"));
    b.button.setPicture(ButtonPicture::fromImage(discPicture(32, 16)));
    b.button.setPictureSize(3); // 40 pixels: over the whole button less 3
    EXPECT_EQ(b.button.pictureRect(), (ButtonRect{3, 3, 97, 37}));
    EXPECT_EQ(b.button.pictureCache().size(), QSize(94, 34));
    b.button.setButtonShape(6);
    EXPECT_EQ(b.button.pictureRect(), (ButtonRect{1, 1, 99, 39}));
    b.button.setButtonShape(0);

    b.button.setPictureSize(4); // 48 pixels: fitted into the button less 12, centred
    EXPECT_EQ(b.button.pictureRect(), (ButtonRect{22, 6, 78, 34}));
    EXPECT_EQ(b.button.pictureCache().size(), QSize(56, 28));
}
