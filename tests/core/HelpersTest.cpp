#include "QtPrinters.h"

#include "core/AppError.h"
#include "core/DateText.h"
#include "core/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

TEST(HelpersTest, DatesReadAndWriteInTheProgramsFormats)
{
    const QDate d(2024, 3, 5);
    EXPECT_EQ(DateText::toShort(d), "05-Mar-24");
    EXPECT_EQ(DateText::toLong(d), "05-03-2024");
    EXPECT_EQ(DateText::toIso(d), "2024-03-05");
    EXPECT_EQ(DateText::toGeneral(QDateTime(d, QTime(0, 0))), "05-Mar-24");
    EXPECT_EQ(DateText::toGeneral(QDateTime(d, QTime(14, 30, 5))), "05-Mar-24 2:30:05 PM");
    EXPECT_EQ(DateText::toGeneral(QDateTime(d, QTime(0, 0, 1))), "05-Mar-24 12:00:01 AM");

    EXPECT_EQ(DateText::parse("05-Mar-24"), d);
    EXPECT_EQ(DateText::parse("05-mar-2024"), d);
    EXPECT_EQ(DateText::parse("05-03-2024"), d);
    EXPECT_EQ(DateText::parse("2024-03-05"), d);
    // Two-digit years fall in the hundred years from 80 years back, whatever the century.
    EXPECT_EQ(DateText::expandYear(30, 2026), 2030);
    EXPECT_EQ(DateText::expandYear(45, 2026), 2045);
    EXPECT_EQ(DateText::expandYear(46, 2026), 1946);
    EXPECT_EQ(DateText::expandYear(99, 2026), 1999);
    EXPECT_EQ(DateText::expandYear(0, 2026), 2000);
    EXPECT_EQ(DateText::expandYear(60, 2090), 2060);
    EXPECT_EQ(DateText::expandYear(9, 2090), 2109);
    const int thisYear = QDate::currentDate().year();
    for (int back : {0, 1, 79, 80, 81}) {
        const int year = thisYear - back;
        const QString text = QStringLiteral("01-Jan-%1").arg(year % 100, 2, 10, QLatin1Char('0'));
        EXPECT_EQ(DateText::parse(text).year(), back <= 80 ? year : year + 100) << back;
        EXPECT_EQ(
            DateText::parse(QStringLiteral("01-01-%1").arg(year % 100, 2, 10, QLatin1Char('0')))
                .year(),
            back <= 80 ? year : year + 100);
    }
    EXPECT_FALSE(DateText::parse("31-Feb-24").isValid());
    EXPECT_FALSE(DateText::parse("05-Xyz-24").isValid());
    EXPECT_FALSE(DateText::parse("").isValid());
    EXPECT_EQ(DateText::parseDateTime("2024-03-05 14:30:05"), QDateTime(d, QTime(14, 30, 5)));
    EXPECT_EQ(DateText::parseDateTime("05-Mar-24 2:30:05 PM"), QDateTime(d, QTime(14, 30, 5)));
}

// A typed date is read by one rule; everything else is no date, never another one.
TEST(HelpersTest, TypedDatesReadByOneRule)
{
    const auto read = [](const QString &text) { return DateText::readTyped(text, 2026); };
    const QDate june15(2027, 6, 15);
    for (const char *text : {"15-06-2027", "15/06/2027", "15.06.2027", "15 06 2027", "15062027",
                             "150627", "15-6-27", "15/6-2027", " 15-06-2027 "})
        EXPECT_EQ(read(text), june15) << text;
    EXPECT_EQ(read("5-6-2028"), QDate(2028, 6, 5));
    EXPECT_EQ(read("1-2-31"), QDate(2031, 2, 1)); // eight characters, yet not eight digits
    EXPECT_EQ(read("01-01-46"), QDate(1946, 1, 1));
    EXPECT_EQ(read("29-02-2028"), QDate(2028, 2, 29));
    // The month as the program prints it, or in full, in any letter case.
    for (const char *text :
         {"15-Jun-2027", "15-jun-27", "15 JUNE 2027", "  15/June/2027\t", "15.jun.2027"})
        EXPECT_EQ(read(text), june15) << text;
    EXPECT_EQ(read("12-Jan-2027"), QDate(2027, 1, 12));
    EXPECT_EQ(read("13 January 2027"), QDate(2027, 1, 13));
    EXPECT_EQ(read("20-Nov-26"), QDate(2026, 11, 20));

    for (const char *text :
         {"15-06-7",    "15-06-202",    "15-06-20277", "150620277",   "15062",        "1506202",
          "15-06",      "15-06-2027-",  "15--06-2027", "-06-2027",    "31-04-2027",   "29-02-2027",
          "00-05-2027", "12-13-2027",   "123-06-2027", "15-006-2027", "15-Ju-2027",   "15-06-20a7",
          "",           "--",           "1O-06-2027",  "1a-06-2027",  "15-Juni-2027", "Jun-15-2027",
          "15-Jun2027", "15-Sept-2027", "15-06-Jun",   "   "})
        EXPECT_EQ(read(text), std::nullopt) << text;
}

// Two-digit years are placed around a year that a run of dates takes once; the clock is read only
// when a two-digit year is read without one.
TEST(HelpersTest, TwoDigitYearsReadTheClockOnlyWhenGivenNoYear)
{
    int reads = 0;
    DateText::setClockForTest([&reads] {
        ++reads;
        return QDate(2090, 6, 1);
    });
    const QDate read = DateText::parse("01-Jan-09");
    const int readsForOne = reads;
    const QDate iso = DateText::parse("2009-01-01");
    const QDateTime given = DateText::parseDateTime("01-Jan-09 2:30:05 PM", 2026);
    const QDate numeric = DateText::parse("01-01-09", 2026);
    const QDate full = DateText::parse("01-Jan-2009", 2090);
    const int year = DateText::thisYear();
    DateText::setClockForTest({});

    EXPECT_EQ(read, QDate(2109, 1, 1));
    EXPECT_EQ(readsForOne, 1);
    EXPECT_EQ(iso, QDate(2009, 1, 1));
    EXPECT_EQ(given, QDateTime(QDate(2009, 1, 1), QTime(14, 30, 5)));
    EXPECT_EQ(numeric, QDate(2009, 1, 1));
    EXPECT_EQ(full, QDate(2009, 1, 1));
    EXPECT_EQ(year, 2090);
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(DateText::thisYear(), QDate::currentDate().year());
}

// Stored ISO dates are read without the general reader; every text reads as that reader reads it,
// and the long form is written as the date format writes it.
TEST(HelpersTest, StoredDatesReadAsTheGeneralReaderReadsThem)
{
    const QStringList texts = {"2024-03-05",
                               "2024-3-5",
                               "2024-03-05 14:30:05",
                               "2024-03-05T09:10",
                               "2024-03-051",
                               "2024-03-05xyz",
                               "2024-02-30",
                               "2024-13-01",
                               "0000-01-01",
                               "12024-01-01",
                               "2024-003-05",
                               "2024-03",
                               "2024/03/05",
                               " 2024-03-05",
                               "2024-03-05 99:99",
                               "05-Mar-24",
                               "5-03-2024",
                               "",
                               "abc",
                               "9999-12-31",
                               "0001-01-01"};
    for (const QString &text : texts)
        EXPECT_EQ(DateText::parse(text), DateText::parseDateTime(text).date())
            << text.toStdString();
    for (const QDate &date :
         {QDate(1, 1, 1), QDate(5, 6, 7), QDate(999, 12, 31), QDate(2024, 3, 5),
          QDate(2029, 11, 30), QDate(9999, 12, 31), QDate(10000, 1, 1), QDate(-44, 3, 15), QDate()})
        EXPECT_EQ(DateText::toLong(date),
                  date.isValid() ? date.toString(QStringLiteral("dd-MM-yyyy")) : QString())
            << date.toString().toStdString();
}

TEST(HelpersTest, NumbersFollowTheLeadingNumberRule)
{
    EXPECT_EQ(Numbers::leadingValue(" 42 books"), 42);
    EXPECT_EQ(Numbers::leadingValue("-0.5x"), -0.5);
    EXPECT_EQ(Numbers::leadingValue("1.2.3"), 1.2);
    EXPECT_EQ(Numbers::leadingValue("x12"), 0);
    EXPECT_EQ(Numbers::leadingValue("-"), 0);
    EXPECT_EQ(Numbers::leadingValue("."), 0);
    // Whole numbers of up to 15 digits, read digit by digit, equal the general reading.
    for (const char *text : {"007", "+12x", "-0", "0", "999999999999999", "-123456789012345",
                             "1234567890123456", "98765432109876543", "12."}) {
        const double value = Numbers::leadingValue(text, int(qstrlen(text)));
        const double read = std::strtod(text, nullptr);
        EXPECT_EQ(value, read) << text;
        EXPECT_EQ(std::signbit(value), std::signbit(read)) << text;
    }
    EXPECT_EQ(Numbers::plainText(12), "12");
    EXPECT_EQ(Numbers::plainText(12.5), "12.5");
    EXPECT_EQ(Numbers::plainText(-3), "-3");
    EXPECT_EQ(Numbers::plainText(0.1 + 0.2), "0.3");
    EXPECT_EQ(Numbers::plainText(1234567.89), "1234567.89");
    EXPECT_EQ(Numbers::plainText(-1e-12), "0");
    EXPECT_EQ(Numbers::plainText(1e20), "100000000000000000000");

    // Whole-number columns: rounded from the digits, refused past the 64-bit range.
    EXPECT_EQ(Numbers::wholeValue("2.5"), 2);
    EXPECT_EQ(Numbers::wholeValue("3.5 days"), 4);
    EXPECT_EQ(Numbers::wholeValue("2.5000000000000000001"), 3);
    EXPECT_EQ(Numbers::wholeValue("-2.5"), -2);
    EXPECT_EQ(Numbers::wholeValue("-2.51"), -3);
    EXPECT_EQ(Numbers::wholeValue("R-17"), 0);
    EXPECT_EQ(Numbers::wholeValue(""), 0);
    EXPECT_EQ(Numbers::wholeValue("9007199254740993"), 9007199254740993LL); // past a double
    EXPECT_EQ(Numbers::wholeValue("9223372036854775807"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(Numbers::wholeValue("-9223372036854775808"), std::numeric_limits<qint64>::min());
    EXPECT_EQ(Numbers::wholeValue("9223372036854775807.4"), std::numeric_limits<qint64>::max());
    EXPECT_FALSE(Numbers::wholeValue("9223372036854775807.5"));
    EXPECT_FALSE(Numbers::wholeValue("9223372036854775808"));
    EXPECT_FALSE(Numbers::wholeValue("-9223372036854775809"));
    EXPECT_FALSE(Numbers::wholeValue("99999999999999999999999999"));

    // A whole-number box: only the number typed, so no fraction and no exponent.
    EXPECT_EQ(Numbers::wholeAsTyped(" 42 books"), 42);
    EXPECT_EQ(Numbers::wholeAsTyped("-7"), -7);
    EXPECT_EQ(Numbers::wholeAsTyped("12.000"), 12);
    EXPECT_EQ(Numbers::wholeAsTyped("12."), 12);
    EXPECT_EQ(Numbers::wholeAsTyped("R-17"), 0);
    EXPECT_EQ(Numbers::wholeAsTyped(""), 0);
    EXPECT_EQ(Numbers::wholeAsTyped("12e"), 12);   // no exponent without its digits
    EXPECT_EQ(Numbers::wholeAsTyped("12 e5"), 12); // nor apart from the number
    EXPECT_EQ(Numbers::wholeAsTyped("9223372036854775807"), std::numeric_limits<qint64>::max());
    for (const char *refused : {"2.5", "-0.01", "3.5 days", "9223372036854775807.4", "1e309", "1E3",
                                "2e+1", "5e-0", ".5e1", "9223372036854775808"})
        EXPECT_FALSE(Numbers::wholeAsTyped(refused)) << refused;

    // Fines: kept as typed, or refused for more digits than a stored fine keeps.
    for (const char *kept : {"", "x", "18", "-6", "10.5", "3.375", "007.50", "1234567.89",
                             "123456789012345", "0.0000000001", "100000000000000000000"})
        EXPECT_TRUE(Numbers::keepsAsTyped(kept)) << kept;
    for (const char *lost : {"1234567890123456789", "0.00000000001", "1234567.891234567",
                             "99999999999999999999", "1e309", "18e0", "1.5E-3"})
        EXPECT_FALSE(Numbers::keepsAsTyped(lost)) << lost;
    EXPECT_EQ(AppError(3024, "Could not find file.").boxText(), "Error 3024\r Could not find file.");
}
