#pragma once

#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

// Code 39 barcodes: narrow elements one module wide, wide ones two, a one-module gap between
// characters, framed by the start and stop character '*'. No check character.
namespace Code39 {

// The narrow/wide pattern of a character, bars and spaces alternating from a bar ("nnnwwnwnn"),
// or an empty text for a character Code 39 cannot show. Letters are taken in upper case.
QString pattern(QChar character);

// The modules of the whole code for a text, left to right, true for black; the text is framed
// by '*' and characters without a pattern draw nothing.
std::vector<bool> modules(const QString &text);

// Draws the bars of the text into the rectangle (device units), each module a whole number of
// device pixels where the rectangle allows, so the bars print sharply; centred horizontally.
void draw(QPainter &painter, const QRectF &rect, const QString &text);

} // namespace Code39
