#include "ShellTestSupport.h"

#include "core/Dialogs.h"
#include "shell/Module2.h"
#include "shell/frmHomeScreen.h"

#include <QLabel>
#include <QMouseEvent>

TEST_F(ShellTest, HomeScreenStatusBarAndSupportPanel)
{
    main->show();
    auto *home = WindowRegistry::show<frmHomeScreen>("frmHomeScreen");
    auto *printer = home->findChild<QLabel *>("lblPrinter");
    const QString printerPart = DefaultPrinterObject().isNull()
                                    ? QString("\"Default '")
                                    : "Default Printer : " + DefaultPrinterObject().printerName();
    // No backup taken yet: the date part is empty.
    EXPECT_EQ(printer->text(), printerPart + " , Last Backup : ");
    WindowRegistry::close("frmHomeScreen");
    settle();

    Module::CommonDb->execute("UPDATE Path SET OD1 = '2024-03-05 10:30:00'");
    home = WindowRegistry::show<frmHomeScreen>("frmHomeScreen");
    printer = home->findChild<QLabel *>("lblPrinter");
    EXPECT_EQ(printer->text(), printerPart + " , Last Backup : 05-Mar-24 10:30:00 AM");

    // The panel widens over itself and narrows over the window.
    auto *panel = home->findChild<QWidget *>("fraNavigation");
    auto *website = home->findChild<QWidget *>("cmdSupport0");
    EXPECT_FALSE(home->panelExpanded());
    QMouseEvent overPanel(QEvent::MouseMove, QPointF(5, 50), QPointF(5, 50), Qt::NoButton, {}, {});
    QApplication::sendEvent(panel, &overPanel);
    EXPECT_TRUE(home->panelExpanded());
    EXPECT_FALSE(website->isHidden());
    saveScreenshot(home, "frmHomeScreen.png");
    QMouseEvent overWindow(QEvent::MouseMove, QPointF(400, 50), QPointF(400, 50), Qt::NoButton, {},
                           {});
    QApplication::sendEvent(home, &overWindow);
    EXPECT_FALSE(home->panelExpanded());
    EXPECT_TRUE(website->isHidden());

    // "Website" with no link does nothing; "Live Chat" opens its link.
    QApplication::sendEvent(panel, &overPanel);
    QTest::mouseClick(website, Qt::LeftButton);
    EXPECT_TRUE(dialogs->opened.isEmpty());
    Module::PackageDb->execute("UPDATE Develop SET OM3 = 'https://example.org/chat'");
    QTest::mouseClick(home->findChild<QWidget *>("cmdSupport2"), Qt::LeftButton);
    EXPECT_EQ(dialogs->opened, QStringList{"https://example.org/chat"});

    // Without a Develop row the link cannot be read: an error box, nothing opened.
    Module::PackageDb->execute("DELETE FROM Develop");
    dialogs->expectOk();
    QTest::mouseClick(website, Qt::LeftButton);
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_EQ(dialogs->last().text, "Error 3021\r No current record.");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs->last().title, "");
    EXPECT_EQ(dialogs->opened.size(), 1);
}
