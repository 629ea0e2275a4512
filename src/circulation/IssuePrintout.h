#pragma once

#include <QDate>
#include <QString>

// The printed voucher of one book issue: one row staged in Printing from what the issue window
// shows, with the group's current loan terms and the company header.
namespace IssuePrintout {

inline const QString TemplatePath = QStringLiteral("BookIssue.rpt");

// The issue window's boxes as they stand.
struct Slip
{
    QDate date;
    QString srNo, cardNo, accessionNo, groupId, groupName, name, rollNo, contact1, contact2;
    QString bookId, title, author, subject, publisher, edition, year, pages, vol;
};

// GetPrintRecord: empties Printing and stages the slip. Serial, card, accession and book numbers
// are written as their leading numeric value ("12A" prints 12); a group key that names no group
// leaves the loan terms out. Failures are AppErrors and leave the earlier staged rows.
void stage(const Slip &slip);

} // namespace IssuePrintout
