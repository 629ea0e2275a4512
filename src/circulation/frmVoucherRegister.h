#pragma once

#include "circulation/VoucherRegister.h"

#include <QWidget>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class DateBox;
class RecordList;
class StyledButton;

// The issue register (frmBookIssueRegister, "BOOK ISSUE REGISTER") and the return register
// (frmBookReceiptRegister, "BOOK RECEIPT REGISTER"): one window configured by its kind. It lists
// the vouchers of a date range within the financial year under two column filters, with their
// count; a row opens its voucher in the issue or return window, and the list as shown prints.
class frmVoucherRegister : public QWidget
{
    Q_OBJECT

public:
    explicit frmVoucherRegister(VoucherRegister::Kind kind, QWidget *parent = nullptr);

    VoucherRegister::Kind voucherKind() const { return kind_; }

    // Rebuilds the list from the pickers and the filters and sets the count.
    Q_INVOKABLE void Lv1Load();
    // The pickers' limits from the financial year.
    Q_INVOKABLE void datepickaa();
    // Both pickers to the latest voucher's date (today without one), where the limits allow it.
    Q_INVOKABLE void maxdaterecord();

private:
    void buildControls();
    void installKeys();
    void cmdPrint_Click();
    void closeWindow();
    // The typed range; nothing after a box has said why its date cannot be used.
    std::optional<VoucherRegister::DateRange> pickedRange();

    VoucherRegister::Kind kind_;
    QLabel *lblHeader = nullptr;
    DateBox *dtpFromDate = nullptr;
    DateBox *dtpToDate = nullptr;
    StyledButton *cmdOK = nullptr;
    RecordList *Lv1 = nullptr;
    QComboBox *cboSearch = nullptr;
    QComboBox *cboSearch1 = nullptr;
    QLineEdit *txtSearch = nullptr;
    QLineEdit *txtSearch1 = nullptr;
    QLineEdit *txtV1 = nullptr;
};
