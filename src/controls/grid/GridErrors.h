#pragma once

#include "core/AppError.h"

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

} // namespace GridErrors
