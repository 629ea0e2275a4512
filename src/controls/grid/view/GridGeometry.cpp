#include "controls/grid/view/GridGeometry.h"

#include "controls/grid/VeziRadoModel.h"
#include "core/Units.h"

#include <QFontMetrics>

#include <algorithm>
#include <limits>

int FontTextMeasurer::lineHeight(const QFont &font) const
{
    return QFontMetrics(font).height();
}

int FontTextMeasurer::textWidth(const QFont &font, const QString &text) const
{
    return QFontMetrics(font).horizontalAdvance(text);
}

int FontTextMeasurer::wrappedHeight(const QFont &font, const QString &text, int width) const
{
    return QFontMetrics(font)
        .boundingRect(QRect(0, 0, std::max(width, 1), 1 << 20), Qt::TextWordWrap, text)
        .height();
}

namespace {

FontTextMeasurer &fontMeasurer()
{
    static FontTextMeasurer measurer;
    return measurer;
}

int roundHalfEven(double value)
{
    return int(Units::roundHalfEven(value));
}

} // namespace

GridGeometry::GridGeometry(const VeziRadoModel &model, const Grid::Properties &properties,
                           const ScrollBarModel &horizontal, const ScrollBarModel &vertical)
    : model_(model), properties_(properties), horizontal_(horizontal), vertical_(vertical),
      measurer_(&fontMeasurer())
{
}

void GridGeometry::CalcMetrics(std::optional<QSize> imageSize, int minRowHeight)
{
    // The check box follows the row height of the previous pass; the repaint after a row-height
    // change runs this again and settles it.
    metrics_.CheckBoxSize = standardRowHeight_ > 16 ? 16 : standardRowHeight_ - 4;
    metrics_.CheckAreaWidth = properties_.RowCheckBoxes ? metrics_.CheckBoxSize + 2 : 3;
    metrics_.LeadingWidth = metrics_.CheckAreaWidth;

    metrics_.HasImages = imageSize.has_value();
    if (imageSize) {
        metrics_.ImageHeight = imageSize->height();
        metrics_.ImageWidth = imageSize->width();
        for (int row = 0; row < model_.Rows(); ++row) {
            if (model_.rowAt(row).Image != 0) {
                metrics_.LeadingWidth += imageSize->width() + 2;
                break;
            }
        }
    }

    metrics_.HeaderTextHeight = measurer_->lineHeight(properties_.FontHeader);
    metrics_.CaptionHeight =
        properties_.Caption.isEmpty() ? 0 : roundHalfEven(metrics_.HeaderTextHeight * 1.5);
    metrics_.HeaderHeight = CalcHeaderHeight();

    // The header font's text height is the least a row gets, whatever the cell font.
    standardRowHeight_ =
        std::max(minRowHeight, metrics_.HeaderTextHeight) + 2 * properties_.MinVerticalOffset + 2;
    metrics_.EllipsisFlag = properties_.DisplayEllipsis ? LayoutMetrics::WordEllipsis : 0;
}

int GridGeometry::CalcHeaderHeight() const
{
    if (!properties_.ColumnHeaders)
        return metrics_.CaptionHeight;
    const int h = measurer_->lineHeight(properties_.FontHeader);
    if (properties_.ColumnHeaderSmall)
        return roundHalfEven(double(h) * properties_.ColumnHeaderLines / 3 + h +
                             metrics_.CaptionHeight);
    return h * properties_.ColumnHeaderLines + h + metrics_.CaptionHeight;
}

int GridGeometry::verticalPosition() const
{
    return std::min(vertical_.position(), model_.LastRowIndex());
}

int GridGeometry::RowsPerPage(int surfaceHeight) const
{
    // Before the first layout there is no row height to divide by.
    if (standardRowHeight_ <= 0)
        return 0;
    const int border = properties_.BorderStyle == Grid::BorderStyle::FixedSingle ? 4 : 0;
    return roundHalfEven(double(surfaceHeight - metrics_.HeaderHeight - border) /
                         standardRowHeight_);
}

qint64 GridGeometry::RowTop(int row, int first) const
{
    if (first == -1)
        first = verticalPosition();
    if (row < first)
        return -1;
    qint64 y = metrics_.HeaderHeight;
    for (int i = first; i < row; ++i) {
        const RowRecord &record = model_.rowAt(i);
        if (record.Visible)
            y += record.Height;
    }
    return y;
}

int GridGeometry::RowFromY(double y) const
{
    if (model_.Rows() == 0)
        return -1;
    qint64 s = 0;
    if (metrics_.HeaderHeight > 0) {
        s = metrics_.HeaderHeight;
        if (y <= s)
            return -1;
    }
    for (int row = std::max(verticalPosition(), 0); row <= model_.LastRowIndex(); ++row) {
        const RowRecord &record = model_.rowAt(row);
        if (record.Visible)
            s += record.Height;
        if (y <= s)
            return row;
    }
    return -1;
}

bool GridGeometry::scrolledOff(int displayCol) const
{
    return displayCol < horizontalPosition() && displayCol > properties_.FreezeAtCol;
}

int GridGeometry::ColFromX(double x) const
{
    int s = 0;
    for (int i = 0; i < model_.Cols(); ++i) {
        const ColumnRecord &column = model_.column(model_.ColumnOrder()[size_t(i)]);
        if (scrolledOff(i) || !column.Visible)
            continue;
        // The span reaches 4 pixels past the drawn edge; the first shown column also answers
        // for the row-number area.
        if (x > s && x <= s + column.WidthPixels + 4 + rowNumberWidth_)
            return i;
        s += column.WidthPixels;
    }
    return -1;
}

void GridGeometry::ColLeft(int col, PixelRect &rect) const
{
    const int frozen = properties_.FreezeAtCol;
    const int h = horizontalPosition();
    const bool off = frozen >= 0 ? col < h && col > frozen && h > 0 : col < h && h > 0;
    if (off) {
        rect.left = rowNumberWidth_ - 1;
        return;
    }
    const std::vector<int> &order = model_.ColumnOrder();
    int s = 0;
    for (int j = frozen >= 0 ? 0 : h; j < col; ++j) {
        if (frozen >= 0 && j > frozen && j < h)
            continue;
        const ColumnRecord &column = model_.column(order[size_t(j)]);
        if (column.Visible)
            s += column.WidthPixels;
    }
    const int width = model_.column(order[size_t(col)]).WidthPixels;
    if (ImageMarginTest(col)) {
        rect.left = rowNumberWidth_ + metrics_.LeadingWidth;
        rect.right = rect.left + width - metrics_.LeadingWidth;
    } else {
        rect.left = rowNumberWidth_ + s;
        rect.right = rect.left + width;
    }
}

bool GridGeometry::ImageMarginTest(int col) const
{
    return col == 0 && metrics_.LeadingWidth > 3;
}

PixelRect GridGeometry::CellPartRect(int row, int col, qint64 top, CellPart part) const
{
    const ColumnRecord &column = model_.column(model_.ColumnOrder().at(size_t(col)));
    const int rowHeight = model_.rowAt(row).Height;
    int height = 0;
    int width = 0;
    int alignment = 0;
    switch (part) {
    case CellPart::Whole:
        height = rowHeight;
        width = column.WidthPixels;
        alignment = column.Alignment;
        break;
    case CellPart::CheckBox:
        height = width = metrics_.CheckBoxSize;
        alignment = column.Alignment;
        break;
    case CellPart::Image:
        height = metrics_.ImageHeight;
        width = metrics_.ImageWidth;
        alignment = column.ImageAlignment;
        break;
    }

    const int left = column.Left;
    const int w = column.WidthPixels;
    int x = 0;
    qint64 y = 0;
    static constexpr int Valid[] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
    if (std::find(std::begin(Valid), std::end(Valid), alignment) != std::end(Valid)) {
        switch (alignment & 3) {
        case 0:
            x = left + 1;
            break;
        case 1:
            x = roundHalfEven(w / 2.0 + left - width / 2.0);
            break;
        default:
            x = w + left - (width + 1);
            break;
        }
        switch (alignment & 12) {
        case 0:
            y = top + 2;
            break;
        case 4:
            y = qint64(Units::roundHalfEven(double(top) + rowHeight / 2.0 - height / 2.0));
            break;
        default:
            y = top + rowHeight - height - 2;
            break;
        }
    }
    x += rowNumberWidth_;
    const auto edge = [](qint64 v) {
        return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(),
                                      std::numeric_limits<int>::max()));
    };
    return {x, edge(y), x + width, edge(y + height)};
}

std::optional<int> GridGeometry::RowAutoHeight(int row) const
{
    if (!properties_.AllowWordWrap)
        return std::nullopt;
    const RowRecord &record = model_.rowAt(row);
    int m = 0;
    for (int col = 0; col < model_.Cols(); ++col) {
        const QString text = model_.CellText(row, col);
        const int width = model_.column(col).WidthPixels;
        const int bottom = record.Cells[size_t(col)].Flags.testFlag(CellFlag::WordWrap)
                               ? 2 + measurer_->wrappedHeight(properties_.Font, text, width - 5)
                               : measurer_->lineHeight(properties_.Font);
        m = std::max(m, bottom);
    }
    const int base = standardRowHeight_ - 2 * properties_.MinVerticalOffset - 2;
    int h = m;
    if (m < base)
        h = base;
    else if (properties_.MaxLineCount > 0 && m > properties_.MaxLineCount * base)
        h = properties_.MaxLineCount * base;
    return h + 2 * properties_.MinVerticalOffset;
}
