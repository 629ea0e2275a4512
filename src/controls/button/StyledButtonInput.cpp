#include "controls/button/StyledButton.h"

#include "ui/DesktopCodes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcutEvent>
#include <QTimer>
#include <QTimerEvent>

namespace {

constexpr int HoverTimerInterval = 50;

QByteArray entryName(int number)
{
    return "sb_Obj" + QByteArray::number(number);
}

} // namespace

// ---- Clicks -----------------------------------------------------------------------------------

void StyledButton::clickHandling()
{
    if (lastButton_ != 1)
        return;
    switch (mode_) {
    case 0:
        emit Click();
        break;
    case 1:
        setValue(!value_);
        emit Click();
        break;
    case 2:
        if (value_)
            return;
        setValue(true);
        emit Click();
        break;
    default:
        break;
    }
}

void StyledButton::accessKeyPress(int keyAscii)
{
    if (!isEnabled() || !isVisible())
        return;
    const bool enterOrEscape = keyAscii == 13 || keyAscii == 27;
    if (enterOrEscape && mode_ != 0)
        return;
    if (!enterOrEscape && !hasFlag(ShowAsDefault))
        redrawButton();
    lastButton_ = 1;
    clickHandling();
}

// ---- Mouse ------------------------------------------------------------------------------------

bool StyledButton::pointerOnButton(QPointF position) const
{
    const QPoint p = position.toPoint();
    return rect().contains(p) && (mask().isEmpty() || mask().contains(p));
}

void StyledButton::mouseDownHandling(int button, int shift, QPointF position)
{
    lastButton_ = button;
    if (button == 1) {
        setFlag(Pressed, true);
        heldDown_ = true;
        drawingDelayed_ = false;
        redrawButton(); // the press grabs the mouse for the button until the release
    }
    emit MouseDown(button, shift, float(position.x()), float(position.y()));
}

void StyledButton::mousePressEvent(QMouseEvent *event)
{
    mouseDownHandling(DesktopCodes::mouseButtons(event->button()),
                      DesktopCodes::shiftCode(event->modifiers()), event->position());
}

void StyledButton::mouseMoveEvent(QMouseEvent *event)
{
    pointerInside_ = pointerOnButton(event->position());
    const int buttons = DesktopCodes::mouseButtons(event->buttons());
    if (!hoverTracking_ && pointerInside_) {
        setFlag(Hovering, true);
        emit MouseOnButton(true);
        hoverTracking_ = true;
        drawingDelayed_ = false;
        if (buttons == 1)
            heldDown_ = true;
        hoverTimer_.start(HoverTimerInterval, this);
        redrawButton();
    }
    emit MouseMove(buttons, DesktopCodes::shiftCode(event->modifiers()),
                   float(event->position().x()), float(event->position().y()));
}

void StyledButton::leaveEvent(QEvent *event)
{
    pointerInside_ = false;
    QWidget::leaveEvent(event);
}

void StyledButton::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == hoverTimer_.timerId())
        checkMouseLeave(event->timerId());
    else
        QWidget::timerEvent(event);
}

void StyledButton::checkMouseLeave(int)
{
    if (pointerInside_)
        return;
    hoverTimer_.stop();
    setFlag(Hovering, false);
    hoverTracking_ = false;
    drawingDelayed_ = false;
    emit MouseOnButton(false);
    heldDown_ = false;
    redrawButton();
}

void StyledButton::mouseReleaseEvent(QMouseEvent *event)
{
    const int button = DesktopCodes::mouseButtons(event->button());
    heldDown_ = false;
    if (button == 1) {
        setFlag(Pressed, false);
        drawingDelayed_ = false;
        if (mode_ == 0)
            redrawButton(); // check and option buttons redraw with their value change
    }
    emit MouseUp(button, DesktopCodes::shiftCode(event->modifiers()), float(event->position().x()),
                 float(event->position().y()));
    lastButton_ = button;
    // The host's click follows a release over the button, except the release that ends a
    // double click.
    if (suppressClick_)
        suppressClick_ = false;
    else if (pointerOnButton(event->position()))
        clickHandling();
}

void StyledButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPointF position = event->position();
    emit DoubleClick(lastButton_);
    if (lastButton_ == 1) {
        mouseDownHandling(1, 0, position);
        lastButton_ = -1;
    } else {
        emit MouseDown(1, 0, float(position.x()), float(position.y()));
    }
    suppressClick_ = true;
}

// ---- Keyboard ---------------------------------------------------------------------------------

void StyledButton::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    int code = DesktopCodes::keyCode(key);
    const int shift = DesktopCodes::shiftCode(event->modifiers());
    if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down) {
        passArrowToContainer(key, event->modifiers());
    } else if (key == Qt::Key_Space && !hasFlag(Pressed) && !event->isAutoRepeat()) {
        setFlag(Hovering, true);
        heldDown_ = true;
        setFlag(Pressed, true);
        redrawButton();
        if (!hoverTracking_)
            setFlag(Hovering, false);
    } else if ((key == Qt::Key_Return || key == Qt::Key_Enter) && mode_ == 0 &&
               !event->isAutoRepeat()) {
        // A focused command button is the window's default while it has the focus. A held key
        // clicks once: it must never save a record twice.
        accessKeyPress(13);
    }
    if (code != 0)
        emit KeyDown(code, shift);
    const QString text = event->text();
    if (!text.isEmpty() && text[0].unicode() < 256)
        emit KeyPress(text[0].unicode());
}

void StyledButton::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat())
        return;
    const int key = event->key();
    int code = DesktopCodes::keyCode(key);
    const int shift = DesktopCodes::shiftCode(event->modifiers());
    heldDown_ = false;
    if (key == Qt::Key_Space && hasFlag(Pressed)) {
        lastButton_ = 1;
        setFlag(Pressed, false);
        if (mode_ == 0) {
            redrawButton();
        } else {
            emit KeyUp(code, shift);
            code = 0;
        }
        clickHandling();
    } else if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up ||
               key == Qt::Key_Down) {
        code = 0;
        if (mode_ == 2 && !value_) {
            lastButton_ = 1;
            clickHandling();
        }
    } else if (key == Qt::Key_Shift) {
        code = 0;
    }
    if (code != 0)
        emit KeyUp(code, shift);
}

void StyledButton::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    updateDisplayAsDefault();
    if (mode_ == 2 && !value_ && !updateOptionGroup(2)) {
        lastButton_ = 1;
        clickHandling();
    }
}

void StyledButton::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    // A press the focus leaves behind is over: its release goes to another control and would
    // leave this button drawn pressed (and shifted) for good. No click follows.
    if (hasFlag(Pressed) || heldDown_) {
        setFlag(Pressed, false);
        heldDown_ = false;
        drawingDelayed_ = false;
    }
    updateDisplayAsDefault();
    redrawButton();
}

void StyledButton::passArrowToContainer(int key, Qt::KeyboardModifiers modifiers)
{
    // Posted, as the host posts it, to the container alone: a key the container does not take
    // must not travel on to a scroll area around it and scroll it.
    QPointer<QWidget> container(container_);
    if (!container)
        return;
    QTimer::singleShot(0, container, [container, key, modifiers] {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        static_cast<QObject *>(container.data())->event(&event);
    });
}

bool StyledButton::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Shortcut: {
        const int id = static_cast<QShortcutEvent *>(event)->shortcutId();
        if (id != 0 && id == accessKeyShortcut_) {
            // The access key moves the focus to the button first, so the control that had it
            // finishes its own work (its focus-out) before the click.
            if (focusPolicy() != Qt::NoFocus)
                setFocus(Qt::ShortcutFocusReason);
            accessKeyPress(accessKey_.toUpper().unicode());
        } else if (id != 0 && (id == enterShortcut_ || id == keypadEnterShortcut_))
            accessKeyPress(13);
        else if (id != 0 && id == escapeShortcut_)
            accessKeyPress(27);
        return true;
    }
    case QEvent::ShortcutOverride: {
        // Enter on a focused command button is its own, not the default button's.
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        if (mode_ == 0 && (keyEvent->key() == Qt::Key_Return || keyEvent->key() == Qt::Key_Enter) &&
            keyEvent->modifiers() == Qt::NoModifier) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::ParentChange:
        if (container_ != parentWidget()) {
            if (mode_ == 2)
                updateOptionGroup(-1);
            container_ = parentWidget();
            containerBackRGB_ = containerBackColour();
            if (mode_ == 2)
                updateOptionGroup(1);
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

// ---- Option groups ----------------------------------------------------------------------------

bool StyledButton::updateOptionGroup(int op)
{
    QWidget *container = container_;
    if (!container)
        return false;
    const int count = container->property("sb_OptCount").toInt();
    auto member = [container](int number) {
        return qobject_cast<StyledButton *>(
            container->property(entryName(number)).value<QObject *>());
    };

    if (value_ && (op == 1 || count > 0)) {
        for (int i = 1; i <= count; ++i) {
            StyledButton *other = member(i);
            if (other && other != this)
                other->setValue(false);
        }
    }

    switch (op) {
    case 1:
        container->setProperty("sb_OptCount", count + 1);
        container->setProperty(entryName(count + 1), QVariant::fromValue<QObject *>(this));
        break;
    case -1: {
        int found = 0;
        for (int i = 1; i <= count && !found; ++i)
            if (member(i) == this)
                found = i;
        // A button that is not registered leaves the others where they are.
        if (!found)
            break;
        for (int i = found; i < count; ++i)
            container->setProperty(entryName(i), container->property(entryName(i + 1)));
        container->setProperty(entryName(count), QVariant());
        container->setProperty("sb_OptCount", count == 1 ? QVariant() : QVariant(count - 1));
        break;
    }
    case 2:
        for (int i = 1; i <= count; ++i) {
            StyledButton *other = member(i);
            if (other && other->value())
                return true;
        }
        break;
    default:
        break;
    }
    return false;
}

// ---- The pressed shift ------------------------------------------------------------------------

bool StyledButton::offsetPressedWindow()
{
    if (mode_ != 0 || customClick_ < 1 || customClick_ > 8)
        return false;
    static const QPoint shifts[9] = {{0, 0},  {0, -1}, {1, -1}, {-1, -1}, {1, 1},
                                     {-1, 1}, {1, 0},  {0, 1},  {-1, 0}};
    const QPoint shift = shifts[customClick_];
    if (drawnPressed() && !hasFlag(WindowOffset)) {
        move(pos() + shift);
        setFlag(WindowOffset, true);
        prepareBackBuffer(false);
        update();
        return true;
    }
    if (hasFlag(WindowOffset) && !drawnPressed()) {
        move(pos() - shift);
        setFlag(WindowOffset, false);
    }
    return false;
}
