#pragma once

#include "core/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <memory>

// The dialog service of every test: records every box and answers from queues. Every box, input
// box, file or folder dialog must be expected by a queued answer (an OK box by Answer::Ok, or
// expectOk()); one that is not fails the test, and so do answers still queued when the test ends.
class ScriptedDialogs : public Dialogs::Service
{
public:
    struct Box
    {
        QString text;
        Dialogs::Buttons buttons;
        Dialogs::Icon icon;
        QString title;
    };

    QList<Box> boxes;
    QQueue<Dialogs::Answer> answers;
    QQueue<QString> inputs;  // answers of input boxes
    QQueue<QString> files;   // answers of open-file dialogs
    QQueue<QString> folders; // answers of folder dialogs
    QQueue<QString> saveFiles; // answers of save-file dialogs
    QStringList opened;      // what was handed to the desktop
    bool desktopOpens = true; // false: the desktop opens nothing handed to it
    QList<QPair<QString, QStringList>> started;
    QStringList inputPrompts;
    struct InputBox
    {
        QString prompt;
        QString title;
        QString defaultText;
    };
    QList<InputBox> inputBoxes;
    bool acceptPrintSetup = true;
    int printSetups = 0;

    Dialogs::Answer message(const Dialogs::Message &message) override;
    QString input(const QString &prompt, const QString &title, const QString &defaultText) override;
    QString openFile(const QString &title, const QString &filter, const QString &folder) override;
    QString saveFile(const QString &title, const QString &filter, const QString &suggested) override;
    QString browseFolder(const QString &title, const QString &initialFolder) override;
    bool openWithDesktop(const QString &pathOrLink) override;
    bool startProgram(const QString &program, const QStringList &arguments,
                      const QString &workingFolder) override;
    bool printSetup(QPrinter *printer, QWidget *parent) override;

    // Expects that many boxes with OK alone, answered OK.
    void expectOk(int count = 1);
    // Fails the running test for every answer still queued, and empties the queues.
    void verifyAllAnswered();

    // The service installed for the running test (TestMain installs a fresh one for every test).
    static ScriptedDialogs *current();

    // The texts of the boxes shown so far.
    QStringList texts() const;
    const Box &last() const { return boxes.last(); }
};

// Installs a fresh scripted service (or the given one, of a class derived from it) and returns it
// (owned by the dialog service).
ScriptedDialogs *installScriptedDialogs(std::unique_ptr<ScriptedDialogs> service = {});

// Installs fresh scripted dialogs before every test and checks their queues after it.
void addScriptedDialogsListener();
