#include "controls/grid/view/VeziRado.h"

#include <QHideEvent>
#include <QLabel>
#include <QWheelEvent>

// The events the grid watches on its own window: focus, mouse entering and leaving, the wheel
// and a change of the desktop's look. Each is handled after the window's own handling.

void VeziRado::hookOwnWindow()
{
    if (hook_.isHooked(this))
        return;
    hook_.HookWindow(this, 0,
                     [this](bool before, bool &handled, bool &result, QObject *window,
                            QEvent *event, qintptr &userValue) {
                         GridWindowProc(before, handled, result, window, event, userValue);
                     });
    for (const QEvent::Type type :
         {QEvent::FocusOut, QEvent::FocusIn, QEvent::Wheel, QEvent::MouseMove, QEvent::Enter,
          QEvent::Leave, QEvent::HoverMove, QEvent::ThemeChange})
        hook_.HookAddMessage(this, type, WindowHook::After);
}

bool VeziRado::viewportEvent(QEvent *event)
{
    // The viewport receives the mouse and the wheel; they count as the grid window's own. The
    // viewport is the grid's client area: the pointer leaving it onto the grid's own scroll bars
    // or frame has left the rows, though not the grid's widget.
    const auto handle = [this, event] {
        return viewportMouseEvent(event) || QAbstractScrollArea::viewportEvent(event);
    };
    if (event->type() == QEvent::Wheel || event->type() == QEvent::MouseMove ||
        event->type() == QEvent::Leave)
        return hook_.dispatch(this, event, handle);
    return handle();
}

void VeziRado::GridWindowProc(bool before, bool &handled, bool &result, QObject *window,
                              QEvent *event, qintptr &userValue)
{
    Q_UNUSED(before)
    Q_UNUSED(handled)
    Q_UNUSED(result)
    Q_UNUSED(window)
    Q_UNUSED(userValue)
    switch (event->type()) {
    case QEvent::FocusIn:
        if (p_.FocusRectHide)
            DrawGrid(model_.DrawingOn(), false);
        break;
    case QEvent::FocusOut:
        // Whatever the interface language, a grid that hides its focus hides it on leaving.
        if (p_.FocusRectHide)
            DrawGrid(model_.DrawingOn(), true);
        break;
    case QEvent::Wheel: {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        const Bar which =
            wheel->modifiers().testFlag(Qt::ControlModifier) ? Bar::Horizontal : Bar::Vertical;
        const int delta =
            wheel->angleDelta().y() != 0 ? wheel->angleDelta().y() : wheel->angleDelta().x();
        // One request per notch event, whatever the delta; toward the user scrolls down.
        scrollRequest(which, delta < 0 ? ScrollRequest::LineDown : ScrollRequest::LineUp, true);
        break;
    }
    case QEvent::MouseMove:
    case QEvent::Enter:
        mouseEntered();
        break;
    case QEvent::Leave:
        mouseLeft();
        break;
    case QEvent::ThemeChange:
        emit ThemeChanged();
        ApplyGridTheme();
        DrawGrid(model_.DrawingOn(), false);
        break;
    default:
        break;
    }
}

void VeziRado::mouseEntered()
{
    if (mouseInside_)
        return;
    mouseInside_ = true;
    emit MouseEnter();
}

void VeziRado::mouseLeft()
{
    if (!mouseInside_ || pointerUnderToolTip())
        return;
    mouseInside_ = false;
    HideCellToolTip(true);
    // No cell lies under a pointer that has gone: no hand, no mouse cell.
    setMousePointer(0);
    mouseRow_ = -1;
    mouseCol_ = -1;
    DrawHeaders(); // every header back in its normal state
    viewport()->update();
    emit MouseLeave();
}

void VeziRado::hideEvent(QHideEvent *event)
{
    // Hidden by itself or with its window (hidden, closed or minimised), the grid is left by the
    // pointer, though it may rest under the box: the box is a window of its own, which would stay
    // on the screen or come back with a restored window. A new hover brings it back.
    HideCellToolTip(true);
    mouseLeft();
    QAbstractScrollArea::hideEvent(event);
}
