#pragma once

#include <QString>
#include <QStringView>

// The display formats of grid columns. A text that reads as a number takes a number format:
// the placeholders 0 # , . % or one of "General Number", "Currency", "Fixed", "Standard",
// "Percent". A text that reads as a date takes a date format made of d dd ddd dddd m mm mmm mmmm
// yy yyyy h hh n nn s ss and AM/PM. Any other text, and any other format, passes unchanged.
namespace GridFormat {

QString formatValue(const QString &text, QStringView format);
// The same, with the year that places two-digit years taken once for a run of values.
QString formatValue(const QString &text, QStringView format, int thisYear);

} // namespace GridFormat
