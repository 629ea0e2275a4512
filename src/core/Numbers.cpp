#include "core/Numbers.h"

#include <charconv>
#include <cmath>

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
    // from_chars takes no '+' and ignores the C locale's decimal point.
    const char *first = text + start + (text[start] == '+' ? 1 : 0);
    double value = 0.0;
    std::from_chars(first, text + i, value);
    return value;
}

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
    QString text = QString::number(value, 'f', 10);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace Numbers
