#include "AnotherProgram.h"
#include "CatalogueTestSupport.h"

#include "catalogue/frmBook.h"
#include "controls/button/StyledButton.h"
#include "core/Colour.h"
#include "ui/RecordLoader.h"

#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

class frmBookTest : public CatalogueTest
{
protected:
    frmBook *open() { return window = show<frmBook>("frmBook"); }
    QLineEdit *box(const char *name) { return window->findChild<QLineEdit *>(name); }
    QComboBox *combo(const char *name) { return window->findChild<QComboBox *>(name); }
    StyledButton *button(const char *name) { return window->findChild<StyledButton *>(name); }
    QString label(const char *name) { return window->findChild<QLabel *>(name)->text(); }
    void enter(QWidget *widget) { QTest::keyClick(widget, Qt::Key_Return); }
    void type(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    QWidget *focus() { return QApplication::focusWidget(); }
    void load(double key) { RecordLoader::open(key, LoadBookForUpdate); }

    frmBook *window = nullptr;
};

TEST_F(frmBookTest, ALibrarianEntersANewBookAlongTheEnterChain)
{
    open();
    EXPECT_EQ(window->mode(), "&New");
    EXPECT_FALSE(window->findChild<QFrame *>("fraForm")->isEnabled());
    EXPECT_FALSE(button("cmdDelete")->isEnabled());
    EXPECT_FALSE(window->findChild<QLabel *>("Picture2")->isVisible());

    emit button("cmdNew")->Click();
    EXPECT_EQ(window->mode(), "&Save");
    EXPECT_EQ(focus(), box("txtAccessionNo"));
    EXPECT_EQ(box("txtAccessionNo")->text(), "1"); // an empty catalogue starts at 1
    EXPECT_EQ(Colour::fromQColor(box("txtAccessionNo")->palette().color(QPalette::Base)),
              0xC0FFC0u);

    enter(box("txtAccessionNo"));
    EXPECT_EQ(box("txtBarcode")->text(), "1");
    EXPECT_TRUE(window->findChild<QLabel *>("Picture2")->isVisible());
    EXPECT_FALSE(window->findChild<QLabel *>("Picture2")->pixmap().isNull());
    EXPECT_EQ(focus(), box("txtBarcode"));
    enter(focus());
    QTest::keyClicks(focus(), "Godan");
    enter(focus());
    EXPECT_TRUE(combo("cboAuthor")->isAncestorOf(focus()));
    QTest::keyClicks(focus(), "Premchand");
    // Along the chain to the save button, the year box keeping its colour.
    const QStringList chain = {"cboPublisher", "cboSubject",  "txtYear",     "txtPages",
                               "cboEdition",   "txtLocation", "txtVol",      "txtISBN",
                               "cboStream",    "cboTopic",    "cboCategory", "cboSource",
                               "cboCourse",    "txtBillNo",   "txtDate",     "txtBookNo",
                               "txtWithdrawlNo", "txtCost",   "txtRemarks",  "cmdNew"};
    for (const QString &next : chain) {
        enter(focus());
        QWidget *expected = window->findChild<QWidget *>(next);
        ASSERT_TRUE(expected == focus() || expected->isAncestorOf(focus())) << next.toStdString();
        if (next == "txtYear") {
            EXPECT_EQ(Colour::fromQColor(box("txtYear")->palette().color(QPalette::Base)),
                      0xFEF7F3u);
        }
        if (next == "txtCost")
            QTest::keyClicks(focus(), "12.50 each");
    }

    dialogs->expectOk();
    emit button("cmdNew")->Click();
    EXPECT_EQ(dialogs->texts(), QStringList{"New Book has been Added"});
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs->last().title, "");
    EXPECT_EQ(bookValue(1, "title").toString(), "Godan");
    EXPECT_EQ(bookValue(1, "Author").toString(), "Premchand");
    EXPECT_EQ(bookValue(1, "OT14").toString(), "1");
    EXPECT_EQ(bookValue(1, "Cost").toDouble(), 12.5);
    EXPECT_EQ(bookValue(1, "Status").toString(), "Available");
    EXPECT_EQ(window->mode(), "&New");
    EXPECT_FALSE(window->findChild<QFrame *>("fraForm")->isEnabled());
    EXPECT_EQ(box("txtTitle")->text(), "");

    window->adjustSize();
    window->grab().save(QDir(testOutputFolder()).filePath("frmBook.png"));
}

TEST_F(frmBookTest, TheProposalAndTheDuplicateTests)
{
    addPlainBook(1, "7");
    addPlainBook(2, "12A", "Gitanjali");
    addPlainBook(3, "B3");
    open();
    emit button("cmdNew")->Click();
    EXPECT_EQ(box("txtAccessionNo")->text(), "13");

    // A number typed and left is replaced on the way back in.
    type(box("txtAccessionNo"), "500");
    box("txtTitle")->setFocus();
    box("txtAccessionNo")->setFocus();
    EXPECT_EQ(box("txtAccessionNo")->text(), "13");

    // A stored number, case apart: refused, the focus stays, the barcode still filled.
    box("txtAccessionNo")->setText("12a");
    dialogs->expectOk();
    enter(box("txtAccessionNo"));
    EXPECT_EQ(dialogs->last().text, "Accession No. Already Exits");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(focus(), box("txtAccessionNo"));
    EXPECT_EQ(box("txtBarcode")->text(), "12a");

    // A typed barcode stays; a stored title is refused at Enter but saved by the button.
    type(box("txtBarcode"), "B-12");
    box("txtAccessionNo")->setText("14");
    enter(box("txtAccessionNo"));
    EXPECT_EQ(box("txtBarcode")->text(), "B-12");
    type(box("txtTitle"), "GITANJALI");
    dialogs->expectOk();
    enter(box("txtTitle"));
    EXPECT_EQ(dialogs->last().text, "Book Title Already Exits");
    EXPECT_EQ(focus(), box("txtTitle"));
    dialogs->expectOk();
    emit button("cmdNew")->Click();
    EXPECT_EQ(dialogs->last().text, "New Book has been Added");
    EXPECT_EQ(bookValue(4, "AccessionNo").toString(), "14");

    // Empty boxes: one message each, the first that applies.
    emit button("cmdNew")->Click();
    box("txtAccessionNo")->clear();
    dialogs->expectOk();
    emit button("cmdNew")->Click();
    EXPECT_EQ(dialogs->last().text, "Enter Accession No.");
    box("txtAccessionNo")->setText("15");
    dialogs->expectOk();
    emit button("cmdNew")->Click();
    EXPECT_EQ(dialogs->last().text, "Enter Title");
    EXPECT_EQ(focus(), box("txtTitle"));
    box("txtAccessionNo")->setText("b3");
    box("txtTitle")->setText("Kamayani");
    dialogs->expectOk();
    emit button("cmdNew")->Click();
    EXPECT_EQ(dialogs->last().text, "Accession No. Already Exits");
    EXPECT_EQ(books(), 4);
}

// A refused number stays for the user to correct, and the barcode made from it follows it: no
// copy is saved with another copy's barcode.
TEST_F(frmBookTest, ARefusedAccessionNoStaysAndItsBarcodeFollowsIt)
{
    addPlainBook(1, "7");
    addPlainBook(2, "12A", "Gitanjali");
    open();
    emit button("cmdNew")->Click();
    type(box("txtAccessionNo"), "12a");
    dialogs->expectOk();
    enter(box("txtAccessionNo"));
    EXPECT_EQ(dialogs->last().text, "Accession No. Already Exits");
    // The focus comes back from the message box.
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(box("txtAccessionNo"), &back);
    EXPECT_EQ(box("txtAccessionNo")->text(), "12a");
    EXPECT_EQ(focus(), box("txtAccessionNo"));
    EXPECT_EQ(box("txtBarcode")->text(), "12a");

    // Corrected, the barcode made from it goes along.
    QTest::keyClick(box("txtAccessionNo"), Qt::Key_Backspace);
    EXPECT_EQ(box("txtBarcode")->text(), "12");
    box("txtTitle")->setText("Kamayani");

    // Refused at the save: the number stays, and so does the focus.
    box("txtAccessionNo")->setText("7");
    button("cmdNew")->setFocus();
    dialogs->expectOk();
    emit button("cmdNew")->Click();
    EXPECT_EQ(dialogs->last().text, "Accession No. Already Exits");
    EXPECT_EQ(box("txtAccessionNo")->text(), "7");
    EXPECT_EQ(focus(), box("txtAccessionNo"));
    EXPECT_EQ(box("txtBarcode")->text(), "7");

    // Left and entered again the proposal comes, and the barcode with it.
    box("txtTitle")->setFocus();
    box("txtAccessionNo")->setFocus();
    EXPECT_EQ(box("txtAccessionNo")->text(), "13");
    EXPECT_EQ(box("txtBarcode")->text(), "13");
    dialogs->expectOk();
    emit button("cmdNew")->Click();
    EXPECT_EQ(dialogs->last().text, "New Book has been Added");
    EXPECT_EQ(bookValue(3, "AccessionNo").toString(), "13");
    EXPECT_EQ(bookValue(3, "OT14").toString(), "13");
}

// The book window never writes the loan state: the issue and the return may change it while the
// window holds the copy.
TEST_F(frmBookTest, AnUpdateKeepsTheLoanStateStoredMeanwhile)
{
    addPlainBook(1, "1", "Godan");
    load(1);
    window = WindowRegistry::find<frmBook>("frmBook");
    ASSERT_TRUE(window);
    Module::CompanyDb->execute(
        "UPDATE Book SET Status = 'Issue', IssueID = 9, Name = 'Meera Nair', RollNo = 'R-3', "
        "CardID = 3, CardNo = 501, IssueDate = '05-Mar-24' WHERE BookID = 1");
    box("txtTitle")->setText("Godan (Revised)");
    dialogs->expectOk();
    emit button("cmdNew")->Click();
    EXPECT_EQ(dialogs->last().text, "New Book has been Added");
    EXPECT_EQ(bookValue(1, "title").toString(), "Godan (Revised)");
    EXPECT_EQ(bookValue(1, "Status").toString(), "Issue");
    EXPECT_EQ(bookValue(1, "IssueID").toInt(), 9);
    EXPECT_EQ(bookValue(1, "Name").toString(), "Meera Nair");
    EXPECT_EQ(bookValue(1, "RollNo").toString(), "R-3");
    EXPECT_EQ(bookValue(1, "CardID").toInt(), 3);
    EXPECT_EQ(bookValue(1, "CardNo").toInt(), 501);
    EXPECT_EQ(bookValue(1, "IssueDate").toString(), "05-Mar-24");

    // And the reverse: loaded lent, returned meanwhile, updated with no edits.
    load(1);
    EXPECT_EQ(label("lblAvailable"), "Issue");
    Module::CompanyDb->execute(
        "UPDATE Book SET Status = 'Available', IssueID = 0, Name = '', RollNo = '', "
        "CardID = 0, CardNo = 0, IssueDate = '' WHERE BookID = 1");
    dialogs->expectOk();
    emit button("cmdNew")->Click();
    EXPECT_EQ(bookValue(1, "Status").toString(), "Available");
    EXPECT_EQ(bookValue(1, "IssueID").toInt(), 0);
    EXPECT_EQ(bookValue(1, "Name").toString(), "");
    EXPECT_EQ(bookValue(1, "CardNo").toInt(), 0);
    EXPECT_EQ(bookValue(1, "IssueDate").toString(), "");
    EXPECT_EQ(books(), 1);
}

TEST_F(frmBookTest, ALoadedCopyIsChangedOrDeletedAsItsStateAllows)
{
    addBook(5, {{"AccessionNo", "12A"}, {"title", "Gitanjali"}, {"OT14", "12A"},
                {"Status", "Issue"}, {"IssueID", 9}, {"CardID", 3}, {"CardNo", 501},
                {"Name", "Meera Nair"}, {"IssueDate", "05-Mar-24"}});
    addBook(6, {{"AccessionNo", "13"}, {"title", "Kamayani"}, {"Status", "Available"}});
    load(5);
    window = WindowRegistry::find<frmBook>("frmBook");
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_EQ(window->mode(), "&Update");
    EXPECT_TRUE(button("cmdDelete")->isEnabled());
    EXPECT_EQ(box("txtTitle")->text(), "Gitanjali");
    EXPECT_EQ(box("txtCost")->text(), "0");
    EXPECT_EQ(label("lblAvailable"), "Issue");
    EXPECT_EQ(label("lblIssueDetail"),
              "Issued to Card No : 501 , Name : Meera Nair As On 05-03-2024");
    window->grab().save(QDir(testOutputFolder()).filePath("frmBookLoaded.png"));

    // A lent copy: refused before any question.
    dialogs->expectOk();
    emit button("cmdDelete")->Click();
    EXPECT_EQ(dialogs->texts(),
              QStringList{"This Master has been use in Transaction Can't be Deleted"});
    EXPECT_EQ(dialogs->last().title, "Can't be Delete");

    // Changed under the same number, it stays lent to the same holder.
    EXPECT_TRUE(activate(window->window()));
    enter(box("txtAccessionNo"));
    EXPECT_EQ(focus(), box("txtBarcode"));
    box("txtTitle")->setText("Gitanjali (Song Offerings)");
    dialogs->expectOk();
    emit button("cmdNew")->Click();
    EXPECT_EQ(dialogs->last().text, "New Book has been Added");
    EXPECT_EQ(bookValue(5, "title").toString(), "Gitanjali (Song Offerings)");
    EXPECT_EQ(bookValue(5, "Status").toString(), "Issue");
    EXPECT_EQ(bookValue(5, "CardNo").toInt(), 501);
    EXPECT_EQ(books(), 2);

    // An available copy: the holder line empties; No keeps it, Yes deletes it.
    load(5);
    load(6);
    EXPECT_EQ(label("lblIssueDetail"), "");
    dialogs->answers << Dialogs::Answer::No;
    emit button("cmdDelete")->Click();
    EXPECT_EQ(dialogs->last().text, "Are You Sure To Delete this Book");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Question);
    EXPECT_EQ(box("txtTitle")->text(), "Kamayani");
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    emit button("cmdDelete")->Click();
    EXPECT_EQ(dialogs->last().text, "Book Deleted Sucessfully");
    EXPECT_EQ(books(), 1);
    EXPECT_EQ(window->mode(), "&New");
    EXPECT_FALSE(window->findChild<QFrame *>("fraForm")->isEnabled());

    // A key without a row fills nothing but still offers the update.
    load(99);
    EXPECT_EQ(window->mode(), "&Update");
    EXPECT_TRUE(button("cmdDelete")->isEnabled());
}

TEST_F(frmBookTest, AnotherCounterAtWorkOnTheSameCatalogue)
{
    addPlainBook(1, "1");
    AnotherProgram other(*Module::CompanyDb);
    open();
    emit button("cmdNew")->Click();
    type(box("txtTitle"), "Kamayani");

    // The other counter stores a copy while this one saves: both copies are kept.
    other.beforeNextWrite([](Database &db) {
        db.execute("INSERT INTO Book (BookID, AccessionNo, title, Status) "
                   "VALUES (2, '9', 'Godan', 'Available')");
    });
    dialogs->expectOk();
    emit button("cmdNew")->Click();
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->texts(), QStringList{"New Book has been Added"});
    EXPECT_EQ(bookValue(2, "title").toString(), "Godan");
    EXPECT_EQ(bookValue(3, "title").toString(), "Kamayani");

    // The other counter lends the copy while the question is open: it is not deleted.
    load(3);
    other.beforeNextWrite([](Database &db) {
        db.execute("UPDATE Book SET Status = 'Issue', IssueID = 1, Name = 'Meera Nair', "
                   "CardID = 3, CardNo = 501, IssueDate = '05-Mar-24' WHERE BookID = 3");
    });
    dialogs->answers << Dialogs::Answer::Yes;
    dialogs->expectOk();
    emit button("cmdDelete")->Click();
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->texts().mid(1),
              QStringList({"Are You Sure To Delete this Book",
                           "This Master has been use in Transaction Can't be Deleted"}));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(dialogs->last().title, "Can't be Delete");
    EXPECT_EQ(bookValue(3, "Status").toString(), "Issue");
    EXPECT_EQ(books(), 3);
    EXPECT_EQ(window->mode(), "&Update");
}

// Both counters propose the same number; the one that writes second is refused, whatever its
// window saw when the number was entered.
TEST_F(frmBookTest, TwoCountersCannotStoreOneAccessionNo)
{
    addPlainBook(1, "1");
    AnotherProgram other(*Module::CompanyDb);
    open();
    emit button("cmdNew")->Click();
    EXPECT_EQ(box("txtAccessionNo")->text(), "2");
    enter(box("txtAccessionNo"));
    enter(focus());
    QTest::keyClicks(focus(), "Kamayani");
    ASSERT_EQ(box("txtTitle")->text(), "Kamayani");

    other.beforeNextWrite([](Database &db) {
        db.execute("INSERT INTO Book (BookID, AccessionNo, title, Status) "
                   "VALUES (2, '2', 'Godan', 'Available')");
    });
    dialogs->expectOk();
    emit button("cmdNew")->Click();
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->texts(), QStringList{"Accession No. Already Exits"});
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(books(), 2);
    EXPECT_EQ(bookValue(2, "title").toString(), "Godan");
    // Nothing typed is lost: the number stays for the user to correct.
    EXPECT_EQ(window->mode(), "&Save");
    EXPECT_EQ(focus(), box("txtAccessionNo"));
    EXPECT_EQ(box("txtAccessionNo")->text(), "2");
    EXPECT_EQ(box("txtTitle")->text(), "Kamayani");

    QTest::keyClick(box("txtAccessionNo"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box("txtAccessionNo"), "3");
    dialogs->expectOk();
    emit button("cmdNew")->Click();
    EXPECT_EQ(dialogs->last().text, "New Book has been Added");
    EXPECT_EQ(bookValue(3, "AccessionNo").toString(), "3");
    EXPECT_EQ(bookValue(3, "title").toString(), "Kamayani");
    EXPECT_EQ(
        Module::CompanyDb->scalar("SELECT COUNT(*) FROM Book WHERE AccessionNo = '2'").toInt(), 1);
}

TEST_F(frmBookTest, AFailedUpdateKeepsTheOldRowAndSaysSo)
{
    addBook(5, {{"AccessionNo", "5"}, {"title", "Gitanjali"}, {"Status", "Available"}});
    load(5);
    window = WindowRegistry::find<frmBook>("frmBook");
    box("txtTitle")->setText("Changed");
    Database::setFailureHook(failSecondWrite());
    dialogs->expectOk();
    emit button("cmdNew")->Click();
    Database::clearFailureHook();
    EXPECT_TRUE(dialogs->last().text.startsWith("Error "));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::None);
    EXPECT_EQ(bookValue(5, "title").toString(), "Gitanjali");
    EXPECT_EQ(window->mode(), "&Update"); // nothing typed is lost
    EXPECT_EQ(box("txtTitle")->text(), "Changed");
}

TEST_F(frmBookTest, RightsShowAndHideTheButtons)
{
    addPlainBook(1, "1");
    grant("Librarian", "N", "Y", "N");
    Module::CurrentUserPosition = "LIBRARIAN";
    open();
    EXPECT_FALSE(button("cmdNew")->isVisible()); // no new book can be started
    load(1);
    EXPECT_EQ(window->mode(), "&Update");
    EXPECT_FALSE(button("cmdNew")->isVisible());
    EXPECT_FALSE(button("cmdDelete")->isVisible());
    // Enter in the last box cannot reach a hidden save button: the focus stays.
    window->findChild<QLineEdit *>("txtRemarks")->setFocus();
    enter(focus());
    EXPECT_EQ(focus(), box("txtRemarks"));

    // Esc anywhere closes the window without a question.
    QTest::keyClick(focus(), Qt::Key_Escape);
    EXPECT_TRUE(waitFor([] { return !WindowRegistry::find("frmBook"); }));

    Module::CompanyDb->execute("UPDATE UserProfile SET \"Add\" = 'Y', Modify = 'N', "
                               "\"Delete\" = 'Y'");
    open();
    EXPECT_TRUE(button("cmdNew")->isVisible());
    load(1);
    EXPECT_FALSE(button("cmdNew")->isVisible());
    EXPECT_TRUE(button("cmdDelete")->isVisible());
    window->CleanBox();
    EXPECT_FALSE(button("cmdNew")->isVisible()); // until the window is opened again
}
