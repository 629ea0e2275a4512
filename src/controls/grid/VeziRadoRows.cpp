#include "controls/grid/VeziRadoModel.h"

#include "controls/grid/GridErrors.h"
#include "controls/grid/GridNumbers.h"

#include <algorithm>
#include <limits>

namespace {

GridView &noWindow()
{
    static GridView view;
    return view;
}

QString defaultInputFilter(ColumnType type)
{
    switch (type) {
    case ColumnType::Number:
        return QStringLiteral("1234567890.-,");
    case ColumnType::Date:
        return QStringLiteral("1234567890./-");
    default:
        return {};
    }
}

} // namespace

VeziRadoModel::VeziRadoModel() : view_(&noWindow())
{
    defaultLook_.BackColor = 0x80000005u; // the window background
    defaultLook_.ForeColor = 0x80000008u; // the window text
    progressBarColor_ = 0x8080FFu;
}

void VeziRadoModel::setView(GridView *view)
{
    view_ = view ? view : &noWindow();
}

void VeziRadoModel::raise(const std::function<void()> &event) const
{
    if (event)
        event();
}

double VeziRadoModel::rVal(QStringView vString)
{
    return GridNumbers::rVal(vString);
}

void VeziRadoModel::setCacheIncrement(int vNewValue)
{
    cacheIncrement_ = vNewValue < 0 ? 10 : vNewValue;
}

int VeziRadoModel::AddColumn(const QString &Caption, float Width, int Alignment,
                             ColumnType DataType, const QString &Format, const QString &InputFilter,
                             int ImageAlignment, bool WordWrap, int Index, bool bVisible,
                             bool bLocked)
{
    const int n = Cols();
    // The new cells of existing rows take the grid's look; find it before anything changes.
    const int look = rows_.empty() ? -1 : formats_.findOrAdd(defaultLook_);

    ColumnRecord column;
    column.Heading = Caption;
    column.Width = Width + 1;
    column.WidthPixels = view_->widthToPixels(column.Width);
    column.Alignment = Alignment;
    column.ImageAlignment = ImageAlignment;
    column.DataType = DataType;
    column.Format = Format;
    column.InputFilter = InputFilter.isEmpty() ? defaultInputFilter(DataType) : InputFilter;
    column.WordWrap = WordWrap;
    column.Visible = bVisible;
    column.Locked = bLocked;
    columns_.push_back(column);
    columnTotals_.push_back(0);
    totalsLine_.push_back({});

    int position = n;
    if (Index > 0 && Index < n) {
        columnOrder_.insert(columnOrder_.begin() + Index, n);
        position = Index;
    } else {
        columnOrder_.push_back(n);
    }

    if (!rows_.empty()) {
        DrawingEnable(false);
        CellRecord cell;
        cell.Alignment = std::int16_t(Alignment);
        cell.FormatIndex = std::int16_t(look);
        for (RowRecord &row : rows_)
            row.addEmptyCell(cell);
        formats_.addReferences(look, Rows());
        DrawingEnable(true);
    }
    RefreshIfRedraw();
    return position;
}

int VeziRadoModel::AddItem(const QString &vstrItem, int vRow, bool vbRowChecked, bool vbMarkAsNew,
                           bool vbRowLocked, bool vbRowVisible, int vRowData)
{
    return AddRow(vstrItem, vRow, vbRowChecked, vbMarkAsNew, vbRowLocked, vbRowVisible, vRowData);
}

int VeziRadoModel::AddRow(const QString &vstrItem, int vRow, bool vbRowChecked, bool vbMarkAsNew,
                          bool vbRowLocked, bool vbRowVisible, int vRowData)
{
    if (Cols() == 0)
        AddColumn(QString(), view_->visibleWidth());
    if (Rows() == std::numeric_limits<int>::max())
        GridErrors::overflow();
    const int look = formats_.findOrAdd(defaultLook_);

    const int n = Rows();
    RowRecord row;
    row.Height = view_->standardRowHeight();
    row.RowData = vRowData;
    row.Flags.setFlag(RowFlag::Checked, vbRowChecked);
    row.Flags.setFlag(RowFlag::Locked, vbRowLocked);
    row.Flags.setFlag(RowFlag::New, vbMarkAsNew);
    row.Visible = vbRowVisible;
    row.Cells.resize(size_t(Cols()));
    row.reserveText(vstrItem.size());

    qsizetype fieldStart = vstrItem.isEmpty() ? -1 : 0;
    for (int j = 0; j < Cols(); ++j) {
        const ColumnRecord &column = columns_[size_t(j)];
        CellRecord &cell = row.Cells[size_t(j)];
        cell.Alignment = std::int16_t(column.Alignment);
        cell.FormatIndex = std::int16_t(look);
        cell.Flags.setFlag(CellFlag::WordWrap, column.WordWrap);
        if (fieldStart < 0) {
            row.appendText(j, {});
            continue;
        }
        const qsizetype tab = vstrItem.indexOf(u'\t', fieldStart);
        const QStringView field =
            QStringView(vstrItem).mid(fieldStart, (tab < 0 ? vstrItem.size() : tab) - fieldStart);
        fieldStart = tab < 0 ? -1 : tab + 1;
        row.appendText(j, field);
        const double value = GridNumbers::rVal(field);
        if (column.DataType == ColumnType::CheckBox)
            cell.Flags.setFlag(CellFlag::Checked, value != 0);
        columnTotals_[size_t(j)] += value;
    }
    formats_.addReferences(look, Cols());
    rows_.push_back(std::move(row));

    int position = n;
    if (vRow >= 0 && vRow < n) {
        rowOrder_.insert(rowOrder_.begin() + vRow, n);
        position = vRow;
    } else {
        rowOrder_.push_back(n);
    }

    view_->rowAutoHeight(position);
    RefreshIfRedraw();
    raise(events_.RowCountChanged);
    return position;
}

void VeziRadoModel::RemoveRow(int vRow)
{
    if (rows_.empty())
        return;
    if (vRow == -1)
        vRow = currentRow_;
    const int r = recordAt(vRow);
    const bool wasSelected = rows_[size_t(r)].Flags.testFlag(RowFlag::Selected);

    const RowRecord &removed = rows_[size_t(r)];
    for (size_t i = 0; i < removed.Cells.size(); ++i) {
        if (removed.Cells[i].FormatIndex >= 0)
            formats_.release(removed.Cells[i].FormatIndex);
        columnTotals_[i] -= GridNumbers::rVal(removed.text(int(i)));
    }
    rows_.erase(rows_.begin() + r);
    rowOrder_.erase(rowOrder_.begin() + vRow);
    for (int &record : rowOrder_) {
        if (record > r)
            --record;
    }

    if (rows_.empty()) {
        Clear();
    } else {
        if (wasSelected) {
            if (multiSelect_ != 0)
                raise(events_.SelectionChanged);
            else
                row(std::min(vRow, LastRowIndex())).Flags |= RowFlag::Selected;
        }
        if (currentRow_ > LastRowIndex()) {
            MakeCellCurrent(LastRowIndex(), currentColPosition_, false, true);
            // A locked or hidden last row refuses the move, but the current row must exist.
            currentRow_ = std::min(currentRow_, LastRowIndex());
        }
    }
    DrawingEnable(true);
    RefreshIfRedraw();
    raise(events_.RowCountChanged);
}

void VeziRadoModel::DeleteSelected()
{
    if (multiSelect_ == 0) {
        RemoveItem(-1);
        return;
    }
    if (rows_.empty())
        return;
    DrawingEnable(false);
    for (int p = 0; p <= LastRowIndex();) {
        if (RowSelected(p))
            RemoveItem(p);
        else
            ++p;
    }
    RowColSet(0, -1);
    DrawingEnable(true);
    view_->drawGrid(drawingOn_);
}

void VeziRadoModel::Clear()
{
    rows_.clear();
    rowOrder_.clear();
    formats_.reset();
    columnTotals_.assign(columns_.size(), 0);
    currentRow_ = -1;
    currentColPosition_ = -1;
    primarySortCol_ = -1;
    secondarySortCol_ = -1;
    redraw_ = false;
    drawingOn_ = false;
    repaintPending_ = false;
    layoutPending_ = false;
    cellsChanged_ = false;
    view_->cleared();
    view_->drawGrid(true);
}

void VeziRadoModel::ClearAll()
{
    columns_.clear();
    columnOrder_.clear();
    totalsLine_.clear();
    Clear();
}

bool VeziRadoModel::FixRef(int &row, int &col) const
{
    if (rows_.empty())
        return false;
    if (row < 0)
        row = std::max(currentRow_, 0);
    row = std::min(row, LastRowIndex());
    if (col < 0) {
        col = currentColPosition_ < 0 ? 0 : columnOrder_[size_t(currentColPosition_)];
        return true;
    }
    return col <= Cols() - 1;
}

void VeziRadoModel::ApplyCellFormat(int record, int col, FormatAttribute attribute,
                                    const QVariant &value)
{
    if (rows_.empty())
        return;
    if (record < 0 || record >= Rows())
        GridErrors::subscriptOutOfRange();
    std::vector<CellRecord> &cells = rows_[size_t(record)].Cells;
    if (cells.empty())
        return;
    if (col < 0 || col >= int(cells.size()))
        GridErrors::subscriptOutOfRange();
    CellRecord &cell = cells[size_t(col)];

    const int h = cell.FormatIndex;
    CellFormatRecord look = h < 0 ? defaultLook_ : formats_.at(h);
    switch (attribute) {
    case FormatAttribute::BackColor:
        look.BackColor = value.toUInt();
        break;
    case FormatAttribute::ForeColor:
        look.ForeColor = value.toUInt();
        break;
    case FormatAttribute::Image:
        look.Image = GridErrors::toInt16(value.toInt());
        break;
    case FormatAttribute::FontName:
        look.FontName = value.toString();
        break;
    case FormatAttribute::HandPointer:
        look.HandPointer = value.toBool();
        break;
    }
    const int u = formats_.findOrAdd(look);
    if (u != h) {
        formats_.addReferences(u, 1);
        if (h >= 0)
            formats_.release(h);
    }
    cell.FormatIndex = std::int16_t(u);
}

int VeziRadoModel::ColDisplayIndex(int col) const
{
    const auto found = std::find(columnOrder_.begin(), columnOrder_.end(), col);
    return found == columnOrder_.end() ? 0 : int(found - columnOrder_.begin());
}

const ColumnRecord &VeziRadoModel::column(int col) const
{
    checkColumn(col);
    return columns_[size_t(col)];
}

void VeziRadoModel::checkColumn(int col) const
{
    if (col < 0 || col >= Cols())
        GridErrors::subscriptOutOfRange();
}

int VeziRadoModel::recordAt(int displayRow) const
{
    if (displayRow < 0 || displayRow >= Rows())
        GridErrors::subscriptOutOfRange();
    return rowOrder_[size_t(displayRow)];
}

const CellRecord &VeziRadoModel::cellAt(int displayRow, int col) const
{
    checkCell(displayRow, col);
    return rows_[size_t(rowOrder_[size_t(displayRow)])].Cells[size_t(col)];
}

CellRecord &VeziRadoModel::cell(int displayRow, int col)
{
    checkCell(displayRow, col);
    return rows_[size_t(rowOrder_[size_t(displayRow)])].Cells[size_t(col)];
}

void VeziRadoModel::checkCell(int vRow, int vCol) const
{
    if (vRow < 0 || vRow >= Rows() || vCol < 0 || vCol >= Cols())
        GridErrors::subscriptOutOfRange();
}

void VeziRadoModel::setColumnOrder(const std::vector<int> &order)
{
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < int(sorted.size()); ++i) {
        if (sorted[size_t(i)] != i)
            GridErrors::subscriptOutOfRange();
    }
    if (int(order.size()) != Cols())
        GridErrors::subscriptOutOfRange();
    columnOrder_ = order;
    repaint();
}

void VeziRadoModel::setColVisible(int col, bool visible)
{
    checkColumn(col);
    columns_[size_t(col)].Visible = visible;
    RefreshIfRedraw();
}

void VeziRadoModel::setDefaultLook(quint32 backColor, quint32 foreColor, const QString &fontName)
{
    defaultLook_.BackColor = backColor;
    defaultLook_.ForeColor = foreColor;
    defaultLook_.FontName = fontName;
}

void VeziRadoModel::setColumnLeft(int col, int left)
{
    checkColumn(col);
    columns_[size_t(col)].Left = left;
}

void VeziRadoModel::setRedraw(bool redraw)
{
    redraw_ = redraw;
    drawingOn_ = redraw;
    if (!redraw) {
        repaintPending_ = false;
        layoutPending_ = false;
        return;
    }
    // The layout stays pending until drawing is switched off again.
    if (layoutPending_)
        view_->layoutScrollBars();
    if (repaintPending_) {
        view_->calcMetrics();
        repaint();
    }
}

void VeziRadoModel::RefreshIfRedraw()
{
    if (drawingOn_) {
        view_->refresh();
    } else {
        repaintPending_ = true;
        layoutPending_ = true;
    }
}

void VeziRadoModel::repaint()
{
    ++paints_;
    view_->drawGrid(drawingOn_);
    repaintPending_ = !drawingOn_;
}

void VeziRadoModel::setColumnWidth(int col, float width, int widthPixels)
{
    checkColumn(col);
    columns_[size_t(col)].Width = width;
    columns_[size_t(col)].WidthPixels = widthPixels;
}

void VeziRadoModel::setBoundControl(int col, const QVariant &control, int moveControl)
{
    checkColumn(col);
    columns_[size_t(col)].MoveControl = GridErrors::toInt16(moveControl);
    columns_[size_t(col)].BoundControl = control;
}
