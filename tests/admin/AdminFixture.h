#pragma once

#include "ProgramTest.h"
#include "WaitFor.h"

#include "admin/AdminSettings.h"
#include "admin/AdminWindows.h"
#include "controls/button/StyledButton.h"
#include "core/Database.h"
#include "core/Module.h"
#include "platform/FileWriting.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QPointer>
#include <QSettings>

// The administration windows in a main window's area, a company open and logged in, and a
// settings store of the test's own.
class AdminFixture : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path("settings"));
        openApplicationDatabases();
        registerAdminWindows();
        makeCompany(path("Data/Data 1"));
        Module::CompanyDb->execute("DELETE FROM Company");
        Module::CompanyDb->execute(
            "INSERT INTO Company (CompanyName, Address, city, phone, email, OT3, OT4) "
            "VALUES (?, ?, ?, ?, ?, ?, ?)",
            {"City Library/Annex", "12 Mall Road", "Pune", "020-555", "desk@example.org",
             "library.gvs@gmail.com", "secret-pass"});
        Module::CurrentCompanyName = "City Library/Annex";
        Module::CurrentCompanyEmail = "library.gvs@gmail.com";
        area = new QMdiArea;
        area->resize(1024, 700);
        area->show();
        WindowRegistry::setMdiArea(area);
    }

    void TearDown() override
    {
        FileWriting::setSpaceLeftForTests(-1);
        delete area;
        ProgramTest::TearDown();
    }

    template <typename T> T *control(QWidget *window, const char *name)
    {
        T *found = window->findChild<T *>(name);
        EXPECT_TRUE(found) << name;
        return found;
    }

    void click(QWidget *window, const char *button)
    {
        emit control<StyledButton>(window, button)->Click();
    }

    QPointer<QMdiArea> area;
};
