#pragma once

// The return voucher loader the return register calls: the voucher whose key is in
// SelectedRecordID, in the book return window.
void LoadReceiptVoucherForUpdate();
