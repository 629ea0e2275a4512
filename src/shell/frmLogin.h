#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <vector>

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

    // Lays the window out at its designed size, or scaled down as a whole to fit the room.
    void fitTo(QSize room);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdLogin_Click();
    void lblFacebook_Click(int index);
    bool keyPreview(class QKeyEvent *event);
    void fitToArea();

    struct Designed
    {
        QWidget *widget;
        QRect geometry;
        qreal pointSize;
    };

    QLineEdit *txtUserName;
    QLineEdit *txtPassword;
    QLineEdit *txtLoginID;
    StyledButton *cmdLogin;
    QLabel *lblLastLogin;
    QList<QLabel *> lblFacebook;
    QPixmap background_;
    std::vector<Designed> designed_;
    QSize designedSize_;
    qreal scale_ = 1.0;
    QPointer<QWidget> watchedArea_;
};
