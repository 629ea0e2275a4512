#include "circulation/ReceiptPrintout.h"

#include "circulation/VoucherSlip.h"
#include "core/DateText.h"

namespace ReceiptPrintout {

using VoucherSlip::asNumber;

void stage(const Slip &slip)
{
    const VoucherSlip::Fields fields = {
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
    VoucherSlip::stage(fields, slip.groupId);
}

} // namespace ReceiptPrintout
