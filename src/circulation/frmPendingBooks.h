#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class RecordList;
class StyledButton;

// PENDING BOOK LIST: every book that is out, under two column filters, with its count; a row opens
// its issue voucher in the issue window, and the list as shown can be printed.
class frmPendingBooks : public QWidget
{
    Q_OBJECT

public:
    explicit frmPendingBooks(QWidget *parent = nullptr);

    // Rebuilds the list from the two filters and sets the count.
    void Lv1Load();

private:
    void buildControls();
    void cmdPrint_Click();
    void closeWindow();

    QLabel *lblHeader = nullptr;
    RecordList *Lv1 = nullptr;
    QComboBox *cboSearch = nullptr;
    QComboBox *cboSearch1 = nullptr;
    QLineEdit *txtSearch = nullptr;
    QLineEdit *txtSearch1 = nullptr;
    QLineEdit *txtV1 = nullptr;
};
