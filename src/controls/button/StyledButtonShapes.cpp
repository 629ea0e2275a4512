#include "controls/button/ButtonColours.h"
#include "controls/button/StyledButton.h"
#include "core/Units.h"

using ButtonColours::Black;
using ButtonColours::Grey;
using ButtonColours::White;

namespace {

QRegion triangle(QPoint a, QPoint b, QPoint c)
{
    return QRegion(QPolygon({a, b, c}), Qt::WindingFill);
}

QRegion pixel(int x, int y)
{
    return QRegion(x, y, 1, 1);
}

} // namespace

void StyledButton::buildButtonRegion()
{
    int w = W();
    int h = H();
    bodyLeft_ = 0;
    bodyRight_ = w;
    buffer_.setClip(nullptr);
    faceRegion_ = innerRegion_ = QRegion();
    hasFaceRegions_ = false;
    outlinePolygon_.clear();

    const bool cutPixels = buttonStyle_ == 1 || (buttonStyle_ == 3 && isEnabled());
    const bool cutTriangles = buttonStyle_ == 2 || buttonStyle_ == 7;
    auto cutLeftEnd = [&](QRegion &outline) {
        if (cutPixels)
            outline -= pixel(0, 0) + pixel(0, h - 1);
        else if (cutTriangles)
            outline -= triangle({0, 0}, {2, 0}, {0, 2}) + triangle({0, h}, {3, h}, {0, h - 3});
    };
    auto cutRightEnd = [&](QRegion &outline) {
        if (cutPixels)
            outline -= pixel(w - 1, h - 1) + pixel(w - 1, 0);
        else if (cutTriangles)
            outline -=
                triangle({w, 0}, {w - 2, 0}, {w, 2}) + triangle({w, h}, {w - 3, h}, {w, h - 3});
    };

    QRegion outline;
    switch (buttonShape_) {
    case 0:
        outline = QRegion(0, 0, w + 1, h + 1);
        cutLeftEnd(outline);
        cutRightEnd(outline);
        break;
    case 1:
    case 2:
    case 3: {
        const float quarter = float(h + 1) / 4.0f;
        const int m = int(Units::roundHalfEven(4.0f * quarter));
        int n = w;
        while (n - m < 5)
            n += 5;
        if (w != n) {
            // The slant needs room: widen the control without drawing the step in between.
            delayDrawing(true);
            resize(n, h);
            w = n;
            bodyRight_ = w;
            prepareBackBuffer(true);
            drawingDelayed_ = false;
        }
        const int k = w - m;
        QPolygon polygon({QPoint(0, 0), QPoint(0, h + 1), QPoint(w + 1, h + 1), QPoint(w + 1, 0)});
        if (buttonShape_ != 2) {
            polygon[1] = QPoint(m, h + 1);
            bodyLeft_ = m;
        }
        if (buttonShape_ != 1) {
            polygon[3] = QPoint(k + 1, 0);
            bodyRight_ = k;
        }
        outlinePolygon_ = polygon;
        outline = QRegion(polygon, Qt::WindingFill);
        if (buttonShape_ == 2)
            cutLeftEnd(outline);
        else if (buttonShape_ == 1)
            cutRightEnd(outline);
        break;
    }
    case 4:
    case 5:
    case 6:
        outline = QRegion(0, 0, w, h, QRegion::Ellipse);
        if (buttonStyle_ != 5) {
            if (buttonShape_ == 6)
                buffer_.frameRegion(outline, Black);
            else
                paintGradient(White, Grey, 3);
        }
        faceRegion_ = QRegion(1, 1, w - 2, h - 2, QRegion::Ellipse);
        innerRegion_ = QRegion(2, 2, w - 4, h - 4, QRegion::Ellipse);
        hasFaceRegions_ = true;
        break;
    default:
        if (pictureWidth_ == 0 || pictureHeight_ == 0)
            return; // the window keeps the outline it had
        try {
            buildCustomRegion(outline);
        } catch (...) {
            // A failed custom outline must not leave the button without redraws.
            drawingDelayed_ = false;
            return;
        }
        break;
    }
    setMask(outline);
    if (bodyRight_ == 0)
        bodyRight_ = W();
}

void StyledButton::buildCustomRegion(QRegion &outline)
{
    delayDrawing(true);
    const QSize fitted = ButtonColours::fitPictureSize(W(), H(), pictureWidth_, pictureHeight_);
    resize(fitted);
    bodyRight_ = fitted.width();
    prepareBackBuffer(true);
    drawingDelayed_ = false;
    const int w = fitted.width(), h = fitted.height();

    outline = QRegion(0, 0, w, h);
    cachePictureAndScanRegion(w, h, &outline);
    if (buttonShape_ == 8)
        paintGradient(White, Grey, 3);
    else
        buffer_.frameRegion(outline, ButtonColours::translateSysColor(qint32(backColor_)));
    clipBuffer(faceRegion_);
}
