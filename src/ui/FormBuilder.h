#pragma once

#include "core/Units.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <initializer_list>

// Builds a window's controls from rows of (kind, name, caption, left, top, width, height in twips),
// so a window's file reads like its own control table.
class QLabel;

namespace FormBuilder {

struct Row
{
    std::function<QWidget *(QWidget *parent)> make;
    QString name;
    QString caption;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

template <typename T> std::function<QWidget *(QWidget *)> kind()
{
    return [](QWidget *parent) -> QWidget * { return new T(parent); };
}

// Sets the caption through the first of the widget's "caption", "text" or "title" properties.
void setCaption(QWidget *widget, const QString &caption);

// Creates every row's control as a child of parent (or of the named container when a row's name is
// "container/name"), names it and places it. Returns nothing: find controls by name.
void build(QWidget *parent, std::initializer_list<Row> rows);

// A heading: bold, at that point size, in that colour (&HBBGGRR).
void setHeading(QLabel *label, int pointSize, quint32 colour);

// The window's own size, in twips.
inline void setClientSize(QWidget *window, int widthTwips, int heightTwips)
{
    window->resize(Units::twipsToPixels(widthTwips), Units::twipsToPixels(heightTwips));
}

} // namespace FormBuilder
