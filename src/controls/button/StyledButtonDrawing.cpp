#include "controls/button/ButtonColours.h"
#include "controls/button/StyledButton.h"
#include "core/Units.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <optional>

using ButtonColours::Black;
using ButtonColours::Grey;
using ButtonColours::shade;
using ButtonColours::translateSysColor;
using ButtonColours::White;

namespace {

QSize screenSizeOverride;

QSize screenSize()
{
    if (screenSizeOverride.isValid() && !screenSizeOverride.isEmpty())
        return screenSizeOverride;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        return screen->size();
    return QSize(1024, 768);
}

} // namespace

void StyledButton::setScreenSizeOverride(QSize size)
{
    screenSizeOverride = size;
}

// ---- Redraw -----------------------------------------------------------------------------------

void StyledButton::redrawButton()
{
    if (drawingDelayed_ || W() <= 0 || H() <= 0)
        return;
    if (buffer_.size() != size() ||
        !qFuzzyCompare(buffer_.devicePixelRatio(), devicePixelRatioF())) {
        // A resize the host has not reported yet, or a move to a screen of another scale: renew
        // buffer and outline first.
        resizeHandling();
        return;
    }

    ++redrawCount_;
    Edges edges;
    int look = 0;
    int result = 0;
    switch (buttonStyle_) {
    case 0:
        paintStyle0(edges, look, result);
        break;
    case 1:
        paintStyle1(edges, look, result);
        break;
    case 2:
        paintStyle2(edges, look, result);
        break;
    case 3:
        paintStyle3(edges, look, result);
        break;
    case 4:
        paintStyle4(edges, look, result);
        break;
    case 5:
        paintStyle5(edges, look, result);
        break;
    case 6:
        paintStyle6(edges, look, result);
        break;
    case 7:
        paintStyle7(edges, look, result);
        break;
    default:
        break;
    }
    qint32 frame = edges.colours[12];
    if (result == 0)
        return;
    prepareBackBuffer(false);

    if (result > 1 && buttonShape_ >= 4) {
        const QRegion windowRegion = mask().isEmpty() ? QRegion(rect()) : mask();
        std::optional<QRegion> framed;
        if (buttonShape_ >= 7) {
            if (hoverTracking_ && !drawnPressed()) {
                if (buttonStyle_ != 2)
                    frame = hoverFaceRGB_;
                if (buttonStyle_ == 2 || frame != translateSysColor(qint32(backColor_)))
                    framed = windowRegion;
            } else if (hasFlag(ShowAsDefault)) {
                framed = buttonShape_ == 8 ? innerRegion_ : faceRegion_;
                if (value_ && buttonStyle_ != 2)
                    frame = shade(shadeRGB_, -32);
            }
        } else if (buttonStyle_ == 2 && !drawnPressed()) {
            framed = faceRegion_;
        } else if (buttonShape_ == 6) {
            framed = windowRegion;
        }
        if (framed) {
            QPainter painter(&screen_);
            const QColor colour = ButtonCanvas::toQColor(frame);
            for (const QRect &r : ButtonCanvas::frameOf(*framed))
                painter.fillRect(r, colour);
        }
    }
    if (!inPaintEvent_)
        update();
}

void StyledButton::prepareBackBuffer(bool create)
{
    if (create) {
        buffer_.resize(size(), devicePixelRatioF());
        buffer_.selectPen(Black);
        return;
    }
    screen_ = buffer_.image().copy();
}

// ---- Cached resources -------------------------------------------------------------------------

void StyledButton::refreshFont()
{
    // The font goes in by character height in pixels, as the program always sized it.
    QFont f = font();
    if (f.pointSizeF() > 0)
        f.setPixelSize(int(Units::roundHalfEven(f.pointSizeF() * 20.0 / Units::TwipsPerPixel)));
    bufferFont_ = f;
}

void StyledButton::refreshPicture()
{
    if (picture_.isNothing()) {
        pictureCache_ = QImage();
        pictureWidth_ = pictureHeight_ = 0;
        return;
    }
    const QSize natural = picture_.naturalSize();
    pictureWidth_ = natural.width();
    pictureHeight_ = natural.height();
    pictureIsIcon_ = picture_.isIcon() ? 1 : 0;
}

void StyledButton::refreshBackColours()
{
    faceRGB_ = shadeRGB_ = translateSysColor(qint32(backColor_));
    hoverFaceRGB_ = translateSysColor(qint32(hoverBackColor_));
    switch (buttonStyle_) {
    case 7:
        faceRGB_ = shade(faceRGB_, 31);
        shadeRGB_ = shade(Grey, -16);
        hoverFaceRGB_ = shade(hoverFaceRGB_, 31);
        checkedFaceRGB_ = shade(Grey, 16, true);
        break;
    case 2:
        faceRGB_ = shade(faceRGB_, 48, true);
        shadeRGB_ = shade(faceRGB_, -32, true);
        hoverFaceRGB_ = shade(hoverFaceRGB_, 48, true);
        checkedFaceRGB_ = shade(White, -32, true);
        break;
    case 3:
        shadeRGB_ = shade(Grey, 12);
        checkedFaceRGB_ = shade(shadeRGB_, 31);
        break;
    default:
        checkedFaceRGB_ = shade(White, -32);
        break;
    }
}

// ---- Face -------------------------------------------------------------------------------------

void StyledButton::clipBuffer(const QRegion &region)
{
    // Rectangular and slanted outlines have no face regions: clipping to them removes the clip.
    buffer_.setClip(hasFaceRegions_ ? &region : nullptr);
}

void StyledButton::paintBackground(qint32 face, int &look, int &result, qint32 gradient,
                                   qint32 &hover)
{
    clipToShape(result);
    if (result == 0)
        return;
    look = drawnPressed() ? 2 : (hasFlag(ShowAsDefault) ? 1 : 0);
    if (hover < 0)
        hover = face;
    qint32 fill = face;
    if (hoverTracking_ && !(mode_ == 0 && drawnPressed()) && !(mode_ != 0 && value_))
        fill = hover;
    const int w = W(), h = H();
    if (gradientMode_ != 0 && !value_ && buttonShape_ < 7) {
        if (hoverTracking_ && !drawnPressed() && gradientColor_ != hoverBackColor_) {
            buffer_.fillRect(0, 0, w, h, hover);
        } else {
            if (gradient < 0)
                gradient = face;
            paintGradient(face, gradient, gradientMode_);
        }
    } else if (buttonStyle_ == 2 && (isEnabled() || mode_ != 0)) {
        // Shaded rows, about 25 steps darker at the bottom.
        for (int i = 0; i <= h; ++i) {
            const int offset = int(Units::roundHalfEven(-(25.0 / h) * i));
            buffer_.fillRect(0, i, w, i + 1, shade(fill, offset, true));
        }
    } else {
        buffer_.fillRect(0, 0, w, h, fill);
    }
}

void StyledButton::clipToShape(int &result)
{
    if (offsetPressedWindow()) {
        result = 0;
        return;
    }
    result = 1;
    if (buttonStyle_ == 5 && !hoverTracking_ && !drawnPressed() && !value_) {
        buffer_.setClip(nullptr);
        return;
    }
    buffer_.setClip(nullptr);
    if (buttonStyle_ == 5 && !(!value_ && (buttonShape_ == 6 || buttonShape_ == 7))) {
        paintGradient(White, Grey, 3);
        clipBuffer(innerRegion_);
        result = 4;
    }
    if ((drawnPressed() || value_) && buttonShape_ != 6 && buttonShape_ != 7) {
        clipBuffer(faceRegion_);
        paintGradient(Grey, White, 3);
        clipBuffer(innerRegion_);
        result = 4;
    } else if (buttonShape_ == 7 || (buttonShape_ == 6 && hoverTracking_)) {
        const QRegion windowRegion = mask().isEmpty() ? QRegion(rect()) : mask();
        buffer_.setClip(nullptr);
        buffer_.frameRegion(windowRegion,
                            buttonShape_ == 7 ? translateSysColor(qint32(backColor_)) : Black);
        clipBuffer(faceRegion_);
        result = 3;
    } else if (buttonShape_ != 6) {
        clipBuffer(faceRegion_);
        result = 3;
    }
}

void StyledButton::paintGradient(qint32 from, qint32 to, int mode)
{
    const int w = W(), h = H();
    if (w <= 0 || h <= 0)
        return;
    const bool horizontal = mode < 3;
    const QSize screen = screenSize();
    const int ratio = horizontal ? screen.width() / w : screen.height() / h;
    // Buttons wider (or taller) than a quarter of the screen take 2-pixel bands.
    const int band = ratio < 4 ? 2 : 1;
    const int n = (horizontal ? w : h) / band;
    const std::vector<qint32> colours = ButtonColours::computeGradientSteps(n, from, to);
    for (int i = 0; i < n; ++i) {
        const qint32 colour = mode % 2 == 1 ? colours[i] : colours[n - 1 - i];
        if (horizontal)
            buffer_.fillRect(i * band, 0, i * band + band, h, colour);
        else
            buffer_.fillRect(0, i * band, w, i * band + band, colour);
    }
}

// ---- Edges and the default frame --------------------------------------------------------------

void StyledButton::drawEdges(Edges &edges, int)
{
    const int l = (buttonShape_ == 1 || buttonShape_ == 3) ? 1 : 0;
    const int r = (buttonShape_ == 2 || buttonShape_ == 3) ? 1 : 0;
    const int w = W(), h = H();
    auto &p = edges.points;
    p[0] = {bodyLeft_ + 2 - 4 * l, h - 3};
    p[1] = {2 + 2 * l, 2};
    p[2] = {bodyRight_ - 3 + 3 * r, 2};
    p[3] = {w - 3 - 3 * r, h - 3};
    p[4] = {bodyLeft_ + 1 - 4 * l, h - 3};
    p[5] = {p[0].x() + l - 1, p[0].y() + 1};
    p[6] = {p[1].x() - 1 - l, p[1].y() - 1};
    p[7] = {p[2].x() + 1 - r, p[2].y() - 1};
    p[8] = {p[3].x() + r + 1, p[3].y() + 1};
    p[9] = {p[4].x() - 1, p[4].y() + 1};
    p[10] = {bodyLeft_ - l, h - 1 + l};
    p[11] = {0, 0};
    p[12] = {bodyRight_ - 1 + r, 0};
    p[13] = {w - 1, h - 1 + r};
    p[14] = {bodyLeft_ - 1 - 2 * l, h - 1};

    bool penChosen = false;
    qint32 lastColour = 0;
    for (int j = 0; j <= 13; ++j) {
        if (j == 4 || j == 9)
            continue;
        const int entry = j <= 3 ? j + 1 : (j <= 8 ? j : j - 1);
        const qint32 colour = edges.colours[entry];
        if (colour < 0)
            continue;
        if (!penChosen || colour != lastColour) {
            buffer_.selectPen(colour);
            lastColour = colour;
            penChosen = true;
        }
        buffer_.segment(p[j], p[j + 1]);
    }
    if (w != r) {
        p[15] = {w - 1, h - 1};
        buffer_.segment(p[14], p[15]); // in whatever pen the buffer holds
    }
}

void StyledButton::drawFocusFrame(qint32 colour, bool solid, bool &aroundContent, Edges &edges)
{
    if (!hasFlag(ShowAsDefault) || buttonShape_ >= 7)
        return;
    if (buttonShape_ >= 4) {
        if (buttonStyle_ == 2)
            return;
        aroundContent = true;
    }
    const int w = W(), h = H();
    if (colour < 0)
        colour = Black;
    buffer_.selectPen(colour);
    auto &p = edges.points;
    if (buttonShape_ >= 1 && buttonShape_ <= 3) {
        const int a = bodyLeft_ != 0 ? 1 : 0;
        const int b = w > bodyRight_ ? 1 : 0;
        p[0] = {bodyLeft_ + 4 - 6 * a, h - 5};
        p[1] = {4 + 4 * a, 4};
        p[2] = {bodyRight_ - 5 + 4 * b, 4};
        p[3] = {w - 5 - 6 * b, h - 5};
        p[4] = {bodyLeft_ + 3 - 4 * a, h - 5};
        for (int i = 0; i < 4; ++i)
            buffer_.segment(p[i], p[i + 1]);
        return;
    }
    ButtonRect r;
    if (aroundContent) {
        // Shapes 5 and 6 show no caption unless checked: the frame then rings the picture.
        const bool captionShown = !caption_.isEmpty() && !(buttonShape_ >= 5 && !value_);
        if (!captionShown) {
            r = pictureRect_;
            r.bottom = qMin(r.bottom, h - 4);
            r.right = qMin(r.right, w - 4);
        } else {
            r = captionRect_;
        }
        const int e =
            (captionRect_.right >= bodyRight_ - 4 || captionRect_.left <= bodyLeft_ + 4) ? 1 : 2;
        const int f = ((value_ || drawnPressed()) && buttonStyle_ != 3) ? 1 : 0;
        const int g = buttonShape_ <= 3 ? 1 : 0;
        r = {r.left + g * f - e, r.top + f - e, r.right + e + 2 * g * f, r.bottom + e + 2 * f};
    } else {
        r = {bodyLeft_ + 4, 4, bodyRight_ - 4, h - 4};
    }
    if (!solid) {
        buffer_.invertFocusRect(r);
        return;
    }
    if (aroundContent) {
        p[0] = {r.left, r.top};
        p[1] = {r.right - 1, r.top};
        p[2] = {r.right - 1, r.bottom - 1};
        p[3] = {r.left, r.bottom - 1};
        p[4] = {r.left, r.top};
    } else {
        p[0] = {r.left, r.bottom};
        p[1] = {r.left, r.top};
        p[2] = {r.right, r.top};
        p[3] = {r.right, r.bottom};
        p[4] = {r.left, r.bottom};
    }
    for (int i = 0; i < 4; ++i)
        buffer_.segment(p[i], p[i + 1]);
}

// ---- Caption and picture ----------------------------------------------------------------------

void StyledButton::drawCaption(qint32 face, qint32 altText, bool down, bool noGreyPass)
{
    ButtonRect c = captionRect_;
    ButtonRect p = pictureRect_;
    if ((down || drawnPressed()) && buttonStyle_ != 3) {
        const int dx = buttonShape_ <= 3 ? 1 : 0;
        c.translate(dx, 1);
        p.translate(dx, 1);
    }
    if (!(value_ && buttonShape_ >= 7))
        drawPicture(p);
    if (caption_.isEmpty() || (buttonShape_ >= 5 && !value_))
        return;

    QString text = caption_;
    text.replace(QStringLiteral("||"), QStringLiteral("\n"));
    const int align = captionAlign_ == 0 ? Qt::AlignLeft
                                         : (captionAlign_ == 1 ? Qt::AlignRight : Qt::AlignHCenter);
    const int flags = align | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;

    const bool enabled = isEnabled();
    qint32 colour;
    if (!enabled) {
        if (altText >= 0 && gradientMode_ == 0) {
            colour = altText;
        } else {
            colour = White;
            c.translate(1, 1);
            noGreyPass = false;
        }
    } else if (hoverTracking_ && !drawnPressed()) {
        colour = qint32(hoverForeColor_);
    } else if (gradientMode_ != 0 && !value_) {
        colour = qint32(foreColor_);
    } else if (buttonStyle_ == 7) {
        colour = altText;
    } else {
        colour = qint32(foreColor_);
    }
    colour = translateSysColor(colour);

    if (enabled && captionStyle_ != 0) {
        const int off = captionStyle_ == 2 ? 40 : -40;
        c.translate(-1, 0);
        buffer_.drawText(c, flags, text, shade(face, off), bufferFont_);
        c.translate(2, 2);
        buffer_.drawText(c, flags, text, shade(face, -off), bufferFont_);
        c.translate(-1, -1);
    }
    buffer_.drawText(c, flags, text, colour, bufferFont_);
    if (!noGreyPass && !enabled) {
        c.translate(-1, -1);
        buffer_.drawText(c, flags, text, Grey, bufferFont_);
    }
}

void StyledButton::drawPicture(ButtonRect rect)
{
    if (!hasPicture())
        return;
    if (pictureCache_.isNull() && !picture_.isIcon())
        cachePictureAndScanRegion(rect.width(), rect.height(), nullptr);
    if (buttonShape_ >= 7) {
        rect = {0, 0, W(), H()};
        if (drawnPressed())
            rect = {1, 1, W() - 1, H() - 1};
    }
    const int w = rect.width(), h = rect.height();
    if (w <= 0 || h <= 0)
        return;
    if (isEnabled()) {
        if (picture_.isIcon())
            buffer_.drawImage(rect.toQRect(), picture_.iconImage(w, h));
        else
            transparentBlit(buffer_, rect, w, h, nullptr);
        return;
    }
    QImage scratch(w, h, QImage::Format_RGB32);
    scratch.fill(Qt::white);
    if (picture_.isIcon()) {
        QPainter painter(&scratch);
        painter.drawImage(0, 0, picture_.iconImage(w, h));
    } else {
        transparentBlit(buffer_, {0, 0, w, h}, w, h, &scratch);
    }
    buffer_.blendGrey(QPoint(rect.left, rect.top), scratch);
}

void StyledButton::transparentBlit(ButtonCanvas &target, const ButtonRect &dest, int outWidth,
                                   int outHeight, QImage *scratch)
{
    if (pictureCache_.isNull())
        return;
    const int destWidth = dest.right != 0 ? dest.width() : outWidth;
    const int destHeight = dest.bottom != 0 ? dest.height() : outHeight;
    if ((destWidth < outWidth || destHeight < outHeight) && outWidth > 0 && outHeight > 0) {
        const float ratio =
            qMin(float(destWidth) / float(outWidth), float(destHeight) / float(outHeight));
        outWidth = int(Units::roundHalfEven(outWidth * ratio));
        outHeight = int(Units::roundHalfEven(outHeight * ratio));
    }
    const QImage source = ButtonPictures::withTransparentKey(pictureCache_);
    const QRect at(dest.left, dest.top, outWidth, outHeight);
    if (scratch) {
        QPainter painter(scratch);
        painter.drawImage(at, source);
    } else {
        target.drawImage(at, source);
    }
}

void StyledButton::cachePictureAndScanRegion(int width, int height, QRegion *outline)
{
    if (picture_.isNothing())
        return;
    pictureCache_ = QImage();
    if (picture_.isIcon())
        return;
    QVector<QRect> runs;
    pictureCache_ =
        ButtonPictures::makeCache(picture_.image(), width, height, outline ? &runs : nullptr);
    if (outline) {
        faceRegion_ = innerRegion_ = QRegion(0, 0, W(), H());
        hasFaceRegions_ = true;
        QRegion background;
        background.setRects(runs.constData(), int(runs.size()));
        // Growing by n pixels on every side is the union of the shifts within n.
        QRegion grown1, grown2;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const QRegion shifted = background.translated(dx, dy);
                grown2 += shifted;
                if (qAbs(dx) <= 1 && qAbs(dy) <= 1)
                    grown1 += shifted;
            }
        *outline -= background;
        faceRegion_ -= grown1;
        innerRegion_ -= grown2;
    }
    pictureCacheWidth_ = width;
    pictureCacheHeight_ = height;
}
