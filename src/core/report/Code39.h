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

// White on each side of the bars, in modules: a reader finds the code's ends only with this much
// room.
constexpr int QuietModules = 10;
// The narrowest bar that still scans from a page printed or rendered at 300 dpi (a little over
// one and a half dots).
constexpr double MinimumModuleMm = 0.15;

// True when the text's bars with their white on both sides fit a width of that many millimetres
// at a narrow bar of at least MinimumModuleMm.
bool fits(const QString &text, double widthMm);

// Draws the bars of the text into the rectangle (device units at dotsPerMm), the white of
// QuietModules on both sides kept inside it, the narrow bar as wide as the rectangle allows, a
// whole number of device pixels where that keeps it scannable, so the bars print sharply; centred
// horizontally. A text whose bars do not fit (see fits) gets no bars: squeezed bars would not
// scan.
void draw(QPainter &painter, const QRectF &rect, const QString &text, double dotsPerMm);

} // namespace Code39
