#include "ui/WindowRegistry.h"

#include <QEvent>
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace WindowRegistry {

namespace {

struct Entry
{
    Factory factory;
    Placement placement = Placement::TopLeft;
};

struct State
{
    QHash<QString, Entry> factories;
    QList<QPair<QString, QPointer<QWidget>>> loaded; // load order
    QPointer<QMdiArea> area;
};

State &state()
{
    static State s;
    return s;
}

void prune()
{
    auto &loaded = state().loaded;
    loaded.erase(std::remove_if(loaded.begin(), loaded.end(),
                                [](const auto &p) { return p.second.isNull(); }),
                 loaded.end());
}

void place(QWidget *window, Placement placement)
{
    QMdiArea *area = state().area;
    QWidget *frame = window->parentWidget() && qobject_cast<QMdiSubWindow *>(window->parentWidget())
                         ? window->parentWidget()
                         : window;
    if (!area || frame == window)
        return;
    switch (placement) {
    case Placement::TopLeft:
        frame->move(0, 0);
        break;
    case Placement::Centred: {
        const QSize client = area->viewport()->size();
        frame->move(std::max(0, (client.width() - frame->width()) / 2),
                    std::max(0, (client.height() - frame->height()) / 2));
        break;
    }
    case Placement::Fill:
        frame->setGeometry(QRect(QPoint(0, 0), area->viewport()->size()));
        break;
    case Placement::Alone:
        break;
    }
}

// The child window the focus may go back to: the one it had there, else the first control that
// takes it, else the frame.
QWidget *focusWithin(QMdiSubWindow *frame)
{
    const auto takesFocus = [frame](QWidget *widget) {
        return widget && frame->isAncestorOf(widget) && widget->isVisible() &&
               widget->isEnabled() && widget->focusPolicy() != Qt::NoFocus;
    };
    if (QWidget *last = frame->widget() ? frame->widget()->focusWidget() : nullptr;
        takesFocus(last))
        return last;
    for (QWidget *next = frame->nextInFocusChain(); next && next != frame;
         next = next->nextInFocusChain())
        if (takesFocus(next) && (next->focusPolicy() & Qt::TabFocus))
            return next;
    return frame;
}

// When the main window comes back to the front (after a message box, a file dialog or another
// program), Qt gives the focus back to the control that had it last, or to the first control of
// the main window when that one was hidden meanwhile; either may lie in another child window than
// the active one, which then jumps to the front. A window shown while the box was up, or the
// window the user was working in, must stay in front: the focus goes into the active one first.
class KeepActiveChild : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::WindowActivate)
            return false;
        auto *area = qobject_cast<QMdiArea *>(watched);
        QMdiSubWindow *active = area ? area->activeSubWindow() : nullptr;
        if (!active || !active->isVisible())
            return false;
        QWidget *focus = area->window()->focusWidget();
        if (focus && focus->isVisible() && active->isAncestorOf(focus))
            return false;
        focusWithin(active)->setFocus(Qt::ActiveWindowFocusReason);
        return false;
    }
};

} // namespace

void registerWindow(const QString &name, Factory factory, Placement placement)
{
    state().factories.insert(name, {std::move(factory), placement});
}

bool isRegistered(const QString &name)
{
    return state().factories.contains(name);
}

QWidget *find(const QString &name)
{
    prune();
    for (const auto &p : state().loaded)
        if (p.first == name)
            return p.second;
    return nullptr;
}

QWidget *load(const QString &name)
{
    if (QWidget *open = find(name))
        return open;
    const auto it = state().factories.constFind(name);
    if (it == state().factories.constEnd())
        return nullptr;
    QWidget *window = it->factory();
    window->setObjectName(name);
    window->setAttribute(Qt::WA_DeleteOnClose);
    state().loaded.append({name, window});
    QMdiArea *area = state().area;
    if (area && it->placement != Placement::Alone) {
        QMdiSubWindow *frame = area->addSubWindow(window);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->setObjectName(name + QLatin1String("Frame"));
        // Closing the window closes its frame too.
        QObject::connect(window, &QObject::destroyed, frame, [frame] { frame->close(); });
        frame->adjustSize();
    }
    return window;
}

QWidget *show(const QString &name)
{
    QWidget *window = load(name);
    if (!window)
        return nullptr;
    const Placement placement = state().factories.value(name).placement;
    auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget());
    const bool firstShow = !window->isVisible();
    if (frame) {
        frame->show();
        if (firstShow)
            place(window, placement);
        frame->raise();
        if (state().area)
            state().area->setActiveSubWindow(frame);
    }
    window->show();
    window->raise();
    window->activateWindow();
    // The window just shown takes the keyboard, so that its access keys work before any click:
    // Qt leaves the focus where it was (the ribbon, another window) when the window has none yet
    // or the control that had it was hidden meanwhile (Print of the sticker preview).
    if (frame) {
        QWidget *focus = frame->window()->focusWidget();
        if (!focus || !frame->isAncestorOf(focus) || !focus->isVisible())
            focusWithin(frame)->setFocus(Qt::ActiveWindowFocusReason);
    }
    return window;
}

void close(const QString &name)
{
    if (QWidget *window = find(name)) {
        if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
            frame->close();
        else
            window->close();
    }
}

QStringList loadOrder()
{
    prune();
    QStringList names;
    for (const auto &p : state().loaded)
        names << p.first;
    return names;
}

QString lastLoaded()
{
    const QStringList names = loadOrder();
    return names.isEmpty() ? QString() : names.last();
}

void setMdiArea(QMdiArea *area)
{
    state().area = area;
    const QString keeper = QStringLiteral("KeepActiveChild");
    if (area && !area->findChild<QObject *>(keeper, Qt::FindDirectChildrenOnly)) {
        auto *filter = new KeepActiveChild(area);
        filter->setObjectName(keeper);
        area->installEventFilter(filter);
    }
}

QMdiArea *mdiArea()
{
    return state().area;
}

void reset()
{
    for (const auto &p : state().loaded)
        delete p.second.data();
    state().loaded.clear();
    state().factories.clear();
    state().area = nullptr;
}

} // namespace WindowRegistry
