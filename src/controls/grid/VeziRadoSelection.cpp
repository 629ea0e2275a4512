#include "controls/grid/VeziRadoModel.h"

#include <algorithm>

int VeziRadoModel::Col() const
{
    if (columns_.empty())
        return 0;
    return currentColPosition_ < 0 ? -1 : columnOrder_[size_t(currentColPosition_)];
}

void VeziRadoModel::setCol(int vCol)
{
    RowColSet(-1, vCol);
    repaint();
}

void VeziRadoModel::RowColSet(int lNewRow, int lNewCol)
{
    int displayCol = -1;
    if (lNewCol != -1) {
        if (lNewCol < 0 || lNewCol >= Cols() || !columns_[size_t(lNewCol)].Visible)
            return;
        displayCol = ColDisplayIndex(lNewCol);
        currentColPosition_ = displayCol;
        view_->scrollToColumn(displayCol);
    }
    int ignored = -1;
    if (!FixRef(lNewRow, ignored) || !rowAt(lNewRow).Visible)
        return;

    bool selectionChanged = false;
    if (lNewRow != currentRow_)
        selectionChanged = selectRowRange(false, -1, -1);
    MakeCellCurrent(lNewRow, displayCol, false, true);
    if (!rowAt(lNewRow).Flags.testFlag(RowFlag::Selected)) {
        row(lNewRow).Flags |= RowFlag::Selected;
        raise(events_.SelectionChanged);
        selectionChanged = true;
    }
    // Acts only where the first move was partly refused, a locked row for one.
    if (MakeCellCurrent(lNewRow, displayCol, true, true) || selectionChanged) {
        currentRow_ = lNewRow;
        if (!view_->rowShown(lNewRow))
            view_->scrollToRow(lNewRow);
        repaint();
    }
}

bool VeziRadoModel::MakeCellCurrent(int row, int displayCol, bool scroll, bool set)
{
    if (row < -1 || row >= Rows() || displayCol < -1 || displayCol >= Cols())
        return false;
    if (RowLocked(row))
        return false;
    if (displayCol == currentColPosition_ && row == currentRow_)
        return false;
    if (displayCol != -1) {
        const ColumnRecord &target = columns_[size_t(columnOrder_[size_t(displayCol)])];
        if (!target.Visible || target.Locked) {
            displayCol = currentColPosition_;
            lockedColHit_ = true;
        }
    }
    if (row != -1 && !rowAt(row).Visible) {
        row = currentRow_;
        lockedRowHit_ = true;
    }
    if (set) {
        currentColPosition_ = displayCol;
        currentRow_ = row;
        raise(events_.RowColChanged);
    }
    if (scroll) {
        view_->scrollIntoView(row, displayCol);
        raise(events_.Scroll);
    }
    return true;
}

bool VeziRadoModel::selectRowRange(bool select, int from, int to)
{
    if (rows_.empty())
        return false;
    if (from == -1)
        from = 0;
    if (to == -1)
        to = LastRowIndex();
    const int step = from < to ? 1 : -1;
    bool changed = false;
    for (int p = from;; p += step) {
        RowFlags &flags = row(p).Flags;
        if (flags.testFlag(RowFlag::Selected) != select) {
            flags.setFlag(RowFlag::Selected, select);
            changed = true;
        }
        if (p == to)
            break;
    }
    return changed;
}

void VeziRadoModel::setMultiSelect(int vNewValue)
{
    multiSelect_ = vNewValue;
    if (vNewValue != 0) {
        return;
    }
    selectRowRange(false, -1, -1);
    RowColSet(-1, -1);
    RefreshIfRedraw();
}

bool VeziRadoModel::RowSelected(int vRow) const
{
    int col = -1;
    return FixRef(vRow, col) && rowAt(vRow).Flags.testFlag(RowFlag::Selected);
}

void VeziRadoModel::setRowSelected(int vRow, bool vNewValue)
{
    int col = -1;
    if (!FixRef(vRow, col))
        return;
    row(vRow).Flags.setFlag(RowFlag::Selected, vNewValue);
    repaint();
}

int VeziRadoModel::SelectedCount() const
{
    return int(std::count_if(rows_.begin(), rows_.end(), [](const RowRecord &row) {
        return row.Flags.testFlag(RowFlag::Selected);
    }));
}

int VeziRadoModel::CheckedCount() const
{
    return int(std::count_if(rows_.begin(), rows_.end(), [](const RowRecord &row) {
        return row.Flags.testFlag(RowFlag::Checked);
    }));
}

void VeziRadoModel::SelectedClearAll()
{
    for (RowRecord &row : rows_)
        row.Flags.setFlag(RowFlag::Selected, false);
}

void VeziRadoModel::RowUnSelect()
{
    if (rows_.empty())
        return;
    SelectedClearAll();
    repaint();
}
