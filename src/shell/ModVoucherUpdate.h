#pragma once

class RibbonMenu;

// Fills the main window's ribbon with the menu of the twelve working windows: tab "Library" with
// the categories "Master", "Transaction" and "Library Info."; button IDs "0" to "11".
void LoadRibbonMenu(RibbonMenu &ribbon);
