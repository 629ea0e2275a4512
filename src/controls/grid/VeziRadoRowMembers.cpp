#include "controls/grid/VeziRadoModel.h"

#include "controls/grid/GridErrors.h"
#include "controls/grid/GridNumbers.h"
#include "core/Units.h"

#include <limits>

namespace {

// -1 stands for the current row: FixRef with no column.
bool resolveRow(const VeziRadoModel &grid, int &vRow)
{
    int col = -1;
    return grid.FixRef(vRow, col);
}

std::optional<std::int64_t> wholeNumber(const QVariant &value)
{
    const auto number = GridNumbers::strictNumber(value.toString());
    if (!number)
        return std::nullopt;
    return Units::roundHalfEven(*number);
}

} // namespace

bool VeziRadoModel::RowAdded(int vRow) const
{
    return rows_[size_t(recordAt(vRow))].Flags.testFlag(RowFlag::New);
}

bool VeziRadoModel::RowChanged(int vRow) const
{
    return rows_[size_t(recordAt(vRow))].Flags.testFlag(RowFlag::Changed);
}

bool VeziRadoModel::RowChecked(int vRow) const
{
    return resolveRow(*this, vRow) && rowAt(vRow).Flags.testFlag(RowFlag::Checked);
}

void VeziRadoModel::setRowChecked(int vRow, bool vNewValue)
{
    if (!resolveRow(*this, vRow))
        return;
    row(vRow).Flags.setFlag(RowFlag::Checked, vNewValue);
    repaint();
}

int VeziRadoModel::RowData(int vRow) const
{
    return resolveRow(*this, vRow) ? rowAt(vRow).RowData : 0;
}

void VeziRadoModel::setRowData(int vRow, int vNewValue)
{
    if (resolveRow(*this, vRow))
        row(vRow).RowData = vNewValue;
}

QString VeziRadoModel::RowTag(int vRow) const
{
    return resolveRow(*this, vRow) ? rowAt(vRow).Tag : QString();
}

void VeziRadoModel::setRowTag(int vRow, const QString &vNewValue)
{
    if (resolveRow(*this, vRow))
        row(vRow).Tag = vNewValue;
}

bool VeziRadoModel::RowGroupHeader(int vRow) const
{
    return resolveRow(*this, vRow) && rowAt(vRow).GroupHeader;
}

void VeziRadoModel::setRowGroupHeader(int vRow, bool vNewValue)
{
    if (resolveRow(*this, vRow))
        row(vRow).GroupHeader = vNewValue;
}

bool VeziRadoModel::RowLocked(int vRow) const
{
    if (!resolveRow(*this, vRow) || lockedRowHit_)
        return true;
    return rowAt(vRow).Flags.testFlag(RowFlag::Locked);
}

void VeziRadoModel::setRowLocked(int vRow, bool vNewValue)
{
    if (!resolveRow(*this, vRow))
        return;
    row(vRow).Flags.setFlag(RowFlag::Locked, vNewValue);
    repaint();
}

bool VeziRadoModel::RowVisible(int vRow) const
{
    return resolveRow(*this, vRow) && rowAt(vRow).Visible;
}

void VeziRadoModel::setRowVisible(int vRow, bool vNewValue)
{
    if (!resolveRow(*this, vRow) || rowAt(vRow).Visible == vNewValue)
        return;
    row(vRow).Visible = vNewValue;
    view_->layoutScrollBars();
    repaint();
}

float VeziRadoModel::RowHeight(int vRow) const
{
    return resolveRow(*this, vRow) ? float(rowAt(vRow).Height) : 0;
}

void VeziRadoModel::setRowHeight(int vRow, float vNewValue)
{
    if (!resolveRow(*this, vRow))
        return;
    if (vNewValue == -1)
        view_->rowAutoHeight(vRow);
    else
        row(vRow).Height = GridErrors::roundToInt32(vNewValue);
    view_->layoutScrollBars();
    repaint();
}

QVariant VeziRadoModel::RowImage(int vRow) const
{
    if (!resolveRow(*this, vRow))
        return {};
    const int image = rowAt(vRow).Image;
    if (image >= 0)
        return image;
    const auto key = view_->imageKeyOfIndex(-image);
    if (!key)
        GridErrors::subscriptOutOfRange();
    return *key;
}

void VeziRadoModel::setRowImage(int vRow, const QVariant &vNewValue)
{
    if (!resolveRow(*this, vRow))
        return;
    std::optional<std::int64_t> image = wholeNumber(vNewValue);
    if (!image) {
        if (const auto index = view_->imageIndexOfKey(vNewValue.toString()))
            image = -*index;
    }
    const bool fits = image && *image >= std::numeric_limits<int>::min() &&
                      *image <= std::numeric_limits<int>::max();
    row(vRow).Image = fits ? int(*image) : 0;
    if (fits)
        repaint();
}

QVariant VeziRadoModel::ExpandRowImage() const
{
    if (expandRowImage_ >= 0)
        return int(expandRowImage_);
    const auto key = view_->imageKeyOfIndex(-expandRowImage_);
    if (!key)
        GridErrors::subscriptOutOfRange();
    return *key;
}

void VeziRadoModel::setExpandRowImage(const QVariant &vNewValue)
{
    std::optional<std::int64_t> image = wholeNumber(vNewValue);
    if (!image) {
        if (const auto index = view_->imageIndexOfKey(vNewValue.toString()))
            image = *index;
    }
    if (!image || *image < std::numeric_limits<std::int16_t>::min() ||
        *image > std::numeric_limits<std::int16_t>::max())
        return;
    expandRowImage_ = std::int16_t(*image);
    repaint();
}

void VeziRadoModel::setRowBackColor(int vRow, quint32 vNewValue)
{
    if (!resolveRow(*this, vRow))
        return;
    for (int col = 0; col < Cols(); ++col)
        setCellBackColor(vRow, col, vNewValue);
    repaint();
}

void VeziRadoModel::setRowForeColor(int vRow, quint32 vNewValue)
{
    if (!resolveRow(*this, vRow))
        return;
    for (int col = 0; col < Cols(); ++col)
        setCellForeColor(vRow, col, vNewValue);
    repaint();
}

void VeziRadoModel::setRowFontBold(int vRow, bool vNewValue)
{
    if (!resolveRow(*this, vRow))
        return;
    for (int col = 0; col < Cols(); ++col)
        setCellFontBold(vRow, col, vNewValue);
    repaint();
}
