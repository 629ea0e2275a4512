#pragma once

#include "CirculationFixture.h"

#include <QString>
#include <QVariant>

// A company whose issue and return vouchers are written straight into Voucher, with the dates
// stored as ISO dates.
class VoucherTest : public CirculationTest
{
protected:
    struct Voucher
    {
        int id = 0;
        QString type = "Issue";
        QString date;
        QVariant srNo = 1;
        int cardId = 1;
        int cardNo = 101;
        QVariant accessionNo = 10;
        QVariant name = "Asha Verma";
        QVariant rollNo = "R7";
        QVariant title = "Zoology";
        QVariant author = "Ruskin Bond";
        QVariant issueId = {};
        QVariant daysDelayed = {};
        QVariant totalFine = {};
        QVariant fineReceiptNo = {};
        QVariant remarks = {};
    };

    void addVoucher(const Voucher &v)
    {
        db().execute("INSERT INTO Voucher (VoucherID, TransactionType, \"Date\", SrNO, CardID, "
                     "CardNo, AccessionNo, Name, RollNo, title, Author, Publisher, Edition, "
                     "IssueID, DaysDelayed, TotalFine, FineReceiptNo, Remarks) VALUES "
                     "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'Rupa', '2nd', ?, ?, ?, ?, ?)",
                     {v.id, v.type, v.date, v.srNo, v.cardId, v.cardNo, v.accessionNo, v.name,
                      v.rollNo, v.title, v.author, v.issueId, v.daysDelayed, v.totalFine,
                      v.fineReceiptNo, v.remarks});
    }
    void setFinancialYear(const QString &start, const QString &end)
    {
        db().execute("DELETE FROM FinancialYear");
        db().execute("INSERT INTO FinancialYear (StartDate, EndDate) VALUES (?, ?)", {start, end});
    }
};
