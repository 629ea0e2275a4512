#pragma once

#include "core/AppError.h"

#include <cmath>
#include <limits>

// The two run-time errors the grid reports to its host.
namespace GridErrors {

[[noreturn]] inline void subscriptOutOfRange()
{
    throw AppError(9, QStringLiteral("Subscript out of range"));
}

[[noreturn]] inline void overflow()
{
    throw AppError(6, QStringLiteral("Overflow"));
}

inline std::int16_t toInt16(int value)
{
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        overflow();
    return std::int16_t(value);
}

// A value rounded to a whole number (halves to even) that must fit 32 bits.
inline int roundToInt32(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<int>::min() && rounded <= std::numeric_limits<int>::max()))
        overflow();
    return int(rounded);
}

} // namespace GridErrors
