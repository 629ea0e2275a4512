#pragma once

// The return voucher loader the return register and the ledger call: the return voucher whose key
// is in SelectedRecordID, in the book return window in "&Update" mode. A key that names no return
// voucher opens the window and leaves it as it was.
void LoadReceiptVoucherForUpdate();
