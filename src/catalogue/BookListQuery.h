#pragma once

#include "core/ListRows.h"
#include "core/ListRowsVersion.h"

#include <QString>
#include <QStringList>
#include <memory>

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
// The same rows, a large table read in at most that many parts side by side.
ListRows rows(Database &db, const Filter &filter, int parts);

// The list's loads one after another: when the database has not changed since the last load and
// the only change is more text at the end of one box, the rows already listed are filtered in
// memory, which gives the same rows as the query.
class Loader
{
public:
    ListRows rows(const std::shared_ptr<Database> &db, const Filter &filter);

private:
    enum class Box { AccessionNo, Title, Subject, Edition, Location, None, Many };
    Box narrowed(const Filter &filter) const;

    Filter held_;
    ListRowsVersion version_;
    ListRows listed_;
};

} // namespace BookListQuery
