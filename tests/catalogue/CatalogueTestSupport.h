#pragma once

#include "ProgramTest.h"
#include "WaitFor.h"

#include "catalogue/CatalogueWindows.h"
#include "core/Database.h"
#include "core/Module.h"
#include "ui/WindowRegistry.h"
#include "ui/frmPrint1.h"

#include <QApplication>
#include <QTest>

// A company open with the catalogue's windows and the report window registered.
class CatalogueTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        openApplicationDatabases();
        makeCompany(path("Data/Data 1"));
        Module::CompanyDb->execute(
            "INSERT INTO Company (CompanyName, Address, Address2, city, phone, mobile, TINNo) "
            "VALUES ('Green Valley School', '12 Mall Road', 'Near Clock Tower', 'Shimla', "
            "'0177-2650011', '98160 11111', 'TIN-4455')");
        registerCatalogueWindows();
        registerReportWindow();
    }

    // A Book row; columns not given stay NULL.
    void addBook(int key, const QVariantMap &columns)
    {
        QStringList names{"BookID"};
        QStringList marks{"?"};
        QVariantList values{key};
        for (auto it = columns.begin(); it != columns.end(); ++it) {
            names << '"' + it.key() + '"';
            marks << "?";
            values << it.value();
        }
        Module::CompanyDb->execute(
            QString("INSERT INTO Book (%1) VALUES (%2)").arg(names.join(", "), marks.join(", ")),
            values);
    }

    void addPlainBook(int key, const QString &accessionNo, const QString &title = "Godan")
    {
        addBook(key, {{"AccessionNo", accessionNo},
                      {"title", title},
                      {"Subject", "Fiction"},
                      {"Edition", "2nd"},
                      {"OT11", "Rack 1"},
                      {"OT14", accessionNo},
                      {"Status", "Available"}});
    }

    void grant(const QString &position, const char *add, const char *modify, const char *remove)
    {
        Module::CompanyDb->execute(
            "INSERT INTO UserProfile (PositionID, \"Position\", Entry, \"Add\", Modify, "
            "\"Delete\", \"Print\") VALUES (1, ?, 'Book', ?, ?, ?, 'Y')",
            {position, add, modify, remove});
    }

    QVariant bookValue(int key, const QString &column)
    {
        return Module::CompanyDb->scalar(
            QString("SELECT \"%1\" FROM Book WHERE BookID = ?").arg(column), {key});
    }

    // Fails the second write from now: a change's delete passes, its add fails.
    static Database::FailureHook failSecondWrite()
    {
        Database::FailureHook hook;
        hook.failOnWrite = 2;
        return hook;
    }

    int books() { return Module::CompanyDb->scalar("SELECT count(*) FROM Book").toInt(); }

    template <typename T> T *show(const char *name)
    {
        auto *window = WindowRegistry::show<T>(name);
        if (window) {
            EXPECT_TRUE(activate(window->window()));
            EXPECT_TRUE(QTest::qWaitForWindowActive(window->window()));
        }
        return window;
    }
};
