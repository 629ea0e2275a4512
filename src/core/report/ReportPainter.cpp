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
// Sizes below the template's are tried in tenths of a point: one value tried at a size costs a
// font of that size, and sizes shared by the values of a list share their fonts.
constexpr double PointStep = 0.1;

// A font at one size, bound to the device's resolution once: measuring with a font of another
// resolution makes a new font each time, and finding its glyphs again costs more than the
// measuring.
struct SizedFont
{
    QFont font;
    QFontMetricsF metrics;
    double lineHeight;
};

// The fonts a thread has set values in, and the values it has set: a list repeats most of its
// values (publishers, subjects, places, classes), and each is set once, then drawn as it was set.
class Setter
{
public:
    // The template's font as it stands, on this device.
    int fontOf(const QFont &font, const QPaintDevice *device)
    {
        const int dpiX = device->logicalDpiX();
        const int dpiY = device->logicalDpiY();
        for (int i = 0; i < int(fonts_.size()); ++i)
            if (fonts_[i].dpiX == dpiX && fonts_[i].dpiY == dpiY && fonts_[i].font == font)
                return i;
        // A bound on what is kept: a report uses a few fonts.
        if (fonts_.size() >= 64)
            clear();
        fonts_.push_back({font, dpiX, dpiY, {}});
        return int(fonts_.size()) - 1;
    }

    // The font at a size: the template's own (0 points) or one of the tried sizes. A copy: the
    // fonts kept move as more are kept.
    SizedFont at(int font, const QPaintDevice *device, double points = 0)
    {
        Font &f = fonts_[font];
        const int key = points <= 0 ? 0 : int(std::lround(points * 1000));
        auto found = f.sizes.constFind(key);
        if (found == f.sizes.constEnd()) {
            if (f.sizes.size() >= 1024)
                f.sizes.clear();
            QFont sized(f.font, device);
            if (points > 0)
                sized.setPointSizeF(points);
            const QFontMetricsF metrics(sized, device);
            found = f.sizes.insert(key, {sized, metrics, metrics.height()});
        }
        return *found;
    }

    struct Set
    {
        int size; // 0: the template's size, else thousandths of a point
        QStringList lines;
    };
    Set *find(const QString &text, int font, const QSizeF &box)
    {
        const auto found = set_.find({text, font, box.width(), box.height()});
        return found == set_.end() ? nullptr : &*found;
    }
    void keep(const QString &text, int font, const QSizeF &box, Set value)
    {
        // A bound on what is kept: enough for the repeated values of a long list.
        if (set_.size() >= 20000)
            set_.clear();
        set_.insert({text, font, box.width(), box.height()}, std::move(value));
    }

private:
    struct Font
    {
        QFont font;
        int dpiX;
        int dpiY;
        QHash<int, SizedFont> sizes;
    };
    struct Key
    {
        QString text;
        int font;
        double width;
        double height;
        bool operator==(const Key &) const = default;
        friend size_t qHash(const Key &key, size_t seed = 0)
        {
            return qHashMulti(seed, key.text, key.font, key.width, key.height);
        }
    };
    void clear()
    {
        fonts_.clear();
        set_.clear(); // its values name fonts by their place here
    }
    std::vector<Font> fonts_;
    QHash<Key, Set> set_;
};

// The value broken into lines of the box's width, at word boundaries where it can be and anywhere
// else (an accession number has no spaces to break at). `wider` tells of a line still wider than
// the box: a letter wider than the box.
QStringList brokenLines(const QString &text, const QFont &font, QPaintDevice *device, double width,
                        bool &wider)
{
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        wider = wider || line.naturalTextWidth() > width + 0.5;
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

// The value at the largest size, no larger than the element's, at which it fits the box whole:
// on one line, or over the lines the box holds at that size. A value never printed cut is what
// tells "Class VIII" from "Class VII". Below about 4 points the value takes the lines it needs.
Setter::Set setValue(Setter &setter, int fontId, QPaintDevice *device, const QRectF &box,
                     const ReportElement &e, const QString &text)
{
    const SizedFont template_ = setter.at(fontId, device);
    const double full = e.font.pointSizeF();
    const double naturalWidth = template_.metrics.horizontalAdvance(text);
    const bool oneLine = !text.contains(QLatin1Char('\n'));
    if (naturalWidth <= 0 || (oneLine && naturalWidth <= box.width()))
        return {0, {text}};

    const auto paragraphs = [&](const SizedFont &sized, bool &wider) {
        QStringList lines;
        for (const QString &paragraph : text.split(QLatin1Char('\n')))
            lines << brokenLines(paragraph, sized.font, device, box.width(), wider);
        return lines;
    };
    // Fits at a size (0: the template's): the lines, else nothing.
    const auto linesAt = [&](double points) -> QStringList {
        const SizedFont sized = setter.at(fontId, device, points);
        if (oneLine && sized.metrics.horizontalAdvance(text) <= box.width())
            return {text};
        const int room = int(box.height() / sized.lineHeight + 1e-6);
        if (room < 2)
            return {};
        bool wider = false;
        const QStringList lines = paragraphs(sized, wider);
        return wider || lines.size() > room ? QStringList() : lines;
    };

    // The size lies below one line's (its advance grows about as the size) and what the box's area
    // allows.
    const double area = box.width() * box.height();
    const double upper =
        std::min(full, full * std::sqrt(area / (naturalWidth * template_.lineHeight)));
    if (upper >= full) {
        if (QStringList lines = linesAt(0); !lines.isEmpty())
            return {0, lines};
    }
    // Below it, the largest tenth of a point that fits, looked for from where k lines of the value
    // would fill the box: the best k gives a size close to the answer, and a few steps settle it.
    const int lowest = int(std::ceil(SmallestPoints / PointStep - 1e-9));
    const int highest = int(std::floor(upper / PointStep - 1e-9));
    QStringList best;
    const auto fits = [&](int step) {
        QStringList lines = linesAt(step * PointStep);
        if (lines.isEmpty())
            return false;
        best = std::move(lines);
        return true;
    };
    if (highest >= lowest) {
        double estimate = 0;
        for (int k = 1; k <= 64; ++k) {
            const double byWidth = full * k * box.width() / naturalWidth;
            const double byHeight = full * box.height() / (k * template_.lineHeight);
            estimate = std::max(estimate, std::min(byWidth, byHeight));
            if (byHeight < byWidth)
                break;
        }
        const int start = std::clamp(int(std::floor(estimate * 0.98 / PointStep)), lowest, highest);
        int good = -1;
        int bad = highest + 1;
        if (fits(start)) {
            good = start;
            for (int stride = 1; good < highest; stride *= 2) {
                const int next = std::min(highest, good + stride);
                if (!fits(next)) {
                    bad = next;
                    break;
                }
                good = next;
            }
        } else {
            bad = start;
            for (int stride = 1; bad > lowest && good < 0; stride *= 2) {
                const int next = std::max(lowest, bad - stride);
                if (fits(next))
                    good = next;
                else
                    bad = next;
            }
        }
        if (good >= 0) {
            QStringList goodLines = best;
            while (bad - good > 1) {
                const int middle = (good + bad) / 2;
                if (fits(middle)) {
                    good = middle;
                    goodLines = best;
                } else {
                    bad = middle;
                }
            }
            return {int(std::lround(good * PointStep * 1000)), goodLines};
        }
    }
    // Too long for the box even at the smallest size: all of it, over the lines it needs.
    bool wider = false;
    return {int(std::lround(SmallestPoints * 1000)),
            paragraphs(setter.at(fontId, device, SmallestPoints), wider)};
}

SetValue setOnce(QPainter &p, const QRectF &box, const ReportElement &e, const QString &text)
{
    thread_local Setter setter;
    QPaintDevice *device = p.device();
    const int font = setter.fontOf(e.font, device);
    const Setter::Set *set = setter.find(text, font, box.size());
    if (!set) {
        setter.keep(text, font, box.size(), setValue(setter, font, device, box, e, text));
        set = setter.find(text, font, box.size());
    }
    const SizedFont sized = setter.at(font, device, set->size / 1000.0);
    return {sized.font, set->lines, sized.lineHeight};
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
