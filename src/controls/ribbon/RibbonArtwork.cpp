#include "controls/ribbon/RibbonArtwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <optional>

namespace RibbonArtwork {

namespace {

struct Palette
{
    QColor stripTop, stripBottom, stripLine;
    QColor bodyTop, bodyBottom, bodyEdge;
    QColor frame, groupTop, groupBottom, bandTop, bandBottom;
    QColor frameLit, groupLitTop, groupLitBottom, bandLitTop, bandLitBottom;
    QColor tabEdge, tabTop;
    QColor hoverEdge, hoverTop, hoverBottom;
    QColor glyph, glyphLit;
    QColor launcher, launcherLit;
    QColor backdrop, backdropLight, backdropInk;
    bool backdropPicture;
};

QColor hex(const char *rgb)
{
    return QColor(QLatin1String(rgb));
}

std::optional<Palette> paletteOf(const QString &type)
{
    if (type == QLatin1String("BLACK")) {
        return Palette{hex("#262626"),
                       hex("#3a3a3a"),
                       hex("#151515"),
                       hex("#e3e5e7"),
                       hex("#b8bcc1"),
                       hex("#2e2e2e"),
                       hex("#8d9197"),
                       hex("#f6f7f8"),
                       hex("#d7d9dc"),
                       hex("#6a6d72"),
                       hex("#45484c"),
                       hex("#aeb3b9"),
                       hex("#fdfdfd"),
                       hex("#e6e8eb"),
                       hex("#7d8086"),
                       hex("#56595e"),
                       hex("#8d9197"),
                       hex("#fafafb"),
                       hex("#7a7a7a"),
                       hex("#626262"),
                       hex("#474747"),
                       hex("#3a3a3a"),
                       hex("#1d5aa8"),
                       hex("#c4c6c9"),
                       hex("#ffffff"),
                       hex("#464646"),
                       hex("#575757"),
                       hex("#666666"),
                       true};
    }
    if (type == QLatin1String("BLUE")) {
        return Palette{hex("#cfe1f7"),
                       hex("#bcd3f1"),
                       hex("#8db2e3"),
                       hex("#e3edfa"),
                       hex("#c3d7f0"),
                       hex("#8db2e3"),
                       hex("#99bbe8"),
                       hex("#f3f8fe"),
                       hex("#d4e4f7"),
                       hex("#c6dbf3"),
                       hex("#b0cbeb"),
                       hex("#b3cdf0"),
                       hex("#fcfeff"),
                       hex("#e3effc"),
                       hex("#d6e7fa"),
                       hex("#c2d8f3"),
                       hex("#8db2e3"),
                       hex("#ffffff"),
                       hex("#a9c6ec"),
                       hex("#f1f7ff"),
                       hex("#d5e6fb"),
                       hex("#15428b"),
                       hex("#d27a10"),
                       hex("#6d8fc5"),
                       hex("#15428b"),
                       hex("#8eb0da"),
                       hex("#a9c5e8"),
                       hex("#7da1cf"),
                       true};
    }
    if (type == QLatin1String("SILVER")) {
        return Palette{
            hex("#f1f3f6"), hex("#e2e5ea"), hex("#b4bac4"), hex("#f6f7f9"), hex("#dce0e6"),
            hex("#a9afb8"), hex("#b2b8c1"), hex("#ffffff"), hex("#eaecf0"), hex("#e1e4e9"),
            hex("#d0d4db"), hex("#c3c8d0"), hex("#ffffff"), hex("#f4f5f7"), hex("#eceef2"),
            hex("#dde0e6"), hex("#b2b8c1"), hex("#ffffff"), hex("#c6cbd2"), hex("#fdfdfe"),
            hex("#eceef2"), hex("#5c626a"), hex("#d27a10"), hex("#8a9099"), hex("#3f444b"),
            hex("#d0d4dd"), hex("#d0d4dd"), hex("#d0d4dd"), false};
    }
    return std::nullopt;
}

// The hover and pressed looks of buttons and launchers are warm in every theme.
struct Warm
{
    QColor edge, top, upper, lower, bottom;
};
const Warm Hover{hex("#dbc27a"), hex("#fffbe6"), hex("#ffeba8"), hex("#ffd863"), hex("#fff0b8")};
const Warm Pressed{hex("#c0975c"), hex("#f9d9ae"), hex("#f7bc72"), hex("#f59c3a"), hex("#fbcb80")};

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QLinearGradient vertical(double top, double bottom, const QColor &from, const QColor &to)
{
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

// Pieces are cut from one wide drawing, so ends and stretched middles always match.
QImage columns(const QImage &source, int from, int count)
{
    return source.copy(from, 0, count, source.height());
}

QImage widened(const QImage &source, int column, int width)
{
    QImage out = blank(width, source.height());
    for (int y = 0; y < source.height(); ++y) {
        const QRgb value = source.pixel(column, y);
        for (int x = 0; x < width; ++x)
            out.setPixel(x, y, value);
    }
    return out;
}

enum class Piece { Left, Middle, Right };

QImage cut(const QImage &whole, Piece piece, int endWidth, int middleWidth, int rightWidth)
{
    switch (piece) {
    case Piece::Left:
        return columns(whole, 0, endWidth);
    case Piece::Middle:
        return widened(whole, whole.width() / 2, middleWidth);
    case Piece::Right:
        break;
    }
    return columns(whole, whole.width() - rightWidth, rightWidth);
}

QPainterPath roundedTop(const QRectF &rect, double radius)
{
    QPainterPath path;
    path.moveTo(rect.left(), rect.bottom());
    path.lineTo(rect.left(), rect.top() + radius);
    path.quadTo(rect.left(), rect.top(), rect.left() + radius, rect.top());
    path.lineTo(rect.right() - radius, rect.top());
    path.quadTo(rect.right(), rect.top(), rect.right(), rect.top() + radius);
    path.lineTo(rect.right(), rect.bottom());
    return path;
}

// 101 to 103: a column of the bar; the top 26 rows lie above the control.
QImage barColumn(const Palette &p, int width, bool leftEdge)
{
    QImage image = blank(width, 142);
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, width, 26), p.stripTop);
    painter.fillRect(QRect(0, 26, width, 23), vertical(26, 49, p.stripTop, p.stripBottom));
    painter.fillRect(QRect(0, 49, width, 1), p.stripLine);
    painter.fillRect(QRect(0, 50, width, 91), vertical(50, 141, p.bodyTop, p.bodyBottom));
    painter.fillRect(QRect(0, 50, width, 1), QColor(255, 255, 255, 90));
    painter.fillRect(QRect(0, 141, width, 1), p.bodyEdge);
    if (leftEdge)
        painter.fillRect(QRect(0, 50, 1, 91), QColor(0, 0, 0, 28));
    return image;
}

// 121 to 126: a category frame, light above and a caption band below.
QImage categoryFrame(const Palette &p, bool lit)
{
    constexpr int Width = 40;
    QImage image = blank(Width, 89);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outline(0.5, 2.5, Width - 2, 85);
    QPainterPath shape;
    shape.addRoundedRect(outline, 3, 3);

    painter.save();
    painter.setClipPath(shape);
    painter.fillRect(QRectF(0, 2, Width, 68), vertical(3, 69, lit ? p.groupLitTop : p.groupTop,
                                                       lit ? p.groupLitBottom : p.groupBottom));
    painter.fillRect(QRectF(0, 70, Width, 18), vertical(70, 87, lit ? p.bandLitTop : p.bandTop,
                                                        lit ? p.bandLitBottom : p.bandBottom));
    painter.fillRect(QRectF(0, 69, Width, 1), QColor(255, 255, 255, lit ? 150 : 110));
    painter.restore();

    painter.setPen(QPen(QColor(255, 255, 255, lit ? 200 : 140), 1));
    painter.drawRoundedRect(outline.adjusted(1, 1, -1, -1), 2, 2);
    painter.setPen(QPen(lit ? p.frameLit : p.frame, 1));
    painter.drawRoundedRect(outline, 3, 3);
    // A soft shadow in the last column parts neighbouring categories.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(Width - 1, 5, 1, 80), QColor(0, 0, 0, 22));
    return image;
}

// 127 to 132: a tab; the selected one opens into the body of the bar below it.
QImage tab(const Palette &p, bool hover)
{
    constexpr int Width = 40;
    QImage image = blank(Width, 24);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outline(0.5, 2.5, Width - 1, 22);
    const QPainterPath shape = roundedTop(outline, 3);
    if (hover) {
        painter.fillPath(shape, vertical(3, 24, p.hoverTop, p.hoverBottom));
        painter.strokePath(shape, QPen(p.hoverEdge, 1));
    } else {
        painter.fillPath(shape, vertical(3, 23, p.tabTop, p.bodyTop));
        painter.strokePath(shape, QPen(p.tabEdge, 1));
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(QRect(1, 23, Width - 2, 1), p.bodyTop);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(3, 3, Width - 6, 1), QColor(255, 255, 255, hover ? 90 : 160));
    return image;
}

void paintWarm(QPainter &painter, const QRectF &outline, const Warm &warm, double radius)
{
    QPainterPath shape;
    shape.addRoundedRect(outline, radius, radius);
    const double top = outline.top();
    const double height = outline.height();
    QLinearGradient fill(0, top, 0, top + height);
    fill.setColorAt(0, warm.top);
    fill.setColorAt(0.42, warm.upper);
    fill.setColorAt(0.45, warm.lower);
    fill.setColorAt(1, warm.bottom);
    painter.fillPath(shape, fill);
    painter.setPen(QPen(QColor(255, 255, 255, 150), 1));
    painter.drawRoundedRect(outline.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    painter.setPen(QPen(warm.edge, 1));
    painter.drawRoundedRect(outline, radius, radius);
}

// 135 to 140: the pressed and hover frames of a button.
QImage buttonFrame(const Warm &warm)
{
    constexpr int Width = 40;
    QImage image = blank(Width, 66);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintWarm(painter, QRectF(0.5, 0.5, Width - 1, 65), warm, 2.5);
    return image;
}

// 133, 134: the small "more" arrow.
QImage moreGlyph(const QColor &colour)
{
    QImage image = blank(5, 4);
    for (int row = 0; row < 3; ++row) {
        for (int x = row; x < 5 - row; ++x)
            image.setPixelColor(x, row, colour);
    }
    return image;
}

// 118 to 120: the dialog launcher, a corner with an arrow out of it.
QImage launcher(const QColor &ink, bool pointed)
{
    QImage image = blank(15, 14);
    QPainter painter(&image);
    if (pointed) {
        painter.setRenderHint(QPainter::Antialiasing);
        paintWarm(painter, QRectF(0.5, 0.5, 14, 13), Hover, 2);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    painter.setPen(QPen(ink, 1));
    painter.drawLine(3, 3, 8, 3);
    painter.drawLine(3, 3, 3, 8);
    painter.drawLine(6, 6, 10, 10);
    painter.drawLine(7, 10, 10, 10);
    painter.drawLine(10, 7, 10, 10);
    return image;
}

// 104 to 117: pieces of a quick-access strip and round menu button the control does not place.
QImage spare(const Palette &p, int number)
{
    QSize size(15, 26);
    if (number <= 109)
        size = QSize(40, 23);
    else if (number <= 112)
        size = QSize(49, 45);
    else if (number == 113)
        size = QSize(18, 26);
    else if (number == 114)
        size = QSize(13, 26);
    else if (number == 117)
        size = QSize(22, 26);
    QImage image = blank(size.width(), size.height());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outline = QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (number >= 110 && number <= 112) {
        const Warm &warm = number == 112 ? Pressed : Hover;
        QRadialGradient glow(outline.center(), outline.height() / 2);
        glow.setColorAt(0, number == 110 ? p.groupTop : warm.upper);
        glow.setColorAt(1, number == 110 ? p.frame : warm.lower);
        painter.setBrush(glow);
        painter.setPen(QPen(number == 110 ? p.frame : warm.edge, 1));
        painter.drawEllipse(outline.adjusted(2, 0, -2, 0));
    } else {
        const bool lit = number % 2 == 1;
        painter.setBrush(vertical(0, size.height(), lit ? p.groupLitTop : p.stripTop,
                                  lit ? p.groupLitBottom : p.stripBottom));
        painter.setPen(QPen(p.frame, 1));
        painter.drawRoundedRect(outline, 3, 3);
    }
    return image;
}

// 141: the main window's backdrop, fading into the window colour at its edges.
QImage backdrop(const Palette &p)
{
    if (!p.backdropPicture) {
        QImage dot = blank(1, 1);
        dot.setPixelColor(0, 0, p.backdrop);
        return dot;
    }
    QImage image = blank(499, 157);
    image.fill(p.backdrop);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(250, 80), 240, QPointF(250, 70));
    glow.setColorAt(0, p.backdropLight);
    glow.setColorAt(1, p.backdrop);
    painter.fillRect(image.rect(), glow);

    // An open book, drawn as two fanned pages with a few lines of text on each.
    painter.setPen(QPen(p.backdropInk, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    for (int side : {-1, 1}) {
        QPainterPath page;
        page.moveTo(250, 120);
        page.cubicTo(250 + side * 30, 104, 250 + side * 70, 104, 250 + side * 100, 116);
        page.lineTo(250 + side * 100, 46);
        page.cubicTo(250 + side * 70, 34, 250 + side * 30, 34, 250, 50);
        page.closeSubpath();
        painter.drawPath(page);
        painter.setPen(QPen(p.backdropInk, 1.5, Qt::SolidLine, Qt::RoundCap));
        for (int line = 0; line < 5; ++line) {
            const double y = 58 + line * 11;
            QPainterPath text;
            text.moveTo(250 + side * 14, y);
            text.cubicTo(250 + side * 36, y - 9, 250 + side * 62, y - 9, 250 + side * 86, y - 2);
            painter.drawPath(text);
        }
        painter.setPen(QPen(p.backdropInk, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    painter.drawLine(QPointF(250, 50), QPointF(250, 120));
    return image;
}

} // namespace

QImage draw(int number, const QString &type)
{
    const std::optional<Palette> found = paletteOf(type);
    if (!found || number < 101 || number > 141)
        return QImage();
    const Palette &p = *found;

    switch (number) {
    case 101:
        return barColumn(p, 11, false);
    case 102:
        return barColumn(p, 7, true);
    case 103:
        return barColumn(p, 7, false);
    case 118:
        return launcher(p.launcher, false);
    case 119:
        return launcher(p.launcherLit, false);
    case 120:
        return launcher(p.glyph, true);
    case 121:
    case 122:
    case 123:
        return cut(categoryFrame(p, false), Piece(number - 121), 4, 5, 5);
    case 124:
    case 125:
    case 126:
        return cut(categoryFrame(p, true), Piece(number - 124), 4, 4, 5);
    case 127:
    case 128:
    case 129:
        return cut(tab(p, false), Piece(number - 127), 10, 18, 10);
    case 130:
    case 131:
    case 132:
        return cut(tab(p, true), Piece(number - 130), 10, 37, 10);
    case 133:
        return moreGlyph(p.glyph);
    case 134:
        return moreGlyph(p.glyphLit);
    case 135:
    case 136:
    case 137:
        return cut(buttonFrame(Pressed), Piece(number - 135), 3, 49, 3);
    case 138:
    case 139:
    case 140:
        return cut(buttonFrame(Hover), Piece(number - 138), 3, 49, 3);
    case 141:
        return backdrop(p);
    default:
        return spare(p, number);
    }
}

} // namespace RibbonArtwork
