#include "AnotherProgram.h"
#include "CirculationFixture.h"
#include "DateTyping.h"

#include "circulation/CirculationRules.h"
#include "circulation/ReceiptVoucherLoader.h"
#include "circulation/SearchPanel.h"
#include "circulation/frmBookReceipt.h"
#include "controls/button/StyledButton.h"
#include "core/Dialogs.h"
#include "ui/DateBox.h"
#include "ui/RecordList.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <limits>

namespace {

const QString NotIssued = "Book has not been issued. hence can not be returned";
const QString NotThisPerson = "Book has not been issued. to this Person";
const QString NoSerialFollows = "No Sr No. can follow the highest one stored: a voucher keeps no "
                                "larger number.\rType the Sr No. of this voucher yourself.";

class frmBookReceiptTest : public CirculationTest
{
protected:
    void SetUp() override
    {
        CirculationTest::SetUp();
        addGroup(1, "Class 5", 3, 2, 14);
        addCard(1, 101, 1, "Asha Verma", "R7");
        addCard(2, 102, 1, "Ravi Kumar", "R9");
        addBook(1, "12B", "Blue Umbrella");
        addBook(2, "7", "Malgudi Days", "R. K. Narayan");
        addBook(3, "30", "Wings of Fire", "A. P. J. Abdul Kalam");
    }

    // Lent on the 1st of March 2026.
    void lend(const QString &cardNo, const QString &accessionNo, const QDate &on = {2026, 3, 1})
    {
        ASSERT_EQ(CirculationRules::saveIssue(db(), {0, on, "1", cardNo, accessionNo}).refusal,
                  CirculationRules::Refusal::None);
    }
    frmBookReceipt *open(const QDate &returnDate = {2026, 3, 10})
    {
        window = WindowRegistry::show<frmBookReceipt>("frmBookReceipt");
        EXPECT_TRUE(activate(window));
        date()->setDate(returnDate);
        return window;
    }
    DateBox *date() { return window->findChild<DateBox *>("dtpDate"); }
    QLineEdit *box(const char *name) { return window->findChild<QLineEdit *>(name); }
    StyledButton *button(const char *name) { return window->findChild<StyledButton *>(name); }
    void enterIn(const char *name, const QString &text)
    {
        QLineEdit *edit = box(name);
        edit->setFocus();
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void lookUp(const QString &cardNo, const QString &accessionNo)
    {
        enterIn("txtCardNo", cardNo);
        enterIn("txtAccessionNo", accessionNo);
    }
    void save() { emit button("cmdsave")->Click(); }
    // Tab into the box, Ctrl+A and the text typed over what it held.
    void typeOver(const char *name, const QString &text)
    {
        QLineEdit *edit = box(name);
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }
    void pressEnterIn(const char *name) { QTest::keyClick(box(name), Qt::Key_Return); }
    void pressSave()
    {
        button("cmdsave")->setFocus();
        QTest::keyClick(button("cmdsave"), Qt::Key_Return);
    }
    // Saves and answers No to the print question.
    void saveWithoutPrinting()
    {
        dialogs->expectOk();
        dialogs->answers << Dialogs::Answer::No;
        save();
    }

    frmBookReceipt *window = nullptr;
};

} // namespace

TEST_F(frmBookReceiptTest, TakesABookBackWithTheGroupsFineAndPrintsTheReceipt)
{
    lend("101", "12B");
    open();
    EXPECT_EQ(window->findChild<QLabel *>("lblHeader")->text(), "BOOK RECEIPT");
    EXPECT_EQ(button("cmdsave")->caption(), "&Save");
    EXPECT_FALSE(button("cmdDelete")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), date());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), box("txtSrNo"));
    EXPECT_EQ(box("txtSrNo")->text(), "1");
    QTest::keyClick(box("txtSrNo"), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), box("txtCardNo"));
    QTest::keyClicks(box("txtCardNo"), "101");
    QTest::keyClick(box("txtCardNo"), Qt::Key_Return);
    EXPECT_EQ(box("txtName")->text(), "Asha Verma");
    EXPECT_EQ(box("txtRemarks")->text(), "Card remark");
    ASSERT_EQ(QApplication::focusWidget(), box("txtAccessionNo"));
    QTest::keyClicks(box("txtAccessionNo"), "12b");
    QTest::keyClick(box("txtAccessionNo"), Qt::Key_Return);
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    EXPECT_EQ(box("txtAccessionNo")->text(), "12B");
    EXPECT_EQ(box("txtTitle")->text(), "Blue Umbrella");
    EXPECT_EQ(box("txtIssueID")->text(), "1");
    EXPECT_EQ(box("txtDaysDelayed")->text(), "9"); // every day counts, MaxDays aside
    EXPECT_EQ(box("txtTotalFine")->text(), "18");
    ASSERT_EQ(QApplication::focusWidget(), box("txtDaysDelayed"));
    QTest::keyClick(box("txtDaysDelayed"), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), box("txtTotalFine"));
    QTest::keyClick(box("txtTotalFine"), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), box("txtFineReceiptNo"));
    QTest::keyClicks(box("txtFineReceiptNo"), "55");
    QTest::keyClick(box("txtFineReceiptNo"), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), box("txtRemarks1"));
    QTest::keyClicks(box("txtRemarks1"), "Torn cover  ");
    QTest::keyClick(box("txtRemarks1"), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), button("cmdsave"));
    window->grab().save(testOutputFolder() + "/frmBookReceipt.png");

    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::Yes;
    QTest::keyClick(button("cmdsave"), Qt::Key_Return);
    ASSERT_EQ(dialogs->texts(), (QStringList{"Book has been Receipt", "Do You Want to Print"}));
    EXPECT_EQ(dialogs->boxes[0].icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs->boxes[0].title, "");
    EXPECT_EQ(dialogs->boxes[1].icon, Dialogs::Icon::Question);

    EXPECT_EQ(voucherField(2, "TransactionType").toString(), "Receipt");
    EXPECT_EQ(voucherField(2, "SrNO").toInt(), 1);
    EXPECT_EQ(voucherField(2, "DaysDelayed").toInt(), 9);
    EXPECT_EQ(voucherField(2, "TotalFine").toDouble(), 18);
    EXPECT_EQ(voucherField(2, "FineReceiptNo").toInt(), 55);
    EXPECT_EQ(voucherField(2, "IssueID").toInt(), 1);
    EXPECT_EQ(voucherField(2, "Remarks").toString(), "Torn cover  ");
    EXPECT_EQ(bookField(1, "Status").toString(), "Available");

    // The receipt as saved, group terms and company header included.
    EXPECT_EQ(stagedRows(), 1);
    EXPECT_EQ(staged("T1").toString(), "10-03-2026");
    EXPECT_EQ(staged("T2").toString(), "1");
    EXPECT_EQ(staged("T3").toString(), "101");
    EXPECT_EQ(staged("T4").toString(), "12B");
    EXPECT_EQ(staged("T6").toString(), "Asha Verma");
    EXPECT_EQ(staged("T10").toString(), "Blue Umbrella");
    EXPECT_EQ(staged("T18").toString(), "9");
    EXPECT_EQ(staged("T19").toString(), "18");
    EXPECT_EQ(staged("T20").toString(), "55");
    EXPECT_EQ(staged("T21").toString(), "Torn cover  ");
    EXPECT_TRUE(staged("T22").isNull());
    EXPECT_EQ(staged("T23").toString(), "2");
    EXPECT_EQ(staged("T25").toString(), "14");
    EXPECT_EQ(staged("T26").toString(), "Return on time");
    EXPECT_EQ(staged("c1").toString(), "Green Valley School");
    EXPECT_TRUE(staged("c3").isNull());
    EXPECT_TRUE(staged("N1").isNull());
    auto *report = WindowRegistry::find<frmPrint1>("frmPrint1");
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->lblRPTFileName()->text().endsWith("/BookReceipt.rpt"));

    // Cleared for the next return; accession number, date and keys stay.
    EXPECT_EQ(box("txtAccessionNo")->text(), "12B");
    EXPECT_EQ(box("txtCardNo")->text(), "");
    EXPECT_EQ(box("txtTotalFine")->text(), "");
    EXPECT_EQ(box("txtBookID")->text(), "1");
    EXPECT_EQ(date()->date(), QDate(2026, 3, 10));
    EXPECT_TRUE(activate(window));
    box("txtSrNo")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(box("txtSrNo")->text(), "2");
}

TEST_F(frmBookReceiptTest, ProposalsFollowTheGroupAndMayRunNegative)
{
    addGroup(2, "Staff", 0, 1.5);
    db().execute("INSERT INTO Group1 (GroupID, GroupName, MaxDays) VALUES (3, 'Guests', 7)");
    addCard(3, 103, 2, "Meena");
    addCard(4, 104, 3, "Guest");
    lend("103", "7", QDate(2026, 3, 14));
    lend("104", "30");
    open();

    // The return date before the issue: negative days, negative fine, stored as they are.
    lookUp("103", "7");
    EXPECT_EQ(box("txtDaysDelayed")->text(), "-4");
    EXPECT_EQ(box("txtTotalFine")->text(), "-6");
    date()->setDate(QDate(2026, 3, 21));
    EXPECT_EQ(box("txtDaysDelayed")->text(), "-4"); // proposals move only with a new look-up
    enterIn("txtAccessionNo", "7");
    EXPECT_EQ(box("txtTotalFine")->text(), "10.5");
    saveWithoutPrinting();
    EXPECT_EQ(voucherField(3, "TotalFine").toDouble(), 10.5);
    EXPECT_EQ(voucherField(3, "DaysDelayed").toInt(), 7);

    lookUp("104", "30");
    EXPECT_EQ(box("txtTotalFine")->text(), "0"); // an empty fine per day is none

    // A book looked up before any card: the fine box keeps what it held and the holder refuses.
    window->GetCleanBox();
    box("txtCardID")->clear();
    box("txtGroupID")->clear();
    box("txtTotalFine")->setText("keep");
    dialogs->expectOk();
    enterIn("txtAccessionNo", "30");
    EXPECT_EQ(box("txtTotalFine")->text(), "keep");
    EXPECT_EQ(dialogs->last().text, NotThisPerson);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(QApplication::focusWidget(), box("txtAccessionNo"));
}

TEST_F(frmBookReceiptTest, RefusalsShowTheirMessagesAndWriteNothing)
{
    lend("101", "12B");
    lend("102", "7");
    open();
    dialogs->expectOk();
    enterIn("txtCardNo", "");
    EXPECT_EQ(dialogs->last().text, "Enter Card No.");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    dialogs->expectOk();
    enterIn("txtCardNo", "999");
    EXPECT_EQ(dialogs->last().text, "Invalid Card No.");
    EXPECT_EQ(QApplication::focusWidget(), box("txtCardNo"));

    enterIn("txtCardNo", "101");
    dialogs->expectOk();
    enterIn("txtAccessionNo", "30"); // on the shelf
    EXPECT_EQ(dialogs->boxes[2].text, NotIssued);
    EXPECT_EQ(dialogs->boxes[2].icon, Dialogs::Icon::Information);
    EXPECT_EQ(box("txtTitle")->text(), "");

    // Ravi's book on Asha's card: the holder test refuses after the look-up and at the save.
    dialogs->expectOk();
    enterIn("txtAccessionNo", "7");
    EXPECT_EQ(dialogs->last().text, NotThisPerson);
    EXPECT_EQ(box("txtTitle")->text(), "Malgudi Days");
    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->last().text, NotThisPerson);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);

    // The card retyped without Enter: the shown card and its fine are not the typed one's.
    enterIn("txtAccessionNo", "12B");
    box("txtCardNo")->setText("102");
    dialogs->expectOk();
    save();
    EXPECT_TRUE(dialogs->last().text.startsWith("The card shown is not card No. 102."));
    EXPECT_EQ(QApplication::focusWidget(), box("txtCardNo"));
    box("txtCardNo")->setText("101");
    box("txtAccessionNo")->setText("7");
    dialogs->expectOk();
    save();
    EXPECT_TRUE(dialogs->last().text.startsWith("The book shown is not Accession No. 7."));

    box("txtAccessionNo")->setText("A12");
    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->last().text, "Enter Accession No.");
    box("txtAccessionNo")->setText("12B");
    box("txtCardNo")->setText("");
    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->last().text, "Enter Card No.");
    EXPECT_EQ(vouchers(), 2);

    // Returned once; the second time the look-up and the save refuse it.
    lookUp("101", "12B");
    saveWithoutPrinting();
    enterIn("txtCardNo", "101");
    dialogs->boxes.clear();
    dialogs->expectOk(2);
    enterIn("txtAccessionNo", "12B");
    // The holder test follows whatever the look-up found: the copy is no longer on this card.
    ASSERT_EQ(dialogs->texts(), (QStringList{NotIssued, NotThisPerson}));
    EXPECT_EQ(dialogs->boxes[0].icon, Dialogs::Icon::Information);
    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->last().text, NotIssued);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(vouchers(), 3);
}

TEST_F(frmBookReceiptTest, OnePressRecordsOneReturn)
{
    lend("101", "12B");
    open();
    lookUp("101", "12B");
    button("cmdsave")->setFocus();
    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::No;
    QTest::keyClick(button("cmdsave"), Qt::Key_Return);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    button("cmdsave")->setFocus();
    QApplication::sendEvent(button("cmdsave"), &repeat);
    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->last().text, "Enter Card No.");
    EXPECT_EQ(vouchers(), 2);
}

TEST_F(frmBookReceiptTest, FailuresAreReportedAndLeaveNothingHalfWritten)
{
    lend("101", "12B");
    open();
    lookUp("101", "12B");
    Database::setFailureHook({.failOnTable = "Book"});
    dialogs->expectOk();
    save();
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error "));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::None);
    EXPECT_EQ(dialogs->last().title, Dialogs::programTitle());
    EXPECT_EQ(vouchers(), 1);
    EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
    EXPECT_EQ(box("txtName")->text(), "Asha Verma");

    // The return stands when only its printout cannot be staged; no print question then.
    Database::setFailureHook({.failOnTable = "Printing"});
    dialogs->boxes.clear();
    dialogs->expectOk(2);
    save();
    ASSERT_EQ(dialogs->boxes.size(), 2);
    EXPECT_EQ(dialogs->boxes[0].text, "Book has been Receipt");
    EXPECT_TRUE(
        dialogs->boxes[1].text.startsWith("The return printout could not be prepared.\rError "));
    EXPECT_EQ(vouchers(), 2);
    EXPECT_EQ(bookField(1, "Status").toString(), "Available");

    // An issue date that reads as no date stops the look-up after the book key.
    lend("102", "7");
    db().execute("UPDATE Book SET IssueDate = 'soon' WHERE BookID = 2");
    db().execute("UPDATE Voucher SET \"Date\" = 'soon' WHERE VoucherID = 3");
    enterIn("txtCardNo", "102");
    dialogs->expectOk();
    enterIn("txtAccessionNo", "7");
    EXPECT_EQ(dialogs->last().text, "Error 13\r Type mismatch");
    EXPECT_EQ(box("txtBookID")->text(), "2");
    EXPECT_EQ(box("txtTitle")->text(), "");
}

TEST_F(frmBookReceiptTest, LoaderOpensAReturnForCorrectionAndDeletion)
{
    lend("101", "12B");
    open();
    lookUp("101", "12B");
    box("txtSrNo")->setText("1");
    box("txtRemarks1")->setText("Torn cover");
    saveWithoutPrinting();
    box("txtRemarks")->setText("left alone");

    for (double unknown : {99.0, 1.0}) { // no voucher; an issue voucher
        Module::SelectedRecordID = unknown;
        LoadReceiptVoucherForUpdate();
        EXPECT_EQ(button("cmdsave")->caption(), "&Save") << unknown;
        EXPECT_FALSE(button("cmdDelete")->isEnabled());
    }
    Module::SelectedRecordID = 2;
    LoadReceiptVoucherForUpdate();
    EXPECT_EQ(WindowRegistry::find<frmBookReceipt>("frmBookReceipt"), window);
    EXPECT_EQ(button("cmdsave")->caption(), "&Update");
    EXPECT_TRUE(button("cmdDelete")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), date());
    EXPECT_EQ(date()->date(), QDate(2026, 3, 10));
    EXPECT_EQ(box("txtSrNo")->text(), "1");
    EXPECT_EQ(box("txtCardNo")->text(), "101");
    EXPECT_EQ(box("txtAccessionNo")->text(), "12B");
    EXPECT_EQ(box("txtIssueID")->text(), "1");
    EXPECT_EQ(box("txtDaysDelayed")->text(), "9");
    EXPECT_EQ(box("txtTotalFine")->text(), "18");
    EXPECT_EQ(box("txtFineReceiptNo")->text(), "0"); // an empty box is stored as 0
    EXPECT_EQ(box("txtRemarks1")->text(), "Torn cover");
    EXPECT_EQ(box("txtRemarks")->text(), "left alone");
    EXPECT_TRUE(activate(window));
    box("txtSrNo")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(box("txtSrNo")->text(), "1"); // no proposal in "&Update"

    // Corrected after the copy went out again to Ravi: his loan stays.
    lend("102", "12B");
    box("txtTotalFine")->setText("10");
    saveWithoutPrinting();
    EXPECT_EQ(vouchers(), 3);
    EXPECT_EQ(voucherField(2, "TotalFine").toDouble(), 10);
    EXPECT_EQ(voucherField(2, "Remarks").toString(), "Torn cover");
    EXPECT_EQ(bookField(1, "CardID").toInt(), 2);
    EXPECT_EQ(button("cmdsave")->caption(), "&Save");

    LoadReceiptVoucherForUpdate();
    date()->setDate(QDate(2026, 4, 1));
    const QString question = "Are You Sure To Delete Voucher\r\nSR No. = 1 Dated: 01-04-2026\r\n"
                             "  Name : Asha Verma\r\nDeleting this voucher will erase all "
                             "information about this voucher";
    dialogs->boxes.clear();
    dialogs->answers << Dialogs::Answer::No;
    emit button("cmdDelete")->Click();
    EXPECT_EQ(dialogs->last().text, question);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(dialogs->last().title, "");
    EXPECT_EQ(vouchers(), 3);

    Database::setFailureHook({.failOnTable = "Voucher"});
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    emit button("cmdDelete")->Click();
    EXPECT_TRUE(dialogs->last().text.startsWith("Error "));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(vouchers(), 3);

    // Ravi holds the copy now, so Asha's loan cannot be reopened: the delete is refused.
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    emit button("cmdDelete")->Click();
    EXPECT_EQ(dialogs->last().text, "The book this return took back has been issued again "
                                    "since.\rThe return can't be deleted.");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(vouchers(), 3);
    EXPECT_EQ(bookField(1, "CardID").toInt(), 2);
    EXPECT_EQ(button("cmdsave")->caption(), "&Update");

    // Back from Ravi: deleting Asha's return puts the copy out to her again, as she had it.
    window->GetCleanBox();
    lookUp("102", "12B");
    saveWithoutPrinting();
    Module::SelectedRecordID = 2;
    LoadReceiptVoucherForUpdate();
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    emit button("cmdDelete")->Click();
    EXPECT_EQ(dialogs->last().text, "Entry Delete");
    EXPECT_EQ(vouchers(), 3);
    EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
    EXPECT_EQ(bookField(1, "IssueID").toInt(), 1);
    EXPECT_EQ(bookField(1, "CardID").toInt(), 1);
    EXPECT_EQ(button("cmdsave")->caption(), "&Save");
    EXPECT_FALSE(button("cmdDelete")->isEnabled());
}

TEST_F(frmBookReceiptTest, MovingALoadedReturnToAnotherBookReopensTheFirstLoan)
{
    lend("101", "12B");
    lend("101", "7");
    open();
    lookUp("101", "12B");
    saveWithoutPrinting();
    // The return was meant for the other book: corrected in the window, the first goes out again.
    Module::SelectedRecordID = 3;
    LoadReceiptVoucherForUpdate();
    lookUp("101", "7");
    EXPECT_EQ(box("txtIssueID")->text(), "2");
    saveWithoutPrinting();
    EXPECT_EQ(voucherField(3, "BookID").toInt(), 2);
    EXPECT_EQ(voucherField(3, "IssueID").toInt(), 2);
    EXPECT_EQ(bookField(2, "Status").toString(), "Available");
    EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
    EXPECT_EQ(bookField(1, "IssueID").toInt(), 1);
    EXPECT_EQ(bookField(1, "IssueDate").toString(), "01-Mar-26");

    // Book 7 lent again to Ravi: moving the return back to 12B would leave his loan wrong.
    lend("102", "7");
    LoadReceiptVoucherForUpdate();
    lookUp("101", "12B");
    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->last().text, "The book this return took back has been issued again "
                                    "since.\rThe return can't be moved to another book.");
    EXPECT_EQ(voucherField(3, "BookID").toInt(), 2);
    EXPECT_EQ(bookField(1, "IssueID").toInt(), 1);
    EXPECT_EQ(bookField(2, "IssueID").toInt(), 4);
}

TEST_F(frmBookReceiptTest, DaysCountFromTheIssueVouchersFullDate)
{
    // "01-Jan-50" on the copy reads as 1950; the voucher knows it was 2050.
    lend("101", "12B", QDate(2050, 1, 1));
    EXPECT_EQ(bookField(1, "IssueDate").toString(), "01-Jan-50");
    open(QDate(2050, 1, 2));
    lookUp("101", "12B");
    EXPECT_EQ(box("txtDaysDelayed")->text(), "1");
    EXPECT_EQ(box("txtTotalFine")->text(), "2");

    // A copy whose issue voucher is gone reads its own date, two digits around today, not 1930.
    db().execute("UPDATE Book SET Status = 'Issue', IssueID = 77, CardID = 1, CardNo = 101, "
                 "IssueDate = '01-Jan-30' WHERE BookID = 2");
    date()->setDate(QDate(2030, 1, 2));
    lookUp("101", "7");
    EXPECT_EQ(box("txtDaysDelayed")->text(), "1");
}

TEST_F(frmBookReceiptTest, NumbersPastWhatTheVoucherKeepsAreRefusedNamingTheirBox)
{
    lend("101", "12B");
    open();
    const QString past = "99999999999999999999";
    const QList<std::pair<const char *, QString>> boxes = {
        {"txtSrNo", "Sr No."},
        {"txtDaysDelayed", "No. of Days Delayed"},
        {"txtTotalFine", "Total Fine"},
        {"txtFineReceiptNo", "Fine Receipt No."},
    };
    for (const auto &[name, caption] : boxes) {
        SCOPED_TRACE(name);
        lookUp("101", "12B");
        box("txtSrNo")->setText("1");
        box(name)->setText(past);
        dialogs->expectOk();
        save();
        EXPECT_TRUE(dialogs->last().text.startsWith("The number in " + caption +
                                                    " cannot be stored as it stands.\r"))
            << dialogs->last().text.toStdString();
        EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
        EXPECT_EQ(QApplication::focusWidget(), box(name));
        // The serial box given the focus back by the window keeps the number typed.
        EXPECT_EQ(box(name)->text(), past);
        EXPECT_EQ(vouchers(), 1);
    }

    // The largest number a box keeps is stored as shown.
    lookUp("101", "12B");
    box("txtFineReceiptNo")->setText("9223372036854775807");
    saveWithoutPrinting();
    EXPECT_EQ(voucherField(2, "FineReceiptNo").toLongLong(), 9223372036854775807LL);
}

TEST_F(frmBookReceiptTest, RightsOfThePositionDriveTheButtons)
{
    Module::CurrentUserPosition = "Clerk";
    db().execute("INSERT INTO UserProfile (PositionID, \"Position\", Entry, \"Add\", Modify, "
                 "\"Delete\", \"Print\") VALUES (1, 'clerk', 'Book Receipt', 'N', 'Y', 'N', "
                 "'N')");
    lend("101", "12B");
    open();
    EXPECT_FALSE(button("cmdsave")->isVisible());
    lookUp("101", "12B");
    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::No;
    window->GetSavedRecord(); // as a loaded voucher would reach it
    Module::SelectedRecordID = 2;
    LoadReceiptVoucherForUpdate();
    EXPECT_FALSE(button("cmdsave")->isVisible()); // Modify never shows a hidden button
    EXPECT_EQ(button("cmdsave")->caption(), "&Update");
    EXPECT_FALSE(button("cmdDelete")->isVisible());
    EXPECT_FALSE(button("cmdPrint")->isVisible());
}

TEST_F(frmBookReceiptTest, SearchPanelsPickIntoTheWindowAndEscClosesThemFirst)
{
    lend("102", "30");
    open();
    auto *cards = window->findChild<SearchPanel *>("fraSearch");
    auto *books = window->findChild<SearchPanel *>("fraSearch2");
    ASSERT_TRUE(cards && books);
    box("txtCardNo")->setFocus();
    QTest::keyClick(box("txtCardNo"), Qt::Key_F4);
    ASSERT_TRUE(cards->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), box("txtSearch"));
    auto *cardList = window->findChild<RecordList *>("LvSearch");
    QTest::keyClicks(box("txtSearch"), "ra");
    ASSERT_TRUE(waitFor([&] { return cardList->records()->size() == 1; }));
    QTest::keyClick(box("txtSearch"), Qt::Key_Down);
    QTest::keyClick(cardList, Qt::Key_Return);
    EXPECT_EQ(box("txtCardNo")->text(), "102");
    EXPECT_EQ(box("txtName")->text(), "Ravi Kumar");
    EXPECT_FALSE(cards->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), box("txtAccessionNo"));

    // A book on the shelf is refused by the look-up; the panel closes all the same.
    QTest::keyClick(box("txtAccessionNo"), Qt::Key_F4);
    ASSERT_TRUE(books->isVisible());
    QTest::keyClicks(box("txtSearch4"), "malgudi");
    auto *bookList = window->findChild<RecordList *>("LvBook");
    ASSERT_TRUE(waitFor([&] { return bookList->records()->size() == 1; }));
    bookList->setFocus();
    bookList->setCurrentIndex(bookList->model()->index(0, 1));
    dialogs->expectOk();
    QTest::keyClick(bookList, Qt::Key_Return);
    EXPECT_EQ(dialogs->last().text, NotIssued);
    EXPECT_FALSE(books->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), box("txtAccessionNo"));

    QTest::keyClick(box("txtAccessionNo"), Qt::Key_F4);
    box("txtSearch4")->setText("wings");
    ASSERT_TRUE(waitFor([&] {
        return bookList->records()->size() == 1 &&
               bookList->records()->text(0, 1) == "Wings of Fire";
    }));
    bookList->setFocus();
    bookList->setCurrentIndex(bookList->model()->index(0, 1));
    QTest::keyClick(bookList, Qt::Key_Return); // the pick runs no holder test
    EXPECT_EQ(box("txtTitle")->text(), "Wings of Fire");
    EXPECT_EQ(box("txtDaysDelayed")->text(), "9");

    // Both open: card panel, then book panel, then the window.
    QTest::keyClick(box("txtAccessionNo"), Qt::Key_F4);
    box("txtCardNo")->setFocus();
    QTest::keyClick(box("txtCardNo"), Qt::Key_F4);
    window->grab().save(testOutputFolder() + "/frmBookReceipt-panels.png");
    QTest::keyClick(box("txtSearch"), Qt::Key_Escape);
    EXPECT_FALSE(cards->isVisible());
    EXPECT_TRUE(books->isVisible());
    emit button("cmdClose")->Click();
    EXPECT_FALSE(books->isVisible());
    QTest::mouseClick(window->findChild<QLabel *>("lblLedger"), Qt::LeftButton);
    emit button("cmdList")->Click();
    box("txtCardNo")->setFocus();
    QTest::keyClick(box("txtCardNo"), Qt::Key_Escape);
    EXPECT_TRUE(waitFor([] { return !WindowRegistry::find("frmBookReceipt"); }));
}

TEST_F(frmBookReceiptTest, PrintButtonStagesWhateverTheWindowHolds)
{
    open(QDate(2024, 4, 5));
    emit button("cmdPrint")->Click();
    EXPECT_EQ(stagedRows(), 1);
    EXPECT_EQ(staged("T1").toString(), "05-04-2024");
    for (const char *number : {"T2", "T18", "T19", "T20"})
        EXPECT_EQ(staged(number).toString(), "0") << number;
    for (const char *text : {"T3", "T4", "T10", "T21"})
        EXPECT_EQ(staged(text).toString(), "") << text;
    EXPECT_TRUE(staged("T23").isNull()); // no group named
    EXPECT_EQ(staged("c5").toString(), "0177-222");
    EXPECT_TRUE(WindowRegistry::find("frmPrint1"));

    box("txtGroupID")->setText("1");
    box("txtSrNo")->setText("7a");
    box("txtTotalFine")->setText("12.5");
    box("txtFineReceiptNo")->setText("R-17");
    emit button("cmdPrint")->Click();
    EXPECT_EQ(staged("T2").toString(), "7");
    EXPECT_EQ(staged("T19").toString(), "12.5");
    EXPECT_EQ(staged("T20").toString(), "0");
    EXPECT_EQ(staged("T24").toString(), "3");

    db().execute("DELETE FROM Company");
    dialogs->expectOk();
    emit button("cmdPrint")->Click();
    EXPECT_TRUE(dialogs->last().text.startsWith("Error "));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::None);
    EXPECT_EQ(dialogs->last().title, Dialogs::programTitle());
}

// Return dates typed key by key count the days and are the dates the returns keep, the next one
// typed straight after a Save as well.
TEST_F(frmBookReceiptTest, TypedReturnDatesCountTheDaysAndAreKept)
{
    for (const QString accessionNo : {"12B", "7", "30"})
        lend("101", accessionNo, {2027, 6, 15});
    open();
    ASSERT_EQ(QApplication::focusWidget(), date());
    const auto typeAndReturn = [&](const QString &keys, const QString &accessionNo) {
        QTest::keyClicks(date(), keys);
        QTest::keyClick(date(), Qt::Key_Return);
        ASSERT_EQ(QApplication::focusWidget(), box("txtSrNo"));
        QTest::keyClick(box("txtSrNo"), Qt::Key_Return);
        QTest::keyClick(box("txtCardNo"), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box("txtCardNo"), "101");
        QTest::keyClick(box("txtCardNo"), Qt::Key_Return);
        ASSERT_EQ(QApplication::focusWidget(), box("txtAccessionNo"));
        QTest::keyClick(box("txtAccessionNo"), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box("txtAccessionNo"), accessionNo);
        QTest::keyClick(box("txtAccessionNo"), Qt::Key_Return);
        ASSERT_EQ(QApplication::focusWidget(), box("txtDaysDelayed"));
        for (const char *name :
             {"txtDaysDelayed", "txtTotalFine", "txtFineReceiptNo", "txtRemarks1"})
            QTest::keyClick(box(name), Qt::Key_Return);
        ASSERT_EQ(QApplication::focusWidget(), button("cmdsave"));
        dialogs->expectOk();
        dialogs->answers << Dialogs::Answer::No;
        QTest::keyClick(button("cmdsave"), Qt::Key_Return);
        ASSERT_EQ(dialogs->texts().last(), "Do You Want to Print");
        ASSERT_EQ(QApplication::focusWidget(), date());
    };
    const auto returned = [&](const QString &field) {
        QStringList values;
        Recordset rs = db().query("SELECT " + field +
                                  " FROM Voucher WHERE TransactionType = 'Receipt' "
                                  "ORDER BY VoucherID");
        for (; !rs.eof(); rs.moveNext())
            values << QString::number(rs.field(0).toDouble(), 'g', 12);
        return values;
    };

    typeAndReturn("02-01-2030", "12B");
    typeAndReturn("03012030", "7");
    QTest::keyClick(date(), Qt::Key_A, Qt::ControlModifier);
    typeAndReturn("010130", "30");

    EXPECT_EQ(returned("julianday(\"Date\") - julianday('2030-01-01')"),
              (QStringList{"1", "2", "0"}));
    EXPECT_EQ(returned("DaysDelayed"), (QStringList{"932", "933", "931"}));
    EXPECT_EQ(returned("TotalFine"), (QStringList{"1864", "1866", "1862"}));
    EXPECT_TRUE(dialogs->texts().filter("The date in").isEmpty());
    for (int bookId = 1; bookId <= 3; ++bookId)
        EXPECT_EQ(bookField(bookId, "Status").toString(), "Available") << bookId;
}

// A return date that does not exist stops the days from being counted from another date.
TEST_F(frmBookReceiptTest, AReturnDateThatDoesNotExistIsSaidAndNothingCountedFromIt)
{
    lend("101", "12B", {2027, 6, 15});
    open({2027, 6, 20});
    clickIntoDate(date(), 1);
    QTest::keyClicks(date(), "31-06");
    EXPECT_EQ(date()->date(), QDate(2027, 6, 20));
    enterIn("txtCardNo", "101"); // leaving the box
    dialogs->expectOk();
    enterIn("txtAccessionNo", "12B");
    const QString notADate = "The date in Date Of Return, 31-06-2027, is not a date.\r"
                             "Type the day, the month and the year, as 15-06-2027.";
    EXPECT_EQ(dialogs->texts(), QStringList{notADate});
    EXPECT_EQ(box("txtDaysDelayed")->text(), "");
    EXPECT_EQ(QApplication::focusWidget(), date());
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs->texts(), QStringList{notADate});

    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->texts().count(notADate), 2);
    EXPECT_EQ(vouchers(), 1);
    EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
}

// A return date typed into the open calendar, however it was opened, is read day first as the box
// reads it: the days and the fine count from it.
TEST_F(frmBookReceiptTest, AReturnDateTypedIntoTheOpenCalendarCountsItsOwnDays)
{
    for (const QString accessionNo : {"12B", "7", "30"})
        lend("101", accessionNo, {2026, 12, 7});
    open({2026, 12, 10});
    const std::tuple<CalendarOpening, QString, QString> returns[] = {
        {CalendarOpening::F4, "12012027", "12B"},
        {CalendarOpening::AltDown, "13-01-2027", "7"},
        {CalendarOpening::Arrow, "14-Jan-27", "30"}};
    QStringList counted;
    for (const auto &[how, keys, accessionNo] : returns) {
        if (how != CalendarOpening::Arrow)
            clickIntoDate(date(), 10);
        typeIntoCalendar(date(), how, keys);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        lookUp("101", accessionNo);
        counted << box("txtDaysDelayed")->text() + " " + box("txtTotalFine")->text();
        saveWithoutPrinting();
    }
    EXPECT_EQ(counted, (QStringList{"36 72", "37 74", "38 76"}));
    EXPECT_EQ(db().scalar("SELECT group_concat(\"Date\") FROM Voucher WHERE TransactionType = "
                          "'Receipt'")
                  .toString(),
              "2027-01-12,2027-01-13,2027-01-14");
    EXPECT_TRUE(dialogs->texts().filter("The date in").isEmpty());
}

TEST_F(frmBookReceiptTest, AReturnMovedToAnotherBookClosesThatBooksLoanWithItsHolder)
{
    addGroup(2, "Staff", 0, 1.5);
    addCard(3, 103, 2, "Meena Iyer", "S4", "Father", "Staff");
    lend("101", "12B");                  // issue 1
    lend("103", "7", QDate(2026, 3, 4)); // issue 2
    lend("102", "30");                   // issue 3
    open();
    lookUp("101", "12B");
    saveWithoutPrinting(); // return 4: Asha's 12B
    Module::SelectedRecordID = 4;
    LoadReceiptVoucherForUpdate();

    // The return was Meena's book 7: typed over 12B, it takes her loan, her card and her group's
    // fine.
    dialogs->boxes.clear();
    typeOver("txtAccessionNo", "7");
    pressEnterIn("txtAccessionNo");
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    EXPECT_EQ(box("txtCardNo")->text(), "103");
    EXPECT_EQ(box("txtName")->text(), "Meena Iyer");
    EXPECT_EQ(box("txtGroupName")->text(), "Staff");
    EXPECT_EQ(box("txtIssueID")->text(), "2");
    EXPECT_EQ(box("txtDaysDelayed")->text(), "6");
    EXPECT_EQ(box("txtTotalFine")->text(), "9");
    EXPECT_EQ(QApplication::focusWidget(), box("txtDaysDelayed"));
    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::No;
    pressSave();
    ASSERT_EQ(dialogs->texts(), (QStringList{"Book has been Receipt", "Do You Want to Print"}));
    EXPECT_EQ(vouchers(), 4);
    EXPECT_EQ(voucherField(4, "BookID").toInt(), 2);
    EXPECT_EQ(voucherField(4, "IssueID").toInt(), 2);
    EXPECT_EQ(voucherField(4, "CardID").toInt(), 3);
    EXPECT_EQ(voucherField(4, "CardNo").toInt(), 103);
    EXPECT_EQ(voucherField(4, "GroupID").toInt(), 2);
    EXPECT_EQ(voucherField(4, "Name").toString(), "Meena Iyer");
    EXPECT_EQ(voucherField(4, "DaysDelayed").toInt(), 6);
    EXPECT_EQ(voucherField(4, "TotalFine").toDouble(), 9);
    EXPECT_EQ(bookField(2, "Status").toString(), "Available");
    EXPECT_EQ(bookField(1, "Status").toString(), "Issue"); // Asha has 12B again
    EXPECT_EQ(bookField(1, "IssueID").toInt(), 1);
    EXPECT_EQ(bookField(1, "CardID").toInt(), 1);

    // Moved to Ravi's book 30 but typed back onto Asha's card: she does not hold it.
    LoadReceiptVoucherForUpdate();
    typeOver("txtAccessionNo", "30");
    pressEnterIn("txtAccessionNo");
    EXPECT_EQ(box("txtName")->text(), "Ravi Kumar");
    typeOver("txtCardNo", "101");
    pressEnterIn("txtCardNo");
    dialogs->boxes.clear();
    dialogs->expectOk();
    pressSave();
    EXPECT_EQ(dialogs->texts(), QStringList{NotThisPerson});
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(QApplication::focusWidget(), box("txtAccessionNo"));
    EXPECT_EQ(voucherField(4, "BookID").toInt(), 2);
    EXPECT_EQ(bookField(3, "CardID").toInt(), 2);

    // Moved to book 30 while another counter takes it back between the look-up and the Update:
    // it is no longer on loan, so the move is refused and that counter's return stands alone.
    LoadReceiptVoucherForUpdate();
    typeOver("txtAccessionNo", "30");
    pressEnterIn("txtAccessionNo");
    EXPECT_EQ(box("txtIssueID")->text(), "3");
    AnotherProgram other(db());
    other.beforeNextWrite([](Database &theirs) {
        theirs.execute("INSERT INTO Voucher (VoucherID, TransactionType, SrNO, CardID, CardNo, "
                       "BookID, IssueID) VALUES (5, 'Receipt', 2, 2, 102, 3, 3)");
        theirs.execute("UPDATE Book SET Status = 'Available', IssueID = 0, CardID = 0, "
                       "CardNo = 0, IssueDate = '' WHERE BookID = 3");
    });
    dialogs->boxes.clear();
    dialogs->expectOk();
    pressSave();
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->texts(), QStringList{NotIssued});
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(QApplication::focusWidget(), box("txtAccessionNo"));
    EXPECT_EQ(button("cmdsave")->caption(), "&Update");
    EXPECT_EQ(vouchers(), 5);
    EXPECT_EQ(voucherField(4, "BookID").toInt(), 2);
    EXPECT_EQ(voucherField(4, "IssueID").toInt(), 2);
    EXPECT_EQ(db().scalar("SELECT Count(*) FROM Voucher WHERE IssueID = 3").toInt(), 1);
    EXPECT_EQ(bookField(2, "Status").toString(), "Available");
    EXPECT_EQ(bookField(1, "CardID").toInt(), 1);
}

TEST_F(frmBookReceiptTest, NoSerialFollowsTheLargestOneSoTheUserTypesIt)
{
    lend("101", "12B");
    lend("102", "7");
    db().execute("INSERT INTO Voucher (VoucherID, TransactionType, SrNO) VALUES (9, 'Receipt', ?)",
                 {QVariant(std::numeric_limits<qlonglong>::max())});
    open();
    box("txtCardNo")->setFocus();
    dialogs->expectOk();
    QTest::keyClick(box("txtCardNo"), Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), box("txtSrNo"));
    EXPECT_EQ(dialogs->texts(), QStringList{NoSerialFollows});
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(box("txtSrNo")->text(), "");

    QTest::keyClicks(box("txtSrNo"), "77");
    pressEnterIn("txtSrNo");
    ASSERT_EQ(QApplication::focusWidget(), box("txtCardNo"));
    // Back into the box: the number typed stays and nothing is said again.
    QTest::keyClick(box("txtCardNo"), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(box("txtSrNo")->text(), "77");
    EXPECT_EQ(dialogs->boxes.size(), 1);
    lookUp("101", "12B");
    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::No;
    pressSave();
    EXPECT_EQ(dialogs->texts().mid(1),
              (QStringList{"Book has been Receipt", "Do You Want to Print"}));
    EXPECT_EQ(voucherField(10, "SrNO").toLongLong(), 77);

    // The next return is told again, once.
    dialogs->expectOk();
    box("txtSrNo")->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(dialogs->last().text, NoSerialFollows);
    EXPECT_EQ(box("txtSrNo")->text(), "");

    // Below the end, serials past a double's 53 bits follow to the last digit.
    db().execute("UPDATE Voucher SET SrNO = 9007199254740993 WHERE VoucherID = 9");
    QTest::keyClick(box("txtSrNo"), Qt::Key_Tab);
    QTest::keyClick(box("txtCardNo"), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(box("txtSrNo")->text(), "9007199254740994");
    EXPECT_EQ(dialogs->boxes.size(), 4);
}

TEST_F(frmBookReceiptTest, WholeNumberBoxesRefuseFractionsAndExponentsKeepingWhatWasTyped)
{
    lend("101", "12B");
    open();
    lookUp("101", "12B");
    struct Typed
    {
        const char *box;
        QString caption, refused, kept;
    };
    const QList<Typed> cases = {
        {"txtSrNo", "Sr No.", "2.5", "3"},
        {"txtSrNo", "Sr No.", "1e3", "3"},
        {"txtDaysDelayed", "No. of Days Delayed", "3.5", "9"},
        {"txtDaysDelayed", "No. of Days Delayed", "1e309", "9"},
        {"txtFineReceiptNo", "Fine Receipt No.", "2.5", "55"},
        {"txtFineReceiptNo", "Fine Receipt No.", "1E+5", "55"},
        {"txtTotalFine", "Total Fine", "1e309", "18"},
        {"txtTotalFine", "Total Fine", "18e0", "18"},
    };
    for (const Typed &typed : cases) {
        SCOPED_TRACE(typed.box + (" " + typed.refused).toStdString());
        for (const Typed &other : cases)
            typeOver(other.box, other.kept);
        typeOver(typed.box, typed.refused);
        dialogs->boxes.clear();
        dialogs->expectOk();
        pressSave();
        ASSERT_EQ(dialogs->boxes.size(), 1);
        EXPECT_TRUE(dialogs->last().text.startsWith("The number in " + typed.caption +
                                                    " cannot be stored as it stands.\r"))
            << dialogs->last().text.toStdString();
        EXPECT_TRUE(dialogs->last().text.contains("exponent"));
        EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
        EXPECT_EQ(QApplication::focusWidget(), box(typed.box));
        EXPECT_EQ(box(typed.box)->text(), typed.refused);
        EXPECT_EQ(vouchers(), 1);
        EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
    }

    // Zeros after the point take nothing away.
    typeOver("txtSrNo", "3");
    typeOver("txtDaysDelayed", "9.00");
    typeOver("txtTotalFine", "18.50");
    typeOver("txtFineReceiptNo", "55.");
    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::No;
    pressSave();
    EXPECT_EQ(vouchers(), 2);
    EXPECT_EQ(voucherField(2, "SrNO").toLongLong(), 3);
    EXPECT_EQ(voucherField(2, "DaysDelayed").toLongLong(), 9);
    EXPECT_EQ(voucherField(2, "TotalFine").toDouble(), 18.5);
    EXPECT_EQ(voucherField(2, "FineReceiptNo").toLongLong(), 55);
}

// The days and the fine count from the return date typed, in each way it is typed; a date that is
// no date returns nothing.
TEST_F(frmBookReceiptTest, ReturnDatesTypedInEveryWayCountTheirOwnDays)
{
    lend("101", "12B", {2026, 12, 15});
    lend("101", "7", {2026, 12, 10});
    lend("101", "30", {2026, 12, 10});
    open({2026, 12, 10});
    const auto type = [&](const QString &keys) { QTest::keyClicks(date(), keys); };
    const auto returnBook = [&](const QString &accessionNo, const std::function<void()> &typing) {
        typing();
        lookUp("101", accessionNo);
        const QStringList counted{box("txtDaysDelayed")->text(), box("txtTotalFine")->text()};
        saveWithoutPrinting();
        return counted;
    };

    EXPECT_EQ(returnBook("12B",
                         [&] {
                             clickIntoDate(date(), 10);
                             type("31122026");
                         }),
              (QStringList{"16", "32"}));
    EXPECT_EQ(returnBook("7",
                         [&] {
                             date()->typeAnew();
                             type("3001-26");
                             clickIntoDate(date(), 4); // the month
                             type("12");
                         }),
              (QStringList{"20", "40"}));

    // A digit too many: said before anything is counted, and nothing is returned.
    clickIntoDate(date(), 1);
    type("311220266");
    dialogs->expectOk();
    lookUp("101", "30");
    ASSERT_TRUE(waitFor([&] { return dialogs->answers.isEmpty(); }));
    EXPECT_EQ(dialogs->last().text, "The date in Date Of Return, 31-12-20266, is not a date.\r"
                                    "Type the day, the month and the year, as 15-06-2027.");
    EXPECT_EQ(box("txtDaysDelayed")->text(), "");
    dialogs->expectOk();
    save();
    EXPECT_EQ(vouchers(), 5);
    EXPECT_EQ(bookField(3, "Status").toString(), "Issue");
    EXPECT_EQ(db().scalar("SELECT group_concat(DaysDelayed) FROM Voucher WHERE TransactionType = "
                          "'Receipt'")
                  .toString(),
              "16,20");
}

// The return date as librarians type and paste it: with the month's name, pasted with blanks and
// line ends, by a middle click, typed over a drag, or left empty; the days and the fine follow the
// date typed, or the box says why it has none.
TEST_F(frmBookReceiptTest, ReturnDatesTypedOrPastedAsPrintedCountTheirOwnDays)
{
    for (const QString accessionNo : {"12B", "7", "30"})
        lend("101", accessionNo, {2026, 12, 5});
    addBook(4, "40", "Book 40");
    addBook(5, "50", "Book 50");
    lend("102", "40", {2026, 12, 5});
    lend("102", "50", {2026, 12, 5});
    open({2026, 12, 10});
    ASSERT_EQ(QApplication::focusWidget(), date());
    const auto counted = [&] {
        return QStringList{box("txtDaysDelayed")->text(), box("txtTotalFine")->text()};
    };
    const auto pasteInto = [&](const QString &text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(date(), Qt::Key_V, Qt::ControlModifier);
    };

    QTest::keyClicks(date(), "12-Jan-2027");
    lookUp("101", "12B");
    EXPECT_EQ(counted(), (QStringList{"38", "76"}));
    saveWithoutPrinting();
    ASSERT_EQ(QApplication::focusWidget(), date());

    pasteInto("13-Jan-27");
    lookUp("101", "7");
    EXPECT_EQ(counted(), (QStringList{"39", "78"}));
    saveWithoutPrinting();

    DateBox::setMouseSelectionForTest([] { return QStringLiteral("15-01-2027\n"); });
    middleClickIntoDate(date(), 1);
    DateBox::setMouseSelectionForTest({});
    EXPECT_EQ(date()->text(), "15-01-2027");
    lookUp("101", "30");
    EXPECT_EQ(counted(), (QStringList{"41", "82"}));
    saveWithoutPrinting();

    pasteInto("  16-01-2027  ");
    lookUp("102", "40");
    EXPECT_EQ(counted(), (QStringList{"42", "84"}));
    saveWithoutPrinting();

    dragOverDate(date(), 3, 5); // the month
    QTest::keyClicks(date(), "02");
    EXPECT_EQ(date()->text(), "16-02-2027");
    lookUp("102", "50");
    EXPECT_EQ(counted(), (QStringList{"73", "146"}));
    saveWithoutPrinting();
    EXPECT_TRUE(dialogs->texts().filter("The date in").isEmpty());
    EXPECT_EQ(db().scalar("SELECT group_concat(DaysDelayed) || ' ' || group_concat(\"Date\") FROM "
                          "Voucher WHERE TransactionType = 'Receipt'")
                  .toString(),
              "38,39,41,42,73 2027-01-12,2027-01-13,2027-01-15,2027-01-16,2027-02-16");

    // A letter for a digit, and an empty box: said, and nothing counted.
    lend("101", "12B", {2026, 12, 5});
    for (const auto &[keys, said] :
         {std::pair<QString, QString>{"1O-01-2027", "The date in Date Of Return, 1O-01-2027, is "
                                                    "not a date."},
          {"", "The date in Date Of Return is missing."}}) {
        date()->typeAnew();
        QTest::keyClick(date(), Qt::Key_Backspace);
        QTest::keyClicks(date(), keys);
        dialogs->boxes.clear();
        dialogs->expectOk();
        enterIn("txtCardNo", "101");
        enterIn("txtAccessionNo", "12B");
        ASSERT_TRUE(waitFor([&] { return dialogs->answers.isEmpty(); }));
        EXPECT_EQ(dialogs->texts(),
                  QStringList{said + "\rType the day, the month and the year, as 15-06-2027."});
        EXPECT_EQ(box("txtDaysDelayed")->text(), "");
        EXPECT_EQ(QApplication::focusWidget(), date());
    }
    EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
}
