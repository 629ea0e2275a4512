#include "circulation/CirculationRules.h"

#include "core/DateText.h"
#include "core/Numbers.h"

#include <cmath>
#include <limits>

namespace CirculationRules {

namespace {

QString textOf(const Recordset &rs, const char *field)
{
    return rs.displayText(rs.columnIndex(QLatin1String(field)));
}

CardDetail cardFrom(const Recordset &rs)
{
    CardDetail card;
    card.cardId = rs.number(QStringLiteral("CardID"));
    card.cardNo = rs.number(QStringLiteral("CardNo"));
    card.groupId = rs.number(QStringLiteral("GroupID"));
    card.groupName = textOf(rs, "GroupName");
    card.rollNo = textOf(rs, "RollNo");
    card.name = textOf(rs, "Name");
    card.contact1 = textOf(rs, "Contact1");
    card.contact2 = textOf(rs, "Contact2");
    card.remarks = textOf(rs, "Remarks");
    return card;
}

BookDetail bookFrom(const Recordset &rs)
{
    BookDetail book;
    book.bookId = rs.number(QStringLiteral("BookID"));
    book.accessionNo = textOf(rs, "AccessionNo");
    book.title = textOf(rs, "title");
    book.author = textOf(rs, "Author");
    book.subject = textOf(rs, "Subject");
    book.publisher = textOf(rs, "Publisher");
    book.edition = textOf(rs, "Edition");
    book.year = textOf(rs, "Year");
    book.pages = textOf(rs, "Pages");
    book.vol = textOf(rs, "VOL");
    book.status = textOf(rs, "Status");
    book.issueId = rs.number(QStringLiteral("IssueID"));
    book.cardId = rs.number(QStringLiteral("CardID"));
    return book;
}

// The shelf state of a copy; "IssueID = ?" keeps a copy lent again under a later voucher out.
const char *const FreeBookUnderVoucher =
    "UPDATE Book SET Status = 'Available', IssueID = 0, Name = '', RollNo = '', CardID = 0, "
    "CardNo = 0, IssueDate = '' WHERE BookID = ? AND IssueID = ?";

void writeIssueVoucher(Database &db, const IssueVoucher &v)
{
    db.execute(
        QStringLiteral("INSERT INTO Voucher (VoucherID, TransactionType, \"Date\", SrNO, CardID, "
                       "CardNo, AccessionNo, GroupID, GroupName, Name, RollNo, Contact1, Contact2, "
                       "BookID, title, Author, Subject, Publisher, Edition, \"Year\", Pages, VOL, "
                       "Remarks) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
        {v.voucherId,     IssueType,      DateText::toIso(v.date),
         v.srNo,          v.card.cardId,  v.card.cardNo,
         v.accessionNo,   v.card.groupId, v.card.groupName,
         v.card.name,     v.card.rollNo,  v.card.contact1,
         v.card.contact2, v.book.bookId,  v.book.title,
         v.book.author,   v.book.subject, v.book.publisher,
         v.book.edition,  v.book.year,    v.book.pages,
         v.book.vol,      v.remarks});
}

} // namespace

std::optional<double> cardNumberOf(const QString &typed)
{
    bool ok = false;
    const double number = typed.trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

std::optional<CardDetail> findCard(Database &db, const QString &typedCardNo)
{
    const auto number = cardNumberOf(typedCardNo);
    if (!number)
        return std::nullopt;
    Recordset rs = db.query(QStringLiteral("SELECT * FROM Card WHERE CardNo = ?"), {*number});
    if (rs.eof())
        return std::nullopt;
    return cardFrom(rs);
}

std::optional<CardDetail> findCardById(Database &db, double cardId)
{
    Recordset rs = db.query(QStringLiteral("SELECT * FROM Card WHERE CardID = ?"), {cardId});
    if (rs.eof())
        return std::nullopt;
    return cardFrom(rs);
}

std::optional<BookDetail> findBook(Database &db, const QString &typedAccessionNo)
{
    Recordset rs =
        db.query(QStringLiteral("SELECT * FROM Book WHERE AccessionNo = ?"), {typedAccessionNo});
    if (rs.eof())
        return std::nullopt;
    return bookFrom(rs);
}

std::optional<BookDetail> findBookById(Database &db, double bookId)
{
    Recordset rs = db.query(QStringLiteral("SELECT * FROM Book WHERE BookID = ?"), {bookId});
    if (rs.eof())
        return std::nullopt;
    return bookFrom(rs);
}

std::optional<int> groupMaxBooks(Database &db, double groupId)
{
    Recordset rs =
        db.query(QStringLiteral("SELECT MaxBooks FROM Group1 WHERE GroupID = ?"), {groupId});
    if (rs.eof())
        return std::nullopt;
    return int(rs.field(0).toDouble());
}

int booksHeld(Database &db, double cardId)
{
    return db.scalar(QStringLiteral("SELECT Count(BookID) FROM Book WHERE CardID = ?"), {cardId})
        .toInt();
}

std::optional<qint64> nextSerial(Database &db, const QString &transactionType)
{
    // Serials are stored as numbers, so the highest is the last in the VoucherTypeSrNo index.
    const QVariant highest =
        db.scalar(QStringLiteral("SELECT SrNO FROM Voucher WHERE TransactionType = ? AND "
                                 "SrNO IS NOT NULL ORDER BY SrNO DESC LIMIT 1"),
                  {transactionType});
    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    if (highest.typeId() == QMetaType::LongLong || highest.typeId() == QMetaType::Int) {
        // Whole serials are counted in 64 bits: a double would lose digits past 2^53.
        const qint64 serial = highest.toLongLong();
        if (serial == largest)
            return std::nullopt;
        return serial + 1;
    }
    // A serial stored with a fraction (older data) is followed by the next whole number.
    const double serial = std::floor(highest.toDouble());
    if (!(serial < 0x1p63))
        return std::nullopt;
    return qint64(std::max(serial, -0x1p63)) + 1;
}

double nextVoucherId(Database &db)
{
    return db.scalar(QStringLiteral("SELECT Max(VoucherID) FROM Voucher")).toDouble() + 1;
}

std::optional<IssueVoucher> readIssueVoucher(Database &db, double voucherId)
{
    Recordset rs = db.query(
        QStringLiteral("SELECT * FROM Voucher WHERE VoucherID = ? AND TransactionType = ?"),
        {voucherId, IssueType});
    if (rs.eof())
        return std::nullopt;
    IssueVoucher v;
    v.voucherId = rs.number(QStringLiteral("VoucherID"));
    v.date = DateText::parse(rs.text(QStringLiteral("Date")));
    v.srNo = rs.field(QStringLiteral("SrNO")).toLongLong(); // past a double's 53 bits too
    v.card = cardFrom(rs);
    v.book = bookFrom(rs);
    v.accessionNo = rs.number(QStringLiteral("AccessionNo"));
    v.book.accessionNo = textOf(rs, "AccessionNo");
    v.remarks = v.card.remarks;
    return v;
}

bool isReturned(Database &db, double issueVoucherId)
{
    return db.scalar(QStringLiteral("SELECT Count(*) FROM Voucher WHERE IssueID = ? AND "
                                    "TransactionType = ?"),
                     {issueVoucherId, ReceiptType})
               .toInt() > 0;
}

IssueResult saveIssue(Database &db, const IssueEntry &entry)
{
    const double accessionValue = Numbers::leadingValue(entry.accessionNo);
    if (accessionValue == 0)
        return {Refusal::EnterAccessionNo, {}};
    if (Numbers::leadingValue(entry.cardNo) == 0)
        return {Refusal::EnterCardNo, {}};
    const auto srNo = Numbers::wholeAsTyped(entry.srNo);
    if (!srNo)
        return {Refusal::NotStorable, {}};

    Transaction transaction(db);
    const auto card = findCard(db, entry.cardNo);
    if (!card)
        return {Refusal::InvalidCard, {}};
    const auto book = findBook(db, entry.accessionNo);
    if (!book)
        return {Refusal::InvalidBook, {}};
    const auto old = entry.voucherId > 0 ? readIssueVoucher(db, entry.voucherId) : std::nullopt;
    // A returned loan is over: correcting its voucher lends nothing and frees nothing.
    const bool returned = old && isReturned(db, entry.voucherId);
    if (!returned && !mayLend(*book, entry.voucherId))
        return {Refusal::AlreadyIssued, {}};

    // Correcting a loaded voucher on the same card takes no further copy from the card's limit.
    if (!returned && (!old || old->card.cardId != card->cardId)) {
        const int maxBooks = groupMaxBooks(db, card->groupId).value_or(0);
        if (limitReached(booksHeld(db, card->cardId), maxBooks))
            return {Refusal::LimitReached, {}};
    }

    IssueVoucher v;
    v.voucherId = entry.voucherId > 0 ? entry.voucherId : nextVoucherId(db);
    v.date = entry.date;
    v.srNo = *srNo;
    v.card = *card;
    v.book = *book;
    v.accessionNo = accessionValue;
    v.remarks = card->remarks;

    if (old) {
        db.execute(QStringLiteral("DELETE FROM Voucher WHERE VoucherID = ?"), {v.voucherId});
        if (!returned && old->book.bookId != book->bookId)
            db.execute(QLatin1String(FreeBookUnderVoucher), {old->book.bookId, v.voucherId});
    }
    writeIssueVoucher(db, v);
    if (!returned) {
        db.execute(QStringLiteral("UPDATE Book SET Status = ?, IssueID = ?, Name = ?, RollNo = ?, "
                                  "CardID = ?, CardNo = ?, IssueDate = ? WHERE BookID = ?"),
                   {IssueType, v.voucherId, card->name, card->rollNo, card->cardId, card->cardNo,
                    DateText::toShort(v.date), book->bookId});
        v.book.status = IssueType;
        v.book.issueId = v.voucherId;
        v.book.cardId = card->cardId;
    }
    transaction.commit();
    return {Refusal::None, v};
}

bool deleteIssue(Database &db, double voucherId)
{
    Transaction transaction(db);
    const auto stored = readIssueVoucher(db, voucherId);
    if (!stored)
        return false;
    db.execute(QStringLiteral("DELETE FROM Voucher WHERE VoucherID = ?"), {voucherId});
    db.execute(QLatin1String(FreeBookUnderVoucher), {stored->book.bookId, voucherId});
    transaction.commit();
    return true;
}

std::optional<QString> pickedCardNo(Database &db, double cardId)
{
    Recordset rs = db.query(QStringLiteral("SELECT CardNo FROM Card WHERE CardID = ?"), {cardId});
    if (rs.eof())
        return std::nullopt;
    return rs.displayText(0);
}

std::optional<QString> pickedAccessionNo(Database &db, double bookId)
{
    Recordset rs =
        db.query(QStringLiteral("SELECT AccessionNo FROM Book WHERE BookID = ?"), {bookId});
    if (rs.eof())
        return std::nullopt;
    return rs.displayText(0);
}

} // namespace CirculationRules
