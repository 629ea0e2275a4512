#include "catalogue/BookRules.h"

#include "core/Database.h"
#include "core/DateText.h"
#include "core/Numbers.h"

#include <QStringList>

namespace BookRules {

namespace {

bool isAscii(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() > 127)
            return false;
    return true;
}

// The column names are NOCASE, which folds A-Z only; other letters are compared here.
bool stored(Database &db, const QString &column, const QString &value)
{
    if (isAscii(value))
        return db.scalar(QStringLiteral("SELECT 1 FROM Book WHERE %1 = ? LIMIT 1").arg(column),
                         {value})
            .isValid();
    Recordset rs = db.query(
        QStringLiteral("SELECT %1 FROM Book WHERE length(%1) = ?").arg(column),
        {value.toUcs4().size()});
    for (; !rs.eof(); rs.moveNext())
        if (rs.field(0).toString().compare(value, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString quoted(const char *column)
{
    return QLatin1Char('"') + QLatin1String(column) + QLatin1Char('"');
}

} // namespace

const std::vector<BookColumn> &bookColumns()
{
    static const std::vector<BookColumn> columns = {
        {"BookID", "txtBookID", Written::Number},
        {"Date", "txtDate", Written::Text},
        {"AccessionNo", "txtAccessionNo", Written::Text},
        {"title", "txtTitle", Written::Text},
        {"Author", "cboAuthor", Written::Text},
        {"Subject", "cboSubject", Written::Text},
        {"Publisher", "cboPublisher", Written::Text},
        {"Edition", "cboEdition", Written::Text},
        {"Year", "txtYear", Written::Text},
        {"Pages", "txtPages", Written::Text},
        {"VOL", "txtVol", Written::Text},
        {"Source", "cboSource", Written::Text},
        {"BillNo", "txtBillNo", Written::Text},
        {"Cost", "txtCost", Written::Number},
        {"Class", "cboCourse", Written::Text},
        {"BookNo", "txtBookNo", Written::Text},
        {"WithdrawlNo", "txtWithdrawlNo", Written::Text},
        {"Remarks", "txtRemarks", Written::Text},
        {"OT11", "txtLocation", Written::Text},
        {"OT12", "cboTopic", Written::Text},
        {"OT13", "txtISBN", Written::Text},
        {"OT14", "txtBarcode", Written::Text},
        {"OT15", "cboCategory", Written::Text},
        {"OT16", "cboStream", Written::Text},
        {"Status", "txtStatus", Written::Text},
        {"IssueID", "txtIssueID", Written::Number},
        {"Name", "txtName", Written::Text},
        {"RollNo", "txtRollNo", Written::Text},
        {"CardID", "txtCardID", Written::Number},
        {"CardNo", "txtCardNo", Written::Number},
        {"IssueDate", "txtIssueDate", Written::Text},
    };
    return columns;
}

QString proposeAccessionNo(Database &db)
{
    const QVariant highest = db.scalar(QStringLiteral("SELECT Max(Val(AccessionNo)) FROM Book"));
    return Numbers::plainText(highest.isNull() ? 1 : highest.toDouble() + 1);
}

double nextBookID(Database &db)
{
    const QVariant highest = db.scalar(QStringLiteral("SELECT Max(BookID) FROM Book"));
    return highest.isNull() ? 1 : highest.toDouble() + 1;
}

bool accessionNoStored(Database &db, const QString &accessionNo)
{
    return stored(db, QStringLiteral("AccessionNo"), accessionNo);
}

bool titleStored(Database &db, const QString &title)
{
    return stored(db, QStringLiteral("title"), title);
}

namespace {

// The loan state a copy has in the table now: the issue and the return write it while a book
// window may hold an older copy of it.
const char *const CirculationColumns[] = {"Status", "IssueID", "Name",     "RollNo",
                                          "CardID", "CardNo",  "IssueDate"};

void keepStoredCirculation(Database &db, BookRecord &values)
{
    const double key = Numbers::leadingValue(values.value(QStringLiteral("BookID")));
    Recordset stored = db.query(QStringLiteral("SELECT * FROM Book WHERE BookID = ?"), {key});
    if (stored.eof())
        return; // gone meanwhile: written again as the window loaded it
    for (const char *column : CirculationColumns)
        values[QLatin1String(column)] =
            stored.displayText(stored.columnIndex(QLatin1String(column)));
}

void writeRow(Database &db, const BookRecord &book, SaveMode mode)
{
    BookRecord values = book;
    if (mode == SaveMode::Change)
        keepStoredCirculation(db, values);
    if (mode == SaveMode::New) {
        values[QStringLiteral("Status")] = QString();
        for (const char *column : {"IssueID", "CardID", "CardNo"})
            values[QLatin1String(column)] = QStringLiteral("0");
        for (const char *column : {"Name", "RollNo", "IssueDate"})
            values[QLatin1String(column)] = QString();
    }
    if (values.value(QStringLiteral("Status")).isEmpty())
        values[QStringLiteral("Status")] = QStringLiteral("Available");

    QStringList names, marks;
    QVariantList bound;
    for (const BookColumn &c : bookColumns()) {
        names << quoted(c.column);
        marks << QStringLiteral("?");
        const QString text = values.value(QLatin1String(c.column));
        if (c.written == Written::Number)
            bound << Numbers::leadingValue(text);
        else
            bound << text;
    }
    if (mode == SaveMode::Change) {
        const double key = Numbers::leadingValue(values.value(QStringLiteral("BookID")));
        db.execute(QStringLiteral("DELETE FROM Book WHERE BookID = ?"), {key});
    }
    db.execute(QStringLiteral("INSERT INTO Book (%1) VALUES (%2)")
                   .arg(names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
               bound);
}

} // namespace

std::optional<double> saveBook(Database &db, const BookRecord &book, SaveMode mode)
{
    Transaction transaction(db);
    BookRecord stored = book;
    if (mode == SaveMode::New) {
        if (accessionNoStored(db, book.value(QStringLiteral("AccessionNo"))))
            return std::nullopt;
        stored[QStringLiteral("BookID")] = Numbers::plainText(nextBookID(db));
    }
    writeRow(db, stored, mode);
    transaction.commit();
    return Numbers::leadingValue(stored.value(QStringLiteral("BookID")));
}

void insertNewBook(Database &db, const BookRecord &book)
{
    writeRow(db, book, SaveMode::New);
}

std::optional<BookRecord> loadBook(Database &db, double key)
{
    Recordset rs = db.query(QStringLiteral("SELECT * FROM Book WHERE BookID = ?"), {key});
    if (rs.eof())
        return std::nullopt;
    BookRecord book;
    for (const BookColumn &c : bookColumns())
        book[QLatin1String(c.column)] = rs.displayText(rs.columnIndex(QLatin1String(c.column)));
    for (const char *column : {"Cost", "IssueID"})
        if (book.value(QLatin1String(column)).isEmpty())
            book[QLatin1String(column)] = QStringLiteral("0");
    return book;
}

bool isLent(Database &db, double key)
{
    return db
        .scalar(QStringLiteral("SELECT 1 FROM Book WHERE BookID = ? AND Status <> 'Available'"),
                {key})
        .isValid();
}

bool deleteBook(Database &db, double key)
{
    Transaction transaction(db);
    if (isLent(db, key))
        return false;
    db.execute(QStringLiteral("DELETE FROM Book WHERE BookID = ?"), {key});
    transaction.commit();
    return true;
}

QString issueDetail(const BookRecord &book)
{
    if (book.value(QStringLiteral("Status")) != QLatin1String("Issue"))
        return QString();
    const QString stored = book.value(QStringLiteral("IssueDate"));
    const QDate date = DateText::parse(stored);
    return QStringLiteral("Issued to Card No : ") + book.value(QStringLiteral("CardNo")) +
           QStringLiteral(" , Name : ") + book.value(QStringLiteral("Name")) +
           QStringLiteral(" As On ") + (date.isValid() ? DateText::toLong(date) : stored);
}

} // namespace BookRules
