#include "circulation/CirculationWindows.h"

#include "circulation/frmBookIssue.h"
#include "circulation/frmBookReceipt.h"
#include "circulation/frmPendingBooks.h"
#include "ui/WindowRegistry.h"

void registerCirculationWindows()
{
    WindowRegistry::registerWindow(QStringLiteral("frmBookIssue"), [] { return new frmBookIssue; });
    WindowRegistry::registerWindow(QStringLiteral("frmBookReceipt"),
                                   [] { return new frmBookReceipt; });
    WindowRegistry::registerWindow(QStringLiteral("frmPendingBooks"),
                                   [] { return new frmPendingBooks; });
}
