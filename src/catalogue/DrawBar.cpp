#include "catalogue/DrawBar.h"

#include "core/Units.h"
#include "core/report/Code39.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace DrawBar {

int moduleWidth(int heightPixels)
{
    return std::max(1, int(Units::roundHalfEven(heightPixels / 40.0)));
}

QImage DrawBarcode(const QString &text, int heightPixels, const QFont &font, const QColor &back,
                   const QColor &fore)
{
    if (text.isEmpty() || heightPixels <= 0)
        return QImage();
    const int m = moduleWidth(heightPixels);
    const std::vector<bool> modules = Code39::modules(text);
    const QString shown = text.toUpper();
    const QFontMetricsF metrics(font);
    const double th = metrics.height();
    const double tw = metrics.horizontalAdvance(shown);
    const double y1 = 0;
    const double y2 = heightPixels - 1.5 * th;

    // A white module, the modules of the framed text, a white module; the picture one module
    // wider still.
    int width = modules.empty() ? int(std::ceil(tw)) + 4 * m
                                : (int(modules.size()) + 3) * m;
    QImage picture(width, heightPixels, QImage::Format_RGB32);
    picture.fill(back);
    QPainter painter(&picture);
    if (y2 > y1) {
        double x = m;
        for (const bool black : modules) {
            if (black)
                painter.fillRect(QRectF(x, y1, m, y2 - y1), Qt::black);
            x += m;
        }
    }
    painter.setFont(font);
    painter.setPen(fore);
    painter.drawText(QRectF((width - tw) / 2, y2 + 0.25 * th, tw + 1, th),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
    return picture;
}

} // namespace DrawBar
