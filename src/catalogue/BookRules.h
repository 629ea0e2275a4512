#pragma once

#include <QHash>
#include <QString>
#include <optional>
#include <vector>

class Database;

// The catalogue's rules for one copy of a book, below the book entry window: numbering, the
// duplicate tests, saving, loading and deleting a Book row.
namespace BookRules {

// How a Book column is written: a box's text unchanged, or its leading numeric value.
enum class Written { Text, Number };

struct BookColumn
{
    const char *column;  // Book column, as the window writes it
    const char *control; // the box of frmBook that carries it
    Written written;
};

// Every column of Book in the order the window writes them, with the box that carries it.
const std::vector<BookColumn> &bookColumns();

// A copy's values as the boxes hold them, by column name ("AccessionNo", "Cost", ...).
using BookRecord = QHash<QString, QString>;

enum class SaveMode { New, Change };

// The proposed accession number: the highest leading numeric value stored plus one, "1" for an
// empty catalogue (7, 12A and B3 give "13").
QString proposeAccessionNo(Database &db);
// The key of a new copy: the highest BookID plus one, 1 for an empty catalogue.
double nextBookID(Database &db);

// True when a stored copy has this accession number or title: the whole text, letter case
// ignored, no character taken as a wildcard.
bool accessionNoStored(Database &db, const QString &accessionNo);
bool titleStored(Database &db, const QString &title);

// Writes the copy and returns its key. A new copy takes the next key inside the write, so copies
// added by two programs at once are both stored, and the circulation defaults ("Available", 0
// and empty); it is refused (nothing written, no key) when a stored copy has its accession
// number, tested inside the write, so two programs cannot both store one number. A changed one
// is deleted and written again under its key in one transaction, so a failure leaves the old
// row, and keeps the loan state stored at that moment (Status to IssueDate), whatever the record
// says: only the issue and the return change it. An empty Status becomes "Available".
std::optional<double> saveBook(Database &db, const BookRecord &book, SaveMode mode);
// Writes a new copy as saveBook does but without the accession test (an import stores the numbers
// as the sheet holds them), inside the caller's transaction.
void insertNewBook(Database &db, const BookRecord &book);

// The copy with that key as the boxes show it (Cost and IssueID "0" when empty), or nothing.
std::optional<BookRecord> loadBook(Database &db, double key);

// True when the copy is lent (a Status other than "Available"; an empty Status is not lent).
bool isLent(Database &db, double key);
// Deletes the copy unless it is lent; the test and the delete are one write, so a copy lent by
// another program meanwhile stays. False when it was lent and nothing was deleted.
bool deleteBook(Database &db, double key);

// The holder line of a lent copy ("Issued to Card No : 12 , Name : ... As On 05-03-2024"), or an
// empty text for any other status.
QString issueDetail(const BookRecord &book);

} // namespace BookRules
