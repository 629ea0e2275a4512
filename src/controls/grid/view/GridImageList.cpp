#include "controls/grid/view/GridImageList.h"

#include <QPainter>

GridImageList::GridImageList(QSize imageSize, QObject *parent) : QObject(parent), size_(imageSize)
{
}

int GridImageList::add(const QPixmap &picture, const QString &key)
{
    items_.push_back({picture, key});
    return count();
}

std::optional<int> GridImageList::indexOfKey(const QString &key) const
{
    for (int i = 0; i < count(); ++i) {
        if (!key.isEmpty() && items_[size_t(i)].key == key)
            return i + 1;
    }
    return std::nullopt;
}

std::optional<QString> GridImageList::keyOfIndex(int index) const
{
    if (index < 1 || index > count())
        return std::nullopt;
    return items_[size_t(index - 1)].key;
}

QPixmap GridImageList::picture(int index) const
{
    if (index < 1 || index > count())
        return {};
    return items_[size_t(index - 1)].picture;
}

void GridImageList::Draw(QPainter &painter, int index, int x, int y) const
{
    const QPixmap pixmap = picture(index);
    if (!pixmap.isNull())
        painter.drawPixmap(QRect(QPoint(x, y), size_), pixmap);
}
