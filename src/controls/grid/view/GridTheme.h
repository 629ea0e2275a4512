#pragma once

#include "controls/grid/view/GridProperties.h"

#include <QString>

#include <functional>
#include <optional>

// The grid's colour schemes and the colour operations its painters share.
namespace GridTheme {

// Plain RGB (0x00BBGGRR) of an OLE colour: system colours come from the program's fixed table.
// Empty for a value that names no colour.
std::optional<quint32> TranslateColor(quint32 colour);
// Each channel moved by `amount`, clamped only on the side it moves to; no translation.
quint32 OffsetColor(quint32 colour, int amount);
// The translated colour with each channel moved by `delta` and clamped to 0..255.
quint32 AdjustColor(quint32 colour, int delta);

// Writes the colours of scheme 0 to 4 into `properties`; any other index changes nothing.
void SetDefaultThemeColor(Grid::Properties &properties, Grid::ThemeColor index);

// What the desktop tells of its look: whether styles are active and the scheme's name.
struct DesktopLook
{
    bool stylesActive = true;
    QString schemeName;
};
using DesktopLookProvider = std::function<DesktopLook()>;
// Styles are active unless the application runs the classic "windows" style; the scheme name
// is empty, which picks the blue scheme.
DesktopLook currentDesktopLook();

// The scheme that automatic detection picks for a desktop look.
Grid::ThemeColor DetectedScheme(const DesktopLook &look);

} // namespace GridTheme
