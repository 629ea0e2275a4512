#include "ProgramTest.h"

#include "core/ApplicationDatabases.h"
#include "core/Module.h"
#include "ui/StartApplication.h"
#include "ui/WindowRegistry.h"

#include <QDir>
#include <QFile>

class StartApplicationTest : public ProgramTest
{
protected:
    bool splashShown = false;
    void SetUp() override
    {
        ProgramTest::SetUp();
        WindowRegistry::registerWindow(
            "frmSplash",
            [this] {
                splashShown = true;
                return new QWidget;
            },
            WindowRegistry::Placement::Alone);
    }
};

TEST_F(StartApplicationTest, OpensTheHandlesAndShowsTheSplash)
{
    ASSERT_TRUE(StartApplication());
    EXPECT_TRUE(Module::CommonDb && Module::PackageDb && Module::StickerDb);
    EXPECT_FALSE(Module::WhatsAppDb); // no messaging database: no error
    EXPECT_TRUE(splashShown);
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    EXPECT_EQ(shortDateFormat(), "dd-MMM-yy");
    EXPECT_EQ(QLocale().toString(QDate(2024, 3, 5), shortDateFormat()), "05-Mar-24");
}

TEST_F(StartApplicationTest, OpensTheMessagingDatabaseWhenItIsThere)
{
    QDir().mkpath(path("wa"));
    ASSERT_TRUE(QFile::copy(path("BarDb/dbCake.mdb"), path("wa/WaDB.mdb")));
    ASSERT_TRUE(StartApplication());
    EXPECT_TRUE(Module::WhatsAppDb);
}

TEST_F(StartApplicationTest, AMissingRequiredDatabaseEndsBeforeAnyWindow)
{
    for (const char *file : {"Package.mdb", "BarDb/dbCake.mdb", "Companies12.mdb"}) {
        SCOPED_TRACE(file);
        dialogs->boxes.clear();
        splashShown = false;
        Module::reset();
        const QString target = path(file);
        ASSERT_TRUE(QFile::rename(target, target + ".away"));
        dialogs->expectOk();
        EXPECT_FALSE(StartApplication());
        EXPECT_FALSE(splashShown);
        ASSERT_EQ(dialogs->boxes.size(), 1);
        EXPECT_TRUE(dialogs->last().text.startsWith("Error 3024\r "));
        EXPECT_TRUE(dialogs->last().text.contains(file));
        ASSERT_TRUE(QFile::rename(target + ".away", target));
    }
}
