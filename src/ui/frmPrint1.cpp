#include "ui/frmPrint1.h"

#include "core/Dialogs.h"
#include "core/MailTransport.h"
#include "core/Module.h"
#include "core/report/Report.h"
#include "core/report/ReportFiles.h"
#include "core/report/ReportOutput.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"
#include "ui/PathLabel.h"
#include "ui/ReportPrinter.h"
#include "ui/ReportViewer.h"
#include "ui/WindowRegistry.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>

namespace {

const QString LabelPrefix = QStringLiteral("RPT File :");
constexpr int ViewerTopTwips = 720;
// Where the button row ends (Close's right edge) and the margin kept beyond it.
constexpr int ButtonRowRightTwips = 14400 + 1275;
constexpr int RowMarginTwips = 225;

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

void errorBox(const AppError &error)
{
    Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information, QString());
}

void mailFailureBox()
{
    Dialogs::message(QStringLiteral("An error occoured when sending email. Please try again.\r\n"
                                    "And please also check for right gmail address & password."),
                     Dialogs::Buttons::Ok, Dialogs::Icon::Critical, QStringLiteral("Error"));
}

} // namespace

frmPrint1::frmPrint1(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("PRINT PREVIEW"));
    using FormBuilder::kind;
    FormBuilder::build(
        this,
        {
            {kind<PathLabel>(), QStringLiteral("lblRPTFileName"), LabelPrefix, 120, 300, 7100, 285},
            {kind<QPushButton>(), QStringLiteral("cmdPrint"), QStringLiteral("&Print"), 7320, 250,
             1275, 375},
            {kind<QPushButton>(), QStringLiteral("cmdPrinterSetup"),
             QStringLiteral("Printer Setup"), 8640, 250, 1515, 375},
            {kind<QPushButton>(), QStringLiteral("cmdWhatsapp"), QStringLiteral("&Whatsapp"), 10200,
             250, 1515, 375},
            {kind<QPushButton>(), QStringLiteral("cmdPDF"), QStringLiteral("PDF &File"), 11760, 250,
             1275, 375},
            {kind<QPushButton>(), QStringLiteral("cmdEmail"), QStringLiteral("&Email"), 13080, 255,
             1275, 375},
            {kind<QPushButton>(), QStringLiteral("cmdClose"), QStringLiteral("&Close"), 14400, 250,
             1275, 375},
            {kind<QFrame>(), QStringLiteral("fraHidden"), QString(), 0, 0, 1500, 1500},
            {kind<QLineEdit>(), QStringLiteral("fraHidden/txtToEmail"), QString(), 0, 0, 1500, 285},
            {kind<QLineEdit>(), QStringLiteral("fraHidden/txtMobile"), QString(), 0, 300, 1500,
             285},
            {kind<QLineEdit>(), QStringLiteral("fraHidden/txtDetails"), QString(), 0, 600, 1500,
             285},
            {kind<QLineEdit>(), QStringLiteral("fraHidden/txtBrandingWebsite"), QString(), 0, 900,
             1500, 285},
        });
    lblRPTFileName_ = findChild<QLabel *>(QStringLiteral("lblRPTFileName"));
    cmdPrint_ = findChild<QPushButton *>(QStringLiteral("cmdPrint"));
    cmdEmail_ = findChild<QPushButton *>(QStringLiteral("cmdEmail"));
    txtToEmail_ = findChild<QLineEdit *>(QStringLiteral("txtToEmail"));
    txtMobile_ = findChild<QLineEdit *>(QStringLiteral("txtMobile"));
    txtDetails_ = findChild<QLineEdit *>(QStringLiteral("txtDetails"));
    txtBrandingWebsite_ = findChild<QLineEdit *>(QStringLiteral("txtBrandingWebsite"));
    for (QLineEdit *box : {txtToEmail_, txtMobile_, txtDetails_, txtBrandingWebsite_})
        box->hide();
    findChild<QFrame *>(QStringLiteral("fraHidden"))->hide();
    lblRPTFileName_->installEventFilter(this);
    lblRPTFileName_->setTextFormat(Qt::PlainText);

    for (const char *name :
         {"cmdPrint", "cmdPrinterSetup", "cmdWhatsapp", "cmdPDF", "cmdEmail", "cmdClose"}) {
        auto *rowButton = findChild<QPushButton *>(QLatin1String(name));
        buttonRow_.append({rowButton, rowButton->x()});
    }
    labelWidth_ = lblRPTFileName_->width();

    CRViewer1_ = new ReportViewer(this);
    CRViewer1_->setObjectName(QStringLiteral("CRViewer1"));

    auto button = [this](const char *name) {
        return findChild<QPushButton *>(QLatin1String(name));
    };
    connect(cmdPrint_, &QPushButton::clicked, this, &frmPrint1::cmdPrint_Click);
    connect(button("cmdPrinterSetup"), &QPushButton::clicked, this,
            &frmPrint1::cmdPrinterSetup_Click);
    connect(button("cmdWhatsapp"), &QPushButton::clicked, this, &frmPrint1::GetSendDirectWhatsapp);
    connect(button("cmdPDF"), &QPushButton::clicked, this, &frmPrint1::cmdPDF_Click);
    connect(button("cmdEmail"), &QPushButton::clicked, this, &frmPrint1::GetSendToEmail);
    connect(button("cmdClose"), &QPushButton::clicked, this, [this] {
        if (auto *frame = parentWidget(); frame && frame->inherits("QMdiSubWindow"))
            frame->close();
        else
            close();
    });
    KeyPreview::installEscClose(this);
    FormBuilder::setClientSize(this, 15900, 10500);
}

void frmPrint1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeButtonRow();
    const int top = Units::twipsToPixels(ViewerTopTwips);
    CRViewer1_->setGeometry(0, top, width(), std::max(0, height() - top));
}

// The window fills the main window's area, which on a 1024x768 screen is narrower than the button
// row was laid out for: the row then moves left so that Close stays whole, and the label gives up
// the room.
void frmPrint1::placeButtonRow()
{
    const int shift =
        std::max(0, Units::twipsToPixels(ButtonRowRightTwips + RowMarginTwips) - width());
    for (const auto &[button, left] : std::as_const(buttonRow_))
        button->move(left - shift, button->y());
    lblRPTFileName_->resize(std::max(0, labelWidth_ - shift), lblRPTFileName_->height());
}

bool frmPrint1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblRPTFileName_ && event->type() == QEvent::MouseButtonDblClick) {
        lblRPTFileName_DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QString frmPrint1::templatePath() const
{
    return QString(lblRPTFileName_->text()).remove(LabelPrefix, Qt::CaseSensitive);
}

std::shared_ptr<const ReportDocument> frmPrint1::commonStart() const
{
    Report report = Report::open(templatePath());
    // The sticker template's rows lie in the sticker table; every other template prints the
    // staged rows.
    const bool stickers = Module::StickerDb && !report.layout().database.isEmpty() &&
                          report.ownDatabase() == Module::StickerDb;
    Database &database = stickers ? *Module::StickerDb : Module::open(Module::CommonDb);
    Recordset records = database.query(stickers ? QStringLiteral("SELECT * FROM Cake")
                                                : QStringLiteral("SELECT * FROM Printing"));
    report.setDataSource(records);
    return report.document();
}

void frmPrint1::cmdPrint_Click()
{
    try {
        const auto document = commonStart();
        QPrinter printer(QPrinter::HighResolution);
        ReportPrinter::preparePrinter(printer, *document);
        ReportPrinter::print(*document, printer);
    } catch (const AppError &error) {
        errorBox(error);
    }
}

void frmPrint1::cmdPrinterSetup_Click()
{
    try {
        const auto document = commonStart();
        QPrinter printer(QPrinter::HighResolution);
        ReportPrinter::preparePrinter(printer, *document);
        // Without a printer the set-up would offer only Qt's own print to a file.
        ReportPrinter::requirePrinter();
        // A cancelled set-up still prints, on the printer it had.
        Dialogs::service().printSetup(&printer, this);
        ReportPrinter::print(*document, printer);
    } catch (const AppError &error) {
        errorBox(error);
    }
}

void frmPrint1::cmdPDF_Click()
{
    try {
        ReportFiles::pdfFolder();
        const auto document = commonStart();
        const QString path = ReportFiles::pdfPath();
        ReportOutput::exportPdf(*document, path);
        Dialogs::openSavedFile(path);
    } catch (const AppError &error) {
        errorBox(error);
    }
}

void frmPrint1::lblRPTFileName_DblClick()
{
    // Opening the template is a maintainer's door: a wrong code says nothing.
    if (Dialogs::service().input(QStringLiteral("Enter Password"), QString(), QString()) ==
        QLatin1String("wisp"))
        Dialogs::service().openWithDesktop(templatePath());
}

void frmPrint1::GetSendToEmail()
{
    if (sending_)
        return; // one mail at a time from the window; its button is off meanwhile
    try {
        ReportFiles::pdfFolder();
        const auto document = commonStart();
        const QString path = ReportFiles::pdfPath();
        ReportOutput::exportPdf(*document, path);
        attachmentPath_ = path;
    } catch (const AppError &error) {
        errorBox(error);
        return;
    }
    if (txtToEmail_->text().isEmpty()) {
        const QString answer = Dialogs::service().input(QStringLiteral("Enter Email ID"),
                                                        QStringLiteral("Email ID"), QString());
        if (!answer.isEmpty())
            txtToEmail_->setText(answer);
    }
    SendMailmod();
}

void frmPrint1::SendMailmod()
{
    const QString example = MailProviders::exampleAddress();
    try {
        const QString receiver = txtToEmail_->text();
        if (receiver.isEmpty())
            Dialogs::message(
                QStringLiteral("No Email ID given for ") + receiver +
                QStringLiteral("\rWould you like to define Email ID in Account master....?"));
        const QString sender = Module::CurrentCompanyEmail;
        const auto provider = MailProviders::forSender(sender);
        if (!provider || hasLineBreak(sender)) {
            Dialogs::message(
                QStringLiteral("Email address is not a valid gmail address. Please enter "
                               "correct gmail address like ") +
                    example + QLatin1Char('.'),
                Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
            return;
        }
        if (!receiver.contains(QLatin1Char('@')) || hasLineBreak(receiver)) {
            Dialogs::message(
                QStringLiteral("Receiver's email address is not a valid email address. "
                               "Please enter correct address like ") +
                    example + QLatin1Char('.'),
                Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
            return;
        }
        MailMessage mail = MailMessage::fromCompany(provider->host, sender);
        mail.toName = QStringLiteral("Hello");
        mail.toAddress = receiver;
        mail.subject = QStringLiteral("Kindly Find Attached herewith ");
        mail.body = QStringLiteral("Kindly Find Attached here with\r\n\r\n......");
        mail.attachmentPath = attachmentPath_;
        // The window's thread never waits on the network: the mail goes out beside it, and the
        // window shows that it is sending until the answer comes.
        showSending(true);
        QPointer<frmPrint1> self(this);
        MailTransport::sendBeside(mail, [self](const std::optional<AppError> &failure) {
            if (self)
                self->showSending(false);
            if (failure)
                mailFailureBox();
            else
                Dialogs::message(QStringLiteral("Email(s) sent sucessfully."), Dialogs::Buttons::Ok,
                                 Dialogs::Icon::Information, QStringLiteral("Sucess"));
        });
    } catch (const AppError &) {
        mailFailureBox();
    }
}

void frmPrint1::showSending(bool sending)
{
    sending_ = sending;
    cmdEmail_->setEnabled(!sending);
    cmdEmail_->setText(sending ? QStringLiteral("Sending...") : QStringLiteral("&Email"));
    if (sending)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void frmPrint1::PartnerInfo()
{
    Recordset develop =
        Module::open(Module::PackageDb).query(QStringLiteral("SELECT * FROM Develop"));
    txtBrandingWebsite_->setText(develop.eof() ? QString()
                                               : develop.text(QStringLiteral("Website")));
    txtDetails_->setText(develop.eof() ? QString() : develop.text(QStringLiteral("OM3")));
}

QString frmPrint1::messagingText() const
{
    QStringList lines{QStringLiteral("File has been Generated To"), QString(),
                      QStringLiteral("From :-")};
    Recordset company =
        Module::open(Module::CompanyDb).query(QStringLiteral("SELECT * FROM Company"));
    if (company.eof()) {
        lines << QString();
    } else {
        lines << QLatin1Char('*') + company.text(QStringLiteral("CompanyName")) + QLatin1Char('*')
              << company.text(QStringLiteral("Address"))
              << company.text(QStringLiteral("Address2"));
        const QString mobile = company.text(QStringLiteral("mobile"));
        if (!mobile.isEmpty())
            lines << QStringLiteral("Contact : *") + mobile + QLatin1Char('*');
    }
    const QString website = txtBrandingWebsite_->text();
    lines << txtDetails_->text() << QString()
          << QStringLiteral("Whatsapp Send Through : ") + Dialogs::programTitle()
          << (website.isEmpty() ? QStringLiteral("LibraryDesk - library management for schools")
                                : website);
    // The sender program reads a backslash and an n as a line break.
    return lines.join(QStringLiteral("\\n"));
}

void frmPrint1::GetSendDirectWhatsapp()
{
    try {
        if (!QFileInfo(Module::programPath(QStringLiteral("wa/WaDB.mdb"))).isFile()) {
            Dialogs::information(
                QStringLiteral("Wa Folder doesn't exist in your application Folder\r\r"
                               "Consult your software vendor for more details"));
            return;
        }
        const QString number =
            Dialogs::service().input(QStringLiteral("Enter Whatsapp Without CountryCode"),
                                     QStringLiteral("Whatsapp No."), txtMobile_->text());
        if (number.isEmpty())
            return;
        txtMobile_->setText(number);
        PartnerInfo();
        Database &messaging = Module::open(Module::WhatsAppDb);

        const auto document = commonStart();
        QString digits;
        for (const QChar c : number)
            if (c.isDigit() && c.unicode() < 128)
                digits += c;
        const QString path = ReportFiles::pdfPath(QLatin1Char('_') + digits);
        ReportOutput::exportPdf(*document, path);
        const QString text = messagingText();

        Transaction transaction(messaging);
        messaging.execute(QStringLiteral("DELETE FROM wa"));
        messaging.execute(
            QStringLiteral("INSERT INTO wa (T1, wanumber, M1, Msg) VALUES (?, ?, ?, ?)"),
            {QStringLiteral("N/A"), QStringLiteral("91") + number, path, text});
        transaction.commit();

        const QString program = Module::programPath(QStringLiteral("wa/wa"));
        if (!Dialogs::service().startProgram(program, {},
                                             Module::programPath(QStringLiteral("wa"))))
            throw AppError(53, QStringLiteral("File not found: %1").arg(program));
    } catch (const AppError &error) {
        Dialogs::message(error.boxText());
    }
}

void registerReportWindow()
{
    WindowRegistry::registerWindow(
        QStringLiteral("frmPrint1"), [] { return new frmPrint1; }, WindowRegistry::Placement::Fill);
}
