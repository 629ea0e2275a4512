#include "controls/grid/view/WindowHook.h"

#include "core/Dialogs.h"

#include <QThread>
#include <QtDebug>

bool WindowHook::MessageTable::contains(int message) const
{
    if (count == EVERY_MESSAGE)
        return true;
    for (int i = 0; i < count; ++i) {
        if (entries[size_t(i)] == message)
            return true;
    }
    return false;
}

WindowHook::WindowHook(const QString &typeName, QObject *parent)
    : QObject(parent), typeName_(typeName)
{
}

WindowHook::~WindowHook()
{
    if (registry_) {
        for (const auto &entry : *registry_)
            release(*entry);
    }
}

void WindowHook::report(const QString &routine, const QString &message) const
{
    const QString where = typeName_ + QLatin1Char('.') + routine;
    qWarning().noquote() << where + QStringLiteral(": ") + message;
    Dialogs::message(message + QLatin1Char('.'), Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation,
                     QStringLiteral("Error in ") + where);
}

bool WindowHook::isHooked(QObject *window) const
{
    if (!registry_ || !window)
        return false;
    for (const auto &entry : *registry_) {
        if (entry->window == window && !entry->unhookRequested)
            return true;
    }
    return false;
}

bool WindowHook::HookWindow(QObject *window, qintptr userValue, Handler handler)
{
    const QString routine = QStringLiteral("HookWindow");
    if (!window) {
        report(routine, QStringLiteral("Invalid window handle"));
        return false;
    }
    // Events of an object that lives in another thread never pass through this thread's filter.
    if (window->thread() != thread()) {
        report(routine, QStringLiteral("Window handle belongs to another process"));
        return false;
    }
    if (!handler) {
        report(routine, QStringLiteral("Callback method not found"));
        return false;
    }
    if (isHooked(window)) {
        report(routine, QStringLiteral("Window handle is already subclassed"));
        return false;
    }
    if (!registry_)
        registry_ = std::make_unique<std::vector<std::unique_ptr<Entry>>>();
    auto entry = std::make_unique<Entry>();
    entry->window = window;
    entry->handler = std::move(handler);
    entry->userValue = userValue;
    registry_->push_back(std::move(entry));
    window->installEventFilter(this);
    return true;
}

void WindowHook::release(Entry &entry)
{
    if (entry.window)
        entry.window->removeEventFilter(this);
}

void WindowHook::UnhookWindow(QObject *window)
{
    const QString routine = QStringLiteral("UnhookWindow");
    if (!registry_) {
        report(routine, QStringLiteral("Window handle isn't subclassed"));
        return;
    }
    Entry *entry = HookEntryOf(window, routine);
    if (!entry)
        return;
    entry->unhookRequested = true;
    entry->before = {};
    entry->after = {};
    // An entry whose window is still inside its own handling goes when that handling returns.
    if (entry->depth > 0)
        return;
    release(*entry);
    std::erase_if(*registry_, [entry](const auto &e) { return e.get() == entry; });
}

void WindowHook::UnhookAll()
{
    if (!registry_)
        return;
    for (int i = int(registry_->size()) - 1; i >= 0; --i) {
        Entry &entry = *(*registry_)[size_t(i)];
        if (!entry.unhookRequested)
            UnhookWindow(entry.window);
    }
    bool running = false;
    for (const auto &entry : *registry_)
        running = running || entry->depth > 0;
    if (!running)
        registry_.reset();
}

WindowHook::Entry *WindowHook::HookEntryOf(QObject *window, const QString &routine)
{
    if (!registry_) {
        report(routine, QStringLiteral("Subclassing hasn't been started"));
        return nullptr;
    }
    for (const auto &entry : *registry_) {
        if (entry->window == window && window && !entry->unhookRequested)
            return entry.get();
    }
    report(routine, QStringLiteral("Window handle isn't subclassed"));
    return nullptr;
}

void WindowHook::HookAddMessage(QObject *window, int message, When when)
{
    Entry *entry = HookEntryOf(window, QStringLiteral("HookAddMessage"));
    if (!entry)
        return;
    if (when & Before)
        TableAddMsg(message, entry->before);
    if (when & After)
        TableAddMsg(message, entry->after);
}

void WindowHook::HookRemoveMessage(QObject *window, int message, When when)
{
    Entry *entry = HookEntryOf(window, QStringLiteral("HookRemoveMessage"));
    if (!entry)
        return;
    if (when & Before)
        TableDelMsg(message, entry->before);
    if (when & After)
        TableDelMsg(message, entry->after);
}

bool WindowHook::HookCallPrevious(QObject *window, QEvent *event)
{
    if (!HookEntryOf(window, QStringLiteral("HookCallPrevious")))
        return false;
    return window->event(event);
}

qintptr WindowHook::HookUserParamGet(QObject *window)
{
    const Entry *entry = HookEntryOf(window, QStringLiteral("HookUserParamGet"));
    return entry ? entry->userValue : 0;
}

void WindowHook::HookUserParamLet(QObject *window, qintptr value)
{
    if (Entry *entry = HookEntryOf(window, QStringLiteral("HookUserParamLet")))
        entry->userValue = value;
}

void WindowHook::TableAddMsg(int message, MessageTable &table)
{
    if (message == EVERY_MESSAGE) {
        table.count = EVERY_MESSAGE;
        return;
    }
    if (table.count == EVERY_MESSAGE)
        return;
    if (table.count > MSG_SLOTS - 1) {
        report(QStringLiteral("TableAddMsg"),
               QStringLiteral("Message table overflow. Either increase the value of Const "
                              "MSG_SLOTS or use EVERY_MESSAGE instead of specific message values"));
        return;
    }
    for (int i = 0; i < table.count; ++i) {
        int &slot = table.entries[size_t(i)];
        if (slot == 0) {
            slot = message;
            return;
        }
        if (slot == message)
            return;
    }
    table.entries[size_t(table.count)] = message;
    ++table.count;
}

void WindowHook::TableDelMsg(int message, MessageTable &table)
{
    if (message == EVERY_MESSAGE) {
        table.count = 0;
        return;
    }
    for (int i = 0; i < std::max(table.count, 0); ++i) {
        if (table.entries[size_t(i)] == message) {
            table.entries[size_t(i)] = 0;
            return;
        }
    }
    report(QStringLiteral("TableDelMsg"), QStringLiteral("Message &H") +
                                              QString::number(message, 16).toUpper() +
                                              QStringLiteral(" not found in table"));
}

bool WindowHook::dispatch(QObject *window, QEvent *event, const std::function<bool()> &previous)
{
    Entry *entry = nullptr;
    if (registry_) {
        for (const auto &e : *registry_) {
            if (e->window == window && !e->unhookRequested)
                entry = e.get();
        }
    }
    if (!entry)
        return previous();

    const int message = int(event->type());
    bool handled = false;
    bool result = false;
    if (entry->before.contains(message))
        entry->handler(true, handled, result, window, event, entry->userValue);
    if (!handled) {
        ++entry->depth;
        result = previous();
        --entry->depth;
    }
    if (entry->after.contains(message) && !entry->unhookRequested)
        entry->handler(false, handled, result, window, event, entry->userValue);
    if (entry->unhookRequested && entry->depth == 0) {
        release(*entry);
        std::erase_if(*registry_, [entry](const auto &e) { return e.get() == entry; });
    }
    return result;
}

bool WindowHook::eventFilter(QObject *watched, QEvent *event)
{
    if (!isHooked(watched))
        return false;
    const Entry *entry = nullptr;
    for (const auto &e : *registry_) {
        if (e->window == watched && !e->unhookRequested)
            entry = e.get();
    }
    const int message = int(event->type());
    if (!entry->before.contains(message) && !entry->after.contains(message))
        return false;
    // The filter runs the object's own handling itself, so the after handler sees its outcome;
    // returning true keeps the event from being handled a second time.
    dispatch(watched, event, [watched, event] { return watched->event(event); });
    return true;
}
