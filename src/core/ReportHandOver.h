#pragma once

#include "core/Database.h"

#include <QPair>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <memory>
#include <optional>

class frmPrint1;

// The printing road every printing window takes: stage the rows in Printing with the company
// header, then hand the template to the report window.
//
//     ReportHandOver::PrintingStage stage;               // empties Printing
//     stage.addRow({{"T2", bookId}, {"T3", accessionNo}});
//     stage.commit();
//     ReportHandOver::showReport("BookList.rpt");
//
// Failures are AppErrors for the printing window's own error box.
namespace ReportHandOver {

// Which company header fields a printout writes into every row.
enum class CompanyHeader {
    Full,  // c1..c7: name, address, second address line, city, phone, mobile, tax number
    Short, // c1, c2, c4, c5: name, address, city, phone
};

using Values = std::initializer_list<QPair<QString, QVariant>>;

// Empties Printing and writes rows; the whole staging is one transaction, so a failure leaves the
// rows of the report staged before.
class PrintingStage
{
public:
    explicit PrintingStage(CompanyHeader header = CompanyHeader::Full);
    PrintingStage(const PrintingStage &) = delete;
    PrintingStage &operator=(const PrintingStage &) = delete;

    // Adds one row: the given fields (T1..T26, N1) and the company header from the open
    // company's Company row, read at the first row (no row there is an AppError).
    void addRow(Values values);
    void addRow(const QList<QPair<QString, QVariant>> &values);
    int rowCount() const { return rows_; }
    void commit();

private:
    std::shared_ptr<Database> db_;
    std::optional<Transaction> transaction_;
    CompanyHeader header_;
    QList<QVariant> company_;
    int rows_ = 0;
};

enum class Binding {
    Staging, // bound to "SELECT * FROM Printing"
    Unbound, // reads through the database and query its template names
};

// Opens the template (relative to the program folder, "Reports/Ledger.rpt"), gives it its rows
// and shows it in the report window at zoom 115. Returns the report window.
frmPrint1 *showReport(const QString &templatePath, Binding binding = Binding::Staging);

// The barcode stickers: the sticker template bound to the sticker table, zoom 100, and the
// report window's Print button hidden until the window is opened anew.
frmPrint1 *showStickers(const QString &templatePath = QStringLiteral("Report/Catalogue.rpt"));

} // namespace ReportHandOver
