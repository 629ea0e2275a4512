#include "ProgramTest.h"

#include "core/ApplicationDatabases.h"
#include "core/Module.h"
#include "ui/StartApplication.h"
#include "ui/WindowRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

TEST_F(StartApplicationTest, AnEmptyOrDamagedRequiredDatabaseIsAsFatalAsAMissingOne)
{
    for (const char *file : {"Companies12.mdb", "Package.mdb", "BarDb/dbCake.mdb"}) {
        for (const bool empty : {true, false}) {
            SCOPED_TRACE(std::string(file) + (empty ? " empty" : " damaged"));
            dialogs->boxes.clear();
            splashShown = false;
            Module::reset();
            const QString target = path(file);
            ASSERT_TRUE(QFile::rename(target, target + ".away"));
            QFile broken(target);
            ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
            qint64 size = 0;
            if (!empty) {
                // The real file's first page, then garbage where its tables were.
                QFile whole(target + ".away");
                ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
                size = whole.size();
                broken.write(whole.read(1024));
                broken.write(QByteArray(int(size - 1024), '\x5A'));
            }
            broken.close();

            dialogs->expectOk();
            EXPECT_FALSE(StartApplication());
            EXPECT_FALSE(splashShown);
            ASSERT_EQ(dialogs->boxes.size(), 1);
            EXPECT_TRUE(dialogs->last().text.startsWith("Error "))
                << dialogs->last().text.toStdString();
            EXPECT_TRUE(dialogs->last().text.contains(file)) << dialogs->last().text.toStdString();
            EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
            // Nothing was written into the file that failed.
            EXPECT_EQ(QFileInfo(target).size(), size);
            ASSERT_TRUE(QFile::remove(target));
            ASSERT_TRUE(QFile::rename(target + ".away", target));
        }
    }
}

TEST_F(StartApplicationTest, MakesItsOwnDataFolderWhenItIsMissing)
{
    ASSERT_TRUE(QDir(path("Data")).removeRecursively());
    ASSERT_TRUE(StartApplication());
    EXPECT_TRUE(QFileInfo(path("Data")).isDir());
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}
