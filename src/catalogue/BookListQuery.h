#pragma once

#include "core/ListRows.h"
#include "core/ListRowsVersion.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

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

// The list's loads one after another: while the database has not changed since a load, a filter
// whose every box holds that load's text with perhaps more at its end keeps to rows already read,
// and they are filtered in memory, which gives the same rows as the query. The last list queried
// is kept beside the last one shown, so a box typed back to a shorter text is filtered from it too.
class Loader
{
public:
    ListRows rows(const std::shared_ptr<Database> &db, const Filter &filter);

private:
    struct Held
    {
        Filter filter;
        std::shared_ptr<const ListRows> rows;
    };
    // The rows of held that the filter keeps; nothing when the filter does not narrow held's.
    static std::optional<std::vector<int>> narrowing(const Held &held, const Filter &filter);

    ListRowsVersion version_;
    Held listed_;
    Held queried_;
};

} // namespace BookListQuery
