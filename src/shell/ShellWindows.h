#pragma once

class QWidget;

// Registers the shell's windows with the window registry, so the other windows can open them by
// name: "frmSplash", "frmCompanyList" (the company picker), "frmLogin" and "frmHomeScreen".
void registerShellWindows();

// The window shows without border or title bar when it is placed in the main window's area.
void showWithoutBorder(QWidget *window);
