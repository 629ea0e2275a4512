#pragma once

// Registers the windows of the program with the window registry, so the main window's menu and the
// other windows can open them by name.
void registerShellWindows();
