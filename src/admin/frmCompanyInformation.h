#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class StyledButton;

// Company Information: the open company's name, address, city and contact number, and the mail
// sender account through which reports are mailed.
class frmCompanyInformation : public QWidget
{
    Q_OBJECT

public:
    explicit frmCompanyInformation(QWidget *parent = nullptr);

    // Fills the boxes from the company row (the last row read wins).
    void LvLoad();

    static constexpr int MaxTyped = 50;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void installKeys();
    void cmdApply_Click();
    void cmdSee_Click();
    void lblLink_Click();
    void closeWindow();

    QLineEdit *txtCompanyName = nullptr;
    QLineEdit *txtAddress = nullptr;
    QLineEdit *txtCity = nullptr;
    QLineEdit *txtPhone = nullptr;
    QLineEdit *txtEmail = nullptr;
    QLineEdit *txtPassword = nullptr;
    StyledButton *cmdApply = nullptr;
    StyledButton *cmdSee = nullptr;
    QLabel *lblLink = nullptr;
};
