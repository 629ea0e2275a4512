#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QPrinter;
class QWidget;

// Every message box, input box, file or folder dialog and every hand-off to the desktop goes
// through this one service, so tests can answer them from a script.
namespace Dialogs {

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class Answer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

struct Message
{
    QString text;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    QString title;
};

class Service
{
public:
    virtual ~Service() = default;
    virtual Answer message(const Message &message) = 0;
    // The typed text, or an empty text when the user cancels.
    virtual QString input(const QString &prompt, const QString &title, const QString &defaultText) = 0;
    // A chosen file, or an empty text.
    virtual QString openFile(const QString &title, const QString &filter, const QString &folder) = 0;
    // Where to save a new file: a chosen path (the filter's extension added when the name has
    // none), or an empty text.
    virtual QString saveFile(const QString &title, const QString &filter,
                             const QString &suggested) = 0;
    // A chosen folder, or an empty text.
    virtual QString browseFolder(const QString &title, const QString &initialFolder) = 0;
    // Opens a file, folder or link with the program the desktop associates with it; false when
    // the desktop has no program for it.
    virtual bool openWithDesktop(const QString &pathOrLink) = 0;
    // Starts a program detached.
    virtual bool startProgram(const QString &program, const QStringList &arguments,
                              const QString &workingFolder) = 0;
    // The print set-up dialog; true when the user accepted it.
    virtual bool printSetup(QPrinter *printer, QWidget *parent) = 0;
};

Service &service();
// Installs a service (the program installs the Qt one at start; tests a scripted one).
void install(std::unique_ptr<Service> service);

// The title of a box that names none: the program's executable name.
QString programTitle();

Answer message(const QString &text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
               const QString &title = programTitle());
inline void information(const QString &text, const QString &title = QString())
{
    message(text, Buttons::Ok, Icon::Information, title);
}
inline void critical(const QString &text, const QString &title = QString())
{
    message(text, Buttons::Ok, Icon::Critical, title);
}
// Opens a file the program has just saved; where the desktop has no program for it, says where
// the file lies, so the user can take it from there.
void openSavedFile(const QString &path);

inline bool askYesNo(const QString &text, const QString &title = QString(), Icon icon = Icon::Question)
{
    return message(text, Buttons::YesNo, icon, title) == Answer::Yes;
}

} // namespace Dialogs
