#include "circulation/ReceiptVoucherLoader.h"

#include "circulation/frmBookReceipt.h"
#include "ui/RecordLoader.h"

void LoadReceiptVoucherForUpdate()
{
    RecordLoader::load<frmBookReceipt>(QStringLiteral("frmBookReceipt"),
                                       &frmBookReceipt::loadVoucher);
}
