#include "controls/grid/view/VeziRado.h"

#include "controls/grid/view/GridImageList.h"
#include "controls/grid/view/GridPainter.h"
#include "core/Colour.h"
#include "core/Units.h"

#include <QPainter>
#include <QStyle>

#include <limits>

// The layout pass and the repaint: everything is drawn into the surface, which the window
// copies. A repaint never lets the event loop run.

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

void VeziRado::DrawGrid(bool bRedraw, bool bHideFocus)
{
    if (painting_) {
        // Merged into the repaint under way: it runs once more when this one ends.
        repaintAgain_ = true;
        againRedraw_ = bRedraw;
        againHideFocus_ = bHideFocus;
        return;
    }
    // One year for the dates of the whole repaint, read when the first one is formatted.
    paintYear_.reset();
    std::optional<int> request = paintOnce(bRedraw, bHideFocus);
    // A repaint asked for by the repaint itself (a scroll bar set in passing) runs at most a
    // few times more, so a request that keeps coming cannot hang the window.
    for (int pass = 0; repaintAgain_ && pass < 3; ++pass) {
        repaintAgain_ = false;
        const std::optional<int> again = paintOnce(againRedraw_, againHideFocus_);
        if (againRedraw_)
            request = again;
    }
    repaintAgain_ = false;
    if (request)
        emit RequestRowData(*request);
}

std::optional<int> VeziRado::paintOnce(bool bRedraw, bool bHideFocus)
{
    painting_ = true;
    model_.setRepaintPending(!bRedraw);
    if (!bRedraw) {
        painting_ = false;
        return std::nullopt;
    }

    if (SBValueGet(Bar::Horizontal) < p_.FreezeAtCol + 1)
        SBValueLet(Bar::Horizontal, p_.FreezeAtCol + 1);
    const quint32 gridColour = rgb(p_.GridColor);
    quint32 margin = Colour::system(Colour::ButtonFace);
    if (p_.ThemeStyle == Grid::ThemeStyle::Gradient ||
        p_.ThemeStyle == Grid::ThemeStyle::FlatThemeColours)
        margin =
            GridPaint::BlendColor(rgb(p_.ThemeCustomColorFrom), rgb(p_.ThemeCustomColorTo), 128);
    else if (p_.ThemeStyle == Grid::ThemeStyle::Banded)
        margin = GridTheme::OffsetColor(p_.ThemeCustomColorTo, 50);
    // Lowered as stored: the system face colour gives a black line.
    const quint32 marginLine = GridTheme::OffsetColor(margin, -40);

    clearSurface();
    QPainter painter(&surface_);
    painter.setFont(p_.Font);
    painter_ = &painter;
    const auto finish = [&] {
        painter_ = nullptr;
        painter.end();
        viewport()->update();
        painting_ = false;
    };

    const int last = model_.LastRowIndex();
    if (last == -1) {
        DrawCaptionBar();
        DrawHeaders();
        finish();
        return -1;
    }

    firstVisibleRow_ = geometry_.verticalPosition();
    const int surfaceHeight = surface_.height();
    const int surfaceWidth = surface_.width();
    const int lastInView = keepCurrentRowInView(
        std::min(firstVisibleRow_ + geometry_.RowsPerPage(surfaceHeight), last));

    if (p_.ShowRowNumbers) {
        const int highest = p_.ShowRowNumbersVary ? lastInView + 1 : last + 1;
        geometry_.setRowNumberWidth(
            std::max(geometry_.measurer().textWidth(p_.Font, QString::number(highest)) + 5, 19));
    } else {
        geometry_.setRowNumberWidth(0);
    }
    const int rnw = geometry_.RowNumberWidth();
    DrawCaptionBar();
    const int right = DrawHeaders();
    painter.setFont(p_.Font);

    bool parity = false;
    for (int k = firstVisibleRow_; k <= last; ++k) {
        if (model_.rowAt(k).Visible) {
            parity = k % 2 == 1;
            break;
        }
    }

    const int frozen = p_.FreezeAtCol;
    const int h = SBValueGet(Bar::Horizontal);
    const bool rowLines =
        p_.GridLines == Grid::GridLines::Both || p_.GridLines == Grid::GridLines::Horizontal;
    const quint32 marginRgb = rgb(margin);
    const quint32 even = rgb(p_.BackColorEvenRows);
    const quint32 back = rgb(p_.BackColor);
    // Each row painted starts on the surface; the sum that passes its bottom may pass 32 bits.
    qint64 rowsBottom = geometry_.metrics().HeaderHeight;
    int i = firstVisibleRow_;
    for (; i <= last; ++i) {
        const RowRecord &record = model_.rowAt(i);
        if (!record.Visible && !record.GroupHeader)
            continue;
        parity = !parity;
        const int y = int(rowsBottom);
        const int height = record.Height;
        if (p_.ShowRowNumbers) {
            PixelRect box{0, y, rnw, y + height};
            GridPaint::DrawRectangle(painter, box, marginRgb, true);
            box.right -= 3;
            painter.setFont(p_.Font);
            drawText(painter, QString::number(i + 1), box,
                     GridPaint::Centre | GridPaint::VCentre | GridPaint::SingleLine,
                     rgb(p_.ForeColorHdr));
        }
        RowPaint row;
        row.i = i;
        row.record = &record;
        row.y = y;
        row.right = right;
        row.selected = record.Flags.testFlag(RowFlag::Selected) &&
                       (model_.MultiSelect() > 0 || p_.FocusRowHighlight);
        row.rowColour = p_.BackColorEvenRowsEnabled && !parity ? even : back;
        paintRowBackground(painter, row);

        int x = rnw;
        for (int j = 0; j < model_.Cols(); ++j) {
            const ColumnRecord &column = model_.column(model_.ColumnOrder()[size_t(j)]);
            if (!((j > frozen && j < h) || !column.Visible)) {
                painter.setClipRect(QRect(x, y, column.WidthPixels, height));
                paintCell(painter, row, j, x, p_.ForeColorSel);
                x += column.WidthPixels;
            }
            if (x > surfaceWidth)
                break;
        }
        painter.setClipping(false);

        if (rowLines)
            GridPaint::DrawLine(painter, rnw, y, right, y, gridColour, p_.GridLineWidth);
        if (p_.ShowRowNumbers)
            GridPaint::DrawLine(painter, 0, y, rnw, y, marginLine, p_.GridLineWidth);
        rowsBottom += height;
        if (rowsBottom > surfaceHeight)
            break;
    }
    const int y = int(std::min<qint64>(rowsBottom, std::numeric_limits<int>::max() / 2));
    lastVisibleRow_ = std::min(i, last);
    const bool request = surfaceHeight > y || i >= last;

    bool totalsPainted = false;
    if (model_.TotalsLineShow()) {
        if (i > last) {
            paintTotalsLine(painter, y, right);
            totalsPainted = true;
        }
    } else {
        GridPaint::DrawLine(painter, 0, y, right, y, gridColour, p_.GridLineWidth);
    }
    if (p_.GridLines == Grid::GridLines::Both || p_.GridLines == Grid::GridLines::Vertical)
        paintVerticalLines(painter, totalsPainted ? y + geometry_.StandardRowHeight() : y,
                           gridColour);
    if (!bHideFocus)
        paintFocusRect(painter, right);

    finish();
    return request ? std::optional<int>(lastVisibleRow_) : std::nullopt;
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
