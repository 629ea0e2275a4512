#pragma once

#include <QPoint>
#include <QString>
#include <Qt>
#include <QtGui/qwindowdefs.h>

// Keys and clicks made by the X server itself (its test extension), as a user's keyboard and
// mouse make them: they go where the server sends them, through the grabs of an open popup and to
// a window manager's frames, which QTest's events, handed to a window directly, never meet.
// Only on an X display (xvfb-run); available() says whether there is one.
namespace RealInput {

bool available();

// The pointer moved to a point of the screen.
void moveTo(const QPoint &global);
// The pointer moved there, then a press and a release, as a hand clicks.
void click(const QPoint &global, Qt::MouseButton button = Qt::LeftButton);

// One key pressed and released, with the modifiers held down around it.
void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// The characters typed one by one (digits, letters, "-", "/", "." and the space).
void type(const QString &text);

// Asks the window manager to minimise a window, as the button on its frame or a task bar does: the
// manager minimises it and the windows that belong to it before the application hears of it.
void minimiseByWindowManager(WId window);

// Returns once the application has had every key and click made so far, or has had its chance:
// the server has handled them and the events it sent back are taken in.
void settle();

} // namespace RealInput
