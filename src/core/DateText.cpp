#include "core/DateText.h"

#include <QLocale>
#include <QRegularExpression>

namespace DateText {

namespace {

const QLocale &english()
{
    static const QLocale locale(QLocale::English, QLocale::UnitedStates);
    return locale;
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
    return date.isValid() ? date.toString(QStringLiteral("dd-MM-yyyy")) : QString();
}

QString toIso(const QDate &date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
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

int expandYear(int twoDigitYear)
{
    return expandYear(twoDigitYear, QDate::currentDate().year());
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

QDate parse(const QString &text)
{
    return parseDateTime(text).date();
}

QDateTime parseDateTime(const QString &raw)
{
    const QString text = raw.trimmed();
    static const QRegularExpression iso(
        QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[ T](\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?"));
    static const QRegularExpression named(
        QStringLiteral("^(\\d{1,2})[- /]([A-Za-z]{3,9})[- /](\\d{2}|\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*([AaPp][Mm])?)?$"));
    static const QRegularExpression numeric(
        QStringLiteral("^(\\d{1,2})[-/.](\\d{1,2})[-/.](\\d{2}|\\d{4})$"));
    auto year = [](const QString &y) { return y.size() == 2 ? expandYear(y.toInt()) : y.toInt(); };
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

} // namespace DateText
