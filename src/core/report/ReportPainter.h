#pragma once

class QPainter;
class ReportDocument;

// Draws one laid-out page. The painter's device decides the resolution: positions are scaled by
// dotsPerMm and fonts, given in points, follow the device's own resolution, so a page comes out
// the same on screen, paper and PDF.
namespace ReportPainter {

// What the page is drawn for. A file and the screen carry the invisible letters under a text in
// an Indian script that make a PDF searchable; paper does not: print servers that know no
// transparency print those letters black over the outlines, and the cell comes out bold.
enum class Surface { File, Paper };

void paintPage(QPainter &painter, const ReportDocument &document, int pageIndex, double dotsPerMm,
               Surface surface = Surface::File);

} // namespace ReportPainter
