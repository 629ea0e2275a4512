#include "LocalSmtpServer.h"
#include "ProgramTest.h"
#include "ReportSamples.h"

#include "core/Module.h"
#include "core/report/ReportFiles.h"
#include "platform/SmtpMail.h"
#include "ui/ReportHandOver.h"
#include "ui/WindowRegistry.h"
#include "ui/frmPrint1.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTest>

class ReportMailTest : public ProgramTest
{
protected:
    std::unique_ptr<LocalSmtpServer> server;
    frmPrint1 *window = nullptr;

    void SetUp() override
    {
        ProgramTest::SetUp();
        openApplicationDatabases();
        makeCompany(path("Data/Data 1"));
        ReportSamples::addCompany();
        registerReportWindow();
        server = std::make_unique<LocalSmtpServer>();
        MailTransport::install(
            std::make_unique<SmtpMail>(SmtpMail::Redirect{"127.0.0.1", server->port()}));
        Module::CurrentCompanyName = "Green Valley School";
        Module::CurrentCompanyEmail = "library.gvs@gmail.com";
        ReportFiles::setClock([] { return QDateTime(QDate(2024, 7, 28), QTime(14, 30, 5)); });
        ReportSamples::stage("Reports/Ledger.rpt", 2);
        window = ReportHandOver::showReport("Reports/Ledger.rpt");
    }
    void TearDown() override
    {
        ReportFiles::setClock({});
        MailTransport::install(nullptr);
        server.reset();
        ProgramTest::TearDown();
    }
    void clickEmail()
    {
        QTest::mouseClick(window->findChild<QPushButton *>("cmdEmail"), Qt::LeftButton);
    }
};

TEST_F(ReportMailTest, SendsThePdfToTheReceiverAskedForOnce)
{
    dialogs->inputs << "parent@example.com";
    dialogs->expectOk();
    clickEmail();
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_EQ(dialogs->last().text, "Email(s) sent sucessfully.");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs->last().title, "Sucess");
    EXPECT_EQ(window->findChild<QLineEdit *>("txtToEmail")->text(), "parent@example.com");

    ASSERT_EQ(server->sessions().size(), 1);
    const LocalSmtpServer::Session session = server->sessions().first();
    EXPECT_EQ(session.authPlain, QString("%1library.gvs@gmail.com%1secret-pass").arg(QChar(0)));
    EXPECT_TRUE(session.commands.contains("MAIL FROM:<library.gvs@gmail.com>"));
    EXPECT_TRUE(session.commands.contains("RCPT TO:<parent@example.com>"));
    const QString data = QString::fromUtf8(session.data);
    EXPECT_TRUE(data.contains("\r\nTo: Hello<parent@example.com>\r\n"));
    EXPECT_TRUE(data.contains("\r\nFrom: Green Valley School<library.gvs@gmail.com>\r\n"));
    EXPECT_TRUE(data.contains("\r\nSubject: Kindly Find Attached herewith \r\n"));
    EXPECT_TRUE(data.contains("Kindly Find Attached here with\r\n\r\n......"));
    EXPECT_TRUE(data.contains("filename=\"2807143005.pdf\""));

    // The attachment is the exported PDF, whole.
    const QRegularExpression attachment(
        "Content-Transfer-Encoding: base64\r\n\r\n([A-Za-z0-9+/=\r\n]+)");
    const QRegularExpressionMatch match = attachment.match(data);
    ASSERT_TRUE(match.hasMatch());
    QFile pdf(path("PDFs/2807143005.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(QByteArray::fromBase64(match.captured(1).remove("\r\n").toLatin1()), pdf.readAll());

    // The same window remembers the receiver: no second prompt.
    dialogs->expectOk();
    clickEmail();
    EXPECT_EQ(dialogs->inputPrompts, QStringList{"Enter Email ID"});
    EXPECT_EQ(dialogs->inputBoxes[0].title, "Email ID");
    ASSERT_EQ(server->sessions().size(), 2);
    EXPECT_TRUE(server->sessions().last().commands.contains("RCPT TO:<parent@example.com>"));
}

TEST_F(ReportMailTest, RefusesBadAddressesBeforeAnyContact)
{
    const QString example = "yourname@gmail.com.";
    const QString senderMessage =
        "Email address is not a valid gmail address. Please enter correct gmail address like " +
        example;
    const QString receiverMessage = "Receiver's email address is not a valid email address. Please "
                                    "enter correct address like " +
                                    example;

    // Cancelled prompt: the notice, then the receiver message.
    dialogs->inputs << "";
    dialogs->expectOk(2);
    clickEmail();
    ASSERT_EQ(
        dialogs->texts(),
        QStringList(
            {"No Email ID given for \rWould you like to define Email ID in Account master....?",
             receiverMessage}));
    EXPECT_EQ(dialogs->boxes[0].icon, Dialogs::Icon::None);
    EXPECT_EQ(dialogs->boxes[0].title, Dialogs::programTitle());
    EXPECT_EQ(dialogs->boxes[1].icon, Dialogs::Icon::Critical);
    EXPECT_EQ(dialogs->boxes[1].title, Dialogs::programTitle());

    // A line break typed into the receiver would add header lines of its own.
    dialogs->boxes.clear();
    dialogs->inputs << "parent@example.com\r\nBcc: all@example.com";
    dialogs->expectOk();
    clickEmail();
    EXPECT_EQ(dialogs->texts(), QStringList{receiverMessage});

    // The provider's domain in capitals is not the provider's domain.
    window->findChild<QLineEdit *>("txtToEmail")->setText("parent@example.com");
    Module::CurrentCompanyEmail = "library.gvs@GMAIL.com";
    dialogs->boxes.clear();
    dialogs->expectOk();
    clickEmail();
    EXPECT_EQ(dialogs->texts(), QStringList{senderMessage});
    EXPECT_TRUE(server->sessions().isEmpty());
    EXPECT_TRUE(QFile::exists(path("PDFs/2807143005.pdf")));
}

TEST_F(ReportMailTest, AFailedSendShowsTheMailErrorBox)
{
    // Nobody listens on a port just freed.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int closedPort = probe.serverPort();
    probe.close();
    MailTransport::install(std::make_unique<SmtpMail>(SmtpMail::Redirect{"127.0.0.1", closedPort}));
    dialogs->inputs << "abc@"; // only "@" is asked of a receiver
    dialogs->expectOk();
    clickEmail();
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_EQ(dialogs->last().text, "An error occoured when sending email. Please try again.\r\n"
                                    "And please also check for right gmail address & password.");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(dialogs->last().title, "Error");

    // A template gone: the standard error box and no prompt.
    dialogs->boxes.clear();
    QFile::remove(path("Reports/Ledger.rpt"));
    dialogs->expectOk();
    clickEmail();
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 53\r "));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
}
