#pragma once

#include "ui/DateBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

// Where in a date box's text the mouse points at that character, as a user aims at it.
inline QPoint pointAtDate(DateBox *box, int position)
{
    QLineEdit *edit = box->findChild<QLineEdit *>();
    const int middle = edit->height() / 2;
    int x = 0;
    while (x < edit->width() && edit->cursorPositionAt(QPoint(x, middle)) < position)
        ++x;
    return QPoint(x + 1, middle);
}

// Clicks into a date box's text at that character, as a user places the caret with the mouse.
inline void clickIntoDate(DateBox *box, int position)
{
    QTest::mouseClick(box->findChild<QLineEdit *>(), Qt::LeftButton, Qt::NoModifier,
                      pointAtDate(box, position));
}

// Drags the mouse over a date box's text from one character to another, selecting them.
inline void dragOverDate(DateBox *box, int from, int to)
{
    QLineEdit *edit = box->findChild<QLineEdit *>();
    const QPoint start = pointAtDate(box, from);
    const QPoint end = pointAtDate(box, to) - QPoint(1, 0);
    QTest::mousePress(edit, Qt::LeftButton, Qt::NoModifier, start);
    for (int x = start.x(); x <= end.x(); x += 2)
        QTest::mouseMove(edit, QPoint(x, start.y()));
    QTest::mouseMove(edit, end);
    QTest::mouseRelease(edit, Qt::LeftButton, Qt::NoModifier, end);
}

// A middle click on a date box's text at that character, which pastes the mouse selection.
inline void middleClickIntoDate(DateBox *box, int position)
{
    QTest::mouseClick(box->findChild<QLineEdit *>(), Qt::MiddleButton, Qt::NoModifier,
                      pointAtDate(box, position));
}

// A click on the arrow at a date box's right edge, which opens its calendar.
inline void clickCalendarArrow(DateBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier,
                      QPoint(box->width() - 6, box->height() / 2));
}

// The three ways a user opens a date box's calendar.
enum class CalendarOpening { F4, AltDown, Arrow };
inline constexpr CalendarOpening calendarOpenings[] = {
    CalendarOpening::F4, CalendarOpening::AltDown, CalendarOpening::Arrow};

inline const char *nameOf(CalendarOpening how)
{
    switch (how) {
    case CalendarOpening::F4:
        return "F4";
    case CalendarOpening::AltDown:
        return "Alt+Down";
    case CalendarOpening::Arrow:
        return "arrow";
    }
    return "";
}

inline void openCalendar(DateBox *box, CalendarOpening how)
{
    switch (how) {
    case CalendarOpening::F4:
        QTest::keyClick(box, Qt::Key_F4);
        break;
    case CalendarOpening::AltDown:
        QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
        break;
    case CalendarOpening::Arrow:
        clickCalendarArrow(box);
        break;
    }
    // A hand's next key comes after the calendar is up: what its opening posted is handled first.
    QCoreApplication::processEvents();
}

// The calendar opened, then the keys typed one by one into whatever holds the keyboard at each
// key, as a user types on: the calendar first.
inline void typeIntoCalendar(DateBox *box, CalendarOpening how, const QString &keys)
{
    openCalendar(box, how);
    ASSERT_TRUE(box->shownCalendar()) << nameOf(how);
    for (const QChar c : keys)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}
