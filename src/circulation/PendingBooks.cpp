#include "circulation/PendingBooks.h"

#include "circulation/ListFilter.h"
#include "core/AppError.h"
#include "core/Database.h"
#include "core/PrintingStage.h"

namespace PendingBooks {

std::vector<Row> load(Database &db, const Filter &first, const Filter &second)
{
    QVariantList values;
    const QString firstTest = ListFilter::sqlTest(first, values);
    const QString secondTest = ListFilter::sqlTest(second, values);
    // "Status <> 'Available'" is the condition of the BookPending index, which then serves the
    // whole list; a copy without a status is not out.
    Recordset rs = db.query(
        QStringLiteral("SELECT IssueID, AccessionNo, title, Author, Subject, Publisher, Name, "
                       "CardNo, IssueDate, RollNo, Edition FROM Book "
                       "WHERE Status <> 'Available' AND %1 AND %2 ORDER BY Val(AccessionNo), title")
            .arg(firstTest, secondTest),
        values);
    std::vector<Row> rows;
    for (; !rs.eof(); rs.moveNext()) {
        Row row;
        row.reserve(11);
        for (int i = 0; i < 11; ++i)
            row << rs.displayText(i);
        if (row[1].isEmpty() && rs.field(1).isNull())
            row[1] = QStringLiteral("0");
        rows.push_back(std::move(row));
    }
    return rows;
}

void stage(const std::vector<Row> &rows, const QString &title)
{
    ReportHandOver::PrintingStage printing(ReportHandOver::CompanyHeader::Short);
    int n = 0;
    for (const Row &row : rows) {
        QList<QPair<QString, QVariant>> fields;
        for (int i = 1; i <= 10; ++i)
            fields.append({QStringLiteral("T%1").arg(i), row.value(i)});
        fields.append({QStringLiteral("T16"), title});
        fields.append({QStringLiteral("N1"), ++n});
        printing.addRow(fields);
    }
    printing.commit();
}

} // namespace PendingBooks
