#pragma once

#include <QString>

class QPrinter;
class ReportDocument;

// Paper output of a laid-out report; the same pages as the PDF and the preview.
namespace ReportPrinter {

// Sets the printer's paper to the template's page, origin at the paper's corner.
void preparePrinter(QPrinter &printer, const ReportDocument &document);
// Throws the AppError of print when no printer is installed (and none is set to print to a file).
void requirePrinter();
// Prints every page, one copy. Throws AppError when there is no printer to print on.
void print(const ReportDocument &document, QPrinter &printer);

// What would go to the print queue goes into this PDF file instead (tests, and machines without
// a printer); an empty path goes back to the print queue.
void setPrintToFile(const QString &pdfPath);

} // namespace ReportPrinter
