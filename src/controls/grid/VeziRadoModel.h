#pragma once

#include "controls/grid/CellFormatTable.h"
#include "controls/grid/GridRecords.h"
#include "controls/grid/GridView.h"

#include <QString>
#include <QVariant>

#include <deque>
#include <vector>

enum class SearchMode : int {
    Equal = 0,
    AtOrAfter = 1,
    Contains = 2,
    SameFirstAtOrAfter = 4,
    StartsWith = 5,
    EndsWith = 6,
};

// Where a totals-line text goes: the painter formats the value, the export writes it plainly.
enum class TotalsTextUse { Display, Export };

struct CsvOptions
{
    QString caption;
    bool visibleColsOnly = true;
    bool visibleRowsOnly = false;
    bool booleanAsText = true;
};

// The data of the grid control VeziRado: columns, rows, cells, shared cell formats, display
// order, current cell and selection, sorting, find and filter, totals and the CSV text.
// Rows are addressed by display position, columns by column index, unless a name says otherwise.
// Bad arguments raise AppError 9 (subscript out of range) or 6 (overflow).
class VeziRadoModel
{
public:
    VeziRadoModel();

    void setView(GridView *view);
    VeziRadoEvents &events() { return events_; }

    // Building and tearing down.
    int AddColumn(const QString &Caption = {}, float Width = 500, int Alignment = DefaultAlignment,
                  ColumnType DataType = ColumnType::Text, const QString &Format = {},
                  const QString &InputFilter = {}, int ImageAlignment = DefaultAlignment,
                  bool WordWrap = false, int Index = 0, bool bVisible = true, bool bLocked = false);
    int AddRow(const QString &vstrItem = {}, int vRow = -1, bool vbRowChecked = false,
               bool vbMarkAsNew = false, bool vbRowLocked = false, bool vbRowVisible = true,
               int vRowData = 0);
    int AddItem(const QString &vstrItem = {}, int vRow = -1, bool vbRowChecked = false,
                bool vbMarkAsNew = false, bool vbRowLocked = false, bool vbRowVisible = true,
                int vRowData = 0);
    void RemoveRow(int vRow = -1);
    void RemoveItem(int vRow = -1) { RemoveRow(vRow); }
    void DeleteSelected();
    void Clear();
    void ClearAll();

    int Rows() const { return int(rows_.size()); }
    int ItemCount() const { return Rows(); }
    int Cols() const { return int(columns_.size()); }
    int LastRowIndex() const { return Rows() - 1; }
    int CacheIncrement() const { return cacheIncrement_; }
    void setCacheIncrement(int vNewValue);
    // A saved value is taken as it was stored, without the setter's rule.
    void restoreCacheIncrement(int value) { cacheIncrement_ = value; }
    static double rVal(QStringView vString);

    // Shared by the other facets of the control.
    bool FixRef(int &row, int &col) const;
    void ApplyCellFormat(int record, int col, FormatAttribute attribute, const QVariant &value);
    int ColDisplayIndex(int col) const;
    static bool IsValidCell(int row, int col) { return row >= 0 && col >= 0; }

    const ColumnRecord &column(int col) const;
    int recordAt(int displayRow) const;
    const RowRecord &rowAt(int displayRow) const { return rows_[size_t(recordAt(displayRow))]; }
    const CellRecord &cellAt(int displayRow, int col) const;
    QStringView textAt(int displayRow, int col) const;
    const std::vector<int> &RowOrder() const { return rowOrder_; }
    const std::vector<int> &ColumnOrder() const { return columnOrder_; }
    // A permutation of the column indexes, as a column drag or the saved layout gives it.
    void setColumnOrder(const std::vector<int> &order);
    const CellFormatTable &CellFormats() const { return formats_; }
    bool ColVisible(int col) const { return column(col).Visible; }
    // Where the header drawing last placed a column, right of the row-number column.
    void setColumnLeft(int col, int left);
    // A row's height in pixels as the layout computed it; no relayout, no repaint.
    void setRowPixelHeight(int displayRow, int height) { row(displayRow).Height = height; }
    void setColVisible(int col, bool visible);

    // The grid-wide look that new cells take; the window keeps these in step with its own.
    quint32 BackColor() const { return defaultLook_.BackColor; }
    quint32 ForeColor() const { return defaultLook_.ForeColor; }
    QString FontName() const { return defaultLook_.FontName; }
    void setDefaultLook(quint32 backColor, quint32 foreColor, const QString &fontName);

    // The drawing gate: Redraw is the host's switch, DrawingOn the moment's.
    bool Redraw() const { return redraw_; }
    void setRedraw(bool redraw);
    bool DrawingOn() const { return drawingOn_; }
    void DrawingEnable(bool on) { drawingOn_ = on && redraw_; }
    void RefreshIfRedraw();
    void repaint();
    // Work asked for while drawing was off, done when Redraw is switched on.
    bool RepaintPending() const { return repaintPending_; }
    bool LayoutPending() const { return layoutPending_; }
    void setRepaintPending(bool pending) { repaintPending_ = pending; }

    // Cells.
    int CellAlignment(int vRow, int vCol) const;
    void setCellAlignment(int vRow, int vCol, int vNewValue);
    quint32 CellBackColor(int vRow, int vCol) const;
    void setCellBackColor(int vRow, int vCol, quint32 vNewValue);
    quint32 CellForeColor(int vRow, int vCol) const;
    void setCellForeColor(int vRow, int vCol, quint32 vNewValue);
    QString CellFontName(int vRow, int vCol) const;
    void setCellFontName(int vRow, int vCol, const QString &vNewValue);
    bool CellHandPointer(int vRow, int vCol) const;
    void setCellHandPointer(int vRow, int vCol, bool vNewValue);
    QVariant CellImage(int vRow, int vCol) const;
    void setCellImage(int vRow, int vCol, const QVariant &vNewValue);
    bool CellChanged(int vRow, int vCol) const;
    bool CellChecked(int vRow = -1, int vCol = -1) const;
    void setCellChecked(int vRow, int vCol, bool vNewValue);
    bool CellFontBold(int vRow, int vCol) const;
    void setCellFontBold(int vRow, int vCol, bool vNewValue);
    bool CellFontItalic(int vRow, int vCol) const;
    void setCellFontItalic(int vRow, int vCol, bool vNewValue);
    bool CellFontUnderline(int vRow, int vCol) const;
    void setCellFontUnderline(int vRow, int vCol, bool vNewValue);
    bool CellWordWrap(int vRow, int vCol) const;
    void setCellWordWrap(int vRow, int vCol, bool vNewValue);
    void CellPicture(const QVariant &vNewValue, int vRow = -1, int vCol = -1);
    QVariant CellPictureGet(int vRow = -1, int vCol = -1) const;
    quint32 CellProgressBarColor() const { return progressBarColor_; }
    void setCellProgressBarColor(quint32 vNewValue);
    int CellProgressValue(int vRow, int vCol) const;
    void setCellProgressValue(int vRow, int vCol, int vNewValue);
    bool CellsChanged() const { return cellsChanged_; }
    QString CellTag(int vRow = -1, int vCol = -1) const;
    void setCellTag(int vRow, int vCol, const QString &vNewValue);
    QString CellText(int vRow = -1, int vCol = -1) const;
    void setCellText(int vRow, int vCol, const QString &vNewValue);
    QVariant CellValue(int vRow = -1, int vCol = -1) const;
    void setCellValue(int vRow, int vCol, const QVariant &vNewValue);
    void FormatCells(int RowFrom = 0, int RowTo = -1, int ColFrom = 0, int ColTo = -1, int Mode = 8,
                     const QString &vNewValue = {}, int vNewAlign = DefaultAlignment);
    void FormatCellsAlignment(int RowFrom = 0, int RowTo = -1, int ColFrom = 0, int ColTo = -1,
                              int vAlignment = DefaultAlignment);
    void SetCellChanged(int row, int col);

    // Rows.
    bool RowAdded(int vRow) const;
    bool RowChanged(int vRow) const;
    bool RowChecked(int vRow = -1) const;
    void setRowChecked(int vRow, bool vNewValue);
    int RowData(int vRow = -1) const;
    void setRowData(int vRow, int vNewValue);
    QString RowTag(int vRow = -1) const;
    void setRowTag(int vRow, const QString &vNewValue);
    bool RowGroupHeader(int vRow = -1) const;
    void setRowGroupHeader(int vRow, bool vNewValue);
    bool RowLocked(int vRow = -1) const;
    void setRowLocked(int vRow, bool vNewValue);
    bool RowVisible(int vRow = -1) const;
    void setRowVisible(int vRow, bool vNewValue);
    float RowHeight(int vRow = -1) const;
    void setRowHeight(int vRow, float vNewValue);
    QVariant RowImage(int vRow = -1) const;
    void setRowImage(int vRow, const QVariant &vNewValue);
    void setRowBackColor(int vRow, quint32 vNewValue);
    void setRowForeColor(int vRow, quint32 vNewValue);
    void setRowFontBold(int vRow, bool vNewValue);
    QVariant ExpandRowImage() const;
    void setExpandRowImage(const QVariant &vNewValue);

    // Current cell and selection.
    int Row() const { return currentRow_; }
    void setRow(int vRow) { RowColSet(vRow, -1); }
    int Col() const;
    void setCol(int vCol);
    int CurrentColPosition() const { return currentColPosition_; }
    void RowColSet(int lNewRow = -1, int lNewCol = -1);
    bool MakeCellCurrent(int row, int displayCol, bool scroll, bool set);
    int MultiSelect() const { return multiSelect_; }
    void setMultiSelect(int vNewValue);
    bool RowSelected(int vRow = -1) const;
    void setRowSelected(int vRow, bool vNewValue);
    int SelectedCount() const;
    int CheckedCount() const;
    void SelectedClearAll();
    void RowUnSelect();
    bool LockedRowHit() const { return lockedRowHit_; }
    void setLockedRowHit(bool hit) { lockedRowHit_ = hit; }
    bool LockedColHit() const { return lockedColHit_; }
    void setLockedColHit(bool hit) { lockedColHit_ = hit; }
    // Sets or clears the Selected flag over display rows `from` to `to` in either direction
    // (-1: the first or the last row); answers whether a change is reported. No event, no repaint.
    bool SelectRowRange(bool select, int from, int to) { return selectRowRange(select, from, to); }
    // Stores the current row as it is, for the moves that set it without the move rules.
    void setCurrentRowPosition(int displayRow) { currentRow_ = displayRow; }

    // Column widths: `width` in the grid's scale units, `widthPixels` as drawn.
    void setColumnWidth(int col, float width, int widthPixels);
    // The host control that edits a column's cells (a null variant for none), and its MoveControl.
    void setBoundControl(int col, const QVariant &control, int moveControl);

    // Column members by column index, never mapped through ColumnOrder (VeziRadoColumnMembers.cpp).
    QString ColHeading(int vCol) const { return column(vCol).Heading; }
    void setColHeading(int vCol, const QString &vNewValue);
    int ColAlignment(int vCol) const { return column(vCol).Alignment; }
    void setColAlignment(int vCol, int vNewValue);
    int ColImageAlignment(int vCol) const { return column(vCol).ImageAlignment; }
    void setColImageAlignment(int vCol, int vNewValue);
    QString ColFormat(int vCol) const { return column(vCol).Format; }
    void setColFormat(int vCol, const QString &vNewValue);
    QString ColInputFilter(int vCol) const { return column(vCol).InputFilter; }
    void setColInputFilter(int vCol, const QString &vNewValue);
    QString ColTag(int vCol) const { return column(vCol).Tag; }
    void setColTag(int vCol, const QString &vNewValue);
    int ColType(int vCol) const { return int(column(vCol).DataType); }
    void setColType(int vCol, int vNewValue);
    bool ColLocked(int vCol) const;
    void setColLocked(int vCol, bool vNewValue);
    bool ColWordWrap(int vCol) const { return column(vCol).WordWrap; }
    void setColWordWrap(int vCol, bool vNewValue);
    float ColWidth(int vCol) const { return column(vCol).Width; }
    void setColWidth(int vCol, float vNewValue);

    // Sorting.
    void Sort(int vCol1 = -1, int vCol1SortType = -1, int vCol2 = -1, int vCol2SortType = -1);
    int PrimarySortCol() const { return primarySortCol_; }
    int SecondarySortCol() const { return secondarySortCol_; }
    void setColSortState(int col, SortDirection state);
    // The columns a header click sorts by next (-1: none).
    void setSortColumns(int primary, int secondary)
    {
        primarySortCol_ = primary;
        secondarySortCol_ = secondary;
    }

    // Find and filter.
    int FindItem(const QString &SearchText, int SearchColumn = -1, int SearchMode = 0,
                 bool MatchCase = false, int StartingRow = 0) const;
    void FilterOn(const QString &FilterText, int SearchColumn, int SearchMode = 0,
                  bool MatchCase = false, int StartingRow = 0);
    void FilterOff(int StartingRow = 0);
    int SearchColumn() const { return searchColumn_; }
    void setSearchColumn(int vNewValue) { searchColumn_ = vNewValue; }

    // Totals line.
    bool TotalsLineShow() const { return totalsLineShow_; }
    void setTotalsLineShow(bool vNewValue);
    QString TotalsLineCaption(int Index) const;
    void setTotalsLineCaption(int Index, const QString &vNewValue);
    bool TotalsLineColAvg(int Index) const;
    void setTotalsLineColAvg(int Index, bool vNewValue);
    double TotalsCol(int vCol) const;
    QString TotalsLineText(int col, TotalsTextUse use) const;

    // The text of the CSV export, lines ending CR LF but the totals line.
    QString BuildCsv(const CsvOptions &options = {}) const;

private:
    CellRecord &cell(int displayRow, int col);
    RowRecord &row(int displayRow) { return rows_[size_t(recordAt(displayRow))]; }
    void checkCell(int vRow, int vCol) const;
    void checkColumn(int col) const;
    const CellFormatRecord &lookOf(const CellRecord &cell) const;
    void setCellFlag(int vRow, int vCol, CellFlag flag, bool on);
    void replaceText(int displayRow, int col, const QString &text);
    void resetCurrentState();
    bool selectRowRange(bool select, int from, int to);
    void raise(const std::function<void()> &event) const;
    void sortRange(int first, int last, int col, SortDirection state, int thisYear);
    void sortSecondary(int thisYear);

    GridView *view_;
    VeziRadoEvents events_;

    std::vector<ColumnRecord> columns_;
    std::vector<int> columnOrder_;
    std::deque<RowRecord> rows_; // grows without moving the rows already there
    std::vector<int> rowOrder_;
    CellFormatTable formats_;
    std::vector<double> columnTotals_;
    std::vector<TotalsLineRecord> totalsLine_;
    CellFormatRecord defaultLook_;

    int cacheIncrement_ = 10;
    bool redraw_ = false;
    bool drawingOn_ = false;
    bool repaintPending_ = false;
    bool layoutPending_ = false;
    int paints_ = 0; // repaints asked for so far, so an operation can tell whether it repainted
    bool cellsChanged_ = false;
    quint32 progressBarColor_ = 0;
    std::int16_t expandRowImage_ = 0;

    int currentRow_ = -1;
    int currentColPosition_ = -1;
    int multiSelect_ = 0;
    bool lockedRowHit_ = false;
    bool lockedColHit_ = false;

    int primarySortCol_ = -1;
    int secondarySortCol_ = -1;
    int searchColumn_ = 0;
    bool totalsLineShow_ = false;
};
