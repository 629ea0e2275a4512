#include "core/report/ReportTemplate.h"

#include "core/AppError.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

[[noreturn]] void damaged(const QString &path, const QString &why)
{
    throw AppError(321, QStringLiteral("Invalid report template %1: %2").arg(path, why));
}

QFont readFont(const QJsonValue &value, const QFont &base)
{
    QFont font = base;
    const QJsonObject o = value.toObject();
    if (o.contains(QLatin1String("family")))
        font.setFamilies(ReportTemplate::fontFamilies(o.value(QLatin1String("family")).toString()));
    if (o.contains(QLatin1String("size")))
        font.setPointSizeF(o.value(QLatin1String("size")).toDouble());
    if (o.contains(QLatin1String("bold")))
        font.setBold(o.value(QLatin1String("bold")).toBool());
    if (o.contains(QLatin1String("italic")))
        font.setItalic(o.value(QLatin1String("italic")).toBool());
    if (o.contains(QLatin1String("underline")))
        font.setUnderline(o.value(QLatin1String("underline")).toBool());
    return font;
}

Qt::Alignment readAlignment(const QJsonObject &o)
{
    Qt::Alignment horizontal = Qt::AlignLeft;
    const QString align = o.value(QLatin1String("align")).toString();
    if (align == QLatin1String("center"))
        horizontal = Qt::AlignHCenter;
    else if (align == QLatin1String("right"))
        horizontal = Qt::AlignRight;
    Qt::Alignment vertical = Qt::AlignVCenter;
    const QString valign = o.value(QLatin1String("valign")).toString();
    if (valign == QLatin1String("top"))
        vertical = Qt::AlignTop;
    else if (valign == QLatin1String("bottom"))
        vertical = Qt::AlignBottom;
    return horizontal | vertical;
}

QColor readColour(const QJsonValue &value, const QColor &fallback = QColor())
{
    if (!value.isString())
        return fallback;
    const QColor colour(value.toString());
    return colour.isValid() ? colour : fallback;
}

void readBox(ReportElement &e, const QJsonValue &value, const QString &path)
{
    const QJsonArray a = value.toArray();
    if (a.size() != 4)
        damaged(path, QStringLiteral("a line or box needs four numbers"));
    e.x = a[0].toDouble();
    e.y = a[1].toDouble();
    e.width = a[2].toDouble();
    e.height = a[3].toDouble();
}

ReportElement readElement(const QJsonObject &o, const QFont &baseFont, const QString &path)
{
    ReportElement e;
    e.x = o.value(QLatin1String("x")).toDouble();
    e.y = o.value(QLatin1String("y")).toDouble();
    e.width = o.value(QLatin1String("w")).toDouble();
    e.height = o.value(QLatin1String("h")).toDouble();
    e.font = readFont(o.value(QLatin1String("font")), baseFont);
    e.alignment = readAlignment(o);
    e.wrap = o.value(QLatin1String("wrap")).toBool();
    e.fit = o.value(QLatin1String("fit")).toBool();
    e.colour = readColour(o.value(QLatin1String("color")), Qt::black);
    e.fill = readColour(o.value(QLatin1String("fill")));
    e.lineWidth =
        o.value(QLatin1String("border")).toDouble(o.value(QLatin1String("width")).toDouble(0.25));
    e.decimals = o.value(QLatin1String("number")).toInt(-1);
    e.thousands = o.value(QLatin1String("thousands")).toBool();
    e.dateFormat = o.value(QLatin1String("date")).toString();

    if (o.contains(QLatin1String("text"))) {
        e.kind = ReportElement::Kind::Text;
        e.text = TemplateText::parse(o.value(QLatin1String("text")).toString());
    } else if (o.contains(QLatin1String("join"))) {
        e.kind = ReportElement::Kind::Text;
        for (const QJsonValue &part : o.value(QLatin1String("join")).toArray())
            e.joinParts.push_back(TemplateText::parse(part.toString()));
        e.joinSeparator = o.value(QLatin1String("separator")).toString(e.joinSeparator);
    } else if (o.contains(QLatin1String("line"))) {
        e.kind = ReportElement::Kind::Line;
        readBox(e, o.value(QLatin1String("line")), path);
        e.width -= e.x; // stored as the run from the start
        e.height -= e.y;
    } else if (o.contains(QLatin1String("box"))) {
        e.kind = ReportElement::Kind::Box;
        readBox(e, o.value(QLatin1String("box")), path);
    } else if (o.contains(QLatin1String("picture"))) {
        e.kind = ReportElement::Kind::Picture;
        e.text = TemplateText::parse(o.value(QLatin1String("picture")).toString());
    } else if (o.contains(QLatin1String("barcode"))) {
        e.kind = ReportElement::Kind::Barcode;
        e.text = TemplateText::parse(o.value(QLatin1String("barcode")).toString());
        e.removeSuffix = o.value(QLatin1String("removeSuffix")).toString();
        e.showText = o.value(QLatin1String("showText")).toBool(true);
    } else {
        damaged(path, QStringLiteral("an element of unknown kind"));
    }
    return e;
}

ReportBand readBand(const QJsonValue &value, const QFont &baseFont, const QString &path)
{
    ReportBand band;
    if (!value.isObject())
        return band;
    const QJsonObject o = value.toObject();
    band.height = o.value(QLatin1String("height")).toDouble();
    band.columns = std::max(1, o.value(QLatin1String("columns")).toInt(1));
    band.columnWidth = o.value(QLatin1String("columnWidth")).toDouble();
    band.stripe = readColour(o.value(QLatin1String("stripe")));
    const QFont font = readFont(o.value(QLatin1String("font")), baseFont);
    for (const QJsonValue &element : o.value(QLatin1String("elements")).toArray())
        band.elements.push_back(readElement(element.toObject(), font, path));
    return band;
}

QPageSize readPageSize(const QJsonObject &page)
{
    const QString size = page.value(QLatin1String("size")).toString(QStringLiteral("A4"));
    if (size == QLatin1String("A5"))
        return QPageSize(QPageSize::A5);
    if (size == QLatin1String("Letter"))
        return QPageSize(QPageSize::Letter);
    if (size == QLatin1String("Custom"))
        return QPageSize(QSizeF(page.value(QLatin1String("width")).toDouble(210),
                                page.value(QLatin1String("height")).toDouble(297)),
                         QPageSize::Millimeter, QStringLiteral("Custom"), QPageSize::ExactMatch);
    return QPageSize(QPageSize::A4);
}

} // namespace

TemplateText TemplateText::parse(const QString &source)
{
    TemplateText result;
    QString literal;
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source.at(i);
        const qsizetype close = c == QLatin1Char('{') ? source.indexOf(QLatin1Char('}'), i) : -1;
        if (close > i + 1) {
            if (!literal.isEmpty())
                result.pieces.push_back({literal, false});
            literal.clear();
            result.pieces.push_back({source.mid(i + 1, close - i - 1), true});
            i = close;
        } else {
            literal += c;
        }
    }
    if (!literal.isEmpty())
        result.pieces.push_back({literal, false});
    return result;
}

QStringList ReportTemplate::fontFamilies(const QString &family)
{
    // A text in an Indian script takes its letters from the Noto fonts of the dependency script
    // (fonts-noto-core); without them a Hindi title prints as boxes.
    static const QStringList fallbacks = {
        QStringLiteral("Noto Sans Devanagari"), QStringLiteral("Noto Sans Bengali"),
        QStringLiteral("Noto Sans Gurmukhi"),   QStringLiteral("Noto Sans Gujarati"),
        QStringLiteral("Noto Sans Tamil"),      QStringLiteral("Noto Sans Telugu"),
        QStringLiteral("Noto Sans Kannada"),    QStringLiteral("Noto Sans Malayalam"),
        QStringLiteral("Noto Sans Oriya"),      QStringLiteral("Noto Sans"),
    };
    QStringList families{family};
    for (const QString &fallback : fallbacks)
        if (fallback.compare(family, Qt::CaseInsensitive) != 0)
            families << fallback;
    return families;
}

QSizeF ReportTemplate::paperSize() const
{
    const QSizeF size = pageSize.size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? size.transposed() : size;
}

QRectF ReportTemplate::printableArea() const
{
    const QSizeF paper = paperSize();
    return QRectF(margins.left(), margins.top(), paper.width() - margins.left() - margins.right(),
                  paper.height() - margins.top() - margins.bottom());
}

ReportTemplate ReportTemplate::load(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        throw AppError(53, QStringLiteral("File not found: %1").arg(path));
    return fromJson(file.readAll(), path);
}

ReportTemplate ReportTemplate::fromJson(const QByteArray &json, const QString &path)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        damaged(path, error.errorString());
    const QJsonObject o = document.object();

    ReportTemplate t;
    t.path = path;
    t.title = o.value(QLatin1String("title")).toString();
    const QJsonObject page = o.value(QLatin1String("page")).toObject();
    t.pageSize = readPageSize(page);
    if (page.value(QLatin1String("orientation")).toString() == QLatin1String("landscape"))
        t.orientation = QPageLayout::Landscape;
    const QJsonArray margins = page.value(QLatin1String("margins")).toArray();
    if (margins.size() == 4)
        t.margins = QMarginsF(margins[0].toDouble(), margins[1].toDouble(), margins[2].toDouble(),
                              margins[3].toDouble());
    const QJsonObject data = o.value(QLatin1String("data")).toObject();
    t.database = data.value(QLatin1String("database")).toString();
    t.query = data.value(QLatin1String("query")).toString();

    QFont base;
    base.setFamilies(fontFamilies(QStringLiteral("DejaVu Sans")));
    base.setPointSizeF(9);
    // Any letter spacing turns ligatures off, so "fi" stays two letters a PDF search finds.
    base.setLetterSpacing(QFont::AbsoluteSpacing, 1.0 / 64);
    base = readFont(o.value(QLatin1String("font")), base);
    t.reportHeader = readBand(o.value(QLatin1String("reportHeader")), base, path);
    t.pageHeader = readBand(o.value(QLatin1String("pageHeader")), base, path);
    t.detail = readBand(o.value(QLatin1String("detail")), base, path);
    t.pageFooter = readBand(o.value(QLatin1String("pageFooter")), base, path);
    t.reportFooter = readBand(o.value(QLatin1String("reportFooter")), base, path);
    if (t.detail.isEmpty())
        damaged(path, QStringLiteral("no detail band"));
    const double usable = t.printableArea().height() - t.pageHeader.height - t.pageFooter.height -
                          t.reportHeader.height;
    if (t.detail.height > usable)
        damaged(path, QStringLiteral("the detail band does not fit on a page"));
    return t;
}
