#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>
#include <cstdint>

// Geometry of the program's windows is given in twips: 15 twips to the pixel at 96 dots per inch.
namespace Units {

constexpr int TwipsPerPixel = 15;

// Round half to even, as every float-to-whole conversion of the program does.
inline std::int64_t roundHalfEven(double value)
{
    return static_cast<std::int64_t>(std::nearbyint(value)); // default FE_TONEAREST is half-even
}

inline int twipsToPixels(double twips) { return int(roundHalfEven(twips / TwipsPerPixel)); }
inline int pixelsToTwips(int pixels) { return pixels * TwipsPerPixel; }

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

} // namespace Units
