#include "admin/AdminWindows.h"
#include "catalogue/CatalogueWindows.h"
#include "circulation/CirculationWindows.h"
#include "core/MailTransport.h"
#include "members/MembersWindows.h"
#include "platform/SmtpMail.h"
#include "shell/MDIForm1.h"
#include "shell/ShellWindows.h"
#include "ui/QtDialogs.h"
#include "ui/StartApplication.h"
#include "ui/WindowRegistry.h"
#include "ui/frmPrint1.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>

namespace {

// Test hook for the smoke test that starts this executable: with LIBRARYDESK_END_AT_PICKER set,
// the program says so on standard output and ends through its event loop once the company picker
// shows. Users never set it; nothing else reads it.
void endAtCompanyPickerWhenAsked(QApplication &app)
{
    if (!qEnvironmentVariableIsSet("LIBRARYDESK_END_AT_PICKER"))
        return;
    auto *poll = new QTimer(&app);
    QObject::connect(poll, &QTimer::timeout, &app, [&app] {
        QWidget *picker = WindowRegistry::find(QStringLiteral("frmCompanyList"));
        if (picker && picker->isVisible()) {
            std::printf("frmCompanyList shown\n");
            std::fflush(stdout);
            app.quit();
        }
    });
    poll->start(20);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Dialogs::install(std::make_unique<Dialogs::QtService>());
    registerShellWindows();
    registerReportWindow();
    MailTransport::install(std::make_unique<SmtpMail>());
    registerAdminWindows();
    registerCatalogueWindows();
    registerMembersWindows();
    registerCirculationWindows();
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
    endAtCompanyPickerWhenAsked(app);
    return app.exec();
}
