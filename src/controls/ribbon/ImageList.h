#pragma once

#include <QObject>
#include <QPixmap>
#include <QVector>

// The host's store of button pictures, numbered from 1 as the ribbon asks for them.
class ImageList : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Appends a picture; returns its number.
    int add(const QPixmap &picture);
    int count() const { return int(pictures_.size()); }
    // The picture numbered `index` (1-based); throws AppError 35600 for a number it does not hold.
    QPixmap picture(int index) const;

private:
    QVector<QPixmap> pictures_;
};
