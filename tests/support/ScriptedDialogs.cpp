#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace {

ScriptedDialogs *&running()
{
    static ScriptedDialogs *instance = nullptr;
    return instance;
}

class ScriptedDialogsListener : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo &) override { installScriptedDialogs(); }
    // Runs before the result printer's end, so a failure here counts for the test that left it.
    void OnTestEnd(const ::testing::TestInfo &) override { running()->verifyAllAnswered(); }
};

template <typename T> QString describe(const T &value)
{
    if constexpr (std::is_same_v<T, QString>)
        return value;
    else
        return QString::number(int(value));
}

template <typename T> void reportLeft(QQueue<T> &queue, const char *what)
{
    for (const T &value : queue)
        ADD_FAILURE() << "queued " << what << " never asked for: " << describe(value).toStdString();
    queue.clear();
}

} // namespace

Dialogs::Answer ScriptedDialogs::message(const Dialogs::Message &message)
{
    boxes.append({message.text, message.buttons, message.icon, message.title});
    if (!answers.isEmpty())
        return answers.dequeue();
    ADD_FAILURE() << "unexpected message box: " << message.text.toStdString();
    return message.buttons == Dialogs::Buttons::YesNo ||
                   message.buttons == Dialogs::Buttons::YesNoCancel
               ? Dialogs::Answer::No
               : (message.buttons == Dialogs::Buttons::Ok ? Dialogs::Answer::Ok
                                                          : Dialogs::Answer::Cancel);
}

QString ScriptedDialogs::input(const QString &prompt, const QString &title,
                               const QString &defaultText)
{
    inputPrompts << prompt;
    inputBoxes.append({prompt, title, defaultText});
    if (inputs.isEmpty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
        return QString();
    }
    return inputs.dequeue();
}

QString ScriptedDialogs::openFile(const QString &title, const QString &, const QString &)
{
    if (files.isEmpty()) {
        ADD_FAILURE() << "unexpected file dialog: " << title.toStdString();
        return QString();
    }
    return files.dequeue();
}

QString ScriptedDialogs::saveFile(const QString &title, const QString &, const QString &)
{
    if (saveFiles.isEmpty()) {
        ADD_FAILURE() << "unexpected save-file dialog: " << title.toStdString();
        return QString();
    }
    return saveFiles.dequeue();
}

QString ScriptedDialogs::browseFolder(const QString &title, const QString &)
{
    if (folders.isEmpty()) {
        ADD_FAILURE() << "unexpected folder dialog: " << title.toStdString();
        return QString();
    }
    return folders.dequeue();
}

bool ScriptedDialogs::openWithDesktop(const QString &pathOrLink)
{
    opened << pathOrLink;
    return desktopOpens;
}

bool ScriptedDialogs::startProgram(const QString &program, const QStringList &arguments,
                                   const QString &)
{
    started.append({program, arguments});
    return true;
}

bool ScriptedDialogs::printSetup(QPrinter *, QWidget *)
{
    ++printSetups;
    return acceptPrintSetup;
}

void ScriptedDialogs::expectOk(int count)
{
    for (int i = 0; i < count; ++i)
        answers.enqueue(Dialogs::Answer::Ok);
}

void ScriptedDialogs::verifyAllAnswered()
{
    reportLeft(answers, "box answer");
    reportLeft(inputs, "input");
    reportLeft(files, "file");
    reportLeft(folders, "folder");
    reportLeft(saveFiles, "save file");
}

ScriptedDialogs *ScriptedDialogs::current()
{
    return running();
}

QStringList ScriptedDialogs::texts() const
{
    QStringList result;
    for (const Box &box : boxes)
        result << box.text;
    return result;
}

ScriptedDialogs *installScriptedDialogs(std::unique_ptr<ScriptedDialogs> service)
{
    if (!service)
        service = std::make_unique<ScriptedDialogs>();
    running() = service.get();
    Dialogs::install(std::move(service));
    return running();
}

void addScriptedDialogsListener()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScriptedDialogsListener);
}
