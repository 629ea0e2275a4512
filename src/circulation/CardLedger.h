#pragma once

#include "circulation/VoucherRegister.h"

#include <QString>
#include <QStringList>
#include <vector>

class Database;

// A card's circulation history without its window: each issue of the card within a range beside
// the return that closed it, and the printout's rows.
namespace CardLedger {

inline const QString TemplatePath = QStringLiteral("Reports/Ledger.rpt");

// One list row: the issue voucher's key, then author, title, acc. no., issue date, and from the
// first return of that issue (the one written first) its date, days delayed, fine, fine receipt
// no. and remarks, all empty while the book is out. Ordered by issue date, then serial number.
using Row = QStringList;
std::vector<Row> load(Database &db, double cardId, const VoucherRegister::DateRange &range);

// Stages the rows as listed: the cells in T1..T9 and the full company header.
void stage(const std::vector<Row> &rows);

} // namespace CardLedger
