#include "controls/grid/view/VeziRado.h"

#include "controls/grid/view/GridImageList.h"
#include "core/Colour.h"
#include "core/Units.h"

#include <QCoreApplication>
#include <QPainter>
#include <QStyle>

// The layout pass and the frame of a repaint. The painters of caption, headers, rows, totals
// line, grid lines and focus rectangle draw into the surface at the marked places.

void VeziRado::CalcMetrics()
{
    std::optional<QSize> imageSize;
    if (imageList_)
        imageSize = imageList_->imageSize();
    const int minRowHeight =
        int(Units::roundHalfEven(p_.MinRowHeight * pixelsPerUnit(p_.ScaleUnits)));
    geometry_.CalcMetrics(imageSize, minRowHeight);
}

PixelRect VeziRado::cellRect(int row, int col) const
{
    return geometry_.CellPartRect(row, col, geometry_.RowTop(row), CellPart::Whole);
}

void VeziRado::clearSurface()
{
    const QSize size = viewport()->size().expandedTo(QSize(1, 1));
    if (surface_.size() != size)
        surface_ = QImage(size, QImage::Format_RGB32);
    surface_.fill(Colour::toQColor(p_.BackColorBkg));
}

void VeziRado::DrawCaptionBar()
{
    // The caption bar's painter lands here.
}

int VeziRado::DrawHeaders()
{
    // Places the columns where the rows will draw them; the header painter lands here too.
    const int frozen = p_.FreezeAtCol;
    const int h = SBValueGet(Bar::Horizontal);
    int x = 0;
    for (int j = 0; j < model_.Cols(); ++j) {
        const int col = model_.ColumnOrder()[size_t(j)];
        const ColumnRecord &column = model_.column(col);
        if ((j > frozen && j < h) || !column.Visible)
            continue;
        model_.setColumnLeft(col, x);
        x += column.WidthPixels;
    }
    return geometry_.RowNumberWidth() + x;
}

void VeziRado::DrawGrid(bool bRedraw, bool bHideFocus)
{
    Q_UNUSED(bHideFocus) // the focus rectangle's painter reads it
    if (painting_)
        return;
    painting_ = true;
    QCoreApplication::processEvents();
    model_.setRepaintPending(!bRedraw);
    if (!bRedraw) {
        painting_ = false;
        return;
    }

    if (SBValueGet(Bar::Horizontal) < p_.FreezeAtCol)
        SBValueLet(Bar::Horizontal, p_.FreezeAtCol + 1);
    clearSurface();

    const int last = model_.LastRowIndex();
    if (last == -1) {
        DrawCaptionBar();
        DrawHeaders();
        painting_ = false;
        emit RequestRowData(-1);
        return;
    }

    firstVisibleRow_ = geometry_.verticalPosition();
    const int surfaceHeight = viewport()->height();
    const int lastInView = std::min(firstVisibleRow_ + geometry_.RowsPerPage(surfaceHeight), last);
    // Keeping the current row in view after a Down key comes with the keyboard handling.

    if (p_.ShowRowNumbers) {
        const int highest = p_.ShowRowNumbersVary ? lastInView + 1 : last + 1;
        geometry_.setRowNumberWidth(
            std::max(geometry_.measurer().textWidth(p_.Font, QString::number(highest)) + 5, 19));
    } else {
        geometry_.setRowNumberWidth(0);
    }
    DrawCaptionBar();
    DrawHeaders();

    int y = geometry_.metrics().HeaderHeight;
    int i = firstVisibleRow_;
    for (; i <= last; ++i) {
        const RowRecord &row = model_.rowAt(i);
        if (!row.Visible && !row.GroupHeader)
            continue;
        // The row painter lands here: row number, background, cells, lines.
        y += row.Height;
        if (y > surfaceHeight)
            break;
    }
    lastVisibleRow_ = std::min(i, last);
    const bool request = surfaceHeight > y || i >= last;
    // The totals line, the vertical grid lines and the focus rectangle land here.

    viewport()->update();
    painting_ = false;
    if (request)
        emit RequestRowData(lastVisibleRow_);
}

void VeziRado::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    if (surface_.isNull())
        painter.fillRect(viewport()->rect(), Colour::toQColor(p_.BackColorBkg));
    else
        painter.drawImage(0, 0, surface_);
}

int VeziRado::VisibleHeight()
{
    if (!model_.DrawingOn())
        LayoutScrollBars();
    const double tpp = twipsPerPixel();
    const double border = p_.BorderStyle == Grid::BorderStyle::FixedSingle
                              ? double(Units::roundHalfEven(4 * tpp))
                              : 0;
    const double thumb = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) * tpp;
    return int(Units::roundHalfEven(height() * tpp - (horizontal_.shown() ? thumb : 0) - border));
}

int VeziRado::VisibleWidth()
{
    if (!model_.DrawingOn())
        LayoutScrollBars();
    const double tpp = twipsPerPixel();
    const double border = p_.BorderStyle == Grid::BorderStyle::FixedSingle
                              ? double(Units::roundHalfEven(4 * tpp))
                              : 0;
    const double thumb = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) * tpp;
    const double width = double(
        Units::roundHalfEven(this->width() * tpp - (vertical_.shown() ? thumb : 0) - border));
    return int(Units::roundHalfEven(width - tpp - geometry_.RowNumberWidth() * tpp));
}
