#include "AdminFixture.h"

#include "ChildProcess.h"
#include "KeepsCommitting.h"
#include "LockHolder.h"

#include "admin/BackupRunMark.h"
#include "admin/CompanyBackup.h"
#include "core/DiskSync.h"
#include "core/ProcessLock.h"
#include "platform/ZipArchive.h"

#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <fcntl.h>
#include <future>
#include <unistd.h>

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

    CompanyBackup::Plan planAt(int minute)
    {
        return *CompanyBackup::plan(request(QDateTime(QDate(2024, 3, 7), QTime(9, minute))));
    }

    QStringList files(const char *folder)
    {
        return QDir(path(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    void killed(const CompanyBackup::Plan &plan, const char *dying)
    {
        const ChildEnd end =
            runChild("killed backup", {plan.database, plan.tempFolder, plan.archiveFolder,
                                       QFileInfo(plan.backupCopy).absolutePath(),
                                       QFileInfo(plan.archive).completeBaseName(), dying});
        EXPECT_TRUE(end.crashed) << qPrintable(end.errors);
    }

    // Holds a folder's backup mark as a backup writing there does, until it goes.
    struct RunningBackup
    {
        explicit RunningBackup(const QString &folder)
        {
            QDir().mkpath(folder);
            lock = ProcessLock::take(folder + "/" + BackupRunMark::markName(), O_RDWR | O_CREAT,
                                     ProcessLock::Kind::Shared, ProcessLock::Wait::No);
        }
        ~RunningBackup() { ::close(lock.descriptor); }
        ProcessLock::Lock lock;
    };

    static void touch(const QString &file)
    {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << qPrintable(file);
    }
};

// A backup killed on the way, in a process of its own. Arguments: the company's file, the Temp,
// AutoBKP and backup folders, the base name, and what it dies writing ("copy", "archive" or
// "backup", the copy into the backup folder).
const bool killedBackup = registerChildEntry("killed backup", [](const QStringList &arguments) {
    CompanyBackup::Plan plan;
    plan.database = arguments.value(0);
    plan.tempFolder = arguments.value(1);
    plan.archiveFolder = arguments.value(2);
    plan.plainCopy = plan.tempFolder + "/" + arguments.value(4) + ".mdb";
    plan.archive = plan.archiveFolder + "/" + arguments.value(4) + ".zip";
    plan.backupCopy = arguments.value(3) + "/" + arguments.value(4) + ".zip";
    plan.namePrefix = "City_Library_Annex";
    const QString step = arguments.value(5);
    plan.keepCopy = step == "backup";
    plan.makeBackupFolder = plan.keepCopy;
    // Killed as the file is complete under its temporary name, the moment before it is named.
    const QString dying = FileWriting::partName(step == "copy"      ? plan.plainCopy
                                                : step == "archive" ? plan.archive
                                                                    : plan.backupCopy);
    DiskSync::setObserverForTests([dying](const QString &file) {
        if (file == dying)
            ::kill(::getpid(), SIGKILL);
    });
    CompanyBackup::run(plan);
    return 0;
});

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
    CompanyBackup::run(*plan, [&steps](CompanyBackup::Step step, int) {
        if (steps.isEmpty() || steps.last() != step)
            steps << step;
    });
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

// A company file written by the oldest release of the encryption library the program runs on backs
// up and comes back whole, copied byte by byte or page by page (with a write-ahead log).
TEST_F(CompanyBackupTest, ACompanyOfTheOldestLibraryReleaseBacksUpAndRestores)
{
    const QString company = Module::CompanyDb->path();
    for (const char *journal : {"DELETE", "WAL"}) {
        SCOPED_TRACE(journal);
        Module::CompanyDb.reset();
        QFile::remove(company);
        ASSERT_TRUE(QFile::copy(LD_TEST_FIXTURE_DIR "/CompanyOfSqlcipher3.mdb", company));
        QFile::setPermissions(company, QFile::ReadOwner | QFile::WriteOwner);
        Module::CompanyDb = Database::open(company);
        Module::CompanyDb->scalar(QString("PRAGMA journal_mode = %1").arg(journal));
        Module::CompanyDb->execute("UPDATE Book SET title = 'Kim' WHERE BookID = 3");
        Module::CompanyDb->execute(
            "INSERT INTO Book (BookID, AccessionNo, title, Status) VALUES (4, '4', 'Godaan', "
            "'Available')");

        const auto plan = planAt(5);
        CompanyBackup::run(plan);
        const QString restored = path("restored.mdb");
        QFile::remove(restored);
        ZipArchive::extract(plan.archive, "City_Library_Annex_07_95.mdb", restored);
        const auto copy = Database::open(restored);
        EXPECT_EQ(copy->scalar("PRAGMA integrity_check").toString(), "ok");
        EXPECT_EQ(copy->scalar("SELECT group_concat(title, '|') FROM Book").toString(),
                  "The Jungle Book|Gitanjali|Kim|Godaan");
        EXPECT_EQ(
            copy->scalar("SELECT Name FROM Voucher WHERE TransactionType = 'Issue'").toString(),
            "Asha Verma");
        copy->execute("UPDATE Card SET Name = 'Asha V.' WHERE CardID = 1");
        EXPECT_EQ(Database::open(restored)->scalar("SELECT Name FROM Card").toString(), "Asha V.");
        EXPECT_EQ(copy->scalar("PRAGMA cipher_page_size").toInt(), 1024);
    }
}

TEST_F(CompanyBackupTest, AnotherProgramCommittingAllTheTimeNeitherStallsNorMixesTheCopy)
{
    // Enough pages for many steps of the copy, and two books on pages far apart.
    addThickBooks(*Module::CompanyDb, 6000);
    const auto plan = planAt(5);
    KeepsCommitting other(Module::CompanyDb->path(), 1, 6000);
    ASSERT_TRUE(waitFor([&other] { return other.commits() > 20; }));

    QList<int> copied;
    auto backup = std::async(std::launch::async, [&plan, &copied] {
        CompanyBackup::run(plan, [&copied](CompanyBackup::Step step, int percent) {
            if (step == CompanyBackup::Step::PlainCopy && percent >= 0)
                copied << percent;
        });
    });
    const bool finished = backup.wait_for(std::chrono::seconds(45)) == std::future_status::ready;
    const int commitsBefore = other.commits();
    // The copy held no lock past the time a commit waits for one: the other program went on.
    EXPECT_EQ(other.stop(), "");
    EXPECT_TRUE(finished) << "the backup did not finish while another program kept committing";
    backup.get();
    EXPECT_GT(other.commits(), 20);
    EXPECT_GE(commitsBefore, 20);

    // The progress of the copy went from nothing to the whole, through steps in between.
    ASSERT_GE(copied.size(), 3) << copied.size();
    EXPECT_EQ(copied.first(), 0);
    EXPECT_EQ(copied.last(), 100);
    EXPECT_TRUE(std::is_sorted(copied.cbegin(), copied.cend()));
    EXPECT_TRUE(
        std::any_of(copied.cbegin(), copied.cend(), [](int p) { return p > 0 && p < 100; }));

    // The archive holds one state of the file: both books carry the same commit's number.
    const QString restored = path("restored.mdb");
    ZipArchive::extract(plan.archive, "City_Library_Annex_07_95.mdb", restored);
    const auto copy = Database::open(restored);
    EXPECT_EQ(copy->scalar("PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(copy->scalar("SELECT count(*) FROM Book").toInt(), 6000);
    EXPECT_EQ(
        copy->scalar("SELECT count(DISTINCT Remarks) FROM Book WHERE BookID IN (1, 6000)").toInt(),
        1);
    EXPECT_GT(copy->scalar("SELECT Remarks FROM Book WHERE BookID = 1").toInt(), 0);
}

TEST_F(CompanyBackupTest, AFileWithAWriteAheadLogIsCopiedWithItsLastCommits)
{
    addBooks(300);
    ASSERT_EQ(Module::CompanyDb->scalar("PRAGMA journal_mode = WAL").toString(), "wal");
    // Committed into the log; the file itself does not hold it yet.
    Module::CompanyDb->execute("UPDATE Book SET Title = 'Logged' WHERE BookID = 7");
    ASSERT_TRUE(QFile::exists(Module::CompanyDb->path() + "-wal"));
    const auto plan = planAt(5);
    CompanyBackup::run(plan);
    ZipArchive::extract(plan.archive, "City_Library_Annex_07_95.mdb", path("restored.mdb"));
    const auto copy = Database::open(path("restored.mdb"));
    EXPECT_EQ(copy->scalar("PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(copy->scalar("SELECT Title FROM Book WHERE BookID = 7").toString(), "Logged");
}

TEST_F(CompanyBackupTest, AProgramKeepingTheFileLockedIsToldNotWaitedForEndlessly)
{
    const auto plan = planAt(5);
    LockHolder other(Module::CompanyDb->path(), "BEGIN EXCLUSIVE", 20000);
    try {
        CompanyBackup::run(plan);
        ADD_FAILURE() << "the backup copied a file it could not read";
    } catch (const AppError &error) {
        EXPECT_TRUE(error.description().startsWith(
            "The database cannot be copied: another program keeps it locked. Try the backup "
            "again in a moment."))
            << qPrintable(error.boxText());
    }
    EXPECT_FALSE(QFile::exists(plan.plainCopy));
    EXPECT_EQ(files("Temp"), QStringList());
}

TEST_F(CompanyBackupTest, ABackupClearsWhatBackupsKilledOnTheWayLeftAndOnlyThat)
{
    addBooks(3000);
    const QString mark = BackupRunMark::markName();
    killed(planAt(5), "copy");
    {
        // While another backup runs, what lies there may be its own: nothing goes, in this program
        // or another.
        const RunningBackup running(path("AutoBKP"));
        ASSERT_EQ(running.lock.outcome, ProcessLock::Outcome::Locked);
        killed(planAt(6), "archive");
        // A copy that SQLite was writing leaves its journal too, or in WAL mode its log and shared
        // memory; files no backup names stay.
        for (const char *file :
             {"Temp/City_Library_Annex_07_94.mdb.part-journal",
              "Temp/City_Library_Annex_07_93.mdb.part-wal",
              "Temp/City_Library_Annex_07_93.mdb.part-shm", "Temp/notes.part",
              "Temp/notes.part-wal", "AutoBKP/holiday.zip.part", "AutoBKP/.holiday.lock"})
            touch(path(file));
        CompanyBackup::run(planAt(7));
    }
    // The killed backups' name locks stay too; the finished one's went with it.
    EXPECT_EQ(files("Temp"),
              QStringList({"City_Library_Annex_07_93.mdb.part-shm",
                           "City_Library_Annex_07_93.mdb.part-wal",
                           "City_Library_Annex_07_94.mdb.part-journal",
                           "City_Library_Annex_07_95.mdb.part", "City_Library_Annex_07_96.mdb",
                           "City_Library_Annex_07_97.mdb", "notes.part", "notes.part-wal"}));
    EXPECT_EQ(files("AutoBKP"),
              QStringList({".City_Library_Annex_07_95.lock", ".City_Library_Annex_07_96.lock", mark,
                           ".holiday.lock", "City_Library_Annex_07_96.zip.part",
                           "City_Library_Annex_07_97.zip", "holiday.zip.part"}));

    CompanyBackup::run(planAt(8));
    EXPECT_EQ(files("Temp"),
              QStringList({"City_Library_Annex_07_96.mdb", "City_Library_Annex_07_97.mdb",
                           "City_Library_Annex_07_98.mdb", "notes.part", "notes.part-wal"}));
    EXPECT_EQ(files("AutoBKP"), QStringList({mark, ".holiday.lock", "City_Library_Annex_07_97.zip",
                                             "City_Library_Annex_07_98.zip", "holiday.zip.part"}));
    ZipArchive::extract(planAt(8).archive, "City_Library_Annex_07_98.mdb", path("restored.mdb"));
    EXPECT_EQ(Database::open(path("restored.mdb"))->scalar("SELECT count(*) FROM Book").toInt(),
              3000);
}

// The copy into the backup folder, killed on the way, leaves an archive's size under a temporary
// name: the next backup with nobody copying there clears it, and only this company's names in a
// folder the user chose.
TEST_F(CompanyBackupTest, ACopyIntoTheBackupFolderKilledOnTheWayIsClearedLater)
{
    addBooks(3000);
    killed(planAt(5), "backup");
    const QString dead = path("Backup/City_Library_Annex_07_95.zip.part");
    ASSERT_TRUE(QFile::exists(dead));
    EXPECT_GT(QFileInfo(dead).size(), 0);
    for (const char *file : {"Backup/Other_School_07_95.zip.part", "Backup/photos_12_2024.zip.part",
                             "Backup/City_Library_Annex.zip.part"})
        touch(path(file));
    {
        const RunningBackup copying(path("Backup"));
        ASSERT_EQ(copying.lock.outcome, ProcessLock::Outcome::Locked);
        CompanyBackup::run(planAt(6));
        EXPECT_TRUE(QFile::exists(dead));
    }
    CompanyBackup::run(planAt(7));
    // The last backup out takes its mark away: nothing of the program's stays but its archives.
    EXPECT_EQ(files("Backup"),
              QStringList({"City_Library_Annex.zip.part", "City_Library_Annex_07_96.zip",
                           "City_Library_Annex_07_97.zip", "Other_School_07_95.zip.part",
                           "photos_12_2024.zip.part"}));
    EXPECT_EQ(ZipArchive::entries(path("Backup/City_Library_Annex_07_97.zip")),
              QStringList{"City_Library_Annex_07_97.mdb"});
}

// Two programs backing up one company in the same minute write the same names: the second waits
// for the first, then writes over its files, and both backups are whole and said to be so.
TEST_F(CompanyBackupTest, TwoBackupsOfTheSameNamesTakeTurns)
{
    addBooks(3000);
    const auto plan = planAt(5);
    std::promise<void> firstCopies, secondWaits;
    auto copying = firstCopies.get_future();
    auto waiting = secondWaits.get_future();
    std::atomic<bool> firstSawTheWait{false};
    // The first stops with its copy written under the temporary name until the second waits.
    auto first = std::async(std::launch::async, [&] {
        bool started = false;
        CompanyBackup::run(plan, [&](CompanyBackup::Step step, int percent) {
            if (step == CompanyBackup::Step::PlainCopy && !std::exchange(started, true))
                firstCopies.set_value();
            if (step == CompanyBackup::Step::PlainCopy && percent == 100)
                firstSawTheWait =
                    waiting.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
        });
    });
    ASSERT_EQ(copying.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    auto second = std::async(std::launch::async, [&] {
        bool told = false;
        CompanyBackup::run(plan, [&](CompanyBackup::Step step, int) {
            if (step == CompanyBackup::Step::Waiting && !told) {
                told = true;
                secondWaits.set_value();
            }
        });
        return told;
    });
    EXPECT_NO_THROW(first.get());
    bool secondWaited = false;
    EXPECT_NO_THROW(secondWaited = second.get());
    EXPECT_TRUE(firstSawTheWait);
    EXPECT_TRUE(secondWaited);

    EXPECT_EQ(files("Temp"), QStringList{"City_Library_Annex_07_95.mdb"});
    EXPECT_EQ(files("AutoBKP"),
              QStringList({BackupRunMark::markName(), "City_Library_Annex_07_95.zip"}));
    ZipArchive::extract(plan.backupCopy, "City_Library_Annex_07_95.mdb", path("restored.mdb"));
    EXPECT_EQ(Database::open(path("restored.mdb"))->scalar("SELECT count(*) FROM Book").toInt(),
              3000);
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
