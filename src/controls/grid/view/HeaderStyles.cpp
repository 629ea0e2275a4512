#include "controls/grid/view/HeaderStyles.h"

#include "controls/grid/view/GridPainter.h"
#include "controls/grid/view/GridTheme.h"
#include "core/Colour.h"
#include "core/Units.h"

using GridPaint::BlendColor;
using GridPaint::DrawGradient;
using GridPaint::DrawLine;
using GridPaint::DrawRectangle;
using GridTheme::OffsetColor;

namespace HeaderStyles {

namespace {

quint32 mix(quint32 a, quint32 b)
{
    return BlendColor(a, b, 128);
}

quint32 face()
{
    return Colour::resolve(Colour::system(Colour::ButtonFace));
}

void line(QPainter &p, int x1, int y1, int x2, int y2, quint32 colour)
{
    DrawLine(p, x1, y1, x2, y2, colour, 1);
}

} // namespace

void PaintHeaderStyle3(QPainter &p, PixelRect &r, int state, const ThemeColours &c)
{
    if (state == 1) {
        DrawGradient(p, r, c.from, c.to, true);
        line(p, r.left, r.top, r.right, r.top, c.from);
        line(p, r.left, r.bottom - 1, r.right, r.bottom - 1, c.from);
        line(p, r.right - 2, r.top + 2, r.right - 2, r.bottom - 4, c.to);
        line(p, r.left, r.top + 3, r.left, r.bottom - 3, 0xFFFFFF);
        return;
    }
    if (state != 2 && state != 3)
        return;
    r.right -= 1;
    if (state == 2)
        DrawGradient(p, r, 0xDCFFFF, 0x5BC0F7, true);
    else
        DrawGradient(p, r, 0x087FE8, 0x7CDAF7, true);
    line(p, r.left, r.top, r.right, r.top, 0x9C613B);
    line(p, r.left, r.bottom - 1, r.right, r.bottom - 1, 0x9C613B);
    line(p, r.left, r.top + 3, r.left, r.bottom - 3, 0xFFFFFF);
}

void PaintHeaderStyle45(QPainter &p, const PixelRect &r, int state, bool captionLook,
                        bool themeColours, const ThemeColours &c)
{
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    if (!themeColours) {
        switch (state) {
        case 1:
            DrawRectangle(p, r, face(), true);
            if (captionLook) {
                line(p, L, B - 2, R, B - 2, 0x99A8AC);
                line(p, L, B - 1, R, B - 1, 0xFFFFFF);
                return;
            }
            line(p, L, B - 1, R, B - 1, 0xB2C2C5);
            line(p, L, B - 2, R, B - 2, 0xBECFD2);
            line(p, L, B - 3, R, B - 3, 0xC8D8DC);
            line(p, R - 2, T + 2, R - 2, B - 4, 0x99A8AC);
            line(p, L, T + 2, L, B - 4, 0xFFFFFF);
            return;
        case 2:
            DrawRectangle(p, r, 0xF3F8FA, true);
            line(p, L + 2, B - 1, R - 2, B - 1, 0x19B1F9);
            line(p, L + 1, B - 2, R - 1, B - 2, 0x47C2FC);
            line(p, L, B - 3, R, B - 3, 0x00A9F8);
            line(p, R - 2, T + 2, R - 2, B - 4, 0x99A8AC);
            line(p, L, T + 2, L, B - 4, 0xFFFFFF);
            return;
        case 3:
            DrawRectangle(p, r, Colour::resolve(Colour::system(Colour::ThreeDLight)), true);
            line(p, L + 2, B - 1, R - 2, B - 1, 0x7DD2FA);
            line(p, L + 1, B - 2, R - 1, B - 2, 0xB1E4FC);
            line(p, L, B - 3, R, B - 3, 0x63C8F7);
            line(p, R - 2, T + 2, R - 2, B - 4, 0x717C80);
            line(p, L, T + 2, L, B - 4, 0xCCCCCC);
            return;
        default:
            return;
        }
    }
    switch (state) {
    case 1:
        DrawRectangle(p, r, mix(c.from, c.to), true);
        if (captionLook) {
            line(p, L, B - 2, R, B - 2, mix(c.to, 0x99A8AC));
            line(p, L, B - 1, R, B - 1, mix(c.from, 0xE0E0E0));
            return;
        }
        line(p, L, B - 1, R, B - 1, c.from);
        line(p, L, B - 2, R, B - 2, c.from);
        line(p, L, B - 3, R, B - 3, c.from);
        line(p, R - 2, T + 2, R - 2, B - 4, mix(c.to, 0x99A8AC));
        line(p, L, T + 2, L, B - 4, mix(c.from, 0xE0E0E0));
        return;
    case 2:
        DrawRectangle(p, r, mix(c.from, 0xF3F8FA), true);
        line(p, L + 2, B - 1, R - 2, B - 1, c.to);
        line(p, L + 1, B - 2, R - 1, B - 2, c.to);
        line(p, L, B - 3, R, B - 3, c.to);
        line(p, R - 2, T + 2, R - 2, B - 4, mix(c.to, 0x99A8AC));
        line(p, L, T + 2, L, B - 4, mix(c.from, 0xE0E0E0));
        return;
    case 3:
        DrawRectangle(p, r, c.to, true);
        line(p, L + 2, B - 1, R - 2, B - 1, 0x19B1F9);
        line(p, L + 1, B - 2, R - 1, B - 2, 0x47C2FC);
        line(p, L, B - 3, R, B - 3, 0x00A9F8);
        return;
    default:
        return;
    }
}

void PaintHeaderStyle67(QPainter &p, const PixelRect &r, int state, bool captionLook,
                        bool fixedColours, const ThemeColours &c)
{
    if (state < 1 || state > 3)
        return;
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    const int h = int(Units::roundHalfEven((B - T) * (state == 1 ? 0.12 : 0.28)));
    const auto band = [&](int top, int right, int bottom, quint32 c1, quint32 c2) {
        DrawGradient(p, PixelRect{L, top, right, bottom}, c1, c2, true);
    };
    if (state == 1) {
        const quint32 cc = fixedColours ? OffsetColor(face(), -20) : c.to;
        const quint32 d = fixedColours ? OffsetColor(face(), -25) : OffsetColor(c.to, -5);
        if (captionLook) {
            DrawGradient(p, r, OffsetColor(cc, 40), cc, true);
            line(p, L + 2, B - 1, R - 2, B - 1, cc);
            return;
        }
        band(T, R, T + h, OffsetColor(cc, 30), cc);
        band(T + h, R, B - h, cc, OffsetColor(d, 30));
        band(B - h, R, B, OffsetColor(d, 30), d);
        if (fixedColours)
            line(p, L + 2, B - 1, R - 2, B - 1, 0xBFBFBF);
        line(p, R - 2, T + 2, R - 2, B - 4, d);
        line(p, L, T + 3, L, B - 3, 0xFFFFFF);
        return;
    }
    const quint32 c1 = fixedColours ? 0xFBEFCC : c.from;
    const quint32 c2 = fixedColours ? 0xE6C97C : OffsetColor(c.from, -5);
    if (state == 2) {
        band(T, R - 1, B - h, OffsetColor(c1, 15), OffsetColor(c1, 5));
        band(T + h, R - 1, B, c1, OffsetColor(c2, 30));
    } else {
        band(T, R - 1, B - h, c1, OffsetColor(c1, -10));
        band(T + h, R - 1, B - 5, c1, OffsetColor(c2, 10));
        band(B - 5, R - 1, B, OffsetColor(c2, 10), c2);
    }
    DrawRectangle(p, r, c.to, false);
}

} // namespace HeaderStyles
