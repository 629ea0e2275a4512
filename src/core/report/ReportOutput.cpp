#include "core/report/ReportOutput.h"

#include "core/AppError.h"
#include "core/report/ReportLayout.h"
#include "core/report/ReportPainter.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace ReportOutput {

namespace {

QString &printFile()
{
    static QString path;
    return path;
}

QPageLayout pageLayout(const ReportDocument &document)
{
    const ReportTemplate &t = document.layout();
    return QPageLayout(t.pageSize, t.orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void paintAll(QPainter &painter, QPagedPaintDevice &device, const ReportDocument &document, int dpi)
{
    const double dotsPerMm = dpi / 25.4;
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0)
            device.newPage();
        ReportPainter::paintPage(painter, document, i, dotsPerMm);
    }
}

} // namespace

void exportPdf(const ReportDocument &document, const QString &filePath)
{
    QPdfWriter writer(filePath);
    writer.setResolution(600);
    writer.setPageLayout(pageLayout(document));
    writer.setTitle(document.layout().title);
    writer.setCreator(QStringLiteral("LibraryDesk"));
    QPainter painter;
    if (!painter.begin(&writer))
        throw AppError(75, QStringLiteral("Path/File access error: %1").arg(filePath));
    paintAll(painter, writer, document, writer.resolution());
    painter.end();
}

void preparePrinter(QPrinter &printer, const ReportDocument &document)
{
    if (!printFile().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printFile());
    }
    printer.setFullPage(true);
    printer.setPageSize(document.layout().pageSize);
    printer.setPageOrientation(document.layout().orientation);
    printer.setCopyCount(1);
    printer.setDocName(document.layout().title);
}

void print(const ReportDocument &document, QPrinter &printer)
{
    // Without a print server Qt falls back to a PDF printer without a file: there is no printer.
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty())
        throw AppError(482, QStringLiteral("Printer error: no printer is installed"));
    // One copy, also after a set-up dialog where the user raised the copy count.
    printer.setCopyCount(1);
    QPainter painter;
    if (!painter.begin(&printer))
        throw AppError(482, QStringLiteral("Printer error: %1").arg(printer.printerName()));
    paintAll(painter, printer, document, printer.resolution());
    painter.end();
}

QImage pageImage(const ReportDocument &document, int pageIndex, int zoomPercent)
{
    const double dpi = 96.0 * zoomPercent / 100.0;
    const QSizeF paper = document.layout().paperSize();
    const QSize size(qRound(paper.width() * dpi / 25.4), qRound(paper.height() * dpi / 25.4));
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    ReportPainter::paintPage(painter, document, pageIndex, dpi / 25.4);
    return image;
}

void setPrintToFile(const QString &pdfPath)
{
    printFile() = pdfPath;
}

} // namespace ReportOutput
