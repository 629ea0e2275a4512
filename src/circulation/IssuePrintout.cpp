#include "circulation/IssuePrintout.h"

#include "circulation/VoucherSlip.h"
#include "core/DateText.h"

namespace IssuePrintout {

using VoucherSlip::asNumber;

void stage(const Slip &slip)
{
    const VoucherSlip::Fields fields = {
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
    VoucherSlip::stage(fields, slip.groupId);
}

} // namespace IssuePrintout
