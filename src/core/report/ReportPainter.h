#pragma once

class QPainter;
class ReportDocument;

// Draws one laid-out page. The painter's device decides the resolution: positions are scaled by
// dotsPerMm and fonts, given in points, follow the device's own resolution, so a page comes out
// the same on screen, paper and PDF.
namespace ReportPainter {

void paintPage(QPainter &painter, const ReportDocument &document, int pageIndex, double dotsPerMm);

} // namespace ReportPainter
