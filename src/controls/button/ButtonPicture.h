#pragma once

#include <QIcon>
#include <QImage>
#include <QRect>
#include <QVariant>
#include <QVector>

// The button's picture: nothing, a bitmap or JPEG picture, or an icon.
class ButtonPicture
{
public:
    ButtonPicture() = default;
    static ButtonPicture fromImage(const QImage &image);
    // An icon's natural size is its first available size unless given.
    static ButtonPicture fromIcon(const QIcon &icon, QSize naturalSize = QSize());

    bool isNothing() const { return image_.isNull() && icon_.isNull(); }
    bool isIcon() const { return !icon_.isNull(); }
    const QImage &image() const { return image_; }
    const QIcon &icon() const { return icon_; }
    QSize naturalSize() const;
    // w x h pixels of the icon, exactly that size.
    QImage iconImage(int width, int height) const;

    QVariant toVariant() const;
    static ButtonPicture fromVariant(const QVariant &value);

private:
    QImage image_;
    QIcon icon_;
    QSize iconSize_;
};

namespace ButtonPictures {

// Whether each channel lies within 3 of the key colour's.
bool isBackground(QRgb pixel, QRgb key);

// The picture stretched to width x height (nearest pixel, so the key colour survives), with the
// pixels near the key colour (the top-left pixel) set to it exactly. With runs given, every
// horizontal run of background pixels is added as a one-row rectangle.
QImage makeCache(const QImage &source, int width, int height, QVector<QRect> *runs = nullptr);

// The cache with its key colour made transparent.
QImage withTransparentKey(const QImage &cache);

// The grey look of a disabled picture: where a bit of the scratch picture is 1 the destination
// stays, where it is 0 the grey brush shows.
QRgb greyBlend(QRgb scratch, QRgb destination);

} // namespace ButtonPictures
