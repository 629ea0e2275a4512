#pragma once

#include <QList>

class QDateEdit;
class QLabel;
class QLineEdit;
class QWidget;

// The look the circulation lists share: the heading band, the filter boxes, the grey count box and
// the date pickers.
namespace WindowLook {

void heading(QLabel *label);
void filterBoxes(const QList<QWidget *> &boxes);
void countBox(QLineEdit *box);
// English month names whatever the machine's locale, "dd-MM-yyyy", a calendar to pick from.
void datePicker(QDateEdit *picker);

} // namespace WindowLook
