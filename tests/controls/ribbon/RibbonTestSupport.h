#pragma once

#include "controls/ribbon/ImageList.h"
#include "controls/ribbon/RibbonMenu.h"
#include "core/Units.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

namespace RibbonTest {

// A 48 x 48 picture in its own hue, so screenshots tell the buttons apart.
inline QPixmap icon(int number, QSize size = QSize(48, 48))
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor hue = QColor::fromHsv((number * 29) % 360, 150, 200);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, hue.lighter(135));
    fill.setColorAt(1, hue.darker(115));
    painter.setBrush(fill);
    painter.setPen(QPen(hue.darker(160), 1.5));
    painter.drawRoundedRect(QRectF(4.5, 6.5, size.width() - 9, size.height() - 11), 6, 6);
    painter.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
    const double middle = size.width() / 2.0;
    painter.drawLine(QPointF(middle, 14), QPointF(middle, size.height() - 12));
    painter.drawLine(QPointF(12, 16), QPointF(middle - 4, 16));
    painter.drawLine(QPointF(middle + 4, 16), QPointF(size.width() - 12, 16));
    return picture;
}

// The main window's menu: one tab, three categories, twelve buttons.
inline void fillLibraryMenu(RibbonMenu &ribbon)
{
    ribbon.AddTab("1", "Library");
    ribbon.AddCat("1", "1", "Master", false);
    ribbon.AddCat("2", "1", "Transaction", true);
    ribbon.AddCat("3", "1", "Library Info.", true);
    const char *captions[] = {"New Book Entry", "Library Card",      "Group",
                              "List of Books",  "Book Issue",        "Issue Register",
                              "Book Received",  "Received Register", "Ledger",
                              "Pending Book",   "Library Info.",     "Users"};
    for (int id = 0; id < 12; ++id) {
        const char *category = id < 3 ? "1" : id < 10 ? "2" : "3";
        ribbon.AddButton(QString::number(id), category, captions[id], id + 1);
    }
}

inline ImageList *twelveIcons(QObject *parent)
{
    auto *images = new ImageList(parent);
    for (int number = 1; number <= 12; ++number)
        images->add(icon(number));
    return images;
}

// Pixel centre of a display element.
inline QPoint centreOf(const RibbonMenu &ribbon, RibbonPart part, int index)
{
    return ribbon.elements().at(part, index).pixelRect().center();
}

// Pointer events sent straight to the ribbon: the offscreen platform drops a move to the place the
// cursor already is.
inline void sendMouse(RibbonMenu &ribbon, QEvent::Type type, QPoint at,
                      Qt::MouseButton button = Qt::NoButton)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
    QMouseEvent event(type, QPointF(at), QPointF(ribbon.mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&ribbon, &event);
}

inline void moveTo(RibbonMenu &ribbon, QPoint at)
{
    sendMouse(ribbon, QEvent::MouseMove, at);
}

// A left click: press and release at one place.
inline void click(RibbonMenu &ribbon, QPoint at)
{
    moveTo(ribbon, at);
    sendMouse(ribbon, QEvent::MouseButtonPress, at, Qt::LeftButton);
    sendMouse(ribbon, QEvent::MouseButtonRelease, at, Qt::LeftButton);
}

inline double captionTwips(const QFont &font, const QString &text)
{
    return RibbonElements::textSize(font, text).width();
}

} // namespace RibbonTest
