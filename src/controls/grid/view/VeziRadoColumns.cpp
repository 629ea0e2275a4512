#include "controls/grid/view/VeziRado.h"

#include "controls/grid/GridDates.h"
#include "controls/grid/GridFormat.h"
#include "controls/grid/GridNumbers.h"
#include "core/Units.h"

#include <algorithm>

// Automatic column widths. They are worked out in pixels of the drawing surface and handed to
// the column in the host's scale units, so they come out the same whatever unit the host uses.

namespace {

// Twips a check-box column gets, whatever it holds.
constexpr double CheckBoxColumnTwips = 480;

} // namespace

void VeziRado::ColWidthAutoSize(int vCol)
{
    if (vCol == -1) {
        // Hidden columns too, so that showing one later shows it at its right width.
        for (int col = 0; col < model_.Cols(); ++col)
            AutoSizeColumn(col);
    } else {
        AutoSizeColumn(vCol);
    }
    LayoutScrollBars();
    model_.repaint();
}

void VeziRado::setAutoColumnWidth(int col, double pixels)
{
    const double width = pixels / pixelsPerUnit(p_.ScaleUnits);
    model_.setColumnWidth(col, float(width), int(Units::roundHalfEven(pixels)));
}

void VeziRado::AutoSizeColumn(int col)
{
    // A bad index sizes nothing and raises nothing: a divider double-click must never fail.
    if (col < 0 || col >= model_.Cols())
        return;
    const ColumnRecord &column = model_.column(col);
    const double tpp = twipsPerPixel();
    switch (column.DataType) {
    case ColumnType::CheckBox:
        setAutoColumnWidth(col, CheckBoxColumnTwips / tpp);
        return;
    case ColumnType::ProgressBar:
    case ColumnType::Button:
        return;
    default:
        break;
    }
    if (model_.Rows() == 0)
        return;

    const TextMeasurer &measurer = geometry_.measurer();
    const int imageWidth = geometry_.metrics().ImageWidth;
    // One year for the whole column: the clock costs more than a row.
    const int thisYear = column.Format.isEmpty() ? 0 : GridDates::currentYear();
    const auto formatted = [&column, thisYear](const QString &text) {
        return column.Format.isEmpty() ? text
                                       : GridFormat::formatValue(text, column.Format, thisYear);
    };

    int widest = 0;
    if (model_.TotalsLineShow() && column.DataType == ColumnType::Number) {
        const QString total = formatted(GridNumbers::CStr(model_.TotalsCol(col)));
        widest = measurer.textWidth(p_.Font, model_.TotalsLineCaption(col) + total);
    }
    for (int row = 0; row < model_.Rows(); ++row) {
        const RowRecord &record = model_.rowAt(row);
        if (size_t(col) >= record.Cells.size())
            continue;
        const CellRecord &cell = record.Cells[size_t(col)];
        const bool hasFormat =
            cell.FormatIndex >= 0 && cell.FormatIndex < model_.CellFormats().size();
        const CellFormatRecord *look =
            hasFormat ? &model_.CellFormats().at(cell.FormatIndex) : nullptr;

        QFont font = p_.Font;
        font.setBold(cell.Flags.testFlag(CellFlag::Bold));
        font.setItalic(cell.Flags.testFlag(CellFlag::Italic));
        font.setUnderline(cell.Flags.testFlag(CellFlag::Underline));
        if (look && !look->FontName.isEmpty())
            font.setFamily(look->FontName);

        int width = measurer.textWidth(font, formatted(record.text(col).toString()));
        if (col == 0 ? record.Image != 0 : look && look->Image != 0)
            width += imageWidth;
        widest = std::max(widest, width);
    }
    // A margin of as many pixels as a pixel has twips; the heading is not measured.
    setAutoColumnWidth(col, widest + tpp);
}

void VeziRado::ColForceFit()
{
    model_.DrawingEnable(false);
    // The sum is taken in twips, rounded at each step, as the visible width is.
    const double twipsPerUnit = twipsPerPixel() * pixelsPerUnit(p_.ScaleUnits);
    double total = 0;
    for (int col = 0; col < model_.Cols(); ++col) {
        if (model_.ColVisible(col))
            total = Units::roundHalfEven(total + model_.ColWidth(col) * twipsPerUnit);
    }
    // Before the first repaint the row numbers have no width yet; leave room for them.
    if (p_.ShowRowNumbers && geometry_.RowNumberWidth() == 0)
        geometry_.setRowNumberWidth(19);
    if (total != 0) {
        const double factor = VisibleWidth() / total;
        for (int col = 0; col < model_.Cols(); ++col)
            model_.setColWidth(col, float(model_.ColWidth(col) * factor));
    }
    model_.setRepaintPending(true);
    model_.DrawingEnable(true);
    if (model_.Redraw())
        Refresh();
}
