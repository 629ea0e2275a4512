#pragma once

#include <QPixmap>
#include <QString>

// The ribbon's three colour themes and their pictures 101 to 141.
namespace RibbonTheme {

struct Colours
{
    quint32 categoryCaption;
    quint32 tabCaption;
    quint32 selectedTabCaption;
    quint32 buttonCaption;
    quint32 back;
    quint32 fore;
};

// Theme values outside 0 to 2 read as 0.
int limited(int theme);
// "BLACK", "BLUE" or "SILVER".
QString resourceType(int theme);
Colours colours(int theme);

// Picture `number` of a theme's resource type. Throws AppError 326 for a picture the program does
// not carry, with the source the picture loader has always reported.
QPixmap LoadCustomResPicture(int number, const QString &type);

} // namespace RibbonTheme
