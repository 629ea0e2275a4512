#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

// Text in the Indian scripts. Qt shapes it right on paper and screen, but a PDF maps a shaped
// glyph back to letters only when it stands for one letter in its place: conjuncts and vowel signs
// drawn before their consonant come out of a PDF search as other text or none. Such text is drawn
// as outlines, with its letters laid over them once more, invisible and in their own order, as a
// scanned page carries its recognised text.
namespace ReportScripts {

// Whether the text holds letters of a script that needs the invisible layer.
bool needsTextLayer(const QString &text);

// Draws one line of text in the box as outlines, the letters laid over them when textLayer is
// set; the caller sets the text to fit the box.
void drawSearchable(QPainter &painter, const QRectF &box, Qt::Alignment alignment,
                    const QFont &font, const QColor &colour, const QString &text,
                    bool textLayer = true);

} // namespace ReportScripts
