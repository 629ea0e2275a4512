#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

// What the issue and the return printouts share.
namespace VoucherSlip {

using Fields = QList<QPair<QString, QVariant>>;

// A box's leading numeric value as the slip prints it ("12A" prints 12).
QString asNumber(const QString &box);

// Empties Printing and stages one row: the fields, then the group's current terms (fine per day,
// max books, max days, remarks) in T23 to T26 when the group key names a group, under the short
// company header.
void stage(Fields fields, const QString &groupIdBox);

} // namespace VoucherSlip
