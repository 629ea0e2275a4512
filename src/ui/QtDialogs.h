#pragma once

#include "core/Dialogs.h"

namespace Dialogs {

// The real dialogs of the desktop.
class QtService : public Service
{
public:
    Answer message(const Message &message) override;
    QString input(const QString &prompt, const QString &title, const QString &defaultText) override;
    QString openFile(const QString &title, const QString &filter, const QString &folder) override;
    QString saveFile(const QString &title, const QString &filter, const QString &suggested) override;
    QString browseFolder(const QString &title, const QString &initialFolder) override;
    bool openWithDesktop(const QString &pathOrLink) override;
    bool startProgram(const QString &program, const QStringList &arguments,
                      const QString &workingFolder) override;
    bool printSetup(QPrinter *printer, QWidget *parent) override;
};

} // namespace Dialogs
