#pragma once

#include <QString>
#include <optional>

// The program's number rules for text boxes and accession numbers.
namespace Numbers {

// The leading numeric value of a text: leading blanks, a sign, digits and one decimal point;
// anything else ends the number, and text without a number is 0.
double leadingValue(const QString &text);
// The same rule on UTF-8 bytes (the database's Val function sorts 100,000 rows with it).
double leadingValue(const char *text, int length);

// A number written plainly: no exponent, no trailing zeros, no thousands separator ("12", "12.5").
QString plainText(double value);

// The leading number of a text rounded to a whole number, halves to the even neighbour (2.5 gives
// 2, 3.5 gives 4), worked out from its digits so that no digit is lost on the way; nothing when
// it lies outside the 64-bit range a whole-number column holds.
std::optional<qint64> wholeValue(const QString &text);

// The leading number of a text as a whole-number column keeps it, when that is the number typed:
// nothing for a fraction ("2.5"), an exponent ("1e3", which the leading-number rule reads as 1)
// or a number outside the 64-bit range. Zeros after the point ("12.0") take nothing away.
std::optional<qint64> wholeAsTyped(const QString &text);

// Whether the leading number of a text, kept as a floating-point number and written back plainly,
// is the number typed: false for more digits than such a number holds, or an exponent.
bool keepsAsTyped(const QString &text);

} // namespace Numbers
