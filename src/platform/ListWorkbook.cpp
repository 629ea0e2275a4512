#include "platform/ListWorkbook.h"

#include "core/AppError.h"
#include "core/Database.h"
#include "core/Numbers.h"
#include "platform/XlsxWriter.h"

#include <algorithm>
#include <cmath>

namespace ListWorkbook {

namespace {

constexpr int MergedColumns = 17; // A to Q, whatever the number of columns

} // namespace

void write(const QString &path, const Layout &layout, const std::vector<QStringList> &rows,
           const std::function<void(int)> &progress)
{
    XlsxWriter sheet(path);
    XlsxWriter::Format heading;
    heading.bold = true;
    heading.size = 11;
    heading.fill = 0xFFFFC0; // light yellow
    heading.border = true;
    for (int column = 1; column <= layout.formattedColumns; ++column)
        sheet.text(3, column, layout.headings.value(column - 1), heading);

    int row = FirstDataRow;
    int serial = 1;
    for (const QStringList &texts : rows) {
        sheet.number(row, 1, serial++);
        for (int i = 0; i < texts.size(); ++i)
            sheet.text(row, i + 2, texts.at(i));
        if (progress && serial % 1000 == 0)
            progress(serial - 1);
        ++row;
    }
    sheet.fitColumns();
    // The title rows span A to Q and are centred there; column B is set after the fitting, so
    // the long title does not widen it.
    XlsxWriter::Format company;
    company.bold = true;
    company.size = 12;
    company.border = true;
    company.centred = true;
    sheet.merge(1, 1, MergedColumns, layout.company, company);
    XlsxWriter::Format title;
    title.centred = true;
    sheet.merge(2, 1, MergedColumns, layout.title, title);
    sheet.columnWidth(2, 11);
    sheet.close();
    if (progress)
        progress(int(rows.size()));
}

int lastRowToRead(const QString &countText)
{
    const double count = Numbers::leadingValue(countText);
    if (!(count >= FirstDataRow))
        return FirstDataRow;
    return int(std::min(count, 1048576.0));
}

ImportResult importRows(Database &db, int lastRow, const RowStore &rows,
                        const std::function<void(int)> &progress)
{
    ImportResult result;
    result.lastRow = lastRow;
    int row = FirstDataRow;
    while (row <= lastRow && result.failedRow == 0) {
        const int chunkStart = row;
        int storedInChunk = 0;
        try {
            Transaction transaction(db);
            if (rows.begin)
                rows.begin();
            for (; row <= lastRow && row < chunkStart + RowsPerTransaction; ++row) {
                try {
                    rows.store(row);
                    ++storedInChunk;
                } catch (const AppError &error) {
                    result.failedRow = row;
                    result.failure = error.boxText();
                    break;
                }
            }
            transaction.commit();
            result.stored += storedInChunk;
        } catch (const AppError &error) {
            // The transaction itself failed: none of its rows is stored.
            result.failedRow = chunkStart;
            result.failure = error.boxText();
        }
        if (progress)
            progress(row - 1);
    }
    return result;
}

QString notice(const ImportResult &result)
{
    return QStringLiteral("%1 records sucessfully fetched").arg(result.stored);
}

QString failureText(const ImportResult &result)
{
    QString text =
        result.failure + QStringLiteral("\r\rRow %1 could not be stored. ").arg(result.failedRow);
    const int storedUpTo = FirstDataRow + result.stored - 1;
    if (result.stored > 0)
        text += QStringLiteral("%1 records were stored (rows %2 to %3). ")
                    .arg(result.stored)
                    .arg(FirstDataRow)
                    .arg(storedUpTo);
    else
        text += QStringLiteral("No record was stored. ");
    if (result.failedRow < result.lastRow)
        text += QStringLiteral("Rows %1 to %2 were not stored.")
                    .arg(result.failedRow)
                    .arg(result.lastRow);
    else
        text += QStringLiteral("Row %1 was not stored.").arg(result.failedRow);
    return text;
}

} // namespace ListWorkbook
