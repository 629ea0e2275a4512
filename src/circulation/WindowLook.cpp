#include "circulation/WindowLook.h"

#include "circulation/ListFilter.h"
#include "core/Colour.h"
#include "ui/KeyPreview.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace WindowLook {

void heading(QLabel *label)
{
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette band = label->palette();
    band.setColor(QPalette::Window, Colour::toQColor(0xDFB33E));
    band.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(band);
    QFont font(QStringLiteral("Calibri"), 16);
    font.setBold(true);
    label->setFont(font);
}

void filterBoxes(const QList<QWidget *> &boxes)
{
    const QFont font(QStringLiteral("Trebuchet MS"), 9);
    for (QWidget *box : boxes) {
        box->setFont(font);
        QPalette colours = box->palette();
        colours.setColor(QPalette::Text, Colour::toQColor(0x800000));
        colours.setColor(QPalette::Base, Qt::white);
        box->setPalette(colours);
    }
}

void filterPairs(QComboBox *column, QLineEdit *typed, QComboBox *column1, QLineEdit *typed1)
{
    filterBoxes({column, typed, column1, typed1});
    column->addItems(ListFilter::columns());
    column1->addItems(ListFilter::columns());
    column->setCurrentIndex(0);
    column1->setCurrentIndex(1);
}

void countBox(QLineEdit *box)
{
    KeyPreview::setBackColour(box, 0xE0E0E0);
    QPalette colours = box->palette();
    colours.setColor(QPalette::Text, Colour::toQColor(0x80));
    box->setPalette(colours);
    box->setReadOnly(true);
}

void shownNotTyped(QWidget *frame)
{
    frame->setEnabled(false);
    QPalette colours = frame->palette();
    for (const QPalette::ColorRole role :
         {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        colours.setColor(QPalette::Disabled, role, colours.color(QPalette::Active, role));
    frame->setPalette(colours);
}

} // namespace WindowLook
