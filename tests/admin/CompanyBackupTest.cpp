#include "AdminFixture.h"

#include "admin/CompanyBackup.h"
#include "core/DiskSync.h"
#include "platform/ZipArchive.h"

#include <QFile>
#include <QFileInfo>

namespace {

class CompanyBackupTest : public AdminFixture
{
protected:
    CompanyBackup::Request request(const QDateTime &now = QDateTime(QDate(2024, 3, 7), QTime(9, 5)))
    {
        CompanyBackup::Request r;
        r.programFolder = programFolder();
        r.drives = {{'F', programFolder()}};
        r.companyName = Module::CurrentCompanyName;
        r.companyDataPath = Module::CompanyDataPath;
        r.backupFolder = CompanyBackup::defaultBackupFolder(programFolder());
        r.now = now;
        return r;
    }

    // Adds rows so the copy has more than a page or two to carry.
    void addBooks(int count)
    {
        Transaction t(*Module::CompanyDb);
        for (int i = 1; i <= count; ++i)
            Module::CompanyDb->execute(
                "INSERT INTO Book (BookID, AccessionNo, Title, Status) VALUES (?, ?, ?, ?)",
                {i, QString::number(i), QString("Title of book %1").arg(i), "Available"});
        t.commit();
    }
};

TEST(CompanyBackupNames, StampNameAndBackupPath)
{
    using namespace CompanyBackup;
    EXPECT_EQ(timeStamp(QDate(2024, 3, 7), QTime(9, 5)), "07_95");
    EXPECT_EQ(timeStamp(QDate(2024, 3, 21), QTime(14, 30)), "21_1430");
    EXPECT_EQ(timeStamp(QDate(2024, 3, 1), QTime(1, 15)),
              timeStamp(QDate(2024, 3, 1), QTime(11, 5)));
    EXPECT_EQ(timeStamp(QDate(2024, 3, 1), QTime(0, 0)), "01_00");
    EXPECT_EQ(baseName("City Library/Annex", "07_95"), "City_Library_Annex_07_95");
    EXPECT_EQ(baseName("Plain", "07_95"), "Plain_07_95");
    EXPECT_EQ(baseName("../../etc", "07_95"), ".._.._etc_07_95");

    EXPECT_EQ(backupCopyPath("/media/usb", "a.zip"), "/media/usb/a.zip");
    EXPECT_EQ(backupCopyPath("/media/usb/", "a.zip"), "/media/usb/a.zip");
    EXPECT_EQ(backupCopyPath("/", "a.zip"), "/a.zip");

    // The nearest folder holding the program names its drive; only D, E and F take backups.
    const QMap<QChar, QString> drives = {{'C', "/"}, {'E', "/srv/lib"}, {'F', "/srv/library"}};
    EXPECT_EQ(programDrive("/srv/library/program", drives), QChar('F'));
    EXPECT_EQ(programDrive("/srv/lib/program", drives), QChar('E'));
    EXPECT_EQ(programDrive("/srv/libraryx", drives), QChar('C'));
    EXPECT_TRUE(programDrive("/srv/x", {{'D', "/srv/library"}}).isNull());
    EXPECT_TRUE(takesBackups('D') && takesBackups('E') && takesBackups('F'));
    EXPECT_FALSE(takesBackups('C') || takesBackups('d') || takesBackups(QChar()));
}

TEST_F(CompanyBackupTest, ThePlanNamesEveryFileOnTheProgramsDrive)
{
    auto plan = CompanyBackup::plan(request());
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->database, path("Data/Data 1/Vevezidora12.mdb"));
    EXPECT_EQ(plan->plainCopy, path("Temp/City_Library_Annex_07_95.mdb"));
    EXPECT_EQ(plan->archive, path("AutoBKP/City_Library_Annex_07_95.zip"));
    EXPECT_EQ(plan->backupCopy, path("Backup/City_Library_Annex_07_95.zip"));
    EXPECT_TRUE(plan->makeBackupFolder);

    auto chosen = request();
    chosen.backupFolder = "/media/usb";
    EXPECT_EQ(CompanyBackup::plan(chosen)->backupCopy, "/media/usb/City_Library_Annex_07_95.zip");
    EXPECT_FALSE(CompanyBackup::plan(chosen)->makeBackupFolder);

    auto elsewhere = request();
    elsewhere.drives = {{'C', programFolder()}};
    EXPECT_FALSE(CompanyBackup::plan(elsewhere));
    // Nothing stored: D is the program folder.
    EXPECT_EQ(AdminSettings::driveFolders(), (QMap<QChar, QString>{{'D', programFolder()}}));
    AdminSettings::setDriveFolders({{'E', "/srv"}});
    EXPECT_EQ(AdminSettings::driveFolders(), (QMap<QChar, QString>{{'E', "/srv"}}));
}

TEST_F(CompanyBackupTest, TheArchiveRestoresTheWholeCompany)
{
    addBooks(3000);
    const auto plan = CompanyBackup::plan(request());
    QList<CompanyBackup::Step> steps;
    CompanyBackup::run(*plan, [&steps](CompanyBackup::Step step) { steps << step; });
    EXPECT_EQ(steps.size(), 4);
    EXPECT_TRUE(QFileInfo(path("Backup")).isDir());
    EXPECT_TRUE(QFile::exists(plan->plainCopy));
    ASSERT_EQ(ZipArchive::entries(plan->backupCopy), QStringList{"City_Library_Annex_07_95.mdb"});
    EXPECT_EQ(QFileInfo(plan->backupCopy).size(), QFileInfo(plan->archive).size());
    EXPECT_FALSE(QFile::exists(FileWriting::partName(plan->archive)));

    // What comes out of the archive opens with the program's key and holds every row.
    const QString restored = path("restored.mdb");
    ZipArchive::extract(plan->backupCopy, "City_Library_Annex_07_95.mdb", restored);
    auto copy = Database::open(restored);
    EXPECT_EQ(copy->scalar("PRAGMA integrity_check").toString(), "ok");
    for (const char *table : {"Book", "Company", "Users", "FinancialYear", "Account", "Options"}) {
        const QString count = QString("SELECT count(*) FROM %1").arg(table);
        EXPECT_EQ(copy->scalar(count), Module::CompanyDb->scalar(count)) << table;
    }
    EXPECT_EQ(copy->scalar("SELECT Title FROM Book WHERE BookID = 2999").toString(),
              "Title of book 2999");
    EXPECT_EQ(copy->scalar("SELECT OT4 FROM Company").toString(), "secret-pass");

    // The same minute again: one set of files, overwritten.
    Module::CompanyDb->execute("DELETE FROM Book WHERE BookID > 10");
    CompanyBackup::run(*plan);
    EXPECT_EQ(QDir(path("AutoBKP")).entryList(QDir::Files).size(), 1);
    ZipArchive::extract(plan->backupCopy, "City_Library_Annex_07_95.mdb", restored);
    EXPECT_EQ(Database::open(restored)->scalar("SELECT count(*) FROM Book").toInt(), 10);
}

TEST_F(CompanyBackupTest, FailuresStopTheWorkAndLeaveNoHalfFiles)
{
    const auto plan = CompanyBackup::plan(request());
    const auto failure = [&plan](const CompanyBackup::Plan &p) {
        try {
            CompanyBackup::run(p);
        } catch (const AppError &error) {
            return error.number();
        }
        return 0;
    };

    // No open company: the folders are made, nothing is copied.
    auto noCompany = *plan;
    noCompany.database.clear();
    EXPECT_EQ(failure(noCompany), 3024);
    EXPECT_TRUE(QFileInfo(path("AutoBKP")).isDir());
    EXPECT_FALSE(QFile::exists(plan->plainCopy));

    // A folder in the archive's way: the copy stays, no archive, no backup copy.
    QDir().mkpath(plan->archive);
    EXPECT_EQ(failure(*plan), 75);
    EXPECT_TRUE(QFile::exists(plan->plainCopy));
    EXPECT_FALSE(QFile::exists(plan->backupCopy));
    QDir(plan->archive).removeRecursively();

    // The disk fills while the archive is written.
    FileWriting::setSpaceLeftForTests(1000);
    EXPECT_EQ(failure(*plan), 61);
    EXPECT_FALSE(QFile::exists(plan->archive));
    EXPECT_FALSE(QFile::exists(FileWriting::partName(plan->archive)));

    // The disk fills while the archive is copied into the backup folder.
    FileWriting::setSpaceLeftForTests(-1);
    ASSERT_EQ(failure(*plan), 0);
    const qint64 archiveSize = QFileInfo(plan->archive).size();
    QFile::remove(plan->backupCopy);
    FileWriting::setSpaceLeftForTests(archiveSize + archiveSize / 2);
    EXPECT_EQ(failure(*plan), 61);
    EXPECT_FALSE(QFile::exists(plan->backupCopy));
    EXPECT_FALSE(QFile::exists(FileWriting::partName(plan->backupCopy)));
    FileWriting::setSpaceLeftForTests(-1);

    // A chosen backup folder that does not exist is not made; an empty one is refused.
    auto missing = *plan;
    missing.backupCopy = path("NoSuchFolder/x.zip");
    missing.makeBackupFolder = false;
    EXPECT_EQ(failure(missing), 76);
    EXPECT_FALSE(QFileInfo(path("NoSuchFolder")).exists());
    auto empty = request();
    empty.backupFolder = "";
    EXPECT_EQ(failure(*CompanyBackup::plan(empty)), 76);
}

TEST_F(CompanyBackupTest, AFullDiskNamesTheFolderAndTheFileThatDidNotFit)
{
    QDir().mkpath(path("usb stick"));
    auto chosen = request();
    chosen.backupFolder = path("usb stick/");
    const auto plan = CompanyBackup::plan(chosen);
    const auto failure = [&plan] {
        try {
            CompanyBackup::run(*plan);
        } catch (const AppError &error) {
            return error.boxText();
        }
        return QString();
    };
    ASSERT_EQ(failure(), "");
    const qint64 archiveSize = QFileInfo(plan->archive).size();

    FileWriting::setSpaceLeftForTests(archiveSize + archiveSize / 2);
    EXPECT_EQ(failure(), "Error 61\r Disk full: the backup folder " + path("usb stick") +
                             " has no room for City_Library_Annex_07_95.zip");
    FileWriting::setSpaceLeftForTests(1000);
    EXPECT_EQ(failure(), "Error 61\r Disk full: the folder " + path("AutoBKP") +
                             " has no room for City_Library_Annex_07_95.zip");
}

TEST_F(CompanyBackupTest, EveryFileIsSyncedBeforeItTakesItsNameAndItsFolderAfter)
{
    const auto plan = CompanyBackup::plan(request());
    // Each sync as "path" for a file still under its temporary name, "path:folder" for a folder.
    QStringList synced;
    DiskSync::setObserverForTests([&synced](const QString &file) {
        synced << (QFileInfo(file).isDir() ? file + ":folder" : file);
    });
    CompanyBackup::run(*plan);
    DiskSync::setObserverForTests({});
    const auto part = [](const QString &file) { return FileWriting::partName(file); };
    EXPECT_EQ(synced, QStringList({part(plan->plainCopy), path("Temp") + ":folder",
                                   part(plan->archive), path("AutoBKP") + ":folder",
                                   part(plan->backupCopy), path("Backup") + ":folder"}));
}

TEST_F(CompanyBackupTest, ADamagedDatabaseIsNotPassedOffAsABackup)
{
    const auto plan = CompanyBackup::plan(request());
    auto damaged = *plan;
    damaged.database = path("damaged.mdb");
    QFile file(damaged.database);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    EXPECT_THROW(CompanyBackup::run(damaged), AppError);
    EXPECT_FALSE(QFile::exists(plan->plainCopy));
    EXPECT_FALSE(QFile::exists(plan->archive));
}

TEST_F(CompanyBackupTest, TheTimeIsRecordedInPath)
{
    CompanyBackup::recordTime(*Module::CommonDb, QDateTime(QDate(2024, 3, 7), QTime(9, 5, 30)));
    EXPECT_EQ(Module::CommonDb->scalar("SELECT OD1 FROM Path").toString(), "2024-03-07 09:05:30");
}

} // namespace
