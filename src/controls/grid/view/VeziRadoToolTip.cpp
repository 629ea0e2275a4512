#include "controls/grid/view/VeziRado.h"

#include "controls/grid/GridFormat.h"
#include "controls/grid/view/GridPainter.h"
#include "core/Units.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

// The tooltip of a cut-off cell: after the pointer has rested on a cell for a while, the cell's
// whole text shows in a floating box laid over the cell, in the cell's font.

namespace {

// The cell a tooltip may be shown for (display positions), or none: a check box shows no text,
// and an empty cell has nothing to show.
const CellRecord *tipCell(const VeziRadoModel &model, int row, int col)
{
    if (row < 0 || col < 0 || row >= model.Rows() || col >= model.Cols())
        return nullptr;
    const int c = model.ColumnOrder()[size_t(col)];
    if (model.column(c).DataType == ColumnType::CheckBox)
        return nullptr;
    const RowRecord &record = model.rowAt(row);
    if (size_t(c) >= record.Cells.size() || record.text(c).isEmpty())
        return nullptr;
    return &record.Cells[size_t(c)];
}

// The longest line and the height of a text broken at spaces to lines at most `width` wide; its
// own line breaks are kept, and a word longer than the width stays whole on its line.
QSize wrappedSize(const TextMeasurer &measurer, const QFont &font, const QString &text, int width)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    int widest = 0;
    int lines = 0;
    const auto endLine = [&](const QString &line) {
        widest = std::max(widest, measurer.textWidth(font, line));
        ++lines;
    };
    for (const QString &paragraph : plain.split(u'\n')) {
        QString line;
        for (const QString &word : paragraph.split(u' ')) {
            const QString longer = line.isEmpty() ? word : line + u' ' + word;
            if (!line.isEmpty() && measurer.textWidth(font, longer) > width) {
                endLine(line);
                line = word;
            } else {
                line = longer;
            }
        }
        endLine(line);
    }
    return {widest, lines * measurer.lineHeight(font)};
}

// Some window managers frame the box and copy its input shape to the frame only when the shape
// changes after they took the window, so a shape set before mapping leaves the frame taking the
// pointer: each time the box comes up, it is set again.
class InputPassAgain : public QObject
{
public:
    static constexpr const char *Name = "inputPassAgain";
    explicit InputPassAgain(QObject *parent) : QObject(parent) { setObjectName(Name); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose) {
            auto *window = static_cast<QWindow *>(watched);
            if (!window->isExposed()) {
                armed_ = true;
            } else if (armed_) {
                armed_ = false;
                window->setFlag(Qt::WindowTransparentForInput, false);
                window->setFlag(Qt::WindowTransparentForInput, true);
            }
        }
        return false;
    }

private:
    bool armed_ = true;
};

} // namespace

bool VeziRado::toolTipWaiting() const
{
    return toolTipTimer_ && toolTipTimer_->isActive();
}

void VeziRado::cellToolTipHoverNow(int row, int col)
{
    if (row != mouseRow_ || col != mouseCol_)
        HideCellToolTip(false);
    mouseRow_ = row;
    mouseCol_ = col;
    CellToolTipHover(row, col);
}

bool VeziRado::pointerUnderToolTip() const
{
    if (!picToolTip->isVisible())
        return false;
    const QPoint pointer = QCursor::pos();
    return toolTipArea_.contains(pointer) &&
           QRect(viewport()->mapToGlobal(QPoint()), viewport()->size()).contains(pointer);
}

void VeziRado::CellToolTipHover(int row, int col)
{
    // A move during a wait only moves the mouse cell: the running wait shows for wherever the
    // pointer is when it ends.
    if (!p_.AutoToolTips || toolTipWaiting() || editPending_ || !tipCell(model_, row, col))
        return;
    if (!toolTipTimer_) {
        toolTipTimer_ = new QTimer(this);
        toolTipTimer_->setSingleShot(true);
        connect(toolTipTimer_, &QTimer::timeout, this, [this] {
            // The host may have turned tooltips off, changed or cleared the grid meanwhile;
            // ShowCellToolTip checks the cell again.
            if (p_.AutoToolTips)
                ShowCellToolTip(mouseRow_, mouseCol_);
        });
    }
    toolTipTimer_->start(toolTipDelay_);
}

void VeziRado::HideCellToolTip(bool abort)
{
    picToolTip->hide();
    if (abort && toolTipTimer_)
        toolTipTimer_->stop();
}

void VeziRado::ShowCellToolTip(int row, int col)
{
    if (row == -1)
        return;
    picToolTip->hide();
    const CellRecord *cell = editPending_ ? nullptr : tipCell(model_, row, col);
    if (!cell)
        return;
    const int c = model_.ColumnOrder()[size_t(col)];
    const ColumnRecord &column = model_.column(c);
    const RowRecord &record = model_.rowAt(row);
    PixelRect edges{0, 0, -1, 0};
    geometry_.ColLeft(col, edges);
    const qint64 rowTop = geometry_.RowTop(row);
    // A row or column hidden or scrolled away during the wait is no longer under the pointer.
    if (!record.Visible || !column.Visible || rowTop < 0 || rowTop >= viewport()->height() ||
        edges.right < 0)
        return;
    const int top = int(rowTop);

    const CellFormatRecord *look = nullptr;
    if (cell->FormatIndex >= 0 && cell->FormatIndex < model_.CellFormats().size())
        look = &model_.CellFormats().at(cell->FormatIndex);
    QFont font = p_.Font;
    font.setBold(cell->Flags.testFlag(CellFlag::Bold));
    font.setItalic(cell->Flags.testFlag(CellFlag::Italic));
    if (look && !look->FontName.isEmpty())
        font.setFamily(look->FontName);

    const TextMeasurer &measurer = geometry_.measurer();
    const LayoutMetrics &m = geometry_.metrics();
    QString text = record.text(c).toString();
    if (!column.Format.isEmpty())
        text = GridFormat::formatValue(text, column.Format);
    int pad = int(Units::roundHalfEven(measurer.textWidth(font, GridGeometry::SampleText) / 14.0));
    const int vpad = 2 * p_.MinVerticalOffset + 2;
    const int rowHeight = record.Height;
    int textWidth = measurer.textWidth(font, text);

    // The room the cell gives its text, as the painter leaves it.
    int room = column.WidthPixels - (geometry_.ImageMarginTest(col) ? m.LeadingWidth : 0);
    textWidth = std::max(textWidth, room);
    room -= pad;
    if (look && look->Image != 0)
        room -= m.ImageWidth;
    bool fits = false;
    if (p_.AllowWordWrap && cell->Flags.testFlag(CellFlag::WordWrap)) {
        if (rowHeight > m.HeaderTextHeight + vpad && expandImageNumber() > 0)
            room -= pad + m.ImageWidth;
        room -= 2;
        const QSize wrapped = wrappedSize(measurer, font, text, column.WidthPixels);
        fits = wrapped.height() + vpad <= rowHeight && wrapped.width() + pad <= room;
    } else {
        fits = measurer.textWidth(font, text) + pad <= room;
    }
    if (fits)
        return;

    // The box starts at the cell's top-left corner and stays on the screen: a text that would
    // run off the right edge is wrapped to the room there.
    pad *= 2;
    QSize measured = wrappedSize(measurer, font, text, textWidth);
    const QPoint corner = viewport()->mapToGlobal(QPoint(edges.left, top));
    const QScreen *screen = QGuiApplication::screenAt(corner);
    const QRect area = (screen ? screen : this->screen())->availableGeometry();
    bool narrowed = false;
    if (area.right() + 1 - corner.x() < textWidth) {
        textWidth = std::max(area.right() + 1 - corner.x() - pad, 1);
        measured = wrappedSize(measurer, font, text, textWidth);
        narrowed = true;
    }
    const int left = col == 0 ? 2 : -1;
    const int width = measured.width() + pad + 3;
    const int height = measured.height() < rowHeight ? rowHeight : measured.height() + vpad;
    const int x = std::max(std::min(corner.x(), area.right() + 1 - width), area.left());
    const int y = std::max(std::min(corner.y(), area.bottom() + 1 - height), area.top());
    toolTipArea_ = QRect(x, y, width, height);
    picToolTip->setGeometry(toolTipArea_);

    const QRect client = picToolTip->contentsRect();
    const qreal ratio = picToolTip->devicePixelRatioF();
    QPixmap image(client.size() * ratio);
    image.setDevicePixelRatio(ratio);
    image.fill(picToolTip->palette().color(QPalette::Window));
    {
        QPainter painter(&image);
        painter.setFont(font);
        PixelRect textRect{left + 3, -1, width - 6, height};
        // A text of several lines, or one wrapped to the screen, reads left-aligned from the top;
        // a single line sits as it does in the cell.
        const bool lines = narrowed || text.contains(u'\r') || text.contains(u'\n');
        const int format = lines ? GridPaint::WordBreak
                                 : cell->Alignment | GridPaint::WordBreak | GridPaint::SingleLine;
        drawText(painter, text, textRect, format, 0);
    }
    picToolTip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picToolTip->setPixmap(image);
    // Tied to the window the grid is in now, which the grid may have moved to since the box was
    // made (at its first showing, from the grid's window); the window manager keeps it above that
    // window and its stacking follows that window's.
    if (QWindow *box = picToolTip->windowHandle())
        box->setTransientParent(window()->windowHandle());
    // A window manager minimises the box along with its window and Qt keeps that state: shown so,
    // the box would be mapped minimised, never drawn, and take its restored window down with it.
    picToolTip->showNormal();
    QWindow *box = picToolTip->windowHandle();
    // Found by name: a class without its own meta-object cannot be looked for by type.
    if (box && !box->findChild<QObject *>(InputPassAgain::Name, Qt::FindDirectChildrenOnly))
        box->installEventFilter(new InputPassAgain(box));
}
