#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// How the grid reads numbers and Booleans out of cell texts and writes numbers back.
namespace GridNumbers {

// The grid's lenient number reader: currency signs, blanks and slashes are skipped, the number
// ends at the first other character, "&H" and "&O" read hexadecimal and octal, and a text without
// digits reads as a Boolean (True -1, anything else 0). Never fails.
double rVal(QStringView text);

// A whole text that is a number ("12.5", " -1,234 ", "1E3", "&HFF"); nothing for anything else.
std::optional<double> strictNumber(QStringView text);

// True and False in any letter case, or a number (0 is False); nothing for any other text.
std::optional<bool> readBoolean(QStringView text);

// A number as text with at most 15 significant digits: "12.5", "-1", "1E+15", "1E-05".
QString CStr(double value);

} // namespace GridNumbers
