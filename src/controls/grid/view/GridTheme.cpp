#include "controls/grid/view/GridTheme.h"

#include "core/Colour.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>
#include <array>

namespace GridTheme {

namespace {

// The system colours the platform knows (COLOR_SCROLLBAR .. COLOR_MENUBAR).
constexpr quint32 SystemColourCount = 31;

struct Scheme
{
    quint32 from, to, backColorBkg, backColorSel, foreColorSel, focusRectColor;
};

constexpr std::array<Scheme, 5> Schemes = {{
    {0xFCE1CB, 0xE0A57D, 0x8000000C, 0xC56A31, 0xFFFFFF, 0x96FFFE},
    {0xFBF4F4, 0x928282, 0x8000000C, 0xBFB4B2, 0x000000, 0x433D39},
    {0xE1F9F7, 0x69A18B, 0x8000000C, 0x70A093, 0xFFFFFF, 0x96FFFE},
    {0xF2F8F8, 0x7C9F96, 0x6A7D6A, 0x778A77, 0xE1F9F7, 0x96FFFE},
    {0xA5EFFF, 0x4986A0, 0x0F4C66, 0x37748E, 0xE1EEF9, 0x96FFFE},
}};

int clampChannel(int value)
{
    return std::clamp(value, 0, 255);
}

} // namespace

std::optional<quint32> TranslateColor(quint32 colour)
{
    const quint32 kind = colour >> 24;
    if (kind == 0)
        return colour;
    if (kind == 0x80 && (colour & 0x00FFFFFFu) < SystemColourCount)
        return Colour::resolve(colour);
    return std::nullopt;
}

quint32 OffsetColor(quint32 colour, int amount)
{
    int channels[3] = {int(colour & 0xFF), int((colour / 256) % 256), int((colour / 65536) % 256)};
    for (int &channel : channels) {
        channel += amount;
        if (amount > 0)
            channel = std::min(channel, 255);
        else if (amount < 0)
            channel = std::max(channel, 0);
    }
    return quint32(channels[0] + channels[1] * 256 + channels[2] * 65536);
}

quint32 AdjustColor(quint32 colour, int delta)
{
    const quint32 plain = TranslateColor(colour).value_or(0);
    return Colour::rgb(clampChannel(Colour::red(plain) + delta),
                       clampChannel(Colour::green(plain) + delta),
                       clampChannel(Colour::blue(plain) + delta));
}

void SetDefaultThemeColor(Grid::Properties &properties, Grid::ThemeColor index)
{
    const int i = int(index);
    if (i < 0 || i >= int(Schemes.size()))
        return;
    const Scheme &scheme = Schemes[size_t(i)];
    properties.ThemeCustomColorFrom = scheme.from;
    properties.ThemeCustomColorTo = scheme.to;
    properties.BackColorBkg = scheme.backColorBkg;
    properties.BackColor = Colour::system(Colour::Window);
    properties.ForeColor = Colour::system(Colour::WindowText);
    properties.BackColorSel = scheme.backColorSel;
    properties.ForeColorSel = scheme.foreColorSel;
    properties.FocusRectColor = scheme.focusRectColor;
    properties.GridColor = AdjustColor(scheme.to, 25);
    if (properties.FocusRowHighlightStyle != Grid::FocusRowHighlightStyle::Solid)
        properties.ForeColorSel = Colour::system(Colour::WindowText);
}

DesktopLook currentDesktopLook()
{
    const QStyle *style = QApplication::style();
    return {style && style->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) != 0,
            QString()};
}

Grid::ThemeColor DetectedScheme(const DesktopLook &look)
{
    if (!look.stylesActive)
        return Grid::ThemeColor::Custom;
    if (look.schemeName == QLatin1String("Metallic"))
        return Grid::ThemeColor::Silver;
    if (look.schemeName == QLatin1String("HomeStead"))
        return Grid::ThemeColor::Olive;
    return Grid::ThemeColor::Blue;
}

} // namespace GridTheme
