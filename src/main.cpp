#include "admin/AdminWindows.h"
#include "core/MailTransport.h"
#include "core/StartApplication.h"
#include "core/WindowRegistry.h"
#include "core/frmPrint1.h"
#include "platform/SmtpMail.h"
#include "shell/MDIForm1.h"
#include "shell/ShellWindows.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    registerShellWindows();
    registerReportWindow();
    MailTransport::install(std::make_unique<SmtpMail>());
    registerAdminWindows();
    // Every window but the splash opens inside it; it shows itself with the company picker.
    MDIForm1 mainWindow;
    mainWindow.setWindowState(Qt::WindowMaximized);
    if (!StartApplication())
        return 1;
    // Until a window is open there is nothing to run.
    if (WindowRegistry::loadOrder().isEmpty())
        return 0;
    return app.exec();
}
