#pragma once

// Registers the circulation windows (issue, return, pending books, both registers, ledger) with
// the window registry.
void registerCirculationWindows();
