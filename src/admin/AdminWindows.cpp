#include "admin/AdminWindows.h"

#include "admin/frmCreateCompany.h"
#include "ui/WindowRegistry.h"

void registerAdminWindows()
{
    WindowRegistry::registerWindow(QStringLiteral("frmCreateCompany"),
                                   [] { return new frmCreateCompany; });
}
