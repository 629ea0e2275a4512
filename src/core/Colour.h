#pragma once

#include <QColor>
#include <QtGlobal>

// Colours are stored the way the program always stored them: 0x00BBGGRR, and 0x800000nn for the
// desktop's system colour nn, resolved through a fixed table so drawing is the same on every machine.
namespace Colour {

constexpr quint32 SystemFlag = 0x80000000u;

// System colour indexes the program uses by name.
enum SystemColour : int {
    ScrollBar = 0, Desktop = 1, ActiveCaption = 2, InactiveCaption = 3, Menu = 4, Window = 5,
    WindowFrame = 6, MenuText = 7, WindowText = 8, CaptionText = 9, ActiveBorder = 10,
    InactiveBorder = 11, AppWorkspace = 12, Highlight = 13, HighlightText = 14, ButtonFace = 15,
    ButtonShadow = 16, GrayText = 17, ButtonText = 18, InactiveCaptionText = 19,
    ButtonHighlight = 20, ThreeDDarkShadow = 21, ThreeDLight = 22, InfoText = 23, InfoBack = 24,
};

constexpr quint32 system(int index) { return SystemFlag | quint32(index); }
constexpr bool isSystem(quint32 value) { return (value & SystemFlag) != 0; }

// The RGB behind a stored value: system colours are looked up, others read as BBGGRR.
QColor toQColor(quint32 value);
// 0x00BBGGRR of a resolved colour.
quint32 fromQColor(const QColor &colour);
// A system colour resolved to its 0x00BBGGRR value; other values pass unchanged.
quint32 resolve(quint32 value);

constexpr quint32 rgb(int red, int green, int blue)
{
    return quint32(red & 0xFF) | (quint32(green & 0xFF) << 8) | (quint32(blue & 0xFF) << 16);
}
constexpr int red(quint32 value) { return int(value & 0xFF); }
constexpr int green(quint32 value) { return int((value >> 8) & 0xFF); }
constexpr int blue(quint32 value) { return int((value >> 16) & 0xFF); }

} // namespace Colour
