#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

// Routes chosen events of hooked objects to a handler, before and/or after the object's own
// handling, the way the grid once watched its window's messages. A "message" is a QEvent type.
class WindowHook : public QObject
{
public:
    static constexpr int MSG_SLOTS = 32;
    static constexpr int EVERY_MESSAGE = -1;

    enum When : int { Before = 1, After = 2, BeforeAndAfter = 3 };

    // A count followed by MSG_SLOTS entries (0 = free); count -1 means every message.
    struct MessageTable
    {
        int count = 0;
        std::array<int, MSG_SLOTS> entries{};

        bool contains(int message) const;
    };

    // before, handled (in/out), result (in/out), window, event, user value (in/out).
    using Handler = std::function<void(bool before, bool &handled, bool &result, QObject *window,
                                       QEvent *event, qintptr &userValue)>;

    struct Entry
    {
        QPointer<QObject> window;
        Handler handler;
        qintptr userValue = 0;
        int depth = 0;
        bool unhookRequested = false;
        MessageTable before;
        MessageTable after;
    };

    // `typeName` names the owner in error reports ("VeziRado").
    explicit WindowHook(const QString &typeName, QObject *parent = nullptr);
    ~WindowHook() override;

    bool HookWindow(QObject *window, qintptr userValue, Handler handler);
    void UnhookWindow(QObject *window);
    void UnhookAll();
    void HookAddMessage(QObject *window, int message, When when);
    void HookRemoveMessage(QObject *window, int message, When when);
    // The object's own handling of an event; false when the window is not hooked.
    bool HookCallPrevious(QObject *window, QEvent *event);
    qintptr HookUserParamGet(QObject *window);
    void HookUserParamLet(QObject *window, qintptr value);
    // Null, with the error reported, when the window is not hooked.
    Entry *HookEntryOf(QObject *window, const QString &routine = QStringLiteral("HookEntryOf"));

    // Table operations; a failure is reported under `routine`.
    void TableAddMsg(int message, MessageTable &table);
    void TableDelMsg(int message, MessageTable &table);

    // Runs one event of a hooked window through the hook contract: the before handler, the
    // object's own handling (`previous`) unless handled, the after handler. Events of a window
    // that is not hooked go straight to `previous`.
    bool dispatch(QObject *window, QEvent *event, const std::function<bool()> &previous);

    bool isHooked(QObject *window) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void report(const QString &routine, const QString &message) const;
    void release(Entry &entry);

    QString typeName_;
    // Null until the first window is hooked: the registry does not exist yet.
    std::unique_ptr<std::vector<std::unique_ptr<Entry>>> registry_;
};
