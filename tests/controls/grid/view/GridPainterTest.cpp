#include "controls/grid/view/GridPainter.h"
#include "controls/grid/view/HeaderStyles.h"
#include "core/Colour.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace GridPaint;

namespace {

quint32 at(const QImage &image, int x, int y)
{
    return Colour::fromQColor(image.pixelColor(x, y));
}

QImage blank(int w = 60, int h = 40)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

int tenPerChar(const QString &s)
{
    return int(s.size()) * 10;
}

} // namespace

TEST(GridPainter, BlendIsAsymmetricAndSignedWordsWrap)
{
    EXPECT_EQ(BlendColor(0x123456, 0xABCDEF, 255), 0x123456u);
    EXPECT_EQ(BlendColor(0x123456, 0xABCDEF, 0), 0xABCDEFu);
    EXPECT_EQ(BlendColor(0x0000FF, 0x000000, 128), 0x000080u);
    EXPECT_EQ(BlendColor(0x000000, 0x0000FF, 128), 0x00007Fu);
    EXPECT_EQ(ToSignedWord(65280), -256);
    EXPECT_EQ(ToSignedWord(32767), 32767);
}

TEST(GridPainter, LinesLeaveOutTheEndPointAndFramesStayInside)
{
    QImage image = blank();
    {
        QPainter p(&image);
        DrawLine(p, 2, 1, 10, 1, 0xFFFFFF);
        DrawLine(p, 5, 30, 5, 20, 0x0000FF);
        DrawRectangle(p, {20, 10, 30, 20}, 0x00FF00, false);
        DrawGradient(p, {40, 0, 50, 10}, 0x000000, 0xFFFFFF, true);
    }
    EXPECT_EQ(at(image, 2, 1), 0xFFFFFFu);
    EXPECT_EQ(at(image, 9, 1), 0xFFFFFFu);
    EXPECT_EQ(at(image, 10, 1), 0u);
    EXPECT_EQ(at(image, 5, 30), 0x0000FFu);
    EXPECT_EQ(at(image, 5, 20), 0u);
    EXPECT_EQ(at(image, 20, 10), 0x00FF00u);
    EXPECT_EQ(at(image, 29, 19), 0x00FF00u);
    EXPECT_EQ(at(image, 30, 19), 0u);
    EXPECT_EQ(at(image, 25, 15), 0u);
    EXPECT_EQ(at(image, 45, 0), 0u);
    EXPECT_EQ(at(image, 45, 9), 0xFFFFFFu);
}

TEST(GridPainter, TextFlagsCentreVerticallyOnlyOnOneLine)
{
    EXPECT_TRUE(qtTextFlags(Centre | VCentre | SingleLine) & Qt::AlignVCenter);
    EXPECT_TRUE(qtTextFlags(Centre | VCentre) & Qt::AlignTop);
    EXPECT_TRUE(qtTextFlags(WordBreak) & Qt::TextWordWrap);
    EXPECT_TRUE(qtTextFlags(Right | SingleLine) & Qt::AlignRight);
    EXPECT_FALSE(qtTextFlags(SingleLine) & Qt::TextShowMnemonic);

    QImage image = blank(200, 40);
    QPainter p(&image);
    PixelRect measured{0, 0, 0, 0};
    DrawTextAuto(p, QStringLiteral("A&B"), measured, SingleLine | CalcRect, 0xFFFFFF);
    EXPECT_NEAR(measured.right, p.fontMetrics().horizontalAdvance(QStringLiteral("A&B")), 1);
    p.end();
    EXPECT_EQ(image.pixel(5, 5), QColor(Qt::black).rgb()); // measuring draws nothing
}

TEST(GridPainter, WrapTextBreaksAtNonLettersAndCutsAtTheLimit)
{
    EXPECT_EQ(WrapText(QStringLiteral("Date of issue"), 60, 3, tenPerChar),
              QStringLiteral("Date\r\nof\r\nissue"));
    EXPECT_EQ(WrapText(QStringLiteral("Date of"), 200, 3, tenPerChar), QStringLiteral("Date of"));
    EXPECT_EQ(WrapText(QStringLiteral("one two three four five six"), 40, 3, tenPerChar),
              QStringLiteral("one\r\ntwo\r\nth..."));
    EXPECT_EQ(WrapText(QStringLiteral("Accessionnumber"), 30, 3, tenPerChar),
              QStringLiteral("Accessionnumber"));
    EXPECT_EQ(WrapText(QStringLiteral("ab\r\ncd"), 200, -1, tenPerChar), QStringLiteral("ab cd"));
    EXPECT_FALSE(WrapText(QStringLiteral("short"), 200, -1, tenPerChar).contains(u'\r'));
}

TEST(GridPainter, SortArrowsPointByState)
{
    QImage image = blank();
    {
        QPainter p(&image);
        DrawSortArrow(p, 0, 0, 9, 5, 2, 0xFFFFFF);
        DrawSortArrow(p, 20, 0, 9, 5, 1, 0xFFFFFF);
        DrawSortArrow(p, 40, 0, 6, 3, 0, 0xFFFFFF);
    }
    // Ascending: the long line at the bottom.
    EXPECT_EQ(at(image, 0, 4), 0xFFFFFFu);
    EXPECT_EQ(at(image, 8, 4), 0xFFFFFFu);
    EXPECT_EQ(at(image, 0, 0), 0u);
    EXPECT_EQ(at(image, 4, 0), 0xFFFFFFu);
    // Descending: the long line at the top.
    EXPECT_EQ(at(image, 20, 0), 0xFFFFFFu);
    EXPECT_EQ(at(image, 20, 4), 0u);
    EXPECT_EQ(at(image, 24, 4), 0xFFFFFFu);
    EXPECT_EQ(at(image, 42, 1), 0u);
}

TEST(HeaderStyles, PaintStatesAndLeaveOthersAlone)
{
    const HeaderStyles::ThemeColours colours{0xFCE1CB, 0xE0A57D};
    QImage image = blank(100, 40);
    {
        QPainter p(&image);
        PixelRect r{0, 0, 40, 20};
        HeaderStyles::PaintHeaderStyle3(p, r, 1, colours);
        EXPECT_EQ(r.right, 40);
        PixelRect hot{50, 0, 90, 20};
        HeaderStyles::PaintHeaderStyle3(p, hot, 2, colours);
        EXPECT_EQ(hot.right, 89); // narrowed on the caller's rectangle
        PixelRect none{0, 20, 40, 40};
        HeaderStyles::PaintHeaderStyle3(p, none, 4, colours);
        HeaderStyles::PaintHeaderStyle45(p, none, 0, false, false, colours);
        HeaderStyles::PaintHeaderStyle67(p, none, 5, false, false, colours);
    }
    EXPECT_EQ(at(image, 5, 0), 0xFCE1CBu);  // top line in From
    EXPECT_EQ(at(image, 38, 5), 0xE0A57Du); // divider in To
    EXPECT_EQ(at(image, 0, 5), 0xFFFFFFu);  // left line
    EXPECT_EQ(at(image, 60, 0), 0x9C613Bu); // hot border
    EXPECT_EQ(at(image, 89, 10), 0u);       // the narrowed edge stays unpainted
    EXPECT_EQ(at(image, 10, 30), 0u);
}

TEST(HeaderStyles, FlatLooksDrawTheirBottomLinesDividersAndFrames)
{
    const HeaderStyles::ThemeColours colours{0x404080, 0xC0E0FF};
    QImage image = blank(200, 40);
    {
        QPainter p(&image);
        HeaderStyles::PaintHeaderStyle45(p, {0, 0, 40, 20}, 3, false, false, colours);
        HeaderStyles::PaintHeaderStyle45(p, {50, 0, 90, 20}, 3, false, true, colours);
        HeaderStyles::PaintHeaderStyle45(p, {100, 0, 140, 20}, 1, true, false, colours);
        HeaderStyles::PaintHeaderStyle67(p, {0, 20, 40, 40}, 2, false, false, colours);
    }
    EXPECT_EQ(at(image, 10, 19), 0x7DD2FAu);
    EXPECT_EQ(at(image, 38, 10), 0x717C80u); // style 4 pressed keeps its divider
    EXPECT_EQ(at(image, 0, 10), 0xCCCCCCu);
    EXPECT_EQ(at(image, 60, 17), 0x00A9F8u);
    EXPECT_EQ(at(image, 88, 10), 0xC0E0FFu); // style 5 pressed: no divider, just the fill
    EXPECT_EQ(at(image, 50, 10), 0xC0E0FFu);
    EXPECT_EQ(at(image, 110, 18), 0x99A8ACu); // caption look
    EXPECT_EQ(at(image, 110, 19), 0xFFFFFFu);
    // Style 6 hot: every row painted, framed in To last.
    EXPECT_EQ(at(image, 0, 30), 0xC0E0FFu);
    EXPECT_EQ(at(image, 39, 30), 0xC0E0FFu);
    for (int y = 21; y < 39; ++y)
        EXPECT_NE(at(image, 20, y), 0u) << y;
}
