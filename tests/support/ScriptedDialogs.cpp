#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

Dialogs::Answer ScriptedDialogs::message(const Dialogs::Message &message)
{
    boxes.append({message.text, message.buttons, message.icon, message.title});
    if (!answers.isEmpty())
        return answers.dequeue();
    if (message.buttons != Dialogs::Buttons::Ok)
        ADD_FAILURE() << "unexpected question box: " << message.text.toStdString();
    return message.buttons == Dialogs::Buttons::YesNo || message.buttons == Dialogs::Buttons::YesNoCancel
               ? Dialogs::Answer::No
               : (message.buttons == Dialogs::Buttons::Ok ? Dialogs::Answer::Ok : Dialogs::Answer::Cancel);
}

QString ScriptedDialogs::input(const QString &prompt, const QString &title, const QString &defaultText)
{
    inputPrompts << prompt;
    inputBoxes.append({prompt, title, defaultText});
    if (inputs.isEmpty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
        return QString();
    }
    return inputs.dequeue();
}

QString ScriptedDialogs::openFile(const QString &, const QString &, const QString &)
{
    return files.isEmpty() ? QString() : files.dequeue();
}

QString ScriptedDialogs::browseFolder(const QString &, const QString &)
{
    return folders.isEmpty() ? QString() : folders.dequeue();
}

bool ScriptedDialogs::openWithDesktop(const QString &pathOrLink)
{
    opened << pathOrLink;
    return true;
}

bool ScriptedDialogs::startProgram(const QString &program, const QStringList &arguments, const QString &)
{
    started.append({program, arguments});
    return true;
}

bool ScriptedDialogs::printSetup(QPrinter *, QWidget *)
{
    ++printSetups;
    return acceptPrintSetup;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList result;
    for (const Box &box : boxes)
        result << box.text;
    return result;
}

ScriptedDialogs *installScriptedDialogs()
{
    auto service = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs *raw = service.get();
    Dialogs::install(std::move(service));
    return raw;
}
