#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Database;

// The list workbook the book and card lists exchange: the company's name in row 1, the list's
// title in row 2, headings in row 3 and one record per row from row 4, with its serial number in
// column 1.
namespace ListWorkbook {

inline constexpr int FirstDataRow = 4;

struct Layout
{
    QString company;
    QString title;        // "BOOK LIST"
    QStringList headings; // from column 1, "Sr. No." first
    int formattedColumns; // the heading format runs over columns 1 to this
};

// Writes the workbook; each row holds the texts of columns 2 on. progress(rowsWritten) is called
// now and then. Any failure is an AppError and leaves no file behind.
void write(const QString &path, const Layout &layout, const std::vector<QStringList> &rows,
           const std::function<void(int)> &progress = {});

// The last workbook row an import reads from the count box's text: its number, but row 4 is
// always read.
int lastRowToRead(const QString &countText);

struct ImportResult
{
    int stored = 0;
    int lastRow = FirstDataRow; // the last row that was to be read
    int failedRow = 0;          // the row that could not be stored; 0 when all were
    QString failure;            // why, as the error box says it
};

// How an import stores its rows. begin() runs inside each transaction before its first row: keys
// counted on in memory are read there, where no other program can add a row until the commit.
struct RowStore
{
    std::function<void()> begin; // may be empty
    std::function<void(int row)> store;
};

// Rows stored in one transaction. Few enough that another desk's save waits only a moment; many
// enough that a catalogue's indexes are written once for many rows, not again and again.
constexpr int RowsPerTransaction = 2000;

// Stores rows 4 to lastRow one by one, in transactions of RowsPerTransaction rows so that a large
// sheet does not wait on the disk for every row. A row that fails ends the import: the rows before
// it stay stored. progress(row) is called between transactions.
ImportResult importRows(Database &db, int lastRow, const RowStore &rows,
                        const std::function<void(int row)> &progress = {});

// The closing notice: "<n> records sucessfully fetched".
QString notice(const ImportResult &result);
// The box for an import that stopped at a row: which rows were stored and which were not.
QString failureText(const ImportResult &result);

} // namespace ListWorkbook
