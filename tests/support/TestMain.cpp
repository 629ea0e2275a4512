#include "ChildProcess.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English));
    QApplication app(argc, argv);
    if (const auto exitCode = runChildEntryIfAsked(argc, argv))
        return *exitCode;
    ::testing::InitGoogleTest(&argc, argv);
    addScriptedDialogsListener();
    return RUN_ALL_TESTS();
}
