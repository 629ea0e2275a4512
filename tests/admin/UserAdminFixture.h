#pragma once

#include "ProgramTest.h"
#include "WaitFor.h"

#include "admin/AdminWindows.h"
#include "core/Module.h"
#include "ui/RecordList.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QMdiArea>
#include <QPointer>
#include <QTest>

// A company open as CompanyDb, a logged-in position, and the administration windows registered in
// a main window's area.
class UserAdminFixture : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        openApplicationDatabases();
        makeCompany(path("Data/Data 1"));
        logInAs("SUPER USER");
        registerAdminWindows();
        area = new QMdiArea;
        area->resize(1024, 768);
        area->show();
        WindowRegistry::setMdiArea(area);
    }

    void TearDown() override
    {
        delete area;
        ProgramTest::TearDown();
    }

    static void logInAs(const QString &position)
    {
        Module::CurrentUserPosition = position;
        Module::LoginPosition = position;
    }

    template <typename Window> Window *open(const char *name)
    {
        auto *window = WindowRegistry::show<Window>(name);
        EXPECT_TRUE(activate(area));
        return window;
    }

    template <typename T> static T *control(QWidget *window, const char *name)
    {
        T *found = window->findChild<T *>(name);
        EXPECT_TRUE(found) << name;
        return found;
    }

    // Closes the window and lets it go, so the next open builds it anew.
    static void closeWindow(const char *name)
    {
        WindowRegistry::close(name);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(WindowRegistry::find(name)) << name;
    }

    static QStringList column(RecordList *list, int index)
    {
        QStringList texts;
        for (int row = 0; row < list->records()->size(); ++row)
            texts << list->records()->row(row).texts.value(index);
        return texts;
    }

    static void doubleClickRow(RecordList *list, int row)
    {
        const QModelIndex index = list->model()->index(row, 1);
        list->setCurrentIndex(index);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }

    static QVariant scalar(const QString &sql, const QVariantList &values = {})
    {
        return Module::CompanyDb->scalar(sql, values);
    }

    QPointer<QMdiArea> area;
};
