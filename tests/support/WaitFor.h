#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <functional>

// Runs the event loop until the condition holds or the time is up, and tells whether it holds.
// Use it as ASSERT_TRUE(waitFor(...)) or EXPECT_TRUE(waitFor(...)) in place of fixed waits; the
// QTRY_* macros of QTest report to QTest, not to gtest, and do not fail a gtest test.
inline bool waitFor(const std::function<bool()> &condition, int ms = 5000)
{
    return QTest::qWaitFor(condition, ms);
}

// Makes a shown window the active one, as the window system does when a user clicks it, and tells
// whether it became so: keys go to the focus widget of the active window.
inline bool activate(QWidget *window)
{
    window->activateWindow();
    return waitFor([window] { return QApplication::activeWindow() == window; });
}
