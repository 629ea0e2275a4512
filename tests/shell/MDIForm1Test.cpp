#include "ShellTestSupport.h"

#include "controls/ribbon/RibbonMenu.h"
#include "core/Dialogs.h"
#include "shell/ModVoucherUpdate.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QMdiArea>

class MDIForm1Test : public ShellTest
{
protected:
    int backupShown = 0;
    int issueShown = 0;

    void SetUp() override
    {
        ShellTest::SetUp();
        // Minimal stand-ins for windows that other parts of the program provide.
        WindowRegistry::registerWindow(
            "frmAutoBackup",
            [this] {
                ++backupShown;
                return new QWidget;
            },
            WindowRegistry::Placement::Centred);
        WindowRegistry::registerWindow("frmBookIssue", [this] {
            ++issueShown;
            auto *window = new QWidget;
            new QLineEdit(window);
            return window;
        });
    }

    void click(const QString &id) { emit main->RibbonMenu1()->ButtonClick(id, QString()); }
};

TEST_F(MDIForm1Test, StartsWithTheThemeAnEmptyRibbonAndTheProgramTitle)
{
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(main->RibbonMenu1()->Theme(), 1);
    EXPECT_FALSE(main->RibbonMenu1()->ButtonCenter());
    EXPECT_EQ(main->RibbonMenu1()->model().TabCount(), 0);
    EXPECT_EQ(main->ImageList12()->count(), 34);
    EXPECT_EQ(main->ImageList12()->picture(12).size(), QSize(48, 48));
    EXPECT_EQ(main->windowTitle(), Dialogs::programTitle());
    EXPECT_EQ(WindowRegistry::mdiArea(), main->area());
    // The first child window brings the main window up.
    showPicker();
    EXPECT_TRUE(main->isVisible());
}

TEST_F(MDIForm1Test, RibbonButtonsOpenTheirWindowsOnce)
{
    main->show();
    main->buildMenuOnce();
    main->buildMenuOnce();
    EXPECT_EQ(main->RibbonMenu1()->model().ButtonCount(), 12);
    const auto &buttons = main->RibbonMenu1()->model().buttons();
    EXPECT_EQ(buttons.at(9).caption, "Pending Book");
    EXPECT_EQ(buttons.at(11).category, "3");

    click("4");
    auto *issue = WindowRegistry::find("frmBookIssue");
    ASSERT_TRUE(issue);
    issue->findChild<QLineEdit *>()->setText("typed");
    click("4");
    EXPECT_EQ(issueShown, 1);
    EXPECT_EQ(issue->findChild<QLineEdit *>()->text(), "typed");

    // Windows not yet part of the program, and IDs of no window, open nothing.
    for (const char *id : {"0", "10", "11", "12", "x", ""})
        click(id);
    EXPECT_EQ(WindowRegistry::loadOrder(), QStringList{"frmBookIssue"});
    EXPECT_EQ(MDIForm1::windowForButton("10"), "frmCompanyInformation");
    EXPECT_EQ(MDIForm1::windowForButton("11"), "frmUsers");
}

TEST_F(MDIForm1Test, TheCloseRule)
{
    // With only the picker open the program ends at once.
    showPicker();
    EXPECT_TRUE(main->close());
    EXPECT_EQ(backupShown, 0);

    // After work the backup window is offered first and the main window stays.
    main->show();
    settle();
    click("4");
    EXPECT_FALSE(main->close());
    EXPECT_EQ(backupShown, 1);
    EXPECT_TRUE(main->isVisible());
    // The backup window loaded last: its Close passes.
    EXPECT_TRUE(main->close());

    // A window opened after the backup window: without approval the backup comes forward again.
    main->show();
    WindowRegistry::close("frmBookIssue");
    settle();
    click("4");
    EXPECT_FALSE(main->close());
    EXPECT_EQ(backupShown, 1); // brought forward, not made again
    // The backup window's Close approves the exit, whatever was loaded after it.
    main->setProperty(MDIForm1::ExitApprovedProperty, true);
    EXPECT_TRUE(main->close());
}

TEST_F(MDIForm1Test, WithoutABackupWindowTheProgramStillEnds)
{
    WindowRegistry::reset();
    WindowRegistry::setMdiArea(main->findChild<QMdiArea *>("MDIClient"));
    WindowRegistry::registerWindow("frmBookIssue", [] { return new QWidget; });
    main->show();
    click("4");
    EXPECT_TRUE(main->close());
}

TEST_F(MDIForm1Test, ClosingBeforeTheLoginOffersTheBackupToo)
{
    addCompany("Data 1", "Alpha School");
    Module::CompanyDb = Database::open(Module::companyDatabasePath(path("Data/Data 1")));
    WindowRegistry::show("frmLogin");
    EXPECT_FALSE(main->close());
    EXPECT_EQ(backupShown, 1);
    EXPECT_EQ(WindowRegistry::lastLoaded(), "frmAutoBackup");
}

TEST_F(MDIForm1Test, SessionShutdownIsRefusedOnlyOnce)
{
    EXPECT_FALSE(MDIForm1::closeMayPass("frmBookIssue", false, false));
    EXPECT_TRUE(MDIForm1::closeMayPass("frmBookIssue", false, true));
    EXPECT_TRUE(MDIForm1::closeMayPass("frmCompanyList", false, false));
    EXPECT_TRUE(MDIForm1::closeMayPass("frmAutoBackup", false, false));
    EXPECT_TRUE(MDIForm1::closeMayPass("", true, false));
    EXPECT_FALSE(MDIForm1::closeMayPass("", false, false));
}
