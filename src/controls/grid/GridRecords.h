#pragma once

#include <QFlags>
#include <QSharedData>
#include <QSharedDataPointer>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <vector>

// The records behind the grid control: columns, rows, cells and the shared cell formats.

enum class ColumnType : std::int16_t {
    Text = 0,
    Number = 1,
    Date = 2,
    CheckBox = 3,
    ProgressBar = 4,
    CustomSort = 5,
    Button = 6,
};

enum class SortDirection : int {
    Unsorted = 0,
    Descending = 1,
    Ascending = 2, // any other non-zero value sorts ascending too
};

enum class RowFlag : std::uint16_t {
    Checked = 2,
    Selected = 4,
    Changed = 8,
    New = 256,
    Locked = 512,
};
Q_DECLARE_FLAGS(RowFlags, RowFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(RowFlags)

enum class CellFlag : std::uint16_t {
    Checked = 2,
    Changed = 8,
    Bold = 16,
    Italic = 32,
    Underline = 64,
    WordWrap = 128,
};
Q_DECLARE_FLAGS(CellFlags, CellFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(CellFlags)

// The attributes a cell keeps in the shared format table; the values are the host's codes.
enum class FormatAttribute : int {
    BackColor = 1,
    ForeColor = 4,
    Image = 8,
    FontName = 16,
    HandPointer = 256,
};

// Alignment codes: horizontal 0 left, 1 centre, 2 right, plus vertical 0 top, 4 middle, 8 bottom.
constexpr int DefaultAlignment = 4;

struct ColumnRecord
{
    QVariant BoundControl;
    float Width = 0;
    int WidthPixels = 0;
    int Left = 0;
    int Alignment = DefaultAlignment;
    int ImageAlignment = DefaultAlignment;
    SortDirection SortState = SortDirection::Unsorted;
    ColumnType DataType = ColumnType::Text;
    bool WordWrap = false;
    int MoveControl = 0;
    bool Visible = true;
    QString Heading;
    QString Format;
    QString InputFilter;
    QString Tag;
    bool Locked = false;
};

// A cell's text lives in its row (see RowRecord::text); the cell keeps where it ends.
struct CellRecord
{
    CellFlags Flags;
    std::int16_t Alignment = DefaultAlignment;
    std::int16_t FormatIndex = -1;
    std::int16_t ProgressValue = 0;

    QString tag() const { return extra_ ? extra_->tag : QString(); }
    QVariant picture() const { return extra_ ? extra_->picture : QVariant(); }
    void setTag(const QString &tag) { detached().tag = tag; }
    void setPicture(const QVariant &picture) { detached().picture = picture; }

private:
    friend struct RowRecord;
    // Few cells carry a tag or a picture; keeping them out of line keeps 100,000 rows small.
    struct Extra : QSharedData
    {
        QString tag;
        QVariant picture;
    };
    Extra &detached()
    {
        if (!extra_)
            extra_ = new Extra;
        return *extra_;
    }
    QSharedDataPointer<Extra> extra_;
    int textEnd_ = 0;
};

struct RowRecord
{
    int Height = 0;
    int Image = 0;
    int RowData = 0;
    RowFlags Flags;
    QString Tag;
    bool GroupHeader = false;
    bool Visible = true;
    std::vector<CellRecord> Cells;

    QStringView text(int col) const
    {
        const int start = col == 0 ? 0 : Cells[size_t(col - 1)].textEnd_;
        return QStringView(texts_).mid(start, Cells[size_t(col)].textEnd_ - start);
    }
    void setText(int col, QStringView text);
    // Appends a text for the next cell; a row is filled cell by cell.
    void appendText(int col, QStringView text)
    {
        texts_ += text;
        Cells[size_t(col)].textEnd_ = int(texts_.size());
    }
    void reserveText(qsizetype size) { texts_.reserve(size); }
    void addEmptyCell(CellRecord cell)
    {
        cell.textEnd_ = int(texts_.size());
        Cells.push_back(cell);
    }

private:
    // The texts of all cells one after another: one allocation per row instead of one per cell.
    QString texts_;
};

struct CellFormatRecord
{
    std::uint32_t BackColor = 0;
    std::uint32_t ForeColor = 0;
    QString FontName;
    bool HandPointer = false;
    int RefCount = 0;
    std::int16_t Image = 0;

    bool sameLook(const CellFormatRecord &other) const
    {
        return BackColor == other.BackColor && ForeColor == other.ForeColor &&
               FontName == other.FontName && HandPointer == other.HandPointer &&
               Image == other.Image;
    }
};

struct TotalsLineRecord
{
    bool Avg = false;
    QString Caption;
};
