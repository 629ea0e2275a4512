#pragma once

#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

// Code 39 barcodes: narrow elements one module wide, wide ones two, a one-module gap between
// characters, framed by the start and stop character '*'. No check character.
namespace Code39 {

// The narrow/wide pattern of a character, bars and spaces alternating from a bar ("nnnwwnwnn"),
// or an empty text for a character Code 39 cannot show. The letters a to z are taken in upper
// case (look-ups ignore case); no other character is folded, so nothing scans as another letter.
QString pattern(QChar character);

// True when every character of a non-empty text is one of the 43 data characters (a to z taken
// as A to Z). '*' is the frame and never data.
bool canEncode(const QString &text);

// The modules of the whole code for a text, left to right, true for black, framed by '*'. A text
// that Code 39 cannot hold gives no modules: bars that dropped a character would scan as another
// number.
std::vector<bool> modules(const QString &text);

// Draws the bars of the text into the rectangle (device units), each module a whole number of
// device pixels where the rectangle allows, so the bars print sharply; centred horizontally.
void draw(QPainter &painter, const QRectF &rect, const QString &text);

} // namespace Code39
