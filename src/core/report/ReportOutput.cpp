#include "core/report/ReportOutput.h"

#include "core/AppError.h"
#include "core/report/ReportLayout.h"
#include "core/report/ReportPainter.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace ReportOutput {

namespace {

QPageLayout pageLayout(const ReportDocument &document)
{
    const ReportTemplate &t = document.layout();
    return QPageLayout(t.pageSize, t.orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

} // namespace

void paintPages(QPainter &painter, QPagedPaintDevice &device, const ReportDocument &document,
                int dpi, ReportPainter::Surface surface)
{
    const double dotsPerMm = dpi / 25.4;
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0)
            device.newPage();
        ReportPainter::paintPage(painter, document, i, dotsPerMm, surface);
    }
}

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
    paintPages(painter, writer, document, writer.resolution());
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

} // namespace ReportOutput
