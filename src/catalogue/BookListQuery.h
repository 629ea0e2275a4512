#pragma once

#include "core/ListRows.h"

#include <QString>
#include <QStringList>

class Database;

// The book list's rows: books under five prefix filters, in the order of the accession number's
// leading numeric value.
namespace BookListQuery {

// What the filter boxes hold, as typed. Each is a prefix: the typed text followed by any run,
// its own characters taken literally, letter case ignored. A row whose filtered column holds no
// value is never listed, even under an empty filter.
struct Filter
{
    QString accessionNo;
    QString title;
    QString subject;
    QString edition;
    QString location;
};

// The list's columns, the key first: the names of the recordset's fields in list order.
const QStringList &fields();

// The rows' texts in the list's column order.
ListRows rows(Database &db, const Filter &filter);

} // namespace BookListQuery
