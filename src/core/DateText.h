#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

// Dates in the program's formats. Month names are always English; a two-digit year reads as the
// year of the hundred from 80 years before the running year to 19 after it (in 2026: 1946-2045).
namespace DateText {

QString toShort(const QDate &date);       // "05-Mar-24"
QString toLong(const QDate &date);        // "05-03-2024"
QString toIso(const QDate &date);         // "2024-03-05", as stored
QString toIso(const QDateTime &dateTime); // "2024-03-05 14:30:05"
// The open upper bound of a range of stored dates that ends on that day: it sorts after the day's
// text alone or with any time, and before the next day. Unlike the next day's text it exists for
// the last day too (9999-12-31, whose next day has no ISO text).
QString isoAfterDay(const QDate &date);
// "05-Mar-24 2:30:05 PM"; a time of midnight is left out, as the program always showed it.
QString toGeneral(const QDateTime &dateTime);

// The running year. Reading the clock costs more than reading a date: a run that reads many
// dates (a register, a list, an export) takes the year once and passes it on.
int thisYear();

// A two-digit year in the hundred years around the running year, or around thisYear.
int expandYear(int twoDigitYear);
int expandYear(int twoDigitYear, int thisYear);

// Reads any of the program's forms: ISO date or date-time, "dd-MMM-yy", "dd-MMM-yyyy",
// "dd-MM-yyyy", "dd/MM/yyyy". An invalid QDate when the text is none of them. Without thisYear
// the clock is read for a two-digit year.
QDate parse(const QString &text);
QDate parse(const QString &text, int thisYear);
QDateTime parseDateTime(const QString &text);
QDateTime parseDateTime(const QString &text, int thisYear);

// A date as a user types or pastes it, blanks around it ignored: day, month and year separated
// by "-", "/", "." or a space, or 8 digits (ddMMyyyy) or 6 (ddMMyy). The day has one or two
// digits; the month one or two, or its English name as the program prints it ("Jan") or in
// full, in any letter case; the year two (read by expandYear) or four. Nothing for any other text
// or a day that does not exist.
std::optional<QDate> readTyped(const QString &text);
std::optional<QDate> readTyped(const QString &text, int thisYear);

// Test aid: the clock thisYear() reads; an empty function restores the system's.
void setClockForTest(std::function<QDate()> today);

} // namespace DateText
