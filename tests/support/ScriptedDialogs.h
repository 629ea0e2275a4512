#pragma once

#include "core/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>

// The dialog service of the tests: records every box and answers from queues. A box that asks a
// question (anything but OK alone) with no answer queued fails the test.
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
    QQueue<QString> inputs;   // answers of input boxes
    QQueue<QString> files;    // answers of open-file dialogs
    QQueue<QString> folders;  // answers of folder dialogs
    QStringList opened;       // what was handed to the desktop
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
    QString browseFolder(const QString &title, const QString &initialFolder) override;
    bool openWithDesktop(const QString &pathOrLink) override;
    bool startProgram(const QString &program, const QStringList &arguments,
                      const QString &workingFolder) override;
    bool printSetup(QPrinter *printer, QWidget *parent) override;

    // The texts of the boxes shown so far.
    QStringList texts() const;
    const Box &last() const { return boxes.last(); }
};

// Installs a fresh scripted service and returns it (owned by the dialog service).
ScriptedDialogs *installScriptedDialogs();
