#include "core/Colour.h"

#include <array>

namespace Colour {

namespace {

// The classic desktop scheme; the program was drawn against these values.
constexpr std::array<quint32, 31> SystemTable = {
    rgb(200, 200, 200), rgb(0, 0, 0),       rgb(153, 180, 209), rgb(191, 205, 219),
    rgb(240, 240, 240), rgb(255, 255, 255), rgb(100, 100, 100), rgb(0, 0, 0),
    rgb(0, 0, 0),       rgb(0, 0, 0),       rgb(180, 180, 180), rgb(244, 247, 252),
    rgb(171, 171, 171), rgb(0, 120, 215),   rgb(255, 255, 255), rgb(240, 240, 240),
    rgb(160, 160, 160), rgb(109, 109, 109), rgb(0, 0, 0),       rgb(0, 0, 0),
    rgb(255, 255, 255), rgb(105, 105, 105), rgb(227, 227, 227), rgb(0, 0, 0),
    rgb(255, 255, 225), rgb(0, 0, 0),       rgb(0, 102, 204),   rgb(185, 209, 234),
    rgb(215, 228, 242), rgb(0, 120, 215),   rgb(240, 240, 240),
};

} // namespace

quint32 resolve(quint32 value)
{
    if (!isSystem(value))
        return value & 0x00FFFFFFu;
    const quint32 index = value & 0xFFu;
    return index < SystemTable.size() ? SystemTable[index] : 0u;
}

QColor toQColor(quint32 value)
{
    const quint32 plain = resolve(value);
    return QColor(red(plain), green(plain), blue(plain));
}

quint32 fromQColor(const QColor &colour)
{
    return rgb(colour.red(), colour.green(), colour.blue());
}

} // namespace Colour
