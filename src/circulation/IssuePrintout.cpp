#include "circulation/IssuePrintout.h"

#include "core/DateText.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "core/PrintingStage.h"

namespace IssuePrintout {

namespace {

QString asNumber(const QString &box)
{
    return Numbers::plainText(Numbers::leadingValue(box));
}

} // namespace

void stage(const Slip &slip)
{
    QList<QPair<QString, QVariant>> fields = {
        {"T2", QStringLiteral("Issue")},
        {"T3", DateText::toShort(slip.date)},
        {"T4", asNumber(slip.srNo)},
        {"T6", asNumber(slip.cardNo)},
        {"T7", asNumber(slip.accessionNo)},
        {"T9", slip.groupName},
        {"T10", slip.name},
        {"T11", slip.rollNo},
        {"T12", slip.contact1},
        {"T13", slip.contact2},
        {"T14", asNumber(slip.bookId)},
        {"T15", slip.title},
        {"T16", slip.author},
        {"T17", slip.subject},
        {"T18", slip.publisher},
        {"T19", slip.edition},
        {"T20", slip.year},
        {"T21", slip.pages},
        {"T22", slip.vol},
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

} // namespace IssuePrintout
