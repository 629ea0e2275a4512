#include "ui/KeyPreview.h"

#include "core/Colour.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace KeyPreview {

namespace {

// One application-wide filter hands each key to the handlers of the windows that hold the focus
// widget, innermost window first.
class Filter : public QObject
{
public:
    static Filter &instance()
    {
        static Filter *filter = [] {
            auto *f = new Filter;
            qApp->installEventFilter(f);
            return f;
        }();
        return *filter;
    }

    void add(QWidget *window, Handler handler) { handlers_.append({window, std::move(handler)}); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        // Each key arrives once at the focus widget; ignore its propagation to parents.
        if (widget != QApplication::focusWidget() && QApplication::focusWidget())
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (isUnusedAccessKey(key)) {
            // The control and the windows still see the key, without the letter it carries.
            QKeyEvent bare(key->type(), key->key(), key->modifiers(), key->nativeScanCode(),
                           key->nativeVirtualKey(), key->nativeModifiers(), QString(),
                           key->isAutoRepeat(), key->count());
            QCoreApplication::sendEvent(widget, &bare);
            key->accept(); // the copy has been round the widget and its parents already
            return true;
        }
        if (offer(key, widget))
            return true;
        // Esc with the focus outside the active child window (on the ribbon, the window's frame,
        // or nowhere when the window has no control that takes the focus) is still meant for it.
        if (key->key() == Qt::Key_Escape)
            if (QWidget *child = activeChildWindow(widget);
                child && child != widget && !child->isAncestorOf(widget))
                return offer(key, child);
        return false;
    }

private:
    // Hands the key to the handlers of the windows that hold the widget, innermost first.
    bool offer(QKeyEvent *key, QWidget *widget)
    {
        const auto handlers = handlers_; // a handler may close its window
        for (auto it = handlers.begin(); it != handlers.end(); ++it) {
            if (!it->first)
                continue;
            if (it->first == widget || it->first->isAncestorOf(widget))
                if (it->second(key))
                    return true;
        }
        return false;
    }

    // The window in the current child frame of the main window that holds the widget.
    static QWidget *activeChildWindow(QWidget *widget)
    {
        const auto *area = widget->window()->findChild<QMdiArea *>();
        if (!area)
            return nullptr;
        const QMdiSubWindow *frame = area->currentSubWindow();
        return frame ? frame->widget() : nullptr;
    }

    QList<QPair<QPointer<QWidget>, Handler>> handlers_;
};

} // namespace

bool isUnusedAccessKey(const QKeyEvent *event)
{
    // Ctrl and Alt together, or the group switch, are AltGr on some platforms: those type the
    // character they show.
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::GroupSwitchModifier);
    const QString text = event->text();
    return event->type() == QEvent::KeyPress && held == Qt::AltModifier && !text.isEmpty() &&
           text.at(0).isPrint();
}

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

bool isPlainEnter(const QKeyEvent *event)
{
    return isEnter(event) &&
           !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
}

void install(QWidget *window, Handler handler)
{
    Filter::instance().add(window, std::move(handler));
}

void installEnterChain(QWidget *window, const QList<QWidget *> &chain)
{
    QList<QPointer<QWidget>> guarded;
    for (QWidget *w : chain)
        guarded << w;
    install(window, [guarded](QKeyEvent *event) {
        if (!isPlainEnter(event))
            return false;
        QWidget *focus = QApplication::focusWidget();
        for (int i = 0; i + 1 < guarded.size(); ++i) {
            QWidget *w = guarded[i];
            if (w && (w == focus || w->isAncestorOf(focus))) {
                // Skip hidden or disabled steps, as the focus would.
                for (int j = i + 1; j < guarded.size(); ++j) {
                    if (guarded[j] && guarded[j]->isVisible() && guarded[j]->isEnabled()) {
                        guarded[j]->setFocus(Qt::TabFocusReason);
                        return true;
                    }
                }
                return true;
            }
        }
        return false;
    });
}

void installEscClose(QWidget *window, std::function<bool()> closePanel)
{
    QPointer<QWidget> guarded(window);
    install(window, [guarded, closePanel](QKeyEvent *event) {
        if (event->key() != Qt::Key_Escape || !guarded)
            return false;
        if (closePanel && closePanel())
            return true;
        if (auto *frame = qobject_cast<QMdiSubWindow *>(guarded->parentWidget()))
            frame->close();
        else
            guarded->close();
        return true;
    });
}

void setBackColour(QWidget *control, quint32 colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, Colour::toQColor(colour));
    palette.setColor(QPalette::Button, Colour::toQColor(colour));
    control->setPalette(palette);
    if (auto *combo = qobject_cast<QComboBox *>(control); combo && combo->lineEdit())
        combo->lineEdit()->setPalette(palette);
}

namespace {

class FocusColourFilter : public QObject
{
public:
    FocusColourFilter(QObject *parent, quint32 focus, quint32 blur)
        : QObject(parent), focus_(focus), blur_(blur)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            QWidget *control = static_cast<QWidget *>(watched);
            if (auto *edit = qobject_cast<QLineEdit *>(control);
                edit && qobject_cast<QComboBox *>(edit->parentWidget()))
                control = edit->parentWidget();
            setBackColour(control, event->type() == QEvent::FocusIn ? focus_ : blur_);
        }
        return false;
    }

private:
    quint32 focus_;
    quint32 blur_;
};

} // namespace

void installFocusColours(const QList<QWidget *> &controls, quint32 focusColour, quint32 blurColour)
{
    for (QWidget *control : controls) {
        auto *filter = new FocusColourFilter(control, focusColour, blurColour);
        control->installEventFilter(filter);
        if (auto *combo = qobject_cast<QComboBox *>(control); combo && combo->lineEdit())
            combo->lineEdit()->installEventFilter(filter);
        setBackColour(control, blurColour);
    }
}

} // namespace KeyPreview
