#include "core/Dialogs.h"

#include <QCoreApplication>
#include <QDir>
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
    // The core never makes a window: main() installs the Qt service, tests a scripted one.
    if (!current())
        qFatal("No dialog service is installed");
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

void openSavedFile(const QString &path)
{
    if (!service().openWithDesktop(path))
        message(QStringLiteral("Unable to open target file.\r\nIt has been saved as %1")
                    .arg(QDir::toNativeSeparators(path)),
                Buttons::Ok, Icon::Information);
}

} // namespace Dialogs
