#include "circulation/ReceiptPrintout.h"

#include "core/DateText.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "core/PrintingStage.h"

namespace ReceiptPrintout {

namespace {

QString asNumber(const QString &box)
{
    return Numbers::plainText(Numbers::leadingValue(box));
}

} // namespace

void stage(const Slip &slip)
{
    QList<QPair<QString, QVariant>> fields = {
        {"T1", DateText::toLong(slip.date)},
        {"T2", asNumber(slip.srNo)},
        {"T3", slip.cardNo},
        {"T4", slip.accessionNo},
        {"T5", slip.groupName},
        {"T6", slip.name},
        {"T7", slip.rollNo},
        {"T8", slip.contact1},
        {"T9", slip.contact2},
        {"T10", slip.title},
        {"T11", slip.author},
        {"T12", slip.subject},
        {"T13", slip.publisher},
        {"T14", slip.edition},
        {"T15", slip.year},
        {"T16", slip.pages},
        {"T17", slip.vol},
        {"T18", asNumber(slip.daysDelayed)},
        {"T19", asNumber(slip.totalFine)},
        {"T20", asNumber(slip.fineReceiptNo)},
        {"T21", slip.remarks},
    };
    ReportHandOver::PrintingStage printing(ReportHandOver::CompanyHeader::Short);
    Recordset group = Module::open(Module::CompanyDb)
                          .query(QStringLiteral("SELECT FinePerDay, MaxBooks, MaxDays, Remarks "
                                                "FROM Group1 WHERE GroupID = ?"),
                                 {Numbers::leadingValue(slip.groupId)});
    if (!group.eof()) {
        for (int i = 0; i < 4; ++i)
            fields.append({QStringLiteral("T%1").arg(23 + i), group.displayText(i)});
    }
    printing.addRow(fields);
    printing.commit();
}

} // namespace ReceiptPrintout
