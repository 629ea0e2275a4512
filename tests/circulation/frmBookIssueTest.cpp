#include "CirculationFixture.h"
#include "DateTyping.h"

#include "circulation/CirculationRules.h"
#include "circulation/ReturnRules.h"
#include "circulation/SearchPanel.h"
#include "circulation/frmBookIssue.h"
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

const QString LimitText = "Book Can't be issue this Student\r\rBecause this card  Max Book Limit "
                          "Cross to issue books against";
const QString WholeSrNoText = "The number in Sr No. cannot be stored as it stands.\rType a whole "
                              "number in plain digits, without a point or an exponent, between "
                              "-9223372036854775808 and 9223372036854775807.";

class frmBookIssueTest : public CirculationTest
{
protected:
    void SetUp() override
    {
        CirculationTest::SetUp();
        addGroup(1, "Class 5", 2);
        addCard(1, 101, 1, "Asha Verma", "R7");
        addCard(2, 102, 1, "Ravi Kumar", "R9");
        addBook(1, "12B", "Blue Umbrella");
        addBook(2, "7", "Malgudi Days", "R. K. Narayan");
        addBook(3, "30", "Wings of Fire", "A. P. J. Abdul Kalam");
    }

    frmBookIssue *open()
    {
        window = WindowRegistry::show<frmBookIssue>("frmBookIssue");
        EXPECT_TRUE(activate(window));
        return window;
    }
    QLineEdit *box(const char *name) { return window->findChild<QLineEdit *>(name); }
    StyledButton *button(const char *name) { return window->findChild<StyledButton *>(name); }
    void enterIn(const char *name, const QString &text)
    {
        QLineEdit *edit = box(name);
        edit->setFocus();
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // Card and book looked up as a librarian would, by typing and Enter.
    void lookUp(const QString &cardNo, const QString &accessionNo)
    {
        enterIn("txtCardNo", cardNo);
        enterIn("txtAccessionNo", accessionNo);
    }
    void save() { emit button("cmdsave")->Click(); }
    void pressSave()
    {
        button("cmdsave")->setFocus();
        QTest::keyClick(button("cmdsave"), Qt::Key_Return);
    }

    // A card allowed many books, nine books to issue, and the window's date box at 10-12-2026.
    DateBox *openForManyIssues()
    {
        addGroup(3, "Staff", 20);
        addCard(3, 103, 3, "Meena");
        for (int id = 4; id <= 12; ++id)
            addBook(id, QString::number(100 + id), "Book " + QString::number(id));
        open();
        auto *date = window->findChild<DateBox *>("dtpDate");
        date->setDate(QDate(2026, 12, 10));
        return date;
    }

    // The card and the book looked up, the date typed as the step says, Save clicked: the date
    // the new voucher keeps.
    QDate saveWith(const QString &accessionNo, const std::function<void()> &typing)
    {
        lookUp("103", accessionNo);
        typing();
        dialogs->expectOk();
        dialogs->answers << Dialogs::Answer::No;
        save();
        EXPECT_EQ(vouchers(), ++vouchersSaved);
        return QDate::fromString(voucherField(vouchersSaved, "\"Date\"").toString(), Qt::ISODate);
    }

    frmBookIssue *window = nullptr;
    int vouchersSaved = 0;
};

} // namespace

TEST_F(frmBookIssueTest, IssuesABookThroughTheEnterChainAndPrintsItsSlip)
{
    open();
    EXPECT_EQ(window->findChild<QLabel *>("lblHeader")->text(), "BOOK ISSUE");
    auto *date = window->findChild<DateBox *>("dtpDate");
    EXPECT_EQ(date->date(), QDate::currentDate());
    EXPECT_EQ(button("cmdsave")->caption(), "&Save");
    EXPECT_FALSE(button("cmdDelete")->isEnabled());
    date->setDate(QDate(2026, 3, 5));

    date->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), box("txtSrNo"));
    EXPECT_EQ(box("txtSrNo")->text(), "1");
    QTest::keyClick(box("txtSrNo"), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), box("txtCardNo"));
    QTest::keyClicks(box("txtCardNo"), "101");
    QTest::keyClick(box("txtCardNo"), Qt::Key_Return);
    EXPECT_EQ(box("txtName")->text(), "Asha Verma");
    EXPECT_EQ(box("txtRemarks")->text(), "Card remark");
    EXPECT_EQ(window->groupMaxBooks(), 2);
    ASSERT_EQ(QApplication::focusWidget(), box("txtAccessionNo"));
    QTest::keyClicks(box("txtAccessionNo"), "12B");
    QTest::keyClick(box("txtAccessionNo"), Qt::Key_Return);
    EXPECT_EQ(box("txtTitle")->text(), "Blue Umbrella");
    ASSERT_EQ(QApplication::focusWidget(), button("cmdsave"));

    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::Yes;
    QTest::keyClick(button("cmdsave"), Qt::Key_Return);
    ASSERT_EQ(dialogs->texts(), (QStringList{"Book has been Issued", "Do You Want to Print"}));
    EXPECT_EQ(dialogs->boxes[0].icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs->boxes[1].icon, Dialogs::Icon::Question);
    EXPECT_EQ(dialogs->boxes[1].title, "");

    EXPECT_EQ(voucherField(1, "TransactionType").toString(), "Issue");
    EXPECT_EQ(voucherField(1, "CardID").toInt(), 1);
    EXPECT_EQ(voucherField(1, "AccessionNo").toInt(), 12);
    EXPECT_EQ(voucherField(1, "Remarks").toString(), "Card remark");
    EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
    EXPECT_EQ(bookField(1, "IssueDate").toString(), "05-Mar-26");

    // The slip shows the voucher as saved, with the group's terms and the company header.
    EXPECT_EQ(stagedRows(), 1);
    EXPECT_EQ(staged("T2").toString(), "Issue");
    EXPECT_EQ(staged("T3").toString(), "05-Mar-26");
    EXPECT_EQ(staged("T4").toString(), "1");
    EXPECT_EQ(staged("T6").toString(), "101");
    EXPECT_EQ(staged("T7").toString(), "12");
    EXPECT_EQ(staged("T10").toString(), "Asha Verma");
    EXPECT_EQ(staged("T15").toString(), "Blue Umbrella");
    EXPECT_EQ(staged("T24").toString(), "2");
    EXPECT_EQ(staged("T26").toString(), "Return on time");
    EXPECT_EQ(staged("c1").toString(), "Green Valley School");
    EXPECT_TRUE(staged("c3").isNull());
    auto *report = WindowRegistry::find<frmPrint1>("frmPrint1");
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->lblRPTFileName()->text().endsWith("/BookIssue.rpt"));

    // The window is ready for the next issue: accession and date stay.
    EXPECT_EQ(box("txtAccessionNo")->text(), "12B");
    EXPECT_EQ(box("txtSrNo")->text(), "");
    EXPECT_EQ(box("txtName")->text(), "");
    EXPECT_EQ(date->date(), QDate(2026, 3, 5));
    EXPECT_EQ(button("cmdsave")->caption(), "&Save");
    EXPECT_TRUE(activate(window));
    box("txtSrNo")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(box("txtSrNo")->text(), "2");
}

TEST_F(frmBookIssueTest, LookUpsRefuseAFullCardAndALentBook)
{
    addGroup(2, "Staff", 1);
    addCard(3, 103, 2, "Meena");
    db().execute("UPDATE Book SET Status = 'Issue', CardID = 3, IssueID = 4 WHERE BookID = 2");
    open();

    dialogs->expectOk();
    enterIn("txtCardNo", "");
    EXPECT_EQ(dialogs->last().text, "Enter Card No.");
    dialogs->expectOk();
    enterIn("txtCardNo", "999");
    EXPECT_EQ(dialogs->last().text, "Invalid Card No.");
    dialogs->expectOk();
    enterIn("txtCardNo", "103");
    EXPECT_EQ(dialogs->last().text, LimitText);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(box("txtName")->text(), "Meena"); // shown all the same
    EXPECT_EQ(QApplication::focusWidget(), box("txtCardNo"));
    EXPECT_EQ(window->cardIssuedCount(), 1);

    enterIn("txtCardNo", "101");
    dialogs->expectOk();
    enterIn("txtAccessionNo", "7");
    EXPECT_EQ(box("txtTitle")->text(), "Malgudi Days");
    EXPECT_EQ(dialogs->last().text, "Book has been already issued");
    EXPECT_EQ(QApplication::focusWidget(), box("txtAccessionNo"));
    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->last().text, "Book has been already issued");
    dialogs->expectOk();
    enterIn("txtAccessionNo", "A1");
    EXPECT_EQ(dialogs->last().text, "Accession No. is Not Valid");
    EXPECT_EQ(vouchers(), 0);
}

TEST_F(frmBookIssueTest, TheSaveReadsCardAndBookFromTheTypedNumbersNotStaleKeys)
{
    open();
    lookUp("101", "7");
    // Retyped without Enter: the save goes by what the boxes say now.
    box("txtCardNo")->setText("102");
    box("txtAccessionNo")->setText("30");
    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::No;
    save();
    EXPECT_EQ(voucherField(1, "CardID").toInt(), 2);
    EXPECT_EQ(voucherField(1, "Name").toString(), "Ravi Kumar");
    EXPECT_EQ(voucherField(1, "BookID").toInt(), 3);
    EXPECT_EQ(bookField(3, "CardID").toInt(), 2);
    EXPECT_EQ(bookField(2, "Status").toString(), "Available");
    EXPECT_EQ(staged("T10").toString(), "Ravi Kumar");

    // A card number that names no card any more writes nothing.
    lookUp("101", "12B");
    box("txtCardNo")->setText("555");
    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->last().text, "Invalid Card No.");
    box("txtCardNo")->setText("");
    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->last().text, "Enter Card No.");
    box("txtAccessionNo")->setText("A12");
    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->last().text, "Enter Accession No.");
    EXPECT_EQ(vouchers(), 1);
}

TEST_F(frmBookIssueTest, ASerialPastWhatTheVoucherKeepsIsRefusedAndTheLargestKept)
{
    open();
    lookUp("101", "7");
    box("txtSrNo")->setText("99999999999999999999");
    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->last().text, WholeSrNoText);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(QApplication::focusWidget(), box("txtSrNo"));
    EXPECT_EQ(vouchers(), 0);
    EXPECT_EQ(bookField(2, "Status").toString(), "Available");

    box("txtSrNo")->setText("9223372036854775807");
    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::No;
    save();
    EXPECT_EQ(dialogs->texts().mid(1),
              (QStringList{"Book has been Issued", "Do You Want to Print"}));
    EXPECT_EQ(voucherField(1, "SrNO").toLongLong(), std::numeric_limits<qint64>::max());

    // Loaded for correction it shows to the last digit, so an update keeps it.
    Module::SelectedRecordID = 1;
    LoadIssueVoucherForUpdate();
    EXPECT_EQ(box("txtSrNo")->text(), "9223372036854775807");
    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::No;
    save();
    EXPECT_EQ(dialogs->texts().mid(3),
              (QStringList{"Book has been Issued", "Do You Want to Print"}));
    EXPECT_EQ(voucherField(1, "SrNO").toLongLong(), std::numeric_limits<qint64>::max());
}

TEST_F(frmBookIssueTest, OnePressIssuesOneBook)
{
    open();
    lookUp("101", "7");
    ASSERT_EQ(QApplication::focusWidget(), button("cmdsave"));
    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::No;
    QTest::keyClick(button("cmdsave"), Qt::Key_Return);
    // Enter held down repeats on the button; a second click finds the window cleared.
    button("cmdsave")->setFocus();
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(button("cmdsave"), &repeat);
    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->last().text, "Enter Card No.");
    EXPECT_EQ(vouchers(), 1);
}

TEST_F(frmBookIssueTest, FailuresAreReportedAndLeaveNothingHalfWritten)
{
    open();
    lookUp("101", "7");
    Database::setFailureHook({.failOnTable = "Book"});
    dialogs->expectOk();
    save();
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error "));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::None);
    EXPECT_EQ(dialogs->last().title, Dialogs::programTitle());
    EXPECT_EQ(vouchers(), 0);
    EXPECT_EQ(bookField(2, "Status").toString(), "Available");
    EXPECT_EQ(box("txtName")->text(), "Asha Verma"); // nothing cleared, ready to try again

    // The issue stands when only its printout cannot be staged; no print question then.
    Database::setFailureHook({.failOnTable = "Printing"});
    dialogs->boxes.clear();
    dialogs->expectOk(2);
    save();
    ASSERT_EQ(dialogs->boxes.size(), 2);
    EXPECT_EQ(dialogs->boxes[0].text, "Book has been Issued");
    EXPECT_TRUE(
        dialogs->boxes[1].text.startsWith("The issue printout could not be prepared.\rError "));
    EXPECT_EQ(vouchers(), 1);
    EXPECT_EQ(bookField(2, "IssueID").toInt(), 1);
    EXPECT_EQ(button("cmdsave")->caption(), "&Save");
}

TEST_F(frmBookIssueTest, LoaderOpensAVoucherForCorrectionAndDeletion)
{
    ASSERT_EQ(CirculationRules::saveIssue(db(), {0, QDate(2026, 3, 5), "4", "101", "12B"}).refusal,
              CirculationRules::Refusal::None);
    Module::SelectedRecordID = 99; // no such voucher
    LoadIssueVoucherForUpdate();
    window = WindowRegistry::find<frmBookIssue>("frmBookIssue");
    ASSERT_TRUE(window);
    EXPECT_EQ(button("cmdsave")->caption(), "&Save");

    Module::SelectedRecordID = 1;
    LoadIssueVoucherForUpdate();
    EXPECT_EQ(button("cmdsave")->caption(), "&Update");
    EXPECT_TRUE(button("cmdDelete")->isEnabled());
    EXPECT_EQ(box("txtAccessionNo")->text(), "12B");
    EXPECT_EQ(box("txtSrNo")->text(), "4");
    EXPECT_EQ(box("txtRemarks")->text(), "Card remark");
    EXPECT_EQ(window->findChild<DateBox *>("dtpDate")->date(), QDate(2026, 3, 5));
    EXPECT_TRUE(activate(window));
    box("txtSrNo")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(box("txtSrNo")->text(), "4"); // no proposal in "&Update"

    // Its own book is no refusal; moving the voucher to another copy frees the first.
    enterIn("txtAccessionNo", "12B");
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    enterIn("txtAccessionNo", "7");
    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::No;
    save();
    EXPECT_EQ(vouchers(), 1);
    EXPECT_EQ(voucherField(1, "BookID").toInt(), 2);
    EXPECT_EQ(bookField(1, "Status").toString(), "Available");
    EXPECT_EQ(bookField(2, "IssueID").toInt(), 1);

    LoadIssueVoucherForUpdate();
    window->findChild<DateBox *>("dtpDate")->setDate(QDate(2026, 4, 1));
    box("txtName")->setText("Asha V.");
    const QString question = "Are You Sure To Delete Voucher\r\nSR No. = 4 Dated: 01-04-2026\r\n"
                             "  Name : Asha V.\r\nDeleting this voucher will erase all information "
                             "about this voucher";
    dialogs->boxes.clear();
    dialogs->answers << Dialogs::Answer::No;
    emit button("cmdDelete")->Click();
    EXPECT_EQ(dialogs->last().text, question);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(dialogs->last().buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(vouchers(), 1);

    Database::setFailureHook({.failOnTable = "Book"});
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    emit button("cmdDelete")->Click();
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error "));
    EXPECT_EQ(vouchers(), 1);

    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    emit button("cmdDelete")->Click();
    EXPECT_EQ(dialogs->last().text, "Entry Delete");
    EXPECT_EQ(vouchers(), 0);
    EXPECT_EQ(bookField(2, "Status").toString(), "Available");
    EXPECT_EQ(button("cmdsave")->caption(), "&Save");
    EXPECT_FALSE(button("cmdDelete")->isEnabled());
}

TEST_F(frmBookIssueTest, CorrectingAReturnedIssueLeavesTheBookWhereItIs)
{
    using CirculationRules::Refusal;
    ASSERT_EQ(CirculationRules::saveIssue(db(), {0, QDate(2026, 3, 5), "1", "101", "12B"}).refusal,
              Refusal::None);
    ReturnRules::ReceiptEntry back;
    back.date = QDate(2026, 3, 9);
    back.srNo = "1";
    back.cardNo = "101";
    back.accessionNo = "12B";
    back.card.cardId = 1;
    back.book.bookId = 1;
    back.daysDelayed = "4";
    back.totalFine = "8";
    ASSERT_EQ(ReturnRules::saveReceipt(db(), back).refusal, ReturnRules::Refusal::None);

    // The date of the returned issue corrected: the book stays on the shelf, so no second return.
    Module::SelectedRecordID = 1;
    LoadIssueVoucherForUpdate();
    window = WindowRegistry::find<frmBookIssue>("frmBookIssue");
    ASSERT_TRUE(window);
    window->findChild<DateBox *>("dtpDate")->setDate(QDate(2026, 3, 4));
    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::No;
    save();
    EXPECT_EQ(dialogs->texts(), (QStringList{"Book has been Issued", "Do You Want to Print"}));
    EXPECT_EQ(voucherField(1, "Date").toString(), "2026-03-04");
    EXPECT_EQ(bookField(1, "Status").toString(), "Available");
    EXPECT_EQ(bookField(1, "IssueID").toInt(), 0);
    EXPECT_EQ(ReturnRules::saveReceipt(db(), back).refusal, ReturnRules::Refusal::NotIssued);

    // Out again to Ravi under issue 3: correcting Asha's returned issue neither refuses the book
    // nor takes it from Ravi.
    ASSERT_EQ(CirculationRules::saveIssue(db(), {0, QDate(2026, 3, 12), "2", "102", "12B"}).refusal,
              Refusal::None);
    LoadIssueVoucherForUpdate();
    dialogs->boxes.clear();
    enterIn("txtAccessionNo", "12B");
    EXPECT_TRUE(dialogs->boxes.isEmpty()) << dialogs->texts().join('|').toStdString();
    box("txtSrNo")->setText("9");
    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::No;
    save();
    EXPECT_EQ(dialogs->boxes.first().text, "Book has been Issued");
    EXPECT_EQ(voucherField(1, "SrNO").toInt(), 9);
    EXPECT_EQ(bookField(1, "Status").toString(), "Issue");
    EXPECT_EQ(bookField(1, "IssueID").toInt(), 3);
    EXPECT_EQ(bookField(1, "CardID").toInt(), 2);
}

TEST_F(frmBookIssueTest, RightsOfThePositionDriveTheButtons)
{
    Module::CurrentUserPosition = "Clerk";
    db().execute("INSERT INTO UserProfile (PositionID, \"Position\", Entry, \"Add\", Modify, "
                 "\"Delete\", \"Print\") VALUES (1, 'clerk', 'Book Issue', 'Y', 'N', 'Y', 'N')");
    ASSERT_EQ(CirculationRules::saveIssue(db(), {0, QDate(2026, 3, 5), "1", "101", "7"}).refusal,
              CirculationRules::Refusal::None);
    open();
    EXPECT_TRUE(button("cmdsave")->isVisible());
    Module::SelectedRecordID = 1;
    LoadIssueVoucherForUpdate();
    EXPECT_FALSE(button("cmdsave")->isVisible());
    EXPECT_TRUE(button("cmdDelete")->isVisible());
    EXPECT_FALSE(button("cmdPrint")->isVisible());
}

TEST_F(frmBookIssueTest, SearchPanelsPickIntoTheWindowAndEscClosesThemFirst)
{
    open();
    auto *cards = window->findChild<SearchPanel *>("fraSearch");
    auto *books = window->findChild<SearchPanel *>("fraSearch2");
    ASSERT_TRUE(cards && books);
    box("txtCardNo")->setFocus();
    QTest::keyClick(box("txtCardNo"), Qt::Key_F4);
    ASSERT_TRUE(cards->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), box("txtSearch"));
    auto *cardList = window->findChild<RecordList *>("LvSearch");
    EXPECT_EQ(cardList->records()->size(), 0); // nothing until a keystroke
    QTest::keyClicks(box("txtSearch"), "ra");
    ASSERT_TRUE(waitFor([&] { return cardList->records()->size() == 1; }));
    EXPECT_EQ(cardList->records()->row(0).texts,
              (QStringList{"2", "Ravi Kumar", "Class 5", "R9", "102", "Father", "Shimla"}));
    QTest::keyClick(box("txtSearch"), Qt::Key_Down);
    ASSERT_EQ(QApplication::focusWidget(), cardList);
    QTest::keyClick(cardList, Qt::Key_Return);
    EXPECT_EQ(box("txtCardNo")->text(), "102");
    EXPECT_EQ(box("txtName")->text(), "Ravi Kumar");
    EXPECT_FALSE(cards->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), box("txtAccessionNo"));

    QTest::keyClick(box("txtAccessionNo"), Qt::Key_F4);
    ASSERT_TRUE(books->isVisible());
    QTest::keyClicks(box("txtSearch4"), "wings");
    auto *bookList = window->findChild<RecordList *>("LvBook");
    ASSERT_TRUE(waitFor([&] { return bookList->records()->size() == 1; }));
    bookList->setCurrentIndex(bookList->model()->index(0, 1));
    const QRect cell = bookList->visualRect(bookList->model()->index(0, 1));
    QTest::mouseDClick(bookList->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(books->isVisible()); // a double-click only selects here
    bookList->setFocus();
    QTest::keyClick(bookList, Qt::Key_Return);
    EXPECT_EQ(box("txtAccessionNo")->text(), "30");
    EXPECT_EQ(box("txtTitle")->text(), "Wings of Fire");
    EXPECT_FALSE(books->isVisible());

    // With both open: card panel, then book panel, then the window.
    QTest::keyClick(box("txtAccessionNo"), Qt::Key_F4);
    box("txtCardNo")->setFocus();
    QTest::keyClick(box("txtCardNo"), Qt::Key_F4);
    EXPECT_EQ(bookList->records()->size(), 1); // kept while hidden
    window->grab().save(testOutputFolder() + "/frmBookIssue-panels.png");
    QTest::keyClick(box("txtSearch"), Qt::Key_Escape);
    EXPECT_FALSE(cards->isVisible());
    EXPECT_TRUE(books->isVisible());
    emit button("cmdClose")->Click();
    EXPECT_FALSE(books->isVisible());
    // "(See Ledger)" opens the ledger on the card in the box; "&List" opens the issue register.
    QTest::mouseClick(window->findChild<QLabel *>("lblLedger"), Qt::LeftButton);
    auto *ledger = WindowRegistry::find("frmLedger");
    ASSERT_TRUE(ledger);
    EXPECT_EQ(ledger->findChild<QLabel *>("lblName")->text(), "Name : Ravi Kumar");
    emit button("cmdList")->Click();
    EXPECT_TRUE(WindowRegistry::find("frmBookIssueRegister"));
    WindowRegistry::close("frmLedger");
    WindowRegistry::close("frmBookIssueRegister");
    EXPECT_TRUE(activate(window));
    window->grab().save(testOutputFolder() + "/frmBookIssue.png");
    box("txtCardNo")->setFocus();
    QTest::keyClick(box("txtCardNo"), Qt::Key_Escape);
    EXPECT_TRUE(waitFor([] { return !WindowRegistry::find("frmBookIssue"); }));
}

TEST_F(frmBookIssueTest, PrintButtonStagesWhateverTheWindowHolds)
{
    open();
    window->findChild<DateBox *>("dtpDate")->setDate(QDate(2026, 3, 5));
    emit button("cmdPrint")->Click();
    EXPECT_EQ(stagedRows(), 1);
    for (const char *number : {"T4", "T6", "T7", "T14"})
        EXPECT_EQ(staged(number).toString(), "0") << number;
    EXPECT_EQ(staged("T3").toString(), "05-Mar-26");
    EXPECT_TRUE(staged("T23").isNull());
    EXPECT_EQ(staged("c5").toString(), "0177-222");
    EXPECT_TRUE(WindowRegistry::find("frmPrint1"));

    // No Company row: the print fails with its box, the earlier slip stays staged.
    db().execute("DELETE FROM Company");
    dialogs->expectOk();
    emit button("cmdPrint")->Click();
    EXPECT_TRUE(dialogs->last().text.startsWith("Error "));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs->last().title, "");
    EXPECT_EQ(stagedRows(), 1);
}

// Dates typed key by key, in every way a librarian types them, are the dates the vouchers keep.
TEST_F(frmBookIssueTest, TypedDatesAreTheDatesTheVouchersKeep)
{
    addGroup(3, "Staff", 20);
    addCard(3, 103, 3, "Meena");
    for (int id = 4; id <= 8; ++id)
        addBook(id, QString::number(100 + id), "Book " + QString::number(id));
    open();
    auto *date = window->findChild<DateBox *>("dtpDate");
    ASSERT_EQ(QApplication::focusWidget(), date);
    const auto type = [&](const QString &keys) { QTest::keyClicks(date, keys); };
    const auto retype = [](QLineEdit *edit, const QString &keys) {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, keys);
        QTest::keyClick(edit, Qt::Key_Return);
    };
    // From the date along the Enter chain, the card and the book typed, saved by Enter; the window
    // then gives the date box the focus for the next voucher.
    const auto issue = [&](const QString &accessionNo) {
        QTest::keyClick(date, Qt::Key_Return);
        ASSERT_EQ(QApplication::focusWidget(), box("txtSrNo"));
        QTest::keyClick(box("txtSrNo"), Qt::Key_Return);
        retype(box("txtCardNo"), "103");
        retype(box("txtAccessionNo"), accessionNo);
        ASSERT_EQ(QApplication::focusWidget(), button("cmdsave"));
        dialogs->expectOk();
        dialogs->answers << Dialogs::Answer::No;
        QTest::keyClick(button("cmdsave"), Qt::Key_Return);
        ASSERT_EQ(dialogs->last().text, "Do You Want to Print");
        EXPECT_TRUE(activate(window));
        ASSERT_EQ(QApplication::focusWidget(), date);
    };
    const auto issuedOn = [&](int voucherId) {
        return QDate::fromString(voucherField(voucherId, "\"Date\"").toString(), Qt::ISODate);
    };

    type("01-01-2030");
    EXPECT_EQ(date->date(), QDate(2030, 1, 1));
    issue("12B");
    EXPECT_EQ(issuedOn(1), QDate(2030, 1, 1));
    EXPECT_EQ(bookField(1, "IssueDate").toString(), "01-Jan-30");

    // Straight after a Save the next date replaces the last one.
    type("15-06-2027");
    issue("7");
    EXPECT_EQ(issuedOn(2), QDate(2027, 6, 15));

    type("010130"); // the year read by the program's rule when the Enter leaves the box
    issue("30");
    EXPECT_EQ(issuedOn(3), QDate(2030, 1, 1));

    QTest::keyClick(date, Qt::Key_A, Qt::ControlModifier);
    type("15062027");
    issue("104");
    EXPECT_EQ(issuedOn(4), QDate(2027, 6, 15));

    QTest::keyClick(date, Qt::Key_A, Qt::ControlModifier);
    type("16-07-2028");
    issue("105");
    EXPECT_EQ(issuedOn(5), QDate(2028, 7, 16));

    clickIntoDate(date, 4); // the month
    type("09");
    issue("106");
    EXPECT_EQ(issuedOn(6), QDate(2028, 9, 16));

    QTest::keyClick(date, Qt::Key_End);
    QTest::keyClick(date, Qt::Key_Home);
    type("20");
    issue("107");
    EXPECT_EQ(issuedOn(7), QDate(2028, 9, 20));
    EXPECT_TRUE(dialogs->texts().filter("The date in").isEmpty());

    // A date that does not exist is said when the box is left and when the save needs it; no
    // voucher is written with another date.
    QTest::keyClick(date, Qt::Key_A, Qt::ControlModifier);
    type("31-02-2027");
    dialogs->expectOk();
    QTest::keyClick(date, Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return dialogs->answers.isEmpty(); }));
    const QString notADate = "The date in Date Of Issue, 31-02-2027, is not a date.\r"
                             "Type the day, the month and the year, as 15-06-2027.";
    EXPECT_EQ(dialogs->last().text, notADate);
    EXPECT_EQ(QApplication::focusWidget(), date);
    EXPECT_EQ(date->date(), QDate(2028, 9, 20));
    lookUp("103", "108");
    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->last().text, notADate);
    QCoreApplication::processEvents(); // leaving the box for the look-ups was said once, by the
                                       // save
    EXPECT_EQ(dialogs->texts().count(notADate), 2);
    EXPECT_EQ(vouchers(), 7);
    EXPECT_EQ(bookField(8, "Status").toString(), "Available");
    EXPECT_EQ(QApplication::focusWidget(), date);
}

TEST_F(frmBookIssueTest, SrNoTakesWholeNumbersAsTypedAndNoneIsProposedPastTheLast)
{
    db().execute("INSERT INTO Voucher (VoucherID, TransactionType, SrNO) VALUES (9, 'Issue', ?)",
                 {QVariant(std::numeric_limits<qlonglong>::max())});
    open();
    lookUp("101", "7");
    QLineEdit *srNo = box("txtSrNo");
    box("txtCardNo")->setFocus();
    dialogs->expectOk();
    QTest::keyClick(box("txtCardNo"), Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), srNo);
    EXPECT_EQ(dialogs->texts(),
              QStringList{"No Sr No. can follow the highest one stored: a voucher "
                          "keeps no larger number.\rType the Sr No. of this "
                          "voucher yourself."});
    EXPECT_EQ(srNo->text(), "");

    for (const QString refused : {"2.5", "3.5", "1e3", "4E-0"}) {
        SCOPED_TRACE(refused.toStdString());
        srNo->setFocus(Qt::TabFocusReason);
        QTest::keyClick(srNo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(srNo, refused);
        dialogs->boxes.clear();
        dialogs->expectOk();
        pressSave();
        EXPECT_EQ(dialogs->texts(), QStringList{WholeSrNoText});
        EXPECT_EQ(QApplication::focusWidget(), srNo);
        EXPECT_EQ(srNo->text(), refused);
        EXPECT_EQ(vouchers(), 1);
        EXPECT_EQ(bookField(2, "Status").toString(), "Available");
    }

    QTest::keyClick(srNo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(srNo, "4.0");
    dialogs->boxes.clear();
    dialogs->expectOk();
    dialogs->answers << Dialogs::Answer::No;
    pressSave();
    EXPECT_EQ(dialogs->texts(), (QStringList{"Book has been Issued", "Do You Want to Print"}));
    EXPECT_EQ(voucherField(10, "SrNO").toLongLong(), 4);
    EXPECT_EQ(bookField(2, "Status").toString(), "Issue");
}

// Print with the focus still in the date (its access key) prints the date typed, not the last one.
TEST_F(frmBookIssueTest, PrintTakesTheDateStillBeingTyped)
{
    open();
    auto *date = window->findChild<DateBox *>("dtpDate");
    ASSERT_EQ(QApplication::focusWidget(), date);
    QTest::keyClicks(date, "05-03-27");
    emit button("cmdPrint")->Click();
    EXPECT_EQ(staged("T3").toString(), "05-Mar-27");
    EXPECT_EQ(date->date(), QDate(2027, 3, 5));
    EXPECT_EQ(QApplication::focusWidget(), date);
}

// Each way a librarian types a date saves the date typed, or says why it cannot be saved.
TEST_F(frmBookIssueTest, EveryWayOfTypingADateSavesTheDateTypedOrSaysWhy)
{
    auto *date = openForManyIssues();
    const auto type = [&](const QString &keys) { QTest::keyClicks(date, keys); };
    const auto press = [&](Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(date, key);
    };
    const auto refused = [&](const QString &shown, const std::function<void()> &typing) {
        lookUp("103", "112");
        typing();
        dialogs->expectOk();
        save();
        EXPECT_EQ(dialogs->last().text, "The date in Date Of Issue, " + shown +
                                            ", is not a date.\rType the day, the month and the "
                                            "year, as 15-06-2027.");
        EXPECT_EQ(vouchers(), vouchersSaved);
        EXPECT_EQ(bookField(12, "Status").toString(), "Available");
        EXPECT_EQ(QApplication::focusWidget(), date);
        QTest::keyClick(date, Qt::Key_A, Qt::ControlModifier);
        type("10122026");
    };

    EXPECT_EQ(saveWith("104",
                       [&] {
                           clickIntoDate(date, 10);
                           type("15062027");
                       }),
              QDate(2027, 6, 15));
    EXPECT_EQ(saveWith("105",
                       [&] {
                           clickIntoDate(date, 10);
                           type("16-07-2028");
                       }),
              QDate(2028, 7, 16));
    EXPECT_EQ(saveWith("106",
                       [&] {
                           date->typeAnew(); // as the window opens, with the focus in the date
                           type("15-07");
                           press(Qt::Key_Backspace);
                           type("6-2027");
                       }),
              QDate(2027, 6, 15));
    EXPECT_EQ(saveWith("107",
                       [&] {
                           QTest::keyClick(date, Qt::Key_A, Qt::ControlModifier);
                           press(Qt::Key_Backspace);
                           type("15062027");
                       }),
              QDate(2027, 6, 15));
    EXPECT_EQ(saveWith("108",
                       [&] {
                           date->typeAnew();
                           type("30");
                           press(Qt::Key_Home);
                           type("01122026");
                       }),
              QDate(2026, 12, 1));
    EXPECT_EQ(saveWith("109",
                       [&] {
                           date->typeAnew();
                           type("3012-26");
                           press(Qt::Key_Left, 3);
                           type("11");
                       }),
              QDate(2026, 11, 30));
    EXPECT_EQ(saveWith("110",
                       [&] {
                           date->typeAnew();
                           type("3012-26");
                           clickIntoDate(date, 4); // the month
                           type("10");
                       }),
              QDate(2026, 10, 30));
    EXPECT_EQ(saveWith("111",
                       [&] {
                           date->typeAnew();
                           type("0511-26");
                           clickIntoDate(date, 7); // the year
                           type("2027");
                       }),
              QDate(2027, 11, 5));
    EXPECT_TRUE(dialogs->texts().filter("The date in").isEmpty());

    refused("15-06-20277", [&] {
        clickIntoDate(date, 1);
        type("150620277");
    });
    refused("15-06-2", [&] {
        date->typeAnew();
        type("15062");
    });
    refused("15-06-7", [&] {
        date->typeAnew();
        type("15-06-7");
    });
    refused("31-04-2027", [&] {
        date->typeAnew();
        type("31042027");
        QTest::keyClick(date, Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(date->shownCalendar());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        ASSERT_TRUE(waitFor([&] { return !date->shownCalendar(); }));
        EXPECT_EQ(date->text(), "31-04-2027");
    });
}

// A date typed into the open calendar, however it was opened, is read day first as the box reads
// it, or said naming the box.
TEST_F(frmBookIssueTest, ADateTypedIntoTheOpenCalendarIsTheDateKept)
{
    auto *date = openForManyIssues();
    int day = 12;
    for (const CalendarOpening how : calendarOpenings) {
        for (const QString month : {"012027", "-Jan-27"}) {
            const QString typed = QString::number(day) + month;
            EXPECT_EQ(saveWith(QString::number(92 + day),
                               [&] {
                                   if (how != CalendarOpening::Arrow)
                                       clickIntoDate(date, 10);
                                   typeIntoCalendar(date, how, typed);
                                   QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                               }),
                      QDate(2027, 1, day))
                << nameOf(how) << " " << typed.toStdString();
            ++day;
        }
    }
    EXPECT_TRUE(dialogs->texts().filter("The date in").isEmpty());

    lookUp("103", "110");
    typeIntoCalendar(date, CalendarOpening::Arrow, "31-04-2027");
    dialogs->expectOk();
    save();
    EXPECT_EQ(dialogs->last().text, "The date in Date Of Issue, 31-04-2027, is not a date.\r"
                                    "Type the day, the month and the year, as 15-06-2027.");
    EXPECT_EQ(vouchers(), vouchersSaved);
    EXPECT_EQ(QApplication::focusWidget(), date);
}

// A click on Close with a date that is no date closes the window and says nothing.
TEST_F(frmBookIssueTest, CloseIsNotRacedByADateNobodyWillUse)
{
    open();
    auto *date = window->findChild<DateBox *>("dtpDate");
    clickIntoDate(date, 1);
    QTest::keyClicks(date, "31042027");
    StyledButton *close = button("cmdClose");
    const QPoint middle = close->rect().center();
    QTest::mousePress(close, Qt::LeftButton, Qt::NoModifier, middle);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    QTest::mouseRelease(close, Qt::LeftButton, Qt::NoModifier, middle);
    QCoreApplication::processEvents();
    EXPECT_FALSE(WindowRegistry::find("frmBookIssue") &&
                 WindowRegistry::find("frmBookIssue")->isVisible());
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

// The date of issue as librarians type and paste it: with the month's name, a letter for a digit,
// pasted with blanks, by a middle click, typed over a drag, or left empty. The voucher keeps the
// date typed, or the box says why there is none.
TEST_F(frmBookIssueTest, DatesTypedOrPastedAsPrintedAreTheDatesKept)
{
    auto *date = openForManyIssues();
    const auto paste = [&](const QString &text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(date, Qt::Key_V, Qt::ControlModifier);
    };

    EXPECT_EQ(saveWith("104",
                       [&] {
                           date->typeAnew();
                           QTest::keyClicks(date, "20-Nov-26");
                       }),
              QDate(2026, 11, 20));
    EXPECT_EQ(saveWith("105",
                       [&] {
                           date->typeAnew();
                           paste(" 15-06-2027");
                       }),
              QDate(2027, 6, 15));
    EXPECT_EQ(saveWith("106",
                       [&] {
                           date->typeAnew();
                           paste("  16-06-2027  \n");
                       }),
              QDate(2027, 6, 16));
    EXPECT_EQ(saveWith("107",
                       [&] {
                           DateBox::setMouseSelectionForTest(
                               [] { return QStringLiteral("17-06-2027\n"); });
                           middleClickIntoDate(date, 1); // the day
                           DateBox::setMouseSelectionForTest({});
                           EXPECT_EQ(date->text(), "17-06-2027");
                       }),
              QDate(2027, 6, 17));
    EXPECT_EQ(saveWith("108",
                       [&] {
                           date->setDate(QDate(2026, 12, 10));
                           dragOverDate(date, 3, 5); // the month
                           QTest::keyClicks(date, "07");
                           EXPECT_EQ(date->text(), "10-07-2026");
                       }),
              QDate(2026, 7, 10));
    EXPECT_TRUE(dialogs->texts().filter("The date in").isEmpty());

    for (const auto &[keys, said] :
         {std::pair<QString, QString>{"1O-06-2027", "The date in Date Of Issue, 1O-06-2027, is not "
                                                    "a date."},
          {"1a-06-2027", "The date in Date Of Issue, 1a-06-2027, is not a date."},
          {"", "The date in Date Of Issue is missing."}}) {
        lookUp("103", "112");
        date->typeAnew();
        QTest::keyClick(date, Qt::Key_Backspace);
        QTest::keyClicks(date, keys);
        dialogs->boxes.clear();
        dialogs->expectOk();
        save();
        EXPECT_EQ(dialogs->texts(),
                  QStringList{said + "\rType the day, the month and the year, as 15-06-2027."});
        EXPECT_EQ(vouchers(), vouchersSaved);
        EXPECT_EQ(bookField(12, "Status").toString(), "Available");
        EXPECT_EQ(QApplication::focusWidget(), date);
    }
}
