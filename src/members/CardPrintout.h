#pragma once

#include <QStringList>
#include <vector>

// The card printout's staging: one Printing row per ticked card of the card list, in list order,
// with the open company's header (empty when the company has no Company row). Failures are
// AppErrors; a failure stages nothing.
namespace CardPrintout {

inline constexpr const char *TemplateName = "Card.rpt";

// Each row holds the card list's texts (CardRecords::ListColumn).
void stage(const std::vector<QStringList> &tickedRows);

} // namespace CardPrintout
