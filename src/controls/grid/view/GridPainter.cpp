#include "controls/grid/view/GridPainter.h"

#include "core/Colour.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QRegularExpression>

#include <cfenv>
#include <cmath>

namespace GridPaint {

namespace {

QColor qc(quint32 colour)
{
    return QColor(Colour::red(colour), Colour::green(colour), Colour::blue(colour));
}

bool isBreakable(QChar ch)
{
    const ushort u = ch.unicode();
    const bool letter = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
    return !letter && u != '_';
}

QString trimSpaces(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == QLatin1Char(' '))
        ++start;
    while (end > start && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

// Word break with word ellipsis: a word wider than the line is cut with "..." instead of
// running past the edge.
QString elideLongWords(const QString &text, const QFontMetrics &metrics, int width)
{
    QStringList words = text.split(QLatin1Char(' '));
    for (QString &word : words) {
        if (!word.contains(QLatin1Char('\n')) && metrics.horizontalAdvance(word) > width)
            word = metrics.elidedText(word, Qt::ElideRight, width);
    }
    return words.join(QLatin1Char(' '));
}

} // namespace

quint32 BlendColor(quint32 a, quint32 b, int alpha)
{
    const auto channel = [&](int shift) {
        const double ca = double((a >> shift) & 0xFF);
        const double cb = double((b >> shift) & 0xFF);
        // nearbyint rounds halves to the even neighbour in the default rounding mode.
        return quint32(std::nearbyint(cb * (255 - alpha) / 255.0 + ca * alpha / 255.0)) & 0xFF;
    };
    return channel(0) | (channel(8) << 8) | (channel(16) << 16);
}

qint16 ToSignedWord(int value)
{
    const int low = value & 0xFFFF;
    return qint16(low > 32767 ? low - 65536 : low);
}

QRect toQRect(const PixelRect &rect)
{
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void DrawLine(QPainter &painter, int x1, int y1, int x2, int y2, quint32 colour, int width)
{
    width = std::max(width, 1);
    const int half = width / 2;
    if (y1 == y2) {
        if (x1 == x2)
            return;
        const int from = x2 > x1 ? x1 : x2 + 1;
        const int to = x2 > x1 ? x2 : x1 + 1;
        painter.fillRect(QRect(from, y1 - half, to - from, width), qc(colour));
    } else if (x1 == x2) {
        const int from = y2 > y1 ? y1 : y2 + 1;
        const int to = y2 > y1 ? y2 : y1 + 1;
        painter.fillRect(QRect(x1 - half, from, width, to - from), qc(colour));
    } else {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(qc(colour), width));
        painter.drawLine(x1, y1, x2, y2);
        painter.restore();
    }
}

void DrawRectangle(QPainter &painter, const PixelRect &rect, quint32 colour, bool fill)
{
    const QRect r = toQRect(rect);
    if (r.width() <= 0 || r.height() <= 0)
        return;
    if (fill) {
        painter.fillRect(r, qc(colour));
        return;
    }
    const QColor c = qc(colour);
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
}

void DrawGradient(QPainter &painter, const PixelRect &rect, quint32 colour1, quint32 colour2,
                  bool vertical)
{
    const QRect r = toQRect(rect);
    if (r.width() <= 0 || r.height() <= 0)
        return;
    if (colour1 == colour2) {
        painter.fillRect(r, qc(colour1));
        return;
    }
    // From the centre of the first pixel line to the centre of the last, so both ends show
    // their colour exactly.
    const QPointF start(r.left() + 0.5, r.top() + 0.5);
    const QPointF end = vertical ? QPointF(r.left() + 0.5, r.bottom() + 0.5)
                                 : QPointF(r.right() + 0.5, r.top() + 0.5);
    QLinearGradient gradient(start, end);
    gradient.setColorAt(0, qc(colour1));
    gradient.setColorAt(1, qc(colour2));
    painter.fillRect(r, gradient);
}

int qtTextFlags(int format)
{
    int flags = 0;
    switch (format & 3) {
    case Centre:
        flags |= Qt::AlignHCenter;
        break;
    case Right:
        flags |= Qt::AlignRight;
        break;
    default:
        flags |= Qt::AlignLeft;
        break;
    }
    if (format & SingleLine) {
        flags |= Qt::TextSingleLine;
        if (format & VCentre)
            flags |= Qt::AlignVCenter;
        else if (format & Bottom)
            flags |= Qt::AlignBottom;
        else
            flags |= Qt::AlignTop;
    } else {
        flags |= Qt::AlignTop;
        if (format & WordBreak)
            flags |= Qt::TextWordWrap;
    }
    return flags;
}

void DrawTextAuto(QPainter &painter, const QString &text, PixelRect &rect, int format,
                  quint32 colour)
{
    QString shown = text;
    if (shown.contains(QLatin1Char('\r'))) {
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    const int flags = qtTextFlags(format);
    const QFontMetrics metrics(painter.font());
    const QRect r = toQRect(rect);
    if (format & CalcRect) {
        const QRect bound = metrics.boundingRect(
            QRect(r.left(), r.top(), std::max(r.width(), 1), 100000), flags, shown);
        if (format & WordBreak && !(format & SingleLine)) {
            rect.bottom = rect.top + bound.height();
        } else {
            rect.right = rect.left + bound.width();
            rect.bottom = rect.top + bound.height();
        }
        return;
    }
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const bool ellipsis = format & (EndEllipsis | WordEllipsis);
    if (ellipsis) {
        if (format & WordBreak && !(format & SingleLine)) {
            if (format & WordEllipsis)
                shown = elideLongWords(shown, metrics, r.width());
        } else if (!shown.contains(QLatin1Char('\n')) || (format & SingleLine)) {
            if (metrics.horizontalAdvance(shown) > r.width())
                shown = metrics.elidedText(shown, Qt::ElideRight, r.width());
        }
    }
    painter.setPen(qc(colour));
    painter.drawText(r, flags, shown);
}

void DrawFrameButton(QPainter &painter, const PixelRect &rect, FrameLook look)
{
    const QRect r = toQRect(rect);
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QColor face = Colour::toQColor(Colour::system(Colour::ButtonFace));
    const QColor light = Colour::toQColor(Colour::system(Colour::ButtonHighlight));
    const QColor shadow = Colour::toQColor(Colour::system(Colour::ButtonShadow));
    const QColor dark = Colour::toQColor(Colour::system(Colour::ThreeDDarkShadow));
    painter.fillRect(r, face);
    const auto frame = [&](const QRect &box, const QColor &topLeft, const QColor &bottomRight) {
        painter.fillRect(QRect(box.left(), box.top(), box.width(), 1), topLeft);
        painter.fillRect(QRect(box.left(), box.top(), 1, box.height()), topLeft);
        painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), bottomRight);
        painter.fillRect(QRect(box.right(), box.top(), 1, box.height()), bottomRight);
    };
    switch (look) {
    case FrameLook::Raised:
    case FrameLook::Hot:
        frame(r, light, dark);
        if (r.width() > 2 && r.height() > 2)
            frame(r.adjusted(1, 1, -1, -1), look == FrameLook::Hot ? light : face, shadow);
        break;
    case FrameLook::Flat:
        frame(r, shadow, shadow);
        break;
    case FrameLook::Pressed:
        frame(r, shadow, shadow);
        break;
    }
}

void DrawClassicCheckBox(QPainter &painter, PixelRect rect, bool checked)
{
    if (rect.bottom - rect.top > 14) {
        const int half = (rect.top + 14 - rect.bottom) / 2;
        rect.top -= half;
        rect.bottom += half;
    }
    const int side = std::min(rect.right - rect.left, rect.bottom - rect.top);
    if (side < 4)
        return;
    const int top = rect.top + (rect.bottom - rect.top - side) / 2;
    const QRect box(rect.left, top, side, side);
    painter.fillRect(box, Qt::white);
    painter.fillRect(QRect(box.left(), box.top(), side, 1), QColor(0x80, 0x80, 0x80));
    painter.fillRect(QRect(box.left(), box.bottom(), side, 1), QColor(0x80, 0x80, 0x80));
    painter.fillRect(QRect(box.left(), box.top(), 1, side), QColor(0x80, 0x80, 0x80));
    painter.fillRect(QRect(box.right(), box.top(), 1, side), QColor(0x80, 0x80, 0x80));
    if (!checked)
        return;
    // A tick of two strokes, three pixels thick, inside the box.
    const int x = box.left() + (side - 7) / 2;
    const int y = box.top() + (side - 7) / 2 + 2;
    for (int k = 0; k < 3; ++k) {
        for (int t = 0; t < 3; ++t)
            painter.fillRect(QRect(x + k, y + k + t, 1, 1), Qt::black);
    }
    for (int k = 0; k < 4; ++k) {
        for (int t = 0; t < 3; ++t)
            painter.fillRect(QRect(x + 3 + k, y + 1 - k + t, 1, 1), Qt::black);
    }
}

void DrawSortArrow(QPainter &painter, int x, int y, int width, int height, int sortState,
                   quint32 colour)
{
    if (sortState == 0)
        return;
    for (int k = 0; k < height; ++k) {
        const int lineY = sortState == 2 ? y + height - 1 - k : y + k;
        DrawLine(painter, x + k, lineY, x + k + width - 2 * k, lineY, colour, 1);
    }
}

QString WrapText(const QString &text, int width, int maxLines,
                 const std::function<int(const QString &)> &measure)
{
    const QString source =
        trimSpaces(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    const QString crlf = QStringLiteral("\r\n");
    QString line;
    QString result;
    qsizetype breakAt = 0;
    int emitted = 0;
    bool stopped = false;
    for (const QChar ch : source) {
        line += ch;
        if (isBreakable(ch))
            breakAt = line.size();
        if (breakAt != 0 && measure(line) >= width) {
            if (!result.isEmpty())
                result += crlf;
            result += trimSpaces(line.left(breakAt));
            line = breakAt == line.size() ? QString() : trimSpaces(line.mid(breakAt));
            breakAt = 0;
            if (maxLines != -1)
                ++emitted;
        }
        if (emitted == maxLines) {
            stopped = true;
            break;
        }
    }
    if (!stopped) {
        // An empty rest adds no empty last line: a text that fits must not read as two lines.
        const QString rest = maxLines == -1 ? line : trimSpaces(line);
        if (!rest.isEmpty()) {
            if (!result.isEmpty())
                result += crlf;
            result += rest;
        }
        return result;
    }
    if (!line.isEmpty())
        line[line.size() - 1] = QLatin1Char(' ');
    result += line;
    result.chop(3);
    return trimSpaces(result) + QStringLiteral("...");
}

} // namespace GridPaint
