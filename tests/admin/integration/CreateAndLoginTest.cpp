#include "ProgramTest.h"
#include "WaitFor.h"

#include "admin/AdminWindows.h"
#include "admin/frmCreateCompany.h"
#include "controls/button/StyledButton.h"
#include "controls/ribbon/RibbonMenu.h"
#include "core/Module.h"
#include "shell/MDIForm1.h"
#include "shell/ShellWindows.h"
#include "shell/frmCompanyList.h"
#include "ui/RecordList.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <memory>

// A fresh install: the picker finds nothing, a company is created, the picker lists it and its
// first user logs in to the main window's ribbon.
class CreateAndLoginTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        registerShellWindows();
        registerAdminWindows();
        openApplicationDatabases();
        main = std::make_unique<MDIForm1>();
        main->resize(1400, 860);
        main->show();
    }

    void TearDown() override
    {
        main.reset();
        ProgramTest::TearDown();
    }

    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    static RecordList *scannedList(frmCompanyList *picker)
    {
        EXPECT_TRUE(waitFor([picker] { return !picker->scanPending(); }));
        return picker->findChild<RecordList *>("Lv1");
    }

    std::unique_ptr<MDIForm1> main;
};

TEST_F(CreateAndLoginTest, CreateACompanyThenLogIntoIt)
{
    auto *picker = WindowRegistry::show<frmCompanyList>("frmCompanyList");
    EXPECT_TRUE(activate(main.get()));
    auto *list = scannedList(picker);
    ASSERT_EQ(list->records()->size(), 0);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F3);
    settle();

    auto *create = WindowRegistry::find<frmCreateCompany>("frmCreateCompany");
    ASSERT_TRUE(create);
    QTest::keyClicks(create->findChild<QLineEdit *>("txtCompanyName"), "green valley school");
    create->findChild<QComboBox *>("txtState")->setEditText("Punjab");
    create->findChild<QLineEdit *>("txtstatecode")->setText("03");
    create->findChild<QLineEdit *>("txtMobile")->setText("9876543210");
    dialogs->expectOk();
    emit create->findChild<StyledButton *>("cmdsave")->Click();
    settle();
    ASSERT_EQ(dialogs->boxes.size(), 1) << qPrintable(dialogs->texts().join('|'));
    EXPECT_EQ(dialogs->last().title, "Company Created Sucessfully");

    picker = WindowRegistry::find<frmCompanyList>("frmCompanyList");
    ASSERT_TRUE(picker);
    list = scannedList(picker);
    ASSERT_EQ(list->records()->size(), 1);
    EXPECT_EQ(list->records()->row(0).texts.value(0), "green valley school");
    list->setCurrentIndex(list->records()->index(0, 0));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    settle();

    QWidget *login = WindowRegistry::find("frmLogin");
    ASSERT_TRUE(login);
    Module::CurrentUserPosition.clear(); // nobody logged in yet
    auto *user = login->findChild<QLineEdit *>("txtUserName");
    auto *password = login->findChild<QLineEdit *>("txtPassword");
    user->setFocus();
    user->setText(frmCreateCompany::DefaultUserName);
    QTest::keyClick(user, Qt::Key_Return);
    password->setText(frmCreateCompany::DefaultPassword);
    QTest::keyClick(password, Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    settle();

    EXPECT_EQ(dialogs->boxes.size(), 1) << qPrintable(dialogs->texts().join('|'));
    EXPECT_FALSE(WindowRegistry::find("frmLogin"));
    EXPECT_EQ(Module::CurrentUserPosition, "SUPER USER");
    EXPECT_EQ(main->RibbonMenu1()->model().ButtonCount(), 12);
    EXPECT_TRUE(main->RibbonMenu1()->isVisible());
    main->grab().save(QDir(testOutputFolder()).filePath("CreateAndLogin.png"));
}
