#include "ProgramTest.h"
#include "WaitFor.h"

#include "admin/AdminSettings.h"
#include "admin/AdminWindows.h"
#include "admin/frmAutoBackup.h"
#include "controls/button/StyledButton.h"
#include "controls/ribbon/RibbonMenu.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "shell/MDIForm1.h"
#include "shell/ShellWindows.h"
#include "shell/frmLogin.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QTest>
#include <memory>

// The main window with the real backup window: leaving the program offers the backup, whose
// Close and Esc end the program and whose "X" goes back to work.
class LeaveProgramTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path("settings"));
        registerShellWindows();
        registerAdminWindows();
        openApplicationDatabases();
        makeCompany(path("Data/Data 1"));
        Module::CompanyDb->execute("DELETE FROM Company");
        Module::CompanyDb->execute(
            "INSERT INTO Company (CompanyName, city, email, OT3) VALUES (?, ?, ?, ?)",
            {"Green Valley School", "Pune", "desk@example.org", "library.gvs@gmail.com"});
        Module::CompanyDb->execute(
            "INSERT INTO Users (UserID, UserName, UserPosition, Password) VALUES (2, ?, ?, ?)",
            {"ADMIN", "SUPER USER", "secret"});
        main = std::make_unique<MDIForm1>();
        main->resize(1024, 768);
        main->show();
        EXPECT_TRUE(activate(main.get()));
    }

    void TearDown() override
    {
        main.reset();
        ProgramTest::TearDown();
    }

    void logIn()
    {
        auto *login = WindowRegistry::show<frmLogin>("frmLogin");
        EXPECT_TRUE(activate(main.get()));
        login->findChild<QLineEdit *>("txtUserName")->setText("admin");
        login->findChild<QLineEdit *>("txtPassword")->setText("secret");
        login->findChild<QLineEdit *>("txtPassword")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        ASSERT_TRUE(waitFor([] { return !WindowRegistry::find("frmLogin"); }));
    }

    frmAutoBackup *offeredBackup()
    {
        EXPECT_FALSE(main->close());
        auto *backup = WindowRegistry::find<frmAutoBackup>("frmAutoBackup");
        EXPECT_TRUE(backup);
        return backup;
    }

    std::unique_ptr<MDIForm1> main;
};

TEST_F(LeaveProgramTest, CloseEndsTheProgramAndTheSenderComesFromTheCompanyDetails)
{
    logIn();
    EXPECT_EQ(Module::CurrentCompanyEmail, "library.gvs@gmail.com");
    ASSERT_TRUE(main->RibbonMenu1()->isVisible());
    // The ribbon's "Library Info." opens the company details.
    emit main->RibbonMenu1()->ButtonClick("10", QString());
    ASSERT_TRUE(WindowRegistry::find("frmCompanyInformation"));

    auto *backup = offeredBackup();
    ASSERT_TRUE(backup);
    EXPECT_TRUE(main->isVisible());
    const QPixmap shot = main->grab();
    EXPECT_TRUE(shot.save(QDir(testOutputFolder()).filePath("MDIForm1-backup-offered.png")));

    // A window opened after the backup window does not keep the program from ending.
    emit main->RibbonMenu1()->ButtonClick("10", QString());
    WindowRegistry::show("frmMail");
    emit backup->findChild<StyledButton *>("cmdClose")->Click();
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(main->RibbonMenu1()->isHidden());
    EXPECT_EQ(main->windowTitle(), Dialogs::programTitle());
}

TEST_F(LeaveProgramTest, EscEndsTheProgramAndXGoesBackToWork)
{
    logIn();
    const QString title = main->windowTitle();
    auto *backup = offeredBackup();
    QTest::mouseClick(backup->findChild<QWidget *>("lblClose"), Qt::LeftButton);
    ASSERT_TRUE(waitFor([] { return !WindowRegistry::find("frmAutoBackup"); }));
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->RibbonMenu1()->isVisible());
    EXPECT_EQ(main->windowTitle(), title);

    backup = offeredBackup();
    ASSERT_TRUE(backup);
    auto *box = backup->findChild<QLineEdit *>("txtPath");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(main->isVisible());
    // Esc leaves the ribbon as it was.
    EXPECT_FALSE(main->RibbonMenu1()->isHidden());
    EXPECT_EQ(main->windowTitle(), Dialogs::programTitle());
}
