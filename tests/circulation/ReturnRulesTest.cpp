#include "CirculationFixture.h"

#include "circulation/CirculationRules.h"
#include "circulation/ReturnRules.h"
#include "core/AppError.h"
#include "core/Numbers.h"

#include <limits>

namespace Rules = CirculationRules;
using ReturnRules::Refusal;

namespace {

class ReturnRulesTest : public CirculationTest
{
protected:
    void SetUp() override
    {
        CirculationTest::SetUp();
        addGroup(1, "Class 5", 3);
        addCard(1, 101, 1, "Asha Verma");
        addCard(2, 102, 1, "Ravi Kumar");
        addBook(1, "12B", "Blue Umbrella");
        addBook(2, "7", "Malgudi Days");
    }
    void lend(const QString &cardNo, const QString &accessionNo)
    {
        ASSERT_EQ(Rules::saveIssue(db(), {0, QDate(2026, 3, 1), "1", cardNo, accessionNo}).refusal,
                  Rules::Refusal::None);
    }
    // What the window holds after both look-ups.
    ReturnRules::ReceiptEntry entry(double cardId, const QString &cardNo, double bookId,
                                    const QString &accessionNo)
    {
        ReturnRules::ReceiptEntry e;
        e.date = QDate(2026, 3, 10);
        e.srNo = "1";
        e.cardNo = cardNo;
        e.accessionNo = accessionNo;
        e.card.cardId = cardId;
        e.card.name = "Asha Verma";
        e.book.bookId = bookId;
        e.book.title = "Blue Umbrella";
        e.daysDelayed = "9";
        e.totalFine = "18";
        e.fineReceiptNo = "R-17";
        e.remarks = "Torn cover";
        return e;
    }
};

} // namespace

TEST_F(ReturnRulesTest, DaysAndFineArithmetic)
{
    EXPECT_EQ(ReturnRules::daysBetween(QDate(2026, 3, 1), QDate(2026, 3, 10)), 9);
    EXPECT_EQ(ReturnRules::daysBetween(QDate(2024, 2, 28), QDate(2024, 3, 1)), 2); // leap day
    EXPECT_EQ(ReturnRules::daysBetween(QDate(2025, 12, 30), QDate(2026, 1, 2)), 3);
    EXPECT_EQ(ReturnRules::daysBetween(QDate(2026, 3, 10), QDate(2026, 3, 6)), -4);

    EXPECT_EQ(ReturnRules::issueDateOf("01-Mar-26"), QDate(2026, 3, 1));
    EXPECT_EQ(ReturnRules::issueDateOf("15-Dec-99"), QDate(1999, 12, 15));
    try {
        ReturnRules::issueDateOf("soon");
        ADD_FAILURE() << "an unreadable issue date was read";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number(), 13);
    }

    EXPECT_EQ(Numbers::plainText(ReturnRules::fineFor(2, 9)), "18");
    EXPECT_EQ(Numbers::plainText(ReturnRules::fineFor(1.5, 9)), "13.5");
    EXPECT_EQ(Numbers::plainText(ReturnRules::fineFor(0.1, 3)), "0.3");
    EXPECT_EQ(Numbers::plainText(ReturnRules::fineFor(2, -4)), "-8");

    addGroup(2, "Staff", 0, 0.75);
    db().execute("INSERT INTO Group1 (GroupID, GroupName) VALUES (3, 'Guests')");
    EXPECT_EQ(ReturnRules::finePerDay(db(), 2), 0.75);
    EXPECT_EQ(ReturnRules::finePerDay(db(), 3), 0.0); // an empty fine is none
    EXPECT_FALSE(ReturnRules::finePerDay(db(), 0));

    EXPECT_EQ(ReturnRules::roundHalfEven(2.5), 2);
    EXPECT_EQ(ReturnRules::roundHalfEven(3.5), 4);
    EXPECT_EQ(ReturnRules::roundHalfEven(-2.5), -2);
    EXPECT_EQ(ReturnRules::roundHalfEven(2.6), 3);
    EXPECT_EQ(ReturnRules::roundHalfEven(-9), -9);
}

TEST_F(ReturnRulesTest, ANewReturnStoresTheVoucherAndPutsTheCopyBack)
{
    lend("101", "12B");
    auto e = entry(1, "101", 1, "12B");
    e.daysDelayed = "2.0";
    e.totalFine = "12.5";
    const auto result = ReturnRules::saveReceipt(db(), e);
    ASSERT_EQ(result.refusal, Refusal::None);
    EXPECT_EQ(result.voucherId, 2);
    EXPECT_EQ(voucherField(2, "TransactionType").toString(), "Receipt");
    EXPECT_EQ(voucherField(2, "\"Date\"").toString(), "2026-03-10");
    EXPECT_EQ(voucherField(2, "IssueID").toInt(), 1);
    EXPECT_EQ(voucherField(2, "AccessionNo").toInt(), 12);
    EXPECT_EQ(voucherField(2, "CardNo").toInt(), 101);
    EXPECT_EQ(voucherField(2, "GroupID").toInt(), 1);
    EXPECT_EQ(voucherField(2, "DaysDelayed").toInt(), 2);
    EXPECT_EQ(voucherField(2, "TotalFine").toDouble(), 12.5);
    EXPECT_EQ(voucherField(2, "FineReceiptNo").toInt(), 0);
    EXPECT_EQ(voucherField(2, "Remarks").toString(), "Torn cover");
    EXPECT_EQ(bookField(1, "Status").toString(), "Available");
    EXPECT_EQ(bookField(1, "IssueID").toInt(), 0);
    EXPECT_EQ(bookField(1, "CardID").toInt(), 0);
    EXPECT_EQ(bookField(1, "IssueDate").toString(), "");
    EXPECT_EQ(Rules::nextSerial(db(), Rules::ReceiptType), 2);

    // The same copy a second time: it is on the shelf.
    EXPECT_EQ(ReturnRules::saveReceipt(db(), e).refusal, Refusal::NotIssued);
    EXPECT_EQ(vouchers(), 2);
}

TEST_F(ReturnRulesTest, RefusalsWriteNothing)
{
    lend("101", "12B");
    lend("102", "7");
    auto check = [&](ReturnRules::ReceiptEntry e, Refusal expected) {
        EXPECT_EQ(ReturnRules::saveReceipt(db(), e).refusal, expected);
    };
    check(entry(1, "101", 1, "A12"), Refusal::EnterAccessionNo);
    check(entry(1, "", 1, "12B"), Refusal::EnterCardNo);
    check(entry(1, "101", 1, "99"), Refusal::NotIssued);
    check(entry(1, "555", 1, "12B"), Refusal::InvalidCard);
    check(entry(1, "12A", 1, "12B"), Refusal::InvalidCard);
    // Card or copy retyped after the look-ups: the keys shown belong to other records.
    check(entry(2, "101", 1, "12B"), Refusal::CardNotLookedUp);
    check(entry(0, "101", 1, "12B"), Refusal::CardNotLookedUp);
    check(entry(1, "101", 2, "12B"), Refusal::BookNotLookedUp);
    // Both looked up, but the copy is out on the other card.
    check(entry(1, "101", 2, "7"), Refusal::NotThisPerson);
    EXPECT_EQ(vouchers(), 2);
    EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
    EXPECT_EQ(bookField(2, "Status").toString(), "Issue");
}

TEST_F(ReturnRulesTest, AnUpdateNeverWipesALaterLoan)
{
    lend("101", "12B");
    ASSERT_EQ(ReturnRules::saveReceipt(db(), entry(1, "101", 1, "12B")).refusal, Refusal::None);
    // The copy went out again, to Ravi, under issue 3.
    lend("102", "12B");
    ASSERT_EQ(bookField(1, "IssueID").toInt(), 3);

    auto corrected = entry(1, "101", 1, "12B");
    corrected.voucherId = 2;
    corrected.issueId = 1;
    corrected.totalFine = "10";
    const auto result = ReturnRules::saveReceipt(db(), corrected);
    ASSERT_EQ(result.refusal, Refusal::None); // no status or holder test when correcting
    EXPECT_EQ(result.voucherId, 2);
    EXPECT_EQ(vouchers(), 3);
    EXPECT_EQ(voucherField(2, "TotalFine").toDouble(), 10);
    EXPECT_EQ(voucherField(2, "IssueID").toInt(), 1);
    EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
    EXPECT_EQ(bookField(1, "CardID").toInt(), 2);

    // Returned again under issue 3; correcting that return frees nothing more.
    auto second = entry(2, "102", 1, "12B");
    ASSERT_EQ(ReturnRules::saveReceipt(db(), second).refusal, Refusal::None);
    EXPECT_EQ(bookField(1, "Status").toString(), "Available");
    second.voucherId = 4;
    second.issueId = 3;
    EXPECT_EQ(ReturnRules::saveReceipt(db(), second).refusal, Refusal::None);
    EXPECT_EQ(bookField(1, "Status").toString(), "Available");
    EXPECT_EQ(vouchers(), 4);
}

TEST_F(ReturnRulesTest, AFailingWriteLeavesNothingHalfDone)
{
    lend("101", "12B");
    for (const auto &hook : {Database::FailureHook{.failOnTable = "Book"},
                             Database::FailureHook{.failOnTable = "Voucher"}}) {
        Database::setFailureHook(hook);
        EXPECT_THROW(ReturnRules::saveReceipt(db(), entry(1, "101", 1, "12B")), AppError);
        Database::setFailureHook({});
        EXPECT_EQ(vouchers(), 1);
        EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
    }

    ASSERT_EQ(ReturnRules::saveReceipt(db(), entry(1, "101", 1, "12B")).refusal, Refusal::None);
    auto corrected = entry(1, "101", 1, "12B");
    corrected.voucherId = 2;
    corrected.issueId = 1;
    corrected.remarks = "changed";
    Database::setFailureHook({.failOnTable = "Book"});
    EXPECT_THROW(ReturnRules::saveReceipt(db(), corrected), AppError);
    Database::setFailureHook({});
    EXPECT_EQ(voucherField(2, "Remarks").toString(), "Torn cover"); // the stored row survives
}

TEST_F(ReturnRulesTest, DeletingOrMovingAReturnReopensTheLoanItClosed)
{
    using ReturnRules::DeleteResult;
    lend("101", "12B");
    ASSERT_EQ(ReturnRules::saveReceipt(db(), entry(1, "101", 1, "12B")).refusal, Refusal::None);
    EXPECT_EQ(ReturnRules::deleteReceipt(db(), 1), DeleteResult::NotStored); // an issue's key
    EXPECT_FALSE(ReturnRules::readReceiptVoucher(db(), 1));
    ASSERT_TRUE(ReturnRules::readReceiptVoucher(db(), 2));
    EXPECT_EQ(ReturnRules::readReceiptVoucher(db(), 2)->fineReceiptNo, "0");

    // Deleted: the copy is out again to Asha under issue 1, as lent, so it can be returned again.
    EXPECT_EQ(ReturnRules::deleteReceipt(db(), 2), DeleteResult::Deleted);
    EXPECT_EQ(vouchers(), 1);
    EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
    EXPECT_EQ(bookField(1, "IssueID").toInt(), 1);
    EXPECT_EQ(bookField(1, "CardID").toInt(), 1);
    EXPECT_EQ(bookField(1, "CardNo").toInt(), 101);
    EXPECT_EQ(bookField(1, "Name").toString(), "Asha Verma");
    EXPECT_EQ(bookField(1, "IssueDate").toString(), "01-Mar-26");
    ASSERT_EQ(ReturnRules::saveReceipt(db(), entry(1, "101", 1, "12B")).refusal, Refusal::None);

    // Out again to Ravi under issue 3: the return of issue 1 can be neither deleted nor moved.
    lend("102", "12B");
    lend("101", "7");
    EXPECT_EQ(ReturnRules::deleteReceipt(db(), 2), DeleteResult::LentAgain);
    auto moved = entry(1, "101", 2, "7");
    moved.voucherId = 2;
    moved.issueId = 4;
    EXPECT_EQ(ReturnRules::saveReceipt(db(), moved).refusal, Refusal::LentAgain);
    EXPECT_EQ(vouchers(), 4);
    EXPECT_EQ(voucherField(2, "BookID").toInt(), 1);
    EXPECT_EQ(bookField(1, "IssueID").toInt(), 3);
    EXPECT_EQ(bookField(2, "IssueID").toInt(), 4);

    // Ravi brings it back: now the return moves to Asha's other loan and hers of 12B reopens.
    ASSERT_EQ(ReturnRules::saveReceipt(db(), entry(2, "102", 1, "12B")).refusal, Refusal::None);
    ASSERT_EQ(ReturnRules::saveReceipt(db(), moved).refusal, Refusal::None);
    EXPECT_EQ(voucherField(2, "BookID").toInt(), 2);
    EXPECT_EQ(voucherField(2, "IssueID").toInt(), 4);
    EXPECT_EQ(bookField(2, "Status").toString(), "Available");
    EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
    EXPECT_EQ(bookField(1, "IssueID").toInt(), 1);

    // A return whose issue is gone, or whose issue another return still closes, reopens nothing.
    ASSERT_EQ(ReturnRules::saveReceipt(db(), entry(1, "101", 1, "12B")).refusal, Refusal::None);
    const double again = Rules::nextVoucherId(db()) - 1;
    db().execute("INSERT INTO Voucher (VoucherID, TransactionType, BookID, IssueID) "
                 "VALUES (99, 'Receipt', 1, 1)");
    EXPECT_EQ(ReturnRules::deleteReceipt(db(), 99), DeleteResult::Deleted);
    EXPECT_EQ(bookField(1, "Status").toString(), "Available");
    db().execute("DELETE FROM Voucher WHERE VoucherID = 1");
    EXPECT_EQ(ReturnRules::deleteReceipt(db(), again), DeleteResult::Deleted);
    EXPECT_EQ(bookField(1, "Status").toString(), "Available");
}

TEST_F(ReturnRulesTest, NumbersTheVoucherCannotKeepAreRefused)
{
    using ReturnRules::NumberBox;
    lend("101", "12B");
    const auto refusedBox = [&](auto change) {
        auto e = entry(1, "101", 1, "12B");
        change(e);
        const auto result = ReturnRules::saveReceipt(db(), e);
        return result.refusal == Refusal::NotStorable ? result.box : NumberBox::None;
    };
    const QString past = "99999999999999999999";
    EXPECT_EQ(refusedBox([&](auto &e) { e.srNo = past; }), NumberBox::SrNo);
    EXPECT_EQ(refusedBox([&](auto &e) { e.daysDelayed = "-" + past; }), NumberBox::DaysDelayed);
    EXPECT_EQ(refusedBox([&](auto &e) { e.totalFine = past; }), NumberBox::TotalFine);
    EXPECT_EQ(refusedBox([&](auto &e) { e.fineReceiptNo = "9223372036854775808"; }),
              NumberBox::FineReceiptNo);
    EXPECT_EQ(vouchers(), 1);

    // At the edge of the range, and past what a double holds, every digit is kept.
    auto e = entry(1, "101", 1, "12B");
    e.srNo = "9007199254740993";
    e.daysDelayed = "-9223372036854775808";
    e.fineReceiptNo = "9223372036854775807";
    e.totalFine = "1234567.89";
    ASSERT_EQ(ReturnRules::saveReceipt(db(), e).refusal, Refusal::None);
    EXPECT_EQ(voucherField(2, "SrNO").toLongLong(), 9007199254740993LL);
    EXPECT_EQ(voucherField(2, "DaysDelayed").toLongLong(), std::numeric_limits<qint64>::min());
    EXPECT_EQ(voucherField(2, "FineReceiptNo").toLongLong(), std::numeric_limits<qint64>::max());
    EXPECT_EQ(ReturnRules::readReceiptVoucher(db(), 2)->totalFine, "1234567.89");
    EXPECT_EQ(ReturnRules::readReceiptVoucher(db(), 2)->srNo, 9007199254740993LL);
}
