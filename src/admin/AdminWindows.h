#pragma once

// Registers the administration windows with the window registry, so other windows open them by
// name.
void registerAdminWindows();
