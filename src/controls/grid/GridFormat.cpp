#include "controls/grid/GridFormat.h"

#include "controls/grid/GridDates.h"
#include "controls/grid/GridNumbers.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace GridFormat {
namespace {

struct NumberPattern
{
    QString prefix;
    QString suffix;
    int minIntegerDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool grouping = false;
    bool percent = false;
};

std::optional<NumberPattern> namedNumberFormat(QStringView format)
{
    const auto is = [format](const char16_t *name) {
        return format.compare(QStringView(name), Qt::CaseInsensitive) == 0;
    };
    if (is(u"Currency"))
        return NumberPattern{QStringLiteral("$"), {}, 1, 2, 2, true, false};
    if (is(u"Fixed"))
        return NumberPattern{{}, {}, 1, 2, 2, false, false};
    if (is(u"Standard"))
        return NumberPattern{{}, {}, 1, 2, 2, true, false};
    if (is(u"Percent"))
        return NumberPattern{{}, QStringLiteral("%"), 1, 2, 2, false, true};
    return std::nullopt;
}

std::optional<NumberPattern> numberPattern(QStringView format)
{
    if (auto named = namedNumberFormat(format))
        return named;
    const auto isPlaceholder = [](QChar c) { return c == u'0' || c == u'#'; };
    qsizetype first = 0;
    while (first < format.size() && !isPlaceholder(format[first]))
        ++first;
    qsizetype last = format.size() - 1;
    while (last >= 0 && !isPlaceholder(format[last]))
        --last;
    if (first == format.size())
        return std::nullopt;
    NumberPattern pattern;
    pattern.prefix = format.first(first).toString();
    pattern.suffix = format.sliced(last + 1).toString();
    for (const QChar c : pattern.prefix + pattern.suffix) {
        if (!QStringView(u" $-+()%").contains(c))
            return std::nullopt;
    }
    pattern.percent = format.contains(u'%');
    bool decimals = false;
    for (const QChar c : format.sliced(first, last - first + 1)) {
        if (c == u'.') {
            decimals = true;
        } else if (c == u',') {
            pattern.grouping = true;
        } else if (c == u'0' || c == u'#') {
            if (!decimals) {
                pattern.minIntegerDigits += c == u'0' ? 1 : 0;
            } else {
                pattern.minDecimals += c == u'0' ? 1 : 0;
                ++pattern.maxDecimals;
            }
        } else {
            return std::nullopt;
        }
    }
    return pattern;
}

QString groupThousands(const QString &digits)
{
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += u',';
        grouped += digits[i];
    }
    return grouped;
}

QString formatNumber(double value, const NumberPattern &pattern)
{
    if (pattern.percent)
        value *= 100;
    const double scale = std::pow(10.0, pattern.maxDecimals);
    QString digits;
    if (std::fabs(value) * scale < 1e15) {
        // Halves round away from zero, as number formats always did.
        digits = QString::number(qint64(std::round(std::fabs(value) * scale)));
    } else {
        digits = QString::number(std::fabs(value) * scale, 'f', 0);
    }
    digits = digits.rightJustified(pattern.maxDecimals + 1, u'0');
    QString integer = digits.first(digits.size() - pattern.maxDecimals);
    QString fraction = digits.last(pattern.maxDecimals);
    while (fraction.size() > pattern.minDecimals && fraction.endsWith(u'0'))
        fraction.chop(1);
    if (integer == u"0" && pattern.minIntegerDigits == 0)
        integer.clear();
    integer = integer.rightJustified(pattern.minIntegerDigits, u'0');
    if (pattern.grouping)
        integer = groupThousands(integer);
    const bool zero = std::all_of(digits.begin(), digits.end(), [](QChar c) { return c == u'0'; });
    QString text =
        (value < 0 && !zero ? QStringLiteral("-") : QString()) + pattern.prefix + integer;
    if (!fraction.isEmpty())
        text += u'.' + fraction;
    return text + pattern.suffix;
}

// A date format as its pieces: runs of one date letter, AM/PM, or literal separators.
std::optional<std::vector<QString>> dateTokens(QStringView format)
{
    std::vector<QString> tokens;
    for (qsizetype i = 0; i < format.size();) {
        if (format.sliced(i).startsWith(u"AM/PM", Qt::CaseInsensitive)) {
            tokens.push_back(format.sliced(i, 5).toString());
            i += 5;
            continue;
        }
        const QChar c = format[i].toLower();
        if (QStringView(u"dmyhns").contains(c)) {
            qsizetype end = i;
            while (end < format.size() && format[end].toLower() == c)
                ++end;
            tokens.push_back(format.sliced(i, end - i).toString().toLower());
            i = end;
        } else if (QStringView(u" -/:.,").contains(c)) {
            tokens.push_back(QString(format[i++]));
        } else {
            return std::nullopt;
        }
    }
    return tokens;
}

QString formatDate(const GridDates::DateValue &value, const std::vector<QString> &tokens)
{
    const QLocale english(QLocale::English);
    const QDate &date = value.date;
    const int hour = value.secondsOfDay / 3600;
    const int minute = value.secondsOfDay / 60 % 60;
    const int second = value.secondsOfDay % 60;
    bool twelveHour = false;
    for (const QString &token : tokens)
        twelveHour = twelveHour || token.size() == 5;
    const auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };

    QString text;
    for (const QString &token : tokens) {
        const int shownHour = twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
        if (token.size() == 5)
            text += hour < 12 ? (token[0].isUpper() ? u"AM" : u"am")
                              : (token[0].isUpper() ? u"PM" : u"pm");
        else if (token == u"d" || token == u"dd")
            text += token.size() == 1 ? QString::number(date.day()) : two(date.day());
        else if (token == u"ddd" || token.startsWith(u"dddd"))
            text += english.dayName(date.dayOfWeek(),
                                    token.size() == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        else if (token == u"m" || token == u"mm")
            text += token.size() == 1 ? QString::number(date.month()) : two(date.month());
        else if (token == u"mmm" || token.startsWith(u"mmmm"))
            text += english.monthName(date.month(), token.size() == 3 ? QLocale::ShortFormat
                                                                      : QLocale::LongFormat);
        else if (token == u"yy")
            text += two(date.year() % 100);
        else if (token.startsWith(u'y'))
            text += QString::number(date.year());
        else if (token.startsWith(u'h'))
            text += token.size() == 1 ? QString::number(shownHour) : two(shownHour);
        else if (token.startsWith(u'n'))
            text += token.size() == 1 ? QString::number(minute) : two(minute);
        else if (token.startsWith(u's'))
            text += token.size() == 1 ? QString::number(second) : two(second);
        else
            text += token;
    }
    return text;
}

// A number in a date format counts days from 30 December 1899, as date values always did.
GridDates::DateValue dateOfSerial(double serial)
{
    const double days = std::floor(serial);
    const int seconds = int(std::lround((serial - days) * 86400)) % 86400;
    return {QDate(1899, 12, 30).addDays(qint64(days)), seconds};
}

template <typename Recognise>
QString formatWith(const QString &text, QStringView format, Recognise recognise)
{
    if (format.isEmpty())
        return text;
    const std::optional<double> number = GridNumbers::strictNumber(text);
    if (format.compare(u"General Number", Qt::CaseInsensitive) == 0)
        return number ? GridNumbers::CStr(*number) : text;
    if (const auto pattern = numberPattern(format))
        return number ? formatNumber(*number, *pattern) : text;
    if (const auto tokens = dateTokens(format)) {
        if (const auto date = recognise(text))
            return formatDate(*date, *tokens);
        if (number)
            return formatDate(dateOfSerial(*number), *tokens);
    }
    return text;
}

} // namespace

QString formatValue(const QString &text, QStringView format)
{
    return formatWith(text, format, [](QStringView t) { return GridDates::recognise(t); });
}

QString formatValue(const QString &text, QStringView format, int thisYear)
{
    return formatWith(text, format,
                      [thisYear](QStringView t) { return GridDates::recognise(t, thisYear); });
}

} // namespace GridFormat
