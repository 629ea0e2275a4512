#include "CirculationFixture.h"

#include "circulation/CirculationRules.h"
#include "circulation/frmBookIssue.h"
#include "circulation/frmPendingBooks.h"
#include "controls/button/StyledButton.h"
#include "ui/RecordList.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

class frmPendingBooksTest : public CirculationTest
{
protected:
    void SetUp() override
    {
        CirculationTest::SetUp();
        addGroup(1, "Class 5", 0);
        addCard(1, 101, 1, "Asha Verma", "R7");
        addCard(2, 102, 1, "Ravi Kumar", "R9");
        addBook(1, "10", "Zoology");
        addBook(2, "2", "Poems", "Premchand");
        addBook(3, "10A", "Algebra");
        addBook(4, "5", "On the shelf");
        issue("101", "10");
        issue("102", "2");
        issue("101", "10A");
    }
    void issue(const QString &cardNo, const QString &accessionNo)
    {
        ASSERT_EQ(
            CirculationRules::saveIssue(db(), {0, QDate(2026, 3, 5), "1", cardNo, accessionNo})
                .refusal,
            CirculationRules::Refusal::None);
    }
    frmPendingBooks *open()
    {
        window = WindowRegistry::show<frmPendingBooks>("frmPendingBooks");
        EXPECT_TRUE(activate(window));
        list = window->findChild<RecordList *>("Lv1");
        return window;
    }
    QStringList column(int index)
    {
        QStringList texts;
        for (int i = 0; i < list->records()->size(); ++i)
            texts << list->records()->row(i).texts[index];
        return texts;
    }
    QString count() { return window->findChild<QLineEdit *>("txtV1")->text(); }

    frmPendingBooks *window = nullptr;
    RecordList *list = nullptr;
};

} // namespace

TEST_F(frmPendingBooksTest, ListsTheBooksOutAndFiltersAtEveryKeystroke)
{
    open();
    EXPECT_EQ(window->findChild<QComboBox *>("cboSearch")->currentText(), "AccessionNo");
    EXPECT_EQ(window->findChild<QComboBox *>("cboSearch1")->currentText(), "Name");
    EXPECT_EQ(column(1), (QStringList{"2", "10A", "10"}));
    EXPECT_EQ(list->records()->row(0).texts,
              (QStringList{"2", "2", "Poems", "Premchand", "Stories", "Rupa", "Ravi Kumar", "102",
                           "05-Mar-26", "R9", "2nd"}));
    EXPECT_EQ(count(), "3");
    window->grab().save(testOutputFolder() + "/frmPendingBooks.png");

    // Choosing another column alone does not reload; the next keystroke does.
    window->findChild<QComboBox *>("cboSearch")->setCurrentText("Title");
    EXPECT_EQ(count(), "3");
    auto *filter = window->findChild<QLineEdit *>("txtSearch");
    QTest::keyClicks(filter, "z");
    EXPECT_EQ(column(2), QStringList{"Zoology"});
    EXPECT_EQ(count(), "1");
    QTest::keyClick(filter, Qt::Key_Backspace);
    QTest::keyClicks(window->findChild<QLineEdit *>("txtSearch1"), "ravi");
    EXPECT_EQ(count(), "1");

    // A book returned elsewhere leaves the list at "&OK".
    db().execute("UPDATE Book SET Status = 'Available' WHERE BookID = 2");
    emit window->findChild<StyledButton *>("cmdNew")->Click();
    EXPECT_EQ(count(), "0");

    filter->setFocus();
    QTest::keyClick(filter, Qt::Key_Escape);
    EXPECT_TRUE(waitFor([] { return !WindowRegistry::find("frmPendingBooks"); }));
}

TEST_F(frmPendingBooksTest, EnterOnARowOpensItsIssueVoucher)
{
    open();
    list->setFocus();
    list->setCurrentIndex(list->model()->index(1, 1)); // 10A, voucher 3
    QTest::keyClick(list, Qt::Key_Return);
    auto *issue = WindowRegistry::find<frmBookIssue>("frmBookIssue");
    ASSERT_TRUE(issue);
    EXPECT_EQ(issue->findChild<StyledButton *>("cmdsave")->caption(), "&Update");
    EXPECT_EQ(issue->findChild<QLineEdit *>("txtVoucherID")->text(), "3");
    EXPECT_EQ(issue->findChild<QLineEdit *>("txtAccessionNo")->text(), "10A");
}

TEST_F(frmPendingBooksTest, PrintsTheListAsShown)
{
    open();
    QTest::keyClicks(window->findChild<QLineEdit *>("txtSearch1"), "asha");
    emit window->findChild<StyledButton *>("cmdPrint")->Click();
    Recordset rows = Module::CommonDb->query("SELECT * FROM Printing ORDER BY N1");
    QStringList printed;
    for (; !rows.eof(); rows.moveNext()) {
        printed << rows.text("T1") + "|" + rows.text("T2") + "|" + rows.text("T8") + "|" +
                       rows.text("T16") + "|" + rows.text("c4") + "|" + rows.text("N1");
        EXPECT_TRUE(rows.field("T11").isNull());
        EXPECT_TRUE(rows.field("c3").isNull());
    }
    EXPECT_EQ(printed, (QStringList{"10A|Algebra|05-Mar-26|PENDING BOOK LIST|Shimla|1",
                                    "10|Zoology|05-Mar-26|PENDING BOOK LIST|Shimla|2"}));
    auto *report = WindowRegistry::find<frmPrint1>("frmPrint1");
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->lblRPTFileName()->text().endsWith("/Reports/PendingBook.rpt"));

    // An empty list stages nothing and still shows the report.
    QTest::keyClicks(window->findChild<QLineEdit *>("txtSearch"), "x");
    emit window->findChild<StyledButton *>("cmdPrint")->Click();
    EXPECT_EQ(stagedRows(), 0);
}
