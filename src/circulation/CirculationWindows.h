#pragma once

// Registers the circulation windows (frmBookIssue, frmPendingBooks) with the window registry.
void registerCirculationWindows();
