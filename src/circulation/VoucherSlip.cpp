#include "circulation/VoucherSlip.h"

#include "core/Module.h"
#include "core/Numbers.h"
#include "core/PrintingStage.h"

namespace VoucherSlip {

QString asNumber(const QString &box)
{
    return Numbers::plainText(Numbers::leadingValue(box));
}

void stage(Fields fields, const QString &groupIdBox)
{
    ReportHandOver::PrintingStage printing(ReportHandOver::CompanyHeader::Short);
    Recordset group = Module::open(Module::CompanyDb)
                          .query(QStringLiteral("SELECT FinePerDay, MaxBooks, MaxDays, Remarks "
                                                "FROM Group1 WHERE GroupID = ?"),
                                 {Numbers::leadingValue(groupIdBox)});
    if (!group.eof()) {
        for (int i = 0; i < 4; ++i)
            fields.append({QStringLiteral("T%1").arg(23 + i), group.displayText(i)});
    }
    printing.addRow(fields);
    printing.commit();
}

} // namespace VoucherSlip
