#include "admin/AdminWindows.h"
#include "core/MailTransport.h"
#include "core/StartApplication.h"
#include "core/WindowRegistry.h"
#include "core/frmPrint1.h"
#include "platform/SmtpMail.h"
#include "shell/MDIForm1.h"
#include "shell/ShellWindows.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    registerShellWindows();
    registerReportWindow();
    MailTransport::install(std::make_unique<SmtpMail>());
    registerAdminWindows();
    // Every window but the splash opens inside it; it shows itself with the company picker.
    MDIForm1 mainWindow;
    // Without a window manager "maximized" means nothing: size it to the screen as well.
    mainWindow.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    mainWindow.setWindowState(Qt::WindowMaximized);
    if (!StartApplication())
        return 1;
    // Until a window is open there is nothing to run.
    if (WindowRegistry::loadOrder().isEmpty())
        return 0;
    return app.exec();
}
