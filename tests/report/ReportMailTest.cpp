#include "LocalSmtpServer.h"
#include "ProgramTest.h"
#include "ReportSamples.h"
#include "WaitFor.h"

#include "core/Module.h"
#include "core/report/ReportFiles.h"
#include "platform/SmtpMail.h"
#include "ui/ReportHandOver.h"
#include "ui/WindowRegistry.h"
#include "ui/frmPrint1.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSemaphore>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <atomic>

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
    ASSERT_TRUE(waitFor([&] { return dialogs->boxes.size() == 1; }));
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
    // The headers mail servers expect of every message.
    EXPECT_TRUE(
        data.contains(QRegularExpression("(^|\r\n)Date: [A-Z][a-z]{2}, \\d{2} [A-Z][a-z]{2} \\d{4} "
                                         "\\d{2}:\\d{2}:\\d{2} [+-]\\d{4}\r\n")))
        << data.left(600).toStdString();
    const QRegularExpression messageId("(^|\r\n)Message-ID: <([0-9a-f-]{36})@gmail\\.com>\r\n");
    EXPECT_TRUE(data.contains(messageId)) << data.left(600).toStdString();
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
    ASSERT_TRUE(waitFor([&] { return dialogs->boxes.size() == 2; }));
    EXPECT_EQ(dialogs->inputPrompts, QStringList{"Enter Email ID"});
    EXPECT_EQ(dialogs->inputBoxes[0].title, "Email ID");
    ASSERT_EQ(server->sessions().size(), 2);
    EXPECT_TRUE(server->sessions().last().commands.contains("RCPT TO:<parent@example.com>"));
    // Each message has its own identifier.
    EXPECT_NE(messageId.match(QString::fromUtf8(server->sessions().last().data)).captured(2),
              messageId.match(data).captured(2));
}

namespace {

// A transport that holds every send until the test lets it go (or three seconds pass).
class HeldTransport : public MailTransport
{
public:
    void send(const MailMessage &) override
    {
        if (!go.tryAcquire(1, 3000))
            throw AppError(28, "held too long");
        ++sent;
    }
    QSemaphore go;
    std::atomic<int> sent{0};
};

} // namespace

TEST_F(ReportMailTest, TheWindowAnswersWhileTheMailIsSending)
{
    auto *held = new HeldTransport;
    MailTransport::install(std::unique_ptr<MailTransport>(held));
    auto *email = window->findChild<QPushButton *>("cmdEmail");
    dialogs->inputs << "parent@example.com";
    dialogs->expectOk();
    clickEmail();
    // Back at once, showing that it sends.
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    EXPECT_TRUE(window->isSending());
    EXPECT_FALSE(email->isEnabled());
    EXPECT_EQ(email->text(), "Sending...");
    bool answered = false;
    QTimer::singleShot(0, window, [&] { answered = true; });
    ASSERT_TRUE(waitFor([&] { return answered; }));

    held->go.release();
    ASSERT_TRUE(waitFor([&] { return dialogs->boxes.size() == 1; }));
    EXPECT_EQ(dialogs->last().text, "Email(s) sent sucessfully.");
    EXPECT_EQ(dialogs->last().title, "Sucess");
    EXPECT_EQ(held->sent, 1);
    EXPECT_FALSE(window->isSending());
    EXPECT_TRUE(email->isEnabled());
    EXPECT_EQ(email->text(), "&Email");

    // A window closed while its mail sends: the answer still comes.
    dialogs->expectOk();
    clickEmail();
    ASSERT_TRUE(window->isSending());
    QTest::mouseClick(window->findChild<QPushButton *>("cmdClose"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(WindowRegistry::find("frmPrint1"));
    held->go.release();
    ASSERT_TRUE(waitFor([&] { return dialogs->boxes.size() == 2; }));
    EXPECT_EQ(dialogs->last().text, "Email(s) sent sucessfully.");
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
    ASSERT_TRUE(waitFor([&] { return dialogs->boxes.size() == 1; }));
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
