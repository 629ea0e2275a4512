#pragma once

#include <QSize>
#include <QtGlobal>
#include <vector>

// Colour arithmetic of the button painters. Colours are 0x00BBGGRR; a negative value (0x800000nn)
// is a system colour.
namespace ButtonColours {

// A system colour resolved to RGB; any other value unchanged.
qint32 translateSysColor(qint32 colour);

// Shifts a colour's brightness by offset. blueProp moves blue in proportion to its own value;
// retry turns a black or white result round by negating offset (0 becomes 64) and starts again;
// invert mirrors each channel. Throws the overflow error when a channel leaves the 16-bit range.
qint32 shadeColor(qint32 colour, int &offset, bool blueProp = false, bool retry = false,
                  bool invert = false);
inline qint32 shade(qint32 colour, int offset, bool blueProp = false)
{
    return shadeColor(colour, offset, blueProp);
}

// n band colours running from one colour to the other.
std::vector<qint32> computeGradientSteps(int n, qint32 from, qint32 to);

// The natural size scaled into the box, aspect ratio kept (up or down).
QSize fitPictureSize(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight);

constexpr qint32 White = 0xFFFFFF;
constexpr qint32 Grey = 0x808080;
constexpr qint32 Black = 0;

} // namespace ButtonColours
