#include "ui/RecordList.h"

#include "core/Colour.h"
#include "core/Database.h"
#include "core/Numbers.h"
#include "core/Units.h"
#include "ui/KeyPreview.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QWindow>
#include <algorithm>
#include <utility>

RecordListModel::RecordListModel(QObject *parent) : QAbstractTableModel(parent) {}

void RecordListModel::setHeaders(const QStringList &headers)
{
    beginResetModel();
    headers_ = headers;
    endResetModel();
}

void RecordListModel::setCheckable(bool checkable)
{
    beginResetModel();
    checkable_ = checkable;
    endResetModel();
}

void RecordListModel::setStripes(bool on, quint32 first, quint32 second)
{
    stripes_ = on;
    stripe1_ = first;
    stripe2_ = second;
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(size() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

void RecordListModel::setAlignment(int column, Qt::Alignment alignment)
{
    alignments_.insert(column, alignment);
}

void RecordListModel::setRows(const std::vector<RecordRow> &rows)
{
    ListRows texts;
    for (const RecordRow &row : rows)
        texts.append(row.texts);
    beginResetModel();
    rows_ = std::move(texts);
    checked_.clear();
    for (const RecordRow &row : rows)
        checked_.push_back(row.checked);
    endResetModel();
}

void RecordListModel::setRows(ListRows rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    checked_.assign(size_t(rows_.size()), 0);
    endResetModel();
}

void RecordListModel::setChecked(int index, bool checked)
{
    checked_[size_t(index)] = checked;
    const QModelIndex cell = this->index(index, 0);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

void RecordListModel::setAllChecked(bool checked)
{
    std::fill(checked_.begin(), checked_.end(), char(checked));
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(size() - 1, 0), {Qt::CheckStateRole});
}

int RecordListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_.size();
}

int RecordListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(headers_.size());
}

QVariant RecordListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return rows_.text(index.row(), index.column());
    case Qt::CheckStateRole:
        if (checkable_ && index.column() == 0)
            return isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::TextAlignmentRole: {
        const auto it = alignments_.constFind(index.column());
        return it == alignments_.constEnd() ? QVariant() : QVariant(int(*it | Qt::AlignVCenter));
    }
    case Qt::BackgroundRole:
        if (stripes_)
            return Colour::toQColor(index.row() % 2 == 0 ? stripe1_ : stripe2_);
        return {};
    default:
        return {};
    }
}

bool RecordListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !checkable_ || index.column() != 0)
        return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < headers_.size())
        return headers_[section];
    return {};
}

Qt::ItemFlags RecordListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (checkable_ && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

RecordList::RecordList(QWidget *parent) : QTreeView(parent), model_(new RecordListModel(this))
{
    setModel(model_);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    connect(this, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit rowOpened(currentKey());
    });
}

void RecordList::setColumns(const QStringList &headers, const QList<int> &widthsTwips)
{
    model_->setHeaders(headers);
    for (int i = 0; i < widthsTwips.size() && i < headers.size(); ++i)
        setColumnWidth(i, Units::twipsToPixels(widthsTwips[i]));
}

void RecordList::fill(Recordset &rs, const QStringList &fields)
{
    QList<int> columns;
    for (const QString &field : fields)
        columns << rs.columnIndex(field);
    ListRows rows;
    for (; !rs.eof(); rs.moveNext()) {
        rows.startRow();
        for (int column : columns)
            rs.addDisplayText(column, rows);
    }
    model_->setRows(std::move(rows));
}

double RecordList::currentKey() const
{
    const QModelIndex index = currentIndex();
    if (!index.isValid())
        return 0;
    return Numbers::leadingValue(model_->text(index.row(), 0));
}

QString RecordList::currentText(int column) const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? model_->text(index.row(), column) : QString();
}

int RecordList::rowsInView() const
{
    // A row is at least a line of the list's font high.
    return height() / std::max(1, fontMetrics().height()) + 1;
}

bool RecordList::isOnScreen() const
{
    const QWindow *handle = window()->windowHandle();
    return isVisible() && handle && handle->isExposed();
}

void RecordList::showFirstRows(ListRows rows, std::function<void()> readRest)
{
    model_->setRows(std::move(rows));
    if (isOnScreen()) {
        viewport()->repaint();
        readRest();
    } else {
        restAfterPaint_ = std::move(readRest);
    }
}

bool RecordList::viewportEvent(QEvent *event)
{
    const bool handled = QTreeView::viewportEvent(event);
    // Queued: the window puts what it painted on the screen once every widget has painted.
    if (event->type() == QEvent::Paint && restAfterPaint_)
        QMetaObject::invokeMethod(
            this, [rest = std::exchange(restAfterPaint_, {})] { rest(); }, Qt::QueuedConnection);
    return handled;
}

void RecordList::keyPressEvent(QKeyEvent *event)
{
    if (KeyPreview::isEnter(event) && currentIndex().isValid()) {
        emit rowOpened(currentKey());
        return;
    }
    QTreeView::keyPressEvent(event);
}

void SetListViewStripes(RecordList *list, quint32 first, quint32 second)
{
    list->records()->setStripes(true, first, second);
}
