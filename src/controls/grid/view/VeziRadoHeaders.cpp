#include "controls/grid/view/VeziRado.h"

#include "controls/grid/view/GridPainter.h"
#include "controls/grid/view/HeaderStyles.h"
#include "core/Colour.h"
#include "core/Units.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionHeader>

// The caption bar, the column headers and the looks they share with the totals line, button
// cells and check boxes.

using Grid::ThemeStyle;

bool VeziRado::stylesUsable() const
{
    return schemeName_ != QStringLiteral("Classic");
}

quint32 VeziRado::rgb(quint32 colour) const
{
    return GridTheme::TranslateColor(colour).value_or(0);
}

void VeziRado::drawText(QPainter &painter, const QString &text, PixelRect &rect, int format,
                        quint32 colour) const
{
    GridPaint::DrawTextAuto(painter, text, rect,
                            format | geometry_.metrics().EllipsisFlag | GridPaint::NoPrefix,
                            colour);
}

void VeziRado::withSurfacePainter(const std::function<void(QPainter &)> &draw)
{
    if (painter_) {
        draw(*painter_);
        return;
    }
    if (surface_.isNull())
        return;
    QPainter painter(&surface_);
    painter.setFont(p_.Font);
    painter_ = &painter;
    draw(painter);
    painter_ = nullptr;
    painter.end();
    viewport()->update();
}

bool VeziRado::DrawThemedHeader(QPainter &painter, bool checkBox, int state, const PixelRect &rect)
{
    if (!stylesUsable())
        return false;
    QStyle *look = style();
    if (checkBox) {
        QStyleOptionButton option;
        option.initFrom(this);
        const int side = std::min({rect.right - rect.left, rect.bottom - rect.top, 13});
        if (side < 4)
            return false;
        option.rect = QRect(rect.left, rect.top + (rect.bottom - rect.top - side) / 2, side, side);
        option.state |= QStyle::State_Enabled | (state == 5 ? QStyle::State_On : QStyle::State_Off);
        look->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, this);
        return true;
    }
    QStyleOptionHeader option;
    option.initFrom(this);
    option.rect = GridPaint::toQRect(rect);
    option.state = QStyle::State_Enabled | QStyle::State_Raised | QStyle::State_Horizontal;
    if (state == 2)
        option.state |= QStyle::State_MouseOver;
    else if (state == 3)
        option.state |= QStyle::State_Sunken;
    option.position = QStyleOptionHeader::Middle;
    painter.save();
    painter.setClipRect(option.rect, Qt::IntersectClip);
    look->drawControl(QStyle::CE_HeaderSection, &option, &painter, this);
    painter.restore();
    return true;
}

void VeziRado::DrawThemedButton(QPainter &painter, PixelRect &rect, int state)
{
    rect.right += 1;
    rect.bottom += 1;
    if (stylesUsable()) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = GridPaint::toQRect(rect);
        option.state =
            QStyle::State_Enabled | (state == 3 ? QStyle::State_Sunken : QStyle::State_Raised);
        painter.save();
        painter.setClipRect(option.rect, Qt::IntersectClip);
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
        painter.restore();
        return;
    }
    HeaderStyles::PaintHeaderStyle3(painter, rect, state,
                                    {rgb(p_.ThemeCustomColorFrom), rgb(p_.ThemeCustomColorTo)});
}

void VeziRado::drawCheckBox(QPainter &painter, const PixelRect &rect, bool checked)
{
    if (!DrawThemedHeader(painter, true, checked ? 5 : 0, rect))
        GridPaint::DrawClassicCheckBox(painter, rect, checked);
}

void VeziRado::paintHeaderBackground(QPainter &painter, PixelRect &rect, int state, Band band)
{
    using GridPaint::FrameLook;
    const HeaderStyles::ThemeColours colours{rgb(p_.ThemeCustomColorFrom),
                                             rgb(p_.ThemeCustomColorTo)};
    const bool column = band == Band::Column;
    switch (p_.ThemeStyle) {
    case ThemeStyle::Raised:
    case ThemeStyle::FlatFrame:
        if (state == 1)
            GridPaint::DrawFrameButton(painter, rect,
                                       p_.ThemeStyle == ThemeStyle::Raised ? FrameLook::Raised
                                                                           : FrameLook::Flat);
        else if (state == 2)
            GridPaint::DrawFrameButton(painter, rect, FrameLook::Hot);
        else if (state == 3)
            GridPaint::DrawFrameButton(painter, rect, FrameLook::Pressed);
        break;
    case ThemeStyle::Themed:
        if (!DrawThemedHeader(painter, false, state, rect))
            HeaderStyles::PaintHeaderStyle45(painter, rect, state, false, false, colours);
        break;
    case ThemeStyle::Gradient:
        HeaderStyles::PaintHeaderStyle3(painter, rect, state, colours);
        break;
    case ThemeStyle::Flat:
        // The caption bar has its own look; the totals line takes the header's.
        HeaderStyles::PaintHeaderStyle45(painter, rect, state, band == Band::Caption, false,
                                         colours);
        break;
    case ThemeStyle::FlatThemeColours:
        HeaderStyles::PaintHeaderStyle45(painter, rect, state, !column, true, colours);
        break;
    case ThemeStyle::Banded:
    case ThemeStyle::BandedButtonFace:
        HeaderStyles::PaintHeaderStyle67(painter, rect, state, !column,
                                         p_.ThemeStyle == ThemeStyle::BandedButtonFace, colours);
        break;
    default:
        break; // no background: text and arrows over what lies there
    }
}

void VeziRado::DrawCaptionBar()
{
    if (p_.Caption.isEmpty())
        return;
    const LayoutMetrics &m = geometry_.metrics();
    const int right = int(
        Units::roundHalfEven(VisibleWidth() / twipsPerPixel() + 1 + geometry_.RowNumberWidth()));
    withSurfacePainter([&](QPainter &painter) {
        painter.setFont(p_.FontHeader);
        PixelRect bar{-1, 0, right, m.CaptionHeight};
        paintHeaderBackground(painter, bar, 1, Band::Caption);
        PixelRect text{14, m.CaptionHeight / 8, right - 15, m.CaptionHeight};
        drawText(painter, p_.Caption, text, p_.CaptionAlignment, rgb(p_.ForeColorHdr));
        painter.setFont(p_.Font);
    });
}

int VeziRado::DrawHeaders(bool singleLine)
{
    if (model_.Cols() == 0)
        return 0;
    hotHeader_ = -1;
    if (p_.ShowRowNumbers)
        DrawColumnHeader(-1, 1, false, true);
    // Scrolled-off and hidden columns keep the Left of the last time they were shown.
    const int frozen = p_.FreezeAtCol;
    const int h = SBValueGet(Bar::Horizontal);
    int x = 0;
    for (int j = 0; j < model_.Cols(); ++j) {
        const int col = model_.ColumnOrder()[size_t(j)];
        const ColumnRecord &column = model_.column(col);
        if ((j > frozen && j < h) || !column.Visible)
            continue;
        model_.setColumnLeft(col, x);
        DrawColumnHeader(j, 1, singleLine, false);
        x += column.WidthPixels;
    }
    return geometry_.RowNumberWidth() + x;
}

void VeziRado::DrawColumnHeader(int col, int state, bool singleLine, bool rowNumberBox)
{
    if (!p_.ColumnHeaders || (!rowNumberBox && col < 0))
        return;
    if (!rowNumberBox && (col == swapSource_ || col == dragSource_))
        state = 3;
    if (!p_.AllowColumnSort && !p_.AllowColumnSwap && !p_.AllowColumnDrag)
        state = 1;
    const LayoutMetrics &m = geometry_.metrics();
    const int rnw = geometry_.RowNumberWidth();
    withSurfacePainter([&](QPainter &painter) {
        painter.setFont(p_.FontHeader);
        if (rowNumberBox) {
            PixelRect box{-1, m.CaptionHeight, rnw, m.HeaderHeight};
            paintHeaderBackground(painter, box, 1, Band::Column);
            painter.setFont(p_.Font);
            return;
        }
        const int index = model_.ColumnOrder()[size_t(col)];
        const ColumnRecord &column = model_.column(index);
        PixelRect rect{column.Left + rnw - 1, m.CaptionHeight,
                       column.Left + column.WidthPixels + rnw, m.HeaderHeight};
        paintHeaderBackground(painter, rect, state, Band::Column);

        int textEdge = column.Left + column.WidthPixels - 6;
        if (column.WidthPixels > 8) {
            const bool primary = index == model_.PrimarySortCol();
            const bool secondary = !primary && index == model_.SecondarySortCol();
            if (primary || secondary) {
                GridPaint::DrawSortArrow(painter, column.Left + column.WidthPixels + rnw - 12,
                                         m.CaptionHeight + 6, primary ? 9 : 6, primary ? 5 : 3,
                                         int(column.SortState),
                                         rgb(Colour::system(Colour::ThreeDDarkShadow)));
                textEdge = column.Left + column.WidthPixels - 13;
            }
        }
        PixelRect text{column.Left + rnw + 5, m.CaptionHeight, textEdge + rnw, m.HeaderHeight};
        if (state == 2)
            text.top -= 1;
        else if (state == 3)
            text.top += 1;
        const quint32 colour = rgb(p_.ForeColorHdr);
        if (p_.ColumnHeaderLines > 1 && !singleLine) {
            const QString wrapped = GridPaint::WrapText(
                column.Heading, text.right - text.left, p_.ColumnHeaderLines,
                [&](const QString &s) { return geometry_.measurer().textWidth(p_.FontHeader, s); });
            const int lines = int(wrapped.count(QLatin1Char('\n'))) + 1;
            const int height = lines * geometry_.measurer().lineHeight(p_.FontHeader);
            text.top +=
                int(Units::roundHalfEven((m.HeaderHeight - m.CaptionHeight - height) / 2.0));
            drawText(painter, wrapped, text,
                     column.Alignment | GridPaint::WordBreak | GridPaint::WordEllipsis, colour);
        } else {
            drawText(painter, column.Heading, text, column.Alignment | GridPaint::SingleLine,
                     colour);
        }
        painter.setFont(p_.Font);
    });
}
