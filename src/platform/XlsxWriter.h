#pragma once

#include <QString>
#include <memory>

// How a cell looks.
struct XlsxFormat
{
    bool bold = false;
    double size = 0;      // points; 0 keeps the workbook's default
    int fill = -1;        // background as 0xRRGGBB; -1 for none
    bool border = false;  // a thin continuous line round the cell
    bool centred = false;
};

// Writes one-sheet .xlsx workbooks. The file is written beside its target and takes the target's
// name only once it is complete. Every failure is an AppError.
class XlsxWriter
{
public:
    using Format = XlsxFormat;

    explicit XlsxWriter(const QString &path);
    ~XlsxWriter();
    XlsxWriter(const XlsxWriter &) = delete;
    XlsxWriter &operator=(const XlsxWriter &) = delete;

    // Rows and columns count from 1. An empty text leaves the cell empty (with its format).
    void text(int row, int column, const QString &value, const Format &format = {});
    void number(int row, int column, double value, const Format &format = {});
    void merge(int row, int firstColumn, int lastColumn, const QString &value,
               const Format &format = {});
    // Width in characters of the default font.
    void columnWidth(int column, double width);
    // Widths fitted to the longest text written into each column so far.
    void fitColumns();
    void close();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
