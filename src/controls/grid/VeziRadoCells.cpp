#include "controls/grid/VeziRadoModel.h"

#include "controls/grid/GridErrors.h"
#include "controls/grid/GridNumbers.h"
#include "core/Units.h"

#include <algorithm>
#include <limits>

const CellFormatRecord &VeziRadoModel::lookOf(const CellRecord &cell) const
{
    if (cell.FormatIndex < 0 || cell.FormatIndex >= formats_.size())
        return defaultLook_;
    return formats_.at(cell.FormatIndex);
}

void VeziRadoModel::SetCellChanged(int row, int col)
{
    cell(row, col).Flags |= CellFlag::Changed;
    cellsChanged_ = true;
    this->row(row).Flags |= RowFlag::Changed;
}

QStringView VeziRadoModel::textAt(int displayRow, int col) const
{
    checkCell(displayRow, col);
    return rows_[size_t(rowOrder_[size_t(displayRow)])].text(col);
}

// The upkeep of the column totals whenever a text is replaced.
void VeziRadoModel::replaceText(int displayRow, int col, const QString &text)
{
    const double old = GridNumbers::rVal(textAt(displayRow, col));
    columnTotals_[size_t(col)] += GridNumbers::rVal(text) - old;
    row(displayRow).setText(col, text);
}

int VeziRadoModel::CellAlignment(int vRow, int vCol) const
{
    return cellAt(vRow, vCol).Alignment;
}

void VeziRadoModel::setCellAlignment(int vRow, int vCol, int vNewValue)
{
    if (!FixRef(vRow, vCol))
        return;
    cell(vRow, vCol).Alignment = GridErrors::toInt16(vNewValue);
    repaint();
}

quint32 VeziRadoModel::CellBackColor(int vRow, int vCol) const
{
    return lookOf(cellAt(vRow, vCol)).BackColor;
}

void VeziRadoModel::setCellBackColor(int vRow, int vCol, quint32 vNewValue)
{
    if (!FixRef(vRow, vCol))
        return;
    ApplyCellFormat(recordAt(vRow), vCol, FormatAttribute::BackColor, vNewValue);
    repaint();
}

quint32 VeziRadoModel::CellForeColor(int vRow, int vCol) const
{
    return lookOf(cellAt(vRow, vCol)).ForeColor;
}

void VeziRadoModel::setCellForeColor(int vRow, int vCol, quint32 vNewValue)
{
    if (!FixRef(vRow, vCol))
        return;
    ApplyCellFormat(recordAt(vRow), vCol, FormatAttribute::ForeColor, vNewValue);
    repaint();
}

QString VeziRadoModel::CellFontName(int vRow, int vCol) const
{
    return lookOf(cellAt(vRow, vCol)).FontName;
}

void VeziRadoModel::setCellFontName(int vRow, int vCol, const QString &vNewValue)
{
    if (!FixRef(vRow, vCol))
        return;
    ApplyCellFormat(recordAt(vRow), vCol, FormatAttribute::FontName, vNewValue);
    repaint();
}

bool VeziRadoModel::CellHandPointer(int vRow, int vCol) const
{
    return lookOf(cellAt(vRow, vCol)).HandPointer;
}

void VeziRadoModel::setCellHandPointer(int vRow, int vCol, bool vNewValue)
{
    if (!FixRef(vRow, vCol))
        return;
    ApplyCellFormat(recordAt(vRow), vCol, FormatAttribute::HandPointer, vNewValue);
    repaint();
}

QVariant VeziRadoModel::CellImage(int vRow, int vCol) const
{
    return QVariant::fromValue<qint16>(lookOf(cellAt(vRow, vCol)).Image);
}

void VeziRadoModel::setCellImage(int vRow, int vCol, const QVariant &vNewValue)
{
    if (!FixRef(vRow, vCol))
        return;
    int index = 0;
    const QString text = vNewValue.toString();
    if (const auto number = GridNumbers::strictNumber(text)) {
        const double rounded = double(Units::roundHalfEven(*number));
        if (rounded >= std::numeric_limits<std::int16_t>::min() &&
            rounded <= std::numeric_limits<std::int16_t>::max())
            index = int(rounded);
    } else {
        index = view_->imageIndexOfKey(text).value_or(0);
    }
    // The image is a nicety: a full format table leaves the cell as it was, quietly.
    try {
        ApplyCellFormat(recordAt(vRow), vCol, FormatAttribute::Image, index);
        repaint();
    } catch (const AppError &) {
    }
}

bool VeziRadoModel::CellChanged(int vRow, int vCol) const
{
    return cellAt(vRow, vCol).Flags.testFlag(CellFlag::Changed);
}

bool VeziRadoModel::CellChecked(int vRow, int vCol) const
{
    if (!FixRef(vRow, vCol))
        return false;
    return cellAt(vRow, vCol).Flags.testFlag(CellFlag::Checked);
}

void VeziRadoModel::setCellChecked(int vRow, int vCol, bool vNewValue)
{
    if (!FixRef(vRow, vCol))
        return;
    CellRecord &target = cell(vRow, vCol);
    target.Flags.setFlag(CellFlag::Checked, vNewValue);
    if (columns_[size_t(vCol)].DataType == ColumnType::CheckBox) {
        row(vRow).setText(vCol, vNewValue ? u"True" : u"False");
        view_->rowAutoHeight(vRow);
    }
    SetCellChanged(vRow, vCol);
    repaint();
}

void VeziRadoModel::setCellFlag(int vRow, int vCol, CellFlag flag, bool on)
{
    if (!FixRef(vRow, vCol))
        return;
    cell(vRow, vCol).Flags.setFlag(flag, on);
    repaint();
}

bool VeziRadoModel::CellFontBold(int vRow, int vCol) const
{
    return cellAt(vRow, vCol).Flags.testFlag(CellFlag::Bold);
}

void VeziRadoModel::setCellFontBold(int vRow, int vCol, bool vNewValue)
{
    setCellFlag(vRow, vCol, CellFlag::Bold, vNewValue);
}

bool VeziRadoModel::CellFontItalic(int vRow, int vCol) const
{
    return cellAt(vRow, vCol).Flags.testFlag(CellFlag::Italic);
}

void VeziRadoModel::setCellFontItalic(int vRow, int vCol, bool vNewValue)
{
    setCellFlag(vRow, vCol, CellFlag::Italic, vNewValue);
}

bool VeziRadoModel::CellFontUnderline(int vRow, int vCol) const
{
    return cellAt(vRow, vCol).Flags.testFlag(CellFlag::Underline);
}

void VeziRadoModel::setCellFontUnderline(int vRow, int vCol, bool vNewValue)
{
    setCellFlag(vRow, vCol, CellFlag::Underline, vNewValue);
}

bool VeziRadoModel::CellWordWrap(int vRow, int vCol) const
{
    return cellAt(vRow, vCol).Flags.testFlag(CellFlag::WordWrap);
}

void VeziRadoModel::setCellWordWrap(int vRow, int vCol, bool vNewValue)
{
    setCellFlag(vRow, vCol, CellFlag::WordWrap, vNewValue);
}

void VeziRadoModel::CellPicture(const QVariant &vNewValue, int vRow, int vCol)
{
    if (FixRef(vRow, vCol))
        cell(vRow, vCol).setPicture(vNewValue);
}

QVariant VeziRadoModel::CellPictureGet(int vRow, int vCol) const
{
    return FixRef(vRow, vCol) ? cellAt(vRow, vCol).picture() : QVariant();
}

void VeziRadoModel::setCellProgressBarColor(quint32 vNewValue)
{
    progressBarColor_ = vNewValue;
    repaint();
}

int VeziRadoModel::CellProgressValue(int vRow, int vCol) const
{
    const CellRecord &target = cellAt(vRow, vCol);
    return columns_[size_t(vCol)].DataType == ColumnType::ProgressBar ? target.ProgressValue : 0;
}

void VeziRadoModel::setCellProgressValue(int vRow, int vCol, int vNewValue)
{
    if (!FixRef(vRow, vCol) || columns_[size_t(vCol)].DataType != ColumnType::ProgressBar)
        return;
    cell(vRow, vCol).ProgressValue = std::int16_t(std::clamp(vNewValue, 0, 100));
    repaint();
}

QString VeziRadoModel::CellTag(int vRow, int vCol) const
{
    return FixRef(vRow, vCol) ? cellAt(vRow, vCol).tag() : QString();
}

void VeziRadoModel::setCellTag(int vRow, int vCol, const QString &vNewValue)
{
    if (FixRef(vRow, vCol))
        cell(vRow, vCol).setTag(vNewValue);
}

QString VeziRadoModel::CellText(int vRow, int vCol) const
{
    return FixRef(vRow, vCol) ? textAt(vRow, vCol).toString() : QString();
}

void VeziRadoModel::setCellText(int vRow, int vCol, const QString &vNewValue)
{
    if (!FixRef(vRow, vCol))
        return;
    if (columns_[size_t(vCol)].DataType == ColumnType::CheckBox)
        cell(vRow, vCol).Flags.setFlag(CellFlag::Checked, GridNumbers::rVal(vNewValue) != 0);
    replaceText(vRow, vCol, vNewValue);
    view_->rowAutoHeight(vRow);
    SetCellChanged(vRow, vCol);
    repaint();
}

QVariant VeziRadoModel::CellValue(int vRow, int vCol) const
{
    if (!FixRef(vRow, vCol))
        return {};
    const QStringView text = textAt(vRow, vCol);
    if (columns_[size_t(vCol)].DataType != ColumnType::CheckBox)
        return GridNumbers::rVal(text);
    if (text.isEmpty())
        return false;
    const auto truth = GridNumbers::readBoolean(text);
    return truth ? QVariant(*truth) : QVariant();
}

void VeziRadoModel::setCellValue(int vRow, int vCol, const QVariant &vNewValue)
{
    if (!FixRef(vRow, vCol))
        return;
    // A Boolean arrives as "true"/"false", which the reader takes as -1 and 0.
    const double n = GridNumbers::rVal(vNewValue.toString());
    replaceText(vRow, vCol, GridNumbers::CStr(n));
    if (columns_[size_t(vCol)].DataType == ColumnType::CheckBox)
        cell(vRow, vCol).Flags.setFlag(CellFlag::Checked, n != 0);
    view_->rowAutoHeight(vRow);
    SetCellChanged(vRow, vCol);
    repaint();
}
