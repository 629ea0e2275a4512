#include "UserAdminFixture.h"

#include "admin/frmPosition.h"
#include "admin/frmUsers.h"
#include "controls/button/StyledButton.h"
#include "core/Database.h"
#include "ui/RightsCheck.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The save, delete and print buttons of an entry window, checked the way the book, card, issue and
// return windows check them: Add when the window opens, the rest when a record is loaded.
struct EntryWindow
{
    QWidget host;
    StyledButton *save = new StyledButton(&host);
    StyledButton *remove = new StyledButton(&host);
    StyledButton *print = new StyledButton(&host);

    explicit EntryWindow(const QString &entry, bool hasPrint = true)
    {
        save->setCaption("&Save");
        RightsCheck::applyAdd(entry, save);
        opened = state();
        RightsCheck::applyModify(entry, save, remove, hasPrint ? print : nullptr);
        loaded = state();
    }
    // Which buttons show, and the save caption: "S D P &Save".
    QString state() const
    {
        return QStringLiteral("%1%2%3 %4")
            .arg(save->isHidden() ? "-" : "S", remove->isHidden() ? "-" : "D",
                 print->isHidden() ? "-" : "P", save->caption());
    }
    QString opened, loaded;
};

class RightsFromPositionsTest : public UserAdminFixture
{
protected:
    // Saves a position through the positions window with the named boxes ticked.
    void savePosition(const QString &name, const QStringList &ticked)
    {
        auto *window = open<frmPosition>("frmPosition");
        for (QCheckBox *box : window->findChildren<QCheckBox *>())
            box->setChecked(ticked.contains(box->objectName()));
        control<QLineEdit>(window, "txtPositionName")->setText(name);
        dialogs->expectOk();
        control<QPushButton>(window, "cmdAdd")->click();
        closeWindow("frmPosition");
    }
    // Adds a user through the users window.
    void saveUser(const QString &name, const QString &position)
    {
        auto *window = open<frmUsers>("frmUsers");
        emit control<StyledButton>(window, "cmdAdd")->Click();
        control<QLineEdit>(window, "txtUserName")->setText(name);
        control<QComboBox>(window, "cboPosition")->setCurrentText(position);
        control<QLineEdit>(window, "txtPassword")->setText("pw");
        dialogs->expectOk();
        emit control<StyledButton>(window, "cmdAdd")->Click();
        closeWindow("frmUsers");
    }
    // What the login does with the position of the user it finds.
    void logIn(const QString &typedName)
    {
        Recordset user = Module::CompanyDb->query(
            "SELECT * FROM Users WHERE UserName = ? COLLATE NOCASE", {typedName});
        ASSERT_FALSE(user.eof()) << typedName.toStdString();
        logInAs(user.text("UserPosition"));
    }
    bool usersWindowOffersAdd()
    {
        auto *window = open<frmUsers>("frmUsers");
        const bool offered = !control<StyledButton>(window, "cmdAdd")->isHidden();
        closeWindow("frmUsers");
        return offered;
    }
};

TEST_F(RightsFromPositionsTest, EachUserSeesTheRightsOfTheirPosition)
{
    savePosition("Counter Clerk", {"chkBookModify", "chkBookPrint", "chkCardAdd", "chkCardDelete",
                                   "chkBookIssueAdd", "chkBookIssueModify", "chkBookIssueDelete",
                                   "chkBookIssuePrint", "chkUserModify", "chkUserDelete"});
    savePosition("Helper", {"chkUserAdd"});
    Module::CompanyDb->execute("INSERT INTO Users (UserID, UserName, UserPosition, Password) "
                               "VALUES (2, 'admin', 'SUPER USER', 'pw')");
    saveUser("ann", "Counter Clerk");
    saveUser("bob", "Helper");

    logIn("ANN");
    // A position without Add cannot save a new book; Modify then captions the hidden button.
    EXPECT_EQ(EntryWindow("Book", false).opened, "-DP &Save");
    EXPECT_EQ(EntryWindow("Book", false).loaded, "--P &Update");
    EXPECT_EQ(EntryWindow("Card").opened, "SDP &Save");
    EXPECT_EQ(EntryWindow("Card").loaded, "-D- &Save");
    EXPECT_EQ(EntryWindow("Book Issue").loaded, "SDP &Update");
    EXPECT_EQ(EntryWindow("Book Receipt").opened, "-DP &Save");
    EXPECT_EQ(EntryWindow("Book Receipt").loaded, "--- &Save");
    // Modify and Delete of "User" do not open the users window's add button.
    EXPECT_FALSE(usersWindowOffersAdd());

    logIn("bob");
    EXPECT_EQ(EntryWindow("Card").loaded, "--- &Save");
    EXPECT_TRUE(usersWindowOffersAdd());

    logIn("admin");
    for (const char *entry : {"Book", "Card", "Book Issue", "Book Receipt"})
        EXPECT_EQ(EntryWindow(entry).loaded, "SDP &Save") << entry;
    EXPECT_TRUE(usersWindowOffersAdd());

    // A position ann holds keeps its name, and she her rights.
    auto *window = open<frmPosition>("frmPosition");
    auto *list = control<RecordList>(window, "Lv1");
    doubleClickRow(list, int(column(list, 1).indexOf("Counter Clerk")));
    control<QLineEdit>(window, "txtPositionName")->setText("Desk Clerk");
    dialogs->expectOk();
    control<QPushButton>(window, "cmdAdd")->click();
    EXPECT_EQ(dialogs->last().title, "Can't be Renamed");
    logIn("ann");
    EXPECT_EQ(EntryWindow("Book", false).loaded, "--P &Update");

    // Renamed all the same, by a copy of the program without that guard: a name no rights row
    // carries gives her no right at all, never every right.
    Module::CompanyDb->execute(
        "UPDATE UserProfile SET \"Position\" = 'Desk Clerk' WHERE \"Position\" = 'Counter Clerk'");
    for (const char *entry : {"Book", "Card", "Book Issue", "Book Receipt"}) {
        EXPECT_EQ(EntryWindow(entry).opened, "-DP &Save") << entry;
        EXPECT_EQ(EntryWindow(entry).loaded, "--- &Save") << entry;
    }
    EXPECT_FALSE(usersWindowOffersAdd());
}

} // namespace
