#include "controls/button/ButtonColours.h"
#include "controls/button/StyledButton.h"

using ButtonColours::Black;
using ButtonColours::Grey;
using ButtonColours::shade;
using ButtonColours::translateSysColor;
using ButtonColours::White;

namespace {

constexpr qint32 None = -1;

} // namespace

bool StyledButton::checkedLook() const
{
    return value_ || (heldDown_ && mode_ != 0);
}

qint32 StyledButton::standardFace() const
{
    return (mode_ != 0 && value_) ? checkedFaceRGB_ : faceRGB_;
}

qint32 StyledButton::standardAltText() const
{
    return (!isEnabled() && mode_ != 0) ? Grey : None;
}

void StyledButton::commonPaintResult(Edges &edges, int &result) const
{
    if (buttonShape_ <= 5 || (buttonShape_ == 6 && !hoverTracking_ && !drawnPressed()))
        result = 1;
    else
        edges.colours[12] = 0; // the outline is framed black by the redraw
}

// The start every standard painter shares: the face with its hover colour, then the caption. The
// frame colour starts as the caption's colour. False when there is nothing more to draw.
bool StyledButton::paintFaceAndCaption(qint32 face, int &look, int &result, qint32 &frame)
{
    qint32 hover = hoverFaceRGB_;
    paintBackground(face, look, result, translateSysColor(qint32(gradientColor_)), hover);
    if (result == 0)
        return false;
    const qint32 text = standardAltText();
    frame = text;
    drawCaption(face, text, value_, mode_ > 0);
    return true;
}

// Bevels with two looks: sunken while checked, else at least raised.
void StyledButton::takeTwoStateLook(qint32 face, int &look, qint32 &frame) const
{
    if (checkedLook()) {
        look = 2;
        frame = 0;
        return;
    }
    if (buttonShape_ >= 1)
        frame = shade(face, -48);
    if (look < 2)
        look = 1;
}

// Classic raised button; sunken while checked.
void StyledButton::paintStyle0(Edges &edges, int &look, int &result)
{
    const qint32 face = standardFace();
    qint32 frame = 0;
    if (!paintFaceAndCaption(face, look, result, frame))
        return;
    if (buttonShape_ <= 3) {
        const qint32 light = 0xE9E9E9;
        if (checkedLook()) {
            look = 3;
            frame = 0;
        } else if (buttonShape_ >= 1) {
            frame = shade(face, -48);
        }
        auto &c = edges.colours;
        const qint32 outerTopLeft = hasFlag(ShowAsDefault) ? Black : White;
        switch (look) {
        case 0:
            c = {0,    None, None,         None,         None,  light, light,
                 Grey, Grey, outerTopLeft, outerTopLeft, Black, Black};
            break;
        case 1:
            c = {0,     light, light, Grey,  Grey,  White, White,
                 Black, Black, Black, Black, Black, Black};
            break;
        case 2:
            c = {0,    None, None,         None,         None,  None, None,
                 Grey, Grey, outerTopLeft, outerTopLeft, Black, Black};
            break;
        default:
            c = {0, None, None, None, None, None, None, light, light, Black, Black, White, White};
            break;
        }
        drawEdges(edges, -1);
    }
    commonPaintResult(edges, result);
    bool aroundContent = false;
    drawFocusFrame(frame, value_, aroundContent, edges);
}

// Black border round a two-pixel bevel, inverted while pressed or checked.
void StyledButton::paintStyle1(Edges &edges, int &look, int &result)
{
    const qint32 face = standardFace();
    qint32 frame = 0;
    if (!paintFaceAndCaption(face, look, result, frame))
        return;
    if (buttonShape_ <= 3) {
        takeTwoStateLook(face, look, frame);
        const qint32 lit = look == 2 ? Grey : White;
        const qint32 dark = look == 2 ? White : Grey;
        edges.colours = {0, lit, lit, dark, dark, lit, lit, dark, dark, Black, Black, Black, Black};
        drawEdges(edges, -1);
    }
    commonPaintResult(edges, result);
    bool aroundContent = false;
    drawFocusFrame(frame, value_, aroundContent, edges);
}

// Rounded navy frame whose inner rings take face shades, blue, dark or orange tints.
void StyledButton::paintStyle2(Edges &edges, int &look, int &result)
{
    const bool enabled = isEnabled();
    const qint32 base = (mode_ != 0 && value_) ? checkedFaceRGB_ : faceRGB_;
    qint32 face = base;
    if (mode_ == 0) {
        if (drawnPressed() && gradientMode_ == 0)
            face = shadeRGB_;
        else
            face = enabled ? base : shade(base, -24, true);
    }
    const qint32 text = enabled ? 0 : shade(face, -104, true);
    const qint32 gradient =
        gradientMode_ != 0 ? shade(translateSysColor(qint32(gradientColor_)), 48, true) : face;
    qint32 hover = hoverFaceRGB_;
    paintBackground(face, look, result, gradient, hover);
    if (result == 0)
        return;
    drawCaption(face, text, value_, true);

    if (buttonShape_ >= 4) {
        if (hasFlag(ShowAsDefault) && !hoverTracking_)
            edges.colours[12] = 0xEF826B;
        else if (hoverTracking_)
            edges.colours[12] = 0x0096E7;
        else
            result = 1;
        return;
    }

    auto &c = edges.colours;
    qint32 outer;
    if (enabled) {
        if (checkedLook())
            look = hasFlag(ShowAsDefault) ? 1 : 2;
        if (hasFlag(Hovering) && !hasFlag(Pressed))
            look = 3;
        else if (look == 1 && !showFocusRect_)
            look = 0;
        const qint32 b = base;
        switch (look) {
        case 0:
            c = {0,
                 shade(b, -10, true),
                 shade(b, 10, true),
                 shade(b, -24, true),
                 shade(b, -32, true),
                 shade(b, -5, true),
                 shade(b, 16, true),
                 shade(b, -36, true),
                 shade(b, -48, true)};
            break;
        case 1:
            c = {0, 0xF0D1B5, 0xF7D7BD, 0xF0D1B5, 0xE7AE8C, 0xE7AE8C, 0xFFDFBF, 0xE7AE8C, 0xEF826B};
            break;
        case 2:
            c = {0,
                 shade(b, -22, true),
                 shade(b, -24, true),
                 b,
                 shade(b, 10, true),
                 shade(b, -32, true),
                 shade(b, -32, true),
                 shade(b, 5, true),
                 shade(b, 16, true)};
            break;
        default:
            c = {0, 0x6BCBFF, 0x8CDBFF, 0x6BCBFF, 0x31B2FF, 0x31B2FF, 0xA6E9FF, 0x31B2FF, 0x0096E7};
            break;
        }
        outer = 0x733C00;
    } else {
        for (int i = 1; i <= 8; ++i)
            c[i] = None;
        outer = shade(base, -84, true);
    }
    for (int i = 9; i <= 12; ++i)
        c[i] = outer;
    drawEdges(edges, -1);
    // Single pixels round the outer ring's corners.
    const int w = W(), h = H();
    if (bodyLeft_ == 0) {
        buffer_.setPixel(1, h - 2, outer);
        buffer_.setPixel(1, 1, outer);
    }
    if (w == bodyRight_) {
        buffer_.setPixel(w - 2, h - 2, outer);
        buffer_.setPixel(w - 2, 1, outer);
    }
}

// Etched border; the caption never shifts; lavender frame round the caption.
void StyledButton::paintStyle3(Edges &edges, int &look, int &result)
{
    const bool enabled = isEnabled();
    qint32 face = faceRGB_;
    if (mode_ == 0 && drawnPressed())
        face = shadeRGB_;
    if (mode_ != 0 && value_)
        face = checkedFaceRGB_;
    qint32 hover = hoverFaceRGB_;
    paintBackground(face, look, result, translateSysColor(qint32(gradientColor_)), hover);
    if (result == 0)
        return;
    drawCaption(face, enabled ? Grey : shade(Grey, -16), false, true);
    if (buttonShape_ <= 3) {
        const qint32 dark = shade(Grey, -26);
        qint32 bottomRight = White;
        auto &c = edges.colours;
        if (!enabled && mode_ == 0) {
            for (int i = 1; i <= 8; ++i)
                c[i] = face;
            bottomRight = dark;
        } else {
            for (int i = 1; i <= 4; ++i)
                c[i] = None;
            if (mode_ != 0)
                look = (value_ || heldDown_) ? 2 : 3;
            if (look < 2)
                look = 1;
            const qint32 middle[3] = {White, face, White};
            c[5] = c[6] = middle[qBound(1, look, 3) - 1];
            c[7] = c[8] = dark;
        }
        c[9] = c[10] = dark;
        c[11] = c[12] = bottomRight;
        drawEdges(edges, -1);
    }
    commonPaintResult(edges, result);
    bool aroundContent = true;
    drawFocusFrame(0xCC9999, true, aroundContent, edges);
}

// One-pixel white and grey border, inverted while pressed or checked.
void StyledButton::paintStyle4(Edges &edges, int &look, int &result)
{
    const qint32 face = standardFace();
    qint32 frame = 0;
    if (!paintFaceAndCaption(face, look, result, frame))
        return;
    if (buttonShape_ <= 3) {
        takeTwoStateLook(face, look, frame);
        const qint32 topLeft = look == 2 ? Grey : White;
        const qint32 bottomRight = look == 2 ? White : Grey;
        edges.colours = {0,    None, None,    None,    None,        None,       None,
                         None, None, topLeft, topLeft, bottomRight, bottomRight};
        drawEdges(edges, -1);
    }
    commonPaintResult(edges, result);
    bool aroundContent = false;
    drawFocusFrame(frame, value_, aroundContent, edges);
}

// Flat: no border at rest, raised while hot, sunken while pressed or checked.
void StyledButton::paintStyle5(Edges &edges, int &look, int &result)
{
    const qint32 face = standardFace();
    const qint32 frame =
        (buttonShape_ >= 1 && !(mode_ != 0 && value_)) ? shade(containerBackRGB_, -32) : 0;
    qint32 hover = hoverFaceRGB_;
    paintBackground(face, look, result, translateSysColor(qint32(gradientColor_)), hover);
    if (result == 0)
        return;
    drawCaption(face, standardAltText(), value_, mode_ > 0);
    if (buttonShape_ <= 3) {
        auto &c = edges.colours;
        for (int i = 1; i <= 8; ++i)
            c[i] = None;
        if (hasFlag(Hovering) || value_) {
            if (checkedLook())
                look = 2;
            if (look < 2)
                look = 1;
            c[9] = c[10] = look == 2 ? Grey : White;
            c[11] = c[12] = look == 2 ? White : Grey;
        } else {
            c[9] = c[10] = c[11] = c[12] = None;
        }
        drawEdges(edges, 0);
    }
    commonPaintResult(edges, result);
    bool aroundContent = false;
    drawFocusFrame(frame, value_, aroundContent, edges);
}

// Two-pixel light and grey border, inverted while pressed or checked.
void StyledButton::paintStyle6(Edges &edges, int &look, int &result)
{
    const qint32 face = standardFace();
    qint32 frame = 0;
    if (!paintFaceAndCaption(face, look, result, frame))
        return;
    if (buttonShape_ <= 3) {
        const qint32 light = shade(0xDFDFDF, 8);
        if (checkedLook()) {
            look = 1;
            frame = 0;
        } else {
            look = drawnPressed() ? 1 : 0;
            if (buttonShape_ >= 1)
                frame = shade(face, -48);
        }
        const qint32 topLeft = look == 0 ? light : Grey;
        const qint32 bottomRight = look == 0 ? Grey : light;
        edges.colours = {0,       None,        None,        None,        None,
                         topLeft, topLeft,     bottomRight, bottomRight, topLeft,
                         topLeft, bottomRight, bottomRight};
        drawEdges(edges, -1);
    }
    commonPaintResult(edges, result);
    bool aroundContent = false;
    drawFocusFrame(frame, value_, aroundContent, edges);
}

// Rounded black border over a bright bevel on a lightened face; grey bevel when checked.
void StyledButton::paintStyle7(Edges &edges, int &look, int &result)
{
    const bool enabled = isEnabled();
    qint32 face = faceRGB_;
    if (mode_ == 0 && drawnPressed())
        face = shadeRGB_;
    if (mode_ != 0 && value_)
        face = checkedFaceRGB_;
    qint32 gradient = face;
    if (!value_ && gradientMode_ != 0) {
        gradient = shade(translateSysColor(qint32(gradientColor_)), 31);
        if (drawnPressed())
            face = faceRGB_;
    }
    qint32 hover = hoverFaceRGB_;
    paintBackground(face, look, result, gradient, hover);
    if (result == 0)
        return;

    qint32 text;
    if ((drawnPressed() && mode_ == 0) || value_)
        text = (!enabled && value_) ? shade(face, -32, true) : faceRGB_;
    else if (enabled)
        text = translateSysColor(qint32(foreColor_));
    else
        text = mode_ != 0 ? Grey : None;

    // Unless a distinct hover caption colour is set, the caption keeps its style colour while
    // hovered; the hover colour then colours the default frame.
    qint32 frame = None;
    if (hoverForeColor_ == foreColor_ || value_) {
        const quint32 saved = hoverForeColor_;
        hoverForeColor_ = quint32(text);
        drawCaption(face, text, value_, mode_ > 0);
        hoverForeColor_ = saved;
        frame = qint32(saved);
    } else {
        drawCaption(face, text, value_, mode_ > 0);
    }

    if (buttonShape_ <= 3) {
        if (checkedLook())
            look = value_ ? 2 : 0;
        qint32 edgeFace = face;
        qint32 hi = shade(face, 31, true);
        qint32 lo = shade(face, -64, true);
        qint32 top = White;
        if (look == 2) {
            const qint32 g = gradientMode_ != 0 ? faceRGB_ : Grey;
            edgeFace = g;
            top = shade(g, -32);
            hi = shade(g, -64);
            lo = shade(g, -16);
        }
        edges.colours = {0,  top, top,   edgeFace, edgeFace, hi,   hi,
                         lo, lo,  Black, Black,    Black,    Black};
        drawEdges(edges, -1);
        const int w = W(), h = H();
        if (bodyLeft_ == 0) {
            buffer_.setPixel(3, 3, top);
            buffer_.setPixel(1, h - 3, edgeFace);
            buffer_.setPixel(2, 2, hi);
            buffer_.setPixel(1, h - 2, Black);
            buffer_.setPixel(1, 1, Black);
        }
        if (w == bodyRight_) {
            buffer_.setPixel(w - 4, h - 4, edgeFace);
            buffer_.setPixel(w - 3, 1, edgeFace);
            buffer_.setPixel(w - 3, h - 3, lo);
            buffer_.setPixel(w - 2, h - 2, Black);
            buffer_.setPixel(w - 2, 1, Black);
        }
    }
    commonPaintResult(edges, result);
    bool aroundContent = true;
    drawFocusFrame(frame, value_, aroundContent, edges);
}
