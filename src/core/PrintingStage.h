#pragma once

#include "core/Database.h"

#include <QPair>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <memory>
#include <optional>

// The first half of the printing road, which needs no window: stage the rows in Printing with the
// company header. Failures are AppErrors for the printing window's own error box.
namespace ReportHandOver {

// Which company header fields a printout writes into every row.
enum class CompanyHeader {
    Full,  // c1..c7: name, address, second address line, city, phone, mobile, tax number
    Short, // c1, c2, c4, c5: name, address, city, phone
};

// What a printout does when the open company has no Company row.
enum class WithoutCompany {
    Fail,        // an AppError at the first row
    EmptyHeader, // the rows are staged with an empty header
};

using Values = std::initializer_list<QPair<QString, QVariant>>;

// Empties Printing and writes rows; the whole staging is one transaction, so a failure leaves the
// rows of the report staged before.
class PrintingStage
{
public:
    explicit PrintingStage(CompanyHeader header = CompanyHeader::Full,
                           WithoutCompany withoutCompany = WithoutCompany::Fail);
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
    WithoutCompany withoutCompany_;
    QList<QVariant> company_;
    int rows_ = 0;
};

} // namespace ReportHandOver
