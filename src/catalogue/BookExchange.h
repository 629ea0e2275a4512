#pragma once

#include "platform/ListWorkbook.h"

#include <QList>
#include <QStringList>
#include <vector>

class Database;
namespace XlsxReader {
struct Sheet;
}

// The book list's exchange with the list workbook: its columns both ways.
namespace BookExchange {

ListWorkbook::Layout layout(const QString &companyName);

// The books with these keys in the order given, each as its workbook columns from "Date" on; a
// key whose book is gone gives no row.
std::vector<QStringList> exportRows(Database &db, const QList<double> &keys);

// Stores workbook rows as new books, each under the next key: the highest plus one, read at the
// start of each import transaction and counted on in memory. Empty columns give empty values,
// Cost its leading number; the book is "Available".
ListWorkbook::RowStore rowStore(Database &db, const XlsxReader::Sheet &sheet);

} // namespace BookExchange
