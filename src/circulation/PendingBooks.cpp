#include "circulation/PendingBooks.h"

#include "circulation/ListFilter.h"
#include "core/AppError.h"
#include "core/Database.h"
#include "core/PrintingStage.h"

namespace PendingBooks {

ListRows load(Database &db, const Filter &first, const Filter &second)
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
    // The texts go straight from the rows read into the list's compact form.
    ListRows rows;
    for (; !rs.eof(); rs.moveNext()) {
        rows.startRow();
        for (int i = 0; i < 11; ++i) {
            if (i == 1 && rs.field(1).isNull())
                rows.addText(QStringLiteral("0"));
            else
                rs.addDisplayText(i, rows);
        }
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
