#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;
class QLineEdit;
class StyledButton;

// The login window: a user name and a password against the open company's users; a successful
// login is logged, sets the login state, titles the main window and builds its ribbon menu.
class frmLogin : public QWidget
{
    Q_OBJECT

public:
    explicit frmLogin(QWidget *parent = nullptr);

    // Its designed size: the main window's area frames it at that size.
    QSize sizeHint() const override { return size(); }

    // Puts the next login number into txtLoginID.
    void loginida();
    // Shows the newest login of the company in lblLastLogin.
    void GetLoginDetail();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdLogin_Click();
    void lblFacebook_Click(int index);
    bool keyPreview(class QKeyEvent *event);

    QLineEdit *txtUserName;
    QLineEdit *txtPassword;
    QLineEdit *txtLoginID;
    StyledButton *cmdLogin;
    QLabel *lblLastLogin;
    QList<QLabel *> lblFacebook;
    QPixmap background_;
};
