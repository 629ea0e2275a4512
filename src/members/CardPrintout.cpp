#include "members/CardPrintout.h"

#include "core/PrintingStage.h"
#include "members/CardRecords.h"

namespace CardPrintout {

void stage(const std::vector<QStringList> &tickedRows)
{
    using namespace ReportHandOver;
    // A card needs no letterhead to be handed out: a company without details still prints.
    PrintingStage printing(CompanyHeader::Full, WithoutCompany::EmptyHeader);
    for (const QStringList &row : tickedRows) {
        QList<QPair<QString, QVariant>> fields;
        // T1..T8 are the list's cells from the card number to the first contact, as shown.
        for (int column = CardRecords::CardNoColumn; column <= CardRecords::ContactColumn; ++column)
            fields.append({QStringLiteral("T%1").arg(column), row.value(column)});
        printing.addRow(fields);
    }
    printing.commit();
}

} // namespace CardPrintout
