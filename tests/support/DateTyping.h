#pragma once

#include "ui/DateBox.h"

#include <QLineEdit>
#include <QTest>

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
