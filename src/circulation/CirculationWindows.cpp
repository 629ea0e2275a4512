#include "circulation/CirculationWindows.h"

#include "circulation/frmBookIssue.h"
#include "circulation/frmBookReceipt.h"
#include "circulation/frmLedger.h"
#include "circulation/frmPendingBooks.h"
#include "circulation/frmVoucherRegister.h"
#include "ui/WindowRegistry.h"

void registerCirculationWindows()
{
    WindowRegistry::registerWindow(QStringLiteral("frmBookIssue"), [] { return new frmBookIssue; });
    WindowRegistry::registerWindow(QStringLiteral("frmBookReceipt"),
                                   [] { return new frmBookReceipt; });
    WindowRegistry::registerWindow(QStringLiteral("frmPendingBooks"),
                                   [] { return new frmPendingBooks; });
    WindowRegistry::registerWindow(QStringLiteral("frmBookIssueRegister"), [] {
        return new frmVoucherRegister(VoucherRegister::Kind::Issue);
    });
    WindowRegistry::registerWindow(QStringLiteral("frmBookReceiptRegister"), [] {
        return new frmVoucherRegister(VoucherRegister::Kind::Receipt);
    });
    WindowRegistry::registerWindow(QStringLiteral("frmLedger"), [] { return new frmLedger; });
}
