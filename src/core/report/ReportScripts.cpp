#include "core/report/ReportScripts.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

namespace ReportScripts {

namespace {

bool isIndian(QChar::Script script)
{
    switch (script) {
    case QChar::Script_Devanagari:
    case QChar::Script_Bengali:
    case QChar::Script_Gurmukhi:
    case QChar::Script_Gujarati:
    case QChar::Script_Oriya:
    case QChar::Script_Tamil:
    case QChar::Script_Telugu:
    case QChar::Script_Kannada:
    case QChar::Script_Malayalam:
    case QChar::Script_Sinhala:
        return true;
    default:
        return false;
    }
}

// The first font of the families that holds the letter, at the pixel size; found once per run.
QRawFont rawFontFor(const QFont &font, char32_t letter)
{
    static QHash<QString, QRawFont> cache;
    for (const QString &family : font.families()) {
        const QString key = QStringLiteral("%1|%2|%3|%4")
                                .arg(family)
                                .arg(font.pixelSize())
                                .arg(font.weight())
                                .arg(int(font.style()));
        auto found = cache.constFind(key);
        if (found == cache.constEnd()) {
            QFont single = font;
            single.setFamilies({family});
            found = cache.insert(key, QRawFont::fromFont(single));
        }
        if (found->isValid() && found->supportsCharacter(letter))
            return *found;
    }
    return QRawFont();
}

// The letters in their own order, each by its own glyph from the font's character map, placed at
// their own advances: what a PDF reader extracts.
void drawTextLayer(QPainter &painter, const QPointF &baseline, const QFont &font, qreal width,
                   const QString &text)
{
    struct Letter
    {
        QRawFont raw;
        quint32 glyph;
        qreal advance;
    };
    std::vector<Letter> letters;
    qreal natural = 0;
    for (char32_t letter : text.toUcs4()) {
        const QRawFont raw = rawFontFor(font, letter);
        if (!raw.isValid())
            continue;
        const QList<quint32> glyphs = raw.glyphIndexesForString(QString::fromUcs4(&letter, 1));
        if (glyphs.isEmpty() || glyphs.first() == 0)
            continue;
        const qreal advance = raw.advancesForGlyphIndexes(glyphs).value(0).x();
        letters.push_back({raw, glyphs.first(), advance});
        natural += advance;
    }
    // No wider than the visible text, so it does not run into the next column.
    const qreal squeeze = natural > width && natural > 0 ? width / natural : 1.0;
    painter.save();
    painter.setPen(QColor(0, 0, 0, 0));
    qreal x = baseline.x();
    for (const Letter &letter : letters) {
        QRawFont raw = letter.raw;
        if (squeeze < 1.0)
            raw.setPixelSize(raw.pixelSize() * squeeze);
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes({letter.glyph});
        run.setPositions({QPointF(0, 0)});
        painter.drawGlyphRun(QPointF(x, baseline.y()), run);
        x += letter.advance * squeeze;
    }
    painter.restore();
}

} // namespace

bool needsTextLayer(const QString &text)
{
    for (char32_t letter : text.toUcs4())
        if (isIndian(QChar::script(letter)))
            return true;
    return false;
}

void drawSearchable(QPainter &painter, const QRectF &box, Qt::Alignment alignment,
                    const QFont &font, const QColor &colour, const QString &text, bool textLayer)
{
    // Outlines know no device: the font goes in at the device's pixel size.
    QFont pixelFont = font;
    pixelFont.setPixelSize(
        std::max(1, qRound(font.pointSizeF() * painter.device()->logicalDpiY() / 72.0)));
    const QFontMetricsF metrics(pixelFont);
    const qreal width = metrics.horizontalAdvance(text);

    qreal x = box.left();
    if (alignment & Qt::AlignRight)
        x = box.right() - width;
    else if (alignment & Qt::AlignHCenter)
        x = box.left() + (box.width() - width) / 2;
    qreal y = box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent();
    if (alignment & Qt::AlignTop)
        y = box.top() + metrics.ascent();
    else if (alignment & Qt::AlignBottom)
        y = box.bottom() - metrics.descent();

    QPainterPath outline;
    outline.addText(QPointF(x, y), pixelFont, text);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(outline, colour);
    painter.restore();
    if (textLayer)
        drawTextLayer(painter, QPointF(x, y), pixelFont, width, text);
}

} // namespace ReportScripts
