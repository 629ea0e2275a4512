#pragma once

#include <QIcon>
#include <QPixmap>

// The shell's pictures, drawn in code so every one of them is our own.
namespace ShellPictures {

// The ribbon button pictures 1 to 12, 48 x 48 pixels, one per working window.
QPixmap ribbonPicture(int number);
// The program's icon in 16, 24, 32 and 48 pixels.
QIcon programIcon();
// The splash window's picture for when the package database carries none.
QPixmap defaultSplash();
// The login window's background, with the three link areas' emblems at the given places.
QPixmap loginBackground(QSize size, const QList<QRect> &linkAreas);
// The home screen's vertical "SUPPORT SYSTEM" strip, 17 x 370 pixels.
QPixmap supportStrip();

} // namespace ShellPictures
