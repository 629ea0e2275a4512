#include "WindowManager.h"

#include "WaitFor.h"

#include <QFile>
#include <QStandardPaths>

QString WindowManager::start()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (program.isEmpty())
        return QStringLiteral("openbox is missing (scripts/install-deps.sh installs it)");
    const QString ready = folder_.filePath(QStringLiteral("ready"));
    process_.start(program, {QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
                             QStringLiteral("touch '%1'").arg(ready)});
    if (!waitFor([&] { return QFile::exists(ready); }, 15000))
        return QStringLiteral("openbox did not start: ") +
               QString::fromLocal8Bit(process_.readAllStandardError());
    return {};
}

WindowManager::~WindowManager()
{
    process_.terminate();
    if (!process_.waitForFinished(5000))
        process_.kill();
    process_.waitForFinished();
}
