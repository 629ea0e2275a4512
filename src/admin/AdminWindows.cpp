#include "admin/AdminWindows.h"

#include "admin/frmAutoBackup.h"
#include "admin/frmCompanyInformation.h"
#include "admin/frmCreateCompany.h"
#include "admin/frmMail.h"
#include "admin/frmPosition.h"
#include "admin/frmUsers.h"
#include "ui/WindowRegistry.h"

// The pictures live in this static library: nothing else would pull them into the program.
static void loadAdminPictures()
{
    Q_INIT_RESOURCE(AdminPictures);
}

void registerAdminWindows()
{
    loadAdminPictures();
    WindowRegistry::registerWindow(QStringLiteral("frmCreateCompany"),
                                   [] { return new frmCreateCompany; });
    WindowRegistry::registerWindow(QStringLiteral("frmUsers"), [] { return new frmUsers; });
    WindowRegistry::registerWindow(QStringLiteral("frmPosition"), [] { return new frmPosition; });
    WindowRegistry::registerWindow(QStringLiteral("frmCompanyInformation"),
                                   [] { return new frmCompanyInformation; });
    WindowRegistry::registerWindow(
        QStringLiteral("frmAutoBackup"), [] { return new frmAutoBackup; },
        WindowRegistry::Placement::Centred);
    WindowRegistry::registerWindow(
        QStringLiteral("frmMail"), [] { return new frmMail; }, WindowRegistry::Placement::Centred);
}
