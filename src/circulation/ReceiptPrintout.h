#pragma once

#include <QDate>
#include <QString>

// The printed record of one book return: one row staged in Printing from what the return window
// shows, with the card group's current terms and the company header.
namespace ReceiptPrintout {

inline const QString TemplatePath = QStringLiteral("BookReceipt.rpt");

// The return window's boxes as they stand.
struct Slip
{
    QDate date;
    QString srNo, cardNo, accessionNo, groupId, groupName, name, rollNo, contact1, contact2;
    QString title, author, subject, publisher, edition, year, pages, vol;
    QString daysDelayed, totalFine, fineReceiptNo, remarks;
};

// GetPrintRecord: empties Printing and stages the slip. Serial, days, fine and fine receipt are
// written as their leading numeric value ("R-17" prints 0); the other texts untrimmed. A group key
// that names no group leaves the group's terms Null. Failures are AppErrors and leave the earlier
// staged rows.
void stage(const Slip &slip);

} // namespace ReceiptPrintout
