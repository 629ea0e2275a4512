#include "core/Numbers.h"

#include <cmath>

namespace Numbers {

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
