#include "controls/grid/view/VeziRado.h"

#include "core/Units.h"

#include <algorithm>

// The header and divider side of the mouse: pressed and hot headers, sorting by a header click,
// moving columns by swap or drag, resizing columns and rows by their dividers.

namespace {

// How far from a divider, on either side, the pointer still catches it (strictly less).
constexpr int DividerReach = 4;

int whole(double value)
{
    return int(Units::roundHalfEven(value));
}

} // namespace

void VeziRado::headerPress()
{
    const bool headersAct = p_.AllowColumnSort || p_.AllowColumnSwap || p_.AllowColumnDrag;
    if (headersAct && mousePointer_ != 9)
        pressedHeader_ = mouseCol_;
    if (pressedHeader_ == -1)
        return; // a divider drag was armed by the move before
    DrawColumnHeader(mouseCol_, 3, false, false);
    showSurface();
}

void VeziRado::headerFeedback(int button, float y)
{
    if (!p_.AllowColumnSort && !p_.AllowColumnSwap && !p_.AllowColumnDrag)
        return;
    if (pressedHeader_ != -1) {
        const bool over = mouseRow_ == -1 && mouseCol_ == pressedHeader_;
        DrawColumnHeader(pressedHeader_, over ? 3 : 1, false, false);
        showSurface();
    }
    if (button != 0 || !p_.AllowColumnHover)
        return;
    if (y >= geometry_.metrics().HeaderHeight) {
        if (hotHeader_ != -1) {
            DrawHeaders(false);
            showSurface();
        }
    } else if (mouseCol_ != hotHeader_) {
        DrawHeaders(false);
        DrawColumnHeader(mouseCol_, 2, false, false);
        hotHeader_ = mouseCol_;
        showSurface();
    }
}

void VeziRado::headerButtonMove(float x, float y)
{
    if (resizeRow_ != -1) {
        // The mouse never makes a row lower than the standard height.
        const int h = whole(y - rowResizeOrigin_);
        if (h > geometry_.StandardRowHeight()) {
            model_.setRowPixelHeight(resizeRow_, h);
            model_.repaint();
        }
        return;
    }
    if (resizeCol_ != -1) {
        const int w = whole(x - colResizeOrigin_);
        if (w <= DividerReach)
            return;
        const int col = model_.ColumnOrder()[size_t(resizeCol_)];
        model_.setColumnWidth(col, float(w / pixelsPerUnit(p_.ScaleUnits)), w);
        model_.repaint();
        emit ColumnSizeChanged(col, model_.column(col).MoveControl);
        if (editPending_)
            PositionEditor();
        return;
    }
    if (pressedRow_ != -1 || editPending_)
        return;
    // Swap wins over drag when both are allowed.
    int *source = p_.AllowColumnSwap ? &swapSource_ : p_.AllowColumnDrag ? &dragSource_ : nullptr;
    if (!source)
        return;
    DrawHeaders(true);
    if (pressedHeader_ != -1 && *source == -1) {
        *source = pressedHeader_;
        DrawHeaders(true); // the source now draws pressed
    } else if (*source != -1) {
        const int col = model_.ColumnOrder()[size_t(*source)];
        model_.setColumnLeft(col, model_.column(col).Left + whole(x) - pressX_);
        DrawColumnHeader(*source, 3, true, false);
    }
    showSurface();
}

void VeziRado::dividerSearch(float x, float y)
{
    int found = 0;
    if (mouseRow_ == -1 && p_.AllowColumnResizing) {
        dividerSearching_ = true;
        int edge = geometry_.RowNumberWidth();
        resizeCol_ = -1;
        const int h = SBValueGet(Bar::Horizontal);
        for (int i = 0; i < model_.Cols(); ++i) {
            const ColumnRecord &column = model_.column(model_.ColumnOrder()[size_t(i)]);
            if ((i < h && i > p_.FreezeAtCol) || !column.Visible)
                continue;
            edge += column.WidthPixels;
            if (edge - DividerReach < x && x < edge + DividerReach) {
                found = 9;
                resizeCol_ = i;
                colResizeOrigin_ = whole(x - column.WidthPixels);
                break;
            }
        }
        dividerSearching_ = false;
    } else if (p_.AllowRowResizing) {
        dividerSearching_ = true;
        qint64 edge = geometry_.metrics().HeaderHeight;
        resizeRow_ = -1;
        for (int row = SBValueGet(Bar::Vertical); row <= model_.LastRowIndex(); ++row) {
            const RowRecord &record = model_.rowAt(row);
            if (!record.Visible)
                continue;
            edge += record.Height;
            if (edge - DividerReach >= y)
                break; // every later divider lies further down
            if (y < edge + DividerReach) {
                const int above = geometry_.RowFromY(y - 8);
                if (above == -1)
                    break;
                found = 7;
                resizeRow_ = above;
                rowResizeOrigin_ = whole(y - model_.rowAt(above).Height);
                break;
            }
        }
        dividerSearching_ = false;
    }
    if (mousePointer_ != found)
        setMousePointer(found);
}

bool VeziRado::headerRelease(int uc, int ur, int shift)
{
    std::vector<int> order = model_.ColumnOrder();
    if (swapSource_ != -1 && uc != -1) {
        const int from = swapSource_;
        std::swap(order[size_t(from)], order[size_t(uc)]);
        model_.setColumnOrder(order);
        model_.repaint();
        emit ColumnOrderChanged(uc, from);
        return true;
    }
    if (dragSource_ != -1 && uc != -1 && uc != dragSource_) {
        const int from = dragSource_;
        // The current column stays the same column wherever it lands.
        const int current = model_.CurrentColPosition() >= 0 ? model_.Col() : -1;
        const auto at = order.begin();
        if (uc < from)
            std::rotate(at + uc, at + from, at + from + 1);
        else
            std::rotate(at + from, at + from + 1, at + uc + 1);
        model_.setColumnOrder(order);
        model_.RowColSet(-1, current);
        model_.repaint();
        emit ColumnOrderChanged(uc, from);
        return true;
    }
    if (resizeCol_ != -1 || resizeRow_ != -1) {
        LayoutScrollBars();
        model_.repaint();
        return true;
    }
    if (ur != -1)
        return false;
    if (uc != -1 && uc == pressedHeader_) {
        if (p_.AllowColumnSort) {
            sortClick(uc, shift);
        } else {
            DrawHeaders(false);
            showSurface();
        }
    }
    if (uc != -1)
        emit ColumnClick(model_.ColumnOrder()[size_t(uc)]);
    return true;
}

void VeziRado::sortClick(int p, int shift)
{
    // A refused edit stops the sort before the sort columns change.
    if (!UpdateCell(false))
        return;
    const int clicked = model_.ColumnOrder()[size_t(p)];
    const int primary = model_.PrimarySortCol();
    const int secondary = model_.SecondarySortCol();
    if ((shift & 2) && primary != -1) {
        if (secondary != clicked)
            model_.setColSortState(clicked, SortDirection::Unsorted);
        model_.setSortColumns(primary, clicked);
        model_.Sort(-1, int(model_.column(primary).SortState), -1, -1);
    } else {
        int keep = secondary;
        if (primary != clicked) {
            model_.setColSortState(clicked, SortDirection::Unsorted);
            keep = -1;
        }
        model_.setSortColumns(clicked, keep);
        model_.Sort(-1, -1, -1, keep == -1 ? -1 : int(model_.column(keep).SortState));
    }
    // The clicked column by its index, which lands on display position p.
    model_.RowColSet(-1, clicked);
}

void VeziRado::dividerDoubleClick()
{
    if (mousePointer_ == 9 && p_.AllowColumnResizing && mouseCol_ != -1)
        ColWidthAutoSize(model_.ColumnOrder()[size_t(mouseCol_)]);
}
