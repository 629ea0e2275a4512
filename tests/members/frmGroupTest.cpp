#include "AnotherProgram.h"
#include "MembersFixture.h"

#include "members/frmGroup.h"
#include "ui/RecordList.h"

#include <QMdiSubWindow>
#include <QTest>

namespace {

class frmGroupTest : public MembersFixture
{
protected:
    frmGroup *openGroups() { return open<frmGroup>("frmGroup"); }

    void type(frmGroup *window, const char *box, const QString &text)
    {
        control(window, box)->setText(text);
    }

    // Enter on the list row whose name column reads name.
    void openRow(frmGroup *window, const QString &name)
    {
        auto *list = control<RecordList>(window, "Lv1");
        for (int i = 0; i < list->records()->size(); ++i)
            if (list->records()->row(i).texts.value(1) == name)
                list->setCurrentIndex(list->records()->index(i, 1));
        QTest::keyClick(list, Qt::Key_Return);
    }

    QStringList listRow(frmGroup *window, int row)
    {
        return control<RecordList>(window, "Lv1")->records()->row(row).texts;
    }
};

TEST_F(frmGroupTest, SavesNewGroupsWithTheirNumbersAndListsThemByName)
{
    auto *window = openGroups();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), "Group Entry Form");
    EXPECT_TRUE(control(window, "txtGroupName")->hasFocus());
    // Centred in the area.
    const QWidget *frame = window->parentWidget();
    EXPECT_NEAR(frame->x(), (area->viewport()->width() - frame->width()) / 2, 1);

    dialogs->expectOk();
    click(window, "cmdsave");
    EXPECT_EQ(dialogs->last().text, "Enter Group Name");
    EXPECT_EQ(dialogs->last().title, Dialogs::programTitle());
    EXPECT_EQ(db().scalar("SELECT count(*) FROM Group1").toInt(), 0);

    // The Enter chain walks the boxes to the save button.
    QTest::keyClicks(control(window, "txtGroupName"), "Senior");
    for (const char *next : {"txtFinePerDay", "txtMaxBooks", "txtMaxDay", "txtRemarks"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "cmdsave");

    type(window, "txtFinePerDay", "2.5");
    type(window, "txtMaxBooks", "12abc");
    type(window, "txtMaxDay", "");
    type(window, "txtRemarks", "Classes 9 to 12");
    dialogs->expectOk();
    click(window, "cmdsave");
    EXPECT_EQ(dialogs->last().text, "Group has been Saved sucessfully");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    Recordset rs = db().query("SELECT * FROM Group1");
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.field("GroupID").toLongLong(), 1);
    EXPECT_EQ(rs.number("FinePerDay"), 2.5);
    EXPECT_EQ(rs.number("MaxBooks"), 12);
    EXPECT_EQ(rs.number("MaxDays"), 0);
    EXPECT_EQ(control(window, "txtGroupName")->text(), "");
    EXPECT_EQ(control(window, "txtGroupID")->text(), "1");

    // Later groups take the highest key plus one, also past deleted ones; names may repeat.
    db().execute("INSERT INTO Group1 (GroupID, GroupName) VALUES (7, 'Junior')");
    for (const char *name : {"Junior", "Arts"}) {
        type(window, "txtGroupName", name);
        dialogs->expectOk();
        click(window, "cmdsave");
    }
    EXPECT_EQ(db().scalar("SELECT Max(GroupID) FROM Group1").toInt(), 9);
    ASSERT_EQ(control<RecordList>(window, "Lv1")->records()->size(), 4);
    EXPECT_EQ(listRow(window, 0), QStringList({"9", "Arts", "0", "0", "0", ""}));
    EXPECT_EQ(listRow(window, 1).value(1), "Junior");
    EXPECT_EQ(listRow(window, 2).value(1), "Junior");
    EXPECT_EQ(listRow(window, 3), QStringList({"1", "Senior", "2.5", "12", "0", "Classes 9 to 12"}));
    saveScreenshot(window, "frmGroup.png");
}

TEST_F(frmGroupTest, AltKeysNoButtonUsesTypeNothing)
{
    auto *window = openGroups();
    ASSERT_TRUE(window);
    QWidget *name = control(window, "txtGroupName");
    ASSERT_TRUE(name->hasFocus());
    QTest::keyClicks(name, "Library Club");
    QTest::keyClick(name, Qt::Key_Z, Qt::AltModifier);
    QTest::keyClick(name, Qt::Key_Q, Qt::AltModifier);
    QTest::keyClick(name, Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), "2");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(control(window, "txtFinePerDay")->text(), "2");
    dialogs->expectOk();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
    ASSERT_FALSE(dialogs->boxes.isEmpty());
    EXPECT_EQ(dialogs->last().text, "Group has been Saved sucessfully");
    EXPECT_EQ(db().scalar("SELECT GroupName FROM Group1").toString(), "Library Club");
}

TEST_F(frmGroupTest, AListedGroupOpensForUpdateAndKeepsItsKey)
{
    const qint64 senior = addGroup("Senior", 2, 3);
    db().execute("UPDATE Group1 SET FinePerDay = NULL, MaxDays = NULL WHERE GroupID = ?", {senior});
    // Keys are not limited to 16 bits.
    db().execute("INSERT INTO Group1 (GroupID, GroupName, MaxBooks) VALUES (5000000000, 'Staff', 6)");
    addCard(1, 1, "Asha Rani", senior, "2026-03-31");
    auto *window = openGroups();

    openRow(window, "Staff");
    EXPECT_EQ(control(window, "txtGroupID")->text(), "5000000000");
    EXPECT_EQ(control(window, "txtMaxBooks")->text(), "6");
    EXPECT_EQ(control<StyledButton>(window, "cmdsave")->caption(), "&Update");

    openRow(window, "Senior");
    EXPECT_EQ(control(window, "txtFinePerDay")->text(), "0"); // empty columns load as 0
    EXPECT_EQ(control(window, "txtMaxDay")->text(), "0");
    type(window, "txtGroupName", "Seniors");
    dialogs->expectOk();
    click(window, "cmdsave");
    EXPECT_EQ(db().scalar("SELECT GroupName FROM Group1 WHERE GroupID = ?", {senior}).toString(),
              "Seniors");
    EXPECT_EQ(db().scalar("SELECT count(*) FROM Group1").toInt(), 2);
    EXPECT_EQ(control<StyledButton>(window, "cmdsave")->caption(), "&Save");
    // The card keeps the name it copied.
    EXPECT_EQ(db().scalar("SELECT GroupName FROM Card").toString(), "Senior");

    // An empty list opens nothing.
    db().execute("DELETE FROM Group1");
    window->Lv1Load();
    QTest::keyClick(control<RecordList>(window, "Lv1"), Qt::Key_Return);
    EXPECT_EQ(control<StyledButton>(window, "cmdsave")->caption(), "&Save");
}

TEST_F(frmGroupTest, AFailingUpdateLeavesTheOldGroup)
{
    addGroup("Senior", 2, 3);
    auto *window = openGroups();
    openRow(window, "Senior");
    type(window, "txtGroupName", "Seniors");
    failWrite(2); // the add after the delete
    dialogs->expectOk();
    click(window, "cmdsave");
    EXPECT_TRUE(dialogs->last().text.endsWith(" \r\n")) << dialogs->last().text.toStdString();
    EXPECT_EQ(dialogs->last().title, "");
    EXPECT_EQ(db().scalar("SELECT GroupName FROM Group1").toString(), "Senior");
    EXPECT_EQ(db().scalar("SELECT MaxBooks FROM Group1").toInt(), 3);
    // The window stays as it was for a retry.
    EXPECT_EQ(control<StyledButton>(window, "cmdsave")->caption(), "&Update");
    EXPECT_EQ(control(window, "txtGroupName")->text(), "Seniors");
}

TEST_F(frmGroupTest, DeleteRefusesAGroupInUseAndAsksFirst)
{
    const qint64 senior = addGroup("Senior");
    addGroup("Junior");
    addCard(1, 1, "Asha Rani", senior, "2026-03-31");
    auto *window = openGroups();

    // Nothing loaded yet: nothing to delete, nothing asked.
    click(window, "cmdDelete");
    EXPECT_TRUE(dialogs->boxes.isEmpty());

    openRow(window, "Senior");
    dialogs->expectOk();
    click(window, "cmdDelete");
    EXPECT_EQ(dialogs->last().text, "This Group has been use in Transaction Can't be Deleted");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(dialogs->last().title, "Can't be Delete");
    EXPECT_EQ(dialogs->boxes.size(), 1);

    openRow(window, "Junior");
    dialogs->answers << Dialogs::Answer::No;
    click(window, "cmdDelete");
    EXPECT_EQ(dialogs->last().text, "Are You Sure To Delete this Group");
    EXPECT_EQ(dialogs->last().buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(db().scalar("SELECT count(*) FROM Group1").toInt(), 2);

    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    click(window, "cmdDelete");
    EXPECT_EQ(dialogs->last().text, "Group Deleted Sucessfully");
    EXPECT_EQ(db().scalar("SELECT count(*) FROM Group1").toInt(), 1);
    EXPECT_EQ(control<RecordList>(window, "Lv1")->records()->size(), 1);
    EXPECT_EQ(control<StyledButton>(window, "cmdsave")->caption(), "&Save");
}

TEST_F(frmGroupTest, AnotherCounterAtWorkOnTheSameGroups)
{
    addGroup("Senior");
    AnotherProgram other(db());
    auto *window = openGroups();

    // The other counter adds a group while this one saves: both are kept, and the window holds
    // the key its group went under, which a delete right after acts on.
    type(window, "txtGroupName", "Junior");
    other.beforeNextWrite([](Database &db) {
        db.execute("INSERT INTO Group1 (GroupID, GroupName) VALUES (2, 'Staff')");
    });
    dialogs->expectOk();
    click(window, "cmdsave");
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->texts(), QStringList{"Group has been Saved sucessfully"});
    EXPECT_EQ(db().scalar("SELECT GroupName FROM Group1 WHERE GroupID = 2").toString(), "Staff");
    EXPECT_EQ(db().scalar("SELECT GroupName FROM Group1 WHERE GroupID = 3").toString(), "Junior");
    EXPECT_EQ(control(window, "txtGroupID")->text(), "3");

    // The other counter gives the group a card while the question is open: the group stays.
    other.beforeNextWrite([](Database &db) {
        db.execute("INSERT INTO Card (CardID, CardNo, GroupID, GroupName, Name) "
                   "VALUES (1, 1, 3, 'Junior', 'Asha Rani')");
    });
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    click(window, "cmdDelete");
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->texts().mid(1),
              QStringList({"Are You Sure To Delete this Group",
                           "This Group has been use in Transaction Can't be Deleted"}));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(dialogs->last().title, "Can't be Delete");
    EXPECT_EQ(db().scalar("SELECT count(*) FROM Group1").toInt(), 3);
}

TEST_F(frmGroupTest, EscClosesWithoutAsking)
{
    auto *window = openGroups();
    QPointer<QWidget> guard(window);
    QTest::keyClicks(control(window, "txtGroupName"), "Unsaved");
    QTest::keyClick(control(window, "txtGroupName"), Qt::Key_Escape);
    EXPECT_TRUE(waitFor([&] { return guard.isNull(); }));
    EXPECT_EQ(db().scalar("SELECT count(*) FROM Group1").toInt(), 0);
}

} // namespace
