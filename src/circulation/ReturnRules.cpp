#include "circulation/ReturnRules.h"

#include "core/AppError.h"
#include "core/DateText.h"
#include "core/Numbers.h"

#include <cmath>

namespace ReturnRules {

using CirculationRules::ReceiptType;

namespace {

QString textOf(const Recordset &rs, const char *field)
{
    return rs.displayText(rs.columnIndex(QLatin1String(field)));
}

// Puts the copy an issue lent out again under that issue, with the holder and date its voucher
// keeps, when the copy is on the shelf and no return closes the issue any more. False when the
// copy is out on another loan meanwhile: then the loan cannot be reopened.
bool reopenLoan(Database &db, double issueId)
{
    if (issueId <= 0 || CirculationRules::isReturned(db, issueId))
        return true;
    const auto issue = CirculationRules::readIssueVoucher(db, issueId);
    if (!issue)
        return true; // the issue was deleted: there is no loan to reopen
    const auto book = CirculationRules::findBookById(db, issue->book.bookId);
    if (!book)
        return true;
    if (book->isLent())
        return book->issueId == issueId;
    db.execute(QStringLiteral("UPDATE Book SET Status = ?, IssueID = ?, Name = ?, RollNo = ?, "
                              "CardID = ?, CardNo = ?, IssueDate = ? WHERE BookID = ?"),
               {CirculationRules::IssueType, issueId, issue->card.name, issue->card.rollNo,
                issue->card.cardId, issue->card.cardNo, DateText::toShort(issue->date),
                book->bookId});
    return true;
}

} // namespace

QDate issueDateOf(const QString &storedIssueDate)
{
    const QDate date = DateText::parse(storedIssueDate.trimmed());
    if (!date.isValid())
        throw AppError(13, QStringLiteral("Type mismatch"));
    return date;
}

QDate loanIssueDate(Database &db, const CirculationRules::BookDetail &book)
{
    if (const auto issue = CirculationRules::readIssueVoucher(db, book.issueId);
        issue && issue->date.isValid())
        return issue->date;
    return issueDateOf(
        db.scalar(QStringLiteral("SELECT IssueDate FROM Book WHERE BookID = ?"), {book.bookId})
            .toString());
}

std::optional<double> finePerDay(Database &db, double groupId)
{
    Recordset rs =
        db.query(QStringLiteral("SELECT FinePerDay FROM Group1 WHERE GroupID = ?"), {groupId});
    if (rs.eof())
        return std::nullopt;
    return rs.field(0).toDouble();
}

qint64 roundHalfEven(double value)
{
    return qint64(std::nearbyint(value)); // the default rounding mode is to nearest, ties even
}

std::optional<ReceiptVoucher> readReceiptVoucher(Database &db, double voucherId)
{
    Recordset rs = db.query(
        QStringLiteral("SELECT * FROM Voucher WHERE VoucherID = ? AND TransactionType = ?"),
        {voucherId, ReceiptType});
    if (rs.eof())
        return std::nullopt;
    ReceiptVoucher v;
    v.voucherId = rs.number(QStringLiteral("VoucherID"));
    v.date = DateText::parse(rs.text(QStringLiteral("Date")));
    v.srNo = rs.field(QStringLiteral("SrNO")).toLongLong(); // past a double's 53 bits too
    auto &card = v.card;
    card.cardId = rs.number(QStringLiteral("CardID"));
    card.cardNo = rs.number(QStringLiteral("CardNo"));
    card.groupId = rs.number(QStringLiteral("GroupID"));
    card.groupName = textOf(rs, "GroupName");
    card.name = textOf(rs, "Name");
    card.rollNo = textOf(rs, "RollNo");
    card.contact1 = textOf(rs, "Contact1");
    card.contact2 = textOf(rs, "Contact2");
    auto &book = v.book;
    book.bookId = rs.number(QStringLiteral("BookID"));
    book.title = textOf(rs, "title");
    book.author = textOf(rs, "Author");
    book.subject = textOf(rs, "Subject");
    book.publisher = textOf(rs, "Publisher");
    book.edition = textOf(rs, "Edition");
    book.year = textOf(rs, "Year");
    book.pages = textOf(rs, "Pages");
    book.vol = textOf(rs, "VOL");
    v.accessionNo = rs.number(QStringLiteral("AccessionNo"));
    book.accessionNo = textOf(rs, "AccessionNo");
    v.issueId = textOf(rs, "IssueID");
    v.daysDelayed = textOf(rs, "DaysDelayed");
    v.totalFine = textOf(rs, "TotalFine");
    v.fineReceiptNo = textOf(rs, "FineReceiptNo");
    v.remarks = textOf(rs, "Remarks");
    return v;
}

ReceiptResult saveReceipt(Database &db, const ReceiptEntry &entry)
{
    const double accessionValue = Numbers::leadingValue(entry.accessionNo);
    if (accessionValue == 0)
        return {Refusal::EnterAccessionNo, 0};
    if (Numbers::leadingValue(entry.cardNo) == 0)
        return {Refusal::EnterCardNo, 0};
    const auto srNo = Numbers::wholeAsTyped(entry.srNo);
    if (!srNo)
        return {Refusal::NotStorable, 0, NumberBox::SrNo};
    const auto daysDelayed = Numbers::wholeAsTyped(entry.daysDelayed);
    if (!daysDelayed)
        return {Refusal::NotStorable, 0, NumberBox::DaysDelayed};
    if (!Numbers::keepsAsTyped(entry.totalFine))
        return {Refusal::NotStorable, 0, NumberBox::TotalFine};
    const auto fineReceiptNo = Numbers::wholeAsTyped(entry.fineReceiptNo);
    if (!fineReceiptNo)
        return {Refusal::NotStorable, 0, NumberBox::FineReceiptNo};

    const bool newReturn = entry.voucherId <= 0;
    Transaction transaction(db);
    const auto book = CirculationRules::findBook(db, entry.accessionNo);
    const auto stored = newReturn ? std::nullopt : readReceiptVoucher(db, entry.voucherId);
    // A loaded return typed onto another copy closes that copy's loan now, as a new return would.
    const bool moved = stored && book && book->bookId != stored->book.bookId;
    const bool closesLoanNow = newReturn || moved;
    if (closesLoanNow && (!book || !book->isLent()))
        return {Refusal::NotIssued, 0};
    const auto card = CirculationRules::findCard(db, entry.cardNo);
    if (!card)
        return {Refusal::InvalidCard, 0};
    if (card->cardId != entry.card.cardId)
        return {Refusal::CardNotLookedUp, 0};
    if (!book || book->bookId != entry.book.bookId)
        return {Refusal::BookNotLookedUp, 0};
    if (closesLoanNow && book->cardId != card->cardId)
        return {Refusal::NotThisPerson, 0};

    const double voucherId = newReturn ? CirculationRules::nextVoucherId(db) : entry.voucherId;
    // Closing a loan now takes the one the copy is out under, whatever an earlier look-up left.
    const double issueId = closesLoanNow ? book->issueId : entry.issueId;
    if (!newReturn) {
        db.execute(
            QStringLiteral("DELETE FROM Voucher WHERE VoucherID = ? AND TransactionType = ?"),
            {voucherId, ReceiptType});
        // Moved to another loan: the loan it closed before is open again.
        const double storedIssueId = stored ? Numbers::leadingValue(stored->issueId) : 0;
        if (storedIssueId != issueId && !reopenLoan(db, storedIssueId))
            return {Refusal::LentAgain, 0};
    }
    const auto &c = entry.card;
    const auto &b = entry.book;
    db.execute(
        QStringLiteral("INSERT INTO Voucher (VoucherID, TransactionType, \"Date\", SrNO, CardID, "
                       "CardNo, AccessionNo, GroupID, GroupName, Name, RollNo, Contact1, Contact2, "
                       "BookID, title, Author, Subject, Publisher, Edition, \"Year\", Pages, VOL, "
                       "IssueID, DaysDelayed, TotalFine, FineReceiptNo, Remarks) VALUES "
                       "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
        {voucherId,
         ReceiptType,
         DateText::toIso(entry.date),
         *srNo,
         card->cardId,
         card->cardNo,
         accessionValue,
         card->groupId,
         c.groupName,
         c.name,
         c.rollNo,
         c.contact1,
         c.contact2,
         book->bookId,
         b.title,
         b.author,
         b.subject,
         b.publisher,
         b.edition,
         b.year,
         b.pages,
         b.vol,
         issueId,
         *daysDelayed,
         Numbers::leadingValue(entry.totalFine),
         *fineReceiptNo,
         entry.remarks});
    db.execute(QStringLiteral("UPDATE Book SET Status = 'Available', IssueID = 0, Name = '', "
                              "RollNo = '', CardID = 0, CardNo = 0, IssueDate = '' "
                              "WHERE BookID = ? AND (IssueID = ? OR Status = 'Available')"),
               {book->bookId, issueId});
    transaction.commit();
    return {Refusal::None, voucherId};
}

DeleteResult deleteReceipt(Database &db, double voucherId)
{
    Transaction transaction(db);
    const auto stored = readReceiptVoucher(db, voucherId);
    if (!stored)
        return DeleteResult::NotStored;
    db.execute(QStringLiteral("DELETE FROM Voucher WHERE VoucherID = ? AND TransactionType = ?"),
               {voucherId, ReceiptType});
    if (!reopenLoan(db, Numbers::leadingValue(stored->issueId)))
        return DeleteResult::LentAgain;
    transaction.commit();
    return DeleteResult::Deleted;
}

} // namespace ReturnRules
