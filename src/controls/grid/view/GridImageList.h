#pragma once

#include <QObject>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

// The host's store of small pictures for rows and cells: items numbered from 1, each with an
// optional text key, all drawn at one image size.
class GridImageList : public QObject
{
    Q_OBJECT

public:
    explicit GridImageList(QSize imageSize = QSize(16, 16), QObject *parent = nullptr);

    // Appends a picture; returns its index.
    int add(const QPixmap &picture, const QString &key = {});
    int count() const { return int(items_.size()); }
    int ImageWidth() const { return size_.width(); }
    int ImageHeight() const { return size_.height(); }
    QSize imageSize() const { return size_; }

    // The index of the item with that key (keys compare exactly).
    std::optional<int> indexOfKey(const QString &key) const;
    // The key of the item at a 1-based index; empty for an index it does not hold.
    std::optional<QString> keyOfIndex(int index) const;
    QPixmap picture(int index) const;
    void Draw(QPainter &painter, int index, int x, int y) const;

private:
    struct Item
    {
        QPixmap picture;
        QString key;
    };
    QSize size_;
    std::vector<Item> items_;
};
