#include "core/Pattern.h"

namespace Pattern {

namespace {

// Returns the index after the set starting at pattern[start] == '[', or -1 when it never closes.
int matchSet(QStringView pattern, qsizetype start, QChar c, bool *matched)
{
    qsizetype i = start + 1;
    bool negate = false;
    if (i < pattern.size() && pattern[i] == QLatin1Char('!')) {
        negate = true;
        ++i;
    }
    bool found = false;
    const QChar lc = c.toLower();
    bool first = true;
    while (i < pattern.size() && (pattern[i] != QLatin1Char(']') || first)) {
        first = false;
        QChar low = pattern[i].toLower();
        QChar high = low;
        if (i + 2 < pattern.size() && pattern[i + 1] == QLatin1Char('-') && pattern[i + 2] != QLatin1Char(']')) {
            high = pattern[i + 2].toLower();
            i += 2;
        }
        if (lc >= low && lc <= high)
            found = true;
        ++i;
    }
    if (i >= pattern.size())
        return -1;
    *matched = found != negate;
    return i + 1;
}

bool matchFrom(QStringView value, qsizetype v, QStringView pattern, qsizetype p)
{
    while (p < pattern.size()) {
        const QChar pc = pattern[p];
        if (pc == QLatin1Char('*')) {
            while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
                ++p;
            if (p == pattern.size())
                return true;
            for (qsizetype k = v; k <= value.size(); ++k)
                if (matchFrom(value, k, pattern, p))
                    return true;
            return false;
        }
        if (v >= value.size())
            return false;
        const QChar vc = value[v];
        if (pc == QLatin1Char('?')) {
            ++p;
        } else if (pc == QLatin1Char('#')) {
            if (!vc.isDigit())
                return false;
            ++p;
        } else if (pc == QLatin1Char('[')) {
            bool matched = false;
            const qsizetype next = matchSet(pattern, p, vc, &matched);
            if (next < 0) { // an unclosed '[' stands for itself
                if (vc != pc)
                    return false;
                ++p;
            } else {
                if (!matched)
                    return false;
                p = next;
            }
        } else {
            if (vc.toLower() != pc.toLower())
                return false;
            ++p;
        }
        ++v;
    }
    return v == value.size();
}

} // namespace

bool matches(QStringView value, QStringView pattern)
{
    return matchFrom(value, 0, pattern, 0);
}

QString prefix(const QString &typed)
{
    QString escaped;
    for (const QChar c : typed) {
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') || c == QLatin1Char('['))
            escaped += QLatin1Char('[') + c + QLatin1Char(']');
        else
            escaped += c;
    }
    return escaped + QLatin1Char('*');
}

} // namespace Pattern
