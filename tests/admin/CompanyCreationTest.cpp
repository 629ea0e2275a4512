#include "CreateCompanyFixture.h"
#include "LockHolder.h"

#include "admin/CompanyCreation.h"
#include "core/Database.h"
#include "core/Module.h"
#include "ui/DateBox.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

namespace {

class CompanyCreationTest : public CreateCompanyFixture
{
protected:
    int registerRows() { return Module::CommonDb->scalar("SELECT count(*) FROM Company").toInt(); }
    void setDataRoot(const QString &root)
    {
        Module::CommonDb->execute("UPDATE Path SET Defaultpath = ?", {root});
    }
    void deleteWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    // Everything in the Data folder, hidden entries included.
    QStringList dataEntries()
    {
        return QDir(path("Data")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                            QDir::NoDotAndDotDot);
    }
};

TEST_F(CompanyCreationTest, CreatesTheCompanyWithEveryRow)
{
    auto *window = open();
    const QStringList boxes = {"txtCompanyName", "txtaddress", "txtaddress2", "txtCity",
                               "txtPhone",       "txtEmail",   "txtwebsite",  "txtvatno",
                               "txtGSTNo",       "txtpanno",   "txtcstno",    "txtdlno1",
                               "txtdlno2",       "txtdealsin", "txtUserName", "txtPassword"};
    for (const QString &name : boxes)
        control(window, qPrintable(name))->setText(name.mid(3) + " it's");
    control<QComboBox>(window, "txtState")->setEditText("Pun'jab");
    control(window, "txtstatecode")->setText("03");
    control(window, "txtMobile")->setText("9876543210");
    control<DateBox>(window, "DTPicker1")->setDate(QDate(2024, 4, 1));
    control<DateBox>(window, "DTPicker2")->setDate(QDate(2025, 3, 31));
    dialogs->expectOk();
    clickSave(window);
    deleteWindows();

    ASSERT_EQ(dialogs->boxes.size(), 1) << qPrintable(dialogs->texts().join('|'));
    EXPECT_EQ(dialogs->last().title, "Company Created Sucessfully");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_TRUE(dialogs->last().text.startsWith("New Company has been sucessfully created\r\r"));
    EXPECT_TRUE(dialogs->last().text.endsWith(
        "\r\rBy Default Username = UserName it's   Password = Password it's is given"));
    EXPECT_FALSE(isOpen("frmCreateCompany"));
    EXPECT_EQ(pickerShows, 1);

    const QString folder = path("Data/Data 1");
    EXPECT_EQ(QDir(Module::CompanyDataPath).canonicalPath(), QDir(folder).canonicalPath());
    ASSERT_TRUE(Module::CompanyDb);
    EXPECT_EQ(QFileInfo(Module::CompanyDb->path()).canonicalFilePath(),
              QFileInfo(folder + "/Vevezidora12.mdb").canonicalFilePath());

    Recordset reg = Module::CommonDb->query("SELECT * FROM Company");
    ASSERT_FALSE(reg.eof());
    EXPECT_EQ(reg.number("CompanyID"), 1);
    EXPECT_EQ(reg.text("CompanyName"), "CompanyName it's");
    EXPECT_EQ(reg.text("TINNo"), "vatno it's");
    EXPECT_EQ(reg.text("ITPan"), "panno it's");
    EXPECT_EQ(reg.text("StartDate"), "2024-04-01");
    EXPECT_EQ(reg.text("EndDate"), "2025-03-31");
    EXPECT_EQ(QDir(reg.text("path")).canonicalPath(), QDir(folder).canonicalPath());

    // Opened afresh, as the picker and the login do.
    auto db = Database::open(folder + "/Vevezidora12.mdb");
    EXPECT_EQ(db->scalar("SELECT count(*) FROM FinancialYear").toInt(), 1);
    Recordset year = db->query("SELECT * FROM FinancialYear");
    EXPECT_EQ(year.text("StartDate"), "01-Apr-24");
    EXPECT_EQ(year.text("EndDate"), "31-Mar-25");

    EXPECT_EQ(db->scalar("SELECT count(*) FROM Company").toInt(), 1);
    Recordset company = db->query("SELECT * FROM Company");
    const QList<QPair<QString, QString>> expected = {{"CompanyName", "CompanyName it's"},
                                                     {"DealsIn", "dealsin it's"},
                                                     {"Address", "address it's"},
                                                     {"Address2", "address2 it's"},
                                                     {"city", "City it's"},
                                                     {"phone", "Phone it's"},
                                                     {"mobile", "9876543210"},
                                                     {"email", "Email it's"},
                                                     {"Website", "website it's"},
                                                     {"TINNo", "vatno it's"},
                                                     {"CSTNo", "cstno it's"},
                                                     {"ITPan", "panno it's"},
                                                     {"DLNo1", "dlno1 it's"},
                                                     {"DLNo2", "dlno2 it's"},
                                                     {"SubName", "03"},
                                                     {"EnableSED", "Pun'jab"},
                                                     {"DutyType", "GSTNo it's"}};
    for (const auto &[column, value] : expected)
        EXPECT_EQ(company.text(column), value) << qPrintable(column);
    EXPECT_TRUE(company.field("OT3").isNull());
    EXPECT_TRUE(company.field("OT4").isNull());

    Recordset user = db->query("SELECT * FROM Users");
    EXPECT_EQ(user.number("UserID"), 2);
    EXPECT_EQ(user.text("UserFullName"), "UserName it's");
    EXPECT_EQ(user.text("UserPosition"), "SUPER USER");
    EXPECT_EQ(user.text("Password"), "Password it's");

    // A quote in the state name no longer breaks the Account update.
    Recordset account = db->query("SELECT * FROM Account WHERE AccountID = 1");
    EXPECT_EQ(account.text("State"), "Pun'jab");
    EXPECT_EQ(account.text("OT23"), "03");
}

TEST_F(CompanyCreationTest, NumberSkipsRegisteredNumbersAndExistingFolders)
{
    Module::CommonDb->execute("INSERT INTO Company (CompanyID, CompanyName) VALUES (1, 'Old')");
    QDir().mkpath(path("Data/Data 2"));
    makeCompany(path("Data/Data 3"), false); // a company the register does not know
    auto *window = open();
    EXPECT_EQ(control<QLabel>(window, "labcompanyid")->text(), "2");
    fillRequired(window, "Old"); // a name that exists already is accepted
    dialogs->expectOk();
    clickSave(window);
    deleteWindows();
    EXPECT_EQ(dialogs->last().title, "Company Created Sucessfully");
    EXPECT_TRUE(QFile::exists(path("Data/Data 4/Vevezidora12.mdb")));
    EXPECT_EQ(Module::CommonDb->scalar("SELECT Max(CompanyID) FROM Company").toInt(), 4);
    // The company that was there is untouched.
    EXPECT_EQ(Database::open(path("Data/Data 3/Vevezidora12.mdb"))
                  ->scalar("SELECT count(*) FROM Users")
                  .toInt(),
              0);

    // A data root elsewhere: the search looks where the folder is made.
    QTemporaryDir elsewhere;
    QDir().mkpath(elsewhere.filePath("Data 5"));
    setDataRoot(elsewhere.path());
    window = open();
    EXPECT_EQ(control<QLabel>(window, "labpath")->text(), elsewhere.path());
    fillRequired(window);
    dialogs->expectOk();
    clickSave(window);
    deleteWindows();
    EXPECT_TRUE(QFile::exists(elsewhere.filePath("Data 6/Vevezidora12.mdb")));
    EXPECT_FALSE(QDir(path("Data/Data 6")).exists());
    EXPECT_EQ(QDir(Module::CompanyDataPath).canonicalPath(),
              QDir(elsewhere.filePath("Data 6")).canonicalPath());
}

TEST_F(CompanyCreationTest, RelativeDataRootIsTheProgramsDataFolder)
{
    QTemporaryDir workingFolder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(workingFolder.path());
    auto *window = open();
    fillRequired(window);
    dialogs->expectOk();
    clickSave(window);
    deleteWindows();
    QDir::setCurrent(previous);
    EXPECT_TRUE(QFile::exists(path("Data/Data 1/Vevezidora12.mdb")));
    EXPECT_FALSE(QDir(workingFolder.filePath("Data")).exists());
}

TEST_F(CompanyCreationTest, FailuresLeaveNothingBehindAndAllowARetry)
{
    // A missing template: no success, no register row, no folder; the window keeps its entries.
    const QString templateFile = path("DB/Vevezidora12_Backup.mdb");
    ASSERT_TRUE(QFile::rename(templateFile, templateFile + ".away"));
    auto *window = open();
    fillRequired(window);
    dialogs->expectOk();
    clickSave(window);
    ASSERT_EQ(dialogs->boxes.size(), 1);
    const auto &box = dialogs->last();
    EXPECT_TRUE(box.text.startsWith("Error 53\r File not found: ")) << qPrintable(box.text);
    EXPECT_TRUE(box.text.endsWith(" \r\n\rPlease Contact Your Programvendor"));
    EXPECT_EQ(box.icon, Dialogs::Icon::Information);
    EXPECT_EQ(box.title, Dialogs::programTitle());
    EXPECT_TRUE(isOpen("frmCreateCompany"));
    EXPECT_EQ(pickerShows, 0);
    EXPECT_EQ(control(window, "txtCompanyName")->text(), "Green Valley School");
    EXPECT_EQ(registerRows(), 0);
    EXPECT_FALSE(QDir(path("Data/Data 1")).exists());
    EXPECT_FALSE(Module::CompanyDb);

    // A row that fails to be written inside the new database.
    ASSERT_TRUE(QFile::rename(templateFile + ".away", templateFile));
    Database::setFailureHook({.failOnTable = "Users"});
    dialogs->expectOk();
    clickSave(window);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 3146\r"))
        << qPrintable(dialogs->last().text);
    EXPECT_EQ(registerRows(), 0);
    EXPECT_FALSE(QDir(path("Data/Data 1")).exists());
    EXPECT_FALSE(Module::CompanyDb);

    // The register row itself: the seventh write, after the six that fill the new database.
    Database::setFailureHook({7, ""});
    dialogs->expectOk();
    clickSave(window);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 3146\r"));
    EXPECT_TRUE(dialogs->last().text.contains("INSERT INTO Company (CompanyID"));
    EXPECT_EQ(registerRows(), 0);
    EXPECT_FALSE(QDir(path("Data/Data 1")).exists());
    EXPECT_EQ(dataEntries(), QStringList());

    // The retry starts clean and takes the first number.
    Database::clearFailureHook();
    dialogs->expectOk();
    clickSave(window);
    deleteWindows();
    EXPECT_EQ(dialogs->last().title, "Company Created Sucessfully");
    EXPECT_EQ(dialogs->boxes.size(), 4);
    EXPECT_EQ(registerRows(), 1);
    EXPECT_TRUE(QFile::exists(path("Data/Data 1/Vevezidora12.mdb")));
    EXPECT_EQ(pickerShows, 1);
}

TEST_F(CompanyCreationTest, WhatACrashedCreationLeftGoesAtTheNextCreation)
{
    // Hidden folders of creations killed before and after their number was taken.
    for (const char *name : {".new-0123456789abcdef0123456789abcdef",
                             ".new-fedcba9876543210fedcba9876543210-Data 3"}) {
        ASSERT_TRUE(QDir().mkpath(path("Data/") + name));
        QFile file(path("Data/") + name + "/Vevezidora12.mdb");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("half a database");
    }
    // Even a creation that fails clears them.
    const QString templateFile = path("DB/Vevezidora12_Backup.mdb");
    ASSERT_TRUE(QFile::rename(templateFile, templateFile + ".away"));
    auto *window = open();
    fillRequired(window);
    dialogs->expectOk();
    clickSave(window);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 53\r"));
    EXPECT_EQ(dataEntries(), QStringList());
}

TEST_F(CompanyCreationTest, ADamagedTemplateIsNeverReportedAsCreated)
{
    // One page of a table that the creation does not write is damaged.
    const QString templateFile = path("DB/Vevezidora12_Backup.mdb");
    qint64 page = 0;
    {
        auto db = Database::open(templateFile);
        page = db->scalar("SELECT rootpage FROM sqlite_master WHERE name = 'Book'").toLongLong();
    }
    ASSERT_GT(page, 1);
    QFile file(templateFile);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek((page - 1) * 4096 + 200));
    file.write("damaged damaged damaged");
    file.close();

    auto *window = open();
    fillRequired(window);
    dialogs->expectOk();
    clickSave(window);
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 3049\r")) << qPrintable(dialogs->last().text);
    EXPECT_TRUE(isOpen("frmCreateCompany"));
    EXPECT_EQ(registerRows(), 0);
    EXPECT_EQ(dataEntries(), QStringList());
}

TEST_F(CompanyCreationTest, NumbersAre64BitAndADanglingLinkKeepsItsNumber)
{
    ASSERT_TRUE(QFile::link(path("nowhere"), path("Data/Data 1")));
    auto *window = open();
    fillRequired(window);
    dialogs->expectOk();
    clickSave(window);
    deleteWindows();
    EXPECT_EQ(dialogs->last().title, "Company Created Sucessfully") << qPrintable(dialogs->last().text);
    EXPECT_TRUE(QFile::exists(path("Data/Data 2/Vevezidora12.mdb")));

    Module::CommonDb->execute("INSERT INTO Company (CompanyID, CompanyName) VALUES (2147483647, 'Old')");
    window = open();
    EXPECT_EQ(control<QLabel>(window, "labcompanyid")->text(), "2147483648");
    fillRequired(window);
    dialogs->expectOk();
    clickSave(window);
    deleteWindows();
    EXPECT_TRUE(QFile::exists(path("Data/Data 2147483648/Vevezidora12.mdb")));
    EXPECT_EQ(Module::CommonDb->scalar("SELECT Max(CompanyID) FROM Company").toLongLong(),
              2147483648LL);
}

TEST_F(CompanyCreationTest, TwoProgramsCreatingAtOnceGetTwoNumbers)
{
    auto *window = open();
    fillRequired(window);
    {
        // The other program has settled on number 1 and holds the register while it saves it.
        LockHolder other(Module::CommonDb->path(), "BEGIN IMMEDIATE; INSERT INTO Company (CompanyID, "
                                                   "CompanyName) VALUES (1, 'Other School')",
                         500);
        dialogs->expectOk();
        clickSave(window);
    }
    deleteWindows();
    EXPECT_EQ(dialogs->last().title, "Company Created Sucessfully") << qPrintable(dialogs->last().text);
    EXPECT_EQ(registerRows(), 2);
    EXPECT_TRUE(QFile::exists(path("Data/Data 2/Vevezidora12.mdb")));
}

} // namespace
