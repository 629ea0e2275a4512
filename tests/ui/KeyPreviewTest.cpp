#include "ui/KeyPreview.h"
#include "WaitFor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QKeyEvent press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return QKeyEvent(QEvent::KeyPress, key, modifiers);
}

} // namespace

TEST(KeyPreviewTest, EnterWithAndWithoutModifiers)
{
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        for (const auto modifiers :
             {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::KeypadModifier)}) {
            const QKeyEvent plain = press(key, modifiers);
            EXPECT_TRUE(KeyPreview::isEnter(&plain)) << key;
            EXPECT_TRUE(KeyPreview::isPlainEnter(&plain)) << key;
        }
        for (const auto held : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
            const QKeyEvent chord = press(key, held);
            EXPECT_TRUE(KeyPreview::isEnter(&chord)) << key << held;
            EXPECT_FALSE(KeyPreview::isPlainEnter(&chord)) << key << held;
        }
    }
    for (const int key : {int(Qt::Key_Tab), int(Qt::Key_Space), int(Qt::Key_F4)}) {
        const QKeyEvent other = press(key);
        EXPECT_FALSE(KeyPreview::isEnter(&other)) << key;
        EXPECT_FALSE(KeyPreview::isPlainEnter(&other)) << key;
    }
}

// The chain moves on a plain Enter only; a window's own handler sees Enter with Shift held.
TEST(KeyPreviewTest, ChainTakesPlainEnterWindowHandlersAnyEnter)
{
    QWidget window;
    auto *one = new QLineEdit(&window);
    auto *two = new QLineEdit(&window);
    auto *three = new QLineEdit(&window);
    KeyPreview::installEnterChain(&window, {one, two});
    int seen = 0;
    KeyPreview::install(&window, [&](QKeyEvent *event) {
        if (QApplication::focusWidget() != three || !KeyPreview::isEnter(event))
            return false;
        ++seen;
        return true;
    });
    window.show();
    EXPECT_TRUE(activate(&window));

    one->setFocus();
    QTest::keyClick(one, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_TRUE(one->hasFocus());
    QTest::keyClick(one, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(two->hasFocus());

    three->setFocus();
    QTest::keyClick(three, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(three, Qt::Key_Return);
    EXPECT_EQ(seen, 2);
}

// An Alt key that no shown button takes reaches the control without its character; AltGr types.
TEST(KeyPreviewTest, AnAltKeyNoButtonTakesTypesNothing)
{
    QWidget window;
    auto *box = new QLineEdit(&window);
    auto *save = new QPushButton(QStringLiteral("&Save"), &window);
    auto *print = new QPushButton(QStringLiteral("&Print"), &window);
    save->move(0, 40);
    print->move(0, 80);
    print->hide();
    int saves = 0;
    int prints = 0;
    QObject::connect(save, &QPushButton::clicked, [&] { ++saves; });
    QObject::connect(print, &QPushButton::clicked, [&] { ++prints; });
    QStringList seen;
    KeyPreview::install(&window, [&](QKeyEvent *event) {
        if (event->modifiers() & Qt::AltModifier && event->key() != Qt::Key_Alt)
            seen << QKeySequence(event->key()).toString() + ":" + event->text();
        return false;
    });
    window.show();
    ASSERT_TRUE(activate(&window));
    box->setFocus();

    QTest::keyClicks(box, QStringLiteral("Library Club"));
    QTest::keyClick(box, Qt::Key_Z, Qt::AltModifier);
    QTest::keyClick(box, Qt::Key_Q, Qt::AltModifier | Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_P, Qt::AltModifier); // the hidden button's key
    QTest::keyClick(box, Qt::Key_5, Qt::AltModifier);
    EXPECT_EQ(box->text(), QStringLiteral("Library Club"));
    EXPECT_EQ(prints, 0);
    // The window's own keys still see them, once each.
    EXPECT_EQ(seen, QStringList({"Z:", "Q:", "P:", "5:"}));

    // AltGr is Ctrl and Alt together on some platforms, the group switch on others.
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_A, QStringLiteral("\u0105"),
                        Qt::ControlModifier | Qt::AltModifier);
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_L, QStringLiteral("\u0142"),
                        Qt::GroupSwitchModifier | Qt::AltModifier);
    EXPECT_EQ(box->text(), QStringLiteral("Library Club\u0105\u0142"));

    // A shown button still takes its key, and the box keeps its text.
    QTest::keyClick(box, Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(waitFor([&] { return saves == 1; })); // a push button clicks a moment later
    EXPECT_EQ(box->text(), QStringLiteral("Library Club\u0105\u0142"));
}
