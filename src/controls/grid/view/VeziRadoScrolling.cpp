#include "controls/grid/view/VeziRado.h"

#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>

#include <utility>

// The two scroll positions: the first displayed row and the first scrolled display column.
// ScrollBarModel holds them; the Qt scroll bars only show them.

void VeziRado::SBCreate()
{
    // Flat bars are not offered here: standard bars serve for every ScrollBarStyle.
    flatBarStyleApplied_ = p_.ScrollBarStyle != Grid::ScrollBarStyle::Standard;
}

void VeziRado::SBDestroy()
{
    scrollOwner_ = false;
}

void VeziRado::SBOwnerLet(bool owned)
{
    SBDestroy();
    scrollOwner_ = owned;
    SBCreate();
}

void VeziRado::setScrollBarStyle(Grid::ScrollBarStyle vNewValue)
{
    p_.ScrollBarStyle = vNewValue;
    markChanged(QStringLiteral("ScrollBarStyle"));
    SBVisibleLet(Bar::Horizontal, false);
    SBVisibleLet(Bar::Vertical, false);
    SBCreate();
    SBVisibleLet(Bar::Horizontal, p_.ScrollBars != Grid::ScrollBars::Vertical);
    SBVisibleLet(Bar::Vertical, p_.ScrollBars != Grid::ScrollBars::Horizontal);
}

void VeziRado::setSBLargeChange(Bar eBar, int iLargeChange)
{
    bar(eBar).setPage(iLargeChange);
    syncScrollBar(eBar);
}

void VeziRado::SBMaxLet(Bar which, int value)
{
    bar(which).setMax(value);
    syncScrollBar(which);
}

void VeziRado::SBMinLet(Bar which, int value)
{
    bar(which).setMin(value);
    syncScrollBar(which);
}

int VeziRado::SBValueGet(Bar which) const
{
    return which == Bar::Vertical ? geometry_.verticalPosition() : horizontal_.position();
}

void VeziRado::SBValueLet(Bar which, int value)
{
    const ScrollBarModel &b = bar(which);
    if (!b.shown() || (which == Bar::Horizontal && value <= p_.FreezeAtCol) ||
        value == SBValueGet(which))
        return;
    bar(which).setPosition(value);
    syncScrollBar(which);
}

void VeziRado::SBVisibleLet(Bar which, bool show)
{
    bar(which).setShown(show);
    syncScrollBar(which);
}

void VeziRado::syncScrollBar(Bar which)
{
    const ScrollBarModel &b = bar(which);
    QScrollBar *scrollBar = which == Bar::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    const QSignalBlocker blocker(scrollBar);
    scrollBar->setRange(b.minimum(), b.largestPosition());
    scrollBar->setPageStep(std::max(b.page(), 1));
    scrollBar->setValue(b.position());
    const Qt::ScrollBarPolicy policy = b.shown() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (which == Bar::Horizontal)
        setHorizontalScrollBarPolicy(policy);
    else
        setVerticalScrollBarPolicy(policy);
}

void VeziRado::LayoutScrollBars()
{
    if (!scrollOwner_)
        return;
    if (model_.Rows() == 0) {
        SBVisibleLet(Bar::Horizontal, false);
        SBVisibleLet(Bar::Vertical, false);
        return;
    }
    const QSize surface = viewport()->size();

    int columnsWidth = 0;
    for (int col = 0; col < model_.Cols(); ++col) {
        if (model_.column(col).Visible)
            columnsWidth += model_.column(col).WidthPixels;
    }
    bool horizontalNeeded = false;
    if (surface.width() < columnsWidth) {
        SBMaxLet(Bar::Horizontal, model_.Cols() - 2);
        horizontalNeeded = true;
    } else {
        SBMaxLet(Bar::Horizontal, model_.Cols() - 1);
        // A grid still scrolled keeps its bar until it is scrolled back.
        horizontalNeeded = horizontal_.position() > horizontal_.minimum();
    }

    const int headerHeight = geometry_.metrics().HeaderHeight;
    // Wide sums: a row may be as tall as 32 bits allow.
    qint64 total = geometry_.measurer().lineHeight(p_.Font) + headerHeight;
    for (int row = 0; row < model_.Rows(); ++row) {
        if (model_.rowAt(row).Visible)
            total += model_.rowAt(row).Height;
    }
    const int last = model_.LastRowIndex();
    bool verticalNeeded = false;
    if (surface.height() < total) {
        qint64 y = headerHeight;
        int fitting = 0;
        for (int row = last; row >= 0; --row) {
            if (model_.rowAt(row).Visible)
                y += model_.rowAt(row).Height;
            if (surface.height() < y)
                break;
            ++fitting;
        }
        // Room under the last row, so it can be scrolled clear of the totals line.
        SBMaxLet(Bar::Vertical, last - fitting + (model_.TotalsLineShow() ? 2 : 0));
        verticalNeeded = true;
    } else {
        SBMaxLet(Bar::Vertical, last);
        SBValueLet(Bar::Vertical, 0);
    }

    const auto bars = p_.ScrollBars;
    const bool both = bars == Grid::ScrollBars::Both;
    SBVisibleLet(Bar::Horizontal,
                 horizontalNeeded && (bars == Grid::ScrollBars::Horizontal || both));
    SBVisibleLet(Bar::Vertical, verticalNeeded && (bars == Grid::ScrollBars::Vertical || both));
}

int VeziRado::stepRows(int start, int step, bool down) const
{
    // Hidden rows are stepped over; locked rows count like any other.
    int reached = start;
    int taken = 0;
    for (int row = start + (down ? 1 : -1);
         row >= 0 && row <= model_.LastRowIndex() && taken < step; row += down ? 1 : -1) {
        if (model_.rowAt(row).Visible) {
            reached = row;
            ++taken;
        }
    }
    return reached;
}

int VeziRado::stepColumn(int start, bool right) const
{
    // The column steps of the keys, started from the scroll position, which may come round
    // to itself.
    const int found = usableColumnFrom(start + (right ? 1 : -1), right ? 1 : -1);
    return found < 0 ? start : found;
}

void VeziRado::scrollRequest(Bar which, ScrollRequest request, bool wheel)
{
    const int oldHorizontal = SBValueGet(Bar::Horizontal);
    const int oldVertical = SBValueGet(Bar::Vertical);
    HideCellToolTip(true);
    bool repaint = true;
    ScrollBarModel &b = bar(which);
    const int position = SBValueGet(which);
    const bool vertical = which == Bar::Vertical;

    switch (request) {
    case ScrollRequest::LineUp:
        if (b.shown() && model_.Rows() > 0) {
            int value =
                vertical ? stepRows(position, wheel ? 3 : 1, false) : stepColumn(position, false);
            if (value > position)
                value = 0;
            SBValueLet(which, std::max(value, b.minimum()));
        }
        break;
    case ScrollRequest::LineDown:
        if (b.shown() && model_.Rows() > 0) {
            int value =
                vertical ? stepRows(position, wheel ? 3 : 1, true) : stepColumn(position, true);
            if (value < position)
                value = b.maximum();
            SBValueLet(which, std::min(value, b.maximum()));
        }
        break;
    case ScrollRequest::PageUp:
        SBValueLet(which, position - b.page());
        break;
    case ScrollRequest::PageDown:
        SBValueLet(which, position + b.page());
        break;
    case ScrollRequest::ThumbPosition:
        break;
    case ScrollRequest::ThumbTrack: {
        const QScrollBar *scrollBar = vertical ? verticalScrollBar() : horizontalScrollBar();
        SBValueLet(which, scrollBar->sliderPosition());
        repaint = p_.ScrollTrack;
        break;
    }
    case ScrollRequest::Top:
        SBValueLet(which, b.minimum());
        break;
    case ScrollRequest::Bottom:
        SBValueLet(which, b.maximum());
        break;
    case ScrollRequest::EndScroll:
        if (!p_.ScrollTrack) {
            model_.repaint();
            repaint = false;
        }
        break;
    }

    if (SBValueGet(Bar::Horizontal) == oldHorizontal && SBValueGet(Bar::Vertical) == oldVertical)
        return;
    if (!updateCell()) {
        // The refused edit stays open over its cell, so the view goes back to where it was.
        for (const auto &[which, old] :
             {std::pair{Bar::Horizontal, oldHorizontal}, std::pair{Bar::Vertical, oldVertical}}) {
            bar(which).setPosition(old);
            syncScrollBar(which);
        }
        return;
    }
    if (repaint)
        model_.repaint();
    emit Scroll();
}

void VeziRado::onBarAction(Bar which, int action)
{
    static const std::pair<int, ScrollRequest> Requests[] = {
        {QAbstractSlider::SliderSingleStepAdd, ScrollRequest::LineDown},
        {QAbstractSlider::SliderSingleStepSub, ScrollRequest::LineUp},
        {QAbstractSlider::SliderPageStepAdd, ScrollRequest::PageDown},
        {QAbstractSlider::SliderPageStepSub, ScrollRequest::PageUp},
        {QAbstractSlider::SliderToMinimum, ScrollRequest::Top},
        {QAbstractSlider::SliderToMaximum, ScrollRequest::Bottom},
        {QAbstractSlider::SliderMove, ScrollRequest::ThumbTrack},
    };
    for (const auto &[code, request] : Requests) {
        if (code == action)
            scrollRequest(which, request, false);
    }
    // The grid decides the position; the bar shows it.
    QScrollBar *scrollBar = which == Bar::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    scrollBar->setSliderPosition(bar(which).position());
}

void VeziRado::wheelEvent(QWheelEvent *event)
{
    // The wheel scrolls through the window hook, after this default handling.
    event->accept();
}

void VeziRado::scrollToRow(int displayRow)
{
    SBValueLet(Bar::Vertical, displayRow);
}

void VeziRado::scrollToColumn(int displayCol)
{
    SBValueLet(Bar::Horizontal, displayCol);
}

void VeziRado::scrollIntoView(int displayRow, int displayCol)
{
    if (displayCol >= 0 && displayCol < model_.Cols()) {
        const auto edges = [&] {
            PixelRect rect;
            geometry_.ColLeft(displayCol, rect);
            return rect;
        };
        const int width = model_.column(model_.ColumnOrder()[size_t(displayCol)]).WidthPixels;
        const int margin = geometry_.RowNumberWidth() + geometry_.metrics().CheckAreaWidth;
        PixelRect rect = edges();
        if (rect.left < margin) {
            // One column of context stays left of the cell.
            for (int p = SBValueGet(Bar::Horizontal); p >= horizontal_.minimum(); --p) {
                if (rect.left > margin)
                    break;
                SBValueLet(Bar::Horizontal, SBValueGet(Bar::Horizontal) - 1);
                rect = edges();
            }
        } else {
            for (int p = SBValueGet(Bar::Horizontal); p <= horizontal_.maximum(); ++p) {
                if (viewport()->width() > rect.left + width)
                    break;
                SBValueLet(Bar::Horizontal, SBValueGet(Bar::Horizontal) + 1);
                rect = edges();
            }
        }
        if (SBValueGet(Bar::Horizontal) == horizontal_.minimum())
            LayoutScrollBars();
    }
    // Vertically by one row at most: callers that move further set the position first.
    if (displayRow >= 0) {
        const int first = SBValueGet(Bar::Vertical);
        if (displayRow < first)
            SBValueLet(Bar::Vertical, first - 1);
        else if (displayRow > first + geometry_.RowsPerPage(viewport()->height()) - 1)
            SBValueLet(Bar::Vertical, first + 1);
    }
}
