#include "AdminFixture.h"
#include "KeepsCommitting.h"
#include "LocalSmtpServer.h"

#include "admin/frmAutoBackup.h"
#include "admin/frmMail.h"
#include "platform/SmtpMail.h"
#include "platform/ZipArchive.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

class frmAutoBackupTest : public AdminFixture
{
protected:
    void SetUp() override
    {
        AdminFixture::SetUp();
        AdminSettings::setDriveFolders({{'C', "/"}, {'F', programFolder()}});
    }

    frmAutoBackup *open()
    {
        auto *window = WindowRegistry::show<frmAutoBackup>("frmAutoBackup");
        EXPECT_TRUE(activate(area));
        return window;
    }

    // Clicks a backup button and waits for the work to end.
    void backUp(frmAutoBackup *window, const char *button = "cmdbackup")
    {
        click(window, button);
        ASSERT_TRUE(waitFor([window] { return !window->working(); }, 20000));
    }

    QStringList files(const char *folder) { return QDir(path(folder)).entryList(QDir::Files); }
    QVariant lastBackup() { return Module::CommonDb->scalar("SELECT OD1 FROM Path"); }
};

TEST_F(frmAutoBackupTest, ABackupCopiesArchivesRecordsAndSays)
{
    auto *window = open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(area.data()));
    EXPECT_EQ(window->windowTitle(), "AUTO BACKUP");
    auto *txtPath = control<QLineEdit>(window, "txtPath");
    EXPECT_EQ(txtPath->text(), programFolder() + "/Backup/");
    // Centred in the area.
    const QRect frame = area->subWindowList().first()->geometry();
    EXPECT_NEAR(frame.center().x(), area->viewport()->rect().center().x(), 2);

    dialogs->expectOk();
    click(window, "cmdbackup");
    EXPECT_TRUE(window->working());
    EXPECT_TRUE(control<QProgressBar>(window, "prgWorking")->isVisible());
    EXPECT_FALSE(control<StyledButton>(window, "cmdClose")->isEnabled());
    const QPixmap busy = window->grab();
    EXPECT_TRUE(busy.save(QDir(testOutputFolder()).filePath("frmAutoBackup-working.png")));
    ASSERT_TRUE(waitFor([window] { return !window->working(); }, 20000));

    ASSERT_EQ(dialogs->boxes.size(), 1) << qPrintable(dialogs->texts().join('|'));
    EXPECT_EQ(dialogs->last().text, "Backup Saved Sucessfully. . .");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs->last().title, "Backup Saved");
    EXPECT_FALSE(lastBackup().isNull());

    const QRegularExpression name("^City_Library_Annex_\\d\\d_\\d{2,4}\\.(mdb|zip)$");
    ASSERT_EQ(files("Temp").size(), 1);
    EXPECT_TRUE(name.match(files("Temp").first()).hasMatch()) << qPrintable(files("Temp").first());
    ASSERT_EQ(files("AutoBKP").size(), 1);
    ASSERT_EQ(files("Backup"), files("AutoBKP"));
    EXPECT_EQ(ZipArchive::entries(path("Backup/" + files("Backup").first())), files("Temp"));
    EXPECT_FALSE(control<QProgressBar>(window, "prgWorking")->isVisible());
    EXPECT_TRUE(WindowRegistry::find("frmAutoBackup"));

    const QPixmap shot = window->grab();
    EXPECT_TRUE(shot.save(QDir(testOutputFolder()).filePath("frmAutoBackup.png")));
}

TEST_F(frmAutoBackupTest, ABackupEndsWhileAnotherProgramKeepsCommittingAndShowsHowFarItGot)
{
    addThickBooks(*Module::CompanyDb, 6000);
    auto *window = open();
    KeepsCommitting other(Module::CompanyDb->path(), 1, 6000);
    ASSERT_TRUE(waitFor([&other] { return other.commits() > 20; }));
    auto *bar = control<QProgressBar>(window, "prgWorking");
    QSignalSpy shown(bar, &QProgressBar::valueChanged);

    dialogs->expectOk();
    click(window, "cmdbackup");
    const bool ended = waitFor([window] { return !window->working(); }, 45000);
    EXPECT_EQ(other.stop(), "");
    ASSERT_TRUE(ended) << "Backup, E-mail and Close stayed disabled";
    EXPECT_TRUE(control<StyledButton>(window, "cmdClose")->isEnabled());
    EXPECT_EQ(dialogs->last().text, "Backup Saved Sucessfully. . .");

    QList<int> values;
    for (const QList<QVariant> &signal : shown)
        values << signal.first().toInt();
    EXPECT_TRUE(values.contains(100)) << values.size();
    EXPECT_TRUE(
        std::any_of(values.cbegin(), values.cend(), [](int v) { return v > 0 && v < 100; }));

    ASSERT_EQ(files("AutoBKP").size(), 1);
    const QString restored = path("restored.mdb");
    ZipArchive::extract(path("AutoBKP/" + files("AutoBKP").first()), files("Temp").first(),
                        restored);
    const auto copy = Database::open(restored);
    EXPECT_EQ(copy->scalar("PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(
        copy->scalar("SELECT count(DISTINCT Remarks) FROM Book WHERE BookID IN (1, 6000)").toInt(),
        1);
}

TEST_F(frmAutoBackupTest, ABackupClearsTheHalfFilesADeadBackupLeft)
{
    QDir().mkpath(path("Temp"));
    QDir().mkpath(path("AutoBKP"));
    for (const char *file : {"Temp/City_Library_Annex_03_1712.mdb.part",
                             "AutoBKP/City_Library_Annex_03_1711.zip.part"}) {
        QFile f(path(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2048, 'x'));
    }
    auto *window = open();
    dialogs->expectOk();
    backUp(window);
    EXPECT_EQ(dialogs->last().text, "Backup Saved Sucessfully. . .");
    ASSERT_EQ(files("Temp").size(), 1);
    EXPECT_TRUE(files("Temp").first().endsWith(".mdb")) << qPrintable(files("Temp").first());
    ASSERT_EQ(files("AutoBKP").size(), 1);
    EXPECT_TRUE(files("AutoBKP").first().endsWith(".zip")) << qPrintable(files("AutoBKP").first());
}

TEST_F(frmAutoBackupTest, AFailureIsShownAndNeverReportedAsSaved)
{
    auto *window = open();
    FileWriting::setSpaceLeftForTests(2000);
    dialogs->expectOk();
    backUp(window);
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 61\r Disk full"))
        << qPrintable(dialogs->last().text);
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs->last().title, "");
    EXPECT_TRUE(lastBackup().isNull());
    EXPECT_TRUE(files("AutoBKP").isEmpty());
    EXPECT_FALSE(QFileInfo(path("Backup")).exists());
    FileWriting::setSpaceLeftForTests(-1);

    // A typed folder that does not exist.
    control<QLineEdit>(window, "txtPath")->setText(path("Nowhere"));
    dialogs->expectOk();
    backUp(window);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 76\r Path not found"));
    EXPECT_TRUE(lastBackup().isNull());

    // No open company.
    Module::CompanyDataPath.clear();
    control<QLineEdit>(window, "txtPath")->setText(path("Backup"));
    dialogs->expectOk();
    backUp(window, "cmdEmailBackup");
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 3024\r"));
    EXPECT_FALSE(WindowRegistry::find("frmMail"));
    EXPECT_EQ(dialogs->boxes.size(), 3);
}

TEST_F(frmAutoBackupTest, AProgramOnAnotherDriveBacksNothingUp)
{
    AdminSettings::setDriveFolders({{'C', programFolder()}});
    auto *window = open();
    backUp(window);
    backUp(window, "cmdEmailBackup");
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    EXPECT_FALSE(QFileInfo(path("Temp")).exists());
    EXPECT_FALSE(QFileInfo(path("AutoBKP")).exists());
    EXPECT_TRUE(lastBackup().isNull());
}

TEST_F(frmAutoBackupTest, TheFolderDialogAndTheWayBackToWork)
{
    auto *window = open();
    auto *txtPath = control<QLineEdit>(window, "txtPath");
    dialogs->folders << "";
    click(window, "cmdPath");
    EXPECT_EQ(txtPath->text(), programFolder() + "/Backup/");
    dialogs->folders << "/media/usb";
    click(window, "cmdPath");
    EXPECT_EQ(txtPath->text(), "/media/usb");

    // "X" closes this window only; opened again it proposes the default folder.
    QTest::mouseClick(control<QLabel>(window, "lblClose"), Qt::LeftButton);
    EXPECT_TRUE(waitFor([] { return !WindowRegistry::find("frmAutoBackup"); }));
    window = open();
    EXPECT_EQ(control<QLineEdit>(window, "txtPath")->text(), programFolder() + "/Backup/");
}

TEST_F(frmAutoBackupTest, TheEmailBackupHandsTheArchiveToTheMailWindow)
{
    LocalSmtpServer server;
    MailTransport::install(
        std::make_unique<SmtpMail>(SmtpMail::Redirect{"127.0.0.1", server.port()}));
    auto *window = open();
    backUp(window, "cmdEmailBackup");
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    EXPECT_TRUE(lastBackup().isNull());
    EXPECT_FALSE(QFileInfo(path("Backup")).exists());

    auto *mail = WindowRegistry::find<frmMail>("frmMail");
    ASSERT_TRUE(mail);
    auto *attachments = control<QListWidget>(mail, "lvAttach");
    ASSERT_EQ(attachments->count(), 1);
    const QString archive = attachments->item(0)->text();
    EXPECT_EQ(QFileInfo(archive).absolutePath(), path("AutoBKP"));
    EXPECT_TRUE(QFile::exists(archive));

    // A receiver is needed.
    dialogs->answers << Dialogs::Answer::Ok;
    click(mail, "cmdSend");
    EXPECT_TRUE(dialogs->last().text.startsWith("Receiver's email address is not a valid"));

    control<QLineEdit>(mail, "txtTo")->setText("principal@example.org");
    dialogs->expectOk();
    click(mail, "cmdSend");
    EXPECT_TRUE(mail->sending());
    ASSERT_TRUE(waitFor([mail] { return !mail->sending(); }, 20000));
    EXPECT_EQ(dialogs->last().text, "Email(s) sent sucessfully.");
    const QPixmap shot = mail->grab();
    EXPECT_TRUE(shot.save(QDir(testOutputFolder()).filePath("frmMail.png")));

    ASSERT_EQ(server.sessions().size(), 1);
    const auto session = server.sessions().first();
    EXPECT_EQ(session.authPlain, QString("%1library.gvs@gmail.com%1secret-pass").arg(QChar(0)));
    EXPECT_TRUE(session.commands.contains("RCPT TO:<principal@example.org>"));
    const QString data = QString::fromUtf8(session.data);
    EXPECT_TRUE(data.contains("Subject: Backup of City Library/Annex\r\n"));
    EXPECT_TRUE(data.contains("filename=\"" + QFileInfo(archive).fileName() + "\""));
    EXPECT_TRUE(data.contains("Content-Type: application/zip"));

    // A failing server is reported, not passed off as sent.
    MailTransport::install(std::make_unique<SmtpMail>(SmtpMail::Redirect{"127.0.0.1", 1}));
    dialogs->answers << Dialogs::Answer::Ok;
    click(mail, "cmdSend");
    ASSERT_TRUE(waitFor([mail] { return !mail->sending(); }, 20000));
    EXPECT_EQ(dialogs->last().title, "Error");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    MailTransport::install(nullptr);
}

} // namespace
