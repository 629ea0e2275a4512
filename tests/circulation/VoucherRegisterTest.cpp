#include "VoucherFixture.h"

#include "circulation/CardLedger.h"
#include "circulation/VoucherRegister.h"
#include "core/AppError.h"
#include "core/Database.h"

using VoucherRegister::Kind;

namespace {

class VoucherRegisterTest : public VoucherTest
{
protected:
    QStringList keys(const ListRows &rows)
    {
        QStringList texts;
        for (int row = 0; row < rows.size(); ++row)
            texts << rows.text(row, 0);
        return texts;
    }
    ListRows issues(QDate from, QDate to, ListFilter::Filter first = {"AccessionNo", ""},
                    ListFilter::Filter second = {"Name", ""})
    {
        return VoucherRegister::load(db(), Kind::Issue, {from, to}, first, second);
    }
};

} // namespace

TEST_F(VoucherRegisterTest, ListsTheVouchersOfARangeAcrossTheYearEnd)
{
    addVoucher({.id = 1, .date = "2025-11-30"});
    addVoucher({.id = 2, .date = "2025-12-31", .srNo = 7});
    addVoucher({.id = 3, .date = "2025-12-31", .srNo = 4});
    addVoucher({.id = 4, .date = "2026-01-01", .srNo = {}});
    addVoucher({.id = 5, .date = "2026-01-02"});
    addVoucher({.id = 6,
                .type = "Receipt",
                .date = "2025-12-31",
                .issueId = 1,
                .daysDelayed = 3,
                .totalFine = 1.5,
                .fineReceiptNo = {}});

    const auto rows = issues(QDate(2025, 12, 31), QDate(2026, 1, 1));
    ASSERT_EQ(keys(rows), (QStringList{"3", "2", "4"}));
    EXPECT_EQ(rows.texts(0), (QStringList{"3", "31-12-2025", "4", "101", "10", "Asha Verma", "R7",
                                          "Zoology", "Ruskin Bond"}));
    EXPECT_EQ(rows.text(2, 2), "0"); // no serial number

    // A range that crosses months compares dates, not their text.
    EXPECT_EQ(keys(issues(QDate(2025, 11, 1), QDate(2026, 2, 28))),
              (QStringList{"1", "3", "2", "4", "5"}));
    EXPECT_TRUE(issues(QDate(2026, 1, 2), QDate(2025, 12, 1)).empty());

    const auto returns =
        VoucherRegister::load(db(), Kind::Receipt, {QDate(2025, 12, 1), QDate(2025, 12, 31)},
                              {"AccessionNo", ""}, {"Name", ""});
    ASSERT_EQ(returns.size(), 1);
    EXPECT_EQ(returns.texts(0), (QStringList{"6", "31-12-2025", "1", "101", "10", "Asha Verma",
                                             "R7", "Zoology", "3", "1.5", ""}));
}

// Two years' register reads in spans of days side by side: it lists what its months list one by
// one, in their order, under a filter too.
TEST_F(VoucherRegisterTest, ALongRangeListsWhatItsMonthsList)
{
    {
        Transaction transaction(db());
        int id = 0;
        for (QDate day(2024, 1, 1); day < QDate(2026, 1, 1); day = day.addDays(1)) {
            const QString date = day.toString(Qt::ISODate);
            ++id;
            addVoucher({.id = id, .date = date, .srNo = id % 5, .name = id % 3 ? "Asha" : "Ravi"});
            if (day.day() % 2)
                addVoucher({.id = ++id, .date = date, .srNo = id % 7 ? QVariant(9 - id % 7) : "x"});
        }
        transaction.commit();
    }
    for (const QString typed : {"", "as"}) {
        const ListFilter::Filter name{"Name", typed};
        QStringList monthly;
        for (QDate month(2024, 1, 1); month < QDate(2026, 1, 1); month = month.addMonths(1))
            monthly +=
                keys(issues(month, month.addMonths(1).addDays(-1), {"AccessionNo", ""}, name));
        ASSERT_GT(monthly.size(), 300);
        EXPECT_EQ(keys(issues(QDate(2024, 1, 1), QDate(2025, 12, 31), {"AccessionNo", ""}, name)),
                  monthly)
            << typed.toStdString();
    }
}

// Vouchers written in no order of their dates, keys far apart at both ends of the 64 bits: a long
// range read side by side lists them as the one query sorting by date and serial does, equal dates
// and serials that fall to different parts included.
TEST_F(VoucherRegisterTest, ALongRangeOfKeysInNoOrderListsAsTheDateAndSerialQuery)
{
    const QVariant serials[] = {3, 1, QVariant(), 2.5, "10", "x", 3, 12};
    {
        Transaction transaction(db());
        qint64 key = 7;
        int n = 0;
        for (QDate day(2024, 1, 1); day < QDate(2025, 1, 1); day = day.addDays(1)) {
            for (int copy = 0; copy < 1 + day.day() % 3; ++copy, ++n) {
                key = (key * 48271) % 2147483647;
                const qint64 id = n % 5 == 0 ? -key : n % 7 == 0 ? key << 30 : key;
                const QString date = day.toString(Qt::ISODate) +
                                     (n % 11 == 0 ? QStringLiteral(" 10:00:00") : QString());
                addVoucher({.type = n % 4 ? "Issue" : "Receipt",
                            .date = date,
                            .srNo = serials[n % 8],
                            .name = n % 3 ? "Asha" : "Ravi"});
                db().execute("UPDATE Voucher SET VoucherID = ? WHERE VoucherID = 0", {id});
            }
        }
        transaction.commit();
    }
    for (const QString typed : {"", "as"}) {
        QStringList expected;
        for (Recordset rs = db().query(
                 "SELECT VoucherID FROM Voucher WHERE TransactionType = 'Issue' AND \"Date\" >= "
                 "'2024-02-01' AND \"Date\" < '2024-12-01' AND Pattern(Name, ?) "
                 "ORDER BY \"Date\", SrNO, VoucherID",
                 {typed + '*'});
             !rs.eof(); rs.moveNext())
            expected << rs.displayText(0);
        ASSERT_GT(expected.size(), 200);
        EXPECT_EQ(keys(issues(QDate(2024, 2, 1), QDate(2024, 11, 30), {"AccessionNo", ""},
                              {"Name", typed})),
                  expected)
            << typed.toStdString();
    }
}

// Vouchers saved day by day, keys following the dates, two of them re-dated afterwards far from
// their keys: whether a long range reads its parts in ranges of keys (most keys between its
// first and last are its own) or in spans of days (the re-dated voucher stretches the keys over
// most of the table), it lists what one statement sorting by date and serial lists.
TEST_F(VoucherRegisterTest, ALongRangeInPartsOfKeysOrOfDaysListsAsTheDateAndSerialQuery)
{
    const QVariant serials[] = {3, 1, QVariant(), 2.5, "10", 3, 12};
    {
        Transaction transaction(db());
        int id = 0;
        for (int day = 0; day < 730; ++day)
            for (int n = 0; n < 40; ++n, ++id)
                addVoucher({.id = id + 1,
                            .type = n % 4 == 3 ? "Receipt" : "Issue",
                            .date = QDate(2024, 1, 1).addDays(day).toString(Qt::ISODate) +
                                    (id % 17 == 0 ? QStringLiteral(" 11:00:00") : QString()),
                            .srNo = serials[id % 7],
                            .name = id % 3 ? "Asha" : "Ravi"});
        db().execute("UPDATE Voucher SET \"Date\" = '2025-03-01' WHERE VoucherID = 5");
        db().execute("UPDATE Voucher SET \"Date\" = '2024-06-15' WHERE VoucherID = 29000");
        transaction.commit();
    }
    const std::pair<QDate, QDate> ranges[] = {{QDate(2024, 3, 1), QDate(2024, 12, 31)},
                                              {QDate(2024, 1, 15), QDate(2025, 11, 30)},
                                              {QDate(2024, 1, 1), QDate(2025, 12, 31)}};
    for (const auto &[from, to] : ranges)
        for (const QString &typed : {QString(), QStringLiteral("as")}) {
            QStringList expected;
            for (Recordset rs = db().query(
                     "SELECT VoucherID FROM Voucher WHERE TransactionType = 'Issue' AND \"Date\" "
                     ">= ? AND \"Date\" < ? AND Pattern(Name, ?) ORDER BY \"Date\", SrNO, "
                     "VoucherID",
                     {from.toString(Qt::ISODate), to.addDays(1).toString(Qt::ISODate),
                      typed + '*'});
                 !rs.eof(); rs.moveNext())
                expected << rs.displayText(0);
            ASSERT_GT(expected.size(), 2000);
            for (const int parts : {1, 2, 4})
                EXPECT_EQ(keys(VoucherRegister::load(db(), Kind::Issue, {from, to},
                                                     {"AccessionNo", ""}, {"Name", typed}, parts)),
                          expected)
                    << from.toString(Qt::ISODate).toStdString() << ' ' << typed.toStdString() << ' '
                    << parts << " parts";
        }
}

TEST_F(VoucherRegisterTest, FiltersTestOnlyTheFixedColumnsAndBindWhatWasTyped)
{
    addVoucher({.id = 1, .date = "2026-03-01", .accessionNo = 12});
    addVoucher({.id = 2, .date = "2026-03-01", .accessionNo = 120});
    addVoucher({.id = 3, .date = "2026-03-01", .accessionNo = 1200, .name = "O'Brien"});
    addVoucher({.id = 4, .date = "2026-03-01", .accessionNo = 21, .name = ""});
    addVoucher({.id = 5, .date = "2026-03-01", .accessionNo = 13, .name = {}});
    addVoucher({.id = 6, .date = "2026-03-01", .accessionNo = {}});
    const QDate day(2026, 3, 1);

    // Empty boxes still test their columns: a missing value is never listed, an empty one is.
    EXPECT_EQ(keys(issues(day, day)), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(keys(issues(day, day, {"AccessionNo", "12"})), (QStringList{"1", "2", "3"}));
    // A quote is a character to find, not the end of the statement.
    EXPECT_EQ(keys(issues(day, day, {"AccessionNo", ""}, {"Name", "o'b"})), QStringList{"3"});
    EXPECT_EQ(keys(issues(day, day, {"Title", "zoo"}, {"Author", "*"})), QStringList{});
    EXPECT_EQ(keys(issues(day, day, {"Publisher", "ru"}, {"Edition", "2"})).size(), 6);

    EXPECT_THROW(issues(day, day, {"title; DELETE FROM Voucher", ""}), AppError);
    EXPECT_THROW(issues(day, day, {"AccessionNo", ""}, {"Subject", ""}), AppError);
    EXPECT_EQ(vouchers(), 6);
}

TEST_F(VoucherRegisterTest, LimitsAndLatestDatesComeFromTheCompany)
{
    EXPECT_FALSE(VoucherRegister::financialYear(db()));
    EXPECT_FALSE(VoucherRegister::latestDate(db(), Kind::Issue));
    EXPECT_FALSE(VoucherRegister::latestDate(db(), Kind::Receipt));

    db().execute(
        "INSERT INTO FinancialYear (StartDate, EndDate) VALUES ('01-Apr-24', '31-Mar-25')");
    db().execute(
        "INSERT INTO FinancialYear (StartDate, EndDate) VALUES ('01-Apr-25', '31-Mar-26')");
    db().execute("INSERT INTO FinancialYear (StartDate, EndDate) VALUES ('not a date', '')");
    const auto year = VoucherRegister::financialYear(db());
    ASSERT_TRUE(year);
    EXPECT_EQ(year->from, QDate(2025, 4, 1));
    EXPECT_EQ(year->to, QDate(2026, 3, 31));

    addVoucher({.id = 1, .date = "2026-01-05"});
    addVoucher({.id = 2, .date = "2025-12-20"});
    addVoucher({.id = 3, .type = "Receipt", .date = "2026-01-09", .issueId = 2});
    EXPECT_EQ(VoucherRegister::latestDate(db(), Kind::Issue), QDate(2026, 1, 5));
    EXPECT_EQ(VoucherRegister::latestDate(db(), Kind::Receipt), QDate(2026, 1, 9));
}

TEST_F(VoucherRegisterTest, StagesEveryRowNumberedPastTheOldSixteenBitLimit)
{
    std::vector<VoucherRegister::Row> rows(
        32800, QStringList{"9", "01-04-2024", "1", "101", "12", "Asha", "R7", "Zoology", "Bond"});
    VoucherRegister::stage(rows, "BOOK ISSUE REGISTER", {QDate(2024, 4, 1), QDate(2024, 4, 30)});
    EXPECT_EQ(stagedRows(), 32800);
    EXPECT_EQ(Module::CommonDb->scalar("SELECT Max(N1) FROM Printing").toInt(), 32800);
    Recordset first = Module::CommonDb->query("SELECT * FROM Printing WHERE N1 = 1");
    EXPECT_EQ(first.text("T1"), "01-04-2024");
    EXPECT_EQ(first.text("T8"), "Bond");
    EXPECT_TRUE(first.field("T9").isNull());
    EXPECT_EQ(first.text("T16"), "BOOK ISSUE REGISTER");
    EXPECT_EQ(first.text("T17"), "01-04-2024 To 30-04-2024");
    EXPECT_EQ(first.text("c1"), "Green Valley School");
    EXPECT_EQ(first.text("c5"), "0177-222");
    EXPECT_TRUE(first.field("c3").isNull());
}

// A range includes its last day at the last date a voucher can carry, as on any other day.
TEST_F(VoucherRegisterTest, ARangeEndingOnTheLastDayACalendarHoldsIncludesIt)
{
    addVoucher({.id = 1, .date = "9999-12-30", .srNo = 1});
    addVoucher({.id = 2, .date = "9999-12-31", .srNo = 2});
    addVoucher({.id = 3, .date = "9999-12-31 23:59:59", .srNo = 3});
    addVoucher({.id = 4, .date = "2026-03-01 10:00:00", .srNo = 4});
    addVoucher({.id = 5, .date = "2026-03-02", .srNo = 5});
    addVoucher({.id = 6, .type = "Receipt", .date = "9999-12-31", .issueId = 2});

    EXPECT_EQ(keys(issues(QDate(9999, 12, 31), QDate(9999, 12, 31))), (QStringList{"2", "3"}));
    EXPECT_EQ(keys(issues(QDate(2026, 1, 1), QDate(9999, 12, 31))),
              (QStringList{"4", "5", "1", "2", "3"}));
    EXPECT_EQ(
        keys(VoucherRegister::load(db(), Kind::Receipt, {QDate(9999, 1, 1), QDate(9999, 12, 31)},
                                   {"AccessionNo", ""}, {"Name", ""})),
        QStringList{"6"});
    // A day's bound takes its times and stops before the next day.
    EXPECT_EQ(keys(issues(QDate(2026, 3, 1), QDate(2026, 3, 1))), QStringList{"4"});

    const auto ledger = CardLedger::load(db(), 1, {QDate(9999, 12, 31), QDate(9999, 12, 31)});
    ASSERT_EQ(ledger.size(), 2u);
    EXPECT_EQ(ledger[0].value(4), "31-12-9999");
    EXPECT_EQ(ledger[0].value(5), "31-12-9999");
    EXPECT_EQ(CardLedger::load(db(), 1, {QDate(2026, 3, 1), QDate(2026, 3, 1)}).size(), 1u);
}

TEST_F(VoucherRegisterTest, LedgerPairsEachIssueWithItsFirstReturn)
{
    addVoucher({.id = 1, .date = "2025-12-30", .srNo = 1, .accessionNo = 5, .title = "Algebra"});
    addVoucher({.id = 2, .date = "2026-01-03", .srNo = 2, .accessionNo = 6, .title = "Botany"});
    addVoucher({.id = 3, .date = "2026-01-03", .srNo = 3, .cardId = 2, .cardNo = 102});
    addVoucher({.id = 4, .date = "2026-02-01", .srNo = 4});
    addVoucher({.id = 7,
                .type = "Receipt",
                .date = "2026-01-20",
                .issueId = 1,
                .daysDelayed = 7,
                .totalFine = 14,
                .fineReceiptNo = 55,
                .remarks = "Torn"});
    addVoucher(
        {.id = 8, .type = "Receipt", .date = "2026-01-25", .issueId = 1, .remarks = "Second"});

    const auto rows = CardLedger::load(db(), 1, {QDate(2025, 12, 1), QDate(2026, 1, 31)});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (QStringList{"1", "Ruskin Bond", "Algebra", "5", "30-12-2025", "20-01-2026",
                                    "7", "14", "55", "Torn"}));
    EXPECT_EQ(rows[1],
              (QStringList{"2", "Ruskin Bond", "Botany", "6", "03-01-2026", "", "", "", "", ""}));
    EXPECT_TRUE(CardLedger::load(db(), 0, {QDate(2025, 1, 1), QDate(2026, 12, 31)}).empty());

    CardLedger::stage(rows);
    Recordset staged = Module::CommonDb->query("SELECT * FROM Printing ORDER BY T2");
    EXPECT_EQ(staged.text("T9"), "Torn");
    EXPECT_EQ(staged.text("c7"), "TIN9");
    EXPECT_TRUE(staged.field("N1").isNull());
    staged.moveNext();
    EXPECT_EQ(staged.text("T5"), "");
}

// The register's order is that of the query sorting by date and serial: equal dates by serial as
// the database orders stored values (missing, numbers, texts), equal serials in key order; dates
// stored with a time or in another form show as before.
// A register of tens of thousands of rows, keys in no order: its parts merge as the one query
// sorts, where the rows of one date and serial lie in several parts.
TEST_F(VoucherRegisterTest, ALargeRegisterListsAsTheDateAndSerialQuery)
{
    const QVariant serials[] = {7, 1, QVariant(), 2.5, "10", 3};
    {
        Transaction transaction(db());
        qint64 key = 11;
        for (int n = 0; n < 20000; ++n) {
            key = (key * 48271) % 2147483647;
            const QString date = QDate(2024, 1, 1).addDays(n % 600).toString(Qt::ISODate) +
                                 (n % 13 == 0 ? QStringLiteral(" 09:30:00") : QString());
            addVoucher({.id = int(key),
                        .type = n % 9 ? "Issue" : "Receipt",
                        .date = date,
                        .srNo = serials[n / 600 % 6]});
        }
        transaction.commit();
    }
    QStringList expected;
    for (Recordset rs = db().query("SELECT VoucherID FROM Voucher WHERE TransactionType = 'Issue' "
                                   "ORDER BY \"Date\", SrNO, VoucherID");
         !rs.eof(); rs.moveNext())
        expected << rs.displayText(0);
    EXPECT_EQ(keys(issues(QDate(2024, 1, 1), QDate(2025, 12, 31))), expected);
}

// A long range shows its first rows before it is read whole: for any count they are the whole
// register's first rows, also where the count ends within a day whose serials order its rows.
TEST_F(VoucherRegisterTest, TheFirstRowsOfALongRangeAreTheWholeRegistersFirst)
{
    const QVariant serials[] = {7, 1, QVariant(), 2.5, "10", 3};
    {
        Transaction transaction(db());
        qint64 key = 11;
        for (int n = 0; n < 900; ++n) {
            key = (key * 48271) % 2147483647;
            const QString date = QDate(2024, 1, 1).addDays(n % 150).toString(Qt::ISODate) +
                                 (n % 13 == 0 ? QStringLiteral(" 09:30:00") : QString());
            addVoucher({.id = int(key),
                        .type = n % 9 ? "Issue" : "Receipt",
                        .date = date,
                        .srNo = serials[n / 150 % 6]});
        }
        transaction.commit();
    }
    const auto texts = [](const ListRows &rows) {
        QList<QStringList> all;
        for (int row = 0; row < rows.size(); ++row)
            all << rows.texts(row);
        return all;
    };
    const VoucherRegister::DateRange range{QDate(2024, 1, 3), QDate(2024, 12, 31)};
    const QList<QStringList> whole = texts(issues(range.from, range.to));
    for (const int count : {1, 5, 6, 13, 40, 1000}) {
        const auto first = VoucherRegister::firstRows(db(), Kind::Issue, range, {"AccessionNo", ""},
                                                      {"Name", ""}, count);
        ASSERT_TRUE(first.has_value()) << count;
        EXPECT_EQ(texts(*first), whole.mid(0, count)) << count;
    }
}

TEST_F(VoucherRegisterTest, OrdersAsTheDateAndSerialQueryDid)
{
    const QVariant serials[] = {3, 1, QVariant(), 2.5, "10", "x", "B", 3, 1, QVariant(), 12, 2};
    const int order[] = {7, 2, 11, 4, 9, 1, 12, 5, 10, 3, 8, 6};
    const char *dates[] = {"2025-12-31", "2025-12-31 10:00:00", "2025-12-30",
                           "2025-12-31", "2025-12-31",          "2025-12-30",
                           "2025-12-31", "2025-12-31",          "2025-12-31",
                           "2025-12-30", "2025-12-31 10:00:00", "2025-12-31"};
    for (int i = 0; i < 12; ++i)
        addVoucher({.id = order[i], .date = dates[i], .srNo = serials[i]});
    QStringList expected;
    for (Recordset rs = db().query("SELECT VoucherID FROM Voucher WHERE TransactionType = 'Issue' "
                                   "ORDER BY \"Date\", SrNO");
         !rs.eof(); rs.moveNext())
        expected << rs.displayText(0);
    const auto rows = issues(QDate(2025, 12, 1), QDate(2025, 12, 31));
    EXPECT_EQ(keys(rows), expected);
    QStringList shown;
    for (int row = 0; row < rows.size(); ++row)
        shown << rows.text(row, 1) + ' ' + rows.text(row, 2);
    EXPECT_EQ(shown.first(), "30-12-2025 0");
    EXPECT_EQ(shown.last(), "31-12-2025 12");
}
