#pragma once

#include <QWidget>

class BackgroundWork;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class StyledButton;

// E-MAIL: sends the files listed under the attachments from the company's sender account, one
// message for each file. The backup window lists its archive here.
class frmMail : public QWidget
{
    Q_OBJECT

public:
    explicit frmMail(QWidget *parent = nullptr);

    // Adds a file as a new entry of the attachment list.
    void addAttachment(const QString &path);
    bool sending() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void cmdSend_Click();
    void setSending(bool sending);
    void closeWindow();

    QLineEdit *txtTo = nullptr;
    QLineEdit *txtSubject = nullptr;
    QPlainTextEdit *txtMessage = nullptr;
    QListWidget *lvAttach = nullptr;
    QProgressBar *prgSending = nullptr;
    StyledButton *cmdSend = nullptr;
    StyledButton *cmdClose = nullptr;
    BackgroundWork *work_ = nullptr;
};
