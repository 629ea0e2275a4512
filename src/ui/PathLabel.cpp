#include "ui/PathLabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

QRect PathLabel::textRoom() const
{
    const int m = margin();
    return contentsRect().adjusted(m, m, -m, -m);
}

bool PathLabel::cutShort() const
{
    return fontMetrics().horizontalAdvance(text()) > textRoom().width();
}

QString PathLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, textRoom().width());
}

void PathLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, textRoom(),
                          QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), shownText(), foregroundRole());
}

bool PathLabel::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QLabel::event(event);
    if (cutShort())
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), text(), this);
    else
        QToolTip::hideText();
    return true;
}
