#pragma once

#include "core/report/ReportPainter.h"

#include <QImage>
#include <QString>

class QPagedPaintDevice;
class QPainter;
class ReportDocument;

// The ways out of a laid-out report that need no printer; all draw the same pages.
namespace ReportOutput {

// Writes a PDF with vector, searchable text. An existing file is overwritten. Throws AppError.
void exportPdf(const ReportDocument &document, const QString &filePath);

// Draws every page onto a paged device (a PDF writer or a printer) at its resolution.
void paintPages(QPainter &painter, QPagedPaintDevice &device, const ReportDocument &document,
                int dpi, ReportPainter::Surface surface = ReportPainter::Surface::File);

// A page as a picture at a zoom in percent of its size on a 96 dpi screen.
QImage pageImage(const ReportDocument &document, int pageIndex, int zoomPercent);

} // namespace ReportOutput
