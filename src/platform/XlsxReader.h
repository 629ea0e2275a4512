#pragma once

#include <QString>
#include <functional>
#include <vector>

// Reads the first sheet of an .xlsx workbook: shared and inline strings (with the format's
// "_xHHHH_" escapes decoded), numbers, booleans, dates as their serial numbers, and cells or rows
// written without references. Anything that is not a readable workbook is an AppError with a
// message for the user.
namespace XlsxReader {

struct Cell
{
    enum class Kind { Empty, Text, Number, Boolean, Error };
    Kind kind = Kind::Empty;
    QString text;      // the text, or the error's text
    double number = 0; // a number, a boolean as 0 or 1, a date's serial in the 1900 date system
                       // also where the workbook counts from 1904
    bool date = false; // a number whose format shows a date

    // The value as the sheet shows it in general format: texts unchanged, numbers without an
    // exponent or trailing zeros, booleans as TRUE or FALSE, dates as "dd-MMM-yy".
    QString asText() const;
};

struct Sheet
{
    // rows[r][c] is row r+1, column c+1; short rows leave their missing cells empty.
    std::vector<std::vector<Cell>> rows;
    // The number of the last row that holds a cell (the used range seen from row 1).
    int lastRow() const { return int(rows.size()); }
    const Cell &cell(int row, int column) const; // from 1; an empty cell outside the sheet
};

// progress(rowsRead) is called now and then while the sheet is read.
Sheet readFirstSheet(const QString &path, const std::function<void(int)> &progress = {});

// The date of a serial number (1900 date system, 60 being the day that never was).
QString serialToShortDate(double serial);

} // namespace XlsxReader
