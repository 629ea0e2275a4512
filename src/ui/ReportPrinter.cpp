#include "ui/ReportPrinter.h"

#include "core/AppError.h"
#include "core/report/ReportLayout.h"
#include "core/report/ReportOutput.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace ReportPrinter {

namespace {

QString &printFile()
{
    static QString path;
    return path;
}

[[noreturn]] void noPrinter()
{
    throw AppError(482, QStringLiteral("Printer error: no printer is installed"));
}

} // namespace

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

void requirePrinter()
{
    if (printFile().isEmpty() && QPrinterInfo::availablePrinterNames().isEmpty())
        noPrinter();
}

void print(const ReportDocument &document, QPrinter &printer)
{
    // Without a print server Qt falls back to a PDF printer without a file: there is no printer.
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty())
        noPrinter();
    // One copy, also after a set-up dialog where the user raised the copy count.
    printer.setCopyCount(1);
    QPainter painter;
    if (!painter.begin(&printer))
        throw AppError(482, QStringLiteral("Printer error: %1").arg(printer.printerName()));
    ReportOutput::paintPages(painter, printer, document, printer.resolution(),
                             ReportPainter::Surface::Paper);
    painter.end();
}

void setPrintToFile(const QString &pdfPath)
{
    printFile() = pdfPath;
}

} // namespace ReportPrinter
