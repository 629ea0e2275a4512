#include "controls/button/ButtonColours.h"
#include "controls/button/StyledButton.h"

#include <QFontMetrics>

void StyledButton::layoutCaptionAndPicture(bool pictureChanged)
{
    const int w = W();
    const int h = H();
    const int size = pictureSizePixels_;
    const bool picture = hasPicture();
    const int bl = bodyLeft_;
    const int br = bodyRight_;

    // The usable part of the outline: left edge, width and right limit.
    int a = 0, u = br, z = w;
    switch (buttonShape_) {
    case 1:
        a = bl - bl / 3 + 3;
        u = w - a;
        z = w;
        break;
    case 2:
        a = 0;
        u = br + (w - br) / 3;
        z = u;
        break;
    case 3:
        a = bl - bl / 3 + 3;
        z = br + (w - br) / 3;
        u = z - a;
        break;
    case 7:
    case 8:
        a = 3;
        u = br - 3;
        z = br - 3;
        break;
    default:
        break;
    }

    // Room for a small picture beside, above or below the caption; large ones take none.
    int pl = 0, pr = 0, pt = 0, pb = 0;
    if (picture && size <= 32) {
        switch (pictureAlign_) {
        case 0:
        case 1:
            pl = size;
            break;
        case 2:
        case 3:
            pr = size;
            break;
        case 4:
            pt = size;
            break;
        case 5:
            pb = size;
            break;
        default:
            break;
        }
    }

    ButtonRect c;
    int textWidth = 0, textHeight = 0;
    if (!caption_.isEmpty()) {
        QString text = caption_;
        text.replace(QStringLiteral("||"), QStringLiteral("\n"));
        const int boxWidth = u - 8 - (pl + pr);
        const int boxHeight = h - 8 - (pt + pb);
        const QRect measured = QFontMetrics(bufferFont_)
                                   .boundingRect(QRect(0, 0, qMax(boxWidth, 0), qMax(boxHeight, 0)),
                                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap |
                                                     Qt::TextShowMnemonic,
                                                 text);
        textWidth = measured.x() + measured.width();
        textHeight = measured.y() + measured.height();
        if (captionStyle_ != 0) {
            textWidth += 2;
            textHeight += 2;
        }
        c = {0, 0, textWidth, textHeight};
        int dx = 0;
        switch (captionAlign_) {
        case 0:
            dx = a + 4 + pl + (pl > 0 ? 4 : 0);
            break;
        case 1:
            dx = z - pr - 4 - textWidth - (pr > 0 ? 4 : 0);
            break;
        default:
            if (pl > 0 && pictureAlign_ == 1)
                dx = (u - (textWidth + pl + 4)) / 2 + a + 4 + pl;
            else if (pr > 0 && pictureAlign_ == 3)
                dx = (u - (textWidth + pr + 4)) / 2 + a;
            else
                dx = (u - (pr + pl) - textWidth) / 2 + a + pl;
            break;
        }
        c.translate(dx, 0);
    }

    ButtonRect p;
    if (picture) {
        const bool withCaption = !caption_.isEmpty();
        switch (pictureAlign_) {
        case 0:
            p.left = a + 4;
            break;
        case 1:
            p.left = withCaption ? c.left - 4 - pl : a + 4;
            break;
        case 2:
            p.left = z - 4 - pr;
            break;
        case 3:
            p.left = withCaption ? c.right + 4 : z - 4 - pr;
            break;
        default:
            break;
        }
        if (pictureAlign_ <= 3) {
            c.translate(0, (h - textHeight) / 2);
            p.top = (h - size) / 2;
        } else if (pictureAlign_ == 4) {
            p.top = (h - (textHeight + pt)) / 2;
            c.translate(0, p.top + 2 + pt);
        } else {
            const int d = (h - (textHeight + pb)) / 2;
            c.translate(0, d + 2);
            p.top = d + textHeight + 4;
        }
        if (pictureAlign_ >= 4)
            p.left = (u - size) / 2 + a;
        p.right = p.left + size;
        p.bottom = p.top + size;
    } else {
        c.translate(0, (h - textHeight) / 2);
    }

    auto clamp = [&](ButtonRect &r) {
        r.top = qMax(r.top, 4);
        r.left = qMax(r.left, a + 4);
        r.right = qMin(r.right, z - 4);
        r.bottom = qMin(r.bottom, h - 5);
    };
    clamp(c);
    captionRect_ = c;

    if (size <= 32) {
        clamp(p);
    } else if (size == 40) {
        p = buttonShape_ == 6 ? ButtonRect{1, 1, w - 1, h - 1} : ButtonRect{3, 3, w - 3, h - 3};
        pictureChanged = true;
    } else if (buttonShape_ >= 7) {
        p = {0, 0, w, h};
    } else if (picture) {
        const QSize fit =
            ButtonColours::fitPictureSize(u - 12, h - 12, pictureWidth_, pictureHeight_);
        p.left = (u - fit.width()) / 2 + a;
        p.top = (h - fit.height()) / 2;
        p.right = p.left + fit.width();
        p.bottom = p.top + fit.height();
        pictureChanged = true;
    }
    pictureRect_ = p;

    if (pictureChanged)
        cachePictureAndScanRegion(p.width(), p.height(), nullptr);
}
