#include "CirculationFixture.h"

#include "circulation/frmBookIssue.h"
#include "circulation/frmBookReceipt.h"

#include <QGroupBox>
#include <QLineEdit>

namespace {

class VoucherFormTest : public CirculationTest
{
protected:
    // The known text boxes in the order Tab visits them.
    static QStringList tabOrder(QWidget *window, const QStringList &known)
    {
        QStringList names;
        for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
            if (known.contains(w->objectName()))
                names << w->objectName();
        return names;
    }
    static QRect frame(QWidget *window, const char *name)
    {
        return window->findChild<QGroupBox *>(name)->geometry();
    }
};

} // namespace

// Both windows build the shared table; each keeps its own rows where its tab order had them.
TEST_F(VoucherFormTest, BothWindowsKeepTheirTabOrderAndLayout)
{
    const QStringList details = {
        "txtGroupName", "txtName",   "txtRollNo",    "txtContact1",  "txtContact2", "txtRemarks",
        "txtTitle",     "txtAuthor", "txtSubject",   "txtPublisher", "txtEdition",  "txtYear",
        "txtPages",     "txtVol",    "txtVoucherID", "txtCardID",    "txtGroupID",  "txtBookID"};
    const QStringList top = {"txtSrNo", "txtCardNo", "txtAccessionNo"};

    auto *issue = WindowRegistry::show<frmBookIssue>("frmBookIssue");
    ASSERT_TRUE(issue);
    EXPECT_EQ(tabOrder(issue, top + details), top + details);
    EXPECT_EQ(issue->size(), QSize(1008, 448));
    EXPECT_EQ(frame(issue, "fraForm"), QRect(8, 48, 992, 72));
    EXPECT_EQ(frame(issue, "Frame1"), QRect(8, 128, 488, 232));
    EXPECT_EQ(frame(issue, "Frame3"), QRect(504, 128, 496, 232));
    EXPECT_EQ(frame(issue, "Frame2"), QRect(8, 368, 992, 60));
    EXPECT_EQ(issue->findChild<QLineEdit *>("txtRemarks")->maxLength(), 32767);

    auto *receipt = WindowRegistry::show<frmBookReceipt>("frmBookReceipt");
    ASSERT_TRUE(receipt);
    const QStringList receiptOrder =
        top + QStringList{"txtDaysDelayed", "txtTotalFine", "txtFineReceiptNo", "txtRemarks1"} +
        details + QStringList{"txtIssueID"};
    EXPECT_EQ(tabOrder(receipt, receiptOrder), receiptOrder);
    EXPECT_EQ(receipt->size(), QSize(1008, 488));
    EXPECT_EQ(frame(receipt, "fraForm"), QRect(8, 48, 992, 120));
    EXPECT_EQ(frame(receipt, "Frame1"), QRect(8, 176, 488, 232));
    EXPECT_EQ(frame(receipt, "Frame3"), QRect(504, 176, 496, 232));
    EXPECT_EQ(frame(receipt, "Frame2"), QRect(8, 416, 992, 60));
    EXPECT_EQ(receipt->findChild<QLineEdit *>("txtRemarks")->maxLength(), 50);
}
