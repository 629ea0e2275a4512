#pragma once

#include "core/report/ReportData.h"
#include "core/report/ReportTemplate.h"

#include <QPointF>
#include <QRectF>
#include <vector>

// One band placed on a page: which band, for which record (detail only) and where, in
// millimetres from the paper's top-left corner.
struct PlacedBand
{
    const ReportBand *band = nullptr;
    int row = -1;
    QPointF origin;
};

struct LaidOutPage
{
    std::vector<PlacedBand> bands;
};

// A template with its rows, laid out into pages once. Preview, printer and PDF all draw these
// pages, so what the preview shows is what prints.
class ReportDocument
{
public:
    ReportDocument(ReportTemplate layout, ReportData data);

    const ReportTemplate &layout() const { return template_; }
    const ReportData &data() const { return data_; }
    int pageCount() const { return int(pages_.size()); }
    const LaidOutPage &page(int index) const { return pages_[size_t(index)]; }

private:
    void layOut();

    ReportTemplate template_;
    ReportData data_;
    std::vector<LaidOutPage> pages_;
};
