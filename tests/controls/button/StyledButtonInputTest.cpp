#include "ButtonTestSupport.h"
#include "QtPrinters.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
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
    QApplication::setActiveWindow(&window);
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
    QApplication::setActiveWindow(&area);
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
    QApplication::setActiveWindow(&window);
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
    QApplication::setActiveWindow(&window);
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
