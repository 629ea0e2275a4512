#include "../shell/ShellTestSupport.h"

#include "admin/AdminWindows.h"
#include "catalogue/CatalogueWindows.h"
#include "circulation/CirculationWindows.h"
#include "controls/ribbon/RibbonMenu.h"
#include "members/MembersWindows.h"
#include "ui/frmPrint1.h"

#include <QMdiArea>
#include <QMdiSubWindow>

// The whole program as main() puts it together: every ribbon button of a logged-in super user
// opens its window inside the main window, and on a 1024x768 screen nothing of it is cut off.
class EveryWindowTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        registerReportWindow();
        registerAdminWindows();
        registerCatalogueWindows();
        registerMembersWindows();
        registerCirculationWindows();
        const QString folder = addCompany("Data 1", "Green Valley School", "Shimla");
        Module::CompanyDb = Database::open(Module::companyDatabasePath(folder));
        Module::CompanyDataPath = folder;
        Module::CurrentCompanyName = "Green Valley School";
        Module::CurrentUserName = "ADMIN";
        Module::CurrentUserPosition = "SUPER USER";
        Module::CompanyDb->execute("INSERT INTO Group1 (GroupID, GroupName) VALUES (1, 'Class 5')");
    }
};

TEST_F(EveryWindowTest, EveryRibbonButtonOpensItsWindowWhole)
{
    // The work area a 1024x768 screen leaves once the task bar has its share.
    main->resize(1024, 728);
    main->show();
    main->buildMenuOnce();
    for (int id = 0; id < 12; ++id) {
        const QString name = MDIForm1::windowForButton(QString::number(id));
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(WindowRegistry::isRegistered(name)) << "no window behind ribbon button " << id;
        emit main->RibbonMenu1()->ButtonClick(QString::number(id), QString());
        settle();
        QWidget *window = WindowRegistry::find(name);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget());
        ASSERT_NE(frame, nullptr);
        const QRect area = main->area()->viewport()->rect();
        EXPECT_TRUE(area.contains(frame->geometry()))
            << "frame " << frame->geometry().width() << "x" << frame->geometry().height() << " at "
            << frame->x() << "," << frame->y() << " in an area of " << area.width() << "x"
            << area.height();
        saveScreenshot(main.get(), "program-" + name + ".png");
        WindowRegistry::close(name);
        settle();
    }
}
