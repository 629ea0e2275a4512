#pragma once

#include "ui/DateBox.h"

#include <QLineEdit>
#include <QTest>

// Clicks into a date box's text at that character, as a user places the caret with the mouse.
inline void clickIntoDate(DateBox *box, int position)
{
    QLineEdit *edit = box->findChild<QLineEdit *>();
    const int middle = edit->height() / 2;
    int x = 0;
    while (x < edit->width() && edit->cursorPositionAt(QPoint(x, middle)) < position)
        ++x;
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(x + 1, middle));
}
