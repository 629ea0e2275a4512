#pragma once

#include "circulation/ListFilter.h"
#include "core/ListRows.h"

#include <QString>
#include <QStringList>
#include <vector>

class Database;

// The books that are out: every copy whose Status is set and is not "Available", under two prefix
// filters, in the order of the accession number's leading value, then the title.
namespace PendingBooks {

inline const QString TemplatePath = QStringLiteral("Reports/PendingBook.rpt");

using Filter = ListFilter::Filter;

// One list row: the open issue voucher's key, then acc. no. (0 without one), title, author,
// subject, publisher, name, card no., issued on, roll no., edition.
using Row = QStringList;
ListRows load(Database &db, const Filter &first, const Filter &second);

// Stages the rows as listed, numbered from 1 in N1, each with the list's title in T16.
void stage(const std::vector<Row> &rows, const QString &title);

} // namespace PendingBooks
