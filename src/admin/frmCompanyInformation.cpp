#include "admin/frmCompanyInformation.h"

#include "admin/AdminSettings.h"
#include "controls/button/StyledButton.h"
#include "core/Colour.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>

using FormBuilder::kind;

frmCompanyInformation::frmCompanyInformation(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Company Information"));
    buildControls();
    installKeys();
    LvLoad();
    txtCompanyName->setFocus();
}

void frmCompanyInformation::buildControls()
{
    FormBuilder::setClientSize(this, 6600, 5400);
    setFixedSize(size());
    FormBuilder::build(
        this, {
                  {kind<QLabel>(), "lblHeading", "LIBRARY INFO", 240, 150, 6120, 450},
                  {kind<QLabel>(), "lblCompanyName", "Library Name", 240, 780, 2000, 300},
                  {kind<QLineEdit>(), "txtCompanyName", "", 2280, 750, 4080, 330},
                  {kind<QLabel>(), "lblAddress", "Address", 240, 1230, 2000, 300},
                  {kind<QLineEdit>(), "txtAddress", "", 2280, 1200, 4080, 330},
                  {kind<QLabel>(), "lblCity", "City", 240, 1680, 2000, 300},
                  {kind<QLineEdit>(), "txtCity", "", 2280, 1650, 4080, 330},
                  {kind<QLabel>(), "lblPhone", "Contact No.", 240, 2130, 2000, 300},
                  {kind<QLineEdit>(), "txtPhone", "", 2280, 2100, 4080, 330},
                  {kind<QLabel>(), "lblEmail", "Gmail ID (Sender)", 240, 2730, 2000, 300},
                  {kind<QLineEdit>(), "txtEmail", "", 2280, 2700, 4080, 330},
                  {kind<QLabel>(), "lblPassword", "Gmail A/c Password", 240, 3180, 2000, 300},
                  {kind<QLineEdit>(), "txtPassword", "", 2280, 3150, 3540, 330},
                  {kind<StyledButton>(), "cmdSee", "", 5910, 3120, 450, 390},
                  {kind<QLabel>(), "lblLink", "Click here to Gmail Setting", 2280, 3630, 4080, 300},
                  {kind<StyledButton>(), "cmdApply", "", 4560, 4320, 1800, 540},
              });

    txtCompanyName = findChild<QLineEdit *>("txtCompanyName");
    txtAddress = findChild<QLineEdit *>("txtAddress");
    txtCity = findChild<QLineEdit *>("txtCity");
    txtPhone = findChild<QLineEdit *>("txtPhone");
    txtEmail = findChild<QLineEdit *>("txtEmail");
    txtPassword = findChild<QLineEdit *>("txtPassword");
    cmdApply = findChild<StyledButton *>("cmdApply");
    cmdSee = findChild<StyledButton *>("cmdSee");
    lblLink = findChild<QLabel *>("lblLink");

    FormBuilder::setHeading(findChild<QLabel *>("lblHeading"), 14, 0x8B4513);

    for (QLineEdit *box : {txtCompanyName, txtAddress, txtCity, txtPhone, txtEmail, txtPassword})
        box->setMaxLength(MaxTyped);
    // The password shows as stars, not the style's dots.
    txtPassword->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    txtPassword->setEchoMode(QLineEdit::Password);

    cmdSee->setPicture(ButtonPicture::fromIcon(QIcon(QStringLiteral(":/admin/eye.png"))));
    cmdSee->setToolTip(QStringLiteral("Show or hide the password"));
    cmdApply->setCaption(QStringLiteral("&Apply"));

    QFont linkFont = lblLink->font();
    linkFont.setUnderline(true);
    lblLink->setFont(linkFont);
    QPalette linkPalette = lblLink->palette();
    linkPalette.setColor(QPalette::WindowText, Colour::toQColor(0xC00000));
    lblLink->setPalette(linkPalette);
    lblLink->setCursor(Qt::PointingHandCursor);
    lblLink->installEventFilter(this);

    connect(cmdApply, &StyledButton::Click, this, &frmCompanyInformation::cmdApply_Click);
    connect(cmdSee, &StyledButton::Click, this, &frmCompanyInformation::cmdSee_Click);
}

void frmCompanyInformation::installKeys()
{
    KeyPreview::install(this, [this](QKeyEvent *event) {
        if (event->key() != Qt::Key_Escape)
            return false;
        closeWindow();
        return true;
    });
    KeyPreview::installEnterChain(
        this, {txtCompanyName, txtAddress, txtCity, txtPhone, txtEmail, txtPassword, cmdApply});
}

void frmCompanyInformation::LvLoad()
{
    // Loading has no message of its own: without a company the boxes stay as they are.
    try {
        for (Recordset rs =
                 Module::open(Module::CompanyDb).query(QStringLiteral("SELECT * FROM Company"));
             !rs.eof(); rs.moveNext()) {
            txtCompanyName->setText(rs.text(QStringLiteral("CompanyName")));
            txtAddress->setText(rs.text(QStringLiteral("Address")));
            txtCity->setText(rs.text(QStringLiteral("city")));
            txtPhone->setText(rs.text(QStringLiteral("phone")));
            txtEmail->setText(rs.text(QStringLiteral("OT3")));
            txtPassword->setText(rs.text(QStringLiteral("OT4")));
        }
    } catch (const AppError &) {
    }
}

void frmCompanyInformation::cmdApply_Click()
{
    try {
        // Every row of the table takes the values: the company database describes one company.
        Module::open(Module::CompanyDb)
            .execute(QStringLiteral("UPDATE Company SET CompanyName = ?, Address = ?, city = ?, "
                                    "phone = ?, OT3 = ?, OT4 = ?"),
                     {txtCompanyName->text(), txtAddress->text(), txtCity->text(), txtPhone->text(),
                      txtEmail->text(), txtPassword->text()});
    } catch (const AppError &error) {
        Dialogs::message(error.description() + QStringLiteral(" \r\n"), Dialogs::Buttons::Ok,
                         Dialogs::Icon::Information, QString());
        return;
    }
    Module::CurrentCompanyEmail = txtEmail->text();
    Dialogs::message(QStringLiteral("Company Update"), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Information);
}

void frmCompanyInformation::cmdSee_Click()
{
    txtPassword->setEchoMode(txtPassword->echoMode() == QLineEdit::Password ? QLineEdit::Normal
                                                                            : QLineEdit::Password);
}

void frmCompanyInformation::lblLink_Click()
{
    Dialogs::service().openWithDesktop(AdminSettings::mailSettingsLink());
}

bool frmCompanyInformation::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblLink && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        lblLink_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmCompanyInformation::closeWindow()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}
