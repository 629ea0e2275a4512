#include "members/MembersLook.h"

#include "core/Colour.h"

#include <QLabel>

namespace MembersLook {

void paintFace(QWidget *window)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Colour::toQColor(FaceColour));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void paintHeader(QLabel *header)
{
    QFont font = header->font();
    font.setPointSize(13);
    font.setBold(true);
    header->setFont(font);
    QPalette palette = header->palette();
    palette.setColor(QPalette::Window, Colour::toQColor(HeaderColour));
    palette.setColor(QPalette::WindowText, Qt::white);
    header->setPalette(palette);
    header->setAutoFillBackground(true);
    header->setAlignment(Qt::AlignCenter);
}

} // namespace MembersLook
