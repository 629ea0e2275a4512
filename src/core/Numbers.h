#pragma once

#include <QString>

// The program's number rules for text boxes and accession numbers.
namespace Numbers {

// The leading numeric value of a text: leading blanks, a sign, digits and one decimal point;
// anything else ends the number, and text without a number is 0.
double leadingValue(const QString &text);

// A number written plainly: no exponent, no trailing zeros, no thousands separator ("12", "12.5").
QString plainText(double value);

} // namespace Numbers
