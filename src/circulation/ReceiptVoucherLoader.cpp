#include "circulation/ReceiptVoucherLoader.h"

void LoadReceiptVoucherForUpdate()
{
    // Filled by the return window.
}
