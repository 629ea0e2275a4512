#include "CirculationFixture.h"
#include "SearchQueries.h"

#include "circulation/CirculationRules.h"
#include "circulation/PendingBooks.h"
#include "core/CompanyDatabase.h"

#include <limits>

namespace Rules = CirculationRules;

namespace {

class CirculationRulesTest : public CirculationTest
{
protected:
    void SetUp() override
    {
        CirculationTest::SetUp();
        addGroup(1, "Class 5", 2);
        addCard(1, 101, 1, "Asha Verma");
        addCard(2, 102, 1, "Ravi Kumar");
        addBook(1, "12B", "Blue Umbrella");
        addBook(2, "7", "Malgudi Days");
        addBook(3, "30", "Wings of Fire");
    }
    Rules::IssueResult issue(const QString &cardNo, const QString &accessionNo,
                             double voucherId = 0, const QString &srNo = "1")
    {
        return Rules::saveIssue(db(), {voucherId, QDate(2026, 3, 5), srNo, cardNo, accessionNo});
    }
};

} // namespace

TEST_F(CirculationRulesTest, KeysAndSerialsCountFromOneSerialsPerType)
{
    EXPECT_EQ(Rules::nextVoucherId(db()), 1);
    EXPECT_EQ(Rules::nextSerial(db(), Rules::IssueType), 1);
    ASSERT_EQ(issue("101", "7", 0, "5").refusal, Rules::Refusal::None);
    db().execute(
        "INSERT INTO Voucher (VoucherID, TransactionType, SrNO) VALUES (9, 'Receipt', 40)");
    EXPECT_EQ(Rules::nextVoucherId(db()), 10);
    EXPECT_EQ(Rules::nextSerial(db(), Rules::IssueType), 6);
    EXPECT_EQ(Rules::nextSerial(db(), Rules::ReceiptType), 41);
    // Counted in 64 bits to the end: past a double's 53 bits, after a fraction, and none after
    // the largest a voucher keeps.
    db().execute("UPDATE Voucher SET SrNO = 9007199254740993 WHERE VoucherID = 9");
    EXPECT_EQ(Rules::nextSerial(db(), Rules::ReceiptType), 9007199254740994LL);
    db().execute("UPDATE Voucher SET SrNO = 40.5 WHERE VoucherID = 9");
    EXPECT_EQ(Rules::nextSerial(db(), Rules::ReceiptType), 41);
    db().execute("UPDATE Voucher SET SrNO = 9223372036854775806 WHERE VoucherID = 9");
    EXPECT_EQ(Rules::nextSerial(db(), Rules::ReceiptType), std::numeric_limits<qint64>::max());
    db().execute("UPDATE Voucher SET SrNO = 9223372036854775807 WHERE VoucherID = 9");
    EXPECT_FALSE(Rules::nextSerial(db(), Rules::ReceiptType));
    db().execute("UPDATE Voucher SET SrNO = 1e19 WHERE VoucherID = 9");
    EXPECT_FALSE(Rules::nextSerial(db(), Rules::ReceiptType));
    db().execute("UPDATE Voucher SET SrNO = 40 WHERE VoucherID = 9");
    // The first voucher took key 1 and stored the leading value of "12B"-style numbers.
    ASSERT_EQ(issue("102", "12B", 0, "6").refusal, Rules::Refusal::None);
    EXPECT_EQ(voucherField(10, "AccessionNo").toInt(), 12);
    EXPECT_EQ(voucherField(10, "\"Date\"").toString(), "2026-03-05");
    EXPECT_EQ(bookField(1, "IssueDate").toString(), "05-Mar-26");
    EXPECT_EQ(bookField(1, "IssueID").toInt(), 10);
    EXPECT_EQ(bookField(1, "Name").toString(), "Ravi Kumar");
}

TEST_F(CirculationRulesTest, SaveRefusesFromWhatIsTypedNow)
{
    EXPECT_EQ(issue("101", "").refusal, Rules::Refusal::EnterAccessionNo);
    EXPECT_EQ(issue("101", "A12").refusal, Rules::Refusal::EnterAccessionNo);
    EXPECT_EQ(issue("0", "7").refusal, Rules::Refusal::EnterCardNo);
    EXPECT_EQ(issue("999", "7").refusal, Rules::Refusal::InvalidCard);
    EXPECT_EQ(issue("101abc", "7").refusal, Rules::Refusal::InvalidCard);
    EXPECT_EQ(issue("101", "77").refusal, Rules::Refusal::InvalidBook);
    EXPECT_EQ(vouchers(), 0);

    ASSERT_EQ(issue("101", "7").refusal, Rules::Refusal::None);
    EXPECT_EQ(issue("102", "7").refusal, Rules::Refusal::AlreadyIssued);
    ASSERT_EQ(issue("101", "12b").refusal, Rules::Refusal::None); // letter case aside
    // The group allows two: the third is refused at the save as well.
    EXPECT_EQ(issue("101", "30").refusal, Rules::Refusal::LimitReached);
    EXPECT_EQ(vouchers(), 2);
    EXPECT_EQ(Rules::booksHeld(db(), 1), 2);

    // A group limit of 0 or none sets no limit.
    db().execute("UPDATE Group1 SET MaxBooks = NULL");
    EXPECT_EQ(issue("101", "30").refusal, Rules::Refusal::None);
    EXPECT_FALSE(Rules::limitReached(5, 0));
    EXPECT_TRUE(Rules::limitReached(2, 2));
    EXPECT_FALSE(Rules::limitReached(1, 2));
}

TEST_F(CirculationRulesTest, SerialsAreStoredAsWholeNumbersOrRefusedWhenPast64Bits)
{
    for (const QString past :
         {"9223372036854775808", "-9223372036854775809", "99999999999999999999999"}) {
        SCOPED_TRACE(past.toStdString());
        EXPECT_EQ(issue("101", "7", 0, past).refusal, Rules::Refusal::NotStorable);
    }
    EXPECT_EQ(vouchers(), 0);
    EXPECT_EQ(bookField(2, "Status").toString(), "Available");

    // The largest is kept to the last digit, and read back so.
    const qint64 largest = std::numeric_limits<qint64>::max();
    const auto stored = issue("101", "7", 0, "9223372036854775807");
    ASSERT_EQ(stored.refusal, Rules::Refusal::None);
    EXPECT_EQ(stored.voucher.srNo, largest);
    EXPECT_EQ(voucherField(1, "SrNO").toLongLong(), largest);
    EXPECT_EQ(Rules::readIssueVoucher(db(), 1)->srNo, largest);

    // Past a double's digits; a fraction or an exponent is not the whole number stored.
    ASSERT_EQ(issue("101", "7", 1, "9007199254740993").refusal, Rules::Refusal::None);
    EXPECT_EQ(voucherField(1, "SrNO").toLongLong(), 9007199254740993LL);
    EXPECT_EQ(issue("101", "7", 1, "2.5").refusal, Rules::Refusal::NotStorable);
    EXPECT_EQ(issue("101", "7", 1, "2e0").refusal, Rules::Refusal::NotStorable);
    EXPECT_EQ(voucherField(1, "SrNO").toLongLong(), 9007199254740993LL);
    ASSERT_EQ(issue("101", "7", 1, "2.0").refusal, Rules::Refusal::None);
    EXPECT_EQ(voucherField(1, "SrNO").toLongLong(), 2);
    EXPECT_EQ(db().scalar("SELECT typeof(SrNO) FROM Voucher").toString(), "integer");
    ASSERT_EQ(issue("101", "7", 1, "").refusal, Rules::Refusal::None);
    EXPECT_EQ(voucherField(1, "SrNO").toLongLong(), 0);
}

TEST_F(CirculationRulesTest, CorrectingAVoucherMovesTheLoanBetweenCopies)
{
    ASSERT_EQ(issue("101", "7").refusal, Rules::Refusal::None);  // voucher 1, book 2
    ASSERT_EQ(issue("102", "30").refusal, Rules::Refusal::None); // voucher 2, book 3

    // Its own copy is no refusal; a copy out under another voucher is.
    EXPECT_EQ(issue("101", "7", 1).refusal, Rules::Refusal::None);
    EXPECT_EQ(issue("101", "30", 1).refusal, Rules::Refusal::AlreadyIssued);
    EXPECT_EQ(bookField(3, "IssueID").toInt(), 2);

    // Moved to another copy: the old one goes back to the shelf, the key stays.
    const auto moved = issue("101", "12B", 1, "8");
    ASSERT_EQ(moved.refusal, Rules::Refusal::None);
    EXPECT_EQ(moved.voucher.voucherId, 1);
    EXPECT_EQ(vouchers(), 2);
    EXPECT_EQ(voucherField(1, "BookID").toInt(), 1);
    EXPECT_EQ(voucherField(1, "SrNO").toInt(), 8);
    EXPECT_EQ(bookField(2, "Status").toString(), "Available");
    EXPECT_EQ(bookField(2, "CardID").toInt(), 0);
    EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
    EXPECT_EQ(bookField(1, "IssueID").toInt(), 1);

    // A copy lent again since under a later voucher is not freed by correcting the old one.
    db().execute("UPDATE Book SET IssueID = 7 WHERE BookID = 1");
    ASSERT_EQ(issue("101", "7", 1).refusal, Rules::Refusal::None);
    EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
}

TEST_F(CirculationRulesTest, DeletingFreesTheCopyOnlyWhileOutUnderThatVoucher)
{
    ASSERT_EQ(issue("101", "7").refusal, Rules::Refusal::None);
    ASSERT_TRUE(Rules::deleteIssue(db(), 1));
    EXPECT_EQ(vouchers(), 0);
    EXPECT_EQ(bookField(2, "Status").toString(), "Available");
    EXPECT_EQ(bookField(2, "IssueDate").toString(), "");

    // Returned and lent again under voucher 3: deleting voucher 2 leaves the new loan alone.
    ASSERT_EQ(issue("101", "7").refusal, Rules::Refusal::None); // voucher 1 again (empty table)
    db().execute("UPDATE Book SET IssueID = 3 WHERE BookID = 2");
    ASSERT_TRUE(Rules::deleteIssue(db(), 1));
    EXPECT_EQ(bookField(2, "Status").toString(), "Issue");
    EXPECT_EQ(bookField(2, "IssueID").toInt(), 3);

    // A return voucher's key names no issue voucher.
    db().execute(
        "INSERT INTO Voucher (VoucherID, TransactionType, BookID) VALUES (5, 'Receipt', 2)");
    EXPECT_FALSE(Rules::deleteIssue(db(), 5));
    EXPECT_FALSE(Rules::readIssueVoucher(db(), 5));
    EXPECT_EQ(vouchers(), 1);
}

TEST_F(CirculationRulesTest, AFailingWriteLeavesNothingHalfWritten)
{
    Database::setFailureHook({.failOnTable = "Book"});
    EXPECT_THROW(issue("101", "7"), AppError);
    EXPECT_EQ(vouchers(), 0);
    EXPECT_EQ(bookField(2, "Status").toString(), "Available");

    ASSERT_EQ(issue("101", "7").refusal, Rules::Refusal::None);
    Database::setFailureHook({.failOnTable = "Book"});
    EXPECT_THROW(issue("101", "30", 1), AppError); // the old copy's release fails
    EXPECT_EQ(voucherField(1, "BookID").toInt(), 2);
    EXPECT_EQ(bookField(2, "IssueID").toInt(), 1);

    Database::setFailureHook({.failOnTable = "Book"});
    EXPECT_THROW(Rules::deleteIssue(db(), 1), AppError);
    EXPECT_EQ(vouchers(), 1);
    EXPECT_EQ(bookField(2, "Status").toString(), "Issue");
}

TEST_F(CirculationRulesTest, PendingBooksComeByLeadingNumberThenTitleUnderBoundFilters)
{
    addBook(4, "10", "Zoology");
    addBook(5, "2", "Poems");
    addBook(6, "10A", "Algebra");
    addBook(7, "O'Neil", "Apostrophe");
    db().execute("UPDATE Book SET Status = 'Issue', Name = 'Asha', IssueID = BookID "
                 "WHERE BookID >= 4");
    db().execute("UPDATE Book SET Status = NULL WHERE BookID = 1"); // an imported copy
    const auto all = PendingBooks::load(db(), {"AccessionNo", ""}, {"Name", ""});
    QStringList order;
    for (int row = 0; row < all.size(); ++row)
        order << all.text(row, 1);
    EXPECT_EQ(order, (QStringList{"O'Neil", "2", "10A", "10"}));
    EXPECT_EQ(all.text(0, 0), "7");
    EXPECT_EQ(all.textCount(0), 11);

    EXPECT_EQ(PendingBooks::load(db(), {"AccessionNo", "O'"}, {"Name", "as"}).size(), 1);
    EXPECT_EQ(PendingBooks::load(db(), {"Title", "*"}, {"Name", ""}).size(), 0); // literal *
    EXPECT_EQ(PendingBooks::load(db(), {"Title", "a"}, {"Author", "ruskin"}).size(), 2);
    EXPECT_THROW(PendingBooks::load(db(), {"Status = 'x' OR 1", ""}, {"Name", ""}), AppError);
}

TEST_F(CirculationRulesTest, SearchPanelsFilterByPrefixAndSkipEmptyColumns)
{
    addCard(3, 103, 1, "SMALL Tim");
    addCard(4, 104, 1, "Smith Jo");
    addCard(5, 105, 1, "Asmita", "R1", QVariant());
    Recordset rs = SearchQueries::cards(db(), {"sm", "", "", ""});
    QStringList names;
    for (; !rs.eof(); rs.moveNext())
        names << rs.text("Name");
    EXPECT_EQ(names, (QStringList{"SMALL Tim", "Smith Jo"}));
    int all = 0;
    for (Recordset every = SearchQueries::cards(db(), {"", "", "", ""}); !every.eof();
         every.moveNext())
        ++all;
    EXPECT_EQ(all, 4); // Asmita has no father's name, so no Father filter passes her

    EXPECT_EQ(Rules::pickedAccessionNo(db(), 1), QString("12B"));
    EXPECT_EQ(Rules::pickedCardNo(db(), 2), QString("102"));
    EXPECT_FALSE(Rules::pickedCardNo(db(), 99));
}

TEST_F(CirculationRulesTest, OlderCompaniesGainTheCirculationIndexesOnOpening)
{
    db().execute("DROP INDEX BookPending");
    db().execute("DROP INDEX VoucherTypeSrNo");
    db().execute("DROP INDEX BookTitle");
    // An earlier release's copy of the listed columns, which doubled every write of a book.
    db().execute("CREATE INDEX BookTitle ON Book (title, BookID, Author, Publisher, Subject, OT11, "
                 "OT12)");
    db().execute("DROP INDEX CardName");
    dropRowChangeLog(db());
    CompanyDatabase::UpgradeDatabaseSchema(db());
    CompanyDatabase::UpgradeDatabaseSchema(db()); // a second opening finds them there
    EXPECT_EQ(db().scalar("SELECT Count(*) FROM sqlite_master WHERE type = 'index' AND name IN "
                          "('BookPending', 'VoucherTypeSrNo', 'BookTitle', 'CardName')")
                  .toInt(),
              4);
    EXPECT_EQ(db().scalar("SELECT sql FROM sqlite_master WHERE name = 'BookTitle'").toString(),
              "CREATE INDEX BookTitle ON Book (title)");

    // The keys of the books and cards changed or removed are logged again, as a new company logs
    // them; those added are not.
    addBook(7007, "7007", "Godan");
    db().execute("UPDATE Book SET BookID = 7008 WHERE BookID = 7007");
    db().execute("DELETE FROM Book WHERE BookID = 7008");
    addCard(3, 103, 1, "Asha");
    QStringList logged;
    for (Recordset rs = db().query("SELECT TableName, RowKey FROM RowChange ORDER BY Seq");
         !rs.eof(); rs.moveNext())
        logged << rs.text("TableName") + rs.text("RowKey");
    EXPECT_EQ(logged, (QStringList{"Book7008", "Book7007", "Book7008"}));
}
