#include "controls/button/ButtonColours.h"

#include "core/AppError.h"
#include "core/Colour.h"
#include "core/Units.h"

#include <algorithm>
#include <cmath>

namespace ButtonColours {

namespace {

int checked16(long value)
{
    if (value < -32768 || value > 32767)
        throw AppError(6, QStringLiteral("Overflow"));
    return int(value);
}

} // namespace

qint32 translateSysColor(qint32 colour)
{
    if (colour < 0)
        return qint32(Colour::resolve(quint32(colour)));
    return colour;
}

qint32 shadeColor(qint32 colour, int &offset, bool blueProp, bool retry, bool invert)
{
    for (;;) {
        int r = checked16(long(colour & 0xFF) + offset);
        // Green and blue are divided by 255 rather than 256, so they gain about 1/255 of
        // themselves before the offset; the program's colours were tuned with this.
        int g = checked16(Units::roundHalfEven((colour & 0xFF00) / 255.0 + offset));
        int b;
        if (blueProp) {
            const int base = int(Units::roundHalfEven((colour & 0xFF0000) / 65280.0));
            b = checked16(base + (long(offset) * base) / 192);
        } else {
            b = checked16(Units::roundHalfEven((colour & 0xFF0000) / 65280.0 + offset));
        }
        r = std::clamp(r, 0, 255);
        g = std::clamp(g, 0, 255);
        b = std::clamp(b, 0, 255);
        if (invert) {
            r = std::abs(255 - r);
            g = std::abs(255 - g);
            b = std::abs(255 - b);
        }
        const qint32 result = r + g * 256 + b * 65536;
        if (retry && (result == 0 || result == 0xFFFFFF)) {
            offset = offset == 0 ? 64 : -offset;
            continue;
        }
        return result;
    }
}

std::vector<qint32> computeGradientSteps(int n, qint32 from, qint32 to)
{
    std::vector<qint32> colours(std::max(n, 0));
    if (n <= 0)
        return colours;
    float r = float(from & 0xFF);
    float g = float(from & 0xFF00) / 255.0f;
    float b = float(from & 0xFF0000) / 65280.0f;
    const float endR = float(to & 0xFF);
    const float endG = float(Units::roundHalfEven((to & 0xFF00) / 255.0));
    const float endB = float(Units::roundHalfEven((to & 0xFF0000) / 65280.0));
    colours[0] = from;
    if (n == 1)
        return colours;
    const float stepR = (endR - r) / float(n - 1);
    const float stepG = (endG - g) / float(n - 1);
    const float stepB = (endB - b) / float(n - 1);
    for (int k = 1; k < n; ++k) {
        r = std::clamp(r + stepR, 0.0f, 255.0f);
        g = std::clamp(g + stepG, 0.0f, 255.0f);
        b = std::clamp(b + stepB, 0.0f, 255.0f);
        colours[k] = int(std::floor(r)) + int(std::floor(g)) * 256 + int(std::floor(b)) * 65536;
    }
    return colours;
}

QSize fitPictureSize(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight)
{
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return QSize(0, 0);
    const double ratio =
        std::min(double(boxWidth) / pictureWidth, double(boxHeight) / pictureHeight);
    return QSize(int(Units::roundHalfEven(pictureWidth * ratio)),
                 int(Units::roundHalfEven(pictureHeight * ratio)));
}

} // namespace ButtonColours
