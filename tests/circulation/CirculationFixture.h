#pragma once

#include "ProgramTest.h"
#include "WaitFor.h"

#include "circulation/CirculationWindows.h"
#include "core/Database.h"
#include "core/Module.h"
#include "ui/WindowRegistry.h"
#include "ui/frmPrint1.h"

#include <QVariant>

// A company with a group, cards and books written straight into its tables, and the circulation
// and report windows registered.
class CirculationTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        openApplicationDatabases();
        makeCompany(path("Data/Data 1"));
        registerCirculationWindows();
        registerReportWindow();
        db().execute("INSERT INTO Company (CompanyName, Address, Address2, city, phone, mobile, "
                     "TINNo) VALUES ('Green Valley School', 'Mall Road', 'Block B', 'Shimla', "
                     "'0177-222', '98160', 'TIN9')");
    }

    static Database &db() { return *Module::CompanyDb; }
    // The file as a company that could not yet gain the log of the books and cards written.
    static void dropRowChangeLog(Database &on)
    {
        for (const char *trigger :
             {"BookChanged", "BookRemoved", "CardChanged", "CardRemoved", "RowChangeKept"})
            on.execute(QString("DROP TRIGGER %1").arg(trigger));
        on.execute("DROP TABLE RowChange");
    }

    void addGroup(int id, const QString &name, QVariant maxBooks, double fine = 2, int maxDays = 14,
                  const QString &remarks = "Return on time")
    {
        db().execute("INSERT INTO Group1 (GroupID, GroupName, FinePerDay, MaxBooks, MaxDays, "
                     "Remarks) VALUES (?, ?, ?, ?, ?, ?)",
                     {id, name, fine, maxBooks, maxDays, remarks});
    }
    void addCard(int id, int cardNo, int groupId, const QString &name, const QString &rollNo = "R1",
                 const QVariant &father = "Father", const QString &groupName = "Class 5")
    {
        db().execute("INSERT INTO Card (CardID, CardNo, GroupID, GroupName, RollNo, Name, "
                     "Contact1, Contact2, OT11, OT13, Remarks) VALUES "
                     "(?, ?, ?, ?, ?, ?, '98765', '01772', ?, 'Shimla', 'Card remark')",
                     {id, cardNo, groupId, groupName, rollNo, name, father});
    }
    void addBook(int id, const QString &accessionNo, const QString &title,
                 const QString &author = "Ruskin Bond", const QString &subject = "Stories",
                 const QString &publisher = "Rupa")
    {
        db().execute("INSERT INTO Book (BookID, AccessionNo, title, Author, Subject, Publisher, "
                     "Edition, \"Year\", Pages, VOL, OT11, OT12, Status, IssueID, CardID, CardNo) "
                     "VALUES (?, ?, ?, ?, ?, ?, '2nd', '2019', '240', '1', 'Rack 3', 'Fiction', "
                     "'Available', 0, 0, 0)",
                     {id, accessionNo, title, author, subject, publisher});
    }
    QVariant bookField(int bookId, const QString &field)
    {
        return db().scalar("SELECT " + field + " FROM Book WHERE BookID = ?", {bookId});
    }
    QVariant voucherField(int voucherId, const QString &field)
    {
        return db().scalar("SELECT " + field + " FROM Voucher WHERE VoucherID = ?", {voucherId});
    }
    int vouchers() { return db().scalar("SELECT Count(*) FROM Voucher").toInt(); }
    QVariant staged(const QString &field)
    {
        return Module::CommonDb->scalar("SELECT " + field + " FROM Printing");
    }
    int stagedRows() { return Module::CommonDb->scalar("SELECT Count(*) FROM Printing").toInt(); }
};
