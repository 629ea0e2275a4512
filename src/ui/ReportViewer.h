#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QScrollArea>
#include <memory>

class ReportDocument;

// The preview: the report's pages one below the other on a grey desk, at a zoom in percent.
// Only the pages in sight are drawn, so a long report shows its first page at once.
class ReportViewer : public QScrollArea
{
    Q_OBJECT
public:
    explicit ReportViewer(QWidget *parent = nullptr);

    void setReportSource(std::shared_ptr<const ReportDocument> document);
    std::shared_ptr<const ReportDocument> reportSource() const { return document_; }
    // Lays the pages out for viewing and goes to the first page.
    void viewReport();
    void setZoom(int percent);
    int zoom() const { return zoom_; }
    int pageCount() const;

    // Where a page lies on the desk, in pixels.
    QRect pageRect(int index) const;
    // The page as drawn for the preview at the current zoom.
    QImage pageImage(int index) const;

private:
    friend class ReportViewerDesk;
    void relayout();

    std::shared_ptr<const ReportDocument> document_;
    int zoom_ = 100;
    QList<QRect> pageRects_;
    mutable QHash<int, QImage> cache_;
};
