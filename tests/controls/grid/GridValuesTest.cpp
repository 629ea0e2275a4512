#include "controls/grid/GridDates.h"
#include "controls/grid/GridFormat.h"
#include "controls/grid/GridNumbers.h"

#include <gtest/gtest.h>

using GridNumbers::CStr;
using GridNumbers::rVal;

TEST(GridValues, NumberReaderTable)
{
    EXPECT_DOUBLE_EQ(rVal(u"  12.50  "), 12.5);
    EXPECT_DOUBLE_EQ(rVal(u"$1,234.50"), 1234.5);
    EXPECT_DOUBLE_EQ(rVal(u"£7"), 7);
    EXPECT_DOUBLE_EQ(rVal(u"&HFF"), 255);
    EXPECT_DOUBLE_EQ(rVal(u"&hff"), 255);
    EXPECT_DOUBLE_EQ(rVal(u"&O17"), 15);
    EXPECT_DOUBLE_EQ(rVal(u"5 kg"), 5);
    EXPECT_DOUBLE_EQ(rVal(u"1E3"), 1000);
    EXPECT_DOUBLE_EQ(rVal(u"12/05/2023"), 12052023);
    EXPECT_DOUBLE_EQ(rVal(u"-3"), -3);
    EXPECT_DOUBLE_EQ(rVal(u"abc"), 0);
    EXPECT_DOUBLE_EQ(rVal(u""), 0);
    EXPECT_DOUBLE_EQ(rVal(u"1.2.3"), 123); // the comma-decimal second chance
    EXPECT_DOUBLE_EQ(rVal(u"-"), 0);
    EXPECT_DOUBLE_EQ(rVal(u"1E999"), 0);
    // Texts without digits read as Booleans.
    EXPECT_DOUBLE_EQ(rVal(u"True"), -1);
    EXPECT_DOUBLE_EQ(rVal(u" false "), 0);
    EXPECT_DOUBLE_EQ(rVal(u"no"), 0);
    EXPECT_DOUBLE_EQ(rVal(u"Eve"), 0);
}

TEST(GridValues, BooleansAndStrictNumbers)
{
    EXPECT_EQ(GridNumbers::readBoolean(u"TRUE"), true);
    EXPECT_EQ(GridNumbers::readBoolean(u"False"), false);
    EXPECT_EQ(GridNumbers::readBoolean(u"-1"), true);
    EXPECT_EQ(GridNumbers::readBoolean(u"0"), false);
    EXPECT_EQ(GridNumbers::readBoolean(u"abc"), std::nullopt);
    EXPECT_EQ(GridNumbers::readBoolean(u""), std::nullopt);
    EXPECT_EQ(GridNumbers::strictNumber(u" 1,234.5 "), 1234.5);
    EXPECT_EQ(GridNumbers::strictNumber(u"5 kg"), std::nullopt);
}

TEST(GridValues, FifteenSignificantDigits)
{
    EXPECT_EQ(CStr(0), "0");
    EXPECT_EQ(CStr(12.5), "12.5");
    EXPECT_EQ(CStr(-1), "-1");
    EXPECT_EQ(CStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(CStr(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(CStr(123456789012345), "123456789012345");
    EXPECT_EQ(CStr(1e15), "1E+15");
    EXPECT_EQ(CStr(0.0001), "0.0001");
    EXPECT_EQ(CStr(0.00001), "1E-05");
    EXPECT_EQ(CStr(-2.5e-7), "-2.5E-07");
    EXPECT_EQ(CStr(1200), "1200");
}

TEST(GridValues, DateRecognition)
{
    const auto day = [](const char16_t *text) {
        const auto value = GridDates::recognise(text);
        return value ? value->date : QDate();
    };
    EXPECT_EQ(day(u"05-Mar-24"), QDate(2024, 3, 5));
    EXPECT_EQ(day(u"05-mar-1999"), QDate(1999, 3, 5));
    // Two digits read within the hundred years from 80 years ago, never a fixed century.
    const int thisYear = QDate::currentDate().year();
    for (int back : {0, 1, 79, 80, 81}) {
        const int year = thisYear - back;
        const QString text = QStringLiteral("05-Mar-%1").arg(year % 100, 2, 10, QLatin1Char('0'));
        const auto value = GridDates::recognise(text);
        ASSERT_TRUE(value) << text.toStdString();
        EXPECT_EQ(value->date, QDate(back <= 80 ? year : year + 100, 3, 5)) << text.toStdString();
    }
    EXPECT_EQ(day(u"31-12-2023"), QDate(2023, 12, 31));
    EXPECT_EQ(day(u"31/12/2023"), QDate(2023, 12, 31));
    EXPECT_EQ(day(u"2023-12-31"), QDate(2023, 12, 31));
    EXPECT_FALSE(GridDates::recognise(u"31-02-2023"));
    EXPECT_FALSE(GridDates::recognise(u"31-12-23"));
    EXPECT_FALSE(GridDates::recognise(u"2023-12-31x"));
    EXPECT_FALSE(GridDates::recognise(u"soon"));
    const auto withTime = GridDates::recognise(u"2023-12-31 14:30:05");
    ASSERT_TRUE(withTime);
    EXPECT_EQ(withTime->secondsOfDay, 14 * 3600 + 30 * 60 + 5);
}

TEST(GridValues, DisplayFormats)
{
    using GridFormat::formatValue;
    EXPECT_EQ(formatValue("1234.5", u""), "1234.5");
    EXPECT_EQ(formatValue("1234.5", u"0.00"), "1234.50");
    EXPECT_EQ(formatValue("1234.567", u"#,##0.00"), "1,234.57");
    EXPECT_EQ(formatValue("1234567", u"#,##0"), "1,234,567");
    EXPECT_EQ(formatValue("0.5", u"#.##"), ".5");
    EXPECT_EQ(formatValue("2.5", u"0"), "3");
    EXPECT_EQ(formatValue("-2.5", u"0"), "-3");
    EXPECT_EQ(formatValue("0.256", u"0.0%"), "25.6%");
    EXPECT_EQ(formatValue("-1234.5", u"Currency"), "-$1,234.50");
    EXPECT_EQ(formatValue("1234.5", u"Fixed"), "1234.50");
    EXPECT_EQ(formatValue("1234.5", u"Standard"), "1,234.50");
    EXPECT_EQ(formatValue("0.125", u"Percent"), "12.50%");
    EXPECT_EQ(formatValue("1E3", u"General Number"), "1000");
    EXPECT_EQ(formatValue("n/a", u"0.00"), "n/a");

    EXPECT_EQ(formatValue("2024-03-05 14:07:09", u"dd-mmm-yyyy hh:nn:ss"), "05-Mar-2024 14:07:09");
    EXPECT_EQ(formatValue("05-Mar-24", u"dddd d mmmm yy"), "Tuesday 5 March 24");
    EXPECT_EQ(formatValue("05/03/2024", u"ddd dd/mm/yyyy"), "Tue 05/03/2024");
    EXPECT_EQ(formatValue("2024-03-05 00:05:00", u"h:nn AM/PM"), "12:05 AM");
    EXPECT_EQ(formatValue("2024-03-05 13:05:00", u"h:nn am/pm"), "1:05 pm");
    EXPECT_EQ(formatValue("45000", u"dd-mm-yyyy"), "15-03-2023");
    EXPECT_EQ(formatValue("someday", u"dd-mm-yyyy"), "someday");
    EXPECT_EQ(formatValue("12", u"Scientific"), "12");

    // A run of values places two-digit years around the year it was given.
    EXPECT_EQ(formatValue("31-Dec-45", u"dd-mm-yyyy", 2026), "31-12-2045");
    EXPECT_EQ(formatValue("01-Jan-46", u"dd-mm-yyyy", 2026), "01-01-1946");
    EXPECT_EQ(formatValue("01-Jan-46", u"dd-mm-yyyy", 2127), "01-01-2146");
    EXPECT_EQ(formatValue("1234.5", u"#,##0.00", 2026), "1,234.50");
}
