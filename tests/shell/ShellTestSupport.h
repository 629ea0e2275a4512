#pragma once

#include "ProgramTest.h"
#include "WaitFor.h"

#include "core/Database.h"
#include "core/Module.h"
#include "shell/MDIForm1.h"
#include "shell/ShellWindows.h"
#include "shell/frmCompanyList.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <memory>

// The shell's windows registered, the application databases open and the main window made, as
// the program has them at start; companies are made below the program's Data folder.
class ShellTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        registerShellWindows();
        openApplicationDatabases();
        main = std::make_unique<MDIForm1>();
        main->resize(1400, 860);
    }

    void TearDown() override
    {
        main.reset();
        ProgramTest::TearDown();
    }

    // A company database in Data/<folder> with one Company row and the user ADMIN / secret.
    QString addCompany(const QString &folder, const QString &name, const QString &city = "Pune")
    {
        const QString dataFolder = path("Data/" + folder);
        makeCompany(dataFolder, false);
        auto db = Database::open(Module::companyDatabasePath(dataFolder));
        db->execute("INSERT INTO Company (CompanyName, city, email) VALUES (?, ?, ?)",
                    {name, city, "desk@example.org"});
        db->execute(
            "INSERT INTO Users (UserID, UserName, UserPosition, Password) VALUES (2, ?, ?, ?)",
            {"ADMIN", "SUPER USER", "secret"});
        db->execute("INSERT INTO FinancialYear (StartDate, EndDate) VALUES (?, ?)",
                    {"01-Apr-24", "31-Mar-25"});
        return dataFolder;
    }

    // Lets closed windows go and queued work run.
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    frmCompanyList *showPicker()
    {
        auto *picker = WindowRegistry::show<frmCompanyList>("frmCompanyList");
        EXPECT_TRUE(activate(main.get()));
        waitForScan(picker);
        return picker;
    }

    static void waitForScan(frmCompanyList *picker)
    {
        ASSERT_TRUE(waitFor([picker] { return !picker->scanPending(); }));
    }

    template <typename T> T *child(QWidget *window, const char *name)
    {
        T *found = window->findChild<T *>(name);
        EXPECT_TRUE(found) << name;
        return found;
    }

    void saveScreenshot(QWidget *widget, const QString &name)
    {
        widget->grab().save(QDir(testOutputFolder()).filePath(name));
    }

    std::unique_ptr<MDIForm1> main;
};
