#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class DateBox;
class SearchPanel;
class StyledButton;

// BOOK ISSUE: lends one book on one library card per save, and corrects or deletes an issue
// voucher that a list opened. The save button's caption is the window's mode: "&Save" for a new
// issue, "&Update" for a loaded voucher.
class frmBookIssue : public QWidget
{
    Q_OBJECT

public:
    explicit frmBookIssue(QWidget *parent = nullptr);

    static constexpr const char *EntryName = "Book Issue";

    // Hides the card panel, else the book panel, else closes the window.
    void GetCloseForm();
    void LvLoadCardSerch();
    void LvLoadBookSerch();
    // Today into the date picker.
    void datepickaa();
    // Card look-up of the typed card number, with the group's book limit.
    void GetCardDetail();
    // The next issue serial number into txtSrNo.
    void GetSrNo();
    // Book look-up of the typed accession number.
    void GetBookDetail();
    void GetSavedRecord();
    void GetCleanBox();
    // True when the typed copy may be lent (in "&Update" mode: unless out under another voucher).
    bool GetCheckBookStatus();
    // True when the card looked up last may take another book.
    bool GetCheckTotalIssBook();
    // Stages the issue printout from the boxes as they stand.
    void GetPrintRecord();
    void GetUserPositionAdd();
    void GetUserPositionModify();

    // The issue voucher loader's fill: the voucher under that key in "&Update" mode. A key that
    // names no issue voucher changes nothing.
    void loadVoucher(double key);

    int groupMaxBooks() const { return groupMaxBooks_; }
    int cardIssuedCount() const { return cardIssuedCount_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void installKeys();
    bool newIssueMode() const;
    double loadedVoucherKey() const;
    void cmdDelete_Click();
    void cmdPrint_Click();
    void lblLedger_Click();
    void cardPicked(const QString &cardNo);
    void bookPicked(const QString &accessionNo);
    QLineEdit *box(const char *name) const;

    DateBox *dtpDate = nullptr;
    QLineEdit *txtSrNo = nullptr;
    QLineEdit *txtCardNo = nullptr;
    QLineEdit *txtAccessionNo = nullptr;
    QLabel *lblLedger = nullptr;
    StyledButton *cmdsave = nullptr;
    StyledButton *cmdDelete = nullptr;
    StyledButton *cmdList = nullptr;
    StyledButton *cmdClose = nullptr;
    StyledButton *cmdPrint = nullptr;
    SearchPanel *fraSearch = nullptr;
    SearchPanel *fraSearch2 = nullptr;

    int groupMaxBooks_ = 0;
    int cardIssuedCount_ = 0;
    // A save in progress: a second Click (auto-repeat, a double-click reaching the button while
    // a box is open) must not start another.
    bool saving_ = false;
};

// The issue voucher loader the pending-books list, the issue register and the ledger call: the
// voucher whose key is in SelectedRecordID, in the issue window.
void LoadIssueVoucherForUpdate();
