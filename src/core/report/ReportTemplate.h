#pragma once

#include <QColor>
#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <vector>

// A report template: a JSON file of ours that gives the page, the bands and what each band draws.
// All lengths are millimetres; a band's elements are placed relative to the band's top-left corner.

// A text with {field} references, split once when the template loads so that drawing a row only
// looks values up. Besides the data's own columns it knows {page}, {pages}, {row}, {count} and
// {printDate}, {title} and {sum:Column}.
struct TemplateText
{
    struct Piece
    {
        QString text; // literal text, or the field name when isField
        bool isField = false;
    };
    std::vector<Piece> pieces;

    static TemplateText parse(const QString &source);
    bool isEmpty() const { return pieces.empty(); }
};

struct ReportElement
{
    enum class Kind { Text, Line, Box, Picture, Barcode };
    Kind kind = Kind::Text;
    double x = 0, y = 0, width = 0,
           height = 0; // a line runs from (x, y) to (x + width, y + height)

    TemplateText text; // Text: what it shows; Picture: the file path; Barcode: the code
    // Text: these parts joined by joinSeparator, leaving out a part whose fields are all empty
    std::vector<TemplateText> joinParts;
    QString joinSeparator = QStringLiteral(", ");
    QString removeSuffix; // Barcode: cut from the value's end (sticker files end in ".jpg")

    QFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool wrap = false;
    // Text: a value too long for its box is set smaller until it fits, broken anywhere over the
    // box's lines when wrap is set, so it prints whole.
    bool fit = false;
    QColor colour = Qt::black;
    QColor fill;             // Box: fill colour; invalid = none
    double lineWidth = 0.25; // Line, Box: pen width; 0 = no border

    // Value formats: a number with this many decimals (-1 = as it stands), a date in this form.
    int decimals = -1;
    bool thousands = false;
    QString dateFormat;
    bool showText = true; // Barcode: the code printed under the bars
};

struct ReportBand
{
    double height = 0;
    int columns = 1;        // detail only: records laid across before going down
    double columnWidth = 0; // 0 = the printable width divided by the columns
    QColor stripe;          // detail only: back colour of every second record
    std::vector<ReportElement> elements;

    bool isEmpty() const { return height <= 0; }
};

struct ReportTemplate
{
    QString path;
    QString title;
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins = QMarginsF(12, 12, 12, 12);

    // Where the template reads its rows when it is opened unbound: a database below the program
    // folder and a query.
    QString database;
    QString query;

    ReportBand reportHeader, pageHeader, detail, pageFooter, reportFooter;

    QSizeF paperSize() const; // millimetres, oriented

    // A template's font family followed by the fonts that hold the letters it lacks.
    static QStringList fontFamilies(const QString &family);
    QRectF printableArea() const;

    // Reads a template; a missing file or a template that cannot be read is an AppError.
    static ReportTemplate load(const QString &path);
    static ReportTemplate fromJson(const QByteArray &json, const QString &path = QString());
};
