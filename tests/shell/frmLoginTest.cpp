#include "LockHolder.h"
#include "ShellTestSupport.h"

#include "controls/ribbon/RibbonMenu.h"
#include "core/Dialogs.h"
#include "shell/frmLogin.h"

#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <sqlcipher/sqlite3.h>
#include <tuple>

class frmLoginTest : public ShellTest
{
protected:
    frmLogin *openLogin(const QString &folder = "Data 1")
    {
        if (!QFile::exists(path("Data/" + folder)))
            addCompany(folder, "Green Valley School");
        Module::CompanyDb = Database::open(Module::companyDatabasePath(path("Data/" + folder)));
        Module::CompanyDataPath = path("Data/" + folder);
        auto *login = WindowRegistry::show<frmLogin>("frmLogin");
        EXPECT_TRUE(activate(main.get()));
        return login;
    }

    void logIn(frmLogin *login, const QString &name, const QString &password)
    {
        auto *user = login->findChild<QLineEdit *>("txtUserName");
        auto *secret = login->findChild<QLineEdit *>("txtPassword");
        user->setFocus();
        user->selectAll();
        if (name.isEmpty())
            user->clear();
        QTest::keyClicks(user, name);
        QTest::keyClick(user, Qt::Key_Return);
        secret->selectAll();
        if (password.isEmpty())
            secret->clear();
        QTest::keyClicks(secret, password);
        QTest::keyClick(secret, Qt::Key_Return); // to the login button
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    int logins() { return Module::CompanyDb->scalar("SELECT count(*) FROM [Login]").toInt(); }
};

TEST_F(frmLoginTest, FailedAttemptsShowTheirBoxesAndLogNothing)
{
    auto *login = openLogin();
    auto *user = login->findChild<QLineEdit *>("txtUserName");
    EXPECT_EQ(user->text(), "Enter User Name");
    EXPECT_EQ(user->selectedText(), "Enter User Name");

    dialogs->expectOk();
    logIn(login, "nobody", "secret");
    ASSERT_EQ(dialogs->texts(), QStringList{"Invalid Password"});
    EXPECT_EQ(dialogs->last().title, "Login Info");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);

    dialogs->boxes.clear();
    dialogs->expectOk(2);
    logIn(login, "nobody", "");
    EXPECT_EQ(dialogs->texts(), (QStringList{"Invalid Password", "Complete Information"}));
    EXPECT_EQ(dialogs->last().title, "ok");

    // A known user with a wrong password: no second box, even with the password box empty.
    dialogs->boxes.clear();
    dialogs->expectOk();
    logIn(login, "admin", "");
    EXPECT_EQ(dialogs->texts(), QStringList{"Invalid Password"});

    // A quote is just a character of the name.
    dialogs->boxes.clear();
    dialogs->expectOk();
    logIn(login, "o'brien", "x");
    EXPECT_EQ(dialogs->texts(), QStringList{"Invalid Password"});

    // A user without a stored password cannot log in; one with an empty text can.
    Module::CompanyDb->execute(
        "INSERT INTO Users (UserID, UserName, Password) VALUES (3, 'NOPASS', NULL)");
    Module::CompanyDb->execute(
        "INSERT INTO Users (UserID, UserName, Password) VALUES (4, 'EMPTY', '')");
    dialogs->boxes.clear();
    dialogs->expectOk();
    logIn(login, "NOPASS", "");
    EXPECT_EQ(dialogs->texts(), QStringList{"Invalid Password"});
    EXPECT_EQ(logins(), 0);
    EXPECT_TRUE(WindowRegistry::find("frmLogin"));

    dialogs->boxes.clear();
    logIn(login, "empty", "");
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    EXPECT_EQ(logins(), 1);
}

TEST_F(frmLoginTest, TheBoxesAtOpenAndWhileTyping)
{
    auto *login = openLogin();
    auto *user = login->findChild<QLineEdit *>("txtUserName");
    auto *secret = login->findChild<QLineEdit *>("txtPassword");
    // The focus waits in the user name box with its design text selected: typing replaces it.
    EXPECT_TRUE(waitFor([&] {
        return QApplication::focusWidget() == user && user->selectedText() == "Enter User Name";
    }));
    EXPECT_EQ(QApplication::focusWidget(), user);
    const QColor hint(0x80, 0x80, 0x80);
    EXPECT_EQ(user->palette().color(QPalette::Text), hint);
    QTest::keyClicks(user, "admin");
    EXPECT_EQ(user->text(), "admin");
    // What the user types is drawn in the normal text colour, not the hint's grey.
    EXPECT_NE(user->palette().color(QPalette::Text), hint);
    EXPECT_EQ(user->palette().color(QPalette::Text),
              QApplication::palette(user).color(QPalette::Text));
    // The password box's design text shows in clear; whatever is typed shows as stars.
    EXPECT_EQ(secret->displayText(), "Enter Password");
    EXPECT_EQ(secret->palette().color(QPalette::Text), QColor(0x80, 0x80, 0x80));
    QTest::keyClick(user, Qt::Key_Return);
    EXPECT_TRUE(waitFor([&] {
        return QApplication::focusWidget() == secret && !secret->text().isEmpty() &&
               secret->selectedText() == secret->text();
    }));
    EXPECT_EQ(QApplication::focusWidget(), secret);
    QTest::keyClicks(secret, "abc");
    EXPECT_EQ(secret->text(), "abc");
    EXPECT_EQ(secret->displayText(), "***");
    EXPECT_EQ(secret->palette().color(QPalette::Text),
              QApplication::palette(secret).color(QPalette::Text));
}

TEST_F(frmLoginTest, UserNamesMatchWithoutRegardToCaseInEveryAlphabet)
{
    addCompany("Data 1", "Green Valley School");
    {
        auto db = Database::open(Module::companyDatabasePath(path("Data/Data 1")));
        db->execute("INSERT INTO Users (UserID, UserName, UserPosition, Password) VALUES "
                    "(3, 'élodie', 'Clerk', 'Été'), (4, 'Пётр', 'Clerk', 'пароль')");
    }
    for (const auto &[name, password, stored] :
         {std::tuple{"ÉLODIE", "ÉTÉ", "élodie"}, std::tuple{"пётр", "ПАРОЛЬ", "Пётр"}}) {
        SCOPED_TRACE(stored);
        auto *login = openLogin();
        // Typed as an input method commits it: QTest types ASCII only.
        auto *user = login->findChild<QLineEdit *>("txtUserName");
        auto *secret = login->findChild<QLineEdit *>("txtPassword");
        const auto commit = [](QLineEdit *box, const char *text) {
            box->setFocus();
            box->selectAll();
            QInputMethodEvent event;
            event.setCommitString(QString::fromUtf8(text));
            QApplication::sendEvent(box, &event);
        };
        commit(user, name);
        commit(secret, password);
        QTest::keyClick(secret, Qt::Key_Return); // to the login button
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        settle();
        EXPECT_TRUE(dialogs->boxes.isEmpty()) << dialogs->texts().join('|').toStdString();
        EXPECT_FALSE(WindowRegistry::find("frmLogin"));
        EXPECT_EQ(Module::CurrentUserName, QString::fromUtf8(stored));
        EXPECT_EQ(Module::CurrentUserPosition, "Clerk");
    }

    // The database stays readable without anything of this program's: no index or column needs a
    // collation or function that only the program registers.
    sqlite3 *raw = nullptr;
    const QByteArray file = Module::companyDatabasePath(path("Data/Data 1")).toUtf8();
    ASSERT_EQ(sqlite3_open_v2(file.constData(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    Database::applyKey(raw);
    QStringList results;
    char *error = nullptr;
    const int rc = sqlite3_exec(
        raw, "PRAGMA integrity_check",
        [](void *out, int, char **values, char **) {
            static_cast<QStringList *>(out)->append(QString::fromUtf8(values[0]));
            return 0;
        },
        &results, &error);
    EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    EXPECT_EQ(results, QStringList{"ok"});
    sqlite3_close(raw);
}

TEST_F(frmLoginTest, TheWindowFitsA1024By768Screen)
{
    main->resize(1024, 768);
    auto *login = openLogin();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    QWidget *viewport = main->findChild<QMdiArea *>()->viewport();
    ASSERT_TRUE(waitFor([&] { return login->width() <= viewport->width(); }));
    const QRect room = viewport->rect();
    EXPECT_TRUE(room.contains(QRect(login->mapTo(viewport, QPoint(0, 0)), login->size())));
    auto *button = login->findChild<QWidget *>("cmdLogin");
    EXPECT_TRUE(room.contains(QRect(button->mapTo(viewport, QPoint(0, 0)), button->size())));
    saveScreenshot(main.get(), "frmLogin-1024x768.png");
    // It still logs in.
    logIn(login, "admin", "secret");
    settle();
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    EXPECT_EQ(Module::CurrentUserName, "ADMIN");

    // On a larger screen it keeps its designed size.
    main->resize(1400, 860);
    auto *again = openLogin();
    settle();
    EXPECT_EQ(again->size(), QSize(1360, 653));
}

TEST_F(frmLoginTest, ASuccessfulLoginLogsTitlesAndBuildsTheMenu)
{
    Module::CurrentUserPosition.clear(); // nobody logged in yet
    Module::LoginPosition.clear();
    auto *login = openLogin();
    saveScreenshot(main.get(), "frmLogin.png");
    logIn(login, "Admin", "SECRET");
    settle();
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    EXPECT_FALSE(WindowRegistry::find("frmLogin"));
    EXPECT_EQ(main->windowTitle(), Dialogs::programTitle() +
                                       " #[Green Valley School,Pune ] [FY=01-04-2024 To 31-03-2025]"
                                       " User =  ADMIN [SUPER USER] @" +
                                       path("Data/Data 1"));
    EXPECT_EQ(Module::CurrentCompanyName, "Green Valley School");
    EXPECT_EQ(Module::CurrentCompanyEmail, "desk@example.org");
    EXPECT_EQ(Module::CurrentUserPosition, "SUPER USER");
    EXPECT_EQ(Module::LoginPosition, "SUPER USER");
    const RibbonModel &menu = main->RibbonMenu1()->model();
    EXPECT_EQ(menu.TabCount(), 1);
    EXPECT_EQ(menu.CatCount(), 3);
    ASSERT_EQ(menu.ButtonCount(), 12);
    EXPECT_TRUE(main->RibbonMenu1()->isVisible());
    Recordset row = Module::CompanyDb->query("SELECT * FROM [Login]");
    ASSERT_FALSE(row.eof());
    EXPECT_EQ(row.number("LoginNo"), 1);
    EXPECT_EQ(row.number("UserID"), 2);
    saveScreenshot(main.get(), "MDIForm1-after-login.png");
}

TEST_F(frmLoginTest, LoginNumbersFollowTheHighestAndTheLastLoginIsShown)
{
    addCompany("Data 1", "Green Valley School");
    auto db = Database::open(Module::companyDatabasePath(path("Data/Data 1")));
    for (int n = 1; n <= 7; ++n)
        db->execute("INSERT INTO [Login] (LoginNo, UserID, LoginTime) VALUES (?, 2, ?)",
                    {n, QString("2024-03-0%1 10:15:42").arg(n)});
    auto *login = openLogin();
    EXPECT_EQ(login->findChild<QLabel *>("lblLastLogin")->text(),
              "Last Login Dt : 07-Mar-24 10:15:42 AM\n User : ADMIN Position : SUPER USER");
    logIn(login, "admin", "secret");
    EXPECT_EQ(db->scalar("SELECT Max(LoginNo) FROM [Login]").toInt(), 8);

    // Without a FinancialYear row the title's year is empty; a user gone from Users shows no text.
    settle();
    db->execute("DELETE FROM FinancialYear");
    db->execute("UPDATE [Login] SET UserID = 99 WHERE LoginNo = 8");
    login = openLogin();
    EXPECT_EQ(login->findChild<QLabel *>("lblLastLogin")->text(), "");
}

TEST_F(frmLoginTest, AFailureBeforeLoggingLeavesNoRowAndNoState)
{
    auto *login = openLogin();
    Module::CompanyDb->execute("DELETE FROM Company");
    dialogs->expectOk();
    logIn(login, "admin", "secret");
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_EQ(dialogs->last().text, "Error 3021\rNo current record.");
    EXPECT_EQ(dialogs->last().title, Dialogs::programTitle());
    EXPECT_EQ(logins(), 0);
    EXPECT_EQ(Module::CurrentUserName, "");
    EXPECT_EQ(main->windowTitle(), Dialogs::programTitle());

    // A login row that cannot be written: nobody is logged in.
    Module::CompanyDb->execute("INSERT INTO Company (CompanyName) VALUES ('Green Valley School')");
    Database::setFailureHook({.failOnTable = "Login"});
    dialogs->boxes.clear();
    dialogs->expectOk();
    logIn(login, "admin", "secret");
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_EQ(logins(), 0);
    EXPECT_EQ(Module::CurrentUserName, "");
    EXPECT_TRUE(WindowRegistry::find("frmLogin"));
}

TEST_F(frmLoginTest, EscReturnsToThePickerAndLinksOpenThroughTheDesktop)
{
    auto *login = openLogin();
    QTest::mouseClick(login->findChild<QLabel *>("lblFacebook0"), Qt::LeftButton);
    EXPECT_TRUE(dialogs->opened.isEmpty()); // an empty link does nothing
    Module::PackageDb->execute("UPDATE Develop SET OM7 = 'https://example.org/mail'");
    QTest::mouseClick(login->findChild<QLabel *>("lblFacebook1"), Qt::LeftButton);
    EXPECT_EQ(dialogs->opened, QStringList{"https://example.org/mail"});

    login->findChild<QLineEdit *>("txtPassword")->setFocus();
    QTest::keyClick(login->findChild<QLineEdit *>("txtPassword"), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(WindowRegistry::find("frmLogin"));
    auto *picker = WindowRegistry::find<frmCompanyList>("frmCompanyList");
    ASSERT_TRUE(picker);
    waitForScan(picker);
    EXPECT_TRUE(Module::CurrentUserName.isEmpty());

    // Logging in later still works.
    login = openLogin();
    logIn(login, "admin", "secret");
    EXPECT_EQ(Module::CurrentUserName, "ADMIN");
}

TEST_F(frmLoginTest, ALoginWaitsWhileAnotherProgramWritesInTheCompany)
{
    auto *login = openLogin();
    {
        // Another copy of the program logs in to the same company at this moment.
        LockHolder other(Module::CompanyDb->path(),
                         "BEGIN IMMEDIATE; INSERT INTO [Login] (LoginNo, UserID) VALUES (1, 2)",
                         500);
        logIn(login, "admin", "secret");
    }
    settle();
    EXPECT_TRUE(dialogs->boxes.isEmpty()) << qPrintable(dialogs->texts().join('|'));
    EXPECT_EQ(Module::CurrentUserName, "ADMIN");
    EXPECT_EQ(Module::CompanyDb->scalar("SELECT Max(LoginNo) FROM [Login]").toInt(), 2);
}
