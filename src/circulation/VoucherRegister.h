#pragma once

#include "circulation/ListFilter.h"
#include "core/ListRows.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Database;

// The issue and return registers without their window: the vouchers of one kind dated within a
// range under two column filters, the pickers' limits and first dates, and the printout's rows.
namespace VoucherRegister {

enum class Kind { Issue, Receipt };

// Both days included.
struct DateRange
{
    QDate from;
    QDate to;

    bool contains(const QDate &date) const { return date >= from && date <= to; }
};

QString templatePath(Kind kind);

// One list row: the voucher's key, then the cells as shown. Issue: date, serial, card no.,
// acc. no., name, roll no., title, author. Return: the same up to the title, then days delayed,
// total fine, fine receipt no.
using Row = QStringList;
// Ordered by date, then serial number. Dates compare as stored dates, so a range may cross the end
// of a month or a year; a first date after the last lists nothing.
ListRows load(Database &db, Kind kind, const DateRange &range, const ListFilter::Filter &first,
              const ListFilter::Filter &second);
// The same, a long range read in at most that many parts side by side.
ListRows load(Database &db, Kind kind, const DateRange &range, const ListFilter::Filter &first,
              const ListFilter::Filter &second, int parts);
// The first count of those rows, read without the rest, so that a long range shows them long
// before it is read whole; nothing for a range of a few weeks, which reads whole at once, or under
// a typed filter, whose rows may lie far apart.
std::optional<ListRows> firstRows(Database &db, Kind kind, const DateRange &range,
                                  const ListFilter::Filter &first, const ListFilter::Filter &second,
                                  int count);

// The pickers' limits: the last FinancialYear row whose bounds read as dates, or nothing.
std::optional<DateRange> financialYear(Database &db);

// The date the register opens on: the latest issue's for the issue register; the latest voucher's
// of either kind for the return register; nothing without a voucher.
std::optional<QDate> latestDate(Database &db, Kind kind);

// Stages the rows as listed: the cells in T1.., the heading in T16, the range in T17, the row's
// number from 1 in N1, and the short company header.
void stage(const std::vector<Row> &rows, const QString &heading, const DateRange &range);

} // namespace VoucherRegister
