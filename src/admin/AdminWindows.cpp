#include "admin/AdminWindows.h"

#include "admin/frmCreateCompany.h"
#include "core/WindowRegistry.h"

void registerAdminWindows()
{
    WindowRegistry::registerWindow(QStringLiteral("frmCreateCompany"),
                                   [] { return new frmCreateCompany; });
}
