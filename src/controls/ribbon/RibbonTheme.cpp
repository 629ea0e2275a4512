#include "controls/ribbon/RibbonTheme.h"

#include "controls/ribbon/RibbonArtwork.h"
#include "controls/ribbon/RibbonModel.h"
#include "core/AppError.h"

namespace RibbonTheme {

int limited(int theme)
{
    return theme < 0 || theme > 2 ? 0 : theme;
}

QString resourceType(int theme)
{
    switch (limited(theme)) {
    case 1:
        return QStringLiteral("BLUE");
    case 2:
        return QStringLiteral("SILVER");
    default:
        return QStringLiteral("BLACK");
    }
}

Colours colours(int theme)
{
    switch (limited(theme)) {
    case 1:
        return {0xB86A3E, 0x8B4215, 0x8B4215, 0x8B4215, 0xDAB08E, 0x8B4215};
    case 2:
        return {0x6A625C, 0x6A625C, 0x6A625C, 0x6A625C, 0xDDD4D0, 0x6A625C};
    default:
        return {0xFFFFFF, 0xFFFFFF, 0x000000, 0x80000008, 0x464646, 0xFFFFFF};
    }
}

QPixmap LoadCustomResPicture(int number, const QString &type)
{
    const QImage image = RibbonArtwork::draw(number, type);
    if (image.isNull()) {
        throw AppError(326, QStringLiteral("Resource with identifier '%1' not found").arg(number),
                       RibbonModel::errorSource() + QStringLiteral(".cResPicture"));
    }
    return QPixmap::fromImage(image);
}

} // namespace RibbonTheme
