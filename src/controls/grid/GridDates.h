#pragma once

#include <QDate>
#include <QStringView>

#include <functional>
#include <optional>

// The date texts a date column recognises: dd-MMM-yy, dd-MMM-yyyy, dd-MM-yyyy, dd/MM/yyyy and
// yyyy-MM-dd, each optionally followed by a time hh:mm or hh:mm:ss. Month names are English;
// a two-digit year reads as the year of the hundred from 80 years ago to 19 years ahead.
namespace GridDates {

struct DateValue
{
    QDate date;
    int secondsOfDay = 0;

    // Orders date values; comparable across all forms.
    qint64 sortKey() const { return date.toJulianDay() * 86400 + secondsOfDay; }
};

// The running year, which places two-digit years. Reading the clock costs more than reading a
// date, so a run over many texts (a sort, a column's widths, a repaint) reads it once.
int currentYear();

// Reads the clock only for a two-digit year.
std::optional<DateValue> recognise(QStringView text);
std::optional<DateValue> recognise(QStringView text, int thisYear);

// Test aid: the clock currentYear reads; an empty function restores the system's.
void setClockForTest(std::function<QDate()> today);

} // namespace GridDates
