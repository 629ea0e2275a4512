#pragma once

// Registers the circulation windows (frmBookIssue, frmBookReceipt, frmPendingBooks) with the
// window registry.
void registerCirculationWindows();
