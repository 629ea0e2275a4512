#include "DateTyping.h"
#include "ShellTestSupport.h"
#include "WaitFor.h"

#include "controls/ribbon/RibbonMenu.h"
#include "core/Dialogs.h"
#include "shell/ModVoucherUpdate.h"
#include "ui/DateBox.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>

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

// A date box with a date that is no date speaks for its own window only: not when another child
// window or the backup window takes the focus, and by its own caption when its window uses it.
TEST_F(MDIForm1Test, ADateBeingTypedSpeaksOnlyForItsOwnWindow)
{
    // Stand-ins for the registers: From and To within a financial year, OK using both.
    const auto registerRegister = [](const char *name) {
        WindowRegistry::registerWindow(name, [] {
            auto *window = new QWidget;
            window->resize(400, 120);
            auto *from = new DateBox(window);
            auto *to = new DateBox(window);
            auto *ok = new QPushButton("OK", window);
            from->setObjectName("dtpFromDate");
            to->setObjectName("dtpToDate");
            from->setCaption("From");
            to->setCaption("To");
            from->setGeometry(10, 10, 120, 26);
            to->setGeometry(140, 10, 120, 26);
            ok->setGeometry(270, 10, 80, 26);
            for (DateBox *box : {from, to}) {
                box->setDateRange(QDate(2025, 4, 1), QDate(2026, 3, 31));
                box->setDate(QDate(2026, 1, 2));
            }
            QObject::connect(ok, &QPushButton::clicked, window, [from, to] {
                if (from->checkedDate())
                    to->checkedDate();
            });
            return window;
        });
    };
    registerRegister("frmBookIssueRegister");
    registerRegister("frmBookReceiptRegister");
    WindowRegistry::registerWindow(
        "frmAutoBackup",
        [this] {
            ++backupShown;
            auto *window = new QWidget;
            (new QLineEdit(window))->setFocus();
            return window;
        },
        WindowRegistry::Placement::Centred);
    main->show();
    settle();
    QWidget *issue = WindowRegistry::show("frmBookIssueRegister");
    QWidget *receipt = WindowRegistry::show("frmBookReceiptRegister");
    ASSERT_TRUE(issue && receipt);
    receipt->parentWidget()->move(0, 200);
    const auto box = [](QWidget *window, const char *name) {
        return window->findChild<DateBox *>(name);
    };
    const auto clickOk = [](QWidget *window) {
        auto *ok = window->findChild<QPushButton *>();
        QTest::mousePress(ok, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCoreApplication::processEvents();
        QTest::mouseRelease(ok, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    };

    clickIntoDate(box(issue, "dtpFromDate"), 1);
    QTest::keyClicks(box(issue, "dtpFromDate"), "15042026");
    clickIntoDate(box(receipt, "dtpToDate"), 1);
    ASSERT_TRUE(box(receipt, "dtpToDate")->hasFocus());
    QTest::keyClicks(box(receipt, "dtpToDate"), "31-04-2025");
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs->boxes.isEmpty());

    dialogs->expectOk();
    clickOk(receipt);
    ASSERT_TRUE(waitFor([&] { return dialogs->answers.isEmpty(); }));
    EXPECT_EQ(dialogs->texts(), QStringList{"The date in To, 31-04-2025, is not a date.\rType "
                                            "the day, the month and the year, as 15-06-2027."});
    dialogs->expectOk();
    clickOk(issue);
    ASSERT_TRUE(waitFor([&] { return dialogs->answers.isEmpty(); }));
    EXPECT_EQ(dialogs->last().text,
              "The date in From, 15-04-2026, is outside 01-04-2025 to 31-03-2026.");
    EXPECT_TRUE(box(issue, "dtpFromDate")->hasFocus());

    // Closing the main window brings the backup window, and no word of the register's date.
    EXPECT_FALSE(main->close());
    EXPECT_EQ(backupShown, 1);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    EXPECT_FALSE(box(issue, "dtpFromDate")->hasFocus());
    EXPECT_EQ(dialogs->boxes.size(), 2);
}
