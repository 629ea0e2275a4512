#pragma once

#include "ProgramTest.h"
#include "WaitFor.h"

#include "controls/button/StyledButton.h"
#include "core/Database.h"
#include "core/Module.h"
#include "members/MembersWindows.h"
#include "ui/WindowRegistry.h"
#include "ui/frmPrint1.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>

// The member windows in a main window's area of 1024x768 less the ribbon, with an open company.
class MembersFixture : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        openApplicationDatabases();
        makeCompany(path("Data/Data 1"));
        registerMembersWindows();
        registerReportWindow();
        area = new QMdiArea;
        area->resize(1020, 600);
        area->show();
        WindowRegistry::setMdiArea(area);
        EXPECT_TRUE(activate(area));
    }

    void TearDown() override
    {
        delete area;
        ProgramTest::TearDown();
    }

    template <typename Window> Window *open(const char *name)
    {
        auto *window = WindowRegistry::show<Window>(name);
        EXPECT_TRUE(activate(area));
        return window;
    }

    template <typename T = QLineEdit> static T *control(QWidget *window, const char *name)
    {
        T *found = window->findChild<T *>(name);
        EXPECT_TRUE(found) << name;
        return found;
    }

    static void click(QWidget *window, const char *button)
    {
        emit control<StyledButton>(window, button)->Click();
    }

    static Database &db() { return *Module::CompanyDb; }

    // The nth write from now fails.
    static void failWrite(int n)
    {
        Database::FailureHook hook;
        hook.failOnWrite = n;
        Database::setFailureHook(hook);
    }

    static qint64 addGroup(const QString &name, double fine = 1, double maxBooks = 2)
    {
        const qint64 id = db().scalar("SELECT ifnull(Max(GroupID), 0) + 1 FROM Group1").toLongLong();
        db().execute("INSERT INTO Group1 (GroupID, GroupName, FinePerDay, MaxBooks, MaxDays, "
                     "Remarks) VALUES (?, ?, ?, ?, 14, '')",
                     {id, name, fine, maxBooks});
        return id;
    }

    // A card with its name, number, group and validity date (ISO, or empty for none).
    static void addCard(qint64 id, double cardNo, const QString &name, const QVariant &groupId,
                        const QVariant &validUpto)
    {
        db().execute("INSERT INTO Card (CardID, CardNo, GroupID, GroupName, RollNo, Name, "
                     "Contact1, OT11, OT13, OT14, Remarks, OD1) "
                     "VALUES (?, ?, ?, (SELECT GroupName FROM Group1 WHERE GroupID = ?), ?, ?, "
                     "?, ?, ?, ?, ?, ?)",
                     {id, cardNo, groupId, groupId, QString("R-%1").arg(id), name,
                      QString("98140%1").arg(id, 5, 10, QChar('0')), "Harbans Lal", "Nabha",
                      "Patiala", "", validUpto});
    }

    void saveScreenshot(QWidget *window, const QString &file)
    {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(area.data()));
        const QPixmap shot = window->grab();
        EXPECT_TRUE(shot.save(QDir(testOutputFolder()).filePath(file)));
    }

    QPointer<QMdiArea> area;
};
