#pragma once

#include <QImage>
#include <QString>

// Our own artwork for the ribbon themes "BLACK", "BLUE" and "SILVER": pictures 101 to 141, drawn
// on demand in the sizes the layout relies on.
namespace RibbonArtwork {

// A null image for a number or type the program does not carry.
QImage draw(int number, const QString &type);

} // namespace RibbonArtwork
