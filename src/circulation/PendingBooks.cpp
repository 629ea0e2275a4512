#include "circulation/PendingBooks.h"

#include "core/AppError.h"
#include "core/Database.h"
#include "core/Pattern.h"
#include "core/PrintingStage.h"

namespace PendingBooks {

const QStringList &filterColumns()
{
    static const QStringList columns = {"AccessionNo", "Name",      "RollNo", "Title",
                                        "Author",      "Publisher", "Edition"};
    return columns;
}

namespace {

// Column names go into the statement's text, so only the fixed list may reach it.
QString checkedColumn(const QString &column)
{
    if (!filterColumns().contains(column))
        throw AppError(5, QStringLiteral("Invalid filter column: %1").arg(column));
    return column;
}

} // namespace

std::vector<Row> load(Database &db, const Filter &first, const Filter &second)
{
    // Two ranges instead of "<>" let the status index find the few copies that are out; a copy
    // without a status is in neither.
    Recordset rs = db.query(
        QStringLiteral("SELECT IssueID, AccessionNo, title, Author, Subject, Publisher, Name, "
                       "CardNo, IssueDate, RollNo, Edition FROM Book "
                       "WHERE (Status < 'Available' OR Status > 'Available') "
                       "AND Pattern(%1, ?) AND Pattern(%2, ?) ORDER BY Val(AccessionNo), title")
            .arg(checkedColumn(first.column), checkedColumn(second.column)),
        {Pattern::prefix(first.typed), Pattern::prefix(second.typed)});
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
