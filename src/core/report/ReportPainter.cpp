#include "core/report/ReportPainter.h"

#include "core/DateText.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "core/report/Code39.h"
#include "core/report/ReportLayout.h"
#include "core/report/ReportScripts.h"

#include <QCache>
#include <QDate>
#include <QDir>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace ReportPainter {

namespace {

struct Context
{
    const ReportDocument &document;
    int page; // from 0
    int row;  // -1 outside the detail band
    double scale;
    int thisYear; // places two-digit years: read once a page, not once a value
    Surface surface;
};

QString formatted(const ReportElement &e, const QString &value, int thisYear);

// The element of the detail band that shows a column, if one gives it a number format.
const ReportElement *columnFormat(const ReportTemplate &t, const QString &column)
{
    for (const ReportElement &e : t.detail.elements) {
        if (e.decimals < 0)
            continue;
        for (const TemplateText::Piece &piece : e.text.pieces)
            if (piece.isField && piece.text.compare(column, Qt::CaseInsensitive) == 0)
                return &e;
    }
    return nullptr;
}

bool isFixedText(const ReportElement &e)
{
    return e.joinParts.empty() &&
           std::none_of(e.text.pieces.begin(), e.text.pieces.end(),
                        [](const TemplateText::Piece &piece) { return piece.isField; });
}

QString rawValue(const Context &c, const QString &field)
{
    const ReportData &data = c.document.data();
    const int column = data.columnIndex(field);
    if (column >= 0) {
        const QVariant value = data.value(c.row < 0 ? 0 : c.row, column);
        if (value.typeId() == QMetaType::Double) {
            const double number = value.toDouble();
            return QString::number(number, 'f', number == std::floor(number) ? 0 : 2);
        }
        return value.toString();
    }
    if (field == QLatin1String("page"))
        return QString::number(c.page + 1);
    if (field == QLatin1String("pages"))
        return QString::number(c.document.pageCount());
    if (field == QLatin1String("row"))
        return c.row < 0 ? QString() : QString::number(c.row + 1);
    if (field == QLatin1String("count"))
        return QString::number(data.rowCount());
    if (field == QLatin1String("printDate"))
        return DateText::toLong(QDate::currentDate());
    if (field == QLatin1String("title"))
        return c.document.layout().title;
    if (field.startsWith(QLatin1String("sum:"))) {
        const QString name = field.mid(4);
        const ReportElement *column = columnFormat(c.document.layout(), name);
        // A total adds the values as its column prints them, so that the printed rows add up to
        // it: three fines of 3.375 print as 3.38 each and total 10.14, not 10.13.
        double total = 0;
        const int rows = data.columnIndex(name) >= 0 ? data.rowCount() : 0;
        for (int row = 0; row < rows; ++row) {
            QString shown =
                rawValue({c.document, c.page, row, c.scale, c.thisYear, c.surface}, name);
            if (column) {
                shown = formatted(*column, shown, c.thisYear);
                if (column->thousands)
                    shown.remove(QLatin1Char(','));
            }
            total += Numbers::leadingValue(shown);
        }
        // A total reads as its column does: "20.13" under rows of "2.50".
        if (column)
            return formatted(*column, Numbers::plainText(total), c.thisYear);
        return Numbers::plainText(total);
    }
    return QString();
}

QString formatted(const ReportElement &e, const QString &value, int thisYear)
{
    if (value.isEmpty())
        return value;
    if (e.decimals >= 0) {
        bool ok = false;
        const double number = value.trimmed().toDouble(&ok);
        if (ok) {
            QLocale english(QLocale::English);
            if (!e.thousands)
                english.setNumberOptions(QLocale::OmitGroupSeparator);
            return english.toString(number, 'f', e.decimals);
        }
    }
    if (!e.dateFormat.isEmpty()) {
        const QDate date = DateText::parse(value.trimmed(), thisYear);
        if (date.isValid())
            return QLocale(QLocale::English).toString(date, e.dateFormat);
    }
    return value;
}

QString resolve(const Context &c, const ReportElement &e, const TemplateText &text)
{
    QString result;
    for (const TemplateText::Piece &piece : text.pieces)
        result += piece.isField ? formatted(e, rawValue(c, piece.text), c.thisYear) : piece.text;
    return result;
}

QString elementText(const Context &c, const ReportElement &e)
{
    if (e.joinParts.empty())
        return resolve(c, e, e.text);
    QStringList parts;
    for (const TemplateText &part : e.joinParts) {
        bool anyValue = false;
        QString text;
        for (const TemplateText::Piece &piece : part.pieces) {
            if (!piece.isField) {
                text += piece.text;
                continue;
            }
            const QString value = formatted(e, rawValue(c, piece.text), c.thisYear).trimmed();
            anyValue = anyValue || !value.isEmpty();
            text += value;
        }
        if (anyValue)
            parts << text.trimmed();
    }
    return parts.join(e.joinSeparator);
}

const QImage *picture(const QString &path)
{
    // Sticker sheets show many pictures; read each file once per run of pages.
    static QCache<QString, QImage> cache(64);
    if (QImage *image = cache.object(path))
        return image;
    auto *image = new QImage(path);
    if (image->isNull()) {
        delete image;
        return nullptr;
    }
    cache.insert(path, image);
    return cache.object(path);
}

// The element's font, set smaller (down to about 4 points) until the text fits the box.
QFont fittedFont(const QPainter &p, const QRectF &box, const ReportElement &e, const QString &text,
                 int flags)
{
    const auto fits = [&](const QFont &font) {
        const QFontMetricsF metrics(font, p.device());
        if (!(flags & Qt::TextWordWrap))
            return metrics.horizontalAdvance(text) <= box.width();
        const QRectF needed = metrics.boundingRect(box, flags, text);
        return needed.height() <= box.height() && needed.width() <= box.width();
    };
    QFont font = e.font;
    for (int step = 0; step < 20 && font.pointSizeF() > 4 && !fits(font); ++step)
        font.setPointSizeF(font.pointSizeF() * 0.95);
    return font;
}

// A value set in its box: the font and the lines it is broken into.
struct SetValue
{
    QFont font;
    QStringList lines;
    double lineHeight = 0;
};

constexpr double SmallestPoints = 4;

// The value broken into lines of the box's width, at word boundaries where it can be and anywhere
// else (an accession number has no spaces to break at).
QStringList brokenLines(const QString &text, const QFont &font, QPaintDevice *device, double width)
{
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

// The value at the largest size, no larger than the element's, at which it fits the box whole:
// on one line, or over the lines the box holds at that size. A value never printed cut is what
// tells "Class VIII" from "Class VII". Below about 4 points the value takes the lines it needs.
SetValue setValue(QPainter &p, const QRectF &box, const ReportElement &e, const QString &text)
{
    QPaintDevice *device = p.device();
    const auto at = [&](double points) {
        QFont font = e.font;
        font.setPointSizeF(points);
        return font;
    };
    const auto lineHeight = [&](const QFont &font) { return QFontMetricsF(font, device).height(); };
    const double full = e.font.pointSizeF();
    const double naturalWidth = QFontMetricsF(e.font, device).horizontalAdvance(text);
    const bool oneLine = !text.contains(QLatin1Char('\n'));
    if (naturalWidth <= 0 || (oneLine && naturalWidth <= box.width()))
        return {e.font, {text}, lineHeight(e.font)};

    // Fits at a size: the lines, else nothing.
    const auto linesAt = [&](double points) -> QStringList {
        const QFont font = at(points);
        const QFontMetricsF metrics(font, device);
        if (oneLine && metrics.horizontalAdvance(text) <= box.width())
            return {text};
        const int room = int(box.height() / metrics.height() + 1e-6);
        if (room < 2)
            return {};
        QStringList lines;
        for (const QString &paragraph : text.split(QLatin1Char('\n')))
            lines << brokenLines(paragraph, font, device, box.width());
        if (lines.size() > room)
            return {};
        for (const QString &line : lines)
            if (metrics.horizontalAdvance(line) > box.width() + 0.5)
                return {};
        return lines;
    };
    // The size lies between one line's (its advance grows about as the size) and what the box's
    // area allows: a size that fits below, one that does not above, and a few halvings between.
    const double area = box.width() * box.height();
    const double needed = naturalWidth * lineHeight(e.font);
    double upper = std::min(full, full * std::sqrt(area / needed));
    QStringList best = upper >= SmallestPoints ? linesAt(upper) : QStringList();
    double bestPoints = upper;
    if (best.isEmpty() && upper >= SmallestPoints) {
        double lower = std::clamp(full * box.width() / naturalWidth, SmallestPoints, upper);
        for (best = linesAt(lower); best.isEmpty() && lower > SmallestPoints;
             best = linesAt(lower)) {
            upper = lower;
            lower = std::max(SmallestPoints, lower * 0.97);
        }
        bestPoints = lower;
        for (int step = 0; !best.isEmpty() && step < 6 && upper - lower > 0.05; ++step) {
            const double middle = (upper + lower) / 2;
            const QStringList lines = linesAt(middle);
            if (lines.isEmpty()) {
                upper = middle;
            } else {
                lower = middle;
                best = lines;
                bestPoints = middle;
            }
        }
    }
    if (best.isEmpty()) {
        // Too long for the box even at the smallest size: all of it, over the lines it needs.
        bestPoints = SmallestPoints;
        const QFont font = at(bestPoints);
        for (const QString &paragraph : text.split(QLatin1Char('\n')))
            best << brokenLines(paragraph, font, device, box.width());
    }
    const QFont font = at(bestPoints);
    return {font, best, lineHeight(font)};
}

// What sets a value: the same text in the same font and box on the same device is set alike.
struct SetKey
{
    QString text;
    QString font; // its key: a font held here could outlive the fonts' own caches
    double width;
    double height;
    int dpiX;
    int dpiY;
    bool operator==(const SetKey &) const = default;
};

size_t qHash(const SetKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.text, key.font, key.width, key.height, key.dpiX, key.dpiY);
}

// A value as it was set: the size, and the lines at that size.
struct SetLines
{
    double points;
    QStringList lines;
};

// Trying sizes costs far more than drawing, and a list repeats most of its values (publishers,
// subjects, places, classes): each is set once, then drawn as it was set.
SetValue setOnce(QPainter &p, const QRectF &box, const ReportElement &e, const QString &text)
{
    thread_local QHash<SetKey, SetLines> set;
    const QPaintDevice *device = p.device();
    SetKey key{text,         e.font.key(),          box.width(),
               box.height(), device->logicalDpiX(), device->logicalDpiY()};
    auto found = set.constFind(key);
    if (found == set.constEnd()) {
        // A bound on what is kept: enough for the repeated values of a long list.
        if (set.size() >= 20000)
            set.clear();
        const SetValue value = setValue(p, box, e, text);
        found = set.insert(std::move(key), {value.font.pointSizeF(), value.lines});
    }
    QFont font = e.font;
    font.setPointSizeF(found->points);
    const double lineHeight = QFontMetricsF(font, p.device()).height();
    return {font, found->lines, lineHeight};
}

void drawText(QPainter &p, const QRectF &box, const ReportElement &e, const QString &text,
              Surface surface)
{
    const bool textLayer = surface == Surface::File;
    p.setFont(e.font);
    p.setPen(e.colour);
    if (isFixedText(e)) {
        // A column heading is never cut: a heading wider than its column is set smaller.
        const int wrapFlags = e.wrap ? int(Qt::TextWordWrap) : 0;
        p.setFont(fittedFont(p, box, e, text, wrapFlags));
        if (e.wrap) {
            p.save();
            p.setClipRect(box);
            p.drawText(box, int(e.alignment) | wrapFlags, text);
            p.restore();
            return;
        }
        if (ReportScripts::needsTextLayer(text))
            ReportScripts::drawSearchable(p, box, e.alignment, p.font(), e.colour, text, textLayer);
        else
            p.drawText(box, int(e.alignment) | Qt::TextSingleLine, text);
        return;
    }
    if (text.isEmpty())
        return;
    const SetValue value = setOnce(p, box, e, text);
    p.setFont(value.font);
    const double height = value.lineHeight * value.lines.size();
    double top = box.top() + (box.height() - height) / 2;
    if (e.alignment & Qt::AlignTop)
        top = box.top();
    else if (e.alignment & Qt::AlignBottom)
        top = box.bottom() - height;
    const Qt::Alignment horizontal = e.alignment & Qt::AlignHorizontal_Mask;
    const bool searchable = ReportScripts::needsTextLayer(text);
    for (const QString &line : value.lines) {
        const QRectF lineBox(box.left(), top, box.width(), value.lineHeight);
        if (searchable)
            ReportScripts::drawSearchable(p, lineBox, horizontal | Qt::AlignVCenter, value.font,
                                          e.colour, line, textLayer);
        else
            p.drawText(lineBox, int(horizontal | Qt::AlignVCenter) | Qt::TextSingleLine, line);
        top += value.lineHeight;
    }
}

void drawElement(QPainter &p, const Context &c, const ReportElement &e, const QPointF &origin)
{
    const double s = c.scale;
    const QRectF box((origin.x() + e.x) * s, (origin.y() + e.y) * s, e.width * s, e.height * s);
    switch (e.kind) {
    case ReportElement::Kind::Text:
        drawText(p, box, e, elementText(c, e), c.surface);
        break;
    case ReportElement::Kind::Line:
        p.setPen(QPen(e.colour, std::max(1.0, e.lineWidth * s)));
        p.drawLine(box.topLeft(), box.topLeft() + QPointF(e.width * s, e.height * s));
        break;
    case ReportElement::Kind::Box:
        p.setPen(e.lineWidth > 0 ? QPen(e.colour, std::max(1.0, e.lineWidth * s))
                                 : QPen(Qt::NoPen));
        p.setBrush(e.fill.isValid() ? QBrush(e.fill) : QBrush(Qt::NoBrush));
        p.drawRect(box);
        p.setBrush(Qt::NoBrush);
        break;
    case ReportElement::Kind::Picture: {
        QString path = resolve(c, e, e.text).trimmed();
        if (path.isEmpty())
            break;
        if (QDir::isRelativePath(path))
            path = Module::programPath(path);
        if (const QImage *image = picture(path)) {
            const QSizeF size = QSizeF(image->size()).scaled(box.size(), Qt::KeepAspectRatio);
            const QRectF target(box.center() - QPointF(size.width() / 2, size.height() / 2), size);
            p.drawImage(target, *image);
        }
        break;
    }
    case ReportElement::Kind::Barcode: {
        QString code = resolve(c, e, e.text);
        if (!e.removeSuffix.isEmpty() && code.endsWith(e.removeSuffix, Qt::CaseInsensitive))
            code.chop(e.removeSuffix.size());
        if (code.isEmpty())
            break;
        QRectF bars = box;
        if (e.showText) {
            p.setFont(e.font);
            const double textHeight = p.fontMetrics().height();
            bars.setBottom(box.bottom() - textHeight);
            p.setPen(e.colour);
            p.drawText(QRectF(box.left(), bars.bottom(), box.width(), textHeight),
                       Qt::AlignCenter | Qt::TextSingleLine, code.toUpper());
        }
        Code39::draw(p, bars, code, s);
        break;
    }
    }
}

} // namespace

void paintPage(QPainter &painter, const ReportDocument &document, int pageIndex, double dotsPerMm,
               Surface surface)
{
    if (pageIndex < 0 || pageIndex >= document.pageCount())
        return;
    const ReportTemplate &t = document.layout();
    const double columnWidth = t.detail.columnWidth > 0
                                   ? t.detail.columnWidth
                                   : t.printableArea().width() / t.detail.columns;
    const int thisYear = DateText::thisYear();
    for (const PlacedBand &placed : document.page(pageIndex).bands) {
        const Context context{document, pageIndex, placed.row, dotsPerMm, thisYear, surface};
        const ReportBand &band = *placed.band;
        if (placed.row >= 0 && placed.row % 2 == 1 && band.stripe.isValid()) {
            const double width = band.columns > 1 ? columnWidth : t.printableArea().width();
            painter.fillRect(QRectF(placed.origin.x() * dotsPerMm, placed.origin.y() * dotsPerMm,
                                    width * dotsPerMm, band.height * dotsPerMm),
                             band.stripe);
        }
        for (const ReportElement &element : band.elements)
            drawElement(painter, context, element, placed.origin);
    }
}

} // namespace ReportPainter
