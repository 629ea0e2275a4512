#include "core/report/ReportLayout.h"

ReportDocument::ReportDocument(ReportTemplate layout, ReportData data)
    : template_(std::move(layout)), data_(std::move(data))
{
    layOut();
}

void ReportDocument::layOut()
{
    const ReportTemplate &t = template_;
    const QRectF area = t.printableArea();
    const double bottom = area.bottom() - t.pageFooter.height;
    double y = 0;

    auto place = [&](const ReportBand &band, int row, double x) {
        pages_.back().bands.push_back({&band, row, QPointF(x, y)});
    };
    auto newPage = [&] {
        if (!pages_.empty() && !t.pageFooter.isEmpty()) {
            const double saved = y;
            y = bottom;
            place(t.pageFooter, -1, area.left());
            y = saved;
        }
        pages_.emplace_back();
        y = area.top();
        if (pages_.size() == 1 && !t.reportHeader.isEmpty()) {
            place(t.reportHeader, -1, area.left());
            y += t.reportHeader.height;
        }
        if (!t.pageHeader.isEmpty()) {
            place(t.pageHeader, -1, area.left());
            y += t.pageHeader.height;
        }
    };

    newPage();
    const ReportBand &detail = t.detail;
    const int columns = detail.columns;
    const double columnWidth = detail.columnWidth > 0 ? detail.columnWidth : area.width() / columns;
    for (int row = 0; row < data_.rowCount(); ++row) {
        const int column = row % columns;
        if (column == 0 && y + detail.height > bottom + 1e-6)
            newPage();
        place(detail, row, area.left() + column * columnWidth);
        if (column == columns - 1 || row == data_.rowCount() - 1)
            y += detail.height;
    }
    if (!t.reportFooter.isEmpty()) {
        if (y + t.reportFooter.height > bottom + 1e-6)
            newPage();
        place(t.reportFooter, -1, area.left());
        y += t.reportFooter.height;
    }
    // The last page's footer.
    if (!t.pageFooter.isEmpty()) {
        y = bottom;
        place(t.pageFooter, -1, area.left());
    }
}
