#include "catalogue/BookExchange.h"

#include "catalogue/BookRules.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/Numbers.h"
#include "platform/XlsxReader.h"

#include <QHash>
#include <memory>

namespace BookExchange {

namespace {

// The Book column of workbook columns 2 to 24.
const char *const Columns[] = {
    "Date",    "AccessionNo", "title",  "Author", "Subject", "Publisher", "Edition", "Year",
    "Pages",   "VOL",         "Source", "BillNo", "Cost",    "Class",     "BookNo",  "WithdrawlNo",
    "Remarks", "OT11",        "OT12",   "OT13",   "OT14",    "OT15",      "OT16"};

} // namespace

ListWorkbook::Layout layout(const QString &companyName)
{
    return {companyName,
            QStringLiteral("BOOK LIST"),
            {"Sr. No.", "Date", "AccessionNo", "Title", "Author", "Subject", "Publisher",
             "Edition", "Year", "Pages", "Vol", "Source", "BillNo", "Cost", "Class", "BookNo",
             "WithdrawlNo", "Remarks", "Location", "Topic", "ISBN", "Barcode", "Category",
             "Stream"},
            // The heading format runs one column past the last heading.
            25};
}

std::vector<QStringList> exportRows(Database &db, const QList<double> &keys)
{
    // One pass over the catalogue instead of a query per list row.
    QHash<double, QStringList> books;
    Recordset rs = db.query(QStringLiteral("SELECT * FROM Book"));
    QList<int> indexes;
    for (const char *column : Columns)
        indexes << rs.columnIndex(QLatin1String(column));
    const int keyIndex = rs.columnIndex(QStringLiteral("BookID"));
    const int thisYear = DateText::thisYear(); // once an export, not once a book
    for (; !rs.eof(); rs.moveNext()) {
        QStringList texts;
        texts.reserve(indexes.size());
        for (const int index : indexes)
            texts << rs.displayText(index);
        const QDate date = DateText::parse(texts.at(0), thisYear);
        if (date.isValid())
            texts[0] = DateText::toShort(date);
        books.insert(rs.field(keyIndex).toDouble(), texts);
    }
    rs.close();
    std::vector<QStringList> rows;
    rows.reserve(size_t(keys.size()));
    for (const double key : keys) {
        const auto found = books.constFind(key);
        if (found != books.cend())
            rows.push_back(*found);
    }
    return rows;
}

ListWorkbook::RowStore rowStore(Database &db, const XlsxReader::Sheet &sheet)
{
    auto nextKey = std::make_shared<double>(0);
    return {[&db, nextKey] { *nextKey = BookRules::nextBookID(db); },
            [&db, &sheet, nextKey](int row) {
                BookRules::BookRecord book;
                book.insert(QStringLiteral("BookID"), Numbers::plainText((*nextKey)++));
                int column = 2;
                for (const char *name : Columns)
                    book.insert(QLatin1String(name), sheet.cell(row, column++).asText());
                BookRules::insertNewBook(db, book);
            }};
}

} // namespace BookExchange
