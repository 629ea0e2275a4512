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

// The SQL test of one filter and the value it binds. An empty box matches every value but no
// missing one, which "IS NOT NULL" says without calling the pattern function on every row.
QString test(const Filter &filter, QVariantList &values)
{
    const QString column = checkedColumn(filter.column);
    if (filter.typed.isEmpty())
        return column + QStringLiteral(" IS NOT NULL");
    values << Pattern::prefix(filter.typed);
    return QStringLiteral("Pattern(%1, ?)").arg(column);
}

} // namespace

std::vector<Row> load(Database &db, const Filter &first, const Filter &second)
{
    QVariantList values;
    const QString firstTest = test(first, values);
    const QString secondTest = test(second, values);
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
