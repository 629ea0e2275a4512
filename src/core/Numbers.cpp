#include "core/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace Numbers {

double leadingValue(const char *text, int length)
{
    int i = 0;
    while (i < length && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const int start = i;
    if (i < length && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool point = false;
    bool digits = false;
    for (; i < length; ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            digits = true;
        else if (text[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return 0.0;
    // Most accession numbers are a few digits alone: a whole number of up to 15 digits is exact in
    // a double, as from_chars would give it.
    const bool negative = text[start] == '-';
    const int from = start + (negative || text[start] == '+' ? 1 : 0);
    if (!point && i - from <= 15) {
        qint64 whole = 0;
        for (int k = from; k < i; ++k)
            whole = whole * 10 + (text[k] - '0');
        return negative ? -double(whole) : double(whole);
    }
    // from_chars takes no '+' and ignores the C locale's decimal point.
    const char *first = text + start + (text[start] == '+' ? 1 : 0);
    double value = 0.0;
    std::from_chars(first, text + i, value);
    return value;
}

namespace {

// The leading number of a text in its parts: "-007.50x" gives negative, "007" and "50".
struct LeadingNumber
{
    bool negative = false;
    QString whole, fraction;
    bool exponent = false; // followed by "e" or "E", an optional sign and a digit
    bool hasDigits() const { return !whole.isEmpty() || !fraction.isEmpty(); }
};

bool isAsciiDigit(QChar c)
{
    return c.isDigit() && c.unicode() < 128;
}

LeadingNumber leadingNumber(const QString &text)
{
    LeadingNumber number;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        number.negative = text[i++] == QLatin1Char('-');
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isAsciiDigit(c))
            (point ? number.fraction : number.whole) += c;
        else if (c == QLatin1Char('.') && !point)
            point = true;
        else
            break;
    }
    if (number.hasDigits() && i < n &&
        (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            ++i;
        number.exponent = i < n && isAsciiDigit(text[i]);
    }
    return number;
}

} // namespace

double leadingValue(const QString &text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    QString number;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        number += text[i++];
    bool point = false;
    bool digits = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            number += c;
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            number += c;
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    return number.toDouble();
}

QString plainText(double value)
{
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    // At most the 15 significant digits a double holds, and 10 decimals: beyond them lies the
    // binary fraction's noise (0.1 + 0.2 reads 0.3, and 1234567.89 stays 1234567.89).
    int wholeDigits = 0;
    for (double whole = std::floor(std::fabs(value)); whole >= 1 && wholeDigits < 16; whole /= 10)
        ++wholeDigits;
    QString text = QString::number(value, 'f', std::clamp(15 - wholeDigits, 0, 10));
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

std::optional<qint64> wholeValue(const QString &text)
{
    const LeadingNumber number = leadingNumber(text);
    // Up to 2^63 for a negative number, 2^63 - 1 for a positive one.
    const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (number.negative ? 1 : 0);
    quint64 magnitude = 0;
    for (const QChar c : number.whole) {
        const quint64 digit = c.unicode() - '0';
        if (magnitude > (limit - digit) / 10)
            return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    if (!number.fraction.isEmpty()) {
        const int first = number.fraction[0].unicode() - '0';
        const QStringView rest = QStringView(number.fraction).mid(1);
        const bool beyondHalf =
            std::any_of(rest.begin(), rest.end(), [](QChar c) { return c != QLatin1Char('0'); });
        const bool up = first > 5 || (first == 5 && (beyondHalf || magnitude % 2 == 1));
        if (up) {
            if (magnitude == limit)
                return std::nullopt;
            ++magnitude;
        }
    }
    if (number.negative)
        return magnitude == 0 ? 0 : -qint64(magnitude - 1) - 1;
    return qint64(magnitude);
}

std::optional<qint64> wholeAsTyped(const QString &text)
{
    const LeadingNumber number = leadingNumber(text);
    const bool fraction = std::any_of(number.fraction.begin(), number.fraction.end(),
                                      [](QChar c) { return c != QLatin1Char('0'); });
    if (fraction || number.exponent)
        return std::nullopt;
    return wholeValue(text);
}

bool keepsAsTyped(const QString &text)
{
    const LeadingNumber number = leadingNumber(text);
    if (!number.hasDigits())
        return true;
    if (number.exponent)
        return false;
    QString whole = number.whole;
    while (whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    QString fraction = number.fraction;
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    QString typed = whole;
    if (!fraction.isEmpty())
        typed += QLatin1Char('.') + fraction;
    if (number.negative && typed != QLatin1String("0"))
        typed.prepend(QLatin1Char('-'));
    return plainText(leadingValue(text)) == typed;
}

} // namespace Numbers
