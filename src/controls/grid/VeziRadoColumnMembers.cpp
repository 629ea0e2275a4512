#include "controls/grid/VeziRadoModel.h"

#include "controls/grid/GridErrors.h"

#include <cmath>

namespace {

// Beyond this a width in any scale unit overflows the pixel count.
constexpr float MaxColumnWidth = 1e7F;

} // namespace

// One column at a time, by column index. A bad index is error 9, except for the width, which a
// host sets freely while it lays out a window and which must never fail there.

void VeziRadoModel::setColHeading(int vCol, const QString &vNewValue)
{
    checkColumn(vCol);
    // The header height stays as it is: a longer heading is cut, not given more lines.
    columns_[size_t(vCol)].Heading = vNewValue;
    repaint();
}

void VeziRadoModel::setColAlignment(int vCol, int vNewValue)
{
    checkColumn(vCol);
    // Only the header, the totals and cells added from now on take it.
    columns_[size_t(vCol)].Alignment = vNewValue;
    repaint();
}

void VeziRadoModel::setColImageAlignment(int vCol, int vNewValue)
{
    checkColumn(vCol);
    columns_[size_t(vCol)].ImageAlignment = vNewValue;
    repaint();
}

void VeziRadoModel::setColFormat(int vCol, const QString &vNewValue)
{
    checkColumn(vCol);
    columns_[size_t(vCol)].Format = vNewValue;
    repaint();
}

void VeziRadoModel::setColInputFilter(int vCol, const QString &vNewValue)
{
    checkColumn(vCol);
    columns_[size_t(vCol)].InputFilter = vNewValue;
}

void VeziRadoModel::setColTag(int vCol, const QString &vNewValue)
{
    checkColumn(vCol);
    columns_[size_t(vCol)].Tag = vNewValue;
}

void VeziRadoModel::setColType(int vCol, int vNewValue)
{
    checkColumn(vCol);
    // The filter a type gets by default is AddColumn's alone; a changed type keeps the filter.
    columns_[size_t(vCol)].DataType = ColumnType(GridErrors::toInt16(vNewValue));
}

bool VeziRadoModel::ColLocked(int vCol) const
{
    if (vCol == -1 || lockedColHit_)
        return true;
    return column(vCol).Locked;
}

void VeziRadoModel::setColLocked(int vCol, bool vNewValue)
{
    checkColumn(vCol);
    columns_[size_t(vCol)].Locked = vNewValue;
    repaint();
}

void VeziRadoModel::setColWordWrap(int vCol, bool vNewValue)
{
    checkColumn(vCol);
    // Cells already there keep their own word-wrap flag.
    columns_[size_t(vCol)].WordWrap = vNewValue;
}

void VeziRadoModel::setColWidth(int vCol, float vNewValue)
{
    // A width no window could take (or no number at all) fails like a bad index: unchanged.
    const bool usable = std::isfinite(vNewValue) && std::abs(vNewValue) < MaxColumnWidth;
    if (usable && vCol >= 0 && vCol < Cols()) {
        ColumnRecord &column = columns_[size_t(vCol)];
        column.Width = vNewValue;
        column.WidthPixels = view_->widthToPixels(vNewValue);
    }
    repaint();
}
