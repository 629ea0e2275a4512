#include "ButtonTestSupport.h"
#include "QtPrinters.h"
#include "WaitFor.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

using namespace ButtonTest;

namespace {

// Records the order of the button's events.
struct EventLog
{
    explicit EventLog(StyledButton *button)
    {
        QObject::connect(button, &StyledButton::Click, [this] { log << "Click"; });
        QObject::connect(button, &StyledButton::KeyUp,
                         [this](int code, int) { log << QStringLiteral("KeyUp%1").arg(code); });
        QObject::connect(button, &StyledButton::MouseDown, [this](int b, int, float, float) {
            log << QStringLiteral("Down%1").arg(b);
        });
        QObject::connect(button, &StyledButton::MouseUp, [this](int b, int, float, float) {
            log << QStringLiteral("Up%1").arg(b);
        });
        QObject::connect(button, &StyledButton::DoubleClick,
                         [this](int b) { log << QStringLiteral("Double%1").arg(b); });
        QObject::connect(button, &StyledButton::MouseOnButton,
                         [this](bool on) { log << (on ? "On" : "Off"); });
    }
    QStringList log;
};

// Counts the timer events a widget receives.
struct TimerTicks : QObject
{
    explicit TimerTicks(QObject *watched) { watched->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Timer)
            ++count;
        return false;
    }
    int count = 0;
};

QObject *entry(QWidget *container, int number)
{
    return container->property(QByteArray("sb_Obj") + QByteArray::number(number))
        .value<QObject *>();
}

} // namespace

TEST(StyledButtonInputTest, ClickRulesPerMode)
{
    QWidget window;
    StyledButton button(&window);
    window.show();
    EventLog events(&button);

    press(&button);
    release(&button);
    EXPECT_EQ(events.log.join(','), QStringLiteral("Down1,Up1,Click"));

    button.setMode(1);
    events.log.clear();
    press(&button);
    release(&button);
    EXPECT_TRUE(button.value());
    press(&button);
    release(&button);
    EXPECT_FALSE(button.value());
    EXPECT_EQ(events.log.count(QStringLiteral("Click")), 2);

    events.log.clear();
    press(&button, Qt::RightButton);
    release(&button, Qt::RightButton);
    EXPECT_FALSE(button.value());
    EXPECT_FALSE(events.log.contains(QStringLiteral("Click")));

    // A release off the button is no click.
    button.setMode(0);
    events.log.clear();
    press(&button);
    release(&button, Qt::LeftButton, QPoint(button.width() + 5, 2));
    EXPECT_FALSE(events.log.contains(QStringLiteral("Click")));
}

TEST(StyledButtonInputTest, DoubleClickGivesOneClickAndASecondPress)
{
    QWidget window;
    StyledButton button(&window);
    window.show();
    EventLog events(&button);
    // The host reports a double click as press, release, double click, release.
    press(&button);
    release(&button);
    sendMouse(&button, QEvent::MouseButtonDblClick, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    release(&button);
    EXPECT_EQ(events.log.join(','), QStringLiteral("Down1,Up1,Click,Double1,Down1,Up1"));
}

TEST(StyledButtonInputTest, SpaceClicksAndOrdersKeyUpByMode)
{
    QWidget window;
    StyledButton button(&window);
    window.show();
    EventLog events(&button);

    QTest::keyPress(&button, Qt::Key_Space);
    EXPECT_TRUE(button.stateFlags() & StyledButton::Pressed);
    QTest::keyRelease(&button, Qt::Key_Space);
    EXPECT_EQ(events.log.join(','), QStringLiteral("Click,KeyUp32"));

    button.setMode(1);
    events.log.clear();
    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_EQ(events.log.join(','), QStringLiteral("KeyUp32,Click"));
    EXPECT_TRUE(button.value());
}

TEST(StyledButtonInputTest, EnterAndEscapeClickDefaultAndCancelCommandButtons)
{
    QWidget window;
    auto *save = new StyledButton(&window);
    auto *close = new StyledButton(&window);
    auto *check = new StyledButton(&window);
    auto *other = new StyledButton(&window);
    check->setMode(1);
    save->setDefault(true);
    close->setCancel(true);
    window.show();
    EXPECT_TRUE(activate(&window));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy saveClicks(save, &StyledButton::Click);
    QSignalSpy closeClicks(close, &StyledButton::Click);
    QSignalSpy otherClicks(other, &StyledButton::Click);

    check->setFocus();
    QTest::keyClick(check, Qt::Key_Return);
    EXPECT_EQ(saveClicks.count(), 1);
    EXPECT_FALSE(check->value()); // Enter does nothing for a check button itself
    QTest::keyClick(check, Qt::Key_Escape);
    EXPECT_EQ(closeClicks.count(), 1);

    // A focused command button takes Enter for itself.
    other->setFocus();
    EXPECT_TRUE(other->stateFlags() & StyledButton::ShowAsDefault);
    EXPECT_FALSE(save->stateFlags() & StyledButton::ShowAsDefault);
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(otherClicks.count(), 1);
    EXPECT_EQ(saveClicks.count(), 1);

    // Hidden or disabled buttons raise nothing.
    check->setFocus();
    EXPECT_TRUE(save->stateFlags() & StyledButton::ShowAsDefault);
    save->setEnabled(false);
    QTest::keyClick(check, Qt::Key_Return);
    EXPECT_EQ(saveClicks.count(), 1);
}

TEST(StyledButtonInputTest, EnterClicksTheDefaultButtonOfTheActiveChildWindowOnly)
{
    QMdiArea area;
    auto addWindow = [&area](StyledButton *&button, QLineEdit *&edit) {
        auto *form = new QWidget;
        auto *layout = new QVBoxLayout(form);
        edit = new QLineEdit(form);
        button = new StyledButton(form);
        layout->addWidget(edit);
        layout->addWidget(button);
        button->setDefault(true);
        return area.addSubWindow(form);
    };
    StyledButton *saveA = nullptr, *saveB = nullptr;
    QLineEdit *editA = nullptr, *editB = nullptr;
    QMdiSubWindow *windowA = addWindow(saveA, editA);
    addWindow(saveB, editB)->show();
    windowA->show();
    area.resize(600, 400);
    area.show();
    EXPECT_TRUE(activate(&area));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&area));
    area.setActiveSubWindow(windowA);
    editA->setFocus();
    QSignalSpy clicksA(saveA, &StyledButton::Click);
    QSignalSpy clicksB(saveB, &StyledButton::Click);
    QTest::keyClick(editA, Qt::Key_Return);
    EXPECT_EQ(clicksA.count(), 1);
    EXPECT_EQ(clicksB.count(), 0);
}

TEST(StyledButtonInputTest, AccessKeyClicks)
{
    QWidget window;
    auto *button = new StyledButton(&window);
    button->setCaption(QStringLiteral("&Print"));
    auto *option = new StyledButton(&window);
    window.show();
    EXPECT_TRUE(activate(&window));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    option->setFocus();
    QSignalSpy clicks(button, &StyledButton::Click);
    // The control that had the focus has lost it by the time the click runs.
    bool focusedAtClick = false;
    QObject::connect(button, &StyledButton::Click, [&] { focusedAtClick = button->hasFocus(); });
    QTest::keyClick(option, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(focusedAtClick);
    button->setVisible(false);
    QTest::keyClick(option, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(StyledButtonInputTest, OptionGroupsKeepOneSelectedPerContainer)
{
    QWidget window;
    QWidget frame(&window);
    auto *a = new StyledButton(&window);
    auto *b = new StyledButton(&window);
    auto *c = new StyledButton(&window);
    auto *other = new StyledButton(&frame);
    for (StyledButton *button : {a, b, c, other})
        button->setMode(2);
    window.show();

    EXPECT_EQ(window.property("sb_OptCount").toInt(), 3);
    EXPECT_EQ(entry(&window, 1), a);
    EXPECT_EQ(entry(&window, 3), c);
    EXPECT_EQ(frame.property("sb_OptCount").toInt(), 1);

    QSignalSpy aClicks(a, &StyledButton::Click);
    press(a);
    release(a);
    other->setValue(true);
    EXPECT_TRUE(a->value());
    press(a);
    release(a);
    EXPECT_EQ(aClicks.count(), 1); // clicking a selected option button raises nothing
    press(b);
    release(b);
    EXPECT_FALSE(a->value());
    EXPECT_TRUE(b->value());
    EXPECT_TRUE(other->value()); // the frame is a group of its own

    b->setMode(0);
    EXPECT_FALSE(b->value());
    EXPECT_EQ(window.property("sb_OptCount").toInt(), 2);
    EXPECT_EQ(entry(&window, 1), a);
    EXPECT_EQ(entry(&window, 2), c);
    EXPECT_FALSE(window.property("sb_Obj3").isValid());

    // An ended option button leaves its group: nothing dangles.
    delete c;
    EXPECT_EQ(window.property("sb_OptCount").toInt(), 1);
    EXPECT_FALSE(window.property("sb_Obj2").isValid());
    delete other;
    EXPECT_FALSE(frame.property("sb_OptCount").isValid());
    a->setValue(true); // would reach the ended button if it were still registered
    EXPECT_TRUE(a->value());
}

TEST(StyledButtonInputTest, FocusAndArrowsSelectOptionButtons)
{
    QWidget window;
    auto *a = new StyledButton(&window);
    auto *b = new StyledButton(&window);
    a->setMode(2);
    b->setMode(2);
    QSignalSpy aClicks(a, &StyledButton::Click);
    window.show();
    EXPECT_TRUE(activate(&window));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    a->setFocus(); // nothing selected yet: focus selects
    EXPECT_TRUE(a->value());
    EXPECT_EQ(aClicks.count(), 1);
    b->setFocus(); // another one is selected: focus alone changes nothing
    EXPECT_FALSE(b->value());
    QTest::keyClick(b, Qt::Key_Down);
    EXPECT_TRUE(b->value());
    EXPECT_FALSE(a->value());
}

TEST(StyledButtonInputTest, HoverRaisesMouseOnButtonOnceAndEndsOnTheTimer)
{
    QWidget window;
    StyledButton button(&window);
    window.show();
    EventLog events(&button);
    QSignalSpy moves(&button, &StyledButton::MouseMove);
    moveOnto(&button, QPoint(5, 5));
    moveOnto(&button, QPoint(6, 5));
    EXPECT_EQ(moves.count(), 2);
    EXPECT_EQ(events.log.join(','), QStringLiteral("On"));
    EXPECT_TRUE(button.isHoverTracking());
    TimerTicks ticks(&button);
    ASSERT_TRUE(waitFor([&] { return ticks.count >= 2; })); // the hover timer has checked twice
    EXPECT_TRUE(button.isHoverTracking());                  // still over it
    leave(&button);
    EXPECT_TRUE(waitFor([&] { return !button.isHoverTracking(); }));
    EXPECT_EQ(events.log.join(','), QStringLiteral("On,Off"));
    EXPECT_FALSE(button.stateFlags() & StyledButton::Hovering);
}

TEST(StyledButtonInputTest, CustomClickShiftsThePressedButtonByOnePixel)
{
    QWidget window;
    window.resize(200, 100);
    StyledButton button(&window);
    button.setGeometry(20, 30, 80, 24);
    button.setCustomClick(4);
    window.show();
    moveOnto(&button);
    press(&button);
    EXPECT_EQ(button.geometry(), QRect(21, 31, 80, 24));
    release(&button);
    EXPECT_EQ(button.geometry(), QRect(20, 30, 80, 24));

    // Held down while the pointer leaves: back in place on the hover timer.
    moveOnto(&button);
    press(&button);
    EXPECT_EQ(button.pos(), QPoint(21, 31));
    leave(&button);
    EXPECT_TRUE(waitFor([&] { return button.pos() == QPoint(20, 30); }));
    release(&button, Qt::LeftButton, QPoint(200, 200));
}

TEST(StyledButtonInputTest, APressNeverOutlivesTheFocus)
{
    QWidget window;
    window.resize(300, 100);
    auto *first = new StyledButton(&window);
    auto *second = new StyledButton(&window);
    first->setGeometry(20, 30, 80, 24);
    second->setGeometry(120, 30, 80, 24);
    first->setCustomClick(4);
    window.show();
    EXPECT_TRUE(activate(&window));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy firstClicks(first, &StyledButton::Click);
    QSignalSpy secondClicks(second, &StyledButton::Click);

    // Space pressed on the first button with the pointer over it, released on the second.
    moveOnto(first);
    first->setFocus();
    QTest::keyPress(first, Qt::Key_Space);
    EXPECT_EQ(first->pos(), QPoint(21, 31));
    second->setFocus();
    QTest::keyRelease(second, Qt::Key_Space);
    EXPECT_FALSE(first->stateFlags() & StyledButton::Pressed);
    EXPECT_EQ(first->pos(), QPoint(20, 30));
    EXPECT_EQ(firstClicks.count(), 0);
    EXPECT_EQ(secondClicks.count(), 0);
    // It clicks as ever afterwards.
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Space);
    EXPECT_EQ(firstClicks.count(), 1);
    EXPECT_EQ(first->pos(), QPoint(20, 30));
}

TEST(StyledButtonInputTest, AHeldKeyClicksOnce)
{
    QWidget window;
    auto *edit = new QLineEdit(&window);
    auto *save = new StyledButton(&window);
    auto *other = new StyledButton(&window);
    save->setDefault(true);
    save->move(0, 40);
    other->move(0, 80);
    other->setCaption(QStringLiteral("&Other"));
    window.show();
    EXPECT_TRUE(activate(&window));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy saveClicks(save, &StyledButton::Click);
    QSignalSpy otherClicks(other, &StyledButton::Click);
    const auto repeat = [](QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        // What the platform sends while a key is held: presses marked as auto-repeat, which a
        // shortcut sees first.
        for (int i = 0; i < 3; ++i) {
            const QString text = key == Qt::Key_Return ? QStringLiteral("\r") : QString();
            if (qt_sendShortcutOverrideEvent(target, 0, key, modifiers, text, true))
                continue;
            QKeyEvent event(QEvent::KeyPress, key, modifiers, text, true);
            QApplication::sendEvent(target, &event);
        }
    };

    // Enter held on a focused command button.
    other->setFocus();
    QTest::keyPress(other, Qt::Key_Return);
    repeat(other, Qt::Key_Return, Qt::NoModifier);
    QTest::keyRelease(other, Qt::Key_Return);
    EXPECT_EQ(otherClicks.count(), 1);
    // Enter held in a box, clicking the default button.
    edit->setFocus();
    QTest::keyPress(edit, Qt::Key_Return);
    repeat(edit, Qt::Key_Return, Qt::NoModifier);
    QTest::keyRelease(edit, Qt::Key_Return);
    EXPECT_EQ(saveClicks.count(), 1);
    // An access key held.
    edit->setFocus();
    QTest::keyPress(edit, Qt::Key_O, Qt::AltModifier);
    repeat(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(otherClicks.count(), 2);
}

TEST(StyledButtonInputTest, FocusedCheckAndOptionButtonsShowTheFocus)
{
    QWidget window;
    window.resize(300, 100);
    auto *check = new StyledButton(&window);
    auto *option = new StyledButton(&window);
    auto *edit = new QLineEdit(&window);
    check->setMode(1);
    check->setCaption(QStringLiteral("Check"));
    option->setCaption(QStringLiteral("Option"));
    check->setGeometry(10, 10, 90, 28);
    option->setGeometry(110, 10, 90, 28);
    edit->setGeometry(10, 60, 90, 24);
    window.show();
    EXPECT_TRUE(activate(&window));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    option->setMode(2);
    option->setValue(true);
    edit->setFocus();
    const QImage checkAlone = check->grab().toImage();
    const QImage optionAlone = option->grab().toImage();

    check->setFocus();
    EXPECT_TRUE(check->stateFlags() & StyledButton::ShowAsDefault);
    EXPECT_NE(check->grab().toImage(), checkAlone);
    option->setFocus();
    EXPECT_TRUE(option->stateFlags() & StyledButton::ShowAsDefault);
    EXPECT_FALSE(check->stateFlags() & StyledButton::ShowAsDefault);
    EXPECT_NE(option->grab().toImage(), optionAlone);
    edit->setFocus();
    EXPECT_EQ(option->grab().toImage(), optionAlone);
}

TEST(StyledButtonInputTest, ArrowsNeverScrollTheContainerAroundTheButton)
{
    QScrollArea scroller;
    auto *content = new QWidget;
    content->resize(600, 2000);
    auto *button = new StyledButton(content);
    button->setGeometry(10, 10, 80, 24);
    scroller.setWidget(content);
    scroller.resize(300, 200);
    scroller.show();
    EXPECT_TRUE(activate(&scroller));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&scroller));
    button->setFocus();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Down})
        QTest::keyClick(button, key);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(scroller.verticalScrollBar()->value(), 0);
    EXPECT_EQ(scroller.horizontalScrollBar()->value(), 0);
    EXPECT_EQ(QApplication::focusWidget(), button);
}
