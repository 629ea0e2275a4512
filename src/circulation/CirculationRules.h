#pragma once

#include "core/Database.h"

#include <QDate>
#include <QString>
#include <optional>

// The circulation rules that need no window: card and book look-ups, the group's book limit, the
// lent status, serial and key proposals, and the voucher writes, each change in one transaction.
// The issue window and the return window both build on them. Failures are AppErrors.
namespace CirculationRules {

inline const QString IssueType = QStringLiteral("Issue");
inline const QString ReceiptType = QStringLiteral("Receipt");

// A card as the look-ups copy it into a window and a voucher.
struct CardDetail
{
    double cardId = 0;
    double cardNo = 0;
    double groupId = 0;
    QString groupName, rollNo, name, contact1, contact2, remarks;
};

// A copy of the catalogue as the look-ups copy it, with its lending state.
struct BookDetail
{
    double bookId = 0;
    QString accessionNo, title, author, subject, publisher, edition, year, pages, vol;
    QString status;
    double issueId = 0;
    double cardId = 0;

    bool isLent() const { return status.compare(IssueType, Qt::CaseInsensitive) == 0; }
};

// The card a typed card number names. Only a plain number names a card: anything else (an empty
// box, "12A") names none, where it used to break the query.
std::optional<double> cardNumberOf(const QString &typed);
std::optional<CardDetail> findCard(Database &db, const QString &typedCardNo);
std::optional<CardDetail> findCardById(Database &db, double cardId);

// The copy whose accession number is exactly the typed text (letter case aside).
std::optional<BookDetail> findBook(Database &db, const QString &typedAccessionNo);
std::optional<BookDetail> findBookById(Database &db, double bookId);

// The group's MaxBooks (0 when empty), or nothing when the group row is missing.
std::optional<int> groupMaxBooks(Database &db, double groupId);
// The copies the card holds now.
int booksHeld(Database &db, double cardId);
// A group limit of 0 sets none.
inline bool limitReached(int held, int maxBooks)
{
    return maxBooks > 0 && held >= maxBooks;
}

// May this copy be lent under the voucher being saved (0 for a new one)? A copy out under this
// very voucher may; a copy out under any other may not.
inline bool mayLend(const BookDetail &book, double voucherId)
{
    return !book.isLent() || (voucherId > 0 && book.issueId == voucherId);
}

// The serial number proposed for the next voucher of that type: the whole number after the
// highest, 1 for the first; nothing when the highest is the largest a voucher keeps (no serial
// follows it). Issue and return vouchers count apart.
std::optional<qint64> nextSerial(Database &db, const QString &transactionType);
// The key of a new voucher: the highest over both types plus one.
double nextVoucherId(Database &db);

// An issue voucher as stored.
struct IssueVoucher
{
    double voucherId = 0;
    QDate date;
    qint64 srNo = 0;
    CardDetail card;
    BookDetail book;
    double accessionNo = 0; // the leading numeric value the voucher keeps
    QString remarks;
};

// The issue voucher under that key, or nothing when no issue voucher has it (a return voucher's
// key names none).
std::optional<IssueVoucher> readIssueVoucher(Database &db, double voucherId);

// Whether a return voucher closes that issue.
bool isReturned(Database &db, double issueVoucherId);

// What the user typed for one issue.
struct IssueEntry
{
    double voucherId = 0; // 0: a new issue; else the loaded voucher it replaces
    QDate date;
    QString srNo; // as typed
    QString cardNo;
    QString accessionNo;
};

enum class Refusal {
    None,
    EnterAccessionNo, // the accession number's value is 0
    EnterCardNo,      // the card number's value is 0
    InvalidCard,      // no card has that number
    InvalidBook,      // no copy has that accession number
    AlreadyIssued,    // the copy is out under another voucher
    LimitReached,     // the card holds as many copies as its group allows
    NotStorable,      // the Sr No. is no whole number the voucher keeps as typed
};

struct IssueResult
{
    Refusal refusal = Refusal::None;
    IssueVoucher voucher; // what was written, when nothing refused
};

// Saves one issue. A Sr No. that is no whole number as typed (a fraction, an exponent, past the
// 64-bit range its column holds) is refused before anything is read. Then reads the card and the
// copy again from the typed numbers (never from keys an earlier look-up left behind), refuses a
// copy out under another voucher and, for a new issue or a voucher moved to another card, a full
// card; then in one transaction replaces the old voucher, frees the copy the old voucher lent when
// it is still out under it, writes the voucher and marks the copy lent. A loaded voucher whose
// return is stored is history: it is corrected as typed and no copy's state changes (the copy is on
// the shelf, or out on a later loan).
IssueResult saveIssue(Database &db, const IssueEntry &entry);

// Deletes an issue voucher and puts its copy back on the shelf, but only while that copy is still
// out under this voucher. One transaction. Returns false when no such voucher was stored.
bool deleteIssue(Database &db, double voucherId);

// The number a picked row of the card or book search panel puts into the window: the card's CardNo
// or the copy's AccessionNo, or nothing when the record has gone since the list was filled.
std::optional<QString> pickedCardNo(Database &db, double cardId);
std::optional<QString> pickedAccessionNo(Database &db, double bookId);

} // namespace CirculationRules
