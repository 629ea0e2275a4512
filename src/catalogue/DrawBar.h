#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

// Code 39 pictures of a barcode text with the text centred under the bars, as the book window's
// preview and the stickers show them.
namespace DrawBar {

// The width of the narrow element for a picture of that height: a fortieth of it, rounded half
// to even, at least one pixel.
int moduleWidth(int heightPixels);

// DrawBarcode: the picture of the text, heightPixels high and as wide as the code needs (a white
// module before the start character, a white module after the stop character and one more). The
// text prints in upper case under the bars. A text Code 39 cannot hold gets no bars, only the
// text, since bars without a character would scan as another number. An empty text gives a null
// image: the caller only clears its picture.
QImage DrawBarcode(const QString &text, int heightPixels, const QFont &font,
                   const QColor &back = Qt::white, const QColor &fore = Qt::black);

} // namespace DrawBar
