#include "admin/frmMail.h"

#include "admin/BackgroundWork.h"
#include "controls/button/StyledButton.h"
#include "core/Dialogs.h"
#include "core/MailTransport.h"
#include "core/Module.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProgressBar>

using FormBuilder::kind;

namespace {

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

} // namespace

frmMail::frmMail(QWidget *parent) : QWidget(parent), work_(new BackgroundWork(this))
{
    setWindowTitle(QStringLiteral("E-MAIL"));
    buildControls();
    KeyPreview::install(this, [this](QKeyEvent *event) {
        if (event->key() != Qt::Key_Escape)
            return false;
        closeWindow();
        return true;
    });
    KeyPreview::installEnterChain(this, {txtTo, txtSubject, cmdSend});
    txtTo->setFocus();
}

void frmMail::buildControls()
{
    FormBuilder::setClientSize(this, 7200, 5700);
    setFixedSize(size());
    FormBuilder::build(this, {
                                 {kind<QLabel>(), "lblFrom", "", 240, 180, 6720, 300},
                                 {kind<QLabel>(), "lblTo", "To", 240, 660, 1300, 300},
                                 {kind<QLineEdit>(), "txtTo", "", 1560, 630, 5400, 330},
                                 {kind<QLabel>(), "lblSubject", "Subject", 240, 1110, 1300, 300},
                                 {kind<QLineEdit>(), "txtSubject", "", 1560, 1080, 5400, 330},
                                 {kind<QLabel>(), "lblMessage", "Message", 240, 1560, 1300, 300},
                                 {kind<QPlainTextEdit>(), "txtMessage", "", 1560, 1530, 5400, 1500},
                                 {kind<QLabel>(), "lblAttach", "Attachments", 240, 3180, 1300, 300},
                                 {kind<QListWidget>(), "lvAttach", "", 1560, 3150, 5400, 1050},
                                 {kind<QProgressBar>(), "prgSending", "", 240, 4500, 3000, 270},
                                 {kind<StyledButton>(), "cmdSend", "", 3480, 4950, 1620, 540},
                                 {kind<StyledButton>(), "cmdClose", "", 5340, 4950, 1620, 540},
                             });
    txtTo = findChild<QLineEdit *>("txtTo");
    txtSubject = findChild<QLineEdit *>("txtSubject");
    txtMessage = findChild<QPlainTextEdit *>("txtMessage");
    lvAttach = findChild<QListWidget *>("lvAttach");
    prgSending = findChild<QProgressBar *>("prgSending");
    cmdSend = findChild<StyledButton *>("cmdSend");
    cmdClose = findChild<StyledButton *>("cmdClose");

    findChild<QLabel *>("lblFrom")->setText(QStringLiteral("From : ") +
                                            Module::CurrentCompanyEmail);
    txtSubject->setText(QStringLiteral("Backup of ") + Module::CurrentCompanyName);
    txtMessage->setPlainText(QStringLiteral("Kindly find attached the backup of the library "
                                            "data of ") +
                             Module::CurrentCompanyName + QLatin1Char('.'));
    prgSending->setRange(0, 0);
    prgSending->setTextVisible(false);
    prgSending->hide();
    cmdSend->setCaption(QStringLiteral("&Send"));
    cmdClose->setCaption(QStringLiteral("&Close"));
    connect(cmdSend, &StyledButton::Click, this, &frmMail::cmdSend_Click);
    connect(cmdClose, &StyledButton::Click, this, &frmMail::closeWindow);
}

void frmMail::addAttachment(const QString &path)
{
    lvAttach->addItem(path);
}

bool frmMail::sending() const
{
    return work_->running();
}

void frmMail::cmdSend_Click()
{
    if (work_->running())
        return;
    const QString example = MailProviders::exampleAddress();
    const QString sender = Module::CurrentCompanyEmail;
    const auto provider = MailProviders::forSender(sender);
    if (!provider || hasLineBreak(sender)) {
        Dialogs::message(QStringLiteral("Email address is not a valid gmail address. Please enter "
                                        "correct gmail address like ") +
                             example + QLatin1Char('.'),
                         Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return;
    }
    const QString receiver = txtTo->text().trimmed();
    if (!receiver.contains(QLatin1Char('@')) || hasLineBreak(receiver)) {
        Dialogs::message(QStringLiteral("Receiver's email address is not a valid email address. "
                                        "Please enter correct address like ") +
                             example + QLatin1Char('.'),
                         Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        txtTo->setFocus();
        return;
    }
    if (lvAttach->count() == 0) {
        Dialogs::message(QStringLiteral("Nothing to send: no file is attached."),
                         Dialogs::Buttons::Ok, Dialogs::Icon::Information, QString());
        return;
    }

    QList<MailMessage> messages;
    try {
        MailMessage mail = MailMessage::fromCompany(provider->host, sender);
        mail.toAddress = receiver;
        mail.body = txtMessage->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        for (int i = 0; i < lvAttach->count(); ++i) {
            mail.attachmentPath = lvAttach->item(i)->text();
            mail.subject = lvAttach->count() == 1
                               ? txtSubject->text()
                               : txtSubject->text() + QStringLiteral(" (") +
                                     QFileInfo(mail.attachmentPath).fileName() + QLatin1Char(')');
            messages << mail;
        }
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                         QString());
        return;
    }

    setSending(true);
    work_->start(
        [messages] {
            for (const MailMessage &message : messages)
                MailTransport::current().send(message);
        },
        [this](const BackgroundWork::Outcome &failure) {
            setSending(false);
            if (failure) {
                Dialogs::message(
                    QStringLiteral("An error occoured when sending email. Please try again.\r\n"
                                   "And please also check for right gmail address & "
                                   "password.\r\n\r\n") +
                        failure->boxText(),
                    Dialogs::Buttons::Ok, Dialogs::Icon::Critical, QStringLiteral("Error"));
                return;
            }
            Dialogs::message(QStringLiteral("Email(s) sent sucessfully."), Dialogs::Buttons::Ok,
                             Dialogs::Icon::Information, QStringLiteral("Sucess"));
        });
}

void frmMail::setSending(bool sending)
{
    prgSending->setVisible(sending);
    cmdSend->setEnabled(!sending);
    cmdClose->setEnabled(!sending);
    if (sending)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void frmMail::closeEvent(QCloseEvent *event)
{
    // A message on its way is not cut off.
    if (work_->running()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void frmMail::closeWindow()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}
