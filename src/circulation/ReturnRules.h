#pragma once

#include "circulation/CirculationRules.h"
#include "core/Database.h"

#include <QDate>
#include <QString>
#include <optional>

// The return side's rules that need no window: days since the issue, the group's fine, the return
// voucher as stored, and the save and delete, each in one transaction. Failures are AppErrors.
namespace ReturnRules {

// Whole days from the issue to the return; negative when the issue lies after the return.
inline qint64 daysBetween(const QDate &issueDate, const QDate &returnDate)
{
    return issueDate.daysTo(returnDate);
}

// The issue date a lent copy keeps ("05-Mar-26" as the issue writes it). A text that reads as no
// date is an AppError (13, type mismatch), as the look-up reports it.
QDate issueDateOf(const QString &storedIssueDate);

// The date of the loan a lent copy is out under: the full date of its issue voucher, which a
// two-digit year on the copy cannot give; the copy's own issue date when that voucher is gone.
QDate loanIssueDate(Database &db, const CirculationRules::BookDetail &book);

// The group's fine per day (an empty column counts 0), or nothing when the group row is missing.
std::optional<double> finePerDay(Database &db, double groupId);

// Every day since the issue costs the fine per day; the loan period plays no part.
inline double fineFor(double finePerDay, double days)
{
    return finePerDay * days;
}

// A typed number stored in a whole-number column: halves go to the even neighbour (2.5 gives 2,
// 3.5 gives 4), as the database has always rounded there.
qint64 roundHalfEven(double value);

// A return voucher as stored.
struct ReceiptVoucher
{
    double voucherId = 0;
    QDate date;
    qint64 srNo = 0;
    CirculationRules::CardDetail card;
    CirculationRules::BookDetail book;
    double accessionNo = 0; // the leading numeric value the voucher keeps
    QString issueId, daysDelayed, totalFine, fineReceiptNo; // as text, empty when Null
    QString remarks;
};

// The return voucher under that key, or nothing when no return voucher has it (an issue
// voucher's key names none).
std::optional<ReceiptVoucher> readReceiptVoucher(Database &db, double voucherId);

// What the return window holds at the save: the typed numbers, the keys its look-ups left, the
// proposals as corrected, and the card and book texts shown.
struct ReceiptEntry
{
    double voucherId = 0; // 0: a new return; else the loaded voucher it replaces
    QDate date;
    QString srNo;
    QString cardNo;
    QString accessionNo;
    CirculationRules::CardDetail card; // keys from the hidden boxes, texts from the shown ones
    CirculationRules::BookDetail book;
    double issueId = 0; // the issue a loaded return closes
    QString daysDelayed, totalFine, fineReceiptNo, remarks;
};

enum class Refusal {
    None,
    EnterAccessionNo, // the accession number's value is 0
    EnterCardNo,      // the card number's value is 0
    NotIssued,        // new or moved return: no copy of that accession number is out
    InvalidCard,      // no card has the typed number
    CardNotLookedUp,  // the card shown is not the one the typed number names
    BookNotLookedUp,  // the copy shown is not the one the typed accession number names
    NotThisPerson,    // new or moved return: the copy is out on another card
    NotStorable,      // a number the voucher cannot keep as typed (see ReceiptResult::box)
    LentAgain,        // correction: the copy the return took back is out on a later loan
};

// The boxes whose numbers the voucher keeps.
enum class NumberBox { None, SrNo, DaysDelayed, TotalFine, FineReceiptNo };

struct ReceiptResult
{
    Refusal refusal = Refusal::None;
    double voucherId = 0;
    NumberBox box = NumberBox::None; // the box refused as NotStorable
};

// Saves one return. A number the voucher's columns cannot hold as typed (a fraction or an exponent
// in a whole-number box, past the 64-bit range, or a fine with more digits than a stored fine
// keeps) is refused before anything is read. In one transaction: reads the card and the copy again
// from the typed numbers and insists that the keys the look-ups left belong to them (the days and
// the fine were proposed for those); a new return, and a loaded return moved to another copy, needs
// the copy out on that card and closes the loan it is out under now; a loaded return replaces its
// stored row under the same key. The
// copy is put back on the shelf only while it is still out under the issue this return closes (or
// already back): a later loan to someone else is never wiped. A loaded return moved to another
// loan puts the copy of the loan it closed before back out on that loan, or is refused (LentAgain)
// when that copy is out on a later loan.
ReceiptResult saveReceipt(Database &db, const ReceiptEntry &entry);

enum class DeleteResult {
    Deleted,
    NotStored, // no return voucher had that key
    LentAgain, // the copy the return took back is out on a later loan: nothing deleted
};

// Deletes a return voucher and puts the copy it took back out again on the loan it closed, as
// that loan stood; the copy stays where it is when the loan's issue is gone or another return
// still closes it. One transaction.
DeleteResult deleteReceipt(Database &db, double voucherId);

} // namespace ReturnRules
