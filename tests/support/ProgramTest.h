#pragma once

#include "QtPrinters.h"
#include "ScriptedDialogs.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The base of tests that need the program: a fresh program folder in a temporary directory, the
// program pointed at it, scripted dialogs, and no window or handle left from an earlier test.
class ProgramTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the application databases into the shared handles.
    void openApplicationDatabases();
    // Makes a company database from the template in the given folder (made if missing) and returns
    // its path. With open, CompanyDb points at it and CompanyDataPath at the folder.
    QString makeCompany(const QString &folder, bool open = true);

    QString programFolder() const { return dir_.path(); }
    QString path(const QString &relative) const;

    ScriptedDialogs *dialogs = nullptr;

private:
    QTemporaryDir dir_;
};

// A fresh program folder laid out at the given path (a copy of one laid out once per process).
void layOutTestProgramFolder(const QString &folder);

// The folder where tests save screenshots and other files worth looking at.
QString testOutputFolder();
