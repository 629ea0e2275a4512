#pragma once

#include "WaitFor.h"
#include "controls/button/StyledButton.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

// Input and pixel helpers shared by the button tests.
namespace ButtonTest {

inline void sendMouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void moveOnto(StyledButton *button, QPoint at = QPoint(-1, -1))
{
    if (at.x() < 0)
        at = button->rect().center();
    sendMouse(button, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
}

inline void press(StyledButton *button, Qt::MouseButton which = Qt::LeftButton,
                  QPoint at = QPoint(-1, -1))
{
    if (at.x() < 0)
        at = button->rect().center();
    sendMouse(button, QEvent::MouseButtonPress, at, which, which);
}

inline void release(StyledButton *button, Qt::MouseButton which = Qt::LeftButton,
                    QPoint at = QPoint(-1, -1))
{
    if (at.x() < 0)
        at = button->rect().center();
    sendMouse(button, QEvent::MouseButtonRelease, at, which, Qt::NoButton);
}

inline void leave(StyledButton *button)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(button, &event);
}

// 0x00BBGGRR of a pixel of the button as it shows on screen.
inline qint32 pixelAt(QWidget *widget, int x, int y)
{
    const QRgb rgb = widget->grab().toImage().pixel(x, y);
    return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
}

// A picture on a magenta background: a filled disc with a darker ring.
inline QImage discPicture(int width, int height, QColor fill = QColor(40, 120, 200))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter painter(&image);
    painter.setPen(QPen(fill.darker(160), 2));
    painter.setBrush(fill);
    painter.drawEllipse(QRectF(2, 2, width - 5, height - 5));
    return image;
}

} // namespace ButtonTest
