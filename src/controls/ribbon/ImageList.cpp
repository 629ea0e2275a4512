#include "controls/ribbon/ImageList.h"

#include "core/AppError.h"

int ImageList::add(const QPixmap &picture)
{
    pictures_.append(picture);
    return int(pictures_.size());
}

QPixmap ImageList::picture(int index) const
{
    if (index < 1 || index > pictures_.size())
        throw AppError(35600, QStringLiteral("Index out of bounds"), QStringLiteral("ImageList"));
    return pictures_.at(index - 1);
}
