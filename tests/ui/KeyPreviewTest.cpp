#include "ui/KeyPreview.h"
#include "WaitFor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
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
        for (const auto modifiers : {Qt::KeyboardModifiers(Qt::NoModifier),
                                     Qt::KeyboardModifiers(Qt::KeypadModifier)}) {
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
