#pragma once

#include <QTest>
#include <functional>

// Runs the event loop until the condition holds or the time is up, and tells whether it holds.
// Use it as ASSERT_TRUE(waitFor(...)) or EXPECT_TRUE(waitFor(...)) in place of fixed waits; the
// QTRY_* macros of QTest report to QTest, not to gtest, and do not fail a gtest test.
inline bool waitFor(const std::function<bool()> &condition, int ms = 5000)
{
    return QTest::qWaitFor(condition, ms);
}
