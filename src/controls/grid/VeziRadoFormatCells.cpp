#include "controls/grid/VeziRadoModel.h"

#include "controls/grid/GridErrors.h"
#include "controls/grid/GridNumbers.h"
#include "core/Units.h"

#include <limits>

namespace {

// A colour given as text, "&H80000005" included.
quint32 colourOf(const QString &text)
{
    const std::int64_t value = Units::roundHalfEven(GridNumbers::rVal(text));
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::uint32_t>::max())
        GridErrors::overflow();
    return quint32(value);
}

bool isKnownMode(int mode)
{
    switch (mode) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 32:
    case 64:
    case 128:
    case 256:
    case 512:
        return true;
    default:
        return false;
    }
}

} // namespace

void VeziRadoModel::FormatCells(int RowFrom, int RowTo, int ColFrom, int ColTo, int Mode,
                                const QString &vNewValue, int vNewAlign)
{
    if (rows_.empty() || !isKnownMode(Mode))
        return;
    if (Mode == 16 && vNewValue.trimmed().isEmpty())
        return;
    if (RowTo == -1)
        RowTo = LastRowIndex();
    if (ColTo == -1)
        ColTo = Cols() - 1;
    const bool on = GridNumbers::rVal(vNewValue) != 0;
    for (int r = RowFrom; r <= RowTo; ++r) {
        for (int c = ColFrom; c <= ColTo; ++c) {
            // A cell that refuses its value is left as it was; the walk goes on.
            try {
                switch (Mode) {
                case 1:
                    setCellBackColor(r, c, colourOf(vNewValue));
                    break;
                case 4:
                    setCellForeColor(r, c, colourOf(vNewValue));
                    break;
                case 8:
                    setCellImage(r, c, GridNumbers::rVal(vNewValue));
                    break;
                case 16:
                    setCellFontName(r, c, vNewValue);
                    break;
                case 32:
                    setCellFontBold(r, c, on);
                    break;
                case 64:
                    setCellFontItalic(r, c, on);
                    break;
                case 128:
                    setCellFontUnderline(r, c, on);
                    break;
                case 256:
                    setCellHandPointer(r, c, on);
                    break;
                case 512:
                    setCellAlignment(r, c, vNewAlign);
                    break;
                }
            } catch (const AppError &) {
            }
        }
    }
}

void VeziRadoModel::FormatCellsAlignment(int RowFrom, int RowTo, int ColFrom, int ColTo,
                                         int vAlignment)
{
    if (rows_.empty())
        return;
    if (RowTo == -1)
        RowTo = LastRowIndex();
    if (ColTo == -1)
        ColTo = Cols() - 1;
    for (int r = RowFrom; r <= RowTo; ++r) {
        for (int c = ColFrom; c <= ColTo; ++c)
            cell(r, c).Alignment = GridErrors::toInt16(vAlignment);
    }
    repaint();
}
