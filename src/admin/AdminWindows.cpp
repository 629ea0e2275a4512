#include "admin/AdminWindows.h"

#include "admin/frmCreateCompany.h"
#include "admin/frmPosition.h"
#include "admin/frmUsers.h"
#include "ui/WindowRegistry.h"

void registerAdminWindows()
{
    WindowRegistry::registerWindow(QStringLiteral("frmCreateCompany"),
                                   [] { return new frmCreateCompany; });
    WindowRegistry::registerWindow(QStringLiteral("frmUsers"), [] { return new frmUsers; });
    WindowRegistry::registerWindow(QStringLiteral("frmPosition"), [] { return new frmPosition; });
}
