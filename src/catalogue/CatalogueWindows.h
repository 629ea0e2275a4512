#pragma once

// Registers the catalogue's windows with the window registry, so the ribbon and other windows
// open them by name.
void registerCatalogueWindows();

// The book list's record loader: fills the book entry window (opened when needed) with the book
// whose key is SelectedRecordID, in update mode.
void LoadBookForUpdate();
