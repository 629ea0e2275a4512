#include "controls/button/ButtonCanvas.h"

#include "controls/button/ButtonColours.h"
#include "controls/button/ButtonPicture.h"

#include <QtMath>
#include <cstdlib>

ButtonCanvas::~ButtonCanvas()
{
    end();
}

void ButtonCanvas::resize(QSize size, qreal devicePixelRatio)
{
    end();
    clip_.reset();
    ratio_ = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    if (size.width() <= 0 || size.height() <= 0) {
        image_ = QImage();
        size_ = QSize();
        return;
    }
    size_ = size;
    image_ = QImage(QSize(qCeil(size.width() * ratio_), qCeil(size.height() * ratio_)),
                    QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio_);
    image_.fill(Qt::black);
}

QRect ButtonCanvas::devicePixels(int x, int y) const
{
    const int left = qFloor(x * ratio_), top = qFloor(y * ratio_);
    return QRect(QPoint(left, top), QPoint(std::max(left, qFloor((x + 1) * ratio_) - 1),
                                           std::max(top, qFloor((y + 1) * ratio_) - 1))) &
           image_.rect();
}

const QImage &ButtonCanvas::image()
{
    end();
    return image_;
}

QPainter &ButtonCanvas::painter()
{
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        if (clip_)
            painter_->setClipRegion(*clip_);
    }
    return *painter_;
}

void ButtonCanvas::end()
{
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

void ButtonCanvas::setClip(const QRegion *region)
{
    if (region)
        clip_ = *region;
    else
        clip_.reset();
    if (painter_) {
        if (clip_)
            painter_->setClipRegion(*clip_);
        else
            painter_->setClipping(false);
    }
}

QColor ButtonCanvas::toQColor(qint32 colour)
{
    const qint32 rgb = ButtonColours::translateSysColor(colour);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

void ButtonCanvas::fillRect(int left, int top, int right, int bottom, qint32 colour)
{
    penColour_ = colour;
    if (image_.isNull() || right <= left || bottom <= top)
        return;
    painter().fillRect(QRect(left, top, right - left, bottom - top), toQColor(colour));
}

void ButtonCanvas::setPixel(int x, int y, qint32 colour)
{
    if (image_.isNull())
        return;
    painter().fillRect(QRect(x, y, 1, 1), toQColor(colour));
}

void ButtonCanvas::segment(QPoint from, QPoint to)
{
    if (image_.isNull())
        return;
    QPainter &p = painter();
    const QColor colour = toQColor(penColour_);
    if (from.y() == to.y() || from.x() == to.x()) {
        // Axis-aligned: one rectangle, the end point left out.
        QRect r;
        if (from.y() == to.y()) {
            if (from.x() == to.x())
                return;
            const int step = to.x() > from.x() ? 1 : -1;
            const int last = to.x() - step;
            r = QRect(QPoint(std::min(from.x(), last), from.y()),
                      QPoint(std::max(from.x(), last), from.y()));
        } else {
            const int step = to.y() > from.y() ? 1 : -1;
            const int last = to.y() - step;
            r = QRect(QPoint(from.x(), std::min(from.y(), last)),
                      QPoint(from.x(), std::max(from.y(), last)));
        }
        p.fillRect(r, colour);
        return;
    }
    // Slanted: Bresenham, the end point left out.
    int x = from.x(), y = from.y();
    const int dx = std::abs(to.x() - x), dy = -std::abs(to.y() - y);
    const int sx = x < to.x() ? 1 : -1, sy = y < to.y() ? 1 : -1;
    int error = dx + dy;
    while (x != to.x() || y != to.y()) {
        p.fillRect(QRect(x, y, 1, 1), colour);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void ButtonCanvas::fillRegion(const QRegion &region, qint32 colour)
{
    if (image_.isNull())
        return;
    QPainter &p = painter();
    const QColor c = toQColor(colour);
    for (const QRect &r : region)
        p.fillRect(r, c);
}

QRegion ButtonCanvas::frameOf(const QRegion &region)
{
    const QRegion eroded = region & region.translated(1, 0) & region.translated(-1, 0) &
                           region.translated(0, 1) & region.translated(0, -1);
    return region - eroded;
}

void ButtonCanvas::frameRegion(const QRegion &region, qint32 colour)
{
    fillRegion(frameOf(region), colour);
}

void ButtonCanvas::drawText(const ButtonRect &rect, int flags, const QString &text, qint32 colour,
                            const QFont &font)
{
    if (image_.isNull())
        return;
    QPainter &p = painter();
    p.setFont(font);
    p.setPen(toQColor(colour));
    p.drawText(rect.toQRect(), flags, text);
}

void ButtonCanvas::invertFocusRect(const ButtonRect &rect)
{
    if (image_.isNull() || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    end();
    const QRect bounds(QPoint(0, 0), size_);
    auto invert = [this, &bounds](int x, int y) {
        if (!bounds.contains(x, y) || (clip_ && !clip_->contains(QPoint(x, y))))
            return;
        const QRect block = devicePixels(x, y);
        for (int py = block.top(); py <= block.bottom(); ++py)
            for (int px = block.left(); px <= block.right(); ++px)
                image_.setPixel(px, py, image_.pixel(px, py) ^ 0x00FFFFFFu);
    };
    // Every other pixel along the outline, counted round the rectangle.
    int n = 0;
    for (int x = rect.left; x < rect.right; ++x, ++n)
        if (n % 2 == 0)
            invert(x, rect.top);
    for (int y = rect.top + 1; y < rect.bottom; ++y, ++n)
        if (n % 2 == 0)
            invert(rect.right - 1, y);
    for (int x = rect.right - 2; x >= rect.left; --x, ++n)
        if (n % 2 == 0 && rect.bottom - 1 > rect.top)
            invert(x, rect.bottom - 1);
    for (int y = rect.bottom - 2; y > rect.top; --y, ++n)
        if (n % 2 == 0 && rect.right - 1 > rect.left)
            invert(rect.left, y);
}

void ButtonCanvas::drawImage(const QRect &target, const QImage &image)
{
    if (image_.isNull() || image.isNull())
        return;
    painter().drawImage(target, image);
}

void ButtonCanvas::blendGrey(QPoint topLeft, const QImage &scratch)
{
    if (image_.isNull() || scratch.isNull())
        return;
    end();
    const QImage source = scratch.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        const int ty = topLeft.y() + y;
        if (ty < 0 || ty >= size_.height())
            continue;
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const int tx = topLeft.x() + x;
            if (tx < 0 || tx >= size_.width() || (clip_ && !clip_->contains(QPoint(tx, ty))))
                continue;
            const QRect block = devicePixels(tx, ty);
            for (int py = block.top(); py <= block.bottom(); ++py) {
                auto *out = reinterpret_cast<QRgb *>(image_.scanLine(py));
                for (int px = block.left(); px <= block.right(); ++px)
                    out[px] = ButtonPictures::greyBlend(in[x], out[px]);
            }
        }
    }
}
