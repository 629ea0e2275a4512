#include "AnotherProgram.h"
#include "UserAdminFixture.h"

#include "admin/UserAdministration.h"
#include "admin/frmUsers.h"
#include "controls/button/StyledButton.h"
#include "core/Database.h"

#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace {

class frmUsersTest : public UserAdminFixture
{
protected:
    frmUsers *window = nullptr;

    void openWindow() { window = open<frmUsers>("frmUsers"); }
    QLineEdit *box(const char *name) { return control<QLineEdit>(window, name); }
    QComboBox *positions() { return control<QComboBox>(window, "cboPosition"); }
    StyledButton *button(const char *name) { return control<StyledButton>(window, name); }
    RecordList *list() { return control<RecordList>(window, "Lv1"); }
    QLabel *label(const char *name) { return control<QLabel>(window, name); }
    void click(const char *name) { emit button(name)->Click(); }
    static QStringList entries(QComboBox *combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }
    static void addPosition(const QString &name)
    {
        Module::CompanyDb->execute("INSERT INTO \"Position\" (PositionID, PositionName) VALUES "
                                   "((SELECT IFNULL(MAX(PositionID), 0) + 1 FROM \"Position\"), ?)",
                                   {name});
    }
    static void addUser(int id, const QString &name, const QString &position,
                        const QString &fullName = QString())
    {
        Module::CompanyDb->execute("INSERT INTO Users (UserID, UserName, UserFullName, "
                                   "UserPosition, Password) VALUES (?, ?, ?, ?, 'pw')",
                                   {id, name, fullName, position});
    }
    // Loads the user of that name as a SUPER USER would and clicks "&Update" with the position.
    void update(const QString &name, const QString &position)
    {
        doubleClickRow(list(), int(column(list(), 2).indexOf(name)));
        positions()->setCurrentText(position);
        click("cmdAdd");
    }
};

TEST_F(frmUsersTest, ASuperUserAddsUsersWithTheNextKey)
{
    addPosition("Teacher");
    addPosition("Clerk");
    openWindow();
    EXPECT_EQ(window->windowTitle(), "User's Information");
    EXPECT_FALSE(control<QFrame>(window, "fraUser")->isEnabled());
    EXPECT_EQ(button("cmdAdd")->caption(), "&New");
    EXPECT_TRUE(button("cmdAdd")->hasFocus());
    EXPECT_TRUE(label("lblShow")->isVisible());
    EXPECT_EQ(entries(positions()), QStringList({"Clerk", "Teacher", "SUPER USER"}));
    EXPECT_EQ(positions()->currentText(), "Clerk");
    EXPECT_EQ(label("lblCount")->text(), "#Count : 0");

    click("cmdAdd");
    EXPECT_EQ(button("cmdAdd")->caption(), "&Save");
    EXPECT_TRUE(control<QFrame>(window, "fraUser")->isEnabled());
    ASSERT_TRUE(box("txtUserName")->hasFocus());
    QTest::keyClicks(box("txtUserName"), "O'Hara_%");
    QTest::keyClick(box("txtUserName"), Qt::Key_Return);
    ASSERT_TRUE(positions()->hasFocus());
    QTest::keyClick(positions(), Qt::Key_Return);
    ASSERT_TRUE(box("txtPassword")->hasFocus());
    QTest::keyClicks(box("txtPassword"), "secret");
    EXPECT_EQ(box("txtPassword")->echoMode(), QLineEdit::Password);
    QTest::keyClick(box("txtPassword"), Qt::Key_Return);
    EXPECT_TRUE(button("cmdAdd")->hasFocus());

    ASSERT_TRUE(QTest::qWaitForWindowExposed(area.data()));
    EXPECT_TRUE(window->grab().save(QDir(testOutputFolder()).filePath("frmUsers.png")));

    dialogs->expectOk();
    click("cmdAdd");
    EXPECT_EQ(dialogs->last().text, "New User has been Added");
    EXPECT_EQ(dialogs->last().title, "");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    // An empty table gives the key 1; the name is stored as typed.
    EXPECT_EQ(scalar("SELECT UserName || '/' || UserPosition || '/' || Password FROM Users "
                     "WHERE UserID = 1"),
              "O'Hara_%/Clerk/secret");
    EXPECT_EQ(button("cmdAdd")->caption(), "&New");
    EXPECT_EQ(box("txtUserName")->text(), "");
    EXPECT_EQ(box("txtPassword")->text(), "");
    EXPECT_EQ(positions()->currentText(), "Clerk");
    EXPECT_EQ(box("txtUserID")->text(), "1");
    EXPECT_EQ(label("lblCount")->text(), "#Count : 1");
    EXPECT_EQ(column(list(), 2), QStringList{"O'Hara_%"});
    EXPECT_EQ(column(list(), 3), QStringList{"Clerk"});

    // A name another user has is written all the same.
    click("cmdAdd");
    box("txtUserName")->setText("o'hara_%");
    dialogs->expectOk();
    click("cmdAdd");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Users").toInt(), 2);
    EXPECT_EQ(column(list(), 1), QStringList({"1", "2"}));

    // Delete right after a save deletes the user just saved.
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    click("cmdDelete");
    EXPECT_EQ(dialogs->boxes[dialogs->boxes.size() - 2].text, "Are You Sure To Delete User");
    EXPECT_EQ(dialogs->last().text, "User Delete");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Users WHERE UserID = 2").toInt(), 0);
    EXPECT_EQ(label("lblCount")->text(), "#Count : 1");
}

TEST_F(frmUsersTest, TheListFiltersByANamePrefixWhateverItsCase)
{
    addUser(2, "Anna", "SUPER USER");
    addUser(3, "alex", "Clerk");
    addUser(4, "Bob", "Clerk");
    addUser(5, "50% off", "Clerk");
    addUser(6, "Élodie", "Clerk");
    openWindow();
    EXPECT_EQ(column(list(), 2), QStringList({"50% off", "alex", "Anna", "Bob", "Élodie"}));
    QTest::keyClicks(box("txtSearch"), "a");
    EXPECT_EQ(column(list(), 2), QStringList({"alex", "Anna"}));
    EXPECT_EQ(column(list(), 0), QStringList({"3", "2"}));
    EXPECT_EQ(column(list(), 1), QStringList({"1", "2"}));
    box("txtSearch")->setText("z");
    EXPECT_EQ(label("lblCount")->text(), "#Count : 0");
    box("txtSearch")->setText("5%");
    EXPECT_EQ(column(list(), 2), QStringList{});
    box("txtSearch")->setText("50%");
    EXPECT_EQ(column(list(), 2), QStringList{"50% off"});
    box("txtSearch")->setText("é");
    EXPECT_EQ(column(list(), 2), QStringList{"Élodie"});
}

TEST_F(frmUsersTest, ASuperUserUpdatesAUserInPlace)
{
    addPosition("Clerk");
    addUser(2, "admin", "SUPER USER", "The Administrator");
    addUser(3, "ann", "Clerk", "Ann Smith");
    openWindow();

    doubleClickRow(list(), 1); // ann
    EXPECT_EQ(box("txtUserID")->text(), "3");
    EXPECT_EQ(box("txtUserName")->text(), "ann");
    EXPECT_EQ(positions()->currentText(), "Clerk");
    EXPECT_EQ(box("txtPassword")->text(), "pw");
    EXPECT_TRUE(box("txtUserName")->hasFocus());
    EXPECT_EQ(button("cmdAdd")->caption(), "&Update");

    box("txtPassword")->setText("new");
    dialogs->expectOk();
    click("cmdAdd");
    EXPECT_EQ(dialogs->last().text, "New User has been Added");
    EXPECT_EQ(button("cmdAdd")->caption(), "&New");
    EXPECT_EQ(scalar("SELECT Password FROM Users WHERE UserID = 3"), "new");
    // The row is written anew: what the window does not keep comes back empty.
    EXPECT_TRUE(scalar("SELECT UserFullName FROM Users WHERE UserID = 3").isNull());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Users").toInt(), 2);

    // A failing rewrite keeps the old row, and the window stays ready to try again.
    doubleClickRow(list(), 1);
    box("txtPassword")->setText("lost");
    Database::setFailureHook({.failOnWrite = 2, .failOnTable = {}});
    dialogs->expectOk();
    click("cmdAdd");
    Database::clearFailureHook();
    EXPECT_TRUE(dialogs->last().text.startsWith("Error "));
    EXPECT_EQ(scalar("SELECT Password FROM Users WHERE UserID = 3"), "new");
    EXPECT_EQ(button("cmdAdd")->caption(), "&Update");
    EXPECT_EQ(box("txtUserName")->text(), "ann");

    // A position no longer offered still shows; an update refuses it until another is picked.
    Module::CompanyDb->execute("UPDATE Users SET UserPosition = 'Retired' WHERE UserID = 3");
    doubleClickRow(list(), 1);
    EXPECT_EQ(positions()->currentText(), "Retired");
    dialogs->expectOk();
    click("cmdAdd");
    EXPECT_TRUE(dialogs->last().text.startsWith("The Position \"Retired\" no longer exists"));
    EXPECT_EQ(scalar("SELECT UserPosition FROM Users WHERE UserID = 3"), "Retired");
    EXPECT_EQ(button("cmdAdd")->caption(), "&Update");
    positions()->setFocus();
    QTest::keyClick(positions(), Qt::Key_Home);
    ASSERT_EQ(positions()->currentText(), "Clerk");
    dialogs->expectOk();
    click("cmdAdd");
    EXPECT_EQ(dialogs->last().text, "New User has been Added");
    EXPECT_EQ(scalar("SELECT UserPosition FROM Users WHERE UserID = 3"), "Clerk");
}

// Another copy of the program renames the position of the user loaded here, as a copy without
// the rename guard would: the update stores no position that has gone, and the user, left with a
// name no rights row carries, holds no right at all.
TEST_F(frmUsersTest, AnUpdateStoresNoPositionRenamedMeanwhile)
{
    const std::array<EntryRights, UserAdministration::EntryCount> none{};
    UserAdministration::addPosition(*Module::CompanyDb, "Clerk", none);
    UserAdministration::addPosition(*Module::CompanyDb, "Temp", none);
    addUser(2, "admin", "SUPER USER");
    addUser(3, "t1", "Temp");
    openWindow();
    doubleClickRow(list(), int(column(list(), 2).indexOf("t1")));
    ASSERT_EQ(positions()->currentText(), "Temp");
    box("txtPassword")->setFocus();
    QTest::keyClick(box("txtPassword"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box("txtPassword"), "changed");

    AnotherProgram other(*Module::CompanyDb);
    other.beforeNextWrite([](Database &db) {
        db.execute("UPDATE UserProfile SET \"Position\" = 'Temp2' WHERE PositionID = 2");
        db.execute("UPDATE \"Position\" SET PositionName = 'Temp2' WHERE PositionID = 2");
    });
    dialogs->expectOk();
    click("cmdAdd");
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(dialogs->last().text.startsWith("The Position \"Temp\" no longer exists"))
        << dialogs->last().text.toStdString();
    EXPECT_EQ(scalar("SELECT Password FROM Users WHERE UserID = 3"), "pw");
    EXPECT_EQ(button("cmdAdd")->caption(), "&Update");
    EXPECT_EQ(box("txtPassword")->text(), "changed");
    EXPECT_EQ(entries(positions()), QStringList({"Clerk", "Temp2", "SUPER USER", "Temp"}));

    // Logged in, t1 holds no right: the add button is gone.
    closeWindow("frmUsers");
    logInAs("Temp");
    openWindow();
    EXPECT_FALSE(button("cmdAdd")->isVisible());
}

TEST_F(frmUsersTest, TheLastSuperUserCanNeitherLeaveThePositionNorBeDeleted)
{
    addPosition("Clerk");
    addUser(2, "admin", "SUPER USER");
    addUser(3, "ann", "super user"); // not the exact name: no SUPER USER
    openWindow();

    dialogs->expectOk();
    update("admin", "Clerk");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(dialogs->last().text.startsWith("admin is the last SUPER USER of this company"));
    EXPECT_EQ(scalar("SELECT UserPosition FROM Users WHERE UserID = 2"), "SUPER USER");
    EXPECT_EQ(button("cmdAdd")->caption(), "&Update");

    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    click("cmdDelete");
    EXPECT_TRUE(dialogs->last().text.contains("cannot be deleted"));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Users WHERE UserID = 2").toInt(), 1);

    // Staying a SUPER USER is fine; another user need not be one.
    dialogs->expectOk();
    update("admin", "SUPER USER");
    EXPECT_EQ(dialogs->last().text, "New User has been Added");
    dialogs->expectOk();
    update("ann", "Clerk");
    EXPECT_EQ(scalar("SELECT UserPosition FROM Users WHERE UserID = 3"), "Clerk");

    // With a second SUPER USER, the first may go.
    dialogs->expectOk();
    update("ann", "SUPER USER");
    dialogs->expectOk();
    update("admin", "Clerk");
    EXPECT_EQ(scalar("SELECT UserPosition FROM Users WHERE UserID = 2"), "Clerk");
    doubleClickRow(list(), int(column(list(), 2).indexOf("admin")));
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    click("cmdDelete");
    EXPECT_EQ(dialogs->last().text, "User Delete");
    EXPECT_EQ(column(list(), 2), QStringList{"ann"});
    doubleClickRow(list(), 0);
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    click("cmdDelete");
    EXPECT_TRUE(dialogs->last().text.contains("cannot be deleted"));
}

TEST_F(frmUsersTest, TwoCopiesCannotEachTakeAwayOneOfTheLastTwoSuperUsers)
{
    addPosition("Clerk");
    addUser(2, "admin", "SUPER USER");
    addUser(3, "boss", "SUPER USER");
    AnotherProgram other(*Module::CompanyDb);
    openWindow();

    // The other copy moves boss away just before this one moves admin: admin stays.
    other.beforeNextWrite([](Database &db) {
        db.execute("UPDATE Users SET UserPosition = 'Clerk' WHERE UserID = 3");
    });
    dialogs->expectOk();
    update("admin", "Clerk");
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(dialogs->last().text.startsWith("admin is the last SUPER USER of this company and "
                                                "cannot be moved to another position"))
        << dialogs->last().text.toStdString();
    EXPECT_EQ(scalar("SELECT UserPosition FROM Users WHERE UserID = 2"), "SUPER USER");
    EXPECT_EQ(button("cmdAdd")->caption(), "&Update");

    // Both SUPER USERs again; the other copy deletes boss while this one asks about admin.
    Module::CompanyDb->execute("UPDATE Users SET UserPosition = 'SUPER USER' WHERE UserID = 3");
    doubleClickRow(list(), int(column(list(), 2).indexOf("admin")));
    other.beforeNextWrite([](Database &db) { db.execute("DELETE FROM Users WHERE UserID = 3"); });
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    click("cmdDelete");
    EXPECT_TRUE(other.acted());
    EXPECT_TRUE(dialogs->last().text.contains("cannot be deleted"))
        << dialogs->last().text.toStdString();
    EXPECT_EQ(scalar("SELECT UserPosition FROM Users WHERE UserID = 2"), "SUPER USER");
}

TEST_F(frmUsersTest, OtherPositionsLookButNeverChange)
{
    addPosition("Clerk");
    addPosition("Monitor");
    addUser(2, "admin", "SUPER USER");
    addUser(3, "ann", "Clerk");
    logInAs("Clerk");
    // A position without a "User" row holds no right: no add button.
    openWindow();
    EXPECT_FALSE(button("cmdAdd")->isVisible());
    closeWindow("frmUsers");
    Module::CompanyDb->execute(
        "INSERT INTO UserProfile (PositionID, \"Position\", Entry, \"Add\", Modify, \"Delete\", "
        "\"Print\") VALUES (1, 'CLERK', 'User', 'Y', 'N', 'N', 'N')");
    openWindow();
    EXPECT_EQ(entries(positions()), QStringList({"Clerk", "Monitor"}));
    EXPECT_FALSE(label("lblShow")->isVisible());
    EXPECT_TRUE(button("cmdAdd")->isVisible());

    doubleClickRow(list(), 1); // ann
    EXPECT_EQ(box("txtUserName")->text(), "ann");
    EXPECT_EQ(box("txtPassword")->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(button("cmdAdd")->isVisible());
    EXPECT_FALSE(button("cmdDelete")->isVisible());
    box("txtPassword")->setFocus();
    QTest::keyClick(box("txtPassword"), Qt::Key_Return);
    EXPECT_TRUE(box("txtPassword")->hasFocus());

    // The "User" rights of the position decide whether the add button is offered at all.
    closeWindow("frmUsers");
    Module::CompanyDb->execute("UPDATE UserProfile SET \"Add\" = 'N', Modify = 'Y', "
                               "\"Delete\" = 'Y', \"Print\" = 'Y'");
    openWindow();
    EXPECT_FALSE(button("cmdAdd")->isVisible());
    EXPECT_TRUE(button("cmdDelete")->hasFocus());
    Module::CompanyDb->execute("UPDATE UserProfile SET \"Add\" = 'Y'");
    closeWindow("frmUsers");
    openWindow();
    EXPECT_TRUE(button("cmdAdd")->isVisible());
}

TEST_F(frmUsersTest, ThePasswordShowsForOneClickOnTheLabel)
{
    addUser(2, "admin", "SUPER USER");
    openWindow();
    doubleClickRow(list(), 0);
    QLabel *show = label("lblShow");
    ASSERT_TRUE(show->isVisible());
    QTest::mouseClick(show, Qt::LeftButton);
    EXPECT_EQ(box("txtPassword")->echoMode(), QLineEdit::Normal);
    EXPECT_TRUE(box("txtUserName")->hasFocus());
    box("txtPassword")->setFocus();
    EXPECT_EQ(box("txtPassword")->echoMode(), QLineEdit::Password);
    // A double-click as the desktop delivers it: press, release, double-click, release.
    const QPointF at = show->rect().center();
    const auto send = [&](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent event(type, at, show->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(show, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(box("txtPassword")->echoMode(), QLineEdit::Normal);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(box("txtPassword")->echoMode(), QLineEdit::Password);
}

// A user matching no rights row would hold every right: the position must exist when the user is
// written, and the list follows the positions window.
TEST_F(frmUsersTest, APositionDeletedSinceTheListWasReadIsNeverGiven)
{
    const std::array<EntryRights, UserAdministration::EntryCount> none{};
    UserAdministration::addPosition(*Module::CompanyDb, "Clerk", none);
    UserAdministration::addPosition(*Module::CompanyDb, "Temp", none);
    addUser(2, "admin", "SUPER USER");
    AnotherProgram other(*Module::CompanyDb);
    openWindow();
    EXPECT_EQ(entries(positions()), QStringList({"Clerk", "Temp", "SUPER USER"}));

    // Temp, held by nobody, is deleted in the positions window that F3 opened; closing it brings
    // the list up to date, the typed name and the position shown kept.
    click("cmdAdd");
    QTest::keyClicks(box("txtUserName"), "ravi");
    QTest::keyClick(box("txtUserName"), Qt::Key_Return);
    ASSERT_TRUE(positions()->hasFocus());
    QTest::keyClick(positions(), Qt::Key_F3);
    auto *positionsWindow = WindowRegistry::find("frmPosition");
    ASSERT_TRUE(positionsWindow);
    auto *positionList = control<RecordList>(positionsWindow, "Lv1");
    doubleClickRow(positionList, int(column(positionList, 1).indexOf("Temp")));
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    control<QPushButton>(positionsWindow, "cmdDelete")->click();
    EXPECT_EQ(dialogs->last().text, "Position Delete");
    control<QPushButton>(positionsWindow, "cmdClose")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(waitFor([] { return !WindowRegistry::find("frmPosition"); }));
    EXPECT_EQ(entries(positions()), QStringList({"Clerk", "SUPER USER"}));
    EXPECT_EQ(positions()->currentText(), "Clerk");
    EXPECT_EQ(box("txtUserName")->text(), "ravi");

    // Another program deletes Clerk as this one saves: refused, nothing typed is lost.
    box("txtPassword")->setFocus();
    QTest::keyClicks(box("txtPassword"), "pw1");
    other.beforeNextWrite([](Database &db) {
        db.execute("DELETE FROM UserProfile WHERE PositionID = 1");
        db.execute("DELETE FROM \"Position\" WHERE PositionID = 1");
    });
    dialogs->expectOk();
    click("cmdAdd");
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(dialogs->last().text.startsWith("The Position \"Clerk\" no longer exists"))
        << dialogs->last().text.toStdString();
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Users").toInt(), 1);
    EXPECT_EQ(button("cmdAdd")->caption(), "&Save");
    EXPECT_EQ(box("txtUserName")->text(), "ravi");
    EXPECT_EQ(box("txtPassword")->text(), "pw1");
    EXPECT_EQ(entries(positions()), QStringList({"SUPER USER"}));

    // No position at all is refused as well; SUPER USER, picked from the list, is given.
    EXPECT_EQ(positions()->currentText(), "");
    dialogs->expectOk();
    click("cmdAdd");
    EXPECT_TRUE(dialogs->last().text.startsWith("Choose the user's Position"));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Users").toInt(), 1);
    positions()->setFocus();
    QTest::keyClick(positions(), Qt::Key_Down);
    ASSERT_EQ(positions()->currentText(), "SUPER USER");
    dialogs->expectOk();
    click("cmdAdd");
    EXPECT_EQ(dialogs->last().text, "New User has been Added");
    EXPECT_EQ(scalar("SELECT UserPosition FROM Users WHERE UserName = 'ravi'"), "SUPER USER");
}

TEST_F(frmUsersTest, F3OpensThePositionsAndEscDropsWhatIsTyped)
{
    openWindow();
    click("cmdAdd");
    box("txtUserName")->setText("pending");
    positions()->setFocus();
    QTest::keyClick(positions(), Qt::Key_F3);
    EXPECT_TRUE(WindowRegistry::find("frmPosition"));
    EXPECT_TRUE(WindowRegistry::find("frmUsers"));

    box("txtUserName")->setFocus();
    QTest::keyClick(box("txtUserName"), Qt::Key_Escape);
    EXPECT_TRUE(waitFor([] { return !WindowRegistry::find("frmUsers"); }));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Users").toInt(), 0);
    EXPECT_TRUE(WindowRegistry::isRegistered("frmUsers"));
}

} // namespace
