#pragma once

#include "admin/CompanyCreation.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class DateBox;
class StyledButton;

// CREATE COMPANY: collects a new company's details, its financial year and first user, and creates
// it. Every way out but a click on the picture leads back to the company picker.
class frmCreateCompany : public QWidget
{
    Q_OBJECT

public:
    explicit frmCreateCompany(QWidget *parent = nullptr);

    // The data root into labpath.
    void pathload();
    // The proposed company number into labcompanyid.
    void ida();
    // Appends the state names to the state box's list.
    void StateLoad();

    // The picker the window leads back to.
    static constexpr const char *PickerName = "frmCompanyList";
    // The one-character first user and password the window proposes.
    static constexpr const char *DefaultUserName = "a";
    static constexpr const char *DefaultPassword = "1";

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void fitStateBox();
    void proposeFinancialYear();
    void installKeys();
    bool stateKey(QKeyEvent *event);
    void completeState(const QString &text);
    void cmdsave_Click();
    CompanyCreation::Entries entries() const;
    // Closes the window, showing the picker again or not.
    void closeWindow(bool showPicker);

    QLineEdit *txtCompanyName = nullptr;
    QComboBox *txtState = nullptr;
    QLineEdit *txtstatecode = nullptr;
    QLineEdit *txtMobile = nullptr;
    QLineEdit *txtGSTNo = nullptr;
    QLineEdit *txtpanno = nullptr;
    QLineEdit *txtPassword = nullptr;
    DateBox *DTPicker1 = nullptr;
    DateBox *DTPicker2 = nullptr;
    QLabel *labpath = nullptr;
    QLabel *labcompanyid = nullptr;
    QLabel *Image1 = nullptr;
    StyledButton *cmdsave = nullptr;
    StyledButton *cmdClose = nullptr;

    // While not zero the state box does not complete: its own rewrite must not complete again,
    // and Backspace must be able to remove a completed part.
    int completionGuard_ = 0;
    bool fillingStateList_ = false;
    bool showPickerOnClose_ = true;
};
