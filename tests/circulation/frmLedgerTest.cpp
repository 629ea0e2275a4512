#include "VoucherFixture.h"

#include "circulation/SearchPanel.h"
#include "circulation/frmBookIssue.h"
#include "circulation/frmLedger.h"
#include "controls/button/StyledButton.h"
#include "ui/DateBox.h"
#include "ui/RecordList.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

class frmLedgerTest : public VoucherTest
{
protected:
    void SetUp() override
    {
        VoucherTest::SetUp();
        addGroup(1, "Class 5", 0);
        addCard(1, 101, 1, "Asha Verma", "R7");
        addCard(2, 102, 1, "Ravi Kumar", "R9");
        addBook(1, "10", "Zoology");
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        addVoucher(
            {.id = 1, .date = "2025-12-30", .srNo = 1, .accessionNo = 5, .title = "Algebra"});
        addVoucher({.id = 2, .date = today, .srNo = 2, .accessionNo = 10});
        addVoucher({.id = 3, .date = today, .srNo = 3, .cardId = 2, .cardNo = 102});
        addVoucher({.id = 4,
                    .type = "Receipt",
                    .date = "2026-01-04",
                    .issueId = 1,
                    .daysDelayed = 0,
                    .totalFine = 0,
                    .fineReceiptNo = 8,
                    .remarks = "Fine"});
    }
    frmLedger *open()
    {
        window = WindowRegistry::show<frmLedger>("frmLedger");
        EXPECT_TRUE(activate(window));
        list = window->findChild<RecordList *>("Lv1");
        cardNo = window->findChild<QLineEdit *>("txtCardNo");
        return window;
    }
    QStringList keys()
    {
        QStringList texts;
        for (int i = 0; i < list->records()->size(); ++i)
            texts << list->records()->row(i).texts[0];
        return texts;
    }
    QString label(const char *name) { return window->findChild<QLabel *>(name)->text(); }
    void lookUp(const QString &typed)
    {
        cardNo->setText(typed);
        cardNo->setFocus();
        QTest::keyClick(cardNo, Qt::Key_Return);
    }

    frmLedger *window = nullptr;
    RecordList *list = nullptr;
    QLineEdit *cardNo = nullptr;
};

} // namespace

TEST_F(frmLedgerTest, SeeLedgerOpensOnTheIssueWindowsCardForToday)
{
    auto *issue = WindowRegistry::show<frmBookIssue>("frmBookIssue");
    issue->findChild<QLineEdit *>("txtCardNo")->setText("101");
    QTest::mouseClick(issue->findChild<QLabel *>("lblLedger"), Qt::LeftButton);
    window = WindowRegistry::find<frmLedger>("frmLedger");
    ASSERT_TRUE(window);
    list = window->findChild<RecordList *>("Lv1");
    EXPECT_EQ(window->findChild<QLineEdit *>("txtCardNo")->text(), "101");
    EXPECT_EQ(label("lblName"), "Name : Asha Verma");
    EXPECT_EQ(label("lblRollNo"), "Roll No :R7");
    EXPECT_EQ(window->findChild<DateBox *>("dtpFromDate")->date(), QDate::currentDate());
    EXPECT_EQ(keys(), QStringList{"2"});
}

TEST_F(frmLedgerTest, LooksUpACardAndListsItsIssuesBesideTheirReturns)
{
    open();
    EXPECT_EQ(keys(), QStringList{});
    dialogs->expectOk();
    lookUp("");
    EXPECT_EQ(dialogs->last().text, "Enter Card No.");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    lookUp("101");
    EXPECT_EQ(window->findChild<QLineEdit *>("txtCardID")->text(), "1");
    EXPECT_TRUE(window->findChild<DateBox *>("dtpFromDate")->hasFocus());

    // An unknown number, or text that is no number, keeps the card found before.
    dialogs->expectOk(2);
    lookUp("999");
    lookUp("1 OR 1=1");
    EXPECT_EQ(dialogs->texts().mid(1), (QStringList{"Invalid Card No.", "Invalid Card No."}));
    EXPECT_EQ(dialogs->last().title, "");
    EXPECT_EQ(label("lblName"), "Name : Asha Verma");

    window->findChild<DateBox *>("dtpFromDate")->setDate(QDate(2025, 12, 1));
    emit window->findChild<StyledButton *>("cmdOK")->Click();
    EXPECT_EQ(keys(), (QStringList{"1", "2"}));
    EXPECT_EQ(list->records()->row(0).texts.mid(1),
              (QStringList{"Ruskin Bond", "Algebra", "5", "30-12-2025", "04-01-2026", "0", "0", "8",
                           "Fine"}));
    EXPECT_EQ(list->records()->row(1).texts[5], "");
    window->grab().save(testOutputFolder() + "/frmLedger.png");

    emit window->findChild<StyledButton *>("cmdDelete")->Click();
    EXPECT_EQ(stagedRows(), 2);
    EXPECT_EQ(Module::CommonDb->scalar("SELECT T5 FROM Printing WHERE T2 = 'Algebra'").toString(),
              "04-01-2026");
    auto *report = WindowRegistry::find<frmPrint1>("frmPrint1");
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->lblRPTFileName()->text().endsWith("/Reports/Ledger.rpt"));

    // A row opens its issue voucher.
    EXPECT_TRUE(activate(window));
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 1));
    QTest::keyClick(list, Qt::Key_Return);
    auto *issue = WindowRegistry::find<frmBookIssue>("frmBookIssue");
    ASSERT_TRUE(issue);
    EXPECT_EQ(issue->findChild<QLineEdit *>("txtVoucherID")->text(), "1");
}

TEST_F(frmLedgerTest, CloseHidesTheCardSearchFirst)
{
    open();
    cardNo->setFocus();
    QTest::keyClick(cardNo, Qt::Key_F4);
    auto *panel = window->findChild<SearchPanel *>("fraSearch");
    ASSERT_TRUE(panel->isVisible());
    auto *filter = window->findChild<QLineEdit *>("txtSearch");
    QTest::keyClicks(filter, "ravi");
    auto *found = window->findChild<RecordList *>("LvSearch");
    ASSERT_TRUE(waitFor([&] { return found->records()->size() == 1; }));
    window->grab().save(testOutputFolder() + "/frmLedger-search.png");
    QTest::keyClick(filter, Qt::Key_Down);
    QTest::keyClick(found, Qt::Key_Return);
    EXPECT_EQ(cardNo->text(), "102");
    EXPECT_EQ(label("lblName"), "Name : Ravi Kumar");
    EXPECT_FALSE(panel->isVisible());

    QTest::keyClick(cardNo, Qt::Key_F4);
    emit window->findChild<StyledButton *>("cmdClose")->Click();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(WindowRegistry::find("frmLedger"));
    cardNo->setFocus();
    QTest::keyClick(cardNo, Qt::Key_Escape);
    EXPECT_TRUE(waitFor([] { return !WindowRegistry::find("frmLedger"); }));
}
