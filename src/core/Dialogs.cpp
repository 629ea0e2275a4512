#include "core/Dialogs.h"

#include "core/QtDialogs.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace Dialogs {

namespace {
std::unique_ptr<Service> &current()
{
    static std::unique_ptr<Service> instance;
    return instance;
}
} // namespace

Service &service()
{
    if (!current())
        current() = std::make_unique<QtService>();
    return *current();
}

void install(std::unique_ptr<Service> service)
{
    current() = std::move(service);
}

QString programTitle()
{
    const QString path = QCoreApplication::applicationFilePath();
    return path.isEmpty() ? QStringLiteral("librarydesk") : QFileInfo(path).completeBaseName();
}

Answer message(const QString &text, Buttons buttons, Icon icon, const QString &title)
{
    return service().message({text, buttons, icon, title});
}

} // namespace Dialogs
