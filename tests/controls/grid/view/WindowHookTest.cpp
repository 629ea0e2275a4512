#include "GridViewTestSupport.h"

#include "ScriptedDialogs.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace GridViewTest;

namespace {

struct Recorder
{
    std::vector<std::pair<bool, int>> calls; // before?, event type
    WindowHook::Handler handler()
    {
        return [this](bool before, bool &, bool &, QObject *, QEvent *event, qintptr &value) {
            calls.emplace_back(before, int(event->type()));
            ++value;
        };
    }
};

} // namespace

TEST(WindowHook, TablesAddRemoveAndOverflow)
{
    WindowHook hook("VeziRado");
    WindowHook::MessageTable table;
    hook.TableAddMsg(7, table);
    hook.TableAddMsg(7, table);
    hook.TableAddMsg(8, table);
    EXPECT_EQ(table.count, 2);
    hook.TableDelMsg(7, table);
    EXPECT_FALSE(table.contains(7));
    hook.TableAddMsg(9, table); // into the freed slot
    EXPECT_EQ(table.count, 2);
    EXPECT_EQ(table.entries[0], 9);

    for (int m = 100; table.count < WindowHook::MSG_SLOTS; ++m)
        hook.TableAddMsg(m, table);
    const WindowHook::MessageTable full = table;
    ScriptedDialogs::current()->expectOk(2);
    hook.TableAddMsg(5000, table);
    EXPECT_EQ(table.entries, full.entries);
    EXPECT_EQ(ScriptedDialogs::current()->last().text,
              "Message table overflow. Either increase the value of Const MSG_SLOTS or use "
              "EVERY_MESSAGE instead of specific message values.");
    EXPECT_EQ(ScriptedDialogs::current()->last().title, "Error in VeziRado.TableAddMsg");
    EXPECT_EQ(ScriptedDialogs::current()->last().icon, Dialogs::Icon::Exclamation);
    hook.TableDelMsg(0x2A3, table);
    EXPECT_EQ(ScriptedDialogs::current()->last().text, "Message &H2A3 not found in table.");

    hook.TableAddMsg(WindowHook::EVERY_MESSAGE, table);
    EXPECT_TRUE(table.contains(12345));
    hook.TableDelMsg(WindowHook::EVERY_MESSAGE, table);
    EXPECT_EQ(table.count, 0);
}

TEST(WindowHook, HandlerRunsAroundTheObjectsOwnHandling)
{
    WindowHook hook("VeziRado");
    QObject window;
    Recorder recorder;
    ScriptedDialogs::current()->expectOk(1);
    hook.UnhookWindow(&window);
    EXPECT_EQ(ScriptedDialogs::current()->last().text, "Window handle isn't subclassed.");

    ASSERT_TRUE(hook.HookWindow(&window, 41, recorder.handler()));
    hook.HookAddMessage(&window, QEvent::User, WindowHook::BeforeAndAfter);
    hook.HookAddMessage(&window, QEvent::User + 1, WindowHook::After);
    QEvent first(QEvent::User);
    QCoreApplication::sendEvent(&window, &first);
    QEvent second(QEvent::Type(QEvent::User + 1));
    QCoreApplication::sendEvent(&window, &second);
    QEvent unwatched(QEvent::Type(QEvent::User + 2));
    QCoreApplication::sendEvent(&window, &unwatched);
    const std::vector<std::pair<bool, int>> expected = {
        {true, QEvent::User}, {false, QEvent::User}, {false, QEvent::User + 1}};
    EXPECT_EQ(recorder.calls, expected);
    EXPECT_EQ(hook.HookUserParamGet(&window), 44);

    ScriptedDialogs::current()->expectOk(3);
    EXPECT_FALSE(hook.HookWindow(&window, 0, recorder.handler()));
    EXPECT_EQ(ScriptedDialogs::current()->last().text, "Window handle is already subclassed.");
    EXPECT_FALSE(hook.HookWindow(nullptr, 0, recorder.handler()));
    EXPECT_EQ(ScriptedDialogs::current()->last().text, "Invalid window handle.");
    QObject other;
    EXPECT_FALSE(hook.HookWindow(&other, 0, {}));
    EXPECT_EQ(ScriptedDialogs::current()->last().text, "Callback method not found.");

    hook.UnhookAll();
    QCoreApplication::sendEvent(&window, &first);
    EXPECT_EQ(recorder.calls.size(), 3u);
    ScriptedDialogs::current()->expectOk(1);
    EXPECT_EQ(hook.HookUserParamGet(&window), 0);
    EXPECT_EQ(ScriptedDialogs::current()->last().text, "Subclassing hasn't been started.");
}

TEST(WindowHook, GridRaisesMouseEnterAndLeaveOnce)
{
    Host host;
    VeziRado &grid = *host.grid;
    host.window.show();
    QSignalSpy entered(&grid, &VeziRado::MouseEnter);
    QSignalSpy left(&grid, &VeziRado::MouseLeave);
    for (int x = 5; x < 50; x += 10) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 5),
                         grid.viewport()->mapToGlobal(QPointF(x, 5)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(grid.viewport(), &move);
    }
    EXPECT_EQ(entered.count(), 1);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&grid, &leave);
    QCoreApplication::sendEvent(&grid, &leave);
    EXPECT_EQ(left.count(), 1);
    EXPECT_FALSE(grid.findChild<QWidget *>("picToolTip")->isVisible());

    QSignalSpy themed(&grid, &VeziRado::ThemeChanged);
    QEvent theme(QEvent::ThemeChange);
    QCoreApplication::sendEvent(&grid, &theme);
    EXPECT_EQ(themed.count(), 1);
}
