#include "core/DateText.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace DateText {

namespace {

const QLocale &english()
{
    static const QLocale locale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Reads "yyyy-M-d" at the start of the text as the general reader's ISO form does (one or two
// digits for month and day, anything after them ignored), without a regular expression or a
// local date-time: the registers read a date on every row. Nothing when the text starts otherwise.
std::optional<QDate> isoStart(const QString &text)
{
    qsizetype i = 0;
    const auto number = [&](int minDigits, int maxDigits) {
        int value = 0;
        int digits = 0;
        while (digits < maxDigits && i < text.size() && isDigit(text[i].unicode())) {
            value = value * 10 + (text[i].unicode() - u'0');
            ++digits;
            ++i;
        }
        return digits >= minDigits ? value : -1;
    };
    const auto dash = [&] { return i < text.size() && text[i] == u'-' ? (++i, true) : false; };
    const int year = number(4, 4);
    if (year < 0 || !dash())
        return std::nullopt;
    const int month = number(1, 2);
    if (month < 0 || !dash())
        return std::nullopt;
    const int day = number(1, 2);
    if (day < 0)
        return std::nullopt;
    return QDate(year, month, day);
}

std::function<QDate()> &testClock()
{
    static std::function<QDate()> clock;
    return clock;
}

int monthFromName(const QString &name)
{
    for (int m = 1; m <= 12; ++m)
        if (english().monthName(m, QLocale::ShortFormat).compare(name.left(3), Qt::CaseInsensitive) == 0)
            return m;
    return 0;
}

} // namespace

QString toShort(const QDate &date)
{
    return date.isValid() ? english().toString(date, QStringLiteral("dd-MMM-yy")) : QString();
}

QString toLong(const QDate &date)
{
    if (!date.isValid())
        return QString();
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    if (year < 1 || year > 9999)
        return date.toString(QStringLiteral("dd-MM-yyyy"));
    // Written by hand: the format parser costs more than the register row it fills.
    const char16_t text[10] = {char16_t(u'0' + day / 10),
                               char16_t(u'0' + day % 10),
                               u'-',
                               char16_t(u'0' + month / 10),
                               char16_t(u'0' + month % 10),
                               u'-',
                               char16_t(u'0' + year / 1000),
                               char16_t(u'0' + year / 100 % 10),
                               char16_t(u'0' + year / 10 % 10),
                               char16_t(u'0' + year % 10)};
    return QString(reinterpret_cast<const QChar *>(text), 10);
}

QString toIso(const QDate &date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

QString isoAfterDay(const QDate &date)
{
    // A day is stored as its date alone or followed by a blank or "T" and a time: all of it
    // sorts below the date followed by the highest ASCII character.
    const QString day = toIso(date);
    return day.isEmpty() ? day : day + QLatin1Char('\x7f');
}

QString toIso(const QDateTime &dateTime)
{
    return dateTime.isValid() ? dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

QString toGeneral(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return QString();
    const QString date = toShort(dateTime.date());
    if (dateTime.time() == QTime(0, 0))
        return date;
    return date + QLatin1Char(' ') + english().toString(dateTime.time(), QStringLiteral("h:mm:ss AP"));
}

int thisYear()
{
    const std::function<QDate()> &clock = testClock();
    return (clock ? clock() : QDate::currentDate()).year();
}

int expandYear(int twoDigitYear)
{
    return expandYear(twoDigitYear, thisYear());
}

int expandYear(int twoDigitYear, int thisYear)
{
    // A fixed century would put a loan of 2030 a hundred years back; the window moves with time,
    // reaching far enough back for birth dates and far enough ahead for validity dates.
    const int first = thisYear - 80;
    int year = first - first % 100 + twoDigitYear % 100;
    if (year < first)
        year += 100;
    return year;
}

namespace {

// ThisYear gives the year that places a two-digit year, asked only when one is read.
template <typename ThisYear> QDateTime readDateTime(const QString &raw, ThisYear thisYear)
{
    const QString text = raw.trimmed();
    static const QRegularExpression iso(
        QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[ T](\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?"));
    static const QRegularExpression named(
        QStringLiteral("^(\\d{1,2})[- /]([A-Za-z]{3,9})[- /](\\d{2}|\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*([AaPp][Mm])?)?$"));
    static const QRegularExpression numeric(
        QStringLiteral("^(\\d{1,2})[-/.](\\d{1,2})[-/.](\\d{2}|\\d{4})$"));
    auto year = [&thisYear](const QString &y) {
        return y.size() == 2 ? expandYear(y.toInt(), thisYear()) : y.toInt();
    };
    QRegularExpressionMatch m = iso.match(text);
    if (m.hasMatch()) {
        const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
        return QDateTime(date, time.isValid() ? time : QTime(0, 0));
    }
    m = named.match(text);
    if (m.hasMatch()) {
        const int month = monthFromName(m.captured(2));
        if (month == 0)
            return QDateTime();
        const QDate date(year(m.captured(3)), month, m.captured(1).toInt());
        int hour = m.captured(4).toInt();
        const QString half = m.captured(7).toUpper();
        if (half == QLatin1String("PM") && hour < 12)
            hour += 12;
        if (half == QLatin1String("AM") && hour == 12)
            hour = 0;
        return QDateTime(date, QTime(hour, m.captured(5).toInt(), m.captured(6).toInt()));
    }
    m = numeric.match(text);
    if (m.hasMatch())
        return QDateTime(QDate(year(m.captured(3)), m.captured(2).toInt(), m.captured(1).toInt()), QTime(0, 0));
    return QDateTime();
}

template <typename ThisYear> QDate readDate(const QString &text, ThisYear thisYear)
{
    if (!text.isEmpty() && isDigit(text.front().unicode()))
        if (const auto date = isoStart(text))
            return *date;
    return readDateTime(text, thisYear).date();
}

} // namespace

QDate parse(const QString &text)
{
    return readDate(text, [] { return thisYear(); });
}

QDate parse(const QString &text, int thisYear)
{
    return readDate(text, [thisYear] { return thisYear; });
}

QDateTime parseDateTime(const QString &text)
{
    return readDateTime(text, [] { return thisYear(); });
}

QDateTime parseDateTime(const QString &text, int thisYear)
{
    return readDateTime(text, [thisYear] { return thisYear; });
}

namespace {

bool isTypedSeparator(QChar c)
{
    return c == u'-' || c == u'/' || c == u'.' || c == u' ';
}

// A month of one or two digits, or named as the program prints it ("Jan") or in full, in any
// letter case; 0 for anything else.
int typedMonth(const QString &text)
{
    if (text.isEmpty() || text.size() > 9)
        return 0;
    if (text.size() <= 2 &&
        std::all_of(text.begin(), text.end(), [](QChar c) { return isDigit(c.unicode()); }))
        return text.toInt();
    for (int m = 1; m <= 12; ++m)
        if (text.compare(english().monthName(m, QLocale::ShortFormat), Qt::CaseInsensitive) == 0 ||
            text.compare(english().monthName(m, QLocale::LongFormat), Qt::CaseInsensitive) == 0)
            return m;
    return 0;
}

template <typename ThisYear>
std::optional<QDate> readTypedDate(const QString &raw, ThisYear thisYear)
{
    const QString text = raw.trimmed();
    const auto allDigits = [](const QString &digits) {
        return std::all_of(digits.begin(), digits.end(),
                           [](QChar c) { return isDigit(c.unicode()); });
    };
    QStringList parts;
    if ((text.size() == 8 || text.size() == 6) && allDigits(text)) {
        parts = {text.left(2), text.mid(2, 2), text.mid(4)};
    } else {
        QString part;
        for (const QChar c : text) {
            if (isTypedSeparator(c)) {
                parts << part;
                part.clear();
            } else {
                part += c;
            }
        }
        parts << part;
    }
    if (parts.size() != 3)
        return std::nullopt;
    const QString &day = parts[0];
    const QString &year = parts[2];
    const int month = typedMonth(parts[1]);
    if (day.isEmpty() || day.size() > 2 || !allDigits(day) || month == 0 ||
        (year.size() != 2 && year.size() != 4) || !allDigits(year))
        return std::nullopt;
    const QDate date(year.size() == 2 ? expandYear(year.toInt(), thisYear()) : year.toInt(), month,
                     day.toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

} // namespace

std::optional<QDate> readTyped(const QString &text)
{
    return readTypedDate(text, [] { return thisYear(); });
}

std::optional<QDate> readTyped(const QString &text, int thisYear)
{
    return readTypedDate(text, [thisYear] { return thisYear; });
}

void setClockForTest(std::function<QDate()> today)
{
    testClock() = std::move(today);
}

} // namespace DateText
