#pragma once

#include <QImage>
#include <QString>

class QPrinter;
class ReportDocument;

// The three ways out of a laid-out report; all draw the same pages.
namespace ReportOutput {

// Writes a PDF with vector, searchable text. An existing file is overwritten. Throws AppError.
void exportPdf(const ReportDocument &document, const QString &filePath);

// Sets the printer's paper to the template's page, origin at the paper's corner.
void preparePrinter(QPrinter &printer, const ReportDocument &document);
// Prints every page, one copy. Throws AppError when there is no printer to print on.
void print(const ReportDocument &document, QPrinter &printer);

// A page as a picture at a zoom in percent of its size on a 96 dpi screen.
QImage pageImage(const ReportDocument &document, int pageIndex, int zoomPercent);

// What would go to the print queue goes into this PDF file instead (tests, and machines without
// a printer); an empty path goes back to the print queue.
void setPrintToFile(const QString &pdfPath);

} // namespace ReportOutput
