#include "AnotherProgram.h"
#include "UserAdminFixture.h"

#include "admin/frmPosition.h"
#include "core/Database.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>

namespace {

class frmPositionTest : public UserAdminFixture
{
protected:
    frmPosition *window = nullptr;

    void openWindow() { window = open<frmPosition>("frmPosition"); }
    QLineEdit *box(const char *name) { return control<QLineEdit>(window, name); }
    QCheckBox *check(const char *name) { return control<QCheckBox>(window, name); }
    QPushButton *button(const char *name) { return control<QPushButton>(window, name); }
    RecordList *list() { return control<RecordList>(window, "Lv1"); }
    QStringList checkedBoxes()
    {
        QStringList names;
        for (QCheckBox *box : window->findChildren<QCheckBox *>())
            if (box->isChecked())
                names << box->objectName();
        names.sort();
        return names;
    }
    void save(const QString &name)
    {
        box("txtPositionName")->setText(name);
        dialogs->expectOk();
        button("cmdAdd")->click();
        EXPECT_EQ(dialogs->last().text, "New Position has been Added");
    }
    // The five rights rows of a key, each as "entry:AMDP".
    QStringList rightsRows(int key)
    {
        QStringList rows;
        for (Recordset rs = Module::CompanyDb->query(
                 "SELECT * FROM UserProfile WHERE PositionID = ? ORDER BY rowid", {key});
             !rs.eof(); rs.moveNext())
            rows << rs.text("Position") + "/" + rs.text("Entry") + ":" + rs.text("Add") +
                        rs.text("Modify") + rs.text("Delete") + rs.text("Print");
        return rows;
    }
};

TEST_F(frmPositionTest, SavesANewPositionWithItsFiveRowsAndLoadsItBack)
{
    openWindow();
    EXPECT_EQ(window->windowTitle(), "USER POSITION");
    EXPECT_TRUE(box("txtPositionName")->hasFocus());
    EXPECT_EQ(area->subWindowList().first()->pos(), QPoint(0, 0));
    EXPECT_EQ(button("cmdAdd")->text(), "&Save");
    EXPECT_TRUE(button("cmdDelete")->isEnabled());
    EXPECT_TRUE(checkedBoxes().isEmpty());

    // Enter in the name moves to the first right.
    QTest::keyClick(box("txtPositionName"), Qt::Key_Return);
    EXPECT_TRUE(check("chkBookAdd")->hasFocus());

    check("chkBookReceiptPrint")->setChecked(true);
    save("Librarian");
    EXPECT_EQ(dialogs->last().title, "");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(scalar("SELECT PositionName FROM \"Position\" WHERE PositionID = 1"), "Librarian");
    EXPECT_EQ(rightsRows(1),
              QStringList({"Librarian/Book:NNNN", "Librarian/Card:NNNN", "Librarian/User:NNNN",
                           "Librarian/Book Issue:NNNN", "Librarian/Book Receipt:NNNY"}));
    // Back to a new position; the ticks and the key stay.
    EXPECT_EQ(box("txtPositionName")->text(), "");
    EXPECT_EQ(button("cmdAdd")->text(), "&Save");
    EXPECT_FALSE(button("cmdDelete")->isEnabled());
    EXPECT_EQ(box("txtPositionID")->text(), "1");
    EXPECT_EQ(checkedBoxes(), QStringList{"chkBookReceiptPrint"});
    EXPECT_EQ(column(list(), 0), QStringList{"1"});
    EXPECT_EQ(column(list(), 1), QStringList{"Librarian"});

    // A stored lower-case "y" is no right; an entry without a row keeps its ticks.
    Module::CompanyDb->execute("UPDATE UserProfile SET \"Add\" = 'y' WHERE Entry = 'Card'");
    Module::CompanyDb->execute("DELETE FROM UserProfile WHERE Entry = 'User'");
    check("chkCardAdd")->setChecked(true);
    check("chkUserDelete")->setChecked(true);
    doubleClickRow(list(), 0);
    EXPECT_EQ(box("txtPositionName")->text(), "Librarian");
    EXPECT_EQ(checkedBoxes(), QStringList({"chkBookReceiptPrint", "chkUserDelete"}));
    EXPECT_EQ(button("cmdAdd")->text(), "&Update");
    EXPECT_TRUE(button("cmdDelete")->isEnabled());

    // Enter on the list opens nothing.
    window->CleanBox();
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(button("cmdAdd")->text(), "&Save");

    box("txtPositionName")->setText("Clerk");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(area.data()));
    EXPECT_TRUE(window->grab().save(QDir(testOutputFolder()).filePath("frmPosition.png")));
}

TEST_F(frmPositionTest, NamesAreCheckedOnlyForEmptinessAndTheSuperUser)
{
    openWindow();
    dialogs->expectOk();
    button("cmdAdd")->click();
    EXPECT_EQ(dialogs->last().text, "Enter Position Name");
    EXPECT_EQ(dialogs->last().title, Dialogs::programTitle());
    EXPECT_TRUE(box("txtPositionName")->hasFocus());

    // Its rows would restrict every SUPER USER, and the list could never show them again.
    box("txtPositionName")->setText("Super User");
    dialogs->expectOk();
    button("cmdAdd")->click();
    EXPECT_TRUE(dialogs->last().text.startsWith("SUPER USER holds every right"));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM UserProfile").toInt(), 0);

    save("   ");
    save("O'Brien 50%_[*]");
    save("O'Brien 50%_[*]");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM \"Position\"").toInt(), 3);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM UserProfile").toInt(), 15);
    EXPECT_EQ(column(list(), 0), QStringList({"1", "2", "3"}));

    // The filter is taken literally, and only when the list is loaded again.
    box("txtSearch")->setText("o'brien 50%_[");
    EXPECT_EQ(list()->records()->size(), 3);
    save("Assistant");
    EXPECT_EQ(column(list(), 0), QStringList({"2", "3"}));
    box("txtSearch")->setText("%");
    save("Zero");
    EXPECT_EQ(list()->records()->size(), 0);
}

TEST_F(frmPositionTest, ChangingAPositionRewritesItsRowsUnderTheSameKey)
{
    openWindow();
    save("Teacher");
    check("chkBookAdd")->setChecked(true);
    save("Librarian");
    Module::CompanyDb->execute(
        "INSERT INTO Users (UserID, UserName, UserPosition, Password) VALUES (9, 'ann', "
        "'Librarian', 'x')");

    doubleClickRow(list(), 0); // Librarian, key 2
    EXPECT_EQ(box("txtPositionID")->text(), "2");
    // Users hold a position by name: renamed under them, it would leave them no rights.
    check("chkCardPrint")->setChecked(true);
    box("txtPositionName")->setText("Head Librarian");
    dialogs->expectOk();
    button("cmdAdd")->click();
    EXPECT_EQ(dialogs->last().text, "This Position is held by 1 user and Can't be Renamed");
    EXPECT_EQ(dialogs->last().title, "Can't be Renamed");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(rightsRows(2).value(0), "Librarian/Book:YNNN");
    EXPECT_EQ(rightsRows(2).value(1), "Librarian/Card:NNNN");
    EXPECT_EQ(button("cmdAdd")->text(), "&Update");
    EXPECT_EQ(box("txtPositionName")->text(), "Head Librarian");
    // Its rights change under its name, letter case apart.
    save("LIBRARIAN");
    EXPECT_EQ(rightsRows(2).value(1), "LIBRARIAN/Card:NNNY");

    Module::CompanyDb->execute("UPDATE Users SET UserPosition = 'Teacher' WHERE UserID = 9");
    doubleClickRow(list(), 0); // LIBRARIAN, key 2
    box("txtPositionName")->setText("Head Librarian");
    save("Head Librarian");
    EXPECT_EQ(scalar("SELECT PositionName FROM \"Position\" WHERE PositionID = 2"),
              "Head Librarian");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM \"Position\"").toInt(), 2);
    EXPECT_EQ(rightsRows(2).value(0), "Head Librarian/Book:YNNN");
    EXPECT_EQ(rightsRows(2).value(1), "Head Librarian/Card:NNNY");
    EXPECT_EQ(scalar("SELECT UserPosition FROM Users WHERE UserID = 9"), "Teacher");

    // A failing rewrite keeps the position as it was.
    doubleClickRow(list(), 0);
    box("txtPositionName")->setText("Broken");
    Database::setFailureHook({.failOnWrite = 4, .failOnTable = {}});
    dialogs->expectOk();
    button("cmdAdd")->click();
    Database::clearFailureHook();
    EXPECT_TRUE(dialogs->last().text.startsWith("Error "));
    EXPECT_EQ(dialogs->last().title, "");
    EXPECT_EQ(button("cmdAdd")->text(), "&Update");
    EXPECT_EQ(rightsRows(2).size(), 5);
    EXPECT_EQ(rightsRows(2).value(0), "Head Librarian/Book:YNNN");
    EXPECT_EQ(scalar("SELECT PositionName FROM \"Position\" WHERE PositionID = 2"),
              "Head Librarian");
}

TEST_F(frmPositionTest, DeletesAfterTheQuestionAndRefusesWithoutAKey)
{
    openWindow();
    // Right after opening nothing is loaded: the question names nobody, and Yes finds no key.
    dialogs->answers << Dialogs::Answer::No;
    button("cmdDelete")->click();
    EXPECT_EQ(dialogs->last().text,
              "Position Name : \r\nAre you sure you want to Delete this Position?");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(dialogs->last().buttons, Dialogs::Buttons::YesNo);
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    button("cmdDelete")->click();
    EXPECT_EQ(dialogs->last().text, "Error 13\r Type mismatch");
    EXPECT_EQ(dialogs->last().title, Dialogs::programTitle());

    save("Clerk");
    save("Monitor");
    Module::CompanyDb->execute(
        "INSERT INTO Users (UserID, UserName, UserPosition, Password) VALUES (9, 'ann', 'Clerk', "
        "'x')");
    doubleClickRow(list(), 0);
    // A position that users hold stays, whatever letter case they hold it in; nothing is asked.
    dialogs->expectOk();
    button("cmdDelete")->click();
    EXPECT_EQ(dialogs->last().text, "This Position is held by 1 user and Can't be Deleted");
    EXPECT_EQ(dialogs->last().title, "Can't be Delete");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    Module::CompanyDb->execute(
        "INSERT INTO Users (UserID, UserName, UserPosition, Password) VALUES (10, 'bob', 'CLERK', "
        "'x')");
    dialogs->expectOk();
    button("cmdDelete")->click();
    EXPECT_EQ(dialogs->last().text, "This Position is held by 2 users and Can't be Deleted");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM UserProfile").toInt(), 10);
    Module::CompanyDb->execute("UPDATE Users SET UserPosition = 'Monitor' WHERE UserID IN (9, 10)");

    dialogs->answers << Dialogs::Answer::No;
    button("cmdDelete")->click();
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM UserProfile").toInt(), 10);

    // A failing delete removes nothing.
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    Database::setFailureHook({.failOnTable = "Position"});
    button("cmdDelete")->click();
    Database::clearFailureHook();
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM UserProfile").toInt(), 10);

    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    button("cmdDelete")->click();
    EXPECT_EQ(dialogs->last().text, "Position Delete");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM UserProfile WHERE PositionID = 1").toInt(), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM \"Position\"").toInt(), 1);
    EXPECT_EQ(column(list(), 1), QStringList{"Monitor"});
    EXPECT_EQ(box("txtPositionName")->text(), "");
    EXPECT_FALSE(button("cmdDelete")->isEnabled());
}

TEST_F(frmPositionTest, APositionGivenToAUserWhileTheQuestionIsOpenStays)
{
    openWindow();
    save("Clerk");
    doubleClickRow(list(), 0);
    AnotherProgram other(*Module::CompanyDb);
    other.beforeNextWrite([](Database &db) {
        db.execute("INSERT INTO Users (UserID, UserName, UserPosition, Password) VALUES (9, "
                   "'ann', 'clerk', 'x')");
    });
    dialogs->boxes.clear();
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    button("cmdDelete")->click();
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->texts(),
              QStringList({"Position Name : Clerk\r\nAre you sure you want to Delete this "
                           "Position?",
                           "This Position is held by 1 user and Can't be Deleted"}));
    EXPECT_EQ(dialogs->last().title, "Can't be Delete");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM UserProfile WHERE PositionID = 1").toInt(), 5);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM \"Position\"").toInt(), 1);
    // Still loaded, as a refusal before the question leaves it.
    EXPECT_EQ(box("txtPositionName")->text(), "Clerk");
    EXPECT_TRUE(button("cmdDelete")->isEnabled());
}

TEST_F(frmPositionTest, APositionGivenToAUserAsItIsRenamedKeepsItsName)
{
    openWindow();
    save("Temp");
    doubleClickRow(list(), 0);
    box("txtPositionName")->setText("Temp2");
    AnotherProgram other(*Module::CompanyDb);
    other.beforeNextWrite([](Database &db) {
        db.execute("INSERT INTO Users (UserID, UserName, UserPosition, Password) VALUES (9, "
                   "'t1', 'Temp', 'x')");
    });
    dialogs->boxes.clear();
    dialogs->expectOk();
    button("cmdAdd")->click();
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->texts(),
              QStringList{"This Position is held by 1 user and Can't be Renamed"});
    EXPECT_EQ(scalar("SELECT PositionName FROM \"Position\"").toString(), "Temp");
    EXPECT_EQ(rightsRows(1).value(0), "Temp/Book:NNNN");
    EXPECT_EQ(column(list(), 1), QStringList{"Temp"});
}

TEST_F(frmPositionTest, OtherPositionsHaveOnlyTheirUserRightsHere)
{
    openWindow();
    check("chkUserAdd")->setChecked(true);
    save("Adder"); // key 1
    check("chkUserAdd")->setChecked(false);
    check("chkUserModify")->setChecked(true);
    check("chkUserDelete")->setChecked(true);
    save("Keeper"); // key 2
    check("chkUserModify")->setChecked(false);
    check("chkUserDelete")->setChecked(false);
    save("Nobody"); // key 3
    const auto reopenAs = [this](const QString &position) {
        closeWindow("frmPosition");
        logInAs(position);
        openWindow();
    };
    const auto shown = [this] {
        return QStringLiteral("%1/%2").arg(
            button("cmdAdd")->isVisibleTo(window) ? button("cmdAdd")->text() : "-",
            button("cmdDelete")->isVisibleTo(window) ? "del" : "-");
    };
    const QString before = rightsRows(3).join(",");

    // No right at all: the position can be looked at, never changed nor deleted, even by a click
    // that reaches the hidden buttons.
    reopenAs("Nobody");
    EXPECT_EQ(shown(), "-/-");
    const qsizetype boxes = dialogs->boxes.size();
    doubleClickRow(list(), 2); // Nobody
    EXPECT_EQ(box("txtPositionName")->text(), "Nobody");
    EXPECT_EQ(shown(), "-/-");
    check("chkBookAdd")->setChecked(true);
    button("cmdAdd")->click();
    button("cmdDelete")->click();
    EXPECT_EQ(rightsRows(3).join(","), before);
    EXPECT_EQ(dialogs->boxes.size(), boxes);

    // Add only: new positions, no change of a loaded one.
    reopenAs("Adder");
    EXPECT_EQ(shown(), "&Save/-");
    doubleClickRow(list(), 2);
    EXPECT_EQ(shown(), "-/-");
    window->CleanBox();
    EXPECT_EQ(shown(), "&Save/-");
    save("Fourth");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM \"Position\"").toInt(), 4);

    // Modify and Delete without Add: a loaded position can be changed or deleted.
    reopenAs("Keeper");
    EXPECT_EQ(shown(), "-/del");
    doubleClickRow(list(), 3); // Nobody
    EXPECT_EQ(shown(), "&Update/del");
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    button("cmdDelete")->click();
    EXPECT_EQ(dialogs->last().text, "Position Delete");
    EXPECT_EQ(rightsRows(3).size(), 0);

    // The SUPER USER keeps every right, whatever rows might carry the name.
    Module::CompanyDb->execute(
        "INSERT INTO UserProfile (PositionID, \"Position\", Entry, \"Add\", Modify, \"Delete\", "
        "\"Print\") VALUES (9, 'SUPER USER', 'User', 'N', 'N', 'N', 'N')");
    reopenAs("SUPER USER");
    EXPECT_EQ(shown(), "&Save/del");
}

TEST_F(frmPositionTest, ADoubleClickOnAnEmptyListLoadsNothingAndEscCloses)
{
    openWindow();
    dialogs->expectOk();
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 91\r "));
    EXPECT_EQ(button("cmdAdd")->text(), "&Save");

    box("txtPositionName")->setText("Unsaved");
    box("txtPositionName")->setFocus();
    QTest::keyClick(box("txtPositionName"), Qt::Key_Escape);
    EXPECT_TRUE(waitFor([] { return !WindowRegistry::find("frmPosition"); }));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM \"Position\"").toInt(), 0);
}

} // namespace
