#include "ProgramTest.h"

#include "core/CompanyDatabase.h"
#include "core/Module.h"

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
