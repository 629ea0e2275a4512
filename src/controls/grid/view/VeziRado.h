#pragma once

#include "controls/grid/VeziRadoModel.h"
#include "controls/grid/view/GridGeometry.h"
#include "controls/grid/view/GridImageList.h"
#include "controls/grid/view/GridProperties.h"
#include "controls/grid/view/GridTheme.h"
#include "controls/grid/view/ScrollBarModel.h"
#include "controls/grid/view/WindowHook.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>

class PropertyBag;
class QLabel;
class QLineEdit;
class QKeyEvent;
class QPainter;
class QTimer;
class QValidator;

// The program's own data grid: columns and rows of tab-separated texts that it draws itself, with
// caption bar, headers, row numbers, check boxes, images and a totals line; it scrolls, keeps a
// current cell and a selection, sorts, finds and filters. The data lives in VeziRadoModel; this
// window keeps the grid-wide settings, the geometry, the scroll bars and the events. The members
// carry the grid's own names.
class VeziRado : public QAbstractScrollArea, private GridView
{
    Q_OBJECT

public:
    enum class Bar : int { Horizontal = 0, Vertical = 1 };

    explicit VeziRado(QWidget *parent = nullptr);
    ~VeziRado() override;

    // Life cycle: a grid newly placed on a window, or one loaded from its saved properties.
    // A load while the window is designed (`userMode` false) starts no hook and no scroll bars.
    void InitProperties();
    void ReadProperties(const PropertyBag &bag, bool userMode = true);
    void WriteProperties(PropertyBag &bag) const;

    // Settings.
    bool AllowColumnDrag() const { return p_.AllowColumnDrag; }
    void setAllowColumnDrag(bool vNewValue);
    bool AllowColumnSwap() const { return p_.AllowColumnSwap; }
    void setAllowColumnSwap(bool vNewValue);
    bool AllowColumnHover() const { return p_.AllowColumnHover; }
    void setAllowColumnHover(bool vNewValue);
    bool AllowColumnResizing() const { return p_.AllowColumnResizing; }
    void setAllowColumnResizing(bool vNewValue);
    bool AllowColumnSort() const { return p_.AllowColumnSort; }
    void setAllowColumnSort(bool vNewValue);
    bool AllowDelete() const { return p_.AllowDelete; }
    void setAllowDelete(bool vNewValue);
    bool AllowEdit() const { return p_.AllowEdit; }
    void setAllowEdit(bool vNewValue);
    bool AllowInsert() const { return p_.AllowInsert; }
    void setAllowInsert(bool vNewValue);
    bool AllowRowResizing() const { return p_.AllowRowResizing; }
    void setAllowRowResizing(bool vNewValue);
    bool AllowWordWrap() const { return p_.AllowWordWrap; }
    void setAllowWordWrap(bool vNewValue);
    bool AlphaBlendSelection() const { return p_.AlphaBlendSelection; }
    void setAlphaBlendSelection(bool vNewValue);
    bool ApplySelectionToImages() const { return p_.ApplySelectionToImages; }
    void setApplySelectionToImages(bool vNewValue);
    bool AutoToolTips() const { return p_.AutoToolTips; }
    void setAutoToolTips(bool vNewValue);
    bool DisplayEllipsis() const { return p_.DisplayEllipsis; }
    void setDisplayEllipsis(bool vNewValue);
    Grid::Appearance Appearance() const { return p_.Appearance; }
    void setAppearance(int udtValue);
    Grid::BorderStyle BorderStyle() const { return p_.BorderStyle; }
    void setBorderStyle(int vNewValue);
    bool Enabled() const { return isEnabled(); }
    void setEnabled(bool vNewValue);
    WId hWnd() const { return effectiveWinId(); }

    quint32 BackColor() const { return p_.BackColor; }
    void setBackColor(quint32 vNewValue);
    quint32 BackColorBkg() const { return p_.BackColorBkg; }
    void setBackColorBkg(quint32 vNewValue);
    quint32 BackColorEdit() const { return p_.BackColorEdit; }
    void setBackColorEdit(quint32 vNewValue);
    quint32 BackColorEvenRows() const { return p_.BackColorEvenRows; }
    void setBackColorEvenRows(quint32 vNewValue);
    bool BackColorEvenRowsEnabled() const { return p_.BackColorEvenRowsEnabled; }
    void setBackColorEvenRowsEnabled(bool vNewValue);
    quint32 BackColorSel() const { return p_.BackColorSel; }
    void setBackColorSel(quint32 vNewValue);
    quint32 ForeColor() const { return p_.ForeColor; }
    void setForeColor(quint32 vNewValue);
    quint32 ForeColorEdit() const { return p_.ForeColorEdit; }
    void setForeColorEdit(quint32 vNewValue);
    quint32 ForeColorHdr() const { return p_.ForeColorHdr; }
    void setForeColorHdr(quint32 vNewValue);
    quint32 ForeColorSel() const { return p_.ForeColorSel; }
    void setForeColorSel(quint32 vNewValue);
    quint32 GridColor() const { return p_.GridColor; }
    void setGridColor(quint32 vNewValue);
    Grid::GridLines GridLines() const { return p_.GridLines; }
    void setGridLines(Grid::GridLines vNewValue);
    int GridLineWidth() const { return p_.GridLineWidth; }
    void setGridLineWidth(int vNewValue);
    quint32 FocusRectColor() const { return p_.FocusRectColor; }
    void setFocusRectColor(quint32 vNewValue);
    bool FocusRectHide() const { return p_.FocusRectHide; }
    void setFocusRectHide(bool vNewValue);
    Grid::FocusRectMode FocusRectMode() const { return p_.FocusRectMode; }
    void setFocusRectMode(Grid::FocusRectMode vNewValue);
    Grid::FocusRectStyle FocusRectStyle() const { return p_.FocusRectStyle; }
    void setFocusRectStyle(Grid::FocusRectStyle vNewValue);
    bool FocusRowHighlight() const { return p_.FocusRowHighlight; }
    void setFocusRowHighlight(bool vNewValue);
    bool FocusRowHighlightKeepTextForecolor() const
    {
        return p_.FocusRowHighlightKeepTextForecolor;
    }
    void setFocusRowHighlightKeepTextForecolor(bool vNewValue);
    Grid::FocusRowHighlightStyle FocusRowHighlightStyle() const
    {
        return p_.FocusRowHighlightStyle;
    }
    void setFocusRowHighlightStyle(Grid::FocusRowHighlightStyle vNewValue);
    QString Caption() const { return p_.Caption; }
    void setCaption(const QString &vNewValue);
    int CaptionAlignment() const { return p_.CaptionAlignment; }
    void setCaptionAlignment(int vNewValue);
    QFont Font() const { return p_.Font; }
    void setFont(const QFont &vNewValue);
    QFont FontHeader() const { return p_.FontHeader; }
    void setFontHeader(const QFont &vNewValue);
    int FreezeAtCol() const { return p_.FreezeAtCol; }
    void setFreezeAtCol(int vNewValue);
    GridImageList *ImageList() const { return imageList_; }
    void setImageList(GridImageList *vNewValue);
    int MaxLineCount() const { return p_.MaxLineCount; }
    void setMaxLineCount(int vNewValue);
    int MinRowHeight() const { return p_.MinRowHeight; }
    void setMinRowHeight(int vNewValue);
    int MinVerticalOffset() const { return p_.MinVerticalOffset; }
    void setMinVerticalOffset(int vNewValue);
    bool Redraw() const { return model_.Redraw(); }
    void setRedraw(bool vNewValue);
    Grid::ScaleUnits ScaleUnits() const { return p_.ScaleUnits; }
    void setScaleUnits(Grid::ScaleUnits vNewValue);
    bool ShowRowNumbers() const { return p_.ShowRowNumbers; }
    void setShowRowNumbers(bool vNewValue);
    bool ShowRowNumbersVary() const { return p_.ShowRowNumbersVary; }
    void setShowRowNumbersVary(bool vNewValue);
    bool ColumnHeaders() const { return p_.ColumnHeaders; }
    void setColumnHeaders(bool vNewValue);
    int ColumnHeaderLines() const { return p_.ColumnHeaderLines; }
    void setColumnHeaderLines(int vNewValue);
    bool ColumnHeaderSmall() const { return p_.ColumnHeaderSmall; }
    void setColumnHeaderSmall(bool vNewValue);
    bool RowCheckBoxes() const { return p_.RowCheckBoxes; }
    void setRowCheckBoxes(bool vNewValue);
    bool CenterRowImage() const { return p_.CenterRowImage; }
    void setCenterRowImage(bool vNewValue);
    int EditTrigger() const { return p_.EditTrigger; }
    void setEditTrigger(int vNewValue);
    Grid::EditMove EditMove() const { return p_.EditMove; }
    void setEditMove(Grid::EditMove vNewValue);
    bool EditPending() const { return editPending_; }

    // Themes.
    Grid::ThemeColor ThemeColor() const { return p_.ThemeColor; }
    void setThemeColor(Grid::ThemeColor vData);
    Grid::ThemeStyle ThemeStyle() const { return p_.ThemeStyle; }
    void setThemeStyle(Grid::ThemeStyle vNewValue);
    quint32 ThemeCustomColorFrom() const { return p_.ThemeCustomColorFrom; }
    void setThemeCustomColorFrom(quint32 new_ColorFrom);
    quint32 ThemeCustomColorTo() const { return p_.ThemeCustomColorTo; }
    void setThemeCustomColorTo(quint32 new_ColorTo);
    // The desktop's look for automatic schemes; tests and hosts may give their own.
    void setDesktopLookProvider(GridTheme::DesktopLookProvider provider);
    QString themeSchemeName() const { return schemeName_; }

    // Scroll bars.
    Grid::ScrollBars ScrollBars() const { return p_.ScrollBars; }
    void setScrollBars(Grid::ScrollBars vNewValue);
    Grid::ScrollBarStyle ScrollBarStyle() const { return p_.ScrollBarStyle; }
    void setScrollBarStyle(Grid::ScrollBarStyle vNewValue);
    bool ScrollTrack() const { return p_.ScrollTrack; }
    void setScrollTrack(bool vNewValue);
    int SBLargeChange(Bar eBar) const { return bar(eBar).page(); }
    void setSBLargeChange(Bar eBar, int iLargeChange);

    // Methods of the whole grid.
    void Refresh();
    QString GetInfo(int lInfo) const;
    int VisibleHeight();
    int VisibleWidth();
    int RowFirstVisible() const { return firstVisibleRow_; }
    int RowLastVisible() const { return lastVisibleRow_; }

    // The data members, kept by the model.
    int AddColumn(const QString &Caption = {}, float Width = 500, int Alignment = DefaultAlignment,
                  ColumnType DataType = ColumnType::Text, const QString &Format = {},
                  const QString &InputFilter = {}, int ImageAlignment = DefaultAlignment,
                  bool WordWrap = false, int Index = 0, bool bVisible = true, bool bLocked = false)
    {
        return model_.AddColumn(Caption, Width, Alignment, DataType, Format, InputFilter,
                                ImageAlignment, WordWrap, Index, bVisible, bLocked);
    }
    int AddRow(const QString &vstrItem = {}, int vRow = -1, bool vbRowChecked = false,
               bool vbMarkAsNew = false, bool vbRowLocked = false, bool vbRowVisible = true,
               int vRowData = 0)
    {
        return model_.AddRow(vstrItem, vRow, vbRowChecked, vbMarkAsNew, vbRowLocked, vbRowVisible,
                             vRowData);
    }
    int AddItem(const QString &vstrItem = {}, int vRow = -1, bool vbRowChecked = false,
                bool vbMarkAsNew = false, bool vbRowLocked = false, bool vbRowVisible = true,
                int vRowData = 0)
    {
        return AddRow(vstrItem, vRow, vbRowChecked, vbMarkAsNew, vbRowLocked, vbRowVisible,
                      vRowData);
    }
    void RemoveRow(int vRow = -1) { model_.RemoveRow(vRow); }
    void RemoveItem(int vRow = -1) { model_.RemoveItem(vRow); }
    void DeleteSelected() { model_.DeleteSelected(); }
    void Clear() { model_.Clear(); }
    void ClearAll() { model_.ClearAll(); }
    int Rows() const { return model_.Rows(); }
    int ItemCount() const { return model_.ItemCount(); }
    int Cols() const { return model_.Cols(); }
    int CacheIncrement() const { return model_.CacheIncrement(); }
    void setCacheIncrement(int vNewValue)
    {
        model_.setCacheIncrement(vNewValue);
        markChanged(QStringLiteral("CacheIncrement"));
    }
    static double rVal(QStringView vString) { return VeziRadoModel::rVal(vString); }
    bool ColVisible(int col) const { return model_.ColVisible(col); }
    void setColVisible(int col, bool visible) { model_.setColVisible(col, visible); }

    int CellAlignment(int vRow, int vCol) const { return model_.CellAlignment(vRow, vCol); }
    void setCellAlignment(int vRow, int vCol, int vNewValue)
    {
        model_.setCellAlignment(vRow, vCol, vNewValue);
    }
    quint32 CellBackColor(int vRow, int vCol) const { return model_.CellBackColor(vRow, vCol); }
    void setCellBackColor(int vRow, int vCol, quint32 vNewValue)
    {
        model_.setCellBackColor(vRow, vCol, vNewValue);
    }
    quint32 CellForeColor(int vRow, int vCol) const { return model_.CellForeColor(vRow, vCol); }
    void setCellForeColor(int vRow, int vCol, quint32 vNewValue)
    {
        model_.setCellForeColor(vRow, vCol, vNewValue);
    }
    QString CellFontName(int vRow, int vCol) const { return model_.CellFontName(vRow, vCol); }
    void setCellFontName(int vRow, int vCol, const QString &vNewValue)
    {
        model_.setCellFontName(vRow, vCol, vNewValue);
    }
    bool CellHandPointer(int vRow, int vCol) const { return model_.CellHandPointer(vRow, vCol); }
    void setCellHandPointer(int vRow, int vCol, bool vNewValue)
    {
        model_.setCellHandPointer(vRow, vCol, vNewValue);
    }
    QVariant CellImage(int vRow, int vCol) const { return model_.CellImage(vRow, vCol); }
    void setCellImage(int vRow, int vCol, const QVariant &vNewValue)
    {
        model_.setCellImage(vRow, vCol, vNewValue);
    }
    bool CellChanged(int vRow, int vCol) const { return model_.CellChanged(vRow, vCol); }
    bool CellChecked(int vRow = -1, int vCol = -1) const { return model_.CellChecked(vRow, vCol); }
    void setCellChecked(int vRow, int vCol, bool vNewValue)
    {
        model_.setCellChecked(vRow, vCol, vNewValue);
    }
    bool CellFontBold(int vRow, int vCol) const { return model_.CellFontBold(vRow, vCol); }
    void setCellFontBold(int vRow, int vCol, bool vNewValue)
    {
        model_.setCellFontBold(vRow, vCol, vNewValue);
    }
    bool CellFontItalic(int vRow, int vCol) const { return model_.CellFontItalic(vRow, vCol); }
    void setCellFontItalic(int vRow, int vCol, bool vNewValue)
    {
        model_.setCellFontItalic(vRow, vCol, vNewValue);
    }
    bool CellFontUnderline(int vRow, int vCol) const
    {
        return model_.CellFontUnderline(vRow, vCol);
    }
    void setCellFontUnderline(int vRow, int vCol, bool vNewValue)
    {
        model_.setCellFontUnderline(vRow, vCol, vNewValue);
    }
    bool CellWordWrap(int vRow, int vCol) const { return model_.CellWordWrap(vRow, vCol); }
    void setCellWordWrap(int vRow, int vCol, bool vNewValue)
    {
        model_.setCellWordWrap(vRow, vCol, vNewValue);
    }
    void CellPicture(const QVariant &vNewValue, int vRow = -1, int vCol = -1)
    {
        model_.CellPicture(vNewValue, vRow, vCol);
    }
    QVariant CellPictureGet(int vRow = -1, int vCol = -1) const
    {
        return model_.CellPictureGet(vRow, vCol);
    }
    quint32 CellProgressBarColor() const { return model_.CellProgressBarColor(); }
    void setCellProgressBarColor(quint32 vNewValue)
    {
        markChanged(QStringLiteral("ProgressBarColor"));
        model_.setCellProgressBarColor(vNewValue);
    }
    int CellProgressValue(int vRow, int vCol) const { return model_.CellProgressValue(vRow, vCol); }
    void setCellProgressValue(int vRow, int vCol, int vNewValue)
    {
        model_.setCellProgressValue(vRow, vCol, vNewValue);
    }
    bool CellsChanged() const { return model_.CellsChanged(); }
    QString CellTag(int vRow = -1, int vCol = -1) const { return model_.CellTag(vRow, vCol); }
    void setCellTag(int vRow, int vCol, const QString &vNewValue)
    {
        model_.setCellTag(vRow, vCol, vNewValue);
    }
    QString CellText(int vRow = -1, int vCol = -1) const { return model_.CellText(vRow, vCol); }
    void setCellText(int vRow, int vCol, const QString &vNewValue)
    {
        model_.setCellText(vRow, vCol, vNewValue);
    }
    QVariant CellValue(int vRow = -1, int vCol = -1) const { return model_.CellValue(vRow, vCol); }
    void setCellValue(int vRow, int vCol, const QVariant &vNewValue)
    {
        model_.setCellValue(vRow, vCol, vNewValue);
    }
    void FormatCells(int RowFrom = 0, int RowTo = -1, int ColFrom = 0, int ColTo = -1, int Mode = 8,
                     const QString &vNewValue = {}, int vNewAlign = DefaultAlignment)
    {
        model_.FormatCells(RowFrom, RowTo, ColFrom, ColTo, Mode, vNewValue, vNewAlign);
    }
    void FormatCellsAlignment(int RowFrom = 0, int RowTo = -1, int ColFrom = 0, int ColTo = -1,
                              int vAlignment = DefaultAlignment)
    {
        model_.FormatCellsAlignment(RowFrom, RowTo, ColFrom, ColTo, vAlignment);
    }

    bool RowAdded(int vRow) const { return model_.RowAdded(vRow); }
    bool RowChanged(int vRow) const { return model_.RowChanged(vRow); }
    bool RowChecked(int vRow = -1) const { return model_.RowChecked(vRow); }
    void setRowChecked(int vRow, bool vNewValue) { model_.setRowChecked(vRow, vNewValue); }
    int RowData(int vRow = -1) const { return model_.RowData(vRow); }
    void setRowData(int vRow, int vNewValue) { model_.setRowData(vRow, vNewValue); }
    QString RowTag(int vRow = -1) const { return model_.RowTag(vRow); }
    void setRowTag(int vRow, const QString &vNewValue) { model_.setRowTag(vRow, vNewValue); }
    bool RowGroupHeader(int vRow = -1) const { return model_.RowGroupHeader(vRow); }
    void setRowGroupHeader(int vRow, bool vNewValue) { model_.setRowGroupHeader(vRow, vNewValue); }
    bool RowLocked(int vRow = -1) const { return model_.RowLocked(vRow); }
    void setRowLocked(int vRow, bool vNewValue) { model_.setRowLocked(vRow, vNewValue); }
    bool RowVisible(int vRow = -1) const { return model_.RowVisible(vRow); }
    void setRowVisible(int vRow, bool vNewValue) { model_.setRowVisible(vRow, vNewValue); }
    float RowHeight(int vRow = -1) const { return model_.RowHeight(vRow); }
    void setRowHeight(int vRow, float vNewValue) { model_.setRowHeight(vRow, vNewValue); }
    QVariant RowImage(int vRow = -1) const { return model_.RowImage(vRow); }
    void setRowImage(int vRow, const QVariant &vNewValue) { model_.setRowImage(vRow, vNewValue); }
    void setRowBackColor(int vRow, quint32 vNewValue) { model_.setRowBackColor(vRow, vNewValue); }
    void setRowForeColor(int vRow, quint32 vNewValue) { model_.setRowForeColor(vRow, vNewValue); }
    void setRowFontBold(int vRow, bool vNewValue) { model_.setRowFontBold(vRow, vNewValue); }
    QVariant ExpandRowImage() const { return model_.ExpandRowImage(); }
    void setExpandRowImage(const QVariant &vNewValue) { model_.setExpandRowImage(vNewValue); }

    int Row() const { return model_.Row(); }
    void setRow(int vRow) { model_.setRow(vRow); }
    int Col() const { return model_.Col(); }
    void setCol(int vCol) { model_.setCol(vCol); }
    void RowColSet(int lNewRow = -1, int lNewCol = -1) { model_.RowColSet(lNewRow, lNewCol); }
    int MultiSelect() const { return model_.MultiSelect(); }
    void setMultiSelect(int vNewValue)
    {
        model_.setMultiSelect(vNewValue);
        markChanged(QStringLiteral("MultiSelect"));
    }
    bool RowSelected(int vRow = -1) const { return model_.RowSelected(vRow); }
    void setRowSelected(int vRow, bool vNewValue) { model_.setRowSelected(vRow, vNewValue); }
    int SelectedCount() const { return model_.SelectedCount(); }
    int CheckedCount() const { return model_.CheckedCount(); }
    void SelectedClearAll() { model_.SelectedClearAll(); }
    void RowUnSelect() { model_.RowUnSelect(); }

    void Sort(int vCol1 = -1, int vCol1SortType = -1, int vCol2 = -1, int vCol2SortType = -1)
    {
        model_.Sort(vCol1, vCol1SortType, vCol2, vCol2SortType);
    }
    int FindItem(const QString &SearchText, int SearchColumn = -1, int SearchMode = 0,
                 bool MatchCase = false, int StartingRow = 0) const
    {
        return model_.FindItem(SearchText, SearchColumn, SearchMode, MatchCase, StartingRow);
    }
    void FilterOn(const QString &FilterText, int SearchColumn, int SearchMode = 0,
                  bool MatchCase = false, int StartingRow = 0)
    {
        model_.FilterOn(FilterText, SearchColumn, SearchMode, MatchCase, StartingRow);
    }
    void FilterOff(int StartingRow = 0) { model_.FilterOff(StartingRow); }
    int SearchColumn() const { return model_.SearchColumn(); }
    void setSearchColumn(int vNewValue)
    {
        model_.setSearchColumn(vNewValue);
        markChanged(QStringLiteral("SearchColumn"));
    }

    bool TotalsLineShow() const { return model_.TotalsLineShow(); }
    void setTotalsLineShow(bool vNewValue)
    {
        model_.setTotalsLineShow(vNewValue);
        markChanged(QStringLiteral("TotalsLineShow"));
    }
    QString TotalsLineCaption(int Index) const { return model_.TotalsLineCaption(Index); }
    void setTotalsLineCaption(int Index, const QString &vNewValue)
    {
        model_.setTotalsLineCaption(Index, vNewValue);
    }
    bool TotalsLineColAvg(int Index) const { return model_.TotalsLineColAvg(Index); }
    void setTotalsLineColAvg(int Index, bool vNewValue)
    {
        model_.setTotalsLineColAvg(Index, vNewValue);
    }
    double TotalsCol(int vCol) const { return model_.TotalsCol(vCol); }

    // Keyboard (VeziRadoKeyboard.cpp).
    int LastKeyCode() const { return lastKeyCode_; }
    // The Shift argument of key and mouse events: 1 Shift, 2 Ctrl, 4 Alt.
    static int shiftCode(Qt::KeyboardModifiers modifiers);
    // The millisecond clock of the type-ahead search; tests give their own, empty restores it.
    void setTickSource(std::function<qint64()> source);
    // Test aids: the row and column steps as the arrow keys take them.
    int nextVisibleRowNow(int step, int flags) const { return NextVisibleRow(step, flags); }
    int prevVisibleRowNow(int step, int flags) const { return PrevVisibleRow(step, flags); }
    int pageRowStepNow(int start) const { return PageRowStep(start); }

    // Mouse (VeziRadoMouse.cpp, VeziRadoHeaderMouse.cpp).
    int MouseRow() const { return mouseRow_; }
    int MouseCol() const
    {
        if (Cols() == 0)
            return 0;
        return mouseCol_ < 0 ? -1 : model_.ColumnOrder()[size_t(mouseCol_)];
    }
    // The mouse pointer the grid shows: 0 arrow, 7 row divider, 9 column divider, 99 hand.
    int MousePointer() const { return mousePointer_; }
    bool IsHandPointer() const { return mousePointer_ == 99; }
    void SetHandPointer(bool on);
    // Test aids: the header drawn hot and the running drag auto-scroll (0 none, 1 up, 2 down).
    int hotHeader() const { return hotHeader_; }
    int autoScrollDirection() const { return autoScrollDirection_; }
    bool autoScrollRunning() const;

    // Column members and automatic widths (VeziRadoColumns.cpp).
    // Columns by column index; a bad index is error 9, except for the width, which never fails.
    QString ColHeading(int vCol) const { return model_.ColHeading(vCol); }
    void setColHeading(int vCol, const QString &vNewValue) { model_.setColHeading(vCol, vNewValue); }
    int ColAlignment(int vCol) const { return model_.ColAlignment(vCol); }
    void setColAlignment(int vCol, int vNewValue) { model_.setColAlignment(vCol, vNewValue); }
    int ColImageAlignment(int vCol) const { return model_.ColImageAlignment(vCol); }
    void setColImageAlignment(int vCol, int vNewValue)
    {
        model_.setColImageAlignment(vCol, vNewValue);
    }
    QString ColFormat(int vCol) const { return model_.ColFormat(vCol); }
    void setColFormat(int vCol, const QString &vNewValue) { model_.setColFormat(vCol, vNewValue); }
    QString ColInputFilter(int vCol) const { return model_.ColInputFilter(vCol); }
    void setColInputFilter(int vCol, const QString &vNewValue)
    {
        model_.setColInputFilter(vCol, vNewValue);
    }
    QString ColTag(int vCol) const { return model_.ColTag(vCol); }
    void setColTag(int vCol, const QString &vNewValue) { model_.setColTag(vCol, vNewValue); }
    int ColType(int vCol) const { return model_.ColType(vCol); }
    void setColType(int vCol, int vNewValue) { model_.setColType(vCol, vNewValue); }
    bool ColLocked(int vCol) const { return model_.ColLocked(vCol); }
    void setColLocked(int vCol, bool vNewValue) { model_.setColLocked(vCol, vNewValue); }
    bool ColWordWrap(int vCol) const { return model_.ColWordWrap(vCol); }
    void setColWordWrap(int vCol, bool vNewValue) { model_.setColWordWrap(vCol, vNewValue); }
    float ColWidth(int vCol) const { return model_.ColWidth(vCol); }
    void setColWidth(int vCol, float vNewValue) { model_.setColWidth(vCol, vNewValue); }
    // Sizes a column (-1: every column) to its widest cell text.
    void ColWidthAutoSize(int vCol = -1);
    // Scales every column so that the visible ones fill the visible width.
    void ColForceFit();

    // Cell tooltips (VeziRadoToolTip.cpp).
    // Test aids: the wait before a tooltip shows (1500 ms), the pointer coming to rest on a cell
    // (display positions) as the mouse handling reports it, the hiding a key or a press does.
    void setToolTipDelay(int ms) { toolTipDelay_ = ms; }
    void cellToolTipHoverNow(int row, int col);
    void hideCellToolTipNow(bool abort) { HideCellToolTip(abort); }
    bool toolTipWaiting() const;

    // In-cell editing (VeziRadoEditing.cpp).
    bool UpdateCell(bool bAllowMove = false);
    void ForceCellEdit(int lNewRow = -1, int lNewCol = -1, bool bBlankCell = false);
    void BindControl(int vCol, QWidget *Ctrl, int MoveControl = 15);
    // Test aids: the open editor's cell (display positions), and the private entries the keys
    // and the mouse reach.
    int editRow() const { return editRow_; }
    int editCol() const { return editCol_; }
    bool editToggleNow(bool bAllowMove) { return EditToggle(bAllowMove); }
    void positionEditorNow() { PositionEditor(); }
    void cancelEditNow() { CancelEdit(); }
    // Runs a typed character through the edit box's filter; answers what is left of it.
    int filterTypedCharacter(int keyAscii)
    {
        EditKeyFilter(keyAscii);
        return keyAscii;
    }

    // CSV export (VeziRadoExport.cpp).
    // Writes the grid to <strGridName>.csv on the desktop and offers to open it.
    void ExportGrid(const QString &strGridName, bool vbVisibleColsOnly = true,
                    bool vbVisibleRowsOnly = false, bool vbBooleanAsText = true);
    // The folder the export writes to instead of the desktop (tests); an empty folder stands for
    // a desktop that cannot be found, no value for the user's desktop again.
    void setExportFolder(std::optional<QString> folder) { exportFolder_ = std::move(folder); }

    // Column layout in the settings store (VeziRadoLayoutStore.cpp).
    void ColOrderSave(const QString &UniqueGridName);
    void ColOrderLoad(const QString &UniqueGridName);
    // Puts the columns back in the order they were added; the stored order stays.
    void ColOrderRestore(const QString &UniqueGridName = {});
    void ColWidthsSave(const QString &UniqueGridName);
    void ColWidthsLoad(const QString &UniqueGridName);

    // The data, for hosts that read it in bulk.
    const VeziRadoModel &model() const { return model_; }

    // Test aids: the layout as the painter and the mouse see it.
    int headerHeight() const { return geometry_.metrics().HeaderHeight; }
    int standardRowHeight() const override { return geometry_.StandardRowHeight(); }
    int rowNumberWidth() const { return geometry_.RowNumberWidth(); }
    // The whole cell at a display row and display column, where the last layout placed it.
    PixelRect cellRect(int row, int col) const;
    const GridGeometry &geometry() const { return geometry_; }
    // Measures text for the layout; the grid keeps no ownership.
    void setTextMeasurer(const TextMeasurer *measurer);
    // The last complete picture, as the window shows it.
    const QImage &surfaceImage() const { return surface_; }
    // Draws the header row now (singleLine as while a column is dragged); returns its right edge.
    int drawHeadersNow(bool singleLine = false) { return DrawHeaders(singleLine); }
    // Draws one header, at a display position, in state 1 normal, 2 hot or 3 pressed.
    void drawColumnHeaderNow(int col, int state) { DrawColumnHeader(col, state, false, false); }

signals:
    void Click();
    void DblClick();
    void KeyDown(int &KeyCode, int &Shift);
    void KeyPress(int &KeyAscii);
    void KeyUp(int &KeyCode, int &Shift);
    void MouseDown(int &Button, int &Shift, float &X, float &y);
    void MouseMove(int &Button, int &Shift, float &X, float &y);
    void MouseUp(int &Button, int &Shift, float &X, float &y);
    void CellButtonClick(int Row, int Col);
    void CellImageClick(int Row, int Col);
    void CellHandClick(int Row, int Col, int &Shift);
    void CellClick(int Row, int Col, int &Shift);
    void ColumnClick(int Col);
    void ColumnSizeChanged(int Col, int MoveControl);
    void CustomSort(bool &Ascending, int &Col, QString &Value1, QString &Value2, bool &Swap);
    void ColumnOrderChanged(int ToCol, int FromCol);
    void RowCheckChanged(int Row);
    void RowCountChanged();
    void MouseEnter();
    void MouseLeave();
    void RowColChanged();
    void Scroll();
    void SelectionChanged();
    void SortComplete();
    void ThemeChanged();
    void EditKeyPress(int Col, int &KeyAscii);
    void BeforeEdit(int Row, int Col, bool &Cancel);
    void AfterEdit(int Row, int Col, QString &vNewValue, bool &Cancel);
    void BeforeDelete(int Row, bool &Cancel);
    void AfterDelete();
    void BeforeInsert(int Row, bool &Cancel);
    void AfterInsert(int Row);
    void RequestRowData(int Row);
    void RequestEdit(int Row, int Col, bool &Cancel);
    void RequestUpdate(int Row, int Col, QString &NewValue, bool &Cancel);

    // Tells the host's container that a saved property changed and the design needs saving.
    void propertyChanged(const QString &key);

protected:
    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // The scroll requests a bar or the wheel makes.
    enum class ScrollRequest : int {
        LineUp = 0,
        LineDown = 1,
        PageUp = 2,
        PageDown = 3,
        ThumbPosition = 4,
        ThumbTrack = 5,
        Top = 6,
        Bottom = 7,
        EndScroll = 8,
    };

    // What the model asks of its window.
    void drawGrid(bool redraw) override { DrawGrid(redraw, false); }
    void refresh() override { Refresh(); }
    void calcMetrics() override { CalcMetrics(); }
    void layoutScrollBars() override { LayoutScrollBars(); }
    void rowAutoHeight(int displayRow) override;
    float visibleWidth() const override;
    int widthToPixels(float width) const override;
    void cleared() override;
    void scrollIntoView(int displayRow, int displayCol) override;
    void scrollToRow(int displayRow) override;
    bool rowShown(int r) const override { return r >= firstVisibleRow_ && r <= lastVisibleRow_; }
    void scrollToColumn(int displayCol) override;
    void processEvents() override;
    std::optional<int> imageIndexOfKey(const QString &key) const override;
    std::optional<QString> imageKeyOfIndex(int index) const override;

    // Life cycle and settings (VeziRado.cpp, VeziRadoSaved.cpp).
    void createChildren();
    void markChanged(const QString &key);
    void startRunning();
    void applyWindowLook();
    void syncDefaultLook();
    double pixelsPerUnit(Grid::ScaleUnits units) const;
    double twipsPerPixel() const;

    // Layout and drawing (VeziRadoDrawing.cpp; the painters land there).
    void CalcMetrics();
    void DrawGrid(bool bRedraw, bool bHideFocus);
    // One repaint; answers the row to ask the host for, or empty when none is asked.
    std::optional<int> paintOnce(bool bRedraw, bool bHideFocus);
    void DrawCaptionBar();
    int DrawHeaders(bool singleLine = false);
    void clearSurface();
    // Runs `draw` with the repaint's painter, or on the surface outside a repaint.
    void withSurfacePainter(const std::function<void(QPainter &)> &draw);

    // Painters (VeziRadoHeaders.cpp, VeziRadoPainting.cpp).
    enum class Band { Column, Caption, Totals };
    // The row a cell is painted in.
    struct RowPaint
    {
        int i = 0;
        const RowRecord *record = nullptr;
        int y = 0;
        bool selected = false;
        quint32 rowColour = 0;
        int right = 0;
    };
    void DrawColumnHeader(int col, int state, bool singleLine, bool rowNumberBox);
    void paintHeaderBackground(QPainter &painter, PixelRect &rect, int state, Band band);
    bool DrawThemedHeader(QPainter &painter, bool checkBox, int state, const PixelRect &rect);
    void DrawThemedButton(QPainter &painter, PixelRect &rect, int state);
    void drawCheckBox(QPainter &painter, const PixelRect &rect, bool checked);
    void drawText(QPainter &painter, const QString &text, PixelRect &rect, int format,
                  quint32 colour) const;
    void drawImage(QPainter &painter, int number, int x, int y, bool selectedLook) const;
    bool stylesUsable() const;
    quint32 rgb(quint32 colour) const;
    void paintRowBackground(QPainter &painter, const RowPaint &row);
    void paintCell(QPainter &painter, const RowPaint &row, int j, int x, quint32 textColour);
    void paintTotalsLine(QPainter &painter, int y, int right);
    void paintVerticalLines(QPainter &painter, int bottom, quint32 gridColour);
    void paintFocusRect(QPainter &painter, int right);
    int expandImageNumber() const;

    // Themes.
    void ApplyGridTheme();
    void DetectThemeColor();

    // Scroll bars (VeziRadoScrolling.cpp).
    ScrollBarModel &bar(Bar which) { return which == Bar::Horizontal ? horizontal_ : vertical_; }
    const ScrollBarModel &bar(Bar which) const
    {
        return which == Bar::Horizontal ? horizontal_ : vertical_;
    }
    void SBCreate();
    void SBDestroy();
    void SBOwnerLet(bool owned);
    void SBMaxLet(Bar which, int value);
    void SBMinLet(Bar which, int value);
    int SBValueGet(Bar which) const;
    void SBValueLet(Bar which, int value);
    void SBVisibleLet(Bar which, bool show);
    void LayoutScrollBars();
    void syncScrollBar(Bar which);
    void scrollRequest(Bar which, ScrollRequest request, bool wheel);
    void onBarAction(Bar which, int action);
    int stepRows(int start, int step, bool down) const;
    int stepColumn(int start, bool right) const;

    // Keyboard (VeziRadoKeyboard.cpp).
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    // Lets the keys typed into the edit box reach the grid first.
    void installKeyRelay();
    bool editBoxKeyEvent(QEvent *event);
    // Runs the grid's key handling for one key; answers whether the edit box must not see it.
    bool routeKey(QKeyEvent *event, bool fromEditBox);
    // Key down; answers whether the grid handled the key.
    bool KeyDownHandler(int KeyCode, int Shift);
    // Key press; answers false when the character goes no further (KeyAscii may change).
    bool KeyPressHandler(int &KeyAscii);
    void KeyUpHandler(int KeyCode, int Shift);
    void typeAhead(int KeyAscii);
    int NextVisibleRow(int step, int flags) const;
    int PrevVisibleRow(int step, int flags) const;
    int NextUnlockedRow(bool up) const;
    // The first visible, unlocked display column walking from `start` by `step` (1 or -1),
    // wrapping round; -1 when there is none.
    int usableColumnFrom(int start, int step) const;
    int NextVisibleCol(bool fromStart);
    int PrevVisibleCol(bool fromEnd);
    int PageRowStep(int start) const;
    // After a Down key, with word wrap or row resizing, keeps the current row in the page the
    // repaint is about to draw; answers the last row in view.
    int keepCurrentRowInView(int lastInView);

    // Mouse (VeziRadoMouse.cpp, VeziRadoHeaderMouse.cpp).
    void installMouseHandling();
    // Turns the viewport's mouse, double-click and drop events into the handlers below.
    bool viewportMouseEvent(QEvent *event);
    void resetMouseState();
    void gridMouseDown(int button, int shift, float x, float y);
    void gridMouseMove(int button, int shift, float x, float y);
    void gridMouseUp(int button, int shift, float x, float y);
    void gridClick();
    void gridDblClick();
    bool pressSelects(int row, int shift);
    void releaseOnCell(float x, float y);
    bool dropTarget(QPointF pos, const QString &text, int &row, int &col) const;
    void DragSelectScroll(int direction);
    bool dragSelectStep();
    void stopAutoScroll();
    void setMousePointer(int pointer);
    void showSurface();
    void headerPress();
    void headerFeedback(int button, float y);
    void headerButtonMove(float x, float y);
    void dividerSearch(float x, float y);
    bool headerRelease(int uc, int ur, int shift);
    void sortClick(int p, int shift);
    void dividerDoubleClick();

    // Cell tooltips (VeziRadoToolTip.cpp).
    // Starts the wait for the tooltip of a cell (display positions) the pointer moved onto.
    void CellToolTipHover(int row, int col);
    // Hides the tooltip box; `abort` also drops a wait in progress.
    void HideCellToolTip(bool abort);
    // Shows the whole text of a cut-off cell (display positions) over the cell.
    void ShowCellToolTip(int row, int col);
    // The pointer is on the grid under the box: a window manager's frame round the box may take
    // it for a moment after the box comes up, which is no leaving.
    bool pointerUnderToolTip() const;

    // Column members and automatic widths (VeziRadoColumns.cpp).
    void AutoSizeColumn(int col);
    void setAutoColumnWidth(int col, double pixels);

    // In-cell editing (VeziRadoEditing.cpp).
    bool CanEdit() const;
    // Commits an open edit, or opens one on the current cell; false when editing is not allowed.
    bool EditToggle(bool bAllowMove);
    void StartCellEdit(int row, int col);
    void CancelEdit();
    void PositionEditor();
    // The edit box's filter for a typed character; sets `KeyAscii` to 0 to drop it.
    void EditKeyFilter(int &KeyAscii);
    // A column's input filter: empty, "<" or ">" let every character through, otherwise only its
    // own characters pass, with backspace and the full stop.
    static bool inputFilterAccepts(const QString &filter, int keyAscii);
    bool updateCell() override { return UpdateCell(false); }
    // The edit box's font for a cell: the grid's, with the cell's face and style.
    QFont editorFont(int row, int column) const;
    void openTextEditor(int row, int col);
    void openBoundEditor(QWidget *control, int row, int col);
    // Hides the editor in use, a borrowed host control put back where it came from.
    void hideEditor();

    // The window hook (VeziRadoHook.cpp).
    void hookOwnWindow();
    void GridWindowProc(bool before, bool &handled, bool &result, QObject *window, QEvent *event,
                        qintptr &userValue);
    void mouseEntered();
    void mouseLeft();

    VeziRadoModel model_;
    Grid::Properties p_;
    ScrollBarModel horizontal_;
    ScrollBarModel vertical_;
    GridGeometry geometry_;
    WindowHook hook_;
    GridTheme::DesktopLookProvider desktopLook_;
    QPointer<GridImageList> imageList_;

    QLineEdit *txtEdit = nullptr;
    QLabel *picToolTip = nullptr;

    QImage surface_;
    QString schemeName_;
    // The "Enabled" key as last loaded; only a load changes it.
    bool storedEnabled_ = true;
    bool englishLocale_ = false;
    bool editPending_ = false;
    bool painting_ = false;
    // A repaint asked for while painting: run once the current one ends.
    bool repaintAgain_ = false;
    bool againRedraw_ = false;
    bool againHideFocus_ = false;
    std::optional<int> paintYear_; // the year that places the repaint's two-digit years
    QPainter *painter_ = nullptr;
    // What the mouse handling tells the painters: the hot header, the column being swapped or
    // dragged (display positions) and the row of a held left press.
    int hotHeader_ = -1;
    int swapSource_ = -1;
    int dragSource_ = -1;
    int pressedRow_ = -1;
    // The cell under the pointer, display positions; -1 when none.
    int mouseRow_ = -1;
    int mouseCol_ = -1;
    // The key code of the last navigation or edit key; 113 (F2) keeps the caret keys in the editor.
    int lastKeyCode_ = 0;
    // The display column the last column step reached.
    int lastKeyColumn_ = -1;
    // The Shift argument of the last key or mouse event.
    int storedShift_ = 0;
    bool mouseDragging_ = false;
    bool mouseInside_ = false;
    bool scrollOwner_ = false;
    bool flatBarStyleApplied_ = false;
    int firstVisibleRow_ = 0;
    int lastVisibleRow_ = 0;
    // The control font as loaded, to put back after the tooltip.
    bool fontBold_ = false;
    bool fontItalic_ = false;
    QString fontFace_;

    // Cell tooltips: the wait before one shows; stopping it aborts the wait.
    QTimer *toolTipTimer_ = nullptr;
    int toolTipDelay_ = 1500;
    // Where the box was put: its window's geometry may read wrong while a window manager frames it.
    QRect toolTipArea_;
    // CSV export: the folder written to instead of the desktop, when set.
    std::optional<QString> exportFolder_;
    // Mouse (VeziRadoMouse.cpp, VeziRadoHeaderMouse.cpp).
    int mousePointer_ = 0;
    // X of the last press, whole pixels.
    int pressX_ = 0;
    int autoScrollDirection_ = 0;
    QTimer *autoScrollTimer_ = nullptr;
    // A press waits for its release to become a click; a double-click takes its place.
    bool clickPending_ = false;
    int pressedHeader_ = -1;
    // The column (display position) or row whose divider is under the pointer or dragged, and
    // the pointer position minus its size when it was found.
    int resizeCol_ = -1;
    int colResizeOrigin_ = 0;
    int resizeRow_ = -1;
    int rowResizeOrigin_ = 0;
    bool dividerSearching_ = false;
    // In-cell editing: the edited cell (display positions) and a host control borrowed for it,
    // with what it had before, to give it back as it was.
    int editRow_ = -1;
    int editCol_ = -1;
    QPointer<QWidget> boundEditor_;
    QPointer<QWidget> editParent_;
    bool editorMoved_ = false;
    bool editParentWasSet_ = false;
    QRect boundGeometry_;
    QPalette boundPalette_;
    QFont boundFont_;
    QValidator *caseForcing_ = nullptr;
    // Keyboard: the Ctrl-key marker lives from a Ctrl combination's key down to the key up.
    bool ctrlKeyMarker_ = false;
    QString typeAheadText_;
    qint64 typeAheadTime_ = 0;
    std::function<qint64()> tickSource_;
};
