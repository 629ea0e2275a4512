#include "ui/ReportViewer.h"

#include "core/report/ReportLayout.h"
#include "core/report/ReportOutput.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace {
constexpr int Gap = 16;
constexpr int CachedPages = 8;
} // namespace

class ReportViewerDesk : public QWidget
{
public:
    explicit ReportViewerDesk(ReportViewer *viewer) : QWidget(viewer), viewer_(viewer) {}

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), QColor(128, 128, 128));
        for (int i = 0; i < viewer_->pageRects_.size(); ++i) {
            const QRect rect = viewer_->pageRects_[i];
            if (!rect.intersects(event->rect()))
                continue;
            painter.fillRect(rect.translated(3, 3), QColor(72, 72, 72));
            painter.drawImage(rect.topLeft(), viewer_->pageImage(i));
        }
    }

private:
    ReportViewer *viewer_;
};

ReportViewer::ReportViewer(QWidget *parent) : QScrollArea(parent)
{
    setWidget(new ReportViewerDesk(this));
    setWidgetResizable(false);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setBackgroundRole(QPalette::Dark);
    verticalScrollBar()->setSingleStep(40);
}

void ReportViewer::setReportSource(std::shared_ptr<const ReportDocument> document)
{
    document_ = std::move(document);
    cache_.clear();
}

void ReportViewer::viewReport()
{
    relayout();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void ReportViewer::setZoom(int percent)
{
    zoom_ = std::clamp(percent, 10, 400);
    cache_.clear();
    relayout();
}

int ReportViewer::pageCount() const
{
    return document_ ? document_->pageCount() : 0;
}

QRect ReportViewer::pageRect(int index) const
{
    return index >= 0 && index < pageRects_.size() ? pageRects_[index] : QRect();
}

void ReportViewer::relayout()
{
    pageRects_.clear();
    QSize desk(0, Gap);
    if (document_) {
        const QSizeF paper = document_->layout().paperSize();
        const double dpi = 96.0 * zoom_ / 100.0;
        const QSize size(qRound(paper.width() * dpi / 25.4), qRound(paper.height() * dpi / 25.4));
        for (int i = 0; i < document_->pageCount(); ++i) {
            pageRects_.append(QRect(QPoint(Gap, desk.height()), size));
            desk.rheight() += size.height() + Gap;
        }
        desk.setWidth(size.width() + 2 * Gap);
    }
    widget()->resize(desk);
    widget()->update();
}

QImage ReportViewer::pageImage(int index) const
{
    if (!document_)
        return QImage();
    auto it = cache_.constFind(index);
    if (it != cache_.constEnd())
        return *it;
    if (cache_.size() >= CachedPages)
        cache_.clear();
    const QImage image = ReportOutput::pageImage(*document_, index, zoom_);
    cache_.insert(index, image);
    return image;
}
