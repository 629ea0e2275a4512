#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Dates in the program's formats. Month names are always English; two-digit years read as
// 2000-2029 for 00-29 and 1930-1999 for 30-99.
namespace DateText {

QString toShort(const QDate &date);            // "05-Mar-24"
QString toLong(const QDate &date);             // "05-03-2024"
QString toIso(const QDate &date);              // "2024-03-05", as stored
QString toIso(const QDateTime &dateTime);      // "2024-03-05 14:30:05"
// "05-Mar-24 2:30:05 PM"; a time of midnight is left out, as the program always showed it.
QString toGeneral(const QDateTime &dateTime);

int expandYear(int twoDigitYear);

// Reads any of the program's forms: ISO date or date-time, "dd-MMM-yy", "dd-MMM-yyyy",
// "dd-MM-yyyy", "dd/MM/yyyy". An invalid QDate when the text is none of them.
QDate parse(const QString &text);
QDateTime parseDateTime(const QString &text);

} // namespace DateText
