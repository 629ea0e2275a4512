#include "controls/grid/view/VeziRado.h"

#include "controls/grid/GridDates.h"
#include "controls/grid/GridFormat.h"
#include "controls/grid/view/GridPainter.h"
#include "core/Colour.h"
#include "core/Units.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

// The rows of a repaint: backgrounds, cells, the totals line, vertical lines and the focus
// rectangle.

using GridPaint::DrawLine;
using GridPaint::DrawRectangle;

namespace {

const CellRecord &emptyCell()
{
    static const CellRecord cell;
    return cell;
}

QPixmap pictureOf(const QVariant &value)
{
    if (value.canConvert<QPixmap>())
        return value.value<QPixmap>();
    if (value.canConvert<QImage>())
        return QPixmap::fromImage(value.value<QImage>());
    return {};
}

} // namespace

int VeziRado::expandImageNumber() const
{
    const QVariant value = model_.ExpandRowImage();
    if (value.typeId() == QMetaType::QString)
        return imageIndexOfKey(value.toString()).value_or(0);
    return value.toInt();
}

void VeziRado::drawImage(QPainter &painter, int number, int x, int y, bool selectedLook) const
{
    if (!imageList_)
        return;
    const int index = std::abs(number);
    if (index < 1 || index > imageList_->count())
        return;
    imageList_->Draw(painter, index, x, y);
    if (selectedLook) {
        QColor shade = Colour::toQColor(p_.BackColorSel);
        shade.setAlpha(128);
        painter.fillRect(QRect(QPoint(x, y), imageList_->imageSize()), shade);
    }
}

void VeziRado::paintRowBackground(QPainter &painter, const RowPaint &row)
{
    const int rnw = geometry_.RowNumberWidth();
    const int y = row.y;
    const int height = row.record->Height;
    if (!row.selected) {
        DrawRectangle(painter, {rnw, y + 1, row.right, y + height + 1}, row.rowColour, true);
        return;
    }
    int start = rnw - 1;
    if (SBValueGet(Bar::Horizontal) == 0 && model_.Cols() > 0) {
        // The check box and row image keep the row colour; the bar starts after them.
        const int first = model_.column(model_.ColumnOrder()[0]).WidthPixels;
        const int m = std::min(geometry_.metrics().LeadingWidth, first);
        DrawRectangle(painter, {rnw, y + 1, rnw + m, y + height + 1}, row.rowColour, true);
        start = rnw + m - 1;
    }
    const PixelRect bar{start, y + 1, row.right, y + height + 1};
    quint32 colour = rgb(p_.BackColorSel);
    if (p_.AlphaBlendSelection) {
        quint32 first = p_.BackColor;
        if (!row.record->Cells.empty()) {
            const int index = row.record->Cells[0].FormatIndex;
            if (index >= 0 && index < model_.CellFormats().size())
                first = model_.CellFormats().at(index).BackColor;
        }
        colour = first == p_.BackColor
                     ? GridPaint::BlendColor(rgb(p_.BackColorSel), rgb(p_.BackColor), 150)
                     : GridPaint::BlendColor(rgb(first), rgb(p_.BackColor), 150);
    }
    switch (p_.FocusRowHighlightStyle) {
    case Grid::FocusRowHighlightStyle::Solid:
        DrawRectangle(painter, bar, colour, true);
        break;
    case Grid::FocusRowHighlightStyle::VerticalGradient:
        GridPaint::DrawGradient(painter, bar, colour, rgb(p_.BackColor), true);
        break;
    case Grid::FocusRowHighlightStyle::HorizontalGradient:
        GridPaint::DrawGradient(painter, bar, colour, rgb(p_.BackColor), false);
        break;
    default:
        break;
    }
}

void VeziRado::paintCell(QPainter &painter, const RowPaint &row, int j, int x, quint32 textColour)
{
    const LayoutMetrics &m = geometry_.metrics();
    const RowRecord &r = *row.record;
    const int i = row.i;
    const int y = row.y;
    const int H = r.Height;
    const int rnw = geometry_.RowNumberWidth();
    const int c = model_.ColumnOrder()[size_t(j)];
    const ColumnRecord &column = model_.column(c);
    const int W = column.WidthPixels;
    const CellRecord &cell = size_t(c) < r.Cells.size() ? r.Cells[size_t(c)] : emptyCell();
    CellFormatRecord f{p_.BackColor, p_.ForeColor, p_.Font.family()};
    if (cell.FormatIndex >= 0 && cell.FormatIndex < model_.CellFormats().size())
        f = model_.CellFormats().at(cell.FormatIndex);

    // Colours: a selected row keeps its bar; elsewhere a cell's own back colour shows.
    if (!row.selected) {
        if (f.BackColor != p_.BackColor)
            DrawRectangle(painter, {x, y, x + W, y + H}, rgb(f.BackColor), true);
        textColour = f.ForeColor;
    } else if (p_.FocusRowHighlightKeepTextForecolor) {
        textColour = f.ForeColor;
    }

    PixelRect text{x + 3, y, x + W - 3, y + H};
    const bool selectedImages = row.selected && p_.ApplySelectionToImages;
    if (j == 0) {
        if (p_.RowCheckBoxes && !r.GroupHeader)
            drawCheckBox(painter, {rnw + 3, y, rnw + m.CheckBoxSize, y + H},
                         r.Flags.testFlag(RowFlag::Checked));
        if (m.HasImages && r.Image != 0) {
            const int top =
                p_.CenterRowImage ? y + (H - m.ImageHeight) / 2 : y + p_.MinVerticalOffset;
            drawImage(painter, r.Image, rnw + m.CheckAreaWidth, top, selectedImages);
        }
        text.left = rnw + m.LeadingWidth + 3;
    }

    const bool heading = r.GroupHeader;
    const bool progress = column.DataType == ColumnType::ProgressBar && !heading;
    if (column.DataType == ColumnType::CheckBox) {
        if (!heading)
            drawCheckBox(painter, geometry_.CellPartRect(i, j, y, CellPart::CheckBox),
                         cell.Flags.testFlag(CellFlag::Checked));
        return;
    }
    if (!heading && column.DataType == ColumnType::Button) {
        PixelRect button{x, y, x + W, y + H};
        const bool held = mouseDragging_ && pressedRow_ == i && model_.CurrentColPosition() == j;
        DrawThemedButton(painter, button, held ? 3 : 1);
        text = button;
        textColour = Colour::system(Colour::ButtonText);
    } else if (progress) {
        const int v = cell.ProgressValue;
        if (v >= 1) {
            const int w = int(Units::roundHalfEven((W - 2) / 100.0 * v));
            DrawRectangle(painter, {x + 2, y + 2, x + w, y + H - 2},
                          rgb(model_.CellProgressBarColor()), true);
        }
        text = {x + 3, y, x + W - 3, y + H};
    }

    QFont font = p_.Font;
    if (!f.FontName.isEmpty())
        font.setFamily(f.FontName);
    font.setBold(!progress && cell.Flags.testFlag(CellFlag::Bold));
    font.setItalic(!progress && cell.Flags.testFlag(CellFlag::Italic));
    font.setUnderline(!progress && cell.Flags.testFlag(CellFlag::Underline));
    painter.setFont(font);

    int room = W - 15;
    QString value = r.text(c).toString();
    if (!column.Format.isEmpty()) {
        if (!paintYear_)
            paintYear_ = GridDates::currentYear();
        value = GridFormat::formatValue(value, column.Format, *paintYear_);
    }
    int format = cell.Alignment | GridPaint::SingleLine;
    int cellImage = f.Image;
    bool lineBreak = value.contains(QLatin1Char('\r'));
    if (cellImage != 0 || (j == 0 && r.Image != 0))
        room -= m.ImageWidth;

    if (p_.AllowWordWrap && cell.Flags.testFlag(CellFlag::WordWrap)) {
        const TextMeasurer &measurer = geometry_.measurer();
        const auto measure = [&](const QString &s) { return measurer.textWidth(font, s); };
        if (p_.MinRowHeight > 0 && !lineBreak)
            lineBreak = GridPaint::WrapText(value, room, -1, measure).contains(QLatin1Char('\r'));
        if ((measure(value) + 6 > room && geometry_.StandardRowHeight() < H) || lineBreak) {
            format = GridPaint::WordBreak;
            const int wrappedHeight = measurer.wrappedHeight(font, value, room);
            cellImage = wrappedHeight > m.HeaderTextHeight ? expandImageNumber() : 0;
            text.top += p_.MinVerticalOffset;
        }
    }

    const QPixmap picture = pictureOf(cell.picture());
    if (!picture.isNull() && picture.width() > 0) {
        const PixelRect frame = geometry_.CellPartRect(i, j, y, CellPart::Whole);
        double w = frame.right - frame.left;
        double h = frame.bottom - frame.top;
        const double ratio = double(picture.height()) / picture.width();
        if (w > 0 && h / w > ratio)
            h = ratio * w;
        else
            w = h / ratio;
        int left = frame.left;
        const int p = picture.width();
        const int align = column.ImageAlignment;
        if ((align == 2 || align == 6 || align == 10) && p < W)
            left += W - p - 5;
        else if (align == 5 && p < W)
            left += int(Units::roundHalfEven(std::abs(W - w))) / 2 - 2;
        painter.drawPixmap(QRectF(left, frame.top, w, h), picture, QRectF(picture.rect()));
    }

    if (cellImage != 0) {
        const PixelRect image = geometry_.CellPartRect(i, j, y, CellPart::Image);
        const int imageWidth = image.right - image.left;
        int offset = p_.MinVerticalOffset;
        switch (column.ImageAlignment) {
        case 0:
        case 1:
            text.left += imageWidth;
            break;
        case 2:
            text.right -= imageWidth;
            break;
        case 4:
            offset = (H - m.ImageHeight) / 2;
            text.left += imageWidth;
            break;
        case 5:
            // Centred image: the text keeps the cell and is drawn over it.
            offset = (H - m.ImageHeight - p_.MinVerticalOffset) / 2;
            break;
        case 6:
            offset = (H - m.ImageHeight) / 2;
            text.right -= imageWidth;
            break;
        case 8:
        case 9:
            offset = H - m.ImageHeight - p_.MinVerticalOffset;
            text.left += imageWidth;
            break;
        case 10:
            offset = H - m.ImageHeight - p_.MinVerticalOffset;
            text.right -= imageWidth;
            break;
        default:
            break;
        }
        if (image.left >= 0)
            drawImage(painter, cellImage, image.left, y + offset, selectedImages);
    }

    drawText(painter, value, text, format, rgb(textColour));
}

void VeziRado::paintTotalsLine(QPainter &painter, int y, int right)
{
    const int standard = geometry_.StandardRowHeight();
    PixelRect band{0, y + 1, right, y + standard + 1};
    paintHeaderBackground(painter, band, 1, Band::Totals);
    // The line takes the header colour as stored, without translation.
    DrawLine(painter, 0, y, right, y, p_.ForeColorHdr & 0xFFFFFFu, p_.GridLineWidth);
    const int frozen = p_.FreezeAtCol;
    const int h = SBValueGet(Bar::Horizontal);
    int x = geometry_.RowNumberWidth();
    painter.setFont(p_.Font);
    for (int j = 0; j < model_.Cols(); ++j) {
        const int c = model_.ColumnOrder()[size_t(j)];
        const ColumnRecord &column = model_.column(c);
        if ((j > frozen && j < h) || !column.Visible)
            continue;
        PixelRect text{x + 3, y + 3, x + column.WidthPixels - 3, y + standard};
        const QString value = model_.TotalsLineText(c, TotalsTextUse::Display);
        if (!value.isEmpty())
            drawText(painter, value, text, column.Alignment, rgb(p_.ForeColorHdr));
        x += column.WidthPixels;
    }
}

void VeziRado::paintVerticalLines(QPainter &painter, int bottom, quint32 gridColour)
{
    const int top = geometry_.metrics().HeaderHeight;
    const int frozen = p_.FreezeAtCol;
    const int h = SBValueGet(Bar::Horizontal);
    int x = geometry_.RowNumberWidth();
    bool frozenEdge = false;
    for (int j = 0; j < model_.Cols(); ++j) {
        const ColumnRecord &column = model_.column(model_.ColumnOrder()[size_t(j)]);
        if (!(j > frozen && j < h) && column.Visible) {
            DrawLine(painter, x, top, x, bottom, gridColour,
                     frozenEdge ? 2 * p_.GridLineWidth : p_.GridLineWidth);
            frozenEdge = false;
            x += column.WidthPixels;
        }
        if (j == frozen)
            frozenEdge = true;
    }
    DrawLine(painter, x, top, x, bottom, gridColour, p_.GridLineWidth);
}

void VeziRado::paintFocusRect(QPainter &painter, int right)
{
    const int current = model_.Row();
    if (current < 0 || current > model_.LastRowIndex() ||
        p_.FocusRectMode == Grid::FocusRectMode::None)
        return;
    const qint64 t = geometry_.RowTop(current);
    // A row that starts below the surface leaves no mark on it.
    if (t == -1 || t >= surface_.height())
        return;
    // A bottom far below the surface is drawn just below it.
    const qint64 bottom = std::min<qint64>(t + model_.rowAt(current).Height, surface_.height() + 8);
    PixelRect rect{1, int(t) + 1, right, int(bottom)};
    if (p_.FocusRectMode == Grid::FocusRectMode::Cell) {
        const int col = model_.CurrentColPosition();
        if (col < 0 || col >= model_.Cols())
            return;
        // A column scrolled out gets no right edge, so it gets no rectangle either.
        rect.right = 0;
        geometry_.ColLeft(col, rect);
    }
    if (rect.right <= geometry_.RowNumberWidth())
        return;
    const quint32 k = p_.FocusRowHighlight ? rgb(p_.FocusRectColor)
                                           : GridTheme::AdjustColor(p_.BackColorSel, -50);
    switch (p_.FocusRectStyle) {
    case Grid::FocusRectStyle::Dotted: {
        // Every other pixel of the frame, in the inverse of what lies below.
        painter.save();
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        const QRect r = GridPaint::toQRect(rect);
        for (int px = r.left(); px <= r.right(); px += 2) {
            painter.fillRect(QRect(px, r.top(), 1, 1), Qt::white);
            painter.fillRect(QRect(px, r.bottom(), 1, 1), Qt::white);
        }
        for (int py = r.top() + 2; py < r.bottom(); py += 2) {
            painter.fillRect(QRect(r.left(), py, 1, 1), Qt::white);
            painter.fillRect(QRect(r.right(), py, 1, 1), Qt::white);
        }
        painter.restore();
        break;
    }
    case Grid::FocusRectStyle::Thick:
        // A 3-pixel pen centred on the frame's edges.
        DrawLine(painter, rect.left - 1, rect.top, rect.right + 1, rect.top, k, 3);
        DrawLine(painter, rect.left - 1, rect.bottom - 1, rect.right + 1, rect.bottom - 1, k, 3);
        DrawLine(painter, rect.left, rect.top - 1, rect.left, rect.bottom + 1, k, 3);
        DrawLine(painter, rect.right - 1, rect.top - 1, rect.right - 1, rect.bottom + 1, k, 3);
        break;
    case Grid::FocusRectStyle::Thin:
        DrawRectangle(painter, rect, k, false);
        break;
    default:
        break;
    }
}
