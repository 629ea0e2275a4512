#include "ProgramTest.h"

#include "core/CompanyDatabase.h"
#include "core/Database.h"
#include "core/Module.h"

#include <QElapsedTimer>
#include <QFile>

class CompanyDatabaseTest : public ProgramTest
{
};

TEST_F(CompanyDatabaseTest, UpgradeAddsItsColumnsOnceAndSilently)
{
    makeCompany(path("Data/Data 1"));
    Database &db = *Module::CompanyDb;
    CompanyDatabase::UpgradeDatabaseSchema(db);
    const QStringList warning = db.columns("Warning");
    EXPECT_EQ(warning.size(), 12);
    EXPECT_TRUE(warning.contains("Event"));
    EXPECT_TRUE(warning.contains("OT5"));
    EXPECT_TRUE(db.columns("DbInfo").contains("ON5"));
    const QStringList year = db.columns("FinancialYear");
    EXPECT_TRUE(year.contains("OT10"));
    EXPECT_TRUE(year.contains("ON1"));

    const int before = db.columns("FinancialYear").size();
    CompanyDatabase::UpgradeDatabaseSchema(db);
    EXPECT_EQ(db.columns("FinancialYear").size(), before);
    EXPECT_EQ(db.columns("Warning").size(), 12);
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

TEST_F(CompanyDatabaseTest, DataSourceHoldsOneEntryForTheLastCompany)
{
    // Another data source in the file stays as it is.
    QFile ini(CompanyDatabase::dataSourceFile());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Other]\nDriver = x\n");
    ini.close();

    CompanyDatabase::RegisterCompanyDataSource("/srv/data/Data 1");
    CompanyDatabase::RegisterCompanyDataSource("  /srv/data/Data 2 ");
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ini.readAll());
    EXPECT_EQ(text.count("[Vantrel 10]"), 1);
    EXPECT_TRUE(text.contains("[Other]\nDriver = x"));
    // Blanks go at the two ends of the whole path only: the blank before the file name stays.
    EXPECT_TRUE(text.contains("DBQ = /srv/data/Data 2 /Vevezidora12.mdb\n"));
    EXPECT_TRUE(text.contains("Database = /srv/data/Data 2 /Vevezidora12.mdb\n"));
    EXPECT_TRUE(text.contains("PWD = quietmaple"));
    EXPECT_FALSE(text.contains("Data 1"));
}

TEST_F(CompanyDatabaseTest, AHostileFolderNameNeverReachesTheDataSourceFile)
{
    const QByteArray before = "[Other]\nDriver = x\n\n[Vantrel 10]\nDBQ = /srv/old/Vevezidora12.mdb\n";
    QFile ini(CompanyDatabase::dataSourceFile());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(before);
    ini.close();

    for (const QString &folder : {QString("/srv/x\n[Evil]\nDriver = /tmp/evil.so\n"),
                                  QString("/srv/x\r[Evil]"), QString("/srv/[Evil]"),
                                  QString("/srv/x\u2028y")}) {
        try {
            CompanyDatabase::RegisterCompanyDataSource(folder);
            ADD_FAILURE() << "written: " << qPrintable(folder);
        } catch (const AppError &error) {
            EXPECT_TRUE(error.description().contains("line break or a square bracket"))
                << qPrintable(error.description());
            EXPECT_FALSE(error.description().contains('\n'));
        }
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        EXPECT_EQ(ini.readAll(), before);
        ini.close();
    }

    // A file that cannot be read is not replaced by one that lost its other entries.
    ASSERT_TRUE(ini.setPermissions(QFileDevice::WriteOwner));
    if (!ini.open(QIODevice::ReadOnly)) {
        EXPECT_THROW(CompanyDatabase::RegisterCompanyDataSource("/srv/data/Data 1"), AppError);
        ini.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        EXPECT_EQ(ini.readAll(), before);
    } // else running as root: every file reads
}

TEST_F(CompanyDatabaseTest, UpgradeIsOneTransactionThatWaitsOnceAndReports)
{
    makeCompany(path("Data/Data 1"));
    const QString file = Module::CompanyDb->path();
    auto other = Database::open(file);
    other->execute("BEGIN IMMEDIATE"); // another program writing

    QElapsedTimer timer;
    timer.start();
    try {
        CompanyDatabase::UpgradeDatabaseSchema(*Module::CompanyDb);
        ADD_FAILURE() << "the upgrade passed a lock silently";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number(), 5);
    }
    EXPECT_LT(timer.elapsed(), 15000);
    EXPECT_FALSE(Module::CompanyDb->hasTable("Warning"));

    other->execute("COMMIT");
    CompanyDatabase::UpgradeDatabaseSchema(*Module::CompanyDb);
    EXPECT_EQ(Module::CompanyDb->columns("Warning").size(), 12);

    // Up to date: nothing is written, so the lock costs no wait.
    other->execute("BEGIN IMMEDIATE");
    timer.restart();
    EXPECT_NO_THROW(CompanyDatabase::UpgradeDatabaseSchema(*Module::CompanyDb));
    EXPECT_LT(timer.elapsed(), 1000);
    other->execute("COMMIT");
}
