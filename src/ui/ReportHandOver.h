#pragma once

#include "core/PrintingStage.h"

#include <QString>

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

enum class Binding {
    Staging, // bound to "SELECT * FROM Printing"
    Unbound, // reads through the database and query its template names
};

// Opens the template (relative to the program folder, "Reports/Ledger.rpt"), gives it its rows
// and shows it in the report window at zoom 115. Returns the report window.
frmPrint1 *showReport(const QString &templatePath, Binding binding = Binding::Staging);

// The barcode stickers: the sticker template bound to the sticker table, zoom 100, and the
// report window's Print button hidden until an ordinary report is shown in it.
frmPrint1 *showStickers(const QString &templatePath = QStringLiteral("Report/Catalogue.rpt"));

} // namespace ReportHandOver
