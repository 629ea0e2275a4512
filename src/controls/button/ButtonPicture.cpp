#include "controls/button/ButtonPicture.h"

#include <QPainter>
#include <QPixmap>
#include <cstdlib>

ButtonPicture ButtonPicture::fromImage(const QImage &image)
{
    ButtonPicture picture;
    picture.image_ = image;
    return picture;
}

ButtonPicture ButtonPicture::fromIcon(const QIcon &icon, QSize naturalSize)
{
    ButtonPicture picture;
    picture.icon_ = icon;
    if (!naturalSize.isValid() && !icon.isNull()) {
        const QList<QSize> sizes = icon.availableSizes();
        naturalSize = sizes.isEmpty() ? icon.actualSize(QSize(32, 32)) : sizes.first();
    }
    picture.iconSize_ = naturalSize;
    return picture;
}

QSize ButtonPicture::naturalSize() const
{
    if (isIcon())
        return iconSize_;
    return image_.isNull() ? QSize(0, 0) : image_.size();
}

QImage ButtonPicture::iconImage(int width, int height) const
{
    QImage result(qMax(width, 1), qMax(height, 1), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    if (icon_.isNull())
        return result;
    const QPixmap pixmap = icon_.pixmap(QSize(width, height));
    QPainter painter(&result);
    painter.drawPixmap(result.rect(), pixmap);
    return result;
}

QVariant ButtonPicture::toVariant() const
{
    if (isIcon())
        return QVariant::fromValue(icon_);
    if (!image_.isNull())
        return QVariant::fromValue(image_);
    return QVariant();
}

ButtonPicture ButtonPicture::fromVariant(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QIcon>())
        return fromIcon(value.value<QIcon>());
    if (value.metaType() == QMetaType::fromType<QImage>())
        return fromImage(value.value<QImage>());
    if (value.metaType() == QMetaType::fromType<QPixmap>())
        return fromImage(value.value<QPixmap>().toImage());
    return ButtonPicture();
}

namespace ButtonPictures {

bool isBackground(QRgb pixel, QRgb key)
{
    return std::abs(qRed(pixel) - qRed(key)) <= 3 && std::abs(qGreen(pixel) - qGreen(key)) <= 3 &&
           std::abs(qBlue(pixel) - qBlue(key)) <= 3;
}

QImage makeCache(const QImage &source, int width, int height, QVector<QRect> *runs)
{
    if (source.isNull() || width <= 0 || height <= 0)
        return QImage();
    QImage cache = source.convertToFormat(QImage::Format_RGB32)
                       .scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QRgb key = cache.pixel(0, 0);
    // Rows and columns stop at the last pixel: the scan never reads past the picture.
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(cache.scanLine(y));
        int runStart = -1;
        for (int x = 0; x < width; ++x) {
            if (isBackground(line[x], key)) {
                line[x] = key;
                if (runStart < 0)
                    runStart = x;
            } else if (runStart >= 0) {
                if (runs)
                    runs->append(QRect(runStart, y, x - runStart, 1));
                runStart = -1;
            }
        }
        if (runStart >= 0 && runs)
            runs->append(QRect(runStart, y, width - runStart, 1));
    }
    return cache;
}

QImage withTransparentKey(const QImage &cache)
{
    QImage result = cache.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = cache.pixel(0, 0) | 0xFF000000u;
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if ((line[x] | 0xFF000000u) == key)
                line[x] = 0;
    }
    return result;
}

QRgb greyBlend(QRgb scratch, QRgb destination)
{
    auto channel = [](int s, int d) { return (s & d) | (~s & 0x80); };
    return qRgb(channel(qRed(scratch), qRed(destination)),
                channel(qGreen(scratch), qGreen(destination)),
                channel(qBlue(scratch), qBlue(destination)));
}

} // namespace ButtonPictures
