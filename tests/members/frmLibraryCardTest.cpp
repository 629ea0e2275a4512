#include "AnotherProgram.h"
#include "DateTyping.h"
#include "MembersFixture.h"

#include "members/frmLibraryCard.h"
#include "ui/DateBox.h"
#include "ui/RecordList.h"

#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMdiSubWindow>
#include <QStyleOptionTitleBar>
#include <QTest>

namespace {

class frmLibraryCardTest : public MembersFixture
{
protected:
    frmLibraryCard *openCards() { return open<frmLibraryCard>("frmLibraryCard"); }

    static RecordList *list(QWidget *window) { return control<RecordList>(window, "Lv1"); }

    static QStringList listColumn(QWidget *window, int column)
    {
        QStringList texts;
        for (int i = 0; i < list(window)->records()->size(); ++i)
            texts << list(window)->records()->row(i).texts.value(column);
        return texts;
    }

    // Enter on the list row of that card key.
    static void openCard(QWidget *window, qint64 key)
    {
        RecordList *lv = list(window);
        for (int i = 0; i < lv->records()->size(); ++i)
            if (lv->records()->row(i).texts.value(0) == QString::number(key))
                lv->setCurrentIndex(lv->records()->index(i, 1));
        QTest::keyClick(lv, Qt::Key_Return);
    }

    static void tick(QWidget *window, int row)
    {
        list(window)->records()->setData(list(window)->records()->index(row, 0), Qt::Checked,
                                         Qt::CheckStateRole);
    }

    static QString caption(QWidget *window, const char *button)
    {
        return control<StyledButton>(window, button)->caption();
    }

    // A picture file in the test's program folder.
    QString pictureFile(const QString &name, const QColor &colour)
    {
        QImage image(60, 80, QImage::Format_RGB32);
        image.fill(colour);
        const QString file = path(name);
        EXPECT_TRUE(image.save(file, "JPG"));
        return file;
    }
};

TEST_F(frmLibraryCardTest, OpensReadyForANewCardAndSavesIt)
{
    addGroup("Senior");
    addGroup("Junior");
    auto *window = openCards();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), "LIBRARY CARD");
    EXPECT_EQ(window->parentWidget()->pos(), QPoint(0, 0));
    EXPECT_EQ(control(window, "txtCardNo")->text(), "1");
    EXPECT_TRUE(control(window, "txtCardNo")->hasFocus());
    EXPECT_EQ(control<QComboBox>(window, "cboGroupName")->currentText(), "Junior");
    EXPECT_EQ(control<DateBox>(window, "dtpValidDate")->date(), QDate::currentDate());
    EXPECT_FALSE(control<StyledButton>(window, "cmdDelete")->isEnabled());
    EXPECT_FALSE(control<QFrame>(window, "fraValidity")->isVisible());
    EXPECT_FALSE(control<QLabel>(window, "imgHappy")->pixmap().isNull()); // the placeholder

    // The checks come in order, and only an empty text is refused.
    control(window, "txtCardNo")->clear();
    dialogs->expectOk(2);
    click(window, "cmdsave");
    control(window, "txtCardNo")->setText("12abc");
    click(window, "cmdsave");
    EXPECT_EQ(dialogs->texts(), QStringList({"Enter Card No.", "Enter Card Name"}));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs->last().title, "");

    control<QComboBox>(window, "cboGroupName")->setCurrentText("SENIOR");
    control(window, "txtName")->setText("Asha Rani");
    control(window, "txtRollNo")->setText("9-A/14");
    control(window, "txtFatherName")->setText("Harbans Lal");
    control(window, "txtaddress")->setText("House 12, Ward 3");
    control(window, "txtCity")->setText("Nabha");
    control(window, "txtDistt")->setText("Patiala");
    control(window, "txtContact1")->setText("9814012345");
    control(window, "txtContact2")->setText("01765-220011");
    control(window, "txtRemarks")->setText("Hostel");
    control<DateBox>(window, "dtpValidDate")->setDate(QDate(2027, 3, 31));
    dialogs->expectOk();
    click(window, "cmdsave");
    EXPECT_EQ(dialogs->last().text, "New Card has been Added");

    Recordset rs = db().query("SELECT * FROM Card");
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.field("CardID").toLongLong(), 1);
    EXPECT_EQ(rs.number("CardNo"), 12);
    EXPECT_EQ(rs.field("GroupID").toLongLong(), 1);
    EXPECT_EQ(rs.text("GroupName"), "Senior");
    EXPECT_EQ(rs.text("OT11"), "Harbans Lal");
    EXPECT_EQ(rs.text("OT12"), "House 12, Ward 3");
    EXPECT_EQ(rs.text("OT14"), "Patiala");
    EXPECT_EQ(rs.text("Contact2"), "01765-220011");
    EXPECT_EQ(rs.text("OD1"), "2027-03-31");

    // The group, remarks and date carry over; the member's boxes empty; a new number proposed.
    EXPECT_EQ(control(window, "txtName")->text(), "");
    EXPECT_EQ(control(window, "txtDistt")->text(), "");
    EXPECT_EQ(control(window, "txtRemarks")->text(), "Hostel");
    EXPECT_EQ(control<QComboBox>(window, "cboGroupName")->currentText(), "SENIOR");
    EXPECT_EQ(control<DateBox>(window, "dtpValidDate")->date(), QDate(2027, 3, 31));
    EXPECT_EQ(control(window, "txtCardNo")->text(), "13");
    EXPECT_TRUE(control<QLabel>(window, "imgHappy")->pixmap().isNull());
    EXPECT_EQ(list(window)->records()->row(0).texts,
              QStringList({"1", "12", "Asha Rani", "Senior", "9-A/14", "Harbans Lal", "Nabha",
                           "Patiala", "9814012345", "Hostel", "31-Mar-27"}));
    saveScreenshot(window, "frmLibraryCard.png");
}

TEST_F(frmLibraryCardTest, TheEnterChainAndTheFocusColours)
{
    auto *window = openCards();
    const QStringList chain = {"cboGroupName", "txtRollNo",   "txtName",     "txtFatherName",
                               "txtaddress",   "txtCity",     "txtDistt",    "txtContact1",
                               "txtContact2",  "txtRemarks",  "dtpValidDate", "cmdsave"};
    for (const QString &next : chain) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QWidget *focus = QApplication::focusWidget();
        ASSERT_TRUE(focus);
        const QString name = focus->objectName().isEmpty() ? focus->parentWidget()->objectName()
                                                            : focus->objectName();
        EXPECT_EQ(name, next);
    }
    const QColor focused(0xC0, 0xFF, 0xC0), blurred(0xF3, 0xF7, 0xFE);
    QLineEdit *name = control(window, "txtName");
    name->setFocus();
    EXPECT_EQ(name->palette().color(QPalette::Base), focused);
    control(window, "txtRemarks")->setFocus(); // no focus colours there
    EXPECT_EQ(name->palette().color(QPalette::Base), blurred);
    EXPECT_EQ(control(window, "txtRemarks")->palette().color(QPalette::Base), blurred);

    // Entering the number box again in Save mode replaces a typed number with the proposal.
    control(window, "txtCardNo")->setText("77");
    control(window, "txtCardNo")->setFocus();
    EXPECT_EQ(control(window, "txtCardNo")->text(), "1");
}

TEST_F(frmLibraryCardTest, AListedCardOpensForUpdateWithTheRightsApplied)
{
    const qint64 senior = addGroup("Senior");
    addCard(1, 101, "Asha Rani", senior, "2026-03-31");
    addCard(2, 102, "Bhavna", QVariant(), QVariant()); // no group, no date
    QFile::copy(pictureFile("asha.jpg", Qt::red), path("asha.jpg"));
    db().execute("UPDATE Card SET OT15 = ? WHERE CardID = 1", {path("asha.jpg")});
    db().execute("INSERT INTO UserProfile (PositionID, \"Position\", Entry, \"Add\", Modify, "
                 "\"Delete\", \"Print\") VALUES (1, 'Librarian', 'Card', 'Y', 'Y', 'Y', 'N')");
    Module::CurrentUserPosition = "LIBRARIAN";
    db().execute("UPDATE Group1 SET GroupName = 'Seniors'"); // renamed after the card's save
    auto *window = openCards();
    EXPECT_TRUE(control<StyledButton>(window, "cmdPrint")->isVisible());

    openCard(window, 1);
    EXPECT_EQ(control(window, "txtCardID")->text(), "1");
    EXPECT_EQ(control(window, "txtCardNo")->text(), "101");
    EXPECT_EQ(control<QComboBox>(window, "cboGroupName")->currentText(), "Seniors");
    EXPECT_EQ(control(window, "txtFatherName")->text(), "Harbans Lal");
    EXPECT_EQ(control<DateBox>(window, "dtpValidDate")->date(), QDate(2026, 3, 31));
    EXPECT_EQ(control(window, "txtPhoto")->text(), path("asha.jpg"));
    EXPECT_EQ(caption(window, "cmdsave"), "&Update");
    EXPECT_TRUE(control<StyledButton>(window, "cmdDelete")->isEnabled());
    EXPECT_FALSE(control<StyledButton>(window, "cmdPrint")->isVisible());
    // The list keeps the name the card copied.
    EXPECT_EQ(list(window)->records()->row(0).texts.value(3), "Senior");

    // A card saved without a group opens too; the box keeps its text, the date its day.
    openCard(window, 2);
    EXPECT_EQ(control(window, "txtName")->text(), "Bhavna");
    EXPECT_EQ(control<QComboBox>(window, "cboGroupName")->currentText(), "Seniors");
    EXPECT_EQ(control<DateBox>(window, "dtpValidDate")->date(), QDate(2026, 3, 31));

    // Saving keeps the key; an update says "Added" too.
    control(window, "txtName")->setText("Bhavna Sharma");
    dialogs->expectOk();
    click(window, "cmdsave");
    EXPECT_EQ(dialogs->last().text, "New Card has been Added");
    EXPECT_EQ(db().scalar("SELECT Name FROM Card WHERE CardID = 2").toString(), "Bhavna Sharma");
    EXPECT_EQ(db().scalar("SELECT GroupID FROM Card WHERE CardID = 2").toInt(), senior);
    EXPECT_EQ(db().scalar("SELECT count(*) FROM Card").toInt(), 2);
    EXPECT_EQ(caption(window, "cmdsave"), "&Save");
    EXPECT_EQ(control(window, "txtCardNo")->text(), "103");
}

TEST_F(frmLibraryCardTest, AFailingWriteLeavesTheCard)
{
    addGroup("Senior");
    addCard(1, 101, "Asha Rani", 1, "2026-03-31");
    auto *window = openCards();
    openCard(window, 1);
    control(window, "txtName")->setText("Changed");
    failWrite(2);
    dialogs->expectOk();
    click(window, "cmdsave");
    EXPECT_TRUE(dialogs->last().text.startsWith("Error ")) << dialogs->last().text.toStdString();
    EXPECT_EQ(db().scalar("SELECT Name FROM Card WHERE CardID = 1").toString(), "Asha Rani");
    EXPECT_EQ(caption(window, "cmdsave"), "&Update");
    EXPECT_EQ(control(window, "txtName")->text(), "Changed");

    // A new card that cannot be written leaves nothing behind either.
    Database::clearFailureHook();
    dialogs->expectOk();
    click(window, "cmdsave");
    control(window, "txtName")->setText("New Member");
    Database::setFailureHook({0, "Card"});
    dialogs->expectOk();
    click(window, "cmdsave");
    EXPECT_EQ(db().scalar("SELECT count(*) FROM Card").toInt(), 1);
    EXPECT_EQ(caption(window, "cmdsave"), "&Save");
}

TEST_F(frmLibraryCardTest, DeleteRefusesACardWithVouchersAndAsksFirst)
{
    addGroup("Senior");
    addCard(1, 101, "Asha Rani", 1, "2026-03-31");
    addCard(2, 102, "Bhavna", 1, "2026-03-31");
    db().execute("INSERT INTO Voucher (VoucherID, TransactionType, CardID) VALUES (1, 'Receipt', 1)");
    auto *window = openCards();

    openCard(window, 1);
    dialogs->expectOk();
    click(window, "cmdDelete");
    EXPECT_EQ(dialogs->last().text, "This Card has been use in Transaction Can't be Deleted");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(dialogs->last().title, "Can't be Delete");

    openCard(window, 2);
    dialogs->answers << Dialogs::Answer::No;
    click(window, "cmdDelete");
    EXPECT_EQ(dialogs->last().buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Question);
    EXPECT_EQ(caption(window, "cmdsave"), "&Update");

    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    click(window, "cmdDelete");
    EXPECT_EQ(dialogs->last().text, "Card Deleted Sucessfully");
    EXPECT_EQ(db().scalar("SELECT count(*) FROM Card").toInt(), 1);
    EXPECT_EQ(listColumn(window, 0), QStringList({"1"}));
    EXPECT_FALSE(control<StyledButton>(window, "cmdDelete")->isEnabled());
}

TEST_F(frmLibraryCardTest, AnotherCounterAtWorkOnTheSameCards)
{
    addGroup("Senior");
    addCard(1, 101, "Asha Rani", 1, "2026-03-31");
    AnotherProgram other(db());
    auto *window = openCards();

    // The other counter adds a card while this one saves: both cards are kept.
    control(window, "txtName")->setText("Bhavna");
    other.beforeNextWrite([](Database &db) {
        db.execute("INSERT INTO Card (CardID, CardNo, Name) VALUES (2, 102, 'Chetan')");
    });
    dialogs->expectOk();
    click(window, "cmdsave");
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->texts(), QStringList{"New Card has been Added"});
    EXPECT_EQ(db().scalar("SELECT Name FROM Card WHERE CardID = 2").toString(), "Chetan");
    EXPECT_EQ(db().scalar("SELECT Name FROM Card WHERE CardID = 3").toString(), "Bhavna");
    EXPECT_EQ(control(window, "txtCardID")->text(), "3");

    // The other counter issues a book to the card while the question is open: the card stays.
    openCard(window, 3);
    other.beforeNextWrite([](Database &db) {
        db.execute(
            "INSERT INTO Voucher (VoucherID, TransactionType, CardID) VALUES (1, 'Issue', 3)");
    });
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    click(window, "cmdDelete");
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->texts().mid(1),
              QStringList({"Are You Sure To Delete this Card",
                           "This Card has been use in Transaction Can't be Deleted"}));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(dialogs->last().title, "Can't be Delete");
    EXPECT_EQ(db().scalar("SELECT count(*) FROM Card").toInt(), 3);
    EXPECT_EQ(caption(window, "cmdsave"), "&Update");
}

// The group is the one of that name when the card is written: a group that another counter
// deleted meanwhile is not named, so a group added later under its key cannot take the card in.
TEST_F(frmLibraryCardTest, ACardNeverNamesAGroupDeletedWhileItWasTyped)
{
    addGroup("Senior");
    addGroup("Junior");
    AnotherProgram other(db());
    auto *window = openCards();
    auto *groups = control<QComboBox>(window, "cboGroupName");
    groups->setFocus();
    QTest::keyClick(groups, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(groups, "Junior");
    control(window, "txtName")->setFocus();
    QTest::keyClicks(control(window, "txtName"), "Bhavna");

    other.beforeNextWrite([](Database &db) {
        // As the group window deletes it: no card names it yet.
        db.execute("DELETE FROM Group1 WHERE GroupName = 'Junior' AND NOT EXISTS "
                   "(SELECT 1 FROM Card WHERE Card.GroupID = Group1.GroupID)");
    });
    dialogs->expectOk();
    click(window, "cmdsave");
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->texts(), QStringList{"New Card has been Added"});
    EXPECT_EQ(db().scalar("SELECT count(*) FROM Group1").toInt(), 1);
    EXPECT_TRUE(db().scalar("SELECT GroupID FROM Card WHERE Name = 'Bhavna'").isNull());
    EXPECT_TRUE(db().scalar("SELECT GroupName FROM Card WHERE Name = 'Bhavna'").isNull());

    // A group that stays is named as before.
    groups->setFocus();
    QTest::keyClick(groups, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(groups, "senior");
    control(window, "txtName")->setFocus();
    QTest::keyClicks(control(window, "txtName"), "Chetan");
    dialogs->expectOk();
    click(window, "cmdsave");
    EXPECT_EQ(db().scalar("SELECT GroupID || ' ' || GroupName FROM Card WHERE Name = 'Chetan'")
                  .toString(),
              "1 Senior");
}

TEST_F(frmLibraryCardTest, TheValidityRangeListsTheCardsValidUpToADayInIt)
{
    addGroup("Senior");
    addCard(1, 5, "March end", 1, "2026-03-31");
    addCard(2, 3, "April first", 1, "2026-04-01");
    addCard(3, 4, "April end", 1, "2026-04-30");
    addCard(4, 1, "May", 1, "2026-05-01");
    addCard(5, 2, "No date", 1, QVariant());
    addCard(6, 6, "Empty date", 1, "");
    auto *window = openCards();
    EXPECT_EQ(listColumn(window, 1), QStringList({"1", "2", "3", "4", "5", "6"}));

    click(window, "cmdValidity");
    EXPECT_TRUE(control<QFrame>(window, "fraValidity")->isVisible());
    EXPECT_TRUE(control<DateBox>(window, "dtpFromDate")->hasFocus());
    control<DateBox>(window, "dtpFromDate")->setDate(QDate(2026, 4, 1));
    control<DateBox>(window, "dtpToDate")->setDate(QDate(2026, 4, 30));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(control<DateBox>(window, "dtpToDate")->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "cmdSearch");
    tick(window, 0);
    click(window, "cmdSearch");
    EXPECT_FALSE(control<QFrame>(window, "fraValidity")->isVisible());
    EXPECT_EQ(listColumn(window, 2), QStringList({"April first", "April end"}));
    EXPECT_EQ(listColumn(window, 10), QStringList({"01-Apr-26", "30-Apr-26"}));
    EXPECT_FALSE(list(window)->records()->row(0).checked);

    // One day.
    control<DateBox>(window, "dtpFromDate")->setDate(QDate(2026, 3, 31));
    control<DateBox>(window, "dtpToDate")->setDate(QDate(2026, 3, 31));
    window->Lv1Load("Date");
    EXPECT_EQ(listColumn(window, 2), QStringList({"March end"}));

    // A save brings every card back.
    control(window, "txtName")->setText("New Member");
    dialogs->expectOk();
    click(window, "cmdsave");
    EXPECT_EQ(list(window)->records()->size(), 7);
}

TEST_F(frmLibraryCardTest, PrintStagesTheTickedCardsOfTheLastPrintOnly)
{
    db().execute("INSERT INTO Company (CompanyName, Address, Address2, city, phone, mobile, "
                 "TINNo) VALUES ('Green Valley School', '12 Mall Road', 'Near Clock Tower', "
                 "'Nabha', '01765-220011', '9814000000', 'TIN-4455')");
    addGroup("Senior");
    addCard(1, 101, "Asha Rani", 1, "2026-03-31");
    addCard(2, 102, "Bhavna", 1, "2026-03-31");
    addCard(3, 103, "Charan", 1, "2026-03-31");
    db().execute("UPDATE Card SET OT14 = NULL, Contact1 = NULL WHERE CardID = 3");
    auto *window = openCards();

    tick(window, 0);
    tick(window, 2);
    click(window, "cmdPrint");
    Recordset rs = Module::CommonDb->query("SELECT * FROM Printing ORDER BY rowid");
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.text("T1"), "101");
    EXPECT_EQ(rs.text("T2"), "Asha Rani");
    EXPECT_EQ(rs.text("T3"), "Senior");
    EXPECT_EQ(rs.text("T5"), "Harbans Lal");
    EXPECT_EQ(rs.text("T7"), "Patiala");
    EXPECT_EQ(rs.text("c1"), "Green Valley School");
    EXPECT_EQ(rs.text("c7"), "TIN-4455");
    rs.moveNext();
    EXPECT_EQ(rs.text("T2"), "Charan");
    EXPECT_EQ(rs.text("T7"), "");
    EXPECT_EQ(rs.text("T8"), "");
    auto *report = WindowRegistry::find<frmPrint1>("frmPrint1");
    ASSERT_TRUE(report);
    EXPECT_EQ(report->lblRPTFileName()->text(), "RPT File :" + Module::programPath("Card.rpt"));

    // The second print starts afresh.
    list(window)->records()->setChecked(0, false);
    list(window)->records()->setChecked(2, false);
    tick(window, 1);
    click(window, "cmdPrint");
    EXPECT_EQ(Module::CommonDb->scalar("SELECT group_concat(T2) FROM Printing").toString(),
              "Bhavna");
    saveScreenshot(report, "CardPrintout.png");

    // No row ticked: nothing staged, the report window still opens.
    list(window)->records()->setChecked(1, false);
    click(window, "cmdPrint");
    EXPECT_EQ(Module::CommonDb->scalar("SELECT count(*) FROM Printing").toInt(), 0);
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

TEST_F(frmLibraryCardTest, ACompanyWithoutDetailsPrintsAnEmptyHeader)
{
    addCard(1, 101, "Asha Rani", QVariant(), "2026-03-31");
    auto *window = openCards();
    tick(window, 0);
    click(window, "cmdPrint");
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    Recordset rs = Module::CommonDb->query("SELECT * FROM Printing");
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.text("T2"), "Asha Rani");
    EXPECT_TRUE(rs.field("c1").isNull());
    EXPECT_TRUE(WindowRegistry::find("frmPrint1"));
}

TEST_F(frmLibraryCardTest, ThePhotoComesThroughTheFileDialogAndABadFileChangesNothing)
{
    auto *window = openCards();
    auto *photo = control<QLabel>(window, "imgHappy");
    const QString red = pictureFile("red.jpg", Qt::red);

    dialogs->files << "";
    QTest::mouseClick(photo, Qt::LeftButton);
    EXPECT_EQ(control(window, "txtPhoto")->text(), "");

    dialogs->files << red;
    QTest::mouseClick(control<QLabel>(window, "lblAddPicture"), Qt::LeftButton);
    EXPECT_EQ(control(window, "txtPhoto")->text(), red);
    const QImage shown = photo->pixmap().toImage();
    EXPECT_EQ(QColor(shown.pixel(shown.width() / 2, shown.height() / 2)).red() > 200, true);

    QFile broken(path("broken.jpg"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    dialogs->files << path("broken.jpg");
    dialogs->expectOk();
    QTest::mouseClick(photo, Qt::LeftButton);
    EXPECT_TRUE(dialogs->last().text.contains(path("broken.jpg")));
    EXPECT_EQ(control(window, "txtPhoto")->text(), red);
    EXPECT_EQ(photo->pixmap().toImage(), shown);

    // The right button chooses nothing.
    QTest::mouseClick(photo, Qt::RightButton);
}

TEST_F(frmLibraryCardTest, EscClosesAlsoWithThePanelOpen)
{
    auto *window = openCards();
    QPointer<QWidget> guard(window);
    click(window, "cmdValidity");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(waitFor([&] { return guard.isNull(); }));
}

} // namespace

// The key column holds the check box and the card key whole, up to the keys of a large library.
TEST_F(frmLibraryCardTest, TheKeyColumnShowsLongKeysWhole)
{
    addGroup("Senior");
    for (const qint64 key : {9, 10, 20000})
        addCard(key, double(key), "Member", 1, QVariant());
    auto *window = openCards();
    RecordList *lv = list(window);
    ASSERT_EQ(lv->records()->size(), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_LE(lv->sizeHintForIndex(lv->records()->index(row, 0)).width(), lv->columnWidth(0))
            << lv->records()->text(row, 0).toStdString();
}

// Valid Upto and the list's range take the dates typed: the day is not capped by the month the
// box showed before the new month was typed.
TEST_F(frmLibraryCardTest, ValidityDatesAreTakenAsTyped)
{
    auto *window = openCards();
    auto *valid = control<DateBox>(window, "dtpValidDate");
    valid->setDate(QDate(2027, 6, 30));
    control(window, "txtName")->setText("Asha Rani");
    valid->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(valid, "31122027");
    dialogs->expectOk();
    click(window, "cmdsave");
    EXPECT_EQ(dialogs->texts(), QStringList{"New Card has been Added"});
    EXPECT_EQ(db().scalar("SELECT OD1 FROM Card").toString(), "2027-12-31");

    click(window, "cmdValidity");
    ASSERT_EQ(QApplication::focusWidget(), control<DateBox>(window, "dtpFromDate"));
    QTest::keyClicks(QApplication::focusWidget(), "31-12-2027");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), control<DateBox>(window, "dtpToDate"));
    QTest::keyClicks(QApplication::focusWidget(), "010128");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    click(window, "cmdSearch");
    EXPECT_EQ(listColumn(window, 2), QStringList{"Asha Rani"});
    EXPECT_EQ(control<DateBox>(window, "dtpToDate")->date(), QDate(2028, 1, 1));
}

// Valid Upto typed into the open calendar, however it was opened, is read day first as the box
// reads it, and kept with the card.
TEST_F(frmLibraryCardTest, AValidityTypedIntoTheOpenCalendarIsTheDateKept)
{
    auto *window = openCards();
    auto *valid = control<DateBox>(window, "dtpValidDate");
    const std::pair<CalendarOpening, QString> typings[] = {{CalendarOpening::F4, "12012028"},
                                                           {CalendarOpening::AltDown, "13-01-2028"},
                                                           {CalendarOpening::Arrow, "14-Jan-28"}};
    for (const auto &[how, keys] : typings) {
        control(window, "txtName")->setText("Asha Rani");
        if (how != CalendarOpening::Arrow)
            clickIntoDate(valid, 10);
        typeIntoCalendar(valid, how, keys);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        dialogs->expectOk();
        click(window, "cmdsave");
    }
    EXPECT_EQ(dialogs->texts(), QStringList(3, "New Card has been Added"));
    EXPECT_EQ(db().scalar("SELECT group_concat(OD1) FROM Card").toString(),
              "2028-01-12,2028-01-13,2028-01-14");
}

// Close, the title bar's X and Esc close the card window with a Valid Upto that is no date, and
// say nothing of a date nobody will use.
TEST_F(frmLibraryCardTest, ClosingIsNotRacedByTheValidityDate)
{
    const auto closedBy = [&](const char *how, const std::function<void(QWidget *)> &closing) {
        SCOPED_TRACE(how);
        auto *window = openCards();
        QPointer<QMdiSubWindow> frame = qobject_cast<QMdiSubWindow *>(window->parentWidget());
        EXPECT_TRUE(frame);
        auto *valid = control<DateBox>(window, "dtpValidDate");
        clickIntoDate(valid, 1);
        QTest::keyClicks(valid, "31042027");
        EXPECT_EQ(valid->text(), "31-04-2027");
        closing(window);
        QCoreApplication::processEvents();
        EXPECT_TRUE(!frame || !frame->isVisible());
        EXPECT_TRUE(dialogs->boxes.isEmpty()) << dialogs->last().text.toStdString();
    };
    // A press and its release a moment later, as a hand clicks.
    const auto click = [](QWidget *target, const QPoint &at) {
        QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, at);
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, at);
    };
    closedBy("Close", [&](QWidget *window) {
        auto *close = control<StyledButton>(window, "cmdClose");
        click(close, close->rect().center());
    });
    closedBy("X", [&](QWidget *window) {
        auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget());
        QStyleOptionTitleBar title;
        title.initFrom(frame);
        title.titleBarFlags = frame->windowFlags();
        title.titleBarState = frame->windowState();
        title.subControls = QStyle::SC_All;
        title.rect = QRect(0, 0, frame->width(),
                           frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, &title, frame));
        const QRect x = frame->style()->subControlRect(QStyle::CC_TitleBar, &title,
                                                       QStyle::SC_TitleBarCloseButton, frame);
        ASSERT_FALSE(x.isEmpty());
        QTest::mouseMove(frame, x.center()); // the frame presses the button the mouse is over
        click(frame, x.center());
    });
    closedBy("Esc",
             [&](QWidget *) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
}
