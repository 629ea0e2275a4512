#pragma once

#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

// The look the circulation lists share: the heading band, the filter boxes and the grey count box;
// the date boxes bring their own.
namespace WindowLook {

void heading(QLabel *label);
void filterBoxes(const QList<QWidget *> &boxes);
// The two column filters under a list: the filter columns offered beside each prefix box, the
// first column chosen in the first pair and the second in the other.
void filterPairs(QComboBox *column, QLineEdit *typed, QComboBox *column1, QLineEdit *typed1);
void countBox(QLineEdit *box);
// Boxes that show what the look-ups fill and take no typing: disabled, yet drawn at full contrast
// so that a name can be read.
void shownNotTyped(QWidget *frame);

} // namespace WindowLook
