#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRegion>
#include <memory>
#include <optional>

// A rectangle as the drawing code measures it: right and bottom are exclusive limits.
struct ButtonRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    void translate(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
    bool operator==(const ButtonRect &) const = default;
};

// The button's back buffer: an image that keeps its pixels between redraws, with a clip region
// and a current pen as the drawing code expects them. Every drawing call honours the clip. The
// drawing code measures in the button's pixels; the image holds the screen's device pixels, so
// the button is crisp at any scale factor.
class ButtonCanvas
{
public:
    ButtonCanvas() = default;
    ButtonCanvas(const ButtonCanvas &) = delete;
    ButtonCanvas &operator=(const ButtonCanvas &) = delete;
    ~ButtonCanvas();

    // A new buffer of the size (in the button's pixels) at the device pixel ratio, black, without
    // clip.
    void resize(QSize size, qreal devicePixelRatio = 1.0);
    QSize size() const { return size_; }
    qreal devicePixelRatio() const { return ratio_; }
    bool isNull() const { return image_.isNull(); }
    // The device pixels, carrying the ratio; ends any drawing in progress.
    const QImage &image();

    // nullptr removes the clip.
    void setClip(const QRegion *region);

    // Fills [left, right) x [top, bottom); like the program's filled rectangles it leaves a pen of
    // the fill colour selected.
    void fillRect(int left, int top, int right, int bottom, qint32 colour);
    void selectPen(qint32 colour) { penColour_ = colour; }
    qint32 penColour() const { return penColour_; }
    // A line in the current pen without its end point.
    void segment(QPoint from, QPoint to);
    void setPixel(int x, int y, qint32 colour);
    void fillRegion(const QRegion &region, qint32 colour);
    // A one-pixel frame just inside the region's outline.
    void frameRegion(const QRegion &region, qint32 colour);
    void drawText(const ButtonRect &rect, int flags, const QString &text, qint32 colour,
                  const QFont &font);
    // The dotted focus rectangle; it inverts, so drawing it twice removes it.
    void invertFocusRect(const ButtonRect &rect);
    void drawImage(const QRect &target, const QImage &image);
    // The disabled picture look: the scratch picture decides per bit between the buffer and grey.
    void blendGrey(QPoint topLeft, const QImage &scratch);

    // The pixels of a region's one-pixel inner frame.
    static QRegion frameOf(const QRegion &region);
    static QColor toQColor(qint32 colour);

private:
    QPainter &painter();
    void end();
    // The device pixels that cover one of the button's pixels.
    QRect devicePixels(int x, int y) const;

    QImage image_;
    QSize size_;
    qreal ratio_ = 1.0;
    std::unique_ptr<QPainter> painter_;
    std::optional<QRegion> clip_;
    qint32 penColour_ = 0;
};
