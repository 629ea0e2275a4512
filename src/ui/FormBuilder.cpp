#include "ui/FormBuilder.h"

#include "core/Colour.h"

#include <QLabel>
#include <QVariant>

namespace FormBuilder {

void setCaption(QWidget *widget, const QString &caption)
{
    for (const char *property : {"caption", "text", "title"}) {
        if (widget->metaObject()->indexOfProperty(property) >= 0) {
            widget->setProperty(property, caption);
            return;
        }
    }
    widget->setWindowTitle(caption);
}

void build(QWidget *parent, std::initializer_list<Row> rows)
{
    for (const Row &row : rows) {
        QWidget *container = parent;
        QString name = row.name;
        const int slash = int(name.indexOf(QLatin1Char('/')));
        if (slash > 0) {
            container = parent->findChild<QWidget *>(name.left(slash));
            Q_ASSERT(container);
            name = name.mid(slash + 1);
        }
        QWidget *widget = row.make(container);
        widget->setObjectName(name);
        if (!row.caption.isEmpty())
            setCaption(widget, row.caption);
        widget->setGeometry(Units::twipsRect(row.left, row.top, row.width, row.height));
    }
}

void setHeading(QLabel *label, int pointSize, quint32 colour)
{
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(pointSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Colour::toQColor(colour));
    label->setPalette(palette);
}

} // namespace FormBuilder
