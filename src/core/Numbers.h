#pragma once

#include <QString>

// The program's number rules for text boxes and accession numbers.
namespace Numbers {

// The leading numeric value of a text: leading blanks, a sign, digits and one decimal point;
// anything else ends the number, and text without a number is 0.
double leadingValue(const QString &text);
// The same rule on UTF-8 bytes (the database's Val function sorts 100,000 rows with it).
double leadingValue(const char *text, int length);

// A number written plainly: no exponent, no trailing zeros, no thousands separator ("12", "12.5").
QString plainText(double value);

} // namespace Numbers
