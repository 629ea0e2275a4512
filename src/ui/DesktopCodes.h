#pragma once

#include <Qt>

// The codes the program's key and mouse events carry, as the desktop numbers them: the hosts'
// handlers compare with these, not with Qt's.
namespace DesktopCodes {

// The virtual key code of a Qt key; 0 for a key that has none here, so that no punctuation key
// passes for Insert (45) or Delete (46).
int keyCode(int qtKey);
// Shift 1, Ctrl 2, Alt 4.
int shiftCode(Qt::KeyboardModifiers modifiers);
// Left 1, right 2, middle 4.
int mouseButtons(Qt::MouseButtons buttons);

} // namespace DesktopCodes
