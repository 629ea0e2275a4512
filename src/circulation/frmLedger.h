#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class DateBox;
class RecordList;
class SearchPanel;
class StyledButton;

// LEDGER: one card's issues between two dates, each beside the return that closed it; a row opens
// its issue voucher, and the list as shown prints. Other windows open it for a card by writing
// txtCardNo and calling GetCardDetail, then Lv1Load.
class frmLedger : public QWidget
{
    Q_OBJECT

public:
    explicit frmLedger(QWidget *parent = nullptr);

    // Hides the card search panel, else closes the window.
    Q_INVOKABLE void GetCloseForm();
    // Today into both pickers.
    Q_INVOKABLE void datepickaa();
    // Looks up the card number in txtCardNo; the card found becomes the one Lv1Load lists.
    Q_INVOKABLE void GetCardDetail();
    // Rebuilds the list for the card found last and the pickers' range.
    Q_INVOKABLE void Lv1Load();
    Q_INVOKABLE void LvLoadCardSerch();

private:
    void buildControls();
    void installKeys();
    void cmdPrint_Click();
    void cardPicked(const QString &cardNo);

    QLineEdit *txtCardNo = nullptr;
    QLineEdit *txtCardID = nullptr;
    QLabel *lblName = nullptr;
    QLabel *lblRollNo = nullptr;
    DateBox *dtpFromDate = nullptr;
    DateBox *dtpToDate = nullptr;
    StyledButton *cmdOK = nullptr;
    RecordList *Lv1 = nullptr;
    SearchPanel *fraSearch = nullptr;
};
