#include "LockHolder.h"
#include "ShellTestSupport.h"

#include "core/CompanyDatabase.h"
#include "core/Units.h"
#include "shell/frmLogin.h"
#include "ui/RecordList.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <cstdio>

class frmCompanyListTest : public ShellTest
{
protected:
    QStringList listedNames(frmCompanyList *picker)
    {
        auto *list = picker->findChild<RecordList *>("Lv1");
        QStringList names;
        for (int i = 0; i < list->records()->size(); ++i)
            names << list->records()->row(i).texts.value(0);
        return names;
    }

    RecordList *list(frmCompanyList *picker) { return picker->findChild<RecordList *>("Lv1"); }

    void type(frmCompanyList *picker, const QString &keys)
    {
        list(picker)->setFocus();
        QTest::keyClicks(list(picker), keys);
        waitForScan(picker);
    }

    void select(frmCompanyList *picker, int row)
    {
        RecordList *rows = list(picker);
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                          rows->visualRect(rows->records()->index(row, 0)).center());
    }
};

TEST_F(frmCompanyListTest, WalksEveryLevelAndListsEachCompanyOnce)
{
    addCompany("Data 1", "Green Valley School");
    addCompany("Data 2/Branch", "Hill View College", "Nashik");
    addCompany("Old/2019/Archive/Data 7", "Archived Academy", "");
    // Decoys: the name differs in letter case, or only contains it.
    QDir().mkpath(path("Data/Decoy"));
    QFile::copy(path("Data/Data 1/Vevezidora12.mdb"), path("Data/Decoy/vevezidora12.mdb"));
    QFile::copy(path("Data/Data 1/Vevezidora12.mdb"), path("Data/Decoy/Vevezidora12.mdb.bak"));
    // A link back up the tree must not make the walk endless.
    QFile::link(path("Data"), path("Data/Data 1/loop"));

    auto *picker = showPicker();
    EXPECT_EQ(listedNames(picker),
              (QStringList{"Green Valley School", "Hill View College", "Archived Academy"}));
    EXPECT_EQ(picker->walkedFolders().first(), QDir::cleanPath(path("Data")));
    QStringList folders = picker->walkedFolders();
    EXPECT_EQ(folders.removeDuplicates(), 0);
    EXPECT_EQ(list(picker)->records()->row(1).texts.value(3), "Nashik");
    EXPECT_EQ(list(picker)->records()->row(1).texts.value(2), path("Data/Data 2/Branch"));
    // The scan leaves the handle on the last database it listed.
    EXPECT_EQ(Module::CompanyDb->path(), path("Data/Old/2019/Archive/Data 7/Vevezidora12.mdb"));
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    saveScreenshot(picker, "frmCompanyList.png");
}

TEST_F(frmCompanyListTest, AFailingDatabaseIsReportedOnceAndPassed)
{
    addCompany("Data 1", "Alpha School");
    QDir().mkpath(path("Data/Data 2"));
    QFile broken(path("Data/Data 2/Vevezidora12.mdb"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a database at all");
    broken.close();
    addCompany("Data 3", "Apex Institute");

    dialogs->expectOk();
    auto *picker = showPicker();
    EXPECT_EQ(listedNames(picker), (QStringList{"Alpha School", "Apex Institute"}));
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error "));
    EXPECT_EQ(dialogs->last().title, "");

    // Every filter letter rescans: the same failure is not reported again, nothing listed twice.
    type(picker, "a");
    EXPECT_EQ(listedNames(picker), (QStringList{"Alpha School", "Apex Institute"}));
    EXPECT_EQ(dialogs->boxes.size(), 1);
}

TEST_F(frmCompanyListTest, AFolderWhoseNameIsNoTextIsNamedWhenItIsSkipped)
{
    addCompany("Data 1", "Alpha School");
    addCompany("Data 2", "Latin School");
    // Written on another system in Latin-1: the file system gives bytes that are no UTF-8.
    const QByteArray latin1 = QFile::encodeName(path("Data")) + "/Data \xE9"
                                                                "cole";
    ASSERT_EQ(::rename(QFile::encodeName(path("Data/Data 2")).constData(), latin1.constData()), 0);

    dialogs->expectOk();
    auto *picker = showPicker();
    EXPECT_EQ(listedNames(picker), QStringList{"Alpha School"});
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_EQ(dialogs->last().text,
              "Error 75\rPath/File access error: the folder name \"Data \\xE9cole\" in '" +
                  QDir::cleanPath(path("Data")) +
                  "' is not valid UTF-8, so it was skipped. Rename it to list its company.");

    // Each filter letter walks again; the folder is named once.
    type(picker, "a");
    EXPECT_EQ(dialogs->boxes.size(), 1);
}

TEST_F(frmCompanyListTest, FilterLettersBackspaceAndOtherKeys)
{
    addCompany("Data 1", "Green Valley School");
    addCompany("Data 2", "greenwood Academy");
    addCompany("Data 3", "Grace Convent");
    addCompany("Data 4", "Hill View College");
    auto *picker = showPicker();
    auto *search = picker->findChild<QLabel *>("lblSearch");

    type(picker, "g");
    EXPECT_EQ(search->text(), "Search : g");
    type(picker, "R");
    EXPECT_EQ(search->text(), "Search : gR");
    // Folders in walk order, then names within one database.
    EXPECT_EQ(listedNames(picker),
              (QStringList{"Green Valley School", "greenwood Academy", "Grace Convent"}));
    type(picker, "e");
    EXPECT_EQ(listedNames(picker), (QStringList{"Green Valley School", "greenwood Academy"}));

    // Digits and blanks change nothing.
    type(picker, "1 ");
    EXPECT_EQ(picker->filter(), "gRe");

    QTest::keyClick(list(picker), Qt::Key_Backspace);
    waitForScan(picker);
    EXPECT_EQ(search->text(), "");
    EXPECT_EQ(listedNames(picker).size(), 4);
    type(picker, "x");
    EXPECT_TRUE(listedNames(picker).isEmpty());
    // Enter on an empty list opens nothing.
    QTest::keyClick(list(picker), Qt::Key_Return);
    EXPECT_FALSE(WindowRegistry::find("frmLogin"));
}

TEST_F(frmCompanyListTest, ARowShowsItsFolderAndLatestEntryAndOpensInTheFileManager)
{
    const QString first = addCompany("Data 1", "Alpha School");
    addCompany("Data 2", "Beta School");
    {
        auto db = Database::open(Module::companyDatabasePath(first));
        // The voucher with the higher key counts, whatever its date.
        db->execute("INSERT INTO Voucher (VoucherID, \"Date\") VALUES (1, '2024-03-10')");
        db->execute("INSERT INTO Voucher (VoucherID, \"Date\") VALUES (2, '2024-03-05')");
    }
    auto *picker = showPicker();
    auto *lastEntry = picker->findChild<QLabel *>("lblLastEntry");
    // The row selected at start shows its details like a clicked one.
    EXPECT_EQ(list(picker)->currentIndex().row(), 0);
    EXPECT_EQ(picker->findChild<QLineEdit *>("txtSearch")->text(), first);
    EXPECT_EQ(lastEntry->text(), "Last Entry Date :   05-03-2024");

    select(picker, 1);
    EXPECT_EQ(lastEntry->text(), "Last Entry Date :   ");
    select(picker, 0);
    EXPECT_EQ(picker->findChild<QLineEdit *>("txtSearch")->text(), first);
    EXPECT_EQ(lastEntry->text(), "Last Entry Date :   05-03-2024");
    select(picker, 1);
    EXPECT_EQ(lastEntry->text(), "Last Entry Date :   ");

    list(picker)->setFocus();
    QTest::keyClick(list(picker), Qt::Key_F10);
    QTest::keyClick(list(picker), Qt::Key_F12);
    EXPECT_EQ(dialogs->opened,
              (QStringList{path("Data/Data 2"), path("Data/Data 2/Vevezidora12.mdb")}));
}

TEST_F(frmCompanyListTest, TheColumnHeaderSpansTheWholeList)
{
    addCompany("Data 1", "Alpha School");
    auto *picker = showPicker();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    RecordList *rows = list(picker);
    QHeaderView *header = rows->header();
    EXPECT_GE(header->length(), rows->viewport()->width());
    // The shown columns keep their order: the name, then the city taking the rest.
    EXPECT_EQ(header->sectionSize(0), Units::twipsToPixels(9000));
    EXPECT_GT(header->sectionSize(3), Units::twipsToPixels(3500));
}

TEST_F(frmCompanyListTest, AnotherDataRootFromTheBoxOrTheFolderDialog)
{
    addCompany("Data 1", "Alpha School");
    QTemporaryDir elsewhere;
    makeCompany(elsewhere.path() + "/Lib/Data 9", false);
    Database::open(elsewhere.path() + "/Lib/Data 9/Vevezidora12.mdb")
        ->execute("INSERT INTO Company (CompanyName) VALUES ('Far School')");
    auto *picker = showPicker();
    auto *box = picker->findChild<QLineEdit *>("txtPath");
    EXPECT_EQ(box->text(), "Data");

    box->setFocus();
    box->setText(elsewhere.path());
    QTest::keyClick(box, Qt::Key_Return);
    waitForScan(picker);
    EXPECT_EQ(listedNames(picker), QStringList{"Far School"});

    // A root that is not there: one box, an empty list.
    box->setText(elsewhere.path() + "/missing");
    dialogs->expectOk();
    QTest::keyClick(box, Qt::Key_Return);
    waitForScan(picker);
    EXPECT_TRUE(listedNames(picker).isEmpty());
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 76\r"));

    dialogs->folders.enqueue(path("Data"));
    QTest::mouseClick(picker->findChild<QWidget *>("cmdEdit1"), Qt::LeftButton);
    waitForScan(picker);
    EXPECT_EQ(listedNames(picker), QStringList{"Alpha School"});
    // The chosen root is not stored.
    EXPECT_EQ(Module::CommonDb->scalar("SELECT Defaultpath FROM Path").toString(), "Data");
}

TEST_F(frmCompanyListTest, OpeningACompanyUpgradesRecordsAndShowsTheLogin)
{
    addCompany("Data 1", "Alpha School");
    const QString second = addCompany("Data 2", "Beta School");
    ASSERT_FALSE(Database::open(Module::companyDatabasePath(second))->hasTable("Warning"));

    auto *picker = showPicker();
    select(picker, 1);
    list(picker)->setFocus();
    QTest::keyClick(list(picker), Qt::Key_Return);
    settle();
    EXPECT_FALSE(WindowRegistry::find("frmCompanyList"));
    EXPECT_TRUE(WindowRegistry::find<frmLogin>("frmLogin"));
    EXPECT_EQ(Module::CompanyDataPath, second);
    EXPECT_EQ(Module::CompanyDb->path(), Module::companyDatabasePath(second));
    EXPECT_TRUE(Module::CompanyDb->hasTable("Warning"));
    QFile ini(CompanyDatabase::dataSourceFile());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains(Module::companyDatabasePath(second).toUtf8()));
    ini.close();

    // Back from the login, Enter at once opens the first company listed.
    auto *login = WindowRegistry::find("frmLogin");
    login->findChild<QWidget *>("txtUserName")->setFocus();
    QTest::keyClick(login->findChild<QWidget *>("txtUserName"), Qt::Key_Escape);
    settle();
    picker = WindowRegistry::find<frmCompanyList>("frmCompanyList");
    ASSERT_TRUE(picker);
    waitForScan(picker);
    list(picker)->setFocus();
    QTest::keyClick(list(picker), Qt::Key_Return);
    settle();
    EXPECT_EQ(Module::CompanyDataPath, path("Data/Data 1"));
    EXPECT_EQ(Module::CompanyDb->path(), Module::companyDatabasePath(path("Data/Data 1")));
    EXPECT_TRUE(WindowRegistry::find("frmLogin"));
}

TEST_F(frmCompanyListTest, AFolderThatLostItsDatabaseChangesNothing)
{
    const QString first = addCompany("Data 1", "Alpha School");
    auto *picker = showPicker();
    Module::CompanyDb.reset();
    Module::CompanyDataPath = "before";
    ASSERT_TRUE(QFile::remove(Module::companyDatabasePath(first)));

    select(picker, 0);
    dialogs->expectOk(); // an opening never fails silently
    QTest::mouseDClick(list(picker)->viewport(), Qt::LeftButton, {},
                       list(picker)->visualRect(list(picker)->records()->index(0, 0)).center());
    settle();
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 3024\r"))
        << qPrintable(dialogs->last().text);
    EXPECT_TRUE(WindowRegistry::find("frmCompanyList"));
    EXPECT_FALSE(WindowRegistry::find("frmLogin"));
    EXPECT_EQ(Module::CompanyDataPath, "before");
    EXPECT_FALSE(Module::CompanyDb);
    EXPECT_FALSE(QFile::exists(Module::companyDatabasePath(first)));
    EXPECT_FALSE(QFile::exists(CompanyDatabase::dataSourceFile()));
}

TEST_F(frmCompanyListTest, ADataSourceThatCannotBeWrittenWarnsOnceAndOpensAllTheSame)
{
    addCompany("Data 1", "Alpha School");
    const QByteArray previous = qgetenv("ODBCINI");
    qputenv("ODBCINI", path("missing/odbc.ini").toLocal8Bit());
    testing::internal::CaptureStderr();
    for (int round = 0; round < 2; ++round) {
        auto *picker = showPicker();
        list(picker)->setFocus();
        QTest::keyClick(list(picker), Qt::Key_Return);
        settle();
        EXPECT_TRUE(WindowRegistry::find("frmLogin"));
        EXPECT_EQ(Module::CompanyDataPath, path("Data/Data 1"));
        WindowRegistry::close("frmLogin");
        settle();
    }
    const QString errors = QString::fromStdString(testing::internal::GetCapturedStderr());
    qputenv("ODBCINI", previous);
    EXPECT_EQ(errors.count("Warning: "), 1) << qPrintable(errors);
    EXPECT_TRUE(errors.contains(path("missing/odbc.ini"))) << qPrintable(errors);
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

TEST_F(frmCompanyListTest, AHostileFolderNameOpensButPlantsNothingInTheDataSourceFile)
{
    const QByteArray before = "[Other]\nDriver = x\n";
    QFile ini(CompanyDatabase::dataSourceFile());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(before);
    ini.close();
    addCompany("x\n[Evil]\nDriver = /tmp/evil.so\n", "Alpha School");

    auto *picker = showPicker();
    ASSERT_EQ(listedNames(picker), QStringList{"Alpha School"});
    list(picker)->setFocus();
    testing::internal::CaptureStderr();
    QTest::keyClick(list(picker), Qt::Key_Return);
    settle();
    const QString errors = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_TRUE(WindowRegistry::find("frmLogin"));
    EXPECT_TRUE(errors.contains("line break or a square bracket")) << qPrintable(errors);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), before);
}

TEST_F(frmCompanyListTest, AnotherProgramsLocksDelayButNeverFailTheScanOrAnUpToDateOpening)
{
    const QString first = addCompany("Data 1", "Alpha School");
    addCompany("Data 2", "Beta School");
    {
        // Another program in the middle of a commit: the scan waits for it.
        LockHolder other(Module::companyDatabasePath(first), "BEGIN EXCLUSIVE", 400);
        auto *picker = showPicker();
        EXPECT_EQ(listedNames(picker), (QStringList{"Alpha School", "Beta School"}));
    }
    EXPECT_TRUE(dialogs->boxes.isEmpty());

    // Opened once, so up to date; then another program writes in it while it is opened again.
    auto *picker = WindowRegistry::find<frmCompanyList>("frmCompanyList");
    list(picker)->setFocus();
    QTest::keyClick(list(picker), Qt::Key_Return);
    settle();
    ASSERT_TRUE(WindowRegistry::find("frmLogin"));
    WindowRegistry::close("frmLogin");
    auto writer = Database::open(Module::companyDatabasePath(first));
    writer->execute("BEGIN IMMEDIATE");
    picker = showPicker();
    QElapsedTimer timer;
    timer.start();
    list(picker)->setFocus();
    QTest::keyClick(list(picker), Qt::Key_Return);
    settle();
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_TRUE(WindowRegistry::find("frmLogin"));

    // One that needs its upgrade waits once and says why it could not open.
    WindowRegistry::close("frmLogin");
    writer->execute("COMMIT");
    writer = Database::open(Module::companyDatabasePath(path("Data/Data 2")));
    writer->execute("BEGIN IMMEDIATE");
    picker = showPicker();
    select(picker, 1);
    dialogs->expectOk();
    timer.restart();
    list(picker)->setFocus();
    QTest::keyClick(list(picker), Qt::Key_Return);
    settle();
    EXPECT_LT(timer.elapsed(), 15000);
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 5\r")) << qPrintable(dialogs->last().text);
    EXPECT_TRUE(WindowRegistry::find("frmCompanyList"));
    EXPECT_FALSE(WindowRegistry::find("frmLogin"));
    writer->execute("COMMIT");
}

// The search panels' indexes are for speed only: an older company that lacks them, or has the
// wide ones of an earlier release, opens at once while another desk writes, and gains them at an
// opening when the file is free.
TEST_F(frmCompanyListTest, AnOlderCompanyOpensWhileAnotherDeskWritesAndGainsItsIndexesLater)
{
    const QString file = Module::companyDatabasePath(addCompany("Data 1", "Alpha School"));
    const auto columns = [&file](const char *index) {
        int count = 0;
        for (Recordset rs =
                 Database::open(file)->query(QString("PRAGMA index_info(%1)").arg(index));
             !rs.eof(); rs.moveNext())
            ++count;
        return count;
    };
    {
        auto older = Database::open(file);
        CompanyDatabase::UpgradeDatabaseSchema(*older); // every column of today
        older->execute("DROP INDEX BookTitle");
        older->execute("DROP INDEX CardName");
        older->execute("CREATE INDEX CardName ON Card (Name, CardID, GroupName, RollNo, CardNo, "
                       "OT11, OT13)");
    }
    auto writer = Database::open(file);
    writer->execute("BEGIN IMMEDIATE");
    writer->execute("INSERT INTO Card (CardID, CardNo, Name) VALUES (1, 101, 'Asha')");
    auto *picker = showPicker();
    QElapsedTimer timer;
    timer.start();
    list(picker)->setFocus();
    QTest::keyClick(list(picker), Qt::Key_Return);
    settle();
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_TRUE(WindowRegistry::find("frmLogin"));
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    EXPECT_EQ(columns("BookTitle"), 0);
    EXPECT_EQ(columns("CardName"), 7);

    WindowRegistry::close("frmLogin");
    settle();
    writer->execute("COMMIT");
    picker = showPicker();
    list(picker)->setFocus();
    QTest::keyClick(list(picker), Qt::Key_Return);
    settle();
    EXPECT_TRUE(WindowRegistry::find("frmLogin"));
    EXPECT_EQ(columns("BookTitle"), 1);
    EXPECT_EQ(columns("CardName"), 1);
    EXPECT_EQ(Module::CompanyDb->scalar("SELECT Name FROM Card WHERE Name >= 'as'").toString(),
              "Asha");
}

TEST_F(frmCompanyListTest, F3TheCreateButtonEscAndClose)
{
    bool creationShown = false;
    WindowRegistry::registerWindow("frmCreateCompany", [&] {
        creationShown = true;
        return new QWidget;
    });
    auto *picker = showPicker();
    QTest::keyClick(list(picker), Qt::Key_F3);
    settle();
    EXPECT_TRUE(creationShown);
    EXPECT_FALSE(WindowRegistry::find("frmCompanyList"));
    WindowRegistry::close("frmCreateCompany");
    settle();

    creationShown = false;
    picker = showPicker();
    QTest::mouseClick(picker->findChild<QWidget *>("cmdNew"), Qt::LeftButton);
    settle();
    EXPECT_TRUE(creationShown);
    EXPECT_FALSE(WindowRegistry::find("frmCompanyList"));
    WindowRegistry::close("frmCreateCompany");
    settle();

    // Esc, even from the path box, leaves the program: the main window closes.
    picker = showPicker();
    ASSERT_TRUE(main->isVisible());
    picker->findChild<QLineEdit *>("txtPath")->setFocus();
    QTest::keyClick(picker->findChild<QLineEdit *>("txtPath"), Qt::Key_Escape);
    EXPECT_FALSE(main->isVisible());

    main->show();
    EXPECT_TRUE(activate(main.get()));
    QTest::mouseClick(picker->findChild<QWidget *>("cmdClose"), Qt::LeftButton);
    EXPECT_FALSE(main->isVisible());
}
