#include "controls/grid/view/VeziRado.h"

#include "core/AppError.h"
#include "core/Units.h"
#include "ui/DesktopCodes.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>

#include <functional>

// The row side of the mouse: presses, moves, releases, clicks and double-clicks over rows and
// cells, the drag selection with its auto-scroll, the hand pointer and text dropped on a cell.
// The header and divider side lives in VeziRadoHeaderMouse.cpp.

namespace {

constexpr int AutoScrollInterval = 25;

// A double-click in the edit box counts as one on the grid; the box still selects its word.
class EditDoubleClick : public QObject
{
public:
    EditDoubleClick(QObject *parent, std::function<void(QPointF)> handler)
        : QObject(parent), handler_(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonDblClick &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            auto *box = static_cast<QWidget *>(watched);
            handler_(box->mapToParent(static_cast<QMouseEvent *>(event)->position()));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(QPointF)> handler_;
};

} // namespace

void VeziRado::installMouseHandling()
{
    viewport()->setAcceptDrops(true);
    txtEdit->installEventFilter(new EditDoubleClick(this, [this](QPointF inViewport) {
        try {
            // The box lies over its cell, so no move over the grid told which cell that is.
            mouseCol_ = geometry_.ColFromX(float(inViewport.x()));
            mouseRow_ = geometry_.RowFromY(float(inViewport.y()));
            // Its presses went to the box, but they were on a row, not on the header.
            pressedRow_ = mouseRow_;
            gridDblClick();
        } catch (const AppError &) {
        }
    }));
    autoScrollTimer_ = new QTimer(this);
    autoScrollTimer_->setInterval(AutoScrollInterval);
    connect(autoScrollTimer_, &QTimer::timeout, this, [this] {
        try {
            if (autoScrollDirection_ == 0 || !dragSelectStep())
                stopAutoScroll();
        } catch (const AppError &) {
            stopAutoScroll();
        }
    });
}

bool VeziRado::autoScrollRunning() const
{
    return autoScrollTimer_->isActive();
}

void VeziRado::resetMouseState()
{
    pressedHeader_ = -1;
    swapSource_ = -1;
    dragSource_ = -1;
    resizeCol_ = -1;
    resizeRow_ = -1;
    pressedRow_ = -1;
    mouseDragging_ = false;
    clickPending_ = false;
    stopAutoScroll();
}

bool VeziRado::viewportMouseEvent(QEvent *event)
{
    const QEvent::Type type = event->type();
    try {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const int shift = shiftCode(mouse->modifiers());
            const float x = float(mouse->position().x());
            const float y = float(mouse->position().y());
            const int button = DesktopCodes::mouseButtons(mouse->button());
            if (type == QEvent::MouseMove) {
                gridMouseMove(DesktopCodes::mouseButtons(mouse->buttons()), shift, x, y);
            } else if (type == QEvent::MouseButtonRelease) {
                const bool click = clickPending_ && button == 1;
                clickPending_ = false;
                gridMouseUp(button, shift, x, y);
                if (click)
                    gridClick();
            } else if (type == QEvent::MouseButtonDblClick && button == 1) {
                // The second press of a double-click is no press of its own, nor a click.
                clickPending_ = false;
                gridDblClick();
            } else {
                clickPending_ = button == 1;
                gridMouseDown(button, shift, x, y);
            }
            return true;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *drag = static_cast<QDragMoveEvent *>(event);
            int row = -1;
            int col = -1;
            const bool text = drag->mimeData()->hasText() && p_.AllowEdit;
            // Entering must be accepted for the moves to follow; each move asks about its cell.
            if (type == QEvent::DragEnter
                    ? text
                    : dropTarget(drag->position(), drag->mimeData()->text(), row, col))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            const QString text = drop->mimeData()->text();
            int row = -1;
            int col = -1;
            if (!drop->mimeData()->hasText() || !dropTarget(drop->position(), text, row, col)) {
                drop->ignore();
                return true;
            }
            const ColumnType type = model_.column(col).DataType;
            if (type == ColumnType::Number || type == ColumnType::CheckBox)
                model_.setCellValue(row, col, text);
            else
                model_.setCellText(row, col, text);
            drop->acceptProposedAction();
            return true;
        }
        default:
            return false;
        }
    } catch (const AppError &) {
        // A handler that fails part way leaves the grid as far as it got, like a move that
        // finds no cell.
        return true;
    }
}

bool VeziRado::dropTarget(QPointF pos, const QString &text, int &row, int &col) const
{
    if (!p_.AllowEdit)
        return false;
    const int c = geometry_.ColFromX(pos.x());
    const int r = geometry_.RowFromY(pos.y());
    if (c == -1 || r == -1)
        return false;
    const int index = model_.ColumnOrder()[size_t(c)];
    const ColumnRecord &column = model_.column(index);
    if (column.Locked || model_.rowAt(r).Flags.testFlag(RowFlag::Locked))
        return false;
    for (const QChar ch : text) {
        if (!inputFilterAccepts(column.InputFilter, ch.unicode()))
            return false;
    }
    row = r;
    col = index;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Press.

void VeziRado::gridMouseDown(int button, int shift, float x, float y)
{
    HideCellToolTip(true);
    model_.setLockedRowHit(false);
    model_.setLockedColHit(false);
    storedShift_ = shift;
    bool selectionChanged = false;

    if (button != 0 && model_.Rows() > 0) {
        lastKeyCode_ = 0;
        stopAutoScroll();
        // A divider armed by an earlier move counts only while the pointer still shows it.
        if (mousePointer_ != 9)
            resizeCol_ = -1;
        if (mousePointer_ != 7)
            resizeRow_ = -1;
        const int c = geometry_.ColFromX(x);
        const int r = resizeRow_ != -1 ? resizeRow_ : geometry_.RowFromY(y);
        // The cell under the pointer is where the press is, even when no move came first.
        mouseCol_ = c;
        mouseRow_ = geometry_.RowFromY(y);
        pressX_ = int(Units::roundHalfEven(x));

        if (button != 1) {
            pressedRow_ = r;
            const bool selected = r != -1 && model_.rowAt(r).Flags.testFlag(RowFlag::Selected);
            if (r != -1 && (!selected || model_.MultiSelect() == 0) && UpdateCell(false)) {
                model_.MakeCellCurrent(r, c, false, true);
                model_.SelectRowRange(false, -1, -1);
                model_.SelectRowRange(true, r, r);
                model_.repaint();
                selectionChanged = true;
            }
        } else {
            if (r != -1 && model_.RowLocked(r)) {
                model_.setLockedRowHit(true);
                model_.setLockedColHit(true);
                clickPending_ = false;
                return;
            }
            pressedRow_ = r;
            mouseDragging_ = true;
            if (y < geometry_.metrics().HeaderHeight) {
                headerPress();
            } else if (r >= 0 && UpdateCell(false)) {
                bool change = false;
                if (p_.RowCheckBoxes && x <= geometry_.RowNumberWidth() + 15) {
                    mouseDragging_ = false;
                    model_.setRowChecked(r, !model_.rowAt(r).Flags.testFlag(RowFlag::Checked));
                    emit RowCheckChanged(r);
                    change = true;
                } else {
                    if (c >= 0) {
                        const int col = model_.ColumnOrder()[size_t(c)];
                        if (model_.column(col).DataType == ColumnType::CheckBox && CanEdit()) {
                            const PixelRect box = geometry_.CellPartRect(r, c, geometry_.RowTop(r),
                                                                         CellPart::CheckBox);
                            const int size = geometry_.metrics().CheckBoxSize;
                            if (x >= box.left && x <= box.left + size && y >= box.top &&
                                y <= box.top + size) {
                                change = true;
                                bool cancel = false;
                                emit BeforeEdit(r, col, cancel);
                                if (!cancel) {
                                    const bool checked = !model_.CellChecked(r, col);
                                    QString value =
                                        checked ? QStringLiteral("True") : QStringLiteral("False");
                                    emit AfterEdit(r, col, value, cancel);
                                    if (!cancel)
                                        model_.setCellChecked(r, col, checked);
                                }
                            }
                        }
                    }
                    selectionChanged = pressSelects(r, shift);
                    if (model_.MakeCellCurrent(r, c, false, true))
                        change = true;
                }
                const bool buttonColumn =
                    c >= 0 &&
                    model_.column(model_.ColumnOrder()[size_t(c)]).DataType == ColumnType::Button;
                if (change || selectionChanged || buttonColumn)
                    model_.repaint();
            }
        }
        if (selectionChanged)
            emit SelectionChanged();
    }
    emit MouseDown(button, shift, x, y);
}

// The selection a left press on a row makes; answers whether it counts as a change.
bool VeziRado::pressSelects(int row, int shift)
{
    const bool was = model_.rowAt(row).Flags.testFlag(RowFlag::Selected);
    const int mode = model_.MultiSelect();
    const bool ctrl = shift & 2;
    if (mode == 2 || (mode != 0 && ctrl)) {
        model_.SelectRowRange(!was, row, row);
        return true;
    }
    if (mode != 0) {
        model_.SelectRowRange(false, -1, -1);
        if (shift & 1)
            model_.SelectRowRange(true, model_.Row(), row);
        else
            model_.SelectRowRange(true, row, row);
        return true;
    }
    if (ctrl) {
        model_.SelectRowRange(false, -1, -1);
        model_.SelectRowRange(!was, row, row);
        return true;
    }
    if (was)
        return false;
    model_.SelectRowRange(false, -1, -1);
    model_.SelectRowRange(true, row, row);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Move.

void VeziRado::gridMouseMove(int button, int shift, float x, float y)
{
    model_.setLockedColHit(false);
    if (dividerSearching_)
        return;
    // Leaving the grid takes its pointer back; the pointer starts over from the arrow.
    if (!viewport()->testAttribute(Qt::WA_SetCursor))
        mousePointer_ = 0;
    if (model_.Rows() > 0) {
        const int mc = geometry_.ColFromX(x);
        const int mr = geometry_.RowFromY(y);
        if (mc != mouseCol_ || mr != mouseRow_) {
            HideCellToolTip(mr == -1);
            mouseCol_ = mc;
            mouseRow_ = mr;
            if (mr != -1)
                CellToolTipHover(mr, mc);
        }
        headerFeedback(button, y);
        if (button & 1) {
            if (resizeCol_ != -1 || resizeRow_ != -1) {
                headerButtonMove(x, y);
            } else if (pressedRow_ != -1) {
                if (y < 0 && mouseDragging_) {
                    DragSelectScroll(1);
                } else if (y > viewport()->height() && mouseDragging_) {
                    DragSelectScroll(2);
                } else if (shift == 0 && mouseDragging_ && mouseRow_ >= 0) {
                    if (autoScrollDirection_ != 0) {
                        stopAutoScroll();
                    } else {
                        model_.SelectRowRange(false, -1, -1);
                        if (model_.MultiSelect() != 0)
                            model_.SelectRowRange(true, pressedRow_, mouseRow_);
                        else
                            model_.SelectRowRange(true, mouseRow_, mouseRow_);
                        if (model_.MakeCellCurrent(mouseRow_, mouseCol_, false, true)) {
                            emit SelectionChanged();
                            model_.repaint();
                        }
                    }
                }
            } else if (!editPending_) {
                headerButtonMove(x, y);
            }
        } else if (button == 0) {
            dividerSearch(x, y);
        }
        if (mouseRow_ != -1 && mouseCol_ != -1)
            SetHandPointer(
                model_.CellHandPointer(mouseRow_, model_.ColumnOrder()[size_t(mouseCol_)]));
    }
    emit MouseMove(button, shift, x, y);
}

void VeziRado::SetHandPointer(bool on)
{
    // Off takes back only the hand: a divider's sizing pointer stays while it is under the mouse.
    if (on && mousePointer_ != 99)
        setMousePointer(99);
    else if (!on && mousePointer_ == 99)
        setMousePointer(0);
}

void VeziRado::setMousePointer(int pointer)
{
    mousePointer_ = pointer;
    switch (pointer) {
    case 7:
        viewport()->setCursor(Qt::SizeVerCursor);
        break;
    case 9:
        viewport()->setCursor(Qt::SizeHorCursor);
        break;
    case 99:
        viewport()->setCursor(Qt::PointingHandCursor);
        break;
    default:
        viewport()->setCursor(Qt::ArrowCursor);
        break;
    }
}

void VeziRado::showSurface()
{
    viewport()->update();
}

// ---------------------------------------------------------------------------------------------
// Drag selection past the top or bottom edge.

void VeziRado::DragSelectScroll(int direction)
{
    // Steps run on a timer, so moves and the release arrive between them; asking again for
    // the edge already scrolling changes nothing, asking for the other edge turns it round.
    if (autoScrollDirection_ == direction && autoScrollTimer_->isActive())
        return;
    autoScrollDirection_ = direction;
    if (!dragSelectStep()) {
        stopAutoScroll();
        return;
    }
    autoScrollTimer_->start();
}

void VeziRado::stopAutoScroll()
{
    autoScrollDirection_ = 0;
    if (autoScrollTimer_)
        autoScrollTimer_->stop();
}

bool VeziRado::dragSelectStep()
{
    const int first = SBValueGet(Bar::Vertical);
    const int last = model_.LastRowIndex();
    const bool up = autoScrollDirection_ == 1;
    if (up ? first <= vertical_.minimum() : first >= vertical_.largestPosition())
        return false;
    model_.setCurrentRowPosition(first);
    SBValueLet(Bar::Vertical, stepRows(first, 1, !up));
    const int shown = SBValueGet(Bar::Vertical);
    if (shown == first)
        return false;
    const int n = up ? 0 : geometry_.RowsPerPage(viewport()->height());
    const int current = up ? shown : std::min(shown + n - 1, last);
    if (model_.MultiSelect() != 0) {
        model_.SelectRowRange(true, shown, std::min(shown + n, last));
    } else {
        model_.setCurrentRowPosition(current);
        model_.SelectRowRange(false, -1, -1);
        model_.SelectRowRange(true, current, current);
    }
    emit RowColChanged();
    emit SelectionChanged();
    emit Scroll();
    model_.repaint();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Release, click and double-click.

void VeziRado::gridMouseUp(int button, int shift, float x, float y)
{
    if (model_.Cols() == 0)
        return;
    const bool pressOnRow = pressedRow_ != -1;
    if (button == 1) {
        const int uc = geometry_.ColFromX(x);
        const int ur = geometry_.RowFromY(y);
        if (ur != -1 && model_.RowLocked(ur)) {
            model_.setLockedRowHit(true);
            model_.setLockedColHit(true);
            // The drag ends here too, so no button cell stays drawn pressed.
            mouseDragging_ = false;
            stopAutoScroll();
            model_.SelectedClearAll();
            model_.RowColSet(-1, -1);
            model_.repaint();
            if (uc != -1)
                emit ColumnClick(model_.ColumnOrder()[size_t(uc)]);
            return;
        }
        if (!headerRelease(uc, ur, shift) && pressOnRow)
            releaseOnCell(x, y);
    }

    mouseDragging_ = false;
    if (mouseRow_ != -1 && mouseCol_ != -1) {
        const int col = model_.ColumnOrder()[size_t(mouseCol_)];
        if (model_.column(col).DataType == ColumnType::Button) {
            model_.repaint();
            emit CellButtonClick(mouseRow_, col);
        }
        if (IsHandPointer())
            emit CellHandClick(mouseRow_, model_.Col(), storedShift_);
    } else if (!pressOnRow) {
        model_.repaint();
    }
    pressedHeader_ = -1;
    swapSource_ = -1;
    dragSource_ = -1;
    resizeCol_ = -1;
    stopAutoScroll();
    if (!pressOnRow) {
        DrawHeaders();
        showSurface();
    }
    emit MouseUp(button, shift, x, y);
    storedShift_ = shift;
}

void VeziRado::releaseOnCell(float x, float y)
{
    if (!VeziRadoModel::IsValidCell(mouseRow_, mouseCol_))
        return;
    lastKeyColumn_ = mouseCol_;
    const int col = model_.ColumnOrder()[size_t(mouseCol_)];
    const LayoutMetrics &m = geometry_.metrics();
    const PixelRect box =
        geometry_.CellPartRect(mouseRow_, mouseCol_, geometry_.RowTop(mouseRow_), CellPart::Image);
    const bool onImage = x >= box.left && x <= box.left + m.ImageWidth && y >= box.top &&
                         y <= box.top + m.ImageHeight;
    if (model_.CellImage(mouseRow_, col).toInt() != 0) {
        if (onImage)
            emit CellImageClick(mouseRow_, col);
    } else if (model_.CellWordWrap(mouseRow_, col) && p_.AllowWordWrap && expandImageNumber() > 0 &&
               onImage) {
        const int single = 2 * p_.MinVerticalOffset + m.HeaderTextHeight + 2;
        model_.setRowHeight(mouseRow_, model_.rowAt(mouseRow_).Height != single ? single : -1);
    }
    emit ColumnClick(col);
}

void VeziRado::gridClick()
{
    if (mouseRow_ != -1 && !model_.RowLocked(mouseRow_) && (p_.EditTrigger & Grid::Click))
        EditToggle(false);
    if (pressedRow_ != -1) {
        emit Click();
        emit CellClick(mouseRow_, MouseCol(), storedShift_);
    }
}

void VeziRado::gridDblClick()
{
    if (mouseRow_ != -1 && !model_.RowLocked(mouseRow_) && (p_.EditTrigger & Grid::DoubleClick)) {
        lastKeyCode_ = 113;
        EditToggle(false);
    }
    if (pressedRow_ == -1)
        dividerDoubleClick();
    else
        emit DblClick();
}
