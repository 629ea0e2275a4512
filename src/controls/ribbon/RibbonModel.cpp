#include "controls/ribbon/RibbonModel.h"

#include "controls/ribbon/ImageList.h"
#include "core/AppError.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

void refuseWhenFull(qsizetype count, int capacity)
{
    if (count >= capacity)
        throw AppError(9, QStringLiteral("Subscript out of range"), RibbonModel::errorSource());
}

} // namespace

QString RibbonModel::oneLine(const QString &text)
{
    QString line = text;
    return line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

QString RibbonModel::errorSource()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void RibbonModel::addTab(const QString &id, const QString &caption)
{
    refuseWhenFull(tabs_.size(), TabCapacity);
    tabs_.append({id, oneLine(caption)});
    if (currentTab_.isEmpty())
        currentTab_ = id;
}

void RibbonModel::addCategory(const QString &id, const QString &tab, const QString &caption,
                              bool dialogButton)
{
    refuseWhenFull(categories_.size(), CategoryCapacity);
    categories_.append({id, tab, oneLine(caption), dialogButton});
}

void RibbonModel::addButton(const QString &id, const QString &category, const QString &caption,
                            int picture, const ImageList *images, bool more, const QString &toolTip)
{
    refuseWhenFull(buttons_.size(), ButtonCapacity);
    RibbonButton button;
    button.id = id;
    button.category = category;
    button.caption = caption;
    button.toolTip = oneLine(toolTip.isEmpty() ? caption : toolTip);
    buttons_.append(button);

    if (!images)
        throw AppError(91, QStringLiteral("Object variable or With block variable not set"),
                       errorSource());
    buttons_.last().picture = images->picture(picture);
    buttons_.last().more = more;
}
