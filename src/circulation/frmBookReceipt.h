#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class DateBox;
class SearchPanel;
class StyledButton;

namespace CirculationRules {
struct CardDetail;
} // namespace CirculationRules

// BOOK RECEIPT: takes one lent book back from a card per save, with the days since the issue and
// the group's fine proposed, and corrects or deletes a return voucher that a list opened. The save
// button's caption is the window's mode: "&Save" for a new return, "&Update" for a loaded one.
class frmBookReceipt : public QWidget
{
    Q_OBJECT

public:
    explicit frmBookReceipt(QWidget *parent = nullptr);

    static constexpr const char *EntryName = "Book Receipt";

    // Hides the card panel, else the book panel, else closes the window.
    void GetCloseForm();
    // Today into the date picker.
    void datepickaa();
    // Card look-up of the typed card number.
    void GetCardDetail();
    // The next return serial number into txtSrNo.
    void GetSrNo();
    // Look-up of the typed accession number among the lent copies, with days and fine proposed.
    void GetBookDetail();
    void GetSavedRecord();
    void GetCleanBox();
    // False (after its box) when a new return names a copy that is on the shelf.
    bool GetCheckBookStatus();
    // False (after its box) when a new return names a copy out on another card.
    bool GetCheckBookPerson();
    void LvLoadCardSerch();
    void LvLoadBookSerch();
    // Stages the return printout from the boxes as they stand.
    void GetPrintRecord();
    void GetUserPositionAdd();
    void GetUserPositionModify();

    // The return voucher loader's fill: the voucher under that key in "&Update" mode. A key that
    // names no return voucher changes nothing.
    void loadVoucher(double key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void installKeys();
    bool newReturnMode() const;
    void cmdDelete_Click();
    void cmdPrint_Click();
    void lblLedger_Click();
    void cardPicked(const QString &cardNo);
    void bookPicked(const QString &accessionNo);
    void showLookedUpCard(const CirculationRules::CardDetail &card);
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

    // A save in progress: a second Click (auto-repeat, a double-click reaching the button while
    // a box is open) must not start another.
    bool saving_ = false;
};
