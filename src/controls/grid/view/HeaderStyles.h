#pragma once

#include "controls/grid/view/GridGeometry.h"

#include <QtGlobal>

class QPainter;

// The painted looks of header-like rectangles (column headers, the row-number box, the caption
// bar, the totals line and the fallback face of button cells), in states 1 normal, 2 hot and
// 3 pressed; any other state paints nothing. `from` and `to` are the theme colours in plain RGB.
namespace HeaderStyles {

struct ThemeColours
{
    quint32 from = 0;
    quint32 to = 0;
};

// The gradient look. Hot and pressed narrow the caller's rectangle by one pixel on the right.
void PaintHeaderStyle3(QPainter &painter, PixelRect &rect, int state, const ThemeColours &colours);
// The flat look in system colours (themeColours false) or built from the theme colours.
void PaintHeaderStyle45(QPainter &painter, const PixelRect &rect, int state, bool captionLook,
                        bool themeColours, const ThemeColours &colours);
// The banded gradient from the theme colours, or from the button face (fixedColours true).
void PaintHeaderStyle67(QPainter &painter, const PixelRect &rect, int state, bool captionLook,
                        bool fixedColours, const ThemeColours &colours);

} // namespace HeaderStyles
